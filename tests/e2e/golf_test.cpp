// The golf demo as a player meets it: the splash ended by a key, a shot
// aimed by dragging from the ball, the view that follows the ball, the shot
// counter, the corner menu with its continue and restart boxes (pressed, and
// tapped with no hold), a shot that sinks the ball, the level-completed
// screen, the orientation switch and a clean exit; and a run whose ball model
// is missing.
#include "harness.h"
#include "picture.h"

#include "games/golf/rules.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The ball stands at the centre of the game screen.
constexpr int kBallX = 370, kBallY = 382;
// "Shots: %d" stands on the bottom edge of the portrait screen.
const Box kShotsText = {210, 600, 340, 622};
// "Level completed with %d shots" stands on y = -0.5 from x = -0.5.
const Box kCompletedText = {290, 484, 510, 504};

// Where the host's pointer lands for a window pixel of the portrait screen:
// -1..1 over the screen, y up (the host measures y from the window's bottom
// edge, the screen starting 119 pixels above it).
f32 pointerX(int x) {
    return static_cast<f32>((static_cast<double>(x - kPortraitScreen.x0) / 320 - 0.5) * 2);
}
f32 pointerY(int y) {
    return static_cast<f32>((static_cast<double>(kWindowSide - y - 119) / 480 - 0.5) * 2);
}
// The window pixel for a pointer position on the portrait screen.
int windowX(double px) {
    return kPortraitScreen.x0 + static_cast<int>(std::lround((px + 1) * 160));
}
int windowY(double py) {
    return kPortraitScreen.y1 - static_cast<int>(std::lround((py + 1) * 240));
}

int brightness(Pixel p) {
    return p.r + p.g + p.b;
}

bool isInk(Pixel p) {
    return p.r > 200 && p.g > 200 && p.b > 200;
}

// The share of a box's pixels that are not black.
double contentShare(const Image& shot, const Box& b) {
    int count = 0;
    for (int y = b.y0; y < b.y1; y++) {
        for (int x = b.x0; x < b.x1; x++) {
            count += brightness(shot.at(x, y)) > 60 ? 1 : 0;
        }
    }
    return static_cast<double>(count) / ((b.x1 - b.x0) * (b.y1 - b.y0));
}

struct Point {
    double x, y;
};

// The centre of what the portrait screen shows of the board and its walls,
// leaving out the ball at the centre, the menu tab in the top-right corner
// and the shot counter along the bottom edge.
Point boardCentre(const Image& shot) {
    double sx = 0, sy = 0;
    int count = 0;
    for (int y = kPortraitScreen.y0; y < kShotsText.y0; y++) {
        for (int x = kPortraitScreen.x0; x < kPortraitScreen.x1; x++) {
            bool ball = std::hypot(x - kBallX, y - kBallY) < 28;
            bool tab = x > 500 && y < 180;
            if (!ball && !tab && brightness(shot.at(x, y)) > 60) {
                sx += x;
                sy += y;
                count++;
            }
        }
    }
    return count == 0 ? Point{0, 0} : Point{sx / count, sy / count};
}

double boardShift(const Image& a, const Image& b) {
    Point p = boardCentre(a), q = boardCentre(b);
    return std::hypot(p.x - q.x, p.y - q.y);
}

// The ink of the last glyph in a text box, column by column: tells "Shots: 0"
// from "Shots: 1".
std::vector<int> lastGlyph(const Image& shot, const Box& b) {
    std::vector<int> columns;
    for (int x = b.x1 - 1; x >= b.x0; x--) {
        int ink = 0;
        for (int y = b.y0; y < b.y1; y++) {
            ink += isInk(shot.at(x, y)) ? 1 : 0;
        }
        if (ink == 0 && !columns.empty()) {
            break;
        }
        if (ink != 0) {
            columns.insert(columns.begin(), ink);
        }
    }
    return columns;
}

// Something lit stands at (x, y): the chrome ball shows dark and bright
// patches as it rolls, the ground around the board is black.
bool litAround(const Image& shot, int x, int y) {
    int lit = 0;
    for (int dy = -4; dy <= 4; dy++) {
        for (int dx = -4; dx <= 4; dx++) {
            lit += brightness(shot.at(x + dx, y + dy)) > 60 ? 1 : 0;
        }
    }
    return lit >= 20;
}

