#include "games/towerdefence/rules.h"

#include "games/towerdefence/waypoint.h"

#include <cmath>
#include <cstdlib>

namespace {

// A row of build spots: count points from (x, y) in steps of (dx, dy).
struct SpotRow {
    i32 x, y, dx, dy, count;
};
constexpr SpotRow kSpotRows[] = {
    {0, 0, 0, 10, 20},  {90, 0, 0, 10, 20},  {10, 0, 10, 0, 8},   {15, 25, 10, 0, 6},
    {25, 50, 10, 0, 6}, {25, 60, 0, 10, 5},  {35, 60, 0, 10, 5},  {15, 125, 10, 0, 6},
    {65, 75, 0, 10, 5}, {25, 150, 10, 0, 6}, {15, 175, 10, 0, 6}, {0, 200, 10, 0, 10},
};

constexpr std::array<TdSpot, kTdBuildSpotCount> makeSpots() {
    std::array<TdSpot, kTdBuildSpotCount> spots{};
    u32 n = 0;
    for (const SpotRow& row : kSpotRows) {
        for (i32 i = 0; i < row.count; i++) {
            spots[n++] = {row.x + i * row.dx, row.y + i * row.dy};
        }
    }
    return spots;
}

const TdTowerKind kTowerKinds[kTdTowerKindCount] = {
    {50, 0.1f, 15, 25},
    {100, 0.01f, 100, 40},
    {300, 0.01f, 10, 40},
    {500, 0.2f, 20, 50},
};
const TdTowerKind kOtherKind = {0, 0, 0, 25};
const i32 kSplashKind = 2;
const i32 kSlowingKind = 3;
const f32 kSplashRadius = 20;
const f32 kSlowFactor = 0.2f;
const f32 kSlowSeconds = 1.0f;
// A tower aims from its spot's centre, half a cell from the spot.
const f32 kSpotCentre = 5;

const f32 kFullBar = 5;
const f32 kPoolX = -50;
const f32 kPoolY = -50;

const f32 kFirstGap = 0.8f;
const f32 kWavePause = 10;
const f32 kGameOverDelay = 999;
const f32 kMoneyGrowth = 1.05f;

// The menu bar's rows and button edges in pointer units; all bounds strict.
const f32 kBarBottom = -0.9875f;
const f32 kBarTop = -0.8125f;
const f32 kButtonEdges[4] = {-0.55f, -0.1375f, 0.275f, 0.69375f};
// The bands over buttons 1 to 4; the pan and rotate modes show those of
// buttons 3 and 4.
const TdBand kButtonBands[4] = {{-100, -15.5f}, {-15.5f, -4}, {-4, 7.5f}, {7.5f, 19}};

// The field while placing, in pointer units, and its map scale.
const f32 kFieldLeft = -0.51875f;
const f32 kFieldRight = 0.5125f;
const f32 kFieldBottom = -0.7875f;
const f32 kFieldTop = 0.95833f;
const f32 kMapUnitX = 0.0103125f;
const f32 kMapUnitY = 0.0083134761f;
const f32 kFarAway = 999999;

const f32 kPanScale = 50;
const f32 kTurnZone = 0.3f;
const f32 kPi = 3.14159265f;

TdBand cameraBand(u8 mode) {
    return kButtonBands[mode == 1 ? 3 : 2];
}

void choose(TdPlay& play, i32 kind) {
    const TdTowerKind& row = TdTowerKindOf(kind);
    play.placing = true;
    play.placeKind = kind;
    play.placeCost = row.cost;
    play.placeShotStep = row.shotStep;
    play.placeDamage = row.damage;
}

i32 firstInactive(const TdEnemy* const* pool, u32 count) {
    for (u32 i = 0; i < count; i++) {
        if (!pool[i]->active) {
            return static_cast<i32>(i);
        }
    }
    return -1;
}

i32 indexIn(TdEnemy* const* pool, u32 count, const TdEnemy* enemy) {
    for (u32 i = 0; i < count; i++) {
        if (pool[i] == enemy) {
            return static_cast<i32>(i);
        }
    }
    return -1;
}

f32 distance(f32 x1, f32 y1, f32 x2, f32 y2) {
    return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
}

} // namespace

