#include "games/towerdefence/ground.h"

#include "engine/indexarray.h"
#include "engine/light.h"
#include "engine/materialphong.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "engine/world.h"
#include "games/towerdefence/towerdefgame.h"
#include "games/towerdefence/towerscene.h"

namespace {

// Position, normal and texture coordinate of the grass plane; the picture
// repeats 3 times across and 6 times along.
const f32 kGrass[4 * 9] = {
    0,   0,   0, 0, 0, 1, 0, 0, 0, //
    0,   200, 0, 0, 0, 1, 0, 6, 0, //
    100, 0,   0, 0, 0, 1, 3, 0, 0, //
    100, 200, 0, 0, 0, 1, 3, 6, 0, //
};
const u16 kGrassIndices[6] = {0, 2, 1, 1, 2, 3};

// The stone block from (0, 0, -10) to (10, 10, 0).
const f32 kBlock[8 * 9] = {
    0,  0,  0,   0,  0, 1, 0, 0, 0, //
    10, 0,  0,   0,  0, 1, 1, 0, 0, //
    10, 10, 0,   0,  0, 1, 1, 1, 0, //
    0,  10, 0,   0,  0, 1, 0, 1, 0, //
    10, 10, -10, 0,  1, 0, 1, 1, 0, //
    0,  10, -10, 0,  1, 0, 0, 1, 0, //
    0,  0,  -10, -1, 0, 0, 1, 0, 0, //
    10, 0,  -10, 1,  0, 0, 1, 0, 0, //
};
const u16 kBlockIndices[36] = {0, 1, 3, 1, 2, 3, 3, 2, 4, 3, 4, 5, 2, 1, 7, 2, 7, 4,
                               5, 0, 3, 5, 6, 0, 5, 4, 7, 7, 6, 5, 0, 7, 1, 0, 6, 7};

struct Wall {
    vec3 translation, scale;
};
const Wall kWalls[Ground::kWallCount] = {
    {vec3(90, 0, 5), vec3(1, 20, 0.5f)},     {vec3(10, 0, 5), vec3(8, 1, 0.5f)},
    {vec3(10, 25, 5), vec3(6.5f, 1, 0.5f)},  {vec3(25, 50, 5), vec3(6.5f, 1, 0.5f)},
    {vec3(25, 60, 5), vec3(2, 5, 0.5f)},     {vec3(10, 125, 5), vec3(6.5f, 1, 0.5f)},
    {vec3(65, 75, 5), vec3(1, 5, 0.5f)},     {vec3(25, 150, 5), vec3(6.5f, 1, 0.5f)},
    {vec3(10, 175, 5), vec3(6.5f, 1, 0.5f)}, {vec3(0, 200, 5), vec3(10, 1, 0.5f)},
};
// The block itself becomes the left wall.
const Wall kLeftWall = {vec3(0, 0, 5), vec3(1, 20, 0.5f)};

const Look kGrassLook = {
    vec3(0.5f, 0.5f, 0.5f), vec3(0.8f, 0.8f, 0.8f), vec3(0.1f, 0.1f, 0.1f), 2, 0, 0.5f};
const Look kStoneLook = {
    vec3(0.6f, 0.3f, 0.3f), vec3(0.8f, 0.8f, 0.8f), vec3(0.3f, 0.2f, 0.2f), 0.5f, 0, 0.1f};

MaterialPoint* createMaterial(const char* name, const char* picture, const Look& look) {
    MaterialPoint* material =
        static_cast<MaterialPoint*>(SceneGraph::createMaterial(kMaterialPoint, name, 1));
    ApplyLook(material, look, picture);
    return material;
}

void place(TriangleMesh* mesh, const Wall& wall, Light* light) {
    mesh->setTranslation(wall.translation);
    mesh->scale(wall.scale);
    mesh->setLight(light, 0);
}

} // namespace

Ground::Ground(TowerDefGame* game)
    : light(nullptr), grassMaterial(nullptr), stoneMaterial(nullptr), grass(nullptr),
      stoneBlock(nullptr), walls{} {
    light = SceneGraph::createLight("LightGround", vec3(1, 1, 1), 3);
    light->setTranslation(50, 100, 50);
    game->getGameWorld()->attachChild(light);
    grass = createGrass();
    stoneBlock = createStoneBlock();
    for (int i = 0; i < kWallCount; i++) {
        walls[i] = static_cast<TriangleMesh*>(stoneBlock->duplicate("Ground", true));
        place(walls[i], kWalls[i], light);
    }
    place(stoneBlock, kLeftWall, light);
    grass->setLight(light, 0);
    for (TriangleMesh* wall : walls) {
        grass->attachChild(wall);
    }
    grass->attachChild(stoneBlock);
    game->getGameWorld()->attachChild(grass);
}

TriangleMesh* Ground::createGrass() {
    VertexArray* vertices = CreateTexturedArray("Array", kGrass, 4);
    IndexArray* indices = SceneGraph::createIndexArray("Index", kGrassIndices, 6, 0, 1);
    grassMaterial = createMaterial("grassMat", "../textures/grass.png", kGrassLook);
    return SceneGraph::createTriangleMesh("TRI", vertices, indices, grassMaterial, true);
}

TriangleMesh* Ground::createStoneBlock() {
    VertexArray* vertices = CreateTexturedArray("Array2", kBlock, 8);
    IndexArray* indices = SceneGraph::createIndexArray("Index2", kBlockIndices, 36, 0, 1);
    stoneMaterial = createMaterial("stone", "../textures/RedDirt.png", kStoneLook);
    return SceneGraph::createTriangleMesh("BOX", vertices, indices, stoneMaterial, true);
}
