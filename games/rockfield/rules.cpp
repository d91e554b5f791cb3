#include "games/rockfield/rules.h"

#include <cstdio>
#include <cstdlib>

namespace {

u32 nameCounter = 0;

} // namespace

f32 RandomRange(f32 a, f32 b) {
    f32 unit = static_cast<f32>(std::rand() & 0x7fff) / 32767.0f;
    return a + unit * (b - a);
}

void UniqueName(const char* stem, char* out, u32 size) {
    nameCounter++;
    std::snprintf(out, size, "%u_%s", nameCounter, stem);
}

i32 RaisedLevel(i32 level, f32 ahead) {
    if (level <= 3 && ahead < 400) {
        return 4;
    }
    if (level <= 2 && ahead < 700) {
        return 3;
    }
    return level;
}

bool HasPassed(f32 ahead, f32 size) {
    return ahead < -size;
}

bool SpawnDue(f32* nextSpawn, f32 time) {
    if (!(*nextSpawn < time)) {
        return false;
    }
    *nextSpawn = time + kSpawnInterval;
    return true;
}
