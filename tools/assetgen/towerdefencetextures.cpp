// The tower-defence game's textures: the grass and the stone of the field,
// which tile without a seam, the tower's and the enemy's pictures, laid out
// as columns that their models' parts map into, the health bar and the
// starry sky below the field.
#include "assets.h"
#include "noise.h"

#include <algorithm>
#include <cmath>

namespace {

// Grass: patches of lighter and darker green, fine blades and a few dry
// tufts, all from noise that repeats with the picture.
Color grassAt(float u, float v) {
    float patches = TileFractal(u, v, 4, 3, 101);
    float blades = TileNoise(u * 1.0f, v, 64, 102);
    float fine = TileNoise(u, v, 128, 103);
    Color c = Mix({0.16f, 0.38f, 0.10f, 1}, {0.36f, 0.62f, 0.20f, 1}, patches);
    c = Shade(c, 0.8f + 0.3f * blades + 0.15f * fine);
    float dry = Clamp01((TileNoise(u, v, 16, 104) - 0.72f) * 5.0f);
    return Mix(c, {0.55f, 0.55f, 0.25f, 1}, 0.5f * dry * fine);
}

// Reddish stone: mottled slabs with darker cracks between irregular cells.
Color stoneAt(float u, float v) {
    float mottle = TileFractal(u, v, 4, 4, 201);
    Color c = Mix({0.45f, 0.30f, 0.26f, 1}, {0.72f, 0.56f, 0.48f, 1}, mottle);
    float grain = TileNoise(u, v, 64, 202);
    c = Shade(c, 0.85f + 0.25f * grain);
    float crack = std::fabs(TileFractal(u, v, 8, 2, 203) - 0.5f);
    return Shade(c, crack < 0.02f ? 0.6f : 1.0f);
}

// The tower picture: stone blocks in its left half (the tower's base),
// riveted metal in its right half (turret and barrel). Light greys, so the
// tower kinds' colours tint them.
Color towerAt(float u, float v) {
    if (u < 0.5f) {
        float su = u * 2;
        int row = static_cast<int>(v * 8);
        float bu = su * 4 + (row % 2 == 0 ? 0.0f : 0.5f);
        float mortarU = std::fabs(bu - std::floor(bu + 0.5f));
        float mortarV = std::fabs(v * 8 - std::floor(v * 8 + 0.5f));
        float tone = 0.75f + 0.2f * HashUnit(static_cast<uint32_t>(row * 16 + bu), 301);
        Color c = Shade({0.92f, 0.90f, 0.86f, 1}, tone + 0.1f * TileNoise(u, v, 32, 302));
        return mortarU < 0.03f || mortarV < 0.06f ? Shade(c, 0.5f) : c;
    }
    float band = std::fabs(v * 6 - std::floor(v * 6 + 0.5f));
    Color c = Shade({0.80f, 0.82f, 0.85f, 1}, 0.8f + 0.2f * TileNoise(u, v, 16, 303));
    if (band < 0.06f) {
        c = Shade(c, 0.55f);
    }
    float rivet = std::hypot(std::fmod(u * 16, 1.0f) - 0.5f, std::fmod(v * 12, 1.0f) - 0.5f);
    return rivet < 0.15f ? Shade(c, 1.2f) : c;
}

// The enemy picture, in four columns: green scaly skin, dark hide for legs
// and pupils, white for the eyes and bone for horns and claws.
Color enemyAt(float u, float v) {
    float n = TileNoise(u, v, 32, 401);
    if (u < 0.25f) {
        float scales = TileNoise(u, v, 64, 402);
        Color c = Mix({0.20f, 0.50f, 0.12f, 1}, {0.45f, 0.75f, 0.20f, 1}, n);
        c = Shade(c, 0.8f + 0.35f * scales);
        return TileNoise(u, v, 12, 403) > 0.7f ? Shade(c, 0.6f) : c;
    }
    if (u < 0.5f) {
        return Shade({0.16f, 0.10f, 0.08f, 1}, 0.8f + 0.4f * n);
    }
    if (u < 0.75f) {
        return Shade({0.97f, 0.96f, 0.90f, 1}, 0.95f + 0.05f * n);
    }
    return Shade({0.92f, 0.86f, 0.66f, 1}, 0.85f + 0.15f * n);
}

// Stars of a few sizes over a dark blue haze.
Color skyAt(float u, float v) {
    float haze = TileFractal(u, v, 4, 4, 501);
    Color c = Mix({0.01f, 0.01f, 0.04f, 1}, {0.10f, 0.06f, 0.22f, 1}, haze * haze);
    int cx = static_cast<int>(u * 96), cy = static_cast<int>(v * 96);
    uint32_t cell = static_cast<uint32_t>(cy * 96 + cx);
    if (HashUnit(cell, 502) > 0.85f) {
        float sx = HashUnit(cell, 503), sy = HashUnit(cell, 504);
        float d = std::hypot(u * 96 - cx - sx, v * 96 - cy - sy);
        float size = 0.08f + 0.2f * HashUnit(cell, 505);
        float glow = Clamp01(1.0f - d / size);
        c = Mix(c, {1.0f, 0.97f, 0.9f, 1}, glow);
    }
    return c;
}

} // namespace

Canvas DrawGrass() {
    return Paint(256, 256, grassAt);
}

Canvas DrawRedDirt() {
    return Paint(256, 256, stoneAt);
}

Canvas DrawCannonTower() {
    return Paint(256, 256, towerAt);
}

Canvas DrawEnemySkin() {
    return Paint(256, 256, enemyAt);
}

Canvas DrawSpaceBack() {
    return Paint(512, 512, skyAt);
}

// A green bar with a dark rim and a light top edge.
Canvas DrawHealthBar() {
    Canvas c(64, 8, {0.05f, 0.10f, 0.05f, 1});
    c.fillRoundedRectGradient(1, 1, 63, 7, 0, {0.55f, 1.0f, 0.45f, 1}, {0.10f, 0.60f, 0.12f, 1});
    return c;
}
