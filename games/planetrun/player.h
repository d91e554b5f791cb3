#pragma once

#include "games/planetrun/gameobject.h"
#include "games/planetrun/rules.h"

class AsteroidGame;
class Group;
class TriangleMesh;

// The ship: steered by the held pointer, flying along -z and slowly
// shrinking; its health is its size less the damage taken. Without a ship
// model it flies on unseen.
class Player : public GameObject {
  public:
    explicit Player(AsteroidGame* game);

    void update(FrameInput* input) override;
    // The group's translation plus the ship's.
    vec3 getPosition() const override;
    // Ten units at the initial scale, shrinking with the ship.
    f32 getRadius() const override;
    i32 getHealth() const;
    void addDamage(i32 amount);
    // A green sphere's growing.
    void grow();
    PlanetShip& getShip() { return ship; }
    // Null without a ship model.
    TriangleMesh* getMesh() const { return mesh; }

  private:
    void show();

    Group* group;
    TriangleMesh* mesh;
    PlanetShip ship;
};
