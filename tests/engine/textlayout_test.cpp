// The text printer's layout, queue and font measuring, without a window.
#include "engine/memory.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/text.h"
#include "engine/textlayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every glyph 5 pixels wide (an advance of 7), the space 3 (an advance of 5).
struct Font {
    u8 widths[256];
    Font() {
        for (u8& w : widths) {
            w = 5;
        }
        widths[0] = 0;
        widths[u8{' '}] = 3;
    }
};
const Font kFont;
const TextMetrics kMetrics = {kFont.widths, 16, 4};
constexpr i32 kLine = 20; // cell height + line spacing

struct Recorder : GlyphSink {
    std::vector<GlyphDraw> glyphs;
    void draw(const GlyphDraw& g) override { glyphs.push_back(g); }
    std::string characters() const {
        std::string s;
        for (const GlyphDraw& g : glyphs) {
            s += static_cast<char>(g.character);
        }
        return s;
    }
};

Recorder layout(const char* text, u32 width = 1000, u32 maxLines = 10, i32 ox = 0, i32 oy = 0) {
    Recorder r;
    TextLayout(text, ox, oy, width, maxLines, kMetrics, r);
    return r;
}

bool isColor(const GlyphDraw& g, f32 r, f32 gr, f32 b, f32 a) {
    return g.color.x == r && g.color.y == gr && g.color.z == b && g.color.w == a;
}

