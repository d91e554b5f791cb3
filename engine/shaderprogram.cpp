#include "engine/shaderprogram.h"

#include "engine/cubemap.h"
#include "engine/memory.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/shader.h"
#include "engine/texture.h"

#include <GLES2/gl2.h>
#include <cstring>

namespace {

const Result kCannotLink = {1, "Couldn't link shaders"};
const Result kNoClone = {1, "Cloning a shader program resource is not permitted"};

constexpr u32 kLogSize = 16384;
// Entries of a location table when it takes its first name (a power of two).
constexpr u32 kFirstTableSize = 32;
constexpr u32 kTrackedArrays = 32;

// Attribute arrays enabled through setAttributePointer, and those pointed in
// the current binding pass (one bit per location below kTrackedArrays).
u32 enabledArrays = 0;
u32 boundArrays = 0;

u32 shaderId(const Shader* shader) {
    return shader != nullptr ? shader->getId() : 0;
}

// Sends arrayCount values of 1 to 4 components through the entry point for
// that size; false for an undeclared uniform or a size out of range.
template <typename Upload, typename T>
bool uploadVector(const Upload (&upload)[4], i32 at, const T* v, u32 arrayCount, u32 components) {
    if (at < 0 || components < 1 || components > 4) {
        return false;
    }
    upload[components - 1](at, static_cast<GLsizei>(arrayCount), v);
    return true;
}

} // namespace

ShaderProgram::ShaderProgram(const char* name, Shader* vertex, Shader* fragment, u32 purgeLevel)
    : Resource(name, purgeLevel, kResourceShaderProgram), vertexShader(vertex),
      fragmentShader(fragment), id(0), linked(false), matrixLocations{}, matricesLocated(false) {
    if (name == nullptr || name[0] == 0) {
        REPORT(kInvalidArgument);
    }
    pinHeld(vertex);
    pinHeld(fragment);
    GL_ASSERT();
    link();
    setSize((vertex != nullptr ? vertex->getSize() : 0) +
            (fragment != nullptr ? fragment->getSize() : 0));
}

void ShaderProgram::link() {
    uniforms.clear();
    attributes.clear();
    matricesLocated = false;
    id = glCreateProgram();
    GL_ASSERT();
    if (shaderId(vertexShader) != 0) {
        glAttachShader(id, shaderId(vertexShader));
    }
    if (shaderId(fragmentShader) != 0) {
        glAttachShader(id, shaderId(fragmentShader));
    }
    GL_ASSERT();
    glLinkProgram(id);
    GL_ASSERT();
    GLint status = 0;
    glGetProgramiv(id, GL_LINK_STATUS, &status);
    GL_ASSERT();
    linked = status != 0;
    if (linked) {
        return;
    }
    REPORT(kCannotLink);
    char* log = static_cast<char*>(MemoryAllocateZeroed(kLogSize, 1));
    glGetProgramInfoLog(id, kLogSize, nullptr, log);
    GL_ASSERT();
    if (log[0] != 0) {
        Result error = {2, log};
        REPORT(error);
    }
    MemoryFree(log);
}

ShaderProgram::~ShaderProgram() {
    if (id != 0) {
        glDeleteProgram(id);
        GL_ASSERT();
    }
    releasePinned(vertexShader);
    releasePinned(fragmentShader);
}

Resource* ShaderProgram::clone(const char*, u32) {
    REPORT(kNoClone);
    return nullptr;
}

void ShaderProgram::print(FILE* file) const {
    std::fprintf(file, "    [ V.SHADER ][ %s ]\n",
                 vertexShader != nullptr ? vertexShader->nameText() : "");
    std::fprintf(file, "    [ F.SHADER ][ %s ]\n",
                 fragmentShader != nullptr ? fragmentShader->nameText() : "");
    std::fprintf(file, "    [ GL ID    ][ %u ]\n", id);
}

void ShaderProgram::activate() const {
    glUseProgram(id);
    GL_ASSERT();
}

// A program that failed to link has no locations to keep: every request
// goes to GL, which reports it.
i32 ShaderProgram::getAttributeLocation(const char* name) const {
    if (name == nullptr) {
        return -1;
    }
    if (linked) {
        return attributes.locate(id, name, glGetAttribLocation);
    }
    i32 at = glGetAttribLocation(id, name);
    GL_ASSERT();
    return at;
}

i32 ShaderProgram::getUniformLocation(const char* name) const {
    if (name == nullptr) {
        return -1;
    }
    if (linked) {
        return uniforms.locate(id, name, glGetUniformLocation);
    }
    i32 at = glGetUniformLocation(id, name);
    GL_ASSERT();
    return at;
}

const i32* ShaderProgram::getMatrixLocations() const {
    if (!matricesLocated) {
        for (u32 i = 0; i < MatrixTransformation::kMatrixCount; i++) {
            matrixLocations[i] = getUniformLocation(MatrixTransformation::getName(i));
        }
        matricesLocated = linked;
    }
    return matrixLocations;
}

i32 ShaderProgram::LocationTable::locate(u32 program, const char* name,
                                         i32 (*ask)(u32, const char*)) {
    const u32 hash = StringHash(name);
    if (capacity != 0) {
        const Entry* known = slot(name, hash);
        if (known->name != nullptr) {
            return known->location;
        }
    }
    if ((used + 1) * 4 > capacity * 3) {
        grow();
    }
    Entry* entry = slot(name, hash);
    entry->name = StringDuplicate(name);
    entry->hash = hash;
    entry->location = ask(program, name);
    used++;
    return entry->location;
}

