// The tower-defence rules without a window: waves and their spawns, money
// and lives, the enemies' walk, each tower kind's hits, ranges, splash and
// slowing, the menu's buttons and states, placing a tower and dragging the
// camera.
#include "games/towerdefence/rules.h"

#include "games/towerdefence/waypoint.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// The host's clock does not start at 0.
const f32 kStart = 1000.0f;

// A random source that gives back the same value: 5 puts no jitter on a way
// point, 3 none on a spawn, 50 makes a spawn gap of 1.3 seconds.
i32 randomValue = 5;
i32 fixedRandom() {
    return randomValue;
}

// The path of the way-point table and a pool of enemies on it.
struct Field {
    std::vector<std::unique_ptr<WayPoint>> points;
    TdEnemy enemies[kTdEnemyCount];
    TdEnemy* pool[kTdEnemyCount];

    Field() {
        for (const TdPoint& p : kTdWayPoints) {
            points.push_back(std::make_unique<WayPoint>(p.x, p.y));
        }
        for (size_t i = 0; i + 1 < points.size(); i++) {
            points[i]->setNext(points[i + 1].get());
        }
        for (u32 i = 0; i < kTdEnemyCount; i++) {
            enemies[i].firstWayPoint = points[0].get();
            pool[i] = &enemies[i];
        }
        randomValue = 5;
    }
    // An active enemy standing at (x, y) with the given hit points.
    TdEnemy& place(u32 i, f32 x, f32 y, f32 hitPoints = 100) {
        TdSpawn(enemies[i], hitPoints, 0, 3, 3);
        enemies[i].x = x;
        enemies[i].y = y;
        return enemies[i];
    }
    bool anyActive() const {
        for (const TdEnemy& e : enemies) {
            if (e.active) {
                return true;
            }
        }
        return false;
    }
    // A spawn as the game makes it: the enemy's two draws, then the gap's.
    // Returns the enemy spawned, or -1.
    i32 spawn(TdPlay& play, f32 now) {
        i32 next = TdSpawnStep(play, pool, kTdEnemyCount, now);
        if (next >= 0) {
            const i32 r1 = fixedRandom();
            const i32 r2 = fixedRandom();
            TdSpawn(enemies[next], TdSpawnHitPoints(play.level), TdSpawnSpeed(play.level), r1, r2);
            TdSpawned(play, now, fixedRandom());
        }
        return next;
    }
    // The game's frame order over the rules: enemies, lives, spawns, wave
    // end. Returns the enemy spawned, or -1.
    i32 frame(TdPlay& play, f32 now) {
        for (TdEnemy& e : enemies) {
            TdWalk walk = TdEnemyStep(e, now, fixedRandom);
            if (walk == TdWalk::Killed) {
                TdRewardKill(play);
            } else if (walk == TdWalk::Finished) {
                TdEnemyReachedEnd(play);
            }
        }
        TdLivesCheck(play, now);
        i32 spawned = spawn(play, now);
        TdWaveEndStep(play, anyActive(), now);
        return spawned;
    }
};

TEST(TowerDefenceMap, TablesHoldTheFieldsPointsInOrder) {
    EXPECT_EQ(kTdBuildSpots[0].x, 0);
    EXPECT_EQ(kTdBuildSpots[19].y, 190);
    EXPECT_EQ(kTdBuildSpots[20].x, 90);
    EXPECT_EQ(kTdBuildSpots[48].x, 15);
    EXPECT_EQ(kTdBuildSpots[48].y, 25);
    EXPECT_EQ(kTdBuildSpots[80].x, 65);
    EXPECT_EQ(kTdBuildSpots[80].y, 115);
    EXPECT_EQ(kTdBuildSpots[102].x, 90);
    EXPECT_EQ(kTdBuildSpots[102].y, 200);
    EXPECT_FLOAT_EQ(kTdWayPoints[0].y, 192.5f);
    EXPECT_FLOAT_EQ(kTdWayPoints[13].x, 17.5f);
}

// ---- Waves, money and lives ----

TEST(TowerDefenceMoney, GrowsByFivePercentInSinglePrecisionAtEachLevel) {
    struct Row {
        i32 money, grown;
    };
    // The product is formed in single precision too: 1000 x 1.0499999523
    // rounds to 1050 before the truncation.
    for (const Row& row : {Row{50, 52}, Row{52, 54}, Row{100, 104}, Row{1000, 1050}, Row{0, 0},
                           Row{20, 21}, Row{19, 19}}) {
        EXPECT_EQ(TdGrowMoney(row.money), row.grown) << row.money;
    }
}