TEST(TextLayout, CodesAndTheirEffects) {
    struct Case {
        const char* text;
        const char* drawn;
    };
    const Case cases[] = {
        {"a b ~c9009c d", "abcd"},
        {"~e0000x", "x"},
        {"~sx~s", "x"},
        {"a~~b", "a~b"},
        {"~b~i~rx", "x"},
        {"~", ""},
        {"ab~c90", "ab"},
        {"ab~c9", "ab"},
        {"~q", ""},
        {"x~", "x"},
        {"~~~~", "~~"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(layout(c.text).characters(), c.drawn) << c.text;
    }
}

TEST(TextLayout, ColourAppliesFromTheNextGlyph) {
    Recorder r = layout("a b ~c9009c d");
    ASSERT_EQ(r.glyphs.size(), 4u);
    EXPECT_TRUE(isColor(r.glyphs[0], 1, 1, 1, 1));
    EXPECT_TRUE(isColor(r.glyphs[1], 1, 1, 1, 1));
    EXPECT_TRUE(isColor(r.glyphs[2], 1, 0, 0, 1));
    EXPECT_TRUE(isColor(r.glyphs[3], 1, 0, 0, 1));

    // "~e" reads a colour without using it; a non-digit gives full intensity.
    EXPECT_TRUE(isColor(layout("~e0000x").glyphs[0], 1, 1, 1, 1));
    GlyphDraw g = layout("~c3x90y").glyphs[0];
    EXPECT_TRUE(isColor(g, 3.0f / 9.0f, 1, 1, 0));
    EXPECT_TRUE(isColor(layout("~c9009~sx~s").glyphs[0], 1, 0, 0, 1));
}

TEST(TextLayout, BoldAndItalicToggle) {
    Recorder r = layout("a~bb~ic~bd~re");
    ASSERT_EQ(r.characters(), "abcde");
    const u32 styles[] = {0, kTextBold, kTextBold | kTextItalic, kTextItalic, 0};
    for (u32 i = 0; i < 5; i++) {
        EXPECT_EQ(r.glyphs[i].style, styles[i]) << i;
    }
    // A bold glyph is one pixel wider.
    Recorder bold = layout("~bab");
    EXPECT_EQ(bold.glyphs[1].x - bold.glyphs[0].x, 8);
}

TEST(TextLayout, PositionsFollowTheOriginWidthsAndSpaces) {
    Recorder r = layout("ab c", 1000, 10, 100, -50);
    ASSERT_EQ(r.glyphs.size(), 3u);
    EXPECT_EQ(r.glyphs[0].x, 100);
    EXPECT_EQ(r.glyphs[1].x, 107);
    EXPECT_EQ(r.glyphs[2].x, 119); // two glyphs of 7 and a space of 5
    for (const GlyphDraw& g : r.glyphs) {
        EXPECT_EQ(g.y, -50);
    }
}

TEST(TextLayout, LongWordsBreakIntoPiecesOfEightThatWrapApart) {
    // 56 pixels hold one piece of eight glyphs, not two.
    Recorder r = layout("abcdefghijklmnopqrst", 60);
    ASSERT_EQ(r.characters(), "abcdefghijklmnopqrst");
    for (u32 i = 0; i < 20; i++) {
        u32 piece = i / 8;
        EXPECT_EQ(r.glyphs[i].x, static_cast<i32>(i % 8) * 7) << i;
        EXPECT_EQ(r.glyphs[i].y, -static_cast<i32>(piece) * kLine) << i;
    }
    // Wide enough: the pieces stand on one line without gaps.
    Recorder wide = layout("abcdefghijklmnopqrst", 1000);
    EXPECT_EQ(wide.glyphs[19].x, 19 * 7);
    EXPECT_EQ(wide.glyphs[19].y, 0);
}

TEST(TextLayout, WrappingAndLineLimits) {
    // "aaa" is 21 pixels; two words and a space take 47 pixels.
    Recorder wrapped = layout("aaa bbb", 40);
    ASSERT_EQ(wrapped.characters(), "aaabbb");
    EXPECT_EQ(wrapped.glyphs[3].x, 0);
    EXPECT_EQ(wrapped.glyphs[3].y, -kLine);

    EXPECT_EQ(layout("aaa bbb", 40, 1).characters(), "aaa");
    EXPECT_EQ(layout("ab\ncd", 1000, 1).characters(), "ab");
    EXPECT_EQ(layout("ab", 1000, 0).characters(), "");

    Recorder lines = layout("ab\ncd\r\nef", 1000, 10);
    ASSERT_EQ(lines.characters(), "abcdef");
    EXPECT_EQ(lines.glyphs[2].x, 0);
    EXPECT_EQ(lines.glyphs[2].y, -kLine);
    EXPECT_EQ(lines.glyphs[4].y, -3 * kLine); // "\r\n" is two line breaks

    // A word wider than the width ends the string; what fitted stays.
    EXPECT_EQ(layout("ab abcd ab", 25).characters(), "ab");
}

// One word of 15 pixels from the origin (100, 50): drawn at the pen, on a
// new line when the rest of the line is too short, or the string stopped.
TEST(TextLayout, PrintWordPlacesTheWordOrStopsTheString) {
    const Text::GlyphEntry word[2] = {{'a', 0, {1, 1, 1, 1}, 0}, {'b', kTextBold, {1, 0, 0, 1}, 7}};
    struct Case {
        u32 width, maxLines;
        TextPen pen;
        bool goesOn;
        TextPen after;
    };
    const Case cases[] = {
        {100, 2, {20, 0, 0}, true, {35, 0, 0}},
        {30, 2, {20, 0, 0}, true, {15, kLine, 1}},
        {30, 1, {20, 0, 0}, false, {0, kLine, 1}},
        {10, 2, {0, 0, 0}, false, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width * 10 + c.maxLines);
        Recorder r;
        TextPen pen = c.pen;
        EXPECT_EQ(
            Text::printWord(word, 2, 15, TextBox{100, 50, c.width, c.maxLines}, kMetrics, pen, r),
            c.goesOn);
        EXPECT_EQ(pen.x, c.after.x);
        EXPECT_EQ(pen.y, c.after.y);
        EXPECT_EQ(pen.line, c.after.line);
        if (!c.goesOn) {
            EXPECT_TRUE(r.glyphs.empty());
            continue;
        }
        ASSERT_EQ(r.characters(), "ab");
        EXPECT_EQ(r.glyphs[0].x, 100 + c.after.x - 15);
        EXPECT_EQ(r.glyphs[1].x, 107 + c.after.x - 15);
        EXPECT_EQ(r.glyphs[1].y, 50 - c.after.y);
        EXPECT_EQ(r.glyphs[1].style, kTextBold);
        EXPECT_TRUE(isColor(r.glyphs[1], 1, 0, 0, 1));
    }
}

TEST(TextLayout, BytesAboveTheAsciiRangeStayInTheirCells) {
    Font font;
    font.widths[200] = 9;
    font.widths[255] = 1;
    TextMetrics metrics = {font.widths, 16, 4};
    Recorder r;
    TextLayout("\xc8\xff"
               "a",
               0, 0, 1000, 1, metrics, r);
    ASSERT_EQ(r.glyphs.size(), 3u);
    EXPECT_EQ(r.glyphs[0].character, 200);
    EXPECT_EQ(r.glyphs[1].character, 255);
    EXPECT_EQ(r.glyphs[1].x, 11);
    EXPECT_EQ(r.glyphs[2].x, 14);
}

TEST(TextFont, AcceptsOnlyPowerOfTwoSidesOfAtLeastSixteen) {
    const u8 pixel = 0;
    EXPECT_TRUE(TextFontAccepted(&pixel, 16, 16));
    EXPECT_TRUE(TextFontAccepted(&pixel, 256, 64));
    EXPECT_FALSE(TextFontAccepted(nullptr, 256, 256));
    EXPECT_FALSE(TextFontAccepted(&pixel, 8, 8));
    EXPECT_FALSE(TextFontAccepted(&pixel, 1, 1));
    EXPECT_FALSE(TextFontAccepted(&pixel, 0, 256));
    EXPECT_FALSE(TextFontAccepted(&pixel, 48, 64));
    EXPECT_FALSE(TextFontAccepted(&pixel, 64, 100));
}

TEST(TextFont, GlyphWidthIsTheRightmostInkedColumn) {
    // 32 x 32 pixels: cells of 2 x 2.
    std::vector<u8> picture(32 * 32, 0);
    auto ink = [&](u32 code, u32 x, u32 y) {
        picture[((code / 16) * 2 + y) * 32 + (code % 16) * 2 + x] = 7;
    };
    ink(0, 1, 0);   // code 0 is always 0
    ink('A', 0, 1); // ink only in column 0: width 0, as an empty cell
    ink('B', 1, 1);
    ink('C', 0, 0);
    ink('C', 1, 1);
    ink(255, 1, 0); // the last cell, bottom right of the picture
    u8 widths[256];
    TextGlyphWidths(picture.data(), 32, 32, widths);
    EXPECT_EQ(widths[0], 0);
    EXPECT_EQ(widths[u8{'A'}], 0);
    EXPECT_EQ(widths[u8{'B'}], 1);
    EXPECT_EQ(widths[u8{'C'}], 1);
    EXPECT_EQ(widths[255], 1);
    EXPECT_EQ(widths[u8{'D'}], 0);
    EXPECT_EQ(widths[1], 0);
}

TEST(TextQueue, SlotsGrowToTwiceTheLengthAndKeepTheirBuffers) {
    u32 blocks = MemoryGetBlockCount();
    {
        TextQueue queue;
        ASSERT_TRUE(queue.push("hello", 0.5f, -0.25f, 100, 3));
        EXPECT_EQ(queue.getCapacity(0), 10u);
        EXPECT_STREQ(queue.getText(0), "hello");
        EXPECT_EQ(queue.getX(0), 0.5f);
        EXPECT_EQ(queue.getY(0), -0.25f);
        EXPECT_EQ(queue.getWidth(0), 100u);
        EXPECT_EQ(queue.getMaxLines(0), 3u);
        queue.clear();
        EXPECT_EQ(queue.getCount(), 0u);

        // A string as long as the capacity fits as it is.
        queue.push("0123456789", 0, 0, 1, 1);
        EXPECT_EQ(queue.getCapacity(0), 10u);
        queue.clear();
        queue.push("0123456789a", 0, 0, 1, 1);
        EXPECT_EQ(queue.getCapacity(0), 22u);
        EXPECT_STREQ(queue.getText(0), "0123456789a");
        queue.clear();
        queue.push("", 0, 0, 1, 1);
        EXPECT_EQ(queue.getCapacity(0), 22u);
        EXPECT_EQ(MemoryGetBlockCount(), blocks + 1);
    }
    EXPECT_EQ(MemoryGetBlockCount(), blocks);
}

TEST(TextQueue, ThirtyThirdStringIsDropped) {
    TextQueue queue;
    for (u32 i = 0; i < kTextSlots; i++) {
        std::string s = std::to_string(i);
        ASSERT_TRUE(queue.push(s.c_str(), 0, 0, 10, 1));
    }
    EXPECT_FALSE(queue.push("one too many", 0, 0, 10, 1));
    EXPECT_EQ(queue.getCount(), kTextSlots);
    EXPECT_STREQ(queue.getText(31), "31");
}

// A printer whose font is missing reports it, queues as usual, and printing
// only empties the queue.
TEST(TextPrinter, WithoutAFontPrintingEmptiesTheQueue) {
    Text text("../fonts/no-such-font.png", 4);
    EXPECT_NE(std::string(ReportLastMessage()).find("Couldn't load the font picture"),
              std::string::npos);
    text.print("a", 0, 0, 100, 1);
    text.print("b", 0, 0, 100, 1);
    EXPECT_EQ(text.getQueuedCount(), 2u);
    text.printAll();
    EXPECT_EQ(text.getQueuedCount(), 0u);
    text.printAll();
    EXPECT_EQ(text.getQueuedCount(), 0u);
    for (u32 i = 0; i < 40; i++) {
        text.print("x", 0, 0, 100, 1);
    }
    EXPECT_EQ(text.getQueuedCount(), kTextSlots);
}

// The last report is queued in red, and a line too long for the buffer with
// the colour code in front is cut rather than overrun it.
TEST(ReportOnScreen, QueuesTheLastReportOnlyOnceThereIsOne) {
    ReportDrawLast(600); // no registry yet
    SceneGraph::init();
    Text* text = SceneGraph::getText();
    text->printAll();
    ReportDrawLast(600);
    EXPECT_EQ(text->getQueuedCount(), ReportLastMessage() != nullptr ? 1u : 0u);
    text->printAll();

    std::string longText(9000, 'x');
    Result longReport = {1, longText.c_str()};
    REPORT(longReport);
    ASSERT_EQ(std::string(ReportLastMessage()).size(), 8191u);
    ReportDrawLast(600);
    EXPECT_EQ(text->getQueuedCount(), 1u);
    EXPECT_EQ(text->getSlotCapacity(0), 2u * 8191u);
    text->printAll();
    SceneGraph::shutdown();
    ReportDrawLast(600);
}

} // namespace
