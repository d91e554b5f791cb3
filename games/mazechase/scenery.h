#pragma once

#include "engine/types.h"
#include "engine/vecmath.h"

class Material;
class TriangleMesh;

// The maze game's simple scenery built from code: the texture table, the
// textured point-lit material every maze object uses, the power state's
// material and flat quads for the minimap tiles and the screen panels.

// The texture of a table index (index 2 and every unknown one: the
// sandstone).
const char* texturePath(i32 index);

// Finds or creates the MaterialPoint of that name and writes its texture and
// colours (index 11 the bluish highlight of the power pellet, every other
// the reddish one); the caller holds one reference.
Material* makeMaterial(i32 textureIndex, const char* name, u32 purgeLevel);
// The MaterialWeird of the power state, its picture warped by noise; the
// caller holds one reference.
Material* makeSpecialMaterial(const char* name, u32 purgeLevel);

// A quad of half width w and half height h, its top edge pushed back by
// depth d, with vertex array, index array, black material and mesh all named
// name. The mesh holds the references.
TriangleMesh* makeQuadMesh(const char* name, f32 halfWidth, f32 halfHeight, f32 depth);

// Flattens the first columns of each table row into out, row by row.
void copyVertices(f32* out, const f32 table[][6], u32 rows, u32 columns);
void copyIndices(u16* out, const u16 table[][3], u32 rows, u32 columns);

// A MaterialPoint with a picture and two colours, the rest its defaults; the
// caller holds one reference.
Material* makePlainMaterial(const char* name, u32 purgeLevel, const char* texture, vec3 ambient,
                            vec3 diffuse);
// The monsters' material: the painted ogre face in plain light (the model
// file carries no picture); the caller holds one reference.
Material* makeMonsterMaterial();
