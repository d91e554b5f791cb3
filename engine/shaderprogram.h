#pragma once

#include "engine/matrixtransformation.h"
#include "engine/resource.h"

class CubeMap;
class Shader;
class Texture;

// A vertex and a fragment shader linked into one program. It holds one
// reference on each shader, handed over by the registry, and deletes its GL
// program with itself.
//
// Every setter takes the name of what it sets and returns false, without a
// GL call or a message, for a name that the program does not declare. A
// linked program's locations never change, so each name is asked of GL once
// and its location (or its absence) kept in the program's own tables.
class ShaderProgram : public Resource {
  public:
    ShaderProgram(const char* name, Shader* vertexShader, Shader* fragmentShader, u32 purgeLevel);
    ~ShaderProgram() override;

    Resource* clone(const char* newName, u32 purgeLevel) override;
    void print(FILE* file) const override;

    void activate() const;
    u32 getProgramId() const { return id; }
    bool isLinked() const { return linked; }
    Shader* getVertexShader() const { return vertexShader; }
    Shader* getFragmentShader() const { return fragmentShader; }
    // -1 when the program does not declare the name.
    i32 getAttributeLocation(const char* name) const;
    i32 getUniformLocation(const char* name) const;
    // The uniform locations of the named matrices, in slot order, -1 for
    // each one the program does not declare: found once for every draw.
    const i32* getMatrixLocations() const;

    // Points the attribute at client memory (stride in floats) and enables
    // its array.
    bool setAttributePointer(const char* name, u32 components, bool normalized, u32 stride,
                             const void* data) const;
    bool setConstantAttribute(const char* name, const f32* values, u32 components) const;
    // count values (1 to 4) as one vector uniform.
    bool setUniform(const char* name, const i32* values, u32 count) const;
    bool setUniform(const char* name, const f32* values, u32 count) const;
    // An array of arrayCount vectors of 1 to 4 components.
    bool setUniformVector(const char* name, const i32* values, u32 arrayCount,
                          u32 components) const;
    bool setUniformVector(const char* name, const f32* values, u32 arrayCount,
                          u32 components) const;
    // Column-major matrices of dimension 2, 3 or 4.
    bool setUniformMatrix(const char* name, const f32* matrices, u32 count, u32 dimension) const;
    bool setTextureSampler(const char* name, const Texture* texture, u32 unit) const;
    bool setCubeMapSampler(const char* name, const CubeMap* cubeMap, u32 unit) const;

    // Attribute arrays stay enabled between draws. A mesh opens a binding
    // pass, points its attributes, and closing the pass disables every array
    // enabled earlier that the pass did not point again, so no draw reads a
    // former mesh's memory.
    static void beginAttributes();
    static void endAttributes();

  private:
    // Locations by name text, in an open-addressed table that grows as
    // names arrive.
    class LocationTable {
      public:
        LocationTable() = default;
        LocationTable(const LocationTable&) = delete;
        LocationTable& operator=(const LocationTable&) = delete;
        ~LocationTable() { clear(); }

        // The location of name in program, asked of GL on its first request.
        i32 locate(u32 program, const char* name, i32 (*ask)(u32, const char*));
        void clear();

      private:
        struct Entry {
            char* name;
            u32 hash;
            i32 location;
        };
        Entry* slot(const char* name, u32 hash) const;
        void grow();

        Entry* entries = nullptr;
        u32 capacity = 0;
        u32 used = 0;
    };

    void link();
    bool bindSampler(const char* name, u32 target, u32 textureId, u32 unit) const;

    Shader* vertexShader;
    Shader* fragmentShader;
    u32 id;
    bool linked;
    mutable LocationTable uniforms;
    mutable LocationTable attributes;
    mutable i32 matrixLocations[MatrixTransformation::kMatrixCount];
    mutable bool matricesLocated;
};
