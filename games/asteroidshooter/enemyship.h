#pragma once

#include "games/asteroidshooter/gameobject.h"

class AsteroidGame;
class TriangleMesh;

// An enemy ship of level 2: it flies toward the camera with its shot, a
// child of the ship, racing ahead twenty times as fast.
class EnemyShip : public GameObject {
  public:
    // The first enemy ship reads the model and dresses its material; the
    // later ones copy it. Attached to the game's targets with its shot.
    explicit EnemyShip(AsteroidGame* game);

    void update(FrameInput* input) override;

    // Null when the model gave no mesh: the ship then does nothing.
    TriangleMesh* getNode() const { return node; }
    TriangleMesh* getShot() const { return shot; }

  private:
    void attachShot(AsteroidGame* game);
    void respawn();

    TriangleMesh* node;
    TriangleMesh* shot;
    f32 speed;
};
