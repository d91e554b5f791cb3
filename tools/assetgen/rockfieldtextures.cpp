// The fly-through's rock: grey regolith pitted with craters, each a dark bowl
// with a raised rim lit from the top-left. Craters near an edge wrap round
// to the opposite one, so the picture tiles without a seam.
#include "assets.h"
#include "noise.h"

#include <algorithm>
#include <cmath>

namespace {

struct Crater {
    float x, y, radius; // fractions of the picture
};

// The distance from a to b on a ring of length 1.
float wrapped(float a, float b) {
    float d = a - b;
    return d - std::floor(d + 0.5f);
}

// How much a crater darkens (negative) or brightens (positive) the point.
float craterShade(const Crater& c, float u, float v) {
    float dx = wrapped(u, c.x) / c.radius, dy = wrapped(v, c.y) / c.radius;
    float r = std::sqrt(dx * dx + dy * dy);
    if (r > 1.35f) {
        return 0;
    }
    // Light from the top-left: the bowl's far wall and the rim's near side
    // catch it.
    float facing = r > 0 ? (dx + dy) / (r * 1.41421f) : 0;
    if (r < 1) {
        return -0.22f * (1 - r * r) + 0.12f * facing * r;
    }
    float rim = 1 - std::fabs(r - 1.1f) / 0.25f;
    return std::max(0.0f, rim) * (0.12f - 0.08f * facing);
}

} // namespace

Canvas DrawCraters() {
    const int side = 256;
    Crater craters[48];
    for (int i = 0; i < 48; i++) {
        float size = HashUnit(3 * i + 2, 41);
        craters[i] = {HashUnit(3 * i, 41), HashUnit(3 * i + 1, 41), 0.02f + 0.09f * size * size};
    }
    Canvas c(side, side, {0, 0, 0, 1});
    for (int y = 0; y < side; y++) {
        for (int x = 0; x < side; x++) {
            float u = (x + 0.5f) / side, v = (y + 0.5f) / side;
            float g = 0.42f + 0.3f * (TileFractal(u, v, 8, 4, 29) - 0.5f);
            for (const Crater& crater : craters) {
                g += craterShade(crater, u, v);
            }
            g = std::min(1.0f, std::max(0.05f, g));
            c.put(x, y, {g, g * 0.98f, g * 0.94f, 1});
        }
    }
    return c;
}
