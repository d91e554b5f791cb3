#include "engine/texture.h"

Texture::Texture(const char* file, bool, u32, u32, u32 purgeLevel)
    : Resource(file, purgeLevel, kResourceTexture), id(0) {}

Texture::Texture(const u8*, const char* name, u32, u32, u32, bool, u32, u32, u32 purgeLevel)
    : Resource(name, purgeLevel, kResourceTexture), id(0) {}
