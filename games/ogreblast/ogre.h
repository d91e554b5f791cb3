#pragma once

#include "games/ogreblast/gameobject.h"

class AwesomenessGame;
class Explosion;
class TriangleMesh;

// An ogre head: spins, flies left by its movement type and explodes after its
// fourth hit; one that gets past the ship drains the meter.
class Ogre : public GameObject {
  public:
    // Enters right of the screen, x + 300 (a zig-zag ogre 40 units lower);
    // the game makes none without the ogre model.
    Ogre(AwesomenessGame* game, f32 speed, vec2 position, u32 movement);
    ~Ogre() override;

    void update(FrameInput* input) override;
    // Far away while it explodes, so nothing hits it again.
    vec3 getPosition() override;
    void hit() override;

  private:
    AwesomenessGame* game;
    f32 speed;
    vec3 spinAxis;
    f32 spinRate;
    f32 hitPoints;
    TriangleMesh* node;
    u32 movement;
    Explosion* explosion;
};
