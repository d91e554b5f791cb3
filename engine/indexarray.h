#pragma once

#include "engine/resource.h"

// 16-bit vertex indices with a primitive layout: 0 triangle list, 1 strip,
// 2 fan.
class IndexArray : public Resource {
  public:
    IndexArray(const char* name, const u16* indices, u32 count, u32 layout, u32 purgeLevel);
    ~IndexArray() override;

    u16* getArray() const { return indices; }
    u32 getCount() const { return count; }
    u32 getLayout() const { return layout; }

  private:
    u16* indices;
    u32 count;
    u32 layout;
};