TEST(TowerDefenceWaves, FirstFrameSpawnsAtLevelOneWithMoneyGrown) {
    Field field;
    TdPlay play;
    EXPECT_EQ(field.frame(play, kStart), 0);
    EXPECT_EQ(play.level, 1);
    EXPECT_EQ(play.money, 52);
    EXPECT_EQ(play.spawned, 1);
    EXPECT_TRUE(field.enemies[0].active);
    EXPECT_FLOAT_EQ(field.enemies[0].hitPoints, 100);
    EXPECT_FLOAT_EQ(field.enemies[0].maxHitPoints, 100);
    EXPECT_FLOAT_EQ(field.enemies[0].speed, 0.1f);
    // The gap from a draw of 5: 0.85 seconds.
    EXPECT_FLOAT_EQ(play.nextSpawnTime, kStart + 0.85f);
}

TEST(TowerDefenceWaves, SpawnsOnlyOnceTheTimeIsStrictlyPast) {
    Field field;
    TdPlay play;
    play.nextSpawnTime = kStart;
    EXPECT_EQ(field.frame(play, kStart), -1);
    EXPECT_EQ(play.level, 0);
    EXPECT_EQ(field.frame(play, kStart + 0.001f), 0);
}

TEST(TowerDefenceWaves, GapsRunFromPointEightToOnePointSevenNine) {
    Field field;
    struct Row {
        i32 random;
        f32 gap;
    };
    for (const Row& row : {Row{0, 0.8f}, Row{99, 1.79f}, Row{100, 0.8f}, Row{32767, 1.47f}}) {
        TdPlay play;
        randomValue = row.random;
        field.spawn(play, 10.0f);
        EXPECT_NEAR(play.nextSpawnTime - 10.0f, row.gap, 1e-5f) << row.random;
        field.enemies[0].active = false;
    }
}

// Ten enemies a wave one by one, none while any walks; ten seconds after the
// last leaves the next wave starts one level up with more money and tougher,
// faster enemies.
TEST(TowerDefenceWaves, TenEnemiesThenAPauseThenTheNextLevel) {
    Field field;
    TdPlay play;
    f32 now = kStart;
    std::vector<f32> spawnTimes;
    for (; now < kStart + 60 && spawnTimes.size() < 11; now += 0.01f) {
        if (field.frame(play, now) >= 0) {
            spawnTimes.push_back(now);
        }
    }
    ASSERT_EQ(spawnTimes.size(), 10u);
    for (size_t i = 1; i < spawnTimes.size(); i++) {
        EXPECT_NEAR(spawnTimes[i] - spawnTimes[i - 1], 0.85f, 0.02f);
    }
    EXPECT_EQ(play.spawned, 10);
    EXPECT_FALSE(play.levelUpPending);

    // Every enemy dies: each earns level x 5.
    for (TdEnemy& e : field.enemies) {
        e.hitPoints = -1;
    }
    const f32 lastFrame = now;
    field.frame(play, lastFrame);
    EXPECT_EQ(play.money, 52 + 10 * 5);
    EXPECT_FALSE(field.anyActive());
    EXPECT_TRUE(play.levelUpPending);
    EXPECT_EQ(play.spawned, 0);
    EXPECT_FLOAT_EQ(play.nextSpawnTime, lastFrame + 10);

    EXPECT_EQ(field.frame(play, lastFrame + 9.99f), -1);
    EXPECT_EQ(field.frame(play, lastFrame + 10.01f), 0);
    EXPECT_EQ(play.level, 2);
    EXPECT_EQ(play.money, TdGrowMoney(102));
    EXPECT_FLOAT_EQ(field.enemies[0].maxHitPoints, 200);
    EXPECT_FLOAT_EQ(field.enemies[0].speed, 0.2f);
}

TEST(TowerDefenceWaves, SpawnWithNoFreeEnemySkips) {
    Field field;
    TdPlay play;
    for (u32 i = 0; i < kTdEnemyCount; i++) {
        field.place(i, 50, 50);
    }
    EXPECT_EQ(TdSpawnStep(play, field.pool, kTdEnemyCount, kStart), -1);
    EXPECT_EQ(play.spawned, 0);
    EXPECT_EQ(play.level, 0);
}

TEST(TowerDefenceLives, GameEndsAtZeroLivesAndStopsTheSpawns) {
    TdPlay play;
    play.lives = 1;
    EXPECT_FALSE(TdLivesCheck(play, kStart));
    TdEnemyReachedEnd(play);
    EXPECT_TRUE(TdLivesCheck(play, kStart));
    EXPECT_TRUE(play.gameOver);
    EXPECT_FLOAT_EQ(play.nextSpawnTime, kStart + 999);
    EXPECT_FALSE(TdLivesCheck(play, kStart + 1)) << "ends once";
}

