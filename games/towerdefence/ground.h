#pragma once

#include "games/towerdefence/gameobject.h"

class Light;
class MaterialPoint;
class TowerDefGame;
class TriangleMesh;

// The play field: a grass plane of 100 by 200 with the stone walls that
// form the maze, lit by a light of its own.
class Ground : public GameObject {
  public:
    static constexpr int kWallCount = 10;

    explicit Ground(TowerDefGame* game);
    Ground(const Ground&) = delete;
    Ground& operator=(const Ground&) = delete;

    void update(FrameInput*) override {}

  private:
    TriangleMesh* createGrass();
    TriangleMesh* createStoneBlock();

    Light* light;
    MaterialPoint* grassMaterial;
    MaterialPoint* stoneMaterial;
    TriangleMesh* grass;
    TriangleMesh* stoneBlock;
    TriangleMesh* walls[kWallCount];
};
