#include "engine/material.h"

#include "engine/memory.h"
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

Material* Material::create(u32 materialType, const char* name, u32 purgeLevel) {
    GL_ASSERT();
    return new Material(name, purgeLevel, materialType);
}
