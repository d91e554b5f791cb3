#pragma once

#include "engine/material.h"

class Texture;

// Shows one texture, unlit. The texture starts as "../textures/notex.png".
class MaterialTextured : public Material {
  public:
    MaterialTextured(const char* name, u32 purgeLevel);
    ~MaterialTextured() override;

    // A textured material registered under the new name (found or new)
    // showing this texture; null, with a warning, when the name holds a
    // material of another kind.
    Resource* clone(const char* newName, u32 purgeLevel) override;
    void prepareMaterial(RenderContext* context, Geometry* geometry) override;

    void setDiffuseTexture(Texture* texture, bool addReference);
    void setDiffuseTexture(const char* file, u32 purgeLevel);
    Texture* getDiffuseTexture() const { return diffuseTexture; }

  private:
    Texture* diffuseTexture;
};
