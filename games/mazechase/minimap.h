#pragma once

#include "engine/vecmath.h"
#include "games/mazechase/gameobject.h"
#include "games/mazechase/maze.h"

class Group;
class Light;
class Material;
class TriangleMesh;
class World;

// The minimap: a coloured tile for every wall, pellet, cage block and mover
// of the maze, drawn in its own world over the top strip of the screen.
class MiniMap : public GameObject {
  public:
    // The minimap of the map, drawn in its world; tiles are lit by the light
    // and go into the group, which the game attaches to the world.
    MiniMap(World* minimapWorld, MatrixMap* map, Light* minimapLight, Group* minimapGroup);
    // Deletes the world with its tiles and the template tile, then gives
    // back the materials.
    ~MiniMap() override;
    MiniMap(const MiniMap&) = delete;
    MiniMap& operator=(const MiniMap&) = delete;

    void update(FrameInput* input) override;

    // The black square behind the tiles.
    void addBackground();
    // A tile of the flag's colour; pellet and power-pellet tiles are kept
    // by cell for eating.
    TriangleMesh* addMesh(i32 flag, vec3 translation, vec3 scale, GridPosition cell);
    // Hides the tile of an eaten pellet or power pellet.
    void hideTile(GridPosition cell);
    TriangleMesh* getTemplate() const { return templateTile; }
    Material* getMaterial(i32 flag) const { return materials[flag & 7]; }

  private:
    void createMaterials();

    Material* materials[8];
    TriangleMesh* minimapTiles[kMazeSize][kMazeSize];
    TriangleMesh* templateTile;
    Group* group;
    MatrixMap* map;
    World* world;
};
