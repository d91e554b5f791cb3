#pragma once

#include "engine/resource.h"

// A cube-map texture made from six picture files, given in the order +X, -X,
// +Y, -Y, -Z, +Z (the fifth picture is the negative Z face). Any face that
// cannot be used, or faces of different sizes, leave the cube map without a
// GL object (id 0).
class CubeMap : public Resource {
  public:
    static constexpr u32 kFaces = 6;

    CubeMap(const char* name, const char* positiveX, const char* negativeX, const char* positiveY,
            const char* negativeY, const char* negativeZ, const char* positiveZ, u32 purgeLevel);
    ~CubeMap() override;

    Resource* clone(const char* newName, u32 purgeLevel) override;
    void print(FILE* file) const override;

    u32 getId() const { return id; }

    // The GL face target of the i-th file.
    static u32 faceTarget(u32 i);

  private:
    u32 id;
};
