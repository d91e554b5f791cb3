#pragma once

#include "engine/resource.h"

class ShaderProgram;

// What a triangle mesh draws with: a material type code and one shader
// program, of which it holds one reference.
class Material : public Resource {
  public:
    Material(const char* name, u32 purgeLevel, u32 materialType);
    ~Material() override;

    // A new material of the kind that the type code names; not yet in any
    // list (the registry adds it).
    static Material* create(u32 materialType, const char* name, u32 purgeLevel);

  protected:
    u32 materialType;
    ShaderProgram* program;
};
