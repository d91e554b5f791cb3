#include "games/rockfield/fieldgame.h"

#include "engine/camera.h"
#include "engine/light.h"
#include "engine/scenegraph.h"
#include "engine/world.h"
#include "games/rockfield/asteroid.h"
#include "games/rockfield/rules.h"
#include "host/host.h"

#include <cstdlib>
#include <ctime>

Game::Game() : world(nullptr), camera(nullptr), light(nullptr), nextSpawnTime(0) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    world = SceneGraph::createWorld("GameWorld");
    world->setClearColor(true, vec4(0, 0, 0, 0));
    camera = SceneGraph::createCamera("Cam");
    camera->setPerspectiveProjection(1.0f, 0.67f, 1.0f, 1000.0f);
    world->attachChild(camera);
    world->setActiveCamera(camera);
    light = SceneGraph::createLight("light", vec3(1, 1, 1), 1.0f);
    light->setTranslation(100, 100, 100);
    world->attachChild(light);
    for (f32 t = 0; t < kPrefillSeconds; t += kSpawnInterval) {
        spawnAsteroid()->update(t);
    }
}

Game::~Game() {
    SceneGraph::deleteNode(world);
}

Asteroid* Game::spawnAsteroid() {
    Asteroid* asteroid = new Asteroid(light);
    asteroid->rebuildMesh();
    asteroids.push_back(asteroid);
    world->attachChild(asteroid);
    return asteroid;
}

bool Game::update(FrameInput* input) {
    if (SpawnDue(&nextSpawnTime, input->time)) {
        spawnAsteroid();
    }
    for (size_t i = 0; i < asteroids.size();) {
        if (asteroids[i]->update(input->deltaTime)) {
            i++;
            continue;
        }
        asteroids[i]->detachFromParent();
        SceneGraph::deleteNode(asteroids[i]);
        asteroids.erase(asteroids.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return true;
}
