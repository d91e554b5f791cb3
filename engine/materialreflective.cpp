#include "engine/materialreflective.h"

#include "engine/cubemap.h"
#include "engine/memory.h"
#include "engine/result.h"
#include "engine/shaderprogram.h"

MaterialReflective::MaterialReflective(const char* name, u32 purgeLevel)
    : Material(name, purgeLevel, kMaterialReflective), environmentMap(nullptr) {
    createProgram(name, "\n", "../shaders/MaterialReflective.vs",
                  "../shaders/MaterialReflective.fs", purgeLevel);
}

MaterialReflective::~MaterialReflective() {
    releaseSlot(environmentMap);
}

Resource* MaterialReflective::clone(const char* newName, u32 purgeLevel) {
    auto* copy = static_cast<MaterialReflective*>(cloneTarget(newName, purgeLevel));
    if (copy != nullptr) {
        copy->setEnvironmentMap(environmentMap, true);
    }
    return copy;
}

void MaterialReflective::prepareMaterial(RenderContext*, Geometry*) {
    sendSampler("EnvSampler", environmentMap, 0);
    GL_ASSERT();
}

void MaterialReflective::setEnvironmentMap(CubeMap* map, bool addReference) {
    Resource::assignPinned(&environmentMap, map, addReference);
}
