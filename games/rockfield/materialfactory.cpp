// The rockfield program's material factory: the shared kinds, the triplanar
// material for code 6, and the directional material for any code that names
// no kind.
#include "engine/material.h"
#include "games/rockfield/materialtriplanar.h"

Material* MaterialFactoryCreate(u32 materialType, const char* name, u32 purgeLevel) {
    if (materialType == kMaterialTriplanar) {
        return new MaterialTriplanar(name, purgeLevel);
    }
    Material* material = MaterialCreateStandard(materialType, name, purgeLevel);
    if (material == nullptr) {
        material = MaterialCreateStandard(kMaterialDirectional, name, purgeLevel);
    }
    return material;
}
