// The ogre shooter's rules without a window: the screens and their keys, the
// wave table at its bounds, wave and fire timing, score and meter arithmetic,
// steering, the four movement types, collisions and the star fields.
#include "games/ogreblast/rules.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

FrameInput keys(i32 a, i32 space, i32 enter) {
    FrameInput input{};
    input.keyA = a;
    input.keySpace = space;
    input.keyReturn = enter;
    return input;
}

TEST(OgreRules, ScreensMoveOnlyOnTheirOwnKey) {
    struct Case {
        u32 state;
        FrameInput input;
        u32 next;
    };
    const Case cases[] = {
        {kOgreProlog, keys(0, 0, 0), kOgreProlog},
        {kOgreProlog, keys(0, 1, 0), kOgreProlog},
        {kOgreProlog, keys(1, 0, 0), kOgreProlog},
        {kOgreProlog, keys(0, 0, 1), kOgreWelcome},
        {kOgreWelcome, keys(0, 0, 1), kOgreWelcome},
        {kOgreWelcome, keys(1, 0, 0), kOgreWelcome},
        {kOgreWelcome, keys(0, 1, 0), kOgrePlaying},
        {kOgreKillScreen, keys(0, 1, 0), kOgreKillScreen},
        {kOgreKillScreen, keys(0, 0, 1), kOgrePlaying},
        {kOgrePlaying, keys(1, 1, 1), kOgrePlaying},
        {7, keys(1, 1, 1), 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OgreNextState(c.state, c.input), c.next)
            << "state " << c.state << " keys " << c.input.keyA << c.input.keySpace
            << c.input.keyReturn;
    }
}

TEST(OgreRules, WaveTableAtItsBounds) {
    struct Case {
        u32 score;
        u32 count;
        f32 spacing;
        f32 speed;
        u32 movement;
    };
    const Case cases[] = {
        {0, 5, 100, 100, kOgreStraight},
        {29999, 5, 100, 100, kOgreStraight},
        {30000, 7, 75, 120, kOgreStraight},
        {999999, 7, 75, 120, kOgreStraight},
        {1000000, 7, 75, 120, kOgreWavy},
        {2999999, 7, 75, 120, kOgreWavy},
        {3000000, 10, 50, 100, kOgreZigZag},
        {9000000, 10, 50, 100, kOgreHoming},
        {17999999, 10, 50, 100, kOgreHoming},
        {18000000, 15, 35, 75, kOgreMixedMovement},
        {0xffffffffu, 15, 35, 75, kOgreMixedMovement},
    };
    for (const Case& c : cases) {
        const OgreWave& wave = OgreWaveFor(c.score);
        EXPECT_EQ(wave.count, c.count) << c.score;
        EXPECT_EQ(wave.spacing, c.spacing) << c.score;
        EXPECT_EQ(wave.speed, c.speed) << c.score;
        EXPECT_EQ(wave.movement, c.movement) << c.score;
    }
}

TEST(OgreRules, MixedWavesCycleThroughTheFourMovements) {
    const OgreWave& mixed = OgreWaveFor(18000000);
    const u32 expected[] = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2};
    for (u32 i = 0; i < mixed.count; i++) {
        EXPECT_EQ(OgreWaveMovement(mixed, i), expected[i]) << i;
    }
    EXPECT_EQ(OgreWaveMovement(OgreWaveFor(9000000), 3), static_cast<u32>(kOgreHoming));
}

TEST(OgreRules, WavesAndShotsWaitStrictlyLongerThanTheirInterval) {
    EXPECT_FALSE(OgreWaveDue(105.0f, 100.0f));
    EXPECT_TRUE(OgreWaveDue(105.01f, 100.0f));
    // The first playing frame: the record's time is the counter's, far past 0.
    EXPECT_TRUE(OgreWaveDue(100.0f, 0.0f));

    FrameInput held = keys(0, 1, 0);
    held.time = 0.1f;
    EXPECT_FALSE(OgreFireDue(held, 0.01f));
    EXPECT_FALSE(OgreFireDue(held, 0.0f)) << "exactly 0.1 s waits";
    EXPECT_TRUE(OgreFireDue(held, -0.001f));
    FrameInput a = keys(1, 0, 0);
    a.time = 10.25f;
    EXPECT_TRUE(OgreFireDue(a, 10.0f));
    FrameInput enter = keys(0, 0, 1);
    enter.time = 10.25f;
    EXPECT_FALSE(OgreFireDue(enter, 10.0f)) << "Return does not fire";
}

