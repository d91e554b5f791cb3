// The asteroid shooter's pictures: the starfield behind the field, the
// picture shown while level 2 loads, the rock of the asteroids and the
// painted hull of the ships. The materials dim a texture to about half, so
// the colours are bright.
#include "assets.h"
#include "lettering.h"
#include "noise.h"

#include <algorithm>
#include <cmath>

namespace {

// The distance from u to the nearest of n evenly spaced lines, in turns.
float lineDistance(float u, int n) {
    float t = u * n - std::floor(u * n + 0.5f);
    return std::fabs(t) / n;
}

// Deep space: a dark blue ground with faint violet and teal clouds.
Color spaceAt(float u, float v) {
    float cloud = TileFractal(u, v, 4, 5, 31);
    float veil = TileFractal(u + 0.37f, v + 0.11f, 3, 4, 47);
    Color c = {0.01f, 0.015f, 0.04f, 1};
    c = Mix(c, {0.22f, 0.08f, 0.30f, 1}, 0.55f * Clamp01((cloud - 0.45f) * 2.2f));
    return Mix(c, {0.04f, 0.20f, 0.26f, 1}, 0.45f * Clamp01((veil - 0.5f) * 2.5f));
}

// Stars of many sizes and tints; the brightest with a soft halo.
void scatterStars(Canvas& c, int count, uint32_t seed) {
    const Color tints[4] = {
        {1, 1, 1, 1}, {0.75f, 0.85f, 1, 1}, {1, 0.92f, 0.75f, 1}, {1, 0.75f, 0.70f, 1}};
    for (int i = 0; i < count; i++) {
        float x = HashUnit(4 * i, seed) * c.width();
        float y = HashUnit(4 * i + 1, seed) * c.height();
        float size = HashUnit(4 * i + 2, seed);
        Color tint = tints[static_cast<int>(HashUnit(4 * i + 3, seed) * 4) % 4];
        float radius = 0.5f + 1.4f * size * size * size * size;
        if (radius > 1.6f) {
            Color halo = tint;
            halo.a = 0.18f;
            c.fillCircle(x, y, radius * 3.0f, halo);
        }
        tint.a = 0.45f + 0.55f * size;
        c.fillCircle(x, y, radius, tint);
    }
}

// Shrinks a picture to another size by averaging the pixels each new one
// covers: lettering drawn at the shown proportions, stored in a
// power-of-two square.
Canvas resample(const Canvas& from, int width, int height) {
    Canvas to(width, height, {0, 0, 0, 1});
    float sx = static_cast<float>(from.width()) / width;
    float sy = static_cast<float>(from.height()) / height;
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            Color sum = {0, 0, 0, 0};
            int n = 0;
            for (int fy = static_cast<int>(y * sy); fy < static_cast<int>((y + 1) * sy); fy++) {
                for (int fx = static_cast<int>(x * sx); fx < static_cast<int>((x + 1) * sx); fx++) {
                    Color p = from.get(fx, fy);
                    sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b, sum.a + p.a};
                    n++;
                }
            }
            to.put(x, y, {sum.r / n, sum.g / n, sum.b / n, sum.a / n});
        }
    }
    return to;
}

// A crater: a dark floor, shadowed on the side away from the light (top
// left) and a bright rim toward it. Drawn three times across the seam so
// that the texture wraps round the rock.
void crater(Canvas& c, float x, float y, float radius) {
    for (float shift : {-1.0f, 0.0f, 1.0f}) {
        float cx = x + shift * c.width();
        c.fillCircle(cx - radius * 0.12f, y - radius * 0.12f, radius * 1.12f,
                     {0.92f, 0.86f, 0.78f, 0.35f});
        c.fillCircle(cx, y, radius, {0.18f, 0.15f, 0.13f, 0.55f});
        c.fillCircle(cx + radius * 0.2f, y + radius * 0.2f, radius * 0.75f,
                     {0.40f, 0.36f, 0.32f, 0.6f});
    }
}

} // namespace

Canvas DrawStarfield() {
    Canvas c = Paint(1024, 1024, spaceAt);
    scatterStars(c, 2200, 5);
    return c;
}

