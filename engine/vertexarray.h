#pragma once

#include "engine/resource.h"

class IndexArray;
class ShaderProgram;

// Interleaved float vertices kept in client memory, with up to 16 named
// attributes held sorted by their offset inside a vertex.
class VertexArray : public Resource {
  public:
    static constexpr u32 kMaxAttributes = 16;

    VertexArray(const char* name, const f32* data, u32 floatsPerVertex, u32 vertexCount,
                u32 purgeLevel);
    ~VertexArray() override;

    // A new array, in no list, with the same contents under the new name.
    Resource* clone(const char* newName, u32 purgeLevel) override;
    void print(FILE* file) const override;

    // Declares an attribute (offset and components in floats). Ignored, with a
    // warning, past 16 attributes, at an offset beyond the stride, with
    // components that run past the stride, or for a name already placed
    // elsewhere; an equal one again is silent.
    void setAttribute(u32 offset, u32 components, const char* name);
    // Points every attribute that the program declares at this array's data,
    // and disables the arrays of any attribute that it no longer supplies.
    void bindAttributes(const ShaderProgram* program) const;
    // Adds unit "Normal"s behind each vertex: the area-weighted face normals
    // of the index triples, (1, 0, 0) where they sum to zero. Nothing, with
    // a warning, without a "Vertex" whose three floats fit in the vertex.
    void generateNormals(const IndexArray* indices);

    f32* getArray() const { return data; }
    u32 getCount() const { return vertexCount; }
    u32 getFloatsPerVertex() const { return floatsPerVertex; }
    u32 getAttributeCount() const { return attributeCount; }
    // The i-th attribute in offset order; null (name) or 0 beyond the last.
    const char* getAttributeName(u32 i) const;
    u32 getAttributeOffset(u32 i) const;
    u32 getAttributeComponents(u32 i) const;
    // The index of the named attribute, or -1.
    i32 findAttribute(const char* name) const;

  private:
    f32* data;
    u32 vertexCount;
    u32 floatsPerVertex;
    u32 attributeCount;
    u32 offsets[kMaxAttributes];
    u32 components[kMaxAttributes];
    char* names[kMaxAttributes];
};
