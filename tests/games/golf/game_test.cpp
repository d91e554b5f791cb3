// The golf game's objects over the real scene registry: the level they
// build, the nodes they move frame by frame, a game without the sphere model
// and the memory they leave behind. A GL window is used when a display
// exists; the checks read the scene, not pixels.
#include "engine/camera.h"
#include "engine/light.h"
#include "engine/material.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "engine/world.h"
#include "games/golf/player.h"
#include "games/golf/projectgame.h"
#include "games/golf/rules.h"
#include "games/golf/wall.h"
#include "tests/support/gametest.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// The world's children from the oldest: camera, light, ball, hole, menu,
// level-completed screen, board, then the seven walls.
enum Oldest : u32 {
    kCameraNode,
    kLightNode,
    kBallNode,
    kHoleNode,
    kMenuNode,
    kEndNode,
    kBoardNode,
    kFirstWall
};

class GolfGame : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        input.gameMode = kGolfPlaying;
    }
    void TearDown() override {
        delete game;
        GameTest::TearDown();
    }

    void start() {
        game = new ProjectGame();
        world = game->getWorld();
    }
    Node* oldest(u32 i) const { return world->getChild(world->getChildCount() - 1 - i); }
    Transformable* node(u32 i) const { return static_cast<Transformable*>(oldest(i)); }
    void frames(u32 count) {
        for (u32 i = 0; i < count; i++) {
            ASSERT_TRUE(game->update(&input));
        }
    }
    void press(f32 x, f32 y) {
        input.pointerDown = 1;
        input.pointerX = x;
        input.pointerY = y;
        frames(1);
    }
    void release() {
        input.pointerDown = 0;
        frames(1);
    }

    ProjectGame* game = nullptr;
    World* world = nullptr;
    FrameInput input{};
};

void expectAt(const Transformable* node, f32 x, f32 y, f32 z) {
    const vec3 at = node->getTranslation();
    EXPECT_FLOAT_EQ(at.x, x) << node->getName();
    EXPECT_FLOAT_EQ(at.y, y) << node->getName();
    EXPECT_FLOAT_EQ(at.z, z) << node->getName();
}

TEST_F(GolfGame, BuildsTheLevelFromItsTable) {
    start();
    ASSERT_EQ(world->getChildCount(), kFirstWall + kGolfWallCount);
    EXPECT_EQ(world->getActiveCamera(), oldest(kCameraNode));
    EXPECT_EQ(oldest(kBallNode)->getType(), static_cast<u32>(kNodeTriangleMesh));
    EXPECT_EQ(oldest(kHoleNode)->getType(), static_cast<u32>(kNodeTriangleMesh));
    expectAt(node(kHoleNode), kGolfHoleX, kGolfHoleY, -9);
    EXPECT_STREQ(oldest(kBoardNode)->getName(), "board");
    EXPECT_FLOAT_EQ(static_cast<Sprite*>(oldest(kBoardNode))->getSize().x, 60);
    Material* wallMaterial = SceneGraph::getMaterial("wallMaterial");
    ASSERT_NE(wallMaterial, nullptr);
    EXPECT_EQ(wallMaterial->getReferenceCount(), kGolfWallCount + 1);
    SceneGraph::dereferenceResource(wallMaterial);
    for (u32 i = 0; i < kGolfWallCount; i++) {
        const GolfWallSpec& spec = kGolfWalls[i];
        TriangleMesh* wall = static_cast<TriangleMesh*>(oldest(kFirstWall + i));
        EXPECT_STREQ(wall->getName(), "wallcopy");
        expectAt(wall, spec.x, spec.y, -6);
        EXPECT_FLOAT_EQ(wall->getScale().x, spec.width / 2);
        EXPECT_FLOAT_EQ(wall->getScale().y, spec.height / 2);
        EXPECT_FLOAT_EQ(wall->getScale().z, 5);
        EXPECT_EQ(wall->getMaterial(), wallMaterial);
        EXPECT_EQ(wall->getVertexArray()->getReferenceCount(), kGolfWallCount + 2)
            << "the template cube, the game and every wall hold the cube's vertices";
        EXPECT_EQ(static_cast<Node*>(wall->getLight(0)), oldest(kLightNode));
    }
}

