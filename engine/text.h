#pragma once

#include "engine/textlayout.h"
#include "engine/types.h"

class ShaderProgram;

// The bitmap-font printer: strings are queued during the frame with print
// and drawn on top of it by printAll, one quad and one draw call a glyph.
// The font is a picture of 16 x 16 cells, character code c at column c % 16
// and row c / 16 from the top, its ink starting at the cell's left edge.
//
// In-line codes: "~c" and four characters sets the colour (red, green, blue,
// alpha; '0'..'9' give digit / 9, anything else 1) from the next glyph on;
// "~e" and four characters reads a colour without using it; "~b" and "~i"
// toggle bold and italic; "~r" clears both; "~~" prints a tilde; a tilde and
// any other character prints nothing. Each string starts white and plain.
class Text {
  public:
    // One glyph of the word being laid out: its character, style flags
    // (kTextBold, kTextItalic), colour, and x offset in pixels within the
    // word.
    struct GlyphEntry {
        u8 character;
        u32 style;
        vec4 color;
        i32 offset;
    };

    // Loads the font and builds its texture and the "TextProg" program.
    // A font that cannot be loaded, or whose sides are not powers of two of
    // at least 16 pixels, is reported and leaves a printer that draws
    // nothing.
    Text(const char* fontFile, u32 lineSpacing);
    ~Text();
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;

    // The size in pixels of the surface printed on next.
    void setScreenSize(f32 width, f32 height);
    // Queues a copy of the text at (x, y) in -1..1 over the screen (the
    // first line stands on y), wrapped at width pixels, at most maxLines
    // lines. A string beyond the 32 queued ones is dropped.
    void print(const char* text, f32 x, f32 y, u32 width, u32 maxLines);
    // Draws every queued string in order and empties the queue.
    void printAll();

    // Places a laid-out word of count entries, wordWidth pixels wide: on a
    // new line when it does not fit the rest of the pen's line, then its
    // glyphs through the sink, and moves the pen behind it. False when the
    // string stops here, the word being wider than the box or the box's
    // lines used up; nothing is drawn then.
    static bool printWord(const GlyphEntry* entries, u32 count, i32 wordWidth, const TextBox& box,
                          const TextMetrics& metrics, TextPen& pen, GlyphSink& sink);

    u32 getQueuedCount() const { return queue.getCount(); }
    u32 getSlotCapacity(u32 slot) const { return queue.getCapacity(slot); }
    const u8* getGlyphWidths() const { return glyphWidths; }

  private:
    class Drawer;

    bool createTexture(const u8* pixels);
    void printString(u32 slot, Drawer& drawer);
    // Draws one glyph quad with its cell, colour and style.
    void drawGlyph(const GlyphDraw& glyph) const;

    u32 textureId;
    u32 fontWidth, fontHeight;
    u32 cellHeight, cellWidth;
    u8 glyphWidths[256];
    f32 cellU, cellV;
    u32 lineSpacing;
    f32 screenWidth, screenHeight;
    ShaderProgram* program;
    TextQueue queue;
    // The glyph quad (x, y per vertex), its texture coordinates and the size
    // of a screen pixel in clip units.
    f32 quad[8];
    f32 quadTex[8];
    f32 pixelSize[2];
};
