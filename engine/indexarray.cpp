#include "engine/indexarray.h"

#include "engine/memory.h"
#include "engine/result.h"

#include <GLES2/gl2.h>
#include <cstring>

IndexArray::IndexArray(const char* name, const u16* source, u32 count_, u32 layout_, u32 purgeLevel)
    : Resource(name, purgeLevel, kResourceIndexArray), indices(nullptr), count(count_),
      layout(layout_), primitiveMode(primitiveModeOf(layout_)), maxIndex(0) {
    if (name == nullptr || name[0] == 0) {
        REPORT(kInvalidArgument);
    }
    indices = static_cast<u16*>(MemoryAllocateZeroed(count, sizeof(u16)));
    if (source != nullptr) {
        std::memcpy(indices, source, count * sizeof(u16));
    }
    for (u32 i = 0; i < count; i++) {
        if (indices[i] > maxIndex) {
            maxIndex = indices[i];
        }
    }
    setSize(count * sizeof(u16));
}

IndexArray::~IndexArray() {
    MemoryFree(indices);
}

Resource* IndexArray::clone(const char* newName, u32 purgeLevel) {
    return new IndexArray(newName, indices, count, layout, purgeLevel);
}

void IndexArray::print(FILE* file) const {
    std::fprintf(file, "    [ N ELEMS  ][ %u ]\n", count);
    std::fprintf(file, "    [ LAYOUT   ][ %u ]\n", layout);
}

u32 IndexArray::primitiveModeOf(u32 layout) {
    return layout == 1 ? GL_TRIANGLE_STRIP : layout == 2 ? GL_TRIANGLE_FAN : GL_TRIANGLES;
}
