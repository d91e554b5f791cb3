#pragma once

#include "engine/material.h"

class CubeMap;

// Mirrors its surroundings: the view ray reflected at the surface samples an
// environment cube map. A new material has no map and warns on every draw
// until one is set.
class MaterialReflective : public Material {
  public:
    MaterialReflective(const char* name, u32 purgeLevel);
    ~MaterialReflective() override;

    // A reflective material registered under the new name (found or new)
    // with this map; null, with a warning, when the name holds a material
    // of another kind.
    Resource* clone(const char* newName, u32 purgeLevel) override;
    void prepareMaterial(RenderContext* context, Geometry* geometry) override;

    void setEnvironmentMap(CubeMap* map, bool addReference);
    CubeMap* getEnvironmentMap() const { return environmentMap; }

  private:
    CubeMap* environmentMap;
};
