#pragma once

#include "engine/vecmath.h"
#include "games/asteroidshooter/gameobject.h"

class AsteroidGame;
class Group;
class TriangleMesh;

// The ship, moved by the held pointer, and its ten shots: an endless stream
// recycled from behind the field to just ahead of the ship.
class Player : public GameObject {
  public:
    // Builds the ship and the "Ammo" group in the game's world.
    explicit Player(AsteroidGame* game);

    void update(FrameInput* input) override;

    // Null when the model gave no mesh: the shots then stream from where
    // the ship would start.
    TriangleMesh* getShip() const { return ship; }
    Group* getAmmo() const { return ammo; }
    vec3 getShipPosition() const;

  private:
    void loadAmmo(AsteroidGame* game);

    Group* ammo;
    TriangleMesh* ship;
};
