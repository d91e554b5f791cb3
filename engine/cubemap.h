#pragma once

#include "engine/resource.h"

// A cube-map texture made from six picture files.
class CubeMap : public Resource {
  public:
    CubeMap(const char* name, const char* positiveX, const char* negativeX, const char* positiveY,
            const char* negativeY, const char* negativeZ, const char* positiveZ, u32 purgeLevel);

    u32 getId() const { return id; }

  private:
    u32 id;
};
