#pragma once

#include "engine/frameinput.h"
#include "engine/types.h"

class Camera;
class GameObject;
class Light;
class TriangleMesh;
class World;

// The golf game: its world with camera and light, the template cube every
// wall is copied from, and the objects of the level.
class ProjectGame {
  public:
    ProjectGame();
    virtual ~ProjectGame();
    ProjectGame(const ProjectGame&) = delete;
    ProjectGame& operator=(const ProjectGame&) = delete;

    // Takes ownership; objects are updated in the order they were added.
    void addObject(GameObject* object);
    // One frame of the game; always true (the game never asks to quit).
    bool update(FrameInput* input);

    World* getWorld() const { return world; }
    Light* getLight() const { return light; }
    const TriangleMesh* getTemplateCube() const { return templateCube; }

  private:
    void createSquare();
    void createLevel();

    GameObject** objects;
    u32 objectCount;
    u32 objectCapacity;
    World* world;
    Camera* camera;
    Light* light;
    TriangleMesh* templateCube;
};
