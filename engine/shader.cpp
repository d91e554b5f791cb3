#include "engine/shader.h"

#include "engine/memory.h"
#include "engine/path.h"
#include "engine/result.h"

#include <GLES2/gl2.h>
#include <cstring>

namespace {

const Result kCannotLoad = {1, "Couldn't load shader source"};
const Result kCannotCompile = {1, "Couldn't compile shader"};
const Result kNoClone = {1, "Cloning a shader resource is not permitted"};
const Result kHeaderTooLong = {1, "The define header is too long"};

constexpr u32 kLogSize = 8192;

// The whole file as a zero-terminated text that the caller frees; null when
// it cannot be opened or read, or is empty.
char* readSource(const char* file, u32* length) {
    FILE* f = PathOpen(file, "rb");
    if (f == nullptr) {
        return nullptr;
    }
    long end = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        end = std::ftell(f);
    }
    char* text = nullptr;
    if (end > 0 && std::fseek(f, 0, SEEK_SET) == 0) {
        u32 size = static_cast<u32>(end);
        text = static_cast<char*>(MemoryAllocate(size + 1));
        if (std::fread(text, 1, size, f) != size) {
            MemoryFree(text);
            text = nullptr;
        } else {
            text[size] = 0;
            *length = size;
        }
    }
    std::fclose(f);
    return text;
}

} // namespace

Shader::Shader(const char* key, const char* header, const char* file, u32 kind, u32 purgeLevel)
    : Resource(key, purgeLevel, kResourceShader), id(0) {
    u32 length = 0;
    char* source = readSource(file, &length);
    if (source == nullptr) {
        REPORT(kCannotLoad);
        return;
    }
    setSize(length + static_cast<u32>(std::strlen(header)));
    compile(header, source, kind);
    MemoryFree(source);
}

void Shader::compile(const char* header, const char* source, u32 kind) {
    id = glCreateShader(kind == kVertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    const char* texts[2] = {header, source};
    glShaderSource(id, 2, texts, nullptr);
    glCompileShader(id);
    GLint status = 0;
    glGetShaderiv(id, GL_COMPILE_STATUS, &status);
    GL_ASSERT();
    if (status != 0) {
        return;
    }
    REPORT(kCannotCompile);
    char* log = static_cast<char*>(MemoryAllocateZeroed(kLogSize, 1));
    glGetShaderInfoLog(id, kLogSize, nullptr, log);
    if (log[0] != 0) {
        REPORT((Result{1, log}));
    }
    MemoryFree(log);
}

Shader::~Shader() {
    if (id != 0) {
        glDeleteShader(id);
    }
    GL_ASSERT();
}

Resource* Shader::clone(const char*, u32) {
    REPORT(kNoClone);
    return nullptr;
}

void Shader::print(FILE* file) const {
    std::fprintf(file, "    [ GL ID    ][ %u ]\n", id);
}

char* Shader::makeDefineHeader(const char* const* names, u32 count) {
    char buffer[kDefineHeaderSize];
    u32 used = 0;
    buffer[0] = 0;
    for (u32 i = 0; i < count; i++) {
        int written =
            std::snprintf(buffer + used, kDefineHeaderSize - used, "#define %s\n", names[i]);
        if (written < 0 || static_cast<u32>(written) >= kDefineHeaderSize - used) {
            REPORT(kHeaderTooLong);
            return nullptr;
        }
        used += static_cast<u32>(written);
    }
    return StringDuplicate(buffer);
}
