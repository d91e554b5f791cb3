#include "games/golf/rules.h"

#include <cmath>

const GolfWallSpec kGolfWalls[kGolfWallCount] = {
    {0, 30, 100, 10},  {0, -30, 100, 10}, {55, 0, 10, 70}, {-55, 0, 10, 70},
    {-20, 10, 10, 30}, {25, -15, 10, 20}, {25, 10, 10, 8},
};

namespace {

const f32 kFriction = 1.01f;
const f32 kStopSpeed = 0.05f;
const f32 kShotStrength = 4.0f;
const f32 kCaptureSpeed = 0.5f;

// The corner button and the menu boxes, in pointer units; all bounds strict.
const f32 kCornerButton = 0.9f;
const f32 kBoxHalfWidth = 0.75f;
const f32 kContinueBottom = 0.1f;
const f32 kContinueTop = 0.6f;
const f32 kRestartBottom = -0.7f;
const f32 kRestartTop = -0.25f;

f32 awayFrom(f32 a, f32 b) {
    return a > b ? 1.0f : -1.0f;
}

bool overlaps(const GolfWall& wall, const GolfBall& ball) {
    return wall.x - wall.halfWidth < ball.x + ball.radius &&
           wall.x + wall.halfWidth > ball.x - ball.radius &&
           wall.y - wall.halfHeight < ball.y + ball.radius &&
           wall.y + wall.halfHeight > ball.y - ball.radius;
}

// A fresh press: the pointer is down and the press has not changed a mode.
bool freshPress(const FrameInput* input) {
    return input->pointerDown != 0 && input->pressConsumed == 0;
}

bool inside(f32 value, f32 low, f32 high) {
    return low < value && value < high;
}

void restart(FrameInput* input) {
    input->gameMode = kGolfPlaying;
    input->pressConsumed = 1;
    input->shotCount = 0;
}

// One frame of play in the game's object order, without drawing: the menu
// and the level-completed screen have nothing to do while the shot rolls.
void simulateFrame(FrameInput* input, GolfBall& ball) {
    GolfCornerButton(input);
    if (GolfShotStep(input, ball)) {
        GolfMove(ball);
    }
    GolfHoleStep(input, kGolfHoleX, kGolfHoleY, kGolfCaptureRadiusPerSize * kGolfHoleSize, ball);
    for (const GolfWallSpec& spec : kGolfWalls) {
        GolfBounce(GolfWallOf(spec), ball);
    }
}

} // namespace

f32 GolfDistance(f32 x1, f32 y1, f32 x2, f32 y2) {
    return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
}

f32 GolfSpeed(const GolfBall& ball) {
    return GolfDistance(ball.vx, ball.vy, 0, 0);
}

f32 GolfSide(f32 a, f32 b) {
    return a >= b ? 1.0f : -1.0f;
}

GolfWall GolfWallOf(const GolfWallSpec& spec) {
    return {spec.x, spec.y, spec.width / 2, spec.height / 2};
}

void GolfMove(GolfBall& ball) {
    ball.vx /= kFriction;
    ball.vy /= kFriction;
    if (GolfSpeed(ball) < kStopSpeed) {
        ball.vx = 0;
        ball.vy = 0;
    }
    ball.x += ball.vx;
    ball.y += ball.vy;
}

void GolfBounce(const GolfWall& wall, GolfBall& ball) {
    if (!overlaps(wall, ball)) {
        return;
    }
    if (inside(ball.x, wall.x - wall.halfWidth, wall.x + wall.halfWidth)) {
        ball.vy = GolfSide(ball.y, wall.y) * std::fabs(ball.vy);
        return;
    }
    if (inside(ball.y, wall.y - wall.halfHeight, wall.y + wall.halfHeight)) {
        ball.vx = GolfSide(ball.x, wall.x) * std::fabs(ball.vx);
        return;
    }
    f32 cornerX = ball.x < wall.x ? wall.x - wall.halfWidth : wall.x + wall.halfWidth;
    f32 cornerY = ball.y < wall.y ? wall.y - wall.halfHeight : wall.y + wall.halfHeight;
    if (GolfDistance(ball.x, ball.y, cornerX, cornerY) < ball.radius) {
        f32 speedX = std::fabs(ball.vx);
        ball.vx = awayFrom(ball.x, wall.x) * std::fabs(ball.vy);
        ball.vy = awayFrom(ball.y, wall.y) * speedX;
    }
}

bool GolfCaptures(f32 holeX, f32 holeY, f32 captureRadius, const GolfBall& ball) {
    return GolfDistance(ball.x, ball.y, holeX, holeY) < captureRadius &&
           GolfSpeed(ball) < kCaptureSpeed;
}

void GolfCornerButton(FrameInput* input) {
    if (input->gameMode == kGolfPlaying && input->pointerX > kCornerButton &&
        input->pointerY > kCornerButton && freshPress(input)) {
        input->gameMode = kGolfMenu;
        input->pressConsumed = 1;
        // A shot being aimed when the pointer reaches the button is dropped,
        // so that the press that leaves the menu does not fire it.
        input->aiming = 0;
    }
    if (input->pointerDown == 0) {
        input->pressConsumed = 0;
    }
}

bool GolfShotStep(FrameInput* input, GolfBall& ball) {
    if (input->gameMode != kGolfPlaying) {
        return false;
    }
    if (!freshPress(input)) {
        if (input->aiming != 0) {
            ball.vx = kShotStrength * input->pointerX;
            ball.vy = kShotStrength * input->pointerY;
            input->aiming = 0;
            input->shotCount += 1;
        }
        return true;
    }
    if (GolfSpeed(ball) == 0) {
        input->aiming = 1;
        return false;
    }
    return input->aiming == 0;
}

void GolfHoleStep(FrameInput* input, f32 holeX, f32 holeY, f32 captureRadius,
                  const GolfBall& ball) {
    if (input->gameMode == kGolfPlaying && GolfCaptures(holeX, holeY, captureRadius, ball)) {
        input->gameMode = kGolfCompleted;
    }
}

GolfMenuChoice GolfMenuStep(FrameInput* input) {
    if (input->gameMode != kGolfMenu || !freshPress(input) ||
        !inside(input->pointerX, -kBoxHalfWidth, kBoxHalfWidth)) {
        return kGolfMenuNone;
    }
    if (inside(input->pointerY, kContinueBottom, kContinueTop)) {
        input->gameMode = kGolfPlaying;
        input->pressConsumed = 1;
        return kGolfMenuContinue;
    }
    if (inside(input->pointerY, kRestartBottom, kRestartTop)) {
        restart(input);
        return kGolfMenuRestart;
    }
    return kGolfMenuNone;
}

bool GolfEndStep(FrameInput* input) {
    if (input->gameMode != kGolfCompleted || !freshPress(input)) {
        return false;
    }
    restart(input);
    return true;
}

bool GolfShotSinks(f32 pointerX, f32 pointerY, u32 maxFrames) {
    GolfBall ball = {kGolfBallStartX, kGolfBallStartY, 0, 0,
                     kGolfBallRadiusPerSize * kGolfBallSize};
    FrameInput input{};
    input.gameMode = kGolfPlaying;
    input.pointerX = pointerX;
    input.pointerY = pointerY;
    input.pointerDown = 1;
    simulateFrame(&input, ball);
    input.pointerDown = 0;
    for (u32 frame = 0; frame < maxFrames; frame++) {
        simulateFrame(&input, ball);
        if (input.gameMode == kGolfCompleted) {
            return true;
        }
        if (input.gameMode != kGolfPlaying || GolfSpeed(ball) == 0) {
            return false;
        }
    }
    return false;
}
