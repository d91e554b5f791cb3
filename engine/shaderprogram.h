#pragma once

#include "engine/resource.h"

class Shader;

// A vertex and a fragment shader linked into one program. It holds one
// reference on each shader, handed over by the registry.
class ShaderProgram : public Resource {
  public:
    ShaderProgram(const char* name, Shader* vertexShader, Shader* fragmentShader, u32 purgeLevel);
    ~ShaderProgram() override;

    u32 getProgramId() const { return id; }
    Shader* getVertexShader() const { return vertexShader; }
    Shader* getFragmentShader() const { return fragmentShader; }
    // -1 when the program does not declare the uniform.
    i32 getUniformLocation(const char* name) const;

  private:
    Shader* vertexShader;
    Shader* fragmentShader;
    u32 id;
};
