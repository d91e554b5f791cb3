// The tower-defence game as a player meets it: the splash ended by a key,
// the field, the menu bar and the status line, an enemy walking in, a tower
// bought through the touch menu and placed on the field for its price, a
// tower too dear to buy, the field dragged aside, a clean exit, and a run
// whose enemy model is missing.
#include "harness.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace fs = std::filesystem;

// The window pixel of a pointer position on the portrait screen.
int windowX(double px) {
    return kPortraitScreen.x0 + static_cast<int>(std::lround((px + 1) * 160));
}
int windowY(double py) {
    return kPortraitScreen.y1 - static_cast<int>(std::lround((py + 1) * 240));
}

// The menu bar along the bottom of the screen and its buttons' centres; a
// button is pressed on the bar's middle row.
const Box kBar = {218, 579, 522, 617};
const int kButtonX[5] = {249, 316, 381, 447, 501};
const int kButtonY = windowY(-0.9);
// The top strip inside each button, above its label.
const int kButtonStripY0 = 581, kButtonStripY1 = 585;
// "Lives: %d Money: %d Level %d" at the screen's top-left.
const Box kStatus = {212, 146, 480, 170};
// The field's top corridor, where the enemies walk in, seen from the start.
const Box kCorridor = {300, 212, 440, 252};
// The same corridor through the placing camera.
const Box kPlacingCorridor = {300, 174, 445, 202};
// A band across the field, which the placing camera shows larger.
const Box kField = {kPortraitScreen.x0, 300, kPortraitScreen.x1, 500};

// A pointer over a map point of the field while a tower is being placed:
// the game's own mapping, which places a press on the build spot it is
// nearest to (the tower then stands at the spot plus 5 each way).
int placingX(double mapX) {
    return windowX((mapX + 5) * 0.0103125 - 0.51875);
}
int placingY(double mapY) {
    return windowY((mapY + 5) * 0.0083134761 - 0.7875);
}
// The build spot (15, 175), on the wall beside the path's first stretch.
const int kSpotX = 15, kSpotY = 175;

int brightness(Pixel p) {
    return p.r + p.g + p.b;
}

// Text is pure white; the stars of the sky behind the field are not.
bool isInk(Pixel p) {
    return p.r >= 250 && p.g >= 250 && p.b >= 250;
}

bool isGrass(Pixel p) {
    return p.g > 120 && p.g > p.r + 40 && p.g > p.b + 40;
}

// The tower kinds' colours: kind 1 orange, kind 4 crimson; the stone walls
// are a dull pink (much green in them) and the grass green.
bool isOrange(Pixel p) {
    return p.r > 150 && p.r > p.g + 40 && p.g > p.b + 35;
}
bool isCrimson(Pixel p) {
    return p.r > 120 && p.g < 70 && p.r > p.b + 40;
}

int count(const Image& shot, const Box& b, bool (*match)(Pixel)) {
    int n = 0;
    for (int y = b.y0; y < b.y1; y++) {
        for (int x = b.x0; x < b.x1; x++) {
            n += match(shot.at(x, y)) ? 1 : 0;
        }
    }
    return n;
}

Box around(int x, int y, int half) {
    return {x - half, y - half, x + half, y + half};
}

// The rightmost column of the status line's ink: it moves left by a digit
// when the money loses one.
int statusRightEdge(const Image& shot) {
    for (int x = kStatus.x1 - 1; x >= kStatus.x0; x--) {
        for (int y = kStatus.y0; y < kStatus.y1; y++) {
            if (isInk(shot.at(x, y))) {
                return x;
            }
        }
    }
    return -1;
}

// The mean colour of a button's top strip.
Pixel buttonColour(const Image& shot, int button) {
    int r = 0, g = 0, b = 0, n = 0;
    for (int y = kButtonStripY0; y < kButtonStripY1; y++) {
        for (int x = kButtonX[button - 1] - 10; x <= kButtonX[button - 1] + 10; x++) {
            Pixel p = shot.at(x, y);
            r += p.r;
            g += p.g;
            b += p.b;
            n++;
        }
    }
    return {r / n, g / n, b / n};
}

// The base menu: a green TOWERS button and a dark fifth one.
bool showsBaseMenu(const Image& shot) {
    Pixel towers = buttonColour(shot, 1), last = buttonColour(shot, 5);
    return towers.g > towers.r + 40 && brightness(last) < 200;
}
// The tower menu: an orange BACK button, the prices above the bar.
bool showsTowerMenu(const Image& shot) {
    Pixel back = buttonColour(shot, 5);
    const Box prices = {214, 556, 470, 576};
    return back.r > back.g + 60 && back.r > 150 && count(shot, prices, isInk) > 40;
}

