#include "engine/vertexarray.h"

#include "engine/indexarray.h"
#include "engine/memory.h"
#include "engine/result.h"
#include "engine/shaderprogram.h"
#include "engine/vecmath.h"

#include <cmath>
#include <cstring>

namespace {

const Result kTooMany = {1, "Too many attributes"};
const Result kOffsetPastStride = {1, "The offset is greater or equal to stride"};
const Result kPastStride = {1, "The attribute runs past the stride"};
const Result kAlreadySet = {1, "The attribute is already set"};
const Result kNoPositions = {1, "No vertex positions found"};
const Result kHasNormals = {1, "Vertex array already has normals"};

vec3 readVec3(const f32* p) {
    return vec3(p[0], p[1], p[2]);
}

} // namespace

VertexArray::VertexArray(const char* name, const f32* source, u32 floatsPerVertex_,
                         u32 vertexCount_, u32 purgeLevel)
    : Resource(name, purgeLevel, kResourceVertexArray), data(nullptr), vertexCount(vertexCount_),
      floatsPerVertex(floatsPerVertex_), attributeCount(0), offsets(), components(), names() {
    if (name == nullptr || name[0] == 0) {
        REPORT(kInvalidArgument);
    }
    u32 floats = vertexCount * floatsPerVertex;
    data = static_cast<f32*>(MemoryAllocateZeroed(floats, sizeof(f32)));
    if (source != nullptr) {
        std::memcpy(data, source, floats * sizeof(f32));
    }
    setSize(floats * sizeof(f32));
}

VertexArray::~VertexArray() {
    MemoryFree(data);
    for (u32 i = 0; i < attributeCount; i++) {
        MemoryFree(names[i]);
    }
}

Resource* VertexArray::clone(const char* newName, u32 purgeLevel) {
    VertexArray* copy = new VertexArray(newName, data, floatsPerVertex, vertexCount, purgeLevel);
    for (u32 i = 0; i < attributeCount; i++) {
        copy->setAttribute(offsets[i], components[i], names[i]);
    }
    return copy;
}

void VertexArray::print(FILE* file) const {
    std::fprintf(file, "    [ N ELEMS  ][ %u ]\n", vertexCount);
    std::fprintf(file, "    [ STRIDE   ][ %u ]\n", floatsPerVertex);
    std::fprintf(file, "    [ N ATTR.  ][ %u ]\n", attributeCount);
}

void VertexArray::setAttribute(u32 offset, u32 count, const char* name) {
    if (count == 0) {
        return;
    }
    if (attributeCount == kMaxAttributes) {
        REPORT(kTooMany);
        return;
    }
    if (offset >= floatsPerVertex) {
        REPORT(kOffsetPastStride);
        return;
    }
    if (count > floatsPerVertex - offset) {
        REPORT(kPastStride);
        return;
    }
    i32 existing = findAttribute(name);
    if (existing >= 0) {
        if (offsets[existing] != offset || components[existing] != count) {
            REPORT(kAlreadySet);
        }
        return;
    }
    u32 at = attributeCount;
    while (at > 0 && offsets[at - 1] > offset) {
        offsets[at] = offsets[at - 1];
        components[at] = components[at - 1];
        names[at] = names[at - 1];
        at--;
    }
    offsets[at] = offset;
    components[at] = count;
    names[at] = StringDuplicate(name);
    attributeCount++;
}

void VertexArray::bindAttributes(const ShaderProgram* program) const {
    ShaderProgram::beginAttributes();
    if (attributeCount == 1) {
        program->setAttributePointer(names[0], components[0], false, 0, data);
    } else {
        for (u32 i = 0; i < attributeCount; i++) {
            program->setAttributePointer(names[i], components[i], false, floatsPerVertex,
                                         data + offsets[i]);
        }
    }
    ShaderProgram::endAttributes();
}

void VertexArray::generateNormals(const IndexArray* indices) {
    // The positions are three floats at the attribute's offset, which must
    // all lie inside the vertex.
    i32 vertex = findAttribute("Vertex");
    if (vertex < 0 || offsets[vertex] + 3 > floatsPerVertex) {
        REPORT(kNoPositions);
        return;
    }
    if (findAttribute("Normal") >= 0) {
        REPORT(kHasNormals);
        return;
    }
    if (attributeCount == kMaxAttributes) {
        REPORT(kTooMany);
        return;
    }
    u32 old = floatsPerVertex;
    u32 stride = old + 3;
    f32* grown = static_cast<f32*>(MemoryAllocateZeroed(vertexCount * stride, sizeof(f32)));
    for (u32 v = 0; v < vertexCount; v++) {
        std::memcpy(grown + v * stride, data + v * old, old * sizeof(f32));
    }
    const u16* index = indices != nullptr ? indices->getArray() : nullptr;
    u32 triples = indices != nullptr ? indices->getCount() / 3 : 0;
    const u32 at = offsets[vertex];
    for (u32 t = 0; t < triples; t++) {
        const u16* tri = index + 3 * t;
        if (tri[0] >= vertexCount || tri[1] >= vertexCount || tri[2] >= vertexCount) {
            continue;
        }
        vec3 p0 = readVec3(data + tri[0] * old + at);
        vec3 p1 = readVec3(data + tri[1] * old + at);
        vec3 p2 = readVec3(data + tri[2] * old + at);
        vec3 n = (p2 - p1).cross(p1 - p0) * 0.5f;
        for (u32 k = 0; k < 3; k++) {
            f32* normal = grown + tri[k] * stride + old;
            normal[0] += n.x;
            normal[1] += n.y;
            normal[2] += n.z;
        }
    }
    for (u32 v = 0; v < vertexCount; v++) {
        f32* normal = grown + v * stride + old;
        f32 q = normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2];
        if (q == 0.0f) {
            normal[0] = 1.0f;
            continue;
        }
        f32 inverse = 1.0f / std::sqrt(q);
        normal[0] *= inverse;
        normal[1] *= inverse;
        normal[2] *= inverse;
    }
    MemoryFree(data);
    data = grown;
    floatsPerVertex = stride;
    setAttribute(old, 3, "Normal");
}

const char* VertexArray::getAttributeName(u32 i) const {
    return i < attributeCount ? names[i] : nullptr;
}

u32 VertexArray::getAttributeOffset(u32 i) const {
    return i < attributeCount ? offsets[i] : 0;
}

u32 VertexArray::getAttributeComponents(u32 i) const {
    return i < attributeCount ? components[i] : 0;
}

i32 VertexArray::findAttribute(const char* name) const {
    for (u32 i = 0; i < attributeCount; i++) {
        if (std::strcmp(names[i], name) == 0) {
            return static_cast<i32>(i);
        }
    }
    return -1;
}
