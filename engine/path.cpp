#include "engine/path.h"

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
