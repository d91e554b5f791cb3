#include "engine/materialphong.h"

#include "engine/geometry.h"
#include "engine/light.h"
#include "engine/memory.h"
#include "engine/result.h"
#include "engine/shaderprogram.h"
#include "engine/texture.h"

namespace {

const char* const kVertexFile = "../shaders/MaterialPhong.vs";
const char* const kFragmentFile = "../shaders/MaterialPhong.fs";
const char* const kDirectionalHeader = "#define DIRECTIONAL\n";

PhongUniform vector(const char* name, vec3 value) {
    return {name, {value.x, value.y, value.z}, 3};
}

PhongUniform scalar(const char* name, f32 value) {
    return {name, {value, 0, 0}, 1};
}

} // namespace

MaterialPhong::MaterialPhong(const char* name, u32 purgeLevel, u32 materialType, const char* header)
    : MaterialPhong(name, purgeLevel, materialType, header, kVertexFile, kFragmentFile) {}

MaterialPhong::MaterialPhong(const char* name, u32 purgeLevel, u32 materialType, const char* header,
                             const char* vertexFile, const char* fragmentFile)
    : Material(name, purgeLevel, materialType), ambientColor(0, 0.1f, 0.2f),
      diffuseColor(0.1f, 0.5f, 0.7f), specularColor(0.7f, 0.9f, 1.0f), shininess(3.4f), emissive(0),
      specularLevel(1), diffuseTexture(nullptr) {
    createProgram(name, header, vertexFile, fragmentFile, purgeLevel);
    loadDefaultTexture(&diffuseTexture);
}

MaterialPhong::~MaterialPhong() {
    releaseSlot(diffuseTexture);
}

Resource* MaterialPhong::clone(const char* newName, u32 purgeLevel) {
    Material* found = cloneTarget(newName, purgeLevel);
    if (found == nullptr) {
        return nullptr;
    }
    MaterialPhong* copy = static_cast<MaterialPhong*>(found);
    copy->ambientColor = ambientColor;
    copy->diffuseColor = diffuseColor;
    copy->specularColor = specularColor;
    copy->shininess = shininess;
    copy->emissive = emissive;
    copy->specularLevel = specularLevel;
    copy->setDiffuseTexture(diffuseTexture, true);
    return copy;
}

void MaterialPhong::collectUniforms(Geometry* geometry, PhongUniform out[kUniformCount]) const {
    Light* light = findLight(geometry);
    vec3 position, color;
    lightOrWhite(light, &position, &color);
    lightUniforms(position, color, light != nullptr, out);
    out[2] = vector("AmbientColor", ambientColor);
    out[3] = vector("DiffuseColor", diffuseColor);
    out[4] = vector("SpecularColor", specularColor);
    out[5] = scalar("Shininess", shininess);
    out[6] = scalar("Emissive", emissive);
    out[7] = scalar("SpecularLevel", specularLevel);
}

void MaterialPhong::prepareMaterial(RenderContext*, Geometry* geometry) {
    PhongUniform uniforms[kUniformCount];
    collectUniforms(geometry, uniforms);
    for (const PhongUniform& uniform : uniforms) {
        if (uniform.count == 1) {
            program->setUniform(uniform.name, uniform.values, 1);
        } else {
            program->setUniformVector(uniform.name, uniform.values, 1, uniform.count);
        }
    }
    sendOwnUniforms();
    sendSampler("DiffuseSampler", diffuseTexture, 0);
    GL_ASSERT();
}

void MaterialPhong::setDiffuseTexture(Texture* texture, bool addReference) {
    Resource::assignPinned(&diffuseTexture, texture, addReference);
}

void MaterialPhong::setDiffuseTexture(const char* file, u32 purgeLevel) {
    Texture::loadPinned(&diffuseTexture, file, purgeLevel);
}

MaterialDirectional::MaterialDirectional(const char* name, u32 purgeLevel)
    : MaterialPhong(name, purgeLevel, kMaterialDirectional, kDirectionalHeader) {}

MaterialDirectional::MaterialDirectional(const char* name, u32 purgeLevel, const char* vertexFile,
                                         const char* fragmentFile)
    : MaterialPhong(name, purgeLevel, kMaterialDirectional, kDirectionalHeader, vertexFile,
                    fragmentFile) {}

Light* MaterialDirectional::findLight(Geometry* geometry) const {
    return geometry->getLight(0);
}

void MaterialDirectional::lightUniforms(vec3 position, vec3 color, bool lit,
                                        PhongUniform out[2]) const {
    if (!lit) {
        position = vec3(1, 1, 1);
    }
    // A light at the world origin gives no direction: send zero, not NaN.
    f32 length = position.length();
    vec3 direction = length > 0 ? position / length : vec3(0, 0, 0);
    out[0] = vector("LightVector", direction);
    out[1] = vector("LightColor", color);
}

MaterialPoint::MaterialPoint(const char* name, u32 purgeLevel)
    : MaterialPhong(name, purgeLevel, kMaterialPoint, "#define POINT\n") {}

Light* MaterialPoint::findLight(Geometry* geometry) const {
    return geometry->firstLight();
}

void MaterialPoint::lightUniforms(vec3 position, vec3 color, bool, PhongUniform out[2]) const {
    out[0] = vector("LightColor", color);
    out[1] = vector("LightPosition", position);
}
