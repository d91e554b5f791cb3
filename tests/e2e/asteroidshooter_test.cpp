// The asteroid shooter as a player meets it: the splash ended by a key, the
// starfield, the ship and its stream of green shots with "0 hits" below,
// the stream moved by holding the pointer to one side, the phone turned with
// Tab without stretching the picture, and a clean exit; and a run whose
// asteroid model is missing.
#include "harness.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace fs = std::filesystem;

int brightness(Pixel p) {
    return p.r + p.g + p.b;
}

// "%d hits" stands on y = -0.8 from x = -0.9 of the portrait screen.
const Box kHitsText = {220, 550, 330, 578};

// The shots are the only green things in the game.
bool isShot(Pixel p) {
    return p.g > 90 && p.g > p.r + 30 && p.g > p.b + 50;
}
// The ship's white and blue paint; the rocks are brown, the sky darker.
bool isShip(Pixel p) {
    return brightness(p) > 150 && p.b >= p.r && !isShot(p);
}

struct Spot {
    int count;
    double x, y;
};

// How many pixels of a box pass the test, and their centre.
Spot find(const Image& shot, const Box& b, const std::function<bool(Pixel)>& test) {
    Spot spot = {0, 0, 0};
    for (int y = b.y0; y < b.y1 && shot.width == kWindowSide; y++) {
        for (int x = b.x0; x < b.x1; x++) {
            if (test(shot.at(x, y))) {
                spot.count++;
                spot.x += x;
                spot.y += y;
            }
        }
    }
    if (spot.count != 0) {
        spot.x /= spot.count;
        spot.y /= spot.count;
    }
    return spot;
}

// The starfield fills the screen: a share of it is lit by stars and clouds.
double skyShare(const Image& shot, const Box& b) {
    int lit = 0;
    for (int y = b.y0; y < b.y1; y += 2) {
        for (int x = b.x0; x < b.x1; x += 2) {
            lit += brightness(shot.at(x, y)) > 12 ? 1 : 0;
        }
    }
    return 4.0 * lit / ((b.x1 - b.x0) * (b.y1 - b.y0));
}

int textInk(const Image& shot, const Box& b) {
    return find(shot, b, [](Pixel p) { return p.r > 200 && p.g > 200 && p.b > 200; }).count;
}

// The ship stands 10 units left of and 20 below the camera's axis, 50 ahead:
// a point at (-0.2 / aspect, -0.4) of the screen, so its offset from the
// screen's centre is half as wide as it is high in either orientation when
// the projection follows the screen.
Box around(const Box& screen, double ndcX, double ndcY, int margin) {
    int w = screen.x1 - screen.x0, h = screen.y1 - screen.y0;
    int cx = screen.x0 + static_cast<int>((ndcX + 1) * w / 2);
    int cy = screen.y1 - static_cast<int>((ndcY + 1) * h / 2);
    return {cx - margin, cy - margin, cx + margin, cy + margin};
}
Box portraitShip() {
    return around(kPortraitScreen, -0.3, -0.4, 70);
}
Box landscapeShip() {
    return around(kLandscapeScreen, -0.2 / 1.5, -0.4, 70);
}

// Waits that a busy machine may need: the splash to end and the game to
// draw, and the stream of shots to start, some 46 frames into play.
constexpr int kPlayWaitMs = 60000;
constexpr int kStreamWaitMs = 60000;

// Play in portrait: the phone, the starfield, the ship and the counter.
bool showsPlay(const Image& shot) {
    return ShowsPortraitPhone(shot) && skyShare(shot, kPortraitScreen) > 0.2 &&
           find(shot, portraitShip(), isShip).count > 200 && textInk(shot, kHitsText) > 20;
}

// Play with at least a few shots streaming ahead.
bool showsStream(const Image& shot) {
    return showsPlay(shot) && find(shot, kPortraitScreen, isShot).count > 12;
}

bool shipInLandscape(const Image& shot) {
    return ShowsLandscapePhone(shot) && skyShare(shot, kLandscapeScreen) > 0.2 &&
           find(shot, landscapeShip(), isShip).count > 200;
}

// The ship's offset from the screen's centre, across over down: -0.5 when
// the picture keeps its proportions (a stretched landscape picture shows it
// more than twice as wide).
double shipRatio(const Image& shot, const Box& screen, const Box& near) {
    Spot ship = find(shot, near, isShip);
    double dx = ship.x - (screen.x0 + screen.x1) / 2.0;
    double dy = ship.y - (screen.y0 + screen.y1) / 2.0;
    return dx / dy;
}

