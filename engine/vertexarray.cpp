#include "engine/vertexarray.h"

#include "engine/memory.h"

#include <cstring>

VertexArray::VertexArray(const char* name, const f32* source, u32 floatsPerVertex_,
                         u32 vertexCount_, u32 purgeLevel)
    : Resource(name, purgeLevel, kResourceVertexArray), data(nullptr), vertexCount(vertexCount_),
      floatsPerVertex(floatsPerVertex_) {
    u32 floats = vertexCount * floatsPerVertex;
    data = static_cast<f32*>(MemoryAllocateZeroed(floats, sizeof(f32)));
    if (source != nullptr) {
        std::memcpy(data, source, floats * sizeof(f32));
    }
    setSize(floats * sizeof(f32));
}

VertexArray::~VertexArray() {
    MemoryFree(data);
}
