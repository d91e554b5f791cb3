#pragma once

#include "games/planetrun/gameobject.h"

class AsteroidGame;
class TriangleMesh;

// A rock that comes toward the ship, drifting and tumbling; contact costs
// health.
class Asteroid : public GameObject {
  public:
    // A new asteroid appended to the game's objects; null when the asteroid
    // model gave no mesh.
    static Asteroid* spawn(AsteroidGame* game);
    ~Asteroid() override;

    void update(FrameInput* input) override;
    // The change of the small and fast asteroids: z velocity and scale.
    void adjust(f32 velocityFactor, f32 scaleFactor);

  private:
    Asteroid(AsteroidGame* game, TriangleMesh* mesh);

    AsteroidGame* game;
};
