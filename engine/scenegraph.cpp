#include "engine/scenegraph.h"

#include "engine/camera.h"
#include "engine/cubemap.h"
#include "engine/group.h"
#include "engine/indexarray.h"
#include "engine/light.h"
#include "engine/material.h"
#include "engine/memory.h"
#include "engine/resourcelist.h"
#include "engine/result.h"
#include "engine/shader.h"
#include "engine/shaderprogram.h"
#include "engine/sprite.h"
#include "engine/state.h"
#include "engine/text.h"
#include "engine/texture.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "engine/world.h"

#include <cstdio>
#include <cstring>

namespace {

const Result kNotInitialized = {2, "The scene graph is not initialised"};

// The order in which the lists are made, deleted, purged and dumped: every
// list is still alive while the objects of the lists before it give their
// references back to it.
const u32 kListOrder[kResourceTypeCount] = {
    kResourceMaterial, kResourceShaderProgram, kResourceVertexArray, kResourceIndexArray,
    kResourceTexture,  kResourceCubeMap,       kResourceShader};
const char* const kListNames[kResourceTypeCount] = {
    "VertexArray", "IndexArray", "Texture", "CubeMap", "Shader", "ShaderProgram", "Material"};

// The one registry. Constructed before the program's main code runs;
// init and shutdown are called explicitly by the host.
struct Registry {
    Text* text;
    u32 initialized;
    ResourceList* lists[kResourceTypeCount];
    f32 screenWidth;
    f32 screenHeight;
    u16 arrayNameCounter;
};

Registry registry = {};

ResourceList* listOf(u32 type) {
    if (registry.lists[type] == nullptr) {
        REPORT(kNotInitialized);
    }
    return registry.lists[type];
}

// Finds the name (one more reference, purge level raised) or adds the
// object that make() constructs (count 1).
template <class T, class Make>
T* createOrFind(u32 type, const char* name, u32 purgeLevel, Make make) {
    ResourceList* list = listOf(type);
    Resource* found = list->find(name);
    if (found != nullptr) {
        found->raisePurgeLevel(purgeLevel);
        return static_cast<T*>(found);
    }
    T* created = make();
    list->add(created);
    return created;
}

template <class T> T* findIn(u32 type, const char* name) {
    return static_cast<T*>(listOf(type)->find(name));
}

// The shader of that header and file, found or created, with one reference.
Shader* shaderFor(const char* header, const char* file, u32 kind, u32 purgeLevel) {
    u32 length = static_cast<u32>(std::strlen(header) + std::strlen(file)) + 1;
    char* key = static_cast<char*>(MemoryAllocate(length));
    std::snprintf(key, length, "%s%s", header, file);
    Shader* shader = createOrFind<Shader>(kResourceShader, key, purgeLevel, [&] {
        return new Shader(key, header, file, kind, purgeLevel);
    });
    GL_ASSERT();
    MemoryFree(key);
    return shader;
}

} // namespace

void SceneGraph::init() {
    for (u32 type : kListOrder) {
        registry.lists[type] = new ResourceList(ResourceList::kDefaultBuckets);
    }
    registry.text = new Text("../fonts/font.png", 4);
    registry.initialized = 1;
}

void SceneGraph::shutdown() {
    for (u32 type : kListOrder) {
        delete registry.lists[type];
        registry.lists[type] = nullptr;
    }
    delete registry.text;
    registry.text = nullptr;
    registry.initialized = 0;
}

bool SceneGraph::isInitialized() {
    return registry.initialized != 0;
}

void SceneGraph::setScreenSize(i32 width, i32 height) {
    registry.screenWidth = static_cast<f32>(width);
    registry.screenHeight = static_cast<f32>(height);
    if (registry.text != nullptr) {
        registry.text->setScreenSize(registry.screenWidth, registry.screenHeight);
    }
}

Text* SceneGraph::getText() {
    return registry.text;
}

f32 SceneGraph::getScreenWidth() {
    return registry.screenWidth;
}

f32 SceneGraph::getScreenHeight() {
    return registry.screenHeight;
}

void SceneGraph::dumpResources() {
    MemoryCheck();
    for (u32 type : kListOrder) {
        listOf(type)->dump(kListNames[type]);
    }
    MemoryCheck();
}

ResourceList* SceneGraph::getResourceList(u32 type) {
    return type < kResourceTypeCount ? registry.lists[type] : nullptr;
}

Group* SceneGraph::createGroup(const char* name) {
    return new Group(name);
}

Group* SceneGraph::createGroup(const char* name, const char* file, bool uniqueNames,
                               u32 purgeLevel) {
    return new Group(name, file, uniqueNames, purgeLevel);
}

TriangleMesh* SceneGraph::createTriangleMesh(const char* name, const char* file, bool uniqueNames,
                                             u32 purgeLevel) {
    return new TriangleMesh(name, file, uniqueNames, purgeLevel);
}

Camera* SceneGraph::createCamera(const char* name) {
    return new Camera(name);
}

Light* SceneGraph::createLight(const char* name) {
    return new Light(name);
}

Light* SceneGraph::createLight(const char* name, vec3 color, f32 intensity) {
    return new Light(name, color, intensity);
}

State* SceneGraph::createState(const char* name) {
    return new State(name);
}

World* SceneGraph::createWorld(const char* name) {
    return new World(name);
}

Sprite* SceneGraph::createSprite(const char* name, Texture* texture, bool addRef) {
    return new Sprite(name, texture, addRef);
}

Sprite* SceneGraph::createSprite(const char* name, const char* file, u32 purgeLevel) {
    return new Sprite(name, file, purgeLevel);
}