class AsteroidShooterE2E : public testing::Test {
  protected:
    void SetUp() override {
        if (!GameRun::displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
    }

    // Starts the game and ends its splash with a key, as a player would.
    Image startPlaying(GameRun& game, const std::string& name) {
        Image shot = game.holdKeyUntil("a", name, showsPlay, kPlayWaitMs);
        EXPECT_TRUE(showsPlay(shot)) << "no play after the splash";
        return shot;
    }
};

TEST_F(AsteroidShooterE2E, PlayShowsTheShipItsShotsAndTheCounter) {
    GameRun game("asteroidshooter");
    ASSERT_TRUE(game.hasWindow());
    ASSERT_TRUE(showsPlay(startPlaying(game, "asteroidshooter-start")));
    // Once the stream runs, several shots fly at once, leaving from the
    // right of the ship.
    auto streaming = [](const Image& shot) {
        return showsPlay(shot) && find(shot, kPortraitScreen, isShot).count > 40;
    };
    Image play = game.captureWhen("asteroidshooter-level1", streaming, kStreamWaitMs);
    ASSERT_TRUE(streaming(play));
    Spot shots = find(play, kPortraitScreen, isShot);
    Spot ship = find(play, portraitShip(), isShip);
    EXPECT_GT(shots.x, ship.x) << "the shots fly right of the ship";
    ExpectCleanExit(game);
}

// The newest shots, just launched 5 units below the ship and 50 ahead: a
// band across the screen a quarter of its height below the centre, where
// they start at the centre while the ship stands at its start.
const Box kLaunchBand = {kPortraitScreen.x0, 468, kPortraitScreen.x1, 536};
const int kScreenCentreX = (kPortraitScreen.x0 + kPortraitScreen.x1) / 2;

TEST_F(AsteroidShooterE2E, HoldingThePointerToOneSideMovesTheStream) {
    GameRun game("asteroidshooter");
    ASSERT_TRUE(game.hasWindow());
    ASSERT_TRUE(showsPlay(startPlaying(game, "asteroidshooter-play")));
    auto launched = [](const Image& shot, int fromX) {
        Spot shots = find(shot, kLaunchBand, isShot);
        return shots.count > 3 && shots.x > fromX;
    };
    Image start = game.captureWhen(
        "asteroidshooter-stream-start",
        [&launched](const Image& shot) { return launched(shot, kScreenCentreX - 10); },
        kStreamWaitMs);
    ASSERT_TRUE(launched(start, kScreenCentreX - 10));
    EXPECT_NEAR(find(start, kLaunchBand, isShot).x, kScreenCentreX, 10)
        << "the stream does not start at the centre";
    // Pressed a little right of the centre, on the middle line: the ship
    // drifts right by a sixteenth of a unit a frame, and the new shots leave
    // from there. The drift is slow and level, so that the stream stays in
    // the band for hundreds of frames: a quick machine cannot carry it past
    // between two captures.
    const int x = kPortraitScreen.x0 + 170, y = kPortraitScreen.y0 + 240;
    Image moved = game.holdPointerUntil(
        x, y, "asteroidshooter-stream-right",
        [&launched](const Image& shot) { return launched(shot, kScreenCentreX + 40); },
        kStreamWaitMs);
    EXPECT_TRUE(launched(moved, kScreenCentreX + 40)) << "the stream did not move";
    ExpectCleanExit(game);
}

TEST_F(AsteroidShooterE2E, TabTurnsThePhoneWithoutStretchingThePicture) {
    GameRun game("asteroidshooter");
    ASSERT_TRUE(game.hasWindow());
    Image portrait = startPlaying(game, "asteroidshooter-tab-portrait");
    ASSERT_TRUE(showsPlay(portrait));
    Image turned =
        game.holdKeyUntil("Tab", "asteroidshooter-tab-landscape", shipInLandscape, kPlayWaitMs);
    ASSERT_TRUE(shipInLandscape(turned));
    EXPECT_NEAR(shipRatio(portrait, kPortraitScreen, portraitShip()), -0.5, 0.15);
    EXPECT_NEAR(shipRatio(turned, kLandscapeScreen, landscapeShip()), -0.5, 0.15)
        << "the landscape picture is stretched";
    EXPECT_TRUE(
        showsPlay(game.holdKeyUntil("Tab", "asteroidshooter-tab-back", showsPlay, kPlayWaitMs)));
    ExpectCleanExit(game);
}

// Tab ends the splash too, and the game then starts in landscape: the first
// frame's projection already follows it.
TEST_F(AsteroidShooterE2E, TabOnTheSplashStartsInLandscapeUnstretched) {
    GameRun game("asteroidshooter");
    ASSERT_TRUE(game.hasWindow());
    Image turned =
        game.holdKeyUntil("Tab", "asteroidshooter-splash-tab", shipInLandscape, kPlayWaitMs);
    ASSERT_TRUE(shipInLandscape(turned));
    EXPECT_NEAR(shipRatio(turned, kLandscapeScreen, landscapeShip()), -0.5, 0.15)
        << "the landscape picture is stretched";
    ExpectCleanExit(game);
}

TEST_F(AsteroidShooterE2E, MissingAsteroidModelIsReportedAndTheGameRunsOn) {
    AssetTreeCopy tree;
    ASSERT_FALSE(tree.root.empty());
    ASSERT_TRUE(fs::remove(tree.root / "models" / "ast.pwn"));
    GameRun game("asteroidshooter", (tree.root / "bin").string());
    ASSERT_TRUE(game.hasWindow());
    Image shot = game.holdKeyUntil("a", "asteroidshooter-no-model", showsPlay, kPlayWaitMs);
    EXPECT_TRUE(showsPlay(shot)) << "no ship without the asteroids";
    EXPECT_TRUE(showsStream(
        game.captureWhen("asteroidshooter-no-model-stream", showsStream, kStreamWaitMs)))
        << "no shots without the asteroids";
    std::string log = QuitAndLog(game);
    EXPECT_NE(log.find("Couldn't open .pwn file"), std::string::npos) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
}

} // namespace
