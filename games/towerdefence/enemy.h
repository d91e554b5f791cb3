#pragma once

#include "games/towerdefence/gameobject.h"
#include "games/towerdefence/rules.h"

class Sprite;
class TowerDefGame;
class TriangleMesh;
class WayPoint;

// One enemy of the pool: a copy of the enemy template walking the path at
// z = 1 with its health bar over its head; hidden while it waits in the
// pool.
class Enemy : public GameObject {
  public:
    Enemy(TowerDefGame* game, WayPoint* first);
    Enemy(const Enemy&) = delete;
    Enemy& operator=(const Enemy&) = delete;

    void update(FrameInput* input) override;
    // Out of the pool at the first way point, jittered, walking to the
    // second with the hit points and speed given.
    void spawn(f32 hitPoints, f32 speed);
    // Back to the pool, hidden.
    void deactivate();
    // Walks at a factor of its speed until a time.
    void slow(f32 factor, f32 until);
    // The bar's width as the hit points stand.
    void showHealthBar();

    TdEnemy* getState() { return &state; }
    const TriangleMesh* getNode() const { return node; }

  private:
    void hide();

    TriangleMesh* node;
    Sprite* healthBar;
    TowerDefGame* game;
    TdEnemy state;
};
