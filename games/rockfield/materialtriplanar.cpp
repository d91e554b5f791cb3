#include "games/rockfield/materialtriplanar.h"

#include "engine/geometry.h"
#include "engine/shaderprogram.h"
#include "engine/texture.h"

namespace {

// Every triplanar material draws with this one program. The fly-through
// makes a material for each mesh, about twenty a second: a program of each
// one's own would cost a link every time and, in a software GL, about a
// megabyte of driver memory for each mesh in flight, so that the process
// would swell and shrink with the number of meshes.
const char* const kProgramName = "MaterialTriplanar";

} // namespace

MaterialTriplanar::MaterialTriplanar(const char* name, u32 purgeLevel)
    : Material(name, purgeLevel, kMaterialTriplanar), diffuseTexture(nullptr) {
    createProgram(kProgramName, "\n", "../shaders/MaterialTriplanar.vs",
                  "../shaders/MaterialTriplanar.fs", purgeLevel);
    loadDefaultTexture(&diffuseTexture);
}

MaterialTriplanar::~MaterialTriplanar() {
    releaseSlot(diffuseTexture);
}

Resource* MaterialTriplanar::clone(const char* newName, u32 purgeLevel) {
    auto* copy = static_cast<MaterialTriplanar*>(cloneTarget(newName, purgeLevel));
    if (copy != nullptr) {
        copy->setDiffuseTexture(diffuseTexture, true);
    }
    return copy;
}

void MaterialTriplanar::lightUniforms(const Light* light, vec3* vector, vec3* color) {
    vec3 position;
    lightOrWhite(light, &position, color);
    if (light == nullptr) {
        *vector = vec3(1, 1, 1);
        return;
    }
    // A light at the world origin gives no direction: send zero, not NaN.
    f32 length = position.length();
    *vector = length > 0 ? position / length : vec3(0, 0, 0);
}

void MaterialTriplanar::prepareMaterial(RenderContext*, Geometry* geometry) {
    sendSampler("DiffuseSampler", diffuseTexture, 0);
    vec3 vector, color;
    lightUniforms(geometry->getLight(0), &vector, &color);
    const f32 vectorValues[3] = {vector.x, vector.y, vector.z};
    const f32 colorValues[3] = {color.x, color.y, color.z};
    program->setUniformVector("LightVector", vectorValues, 1, 3);
    program->setUniformVector("LightColor", colorValues, 1, 3);
}

void MaterialTriplanar::setDiffuseTexture(Texture* texture, bool addReference) {
    Resource::assignPinned(&diffuseTexture, texture, addReference);
}

void MaterialTriplanar::setDiffuseTexture(const char* file, u32 purgeLevel) {
    Texture::loadPinned(&diffuseTexture, file, purgeLevel);
}
