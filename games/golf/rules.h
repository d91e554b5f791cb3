#pragma once

// The rules of the mini-golf game without any GL: the ball's motion, the
// walls, the hole, the level table and every press that changes the game's
// mode. The game objects call these functions each frame, so a test of this
// module tests the game's own rules.

#include "engine/frameinput.h"
#include "engine/types.h"

// The values of FrameInput::gameMode.
enum GolfMode : i32 { kGolfMenu = 0, kGolfPlaying = 1, kGolfCompleted = 2 };

struct GolfBall {
    f32 x, y, vx, vy, radius;
};

// A box wall: its centre and half sizes.
struct GolfWall {
    f32 x, y, halfWidth, halfHeight;
};

// A wall of the level table: centre and full sizes.
struct GolfWallSpec {
    f32 x, y, width, height;
};

// The level, its coordinates and sizes already multiplied by the layout
// scale 2.0.
constexpr f32 kGolfBallSize = 0.3f;
constexpr f32 kGolfBallStartX = -35.0f;
constexpr f32 kGolfBallStartY = 10.0f;
constexpr f32 kGolfHoleSize = 0.3f;
constexpr f32 kGolfHoleX = 40.0f;
constexpr f32 kGolfHoleY = -15.0f;
constexpr u32 kGolfWallCount = 7;
extern const GolfWallSpec kGolfWalls[kGolfWallCount];

// The sphere model's radius is 14 units; the hole takes a ball within 16.
constexpr f32 kGolfBallRadiusPerSize = 14.0f;
constexpr f32 kGolfCaptureRadiusPerSize = 16.0f;

f32 GolfDistance(f32 x1, f32 y1, f32 x2, f32 y2);
f32 GolfSpeed(const GolfBall& ball);
// +1 when a is at or beyond b, else -1: the side of a wall's centre line a
// ball is sent to.
f32 GolfSide(f32 a, f32 b);
GolfWall GolfWallOf(const GolfWallSpec& spec);

// One frame of rolling: friction divides the velocity by 1.01, a speed below
// 0.05 stops the ball, then the position moves by the velocity.
void GolfMove(GolfBall& ball);
// Sends a ball that touches the wall away from it, off a face or a corner.
// The position is never corrected.
void GolfBounce(const GolfWall& wall, GolfBall& ball);
// True when the ball is over the hole and slow enough to drop in.
bool GolfCaptures(f32 holeX, f32 holeY, f32 captureRadius, const GolfBall& ball);

// The game's own steps over the input record, one call a frame each.
//
// The corner menu button while playing, then the end of a used press once
// the pointer is up.
void GolfCornerButton(FrameInput* input);
// The ball's shot cycle while playing: aim on a press at rest, shoot on the
// release. True when the ball moves this frame.
bool GolfShotStep(FrameInput* input, GolfBall& ball);
// The hole ends the level when it captures the ball while playing.
void GolfHoleStep(FrameInput* input, f32 holeX, f32 holeY, f32 captureRadius, const GolfBall& ball);

enum GolfMenuChoice { kGolfMenuNone, kGolfMenuContinue, kGolfMenuRestart };
// The continue and restart boxes of the menu. After a restart the caller puts
// the ball back at its start.
GolfMenuChoice GolfMenuStep(FrameInput* input);
// Any press on the level-completed screen restarts: true when it does, and
// the caller then puts the ball back at its start.
bool GolfEndStep(FrameInput* input);

// A whole shot from the start of the level, simulated with the game's frame
// order: one frame with the pointer pressed at (pointerX, pointerY), then
// frames with it released there. True when the ball sinks within maxFrames
// frames after the release.
bool GolfShotSinks(f32 pointerX, f32 pointerY, u32 maxFrames);
