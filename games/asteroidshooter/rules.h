#pragma once

// The rules of the asteroid shooter without any GL: the hit and contact
// distances, where targets respawn, the recycling of the ship's shots and of
// the enemy shots, the hit counter and the switch to level 2 over its frames.
// The game's objects call these functions each frame, so a test of this
// module tests the game's own rules.

#include "engine/types.h"
#include "engine/vecmath.h"

constexpr u32 kAsteroidCount = 50;
constexpr u32 kEnemyShipCount = 20;
constexpr u32 kShotCount = 10;

// Squared distances: a shot within 7 units of an asteroid hits it, one within
// about 13 units of an enemy ship's shot hits the ship; the ship within 10
// units of a target or an enemy shot is a contact.
constexpr i32 kLevelOneHitThreshold = 49;
constexpr i32 kLevelTwoHitThreshold = 170;
constexpr f32 kContactDistance = 100.0f;
// The squared enemy-shot distance before any enemy shot was tested.
constexpr f32 kInertEnemyShotDistance = 110.0f;
// The hit that ends level 1; level 2 counts on from it and a contact there
// sets the counter back to it.
constexpr i32 kLevelOneGoal = 50;

// The camera looks down -z from the origin; the ship starts below and left
// of the centre, its shots fly ahead of it.
constexpr f32 kFieldOfView = 1.570796f;
constexpr f32 kNearPlane = 1.0f;
constexpr f32 kFarPlane = 501.0f;
const vec3 kShipStart(-10.0f, -20.0f, -50.0f);
constexpr f32 kShotStep = -5.5f;
constexpr f32 kShotSpacing = 25.0f;
// A hit target jumps here, behind the camera, and respawns at its next update.
const vec3 kHitTargetPlace(0.0f, 0.0f, 10.0f);

// The game-wide values of one run.
struct AsteroidStats {
    i32 hits;
    char hitsText[50];
    i32 hitThreshold;
    f32 enemyShotDistance;
    u8 orientation;
    u8 levelDone;
    u8 switchPending;
    u8 levelTwo;
};

// Level 1 with no hits, seen in the given orientation (1 landscape).
AsteroidStats AsteroidStart(u8 orientation);

// 15 random bits from the C library's generator, as every draw of the game
// expects.
i32 AsteroidRandom();

// The camera's aspect for an orientation: 3/2 in landscape, 2/3 in portrait.
f32 AsteroidAspect(u8 orientation);
// True when the orientation differs from the last one seen, which it then
// becomes: the camera's projection must follow.
bool AsteroidOrientationChanged(AsteroidStats& stats, u8 orientation);

// Where a target appears next: draws from a generator of 15-bit numbers.
struct AsteroidSpawn {
    f32 scale;
    f32 speed;
    vec3 position;
    vec3 spinAxis;
};
// An asteroid: scale 0 or 1/5.5, speed 0.25, 0.3 or 0.35, x in -30..29,
// y in -40..39, z in -1099..-100, a spin axis of three values in 0..2.
AsteroidSpawn AsteroidRespawn(i32 (*draw)());
// An enemy ship: its speed and position drawn as an asteroid's, nothing else.
AsteroidSpawn EnemyShipRespawn(i32 (*draw)());
// A target respawns once it is closer to the camera than z -10.
bool AsteroidPassed(f32 z);
// The enemy's shot starts again from the ship once it is past the camera.
bool EnemyShotPassed(f32 shotZ, f32 shipZ);

// A shot of the ship starts again at z -50.01, right of and below the ship,
// once it has flown past -300 (or stands exactly at -50).
bool ShotSpent(f32 z);
vec3 ShotRestart(f32 shipX, f32 shipY);
// The hidden place of shot i before the stream starts.
f32 ShotWaitingZ(f32 shipZ, u32 i);

// What a frame does after drawing.
enum AsteroidFrameStep {
    kAsteroidHitPass,     // test the hits and show the counter
    kAsteroidLoadingText, // level 1 is done: only "Loading level 2!"
    kAsteroidLevelSwitch, // the same text, and level 2 replaces level 1
};
// The frame's step; the switch frame also enters level 2 with its threshold.
AsteroidFrameStep AsteroidNextStep(AsteroidStats& stats);

// A target, its enemy shot (null in level 1) and the ship: a contact sets the
// counter back, and each shot close enough counts a hit. In level 2 the
// shots are tested against the enemy shot, not the target. The count of hits
// on the target is returned; the shots after the one that ends level 1 are
// not tested.
u32 AsteroidTestTarget(AsteroidStats& stats, vec3 ship, vec3 target, const vec3* enemyShot,
                       const vec3* shots, u32 shotCount);
// "%d hits", written within the buffer.
void AsteroidFormatHits(AsteroidStats& stats);
