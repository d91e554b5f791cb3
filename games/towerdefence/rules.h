#pragma once

// The rules of the tower-defence game without any GL: the waves and their
// spawns, money, lives and levels, the enemies' walk along the way points,
// the towers' aim, hits, slowing and splash, the touch menu's buttons and
// states, placing a tower on a build spot and moving the camera. The scene
// objects call these functions each frame and only move their nodes after
// them, so a test of this module tests the game's own rules.

#include "engine/frameinput.h"
#include "engine/types.h"
#include "engine/vecmath.h"

#include <array>

class WayPoint;

// The map: the play field spans x 0..100 and y 0..200 of the plane z = 0.
struct TdSpot {
    i32 x, y;
};
struct TdPoint {
    f32 x, y;
};
constexpr u32 kTdBuildSpotCount = 103;
constexpr u32 kTdWayPointCount = 14;
// Where towers may stand, in table order (the order decides ties).
extern const std::array<TdSpot, kTdBuildSpotCount> kTdBuildSpots;
// The enemies' path, in walking order.
extern const std::array<TdPoint, kTdWayPointCount> kTdWayPoints;

// The enemy pool, which is also the size of a wave.
constexpr u32 kTdEnemyCount = 10;

// A tower kind (1..4): its price, bullet step per frame, damage per hit and
// range.
struct TdTowerKind {
    i32 cost;
    f32 shotStep;
    f32 damage;
    f32 range;
};
constexpr i32 kTdTowerKindCount = 4;
// The kind's row; any other kind has range 25 and nothing else.
const TdTowerKind& TdTowerKindOf(i32 kind);

// Fifteen bits of the C library's generator, as the game's ranges expect.
i32 TdRandom();

// What the game keeps of the play: money, lives, level, the wave's spawns,
// the tower chosen in the menu and the camera mode.
struct TdPlay {
    i32 money = 50;
    i32 lives = 10;
    i32 level = 0;
    i32 spawned = 0;
    f32 nextSpawnTime = 5.0f;
    bool placing = false;
    bool levelUpPending = true;
    i32 placeKind = 0;
    i32 placeCost = 0;
    f32 placeShotStep = 0;
    f32 placeDamage = 0;
    u8 cameraMode = 0; // 0 pan, 1 rotate and zoom
    bool highlightReset = false;
    bool gameOver = false;
};

// One enemy of the pool.
struct TdEnemy {
    f32 x = -50, y = -50;
    f32 targetX = 0, targetY = 0;
    f32 speed = 0;
    f32 hitPoints = 0;
    f32 maxHitPoints = 0;
    f32 barWidth = 5; // the health bar's half width
    bool active = false;
    const WayPoint* firstWayPoint = nullptr;
    const WayPoint* wayPoint = nullptr;
    f32 speedFactor = 1;
    f32 slowUntil = 0;
};

// A placed tower.
struct TdTower {
    TdEnemy* target;
    f32 shotStep;
    f32 shotProgress;
    f32 damage;
    f32 range;
    f32 x, y; // its build spot
    i32 kind;
};

// ---- Waves, money and lives ----

// Money at a level-up: times 1.05 in single precision, truncated.
i32 TdGrowMoney(i32 money);
f32 TdSpawnHitPoints(i32 level);
f32 TdSpawnSpeed(i32 level);
// The spawn of a frame at time now: when the spawn time is past (strictly)
// and the wave has room, a pending level-up (level + 1, money grown), and
// the index of the first enemy of the pool that is not active, which then
// walks in with the level's hit points and speed; else -1. Without an enemy
// free in the pool nothing happens.
i32 TdSpawnStep(TdPlay& play, TdEnemy* const* pool, u32 count, f32 now);
// After a spawn: one more of the wave, and the next follows 0.80 to 1.79
// seconds later by a draw r of the generator.
void TdSpawned(TdPlay& play, f32 now, i32 r);
// Once the wave has spawned all its enemies and none is active: the next
// wave, one level up, starts 10 seconds later.
void TdWaveEndStep(TdPlay& play, bool anyActive, f32 now);
// Lives at 0 or below end the game: true on the frame it ends.
bool TdLivesCheck(TdPlay& play, f32 now);
void TdRewardKill(TdPlay& play);
void TdEnemyReachedEnd(TdPlay& play);

// ---- Enemies ----

