#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// An RGBA picture with a few anti-aliased shapes, written as PNG. Pixel rows
// run from the top, as in the file.
struct Color {
    float r, g, b, a;
};

// The channels a PNG is written with: grey keeps the red channel only, RGB
// drops alpha.
enum class PngKind { Rgba, Rgb, Grey };

Color Mix(const Color& a, const Color& b, float t);
// The colour's red, green and blue times k, alpha kept.
Color Scale(const Color& c, float k);
float Clamp01(float v);
// Scale with each channel kept within 0..1.
Color Shade(const Color& c, float k);

class Canvas {
  public:
    Canvas(int width, int height, Color fill);

    int width() const { return w_; }
    int height() const { return h_; }
    Color get(int x, int y) const;
    // Blends c over the pixel with the given coverage (0..1).
    void blend(int x, int y, const Color& c, float coverage);
    // Writes the pixel as it is, alpha included.
    void put(int x, int y, const Color& c);

    // Rounded rectangle over [x0, x1) x [y0, y1) with corner radius r.
    void fillRoundedRect(float x0, float y0, float x1, float y1, float r, const Color& c);
    // The same with a vertical gradient from top to bottom.
    void fillRoundedRectGradient(float x0, float y0, float x1, float y1, float r, const Color& top,
                                 const Color& bottom);
    void fillCircle(float cx, float cy, float radius, const Color& c);
    // Triangle through three corners in either winding, edges smoothed by
    // sampling each pixel 4 x 4 times.
    void fillTriangle(float x0, float y0, float x1, float y1, float x2, float y2, const Color& c);
    void strokeCircle(float cx, float cy, float radius, float thickness, const Color& c);
    // Sets every pixel of the rectangle to c without blending.
    void clearRect(int x0, int y0, int x1, int y1, const Color& c);

    // Writes an 8-bit PNG with the channels of the given kind.
    bool savePng(const std::string& path, PngKind kind = PngKind::Rgba) const;

  private:
    int w_, h_;
    std::vector<Color> pixels_;
};

// A picture of the given size whose every pixel is at() of its centre, in
// fractions (u, v) of the width and height from the top-left corner.
Canvas Paint(int width, int height, const std::function<Color(float u, float v)>& at);
