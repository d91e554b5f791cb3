#pragma once

#include "engine/frameinput.h"

// The base of every object of the maze game: updated once a frame with the
// input record.
class GameObject {
  public:
    virtual void update(FrameInput* input) = 0;
    virtual ~GameObject() = default;
};
