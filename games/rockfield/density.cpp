#include "games/rockfield/density.h"

#include "games/rockfield/noise.h"
#include "games/rockfield/voxelblock.h"

#include <cmath>
#include <cstring>

namespace {

const f32 kNoiseScale = 4.0f;

// The density of one interior voxel.
u8 ballDensity(ivec3 p, i32 n, f32 noiseStep, vec3 offset) {
    vec3 q = (p - ivec3{1, 1, 1}).toVec3();
    f32 half = static_cast<f32>(n) / 2;
    vec3 d = vec3(half, half, half) - q;
    f32 d2 = d.x * d.x + d.y * d.y + d.z * d.z;
    f64 limit = static_cast<f64>(n - 1) * (n - 1);
    if (d2 > limit) {
        return 0;
    }
    f64 r = AsteroidNoise(q.x * noiseStep + offset.x, q.y * noiseStep + offset.y,
                          q.z * noiseStep + offset.z);
    f64 density = (r * 0.5 + 0.5) * 255;
    i32 value = static_cast<i32>((1 - std::sqrt(d2 / limit)) * density);
    return static_cast<u8>(value & 0xff);
}

} // namespace

void FillAsteroidBlock(u8* block, i32 level, vec3 offset) {
    i32 n = 1 << level;
    FillNoiseBall(block, n, kNoiseScale / static_cast<f32>(n), offset);
}

void FillNoiseBall(u8* block, i32 n, f32 noiseStep, vec3 offset) {
    std::memset(block, 0, static_cast<size_t>(n) * n * n);
    for (BlockIterator it(n, n, n, block); it.valid(); it.next()) {
        *it.pointer() = ballDensity(it.position(), n, noiseStep, offset);
    }
}

vec3 SolidCentroid(u8* block, i32 n) {
    vec3 sum(0, 0, 0);
    u32 count = 0;
    for (BlockIterator it(n, n, n, block); it.valid(); it.next()) {
        if (*it.pointer() > 128) {
            sum = sum + it.position().toVec3();
            count++;
        }
    }
    return count == 0 ? sum : sum / static_cast<f32>(count);
}
