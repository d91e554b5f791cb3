// The material factory of every program that has only the engine's shared
// kinds: any code that names no such kind builds the directional material.
#include "engine/material.h"

Material* MaterialFactoryCreate(u32 materialType, const char* name, u32 purgeLevel) {
    Material* material = MaterialCreateStandard(materialType, name, purgeLevel);
    if (material == nullptr) {
        material = MaterialCreateStandard(kMaterialDirectional, name, purgeLevel);
    }
    return material;
}
