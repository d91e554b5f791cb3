#include "games/towerdefence/towerdefgame.h"

#include "engine/camera.h"
#include "engine/indexarray.h"
#include "engine/light.h"
#include "engine/materialphong.h"
#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/text.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "engine/world.h"
#include "games/towerdefence/enemy.h"
#include "games/towerdefence/ground.h"
#include "games/towerdefence/gui.h"
#include "games/towerdefence/tower.h"
#include "games/towerdefence/towerscene.h"
#include "games/towerdefence/waypoint.h"

#include <cstdio>

namespace {

const f32 kPi = 3.14159265f;
const f32 kFov = kPi / 2;
const f32 kAspect = 0.8f;
const f32 kNear = 1;
const f32 kFar = 1000;
const vec3 kCameraStart = vec3(50, 100, 150);
const vec3 kGuiCameraPosition = vec3(0, 0, 50);
const vec3 kPlacingCamera = vec3(50, 95, 125);

// Each tower kind's material: a point material over the tower picture.
struct KindMaterial {
    const char* name;
    Look look;
};
const KindMaterial kKindMaterials[kTdTowerKindCount] = {
    {"cannontowermaterial1",
     {vec3(0.9f, 0.5f, 0.25f), vec3(0.9f, 0.5f, 0.25f), vec3(0.5f, 0.5f, 0.5f), 0.5f, 0, 0}},
    {"cannontowermaterial2", {vec3(0, 0, 0), vec3(1, 1, 1), vec3(1, 1, 1), 10.5f, 0, 1}},
    {"cannontowermaterial3",
     {vec3(0.2f, 0.2f, 1), vec3(0.2f, 0.2f, 1), vec3(1, 1, 1), 10.5f, 0, 1}},
    {"cannontowermaterial4",
     {vec3(0.9f, 0.1f, 0.3f), vec3(0.9f, 0.1f, 0.3f), vec3(1, 1, 1), 10.5f, 0, 1}},
};
const u32 kTowerMaterialPurge = 100;
const char* const kTowerPicture = "../textures/cannontower_low.png";
const Look kEnemyLook = {
    vec3(0.5f, 0.5f, 0.5f), vec3(0.5f, 0.5f, 0.5f), vec3(0.5f, 0.5f, 0.5f), 0.5f, 0.3f, 0};

// The bullet: a grey triangle of position and colour.
const f32 kBullet[3 * 7] = {
    0,    0, 0, 0.6f, 0.6f, 0.6f, 1, //
    0.6f, 0, 0, 0.6f, 0.6f, 0.6f, 1, //
    0,    1, 0, 0.6f, 0.6f, 0.6f, 1, //
};
const u16 kBulletIndices[3] = {0, 1, 2};

const f32 kBackgroundSize = 1500;
const f32 kBackgroundDepth = -500;

// Where the texts stand, in -1..1 over the screen.
struct TextPlace {
    f32 x, y;
    u32 width;
};
const TextPlace kStatusText = {-0.95f, 0.9f, 300};
const TextPlace kGameOverText = {-0.3f, 0, 250};
const TextPlace kPlacingText = {-0.95f, 0.6f, 250};

void print(const char* text, const TextPlace& place) {
    SceneGraph::getText()->print(text, place.x, place.y, place.width, 1);
}

} // namespace