const std::array<TdSpot, kTdBuildSpotCount> kTdBuildSpots = makeSpots();

const std::array<TdPoint, kTdWayPointCount> kTdWayPoints = {{
    {17.5f, 192.5f},
    {82.5f, 192.5f},
    {82.5f, 167.5f},
    {17.5f, 167.5f},
    {17.5f, 142.5f},
    {82.5f, 142.5f},
    {82.5f, 67.5f},
    {52.5f, 67.5f},
    {52.5f, 117.5f},
    {17.5f, 117.5f},
    {17.5f, 42.5f},
    {82.5f, 42.5f},
    {82.5f, 17.5f},
    {17.5f, 17.5f},
}};

const TdTowerKind& TdTowerKindOf(i32 kind) {
    return kind >= 1 && kind <= kTdTowerKindCount ? kTowerKinds[kind - 1] : kOtherKind;
}

i32 TdRandom() {
    return std::rand() & 0x7fff;
}

i32 TdGrowMoney(i32 money) {
    return static_cast<i32>(static_cast<f32>(money) * kMoneyGrowth);
}

f32 TdSpawnHitPoints(i32 level) {
    return 100.0f * static_cast<f32>(level);
}

f32 TdSpawnSpeed(i32 level) {
    return 0.1f * static_cast<f32>(level);
}

i32 TdSpawnStep(TdPlay& play, TdEnemy* const* pool, u32 count, f32 now) {
    if (!(play.nextSpawnTime < now && play.spawned < static_cast<i32>(kTdEnemyCount))) {
        return -1;
    }
    i32 free = firstInactive(pool, count);
    if (free < 0) {
        return -1;
    }
    if (play.levelUpPending) {
        play.level++;
        play.levelUpPending = false;
        play.money = TdGrowMoney(play.money);
    }
    return free;
}

void TdSpawned(TdPlay& play, f32 now, i32 r) {
    play.spawned++;
    play.nextSpawnTime = now + kFirstGap + static_cast<f32>(r % 100) / 100.0f;
}

void TdWaveEndStep(TdPlay& play, bool anyActive, f32 now) {
    if (play.spawned >= static_cast<i32>(kTdEnemyCount) && !anyActive) {
        play.levelUpPending = true;
        play.spawned = 0;
        play.nextSpawnTime = now + kWavePause;
    }
}

bool TdLivesCheck(TdPlay& play, f32 now) {
    if (play.lives > 0 || play.gameOver) {
        return false;
    }
    play.gameOver = true;
    play.nextSpawnTime = now + kGameOverDelay;
    return true;
}

void TdRewardKill(TdPlay& play) {
    play.money += play.level * 5;
}

void TdEnemyReachedEnd(TdPlay& play) {
    play.lives--;
}

void TdDeactivate(TdEnemy& enemy) {
    enemy.active = false;
    enemy.x = kPoolX;
    enemy.y = kPoolY;
    enemy.barWidth = kFullBar;
}

void TdSpawn(TdEnemy& enemy, f32 hitPoints, f32 speed, i32 r1, i32 r2) {
    enemy.hitPoints = hitPoints;
    enemy.maxHitPoints = hitPoints;
    enemy.active = true;
    enemy.speed = speed;
    const WayPoint* first = enemy.firstWayPoint;
    enemy.x = first->getX();
    enemy.y = first->getY();
    enemy.wayPoint = first->getNext();
    enemy.targetX = enemy.wayPoint->getX();
    enemy.targetY = enemy.wayPoint->getY();
    enemy.x += static_cast<f32>(r1 % 6 - 3);
    enemy.y += static_cast<f32>(r2 % 6 - 3);
}

void TdSlow(TdEnemy& enemy, f32 factor, f32 until) {
    enemy.speedFactor = factor;
    enemy.slowUntil = until;
}

void TdDamage(TdEnemy& enemy, f32 damage) {
    enemy.hitPoints -= damage;
    enemy.barWidth =
        enemy.maxHitPoints > 0 ? enemy.hitPoints / enemy.maxHitPoints * kFullBar : kFullBar;
}

