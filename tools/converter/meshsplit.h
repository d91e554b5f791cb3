#pragma once

#include "engine/types.h"

#include <vector>

// The engine draws 16-bit indices, so one mesh it draws holds at most this
// many vertices.
constexpr u32 kMaxDrawnVertices = 65536;

// One piece of a split mesh: its own vertices and the indices into them.
struct MeshPiece {
    std::vector<u32> indices;
    std::vector<f32> vertices;
    u32 vertexCount = 0;
};

// Parts the triangles (three indices each, in order) of a mesh into pieces of
// at most maxVertices vertices each. Each triangle goes whole into one piece;
// a piece takes triangles in order until the next one would bring in too many
// vertices, and numbers its vertices by first use.
std::vector<MeshPiece> splitMesh(const u32* indices, u32 indexCount, const f32* vertices,
                                 u32 vertexCount, u32 floatsPerVertex, u32 maxVertices);
