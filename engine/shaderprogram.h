#pragma once

#include "engine/resource.h"

class CubeMap;
class Shader;
class Texture;

// A vertex and a fragment shader linked into one program. It holds one
// reference on each shader, handed over by the registry, and deletes its GL
// program with itself.
//
// Every setter looks its name up on each call and returns false, without a
// GL call or a message, for a name that the program does not declare.
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
    void link();
    bool bindSampler(const char* name, u32 target, u32 textureId, u32 unit) const;

    Shader* vertexShader;
    Shader* fragmentShader;
    u32 id;
    bool linked;
};