TdWalk TdEnemyStep(TdEnemy& enemy, f32 now, i32 (*random)()) {
    if (!enemy.active) {
        return TdWalk::Idle;
    }
    if (enemy.speedFactor < 1 && enemy.slowUntil < now) {
        enemy.speedFactor = 1;
        enemy.slowUntil = 0;
    }
    f32 dx = enemy.targetX - enemy.x;
    f32 dy = enemy.targetY - enemy.y;
    if (enemy.hitPoints < 0) {
        TdDeactivate(enemy);
        return TdWalk::Killed;
    }
    f32 d = std::sqrt(dx * dx + dy * dy);
    if (d < 2 * enemy.speed) {
        enemy.wayPoint = enemy.wayPoint != nullptr ? enemy.wayPoint->getNext() : nullptr;
        if (enemy.wayPoint == nullptr) {
            TdDeactivate(enemy);
            return TdWalk::Finished;
        }
        enemy.targetX = enemy.wayPoint->getX() + static_cast<f32>(random() % 10 - 5);
        enemy.targetY = enemy.wayPoint->getY() + static_cast<f32>(random() % 10 - 5);
    }
    if (d > 0) {
        enemy.x += enemy.speed * enemy.speedFactor * dx / d;
        enemy.y += enemy.speed * enemy.speedFactor * dy / d;
    }
    return TdWalk::Walked;
}

TdTower TdMakeTower(f32 x, f32 y, f32 shotStep, f32 damage, i32 kind) {
    return {nullptr, shotStep, 0, damage, TdTowerKindOf(kind).range, x, y, kind};
}

TdShot TdTowerStep(TdTower& tower, TdEnemy* const* pool, u32 count, f32 now) {
    TdShot shot = {false, false, 0, 0, false, -1, 1, 0};
    if (tower.target == nullptr) {
        f32 best = tower.range;
        for (u32 i = 0; i < count; i++) {
            f32 d = distance(tower.x, tower.y, pool[i]->x, pool[i]->y);
            if (pool[i]->active && d < best) {
                best = d;
                tower.target = pool[i];
            }
        }
        return shot;
    }
    shot.bulletShown = true;
    TdEnemy& target = *tower.target;
    const f32 ox = tower.x + kSpotCentre, oy = tower.y + kSpotCentre;
    const f32 px = target.x, py = target.y;
    if (distance(ox, oy, px, py) > tower.range) {
        tower.target = nullptr;
        return shot;
    }
    shot.bulletMoved = true;
    shot.bulletX = ox + tower.shotProgress * (px - ox);
    shot.bulletY = oy + tower.shotProgress * (py - oy);
    tower.shotProgress += tower.shotStep;
    if (tower.shotProgress < 1) {
        return shot;
    }
    shot.hit = true;
    tower.shotProgress = 0;
    if (tower.kind == kSplashKind) {
        for (u32 i = 0; i < count; i++) {
            if (distance(pool[i]->x, pool[i]->y, px, py) < kSplashRadius) {
                TdDamage(*pool[i], tower.damage * 0.5f);
            }
        }
    }
    TdDamage(target, tower.damage);
    if (target.hitPoints < 0) {
        tower.target = nullptr;
    } else if (tower.kind == kSlowingKind) {
        shot.slowed = indexIn(pool, count, &target);
        shot.slowFactor = kSlowFactor;
        shot.slowUntil = now + kSlowSeconds;
        tower.target = nullptr;
    }
    return shot;
}

i32 TdMenuHitTest(f32 x, f32 y) {
    if (!(kBarBottom < y && y < kBarTop)) {
        return 0;
    }
    for (i32 i = 0; i < 4; i++) {
        if (x < kButtonEdges[i]) {
            return i + 1;
        }
    }
    return 5;
}

i32 TdMenuPointerStep(TdMenuPointer& pointer, i32 pointerDown, i32 button) {
    i32 acted = 0;
    if (pointer.pointerWasDown == 0 && pointerDown == 1) {
        pointer.pressedButton = button;
    }
    if (pointer.pointerWasDown == 1 && pointerDown == 0) {
        if (pointer.pressedButton > 0 && button == pointer.pressedButton) {
            acted = pointer.pressedButton;
        }
        pointer.pressedButton = 0;
    }
    pointer.pointerWasDown = pointerDown;
    return acted;
}

