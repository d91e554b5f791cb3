// The maze-chase game as a player meets it: the start menu with the best
// score that waits for a choice, a press or a tap on a level line that
// starts that level in landscape, a tapped key that leaves it, the close
// button and a signal that end the program at the menu, the pointer that
// moves the player and raises the score, a monster that catches the player
// twice and ends the game with one more line in the score file, Tab to
// portrait with nothing stale above the maze, a level without a player
// start, a missing model, and a clean exit. Every run plays in a copy of the
// build tree of its own, with its own level and score files.
#include "harness.h"

#include "tests/support/mazelevel.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// The main world below the minimap strip (the top 120 pixels of the screen).
const Box kMazeView = {142, 331, 622, 531};
// The HUD's score, from "SCORE:" at x = -0.4, y = 0.9 of the screen.
const Box kScoreText = {280, 215, 440, 250};
// The menu's best-score line and its level lines.
const Box kBestScoreLine = {60, 270, 500, 300};
constexpr int kLevelOneX = 100, kLevelOneY = 345;
constexpr int kLevelTwoX = 100, kLevelTwoY = 365;

int brightness(Pixel p) {
    return p.r + p.g + p.b;
}
bool isRed(Pixel p) {
    return p.r > 150 && p.g < 90 && p.b < 90;
}
bool isInk(Pixel p) {
    return brightness(p) > 300;
}

int count(const Image& shot, const Box& b, const std::function<bool(Pixel)>& is) {
    int n = 0;
    for (int y = b.y0; y < b.y1; y++) {
        for (int x = b.x0; x < b.x1; x++) {
            n += is(shot.at(x, y)) ? 1 : 0;
        }
    }
    return n;
}

// The menu: text on black over the whole window, no phone yet.
bool showsMenu(const Image& shot) {
    return shot.width == kWindowSide && count(shot, {60, 60, 560, 420}, isInk) > 400 &&
           !ShowsLandscapePhone(shot);
}

// The rightmost column of red ink in a box: how far a red line reaches.
int redReach(const Image& shot, const Box& b) {
    for (int x = b.x1 - 1; x >= b.x0; x--) {
        for (int y = b.y0; y < b.y1; y++) {
            if (isRed(shot.at(x, y))) {
                return x;
            }
        }
    }
    return -1;
}

// Play: the landscape phone with the lit maze and the HUD's score.
bool showsPlay(const Image& shot) {
    return ShowsLandscapePhone(shot) &&
           count(shot, kMazeView, [](Pixel p) { return brightness(p) > 90; }) > 2000 &&
           redReach(shot, kScoreText) >= 0;
}

// The red ink of the score, column by column: tells one score from another.
std::vector<int> scoreInk(const Image& shot) {
    std::vector<int> columns;
    for (int x = kScoreText.x0; x < kScoreText.x1; x++) {
        int n = 0;
        for (int y = kScoreText.y0; y < kScoreText.y1; y++) {
            n += isRed(shot.at(x, y)) ? 1 : 0;
        }
        columns.push_back(n);
    }
    return columns;
}

// The share of the maze view's pixels that differ between two shots.
double viewChange(const Image& a, const Image& b) {
    int changed = 0, total = 0;
    for (int y = kMazeView.y0; y < kMazeView.y1; y += 2) {
        for (int x = kMazeView.x0; x < kMazeView.x1; x += 2) {
            total++;
            changed += a.near(x, y, b.at(x, y), 30) ? 0 : 1;
        }
    }
    return static_cast<double>(changed) / total;
}

// In portrait the worlds keep their landscape viewports: the main world
// fills the bottom 320 rows of the screen, the minimap the top strip of
// those, and the band above them is covered by neither.
const Box kPortraitMazeView = {kPortraitScreen.x0, kPortraitScreen.y1 - 200, kPortraitScreen.x1,
                               kPortraitScreen.y1};
const Box kPortraitBand = {kPortraitScreen.x0, kPortraitScreen.y0, kPortraitScreen.x1,
                           kPortraitScreen.y1 - 320};

