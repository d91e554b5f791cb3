// The planet run's rules as tables, without a window: contact, damage and
// immunity, the ship's shrinking, health and growing, the health line, the
// start banner, the end test, the power-up spheres, the refills and the
// draws that place new objects.
#include "games/planetrun/rules.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct OverlapCase {
    vec3 a;
    f32 radiusA;
    vec3 b;
    f32 radiusB;
    bool touches;
};

TEST(PlanetRules, OverlapCountsTheSumOfTheRadiiAsContact) {
    const OverlapCase cases[] = {
        {{0, 0, 0}, 1, {3, 0, 0}, 2, true},      // exactly the sum
        {{0, 0, 0}, 1, {3.01f, 0, 0}, 2, false}, // just beyond
        {{0, 0, 0}, 1, {0, 0, -2.5f}, 2, true},  // along z
        {{1, 2, 2}, 0, {1, 2, 2}, 0, true},      // two points at one place
        {{0, 0, 0}, 3, {0, 4, 0}, 1, true},      // 4 apart, radii 3 + 1
        {{0, -20, -30}, 10, {0, -20, -45}, 4, false},
    };
    for (const OverlapCase& c : cases) {
        EXPECT_EQ(PlanetOverlap(c.a, c.radiusA, c.b, c.radiusB), c.touches)
            << c.b.x << ", " << c.b.y << ", " << c.b.z;
        EXPECT_EQ(PlanetOverlap(c.b, c.radiusB, c.a, c.radiusA), c.touches) << "symmetric";
    }
}

// Contacts on the listed frames of a run, the frame's countdown after each
// frame as the game does: the damage taken in the end.
struct ContactCase {
    std::vector<i32> contactFrames;
    i32 damage;
};

TEST(PlanetRules, ImmunityLastsFiftyFramesAfterTheLastContact) {
    const ContactCase cases[] = {
        {{0}, 20},
        {{0, 30}, 20},          // the second inside the immunity
        {{0, 49}, 20},          // the last immune frame
        {{0, 50}, 40},          // just past it
        {{0, 60}, 40},          // 60 frames apart cost twice
        {{0, 40, 80}, 20},      // each contact renews the immunity
        {{0, 40, 80, 131}, 40}, // 51 frames after the last contact
    };
    for (const ContactCase& c : cases) {
        PlanetState state;
        PlanetShip ship = PlanetShipAt(vec3(0, 0, 0), vec3(1, 1, 1));
        size_t next = 0;
        for (i32 frame = 0; frame <= c.contactFrames.back(); frame++) {
            if (c.contactFrames[next] == frame) {
                PlanetAddDamage(ship, PlanetAsteroidContact(state));
                next++;
            }
            PlanetCountDown(state);
        }
        EXPECT_EQ(ship.damage, c.damage) << "contacts up to frame " << c.contactFrames.back();
    }
}

struct HealthCase {
    u32 frames;
    i32 damage;
    i32 health;
};

TEST(PlanetRules, HealthFollowsTheShrinkingShipLessItsDamage) {
    const HealthCase cases[] = {
        {0, 0, 100},   {1, 0, 99},   {100, 0, 95},  {1820, 0, 40},
        {100, 20, 75}, {100, 95, 0}, {100, 120, 0}, // never below 0
    };
    for (const HealthCase& c : cases) {
        PlanetShip ship = PlanetShipAt(vec3(0, -20, -30), vec3(2, 2, 2));
        FrameInput input{};
        for (u32 i = 0; i < c.frames; i++) {
            PlanetShipStep(ship, input);
        }
        ship.damage = c.damage;
        EXPECT_EQ(PlanetHealth(ship), c.health) << c.frames << " frames, damage " << c.damage;
        EXPECT_FLOAT_EQ(ship.position.z, -30 - 0.5f * static_cast<f32>(c.frames));
    }
}

