// The ogre shooter as a player meets it: the splash ended by a key, the
// prolog and welcome screens and the keys they ignore, keys tapped with no
// hold, play with the ship, the star fields and the two HUD lines, bullets
// fired by Space, ogres coming in from the right, the ship following the
// pointer, the orientation switch and a clean exit; and a run whose ogre
// model is missing.
#include "harness.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace fs = std::filesystem;

// The two HUD lines stand at the left edge of the portrait screen, the score
// near the top and the shield at the bottom.
const Box kScoreText = {214, 200, 400, 236};
const Box kShieldText = {214, 576, 440, 612};
// Where the ship and its bullets fly in portrait: the screen without the
// meter's bar along the top and the HUD lines.
const Box kField = {210, 240, 530, 570};
// What a glance at the field needs to see: the ship, a few bullets, ogres.
constexpr int kShipPixels = 60;
constexpr int kBulletPixels = 20;
constexpr int kOgrePixels = 150;

int brightness(Pixel p) {
    return p.r + p.g + p.b;
}

// The pixels of a box that pass a test.
int count(const Image& shot, const Box& b, const std::function<bool(Pixel)>& test) {
    int n = 0;
    for (int y = b.y0; y < b.y1; y++) {
        for (int x = b.x0; x < b.x1; x++) {
            n += test(shot.at(x, y)) ? 1 : 0;
        }
    }
    return n;
}

struct Colour {
    double r, g, b;
};

Colour meanColour(const Image& shot, const Box& b) {
    Colour sum = {0, 0, 0};
    for (int y = b.y0; y < b.y1; y++) {
        for (int x = b.x0; x < b.x1; x++) {
            Pixel p = shot.at(x, y);
            sum.r += p.r;
            sum.g += p.g;
            sum.b += p.b;
        }
    }
    double n = static_cast<double>(b.x1 - b.x0) * (b.y1 - b.y0);
    return {sum.r / n, sum.g / n, sum.b / n};
}

// The three screens fill the game screen with a colour of their own, plain
// in its top corners: the prolog purple, the welcome screen blue, the kill
// screen red. Play shows the dark star fields there.
const Box kTopCorners[2] = {{214, 150, 244, 190}, {500, 150, 526, 190}};

bool cornersAre(const Image& shot, const std::function<bool(const Colour&)>& test) {
    return ShowsPortraitPhone(shot) && test(meanColour(shot, kTopCorners[0])) &&
           test(meanColour(shot, kTopCorners[1]));
}
bool showsProlog(const Image& shot) {
    return cornersAre(shot, [](const Colour& c) {
        return c.r > 30 && c.r > 3 * c.g && c.b > c.r && c.b < 2 * c.r;
    });
}
bool showsWelcome(const Image& shot) {
    return cornersAre(shot, [](const Colour& c) { return c.b > 50 && c.b > 2.5 * c.r; });
}
bool showsKill(const Image& shot) {
    return cornersAre(shot, [](const Colour& c) { return c.r > 50 && c.r > 4 * c.b; });
}

// The HUD's yellow lettering, drawn half transparent: over the blue and
// purple star fields it stays far more red and green than blue, where the
// fields are bluer than red.
bool isHudInk(Pixel p) {
    return p.r > 90 && p.g > 90 && p.b < 120 && p.r - p.b > 40 && p.g - p.b > 40;
}
bool isOgre(Pixel p) {
    return p.g > p.r + 30 && p.g > p.b + 30;
}
bool isBullet(Pixel p) {
    return p.r > 150 && p.g < 100 && p.b < 100;
}

bool isStar(Pixel p) {
    return brightness(p) > 600;
}
// The ship's metal, dimly lit: near black and grey, where the star fields
// behind it are tinted blue or purple even at their darkest.
bool isShip(Pixel p) {
    return brightness(p) < 60 && p.b < p.r + 12;
}
// The ship's pixels within 40 pixels of (x, y).
int shipAround(const Image& shot, int x, int y) {
    return count(shot, {x - 30, y - 40, x + 30, y + 40}, isShip);
}

