#pragma once

#include "engine/frameinput.h"
#include "games/planetrun/rules.h"

#include <vector>

class Camera;
class GameObject;
class Light;
class ModelTemplate;
class Player;
class Sprite;
class World;
class Wormhole;

// The planet run: the world with its camera and light, the objects of the
// flight, the templates their nodes are copied from, the banner shown and
// the game's state. One update a frame.
class AsteroidGame {
  public:
    AsteroidGame();
    virtual ~AsteroidGame();
    AsteroidGame(const AsteroidGame&) = delete;
    AsteroidGame& operator=(const AsteroidGame&) = delete;

    // One frame of the game; always true (the game never asks to quit).
    bool update(FrameInput* input);

    // Takes ownership; objects are updated in the order they were added.
    void addObject(GameObject* object);
    // Detaches and deletes the object's node, deletes the object and takes
    // it out of the list; nothing for an object not in the list.
    void removeObject(GameObject* object);
    // The first object in list order with the class word, or null.
    GameObject* findObject(const char* word) const;
    // Puts up a banner in front of the camera (kPlanetBannerNone takes the
    // current one down and deletes it).
    void showBanner(i32 kind);

    World* getWorld() const { return world; }
    Camera* getCamera() const { return camera; }
    Light* getLight() const { return light; }
    Player* getPlayer() const { return player; }
    Sprite* getBanner() const { return banner; }
    i32 getBannerKind() const { return bannerKind; }
    PlanetState& getState() { return state; }
    const std::vector<GameObject*>& getObjects() const { return objects; }

    // The templates of each kind, made by the first object that asks.
    ModelTemplate* asteroidTemplate();
    ModelTemplate* sphereTemplate();
    ModelTemplate* planetTemplate();
    ModelTemplate* starTemplate();

  private:
    void createObjects();
    // True when the game ends this frame.
    bool endTest();
    void collide();
    void takeSphere(GameObject* sphere);
    void updateObjects(FrameInput* input);
    // True when the object left the game.
    bool afterUpdate(GameObject* object);
    void adjustAsteroid(GameObject* asteroid);
    void refill();

    std::vector<GameObject*> objects;
    Player* player;
    Wormhole* wormhole;
    World* world;
    Camera* camera;
    Light* light;
    Sprite* banner;
    i32 bannerKind;
    PlanetState state;
    bool asteroidAdjusted;
    ModelTemplate* asteroids;
    ModelTemplate* spheres;
    ModelTemplate* planets;
    ModelTemplate* stars;
};
