#pragma once

#include "engine/vecmath.h"
#include "games/asteroidshooter/gameobject.h"

class AsteroidGame;
class TriangleMesh;

// A rock of level 1: spinning, it flies toward the camera and respawns far
// ahead once it has passed it.
class Asteroid : public GameObject {
  public:
    // The first asteroid reads the model and dresses its material; the
    // later ones copy it. Attached to the game's targets.
    explicit Asteroid(AsteroidGame* game);

    void update(FrameInput* input) override;

    // Null when the model gave no mesh: the asteroid then does nothing.
    TriangleMesh* getNode() const { return node; }

  private:
    void respawn();

    TriangleMesh* node;
    f32 speed;
    vec3 spinAxis;
};
