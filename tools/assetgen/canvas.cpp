#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <png.h>

Color Mix(const Color& a, const Color& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Color Scale(const Color& c, float k) {
    return {c.r * k, c.g * k, c.b * k, c.a};
}

float Clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

Color Shade(const Color& c, float k) {
    return {Clamp01(c.r * k), Clamp01(c.g * k), Clamp01(c.b * k), c.a};
}

Canvas Paint(int width, int height, const std::function<Color(float u, float v)>& at) {
    Canvas c(width, height, {0, 0, 0, 1});
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            c.put(x, y, at((x + 0.5f) / width, (y + 0.5f) / height));
        }
    }
    return c;
}

namespace {

// Signed distance from (px, py) to a rounded rectangle; negative inside.
float roundedRectDistance(float px, float py, float x0, float y0, float x1, float y1, float r) {
    float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
    float hx = (x1 - x0) * 0.5f - r, hy = (y1 - y0) * 0.5f - r;
    float qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
    float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - r;
}

// Twice the signed area of (a, b, p): positive when p lies left of a -> b.
float edge(float ax, float ay, float bx, float by, float px, float py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

} // namespace

Canvas::Canvas(int width, int height, Color fill)
    : w_(width), h_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

Color Canvas::get(int x, int y) const {
    return pixels_[static_cast<size_t>(y) * w_ + x];
}

void Canvas::put(int x, int y, const Color& c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) {
        pixels_[static_cast<size_t>(y) * w_ + x] = c;
    }
}

void Canvas::blend(int x, int y, const Color& c, float coverage) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || coverage <= 0.0f) {
        return;
    }
    Color& d = pixels_[static_cast<size_t>(y) * w_ + x];
    float a = Clamp01(c.a * coverage);
    float outA = a + d.a * (1.0f - a);
    if (outA <= 0.0f) {
        return;
    }
    d.r = (c.r * a + d.r * d.a * (1.0f - a)) / outA;
    d.g = (c.g * a + d.g * d.a * (1.0f - a)) / outA;
    d.b = (c.b * a + d.b * d.a * (1.0f - a)) / outA;
    d.a = outA;
}

void Canvas::fillRoundedRect(float x0, float y0, float x1, float y1, float r, const Color& c) {
    fillRoundedRectGradient(x0, y0, x1, y1, r, c, c);
}

void Canvas::fillRoundedRectGradient(float x0, float y0, float x1, float y1, float r,
                                     const Color& top, const Color& bottom) {
    for (int y = std::max(0, int(y0) - 1); y < std::min(h_, int(y1) + 1); y++) {
        Color c = Mix(top, bottom, Clamp01((y + 0.5f - y0) / (y1 - y0)));
        for (int x = std::max(0, int(x0) - 1); x < std::min(w_, int(x1) + 1); x++) {
            float d = roundedRectDistance(x + 0.5f, y + 0.5f, x0, y0, x1, y1, r);
            blend(x, y, c, Clamp01(0.5f - d));
        }
    }
}

void Canvas::fillCircle(float cx, float cy, float radius, const Color& c) {
    for (int y = int(cy - radius) - 1; y <= int(cy + radius) + 1; y++) {
        for (int x = int(cx - radius) - 1; x <= int(cx + radius) + 1; x++) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) - radius;
            blend(x, y, c, Clamp01(0.5f - d));
        }
    }
}

void Canvas::strokeCircle(float cx, float cy, float radius, float thickness, const Color& c) {
    float outer = radius + thickness * 0.5f;
    for (int y = int(cy - outer) - 1; y <= int(cy + outer) + 1; y++) {
        for (int x = int(cx - outer) - 1; x <= int(cx + outer) + 1; x++) {
            float d =
                std::fabs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) - radius) - thickness * 0.5f;
            blend(x, y, c, Clamp01(0.5f - d));
        }
    }
}

void Canvas::fillTriangle(float x0, float y0, float x1, float y1, float x2, float y2,
                          const Color& c) {
    float sign = edge(x0, y0, x1, y1, x2, y2) < 0.0f ? -1.0f : 1.0f;
    int left = int(std::min({x0, x1, x2})), right = int(std::max({x0, x1, x2})) + 1;
    int top = int(std::min({y0, y1, y2})), bottom = int(std::max({y0, y1, y2})) + 1;
    for (int y = top; y <= bottom; y++) {
        for (int x = left; x <= right; x++) {
            int inside = 0;
            for (int s = 0; s < 16; s++) {
                float px = x + (s % 4 + 0.5f) / 4.0f, py = y + (s / 4 + 0.5f) / 4.0f;
                inside += sign * edge(x0, y0, x1, y1, px, py) >= 0.0f &&
                          sign * edge(x1, y1, x2, y2, px, py) >= 0.0f &&
                          sign * edge(x2, y2, x0, y0, px, py) >= 0.0f;
            }
            blend(x, y, c, inside / 16.0f);
        }
    }
}

void Canvas::clearRect(int x0, int y0, int x1, int y1, const Color& c) {
    for (int y = y0; y < y1; y++) {
        for (int x = x0; x < x1; x++) {
            put(x, y, c);
        }
    }
}

bool Canvas::savePng(const std::string& path, PngKind kind) const {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    int channels = kind == PngKind::Grey ? 1 : kind == PngKind::Rgb ? 3 : 4;
    int colorType = kind == PngKind::Grey  ? PNG_COLOR_TYPE_GRAY
                    : kind == PngKind::Rgb ? PNG_COLOR_TYPE_RGB
                                           : PNG_COLOR_TYPE_RGBA;
    png_set_IHDR(png, info, w_, h_, 8, colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(w_) * channels);
    for (int y = 0; y < h_; y++) {
        for (int x = 0; x < w_; x++) {
            Color c = get(x, y);
            float values[4] = {c.r, c.g, c.b, c.a};
            for (int k = 0; k < channels; k++) {
                row[static_cast<size_t>(x) * channels + k] =
                    static_cast<png_byte>(std::lround(Clamp01(values[k]) * 255.0f));
            }
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}
