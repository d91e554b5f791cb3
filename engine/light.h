#pragma once

#include "engine/transformable.h"

// A colour and intensity placed in the scene; its position is its world
// matrix's translation. When it is deleted no light slot keeps it.
class Light : public Transformable {
  public:
    explicit Light(const char* name);
    Light(const char* name, vec3 color, f32 intensity);
    ~Light() override;

    // A new light of the same name, colour and intensity.
    Node* clone() const override;

    void setColor(vec3 value) { color = value; }
    vec3 getColor() const { return color; }
    void setIntensity(f32 value) { intensity = value; }
    f32 getIntensity() const { return intensity; }
    void setFalloff(f32 value) { falloff = value; }
    f32 getFalloff() const { return falloff; }

    // Where the materials see the light: its world translation, and its
    // colour scaled by its intensity.
    vec3 worldPosition() const { return vec3(world.m[12], world.m[13], world.m[14]); }
    vec3 emittedColor() const { return color * intensity; }

  private:
    vec3 color;
    f32 intensity;
    f32 falloff;
};
