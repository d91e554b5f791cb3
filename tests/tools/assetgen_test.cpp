// The golf pictures as the build writes them: sizes and channels the engine
// can load, the menu's buttons and corner tab where the game's touch boxes
// are, a plain area on the level-completed screen for the game's own line,
// and textures that repeat without a seam; the same for the tower-defence
// pictures, whose menu bars are mirrored for the bar's texture coordinates.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <png.h>
#include <string>
#include <vector>

namespace {

// A picture read back as 8-bit RGB, with the colour type its file declares.
struct Picture {
    int width = 0, height = 0, colorType = -1;
    std::vector<png_byte> rgb;

    // Luminance 0..1 of the pixel at (x, y), rows from the top.
    float lum(int x, int y) const {
        const png_byte* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return (0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2]) / 255.0f;
    }
    int channel(int x, int y, int k) const {
        return rgb[(static_cast<size_t>(y) * width + x) * 3 + k];
    }
    // Mean luminance over fractions [u0, u1) x [v0, v1) of the picture.
    float meanLum(float u0, float v0, float u1, float v1) const {
        double sum = 0;
        int n = 0;
        for (int y = int(v0 * height); y < int(v1 * height); y++) {
            for (int x = int(u0 * width); x < int(u1 * width); x++) {
                sum += lum(x, y);
                n++;
            }
        }
        return n == 0 ? 0.0f : float(sum / n);
    }
    float maxLum(float u0, float v0, float u1, float v1) const {
        float best = 0;
        for (int y = int(v0 * height); y < int(v1 * height); y++) {
            for (int x = int(u0 * width); x < int(u1 * width); x++) {
                best = std::max(best, lum(x, y));
            }
        }
        return best;
    }
    // Mean absolute channel difference between columns a and b, or rows a
    // and b when rows is set.
    float lineDifference(int a, int b, bool rows) const {
        int length = rows ? width : height;
        double sum = 0;
        for (int i = 0; i < length; i++) {
            for (int k = 0; k < 3; k++) {
                sum += rows ? std::abs(channel(i, a, k) - channel(i, b, k))
                            : std::abs(channel(a, i, k) - channel(b, i, k));
            }
        }
        return float(sum / (length * 3));
    }
};

std::string assetPath(const char* rel) {
    return std::string(ASSET_ROOT) + "/" + rel;
}

// The colour type stands in the IHDR chunk at byte 25 of every PNG file.
int fileColorType(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return -1;
    }
    unsigned char head[26] = {};
    size_t n = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    return n == sizeof head ? head[25] : -1;
}

Picture load(const char* rel) {
    Picture p;
    std::string path = assetPath(rel);
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        ADD_FAILURE() << "cannot read " << path;
        return p;
    }
    image.format = PNG_FORMAT_RGB;
    p.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, p.rgb.data(), 0, nullptr)) {
        ADD_FAILURE() << "cannot decode " << path;
        return Picture();
    }
    p.width = int(image.width);
    p.height = int(image.height);
    p.colorType = fileColorType(path);
    return p;
}

bool powerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

TEST(GolfPictures, SizesAndChannelsTheEngineLoads) {
    struct Case {
        const char* file;
        int width, height;
    };
    const Case cases[] = {{"textures/chrome.png", 256, 256}, {"textures/noise.png", 128, 128},
                          {"textures/tiles4.png", 128, 128}, {"project/woodbg.png", 512, 256},
                          {"project/tmpmenu.png", 512, 512}, {"project/tmpend.png", 512, 512}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Picture p = load(c.file);
        EXPECT_TRUE(powerOfTwo(p.width) && powerOfTwo(p.height));
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, c.height);
        EXPECT_EQ(p.colorType, PNG_COLOR_TYPE_RGB);
    }
}

