#pragma once

#include "engine/types.h"
#include "engine/vecmath.h"

// Fills the n x n x n block of an asteroid, n = 2^level: the outer layer 0,
// each interior voxel p a noise-shaped density that falls from the ball's
// centre to 0 at its rim. With q = p - (1, 1, 1), centre (n/2, n/2, n/2) and
// limit (n - 1)^2: where |centre - q|^2 <= limit the voxel is
// (1 - sqrt(d^2 / limit)) * (r * 0.5 + 0.5) * 255 truncated, r the asteroid
// noise at q / n * 4 + offset; elsewhere 0.
void FillAsteroidBlock(u8* block, i32 level, vec3 offset);

// The same ball on any n >= 3 with the noise sampled every noiseStep
// (FillAsteroidBlock's step is 4 / n).
void FillNoiseBall(u8* block, i32 n, f32 noiseStep, vec3 offset);

// The mean position of the interior voxels above 128; the origin when none
// is.
vec3 SolidCentroid(u8* block, i32 n);
