// The text printer drawing into a real window; skipped without a display.
#include "engine/scenegraph.h"
#include "engine/shaderprogram.h"
#include "engine/text.h"
#include "host/ape.h"
#include "tests/support/glwindow.h"

#include <GLES2/gl2.h>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr i32 kSize = 256;

struct Ink {
    u32 red = 0, white = 0, other = 0;
    i32 left = kSize, right = -1, bottom = kSize, top = -1;
};

class TextDrawing : public testing::Test {
  protected:
    void SetUp() override {
        if (!StartGlWindow()) {
            GTEST_SKIP() << "no X display";
        }
        SceneGraph::init();
        text = SceneGraph::getText();
        glViewport(0, 0, kSize, kSize);
        SceneGraph::setScreenSize(kSize, kSize);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override {
        if (text != nullptr) {
            SceneGraph::shutdown();
        }
    }

    // The lit pixels of the square, sorted by colour (white glyphs' edges
    // are grey, red ones' dark red), and their bounds
    // (window pixels from the bottom-left).
    static Ink readInk() {
        std::vector<u8> rgba(kSize * kSize * 4);
        glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        Ink ink;
        for (i32 y = 0; y < kSize; y++) {
            for (i32 x = 0; x < kSize; x++) {
                const i32 r = rgba[(y * kSize + x) * 4], g = rgba[(y * kSize + x) * 4 + 1],
                          b = rgba[(y * kSize + x) * 4 + 2];
                if (r <= 30 && g <= 30 && b <= 30) {
                    continue;
                }
                bool grey = std::abs(r - g) < 20 && std::abs(r - b) < 20;
                bool red = g < 20 && b < 20;
                (grey ? ink.white : red ? ink.red : ink.other)++;
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.bottom = std::min(ink.bottom, y);
                ink.top = std::max(ink.top, y);
            }
        }
        return ink;
    }

    Text* text = nullptr;
};

TEST_F(TextDrawing, TheProgramDeclaresEveryInputOfTheGlyphQuad) {
    ShaderProgram* program = SceneGraph::getShaderProgram("TextProg");
    ASSERT_NE(program, nullptr);
    EXPECT_TRUE(program->isLinked());
    for (const char* name : {"pos", "tex"}) {
        EXPECT_GE(program->getAttributeLocation(name), 0) << name;
    }
    for (const char* name : {"offset", "glyph", "pixel_size", "color", "bold", "italic", "smp2d"}) {
        EXPECT_GE(program->getUniformLocation(name), 0) << name;
    }
    SceneGraph::dereferenceResource(program);
}

TEST_F(TextDrawing, ColourCodeDrawsRedGlyphsWhereTheStringStands) {
    // Another unit left active by a material does not hide the font.
    glActiveTexture(GL_TEXTURE3);
    text->print("HH~c9009HH", -0.5f, 0.0f, 200, 1);
    text->printAll();
    EXPECT_EQ(text->getQueuedCount(), 0u);
    Ink ink = readInk();
    EXPECT_GT(ink.white, 20u);
    EXPECT_GT(ink.red, 20u);
    EXPECT_EQ(ink.other, 0u);
    // The cell's lower-left corner is at (-64, 0) from the centre, and the
    // glyphs stand on the baseline 4 pixels above the cell's bottom.
    EXPECT_GE(ink.left, 64);
    EXPECT_LE(ink.right, 64 + 4 * 16);
    EXPECT_GE(ink.bottom, 128 + 3);
    EXPECT_LE(ink.top, 128 + 16);

    glClear(GL_COLOR_BUFFER_BIT);
    text->printAll();
    Ink none = readInk();
    EXPECT_EQ(none.white + none.red + none.other, 0u);
}

TEST_F(TextDrawing, BoldGlyphsAreWiderAndItalicOnesSlant) {
    text->print("I", 0.0f, 0.0f, 200, 1);
    text->printAll();
    Ink plain = readInk();
    glClear(GL_COLOR_BUFFER_BIT);
    text->print("~bI", 0.0f, 0.0f, 200, 1);
    text->printAll();
    Ink bold = readInk();
    glClear(GL_COLOR_BUFFER_BIT);
    text->print("~iI", 0.0f, 0.0f, 200, 1);
    text->printAll();
    Ink italic = readInk();
    ASSERT_GT(plain.white, 0u);
    EXPECT_GT(bold.white, plain.white);
    EXPECT_GT(italic.right, plain.right);
}

} // namespace
