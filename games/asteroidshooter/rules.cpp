#include "games/asteroidshooter/rules.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr f32 kPortraitAspect = 0.6666667f;
constexpr f32 kLandscapeAspect = 1.5f;
constexpr f32 kPassedZ = -10.0f;
constexpr f32 kShotRecycleZ = -300.0f;
constexpr f32 kShotStartZ = -50.0f;
constexpr f32 kShotRestartZ = -50.01f;
constexpr f32 kShotRight = 10.0f;
constexpr f32 kShotBelow = 5.0f;

f32 squaredDistance(vec3 a, vec3 b) {
    return (a - b).lengthSquared();
}

// Speed and position, the draws every target makes alike.
void drawPlace(AsteroidSpawn& spawn, i32 (*draw)()) {
    spawn.speed = static_cast<f32>(draw() % 3 + 5) / 20.0f;
    f32 x = static_cast<f32>(draw() % 60 - 30);
    f32 y = static_cast<f32>(draw() % 80 - 40);
    f32 z = -static_cast<f32>(draw() % 1000 + 100);
    spawn.position = vec3(x, y, z);
}

} // namespace

AsteroidStats AsteroidStart(u8 orientation) {
    AsteroidStats stats{};
    stats.hitThreshold = kLevelOneHitThreshold;
    stats.enemyShotDistance = kInertEnemyShotDistance;
    stats.orientation = orientation;
    AsteroidFormatHits(stats);
    return stats;
}

i32 AsteroidRandom() {
    return std::rand() & 0x7fff;
}

f32 AsteroidAspect(u8 orientation) {
    return orientation == 1 ? kLandscapeAspect : kPortraitAspect;
}

bool AsteroidOrientationChanged(AsteroidStats& stats, u8 orientation) {
    if (orientation == stats.orientation) {
        return false;
    }
    stats.orientation = orientation;
    return true;
}

AsteroidSpawn AsteroidRespawn(i32 (*draw)()) {
    AsteroidSpawn spawn{};
    spawn.scale = static_cast<f32>(draw() % 2) / 5.5f;
    drawPlace(spawn, draw);
    spawn.spinAxis.x = static_cast<f32>(draw()) / 16384.5f;
    spawn.spinAxis.y = static_cast<f32>(draw()) / 16384.5f;
    spawn.spinAxis.z = static_cast<f32>(draw()) / 16384.5f;
    return spawn;
}

AsteroidSpawn EnemyShipRespawn(i32 (*draw)()) {
    AsteroidSpawn spawn{};
    spawn.scale = 0.5f;
    drawPlace(spawn, draw);
    return spawn;
}

bool AsteroidPassed(f32 z) {
    return z > kPassedZ;
}

bool EnemyShotPassed(f32 shotZ, f32 shipZ) {
    return shotZ / 3.0f + shipZ > 0.0f;
}

bool ShotSpent(f32 z) {
    return z == kShotStartZ || z < kShotRecycleZ;
}

vec3 ShotRestart(f32 shipX, f32 shipY) {
    return vec3(shipX + kShotRight, shipY - kShotBelow, kShotRestartZ);
}

f32 ShotWaitingZ(f32 shipZ, u32 i) {
    return shipZ + kShotSpacing * static_cast<f32>(i);
}

AsteroidFrameStep AsteroidNextStep(AsteroidStats& stats) {
    if (stats.levelDone == 0) {
        return kAsteroidHitPass;
    }
    if (stats.switchPending == 0) {
        stats.switchPending = 1;
        return kAsteroidLoadingText;
    }
    stats.hitThreshold = kLevelTwoHitThreshold;
    stats.levelDone = 0;
    stats.levelTwo = 1;
    return kAsteroidLevelSwitch;
}

u32 AsteroidTestTarget(AsteroidStats& stats, vec3 ship, vec3 target, const vec3* enemyShot,
                       const vec3* shots, u32 shotCount) {
    f32 distance = squaredDistance(target, ship);
    if (enemyShot != nullptr) {
        target = *enemyShot;
        stats.enemyShotDistance = squaredDistance(target, ship);
    }
    if (distance < kContactDistance || stats.enemyShotDistance < kContactDistance) {
        stats.hits = stats.levelTwo != 0 ? kLevelOneGoal : 0;
    }
    u32 count = 0;
    for (u32 i = 0; i < shotCount; i++) {
        if (squaredDistance(target, shots[i]) > static_cast<f32>(stats.hitThreshold)) {
            continue;
        }
        count++;
        stats.hits++;
        if (stats.hits == kLevelOneGoal && stats.levelTwo == 0) {
            stats.levelDone = 1;
            break;
        }
    }
    return count;
}

void AsteroidFormatHits(AsteroidStats& stats) {
    std::snprintf(stats.hitsText, sizeof stats.hitsText, "%d hits", stats.hits);
}
