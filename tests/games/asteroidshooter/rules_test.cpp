// The asteroid shooter's rules without a window: hits and contacts by
// squared distance, respawn ranges, the recycling of shots, the enemy shot,
// the switch to level 2 frame by frame and the camera's aspect.
#include "games/asteroidshooter/rules.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

const vec3 kShip(-10, -20, -50);
// Far from the ship: no contact.
const vec3 kTarget(10, 30, -200);

vec3 offset(vec3 at, f32 dx) {
    return vec3(at.x + dx, at.y, at.z);
}

struct HitCase {
    const char* name;
    bool levelTwo;
    f32 shotOffset; // along x from the point tested
    u32 hits;
};

class AsteroidHitTable : public testing::TestWithParam<HitCase> {};

// Level 1 tests the asteroid itself within 7 units; level 2 tests the
// enemy's shot within sqrt(170).
TEST_P(AsteroidHitTable, CountsAShotWithinTheThreshold) {
    const HitCase& c = GetParam();
    AsteroidStats stats = AsteroidStart(0);
    vec3 enemyShot(-20, 35, -180);
    const vec3* shot = nullptr;
    if (c.levelTwo) {
        stats.levelTwo = 1;
        stats.hits = kLevelOneGoal;
        stats.hitThreshold = kLevelTwoHitThreshold;
        shot = &enemyShot;
    }
    vec3 tested = c.levelTwo ? enemyShot : kTarget;
    vec3 shots[1] = {offset(tested, c.shotOffset)};
    i32 before = stats.hits;
    EXPECT_EQ(AsteroidTestTarget(stats, kShip, kTarget, shot, shots, 1), c.hits);
    EXPECT_EQ(stats.hits, before + static_cast<i32>(c.hits));
}

INSTANTIATE_TEST_SUITE_P(Distances, AsteroidHitTable,
                         testing::Values(HitCase{"LevelOneAtSeven", false, 7.0f, 1},
                                         HitCase{"LevelOneJustAbove", false, 7.01f, 0},
                                         HitCase{"LevelOneBehind", false, -6.9f, 1},
                                         HitCase{"LevelTwoAtThirteen", true, 13.0f, 1},
                                         HitCase{"LevelTwoJustAboveThreshold", true, 13.04f, 0}),
                         [](const testing::TestParamInfo<HitCase>& info) {
                             return std::string(info.param.name);
                         });

// The level-two row above places the shot on the enemy ship's shot; a shot
// at the enemy ship itself misses when its shot flies elsewhere.
TEST(AsteroidTargetHits, LevelTwoIgnoresTheShipItself) {
    AsteroidStats stats = AsteroidStart(0);
    stats.levelTwo = 1;
    stats.hitThreshold = kLevelTwoHitThreshold;
    vec3 enemyShot(25, 35, -400);
    vec3 shots[1] = {kTarget};
    EXPECT_EQ(AsteroidTestTarget(stats, kShip, kTarget, &enemyShot, shots, 1), 0u);
}

TEST(AsteroidTargetHits, EveryShotNearTheTargetCounts) {
    AsteroidStats stats = AsteroidStart(0);
    vec3 shots[4] = {kTarget, offset(kTarget, 3), offset(kTarget, 30), offset(kTarget, -6)};
    EXPECT_EQ(AsteroidTestTarget(stats, kShip, kTarget, nullptr, shots, 4), 3u);
    EXPECT_EQ(stats.hits, 3);
}

struct ContactCase {
    const char* name;
    bool levelTwo;
    f32 targetDistance;
    f32 enemyShotDistance; // from the ship along x; 0 means no enemy shot
    i32 hitsAfter;
};

class AsteroidContactTable : public testing::TestWithParam<ContactCase> {};

