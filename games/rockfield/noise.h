#pragma once

#include "engine/types.h"

// Ken Perlin's improved gradient noise in three dimensions (the 2002
// reference algorithm), in double precision; about -1..1.
f64 ImprovedNoise(f64 x, f64 y, f64 z);

// The noise as the asteroid density fill uses it: (noise + 0.5) * 0.5.
f64 AsteroidNoise(f64 x, f64 y, f64 z);