Canvas DrawLevelPause(Lettering& lettering) {
    // Shown on a 4:3 sprite, of which portrait play sees the middle 40 %
    // across and 83 % down: everything that matters stands in that column.
    const int width = 1024, height = 768;
    Canvas c(width, height, {0, 0, 0, 1});
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            c.put(x, y, Shade(spaceAt(0.5f * x / width, 0.5f * y / height), 1.6f));
        }
    }
    scatterStars(c, 500, 9);
    // A ringed planet resting below the message.
    const float px = width * 0.5f, py = height * 0.70f, pr = 95;
    c.fillCircle(px, py, pr + 6, {0.55f, 0.75f, 1.0f, 0.25f});
    c.fillCircle(px, py, pr, {0.20f, 0.42f, 0.66f, 1});
    c.fillCircle(px - pr * 0.25f, py - pr * 0.25f, pr * 0.7f, {0.40f, 0.66f, 0.90f, 0.7f});
    c.fillRoundedRect(px - pr * 1.9f, py - 7, px + pr * 1.9f, py + 7, 7,
                      {0.95f, 0.85f, 0.60f, 0.8f});
    const float x0 = width * 0.31f, x1 = width * 0.69f;
    c.fillRoundedRect(x0, height * 0.16f, x1, height * 0.46f, 22, {0.95f, 0.80f, 0.30f, 1});
    c.fillRoundedRectGradient(x0 + 5, height * 0.16f + 5, x1 - 5, height * 0.46f - 5, 18,
                              {0.14f, 0.18f, 0.42f, 1}, {0.05f, 0.07f, 0.20f, 1});
    float cx = width * 0.5f;
    int size = lettering.fit("LEVEL 1", 64, x1 - x0 - 40, 2.0f);
    lettering.drawCentred(c, "LEVEL 1", size, 2.0f, cx, height * 0.26f, {1, 0.9f, 0.55f, 1});
    lettering.drawCentred(c, "CLEARED", size, 2.0f, cx, height * 0.26f + size * 1.1f,
                          {1, 0.9f, 0.55f, 1});
    int small = lettering.fit("ENEMY SHIPS AHEAD", 28, x1 - x0 - 40, 0.8f);
    lettering.drawCentred(c, "ENEMY SHIPS AHEAD", small, 0.8f, cx, height * 0.42f,
                          {0.8f, 0.88f, 1, 1});
    return resample(c, 512, 512);
}

Canvas DrawRockSurface() {
    const int side = 256;
    Canvas c(side, side, {0, 0, 0, 1});
    for (int y = 0; y < side; y++) {
        for (int x = 0; x < side; x++) {
            float u = (x + 0.5f) / side, v = (y + 0.5f) / side;
            float grain = TileFractal(u, v, 8, 4, 61);
            float bands = TileFractal(u, v, 2, 3, 67);
            Color c0 = Mix({0.46f, 0.40f, 0.34f, 1}, {0.70f, 0.64f, 0.56f, 1}, bands);
            c.put(x, y, Shade(c0, 0.65f + 0.7f * grain));
        }
    }
    for (int i = 0; i < 26; i++) {
        float radius = 5 + 16 * std::pow(HashUnit(3 * i + 2, 71), 2.0f);
        crater(c, HashUnit(3 * i, 71) * side, 16 + HashUnit(3 * i + 1, 71) * (side - 32), radius);
    }
    return c;
}

// Four upright bands, each a paint the models map their parts to: the
// player's light hull and its blue trim, the enemy's red hull and its dark
// trim. Panel seams run over them.
Canvas DrawShooterHull() {
    const int side = 256, band = side / 4;
    const Color paints[4] = {{0.90f, 0.93f, 0.97f, 1},
                             {0.25f, 0.55f, 1.0f, 1},
                             {0.95f, 0.16f, 0.10f, 1},
                             {0.22f, 0.20f, 0.24f, 1}};
    Canvas c(side, side, {0, 0, 0, 1});
    for (int y = 0; y < side; y++) {
        for (int x = 0; x < side; x++) {
            int paint = x / band;
            float u = (x % band + 0.5f) / band, v = (y + 0.5f) / side;
            float seam = std::min(lineDistance(u, 2), lineDistance(v, 8));
            float wear = TileFractal(u, v, 4, 3, 83 + paint);
            Color p = Shade(paints[paint], 0.85f + 0.3f * wear);
            c.put(x, y, Shade(p, seam < 0.008f ? 0.55f : 1.0f));
        }
    }
    return c;
}
