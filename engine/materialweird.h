#pragma once

#include "engine/material.h"
#include "engine/vecmath.h"

class Light;
class Texture;

// A lit, animated material: a point light shades the diffuse texture, whose
// picture a noise texture warps and flickers in a cycle of five seconds of
// host time. Both textures start as "../textures/notex.png".
class MaterialWeird : public Material {
  public:
    MaterialWeird(const char* name, u32 purgeLevel);
    ~MaterialWeird() override;

    // A weird material registered under the new name (found or new) with
    // these colours and textures; null, with a warning, when the name holds
    // a material of another kind.
    Resource* clone(const char* newName, u32 purgeLevel) override;
    void prepareMaterial(RenderContext* context, Geometry* geometry) override;

    // The "Time" uniform at a host time in seconds: rises from 0 to 1 every
    // five seconds and wraps.
    static f32 animationTime(f32 hostTime);

    void setDiffuseTexture(Texture* texture, bool addReference);
    void setDiffuseTexture(const char* file, u32 purgeLevel);
    Texture* getDiffuseTexture() const { return diffuseTexture; }
    void setNoiseTexture(Texture* texture, bool addReference);
    void setNoiseTexture(const char* file, u32 purgeLevel);
    Texture* getNoiseTexture() const { return noiseTexture; }

    vec3 ambientColor;
    vec3 diffuseColor;
    vec3 specularColor;
    f32 shininess;

  private:
    // Sends the light, the colours and shininess, and the time.
    void sendUniforms(RenderContext* context, Geometry* geometry) const;

    Texture* diffuseTexture;
    Texture* noiseTexture;
};
