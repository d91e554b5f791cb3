// The tower-defence program's material factory: the engine's shared kinds
// for codes 1 to 5, and the menu material for code 0 and every code that
// names no other kind. This program has no plain directional material.
#include "engine/material.h"
#include "games/towerdefence/materialgui.h"

Material* MaterialFactoryCreate(u32 materialType, const char* name, u32 purgeLevel) {
    if (materialType != kMaterialDirectional) {
        Material* material = MaterialCreateStandard(materialType, name, purgeLevel);
        if (material != nullptr) {
            return material;
        }
    }
    return new MaterialGui(name, purgeLevel);
}
