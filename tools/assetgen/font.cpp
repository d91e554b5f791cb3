#include "assets.h"

#include <algorithm>
#include <cstdio>
#include <ft2build.h>
#include FT_FREETYPE_H

// The bitmap font: a 256 x 256 greyscale picture of 16 x 16 cells, character
// code c in column c % 16 and row c / 16 from the top. Each glyph's ink starts
// at the cell's left edge (the printer measures widths from there) and stands
// on a baseline 12 pixels down, leaving room for descenders. The glyphs are
// hinted and rendered in monochrome, every pixel fully inked or empty, so
// text shows its colour at full strength: a stem anti-aliased across two
// pixels would show at half of it.
namespace {

constexpr int kCell = 16;
constexpr int kBaseline = 12;
constexpr int kPixelSize = 12;

// Whether the glyph's bitmap inks pixel (x, y): one bit per pixel, the
// leftmost in the high bit.
bool inked(const FT_Bitmap& b, int x, int y) {
    return (b.buffer[y * b.pitch + x / 8] >> (7 - x % 8)) & 1;
}

void drawGlyph(Canvas& c, FT_Face face, int code) {
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
        return;
    }
    const FT_Bitmap& b = face->glyph->bitmap;
    if (b.pixel_mode != FT_PIXEL_MODE_MONO) {
        return;
    }
    int width = static_cast<int>(b.width), rows = static_cast<int>(b.rows);
    // A hinted bitmap may begin with empty columns: the ink moves left past them.
    int left = width;
    for (int y = 0; y < rows; y++) {
        for (int x = 0; x < left; x++) {
            left = inked(b, x, y) ? x : left;
        }
    }
    int cellX = (code % 16) * kCell, cellY = (code / 16) * kCell;
    int top = kBaseline - face->glyph->bitmap_top;
    for (int y = 0; y < rows; y++) {
        int py = top + y;
        if (py < 0 || py >= kCell) {
            continue;
        }
        for (int x = left; x < std::min(width, left + kCell - 1); x++) {
            if (inked(b, x, y)) {
                c.put(cellX + x - left, cellY + py, {1, 1, 1, 1});
            }
        }
    }
}

} // namespace

bool DrawFont(const char* fontFile, Canvas* out) {
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library) != 0) {
        return false;
    }
    if (FT_New_Face(library, fontFile, 0, &face) != 0) {
        std::fprintf(stderr, "assetgen: cannot read the font %s\n", fontFile);
        FT_Done_FreeType(library);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, kPixelSize);
    Canvas c(16 * kCell, 16 * kCell, {0, 0, 0, 1});
    for (int code = 33; code <= 126; code++) {
        drawGlyph(c, face, code);
    }
    // The printer takes a glyph's width from its rightmost inked column, so the
    // space gets one pixel of ink too faint to see: a word gap of 3 + 2 pixels.
    c.put((' ' % 16) * kCell + 3, (' ' / 16) * kCell + kBaseline, {1.0f / 255, 0, 0, 1});
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    *out = c;
    return true;
}

Canvas DrawNoTexture() {
    // A magenta and grey checkerboard: plainly a missing texture.
    Canvas c(64, 64, {0.5f, 0.5f, 0.5f, 1});
    for (int y = 0; y < 64; y++) {
        for (int x = 0; x < 64; x++) {
            if (((x / 8) + (y / 8)) % 2 == 0) {
                c.put(x, y, {1.0f, 0.0f, 1.0f, 1});
            }
        }
    }
    return c;
}
