#include "games/ogreblast/rules.h"

#include <cmath>

namespace {

const OgreWave kWaves[] = {
    {18000000, 15, 35, 75, kOgreMixedMovement}, {9000000, 10, 50, 100, kOgreHoming},
    {3000000, 10, 50, 100, kOgreZigZag},        {1000000, 7, 75, 120, kOgreWavy},
    {30000, 7, 75, 120, kOgreStraight},         {0, 5, 100, 100, kOgreStraight},
};

const f32 kWaveInterval = 5.0f;
const f32 kFireInterval = 0.1f;
const f32 kWaveHeight = 200.0f;
const f32 kPointsPerSecond = 600.0f;
const u32 kFullMeterPoints = 94378;
const f32 kMeterDrain = 0.1f;

const f32 kPointerReach = 400.0f;
const f32 kStep = 8.0f;
const f32 kFastBeyond = 50.0f;

const f32 kWaveAmplitude = 60.0f;
const f32 kWaveLength = 0.01f;
const f32 kHomingRange = 200.0f;
const f32 kHomingRate = 100.0f;
const i32 kZigZagShift = 100000;
const i32 kZigZagPeriod = 300;
const i32 kZigZagHalf = 150;
const f32 kEscapeX = -250.0f;

const f32 kBoostFrom = 0.85f;
const f32 kBoostScale = 5.0f;
const f32 kMeterSpeedUp = 5.0f;
const f32 kFieldLeftEnd = -1000.0f;
const f32 kFieldCycle = 2000.0f;

} // namespace

u32 OgreNextState(u32 state, const FrameInput& input) {
    switch (state) {
    case kOgreProlog:
        return input.keyReturn ? kOgreWelcome : state;
    case kOgreWelcome:
        return input.keySpace ? kOgrePlaying : state;
    case kOgreKillScreen:
        return input.keyReturn ? kOgrePlaying : state;
    default:
        return state;
    }
}

const OgreWave& OgreWaveFor(u32 score) {
    for (const OgreWave& wave : kWaves) {
        if (score >= wave.minimumScore) {
            return wave;
        }
    }
    return kWaves[sizeof kWaves / sizeof kWaves[0] - 1];
}

u32 OgreWaveMovement(const OgreWave& wave, u32 i) {
    return wave.movement == kOgreMixedMovement ? i % 4 : wave.movement;
}

bool OgreWaveDue(f32 time, f32 lastWaveTime) {
    return time - lastWaveTime > kWaveInterval;
}

bool OgreFireDue(const FrameInput& input, f32 lastShotTime) {
    return (input.keySpace || input.keyA) && input.time - lastShotTime > kFireInterval;
}

f32 OgreUnitRandom(int r) {
    return static_cast<f32>(r & 0x7fff) / 32767.0f;
}

f32 OgreWaveY(int r) {
    return (OgreUnitRandom(r) - 0.5f) * kWaveHeight;
}

// Computed in single precision, as the record holds it: 0.02 s gives 12.
u32 OgreFrameScore(f32 deltaTime) {
    f32 points = kPointsPerSecond * deltaTime;
    return points > 0 ? static_cast<u32>(points) : 0;
}

u32 OgreHitScore(f32 meterValue) {
    return meterValue >= 1.0f ? kFullMeterPoints : 0;
}

f32 OgreMeterAdd(f32 value, f32 amount) {
    f32 sum = value + amount;
    return sum < 0 ? 0 : (sum > 1 ? 1 : sum);
}

f32 OgreMeterDrain(f32 value, f32 deltaTime) {
    return OgreMeterAdd(value, -kMeterDrain * deltaTime);
}

vec3 OgrePointerTarget(const mat4& viewProjection, f32 x, f32 y) {
    mat4 inverse = viewProjection;
    inverse.invert();
    const f32* m = inverse.m;
    return vec3(m[0] * x + m[4] * y, m[1] * x + m[5] * y, m[2] * x + m[6] * y);
}

vec3 OgrePointerReach(vec3 target) {
    return vec3(target.x * kPointerReach, target.y * kPointerReach, target.z);
}

vec3 OgreSteer(vec3 position, vec3 target) {
    vec3 d = target - position;
    f32 distance = d.length();
    if (distance > kStep) {
        d = d * (kStep / distance);
    }
    if (distance > kFastBeyond) {
        d = d * (distance / kFastBeyond);
    }
    return d;
}

vec3 OgreMove(u32 movement, vec3 p, vec3 player, f32 speed, f32 deltaTime, f32 time) {
    f32 x = p.x - speed * deltaTime;
    switch (movement) {
    case kOgreStraight:
        return vec3(x, p.y, p.z);
    case kOgreWavy:
        return vec3(
            x, kWaveAmplitude * std::sin(kWaveLength * p.x) + kWaveAmplitude * std::sin(time), 0);
    case kOgreHoming: {
        f32 dy = p.x - player.x < kHomingRange ? (player.y - p.y) / kHomingRate : 0;
        return vec3(x, p.y + dy, p.z);
    }
    case kOgreZigZag: {
        i32 n = static_cast<i32>(p.x) + kZigZagShift;
        f32 dy = n % kZigZagPeriod <= kZigZagHalf ? 1.0f : -1.0f;
        return vec3(x, p.y + dy, p.z);
    }
    default:
        return p;
    }
}

bool OgreEscaped(vec3 position) {
    return position.x < kEscapeX;
}

bool OgreCollide(vec3 a, f32 radiusA, vec3 b, f32 radiusB) {
    return (a - b).length() <= radiusA + radiusB;
}

f32 OgreBackgroundStep(f32 speed, f32 meter, f32 deltaTime) {
    f32 boost = meter > kBoostFrom ? -std::exp(meter * meter) / std::exp(1.0f) : 0;
    return (speed * meter * kMeterSpeedUp + speed) * deltaTime + boost * kBoostScale;
}

f32 OgreBackgroundWrap(f32 x) {
    return x < kFieldLeftEnd ? kFieldCycle : 0;
}

void OgreLatchKey(FrameInput* input, i32 key, bool pressed) {
    if (!pressed) {
        input->keyA = 0;
        input->keySpace = 0;
        input->keyReturn = 0;
        return;
    }
    if (key == kOgreKeyReturn) {
        input->keyReturn = 1;
    } else if (key == kOgreKeySpace) {
        input->keySpace = 1;
    } else if (key == kOgreKeyA) {
        input->keyA = 1;
    }
}
