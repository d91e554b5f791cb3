#include "engine/vecmath.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

mat4 sample() {
    mat4 m;
    m.set(2, 0, 1, 3, 1, 3, 0, -1, 0, 1, 4, 2, 0, 0, 0, 1);
    return m;
}

void expectNear(const mat4& a, const mat4& b, float eps) {
    for (int i = 0; i < 16; i++) {
        EXPECT_NEAR(a.m[i], b.m[i], eps) << "element " << i;
    }
}

TEST(Vec3, CrossProducts) {
    vec3 x(1, 0, 0), y(0, 1, 0);
    vec3 z = x.cross(y);
    EXPECT_EQ(z.x, 0);
    EXPECT_EQ(z.y, 0);
    EXPECT_EQ(z.z, 1);
    vec3 into(9, 9, 9);
    vec3& r = y.cross(into, x);
    EXPECT_EQ(&r, &into);
    EXPECT_EQ(into.z, -1);
    vec3 self = vec3(3, -2, 5).cross(vec3(3, -2, 5));
    EXPECT_EQ(self.lengthSquared(), 0);
}

TEST(Vec3, NormalizeAndDivide) {
    vec3 v(3, 0, 4);
    EXPECT_FLOAT_EQ(v.length(), 5);
    v.normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);
    vec3 zero(0, 0, 0);
    zero.normalize();
    EXPECT_FALSE(std::isfinite(zero.x));
    vec3 d = vec3(3, 6, 9) / 3.0f;
    EXPECT_FLOAT_EQ(d.y, 6.0f * (1.0f / 3.0f));
    vec3 q(8, 6, 4);
    q /= vec3(2, 3, 4);
    EXPECT_EQ(q.x, 4);
    EXPECT_EQ(q.y, 2);
    EXPECT_EQ(q.z, 1);
}

TEST(Vec4, InequalityLooksAtEveryComponent) {
    vec4 a(1, 2, 3, 4);
    EXPECT_FALSE(a != vec4(1, 2, 3, 4));
    EXPECT_TRUE(a != vec4(1, 2, 3, 5));
    EXPECT_TRUE(a != vec4(0, 2, 3, 4));
}

TEST(Matrix, SetTakesRowsAndStoresColumns) {
    mat3 a;
    a.set(1, 2, 3, 4, 5, 6, 7, 8, 9);
    EXPECT_EQ(a.m[3], 2); // row 0, column 1
    EXPECT_EQ(a.m[1], 4); // row 1, column 0
    mat4 b;
    b.set(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    EXPECT_EQ(b.m[4], 2);
    EXPECT_EQ(b.m[12], 4); // translation column
    b.transpose();
    EXPECT_EQ(b.m[4], 5);
    EXPECT_EQ(b.m[12], 13);
}

TEST(Matrix, MultiplyMayAliasEitherOperand) {
    mat4 a = sample();
    mat4 b;
    b.set(1, 2, 0, 0, 0, 1, 0, 5, 3, 0, 1, 0, 0, 0, 0, 1);
    mat4 separate;
    a.multiply(separate, b);
    EXPECT_EQ(separate.m[0], 2 * 1 + 0 * 0 + 1 * 3 + 3 * 0); // row 0 . column 0

    mat4 intoThis = a;
    intoThis.multiply(intoThis, b);
    mat4 intoOther = b;
    a.multiply(intoOther, intoOther);
    for (int i = 0; i < 16; i++) {
        EXPECT_EQ(intoThis.m[i], separate.m[i]);
        EXPECT_EQ(intoOther.m[i], separate.m[i]);
    }

    mat3 c, d, out;
    c.set(1, 2, 3, 0, 1, 4, 5, 6, 0);
    d.set(-24, 18, 5, 20, -15, -4, -5, 4, 1); // the inverse of c
    c.multiply(out, d);
    mat3 id;
    id.identity();
    for (int i = 0; i < 9; i++) {
        EXPECT_EQ(out.m[i], id.m[i]);
    }
    c.multiply(c, d);
    for (int i = 0; i < 9; i++) {
        EXPECT_EQ(c.m[i], id.m[i]);
    }
}

TEST(Matrix, InvertGivesTheInverse) {
    mat4 a = sample();
    mat4 inv = a;
    inv.invert();
    mat4 product, id;
    a.multiply(product, inv);
    expectNear(product, id.identity(), 1e-5f);

    mat4 t;
    t.set(1, 0, 0, 5, 0, 1, 0, -2, 0, 0, 1, 7, 0, 0, 0, 1);
    t.invert();
    EXPECT_FLOAT_EQ(t.m[12], -5);
    EXPECT_FLOAT_EQ(t.m[13], 2);
    EXPECT_FLOAT_EQ(t.m[14], -7);
}

TEST(Matrix, SingularInvertBecomesIdentity) {
    mat4 s;
    s.set(1, 2, 3, 4, 2, 4, 6, 8, 0, 1, 0, 1, 5, 5, 5, 5);
    s.invert();
    mat4 id;
    expectNear(s, id.identity(), 0.0f);
}

} // namespace
