// Splitting a mesh into pieces the engine can draw: each triangle whole in
// one piece, no piece above its vertex limit, every triangle kept in order.
#include "tools/converter/meshsplit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

namespace {

// Two floats a vertex: its number and its number times ten.
std::vector<f32> numbered(u32 count) {
    std::vector<f32> vertices;
    for (u32 v = 0; v < count; ++v) {
        vertices.push_back(f32(v));
        vertices.push_back(f32(v * 10));
    }
    return vertices;
}

// The mesh's vertex numbers that the pieces' triangles name, in order.
std::vector<u32> namedVertices(const std::vector<MeshPiece>& pieces) {
    std::vector<u32> named;
    for (const MeshPiece& piece : pieces) {
        for (u32 index : piece.indices) {
            EXPECT_LT(index, piece.vertexCount);
            const f32* v = &piece.vertices[index * 2];
            EXPECT_EQ(v[1], v[0] * 10) << "whole vertices are copied";
            named.push_back(u32(v[0]));
        }
    }
    return named;
}

TEST(MeshSplit, PiecesHoldWholeTrianglesWithinTheLimit) {
    struct Case {
        const char* what;
        std::vector<u32> indices;
        u32 limit;
        std::vector<u32> piecesVertices; // vertex count of each piece
    } cases[] = {
        {"a strip that fits", {0, 1, 2, 1, 2, 3, 2, 3, 4}, 5, {5}},
        {"a strip of one vertex a triangle", {0, 1, 2, 1, 2, 3, 2, 3, 4, 3, 4, 5}, 4, {4, 4}},
        {"separate triangles", {0, 1, 2, 3, 4, 5, 6, 7, 8}, 6, {6, 3}},
        {"a limit of one triangle", {0, 1, 2, 3, 4, 5}, 3, {3, 3}},
        {"repeated corners count once", {0, 0, 1, 2, 2, 2, 3, 3, 4}, 3, {3, 2}},
        {"a triangle of known vertices fits a full piece", {0, 1, 2, 2, 1, 0, 0, 2, 3}, 3, {3, 3}},
        {"no triangles", {}, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        u32 vertexCount =
            c.indices.empty() ? 0 : *std::max_element(c.indices.begin(), c.indices.end()) + 1;
        std::vector<f32> vertices = numbered(vertexCount);
        std::vector<MeshPiece> pieces = splitMesh(c.indices.data(), u32(c.indices.size()),
                                                  vertices.data(), vertexCount, 2, c.limit);
        std::vector<u32> counts;
        for (const MeshPiece& piece : pieces) {
            counts.push_back(piece.vertexCount);
            EXPECT_EQ(piece.vertices.size(), piece.vertexCount * 2u);
            EXPECT_EQ(piece.indices.size() % 3, 0u);
        }
        EXPECT_EQ(counts, c.piecesVertices);
        EXPECT_EQ(namedVertices(pieces), c.indices) << "every triangle, in order";
    }
}

TEST(MeshSplit, VerticesAreNumberedByFirstUseInEachPiece) {
    std::vector<u32> indices = {5, 3, 4, 4, 3, 0, 1, 2, 0};
    std::vector<f32> vertices = numbered(6);
    std::vector<MeshPiece> pieces = splitMesh(indices.data(), 9, vertices.data(), 6, 2, 4);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].indices, (std::vector<u32>{0, 1, 2, 2, 1, 3}));
    EXPECT_EQ(pieces[0].vertices, (std::vector<f32>{5, 50, 3, 30, 4, 40, 0, 0}));
    EXPECT_EQ(pieces[1].indices, (std::vector<u32>{0, 1, 2}));
    EXPECT_EQ(pieces[1].vertices, (std::vector<f32>{1, 10, 2, 20, 0, 0}));
}

} // namespace
