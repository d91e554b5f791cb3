#pragma once

#include "engine/resource.h"

// Interleaved float vertices kept in client memory.
class VertexArray : public Resource {
  public:
    VertexArray(const char* name, const f32* data, u32 floatsPerVertex, u32 vertexCount,
                u32 purgeLevel);
    ~VertexArray() override;

    f32* getArray() const { return data; }
    u32 getCount() const { return vertexCount; }
    u32 getFloatsPerVertex() const { return floatsPerVertex; }

  private:
    f32* data;
    u32 vertexCount;
    u32 floatsPerVertex;
};