TriangleMesh* SceneGraph::createTriangleMesh(const char* name, VertexArray* vertexArray,
                                             IndexArray* indexArray, Material* material,
                                             bool addRef) {
    return new TriangleMesh(name, vertexArray, indexArray, material, addRef);
}

TriangleMesh* SceneGraph::createTriangleMesh(const char* name, const f32* positions,
                                             const f32* texcoords, const f32* normals,
                                             const f32* colors, u32 vertexCount, const u16* indices,
                                             u32 indexCount, u32 layout, u32 purgeLevel) {
    return new TriangleMesh(name, positions, texcoords, normals, colors, vertexCount, indices,
                            indexCount, layout, purgeLevel);
}

void SceneGraph::deleteNode(Node* node) {
    delete node;
}

VertexArray* SceneGraph::createVertexArray(const char* name, const f32* data, u32 floatsPerVertex,
                                           u32 vertexCount, u32 purgeLevel) {
    return createOrFind<VertexArray>(kResourceVertexArray, name, purgeLevel, [&] {
        return new VertexArray(name, data, floatsPerVertex, vertexCount, purgeLevel);
    });
}

VertexArray* SceneGraph::getVertexArray(const char* name) {
    return findIn<VertexArray>(kResourceVertexArray, name);
}

IndexArray* SceneGraph::createIndexArray(const char* name, const u16* indices, u32 count,
                                         u32 layout, u32 purgeLevel) {
    return createOrFind<IndexArray>(kResourceIndexArray, name, purgeLevel, [&] {
        return new IndexArray(name, indices, count, layout, purgeLevel);
    });
}

IndexArray* SceneGraph::getIndexArray(const char* name) {
    return findIn<IndexArray>(kResourceIndexArray, name);
}

Texture* SceneGraph::createTexture(const char* file, bool mipmaps, u32 filter, u32 wrap,
                                   u32 purgeLevel) {
    return createOrFind<Texture>(kResourceTexture, file, purgeLevel, [&] {
        return new Texture(file, mipmaps, filter, wrap, purgeLevel);
    });
}

Texture* SceneGraph::createTexture(const u8* pixels, const char* name, u32 format, u32 width,
                                   u32 height, bool mipmaps, u32 filter, u32 wrap, u32 purgeLevel) {
    return createOrFind<Texture>(kResourceTexture, name, purgeLevel, [&] {
        return new Texture(pixels, name, format, width, height, mipmaps, filter, wrap, purgeLevel);
    });
}

Texture* SceneGraph::getTexture(const char* name) {
    return findIn<Texture>(kResourceTexture, name);
}

CubeMap* SceneGraph::createCubeMap(const char* name, const char* positiveX, const char* negativeX,
                                   const char* positiveY, const char* negativeY,
                                   const char* negativeZ, const char* positiveZ, u32 purgeLevel) {
    return createOrFind<CubeMap>(kResourceCubeMap, name, purgeLevel, [&] {
        return new CubeMap(name, positiveX, negativeX, positiveY, negativeY, negativeZ, positiveZ,
                           purgeLevel);
    });
}

CubeMap* SceneGraph::getCubeMap(const char* name) {
    return findIn<CubeMap>(kResourceCubeMap, name);
}

Material* SceneGraph::createMaterial(u32 materialType, const char* name, u32 purgeLevel) {
    return createOrFind<Material>(kResourceMaterial, name, purgeLevel,
                                  [&] { return Material::create(materialType, name, purgeLevel); });
}

Material* SceneGraph::getMaterial(const char* name) {
    return findIn<Material>(kResourceMaterial, name);
}

ShaderProgram* SceneGraph::createShaderProgram(const char* name, const char* header,
                                               const char* vertexFile, const char* fragmentFile,
                                               u32 purgeLevel) {
    return createOrFind<ShaderProgram>(kResourceShaderProgram, name, purgeLevel, [&] {
        Shader* vertex = shaderFor(header, vertexFile, Shader::kVertex, purgeLevel);
        Shader* fragment = shaderFor(header, fragmentFile, Shader::kFragment, purgeLevel);
        ShaderProgram* program = new ShaderProgram(name, vertex, fragment, purgeLevel);
        GL_ASSERT();
        return program;
    });
}

ShaderProgram* SceneGraph::getShaderProgram(const char* name) {
    return findIn<ShaderProgram>(kResourceShaderProgram, name);
}

bool SceneGraph::dereferenceResource(Resource* resource) {
    GL_ASSERT();
    if (resource == nullptr || registry.initialized == 0) {
        return false;
    }
    if (resource->getPurgeLevel() == 0) {
        u32 type = resource->getType();
        return type < kResourceTypeCount && registry.lists[type] != nullptr &&
               registry.lists[type]->remove(resource);
    }
    if (resource->referenceCount > 0) {
        resource->referenceCount--;
    }
    return false;
}

void SceneGraph::purge(u32 level) {
    for (u32 type : kListOrder) {
        listOf(type)->purge(level);
    }
}

void SceneGraph::makeArrayName(u32 type, char* out, u32 size) {
    const char* format = type == kResourceVertexArray ? "tm%4xv" : "tm%xv";
    const ResourceList* list = getResourceList(type);
    // Every one of the 65,536 names may be taken; then the last one tried is
    // handed out and the registry finds the existing array.
    for (u32 tries = 0; tries <= 0xFFFF; tries++) {
        std::snprintf(out, size, format, static_cast<u32>(registry.arrayNameCounter++));
        if (list == nullptr || !list->contains(out)) {
            return;
        }
    }
}
