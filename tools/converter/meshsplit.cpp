#include "tools/converter/meshsplit.h"

#include <limits>

namespace {

constexpr u32 kNotInPiece = std::numeric_limits<u32>::max();

// Builds pieces one after the other; local holds, for every vertex of the
// mesh, its number in the piece being built, or kNotInPiece.
struct Splitter {
    const f32* vertices;
    u32 floatsPerVertex;
    u32 maxVertices;
    std::vector<u32> local;
    std::vector<u32> used; // the mesh's vertices that the piece being built holds
    std::vector<MeshPiece> pieces;

    // The number of the triangle's vertices that the current piece lacks.
    u32 missing(const u32* corner) const {
        u32 count = 0;
        for (int i = 0; i < 3; ++i) {
            bool repeated = (i > 0 && corner[i] == corner[0]) || (i > 1 && corner[i] == corner[1]);
            if (local[corner[i]] == kNotInPiece && !repeated) {
                ++count;
            }
        }
        return count;
    }

    void startPiece() {
        for (u32 vertex : used) {
            local[vertex] = kNotInPiece;
        }
        used.clear();
        pieces.emplace_back();
    }

    u32 take(u32 vertex) {
        MeshPiece& piece = pieces.back();
        if (local[vertex] == kNotInPiece) {
            local[vertex] = piece.vertexCount++;
            used.push_back(vertex);
            const f32* from = vertices + static_cast<std::size_t>(vertex) * floatsPerVertex;
            piece.vertices.insert(piece.vertices.end(), from, from + floatsPerVertex);
        }
        return local[vertex];
    }

    void add(const u32* corner) {
        if (pieces.empty() || pieces.back().vertexCount + missing(corner) > maxVertices) {
            startPiece();
        }
        for (int i = 0; i < 3; ++i) {
            pieces.back().indices.push_back(take(corner[i]));
        }
    }
};

} // namespace

std::vector<MeshPiece> splitMesh(const u32* indices, u32 indexCount, const f32* vertices,
                                 u32 vertexCount, u32 floatsPerVertex, u32 maxVertices) {
    Splitter s{
        vertices, floatsPerVertex, maxVertices, std::vector<u32>(vertexCount, kNotInPiece), {}, {}};
    for (u32 k = 0; k + 3 <= indexCount; k += 3) {
        s.add(indices + k);
    }
    return std::move(s.pieces);
}
