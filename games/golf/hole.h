#pragma once

#include "games/golf/gameobject.h"

class Group;
class Player;
class ProjectGame;

// The hole: it ends the level when the ball rolls over it slowly enough.
class Hole : public GameObject {
  public:
    Hole(ProjectGame* game, Player* ball, f32 size, f32 x, f32 y);
    // Deletes the emptied group the model was read into, which is not part
    // of the world.
    ~Hole() override;

    void update(FrameInput* input) override;

  private:
    Group* group;
    Player* ball;
    f32 captureRadius;
    f32 x, y;
};
