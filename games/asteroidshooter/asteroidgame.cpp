#include "games/asteroidshooter/asteroidgame.h"

#include "engine/camera.h"
#include "engine/group.h"
#include "engine/indexarray.h"
#include "engine/light.h"
#include "engine/material.h"
#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/text.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "engine/world.h"
#include "games/asteroidshooter/asteroid.h"
#include "games/asteroidshooter/enemyship.h"
#include "games/asteroidshooter/player.h"

namespace {

const u32 kCachedPurgeLevel = 1;

// The shot: a small green pyramid, position and colour a vertex.
const f32 kShotVertices[4 * 7] = {
    0,  -1, 0, 0.5f, 0.9f, 0.3f, 1, //
    1,  1,  0, 0.5f, 0.9f, 0.3f, 1, //
    -1, 1,  0, 0.5f, 0.9f, 0.3f, 1, //
    0,  0,  1, 0.5f, 0.9f, 0.3f, 1, //
};
const u16 kShotIndices[12] = {0, 2, 1, 0, 1, 3, 3, 2, 0, 1, 2, 3};

const char* const kLoadingText = "Loading level 2!";

void printLoading() {
    SceneGraph::getText()->print(kLoadingText, -1.0f, 0.9f, 350, 1);
}

Sprite* addSprite(World* world, const char* name, const char* file, f32 z, vec2 size) {
    Sprite* sprite = SceneGraph::createSprite(name, file, kCachedPurgeLevel);
    sprite->setTranslation(0, 0, z);
    sprite->setSize(size);
    world->attachChild(sprite);
    return sprite;
}

} // namespace

AsteroidGame::AsteroidGame(u8 orientation)
    : world(nullptr), camera(nullptr), light(nullptr), background(nullptr), pause(nullptr),
      targets(nullptr), player(nullptr), shotMesh(nullptr), stats(AsteroidStart(orientation)) {
    world = SceneGraph::createWorld("GameWorld");
    world->setClearColor(true, vec4(0, 0, 0, 0));
    camera = SceneGraph::createCamera("Camera");
    camera->setPerspectiveProjection(kFieldOfView, AsteroidAspect(orientation), kNearPlane,
                                     kFarPlane);
    world->attachChild(camera);
    world->setActiveCamera(camera);
    light = SceneGraph::createLight("Light", vec3(1, 1, 1), 1.0f);
    light->translate(-10, -10, 10);
    world->attachChild(light);
    background = addSprite(world, "bg", "../textures/bgstor.png", -500, vec2(800, 800));
    pause = addSprite(world, "pause", "../textures/relax2.png", -25, vec2(40, 30));
    pause->setActive(false);
    player = new Player(this);
    addObject(player);
    spawnAsteroids();
}

// The world goes first with every node in it, then the objects that moved
// them.
AsteroidGame::~AsteroidGame() {
    SceneGraph::deleteNode(world);
    for (GameObject* object : objects) {
        delete object;
    }
}

void AsteroidGame::addObject(GameObject* object) {
    objects.push_back(object);
}

bool AsteroidGame::updateObjects(FrameInput* input) {
    for (GameObject* object : objects) {
        object->update(input);
    }
    return true;
}

bool AsteroidGame::update(FrameInput* input, u8 orientation) {
    if (AsteroidOrientationChanged(stats, orientation)) {
        camera->setPerspectiveProjection(kFieldOfView, AsteroidAspect(orientation), kNearPlane,
                                         kFarPlane);
    }
    bool moved = updateObjects(input);
    world->drawAll(input);
    switch (AsteroidNextStep(stats)) {
    case kAsteroidLoadingText:
        printLoading();
        break;
    case kAsteroidLevelSwitch:
        printLoading();
        switchLevel();
        break;
    case kAsteroidHitPass:
        hitPass();
        AsteroidFormatHits(stats);
        SceneGraph::getText()->print(stats.hitsText, -0.9f, -0.8f, 350, 1);
        break;
    }
    return moved;
}

// The mesh owns the arrays and the material it is built with; copies take
// references of their own.
TriangleMesh* AsteroidGame::makeShot() {
    if (shotMesh != nullptr) {
        return static_cast<TriangleMesh*>(shotMesh->duplicate("Shot", false));
    }
    VertexArray* vertices =
        SceneGraph::createVertexArray("MyTriangle", kShotVertices, 7, 4, kCachedPurgeLevel);
    vertices->setAttribute(0, 3, "Vertex");
    vertices->setAttribute(3, 4, "Color");
    IndexArray* indices =
        SceneGraph::createIndexArray("Triangle", kShotIndices, 12, 0, kCachedPurgeLevel);
    Material* material =
        SceneGraph::createMaterial(kMaterialColorful, "TriangleColor", kCachedPurgeLevel);
    shotMesh = SceneGraph::createTriangleMesh("Shot", vertices, indices, material, false);
    return shotMesh;
}

void AsteroidGame::spawnAsteroids() {
    targets = SceneGraph::createGroup("Asteroids");
    world->attachChild(targets);
    for (u32 i = 0; i < kAsteroidCount; i++) {
        addObject(new Asteroid(this));
    }
}

void AsteroidGame::spawnEnemyShips() {
    targets = SceneGraph::createGroup("eShips");
    world->attachChild(targets);
    for (u32 i = 0; i < kEnemyShipCount; i++) {
        addObject(new EnemyShip(this));
    }
}

// The asteroid group goes with all its rocks, and so do the objects that
// moved them.
void AsteroidGame::removeAsteroids() {
    SceneGraph::deleteNode(targets);
    targets = nullptr;
    std::vector<GameObject*> kept;
    for (GameObject* object : objects) {
        if (dynamic_cast<Asteroid*>(object) != nullptr) {
            delete object;
        } else {
            kept.push_back(object);
        }
    }
    objects.swap(kept);
}

void AsteroidGame::removePause() {
    SceneGraph::deleteNode(pause);
    pause = nullptr;
}

void AsteroidGame::switchLevel() {
    removeAsteroids();
    spawnEnemyShips();
    removePause();
}

// Every target against the ship and every shot of the stream, hidden ones
// included. In level 2 a target is tested through its shot; one without a
// shot is left out.
void AsteroidGame::hitPass() {
    vec3 ship = player->getShipPosition();
    std::vector<vec3> shots;
    for (Node* s = player->getAmmo()->getChild(0); s != nullptr; s = s->getNextSibling()) {
        shots.push_back(static_cast<Transformable*>(s)->getTranslation());
    }
    for (Node* t = targets->getChild(0); t != nullptr; t = t->getNextSibling()) {
        Transformable* target = static_cast<Transformable*>(t);
        vec3 enemyShot;
        const vec3* tested = nullptr;
        if (stats.levelTwo != 0) {
            Node* shot = t->findChild("Shot", 2);
            if (shot == nullptr) {
                continue;
            }
            enemyShot = static_cast<Transformable*>(shot)->getTranslation();
            tested = &enemyShot;
        }
        if (AsteroidTestTarget(stats, ship, target->getTranslation(), tested, shots.data(),
                               static_cast<u32>(shots.size())) != 0) {
            target->setTranslation(kHitTargetPlace);
        }
    }
    if (stats.levelDone != 0 && pause != nullptr) {
        pause->setActive(true);
    }
}
