#pragma once

#include "engine/types.h"

// The fly-through's numbers and decisions, free of any scene.

// Asteroids appear this far ahead of the camera and fly toward it.
const f32 kSpawnDistance = 1000.0f;
const f32 kFlightSpeed = 50.0f; // units a second
const f32 kSpawnInterval = 0.1f;
// The field at start looks as if it had flown this long (200 spawns).
const f32 kPrefillSeconds = 20.0f;
const i32 kFirstLevel = 2;

// a + (15 random bits / 32767) * (b - a), from the C library generator.
f32 RandomRange(f32 a, f32 b);

// The next program-wide unique name: the counter, raised before each use
// (the first name uses 1), "_" and the stem, as in "3_asteroid".
void UniqueName(const char* stem, char* out, u32 size);

// The level of detail an asteroid takes at a distance ahead of the camera:
// 4 (16 voxels a side) within 400 units, 3 within 700; never lower than its
// level.
i32 RaisedLevel(i32 level, f32 ahead);

// True once an asteroid lies more than its size behind the camera.
bool HasPassed(f32 ahead, f32 size);

// True when the next spawn is due at this time; *nextSpawn moves on by the
// spawn interval from now.
bool SpawnDue(f32* nextSpawn, f32 time);
