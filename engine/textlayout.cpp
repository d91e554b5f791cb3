#include "engine/textlayout.h"

#include "engine/memory.h"
#include "engine/text.h"

#include <cstring>

namespace {

const vec4 kWhite = {1, 1, 1, 1};

bool isPowerOfTwo(u32 v) {
    return v != 0 && (v & (v - 1)) == 0;
}

// A colour digit of a "~c" or "~e" code: '0'..'9' gives digit / 9, any
// other character full intensity.
f32 colorDigit(u8 c) {
    return c >= '0' && c <= '9' ? static_cast<f32>(c - '0') / 9.0f : 1.0f;
}

// Moves the pen to the start of the next line.
void newLine(TextPen& pen, const TextMetrics& metrics) {
    pen.x = 0;
    pen.y += static_cast<i32>(metrics.cellHeight + metrics.lineSpacing);
    pen.line++;
}

// The state of laying out one string.
class Layout {
  public:
    Layout(const TextBox& box, const TextMetrics& metrics, GlyphSink& sink)
        : box(box), metrics(metrics), sink(sink) {}

    void run(const char* text);

  private:
    bool printWord() {
        return Text::printWord(word, glyphCount, wordWidth, box, metrics, pen, sink);
    }
    void resetWord() {
        wordWidth = 0;
        glyphCount = 0;
    }
    void addGlyph(u8 ch);
    // Reads one character of a code; false when the character is not part
    // of a code.
    bool readCode(u8 ch);

    TextBox box;
    const TextMetrics& metrics;
    GlyphSink& sink;

    Text::GlyphEntry word[kTextWordGlyphs];
    u32 glyphCount = 0;
    i32 wordWidth = 0;
    TextPen pen = {0, 0, 0};
    vec4 color = kWhite;
    vec4 pending = kWhite;
    u32 style = 0;
    // 0 no code, 1 after the tilde, 2..5 reading the digits of "~c",
    // 6..9 of "~e".
    u32 code = 0;
};

void Layout::addGlyph(u8 ch) {
    word[glyphCount++] = Text::GlyphEntry{ch, style, color, wordWidth};
    wordWidth += metrics.glyphWidths[ch] + 2 + ((style & kTextBold) != 0 ? 1 : 0);
}

bool Layout::readCode(u8 ch) {
    if (code == 0) {
        return false;
    }
    if (code == 1) {
        code = 0;
        if (ch == 'c') {
            code = 2;
        } else if (ch == 'e') {
            code = 6;
        } else if (ch == 'b') {
            style ^= kTextBold;
        } else if (ch == 'i') {
            style ^= kTextItalic;
        } else if (ch == 'r') {
            style = 0;
        }
        return true;
    }
    u32 digit = (code - 2) % 4;
    (&pending.x)[digit] = colorDigit(ch);
    if (digit < 3) {
        code++;
        return true;
    }
    if (code == 5) {
        color = pending;
    }
    code = 0;
    return true;
}

void Layout::run(const char* text) {
    const u8* s = reinterpret_cast<const u8*>(text);
    u32 i = 0;
    while (s[i] != 0) {
        u8 ch = s[i];
        if (readCode(ch)) {
            i++;
            continue;
        }
        // A full word is laid out before ch, which then starts the next one.
        if (ch == ' ' || glyphCount == kTextWordGlyphs) {
            if (!printWord()) {
                return;
            }
            resetWord();
            if (ch == ' ') {
                pen.x += metrics.glyphWidths[u8{' '}] + 2;
                i++;
            }
            continue;
        }
        if (ch == '\n' || ch == '\r') {
            if (!printWord()) {
                return;
            }
            newLine(pen, metrics);
            if (pen.line >= box.maxLines) {
                return;
            }
            resetWord();
            i++;
            continue;
        }
        if (ch == '~' && s[i + 1] != '~') {
            code = 1;
            i++;
            continue;
        }
        addGlyph(ch);
        i += ch == '~' ? 2 : 1;
    }
    printWord();
}

} // namespace

bool Text::printWord(const GlyphEntry* entries, u32 count, i32 wordWidth, const TextBox& box,
                     const TextMetrics& metrics, TextPen& pen, GlyphSink& sink) {
    if (wordWidth > static_cast<i32>(box.width)) {
        return false;
    }
    if (pen.x + wordWidth > static_cast<i32>(box.width)) {
        newLine(pen, metrics);
    }
    if (pen.line >= box.maxLines) {
        return false;
    }
    for (u32 i = 0; i < count; i++) {
        const GlyphEntry& e = entries[i];
        sink.draw(
            GlyphDraw{e.character, box.ox + e.offset + pen.x, box.oy - pen.y, e.color, e.style});
    }
    pen.x += wordWidth;
    return true;
}

bool TextFontAccepted(const u8* pixels, u32 width, u32 height) {
    return pixels != nullptr && width >= 16 && height >= 16 && isPowerOfTwo(width) &&
           isPowerOfTwo(height);
}

void TextGlyphWidths(const u8* pixels, u32 width, u32 height, u8 widths[256]) {
    u32 cellWidth = width / 16, cellHeight = height / 16;
    widths[0] = 0;
    for (u32 c = 1; c < 256; c++) {
        u32 left = (c % 16) * cellWidth, top = (c / 16) * cellHeight;
        u32 rightmost = 0;
        for (u32 y = 0; y < cellHeight; y++) {
            const u8* row = pixels + (top + y) * width + left;
            for (u32 x = rightmost + 1; x < cellWidth; x++) {
                if (row[x] != 0) {
                    rightmost = x;
                }
            }
        }
        widths[c] = static_cast<u8>(rightmost < 255 ? rightmost : 255);
    }
}

void TextLayout(const char* text, i32 ox, i32 oy, u32 width, u32 maxLines,
                const TextMetrics& metrics, GlyphSink& sink) {
    Layout(TextBox{ox, oy, width, maxLines}, metrics, sink).run(text);
}

TextQueue::TextQueue() : buffers(), xs(), ys(), widths(), maxLines(), capacities(), count(0) {}

TextQueue::~TextQueue() {
    for (char* buffer : buffers) {
        if (buffer != nullptr) {
            MemoryFree(buffer);
        }
    }
}

bool TextQueue::push(const char* text, f32 x, f32 y, u32 width, u32 lines) {
    if (count == kTextSlots) {
        return false;
    }
    u32 slot = count;
    u32 length = static_cast<u32>(std::strlen(text));
    if (buffers[slot] == nullptr || length > capacities[slot]) {
        u32 capacity = 2 * length;
        void* grown = buffers[slot] == nullptr ? MemoryAllocate(capacity + 1)
                                               : MemoryReallocate(buffers[slot], capacity + 1);
        buffers[slot] = static_cast<char*>(grown);
        capacities[slot] = capacity;
    }
    std::memcpy(buffers[slot], text, length + 1);
    xs[slot] = x;
    ys[slot] = y;
    widths[slot] = width;
    maxLines[slot] = lines;
    count++;
    return true;
}
