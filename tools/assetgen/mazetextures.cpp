// The maze-chase game's pictures: the monsters' ogre face, the minimap tile, the pellets, the
// walls, the wooden backdrop, the life icon and the plain panel. Spherical pictures are laid out as
// the sphere models take them: u once round, v from the bottom pole at the top row to the top pole
// at the bottom row.
#include "assets.h"
#include "noise.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <jpeglib.h>
#include <vector>

namespace {

// How far inside an ellipse round (cu, cv) with radii (ru, rv): 1 at the
// centre, 0 on the rim, negative outside.
float ellipse(float u, float v, float cu, float cv, float ru, float rv) {
    float du = (u - cu) / ru, dv = (v - cv) / rv;
    return 1.0f - std::sqrt(du * du + dv * dv);
}

// An eye of a sphere picture: white, an iris of the colour and a black
// pupil looking ahead; false outside it.
bool eyeAt(float u, float v, float cu, float cv, float r, Color iris, Color* out) {
    float e = ellipse(u, v, cu, cv, r * 0.55f, r);
    if (e < 0) {
        return false;
    }
    float i = ellipse(u, v, cu, cv, r * 0.3f, r * 0.55f);
    float p = ellipse(u, v, cu, cv, r * 0.16f, r * 0.3f);
    *out = p > 0 ? Color{0.02f, 0.02f, 0.02f, 1} : i > 0 ? iris : Color{0.97f, 0.97f, 0.92f, 1};
    return true;
}

Color ogreAt(float u, float v) {
    float bumps = TileFractal(u, v, 8, 3, 71);
    Color skin = Shade({0.36f, 0.62f, 0.22f, 1}, 0.75f + 0.45f * bumps);
    // A patch of horn at the bottom pole, where the model points the horns'
    // and the nose's texture coordinates.
    if (v < 0.04f) {
        return u < 0.5f ? Color{0.92f, 0.88f, 0.72f, 1} : skin;
    }
    // The face looks ahead (u = 0.75).
    Color eye;
    for (float side : {-1.0f, 1.0f}) {
        float cu = 0.75f + side * 0.05f;
        if (eyeAt(u, v, cu, 0.6f, 0.1f, {0.95f, 0.8f, 0.1f, 1}, &eye)) {
            return eye;
        }
        // An angry brow over each eye, lower toward the nose.
        float along = (u - cu) * side;
        float brow = 0.72f - along * 0.9f;
        if (std::fabs(along) < 0.05f && std::fabs(v - brow) < 0.025f) {
            return {0.12f, 0.2f, 0.05f, 1};
        }
    }
    float mouth = ellipse(u, v, 0.75f, 0.38f, 0.1f, 0.07f);
    if (mouth > 0) {
        // Two tusks stand up from the lower lip.
        for (float side : {-1.0f, 1.0f}) {
            float du = u - (0.75f + side * 0.055f);
            if (std::fabs(du) < 0.012f && v > 0.33f && v < 0.42f) {
                return {0.95f, 0.93f, 0.85f, 1};
            }
        }
        return {0.3f, 0.02f, 0.04f, 1};
    }
    return skin;
}

// A light tile with a bevel, which the minimap's colours tint.
Color tileAt(float u, float v) {
    float edge = std::min(std::min(u, v), std::min(1 - u, 1 - v));
    float k = edge < 0.08f ? 0.55f : edge < 0.16f ? (u + v < 1 ? 1.0f : 0.75f) : 0.9f;
    return Shade({1, 1, 1, 1}, k);
}

Color rainbowAt(float u, float v) {
    const Color bands[6] = {{1, 0.2f, 0.2f, 1},    {1, 0.6f, 0.1f, 1}, {1, 1, 0.2f, 1},
                            {0.2f, 0.9f, 0.3f, 1}, {0.2f, 0.5f, 1, 1}, {0.6f, 0.3f, 1, 1}};
    float t = (u + v) * 3.0f;
    int band = static_cast<int>(std::floor(t)) % 6;
    return bands[band];
}

Color woodAt(float u, float v) {
    const int planks = 8;
    int plank = static_cast<int>(u * planks);
    float across = u * planks - plank;
    float offset = 5.0f * HashUnit(static_cast<uint32_t>(plank), 81);
    float grain = TileFractal(across * 0.25f + offset, v, 4, 3, 83);
    float ring = across * 3.0f + 6.0f * grain + offset;
    ring -= std::floor(ring);
    Color c = Mix({0.70f, 0.48f, 0.28f, 1}, {0.42f, 0.26f, 0.13f, 1}, std::pow(ring, 3.0f));
    if (across < 0.04f || across > 0.96f) {
        c = Shade(c, 0.4f);
    }
    return c;
}

// Grey stone blocks in courses, every other course shifted by half a block.
Color stoneAt(float u, float v) {
    const int courses = 4, blocks = 2;
    int course = static_cast<int>(v * courses);
    float across = u * blocks + (course % 2) * 0.5f;
    float fu = across - std::floor(across), fv = v * courses - course;
    int block = static_cast<int>(std::floor(across)) + 7 * course;
    float tone = 0.75f + 0.3f * HashUnit(static_cast<uint32_t>(block), 91);
    float rough = TileFractal(u, v, 16, 3, 93);
    Color c = Shade({0.62f, 0.6f, 0.56f, 1}, tone * (0.8f + 0.35f * rough));
    if (fu < 0.03f || fu > 0.97f || fv < 0.05f || fv > 0.95f) {
        c = {0.2f, 0.19f, 0.18f, 1};
    }
    return c;
}

// A festive bauble: red with gold bands and white stars.
Color christmasAt(float u, float v) {
    float band = std::fabs(v - 0.5f);
    if (std::fabs(band - 0.18f) < 0.03f) {
        return {1.0f, 0.8f, 0.2f, 1};
    }
    float su = u * 8 - std::floor(u * 8) - 0.5f, sv = v * 4 - std::floor(v * 4) - 0.5f;
    float angle = std::atan2(sv, su);
    float star = 0.28f * (0.55f + 0.45f * std::cos(5 * angle));
    if (std::sqrt(su * su + sv * sv) < star) {
        return {1, 1, 0.95f, 1};
    }
    return Shade({0.85f, 0.08f, 0.1f, 1}, 0.85f + 0.3f * TileFractal(u, v, 8, 2, 97));
}

// A small yellow head on dark blue: one spare life.
Color lifeAt(float u, float v) {
    float head = ellipse(u, v, 0.5f, 0.5f, 0.4f, 0.4f);
    if (head < 0) {
        return {0.05f, 0.08f, 0.25f, 1};
    }
    for (float side : {-1.0f, 1.0f}) {
        if (ellipse(u, v, 0.5f + side * 0.14f, 0.4f, 0.06f, 0.09f) > 0) {
            return {0.05f, 0.05f, 0.05f, 1};
        }
    }
    float smile = ellipse(u, v, 0.5f, 0.55f, 0.22f, 0.2f);
    if (smile > 0 && smile < 0.3f && v > 0.58f) {
        return {0.5f, 0.15f, 0.05f, 1};
    }
    return Shade({1.0f, 0.85f, 0.2f, 1}, 0.8f + 0.4f * head);
}

struct Picture {
    const char* file; // under the asset root; ".jpg" files are written as JPEG
    int width, height;
    Color (*at)(float u, float v);
};

// Quads show a picture's top row at their bottom edge: the life icon is
// drawn upside down.
Color lifeUpright(float u, float v) {
    return lifeAt(u, 1 - v);
}

const Picture kPictures[] = {
    {"textures/ogre.png", 256, 128, ogreAt},
    {"textures/tiles2.png", 32, 32, tileAt},
    {"textures/rainbow.png", 64, 64, rainbowAt},
    {"textures/extra_life.png", 64, 64, lifeUpright},
    {"textures/woods.jpg", 256, 256, woodAt},
    {"textures/stone2.jpg", 128, 128, stoneAt},
    {"textures/christmas2.jpg", 128, 64, christmasAt},
};

} // namespace