// ---- Enemies ----

TEST(TowerDefenceEnemy, SpawnsJitteredAtTheFirstWayPointFacingTheSecond) {
    Field field;
    TdEnemy& e = field.enemies[0];
    e.speedFactor = 0.2f;
    TdSpawn(e, 300, 0.3f, 0, 5);
    EXPECT_TRUE(e.active);
    EXPECT_FLOAT_EQ(e.x, 17.5f - 3);
    EXPECT_FLOAT_EQ(e.y, 192.5f + 2);
    EXPECT_FLOAT_EQ(e.targetX, 82.5f);
    EXPECT_FLOAT_EQ(e.targetY, 192.5f);
    EXPECT_FLOAT_EQ(e.speedFactor, 0.2f) << "the speed factor is kept";
}

// The whole path: the enemy reaches the end, leaves the pool and costs one
// life.
TEST(TowerDefenceEnemy, ReachingTheLastWayPointCostsOneLife) {
    Field field;
    TdPlay play;
    TdEnemy& e = field.enemies[0];
    TdSpawn(e, 100, 1.0f, 3, 3);
    TdWalk walk = TdWalk::Walked;
    u32 frames = 0;
    for (; frames < 10000 && walk == TdWalk::Walked; frames++) {
        walk = TdEnemyStep(e, kStart, fixedRandom);
    }
    EXPECT_EQ(walk, TdWalk::Finished);
    // The path is 65 + 25 + 65 + 25 + 65 + 75 + 30 + 50 + 35 + 75 + 65 + 25
    // + 65 = 655 units long.
    EXPECT_NEAR(static_cast<f32>(frames), 655, 15);
    EXPECT_FALSE(e.active);
    EXPECT_FLOAT_EQ(e.x, -50);
    EXPECT_FLOAT_EQ(e.y, -50);
    EXPECT_EQ(e.wayPoint, nullptr);
    TdEnemyReachedEnd(play);
    EXPECT_EQ(play.lives, 9);
}

TEST(TowerDefenceEnemy, KilledOnItsLastStepLeavesWithoutReachingTheEnd) {
    Field field;
    TdEnemy& e = field.place(0, 17.6f, 17.5f, 100);
    e.speed = 1;
    e.wayPoint = field.points[13].get();
    e.targetX = 17.5f;
    e.targetY = 17.5f;
    e.hitPoints = -0.5f;
    EXPECT_EQ(TdEnemyStep(e, kStart, fixedRandom), TdWalk::Killed);
    EXPECT_FALSE(e.active);
    EXPECT_EQ(e.wayPoint, field.points[13].get());
}

TEST(TowerDefenceEnemy, ZeroHitPointsStillWalks) {
    Field field;
    TdEnemy& e = field.place(0, 20, 192.5f, 0);
    e.speed = 0.5f;
    EXPECT_EQ(TdEnemyStep(e, kStart, fixedRandom), TdWalk::Walked);
    EXPECT_TRUE(e.active);
    EXPECT_FLOAT_EQ(e.x, 20.5f);
}

TEST(TowerDefenceEnemy, StandingOnItsTargetItDoesNotMove) {
    Field field;
    TdEnemy& e = field.place(0, 82.5f, 192.5f, 100);
    e.speed = 0;
    EXPECT_EQ(TdEnemyStep(e, kStart, fixedRandom), TdWalk::Walked);
    EXPECT_FLOAT_EQ(e.x, 82.5f);
    EXPECT_FLOAT_EQ(e.y, 192.5f);
    e.speed = 0.1f;
    EXPECT_EQ(TdEnemyStep(e, kStart, fixedRandom), TdWalk::Walked);
    EXPECT_FALSE(std::isnan(e.x));
    // It turned to way point 3 but stays put on the frame it does.
    EXPECT_FLOAT_EQ(e.targetX, 82.5f);
    EXPECT_FLOAT_EQ(e.targetY, 167.5f);
    EXPECT_FLOAT_EQ(e.y, 192.5f);
}

TEST(TowerDefenceEnemy, WayPointTurnsWithJitterAndStillStepsTowardTheOldOne) {
    Field field;
    TdEnemy& e = field.place(0, 82.4f, 192.5f, 100);
    e.speed = 0.1f;
    randomValue = 13; // 13 mod 10 - 5 = -2
    TdEnemyStep(e, kStart, fixedRandom);
    EXPECT_FLOAT_EQ(e.targetX, 80.5f);
    EXPECT_FLOAT_EQ(e.targetY, 165.5f);
    EXPECT_FLOAT_EQ(e.x, 82.5f);
}