// The entry holding name, or the empty entry where it belongs. The table is
// never full, so the probe ends.
ShaderProgram::LocationTable::Entry* ShaderProgram::LocationTable::slot(const char* name,
                                                                        u32 hash) const {
    const u32 mask = capacity - 1;
    for (u32 i = hash & mask;; i = (i + 1) & mask) {
        Entry* entry = &entries[i];
        if (entry->name == nullptr ||
            (entry->hash == hash && std::strcmp(entry->name, name) == 0)) {
            return entry;
        }
    }
}

void ShaderProgram::LocationTable::grow() {
    Entry* old = entries;
    const u32 oldCapacity = capacity;
    capacity = capacity == 0 ? kFirstTableSize : capacity * 2;
    entries = static_cast<Entry*>(MemoryAllocateZeroed(capacity, sizeof(Entry)));
    for (u32 i = 0; i < oldCapacity; i++) {
        if (old[i].name != nullptr) {
            *slot(old[i].name, old[i].hash) = old[i];
        }
    }
    if (old != nullptr) {
        MemoryFree(old);
    }
}

void ShaderProgram::LocationTable::clear() {
    for (u32 i = 0; i < capacity; i++) {
        if (entries[i].name != nullptr) {
            MemoryFree(entries[i].name);
        }
    }
    if (entries != nullptr) {
        MemoryFree(entries);
    }
    entries = nullptr;
    capacity = 0;
    used = 0;
}

bool ShaderProgram::setAttributePointer(const char* name, u32 components, bool normalized,
                                        u32 stride, const void* data) const {
    i32 location = getAttributeLocation(name);
    if (location < 0) {
        return false;
    }
    glVertexAttribPointer(static_cast<GLuint>(location), static_cast<GLint>(components), GL_FLOAT,
                          normalized ? GL_TRUE : GL_FALSE,
                          static_cast<GLsizei>(stride * sizeof(f32)), data);
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    GL_ASSERT();
    if (static_cast<u32>(location) < kTrackedArrays) {
        enabledArrays |= 1u << location;
        boundArrays |= 1u << location;
    }
    return true;
}

void ShaderProgram::beginAttributes() {
    boundArrays = 0;
}

void ShaderProgram::endAttributes() {
    u32 stale = enabledArrays & ~boundArrays;
    for (u32 location = 0; stale != 0; location++, stale >>= 1) {
        if ((stale & 1) != 0) {
            glDisableVertexAttribArray(location);
        }
    }
    enabledArrays = boundArrays;
    GL_ASSERT();
}

bool ShaderProgram::setConstantAttribute(const char* name, const f32* values,
                                         u32 components) const {
    i32 location = getAttributeLocation(name);
    if (location < 0 || components < 1 || components > 4) {
        return false;
    }
    GLuint at = static_cast<GLuint>(location);
    switch (components) {
    case 1:
        glVertexAttrib1fv(at, values);
        break;
    case 2:
        glVertexAttrib2fv(at, values);
        break;
    case 3:
        glVertexAttrib3fv(at, values);
        break;
    default:
        glVertexAttrib4fv(at, values);
        break;
    }
    GL_ASSERT();
    return true;
}

// One value of 1 to 4 components is an array of one.
bool ShaderProgram::setUniform(const char* name, const i32* v, u32 count) const {
    return setUniformVector(name, v, 1, count);
}

bool ShaderProgram::setUniform(const char* name, const f32* v, u32 count) const {
    return setUniformVector(name, v, 1, count);
}

bool ShaderProgram::setUniformVector(const char* name, const i32* v, u32 arrayCount,
                                     u32 components) const {
    static const decltype(&glUniform1iv) kUpload[4] = {glUniform1iv, glUniform2iv, glUniform3iv,
                                                       glUniform4iv};
    bool sent = uploadVector(kUpload, getUniformLocation(name), v, arrayCount, components);
    GL_ASSERT();
    return sent;
}

bool ShaderProgram::setUniformVector(const char* name, const f32* v, u32 arrayCount,
                                     u32 components) const {
    static const decltype(&glUniform1fv) kUpload[4] = {glUniform1fv, glUniform2fv, glUniform3fv,
                                                       glUniform4fv};
    bool sent = uploadVector(kUpload, getUniformLocation(name), v, arrayCount, components);
    GL_ASSERT();
    return sent;
}

bool ShaderProgram::setUniformMatrix(const char* name, const f32* m, u32 count,
                                     u32 dimension) const {
    static const decltype(&glUniformMatrix2fv) kUpload[3] = {glUniformMatrix2fv, glUniformMatrix3fv,
                                                             glUniformMatrix4fv};
    i32 at = getUniformLocation(name);
    if (at < 0 || dimension < 2 || dimension > 4) {
        return false;
    }
    kUpload[dimension - 2](at, static_cast<GLsizei>(count), GL_FALSE, m);
    GL_ASSERT();
    return true;
}

bool ShaderProgram::bindSampler(const char* name, u32 target, u32 textureId, u32 unit) const {
    i32 at = getUniformLocation(name);
    if (at < 0) {
        return false;
    }
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(target, textureId);
    GL_ASSERT();
    glUniform1i(at, static_cast<GLint>(unit));
    GL_ASSERT();
    return true;
}

bool ShaderProgram::setTextureSampler(const char* name, const Texture* texture, u32 unit) const {
    return bindSampler(name, GL_TEXTURE_2D, texture != nullptr ? texture->getId() : 0, unit);
}

bool ShaderProgram::setCubeMapSampler(const char* name, const CubeMap* cubeMap, u32 unit) const {
    return bindSampler(name, GL_TEXTURE_CUBE_MAP, cubeMap != nullptr ? cubeMap->getId() : 0, unit);
}
