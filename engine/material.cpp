#include "engine/material.h"

#include "engine/materialphong.h"
#include "engine/memory.h"
#include "engine/rendercontext.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/shaderprogram.h"

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
    case kMaterialWeird:
    case kMaterialTextured:
    case kMaterialReflective:
        return new Material(name, purgeLevel, materialType);
    default:
        return nullptr;
    }
}
