#include "noise.h"

#include <cmath>

namespace {

uint32_t scramble(uint32_t h) {
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

float lattice(int x, int y, int period, uint32_t seed) {
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
    return HashUnit(static_cast<uint32_t>(y * period + x), seed);
}

float smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}

} // namespace

float HashUnit(uint32_t key, uint32_t seed) {
    return static_cast<float>(scramble(key ^ scramble(seed + 0x9e3779b9u)) >> 8) / 16777216.0f;
}

float TileNoise(float u, float v, int period, uint32_t seed) {
    float x = u * period, y = v * period;
    float fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    float tx = smooth(x - fx), ty = smooth(y - fy);
    float top = lattice(ix, iy, period, seed) +
                (lattice(ix + 1, iy, period, seed) - lattice(ix, iy, period, seed)) * tx;
    float bottom = lattice(ix, iy + 1, period, seed) +
                   (lattice(ix + 1, iy + 1, period, seed) - lattice(ix, iy + 1, period, seed)) * tx;
    return top + (bottom - top) * ty;
}

float TileFractal(float u, float v, int period, int octaves, uint32_t seed) {
    float sum = 0.0f, weight = 1.0f, total = 0.0f;
    for (int k = 0; k < octaves; k++) {
        sum += TileNoise(u, v, period << k, seed + static_cast<uint32_t>(k)) * weight;
        total += weight;
        weight *= 0.5f;
    }
    return sum / total;
}
