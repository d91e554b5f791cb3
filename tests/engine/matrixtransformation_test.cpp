#include "engine/matrixtransformation.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using MT = MatrixTransformation;

constexpr f32 kTolerance = 1e-4f;

void expectNear(const mat4& actual, const mat4& expected) {
    for (int i = 0; i < 16; i++) {
        EXPECT_NEAR(actual.m[i], expected.m[i], kTolerance) << "element " << i;
    }
}

mat4 inverseOf(mat4 m) {
    return m.invert();
}
mat4 transposeOf(mat4 m) {
    return m.transpose();
}
mat4 product(const mat4& a, const mat4& b) {
    mat4 out;
    a.multiply(out, b);
    return out;
}

// A camera frame and one node's world matrix, all invertible and distinct.
struct Frame : ::testing::Test {
    MT cache;
    mat4 view, projection, viewProjection, world, otherWorld;
    void SetUp() override {
        view.set(1, 0, 0, 1, 0, 0, -1, 2, 0, 1, 0, -5, 0, 0, 0, 1);
        projection.set(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, -1.2f, -2.2f, 0, 0, -1, 0);
        projection.multiply(viewProjection, view);
        world.set(2, 0, 0, 4, 0, 1, 0, 5, 0, 0, 3, 6, 0, 0, 0, 1);
        otherWorld.identity();
        otherWorld.m[12] = 9;
        cache.setMatrices(&view, &projection, &viewProjection, vec3(1, 2, 3), 1);
        cache.setWorld(&world);
    }
    // Resolves a program that declares only the given names.
    void declare(std::initializer_list<u32> names, const mat4* out[MT::kMatrixCount]) {
        i32 locations[MT::kMatrixCount];
        for (i32& l : locations) {
            l = -1;
        }
        i32 next = 0;
        for (u32 n : names) {
            locations[n] = next++;
        }
        cache.resolve(locations, out);
    }
};

TEST(MatrixNames, TheTwentyFourUniformNames) {
    EXPECT_STREQ(MT::getName(0), "View");
    EXPECT_STREQ(MT::getName(3), "ViewInverseTranspose");
    EXPECT_STREQ(MT::getName(7), "ProjectionInverseTranspose");
    EXPECT_STREQ(MT::getName(11), "ViewProjectionInverseTranspose");
    EXPECT_STREQ(MT::getName(12), "World");
    EXPECT_STREQ(MT::getName(17), "WorldViewInverse");
    EXPECT_STREQ(MT::getName(23), "WorldViewProjectionInverseTranspose");
    EXPECT_EQ(MT::getName(24), nullptr);
}

TEST(MatrixCache, StartsEmptyAndSafe) {
    MT cache;
    EXPECT_EQ(cache.getCameraPoolUsed(), 0u);
    EXPECT_EQ(cache.getWorldPoolUsed(), 0u);
    for (u32 i = 0; i < MT::kMatrixCount + 1; i++) {
        EXPECT_EQ(cache.getMatrix(i), nullptr) << i;
    }
    mat3 identity;
    identity.identity();
    EXPECT_EQ(std::memcmp(cache.normalMatrix.m, identity.m, sizeof identity.m), 0);
}

TEST_F(Frame, OneDeclaredDerivedNameDerivesOnlyWhatItNeeds) {
    const mat4* out[MT::kMatrixCount];
    declare({MT::kWorldView + 1}, out);
    for (u32 i = 0; i < MT::kMatrixCount; i++) {
        if (i != MT::kWorldView + 1) {
            EXPECT_EQ(out[i], nullptr) << i;
        }
    }
    ASSERT_NE(out[MT::kWorldView + 1], nullptr);
    expectNear(*out[MT::kWorldView + 1], inverseOf(product(view, world)));
    EXPECT_EQ(cache.getCameraPoolUsed(), 0u);
    EXPECT_EQ(cache.getWorldPoolUsed(), 2u); // WorldView, then its inverse
}