TdMenuPicture TdMenuPictureOf(i32 state) {
    return state == 1   ? TdMenuPicture::Base
           : state == 3 ? TdMenuPicture::Upgrades
                        : TdMenuPicture::Towers;
}

TdMenuEffect TdMenuPress(i32* state, i32 button, TdPlay& play) {
    TdMenuEffect none = {false, kTdNoBand};
    if (button < 1 || button > 5) {
        return none;
    }
    switch (*state) {
    case 1:
        if (button == 1 || button == 2) {
            *state = button + 1;
            return {true, kTdNoBand};
        }
        if (button == 3 || button == 4) {
            play.cameraMode = static_cast<u8>(button - 3);
            return {true, kButtonBands[button - 1]};
        }
        return none;
    case 2:
        if (button == 5) {
            play.placing = false;
            *state = 1;
            return {true, cameraBand(play.cameraMode)};
        }
        choose(play, button);
        return {true, kButtonBands[button - 1]};
    case 3:
        if (button == 5) {
            *state = 1;
            return {true, cameraBand(play.cameraMode)};
        }
        if (button <= 3) {
            *state = button + 3;
        }
        return none;
    default:
        *state = button == 5 ? 3 : 1;
        return none;
    }
}

bool TdOnField(f32 x, f32 y) {
    return kFieldLeft < x && x < kFieldRight && kFieldBottom < y && y < kFieldTop;
}

vec2 TdFieldToMap(f32 x, f32 y) {
    return vec2((x - kFieldLeft) / kMapUnitX - kSpotCentre,
                (y - kFieldBottom) / kMapUnitY - kSpotCentre);
}

u32 TdNearestSpot(f32 mx, f32 my) {
    f32 best = kFarAway;
    u32 nearest = 0;
    for (u32 i = 0; i < kTdBuildSpotCount; i++) {
        f32 dx = static_cast<f32>(kTdBuildSpots[i].x) - mx;
        f32 dy = static_cast<f32>(kTdBuildSpots[i].y) - my;
        if (dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            nearest = i;
        }
    }
    return nearest;
}

TdPlace TdPlaceStep(TdPlay& play, const FrameInput& input, bool pointerWasDown, u32* spot) {
    const bool released = pointerWasDown && input.pointerDown == 0;
    if (!TdOnField(input.pointerX, input.pointerY)) {
        return released ? TdPlace::Outside : TdPlace::Nothing;
    }
    vec2 map = TdFieldToMap(input.pointerX, input.pointerY);
    *spot = TdNearestSpot(map.x, map.y);
    if (play.placeCost > play.money) {
        play.placing = false;
        return TdPlace::NoMoney;
    }
    if (!released) {
        return TdPlace::Nothing;
    }
    play.money -= play.placeCost;
    play.placing = false;
    play.highlightReset = true;
    return TdPlace::Built;
}

TdCameraAction TdCameraStep(TdCameraControl& control, const FrameInput& input, bool pointerWasDown,
                            u8 cameraMode, vec3 camera) {
    if (input.pointerDown == 0) {
        control.armed = false;
        return TdCameraAction::None;
    }
    if (!(input.pointerY > kBarTop)) {
        return TdCameraAction::None;
    }
    if (!pointerWasDown) {
        control.armed = true;
        control.pressX = input.pointerX;
        control.pressY = input.pointerY;
        control.pressCamera = camera;
        return TdCameraAction::None;
    }
    if (!control.armed) {
        return TdCameraAction::None;
    }
    return cameraMode == 0 ? TdCameraAction::Pan : TdCameraAction::RotateZoom;
}

vec3 TdPanPosition(const TdCameraControl& control, f32 x, f32 y) {
    return vec3(control.pressCamera.x + kPanScale * (control.pressX - x),
                control.pressCamera.y + kPanScale * (control.pressY - y), control.pressCamera.z);
}

f32 TdRotateAngle(f32 x) {
    return x > kTurnZone || x < -kTurnZone ? x * 2.0f / 360.0f * 2.0f * kPi : 0.0f;
}

f32 TdZoomStep(f32 y) {
    return y > kTurnZone || y < -kTurnZone ? -2.0f * y : 0.0f;
}
