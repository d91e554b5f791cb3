#pragma once

#include "games/mazechase/gameobject.h"
#include "games/mazechase/rules.h"

class NibblorGame;
class Transformable;
class TriangleMesh;

// A thing of the maze: its mesh in the main world, its tile on the minimap
// and, for the player and the monsters, its place on the grid. The player
// and the monsters move; the other kinds are templates and scenery.
class Object : public GameObject {
  public:
    Object();
    ~Object() override;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // The meeting test, then the mover's own step (move).
    void update(FrameInput* input) override;
    virtual void setSpecial(bool on);

    void setMarker(Transformable* tile) { marker = tile; }
    // Back at the start cell, at rest, facing up.
    void reset();
    // Places the mover at its start cell (mesh, marker and grid).
    void placeAt(GridPosition start);

    TriangleMesh* getNode() const { return node; }
    const MazeActor& getActor() const { return actor; }

  protected:
    // One update of a mover after the meeting test.
    virtual void move(FrameInput* input);
    // The mesh's rotation at the start.
    virtual void resetRotation();
    // The mesh and marker follow what the rules did.
    void follow(const MazeMove& moved);

    NibblorGame* game;
    TriangleMesh* node;
    Transformable* marker;
    MazeActor actor;
};

// The lit mesh of a kind: the first mesh of the model file under the mesh
// name, with the game's world light in slot 0; never null.
TriangleMesh* LoadObjectMesh(NibblorGame* game, const char* name, const char* file, u32 purgeLevel);