// Play in portrait: the phone, the lit board inside its screen with the ball
// at its centre, and the shot counter, which neither the menu nor the
// level-completed screen shows.
bool showsPlay(const Image& shot) {
    return ShowsPortraitPhone(shot) && contentShare(shot, kPortraitScreen) > 0.05 &&
           litAround(shot, kBallX, kBallY) && !lastGlyph(shot, kShotsText).empty();
}

Picture projectPicture(const std::string& name) {
    return LoadPicture(GameRun::binDir() + "/../project/" + name);
}

// The picture's texel under a pixel of a screen that it fills.
Pixel texelUnder(const Picture& picture, const Box& screen, int x, int y, int* alpha) {
    int tx = (x - screen.x0) * picture.width / (screen.x1 - screen.x0);
    int ty = (y - screen.y0) * picture.height / (screen.y1 - screen.y0);
    *alpha = picture.alpha(tx, ty);
    return picture.at(tx, ty);
}

// The share of a grid of points over the screen where the capture shows the
// picture's colour: near 1 when the picture fills the screen.
double pictureMatch(const Image& shot, const Box& screen, const Picture& picture) {
    if (shot.width != kWindowSide || picture.width == 0) {
        return 0;
    }
    int matches = 0, points = 0;
    for (int i = 0; i < 16; i++) {
        for (int j = 0; j < 24; j++) {
            int x = screen.x0 + (2 * i + 1) * (screen.x1 - screen.x0) / 32;
            int y = screen.y0 + (2 * j + 1) * (screen.y1 - screen.y0) / 48;
            int alpha = 0;
            Pixel texel = texelUnder(picture, screen, x, y, &alpha);
            if (alpha == 255) {
                points++;
                matches += shot.near(x, y, texel, 40) ? 1 : 0;
            }
        }
    }
    return points == 0 ? 0 : static_cast<double>(matches) / points;
}

// Text ink where the picture under it is not itself white.
int textOverPicture(const Image& shot, const Box& b, const Picture& picture) {
    int count = 0;
    for (int y = b.y0; y < b.y1 && picture.width != 0; y++) {
        for (int x = b.x0; x < b.x1; x++) {
            int alpha = 0;
            count += isInk(shot.at(x, y)) &&
                             brightness(texelUnder(picture, kPortraitScreen, x, y, &alpha)) < 500
                         ? 1
                         : 0;
        }
    }
    return count;
}

std::function<bool(const Image&)> showsPicture(const Picture& picture) {
    return [&picture](const Image& shot) {
        return ShowsPortraitPhone(shot) && pictureMatch(shot, kPortraitScreen, picture) > 0.75;
    };
}

// A release point, in window pixels of the portrait screen, that sinks the
// ball from its start: found with the game's own rules over the pixels the
// pointer can reach, keeping one whose eight neighbours sink too, so that a
// pixel of error still sinks.
constexpr u32 kShotFrames = 3000;

bool sinksAt(int x, int y) {
    return GolfShotSinks(pointerX(x), pointerY(y), kShotFrames);
}

bool findSinkingRelease(int* rx, int* ry) {
    const Box& s = kPortraitScreen;
    for (int y = s.y0 + 2; y < s.y1 - 2; y += 2) {
        for (int x = s.x0 + 2; x < s.x1 - 2; x += 2) {
            bool all = true;
            for (int dy = -1; dy <= 1 && all; dy++) {
                for (int dx = -1; dx <= 1 && all; dx++) {
                    all = sinksAt(x + dx, y + dy);
                }
            }
            if (all) {
                *rx = x;
                *ry = y;
                return true;
            }
        }
    }
    return false;
}

