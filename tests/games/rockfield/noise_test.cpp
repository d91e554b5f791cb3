// The noise and the asteroid fill against values computed independently
// (the reference algorithm run in double precision, the fill's single
// precision steps rounded as the program rounds them).
#include "games/rockfield/density.h"
#include "games/rockfield/noise.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct NoiseCase {
    f64 x, y, z, noise;
};

TEST(AsteroidNoise, MatchesTheReferenceAlgorithm) {
    const NoiseCase cases[] = {
        {3.14, 42, 7, 0.13691995878400012},
        {1, 2, 3, 0},                             // a lattice point
        {0.5, 0.5, 0.5, -0.25},                   // a cell's centre
        {-1.5, -2.25, 0.75, -0.1928844451904297}, // negative coordinates
        {100.3, 7.7, -20.1, -0.3339284323591635},
        {255.9, 256.1, -0.01, -0.12333316348236124}, // across the table's wrap
    };
    for (const NoiseCase& c : cases) {
        EXPECT_NEAR(ImprovedNoise(c.x, c.y, c.z), c.noise, 1e-15)
            << c.x << " " << c.y << " " << c.z;
        EXPECT_NEAR(AsteroidNoise(c.x, c.y, c.z), (c.noise + 0.5) * 0.5, 1e-15);
    }
}

struct Voxel {
    i32 x, y, z, value;
};

struct FillCase {
    i32 level;
    vec3 offset;
    i32 sum, solid; // over the whole block
    std::vector<Voxel> voxels;
};

TEST(FillAsteroidBlock, MatchesTheReferenceFill) {
    const FillCase cases[] = {
        {3,
         vec3(17.25f, 3.5f, 100.75f),
         16162,
         15,
         {{4, 4, 4, 106}, {5, 5, 5, 164}, {2, 5, 6, 77}, {6, 6, 6, 143}, {1, 1, 1, 1}}},
        {4,
         vec3(200.5f, 0.125f, 64.0f),
         227669,
         141,
         {{4, 4, 4, 56},
          {5, 5, 5, 88},
          {6, 6, 6, 126},
          {1, 1, 1, 12},
          {8, 9, 10, 131},
          {13, 9, 9, 140},
          {9, 14, 9, 109}}},
    };
    for (const FillCase& c : cases) {
        i32 n = 1 << c.level;
        std::vector<u8> block(static_cast<size_t>(n) * n * n, 0xAB);
        FillAsteroidBlock(block.data(), c.level, c.offset);
        i32 sum = 0, solid = 0;
        for (u8 v : block) {
            sum += v;
            solid += v > 128 ? 1 : 0;
        }
        EXPECT_EQ(sum, c.sum) << "level " << c.level;
        EXPECT_EQ(solid, c.solid) << "level " << c.level;
        for (const Voxel& v : c.voxels) {
            EXPECT_EQ(block[v.x + n * (v.y + n * v.z)], v.value) << v.x << " " << v.y << " " << v.z;
        }
        // The outer layer stays empty.
        for (i32 a = 0; a < n; a++) {
            for (i32 b = 0; b < n; b++) {
                EXPECT_EQ(block[0 + n * (a + n * b)], 0);
                EXPECT_EQ(block[(n - 1) + n * (a + n * b)], 0);
                EXPECT_EQ(block[a + n * (0 + n * b)], 0);
                EXPECT_EQ(block[a + n * ((n - 1) + n * b)], 0);
                EXPECT_EQ(block[a + n * (b + n * 0)], 0);
                EXPECT_EQ(block[a + n * (b + n * (n - 1))], 0);
            }
        }
    }
}

// At 4 voxels a side no voxel can be solid, whatever the noise.
TEST(FillAsteroidBlock, FourVoxelsASideHoldNothingSolid) {
    for (f32 offset : {0.0f, 13.7f, 101.25f, 255.5f}) {
        u8 block[64];
        FillAsteroidBlock(block, 2, vec3(offset, offset * 0.5f, 256 - offset));
        for (u8 v : block) {
            EXPECT_LE(v, 128);
        }
    }
}

TEST(SolidCentroid, IsTheMeanOfTheSolidInteriorVoxels) {
    const i32 n = 6;
    std::vector<u8> block(n * n * n, 0);
    block[1 + n * (2 + n * 3)] = 200;
    block[3 + n * (4 + n * 1)] = 129;
    block[2 + n * (2 + n * 2)] = 128; // the iso-level itself is not solid
    vec3 c = SolidCentroid(block.data(), n);
    EXPECT_FLOAT_EQ(c.x, 2);
    EXPECT_FLOAT_EQ(c.y, 3);
    EXPECT_FLOAT_EQ(c.z, 2);
    std::vector<u8> empty(n * n * n, 0);
    vec3 none = SolidCentroid(empty.data(), n);
    EXPECT_EQ(none.x + none.y + none.z, 0);
}

} // namespace
