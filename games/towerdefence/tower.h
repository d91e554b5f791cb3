#pragma once

#include "games/towerdefence/gameobject.h"
#include "games/towerdefence/rules.h"

class TowerDefGame;
class TriangleMesh;

// A placed tower: a copy of the tower template in its kind's colour on its
// build spot, and the bullet it flies at its target.
class Tower : public GameObject {
  public:
    Tower(TowerDefGame* game, f32 x, f32 y, f32 shotStep, f32 damage, i32 kind);
    Tower(const Tower&) = delete;
    Tower& operator=(const Tower&) = delete;

    void update(FrameInput* input) override;

    const TdTower& getState() const { return state; }
    const TriangleMesh* getNode() const { return node; }
    const TriangleMesh* getBullet() const { return bullet; }

  private:
    TowerDefGame* game;
    TriangleMesh* node;
    TriangleMesh* bullet;
    TdTower state;
};
