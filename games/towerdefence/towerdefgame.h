#pragma once

#include "engine/frameinput.h"
#include "engine/types.h"
#include "engine/vecmath.h"
#include "games/towerdefence/rules.h"

#include <vector>

class Camera;
class Enemy;
class GameObject;
class Light;
class Material;
class Sprite;
class Tower;
class TriangleMesh;
class WayPoint;
class World;

// The tower-defence game: the play field seen from above with its towers
// and enemies, the menu world drawn over it, every game object, the waves,
// money, lives and level, placing towers and moving the camera.
class TowerDefGame {
  public:
    TowerDefGame();
    virtual ~TowerDefGame();
    TowerDefGame(const TowerDefGame&) = delete;
    TowerDefGame& operator=(const TowerDefGame&) = delete;

    // One frame; always true (the game never asks to quit).
    bool update(FrameInput* input);
    // Takes ownership; the tower is updated after everything else.
    void addTower(Tower* tower);
    // One life less.
    void enemyReachedEnd(Enemy* enemy);
    // The enemy template from its model, with its own material.
    TriangleMesh* createEnemyTemplate();
    // A new bullet mesh over the shared arrays and material.
    TriangleMesh* createBulletMesh();
    // Shows every enemy's health bar as its hit points stand.
    void showHealthBars();

    TdPlay& getPlay() { return play; }
    World* getGameWorld() const { return gameWorld; }
    World* getGuiWorld() const { return guiWorld; }
    Camera* getGameCamera() const { return gameCamera; }
    Light* getLight() const { return light; }
    const TriangleMesh* getTowerTemplate() const { return towerTemplate; }
    const TriangleMesh* getEnemyTemplate() const { return enemyTemplate; }
    // The material of a tower kind 1..4, or null.
    Material* getTowerMaterial(i32 kind) const;
    TdEnemy* const* getEnemyPool() { return enemyPool; }
    const std::vector<Enemy*>& getEnemies() const { return enemies; }
    const std::vector<Tower*>& getTowers() const { return towers; }

  private:
    void createTowerMaterials();
    void createPath();
    void placingStep(const FrameInput& input);
    void cameraStep(const FrameInput& input);
    void printStatus();
    void endGame();
    bool anyEnemyActive() const;

    TdPlay play;
    std::vector<GameObject*> objects;
    std::vector<Tower*> towers;
    std::vector<Enemy*> enemies;
    TdEnemy* enemyPool[kTdEnemyCount];
    World* gameWorld;
    Camera* gameCamera;
    Light* light;
    TriangleMesh* towerTemplate;
    TriangleMesh* enemyTemplate;
    WayPoint* firstWayPoint;
    World* guiWorld;
    Camera* guiCamera;
    vec3 placingCameraPosition;
    bool pointerWasDown;
    TdCameraControl cameraControl;
    Material* towerMaterials[kTdTowerKindCount];
};