TEST(PlanetRules, ShipShrinksAndFollowsAHeldPointer) {
    PlanetShip ship = PlanetShipAt(vec3(0, -20, -30), vec3(1, 1, 1));
    FrameInput input{};
    input.pointerX = -1;
    input.pointerY = 0.5f;
    PlanetShipStep(ship, input);
    EXPECT_FLOAT_EQ(ship.position.x, 0) << "a pointer that is up moves nothing";
    input.pointerDown = 1;
    for (int i = 0; i < 99; i++) {
        PlanetShipStep(ship, input);
    }
    EXPECT_FLOAT_EQ(ship.position.x, -99);
    EXPECT_FLOAT_EQ(ship.position.y, -20 + 49.5f);
    EXPECT_FLOAT_EQ(ship.position.z, -80);
    EXPECT_NEAR(ship.scale.x, 0.95121f, 1e-4f);
    EXPECT_FLOAT_EQ(ship.scale.y, ship.scale.x);
    EXPECT_EQ(ship.sizePercent, 95);
    EXPECT_NEAR(PlanetShipRadius(ship), 9.5121f, 1e-3f);
}

TEST(PlanetRules, ZeroInitialScaleGivesNoSizeAndNoRadius) {
    PlanetShip ship = PlanetShipAt(vec3(0, 0, 0), vec3(0, 0, 0));
    PlanetShipStep(ship, FrameInput{});
    EXPECT_EQ(ship.sizePercent, 0);
    EXPECT_EQ(PlanetShipRadius(ship), 0);
    EXPECT_EQ(PlanetHealth(ship), 0);
}

TEST(PlanetRules, HealthLinePrintsTwoDigitsAtLeast) {
    const std::pair<i32, const char*> cases[] = {
        {100, "~c9999Health:~c2929 100%"},
        {40, "~c9999Health:~c2929 40%"},
        {5, "~c9999Health:~c2929 05%"},
        {0, "~c9999Health:~c2929 00%"},
    };
    for (const auto& c : cases) {
        char line[64];
        PlanetHealthText(c.first, line, sizeof line);
        EXPECT_STREQ(line, c.second);
    }
}

// The ship's size percent when it takes a green sphere, and after.
struct GrowCase {
    f32 ratio;
    f32 grownRatio;
};

TEST(PlanetRules, GreenSphereDoublesTheShipUpToTwiceItsStartAndClearsDamage) {
    const GrowCase cases[] = {
        {0.6f, 1.2f}, {0.3f, 0.6f},  {1.0f, 2.0f}, // not larger than at start: doubled
        {1.5f, 2.0f}, {1.01f, 2.0f}, {2.0f, 2.0f}, // larger: twice the start
    };
    for (const GrowCase& c : cases) {
        PlanetShip ship = PlanetShipAt(vec3(0, 0, 0), vec3(4, 4, 4));
        ship.scale = ship.initialScale * c.ratio;
        ship.damage = 60;
        PlanetShipGrow(ship);
        EXPECT_FLOAT_EQ(PlanetShipRatio(ship), c.grownRatio) << "taken at " << c.ratio;
        EXPECT_FLOAT_EQ(ship.scale.z, 4 * c.grownRatio);
        EXPECT_EQ(ship.damage, 0);
        PlanetShipStep(ship, FrameInput{});
        EXPECT_EQ(PlanetHealth(ship), static_cast<i32>(c.grownRatio * kPlanetShrink * 100));
    }
}

struct EndCase {
    f32 shipZ;
    i32 health;
    PlanetOutcome outcome;
};

TEST(PlanetRules, ReachingTheWormholeWinsBeforeHealthLoses) {
    const EndCase cases[] = {
        {-939.5f, 50, kPlanetPlaying}, {-940, 50, kPlanetWon}, {-941, 1, kPlanetWon},
        {-940, 0, kPlanetWon}, // won is tested first
        {-939.5f, 0, kPlanetLost},     {-30, 0, kPlanetLost},  {-30, 1, kPlanetPlaying},
    };
    for (const EndCase& c : cases) {
        EXPECT_EQ(PlanetEndTest(c.shipZ, -950, c.health), c.outcome)
            << "ship at " << c.shipZ << ", health " << c.health;
    }
}

