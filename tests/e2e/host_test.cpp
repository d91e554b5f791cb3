// The phone host as a user meets it, with the golf program: the splash, the
// phone picture with its game screen, the orientation switch and a clean
// exit; a termination signal at the splash and in play, the window's close
// button at the splash, and the processors the program is given.
#include "harness.h"

#include "tests/support/processors.h"

#include <algorithm>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 741;
const Pixel kBlack = {0, 0, 0};

// Game-screen rectangles in window pixels from the top-left.
struct Box {
    int x0, y0, x1, y1;
};
const Box kPortraitScreen = {210, 142, 530, 622};
const Box kLandscapeScreen = {142, 211, 622, 531};

// The golf view starts centred on the ball, with the wooden board filling the
// part of the screen right of and below the centre (in both orientations,
// since the camera keeps its aspect). Whether that part shows the board
// (filled) or stays dark.
bool screenIs(const Image& shot, const Box& b, bool filled) {
    if (shot.width == 0) {
        return false;
    }
    const int cx = (b.x0 + b.x1) / 2, cy = (b.y0 + b.y1) / 2;
    int lit = 0, total = 0;
    for (int y = cy - 30; y < cy + 60; y += 3) {
        for (int x = cx + 30; x < cx + 100; x += 3) {
            Pixel p = shot.at(x, y);
            lit += p.r + p.g + p.b > 90 ? 1 : 0;
            total++;
        }
    }
    return filled ? lit * 10 > total * 8 : lit * 2 < total;
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

// The portrait phone's rim crosses the top of the window; the turned phone
// leaves it black.
bool phoneTurned(const Image& shot) {
    Pixel top = shot.at(kSide / 2, 6);
    return top.r + top.g + top.b < 30;
}

// The game screen of the box shown, with the phone turned to match it.
std::function<bool(const Image&)> shows(const Box& b) {
    const bool landscape = b.x1 - b.x0 > b.y1 - b.y0;
    return [b, landscape](const Image& shot) {
        return shot.width != 0 && phoneTurned(shot) == landscape && screenIs(shot, b, true);
    };
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
    EXPECT_TRUE(shows(kPortraitScreen)(portrait));
    // The phone's rim and the black margins.
    Pixel rim = portrait.at(173, 370);
    EXPECT_GT(rim.r + rim.g + rim.b, 3 * 80) << "phone rim";
    EXPECT_TRUE(portrait.near(2, kSide - 3, kBlack));
    EXPECT_TRUE(portrait.near(kSide - 3, kSide - 3, kBlack));
    EXPECT_GT(textPixels(portrait, kPortraitFigures), 20) << "memory figures";

    Image landscape = game.holdKeyUntil("Tab", "host-landscape", shows(kLandscapeScreen));
    EXPECT_TRUE(shows(kLandscapeScreen)(landscape));
    EXPECT_TRUE(landscape.near(220, 150, kBlack)); // above the turned phone

    EXPECT_TRUE(shows(kPortraitScreen)(
        game.holdKeyUntil("Tab", "host-portrait-again", shows(kPortraitScreen))));

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
    EXPECT_TRUE(shows(kLandscapeScreen)(
        game.holdKeyUntil("Tab", "host-tab-splash", shows(kLandscapeScreen))));
    game.key("Escape");
    expectCleanExit(game);
}

// A signal's end: status 0, nothing logged, no memory left.
void expectSignalledExit(GameRun& game, int signal) {
    game.signal(signal);
    EXPECT_EQ(game.waitExit(), 0) << "signal " << signal;
    EXPECT_EQ(game.log(), "") << "signal " << signal;
    EXPECT_FALSE(game.memDumpExists()) << "signal " << signal;
}

TEST_F(HostE2E, TerminationSignalsEndTheProgramCleanlyAtTheSplash) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        GameRun game("Tessaly");
        ASSERT_TRUE(game.hasWindow());
        ASSERT_TRUE(ShowsSplash(game.captureWhen("host-signal-splash", ShowsSplash)));
        expectSignalledExit(game, signal);
    }
}

