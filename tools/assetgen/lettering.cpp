#include "lettering.h"

#include <cmath>
#include <cstdio>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

Lettering::Lettering(const char* fontFile) {
    if (FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
        return;
    }
    if (FT_New_Face(library_, fontFile, 0, &face_) != 0) {
        std::fprintf(stderr, "assetgen: cannot read the font %s\n", fontFile);
        face_ = nullptr;
    }
}

Lettering::~Lettering() {
    if (face_ != nullptr) {
        FT_Done_Face(face_);
    }
    if (library_ != nullptr) {
        FT_Done_FreeType(library_);
    }
}

bool Lettering::loadGlyph(char ch, int pixelSize, float weight) {
    if (FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixelSize)) != 0 ||
        FT_Load_Char(face_, static_cast<unsigned char>(ch), FT_LOAD_NO_BITMAP) != 0) {
        return false;
    }
    FT_GlyphSlot slot = face_->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) {
        return false;
    }
    if (weight > 0.0f) {
        FT_Outline_Embolden(&slot->outline, static_cast<FT_Pos>(weight * 64.0f));
    }
    return FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0;
}

float Lettering::advance(float weight) const {
    return static_cast<float>(face_->glyph->advance.x) / 64.0f + weight;
}

float Lettering::measure(const char* text, int pixelSize, float weight) {
    float width = 0.0f;
    for (const char* p = text; ready() && *p != 0; p++) {
        if (loadGlyph(*p, pixelSize, weight)) {
            width += advance(weight);
        }
    }
    return width;
}

int Lettering::fit(const char* text, int maxSize, float width, float weight) {
    int size = maxSize;
    while (size > 6 && measure(text, size, weight) > width) {
        size--;
    }
    return size;
}

void Lettering::drawCentred(Canvas& c, const char* text, int pixelSize, float weight, float cx,
                            float y, const Color& color) {
    float pen = cx - measure(text, pixelSize, weight) * 0.5f;
    for (const char* p = text; ready() && *p != 0; p++) {
        if (!loadGlyph(*p, pixelSize, weight)) {
            continue;
        }
        const FT_GlyphSlot slot = face_->glyph;
        const FT_Bitmap& b = slot->bitmap;
        int left = static_cast<int>(std::lround(pen)) + slot->bitmap_left;
        int top = static_cast<int>(std::lround(y)) - slot->bitmap_top;
        for (int row = 0; row < static_cast<int>(b.rows); row++) {
            for (int col = 0; col < static_cast<int>(b.width); col++) {
                float coverage = b.buffer[row * b.pitch + col] / 255.0f;
                c.blend(left + col, top + row, color, coverage);
            }
        }
        pen += advance(weight);
    }
}
