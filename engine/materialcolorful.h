#pragma once

#include "engine/material.h"

// Draws each vertex in its own "Color": a program without uniforms of its
// own, for meshes that carry a colour attribute (shots, stars, bullets).
class MaterialColorful : public Material {
  public:
    MaterialColorful(const char* name, u32 purgeLevel);

    // A colourful material registered under the new name (found or new);
    // null, with a warning, when the name holds a material of another kind.
    Resource* clone(const char* newName, u32 purgeLevel) override;
};
