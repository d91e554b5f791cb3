#pragma once

#include "games/planetrun/gameobject.h"

class AsteroidGame;
class Sprite;

// The goal: a large picture far ahead, whose plane ends the run.
class Wormhole : public GameObject {
  public:
    explicit Wormhole(AsteroidGame* game);

    void update(FrameInput* input) override;
    f32 getZ() const;

  private:
    Sprite* sprite;
};
