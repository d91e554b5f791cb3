#pragma once

#include "engine/types.h"
#include "engine/vecmath.h"

// The text printer's pure half: the font's glyph widths, the queue of strings
// and the layout of one string into glyph draws. Nothing here touches GL, so
// it is tested without a window.

constexpr u32 kTextSlots = 32;
constexpr u32 kTextWordGlyphs = 8;

// Style flags of a glyph.
constexpr u32 kTextBold = 1;
constexpr u32 kTextItalic = 2;

// Whether a loaded picture can serve as a font of 16 x 16 cells: present, and
// both sides powers of two of at least 16 pixels.
bool TextFontAccepted(const u8* pixels, u32 width, u32 height);

// For each character code the index of the rightmost inked column of its
// cell (0 when the cell is empty; code 0 is always 0). The picture is one
// byte per pixel, rows from the top.
void TextGlyphWidths(const u8* pixels, u32 width, u32 height, u8 widths[256]);

// One glyph to draw: its character, the lower-left corner of its cell in
// pixels from the screen centre (y up), its colour and style flags.
struct GlyphDraw {
    u8 character;
    i32 x;
    i32 y;
    vec4 color;
    u32 style;
};

// Receives the glyphs of a string in drawing order.
class GlyphSink {
  public:
    virtual ~GlyphSink() = default;
    virtual void draw(const GlyphDraw& glyph) = 0;
};

// What the layout needs of the font.
struct TextMetrics {
    const u8* glyphWidths; // 256 entries
    u32 cellHeight;
    u32 lineSpacing;
};

// Where one string is laid out: its origin in pixels from the screen centre
// (y up), the width in pixels at which its lines wrap, and the number of
// lines it may take.
struct TextBox {
    i32 ox;
    i32 oy;
    u32 width;
    u32 maxLines;
};

// The pen of a string being laid out: where its next word goes, in pixels
// right of and below the origin, and the line that word stands on.
struct TextPen {
    i32 x;
    i32 y;
    u32 line;
};

// Lays one string out from its origin (ox, oy) in pixels from the screen
// centre: "~" codes, words of at most 8 glyphs wrapped at width pixels, and
// at most maxLines lines. A word wider than width ends the string; each
// word is placed by Text::printWord.
void TextLayout(const char* text, i32 ox, i32 oy, u32 width, u32 maxLines,
                const TextMetrics& metrics, GlyphSink& sink);

// The 32 slots of queued strings. Slot buffers are allocated on first use,
// grown to twice the string's length when it does not fit, and kept until
// the queue is destroyed.
class TextQueue {
  public:
    TextQueue();
    ~TextQueue();
    TextQueue(const TextQueue&) = delete;
    TextQueue& operator=(const TextQueue&) = delete;

    // Queues a copy of the text; false (and nothing queued) when all 32
    // slots are taken.
    bool push(const char* text, f32 x, f32 y, u32 width, u32 maxLines);
    void clear() { count = 0; }
    u32 getCount() const { return count; }

    const char* getText(u32 slot) const { return buffers[slot]; }
    f32 getX(u32 slot) const { return xs[slot]; }
    f32 getY(u32 slot) const { return ys[slot]; }
    u32 getWidth(u32 slot) const { return widths[slot]; }
    u32 getMaxLines(u32 slot) const { return maxLines[slot]; }
    // Characters the slot's buffer holds without its terminating zero.
    u32 getCapacity(u32 slot) const { return capacities[slot]; }

  private:
    char* buffers[kTextSlots];
    f32 xs[kTextSlots];
    f32 ys[kTextSlots];
    u32 widths[kTextSlots];
    u32 maxLines[kTextSlots];
    u32 capacities[kTextSlots];
    u32 count;
};