// Play: the phone upright, the status line, the grass field and the menu.
bool showsPlay(const Image& shot) {
    return ShowsPortraitPhone(shot) && count(shot, kStatus, isInk) > 60 &&
           count(shot, kPortraitScreen, isGrass) > 3000 && showsBaseMenu(shot);
}

struct Point {
    double x, y;
};

// The centre of the green field on the screen.
Point fieldCentre(const Image& shot) {
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = kPortraitScreen.y0; y < kBar.y0 - 30; y++) {
        for (int x = kPortraitScreen.x0; x < kPortraitScreen.x1; x++) {
            if (isGrass(shot.at(x, y))) {
                sx += x;
                sy += y;
                n++;
            }
        }
    }
    return n == 0 ? Point{0, 0} : Point{sx / n, sy / n};
}

// The share of a box's pixels that differ between two pictures.
int changed(const Image& a, const Image& b, const Box& box) {
    int n = 0;
    for (int y = box.y0; y < box.y1; y++) {
        for (int x = box.x0; x < box.x1; x++) {
            n += std::abs(brightness(a.at(x, y)) - brightness(b.at(x, y))) > 60 ? 1 : 0;
        }
    }
    return n;
}

class TowerDefenceE2E : public testing::Test {
  protected:
    void SetUp() override {
        if (!GameRun::displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
    }

    // Starts the game and ends its splash with a key, as a player would.
    Image startPlaying(GameRun& game, const std::string& name) {
        Image shot = game.holdKeyUntil("a", name, showsPlay, 20000);
        EXPECT_TRUE(showsPlay(shot)) << "no play after the splash";
        return shot;
    }

    // A press that acts on its release: held long enough for a slow frame
    // to see it, released, then awaited; tried again when nothing showed
    // (a slow frame may see the press and the release in one poll).
    Image press(GameRun& game, int x, int y, const std::string& name,
                const std::function<bool(const Image&)>& shows) {
        Image shot;
        for (int attempt = 0; attempt < 3; attempt++) {
            game.click(x, y, 800);
            shot = game.captureWhen(name, shows, 8000);
            if (shows(shot)) {
                break;
            }
        }
        return shot;
    }

    // Plays until the tower menu shows and a tower kind (its button) is
    // chosen, the view moving over the whole field for placing: the tower
    // menu's picture, the status line's right edge then, and the picture of
    // the placing view.
    struct Chosen {
        Image menu;
        int statusEdge;
        Image placing;
    };
    Chosen choose(GameRun& game, int button, const std::string& name) {
        Chosen c;
        EXPECT_TRUE(showsPlay(startPlaying(game, name + "-start")));
        c.menu = press(game, kButtonX[0], kButtonY, name + "-menu", showsTowerMenu);
        EXPECT_TRUE(showsTowerMenu(c.menu)) << "no tower menu with its prices";
        c.statusEdge = statusRightEdge(c.menu);
        c.placing = press(game, kButtonX[button - 1], kButtonY, name + "-chosen",
                          [&](const Image& shot) { return changed(c.menu, shot, kField) > 2000; });
        EXPECT_GT(changed(c.menu, c.placing, kField), 2000) << "the view did not move for placing";
        return c;
    }

    // Waits until the enemies have moved in the corridor since the picture:
    // frames have run since it was taken.
    Image afterFrames(GameRun& game, const Image& since, const std::string& name,
                      const Box& where) {
        return game.captureWhen(
            name, [&](const Image& shot) { return changed(since, shot, where) > 20; }, 60000);
    }
};

TEST_F(TowerDefenceE2E, FieldMenuAndStatusShowAndAnEnemyWalksIn) {
    GameRun game("towerdefence");
    ASSERT_TRUE(game.hasWindow());
    Image start = startPlaying(game, "towerdefence-start");
    ASSERT_TRUE(showsPlay(start));
    EXPECT_GT(count(start, kStatus, isInk), 60) << "no status line";
    Image walked = afterFrames(game, start, "towerdefence-walk", kCorridor);
    EXPECT_GT(changed(start, walked, kCorridor), 20) << "no enemy walks in the top corridor";
    EXPECT_TRUE(showsPlay(walked));
    ExpectCleanExit(game);
}

// The tower menu, a cannon chosen and a press on the field: the cannon
// stands on the spot and the money falls from 52 to 2.
TEST_F(TowerDefenceE2E, TowerBoughtThroughTheMenuStandsWhereThePressWas) {
    GameRun game("towerdefence");
    ASSERT_TRUE(game.hasWindow());
    Chosen cannon = choose(game, 1, "towerdefence-cannon");
    ASSERT_FALSE(HasFailure());

    const int x = placingX(kSpotX), y = placingY(kSpotY);
    const Box spot = around(x, y, 16);
    EXPECT_LT(count(cannon.placing, spot, isOrange), 10) << "a tower before the press";
    Image built = press(game, x, y, "towerdefence-play",
                        [&](const Image& shot) { return count(shot, spot, isOrange) > 30; });
    EXPECT_GT(count(built, spot, isOrange), 30) << "no cannon on the spot";
    EXPECT_TRUE(showsTowerMenu(built)) << "the prices stay while the tower menu shows";
    const int fall = cannon.statusEdge - statusRightEdge(built);
    EXPECT_GE(fall, 3) << "Money: 52 did not become Money: 2";
    EXPECT_LE(fall, 12);
    ExpectCleanExit(game);
}

// The dearest tower with 52 to spend: "Not enough money", and a press on
// the field builds nothing and costs nothing.
TEST_F(TowerDefenceE2E, TooLittleMoneyBuildsNothing) {
    GameRun game("towerdefence");
    ASSERT_TRUE(game.hasWindow());
    Chosen rapid = choose(game, 4, "towerdefence-poor");
    ASSERT_FALSE(HasFailure());

    const int x = placingX(kSpotX), y = placingY(kSpotY);
    game.click(x, y, 800);
    Image pressed = game.capture("towerdefence-poor-pressed");
    Image later = afterFrames(game, pressed, "towerdefence-poor", kPlacingCorridor);
    const Box spot = around(x, y, 16);
    EXPECT_LT(count(later, spot, isCrimson), count(rapid.placing, spot, isCrimson) + 10)
        << "a tower was built";
    EXPECT_EQ(statusRightEdge(later), rapid.statusEdge) << "the money changed";
    ExpectCleanExit(game);
}

// A drag on the field pans it: the field follows the pointer.
TEST_F(TowerDefenceE2E, DragOnTheFieldPansIt) {
    GameRun game("towerdefence");
    ASSERT_TRUE(game.hasWindow());
    Image start = startPlaying(game, "towerdefence-pan-start");
    ASSERT_TRUE(showsPlay(start));
    const Point from = fieldCentre(start);

    // Held at the start long enough for a slow frame to see the press there,
    // then moved left and up.
    const int x0 = windowX(0.1), y0 = windowY(0.0);
    const auto pressed = std::chrono::steady_clock::now();
    bool moved = false;
    Image panned = game.holdPointerUntil(
        x0, y0, "towerdefence-pan",
        [&](const Image& shot) {
            if (!moved && std::chrono::steady_clock::now() - pressed > std::chrono::seconds(2)) {
                game.mouseMove(x0 - 40, y0 - 30);
                GameRun::pause(200);
                game.mouseMove(x0 - 80, y0 - 60);
                moved = true;
            }
            Point to = fieldCentre(shot);
            return moved && from.x - to.x > 15 && from.y - to.y > 10;
        },
        30000);
    Point to = fieldCentre(panned);
    EXPECT_GT(from.x - to.x, 15) << "the field did not follow the pointer left";
    EXPECT_GT(from.y - to.y, 10) << "the field did not follow the pointer up";
    ExpectCleanExit(game);
}

TEST_F(TowerDefenceE2E, MissingEnemyModelIsReportedAndTheGameRunsOn) {
    AssetTreeCopy tree;
    ASSERT_FALSE(tree.root.empty());
    ASSERT_TRUE(fs::remove(tree.root / "models" / "orc.pwn"));
    GameRun game("towerdefence", (tree.root / "bin").string());
    ASSERT_TRUE(game.hasWindow());
    Image start = game.holdKeyUntil("a", "towerdefence-no-model", showsPlay, 20000);
    EXPECT_TRUE(showsPlay(start)) << "no field without the enemy model";
    // Frames go on with the enemies walking unseen: the menu still answers.
    Image menu = press(game, kButtonX[0], kButtonY, "towerdefence-no-model-menu", showsTowerMenu);
    EXPECT_TRUE(showsTowerMenu(menu));
    std::string log = QuitAndLog(game);
    EXPECT_NE(log.find("Couldn't open .pwn file"), std::string::npos) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
}

} // namespace