TEST(OgreRules, RandomValuesStayInTheirRangeForAWideGenerator) {
    EXPECT_EQ(OgreUnitRandom(0), 0.0f);
    EXPECT_EQ(OgreUnitRandom(32767), 1.0f);
    EXPECT_LE(OgreUnitRandom(RAND_MAX), 1.0f);
    EXPECT_LE(OgreUnitRandom(2147483647), 1.0f);
    EXPECT_GE(OgreUnitRandom(0x7fff0000), 0.0f);
    EXPECT_EQ(OgreWaveY(0), -100.0f);
    EXPECT_EQ(OgreWaveY(32767), 100.0f);
    for (int i = 0; i < 1000; i++) {
        f32 y = OgreWaveY(std::rand());
        EXPECT_GE(y, -100.0f);
        EXPECT_LE(y, 100.0f);
    }
}

TEST(OgreRules, FrameScoreTruncatesSixHundredASecond) {
    struct Case {
        f32 deltaTime;
        u32 points;
    };
    const Case cases[] = {{0.0016f, 0}, {0.02f, 12}, {0.0f, 0}, {1.0f, 600}, {-0.5f, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(OgreFrameScore(c.deltaTime), c.points) << c.deltaTime;
    }
}

TEST(OgreRules, HitsScoreOnlyWithAFullMeter) {
    // A hit below a full meter gives nothing and raises the meter.
    f32 value = OgreMeterAdd(0.5f, kOgreHitMeter);
    EXPECT_FLOAT_EQ(value, 0.525f);
    EXPECT_EQ(OgreHitScore(value), 0u);
    EXPECT_EQ(OgreHitScore(OgreMeterAdd(0.975f, kOgreHitMeter)), 94378u);
    // Further hits in the same pass keep giving the same points.
    EXPECT_EQ(OgreHitScore(OgreMeterAdd(1.0f, kOgreHitMeter)), 94378u);
    EXPECT_EQ(OgreHitScore(0.999f), 0u);
}

TEST(OgreRules, MeterDrainsAndStaysWithinItsBounds) {
    struct Case {
        f32 value, amount, result;
    };
    const Case adds[] = {
        {0.5f, kOgreEscapeMeter, 0.455f},
        {0.02f, kOgreEscapeMeter, 0.0f},
        {0.99f, kOgreHitMeter, 1.0f},
        {1.0f, kOgreHitMeter, 1.0f},
    };
    for (const Case& c : adds) {
        EXPECT_FLOAT_EQ(OgreMeterAdd(c.value, c.amount), c.result) << c.value << " " << c.amount;
    }
    EXPECT_FLOAT_EQ(OgreMeterDrain(0.5f, 1.0f), 0.4f);
    EXPECT_EQ(OgreMeterDrain(0.01f, 1.0f), 0.0f);

    // Many ogres escaping in one frame: the meter stops at 0, so a hit after
    // them scores nothing instead of wrapping the score below zero.
    f32 value = 0;
    for (int i = 0; i < 40; i++) {
        value = OgreMeterAdd(value, kOgreEscapeMeter);
    }
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(OgreHitScore(OgreMeterAdd(value, kOgreHitMeter)), 0u);
}

// The view-projection of the game's camera: 0.785 rad, aspect 1.5, 10..1000,
// standing at z = 400 and looking down the negative z axis.
mat4 gameViewProjection() {
    f32 f = 1.0f / std::tan(0.785f / 2);
    f32 a = -(1000.0f + 10.0f) / (1000.0f - 10.0f);
    f32 b = -2.0f * 1000.0f * 10.0f / (1000.0f - 10.0f);
    mat4 projection;
    projection.set(f / 1.5f, 0, 0, 0, 0, f, 0, 0, 0, 0, a, b, 0, 0, -1, 0);
    mat4 view;
    view.set(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, -400, 0, 0, 0, 1);
    mat4 out;
    return projection.multiply(out, view);
}

TEST(OgreRules, PointerTargetsTheShipPlaneAtTheScreenEdges) {
    const mat4 vp = gameViewProjection();
    // The plane z = 0 seen from 400 units: half height 400 tan(0.3925).
    const f32 halfHeight = 400.0f * std::tan(0.785f / 2);
    vec3 centre = OgrePointerReach(OgrePointerTarget(vp, 0, 0));
    EXPECT_NEAR(centre.x, 0, 1e-3);
    EXPECT_NEAR(centre.y, 0, 1e-3);
    vec3 corner = OgrePointerReach(OgrePointerTarget(vp, 1, -1));
    EXPECT_NEAR(corner.x, halfHeight * 1.5f, 0.05f);
    EXPECT_NEAR(corner.y, -halfHeight, 0.05f);
    EXPECT_NEAR(corner.z, 0, 1e-3);
}

TEST(OgreRules, SteeringStepsTowardNearAndFarTargets) {
    struct Case {
        f32 distance;
        f32 step;
    };
    const Case cases[] = {{0, 0}, {5, 5}, {8, 8}, {40, 8}, {50, 8}, {100, 16}, {400, 64}};
    const vec3 from(10, -20, 0);
    for (const Case& c : cases) {
        // Along a diagonal, so both components take part.
        vec3 target = from + vec3(0.6f, 0.8f, 0) * c.distance;
        vec3 step = OgreSteer(from, target);
        EXPECT_NEAR(step.length(), c.step, 1e-3) << c.distance;
        if (c.distance > 0) {
            EXPECT_NEAR(step.x / step.length(), 0.6f, 1e-4);
            EXPECT_NEAR(step.y / step.length(), 0.8f, 1e-4);
        }
    }
}

TEST(OgreRules, EachMovementTypeMovesLeftItsOwnWay) {
    const f32 dt = 0.5f;
    const f32 speed = 100.0f;
    const vec3 player(-100, 40, 0);
    struct Case {
        const char* what;
        u32 movement;
        vec3 from;
        vec3 to;
    };
    const Case cases[] = {
        {"straight", kOgreStraight, vec3(200, 30, 0), vec3(150, 30, 0)},
        {"wavy", kOgreWavy, vec3(200, 30, 0),
         vec3(150, 60 * std::sin(2.0f) + 60 * std::sin(3.0f), 0)},
        {"homing far", kOgreHoming, vec3(200, 30, 0), vec3(150, 30, 0)},
        {"homing near", kOgreHoming, vec3(50, 30, 0), vec3(0, 30.1f, 0)},
        {"zig-zag up at 50", kOgreZigZag, vec3(50, 0, 0), vec3(0, 1, 0)},
        {"zig-zag down at 51", kOgreZigZag, vec3(51, 0, 0), vec3(1, -1, 0)},
        {"zig-zag up below 0", kOgreZigZag, vec3(-10, 0, 0), vec3(-60, 1, 0)},
        {"unknown", 9, vec3(200, 30, 0), vec3(200, 30, 0)},
    };
    for (const Case& c : cases) {
        vec3 to = OgreMove(c.movement, c.from, player, speed, dt, 3.0f);
        EXPECT_NEAR(to.x, c.to.x, 1e-3) << c.what;
        EXPECT_NEAR(to.y, c.to.y, 1e-3) << c.what;
        EXPECT_NEAR(to.z, c.to.z, 1e-3) << c.what;
    }
}

TEST(OgreRules, OgresEscapePastTheLeftEdge) {
    EXPECT_FALSE(OgreEscaped(vec3(-250, 0, 0)));
    EXPECT_TRUE(OgreEscaped(vec3(-250.5f, 0, 0)));
}

TEST(OgreRules, CollisionsIncludeTouchingAndNeverNaN) {
    EXPECT_TRUE(OgreCollide(vec3(0, 0, 0), 16, vec3(19, 0, 0), 3));
    EXPECT_FALSE(OgreCollide(vec3(0, 0, 0), 16, vec3(19.01f, 0, 0), 3));
    EXPECT_TRUE(OgreCollide(vec3(3, 4, 0), 3, vec3(0, 0, 0), 2));
    // An exploding ogre stands far away and touches nothing.
    EXPECT_FALSE(OgreCollide(vec3(-1000000, 1000000, 1000000), 16, vec3(0, 0, 0), 15));
    EXPECT_FALSE(OgreCollide(vec3(std::nanf(""), 0, 0), 16, vec3(0, 0, 0), 15));
}

TEST(OgreRules, StarFieldsSpeedUpWithTheMeterAndWrap) {
    EXPECT_FLOAT_EQ(OgreBackgroundStep(-100, 0, 0.1f), -10.0f);
    EXPECT_FLOAT_EQ(OgreBackgroundStep(-100, 0.5f, 0.1f), -35.0f);
    // 0.85 exactly gives no boost; 0.9 adds -exp(0.81) / e, five times.
    EXPECT_FLOAT_EQ(OgreBackgroundStep(-100, 0.85f, 0.1f), -52.5f);
    EXPECT_NEAR(OgreBackgroundStep(-100, 0.9f, 0.1f), -55.0f - 5 * std::exp(0.81f) / std::exp(1.0f),
                1e-4);
    EXPECT_EQ(OgreBackgroundWrap(-1000.0f), 0.0f);
    EXPECT_EQ(OgreBackgroundWrap(-1000.5f), 2000.0f);
}

} // namespace
