#include "engine/materialweird.h"

#include "engine/frameinput.h"
#include "engine/geometry.h"
#include "engine/light.h"
#include "engine/memory.h"
#include "engine/rendercontext.h"
#include "engine/result.h"
#include "engine/shaderprogram.h"
#include "engine/texture.h"

#include <cmath>

MaterialWeird::MaterialWeird(const char* name, u32 purgeLevel)
    : Material(name, purgeLevel, kMaterialWeird), ambientColor(0, 0.1f, 0.2f),
      diffuseColor(0.1f, 0.5f, 0.7f), specularColor(0.7f, 0.9f, 1.0f), shininess(3.4f),
      diffuseTexture(nullptr), noiseTexture(nullptr) {
    createProgram(name, "\n", "../shaders/MaterialWeird.vs", "../shaders/MaterialWeird.fs",
                  purgeLevel);
    loadDefaultTexture(&diffuseTexture);
    loadDefaultTexture(&noiseTexture);
}

MaterialWeird::~MaterialWeird() {
    releaseSlot(diffuseTexture);
    releaseSlot(noiseTexture);
}

Resource* MaterialWeird::clone(const char* newName, u32 purgeLevel) {
    auto* copy = static_cast<MaterialWeird*>(cloneTarget(newName, purgeLevel));
    if (copy == nullptr) {
        return nullptr;
    }
    copy->ambientColor = ambientColor;
    copy->diffuseColor = diffuseColor;
    copy->specularColor = specularColor;
    copy->shininess = shininess;
    copy->setDiffuseTexture(diffuseTexture, true);
    copy->setNoiseTexture(noiseTexture, true);
    return copy;
}

f32 MaterialWeird::animationTime(f32 hostTime) {
    f32 t = hostTime * 0.2f;
    return t - std::trunc(t);
}

void MaterialWeird::prepareMaterial(RenderContext* context, Geometry* geometry) {
    sendUniforms(context, geometry);
    sendSampler("DiffuseSampler", diffuseTexture, 0);
    sendSampler("NoiseSampler", noiseTexture, 1);
    GL_ASSERT();
}

void MaterialWeird::sendUniforms(RenderContext* context, Geometry* geometry) const {
    vec3 position, color;
    lightOrWhite(geometry->firstLight(), &position, &color);
    program->setUniformVector("LightColor", &color.x, 1, 3);
    program->setUniformVector("LightPosition", &position.x, 1, 3);
    program->setUniformVector("AmbientColor", &ambientColor.x, 1, 3);
    program->setUniformVector("DiffuseColor", &diffuseColor.x, 1, 3);
    program->setUniformVector("SpecularColor", &specularColor.x, 1, 3);
    program->setUniform("Shininess", &shininess, 1);
    // A world drawn without an input record animates from time 0.
    f32 time = animationTime(context->input != nullptr ? context->input->time : 0.0f);
    program->setUniform("Time", &time, 1);
}

void MaterialWeird::setDiffuseTexture(Texture* texture, bool addReference) {
    Resource::assignPinned(&diffuseTexture, texture, addReference);
}

void MaterialWeird::setDiffuseTexture(const char* file, u32 purgeLevel) {
    Texture::loadPinned(&diffuseTexture, file, purgeLevel);
}

void MaterialWeird::setNoiseTexture(Texture* texture, bool addReference) {
    Resource::assignPinned(&noiseTexture, texture, addReference);
}

void MaterialWeird::setNoiseTexture(const char* file, u32 purgeLevel) {
    Texture::loadPinned(&noiseTexture, file, purgeLevel);
}
