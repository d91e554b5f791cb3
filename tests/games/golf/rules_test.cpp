// The golf rules without a window: rolling and friction, the shot cycle,
// walls, the hole, the corner button, the menu and the level-completed
// screen, and whole shots played through the game's frame order.
#include "games/golf/rules.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

const f32 kRadius = kGolfBallRadiusPerSize * kGolfBallSize;
const f32 kCapture = kGolfCaptureRadiusPerSize * kGolfHoleSize;

FrameInput playing() {
    FrameInput input{};
    input.gameMode = kGolfPlaying;
    return input;
}

GolfBall ballAt(f32 x, f32 y, f32 vx = 0, f32 vy = 0) {
    return {x, y, vx, vy, kRadius};
}

// The game's objects in their update order, drawn from the same rules: the
// corner button, the ball, the hole, the menu, the level-completed screen
// and the walls.
struct Game {
    FrameInput input = playing();
    GolfBall ball = ballAt(kGolfBallStartX, kGolfBallStartY);

    void restartBall() { ball = ballAt(kGolfBallStartX, kGolfBallStartY); }
    void frame() {
        GolfCornerButton(&input);
        if (GolfShotStep(&input, ball)) {
            GolfMove(ball);
        }
        GolfHoleStep(&input, kGolfHoleX, kGolfHoleY, kCapture, ball);
        if (input.gameMode == kGolfMenu && GolfMenuStep(&input) == kGolfMenuRestart) {
            restartBall();
        }
        if (input.gameMode == kGolfCompleted && GolfEndStep(&input)) {
            restartBall();
        }
        for (const GolfWallSpec& wall : kGolfWalls) {
            GolfBounce(GolfWallOf(wall), ball);
        }
    }
    void press(f32 x, f32 y, u32 frames = 1) {
        input.pointerDown = 1;
        input.pointerX = x;
        input.pointerY = y;
        for (u32 i = 0; i < frames; i++) {
            frame();
        }
    }
    void release(u32 frames = 1) {
        input.pointerDown = 0;
        for (u32 i = 0; i < frames; i++) {
            frame();
        }
    }
};

TEST(GolfRoll, BallFromSpeedOneStopsExactlyOnItsThreeHundredAndSecondFrame) {
    GolfBall ball = ballAt(0, 0, 1, 0);
    for (u32 frame = 1; frame <= 301; frame++) {
        GolfMove(ball);
        ASSERT_GE(GolfSpeed(ball), 0.05f) << "frame " << frame;
    }
    const f32 x = ball.x;
    GolfMove(ball);
    EXPECT_EQ(ball.vx, 0.0f);
    EXPECT_EQ(ball.vy, 0.0f);
    EXPECT_EQ(ball.x, x);
    GolfMove(ball);
    EXPECT_EQ(ball.x, x);
}

TEST(GolfRoll, FrictionDividesBothComponentsBeforeTheBallMoves) {
    GolfBall ball = ballAt(1, 2, 3, -4);
    GolfMove(ball);
    EXPECT_FLOAT_EQ(ball.vx, 3 / 1.01f);
    EXPECT_FLOAT_EQ(ball.vy, -4 / 1.01f);
    EXPECT_FLOAT_EQ(ball.x, 1 + 3 / 1.01f);
    EXPECT_FLOAT_EQ(ball.y, 2 - 4 / 1.01f);
    EXPECT_FLOAT_EQ(GolfSpeed(ball), 5 / 1.01f);
}

TEST(GolfShot, ReleaseShootsFourTimesThePointerAndCountsTheShot) {
    FrameInput input = playing();
    input.aiming = 1;
    input.pointerX = 0.5f;
    input.pointerY = -0.25f;
    input.shotCount = 3;
    GolfBall ball = ballAt(0, 0);
    EXPECT_TRUE(GolfShotStep(&input, ball));
    EXPECT_EQ(ball.vx, 2.0f);
    EXPECT_EQ(ball.vy, -1.0f);
    EXPECT_EQ(input.aiming, 0);
    EXPECT_EQ(input.shotCount, 4);
}

struct ShotCase {
    const char* what;
    i32 pointerDown, pressConsumed, aiming;
    f32 vx;
    bool moves;
    i32 aimingAfter;
    i32 shotsAfter;
};