// Play: no screen picture, the two HUD lines.
bool showsPlay(const Image& shot) {
    return ShowsPortraitPhone(shot) && !showsProlog(shot) && !showsWelcome(shot) &&
           !showsKill(shot) && count(shot, kScoreText, isHudInk) > 30 &&
           count(shot, kShieldText, isHudInk) > 30;
}

class OgreblastE2E : public testing::Test {
  protected:
    void SetUp() override {
        if (!GameRun::displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
    }

    // The splash ended by a key that is none of the game's, then Return to
    // the welcome screen and Space into play.
    Image startPlaying(GameRun& game, const std::string& name) {
        EXPECT_TRUE(showsProlog(game.holdKeyUntil("b", name + "-prolog", showsProlog)));
        EXPECT_TRUE(showsWelcome(game.holdKeyUntil("Return", name + "-welcome", showsWelcome)));
        Image shot = game.holdKeyUntil("space", name, showsPlay);
        EXPECT_TRUE(showsPlay(shot)) << "no play after the welcome screen";
        return shot;
    }
};

TEST_F(OgreblastE2E, ScreensIgnoreTheOtherKeys) {
    GameRun game("ogreblast");
    ASSERT_TRUE(game.hasWindow());
    Image prolog = game.holdKeyUntil("b", "ogreblast-screens-prolog", showsProlog);
    ASSERT_TRUE(showsProlog(prolog)) << "no prolog after the splash";
    // Space held on the prolog: nothing changes.
    Image still = game.holdKeyUntil("space", "ogreblast-screens-prolog-space", showsWelcome, 1500);
    EXPECT_TRUE(showsProlog(still)) << "the prolog took Space";
    Image welcome = game.holdKeyUntil("Return", "ogreblast-screens-welcome", showsWelcome);
    ASSERT_TRUE(showsWelcome(welcome)) << "Return does not lead to the welcome screen";
    // Return held on the welcome screen: nothing changes.
    Image stays = game.holdKeyUntil("Return", "ogreblast-screens-welcome-return", showsPlay, 1500);
    EXPECT_TRUE(showsWelcome(stays)) << "the welcome screen took Return";
    EXPECT_TRUE(showsPlay(game.holdKeyUntil("space", "ogreblast-screens-play", showsPlay)));
    ExpectCleanExit(game);
}

// Each key pressed and released at once, as a quick tap on a busy machine
// may reach one poll: the game still sees it for a frame.
TEST_F(OgreblastE2E, TappedKeysLeadThroughTheScreens) {
    GameRun game("ogreblast");
    ASSERT_TRUE(game.hasWindow());
    ASSERT_TRUE(ShowsSplash(game.captureWhen("ogreblast-tap-splash", ShowsSplash)));
    game.tapKey("b");
    ASSERT_TRUE(showsProlog(game.captureWhen("ogreblast-tap-prolog", showsProlog)))
        << "the tapped key did not end the splash";
    game.tapKey("Return");
    ASSERT_TRUE(showsWelcome(game.captureWhen("ogreblast-tap-welcome", showsWelcome)))
        << "a tap of Return did not leave the prolog";
    game.tapKey("space");
    EXPECT_TRUE(showsPlay(game.captureWhen("ogreblast-tap-play", showsPlay)))
        << "a tap of Space did not start play";
    ExpectCleanExit(game);
}

TEST_F(OgreblastE2E, PlayFiresAtOgresAndTheShipFollowsThePointer) {
    GameRun game("ogreblast");
    ASSERT_TRUE(game.hasWindow());
    Image start = startPlaying(game, "ogreblast-play-start");
    ASSERT_TRUE(showsPlay(start));
    // The ship starts at the middle of the screen.
    const int midX = (kPortraitScreen.x0 + kPortraitScreen.x1) / 2;
    const int midY = (kPortraitScreen.y0 + kPortraitScreen.y1) / 2;
    EXPECT_GT(shipAround(start, midX, midY), kShipPixels) << "no ship at the middle";
    EXPECT_GT(count(start, kField, isStar), 20) << "no stars";

    // Space held: a row of bullets, and the first wave of ogres enters from
    // the right.
    Image shooting = game.holdKeyUntil("space", "ogreblast-play", [](const Image& shot) {
        return showsPlay(shot) && count(shot, kField, isBullet) > kBulletPixels &&
               count(shot, kField, isOgre) > kOgrePixels;
    });
    EXPECT_GT(count(shooting, kField, isBullet), kBulletPixels) << "no bullets";
    EXPECT_GT(count(shooting, kField, isOgre), kOgrePixels) << "no ogres";

    // A press in the lower left quarter: the ship flies there.
    const int toX = kPortraitScreen.x0 + 80, toY = kPortraitScreen.y1 - 140;
    Image moved = game.holdPointerUntil(toX, toY, "ogreblast-play-steer", [&](const Image& shot) {
        return showsPlay(shot) && shipAround(shot, toX, toY) > kShipPixels;
    });
    EXPECT_GT(shipAround(moved, toX, toY), kShipPixels) << "the ship did not follow the pointer";

    // Tab turns the phone; play goes on in landscape.
    Image turned = game.holdKeyUntil("Tab", "ogreblast-play-landscape", [](const Image& shot) {
        return ShowsLandscapePhone(shot) && count(shot, kLandscapeScreen, isHudInk) > 60;
    });
    EXPECT_TRUE(ShowsLandscapePhone(turned));
    EXPECT_GT(count(turned, kLandscapeScreen, isHudInk), 60) << "no HUD in landscape";
    // The game is drawn for this side: the picture of play for the README,
    // with a long row of bullets and a few ogres.
    // The HUD tells play from the kill screen, whose big ogre is green too.
    // The ship fires at most once a frame, so on a busy machine the row
    // grows long only in a run of quicker frames: the wait is a long one.
    const int row = 5 * kBulletPixels, crowd = 2 * kOgrePixels;
    const int kLongWaitMs = 90000;
    Image wide = game.holdKeyUntil(
        "space", "ogreblast-play-landscape-fire",
        [&](const Image& shot) {
            return ShowsLandscapePhone(shot) && count(shot, kLandscapeScreen, isHudInk) > 60 &&
                   count(shot, kLandscapeScreen, isBullet) > row &&
                   count(shot, kLandscapeScreen, isOgre) > crowd;
        },
        kLongWaitMs);
    EXPECT_GT(count(wide, kLandscapeScreen, isHudInk), 60) << "not in play";
    EXPECT_GT(count(wide, kLandscapeScreen, isBullet), row) << "no bullets in landscape";
    EXPECT_GT(count(wide, kLandscapeScreen, isOgre), crowd) << "no ogres in landscape";
    ExpectCleanExit(game);
}

TEST_F(OgreblastE2E, MissingOgreModelIsReportedAndTheGameRunsOn) {
    AssetTreeCopy tree;
    ASSERT_FALSE(tree.root.empty());
    ASSERT_TRUE(fs::remove(tree.root / "models" / "ogrehead.pwn"));
    GameRun game("ogreblast", (tree.root / "bin").string());
    ASSERT_TRUE(game.hasWindow());
    startPlaying(game, "ogreblast-no-model");
    Image shot = game.holdKeyUntil("space", "ogreblast-no-model-fire", [](const Image& s) {
        return showsPlay(s) && count(s, kField, isBullet) > kBulletPixels;
    });
    EXPECT_GT(count(shot, kField, isBullet), kBulletPixels) << "no bullets without the model";
    std::string log = QuitAndLog(game);
    EXPECT_NE(log.find("Couldn't open .pwn file"), std::string::npos) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
}

} // namespace
