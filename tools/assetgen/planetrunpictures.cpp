// The planet run's pictures: the ship's hull panels, the asteroid rock, the
// desert planet's sandstone, the wormhole, the plain picture of the power-up
// spheres and the three banners.
#include "assets.h"
#include "lettering.h"
#include "noise.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTau = 6.28318530718f;

// Light hull plates in a staggered grid with dark seams, rivets at their
// corners and a red stripe through every third row.
Color hullAt(float u, float v) {
    const int rows = 8, columns = 4;
    float row = v * rows;
    int r = static_cast<int>(row);
    float col = u * columns + (r % 2) * 0.5f;
    float fx = col - std::floor(col), fy = row - r;
    float seam = std::min(std::min(fx, 1 - fx) * 4, std::min(fy, 1 - fy) * 2);
    float grain = TileFractal(u, v, 8, 3, 61);
    Color plate = r % 3 == 1 ? Color{0.78f, 0.16f, 0.12f, 1} : Color{0.80f, 0.83f, 0.88f, 1};
    plate = Scale(plate, 0.85f + 0.25f * grain - 0.12f * fy);
    if (seam < 0.06f) {
        return {0.16f, 0.18f, 0.22f, 1};
    }
    float rx = std::min(fx, 1 - fx) * 4 - 0.16f, ry = std::min(fy, 1 - fy) * 2 - 0.16f;
    if (rx * rx + ry * ry < 0.0025f) {
        return {0.35f, 0.37f, 0.42f, 1};
    }
    return plate;
}

// Grey-brown rock with a few dark craters, each with a bright rim.
Color rockAt(float u, float v) {
    float n = TileFractal(u, v, 4, 5, 71);
    Color c = Mix({0.22f, 0.19f, 0.16f, 1}, {0.62f, 0.56f, 0.48f, 1}, n);
    const float craters[5][3] = {{0.2f, 0.3f, 0.09f},
                                 {0.65f, 0.2f, 0.06f},
                                 {0.5f, 0.7f, 0.12f},
                                 {0.85f, 0.8f, 0.05f},
                                 {0.15f, 0.8f, 0.07f}};
    for (const auto& crater : craters) {
        float d = std::hypot(u - crater[0], v - crater[1]) / crater[2];
        if (d < 0.8f) {
            c = Scale(c, 0.55f + 0.3f * d);
        } else if (d < 1.0f) {
            c = Scale(c, 1.25f);
        }
    }
    return c;
}

// Wind-drawn bands of sand and ochre.
Color sandAt(float u, float v) {
    float bend = TileFractal(u, v, 4, 3, 83);
    float band = 0.5f + 0.5f * std::sin(kTau * (6 * v + 1.5f * bend));
    Color c = Mix({0.93f, 0.78f, 0.52f, 1}, {0.70f, 0.45f, 0.24f, 1}, band * 0.8f);
    return Scale(c, 0.85f + 0.25f * TileFractal(u, v, 16, 2, 89));
}

// A swirl of violet and blue arms round a bright white eye, fading to black
// at the picture's edge.
Color wormholeAt(float u, float v) {
    float dx = u - 0.5f, dy = v - 0.5f;
    float r = std::sqrt(dx * dx + dy * dy) * 2;
    float angle = std::atan2(dy, dx);
    float arms = 0.5f + 0.5f * std::sin(4 * angle + 10 * r);
    float glow = Clamp01(1 - r);
    Color c = Mix({0.20f, 0.05f, 0.45f, 1}, {0.35f, 0.55f, 1.0f, 1}, arms);
    c = Scale(c, glow * (0.5f + 0.5f * arms));
    float eye = std::exp(-r * r / 0.02f);
    return {Clamp01(c.r + eye), Clamp01(c.g + eye), Clamp01(c.b + eye), 1};
}

// A banner: a rounded panel in its colour with a bright frame, a heading and
// a smaller line under it, on black.
Canvas banner(Lettering& lettering, const char* heading, const char* line, const Color& top,
              const Color& bottom, const Color& frame) {
    const int width = 256, height = 128;
    Canvas c(width, height, {0, 0, 0, 1});
    c.fillRoundedRect(2, 2, width - 2, height - 2, 18, frame);
    c.fillRoundedRectGradient(6, 6, width - 6, height - 6, 14, top, bottom);
    int size = lettering.fit(heading, 40, width - 36, 1.5f);
    lettering.drawCentred(c, heading, size, 1.5f, width * 0.5f + 2, 66, {0, 0, 0, 0.6f});
    lettering.drawCentred(c, heading, size, 1.5f, width * 0.5f, 64, {1, 1, 1, 1});
    int lineSize = lettering.fit(line, 18, width - 28, 0.5f);
    lettering.drawCentred(c, line, lineSize, 0.5f, width * 0.5f, 100, {1, 0.95f, 0.7f, 1});
    return c;
}

} // namespace

Canvas DrawShipHull() {
    return Paint(256, 256, hullAt);
}

Canvas DrawAsteroidRock() {
    return Paint(128, 128, rockAt);
}

Canvas DrawSandstone() {
    return Paint(256, 256, sandAt);
}

Canvas DrawWormhole() {
    return Paint(256, 256, wormholeAt);
}

Canvas DrawPlain() {
    return Canvas(16, 16, {1, 1, 1, 1});
}

Canvas DrawPlanetStart(Lettering& lettering) {
    return banner(lettering, "PLANET RUN", "Fly to the wormhole!", {0.15f, 0.30f, 0.70f, 1},
                  {0.05f, 0.10f, 0.35f, 1}, {0.55f, 0.75f, 1.0f, 1});
}

Canvas DrawPlanetWon(Lettering& lettering) {
    return banner(lettering, "YOU WIN!", "You reached the wormhole", {0.15f, 0.60f, 0.25f, 1},
                  {0.05f, 0.30f, 0.10f, 1}, {0.70f, 1.0f, 0.60f, 1});
}

Canvas DrawPlanetLost(Lettering& lettering) {
    return banner(lettering, "GAME OVER", "Your ship is lost", {0.75f, 0.15f, 0.12f, 1},
                  {0.35f, 0.04f, 0.04f, 1}, {1.0f, 0.65f, 0.40f, 1});
}