TEST(GolfShot, PressAndReleaseCycle) {
    const ShotCase cases[] = {
        {"press at rest aims and holds the ball", 1, 0, 0, 0, false, 1, 0},
        {"holding keeps aiming", 1, 0, 1, 0, false, 1, 0},
        {"press while rolling does not aim", 1, 0, 0, 1, true, 0, 0},
        {"consumed press rolls on", 1, 1, 0, 1, true, 0, 0},
        {"consumed press at rest does not aim", 1, 1, 0, 0, true, 0, 0},
        {"pointer up rolls on", 0, 0, 0, 1, true, 0, 0},
        {"release shoots", 0, 0, 1, 0, true, 0, 1},
    };
    for (const ShotCase& c : cases) {
        FrameInput input = playing();
        input.pointerDown = c.pointerDown;
        input.pressConsumed = c.pressConsumed;
        input.aiming = c.aiming;
        input.pointerX = 0.5f;
        GolfBall ball = ballAt(0, 0, c.vx, 0);
        EXPECT_EQ(GolfShotStep(&input, ball), c.moves) << c.what;
        EXPECT_EQ(input.aiming, c.aimingAfter) << c.what;
        EXPECT_EQ(input.shotCount, c.shotsAfter) << c.what;
    }
}

TEST(GolfShot, NothingHappensOutsidePlay) {
    for (i32 mode : {kGolfMenu, kGolfCompleted}) {
        FrameInput input = playing();
        input.gameMode = mode;
        input.aiming = 1;
        input.pointerX = 1;
        GolfBall ball = ballAt(0, 0);
        EXPECT_FALSE(GolfShotStep(&input, ball));
        EXPECT_EQ(input.aiming, 1);
        EXPECT_EQ(ball.vx, 0.0f);
        EXPECT_EQ(input.shotCount, 0);
    }
}

TEST(GolfHole, CapturesASlowBallWithinItsRadius) {
    struct Case {
        f32 offset, speed;
        bool captured;
    } cases[] = {
        {0, 0.49f, true},      {0, 0.5f, false},  {0, 0, true},          {4.79f, 0, true},
        {-4.79f, 0.49f, true}, {4.81f, 0, false}, {-4.81f, 0.1f, false},
    };
    for (const Case& c : cases) {
        GolfBall ball = ballAt(kGolfHoleX + c.offset, kGolfHoleY, 0, c.speed);
        EXPECT_EQ(GolfCaptures(kGolfHoleX, kGolfHoleY, kCapture, ball), c.captured)
            << "offset " << c.offset << " speed " << c.speed;
        FrameInput input = playing();
        GolfHoleStep(&input, kGolfHoleX, kGolfHoleY, kCapture, ball);
        EXPECT_EQ(input.gameMode, c.captured ? kGolfCompleted : kGolfPlaying);
    }
}

TEST(GolfHole, CapturesOnlyWhilePlaying) {
    FrameInput input = playing();
    input.gameMode = kGolfMenu;
    GolfHoleStep(&input, kGolfHoleX, kGolfHoleY, kCapture, ballAt(kGolfHoleX, kGolfHoleY));
    EXPECT_EQ(input.gameMode, kGolfMenu);
}

// A ball of radius 4 against a wall from -5 to 5 on both axes.
TEST(GolfWalls, FacesAndCorners) {
    const GolfWall wall = {0, 0, 5, 5};
    struct Case {
        const char* what;
        f32 x, y, vx, vy;
        f32 vxAfter, vyAfter;
    } cases[] = {
        {"bottom face turns only vy", 0, -8, 0.3f, 1, 0.3f, -1},
        {"top face", 2, 8, -0.5f, -2, -0.5f, 2},
        {"leaving through a face keeps going", 0, 8, 0, 1, 0, 1},
        {"left face turns only vx", -8, 1, 1, 0.5f, -1, 0.5f},
        {"right face", 8, -4.9f, -2, 0, 2, 0},
        {"touching the bounding square is no hit", -9, 0, 1, 0, 1, 0},
        {"corner at (1, 1)", -7, -7, 1, 1, -1, -1},
        {"corner at (2, 0.5) swaps the speeds", -7, -7, 2, 0.5f, -0.5f, -2},
        {"top-right corner", 7, 7, -1, -0.5f, 0.5f, 1},
        {"corner just out of reach", -8, -8, 1, 1, 1, 1},
        {"bottom-right corner", 7, -7, -1, 1, 1, -1},
    };
    for (const Case& c : cases) {
        GolfBall ball = {c.x, c.y, c.vx, c.vy, 4};
        GolfBounce(wall, ball);
        EXPECT_EQ(ball.vx, c.vxAfter) << c.what;
        EXPECT_EQ(ball.vy, c.vyAfter) << c.what;
        EXPECT_EQ(ball.x, c.x) << c.what;
        EXPECT_EQ(ball.y, c.y) << c.what;
    }
}