TEST(TowerDefenceEnemy, SlowingLastsUntilItsEndTimeIsPast) {
    Field field;
    TdEnemy& e = field.place(0, 20, 192.5f, 100);
    e.speed = 1;
    TdSlow(e, 0.2f, kStart + 1);
    TdEnemyStep(e, kStart + 1, fixedRandom);
    EXPECT_FLOAT_EQ(e.x, 20.2f);
    EXPECT_FLOAT_EQ(e.speedFactor, 0.2f);
    TdEnemyStep(e, kStart + 1.01f, fixedRandom);
    EXPECT_FLOAT_EQ(e.speedFactor, 1);
    EXPECT_FLOAT_EQ(e.slowUntil, 0);
    EXPECT_FLOAT_EQ(e.x, 21.2f);
}

TEST(TowerDefenceEnemy, BarFollowsTheHitPoints) {
    Field field;
    TdEnemy& e = field.place(0, 20, 20, 200);
    TdDamage(e, 50);
    EXPECT_FLOAT_EQ(e.barWidth, 3.75f);
    TdDamage(e, 250);
    EXPECT_FLOAT_EQ(e.barWidth, -2.5f) << "below zero until its next update";
    TdDeactivate(e);
    EXPECT_FLOAT_EQ(e.barWidth, 5);
    TdEnemy never;
    TdDamage(never, 10);
    EXPECT_FLOAT_EQ(never.barWidth, 5) << "an enemy never spawned has no maximum to divide by";
}

// ---- Towers ----

TdTower towerOfKind(i32 kind, f32 x = 0, f32 y = 0) {
    const TdTowerKind& row = TdTowerKindOf(kind);
    return TdMakeTower(x, y, row.shotStep, row.damage, kind);
}

TEST(TowerDefenceTowers, KindsHaveTheirRangesAndPrices) {
    struct Row {
        i32 kind, cost;
        f32 range;
    };
    for (const Row& row :
         {Row{1, 50, 25}, Row{2, 100, 40}, Row{3, 300, 40}, Row{4, 500, 50}, Row{7, 0, 25}}) {
        EXPECT_EQ(TdTowerKindOf(row.kind).cost, row.cost) << row.kind;
        EXPECT_FLOAT_EQ(towerOfKind(row.kind).range, row.range) << row.kind;
    }
}

// A lone enemy standing in range of a tower at spot (0, 0): hits until it
// dies, and the frames between two hits.
TEST(TowerDefenceTowers, HitsToKillPerKindAndLevel) {
    struct Row {
        i32 kind, level;
        u32 hits;
        u32 framesPerShot; // 0: the tower searches again after each hit
    };
    const Row rows[] = {
        {1, 1, 7, 10}, {1, 3, 21, 10}, {2, 1, 1, 101}, {2, 2, 2, 101}, {2, 3, 3, 101},
        {3, 1, 11, 0}, {3, 2, 21, 0},  {4, 1, 6, 5},   {4, 4, 21, 5},
    };
    for (const Row& row : rows) {
        Field field;
        TdEnemy& e = field.place(0, 10, 10, TdSpawnHitPoints(row.level));
        TdTower tower = towerOfKind(row.kind);
        std::vector<u32> hitFrames;
        for (u32 frame = 0; frame < 10000 && e.hitPoints >= 0; frame++) {
            if (TdTowerStep(tower, field.pool, kTdEnemyCount, kStart).hit) {
                hitFrames.push_back(frame);
            }
        }
        EXPECT_EQ(hitFrames.size(), row.hits) << "kind " << row.kind << " level " << row.level;
        if (row.framesPerShot != 0 && hitFrames.size() > 1) {
            EXPECT_EQ(hitFrames[1] - hitFrames[0], row.framesPerShot) << "kind " << row.kind;
        }
        EXPECT_EQ(tower.target, nullptr) << "a dead target is let go";
    }
}

// A tower acquires strictly inside its range from its spot and drops a
// target strictly beyond it from the spot's centre (5, 5).
TEST(TowerDefenceTowers, RangesAreStrict) {
    for (i32 kind = 1; kind <= kTdTowerKindCount; kind++) {
        const f32 range = TdTowerKindOf(kind).range;
        Field field;
        TdEnemy& e = field.place(0, range, 0);
        TdTower tower = towerOfKind(kind);
        TdTowerStep(tower, field.pool, kTdEnemyCount, kStart);
        EXPECT_EQ(tower.target, nullptr) << "kind " << kind << " at exactly its range";
        e.x = range - 0.01f;
        TdTowerStep(tower, field.pool, kTdEnemyCount, kStart);
        EXPECT_EQ(tower.target, &e) << "kind " << kind;

        e.x = 5 + range;
        e.y = 5;
        TdShot kept = TdTowerStep(tower, field.pool, kTdEnemyCount, kStart);
        EXPECT_TRUE(kept.bulletMoved) << "kind " << kind << " exactly at range from (5, 5)";
        EXPECT_EQ(tower.target, &e);
        e.x = 5 + range + 0.01f;
        TdShot dropped = TdTowerStep(tower, field.pool, kTdEnemyCount, kStart);
        EXPECT_FALSE(dropped.bulletMoved);
        EXPECT_EQ(tower.target, nullptr) << "kind " << kind;
    }
}

