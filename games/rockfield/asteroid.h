#pragma once

#include "engine/group.h"

class Light;
class TriangleMesh;

// One asteroid: a group named "<n>_asteroid" that spins as it flies toward
// the camera, holding the mesh of a noise-shaped voxel ball whose resolution
// rises as it approaches (4, 8, then 16 voxels a side).
class Asteroid : public Group {
  public:
    // Draws, in this order, the noise offset, the size, the spin and the
    // position 1000 units ahead.
    explicit Asteroid(Light* light);
    ~Asteroid() override = default;

    // Fills the block at the current level of detail and replaces the mesh;
    // the asteroid keeps its size in the world at every level.
    void rebuildMesh();
    // Spins and moves the asteroid by dt seconds and raises its level of
    // detail as it nears; false once it has passed behind the camera.
    bool update(f32 dt);

    i32 getLevel() const { return level; }
    TriangleMesh* getMesh() const { return mesh; }
    f32 getSize() const { return size; }

  private:
    TriangleMesh* mesh;
    vec3 noiseOffset;
    i32 level;
    f32 size;
    Light* light;
    vec3 spinAxis;
    f32 spinSpeed;
};
