#pragma once

#include "games/mazechase/object.h"

// A monster: an ogre's head that walks the maze at random, never turning
// back unless it must.
class Monster : public Object {
  public:
    explicit Monster(NibblorGame* game);

  protected:
    void move(FrameInput* input) override;
    void resetRotation() override;
};
