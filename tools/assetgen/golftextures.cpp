// The golf demo's textures: the ball's chrome, the hole's dark noise, the
// wall tiles and the wooden board.
#include "assets.h"
#include "noise.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTau = 6.28318530718f;

Color add(const Color& c, float k) {
    return {c.r + k, c.g + k, c.b + k, c.a};
}

// The distance from u to the nearest of n evenly spaced lines, in turns.
float lineDistance(float u, int n) {
    float t = u * n - std::floor(u * n + 0.5f);
    return std::fabs(t) / n;
}

// A sky over the horizon, the ground below it: what a chrome ball mirrors,
// with v running from the sky's zenith (0) to the ground (1). Columns wrap
// round the ball, so every feature repeats across the picture's width.
Color chromeAt(float u, float v) {
    float horizon = 0.5f + 0.025f * std::sin(kTau * 2.0f * u);
    float d = v - horizon;
    Color c;
    if (d < 0.0f) {
        float t = std::pow(-d / horizon, 0.7f);
        c = Mix({0.92f, 0.96f, 1.0f, 1}, {0.30f, 0.50f, 0.86f, 1}, t);
        c = add(c, 0.18f * (TileFractal(u, v, 4, 3, 11) - 0.5f) * t);
        float bar = Clamp01(1.0f - lineDistance(u + 0.06f, 4) / 0.012f);
        c = Mix(c, {0.10f, 0.12f, 0.18f, 1}, 0.8f * bar * Clamp01(-d / 0.08f));
    } else {
        float t = std::pow(d / (1.0f - horizon), 0.8f);
        c = Mix({0.06f, 0.05f, 0.05f, 1}, {0.46f, 0.44f, 0.42f, 1}, t);
    }
    c = add(c, 0.9f * std::exp(-(d * d) / (0.012f * 0.012f)));
    float du = lineDistance(u - 0.3f, 1), dv = v - 0.2f;
    return add(c, 0.8f * std::exp(-(du * du + dv * dv) / (0.05f * 0.05f)));
}

// One tile of a 2 x 2 group: four tints of fired clay, a bevel that catches
// the light on the top and left edges, speckles, and grout between them.
Color tileAt(int x, int y, int side) {
    const Color tints[4] = {{0.80f, 0.52f, 0.36f, 1},
                            {0.70f, 0.44f, 0.30f, 1},
                            {0.74f, 0.50f, 0.36f, 1},
                            {0.84f, 0.60f, 0.42f, 1}};
    const int tile = side / 2, grout = 2;
    int lx = x % tile, ly = y % tile;
    float u = (x + 0.5f) / side, v = (y + 0.5f) / side;
    float speckle = TileFractal(u, v, 16, 3, 23);
    if (lx < grout || ly < grout || lx >= tile - grout || ly >= tile - grout) {
        return Scale({0.86f, 0.84f, 0.78f, 1}, 0.9f + 0.15f * speckle);
    }
    Color c = Scale(tints[(x / tile) + 2 * (y / tile)], 0.85f + 0.3f * speckle);
    int edgeIn = std::min(lx, ly) - grout, edgeOut = tile - grout - 1 - std::max(lx, ly);
    if (edgeIn < 3) {
        c = add(c, 0.12f * (3 - edgeIn) / 3.0f);
    } else if (edgeOut < 3) {
        c = Scale(c, 1.0f - 0.25f * (3 - edgeOut) / 3.0f);
    }
    return c;
}

// Wood grain of one plank: rings bent by noise, fine streaks along the
// plank, and a tone and grain offset of its own.
Color woodAt(float x, float y, int plank, float plankHeight) {
    float tone = 0.86f + 0.24f * HashUnit(static_cast<uint32_t>(plank), 31);
    float offset = 7.0f * HashUnit(static_cast<uint32_t>(plank), 37);
    float along = x / 512.0f, across = y / plankHeight;
    float bend = TileFractal(along * 0.5f + offset, across * 0.25f + offset, 4, 3, 41);
    float ring = across * 2.5f + 5.0f * bend + offset;
    ring -= std::floor(ring);
    float streak = TileFractal(along * 0.125f + offset, across * 2.0f, 16, 2, 43);
    float dark = std::pow(ring, 4.0f) * 0.6f + 0.4f * streak;
    Color c = Mix({0.76f, 0.54f, 0.32f, 1}, {0.48f, 0.30f, 0.15f, 1}, Clamp01(dark));
    return Scale(c, tone);
}

} // namespace

// The ball model's texture rows run from its south pole at the picture's top
// to its north pole at the bottom, and the game turns the north pole up to
// the camera: so the sky's zenith goes to the bottom row.
Canvas DrawChrome() {
    const int side = 256;
    Canvas c(side, side, {0, 0, 0, 1});
    for (int y = 0; y < side; y++) {
        for (int x = 0; x < side; x++) {
            c.put(x, y, chromeAt((x + 0.5f) / side, 1.0f - (y + 0.5f) / side));
        }
    }
    return c;
}

Canvas DrawHoleNoise() {
    const int side = 128;
    Canvas c(side, side, {0, 0, 0, 1});
    for (int y = 0; y < side; y++) {
        for (int x = 0; x < side; x++) {
            float n = TileFractal((x + 0.5f) / side, (y + 0.5f) / side, 8, 4, 7);
            float v = 0.02f + 0.22f * n * n;
            c.put(x, y, {v * 0.9f, v * 0.95f, v, 1});
        }
    }
    return c;
}

Canvas DrawWallTiles() {
    const int side = 128;
    Canvas c(side, side, {0, 0, 0, 1});
    for (int y = 0; y < side; y++) {
        for (int x = 0; x < side; x++) {
            c.put(x, y, tileAt(x, y, side));
        }
    }
    return c;
}

Canvas DrawWoodBoard() {
    const int width = 512, height = 256, planks = 8;
    const float plankHeight = static_cast<float>(height) / planks;
    Canvas c(width, height, {0, 0, 0, 1});
    for (int y = 0; y < height; y++) {
        int plank = static_cast<int>(y / plankHeight);
        float inPlank = y - plank * plankHeight;
        float joint = width * (0.15f + 0.7f * HashUnit(static_cast<uint32_t>(plank), 53));
        for (int x = 0; x < width; x++) {
            Color w = woodAt(x + 0.5f, inPlank + 0.5f, plank, plankHeight);
            if (inPlank < 1.0f) {
                w = add(w, 0.08f);
            } else if (inPlank >= plankHeight - 2.0f) {
                w = Scale(w, 0.35f);
            }
            if (std::fabs(x + 0.5f - joint) < 1.0f) {
                w = Scale(w, 0.4f);
            }
            c.put(x, y, w);
        }
    }
    return c;
}
