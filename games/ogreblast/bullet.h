#pragma once

#include "games/ogreblast/gameobject.h"

class AwesomenessGame;
class Sprite;

// A shot of the ship: flies right until it hits an ogre or leaves the screen.
class Bullet : public GameObject {
  public:
    Bullet(AwesomenessGame* game, vec3 position);
    ~Bullet() override;

    void update(FrameInput* input) override;
    vec3 getPosition() override;
    void hit() override { dead = 1; }

  private:
    Sprite* sprite;
};
