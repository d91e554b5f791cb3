#pragma once

#include "games/ogreblast/gameobject.h"

class AwesomenessGame;
class Transformable;

// The ship: steered toward the pointer a step a frame, worn down by every
// ogre it touches. It stands, steers and collides where its node stands.
class Player : public GameObject {
  public:
    explicit Player(AwesomenessGame* game);
    ~Player() override;

    void update(FrameInput* input) override;
    // The node's translation.
    vec3 getPosition() override;
    // One point of shield less; at 0 the ship is destroyed.
    void hit() override;
    // The pointer's direction (-1..1 over the screen) through the inverse of
    // the view-projection the world was last drawn with.
    vec3 pointerTarget(f32 x, f32 y) const;

    f32 getShield() const { return shield; }
    // A whole shield again, after the kill screen.
    void revive();

  private:
    AwesomenessGame* game;
    // A copy of the ship's mesh, or an empty group when the ship's model
    // gave no mesh: the ship then flies unseen.
    Transformable* node;
    f32 shield;
};
