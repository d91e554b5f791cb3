#include "engine/indexarray.h"

#include "engine/memory.h"

#include <cstring>

IndexArray::IndexArray(const char* name, const u16* source, u32 count_, u32 layout_, u32 purgeLevel)
    : Resource(name, purgeLevel, kResourceIndexArray), indices(nullptr), count(count_),
      layout(layout_) {
    indices = static_cast<u16*>(MemoryAllocateZeroed(count, sizeof(u16)));
    if (source != nullptr) {
        std::memcpy(indices, source, count * sizeof(u16));
    }
    setSize(count * sizeof(u16));
}

IndexArray::~IndexArray() {
    MemoryFree(indices);
}