// Touch boxes as fractions of the picture from its top-left: continue
// 0.125..0.875 x 0.20..0.45, restart 0.125..0.875 x 0.625..0.85.
TEST(GolfPictures, MenuButtonsStandOnTheTouchBoxes) {
    Picture menu = load("project/tmpmenu.png");
    ASSERT_EQ(menu.width, 512);
    float panel = menu.meanLum(0.45f, 0.50f, 0.55f, 0.57f);
    float continueFill = menu.meanLum(0.16f, 0.24f, 0.20f, 0.41f);
    float restartFill = menu.meanLum(0.16f, 0.67f, 0.20f, 0.81f);
    EXPECT_GT(continueFill, panel + 0.2f);
    EXPECT_GT(restartFill, panel + 0.2f);
    // Each label lies inside its box.
    EXPECT_GT(menu.maxLum(0.25f, 0.28f, 0.75f, 0.38f), 0.95f);
    EXPECT_GT(menu.maxLum(0.25f, 0.70f, 0.75f, 0.78f), 0.95f);
    // Nothing bright between them, where a press does nothing.
    EXPECT_LT(menu.maxLum(0.20f, 0.48f, 0.80f, 0.59f), 0.5f);
}

// During play only the bottom-left 5.5 % each way of the menu shows, in the
// screen's top-right corner; that is the tab that opens the menu.
TEST(GolfPictures, MenuTabFillsTheCornerThatShowsDuringPlay) {
    Picture menu = load("project/tmpmenu.png");
    ASSERT_EQ(menu.width, 512);
    EXPECT_GT(menu.meanLum(0.0f, 0.945f, 0.055f, 1.0f), 0.55f);
    EXPECT_LT(menu.meanLum(0.09f, 0.945f, 0.15f, 1.0f), 0.35f);
    EXPECT_LT(menu.meanLum(0.0f, 0.85f, 0.055f, 0.92f), 0.35f);
}

// The game prints "Level completed with %d shots" in white from the centre
// of the lower-left quarter: that quarter stays plain and dark.
TEST(GolfPictures, LevelCompletedLeavesItsLowerLeftQuarterPlain) {
    Picture end = load("project/tmpend.png");
    ASSERT_EQ(end.width, 512);
    int worst = 0;
    for (int y = end.height / 2; y < end.height - 1; y++) {
        for (int x = 0; x < end.width / 2 - 1; x++) {
            for (int k = 0; k < 3; k++) {
                worst = std::max(worst, std::abs(end.channel(x, y, k) - end.channel(x + 1, y, k)));
                worst = std::max(worst, std::abs(end.channel(x, y, k) - end.channel(x, y + 1, k)));
            }
        }
    }
    EXPECT_LE(worst, 2);
    EXPECT_LT(end.maxLum(0.0f, 0.5f, 0.5f, 1.0f), 0.3f);
    EXPECT_GT(end.maxLum(0.1f, 0.05f, 0.9f, 0.5f), 0.9f);
}

// Walls repeat their tiles many times and the hole its noise, both ways; the
// chrome wraps once round the ball. The wrap from the last column (row) to
// the first must be no harsher than a step between neighbouring ones.
struct WrapCase {
    const char* file;
    bool rows;
};

void expectWrapsWithoutSeam(const std::vector<WrapCase>& cases) {
    for (const WrapCase& c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.rows ? " rows" : " columns"));
        Picture p = load(c.file);
        int count = c.rows ? p.height : p.width;
        ASSERT_GT(count, 2);
        double inner = 0;
        for (int i = 0; i + 1 < count; i++) {
            inner += p.lineDifference(i, i + 1, c.rows);
        }
        inner /= count - 1;
        EXPECT_LE(p.lineDifference(count - 1, 0, c.rows), 2.0 * inner + 1.0);
    }
}

TEST(GolfPictures, RepeatedTexturesWrapWithoutSeam) {
    expectWrapsWithoutSeam({{"textures/tiles4.png", false},
                            {"textures/tiles4.png", true},
                            {"textures/noise.png", false},
                            {"textures/noise.png", true},
                            {"textures/chrome.png", false}});
}

TEST(TowerDefencePictures, SizesArePowersOfTwo) {
    for (const char* file :
         {"textures/grass.png", "textures/RedDirt.png", "textures/cannontower_low.png",
          "textures/enemy.png", "textures/hpbar.png", "textures/spaceback.png",
          "textures/BaseMenuNew.png", "textures/TowerMenu2.png",
          "textures/UpgradeSelections.png"}) {
        Picture p = load(file);
        EXPECT_TRUE(powerOfTwo(p.width) && powerOfTwo(p.height))
            << file << " " << p.width << " x " << p.height;
    }
}

