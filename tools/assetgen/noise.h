#pragma once

#include <cstdint>

// Value noise that repeats: random values on a period x period lattice,
// blended smoothly, so that a picture made from it tiles without a seam.
// (u, v) are fractions of the picture; results lie in 0..1.
float TileNoise(float u, float v, int period, uint32_t seed);
// Octaves of TileNoise, each with twice the period and half the weight.
float TileFractal(float u, float v, int period, int octaves, uint32_t seed);
// A pseudo-random number in 0..1 for an integer key.
float HashUnit(uint32_t key, uint32_t seed);
