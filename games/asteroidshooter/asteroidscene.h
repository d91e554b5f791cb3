#pragma once

#include "engine/vecmath.h"

class Group;
class Light;
class TriangleMesh;

// Scene pieces the game's objects share: the models' first meshes and the
// looks their materials are given.

// How a loaded model's own material is lit and textured.
struct AsteroidLook {
    const char* texture;
    f32 emissive;
    vec3 ambient;
    vec3 diffuse;
    vec3 specular;
    f32 specularLevel;
    f32 shininess;
};

extern const AsteroidLook kRockLook;
extern const AsteroidLook kEnemyShipLook;
extern const AsteroidLook kShipLook;

extern const char* const kAsteroidModel;
extern const char* const kEnemyShipModel;
extern const char* const kShipModel;

// Detaches the group's first child and returns it when it is a triangle
// mesh; null (the group untouched) for a missing or empty model.
TriangleMesh* AsteroidTakeMesh(Group* group);
// The first mesh of a model file; the group it was read into is deleted.
TriangleMesh* AsteroidLoadMesh(const char* name, const char* file, bool uniqueNames);
// Lights the mesh with the light in slot 0 and changes its own material in
// place to the look; a mesh without a lit material keeps what it has.
void AsteroidDress(TriangleMesh* mesh, Light* light, const AsteroidLook& look);
