// The ogre shooter's textures: two star fields that tile side by side, the
// laser shot, the meter's bar and the face the ogre heads wear.
#include "noise.h"
#include "ogreblast.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTau = 6.28318530718f;

// A field of stars over the canvas, each drawn a second time one width to
// the left or right when it reaches over an edge, so the field tiles along x.
void scatterStars(Canvas& c, int count, uint32_t seed, float maxRadius) {
    for (int i = 0; i < count; i++) {
        uint32_t key = static_cast<uint32_t>(i);
        float x = HashUnit(key, seed) * c.width();
        float y = HashUnit(key, seed + 1) * c.height();
        float size = HashUnit(key, seed + 2);
        float radius = 0.6f + maxRadius * size * size * size;
        float warm = HashUnit(key, seed + 3);
        Color star = Mix({0.75f, 0.85f, 1.0f, 1}, {1.0f, 0.92f, 0.75f, 1}, warm);
        for (float shift : {-1.0f, 0.0f, 1.0f}) {
            float sx = x + shift * c.width();
            c.fillCircle(sx, y, radius * 2.2f, {star.r, star.g, star.b, 0.18f});
            c.fillCircle(sx, y, radius, star);
        }
    }
}

} // namespace

Canvas DrawOgreSpace() {
    const int w = 512, h = 256;
    Canvas c(w, h, {0, 0, 0, 1});
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            float n = TileFractal((x + 0.5f) / w, (y + 0.5f) / h, 4, 4, 51);
            c.put(x, y, Mix({0.01f, 0.01f, 0.05f, 1}, {0.05f, 0.08f, 0.22f, 1}, n * n));
        }
    }
    scatterStars(c, 260, 53, 1.6f);
    return c;
}

// Purple and blue clouds over most of the field, with brighter stars in
// front of them: the nearest field, bright enough for the dark ship to stand
// out against it.
Canvas DrawOgreNebula() {
    const int w = 512, h = 256;
    Canvas c(w, h, {0, 0, 0, 1});
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            float u = (x + 0.5f) / w, v = (y + 0.5f) / h;
            float cloud = Clamp01(TileFractal(u, v, 4, 5, 61) * 2.0f - 0.35f);
            float tint = TileNoise(u, v, 2, 67);
            Color glow = Mix({0.46f, 0.22f, 0.56f, 1}, {0.20f, 0.40f, 0.62f, 1}, tint);
            c.put(x, y, Mix({0.08f, 0.06f, 0.16f, 1}, glow, cloud));
        }
    }
    scatterStars(c, 140, 71, 2.4f);
    return c;
}

// A red bolt with a white-hot core, its ends rounded off into the dark.
Canvas DrawOgreLaser() {
    const int w = 64, h = 16;
    Canvas c(w, h, {0, 0, 0, 1});
    c.fillRoundedRect(1, 2, w - 1, h - 2, 6, {0.85f, 0.05f, 0.05f, 1});
    c.fillRoundedRect(5, 5, w - 5, h - 5, 3, {1.0f, 0.55f, 0.35f, 1});
    c.fillRoundedRect(10, 7, w - 10, h - 7, 1, {1.0f, 1.0f, 0.95f, 1});
    return c;
}

// The bar's colours run from yellow (left) to hot pink (right), banded.
Canvas DrawOgreMeterBar() {
    const int w = 256, h = 16;
    Canvas c(w, h, {0, 0, 0, 1});
    for (int y = 0; y < h; y++) {
        float shade = 0.75f + 0.25f * std::sin(kTau * 0.5f * (y + 0.5f) / h);
        for (int x = 0; x < w; x++) {
            float t = (x + 0.5f) / w;
            Color base = t < 0.5f
                             ? Mix({1.0f, 0.92f, 0.15f, 1}, {1.0f, 0.45f, 0.05f, 1}, t * 2)
                             : Mix({1.0f, 0.45f, 0.05f, 1}, {1.0f, 0.10f, 0.55f, 1}, t * 2 - 1);
            float band = (x / 16) % 2 == 0 ? 1.0f : 0.85f;
            c.put(x, y, {base.r * shade * band, base.g * shade * band, base.b * shade * band, 1});
        }
    }
    return c;
}

void DrawOgreFace(Canvas& c, float cx, float cy, float r) {
    const Color dark = {0.10f, 0.22f, 0.05f, 1};
    // Eyes under heavy brows.
    for (float side : {-1.0f, 1.0f}) {
        float ex = cx + side * r * 0.36f, ey = cy - r * 0.22f;
        c.fillCircle(ex, ey, r * 0.17f, {1, 1, 0.85f, 1});
        c.fillCircle(ex + side * r * 0.03f, ey + r * 0.03f, r * 0.08f, {0.75f, 0.05f, 0.05f, 1});
        float outer = ey - r * 0.30f, inner = ey - r * 0.14f;
        c.fillTriangle(ex + side * r * 0.26f, outer, ex - side * r * 0.26f, inner,
                       ex + side * r * 0.10f, outer + r * 0.10f, dark);
    }
    c.fillCircle(cx, cy + r * 0.10f, r * 0.14f, {0.26f, 0.50f, 0.12f, 1});
    // The grin and its two tusks.
    c.fillRoundedRect(cx - r * 0.52f, cy + r * 0.36f, cx + r * 0.52f, cy + r * 0.62f, r * 0.12f,
                      {0.25f, 0.04f, 0.04f, 1});
    for (float side : {-1.0f, 1.0f}) {
        float tx = cx + side * r * 0.32f;
        c.fillTriangle(tx - r * 0.09f, cy + r * 0.62f, tx + r * 0.09f, cy + r * 0.62f, tx,
                       cy + r * 0.30f, {1, 1, 0.9f, 1});
    }
}

void DrawOgreHead(Canvas& c, float cx, float cy, float r) {
    const Color skin = {0.36f, 0.66f, 0.20f, 1};
    c.fillCircle(cx - r * 0.98f, cy - r * 0.05f, r * 0.28f, skin);
    c.fillCircle(cx + r * 0.98f, cy - r * 0.05f, r * 0.28f, skin);
    c.fillCircle(cx, cy, r, skin);
    DrawOgreFace(c, cx, cy, r);
}
