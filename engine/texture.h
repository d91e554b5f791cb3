#pragma once

#include "engine/resource.h"

// A two-dimensional texture made from a picture file (named by its path) or
// from pixels in memory.
class Texture : public Resource {
  public:
    Texture(const char* file, bool mipmaps, u32 filter, u32 wrap, u32 purgeLevel);
    Texture(const u8* pixels, const char* name, u32 format, u32 width, u32 height, bool mipmaps,
            u32 filter, u32 wrap, u32 purgeLevel);

    u32 getId() const { return id; }

  private:
    u32 id;
};
