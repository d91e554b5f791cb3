#pragma once

#include "engine/types.h"

class TriangleMesh;

// The triangle mesh of an n x n x n voxel block (MeshVoxelBlock) with its
// own vertex array ("Vertex", "Normal"), index array and triplanar material
// showing "../textures/craters.png", all at purge level 0 so that they go
// with the mesh; named by the unique-name rule with the stems "va", "ia",
// "mat" and "tm". Null, with no resource made, when the block yields no
// vertex, or (with a warning) more vertices than 16-bit indices can number.
TriangleMesh* buildAsteroidMesh(const u8* block, i32 n);
