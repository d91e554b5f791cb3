#include "games/rockfield/asteroidmesh.h"

#include "engine/indexarray.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "games/rockfield/materialtriplanar.h"
#include "games/rockfield/rules.h"
#include "games/rockfield/voxelblock.h"

#include <vector>

namespace {

const Result kTooManyVertices = {1,
                                 "The asteroid mesh has more vertices than 16-bit indices number"};

// The 16-bit numbering keeps one bit spare.
const size_t kMaxVertices = 32767;
const u32 kFloatsPerVertex = 6;
const u32 kLayoutTriangles = 0;
const u32 kPurgeWithMesh = 0;

} // namespace

TriangleMesh* buildAsteroidMesh(const u8* block, i32 n) {
    std::vector<f32> vertices;
    std::vector<u32> indices;
    MeshVoxelBlock(block, n, &vertices, &indices);
    size_t vertexCount = vertices.size() / kFloatsPerVertex;
    if (vertexCount == 0) {
        return nullptr;
    }
    if (vertexCount > kMaxVertices) {
        REPORT(kTooManyVertices);
        return nullptr;
    }
    std::vector<u16> shortIndices(indices.begin(), indices.end());
    char name[32];
    UniqueName("va", name, sizeof name);
    VertexArray* vertexArray = SceneGraph::createVertexArray(
        name, vertices.data(), kFloatsPerVertex, static_cast<u32>(vertexCount), kPurgeWithMesh);
    vertexArray->setAttribute(0, 3, "Vertex");
    vertexArray->setAttribute(3, 3, "Normal");
    UniqueName("ia", name, sizeof name);
    IndexArray* indexArray = SceneGraph::createIndexArray(name, shortIndices.data(),
                                                          static_cast<u32>(shortIndices.size()),
                                                          kLayoutTriangles, kPurgeWithMesh);
    UniqueName("mat", name, sizeof name);
    Material* material = SceneGraph::createMaterial(kMaterialTriplanar, name, kPurgeWithMesh);
    if (material->getType() == kMaterialTriplanar) {
        static_cast<MaterialTriplanar*>(material)->setDiffuseTexture("../textures/craters.png",
                                                                     kPurgeWithMesh);
    }
    UniqueName("tm", name, sizeof name);
    return SceneGraph::createTriangleMesh(name, vertexArray, indexArray, material, false);
}
