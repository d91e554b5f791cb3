#include "engine/material.h"

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

namespace {

const Result kCloneKind = {1, "A material of another kind is registered under the clone's name"};

} // namespace

Material::Material(const char* name, u32 purgeLevel, u32 materialType_)
    : Resource(name, purgeLevel, kResourceMaterial), materialType(materialType_), program(nullptr) {
    GL_ASSERT();
}

Material::~Material() {
    MemoryCheck();
    if (program != nullptr) {
        SceneGraph::dereferenceResource(program);
    }
    MemoryCheck();
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
    if (found != nullptr && found->getMaterialType() != materialType) {
        REPORT(kCloneKind);
        SceneGraph::dereferenceResource(found);
        return nullptr;
    }
    return found;
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
