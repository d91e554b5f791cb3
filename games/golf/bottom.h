#pragma once

#include "games/golf/gameobject.h"

class ProjectGame;

// The wooden board under the level.
class Bottom : public GameObject {
  public:
    explicit Bottom(ProjectGame* game);

    void update(FrameInput*) override {}
};