// Hidden in the pool at (-50, -50) with a full bar.
void TdDeactivate(TdEnemy& enemy);
// Active at the first way point, offset by (r1 mod 6) - 3 and (r2 mod 6) - 3,
// walking to the second; the speed factor is kept.
void TdSpawn(TdEnemy& enemy, f32 hitPoints, f32 speed, i32 r1, i32 r2);
// The speed factor until a time.
void TdSlow(TdEnemy& enemy, f32 factor, f32 until);
// Takes damage; the bar follows the hit points.
void TdDamage(TdEnemy& enemy, f32 damage);

enum class TdWalk { Idle, Walked, Killed, Finished };
// One frame of an enemy at time now: a slowdown ends, a dead enemy leaves
// the pool, a way point reached turns it to the next (jittered by two draws
// of random), the last one sends it back to the pool, then it steps on.
// An enemy already on its target does not move.
TdWalk TdEnemyStep(TdEnemy& enemy, f32 now, i32 (*random)());

// ---- Towers ----

TdTower TdMakeTower(f32 x, f32 y, f32 shotStep, f32 damage, i32 kind);
// What a tower's frame shows: the bullet hidden or shown, and where; and the
// enemy of the pool that a slowing hit slows, by a factor until a time.
struct TdShot {
    bool bulletShown;
    bool bulletMoved;
    f32 bulletX, bulletY;
    bool hit;
    i32 slowed; // index in the pool, or -1
    f32 slowFactor, slowUntil;
};
// One frame of a tower: search the nearest active enemy in range from the
// spot, or fly the bullet at the target from the spot's centre and hit it.
// The caller slows the enemy that the shot names.
TdShot TdTowerStep(TdTower& tower, TdEnemy* const* pool, u32 count, f32 now);

// ---- The touch menu ----

// The button (1..5) of the bar under a pointer position, or 0.
i32 TdMenuHitTest(f32 x, f32 y);

// The menu's pointer: a button acts on a release over the button where the
// press began.
struct TdMenuPointer {
    i32 pointerWasDown = 0;
    i32 pressedButton = 0;
};
// The button that acts this frame, or 0, given the button under the pointer.
i32 TdMenuPointerStep(TdMenuPointer& pointer, i32 pointerDown, i32 button);

// The highlight band: GUI-world x coordinates across the bar.
struct TdBand {
    f32 start, stop;
};
constexpr TdBand kTdNoBand = {0, 0};
enum class TdMenuPicture { Base, Towers, Upgrades };
TdMenuPicture TdMenuPictureOf(i32 state);
// What a press changed besides the state and the game's fields: a new band.
struct TdMenuEffect {
    bool highlight;
    TdBand band;
};
// One press of a button in the menu state (1..6); changes the state and the
// game's placing and camera fields.
TdMenuEffect TdMenuPress(i32* state, i32 button, TdPlay& play);

// ---- Placing a tower ----

bool TdOnField(f32 x, f32 y);
// The map point under a pointer position on the field, while placing.
vec2 TdFieldToMap(f32 x, f32 y);
// The index of the build spot nearest to a map point (the earlier wins a
// tie).
u32 TdNearestSpot(f32 mx, f32 my);

enum class TdPlace { Nothing, NoMoney, Built, Outside };
// One frame of placing: the spot under the pointer, too little money, a
// release on the field that builds there (paying for it), or a release off
// the field. The spot is set when the pointer is on the field.
TdPlace TdPlaceStep(TdPlay& play, const FrameInput& input, bool pointerWasDown, u32* spot);

// ---- The camera ----

// A drag of the field: armed by a press above the menu bar, with the pointer
// and the camera position at that press.
struct TdCameraControl {
    bool armed = false;
    f32 pressX = 0, pressY = 0;
    vec3 pressCamera = vec3(0, 0, 0);
};
enum class TdCameraAction { None, Pan, RotateZoom };
// One frame of camera control while not placing: a press above the bar arms
// a drag (keeping the camera position given), a held pointer pans or rotates
// and zooms by the mode. A drag that starts on the bar moves nothing.
TdCameraAction TdCameraStep(TdCameraControl& control, const FrameInput& input, bool pointerWasDown,
                            u8 cameraMode, vec3 camera);
// The camera position of a pan: the field follows the pointer.
vec3 TdPanPosition(const TdCameraControl& control, f32 x, f32 y);
// Rotate and zoom, per frame: the turn about x near the screen's sides (2
// degrees at the edge) and the move along z near its top and bottom; 0 in
// the middle.
f32 TdRotateAngle(f32 x);
f32 TdZoomStep(f32 y);
