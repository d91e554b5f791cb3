#pragma once

#include "engine/frameinput.h"

// The base of every object of the golf game: updated once a frame with the
// input record, which also carries the game's state.
class GameObject {
  public:
    virtual void update(FrameInput* input) = 0;
    virtual ~GameObject() = default;
};
