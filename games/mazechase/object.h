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

    // The meeting test, then the mover's own step (move) unless the meeting
    // caught the player or sent this mover home.
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

    // The steps of an update, each over one rule of the maze (rules.h).

    // What checkAhead returns when a wall or cage block stops the player.
    static constexpr i32 kBlocked = 2;
    // At a three-quarter step the mover crosses into the next cell and
    // carries its flag along in the map.
    void advanceCell();
    // A mover that left the grid comes back on the far side, its mesh and
    // marker at the same quarter offset.
    void wrapAround();
    // The directions a monster may take; the count written to out.
    u32 freeDirections(i32 out[4]) const;
    // The player: kBlocked when a wall or cage block ahead stops it, else 0;
    // it eats what lies in its cell either way.
    i32 checkAhead();
    // Eats the pellet or power pellet of the player's cell, if any: a pellet
    // scores, a power pellet starts the power state, and either leaves the
    // scene and the minimap.
    void eat();
    // One quarter step in the mover's direction: the mesh goes distance
    // world units, the marker the same share of a minimap cell.
    void step(f32 distance);

    NibblorGame* game;
    TriangleMesh* node;
    Transformable* marker;
    MazeActor actor;
};

// The lit mesh of a kind: the first mesh of the model file under the mesh
// name, with the game's world light in slot 0; never null.
TriangleMesh* LoadObjectMesh(NibblorGame* game, const char* name, const char* file, u32 purgeLevel);
