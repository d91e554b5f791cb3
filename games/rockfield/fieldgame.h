#pragma once

#include "engine/types.h"

#include <vector>

class Asteroid;
class Camera;
class Light;
class World;
struct FrameInput;

// The fly-through: a camera at the origin looking down -z, one light, and
// asteroids spawned 1000 units ahead every 0.1 seconds that fly past and are
// removed behind the camera.
class Game {
  public:
    // Builds the world and pre-fills the field as if it had flown 20 seconds.
    Game();
    virtual ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Spawns when due, moves every asteroid and removes those behind the
    // camera; always true (the fly-through never asks to quit).
    bool update(FrameInput* input);
    World* getWorld() const { return world; }
    const std::vector<Asteroid*>& getAsteroids() const { return asteroids; }

  private:
    Asteroid* spawnAsteroid();

    World* world;
    Camera* camera;
    Light* light;
    std::vector<Asteroid*> asteroids;
    f32 nextSpawnTime;
};
