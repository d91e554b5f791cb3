#include "engine/cubemap.h"

CubeMap::CubeMap(const char* name, const char*, const char*, const char*, const char*, const char*,
                 const char*, u32 purgeLevel)
    : Resource(name, purgeLevel, kResourceCubeMap), id(0) {}