TEST(GolfWalls, LevelTableHalvesItsSizes) {
    ASSERT_EQ(kGolfWallCount, 7u);
    const GolfWall first = GolfWallOf(kGolfWalls[0]);
    EXPECT_EQ(first.x, 0.0f);
    EXPECT_EQ(first.y, 30.0f);
    EXPECT_EQ(first.halfWidth, 50.0f);
    EXPECT_EQ(first.halfHeight, 5.0f);
    const GolfWall last = GolfWallOf(kGolfWalls[6]);
    EXPECT_EQ(last.x, 25.0f);
    EXPECT_EQ(last.halfHeight, 4.0f);
}

TEST(GolfCornerButton, OpensTheMenuOnlyInsideItsStrictBounds) {
    struct Case {
        f32 x, y;
        i32 down, consumed, mode;
        i32 modeAfter, consumedAfter;
    } cases[] = {
        {0.95f, 0.95f, 1, 0, kGolfPlaying, kGolfMenu, 1},
        {0.9f, 0.95f, 1, 0, kGolfPlaying, kGolfPlaying, 0},
        {0.95f, 0.9f, 1, 0, kGolfPlaying, kGolfPlaying, 0},
        {0.95f, 0.95f, 1, 1, kGolfPlaying, kGolfPlaying, 1},
        {0.95f, 0.95f, 0, 0, kGolfPlaying, kGolfPlaying, 0},
        {0.95f, 0.95f, 1, 0, kGolfCompleted, kGolfCompleted, 0},
        {0.95f, 0.95f, 0, 1, kGolfMenu, kGolfMenu, 0},
    };
    for (const Case& c : cases) {
        FrameInput input = playing();
        input.pointerX = c.x;
        input.pointerY = c.y;
        input.pointerDown = c.down;
        input.pressConsumed = c.consumed;
        input.gameMode = c.mode;
        GolfCornerButton(&input);
        EXPECT_EQ(input.gameMode, c.modeAfter) << c.x << ", " << c.y;
        EXPECT_EQ(input.pressConsumed, c.consumedAfter) << c.x << ", " << c.y;
    }
}

TEST(GolfMenu, ContinueAndRestartBoxes) {
    struct Case {
        f32 x, y;
        GolfMenuChoice choice;
    } cases[] = {
        {0, 0.35f, kGolfMenuContinue},
        {-0.74f, 0.59f, kGolfMenuContinue},
        {0.74f, 0.11f, kGolfMenuContinue},
        {0, -0.5f, kGolfMenuRestart},
        {0.7f, -0.69f, kGolfMenuRestart},
        {-0.7f, -0.26f, kGolfMenuRestart},
        {0.75f, 0.35f, kGolfMenuNone},
        {-0.75f, -0.5f, kGolfMenuNone},
        {0, 0.6f, kGolfMenuNone},
        {0, 0.1f, kGolfMenuNone},
        {0, -0.25f, kGolfMenuNone},
        {0, -0.7f, kGolfMenuNone},
        {0, 0, kGolfMenuNone},
        {0.95f, 0.95f, kGolfMenuNone},
    };
    for (const Case& c : cases) {
        FrameInput input = playing();
        input.gameMode = kGolfMenu;
        input.pointerDown = 1;
        input.pointerX = c.x;
        input.pointerY = c.y;
        input.shotCount = 5;
        EXPECT_EQ(GolfMenuStep(&input), c.choice) << c.x << ", " << c.y;
        const bool acted = c.choice != kGolfMenuNone;
        EXPECT_EQ(input.gameMode, acted ? kGolfPlaying : kGolfMenu);
        EXPECT_EQ(input.pressConsumed, acted ? 1 : 0);
        EXPECT_EQ(input.shotCount, c.choice == kGolfMenuRestart ? 0 : 5);
    }
}

TEST(GolfMenu, ActsOnlyOnAFreshPressInTheMenu) {
    FrameInput input = playing();
    input.pointerX = 0;
    input.pointerY = 0.35f;
    input.pointerDown = 1;
    EXPECT_EQ(GolfMenuStep(&input), kGolfMenuNone);
    input.gameMode = kGolfMenu;
    input.pressConsumed = 1;
    EXPECT_EQ(GolfMenuStep(&input), kGolfMenuNone);
    input.pressConsumed = 0;
    input.pointerDown = 0;
    EXPECT_EQ(GolfMenuStep(&input), kGolfMenuNone);
    EXPECT_EQ(input.gameMode, kGolfMenu);
}

TEST(GolfEnd, AnyFreshPressRestarts) {
    FrameInput input = playing();
    input.gameMode = kGolfCompleted;
    input.shotCount = 4;
    input.pointerX = -0.9f;
    input.pointerY = 0.9f;
    EXPECT_FALSE(GolfEndStep(&input));
    input.pointerDown = 1;
    input.pressConsumed = 1;
    EXPECT_FALSE(GolfEndStep(&input));
    input.pressConsumed = 0;
    EXPECT_TRUE(GolfEndStep(&input));
    EXPECT_EQ(input.gameMode, kGolfPlaying);
    EXPECT_EQ(input.pressConsumed, 1);
    EXPECT_EQ(input.shotCount, 0);
}

