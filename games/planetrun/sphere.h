#pragma once

#include "games/planetrun/gameobject.h"

class AsteroidGame;
class Light;
class TriangleMesh;

// A power-up: white toggles small and fast asteroids, green grows the ship,
// blue hides the asteroids for a while. It shows in the colour of its own
// light, which it owns and keeps beside it.
class Sphere : public GameObject {
  public:
    // A new sphere of a random kind appended to the game's objects; null
    // when the sphere model gave no mesh.
    static Sphere* spawn(AsteroidGame* game);
    ~Sphere() override;

    void update(FrameInput* input) override;
    i32 getKind() const { return kind; }

  private:
    Sphere(AsteroidGame* game, TriangleMesh* mesh, i32 kind);
    // Keeps the light just in front of the sphere, so that the sphere shows
    // in the light's colour wherever it flies.
    void followWithLight();

    AsteroidGame* game;
    i32 kind;
    Light* light;
};
