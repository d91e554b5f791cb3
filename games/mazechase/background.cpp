#include "games/mazechase/background.h"

#include "engine/indexarray.h"
#include "engine/materialphong.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "games/mazechase/scenery.h"

namespace {

// Position, then texture coordinates s, t, r.
const f32 kVertices[8][6] = {
    {-900, -300, 900, 0, 0, 1}, {900, -300, 900, 1, 0, 1},   {-900, 900, 900, 0, 1, 1},
    {900, 900, 900, 1, 1, 1},   {-900, -300, -900, 1, 0, 0}, {900, -300, -900, 0, 0, 0},
    {-900, 900, -900, 1, 1, 0}, {900, 900, -900, 0, 1, 0},
};

// The walls at z = 900, z = -900, x = -900 and x = 900.
const u16 kIndices[8][3] = {{1, 0, 2}, {2, 3, 1}, {4, 5, 6}, {5, 7, 6},
                            {0, 4, 6}, {0, 6, 2}, {5, 1, 3}, {5, 3, 7}};

} // namespace

BackgroundModel::BackgroundModel() {
    f32 vertices[8 * 6];
    copyVertices(vertices, kVertices, 8, 6);
    u16 indices[8 * 3];
    copyIndices(indices, kIndices, 8, 3);
    VertexArray* vertexArray = SceneGraph::createVertexArray("Background model", vertices, 6, 8, 0);
    vertexArray->setAttribute(0, 3, "Vertex");
    vertexArray->setAttribute(3, 3, "Texcoord");
    IndexArray* indexArray =
        SceneGraph::createIndexArray("Background model indexarray", indices, 24, 0, 0);
    Material* material = makeMaterial(7, "Material: Background", 1);
    MaterialPhong* phong = dynamic_cast<MaterialPhong*>(material);
    if (phong != nullptr) {
        phong->ambientColor = vec3(0.6f, 0.6f, 0.6f);
        phong->diffuseColor = vec3(0.6f, 0.6f, 0.6f);
    }
    // The three creation references pass to the mesh.
    node = SceneGraph::createTriangleMesh("Box", vertexArray, indexArray, material, false);
}