TEST(TowerDefenceTowers, NearestActiveEnemyWinsAndTheEarlierOneATie) {
    Field field;
    field.place(0, 20, 0);
    field.place(1, 0, 20);
    TdEnemy& nearer = field.place(2, 10, 0);
    field.place(3, 5, 0).active = false;
    TdTower tower = towerOfKind(1);
    TdTowerStep(tower, field.pool, kTdEnemyCount, kStart);
    EXPECT_EQ(tower.target, &nearer);
    nearer.active = false;
    tower.target = nullptr;
    TdTowerStep(tower, field.pool, kTdEnemyCount, kStart);
    EXPECT_EQ(tower.target, &field.enemies[0]);
}

TEST(TowerDefenceTowers, BulletFliesFromTheSpotCentreToTheTarget) {
    Field field;
    field.place(0, 15, 15);
    TdTower tower = towerOfKind(1);
    EXPECT_FALSE(TdTowerStep(tower, field.pool, kTdEnemyCount, kStart).bulletShown);
    TdShot first = TdTowerStep(tower, field.pool, kTdEnemyCount, kStart);
    EXPECT_TRUE(first.bulletShown);
    EXPECT_FLOAT_EQ(first.bulletX, 5);
    EXPECT_FLOAT_EQ(first.bulletY, 5);
    TdShot second = TdTowerStep(tower, field.pool, kTdEnemyCount, kStart);
    EXPECT_FLOAT_EQ(second.bulletX, 6);
    EXPECT_FLOAT_EQ(second.bulletY, 6);
}

// Kind 2 splashes half its damage on every enemy within 20 of the target,
// active or not, the target included, which then takes the full damage.
TEST(TowerDefenceTowers, SplashReachesStrictlyWithinTwenty) {
    Field field;
    TdEnemy& target = field.place(0, 10, 10, 400);
    TdEnemy& inside = field.place(1, 29.9f, 10, 400);
    TdEnemy& edge = field.place(2, 30, 10, 400);
    TdEnemy& idle = field.place(3, 10, 25, 400);
    idle.active = false;
    TdTower tower = towerOfKind(2);
    TdTowerStep(tower, field.pool, kTdEnemyCount, kStart);
    ASSERT_EQ(tower.target, &target);
    bool hit = false;
    for (u32 i = 0; i < 200 && !hit; i++) {
        hit = TdTowerStep(tower, field.pool, kTdEnemyCount, kStart).hit;
    }
    ASSERT_TRUE(hit);
    EXPECT_FLOAT_EQ(target.hitPoints, 250);
    EXPECT_FLOAT_EQ(inside.hitPoints, 350);
    EXPECT_FLOAT_EQ(edge.hitPoints, 400);
    EXPECT_FLOAT_EQ(idle.hitPoints, 350);
    EXPECT_FLOAT_EQ(inside.barWidth, 350.0f / 400 * 5);
    EXPECT_EQ(tower.target, &target) << "a living target stays";
}

// Kind 3 slows its target to 0.2 for one second, then searches again: the
// next enemy slowed is the nearest one then.
TEST(TowerDefenceTowers, SlowingTowerLetsGoAfterEachHit) {
    Field field;
    TdEnemy& first = field.place(0, 10, 10, 1000);
    TdEnemy& second = field.place(1, 12, 12, 1000);
    TdTower tower = towerOfKind(3);
    const f32 now = kStart + 3;
    TdShot shot = {};
    for (u32 i = 0; i < 200 && !shot.hit; i++) {
        shot = TdTowerStep(tower, field.pool, kTdEnemyCount, now);
        if (!shot.hit) {
            EXPECT_EQ(shot.slowed, -1);
        }
    }
    ASSERT_TRUE(shot.hit);
    EXPECT_EQ(shot.slowed, 0);
    EXPECT_FLOAT_EQ(shot.slowFactor, 0.2f);
    EXPECT_FLOAT_EQ(shot.slowUntil, now + 1);
    EXPECT_FLOAT_EQ(second.speedFactor, 1);
    EXPECT_EQ(tower.target, nullptr);
    first.x = 30;
    TdTowerStep(tower, field.pool, kTdEnemyCount, now);
    EXPECT_EQ(tower.target, &second);
}

