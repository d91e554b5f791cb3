#include "engine/materialtextured.h"

#include "engine/memory.h"
#include "engine/result.h"
#include "engine/shaderprogram.h"
#include "engine/texture.h"

MaterialTextured::MaterialTextured(const char* name, u32 purgeLevel)
    : Material(name, purgeLevel, kMaterialTextured), diffuseTexture(nullptr) {
    createProgram(name, "\n", "../shaders/MaterialTextured.vs", "../shaders/MaterialTextured.fs",
                  purgeLevel);
    loadDefaultTexture(&diffuseTexture);
}

MaterialTextured::~MaterialTextured() {
    releaseSlot(diffuseTexture);
}

Resource* MaterialTextured::clone(const char* newName, u32 purgeLevel) {
    auto* copy = static_cast<MaterialTextured*>(cloneTarget(newName, purgeLevel));
    if (copy != nullptr) {
        copy->setDiffuseTexture(diffuseTexture, true);
    }
    return copy;
}

void MaterialTextured::prepareMaterial(RenderContext*, Geometry*) {
    sendSampler("DiffuseSampler", diffuseTexture, 0);
    GL_ASSERT();
}

void MaterialTextured::setDiffuseTexture(Texture* texture, bool addReference) {
    Resource::assignPinned(&diffuseTexture, texture, addReference);
}

void MaterialTextured::setDiffuseTexture(const char* file, u32 purgeLevel) {
    Texture::loadPinned(&diffuseTexture, file, purgeLevel);
}
