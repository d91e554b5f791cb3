#include "engine/materialcolorful.h"

MaterialColorful::MaterialColorful(const char* name, u32 purgeLevel)
    : Material(name, purgeLevel, kMaterialColorful) {
    createProgram(name, "\n", "../shaders/MaterialColorful.vs", "../shaders/MaterialColorful.fs",
                  purgeLevel);
}

Resource* MaterialColorful::clone(const char* newName, u32 purgeLevel) {
    return cloneTarget(newName, purgeLevel);
}
