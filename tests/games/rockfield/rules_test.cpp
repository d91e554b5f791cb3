// The fly-through's decisions as tables, without a window.
#include "games/rockfield/rules.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace {

struct LevelCase {
    i32 level;
    f32 ahead;
    i32 raised;
};

TEST(RockfieldRules, LevelOfDetailRisesAsAsteroidsApproach) {
    const LevelCase cases[] = {
        {2, 1000, 2}, {2, 700, 2},    {2, 699.9f, 3}, {2, 400, 3},
        {3, 400, 3},  {3, 399.9f, 4}, {2, 399.9f, 4}, // a jump past both distances: one raise, to 4
        {4, 10, 4},   {4, -30, 4},    {3, 650, 3},    {4, 650, 4}, // never down
    };
    for (const LevelCase& c : cases) {
        EXPECT_EQ(RaisedLevel(c.level, c.ahead), c.raised) << c.level << " at " << c.ahead;
    }
}

TEST(RockfieldRules, AsteroidsLeaveOnceTheirSizeBehindTheCamera) {
    EXPECT_FALSE(HasPassed(5, 16));
    EXPECT_FALSE(HasPassed(-16, 16));
    EXPECT_TRUE(HasPassed(-16.5f, 16));
    EXPECT_FALSE(HasPassed(-63, 64));
}

struct SpawnCase {
    f32 sinceLast; // seconds after the last spawn's frame
    bool due;
};

TEST(RockfieldRules, OneSpawnPerIntervalAtMostOnePerFrame) {
    const SpawnCase cases[] = {
        {0.05f, false}, {0.1f, false}, {0.11f, true}, {0.2f, true}, {3, true}};
    for (const SpawnCase& c : cases) {
        f32 next = 0;
        ASSERT_TRUE(SpawnDue(&next, 100)) << "the first frame spawns";
        EXPECT_FLOAT_EQ(next, 100.1f);
        EXPECT_EQ(SpawnDue(&next, 100 + c.sinceLast), c.due) << c.sinceLast;
        EXPECT_FLOAT_EQ(next, c.due ? 100 + c.sinceLast + kSpawnInterval : 100.1f);
    }
}

TEST(RockfieldRules, RandomRangeUsesFifteenBits) {
    std::srand(7);
    f32 low = 1, high = 0;
    for (i32 i = 0; i < 20000; i++) {
        f32 v = RandomRange(-1, 1);
        ASSERT_GE(v, -1);
        ASSERT_LE(v, 1);
        low = std::min(low, v);
        high = std::max(high, v);
    }
    EXPECT_LT(low, -0.99f);
    EXPECT_GT(high, 0.99f);
    EXPECT_EQ(RandomRange(4, 4), 4);
}

TEST(RockfieldRules, UniqueNamesCountFromOneAcrossStems) {
    char first[32], second[32];
    UniqueName("asteroid", first, sizeof first);
    UniqueName("va", second, sizeof second);
    i32 a = std::atoi(first), b = std::atoi(second);
    EXPECT_EQ(b, a + 1);
    EXPECT_STREQ(std::strchr(first, '_'), "_asteroid");
    EXPECT_STREQ(std::strchr(second, '_'), "_va");
}

} // namespace
