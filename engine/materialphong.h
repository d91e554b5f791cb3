#pragma once

#include "engine/material.h"
#include "engine/vecmath.h"

class Light;
class Texture;

// One float uniform of a Phong material: its name and 1 or 3 values.
struct PhongUniform {
    const char* name;
    f32 values[3];
    u32 count;
};

// The two lit, textured materials share this base: the same fields, shader
// files and uniforms. They differ in the header put in front of both shader
// sources, in the light slots they look at and in how they send the light.
class MaterialPhong : public Material {
  public:
    // The uniforms that prepareMaterial sends, in order, before the sampler.
    static constexpr u32 kUniformCount = 8;

    ~MaterialPhong() override;

    // A material of the own kind registered under the new name (found or
    // new) with these fields and texture; null, with a warning, when the
    // name holds a material of another kind.
    Resource* clone(const char* newName, u32 purgeLevel) override;
    void prepareMaterial(RenderContext* context, Geometry* geometry) override;

    // The uniforms for drawing the geometry, in the order they are sent;
    // reports the missing light. Needs no GL.
    void collectUniforms(Geometry* geometry, PhongUniform out[kUniformCount]) const;

    void setDiffuseTexture(Texture* texture, bool addReference);
    void setDiffuseTexture(const char* file, u32 purgeLevel);
    Texture* getDiffuseTexture() const { return diffuseTexture; }

    vec3 ambientColor;
    vec3 diffuseColor;
    vec3 specularColor;
    f32 shininess;
    f32 emissive;
    f32 specularLevel;

  protected:
    // The Phong shader files "../shaders/MaterialPhong.vs" and ".fs", or a
    // kind's own files that take the same uniforms.
    MaterialPhong(const char* name, u32 purgeLevel, u32 materialType, const char* header);
    MaterialPhong(const char* name, u32 purgeLevel, u32 materialType, const char* header,
                  const char* vertexFile, const char* fragmentFile);
    // Sends a kind's own uniforms, after the Phong ones and before the
    // sampler; none in the base.
    virtual void sendOwnUniforms() {}
    // The light this kind draws with, or null.
    virtual Light* findLight(Geometry* geometry) const = 0;
    // Fills the first two uniforms from the light's world position and
    // colour.
    virtual void lightUniforms(vec3 position, vec3 color, bool lit, PhongUniform out[2]) const = 0;

  private:
    Texture* diffuseTexture;
};

// Lit by the light in slot 0 only, as a direction from the world origin.
class MaterialDirectional : public MaterialPhong {
  public:
    MaterialDirectional(const char* name, u32 purgeLevel);

  protected:
    // A directional kind of its own, with its own shader files.
    MaterialDirectional(const char* name, u32 purgeLevel, const char* vertexFile,
                        const char* fragmentFile);
    Light* findLight(Geometry* geometry) const override;
    void lightUniforms(vec3 position, vec3 color, bool lit, PhongUniform out[2]) const override;
};

// Lit by the first light of slots 0 to 3, from its world position.
class MaterialPoint : public MaterialPhong {
  public:
    MaterialPoint(const char* name, u32 purgeLevel);

  protected:
    Light* findLight(Geometry* geometry) const override;
    void lightUniforms(vec3 position, vec3 color, bool lit, PhongUniform out[2]) const override;
};
