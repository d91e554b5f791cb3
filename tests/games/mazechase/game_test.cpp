// The maze game over the real scene registry, in a scratch tree with its own
// level and score files: what a level builds, walls, the tunnel, eating and
// the score, the player's two materials, the power state that walks on
// through a monster at its start, a game that ends in the score file, and
// the memory a game leaves behind. A GL window is used when a display
// exists; the checks read the scene, not pixels.
#include "engine/group.h"
#include "engine/material.h"
#include "engine/memory.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/mazechase/highscore.h"
#include "games/mazechase/nibblorgame.h"
#include "games/mazechase/player.h"
#include "tests/support/glwindow.h"
#include "tests/support/mazelevel.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class MazeGame : public testing::Test {
  protected:
    void SetUp() override {
        StartGlWindow();
        enterScratchTree();
        LogClose();
        allocatedBefore = MemoryGetTotal();
        SceneGraph::init();
    }
    void TearDown() override {
        stop();
        SceneGraph::shutdown();
        LogClose();
        EXPECT_EQ(MemoryGetTotal(), allocatedBefore) << "the game left memory behind";
        EXPECT_EQ(chdir(restoreDir.c_str()), 0);
        EXPECT_EQ(std::system(("rm -rf " + scratchDir).c_str()), 0);
    }

    void enterScratchTree() {
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        char scratch[] = "/tmp/mazegameXXXXXX";
        ASSERT_NE(mkdtemp(scratch), nullptr);
        scratchDir = scratch;
        const std::string assets = std::string(here) + "/..";
        for (const char* dir : {"shaders", "textures", "fonts", "models"}) {
            ASSERT_EQ(symlink((assets + "/" + dir).c_str(), (scratchDir + "/" + dir).c_str()), 0);
        }
        ASSERT_EQ(mkdir((scratchDir + "/Nibblor").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((scratchDir + "/bin").c_str(), 0755), 0);
        ASSERT_EQ(chdir((scratchDir + "/bin").c_str()), 0);
        restoreDir = here;
    }

    void write(const std::string& rel, const std::string& text) {
        std::ofstream out("../" + rel, std::ios::binary | std::ios::trunc);
        out << text;
    }
    std::string read(const std::string& rel) {
        std::ifstream in("../" + rel, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    void start(const std::vector<std::string>& rows) {
        write("Nibblor/level1.txt", MazeLevelOf(rows));
        scores = new High_Score();
        game = new NibblorGame(scores, 1);
    }
    void stop() {
        delete game;
        game = nullptr;
        delete scores;
        scores = nullptr;
        input = FrameInput{};
    }
    void frames(u32 count) {
        for (u32 i = 0; i < count; i++) {
            ASSERT_TRUE(game->update(&input));
            game->draw(&input);
        }
    }
    void hold(f32 x, f32 y) {
        input.pointerDown = 1;
        input.pointerX = x;
        input.pointerY = y;
    }
    // A press that only turns, a release, then the pointer held in the
    // forward zone.
    void turnThenHoldForward(f32 x, f32 y) {
        hold(x, y);
        frames(1);
        input.pointerDown = 0;
        frames(1);
        hold(0, 0);
    }
    u32 children(const char* group) const {
        Node* found = game->getMainWorld()->findChild(group, 1);
        return found == nullptr ? 0 : found->getChildCount();
    }

    std::string scratchDir;
    std::string restoreDir;
    u32 allocatedBefore = 0;
    High_Score* scores = nullptr;
    NibblorGame* game = nullptr;
    FrameInput input{};
};

TEST_F(MazeGame, PlayerAndPelletsBuildNoMonster) {
    start({"4333"});
    EXPECT_EQ(game->getObjectCount(), 1u);
    EXPECT_EQ(game->getMonsterCount(), 0u);
    EXPECT_EQ(children("Group: Food"), 3u);
    EXPECT_EQ(children("Group: Special Food"), 0u);
}

TEST_F(MazeGame, MonsterStartInsideTheCageBuildsNoBlockThere) {
    start({"666", "676", "666", "040"});
    EXPECT_EQ(game->getMonsterCount(), 1u);
    EXPECT_EQ(game->getObjectCount(), 2u);
    EXPECT_EQ(children("Group: Monster Cage"), 8u);
}

TEST_F(MazeGame, WalkingEatsThePelletsAndScores) {
    start({"43353"});
    // Held right of the middle: one right turn, then forward along the row.
    hold(0.45f, 0);
    frames(4 * 5);
    EXPECT_EQ(game->getScore(), 3);
    EXPECT_EQ(children("Group: Food"), 0u);
    EXPECT_EQ(children("Group: Special Food"), 0u);
    EXPECT_EQ(game->getPlayer()->getActor().special, 1);
    // Released: nothing moves.
    input.pointerDown = 0;
    GridPosition cell = game->getPlayer()->getActor().cell;
    frames(4);
    EXPECT_EQ(game->getPlayer()->getActor().cell, cell);
}

TEST_F(MazeGame, WallStopsThePlayerAQuarterStepBeforeIt) {
    struct Case {
        const char* row; // the player's row, from column 1
        f32 turnX;       // the side pressed to turn toward the wall
        i32 steps;       // quarter steps made before the wall stops it
    };
    // The kinds of wall are the rules' table; here the player's own update.
    const Case cases[] = {{"0410", 0.9f, 1}, {"1040", -0.9f, 5}};
    for (const Case& c : cases) {
        start({c.row});
        const Player* player = game->getPlayer();
        GridPosition from = player->getActor().cell;
        f32 startX = player->getNode()->getTranslation().x;
        // Forward for longer than the way is.
        turnThenHoldForward(c.turnX, -0.9f);
        frames(12);
        const MazeActor& at = player->getActor();
        i32 sign = c.turnX > 0 ? 1 : -1;
        EXPECT_EQ(((at.cell.x - from.x) * 4 + at.stepX) * sign, c.steps) << c.row;
        EXPECT_EQ(at.stepY, 0) << c.row;
        EXPECT_FLOAT_EQ(player->getNode()->getTranslation().x - startX,
                        static_cast<f32>(sign * c.steps) * 10)
            << c.row;
        stop();
    }
}

TEST_F(MazeGame, TunnelTakesThePlayerToTheFarSideAndItsPellet) {
    // Row 1 runs from the player's start at column 28 through the gap in
    // the outer wall to the pellet at column 0, with a wall after it.
    std::string level = std::string(30, '2') + "\n3" + std::string(27, '1') + "40\n";
    for (int row = 2; row < 30; row++) {
        level += std::string(30, '2') + "\n";
    }
    write("Nibblor/level1.txt", level);
    scores = new High_Score();
    game = new NibblorGame(scores, 1);
    const Player* player = game->getPlayer();
    turnThenHoldForward(0.9f, -0.9f);
    // Two cells on, in the eighth update, it comes out at column 0 a quarter
    // before the centre and eats the pellet there at once.
    frames(7);
    EXPECT_EQ(player->getActor().cell, GridPosition(29, 1));
    EXPECT_EQ(game->getScore(), 0);
    frames(1);
    EXPECT_EQ(player->getActor().cell, GridPosition(0, 1));
    EXPECT_EQ(player->getActor().stepX, 0);
    EXPECT_EQ(game->getScore(), 1);
    EXPECT_EQ(children("Group: Food"), 0u);
    EXPECT_FLOAT_EQ(player->getNode()->getTranslation().x, NibblorGame::toWorldPosition(0, 1).x);
    // One quarter on, the wall at column 1 stops it.
    frames(4);
    EXPECT_EQ(player->getActor().stepX, 1);
    EXPECT_FLOAT_EQ(player->getNode()->getTranslation().x,
                    NibblorGame::toWorldPosition(0.25f, 1).x);
}

TEST_F(MazeGame, PowerStateSwitchesMaterialsWithoutFreeingThem) {
    start({"4"});
    Player* player = game->getPlayer();
    Material* normal = player->getNode()->getMaterial();
    Material* special = SceneGraph::getMaterial("special nibblor");
    ASSERT_NE(special, nullptr);
    SceneGraph::dereferenceResource(special);
    // Drawn in turn with each: a material freed on the way would be drawn
    // from freed memory (the sanitizer build sees it).
    bool switched = true;
    for (int i = 0; i < 3; i++) {
        player->setSpecial(true);
        frames(1);
        switched = switched && player->getNode()->getMaterial() == special;
        player->setSpecial(false);
        frames(1);
        switched = switched && player->getNode()->getMaterial() == normal;
    }
    EXPECT_TRUE(switched);
}

TEST_F(MazeGame, CaughtTwiceTheGameEndsAndSavesTheScoreOnce) {
    write("Nibblor/high_score.txt", "5\n12\n7");
    start({"4", "0", "0", "7"});
    // The monster enters the player's cell in its twelfth update; the
    // player's next update meets it.
    frames(14);
    EXPECT_EQ(game->getLives(), 0);
    EXPECT_FALSE(game->isGameOver());
    frames(14);
    EXPECT_TRUE(game->isGameOver());
    frames(10);
    EXPECT_EQ(read("Nibblor/high_score.txt"), "5\n12\n7\n0\n");
    EXPECT_EQ(std::string(scores->getHighScore()), "12");
}

TEST_F(MazeGame, MonsterInADeadEndTurnsBack) {
    // Facing the outer wall with walls at both sides, it walks back down to
    // the player, meeting it in its thirteenth update.
    start({"7", "0", "0", "4"});
    frames(13);
    EXPECT_EQ(game->getLives(), 0);
}

TEST_F(MazeGame, PowerStateSendsTheMonsterBack) {
    start({"4", "5", "0", "0", "0", "7"});
    Player* player = game->getPlayer();
    // Turned around toward the power pellet below, then forward onto it.
    turnThenHoldForward(0, -0.6f);
    frames(4);
    input.pointerDown = 0;
    ASSERT_EQ(player->getActor().special, 1);
    frames(40);
    EXPECT_EQ(game->getLives(), 1) << "a monster met in the power state cost a life";
}

TEST_F(MazeGame, GlowingPlayerWalksOnThroughAMonsterAtItsStart) {
    // A corridor from the player's start at (1, 5) up to the outer wall; the
    // monster starts at (1, 2) and walks up first. Held forward and glowing,
    // the player meets it on the way back, sends it home and steps into its
    // start cell with it, then walks on up to the wall.
    start({"0", "7", "0", "0", "4"});
    Player* player = game->getPlayer();
    Material* normal = player->getNode()->getMaterial();
    player->setSpecial(true);
    Material* glowing = player->getNode()->getMaterial();
    hold(0, 0);
    const GridPosition monsterStart(1, 2);
    bool together = false;
    // The power state counts every update, meetings included.
    for (i32 update = 1; update <= kMazePowerUpdates; update++) {
        frames(1);
        const MazeActor& at = player->getActor();
        ASSERT_EQ(at.special, 1) << update;
        ASSERT_EQ(at.specialTimer, kMazePowerUpdates - update) << update;
        u8 cell = game->getMap()->getCell(monsterStart.x, monsterStart.y);
        together = together || (at.cell == monsterStart && CellHolds(cell, kFlagMonster));
    }
    EXPECT_TRUE(together) << "the player never stood with the monster in its start cell";
    EXPECT_EQ(player->getActor().cell, GridPosition(1, 1)) << "the player did not walk on";
    EXPECT_EQ(player->getActor().stepY, -1);
    EXPECT_EQ(player->getNode()->getMaterial(), glowing);
    EXPECT_EQ(game->getLives(), 1);
    // The power state ends in the next update; then the monster, walking
    // back and forth, catches the player.
    frames(1);
    EXPECT_EQ(player->getActor().special, 0);
    EXPECT_EQ(player->getNode()->getMaterial(), normal);
    for (int update = 0; update < 40 && game->getLives() == 1; update++) {
        frames(1);
    }
    EXPECT_EQ(game->getLives(), 0) << "the monster never caught the player";
}

} // namespace
