#pragma once

#include "games/golf/gameobject.h"
#include "games/golf/rules.h"

class Player;
class ProjectGame;

// A box wall copied from the game's template cube; the ball bounces off its
// faces and corners.
class Wall : public GameObject {
  public:
    Wall(ProjectGame* game, Player* ball, f32 x, f32 y, f32 width, f32 height);

    void update(FrameInput* input) override;
    // +1 when a is at or beyond b, else -1.
    static f32 side(f32 a, f32 b) { return GolfSide(a, b); }

  private:
    GolfWall box;
    Player* ball;
};
