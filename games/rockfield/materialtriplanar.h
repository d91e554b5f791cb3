#pragma once

#include "engine/material.h"

class Texture;

// The asteroids' material: one texture projected along the three axes of the
// mesh (which carries no texture coordinates), lit by the light in slot 0 of
// the drawn geometry as a direction from the origin. Material type code 6,
// built by the rockfield program's factory only. All triplanar materials
// share one shader program, registered as "MaterialTriplanar".
class MaterialTriplanar : public Material {
  public:
    MaterialTriplanar(const char* name, u32 purgeLevel);
    ~MaterialTriplanar() override;

    // A triplanar material registered under the new name (found or new)
    // showing this texture; null, with a warning, when the name holds a
    // material of another kind.
    Resource* clone(const char* newName, u32 purgeLevel) override;
    // "DiffuseSampler" on unit 0, then "LightVector" (the light's normalised
    // world position; (0, 0, 0) for a light at the origin; (1, 1, 1) without
    // a light) and "LightColor".
    void prepareMaterial(RenderContext* context, Geometry* geometry) override;

    void setDiffuseTexture(Texture* texture, bool addReference);
    void setDiffuseTexture(const char* file, u32 purgeLevel);
    Texture* getDiffuseTexture() const { return diffuseTexture; }

    // The two light uniforms for a light slot's content.
    static void lightUniforms(const Light* light, vec3* vector, vec3* color);

  private:
    Texture* diffuseTexture;
};