// The grass repeats 3 times across the field and 6 times along it.
TEST(TowerDefencePictures, GroundTexturesWrapWithoutSeam) {
    expectWrapsWithoutSeam({{"textures/grass.png", false},
                            {"textures/grass.png", true},
                            {"textures/RedDirt.png", false},
                            {"textures/RedDirt.png", true}});
}

// The bar shows a picture with u = 1 - x: its first button (on the screen's
// left) stands at the picture's right end, the fifth at its left end.
TEST(TowerDefencePictures, MenuBarsAreMirroredForTheBar) {
    struct Case {
        const char* file;
        float u0, u1; // a band of the picture inside one button
        int lead;     // the channel that leads there: 0 red, 1 green
    };
    const Case cases[] = {
        {"textures/BaseMenuNew.png", 0.88f, 0.98f, 1},
        {"textures/TowerMenu2.png", 0.02f, 0.12f, 0},
        {"textures/UpgradeSelections.png", 0.02f, 0.12f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Picture p = load(c.file);
        ASSERT_EQ(p.width, 512);
        ASSERT_EQ(p.height, 64);
        long sum[3] = {0, 0, 0};
        const int y = 8;
        for (int x = int(c.u0 * p.width); x < int(c.u1 * p.width); x++) {
            for (int k = 0; k < 3; k++) {
                sum[k] += p.channel(x, y, k);
            }
        }
        for (int k = 0; k < 3; k++) {
            if (k != c.lead) {
                EXPECT_GT(sum[c.lead], sum[k] * 3 / 2) << "channel " << k;
            }
        }
    }
}

TEST(GolfPictures, HoleNoiseIsDarkButNotFlat) {
    Picture noise = load("textures/noise.png");
    ASSERT_EQ(noise.width, 128);
    EXPECT_LT(noise.meanLum(0, 0, 1, 1), 0.2f);
    EXPECT_GT(noise.maxLum(0, 0, 1, 1) - noise.meanLum(0, 0, 1, 1), 0.04f);
}

// The bitmap font: 16 x 16 cells of 16 pixels in a grey picture. Every glyph
// is whole pixels, fully inked or empty (so text shows its colour at full
// strength), and starts at its cell's left edge, where the printer measures
// its width from; the last column stays empty. The space holds one pixel of
// ink too faint to see, at 1/255, which gives it a width.
TEST(FontPicture, CrispGlyphsFromTheCellsLeftEdge) {
    Picture font = load("fonts/font.png");
    ASSERT_EQ(font.width, 256);
    ASSERT_EQ(font.height, 256);
    EXPECT_EQ(font.colorType, PNG_COLOR_TYPE_GRAY);
    const int space = 32, cell = 16;
    for (int code = 0; code < 256; code++) {
        SCOPED_TRACE(code);
        int x0 = (code % 16) * cell, y0 = (code / 16) * cell;
        int inked = 0, leftmost = cell, rightmost = -1;
        for (int y = y0; y < y0 + cell; y++) {
            for (int x = x0; x < x0 + cell; x++) {
                int v = font.channel(x, y, 0);
                if (code == space) {
                    EXPECT_EQ(v, x - x0 == 3 && y - y0 == 12 ? 1 : 0);
                    continue;
                }
                ASSERT_TRUE(v == 0 || v == 255) << "pixel " << x - x0 << ", " << y - y0;
                if (v != 0) {
                    inked++;
                    leftmost = std::min(leftmost, x - x0);
                    rightmost = std::max(rightmost, x - x0);
                }
            }
        }
        if (code > space && code < 127) {
            EXPECT_GT(inked, 0);
            EXPECT_EQ(leftmost, 0);
            EXPECT_LT(rightmost, cell - 1);
        } else if (code != space) {
            EXPECT_EQ(inked, 0);
        }
    }
    // The stems of 'l' and 'I' are one pixel wide.
    for (int code : {int('l'), int('I')}) {
        int x0 = (code % 16) * cell, y0 = (code / 16) * cell;
        for (int y = y0; y < y0 + cell; y++) {
            EXPECT_EQ(font.channel(x0 + 1, y, 0), 0) << char(code);
        }
    }
}

} // namespace