TEST_F(GolfGame, NodesFollowTheBallThroughTheModes) {
    start();
    frames(1);
    expectAt(node(kBallNode), kGolfBallStartX, kGolfBallStartY, 0);
    expectAt(node(kCameraNode), kGolfBallStartX, kGolfBallStartY, 80);
    expectAt(node(kMenuNode), kGolfBallStartX + 27.2f, kGolfBallStartY + 22.7f, 68);
    EXPECT_FALSE(oldest(kEndNode)->isActive());

    press(0.5f, -0.25f);
    release();
    frames(30);
    EXPECT_EQ(input.shotCount, 1);
    const vec3 ball = node(kBallNode)->getTranslation();
    EXPECT_GT(ball.x, kGolfBallStartX);
    expectAt(node(kCameraNode), ball.x, ball.y, 80);

    press(0.95f, 0.95f);
    EXPECT_EQ(input.gameMode, kGolfMenu);
    expectAt(node(kMenuNode), ball.x, ball.y, 68);
    release();
    press(0, -0.5f);
    EXPECT_EQ(input.gameMode, kGolfPlaying);
    EXPECT_EQ(input.shotCount, 0);
    release();
    expectAt(node(kBallNode), kGolfBallStartX, kGolfBallStartY, 0);
}

TEST_F(GolfGame, SinkingShotShowsTheLevelCompletedScreen) {
    f32 x = 0;
    f32 y = 0;
    bool found = false;
    for (i32 i = -10; i <= 10 && !found; i++) {
        for (i32 j = -10; j <= 10 && !found; j++) {
            x = static_cast<f32>(i) * 0.1f;
            y = static_cast<f32>(j) * 0.1f;
            found = GolfShotSinks(x, y, 3000);
        }
    }
    ASSERT_TRUE(found);
    start();
    press(x, y);
    input.pointerDown = 0;
    for (u32 i = 0; i < 3000 && input.gameMode == kGolfPlaying; i++) {
        frames(1);
    }
    ASSERT_EQ(input.gameMode, kGolfCompleted);
    EXPECT_TRUE(oldest(kEndNode)->isActive());
    const vec3 ball = node(kBallNode)->getTranslation();
    expectAt(node(kEndNode), ball.x, ball.y, 68);
    press(0.3f, 0.3f);
    EXPECT_EQ(input.gameMode, kGolfPlaying);
    EXPECT_EQ(input.shotCount, 0);
    EXPECT_EQ(input.aiming, 0) << "the press that restarts is no aim";
    release();
    EXPECT_FALSE(oldest(kEndNode)->isActive());
    expectAt(node(kBallNode), kGolfBallStartX, kGolfBallStartY, 0);
}

// The measures every object takes of the ball: distances on the board, the
// ball's speed, and the side of a wall's centre line (a tie counts as
// beyond it).
TEST_F(GolfGame, BallAndWallMeasures) {
    EXPECT_FLOAT_EQ(Player::distance(1, 2, 4, 6), 5);
    EXPECT_FLOAT_EQ(Player::distance(-3, 0, -3, 0), 0);
    struct Row {
        f32 a, b, side;
    };
    for (const Row& row : {Row{2, 1, 1}, Row{1, 1, 1}, Row{-1, 1, -1}, Row{0, -0.0f, 1}}) {
        EXPECT_EQ(Wall::side(row.a, row.b), row.side) << row.a << ", " << row.b;
    }
    start();
    Player* ball = new Player(game, kGolfBallSize, 0, 0);
    EXPECT_EQ(ball->getSpeed(), 0);
    ball->getBall().vx = -3;
    ball->getBall().vy = 4;
    EXPECT_FLOAT_EQ(ball->getSpeed(), 5);
}

// A copy of the asset tree without the models: the ball and the hole have no
// mesh, and the game plays on without them.
TEST_F(GolfGame, RunsWithoutTheSphereModel) {
    enterTreeWithoutModels({"shaders", "textures", "fonts", "project"});
    LogOpen();
    start();
    LogClose();
    const std::string log = logText();
    EXPECT_NE(log.find("Couldn't open .pwn file"), std::string::npos) << log;
    EXPECT_EQ(world->getChildCount(), kFirstWall + kGolfWallCount - 2);
    frames(1);
    press(0.5f, -0.25f);
    release();
    frames(30);
    EXPECT_EQ(input.shotCount, 1);
    const vec3 camera = world->getActiveCamera()->getTranslation();
    EXPECT_GT(camera.x, kGolfBallStartX);
    world->drawAll(&input);
}

} // namespace