TowerDefGame::TowerDefGame()
    : enemyPool{}, gameWorld(nullptr), gameCamera(nullptr), light(nullptr), towerTemplate(nullptr),
      enemyTemplate(nullptr), firstWayPoint(nullptr), guiWorld(nullptr), guiCamera(nullptr),
      placingCameraPosition(kPlacingCamera), pointerWasDown(false), towerMaterials{} {
    gameWorld = SceneGraph::createWorld("GameWorld");
    gameWorld->setClearColor(true, vec4(0, 0, 0, 1));
    gameCamera = SceneGraph::createCamera("ActiveCamera");
    gameCamera->setPerspectiveProjection(kFov, kAspect, kNear, kFar);
    gameWorld->setActiveCamera(gameCamera);
    gameCamera->setTranslation(kCameraStart);
    light = SceneGraph::createLight("Light1");
    towerTemplate = SceneGraph::createTriangleMesh("CannonTowerBase",
                                                   "../models/cannontower_low.pwn", false, 3);
    enemyTemplate = createEnemyTemplate();
    guiWorld = SceneGraph::createWorld("GameWorldGui");
    guiWorld->setClearColor(false, vec4(0, 0, 0, 0));
    guiCamera = SceneGraph::createCamera("ActiveCameraGui");
    guiCamera->setPerspectiveProjection(kFov, kAspect, kNear, kFar);
    guiWorld->setActiveCamera(guiCamera);
    guiCamera->setTranslation(kGuiCameraPosition);
    createTowerMaterials();
    createPath();
    objects.push_back(new Gui(this));
    objects.push_back(new Ground(this));
    for (u32 i = 0; i < kTdEnemyCount; i++) {
        Enemy* enemy = new Enemy(this, firstWayPoint);
        enemies.push_back(enemy);
        enemyPool[i] = enemy->getState();
        objects.push_back(enemy);
    }
    Sprite* background = SceneGraph::createSprite("MrSprite", "../textures/spaceback.png", 0);
    background->setSize(vec2(kBackgroundSize, kBackgroundSize));
    gameWorld->attachChild(background);
    background->translate(0, 0, kBackgroundDepth);
}

// The game world goes with every node in it; the menu world, the cameras,
// the light and the templates belong to no world and go after it.
TowerDefGame::~TowerDefGame() {
    SceneGraph::deleteNode(gameWorld);
    for (GameObject* object : objects) {
        delete object;
    }
    objects.clear();
    towers.clear();
    enemies.clear();
    SceneGraph::deleteNode(guiWorld);
    SceneGraph::deleteNode(gameCamera);
    SceneGraph::deleteNode(guiCamera);
    SceneGraph::deleteNode(towerTemplate);
    SceneGraph::deleteNode(enemyTemplate);
    SceneGraph::deleteNode(light);
}

void TowerDefGame::createTowerMaterials() {
    for (i32 i = 0; i < kTdTowerKindCount; i++) {
        MaterialPoint* material = static_cast<MaterialPoint*>(SceneGraph::createMaterial(
            kMaterialPoint, kKindMaterials[i].name, kTowerMaterialPurge));
        ApplyLook(material, kKindMaterials[i].look, kTowerPicture);
        towerMaterials[i] = material;
    }
}

void TowerDefGame::createPath() {
    WayPoint* previous = nullptr;
    for (const TdPoint& point : kTdWayPoints) {
        WayPoint* wayPoint = new WayPoint(point.x, point.y);
        if (previous != nullptr) {
            previous->setNext(wayPoint);
        } else {
            firstWayPoint = wayPoint;
        }
        objects.push_back(wayPoint);
        previous = wayPoint;
    }
}

TriangleMesh* TowerDefGame::createEnemyTemplate() {
    TriangleMesh* mesh =
        SceneGraph::createTriangleMesh("EnemyBaseasd", "../models/orc.pwn", true, 3);
    MaterialPoint* material = static_cast<MaterialPoint*>(
        SceneGraph::createMaterial(kMaterialPoint, "orctowermaterial1", 1));
    ApplyLook(material, kEnemyLook, "../textures/enemy.png");
    mesh->setMaterial(material, false);
    return mesh;
}

TriangleMesh* TowerDefGame::createBulletMesh() {
    VertexArray* vertices = SceneGraph::createVertexArray("IceBulletArray", kBullet, 7, 3, 1);
    vertices->setAttribute(0, 3, "Vertex");
    vertices->setAttribute(3, 4, "Color");
    IndexArray* indices = SceneGraph::createIndexArray("ArrowBulletIndex", kBulletIndices, 3, 0, 1);
    Material* material = SceneGraph::createMaterial(kMaterialColorful, "ArrowBulletMat", 1);
    return SceneGraph::createTriangleMesh("ArrowBulletTRI", vertices, indices, material, true);
}

