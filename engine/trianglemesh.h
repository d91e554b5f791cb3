#pragma once

#include "engine/geometry.h"

class IndexArray;
class Material;
class VertexArray;

// The geometry that draws indexed or plain triangles from client memory. It
// holds and pins one reference on each of its vertex array, index array and
// material (each may be null), so that no purge deletes them under it, and
// unpins and gives them back when replaced or destroyed. It draws
// only with a material whose program exists and a vertex array; without an
// index array it draws a plain triangle list. A mesh whose largest index lies
// past its vertices is not drawn, and warns once until an array is replaced.
class TriangleMesh : public Geometry {
  public:
    explicit TriangleMesh(const char* name);
    // With addRef each resource gets a reference of its own; without it the
    // caller's references pass to the mesh.
    TriangleMesh(const char* name, VertexArray* vertexArray, IndexArray* indexArray,
                 Material* material, bool addRef);
    // Takes the resources of the first mesh of the ".pwn" file, each with a
    // reference of its own; what the file does not yield stays null.
    TriangleMesh(const char* name, const char* file, bool uniqueNames, u32 purgeLevel);
    // Builds its own arrays from raw data (see setVertexData, setIndexData).
    TriangleMesh(const char* name, const f32* positions, const f32* texcoords, const f32* normals,
                 const f32* colors, u32 vertexCount, const u16* indices, u32 indexCount, u32 layout,
                 u32 purgeLevel);
    ~TriangleMesh() override;

    void drawSelf(RenderContext* context) override;
    Node* clone() const override;

    // Interleaves the present inputs (positions 3, texture coordinates 2,
    // normals 3, colours 4 floats a vertex) into a new vertex array with a
    // generated name and the attributes "Vertex", "TexCoord", "Normal" and
    // "Color".
    void setVertexData(const f32* positions, const f32* texcoords, const f32* normals,
                       const f32* colors, u32 vertexCount, u32 purgeLevel);
    // A new index array with a generated name; layout 0 triangles, 1 strip,
    // 2 fan.
    void setIndexData(const u16* indices, u32 count, u32 layout, u32 purgeLevel);

    void setVertexArray(VertexArray* vertexArray, bool addRef);
    void setIndexArray(IndexArray* indexArray, bool addRef);
    void setMaterial(Material* material, bool addRef);
    VertexArray* getVertexArray() const { return vertexArray; }
    IndexArray* getIndexArray() const { return indexArray; }
    Material* getMaterial() const { return material; }

    // Uploads "NormalMatrix" and "ViewPosition" when the material's program
    // declares them.
    void prepareDrawing(RenderContext* context);

  private:
    // True when every index names one of the vertices; else warns once.
    bool indicesFit();

    VertexArray* vertexArray;
    IndexArray* indexArray;
    Material* material;
    bool indicesWarned;
};
