#pragma once

#include "engine/frameinput.h"
#include "engine/types.h"
#include "games/asteroidshooter/rules.h"

#include <vector>

class Camera;
class GameObject;
class Group;
class Light;
class Player;
class Sprite;
class TriangleMesh;
class World;

// The asteroid shooter: its world with camera, light, background and pause
// pictures, the ship with its shots, and the targets: 50 asteroids in level
// 1, 20 enemy ships in level 2 once the counter reaches 50.
class AsteroidGame {
  public:
    // The camera's first projection follows the orientation in use
    // (1 landscape).
    explicit AsteroidGame(u8 orientation);
    virtual ~AsteroidGame();
    AsteroidGame(const AsteroidGame&) = delete;
    AsteroidGame& operator=(const AsteroidGame&) = delete;

    // Takes ownership; objects are updated in the order they were added.
    void addObject(GameObject* object);
    // Every object's update in list order; true.
    bool updateObjects(FrameInput* input);
    // One frame: the camera follows the orientation, the objects move, the
    // world is drawn, then the hits are counted or the level switch runs.
    // False only when the objects' update fails, which it never does.
    bool update(FrameInput* input, u8 orientation);

    // The first call builds the shot mesh and returns it; every later call
    // returns a copy of it.
    TriangleMesh* makeShot();

    World* getWorld() const { return world; }
    Camera* getCamera() const { return camera; }
    Light* getLight() const { return light; }
    Group* getTargets() const { return targets; }
    Sprite* getBackground() const { return background; }
    Sprite* getPause() const { return pause; }
    Player* getPlayer() const { return player; }
    const AsteroidStats& getStats() const { return stats; }
    u32 getObjectCount() const { return static_cast<u32>(objects.size()); }

  private:
    void spawnAsteroids();
    void spawnEnemyShips();
    void removeAsteroids();
    void removePause();
    void switchLevel();
    void hitPass();

    std::vector<GameObject*> objects;
    World* world;
    Camera* camera;
    Light* light;
    Sprite* background;
    // Null once level 2 has begun.
    Sprite* pause;
    Group* targets;
    Player* player;
    // The first shot made, the one every later shot copies.
    TriangleMesh* shotMesh;
    AsteroidStats stats;
};
