#include "engine/shader.h"

Shader::Shader(const char* key, const char*, const char*, u32, u32 purgeLevel)
    : Resource(key, purgeLevel, kResourceShader), id(0) {}