// Play turned to portrait: the upright phone with the lit maze at the bottom.
bool showsPortraitPlay(const Image& shot) {
    return ShowsPortraitPhone(shot) &&
           count(shot, kPortraitMazeView, [](Pixel p) { return brightness(p) > 90; }) > 2000;
}

// The game-over panel: red round a black middle before the camera.
bool showsGameOver(const Image& shot) {
    return ShowsLandscapePhone(shot) && count(shot, {250, 300, 510, 440}, isRed) > 1500;
}

// Files of a copied tree, by path from its root.
void writeFile(const AssetTreeCopy& tree, const std::string& rel, const std::string& text) {
    std::ofstream out(tree.root / rel, std::ios::binary | std::ios::trunc);
    out << text;
}
std::string readFile(const AssetTreeCopy& tree, const std::string& rel) {
    std::ifstream in(tree.root / rel, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class MazeE2E : public testing::Test {
  protected:
    void SetUp() override {
        if (!GameRun::displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
        ASSERT_FALSE(tree.root.empty());
        fs::remove(tree.root / "Nibblor" / "high_score.txt");
        bin = (tree.root / "bin").string();
    }

    // Leaves the menu with a key, as a player may.
    Image startWithKey(GameRun& game, const std::string& name) {
        Image shot = game.holdKeyUntil("a", name, showsPlay);
        EXPECT_TRUE(showsPlay(shot)) << "no play after the menu";
        return shot;
    }

    AssetTreeCopy tree;
    std::string bin;
};

TEST_F(MazeE2E, MenuShowsTheBestScoreAndWaits) {
    // Without a score file the best score is "0"; with one, its best line.
    int zeroReach = -1;
    {
        GameRun game("mazechase", bin);
        ASSERT_TRUE(game.hasWindow());
        Image menu = game.captureWhen("mazechase-menu-zero", showsMenu);
        ASSERT_TRUE(showsMenu(menu));
        zeroReach = redReach(menu, kBestScoreLine);
        ExpectCleanExit(game);
    }
    writeFile(tree, "Nibblor/high_score.txt", "5\n1234567\n7\n");
    GameRun game("mazechase", bin);
    ASSERT_TRUE(game.hasWindow());
    Image menu = game.captureWhen("mazechase-menu", showsMenu);
    ASSERT_TRUE(showsMenu(menu));
    EXPECT_GT(redReach(menu, kBestScoreLine), zeroReach + 30) << "the best score is not shown";
    // Longer than the start screen of other programs stays: no time limit.
    GameRun::pause(8000);
    EXPECT_TRUE(showsMenu(game.capture("mazechase-menu-waits"))) << "the menu did not wait";
    ExpectCleanExit(game);
}

TEST_F(MazeE2E, LevelLineStartsThatLevelInLandscape) {
    // Level one cannot start here: a run that reaches play took level two.
    writeFile(tree, "Nibblor/level1.txt", MazeLevelOf({"333"}));
    GameRun game("mazechase", bin);
    ASSERT_TRUE(game.hasWindow());
    ASSERT_TRUE(showsMenu(game.captureWhen("mazechase-level-menu", showsMenu)));
    Image play = game.holdPointerUntil(kLevelTwoX, kLevelTwoY, "mazechase-level-two", showsPlay);
    EXPECT_TRUE(showsPlay(play)) << "no landscape play after a press on level two";
    ExpectCleanExit(game);
}

// A key and a press on a level line, each released at once: both may reach
// one poll, and each leaves the menu all the same. A key plays level one;
// the tap on level two plays level two, as level one cannot start here.
TEST_F(MazeE2E, TapsLeaveTheMenu) {
    {
        GameRun game("mazechase", bin);
        ASSERT_TRUE(game.hasWindow());
        ASSERT_TRUE(showsMenu(game.captureWhen("mazechase-tap-key-menu", showsMenu)));
        game.tapKey("a");
        EXPECT_TRUE(showsPlay(game.captureWhen("mazechase-tap-key", showsPlay)))
            << "no play after a tapped key";
        ExpectCleanExit(game);
    }
    writeFile(tree, "Nibblor/level1.txt", MazeLevelOf({"333"}));
    GameRun game("mazechase", bin);
    ASSERT_TRUE(game.hasWindow());
    ASSERT_TRUE(showsMenu(game.captureWhen("mazechase-tap-menu", showsMenu)));
    game.tap(kLevelTwoX, kLevelTwoY);
    EXPECT_TRUE(showsPlay(game.captureWhen("mazechase-tap-level-two", showsPlay)))
        << "no play of level two after a tap on its line";
    ExpectCleanExit(game);
}

// The window's close button and a termination signal end the program at the
// menu, cleanly: status 0, nothing logged, no memory left, the score file
// untouched.
TEST_F(MazeE2E, CloseButtonOrSignalAtTheMenuEndsTheProgram) {
    writeFile(tree, "Nibblor/high_score.txt", "5\n12\n");
    const std::function<void(GameRun&)> quits[] = {
        [](GameRun& game) { game.closeWindow(); },
        [](GameRun& game) { game.signal(SIGTERM); },
    };
    for (const auto& quit : quits) {
        GameRun game("mazechase", bin);
        ASSERT_TRUE(game.hasWindow());
        ASSERT_TRUE(showsMenu(game.captureWhen("mazechase-quit-menu", showsMenu)));
        quit(game);
        EXPECT_EQ(game.waitExit(), 0);
        EXPECT_EQ(game.log(), "");
        EXPECT_FALSE(game.memDumpExists());
        EXPECT_EQ(readFile(tree, "Nibblor/high_score.txt"), "5\n12\n");
    }
}

TEST_F(MazeE2E, HoldingThePointerMovesThePlayerAndRaisesTheScore) {
    GameRun game("mazechase", bin);
    ASSERT_TRUE(game.hasWindow());
    ASSERT_TRUE(showsMenu(game.captureWhen("mazechase-move-menu", showsMenu)));
    // A key, so that the first press of the game is the one below.
    Image start = startWithKey(game, "mazechase-start");
    ASSERT_TRUE(showsPlay(start));
    std::vector<int> zero = scoreInk(start);
    // The start faces a wall: held at the left of the forward zone, the
    // player turns left once and walks along the row, eating.
    int x = kLandscapeScreen.x0 + 240 - 108, y = kLandscapeScreen.y0 + 140;
    Image moved = game.holdPointerUntil(x, y, "mazechase-play", [&](const Image& shot) {
        return showsPlay(shot) && scoreInk(shot) != zero && viewChange(start, shot) > 0.1;
    });
    EXPECT_NE(scoreInk(moved), zero) << "the score did not rise";
    EXPECT_GT(viewChange(start, moved), 0.1) << "the view did not move";
    ExpectCleanExit(game);
}

TEST_F(MazeE2E, MonsterCatchesThePlayerTwiceAndTheGameEnds) {
    // A corridor up to the player's dead end; the monster starts below it.
    writeFile(tree, "Nibblor/level1.txt", MazeLevelOf({"4", "0", "0", "0", "0", "0", "0", "7"}));
    // The last line has no line end: the new score must not join it.
    writeFile(tree, "Nibblor/high_score.txt", "5\n12\n7");
    GameRun game("mazechase", bin);
    ASSERT_TRUE(game.hasWindow());
    ASSERT_TRUE(showsMenu(game.captureWhen("mazechase-chase-menu", showsMenu)));
    game.key("a");
    // Two catches play out at the game's own pace, which a busy machine slows.
    Image over = game.captureWhen("mazechase-game-over", showsGameOver, 120000);
    EXPECT_TRUE(showsGameOver(over)) << "no game-over panel";
    // The panel stays; the score went into the file once.
    GameRun::pause(1000);
    EXPECT_TRUE(showsGameOver(game.capture("mazechase-game-over-stays")));
    EXPECT_EQ(readFile(tree, "Nibblor/high_score.txt"), "5\n12\n7\n0\n");
    ExpectCleanExit(game);
    EXPECT_EQ(readFile(tree, "Nibblor/high_score.txt"), "5\n12\n7\n0\n");
}

// A score file that can be neither read nor written (a folder in its
// place): the menu shows "0", the game over keeps the score on screen, and
// both are warned of by the file's name; the program still ends cleanly.
TEST_F(MazeE2E, AScoreFileThatCannotBeUsedIsWarnedOf) {
    writeFile(tree, "Nibblor/level1.txt", MazeLevelOf({"4", "0", "0", "0", "0", "0", "0", "7"}));
    // The "0" of a missing file, to compare with.
    int zeroReach = -1;
    {
        GameRun game("mazechase", bin);
        ASSERT_TRUE(game.hasWindow());
        Image menu = game.captureWhen("mazechase-unusable-zero", showsMenu);
        zeroReach = redReach(menu, kBestScoreLine);
        ExpectCleanExit(game);
    }
    const fs::path scores = tree.root / "Nibblor" / "high_score.txt";
    ASSERT_TRUE(fs::create_directory(scores));
    GameRun game("mazechase", bin);
    ASSERT_TRUE(game.hasWindow());
    Image menu = game.captureWhen("mazechase-unusable-menu", showsMenu);
    ASSERT_TRUE(showsMenu(menu));
    EXPECT_EQ(redReach(menu, kBestScoreLine), zeroReach) << "the best score is not \"0\"";
    game.key("a");
    Image over = game.captureWhen("mazechase-unusable-over", showsGameOver, 120000);
    EXPECT_TRUE(showsGameOver(over)) << "no game-over panel";
    std::string log = QuitAndLog(game);
    EXPECT_NE(log.find("Warning: Couldn't read the high score file ../Nibblor/high_score.txt ("),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Warning: Couldn't save the score to the high score file "
                       "../Nibblor/high_score.txt ("),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
    EXPECT_TRUE(fs::is_directory(scores));
}

TEST_F(MazeE2E, TabToPortraitLeavesTheBandAboveTheMazeBlack) {
    GameRun game("mazechase", bin);
    ASSERT_TRUE(game.hasWindow());
    ASSERT_TRUE(showsMenu(game.captureWhen("mazechase-tab-menu", showsMenu)));
    ASSERT_TRUE(showsPlay(startWithKey(game, "mazechase-tab-landscape")));
    Image portrait = game.holdKeyUntil("Tab", "mazechase-tab-portrait", showsPortraitPlay);
    ASSERT_TRUE(showsPortraitPlay(portrait)) << "no portrait play after Tab";
    // Frames go on; the band must stay cleared, not keep what was there.
    GameRun::pause(500);
    Image later = game.captureWhen("mazechase-tab-portrait-later", showsPortraitPlay);
    int lit = count(later, kPortraitBand, [](Pixel p) { return brightness(p) > 0; });
    EXPECT_EQ(lit, 0) << "the band above the maze keeps a stale picture";
    ExpectCleanExit(game);
}

TEST_F(MazeE2E, LevelWithoutPlayerStartIsAnError) {
    writeFile(tree, "Nibblor/level1.txt", MazeLevelOf({"3337", "0000"}));
    GameRun game("mazechase", bin);
    ASSERT_TRUE(game.hasWindow());
    ASSERT_TRUE(showsMenu(game.captureWhen("mazechase-no-start-menu", showsMenu)));
    game.keyDown("a");
    EXPECT_EQ(game.waitExit(), 1);
    game.keyUp("a");
    std::string log = game.log();
    EXPECT_NE(log.find("Error: The level file ../Nibblor/level1.txt has no player start"),
              std::string::npos)
        << log;
    EXPECT_FALSE(game.memDumpExists());
}

TEST_F(MazeE2E, MissingMonsterModelIsReportedAndTheGameRunsOn) {
    ASSERT_TRUE(fs::remove(tree.root / "models" / "ogrehead.pwn"));
    GameRun game("mazechase", bin);
    ASSERT_TRUE(game.hasWindow());
    ASSERT_TRUE(showsMenu(game.captureWhen("mazechase-no-model-menu", showsMenu)));
    Image play = game.holdKeyUntil("a", "mazechase-no-model", showsPlay);
    EXPECT_TRUE(showsPlay(play));
    std::string log = QuitAndLog(game);
    EXPECT_NE(log.find("Couldn't open .pwn file"), std::string::npos) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
}

} // namespace
