#pragma once

// The rules of the ogre shooter without any GL: the screen sequence, the wave
// table and its timing, firing, the score and the awesomeness meter, the
// ship's steering, the ogres' four ways of moving, collisions, the scrolling
// star fields and the keys latched by the event poll. The game objects call
// these functions each frame, so a test of this module tests the game's own
// rules.

#include "engine/frameinput.h"
#include "engine/types.h"
#include "engine/vecmath.h"

// The screens, as the game's state field holds them.
enum OgreState : u32 { kOgreKillScreen = 0, kOgrePlaying = 1, kOgreWelcome = 2, kOgreProlog = 3 };

// The screen shown after this frame's keys: Return leaves the prolog and the
// kill screen, Space leaves the welcome screen; play ends only through
// OgreRestart's kill screen.
u32 OgreNextState(u32 state, const FrameInput& input);

// One row of the wave table. A wave of the mixed kind gives ogre i the
// movement type i mod 4.
constexpr u32 kOgreMixedMovement = 4;
struct OgreWave {
    u32 minimumScore;
    u32 count;
    f32 spacing;
    f32 speed;
    u32 movement;
};
// The row of the first bound the score reaches, from the highest.
const OgreWave& OgreWaveFor(u32 score);
u32 OgreWaveMovement(const OgreWave& wave, u32 i);

// A wave every 5 seconds, a shot every 0.1 seconds while Space or a is held;
// both strictly more than that since the last one.
bool OgreWaveDue(f32 time, f32 lastWaveTime);
bool OgreFireDue(const FrameInput& input, f32 lastShotTime);

// 15 bits of a rand() value as a number in 0..1, whatever the generator's
// range.
f32 OgreUnitRandom(int r);
// The height of a wave's ogre, in -100..100.
f32 OgreWaveY(int r);

// The points of one playing frame: 600 a second, truncated.
u32 OgreFrameScore(f32 deltaTime);
// The points of a bullet hit with the meter at value (after the hit's own
// rise): 94378 with a full meter, else none.
u32 OgreHitScore(f32 meterValue);

// The meter: each hit raises it, each escaped ogre lowers it, and it drains
// by 0.1 a second; it stays within 0..1.
constexpr f32 kOgreHitMeter = 0.025f;
constexpr f32 kOgreEscapeMeter = -0.045f;
f32 OgreMeterAdd(f32 value, f32 amount);
f32 OgreMeterDrain(f32 value, f32 deltaTime);
// The bar's half width at a meter value.
constexpr f32 kOgreMeterWidth = 200.0f;

// The ship's shield when whole; each ogre it touches takes a point.
constexpr f32 kOgreShieldFull = 20.0f;

// The pointer (-1..1 over the screen) as the direction (x, y, 0, 0) taken back
// through the view-projection matrix the world was last drawn with.
vec3 OgrePointerTarget(const mat4& viewProjection, f32 x, f32 y);
// That direction as the point the ship steers to on its plane, 400 units
// out in x and y.
vec3 OgrePointerReach(vec3 target);
// The ship's step of one frame toward the target: the whole way within 8
// units, else 8 units, and beyond 50 units 8 x distance / 50.
vec3 OgreSteer(vec3 position, vec3 target);

// The ogres' movement types.
enum OgreMovement : u32 {
    kOgreStraight = 0,
    kOgreWavy = 1,
    kOgreHoming = 2,
    kOgreZigZag = 3,
};
// An ogre's position after one frame of its movement type; player is the
// ship's position, time the record's time. An unknown type stays put.
vec3 OgreMove(u32 movement, vec3 position, vec3 player, f32 speed, f32 deltaTime, f32 time);
// An ogre past the left edge has escaped.
bool OgreEscaped(vec3 position);

// Two objects touch when their distance is at most the sum of their radii.
bool OgreCollide(vec3 a, f32 radiusA, vec3 b, f32 radiusB);

// A star field's move in x this frame at its own speed, faster as the meter
// fills, with a per-frame boost above 0.85.
f32 OgreBackgroundStep(f32 speed, f32 meter, f32 deltaTime);
// The move that brings a field's picture at x back on the right once it has
// left on the left (x below -1000); 0 while it has not.
f32 OgreBackgroundWrap(f32 x);

// The keys the event poll latches: Return, Space and a (the key codes of the
// keyboard, which are their ASCII codes).
constexpr i32 kOgreKeyReturn = '\r';
constexpr i32 kOgreKeySpace = ' ';
constexpr i32 kOgreKeyA = 'a';
// An accepted key press sets its flag; any key release clears all three.
void OgreLatchKey(FrameInput* input, i32 key, bool pressed);
