// The planet run as a player meets it: the splash ended by a key, the start
// banner with the health line at 100 %, the health falling as the ship
// shrinks, the ship following a held pointer, the flight ending in a won or
// lost banner after which the scene stands still, and a clean exit; and a
// run whose ship model is missing.
#include "harness.h"
#include "picture.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// On a busy machine the game may draw only a few frames a second: the start
// banner alone stands 61 frames, and the health falls 1 % in about 20.
constexpr int kWaitMs = 30000;

// The banners, 256 by 128 pictures, stand pixel for pixel in the middle of
// the screen.
const Box kBanner = {242, 318, 498, 446};
// The health figure, green after the white "Health:".
const Box kHealthFigure = {286, 168, 360, 194};
// The band where the ship flies, below the middle of the screen, clear of
// the banners.
const Box kShipBand = {210, 447, 530, 560};

Picture texture(const std::string& name) {
    return LoadPicture(GameRun::binDir() + "/../textures/" + name);
}

// The share of a grid of points over the banner's place where the capture
// shows the picture's colour: near 1 when the banner shows whole.
double bannerMatch(const Image& shot, const Picture& picture) {
    if (!ShowsPortraitPhone(shot) || picture.width == 0) {
        return 0;
    }
    int matches = 0, points = 0;
    for (int i = 0; i < 32; i++) {
        for (int j = 0; j < 16; j++) {
            int tx = (2 * i + 1) * picture.width / 64, ty = (2 * j + 1) * picture.height / 32;
            points++;
            matches += shot.near(kBanner.x0 + tx, kBanner.y0 + ty, picture.at(tx, ty), 40) ? 1 : 0;
        }
    }
    return static_cast<double>(matches) / points;
}

std::function<bool(const Image&)> showsBanner(const Picture& picture) {
    return [&picture](const Image& shot) { return bannerMatch(shot, picture) > 0.8; };
}

// The columns of the health figure with green ink: "100%" is wider than any
// figure of two digits.
int healthWidth(const Image& shot) {
    int first = -1, last = -1;
    for (int x = kHealthFigure.x0; x < kHealthFigure.x1; x++) {
        for (int y = kHealthFigure.y0; y < kHealthFigure.y1; y++) {
            Pixel p = shot.at(x, y);
            if (p.g > 180 && p.r < 120 && p.b < 120) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

// The ship's hull has red plates, which nothing else in the flight shows;
// its centre is where they gather in the ship's band. -1 without any.
double shipX(const Image& shot) {
    double sum = 0;
    int count = 0;
    for (int y = kShipBand.y0; y < kShipBand.y1; y++) {
        for (int x = kShipBand.x0; x < kShipBand.x1; x++) {
            Pixel p = shot.at(x, y);
            if (p.r > 120 && p.g < 70 && p.b < 70) {
                sum += x;
                count++;
            }
        }
    }
    return count < 15 ? -1 : sum / count;
}

// The game screen of two captures differs in more than a few pixels.
bool screenChanged(const Image& a, const Image& b) {
    int differing = 0;
    for (int y = kPortraitScreen.y0; y < kPortraitScreen.y1; y++) {
        for (int x = kPortraitScreen.x0; x < kPortraitScreen.x1; x++) {
            differing += a.near(x, y, b.at(x, y), 8) ? 0 : 1;
        }
    }
    return differing > 20;
}

class PlanetE2E : public testing::Test {
  protected:
    void SetUp() override {
        if (!GameRun::displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
        start = texture("gamestart.png");
        won = texture("gamewon.png");
        lost = texture("gameover.png");
        ASSERT_NE(start.width, 0);
        ASSERT_NE(won.width, 0);
        ASSERT_NE(lost.width, 0);
    }

    // Ends the splash with a key, as a player would: the start banner.
    Image startFlight(GameRun& game, const std::string& name) {
        Image shot = game.holdKeyUntil("a", name, showsBanner(start), kWaitMs);
        EXPECT_GT(bannerMatch(shot, start), 0.8) << "no start banner after the splash";
        return shot;
    }

    Picture start, won, lost;
};

TEST_F(PlanetE2E, StartBannerHealthFallsAndThePointerSteers) {
    GameRun game("planetrun");
    ASSERT_TRUE(game.hasWindow());
    Image banner = startFlight(game, "planetrun-start");
    const int full = healthWidth(banner);
    EXPECT_GT(full, 0) << "no health line with the banner";

    // Play: the banner is gone, the ship flies and shrinks.
    Image playing = game.captureWhen(
        "planetrun-play",
        [&](const Image& shot) {
            return bannerMatch(shot, start) < 0.3 && shipX(shot) > 0 && healthWidth(shot) > 0 &&
                   healthWidth(shot) < full;
        },
        kWaitMs);
    EXPECT_LT(bannerMatch(playing, start), 0.3) << "the start banner stays";
    EXPECT_LT(healthWidth(playing), full) << "the health does not fall from 100 %";
    const double middle = shipX(playing);
    ASSERT_GT(middle, 0) << "no ship";
    EXPECT_NEAR(middle, 370, 30) << "the ship starts in the middle";

    // The pointer held at the screen's left edge draws the ship to the left.
    Image steered = game.holdPointerUntil(
        220, 382, "planetrun-steered",
        [&](const Image& shot) {
            double x = shipX(shot);
            return x > 0 && x < middle - 40;
        },
        kWaitMs);
    EXPECT_LT(shipX(steered), middle - 40) << "the ship does not follow the pointer";
    ExpectCleanExit(game);
}

TEST_F(PlanetE2E, FlightEndsInABannerAndTheSceneStops) {
    GameRun game("planetrun");
    ASSERT_TRUE(game.hasWindow());
    startFlight(game, "planetrun-flight-start");
    // A whole flight is 1,881 frames: minutes on a busy machine.
    Image end = game.captureWhen(
        "planetrun-end",
        [&](const Image& shot) { return showsBanner(won)(shot) || showsBanner(lost)(shot); },
        500000);
    const bool ended = bannerMatch(end, won) > 0.8 || bannerMatch(end, lost) > 0.8;
    ASSERT_TRUE(ended) << "no won or lost banner";
    EXPECT_GT(healthWidth(end), 0) << "the health line stays";
    // Nothing moves any more: a change is waited for, and none comes.
    Image later = game.captureWhen(
        "planetrun-end-later", [&](const Image& shot) { return screenChanged(end, shot); }, 3000);
    EXPECT_FALSE(screenChanged(end, later)) << "the scene goes on after the end";
    ExpectCleanExit(game);
}

TEST_F(PlanetE2E, MissingShipModelIsReportedAndTheFlightGoesOn) {
    AssetTreeCopy tree;
    ASSERT_FALSE(tree.root.empty());
    ASSERT_TRUE(fs::remove(tree.root / "models" / "new_spaceship.pwn"));
    GameRun game("planetrun", (tree.root / "bin").string());
    ASSERT_TRUE(game.hasWindow());
    Image banner = startFlight(game, "planetrun-no-ship");
    const int full = healthWidth(banner);
    Image playing = game.captureWhen(
        "planetrun-no-ship-play",
        [&](const Image& shot) {
            return bannerMatch(shot, start) < 0.3 && healthWidth(shot) > 0 &&
                   healthWidth(shot) < full;
        },
        kWaitMs);
    EXPECT_LT(healthWidth(playing), full) << "the flight does not go on";
    std::string log = QuitAndLog(game);
    EXPECT_NE(log.find("Couldn't open .pwn file"), std::string::npos) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
}

} // namespace
