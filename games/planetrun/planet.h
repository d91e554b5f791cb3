#pragma once

#include "games/planetrun/gameobject.h"

class AsteroidGame;
class Light;
class TriangleMesh;

// One of the three far planets, slowly turning, in its own picture.
class Planet : public GameObject {
  public:
    enum Name { kTatooine, kDeadStar, kHoth, kPlanetCount };
    // The planet appended to the game's objects; null when the sphere model
    // gave no mesh.
    static Planet* spawn(AsteroidGame* game, Name name);
    ~Planet() override;

    void update(FrameInput* input) override;

  private:
    Planet(AsteroidGame* game, TriangleMesh* mesh, Name name);

    Light* light;
};