TEST_F(Frame, EveryNameHasItsValue) {
    const mat4* out[MT::kMatrixCount];
    i32 all[MT::kMatrixCount];
    for (u32 i = 0; i < MT::kMatrixCount; i++) {
        all[i] = static_cast<i32>(i);
    }
    cache.resolve(all, out);
    const mat4 bases[6] = {view,  projection,           viewProjection,
                           world, product(view, world), product(viewProjection, world)};
    for (u32 b = 0; b < 6; b++) {
        const mat4& base = bases[b];
        expectNear(*out[b * 4], base);
        expectNear(*out[b * 4 + 1], inverseOf(base));
        expectNear(*out[b * 4 + 2], transposeOf(base));
        expectNear(*out[b * 4 + 3], transposeOf(inverseOf(base)));
    }
    EXPECT_EQ(out[MT::kView], &view);
    EXPECT_EQ(out[MT::kWorld], &world);
}

TEST_F(Frame, PoolsNeverGrowBeyondTheirTwelveEntries) {
    for (int pass = 0; pass < 3; pass++) {
        for (u32 i = MT::kMatrixCount; i-- > 0;) {
            ASSERT_NE(cache.getMatrix(i), nullptr) << i;
        }
        EXPECT_EQ(cache.getCameraPoolUsed(), 9u);
        EXPECT_EQ(cache.getWorldPoolUsed(), 11u);
        EXPECT_LE(cache.getWorldPoolUsed(), MT::kPoolSize);
    }
}

TEST_F(Frame, TransposedInverseDerivesAndReusesTheInverse) {
    mat4* inverseTranspose = cache.getMatrix(MT::kView + 3);
    EXPECT_EQ(cache.getCameraPoolUsed(), 2u);
    mat4* inverse = cache.getMatrix(MT::kView + 1);
    EXPECT_EQ(cache.getCameraPoolUsed(), 2u);
    expectNear(*inverseTranspose, transposeOf(*inverse));
}

TEST_F(Frame, CameraMatricesOutliveANodeWorldMatricesDoNot) {
    mat4* viewInverse = cache.getMatrix(MT::kView + 1);
    mat4 first = *cache.getMatrix(MT::kWorldView);
    EXPECT_EQ(cache.getMatrix(MT::kWorldView), cache.getMatrix(MT::kWorldView));

    cache.resetWorld();
    EXPECT_EQ(cache.getWorld(), &world);
    cache.setWorld(&otherWorld);
    mat4 second = *cache.getMatrix(MT::kWorldView);
    expectNear(second, product(view, otherWorld));
    EXPECT_NE(std::memcmp(first.m, second.m, sizeof first.m), 0);
    EXPECT_EQ(cache.getMatrix(MT::kView + 1), viewInverse);
    EXPECT_EQ(cache.getCameraPoolUsed(), 1u);

    cache.setMatrices(&view, &projection, &viewProjection, vec3(0, 0, 0), 2);
    EXPECT_EQ(cache.getCameraPoolUsed(), 0u);
    EXPECT_EQ(cache.getWorldPoolUsed(), 0u);
    EXPECT_EQ(cache.getMatrix(MT::kWorld), nullptr);
    EXPECT_EQ(cache.getProjectionType(), 2u);
}

TEST_F(Frame, ASingularProjectionHasTheIdentityAsInverse) {
    mat4 flat;
    flat.identity();
    flat.m[10] = 0;
    cache.setMatrices(&view, &flat, &viewProjection, vec3(0, 0, 0), 0);
    mat4 identity;
    identity.identity();
    expectNear(*cache.getMatrix(MT::kProjection + 1), identity);
}

TEST_F(Frame, NoDeclaredNameDerivesNothing) {
    const mat4* out[MT::kMatrixCount];
    declare({}, out);
    for (const mat4* m : out) {
        EXPECT_EQ(m, nullptr);
    }
    EXPECT_EQ(cache.getCameraPoolUsed() + cache.getWorldPoolUsed(), 0u);
}

TEST_F(Frame, WithoutAWorldMatrixNothingWorldDerivedIsHandedOut) {
    cache.setWorld(nullptr);
    EXPECT_EQ(cache.getMatrix(MT::kWorldView), nullptr);
    EXPECT_EQ(cache.getMatrix(MT::kWorldViewProjection + 3), nullptr);
    EXPECT_EQ(cache.getMatrix(MT::kWorld + 1), nullptr);
    EXPECT_EQ(cache.getWorldPoolUsed(), 0u);
}

} // namespace
