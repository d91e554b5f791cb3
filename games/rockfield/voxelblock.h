#pragma once

#include "engine/types.h"
#include "engine/vecmath.h"

#include <vector>

// An integer 3-vector: voxel positions, and the doubled coordinates that name
// the midpoints of grid edges.
struct ivec3 {
    i32 x, y, z;

    ivec3 operator+(const ivec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    ivec3 operator-(const ivec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    ivec3 operator<<(i32 count) const {
        return {x * (1 << count), y * (1 << count), z * (1 << count)};
    }
    ivec3 operator>>(i32 count) const { return {x >> count, y >> count, z >> count}; }
    bool operator==(const ivec3& o) const { return x == o.x && y == o.y && z == o.z; }
    vec3 toVec3() const {
        return vec3(static_cast<f32>(x), static_cast<f32>(y), static_cast<f32>(z));
    }
};

// Walks the interior voxels of a block of sizeX x sizeY x sizeZ bytes (x
// fastest: voxel (x, y, z) is byte x + sizeX * (y + z * sizeY)), never the
// outer layer: positions 1 .. size - 2 on each axis, x fastest, then y, then
// z. A block smaller than 3 on any side has no interior: the walk ends at
// once. The caller owns the block.
class BlockIterator {
  public:
    BlockIterator(i32 sizeX, i32 sizeY, i32 sizeZ, u8* block);
    virtual ~BlockIterator() = default;

    // Moves to (1, 1, 1), or ends the walk when the block has no interior.
    void begin();
    // Moves to a voxel; a position outside the block ends the walk.
    void moveTo(ivec3 position);
    bool valid() const { return current != nullptr; }
    void next();

    ivec3 position() const { return at; }
    u8* pointer() const { return current; }
    // The voxel at an offset from the current one; 0 outside the block.
    u8 neighbour(i32 dx, i32 dy, i32 dz) const;

  private:
    bool inside(ivec3 p) const;

    i32 sizeX, sizeY, sizeZ;
    ivec3 at;
    u8* first;
    u8* current;
};

// Marching cubes over every cell whose lowest corner the iterator visits on
// an n x n x n block (a value above 128 is solid, 128 the iso-level): one
// vertex per intersected grid edge, shared by every triangle on that edge and
// numbered in order of first use; 6 floats a vertex, the position in voxel
// units, then the unit normal from the density gradient (a voxel outside the
// block reads as 0; where the gradient vanishes, the normal runs along the
// edge from its solid corner to its empty one). Three indices a triangle,
// wound counter-clockwise seen from outside. The lists are replaced.
void MeshVoxelBlock(const u8* block, i32 n, std::vector<f32>* vertices, std::vector<u32>* indices);
