#pragma once

#include "games/ogreblast/gameobject.h"

class AwesomenessGame;
class TriangleMesh;

// The ship: steered toward the pointer a step a frame, worn down by every
// ogre it touches.
class Player : public GameObject {
  public:
    explicit Player(AwesomenessGame* game);
    ~Player() override;

    void update(FrameInput* input) override;
    vec3 getPosition() override { return position; }
    // One point of shield less; at 0 the ship is destroyed.
    void hit() override;

    f32 getShield() const { return shield; }
    // A whole shield again, after the kill screen.
    void revive();

  private:
    AwesomenessGame* game;
    // Null when the ship's model gave no mesh: the ship then flies unseen.
    TriangleMesh* node;
    vec3 position;
    f32 shield;
};
