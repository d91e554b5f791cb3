#include "games/mazechase/minimap.h"

#include "engine/group.h"
#include "engine/materialphong.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/mazechase/scenery.h"

#include <cstring>

namespace {

struct TileMaterial {
    const char* name;
    u32 purgeLevel;
    vec3 ambient;
    vec3 diffuse;
    f32 emissive;
};

// By cell flag 0 to 7.
const TileMaterial kTileMaterials[8] = {
    {"emptyMaterial", 1, vec3(0, 0, 0), vec3(0, 0, 0), 0},
    {"innerWallMaterial", 0, vec3(0, 0, 0.3f), vec3(0, 0, 0.5f), 0.2f},
    {"outerWallMaterial", 0, vec3(0, 0, 0.9f), vec3(0, 0, 1), 0.2f},
    {"foodMaterial", 0, vec3(0.6f, 0.6f, 0.6f), vec3(0, 0, 0), 0.2f},
    {"nibblorMaterial", 0, vec3(0.6f, 0.8f, 0), vec3(0.7f, 0.6f, 0.2f), 0.7f},
    {"specialFoodMaterial", 0, vec3(0.9f, 0, 0), vec3(1, 0, 0), 0.2f},
    {"monsterCageMaterial", 0, vec3(0.5f, 0.4f, 0.3f), vec3(0.3f, 0.6f, 0.4f), 0.4f},
    {"monsterMaterial", 0, vec3(0, 1, 1), vec3(0, 1, 1), 0.2f},
};

} // namespace

MiniMap::MiniMap(World* minimapWorld, MatrixMap* maze, Light* minimapLight, Group* minimapGroup)
    : group(minimapGroup), map(maze), world(minimapWorld) {
    std::memset(minimapTiles, 0, sizeof minimapTiles);
    createMaterials();
    templateTile = makeQuadMesh("minimap", 0.5f, 0.5f, 0);
    templateTile->setLight(minimapLight, 0);
}

MiniMap::~MiniMap() {
    SceneGraph::deleteNode(world);
    SceneGraph::deleteNode(templateTile);
    for (Material* material : materials) {
        SceneGraph::dereferenceResource(material);
    }
}

void MiniMap::update(FrameInput*) {}

void MiniMap::createMaterials() {
    for (u32 flag = 0; flag < 8; flag++) {
        const TileMaterial& spec = kTileMaterials[flag];
        materials[flag] = SceneGraph::createMaterial(kMaterialPoint, spec.name, spec.purgeLevel);
        MaterialPhong* phong = dynamic_cast<MaterialPhong*>(materials[flag]);
        if (phong == nullptr) {
            continue;
        }
        phong->ambientColor = spec.ambient;
        phong->diffuseColor = spec.diffuse;
        phong->emissive = spec.emissive;
        bool lit = flag != 0;
        if (lit) {
            phong->setDiffuseTexture("..\\textures\\tiles2.png", 0);
        }
        phong->specularColor = lit ? vec3(1, 1, 1) : vec3(0, 0, 0);
        phong->shininess = lit ? 5.0f : 0.0f;
        phong->specularLevel = lit ? 1.0f : 0.0f;
    }
}

void MiniMap::addBackground() {
    TriangleMesh* background =
        static_cast<TriangleMesh*>(templateTile->duplicate("black background", false));
    background->setMaterial(materials[0], true);
    background->setScale(80, 80, 1);
    background->setTranslation(-80, -20, -10);
    group->attachChild(background);
}

TriangleMesh* MiniMap::addMesh(i32 flag, vec3 translation, vec3 scale, GridPosition cell) {
    TriangleMesh* tile = static_cast<TriangleMesh*>(templateTile->duplicate("minimapmesh", false));
    tile->setMaterial(getMaterial(flag), true);
    tile->setTranslation(translation);
    tile->setScale(scale);
    group->attachChild(tile);
    if ((flag == kFlagPellet || flag == kFlagPowerPellet) && cell.x >= 0 && cell.x < kMazeSize &&
        cell.y >= 0 && cell.y < kMazeSize) {
        minimapTiles[cell.y][cell.x] = tile;
    }
    return tile;
}

void MiniMap::hideTile(GridPosition cell) {
    if (cell.x >= 0 && cell.x < kMazeSize && cell.y >= 0 && cell.y < kMazeSize &&
        minimapTiles[cell.y][cell.x] != nullptr) {
        minimapTiles[cell.y][cell.x]->setActive(false);
        minimapTiles[cell.y][cell.x] = nullptr;
    }
}