// SIGHUP, which the window library does not turn into a quit event.
TEST_F(HostE2E, HangupEndsTheProgramCleanlyInPlay) {
    GameRun game("Tessaly");
    ASSERT_TRUE(game.hasWindow());
    ASSERT_TRUE(
        shows(kPortraitScreen)(game.holdKeyUntil("a", "host-signal-play", shows(kPortraitScreen))));
    expectSignalledExit(game, SIGHUP);
}

// The window's close button at the splash does nothing: a key still leads
// to the game, and Escape still ends it.
TEST_F(HostE2E, ClosingTheWindowAtTheSplashIsIgnored) {
    GameRun game("Tessaly");
    ASSERT_TRUE(game.hasWindow());
    ASSERT_TRUE(ShowsSplash(game.captureWhen("host-close-splash", ShowsSplash)));
    game.closeWindow();
    EXPECT_TRUE(shows(kPortraitScreen)(
        game.holdKeyUntil("a", "host-close-splash-play", shows(kPortraitScreen))));
    ExpectCleanExit(game);
}

// Started on every processor of the test's but the first, as by taskset,
// the program keeps to the first of those.
TEST_F(HostE2E, ProgramKeepsToTheProcessorsItIsGiven) {
    const std::vector<int> cpus = AllowedProcessors();
    if (cpus.size() < 2) {
        GTEST_SKIP() << "the test may run on one processor only";
    }
    GameRun game("Tessaly", std::vector<int>(cpus.begin() + 1, cpus.end()));
    ASSERT_TRUE(game.hasWindow());
    EXPECT_EQ(game.processorsAllowed(), std::to_string(cpus[1]));
    ExpectCleanExit(game);
}

// The splash prints its title in "~c5369" and the rest in white. The font's
// glyphs are whole pixels, each drawn on one screen pixel, so the title's ink
// is (5, 3, 6)/9 of full strength and the white ink full white, not shades of
// them spread over two pixels.
const Box kSplashTitle = {70, 50, 127, 80};
const Pixel kTitleColour = {142, 85, 170};

TEST_F(HostE2E, SplashTextShowsItsColoursAtFullStrength) {
    GameRun game("Tessaly");
    ASSERT_TRUE(game.hasWindow());
    Image splash = game.captureWhen("host-splash-colours", [](const Image& shot) {
        return textPixels(shot, kSplashText) > 200;
    });
    int title = 0, titleExact = 0;
    for (int y = kSplashTitle.y0; y < kSplashTitle.y1 && splash.width != 0; y++) {
        for (int x = kSplashTitle.x0; x < kSplashTitle.x1; x++) {
            Pixel p = splash.at(x, y);
            if (p.b > p.g + 10) { // purple, not the white that follows
                title++;
                titleExact += splash.near(x, y, kTitleColour, 2) ? 1 : 0;
            }
        }
    }
    EXPECT_GT(title, 100) << "title pixels";
    EXPECT_GE(titleExact * 10, title * 9) << titleExact << " of " << title << " at full strength";
    int white = 0, fullWhite = 0, brightest = 0;
    for (int y = kSplashText.y0; y < kSplashText.y1 && splash.width != 0; y++) {
        for (int x = kSplashText.x0; x < kSplashText.x1; x++) {
            Pixel p = splash.at(x, y);
            int grey = std::min({p.r, p.g, p.b});
            if (grey > 60 && std::max({p.r, p.g, p.b}) - grey < 8) {
                white++;
                fullWhite += grey >= 250 ? 1 : 0;
                brightest = std::max(brightest, grey);
            }
        }
    }
    EXPECT_GE(brightest, 250);
    EXPECT_GE(fullWhite * 10, white * 8) << fullWhite << " of " << white << " at full white";
    game.keyDown("Escape");
    expectCleanExit(game);
    game.keyUp("Escape");
}

} // namespace