// ---- The touch menu ----

TEST(TowerDefenceMenu, HitTestAtTheButtonEdges) {
    struct Row {
        f32 x, y;
        i32 button;
    };
    const Row rows[] = {
        {0, -0.9f, 3},        {-0.9f, -0.9f, 1},    {-0.55f, -0.9f, 2}, {-0.5501f, -0.9f, 1},
        {-0.1375f, -0.9f, 3}, {-0.1376f, -0.9f, 2}, {0.275f, -0.9f, 4}, {0.2749f, -0.9f, 3},
        {0.69375f, -0.9f, 5}, {0.6937f, -0.9f, 4},  {0.99f, -0.9f, 5},  {0, -0.8125f, 0},
        {0, -0.9875f, 0},     {0, -0.8126f, 3},     {0, -0.9874f, 3},   {0, 0.5f, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(TdMenuHitTest(row.x, row.y), row.button) << row.x << ", " << row.y;
    }
}

FrameInput pointer(i32 down, f32 x, f32 y) {
    FrameInput input{};
    input.pointerDown = down;
    input.pointerX = x;
    input.pointerY = y;
    return input;
}

TEST(TowerDefenceMenu, ButtonActsOnAReleaseOverWhereThePressBegan) {
    struct Row {
        f32 pressX, pressY, releaseX, releaseY;
        i32 acted;
    };
    const Row rows[] = {
        {-0.9f, -0.9f, -0.8f, -0.9f, 1},
        {-0.9f, -0.9f, -0.3f, -0.9f, 0},
        {0, 0, 0, -0.9f, 0},
        {0.9f, -0.9f, 0.9f, -0.5f, 0},
    };
    for (const Row& row : rows) {
        TdMenuPointer menu;
        const i32 pressed = TdMenuHitTest(row.pressX, row.pressY);
        const i32 released = TdMenuHitTest(row.releaseX, row.releaseY);
        EXPECT_EQ(TdMenuPointerStep(menu, 1, pressed), 0);
        EXPECT_EQ(TdMenuPointerStep(menu, 1, released), 0);
        EXPECT_EQ(TdMenuPointerStep(menu, 0, released), row.acted);
        EXPECT_EQ(menu.pressedButton, 0);
    }
}

// Every row of the menu's state table.
TEST(TowerDefenceMenu, EveryStateAndButton) {
    struct Row {
        i32 state, button, next;
        bool highlight;
        TdBand band;
        bool placing;
        i32 kind, cost;
        f32 shotStep, damage;
        u8 cameraMode; // the mode the press leaves, from mode 1 before it
    };
    const Row rows[] = {
        {1, 1, 2, true, {0, 0}, false, 0, 0, 0, 0, 1},
        {1, 2, 3, true, {0, 0}, false, 0, 0, 0, 0, 1},
        {1, 3, 1, true, {-4, 7.5f}, false, 0, 0, 0, 0, 0},
        {1, 4, 1, true, {7.5f, 19}, false, 0, 0, 0, 0, 1},
        {1, 5, 1, false, {0, 0}, false, 0, 0, 0, 0, 1},
        {2, 1, 2, true, {-100, -15.5f}, true, 1, 50, 0.1f, 15, 1},
        {2, 2, 2, true, {-15.5f, -4}, true, 2, 100, 0.01f, 100, 1},
        {2, 3, 2, true, {-4, 7.5f}, true, 3, 300, 0.01f, 10, 1},
        {2, 4, 2, true, {7.5f, 19}, true, 4, 500, 0.2f, 20, 1},
        {2, 5, 1, true, {7.5f, 19}, false, 0, 0, 0, 0, 1},
        {3, 1, 4, false, {0, 0}, false, 0, 0, 0, 0, 1},
        {3, 2, 5, false, {0, 0}, false, 0, 0, 0, 0, 1},
        {3, 3, 6, false, {0, 0}, false, 0, 0, 0, 0, 1},
        {3, 4, 3, false, {0, 0}, false, 0, 0, 0, 0, 1},
        {3, 5, 1, true, {7.5f, 19}, false, 0, 0, 0, 0, 1},
        {4, 2, 1, false, {0, 0}, false, 0, 0, 0, 0, 1},
        {5, 4, 1, false, {0, 0}, false, 0, 0, 0, 0, 1},
        {6, 1, 1, false, {0, 0}, false, 0, 0, 0, 0, 1},
        {4, 5, 3, false, {0, 0}, false, 0, 0, 0, 0, 1},
        {6, 5, 3, false, {0, 0}, false, 0, 0, 0, 0, 1},
    };
    for (const Row& row : rows) {
        TdPlay play;
        play.cameraMode = 1;
        i32 state = row.state;
        TdMenuEffect effect = TdMenuPress(&state, row.button, play);
        SCOPED_TRACE(testing::Message() << "state " << row.state << " button " << row.button);
        EXPECT_EQ(state, row.next);
        EXPECT_EQ(effect.highlight, row.highlight);
        EXPECT_FLOAT_EQ(effect.band.start, row.band.start);
        EXPECT_FLOAT_EQ(effect.band.stop, row.band.stop);
        EXPECT_EQ(play.placing, row.placing);
        EXPECT_EQ(play.placeKind, row.kind);
        EXPECT_EQ(play.placeCost, row.cost);
        EXPECT_FLOAT_EQ(play.placeShotStep, row.shotStep);
        EXPECT_FLOAT_EQ(play.placeDamage, row.damage);
        EXPECT_EQ(play.cameraMode, row.cameraMode);
    }
}

TEST(TowerDefenceMenu, BackFromATowerChoiceLeavesPlacingWithThePanBand) {
    TdPlay play;
    i32 state = 2;
    TdMenuPress(&state, 3, play);
    ASSERT_TRUE(play.placing);
    TdMenuEffect back = TdMenuPress(&state, 5, play);
    EXPECT_FALSE(play.placing);
    EXPECT_EQ(state, 1);
    EXPECT_FLOAT_EQ(back.band.start, -4);
    EXPECT_FLOAT_EQ(back.band.stop, 7.5f);
}

TEST(TowerDefenceMenu, PicturesOfTheStates) {
    EXPECT_EQ(TdMenuPictureOf(1), TdMenuPicture::Base);
    EXPECT_EQ(TdMenuPictureOf(3), TdMenuPicture::Upgrades);
    for (i32 state : {2, 4, 5, 6}) {
        EXPECT_EQ(TdMenuPictureOf(state), TdMenuPicture::Towers) << state;
    }
}

// ---- Placing ----

// The pointer position over a map point while placing.
FrameInput overMap(i32 down, f32 mx, f32 my) {
    return pointer(down, (mx + 5) * 0.0103125f - 0.51875f, (my + 5) * 0.0083134761f - 0.7875f);
}

TEST(TowerDefencePlacing, PressSnapsToTheNearestBuildSpot) {
    struct Row {
        f32 mx, my;
        u32 spot;
    };
    const Row rows[] = {
        {0, 0, 0},    {1, 2, 0},     {88, 3, 20}, {44, 27, 51},  {63, 118, 80}, {91, 203, 102},
        {33, 99, 69}, {-4, 204, 93}, {6, 4, 40},  {90, 193, 39}, {50, 100, 69}, {24, 27, 49},
    };
    for (const Row& row : rows) {
        TdPlay play;
        play.placing = true;
        play.placeCost = 50;
        u32 spot = 999;
        EXPECT_EQ(TdPlaceStep(play, overMap(0, row.mx, row.my), true, &spot), TdPlace::Built);
        EXPECT_EQ(spot, row.spot) << row.mx << ", " << row.my;
    }
}

TEST(TowerDefencePlacing, MidwayBetweenSpotsTheEarlierWins) {
    EXPECT_EQ(TdNearestSpot(5, 5), 0u);
    EXPECT_EQ(TdNearestSpot(0, 5), 0u);
    EXPECT_EQ(TdNearestSpot(90, 195), 39u);
    EXPECT_EQ(TdNearestSpot(30, 62.5f), 60u);
}

TEST(TowerDefencePlacing, ReleaseOnTheFieldBuildsAndPays) {
    struct Row {
        i32 money, cost;
        TdPlace place;
        i32 moneyAfter;
        bool placingAfter;
    };
    const Row rows[] = {
        {52, 50, TdPlace::Built, 2, false},
        {100, 100, TdPlace::Built, 0, false},
        {52, 100, TdPlace::NoMoney, 52, false},
        {499, 500, TdPlace::NoMoney, 499, false},
    };
    for (const Row& row : rows) {
        TdPlay play;
        play.money = row.money;
        play.placing = true;
        play.placeCost = row.cost;
        u32 spot = 0;
        EXPECT_EQ(TdPlaceStep(play, overMap(0, 40, 100), true, &spot), row.place) << row.cost;
        EXPECT_EQ(play.money, row.moneyAfter);
        EXPECT_EQ(play.placing, row.placingAfter);
        EXPECT_EQ(play.highlightReset, row.place == TdPlace::Built);
    }
}

TEST(TowerDefencePlacing, TooLittleMoneyEndsPlacingEvenWhileMoving) {
    TdPlay play;
    play.placing = true;
    play.placeCost = 300;
    u32 spot = 0;
    EXPECT_EQ(TdPlaceStep(play, overMap(0, 40, 100), false, &spot), TdPlace::NoMoney);
    EXPECT_FALSE(play.placing);
}

TEST(TowerDefencePlacing, OffTheFieldReleasesSayOutside) {
    struct Row {
        f32 x, y;
        bool wasDown;
        TdPlace place;
    };
    const Row rows[] = {
        {0.5125f, 0, true, TdPlace::Outside},   {0, -0.7875f, true, TdPlace::Outside},
        {-0.51875f, 0, true, TdPlace::Outside}, {0, 0.95833f, true, TdPlace::Outside},
        {0, -0.9f, false, TdPlace::Nothing},    {0.51f, 0, true, TdPlace::Built},
    };
    for (const Row& row : rows) {
        TdPlay play;
        play.placing = true;
        play.placeCost = 50;
        u32 spot = 0;
        EXPECT_EQ(TdPlaceStep(play, pointer(0, row.x, row.y), row.wasDown, &spot), row.place)
            << row.x << ", " << row.y;
        EXPECT_EQ(play.placing, row.place != TdPlace::Built);
    }
}

TEST(TowerDefencePlacing, HoldingOnTheFieldBuildsNothing) {
    TdPlay play;
    play.placing = true;
    play.placeCost = 50;
    u32 spot = 0;
    EXPECT_EQ(TdPlaceStep(play, overMap(1, 40, 100), false, &spot), TdPlace::Nothing);
    EXPECT_EQ(TdPlaceStep(play, overMap(1, 40, 100), true, &spot), TdPlace::Nothing);
    EXPECT_TRUE(play.placing);
    EXPECT_EQ(play.money, 50);
}

// ---- The camera ----

TEST(TowerDefenceCamera, DragOnTheFieldPansIt) {
    TdCameraControl control;
    const vec3 camera(50, 100, 150);
    EXPECT_EQ(TdCameraStep(control, pointer(1, 0.2f, 0.4f), false, 0, camera),
              TdCameraAction::None);
    EXPECT_EQ(TdCameraStep(control, pointer(1, 0.1f, 0.2f), true, 0, vec3(0, 0, 0)),
              TdCameraAction::Pan);
    vec3 moved = TdPanPosition(control, 0.1f, 0.2f);
    EXPECT_FLOAT_EQ(moved.x, 55);
    EXPECT_FLOAT_EQ(moved.y, 110);
    EXPECT_FLOAT_EQ(moved.z, 150);
    EXPECT_EQ(TdCameraStep(control, pointer(1, 0.1f, 0.2f), true, 1, camera),
              TdCameraAction::RotateZoom);
    EXPECT_EQ(TdCameraStep(control, pointer(0, 0.1f, 0.2f), true, 0, camera), TdCameraAction::None);
}

TEST(TowerDefenceCamera, DragFromTheMenuBarMovesNothing) {
    TdCameraControl control;
    const vec3 camera(50, 100, 150);
    EXPECT_EQ(TdCameraStep(control, pointer(1, 0, -0.9f), false, 0, camera), TdCameraAction::None);
    EXPECT_EQ(TdCameraStep(control, pointer(1, 0, 0.3f), true, 0, camera), TdCameraAction::None);
    EXPECT_EQ(TdCameraStep(control, pointer(1, 0, 0.5f), true, 1, camera), TdCameraAction::None);
    // A drag from the field that passes over the bar pauses there.
    TdCameraStep(control, pointer(0, 0, 0.5f), true, 0, camera);
    TdCameraStep(control, pointer(1, 0, 0.5f), false, 0, camera);
    EXPECT_EQ(TdCameraStep(control, pointer(1, 0, -0.9f), true, 0, camera), TdCameraAction::None);
    EXPECT_EQ(TdCameraStep(control, pointer(1, 0, 0.1f), true, 0, camera), TdCameraAction::Pan);
}

TEST(TowerDefenceCamera, RotateAndZoomNearTheEdgesOnly) {
    EXPECT_FLOAT_EQ(TdRotateAngle(0.3f), 0);
    EXPECT_FLOAT_EQ(TdRotateAngle(-0.3f), 0);
    EXPECT_NEAR(TdRotateAngle(1), 2 * 3.14159265f / 180, 1e-6f);
    EXPECT_NEAR(TdRotateAngle(-0.5f), -3.14159265f / 180, 1e-6f);
    EXPECT_FLOAT_EQ(TdZoomStep(0.3f), 0);
    EXPECT_FLOAT_EQ(TdZoomStep(0.5f), -1);
    EXPECT_FLOAT_EQ(TdZoomStep(-1), 2);
}

} // namespace
