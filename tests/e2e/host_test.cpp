// The phone host as a user meets it, with the stand-in golf program: the
// splash, the phone picture with its game screen, the orientation switch and
// a clean exit.
#include "harness.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr int kSide = 741;
const Pixel kGameColour = {26, 51, 89}; // what the stand-in game clears to
const Pixel kBlack = {0, 0, 0};

// Game-screen rectangles in window pixels from the top-left.
struct Box {
    int x0, y0, x1, y1;
};
const Box kPortraitScreen = {210, 142, 530, 622};
const Box kLandscapeScreen = {142, 211, 622, 531};

// Whether every probe point of the box shows the game's colour (filled) or
// none does.
bool screenIs(const Image& shot, const Box& b, bool filled) {
    const int xs[] = {b.x0 + 2, (b.x0 + b.x1) / 2, b.x1 - 3};
    const int ys[] = {b.y0 + 2, (b.y0 + b.y1) / 2, b.y1 - 3};
    for (int x : xs) {
        for (int y : ys) {
            if (shot.width == 0 || shot.near(x, y, kGameColour) != filled) {
                return false;
            }
        }
    }
    return true;
}

// Text is drawn in white (and bright colours): pixels of the box whose three
// channels are all bright. The phone picture and the memory graph have none
// where the boxes below lie.
int textPixels(const Image& shot, const Box& b) {
    int count = 0;
    for (int y = b.y0; y < b.y1 && shot.width != 0; y++) {
        for (int x = b.x0; x < b.x1; x++) {
            Pixel p = shot.at(x, y);
            count += p.r > 150 && p.g > 150 && p.b > 150 ? 1 : 0;
        }
    }
    return count;
}
// Where the splash text stands, and where the memory figures stand in the
// strip left of the portrait phone (margin B).
const Box kSplashText = {70, 50, 530, 480};
const Box kPortraitFigures = {2, 150, 165, 300};

std::function<bool(const Image&)> shows(const Box& b) {
    return [b](const Image& shot) { return screenIs(shot, b, true); };
}

void expectCleanExit(GameRun& game) {
    EXPECT_EQ(game.waitExit(), 0);
    EXPECT_EQ(game.log().find("Error"), std::string::npos) << game.log();
    EXPECT_FALSE(game.memDumpExists());
}

class HostE2E : public testing::Test {
  protected:
    void SetUp() override {
        if (!GameRun::displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
    }
};

TEST_F(HostE2E, PhonePictureGameScreenAndOrientation) {
    GameRun game("Tessaly");
    ASSERT_TRUE(game.hasWindow());
    Image portrait = game.holdKeyUntil("a", "host-portrait", shows(kPortraitScreen));
    ASSERT_EQ(portrait.width, kSide);
    ASSERT_EQ(portrait.height, kSide);
    EXPECT_TRUE(screenIs(portrait, kPortraitScreen, true));
    // The phone's bezel around the screen, its rim, and the black margins.
    EXPECT_FALSE(portrait.near(kPortraitScreen.x0 - 10, 380, kGameColour));
    EXPECT_FALSE(portrait.near(370, kPortraitScreen.y1 + 10, kGameColour));
    Pixel rim = portrait.at(173, 370);
    EXPECT_GT(rim.r + rim.g + rim.b, 3 * 80) << "phone rim";
    EXPECT_TRUE(portrait.near(2, kSide - 3, kBlack));
    EXPECT_TRUE(portrait.near(kSide - 3, kSide - 3, kBlack));
    EXPECT_GT(textPixels(portrait, kPortraitFigures), 20) << "memory figures";

    Image landscape = game.holdKeyUntil("Tab", "host-landscape", shows(kLandscapeScreen));
    EXPECT_TRUE(screenIs(landscape, kLandscapeScreen, true));
    EXPECT_TRUE(landscape.near(220, 150, kBlack)); // above the turned phone
    EXPECT_FALSE(landscape.near(kLandscapeScreen.x0 - 10, 370, kGameColour));

    EXPECT_TRUE(screenIs(game.holdKeyUntil("Tab", "host-portrait-again", shows(kPortraitScreen)),
                         kPortraitScreen, true));

    game.key("Escape");
    expectCleanExit(game);
}

TEST_F(HostE2E, SplashIgnoresClicksAndEscapeEndsTheProgram) {
    GameRun game("Tessaly");
    ASSERT_TRUE(game.hasWindow());
    game.click(370, 370);
    GameRun::pause(400);
    Image splash = game.captureWhen(
        "host-splash", [](const Image& shot) { return textPixels(shot, kSplashText) > 200; });
    EXPECT_TRUE(screenIs(splash, kPortraitScreen, false));
    EXPECT_GT(textPixels(splash, kSplashText), 200) << "splash text";
    EXPECT_TRUE(splash.near(kSide - 3, kSide - 3, kBlack));
    // Held until the program ends, so a slow frame cannot miss it.
    game.keyDown("Escape");
    expectCleanExit(game);
    game.keyUp("Escape");
}

TEST_F(HostE2E, TabDuringTheSplashLeavesTheGameInLandscape) {
    GameRun game("Tessaly");
    ASSERT_TRUE(game.hasWindow());
    EXPECT_TRUE(screenIs(game.holdKeyUntil("Tab", "host-tab-splash", shows(kLandscapeScreen)),
                         kLandscapeScreen, true));
    game.key("Escape");
    expectCleanExit(game);
}

} // namespace