TEST(PlanetRules, StartBannerShowsOnceAndHoldsSixtyOneFrames) {
    PlanetState state;
    PlanetBanner banner = kPlanetBannerNone;
    std::string actions;
    u32 bannerFrames = 0;
    for (int frame = 0; frame < 100; frame++) {
        if (!PlanetStartBannerStep(state, &banner)) {
            break;
        }
        bannerFrames++;
        actions += banner == kPlanetBannerStart ? 'S' : '.';
    }
    EXPECT_EQ(bannerFrames, 61u);
    EXPECT_EQ(actions, "S" + std::string(60, '.'));
    EXPECT_EQ(state.bannerFrames, -1);
    EXPECT_FALSE(PlanetStartBannerStep(state, &banner));
    EXPECT_EQ(banner, kPlanetBannerNone);
}

// Each kind's effect on the state, and how long it lasts in frames.
struct SphereCase {
    i32 kind;
    bool shrunk;
    bool shrinkChanged;
    bool growArmed;
    i32 asteroidsOff;
};

TEST(PlanetRules, EachSphereKindHasItsEffect) {
    const SphereCase cases[] = {
        {kPlanetSphereWhite, true, true, false, 0},
        {kPlanetSphereGreen, false, false, true, 0},
        {kPlanetSphereBlue, false, false, false, 200},
        {0, false, false, false, 0},
    };
    for (const SphereCase& c : cases) {
        PlanetState state;
        PlanetSphereTaken(state, c.kind);
        EXPECT_EQ(state.shrunk, c.shrunk) << c.kind;
        EXPECT_EQ(state.shrinkChanged, c.shrinkChanged) << c.kind;
        EXPECT_EQ(state.growArmed, c.growArmed) << c.kind;
        EXPECT_EQ(state.asteroidsOff, c.asteroidsOff) << c.kind;
    }
}

TEST(PlanetRules, WhiteSpheresToggleTheSmallFastAsteroids) {
    PlanetState state;
    PlanetSphereTaken(state, kPlanetSphereWhite);
    PlanetShrinkFactors in = PlanetShrinkAdjustment(state.shrunk);
    EXPECT_FLOAT_EQ(in.velocityZ, 4);
    EXPECT_FLOAT_EQ(in.scale, 0.25f);
    state.shrinkChanged = false;
    PlanetSphereTaken(state, kPlanetSphereWhite);
    EXPECT_FALSE(state.shrunk);
    EXPECT_TRUE(state.shrinkChanged);
    PlanetShrinkFactors out = PlanetShrinkAdjustment(state.shrunk);
    EXPECT_FLOAT_EQ(in.velocityZ * out.velocityZ, 1) << "a second white sphere restores them";
    EXPECT_FLOAT_EQ(in.scale * out.scale, 1);
}

TEST(PlanetRules, BlueSphereHidesTheAsteroidsForTwoHundredFrames) {
    PlanetState state;
    PlanetSphereTaken(state, kPlanetSphereBlue);
    u32 hidden = 0;
    for (int frame = 0; frame < 300; frame++) {
        hidden += PlanetAsteroidsVisible(state) ? 0 : 1;
        PlanetCountDown(state);
    }
    EXPECT_EQ(hidden, 200u);
    EXPECT_EQ(state.asteroidsOff, 0) << "never below 0";
}

