#pragma once

#include "canvas.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

// Lines of lettering drawn from a TrueType font onto a canvas. A weight above
// zero thickens the strokes by that many pixels, for headings and labels.
class Lettering {
  public:
    explicit Lettering(const char* fontFile);
    ~Lettering();
    Lettering(const Lettering&) = delete;
    Lettering& operator=(const Lettering&) = delete;

    bool ready() const { return face_ != nullptr; }
    // The width in pixels that text takes at the given size and weight.
    float measure(const char* text, int pixelSize, float weight);
    // The largest size up to maxSize at which text fits in width pixels.
    int fit(const char* text, int maxSize, float width, float weight);
    // Draws text centred on cx, standing on the baseline y.
    void drawCentred(Canvas& c, const char* text, int pixelSize, float weight, float cx, float y,
                     const Color& color);

  private:
    bool loadGlyph(char ch, int pixelSize, float weight);
    float advance(float weight) const;

    FT_LibraryRec_* library_ = nullptr;
    FT_FaceRec_* face_ = nullptr;
};
