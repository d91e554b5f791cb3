#pragma once

#include "games/planetrun/gameobject.h"

class AsteroidGame;
class Sprite;

// The goal: a large picture far ahead, whose plane ends the run.
class Wormhole : public GameObject {
  public:
    explicit Wormhole(AsteroidGame* game);

    void update(FrameInput* input) override;
    // The sprite's translation.
    vec3 getPosition() const override;
    f32 getZ() const;

  private:
    Sprite* sprite;
};
