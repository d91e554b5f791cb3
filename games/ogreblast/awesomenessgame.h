#pragma once

#include "engine/frameinput.h"
#include "engine/types.h"

#include <vector>

class AwesomenessMeter;
class BackGround;
class Bullet;
class GameObject;
class Group;
class Light;
class Ogre;
class Player;
class Sprite;
class TriangleMesh;
class World;

// The ogre shooter: its world, the four screens, the ship, the waves of ogres
// and the bullets, the score and the meter.
class AwesomenessGame {
  public:
    AwesomenessGame();
    virtual ~AwesomenessGame();
    AwesomenessGame(const AwesomenessGame&) = delete;
    AwesomenessGame& operator=(const AwesomenessGame&) = delete;

    // Takes ownership; objects are updated in the order they were added.
    void addObject(GameObject* object);
    // One frame of the game; always true (the game never asks to quit).
    bool update(FrameInput* input);
    // True when the two objects touch.
    static bool collide(GameObject* a, GameObject* b);

    World* getWorld() const { return world; }
    Light* getLight() const { return light; }
    Player* getPlayer() const { return player; }
    AwesomenessMeter* getMeter() const { return meter; }
    const Sprite* getBulletTemplate() const { return bulletTemplate; }
    // Null when the model gave no mesh.
    const TriangleMesh* getOgreTemplate() const { return ogreTemplate; }
    const TriangleMesh* getPlayerTemplate() const { return playerTemplate; }
    const TriangleMesh* getExplosionTemplate() const { return explosionTemplate; }

    u32 getState() const { return state; }
    u32 getScore() const { return score; }
    const std::vector<Ogre*>& getOgres() const { return ogres; }
    const std::vector<Bullet*>& getBullets() const { return bullets; }

  private:
    void createScreens();
    void createBackgrounds();
    void loadModels();
    void dressModels();
    Sprite* screenOf(u32 screenState) const;
    void play(FrameInput* input);
    void removeDead();
    void checkCollisions();
    void spawnWave(f32 time);
    void fire(f32 time);
    void printHud();
    // Empties the field after the ship is destroyed and shows the kill screen.
    void restart();

    u32 state;
    std::vector<GameObject*> objects;
    std::vector<Ogre*> ogres;
    std::vector<Bullet*> bullets;
    World* world;
    Player* player;
    Sprite* prologScreen;
    Sprite* welcomeScreen;
    Sprite* killScreen;
    AwesomenessMeter* meter;
    BackGround* backgrounds[3];
    Sprite* bulletTemplate;
    TriangleMesh* explosionTemplate;
    Group* ogreGroup;
    Group* playerGroup;
    Group* explosionGroup;
    TriangleMesh* ogreTemplate;
    TriangleMesh* playerTemplate;
    Light* light;
    f32 lastWaveTime;
    f32 lastShotTime;
    u32 score;
};
