#include "engine/trianglemesh.h"

#include "engine/group.h"
#include "engine/indexarray.h"
#include "engine/material.h"
#include "engine/matrixtransformation.h"
#include "engine/memory.h"
#include "engine/pwnparser.h"
#include "engine/rendercontext.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/shaderprogram.h"
#include "engine/vertexarray.h"

#include <GLES2/gl2.h>
#include <cstdio>
#include <cstring>

namespace {

constexpr u32 kNameSize = 16;
constexpr u32 kWarningSize = 1200;

// One input of the interleaved vertex: its data, floats and attribute name.
struct Input {
    const f32* data;
    u32 components;
    const char* name;
};

} // namespace

TriangleMesh::TriangleMesh(const char* name)
    : Geometry(name, kNodeTriangleMesh), vertexArray(nullptr), indexArray(nullptr),
      material(nullptr), indicesWarned(false) {}

TriangleMesh::TriangleMesh(const char* name, VertexArray* vertices, IndexArray* indices,
                           Material* material_, bool addRef)
    : TriangleMesh(name) {
    setVertexArray(vertices, addRef);
    setIndexArray(indices, addRef);
    setMaterial(material_, addRef);
}

TriangleMesh::TriangleMesh(const char* name, const char* file, bool uniqueNames, u32 purgeLevel)
    : TriangleMesh(name) {
    Group* group = SceneGraph::createGroup("temp_group");
    PwnParse(group, file, true, uniqueNames, purgeLevel);
    Node* first = group->getChild(0);
    if (first != nullptr && first->getType() == kNodeTriangleMesh) {
        TriangleMesh* mesh = static_cast<TriangleMesh*>(first);
        setVertexArray(mesh->getVertexArray(), true);
        setIndexArray(mesh->getIndexArray(), true);
        setMaterial(mesh->getMaterial(), true);
    }
    SceneGraph::deleteNode(group);
}

TriangleMesh::TriangleMesh(const char* name, const f32* positions, const f32* texcoords,
                           const f32* normals, const f32* colors, u32 vertexCount,
                           const u16* indices, u32 indexCount, u32 layout, u32 purgeLevel)
    : TriangleMesh(name) {
    setVertexData(positions, texcoords, normals, colors, vertexCount, purgeLevel);
    setIndexData(indices, indexCount, layout, purgeLevel);
}

TriangleMesh::~TriangleMesh() {
    setVertexArray(nullptr, false);
    setIndexArray(nullptr, false);
    setMaterial(nullptr, false);
}

void TriangleMesh::setVertexData(const f32* positions, const f32* texcoords, const f32* normals,
                                 const f32* colors, u32 vertexCount, u32 purgeLevel) {
    char name[kNameSize];
    SceneGraph::makeArrayName(kResourceVertexArray, name, kNameSize);
    setVertexArray(nullptr, false);
    const Input inputs[4] = {{positions, 3, "Vertex"},
                             {texcoords, 2, "TexCoord"},
                             {normals, 3, "Normal"},
                             {colors, 4, "Color"}};
    u32 stride = 0;
    for (const Input& input : inputs) {
        stride += input.data != nullptr ? input.components : 0;
    }
    f32* data = static_cast<f32*>(MemoryAllocateZeroed(vertexCount * stride, sizeof(f32)));
    u32 offset = 0;
    for (const Input& input : inputs) {
        if (input.data == nullptr) {
            continue;
        }
        for (u32 v = 0; v < vertexCount; v++) {
            std::memcpy(data + v * stride + offset, input.data + v * input.components,
                        input.components * sizeof(f32));
        }
        offset += input.components;
    }
    setVertexArray(SceneGraph::createVertexArray(name, data, stride, vertexCount, purgeLevel),
                   false);
    MemoryFree(data);
    offset = 0;
    for (const Input& input : inputs) {
        if (input.data != nullptr) {
            vertexArray->setAttribute(offset, input.components, input.name);
            offset += input.components;
        }
    }
}

void TriangleMesh::setIndexData(const u16* indices, u32 count, u32 layout, u32 purgeLevel) {
    char name[kNameSize];
    SceneGraph::makeArrayName(kResourceIndexArray, name, kNameSize);
    setIndexArray(nullptr, false);
    setIndexArray(SceneGraph::createIndexArray(name, indices, count, layout, purgeLevel), false);
}

void TriangleMesh::setVertexArray(VertexArray* vertices, bool addRef) {
    Resource::assignPinned(&vertexArray, vertices, addRef);
    indicesWarned = false;
}

void TriangleMesh::setIndexArray(IndexArray* indices, bool addRef) {
    Resource::assignPinned(&indexArray, indices, addRef);
    indicesWarned = false;
}

void TriangleMesh::setMaterial(Material* material_, bool addRef) {
    GL_ASSERT();
    Resource::assignPinned(&material, material_, addRef);
    GL_ASSERT();
}

void TriangleMesh::prepareDrawing(RenderContext* context) {
    ShaderProgram* program = material->getProgram();
    MatrixTransformation* matrices = context->matrices;
    i32 location = program->getUniformLocation("NormalMatrix");
    if (location >= 0) {
        getNormalMatrix(matrices->normalMatrix);
        glUniformMatrix3fv(location, 1, GL_FALSE, &matrices->normalMatrix.m[0]);
    }
    location = program->getUniformLocation("ViewPosition");
    if (location >= 0) {
        glUniform3fv(location, 1, &matrices->viewPosition.x);
    }
    GL_ASSERT();
}

bool TriangleMesh::indicesFit() {
    if (indexArray == nullptr || indexArray->getCount() == 0 ||
        indexArray->getMaxIndex() < vertexArray->getCount()) {
        return true;
    }
    if (!indicesWarned) {
        indicesWarned = true;
        char text[kWarningSize];
        std::snprintf(text, sizeof text,
                      "The mesh %s is not drawn: its index %u lies past its %u vertices", getName(),
                      u32(indexArray->getMaxIndex()), vertexArray->getCount());
        REPORT((Result{1, text}));
    }
    return false;
}

void TriangleMesh::drawSelf(RenderContext* context) {
    if (material == nullptr || vertexArray == nullptr || material->getProgram() == nullptr ||
        !indicesFit()) {
        return;
    }
    GL_ASSERT();
    ShaderProgram* program = material->getProgram();
    material->prepare(context, this);
    prepareDrawing(context);
    context->matrices->setTransformationMatrices(program);
    vertexArray->bindAttributes(program);
    if (indexArray != nullptr) {
        glDrawElements(indexArray->getPrimitiveMode(), static_cast<GLsizei>(indexArray->getCount()),
                       GL_UNSIGNED_SHORT, indexArray->getArray());
    } else {
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertexArray->getCount()));
    }
    GL_ASSERT();
}

Node* TriangleMesh::clone() const {
    TriangleMesh* copy =
        SceneGraph::createTriangleMesh(getName(), vertexArray, indexArray, material, true);
    copyLightsTo(copy);
    return copy;
}
