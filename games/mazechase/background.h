#pragma once

#include "games/mazechase/object.h"

// A large open box of four wooden walls around the maze, without floor or
// lid. The game lights, places and attaches its mesh "Box"; it never moves.
class BackgroundModel : public Object {
  public:
    BackgroundModel();
};
