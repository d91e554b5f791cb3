#pragma once

#include "games/ogreblast/gameobject.h"

#include <vector>

class AwesomenessGame;
class Node;

// Five small copies of the ogre flying apart from its centre and shrinking to
// nothing in 0.75 seconds.
class Explosion : public GameObject {
  public:
    Explosion(AwesomenessGame* game, Node* parent);
    ~Explosion() override;

    void update(FrameInput* input) override;
    bool isFinished() const { return finished != 0; }

  private:
    u8 finished;
    std::vector<Node*> fragments;
    std::vector<vec3> velocities;
    f32 life;
};
