#include "games/mazechase/scenery.h"

#include "engine/indexarray.h"
#include "engine/materialphong.h"
#include "engine/materialweird.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"

namespace {

const char* const kSandstone = "..\\textures\\sandstone.png";

// Indices 2 and 9 are the sandstone too.
const char* const kTextures[] = {
    kSandstone,
    "..\\textures\\boards.png",
    kSandstone,
    "..\\textures\\chrome.png",
    "..\\textures\\tiles2.png",
    "..\\textures\\tiles4.png",
    "..\\textures\\rainbow.png",
    "..\\textures\\woods.jpg",
    "..\\textures\\extra_life.png",
    kSandstone,
    "..\\textures\\stone2.jpg",
    "..\\textures\\christmas2.jpg",
};
constexpr u32 kTextureCount = sizeof kTextures / sizeof kTextures[0];
constexpr i32 kPowerPelletTexture = 11;

const u16 kQuadIndices[2][3] = {{0, 1, 2}, {1, 3, 2}};

} // namespace

const char* texturePath(i32 index) {
    u32 i = static_cast<u32>(index);
    return i < kTextureCount ? kTextures[i] : kSandstone;
}

Material* makeMaterial(i32 textureIndex, const char* name, u32 purgeLevel) {
    Material* material = SceneGraph::createMaterial(kMaterialPoint, name, purgeLevel);
    MaterialPhong* phong = dynamic_cast<MaterialPhong*>(material);
    if (phong == nullptr) {
        return material;
    }
    phong->setDiffuseTexture(texturePath(textureIndex), 1);
    phong->emissive = 0.1f;
    if (textureIndex == kPowerPelletTexture) {
        phong->ambientColor = vec3(0.7f, 0.7f, 0.7f);
        phong->diffuseColor = vec3(0.7f, 0.7f, 0.7f);
        phong->specularColor = vec3(0.3f, 0.4f, 0.5f);
        phong->specularLevel = 0.5f;
        phong->shininess = 3.0f;
    } else {
        phong->ambientColor = vec3(0.6f, 0.6f, 0.0f);
        phong->diffuseColor = vec3(0.7f, 0.3f, 0.2f);
        phong->specularColor = vec3(1, 1, 1);
        phong->specularLevel = 0.3f;
        phong->shininess = 2.0f;
    }
    return material;
}

Material* makeSpecialMaterial(const char* name, u32 purgeLevel) {
    Material* material = SceneGraph::createMaterial(kMaterialWeird, name, purgeLevel);
    MaterialWeird* weird = dynamic_cast<MaterialWeird*>(material);
    if (weird != nullptr) {
        weird->setDiffuseTexture(texturePath(6), 1);
        weird->setNoiseTexture("..\\textures\\noise.png", 1);
    }
    return material;
}

TriangleMesh* makeQuadMesh(const char* name, f32 halfWidth, f32 halfHeight, f32 depth) {
    const f32 table[4][6] = {
        {-halfWidth, -halfHeight, depth, 0, 0, 0},
        {halfWidth, -halfHeight, depth, 1, 0, 0},
        {-halfWidth, halfHeight, -depth, 0, 1, 0},
        {halfWidth, halfHeight, -depth, 1, 1, 0},
    };
    f32 vertices[4 * 6];
    copyVertices(vertices, table, 4, 6);
    u16 indices[6];
    copyIndices(indices, kQuadIndices, 2, 3);
    VertexArray* vertexArray = SceneGraph::createVertexArray(name, vertices, 6, 4, 0);
    vertexArray->setAttribute(0, 3, "Vertex");
    vertexArray->setAttribute(3, 3, "Texcoord");
    IndexArray* indexArray = SceneGraph::createIndexArray(name, indices, 6, 0, 0);
    Material* material = SceneGraph::createMaterial(kMaterialPoint, name, 0);
    MaterialPhong* phong = dynamic_cast<MaterialPhong*>(material);
    if (phong != nullptr) {
        phong->ambientColor = vec3(0, 0, 0);
        phong->diffuseColor = vec3(0, 0, 0);
    }
    // The three creation references pass to the mesh.
    return SceneGraph::createTriangleMesh(name, vertexArray, indexArray, material, false);
}

void copyVertices(f32* out, const f32 table[][6], u32 rows, u32 columns) {
    for (u32 r = 0; r < rows; r++) {
        for (u32 c = 0; c < columns; c++) {
            *out++ = table[r][c];
        }
    }
}

void copyIndices(u16* out, const u16 table[][3], u32 rows, u32 columns) {
    for (u32 r = 0; r < rows; r++) {
        for (u32 c = 0; c < columns; c++) {
            *out++ = table[r][c];
        }
    }
}

Material* makePlainMaterial(const char* name, u32 purgeLevel, const char* texture, vec3 ambient,
                            vec3 diffuse) {
    Material* material = SceneGraph::createMaterial(kMaterialPoint, name, purgeLevel);
    MaterialPhong* phong = dynamic_cast<MaterialPhong*>(material);
    if (phong != nullptr) {
        phong->setDiffuseTexture(texture, 1);
        phong->ambientColor = ambient;
        phong->diffuseColor = diffuse;
    }
    return material;
}

Material* makeMonsterMaterial() {
    return makePlainMaterial("Material: Monster", 0, "..\\textures\\ogre.png",
                             vec3(0.5f, 0.5f, 0.5f), vec3(0.7f, 0.7f, 0.7f));
}