// A contact sets the counter back to 0 in level 1 and to 50 in level 2.
TEST_P(AsteroidContactTable, SetsTheCounterBack) {
    const ContactCase& c = GetParam();
    AsteroidStats stats = AsteroidStart(0);
    stats.hits = 57;
    stats.levelTwo = c.levelTwo ? 1 : 0;
    vec3 enemyShot = offset(kShip, c.enemyShotDistance);
    const vec3* shot = c.enemyShotDistance != 0 ? &enemyShot : nullptr;
    AsteroidTestTarget(stats, kShip, offset(kShip, c.targetDistance), shot, nullptr, 0);
    EXPECT_EQ(stats.hits, c.hitsAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Distances, AsteroidContactTable,
    testing::Values(ContactCase{"LevelOneJustInside", false, 9.9995f, 0, 0},
                    ContactCase{"LevelOneAtTen", false, 10.0f, 0, 57},
                    ContactCase{"LevelTwoTarget", true, 9.9995f, 30.0f, kLevelOneGoal},
                    ContactCase{"LevelTwoEnemyShot", true, 40.0f, -9.9995f, kLevelOneGoal},
                    ContactCase{"LevelTwoBothAtTen", true, 10.0f, 10.0f, 57}),
    [](const testing::TestParamInfo<ContactCase>& info) { return std::string(info.param.name); });

TEST(AsteroidContact, AtSquaredDistance99Point99ButNot100) {
    AsteroidStats stats = AsteroidStart(0);
    stats.hits = 5;
    // 99.99 and 100 exactly as squared distances.
    AsteroidTestTarget(stats, vec3(0, 0, 0), vec3(0, 0, 10), nullptr, nullptr, 0);
    EXPECT_EQ(stats.hits, 5);
    AsteroidTestTarget(stats, vec3(0, 0, 0), vec3(0, 6, 7.9993749f), nullptr, nullptr, 0);
    EXPECT_EQ(stats.hits, 0);
}

TEST(AsteroidContact, TheLastEnemyShotStaysInForce) {
    AsteroidStats stats = AsteroidStart(0);
    stats.levelTwo = 1;
    stats.hits = 60;
    vec3 nearShot = offset(kShip, 5);
    AsteroidTestTarget(stats, kShip, kTarget, &nearShot, nullptr, 0);
    EXPECT_FLOAT_EQ(stats.enemyShotDistance, 25);
    stats.hits = 60;
    // A target tested without a shot still meets the distance kept last.
    AsteroidTestTarget(stats, kShip, kTarget, nullptr, nullptr, 0);
    EXPECT_EQ(stats.hits, kLevelOneGoal);
}

TEST(AsteroidCounter, FiftiethHitEndsLevelOneAndStopsThatTarget) {
    AsteroidStats stats = AsteroidStart(0);
    stats.hits = 48;
    vec3 shots[3] = {kTarget, kTarget, kTarget};
    EXPECT_EQ(AsteroidTestTarget(stats, kShip, kTarget, nullptr, shots, 3), 2u);
    EXPECT_EQ(stats.hits, 50);
    EXPECT_EQ(stats.levelDone, 1);
    // The next target still counts its hits.
    EXPECT_EQ(AsteroidTestTarget(stats, kShip, kTarget, nullptr, shots, 1), 1u);
    EXPECT_EQ(stats.hits, 51);
}

TEST(AsteroidCounter, FiftiethHitInLevelTwoTriggersNothing) {
    AsteroidStats stats = AsteroidStart(0);
    stats.levelTwo = 1;
    stats.hits = 49;
    stats.hitThreshold = kLevelTwoHitThreshold;
    vec3 enemyShot = kTarget;
    vec3 shots[2] = {kTarget, kTarget};
    EXPECT_EQ(AsteroidTestTarget(stats, kShip, kTarget, &enemyShot, shots, 2), 2u);
    EXPECT_EQ(stats.hits, 51);
    EXPECT_EQ(stats.levelDone, 0);
}

TEST(AsteroidCounter, TextStaysWithinItsBuffer) {
    AsteroidStats stats = AsteroidStart(1);
    EXPECT_STREQ(stats.hitsText, "0 hits");
    EXPECT_EQ(stats.hitThreshold, kLevelOneHitThreshold);
    EXPECT_FLOAT_EQ(stats.enemyShotDistance, kInertEnemyShotDistance);
    EXPECT_EQ(stats.orientation, 1);
    stats.hits = -2147483647 - 1;
    AsteroidFormatHits(stats);
    EXPECT_STREQ(stats.hitsText, "-2147483648 hits");
    EXPECT_LT(std::strlen(stats.hitsText), sizeof stats.hitsText);
}

// The frames after the fiftieth hit: the pause picture shows (the hit pass
// turned it on), then one frame with the text only, then the switch with
// the level-2 threshold, then level 2 plays on.
TEST(AsteroidLevelSwitch, RunsOverTwoFrames) {
    AsteroidStats stats = AsteroidStart(0);
    EXPECT_EQ(AsteroidNextStep(stats), kAsteroidHitPass);
    stats.hits = 49;
    vec3 shots[1] = {kTarget};
    AsteroidTestTarget(stats, kShip, kTarget, nullptr, shots, 1);
    ASSERT_EQ(stats.levelDone, 1);

    EXPECT_EQ(AsteroidNextStep(stats), kAsteroidLoadingText);
    EXPECT_EQ(stats.hitThreshold, kLevelOneHitThreshold);
    EXPECT_EQ(stats.levelTwo, 0);

    EXPECT_EQ(AsteroidNextStep(stats), kAsteroidLevelSwitch);
    EXPECT_EQ(stats.hitThreshold, kLevelTwoHitThreshold);
    EXPECT_EQ(stats.levelDone, 0);
    EXPECT_EQ(stats.levelTwo, 1);
    EXPECT_EQ(stats.hits, 50) << "the switch keeps the counter";

    EXPECT_EQ(AsteroidNextStep(stats), kAsteroidHitPass);
    EXPECT_EQ(AsteroidNextStep(stats), kAsteroidHitPass);
}

// Draws from a fixed list, in order.
std::vector<i32> script;
size_t scriptAt = 0;
i32 scripted() {
    return script[scriptAt++ % script.size()];
}

TEST(AsteroidRespawn, AsteroidRangesFromFifteenBitDraws) {
    script = {0, 0, 0, 0, 0, 0, 0, 0};
    scriptAt = 0;
    AsteroidSpawn low = AsteroidRespawn(scripted);
    EXPECT_FLOAT_EQ(low.scale, 0);
    EXPECT_FLOAT_EQ(low.speed, 0.25f);
    EXPECT_FLOAT_EQ(low.position.x, -30);
    EXPECT_FLOAT_EQ(low.position.y, -40);
    EXPECT_FLOAT_EQ(low.position.z, -100);
    EXPECT_FLOAT_EQ(low.spinAxis.x, 0);

    // Scale, speed, x, y, z, then the spin axis.
    script = {1, 2, 59, 79, 999, 32767, 16384, 1};
    scriptAt = 0;
    AsteroidSpawn high = AsteroidRespawn(scripted);
    EXPECT_FLOAT_EQ(high.scale, 1 / 5.5f);
    EXPECT_FLOAT_EQ(high.speed, 0.35f);
    EXPECT_FLOAT_EQ(high.position.x, 29);
    EXPECT_FLOAT_EQ(high.position.y, 39);
    EXPECT_FLOAT_EQ(high.position.z, -1099);
    EXPECT_FLOAT_EQ(high.spinAxis.x, 32767 / 16384.5f) << "just below 2";
    EXPECT_NEAR(high.spinAxis.y, 1.0f, 0.001f);
    EXPECT_EQ(scriptAt, 8u);
}

TEST(AsteroidRespawn, EnemyShipDrawsOnlyItsPlace) {
    script = {1, 30, 40, 500};
    scriptAt = 0;
    AsteroidSpawn ship = EnemyShipRespawn(scripted);
    EXPECT_FLOAT_EQ(ship.scale, 0.5f);
    EXPECT_FLOAT_EQ(ship.speed, 0.3f);
    EXPECT_FLOAT_EQ(ship.position.x, 0);
    EXPECT_FLOAT_EQ(ship.position.y, 0);
    EXPECT_FLOAT_EQ(ship.position.z, -600);
    EXPECT_EQ(scriptAt, 4u);
}

TEST(AsteroidRespawn, RandomDrawsStayWithinFifteenBits) {
    for (int i = 0; i < 1000; i++) {
        i32 value = AsteroidRandom();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
    }
}

TEST(AsteroidRespawn, TargetPassesJustBeyondMinusTen) {
    EXPECT_FALSE(AsteroidPassed(-10.0f));
    EXPECT_TRUE(AsteroidPassed(-9.99f));
    EXPECT_FALSE(AsteroidPassed(-1099.0f));
    EXPECT_TRUE(AsteroidPassed(10.0f)) << "a hit target behind the camera";
}

TEST(AsteroidRespawn, EnemyShotStartsAgainPastTheCamera) {
    EXPECT_FALSE(EnemyShotPassed(-300.0f, 100.0f));
    EXPECT_TRUE(EnemyShotPassed(-299.0f, 100.0f));
    EXPECT_FALSE(EnemyShotPassed(0.0f, 0.0f)) << "strictly beyond";
}

TEST(AsteroidShots, RecycledPastMinusThreeHundred) {
    EXPECT_FALSE(ShotSpent(-300.0f));
    EXPECT_TRUE(ShotSpent(-300.5f));
    EXPECT_TRUE(ShotSpent(-50.0f));
    EXPECT_FALSE(ShotSpent(-50.01f)) << "a recycled shot is not recycled again at once";
    EXPECT_FALSE(ShotSpent(175.0f - 5.5f));
    vec3 restart = ShotRestart(-10, -20);
    EXPECT_FLOAT_EQ(restart.x, 0);
    EXPECT_FLOAT_EQ(restart.y, -25);
    EXPECT_FLOAT_EQ(restart.z, -50.01f);
    EXPECT_FALSE(ShotSpent(restart.z));
    EXPECT_FLOAT_EQ(ShotWaitingZ(-50, 0), -50);
    EXPECT_FLOAT_EQ(ShotWaitingZ(-50, 9), 175);
}

// A shot recycled at -50.01 flies 46 frames before it is spent again.
TEST(AsteroidShots, StreamCycleLength) {
    f32 z = ShotRestart(0, 0).z;
    u32 frames = 0;
    do {
        z += kShotStep;
        frames++;
    } while (!ShotSpent(z));
    EXPECT_EQ(frames, 46u);
}

TEST(AsteroidOrientation, AspectFollowsTheOrientationInUse) {
    EXPECT_FLOAT_EQ(AsteroidAspect(0), 0.6666667f);
    EXPECT_FLOAT_EQ(AsteroidAspect(1), 1.5f);
    AsteroidStats stats = AsteroidStart(0);
    EXPECT_FALSE(AsteroidOrientationChanged(stats, 0));
    EXPECT_TRUE(AsteroidOrientationChanged(stats, 1));
    EXPECT_EQ(stats.orientation, 1);
    EXPECT_FALSE(AsteroidOrientationChanged(stats, 1));
    EXPECT_TRUE(AsteroidOrientationChanged(stats, 0));
}

} // namespace
