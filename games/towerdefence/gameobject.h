#pragma once

#include "engine/frameinput.h"

// The base of every object of the tower-defence game: updated once a frame,
// in the order the game holds them.
class GameObject {
  public:
    virtual void update(FrameInput* input) = 0;
    virtual ~GameObject() = default;
};