Material* TowerDefGame::getTowerMaterial(i32 kind) const {
    return kind >= 1 && kind <= kTdTowerKindCount ? towerMaterials[kind - 1] : nullptr;
}

void TowerDefGame::addTower(Tower* tower) {
    towers.push_back(tower);
    objects.push_back(tower);
}

void TowerDefGame::enemyReachedEnd(Enemy*) {
    TdEnemyReachedEnd(play);
}

void TowerDefGame::showHealthBars() {
    for (Enemy* enemy : enemies) {
        enemy->showHealthBar();
    }
}

bool TowerDefGame::anyEnemyActive() const {
    for (const TdEnemy* enemy : enemyPool) {
        if (enemy->active) {
            return true;
        }
    }
    return false;
}

bool TowerDefGame::update(FrameInput* input) {
    if (play.gameOver) {
        print("GAME OVER!", kGameOverText);
        return true;
    }
    for (GameObject* object : objects) {
        object->update(input);
    }
    if (play.placing) {
        placingStep(*input);
    } else {
        cameraStep(*input);
    }
    printStatus();
    const f32 now = input->time;
    if (TdLivesCheck(play, now)) {
        endGame();
    }
    i32 next = TdSpawnStep(play, enemyPool, kTdEnemyCount, now);
    if (next >= 0) {
        enemies[next]->spawn(TdSpawnHitPoints(play.level), TdSpawnSpeed(play.level));
        TdSpawned(play, now, TdRandom());
    }
    TdWaveEndStep(play, anyEnemyActive(), now);
    pointerWasDown = input->pointerDown == 1;
    return true;
}

void TowerDefGame::printStatus() {
    char status[64];
    std::snprintf(status, sizeof status, "Lives: %d Money: %d Level %d", play.lives, play.money,
                  play.level);
    print(status, kStatusText);
}

void TowerDefGame::endGame() {
    for (Enemy* enemy : enemies) {
        enemy->deactivate();
    }
    gameWorld->setActive(false);
    guiWorld->setActive(false);
}

void TowerDefGame::placingStep(const FrameInput& input) {
    gameCamera->setTranslation(placingCameraPosition);
    gameCamera->setRotation(0, 0, 1, 0);
    u32 spot = 0;
    switch (TdPlaceStep(play, input, pointerWasDown, &spot)) {
    case TdPlace::NoMoney:
        print("Not enough money", kPlacingText);
        break;
    case TdPlace::Outside:
        print("OUTSIDE", kPlacingText);
        break;
    case TdPlace::Built:
        addTower(new Tower(this, static_cast<f32>(kTdBuildSpots[spot].x),
                           static_cast<f32>(kTdBuildSpots[spot].y), play.placeShotStep,
                           play.placeDamage, play.placeKind));
        break;
    case TdPlace::Nothing:
        break;
    }
}

void TowerDefGame::cameraStep(const FrameInput& input) {
    switch (TdCameraStep(cameraControl, input, pointerWasDown, play.cameraMode,
                         gameCamera->getTranslation())) {
    case TdCameraAction::Pan:
        gameCamera->setTranslation(TdPanPosition(cameraControl, input.pointerX, input.pointerY));
        break;
    case TdCameraAction::RotateZoom: {
        f32 angle = TdRotateAngle(input.pointerX);
        if (angle != 0) {
            gameCamera->rotate(angle, 1, 0, 0);
        }
        f32 zoom = TdZoomStep(input.pointerY);
        if (zoom != 0) {
            gameCamera->translate(0, 0, zoom);
        }
        break;
    }
    case TdCameraAction::None:
        break;
    }
}
