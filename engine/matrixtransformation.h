#pragma once

#include "engine/types.h"
#include "engine/vecmath.h"

class ShaderProgram;

// The 24 named matrices that shader programs receive by uniform name. Slots
// come in groups of four (the base, its inverse, its transpose and the
// transpose of its inverse) over View, Projection, ViewProjection, World,
// WorldView and WorldViewProjection. View, Projection, ViewProjection and
// World point at matrices owned elsewhere; everything else is derived on
// first request into two fixed pools, once per frame for the camera's and
// once per drawn node for the world's.
class MatrixTransformation {
  public:
    static constexpr u32 kMatrixCount = 24;
    static constexpr u32 kPoolSize = 12;
    enum Slot : u32 {
        kView = 0,
        kProjection = 4,
        kViewProjection = 8,
        kWorld = 12,
        kWorldView = 16,
        kWorldViewProjection = 20
    };

    MatrixTransformation();

    // The uniform name of a slot, null beyond the last.
    static const char* getName(u32 index);

    // Once per frame: the camera's matrices; forgets every derived matrix.
    void setMatrices(mat4* view, mat4* projection, mat4* viewProjection, vec3 viewPosition,
                     u32 projectionType);
    // After each drawn node: forgets the matrices derived from the world.
    void resetWorld();

    // The current world matrix (slot 12), set directly by the tree walks.
    mat4* getWorld() const { return slots[kWorld]; }
    void setWorld(mat4* world) { slots[kWorld] = world; }

    // The matrix of a slot, derived on first request; null when a matrix it
    // derives from is not set.
    mat4* getMatrix(u32 index);
    // Resolves the matrix of every slot whose location is 0 or more, null
    // for the others.
    void resolve(const i32 locations[kMatrixCount], const mat4* matrices[kMatrixCount]);
    // Uploads to the program every named matrix that it declares.
    void setTransformationMatrices(ShaderProgram* program);

    u32 getCameraPoolUsed() const { return cameraPoolUsed; }
    u32 getWorldPoolUsed() const { return worldPoolUsed; }
    u32 getProjectionType() const { return projectionType; }

    mat3 normalMatrix;
    vec3 viewPosition;

  private:
    mat4* take(u32 base);
    mat4* deriveProduct(u32 base);
    mat4* deriveVariant(u32 index);

    mat4* slots[kMatrixCount];
    mat4 cameraPool[kPoolSize];
    u32 cameraPoolUsed;
    mat4 worldPool[kPoolSize];
    u32 worldPoolUsed;
    u32 projectionType;
};