Canvas DrawOgreSkin() {
    return Paint(256, 128, ogreAt);
}

namespace {

// Writes the picture as an RGB JPEG file.
bool saveJpeg(const Canvas& c, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(c.width());
    info.image_height = static_cast<JDIMENSION>(c.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 92, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(c.width()) * 3);
    for (int y = 0; y < c.height(); y++) {
        for (int x = 0; x < c.width(); x++) {
            Color p = c.get(x, y);
            row[x * 3] = static_cast<JSAMPLE>(std::lround(Clamp01(p.r) * 255));
            row[x * 3 + 1] = static_cast<JSAMPLE>(std::lround(Clamp01(p.g) * 255));
            row[x * 3 + 2] = static_cast<JSAMPLE>(std::lround(Clamp01(p.b) * 255));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

} // namespace

bool SaveMazePictures(const std::string& root) {
    bool ok = true;
    for (const Picture& picture : kPictures) {
        Canvas canvas = Paint(picture.width, picture.height, picture.at);
        std::string path = root + "/" + picture.file;
        bool jpeg = path.size() > 4 && path.compare(path.size() - 4, 4, ".jpg") == 0;
        bool saved = jpeg ? saveJpeg(canvas, path) : canvas.savePng(path, PngKind::Rgb);
        if (!saved) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        }
        ok = saved && ok;
    }
    return ok;
}