TEST(GolfFrames, CornerPressOpensTheMenuAndIsNoShot) {
    Game game;
    game.press(0.95f, 0.95f, 5);
    EXPECT_EQ(game.input.gameMode, kGolfMenu);
    EXPECT_EQ(game.input.aiming, 0);
    game.release(2);
    EXPECT_EQ(game.input.shotCount, 0);
    EXPECT_EQ(game.ball.vx, 0.0f);
}

TEST(GolfFrames, PressHeldFromTheMenuIntoPlayDoesNotAim) {
    Game game;
    game.press(0.95f, 0.95f);
    game.release();
    game.press(0, 0.35f, 10);
    EXPECT_EQ(game.input.gameMode, kGolfPlaying);
    EXPECT_EQ(game.input.aiming, 0);
    game.release();
    EXPECT_EQ(game.input.shotCount, 0);
    EXPECT_EQ(game.ball.vx, 0.0f);
    EXPECT_EQ(game.ball.x, kGolfBallStartX);
    game.press(0.5f, 0);
    EXPECT_EQ(game.input.aiming, 1);
    game.release();
    EXPECT_EQ(game.input.shotCount, 1);
    EXPECT_GT(game.ball.vx, 0.0f);
}

TEST(GolfFrames, AimDraggedOntoTheMenuButtonIsDropped) {
    Game game;
    game.press(0.2f, 0.2f);
    EXPECT_EQ(game.input.aiming, 1);
    game.press(0.95f, 0.95f);
    EXPECT_EQ(game.input.gameMode, kGolfMenu);
    game.release();
    game.press(0, -0.5f);
    game.release(3);
    EXPECT_EQ(game.input.gameMode, kGolfPlaying);
    EXPECT_EQ(game.input.shotCount, 0);
    EXPECT_EQ(game.ball.vx, 0.0f);
    EXPECT_EQ(game.ball.x, kGolfBallStartX);
}

TEST(GolfFrames, RestartFromTheMenuPutsTheBallBack) {
    Game game;
    game.press(0.6f, -0.1f);
    game.release(20);
    ASSERT_EQ(game.input.shotCount, 1);
    game.press(0.95f, 0.95f);
    game.release();
    game.press(0, 0.35f);
    game.release();
    EXPECT_EQ(game.input.shotCount, 1);
    EXPECT_NE(game.ball.x, kGolfBallStartX);
    game.press(0.95f, 0.95f);
    game.release();
    game.press(0, -0.5f);
    EXPECT_EQ(game.input.shotCount, 0);
    EXPECT_EQ(game.ball.x, kGolfBallStartX);
    EXPECT_EQ(game.ball.y, kGolfBallStartY);
    EXPECT_EQ(GolfSpeed(game.ball), 0.0f);
}

// The strongest shots in every direction: the ball's centre never passes
// the inner faces of the outer walls, however it bounces.
TEST(GolfFrames, OuterWallsKeepEveryShotOnTheBoard) {
    for (i32 step = 0; step < 36; step++) {
        const f32 angle = static_cast<f32>(step) * 0.1745329f;
        Game game;
        game.press(std::cos(angle), std::sin(angle));
        game.release();
        for (u32 frame = 0; frame < 800 && game.input.gameMode == kGolfPlaying; frame++) {
            game.frame();
            ASSERT_LT(std::fabs(game.ball.x), 50.0f) << "step " << step;
            ASSERT_LT(std::fabs(game.ball.y), 25.0f) << "step " << step;
        }
    }
}

TEST(GolfShotSinks, FindsASinkingReleaseAndRejectsOthers) {
    bool found = false;
    for (i32 i = -20; i <= 20 && !found; i++) {
        for (i32 j = -20; j <= 20 && !found; j++) {
            const f32 x = static_cast<f32>(i) * 0.05f;
            const f32 y = static_cast<f32>(j) * 0.05f;
            if (!GolfShotSinks(x, y, 3000)) {
                continue;
            }
            found = true;
            Game game;
            game.press(x, y);
            game.release();
            for (u32 frame = 0; frame < 3000 && game.input.gameMode == kGolfPlaying; frame++) {
                game.frame();
            }
            EXPECT_EQ(game.input.gameMode, kGolfCompleted) << x << ", " << y;
        }
    }
    EXPECT_TRUE(found);
    EXPECT_FALSE(GolfShotSinks(0.05f, 0, 3000));
    EXPECT_FALSE(GolfShotSinks(0, 0, 3000));
    EXPECT_FALSE(GolfShotSinks(0.95f, 0.95f, 3000));
}

} // namespace
