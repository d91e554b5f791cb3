#pragma once

#include "games/ogreblast/gameobject.h"

class AwesomenessGame;
class Sprite;

// A star field of two pictures side by side, scrolling left and wrapping
// round, faster as the meter fills.
class BackGround : public GameObject {
  public:
    BackGround(AwesomenessGame* game, f32 speed, const char* file, f32 depth);

    void update(FrameInput* input) override;
    // Moves both pictures along x.
    void shift(f32 dx);

  private:
    Sprite* first;
    Sprite* second;
    AwesomenessGame* game;
    f32 speed;
};