class GolfE2E : public testing::Test {
  protected:
    void SetUp() override {
        if (!GameRun::displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
    }

    // Starts the game and ends its splash with a key, as a player would.
    Image startPlaying(GameRun& game, const std::string& name) {
        Image shot = game.holdKeyUntil("a", name, showsPlay);
        EXPECT_TRUE(showsPlay(shot)) << "no play after the splash";
        return shot;
    }

    // Drags from the ball and lets go at (x, y), until the shot count on
    // screen differs from the one before shows: while it does not, the game
    // did not see the press and the ball did not move, so the shot is made
    // again. A shot that sinks the ball ends on the level-completed screen,
    // which shows no count: that differs too.
    void shoot(GameRun& game, const Image& before, int x, int y, const std::string& name) {
        const std::vector<int> shots = lastGlyph(before, kShotsText);
        game.dragUntil(kBallX, kBallY, x, y, name, [&shots](const Image& shot) {
            return ShowsPortraitPhone(shot) && lastGlyph(shot, kShotsText) != shots;
        });
    }
};

TEST_F(GolfE2E, ShotViewFollowsMenuContinueAndRestart) {
    GameRun game("Tessaly");
    ASSERT_TRUE(game.hasWindow());
    Image start = startPlaying(game, "golf-start");
    ASSERT_TRUE(showsPlay(start));
    std::vector<int> zero = lastGlyph(start, kShotsText);
    ASSERT_FALSE(zero.empty()) << "Shots: 0";

    // Straight down the screen: the ball rolls between the long walls while
    // the board slides up under it.
    shoot(game, start, kBallX, windowY(-0.6), "golf-shot");
    Image rolled = game.captureWhen("golf-play", [&start](const Image& shot) {
        return showsPlay(shot) && boardShift(start, shot) > 20;
    });
    EXPECT_GT(boardShift(start, rolled), 20) << "the view does not follow the ball";
    EXPECT_TRUE(litAround(rolled, kBallX, kBallY)) << "no ball at the centre";
    std::vector<int> one = lastGlyph(rolled, kShotsText);
    EXPECT_FALSE(one.empty()) << "Shots: 1";
    EXPECT_NE(one, zero) << "the shot was not counted";

    Picture menu = projectPicture("tmpmenu.png");
    ASSERT_NE(menu.width, 0);
    Image shown = game.pressUntil(windowX(0.95), windowY(0.95), "golf-menu", showsPicture(menu));
    EXPECT_GT(pictureMatch(shown, kPortraitScreen, menu), 0.75) << "no menu";
    EXPECT_TRUE(lastGlyph(shown, kShotsText).empty()) << "shots shown in the menu";

    // Continue: play goes on with the shot counted.
    Image resumed = game.pressUntil(kBallX, windowY(0.35), "golf-continue", showsPlay);
    EXPECT_TRUE(showsPlay(resumed));
    EXPECT_EQ(lastGlyph(resumed, kShotsText), one);

    // Restart: the ball back at its start, no shots.
    EXPECT_GT(pictureMatch(game.pressUntil(windowX(0.95), windowY(0.95), "golf-menu-again",
                                           showsPicture(menu)),
                           kPortraitScreen, menu),
              0.75);
    Image restarted =
        game.pressUntil(kBallX, windowY(-0.5), "golf-restart", [&](const Image& shot) {
            return showsPlay(shot) && boardShift(start, shot) < 3 &&
                   lastGlyph(shot, kShotsText) == zero;
        });
    EXPECT_LT(boardShift(start, restarted), 3) << "the ball is not back at its start";
    EXPECT_EQ(lastGlyph(restarted, kShotsText), zero);

    ExpectCleanExit(game);
}

// Taps with no hold, as a touchpad's tap-to-click sends them: the press and
// its release may reach one poll, and each opens or leaves the menu all the
// same.
TEST_F(GolfE2E, TapsOpenTheMenuAndContinue) {
    GameRun game("Tessaly");
    ASSERT_TRUE(game.hasWindow());
    ASSERT_TRUE(showsPlay(startPlaying(game, "golf-tap-start")));
    Picture menu = projectPicture("tmpmenu.png");
    ASSERT_NE(menu.width, 0);
    game.tap(windowX(0.95), windowY(0.95));
    Image shown = game.captureWhen("golf-tap-menu", showsPicture(menu));
    EXPECT_GT(pictureMatch(shown, kPortraitScreen, menu), 0.75) << "a tap opened no menu";
    game.tap(kBallX, windowY(0.35));
    EXPECT_TRUE(showsPlay(game.captureWhen("golf-tap-continue", showsPlay)))
        << "a tap on continue did not leave the menu";
    ExpectCleanExit(game);
}

TEST_F(GolfE2E, SinkingShotCompletesTheLevel) {
    int rx = 0, ry = 0;
    ASSERT_TRUE(findSinkingRelease(&rx, &ry)) << "no release point sinks the ball";
    Picture end = projectPicture("tmpend.png");
    ASSERT_NE(end.width, 0);

    GameRun game("Tessaly");
    ASSERT_TRUE(game.hasWindow());
    Image start = startPlaying(game, "golf-sink-start");
    ASSERT_TRUE(showsPlay(start));
    shoot(game, start, rx, ry, "golf-sink-shot");
    // The frame in which the hole takes the ball still shows the count the
    // ball queued before the hole's update; the frames after it do not. The
    // roll takes over two hundred frames, which a busy machine may draw at a
    // few a second.
    Image done = game.captureWhen(
        "golf-completed",
        [&end](const Image& shot) {
            return showsPicture(end)(shot) && textOverPicture(shot, kCompletedText, end) > 40 &&
                   lastGlyph(shot, kShotsText).empty();
        },
        120000);
    EXPECT_GT(pictureMatch(done, kPortraitScreen, end), 0.75)
        << "no level-completed screen after a release at " << pointerX(rx) << ", " << pointerY(ry);
    EXPECT_GT(textOverPicture(done, kCompletedText, end), 40) << "Level completed with 1 shots";
    EXPECT_TRUE(lastGlyph(done, kShotsText).empty()) << "shots shown on the end screen";

    // Any press starts the level again.
    Image again = game.pressUntil(kBallX, kBallY, "golf-sink-restart", [&start](const Image& shot) {
        return showsPlay(shot) && boardShift(start, shot) < 3;
    });
    EXPECT_LT(boardShift(start, again), 3) << "the ball is not back at its start";
    EXPECT_EQ(lastGlyph(again, kShotsText), lastGlyph(start, kShotsText));

    ExpectCleanExit(game);
}

TEST_F(GolfE2E, TabTurnsThePhoneAndTheGameGoesOn) {
    GameRun game("Tessaly");
    ASSERT_TRUE(game.hasWindow());
    startPlaying(game, "golf-tab-portrait");
    Image turned = game.holdKeyUntil("Tab", "golf-tab-landscape", [](const Image& shot) {
        return ShowsLandscapePhone(shot) && contentShare(shot, kLandscapeScreen) > 0.05;
    });
    EXPECT_TRUE(ShowsLandscapePhone(turned));
    EXPECT_GT(contentShare(turned, kLandscapeScreen), 0.05) << "no board in landscape";
    EXPECT_TRUE(litAround(turned, 382, 371)) << "no ball at the landscape centre";
    EXPECT_TRUE(showsPlay(game.holdKeyUntil("Tab", "golf-tab-back", showsPlay)));
    ExpectCleanExit(game);
}

TEST_F(GolfE2E, MissingBallModelIsReportedAndTheGameRunsOn) {
    AssetTreeCopy tree;
    ASSERT_FALSE(tree.root.empty());
    ASSERT_TRUE(fs::remove(tree.root / "models" / "sphere.pwn"));
    GameRun game("Tessaly", (tree.root / "bin").string());
    ASSERT_TRUE(game.hasWindow());
    Image shot = game.holdKeyUntil("a", "golf-no-model", [](const Image& s) {
        return ShowsPortraitPhone(s) && contentShare(s, kPortraitScreen) > 0.05;
    });
    EXPECT_GT(contentShare(shot, kPortraitScreen), 0.05) << "no board without the model";
    // A press and a drag with no ball to shoot.
    game.drag(kBallX, kBallY, kBallX, windowY(-0.6));
    std::string log = QuitAndLog(game);
    EXPECT_NE(log.find("Couldn't open .pwn file"), std::string::npos) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
}

} // namespace
