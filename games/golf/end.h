#pragma once

#include "games/golf/gameobject.h"

class Player;
class ProjectGame;
class Sprite;

// The level-completed screen: shown with the shot count once the ball is
// in; any press starts the level again.
class End : public GameObject {
  public:
    End(ProjectGame* game, Player* ball);

    void update(FrameInput* input) override;

  private:
    Sprite* sprite;
    Player* ball;
};