TEST(PlanetRules, RefillsKeepTwentyAsteroidsAndAtLeastTwoSpheres) {
    const std::pair<u32, u32> asteroids[] = {{0, 20}, {19, 1}, {20, 0}, {25, 0}};
    for (const auto& c : asteroids) {
        EXPECT_EQ(PlanetAsteroidsToSpawn(c.first), c.second) << c.first << " live";
        EXPECT_EQ(c.first + PlanetAsteroidsToSpawn(c.first), c.first < 20 ? 20 : c.first);
    }
    const std::pair<u32, u32> spheres[] = {{0, 2}, {1, 1}, {2, 0}, {3, 0}};
    for (const auto& c : spheres) {
        EXPECT_EQ(PlanetSpheresToSpawn(c.first), c.second) << c.first << " live";
    }
}

TEST(PlanetRules, ObjectsLeaveOnceTheCameraHasPassedThem) {
    EXPECT_FALSE(PlanetPassed(30, 30));
    EXPECT_TRUE(PlanetPassed(29.5f, 30));
    EXPECT_FALSE(PlanetPassed(30, -960));
}

// A generator that returns the listed values in turn.
const f32* feed = nullptr;
f32 fed() {
    return *feed++;
}

TEST(PlanetRules, SpawnsPlaceAndMoveNewObjectsFromTheirDraws) {
    const f32 lows[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
    const f32 highs[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    const f32 mixed[9] = {0.5f, 0.999f, 0.25f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f};

    feed = lows;
    PlanetSpawn a = PlanetAsteroidSpawn(fed);
    EXPECT_EQ(feed, lows + 9) << "nine draws";
    EXPECT_FLOAT_EQ(a.scale, 0);
    EXPECT_FLOAT_EQ(a.position.x, -100);
    EXPECT_FLOAT_EQ(a.position.z, -960);
    EXPECT_FLOAT_EQ(a.velocity.x, -0.25f);
    EXPECT_FLOAT_EQ(a.velocity.z, 1);
    feed = highs;
    a = PlanetAsteroidSpawn(fed);
    EXPECT_FLOAT_EQ(a.position.y, 100);
    EXPECT_FLOAT_EQ(a.velocity.y, 0.25f);
    EXPECT_FLOAT_EQ(a.velocity.z, 3);
    EXPECT_FLOAT_EQ(a.spin.z, 0.01f);

    feed = mixed;
    PlanetSpawn s = PlanetSphereSpawn(fed);
    EXPECT_EQ(feed, mixed + 7) << "seven draws";
    EXPECT_FLOAT_EQ(s.scale, 1);
    EXPECT_FLOAT_EQ(s.position.x, 39);  // floor(74.925) - 35
    EXPECT_FLOAT_EQ(s.position.y, -17); // floor(18.75) - 35
    EXPECT_FLOAT_EQ(s.velocity.x, 0);
    EXPECT_FLOAT_EQ(s.velocity.z, 2);

    feed = mixed;
    PlanetSpawn star = PlanetStarSpawn(fed);
    EXPECT_EQ(feed, mixed + 8) << "no draw for the scale";
    EXPECT_FLOAT_EQ(star.scale, 7);
    EXPECT_FLOAT_EQ(star.position.x, 0);
    EXPECT_FLOAT_EQ(star.position.y, 898); // floor(1798.2) - 900
}

TEST(PlanetRules, DrawsUseFifteenBitsAndTheSeedNeverOverflows) {
    std::srand(7);
    for (int i = 0; i < 1000; i++) {
        const f32 r = PlanetRandom();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 1);
    }
    EXPECT_EQ(PlanetSeed(0x7fffffffu, 0x7fffffffull), 0xfffffffeu);
    EXPECT_EQ(PlanetSeed(0xffffffffu, 2), 1u) << "wraps as unsigned";
    const std::pair<u32, i32> kinds[] = {{0, 100}, {1, 200}, {2, 300}, {0x7fffffffu, 200}};
    for (const auto& c : kinds) {
        EXPECT_EQ(PlanetSphereKindOf(c.first), c.second) << c.first;
    }
    EXPECT_EQ(PlanetSignOf(4), 1);
    EXPECT_EQ(PlanetSignOf(0x7fffffffu), -1);
}

} // namespace
