#pragma once

#include "engine/resource.h"

// 16-bit vertex indices with a primitive layout: 0 triangle list, 1 strip,
// 2 fan (any other layout draws a triangle list).
class IndexArray : public Resource {
  public:
    IndexArray(const char* name, const u16* indices, u32 count, u32 layout, u32 purgeLevel);
    ~IndexArray() override;

    // A new array, in no list, with the same indices and layout.
    Resource* clone(const char* newName, u32 purgeLevel) override;
    void print(FILE* file) const override;

    u16* getArray() const { return indices; }
    u32 getCount() const { return count; }
    u32 getLayout() const { return layout; }
    // The largest index, found once at construction; 0 without indices.
    u16 getMaxIndex() const { return maxIndex; }
    // What glDrawElements draws: GL_TRIANGLES, GL_TRIANGLE_STRIP or
    // GL_TRIANGLE_FAN.
    u32 getPrimitiveMode() const { return primitiveMode; }

    static u32 primitiveModeOf(u32 layout);

  private:
    u16* indices;
    u32 count;
    u32 layout;
    u32 primitiveMode;
    u16 maxIndex;
};
