#include "engine/path.h"

#include "engine/platform.h"

namespace {

constexpr u32 kMaxPath = 4096;

} // namespace

bool PathNormalize(const char* path, char* out, u32 size) {
    if (size == 0) {
        return false;
    }
    for (u32 i = 0; i < size; i++) {
        char c = path[i];
        out[i] = c == '\\' ? '/' : c;
        if (c == 0) {
            return true;
        }
    }
    out[0] = 0;
    return false;
}

FILE* PathOpen(const char* path, const char* mode) {
    char normalized[kMaxPath];
    if (!PathNormalize(path, normalized, kMaxPath)) {
        return nullptr;
    }
    return std::fopen(normalized, mode);
}

void PathLoadImage(const char* path, u8** pixels, u32* width, u32* height, u32* bytesPerPixel) {
    char normalized[kMaxPath];
    *pixels = nullptr;
    if (PathNormalize(path, normalized, kMaxPath)) {
        PlatformLoadImage(normalized, pixels, width, height, bytesPerPixel);
    }
}
