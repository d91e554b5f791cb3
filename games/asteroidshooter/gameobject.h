#pragma once

#include "engine/frameinput.h"

// The base of every object of the asteroid shooter: moved once a frame by
// fixed steps.
class GameObject {
  public:
    virtual void update(FrameInput* input) = 0;
    virtual ~GameObject() = default;
};
