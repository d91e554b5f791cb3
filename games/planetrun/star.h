#pragma once

#include "games/planetrun/gameobject.h"

class AsteroidGame;
class ModelTemplate;
class TriangleMesh;
class World;

// A far white triangle that keeps its distance to the camera.
class Star : public GameObject {
  public:
    // The built star mesh and the group that holds the stars.
    static ModelTemplate* createTemplate(World* world);
    // A new star appended to the game's objects.
    explicit Star(AsteroidGame* game);

    void update(FrameInput* input) override;
};
