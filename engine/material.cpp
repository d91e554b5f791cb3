#include "engine/material.h"

#include "engine/light.h"
#include "engine/materialcolorful.h"
#include "engine/materialphong.h"
#include "engine/materialreflective.h"
#include "engine/materialtextured.h"
#include "engine/materialweird.h"
#include "engine/memory.h"
#include "engine/rendercontext.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/shaderprogram.h"
#include "engine/texture.h"

namespace {

const Result kCloneKind = {1, "A material of another kind is registered under the clone's name"};
const Result kNoLight = {1, "There is no light source specified for Geometry node"};
const Result kNoTexture = {1, "The material has no attached texture. Weird shading may follow"};

} // namespace

Material::Material(const char* name, u32 purgeLevel, u32 materialType_)
    : Resource(name, purgeLevel, kResourceMaterial), materialType(materialType_), program(nullptr) {
    GL_ASSERT();
}

Material::~Material() {
    MemoryCheck();
    releasePinned(program);
    MemoryCheck();
}

void Material::createProgram(const char* programName, const char* header, const char* vertexFile,
                             const char* fragmentFile, u32 purgeLevel) {
    program =
        SceneGraph::createShaderProgram(programName, header, vertexFile, fragmentFile, purgeLevel);
    pinHeld(program);
}

void Material::print(FILE* file) const {
    std::fprintf(file, "    [ TYPE     ][ %u ]\n", materialType);
    std::fprintf(file, "    [ S.PROG   ][ %s ]\n", program != nullptr ? program->nameText() : "");
}

void Material::prepareMaterial(RenderContext*, Geometry*) {}

Material* Material::create(u32 materialType, const char* name, u32 purgeLevel) {
    GL_ASSERT();
    return MaterialFactoryCreate(materialType, name, purgeLevel);
}

Material* Material::cloneTarget(const char* newName, u32 purgeLevel) {
    Material* found = SceneGraph::createMaterial(materialType, newName, purgeLevel);
    if (found != nullptr && found->getType() != materialType) {
        REPORT(kCloneKind);
        SceneGraph::dereferenceResource(found);
        return nullptr;
    }
    return found;
}

void Material::sendSampler(const char* sampler, const Texture* texture, u32 unit) const {
    if (texture != nullptr) {
        program->setTextureSampler(sampler, texture, unit);
    } else {
        REPORT(kNoTexture);
    }
}

void Material::sendSampler(const char* sampler, const CubeMap* map, u32 unit) const {
    if (map != nullptr) {
        program->setCubeMapSampler(sampler, map, unit);
    } else {
        REPORT(kNoTexture);
    }
}

void Material::lightOrWhite(const Light* light, vec3* position, vec3* color) {
    if (light != nullptr) {
        *position = light->worldPosition();
        *color = light->emittedColor();
    } else {
        REPORT(kNoLight);
        *position = vec3(0, 0, 0);
        *color = vec3(1, 1, 1);
    }
}

void Material::loadDefaultTexture(Texture** slot) {
    Texture::loadPinned(slot, "../textures/notex.png", kKeepCached);
}

void Material::releaseSlot(Resource* resource) {
    if (resource != nullptr) {
        MemoryCheck();
        releasePinned(resource);
        MemoryCheck();
    }
}

void Material::prepare(RenderContext* context, Geometry* geometry) {
    if (program != nullptr && context->currentProgram != program) {
        program->activate();
        context->currentProgram = program;
    }
    prepareMaterial(context, geometry);
}

Material* MaterialCreateStandard(u32 materialType, const char* name, u32 purgeLevel) {
    switch (materialType) {
    case kMaterialDirectional:
        return new MaterialDirectional(name, purgeLevel);
    case kMaterialPoint:
        return new MaterialPoint(name, purgeLevel);
    case kMaterialColorful:
        return new MaterialColorful(name, purgeLevel);
    case kMaterialWeird:
        return new MaterialWeird(name, purgeLevel);
    case kMaterialTextured:
        return new MaterialTextured(name, purgeLevel);
    case kMaterialReflective:
        return new MaterialReflective(name, purgeLevel);
    default:
        return nullptr;
    }
}
