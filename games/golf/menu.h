#pragma once

#include "games/golf/gameobject.h"

class Player;
class ProjectGame;
class Sprite;

// The menu picture: its corner shows as the menu button during play, and
// in the menu it fills the screen with the continue and restart boxes.
class Menu : public GameObject {
  public:
    Menu(ProjectGame* game, Player* ball);

    void update(FrameInput* input) override;

  private:
    Sprite* sprite;
    Player* ball;
};
