#include "engine/vecmath.h"

#include <utility>

namespace {

template <int N> void multiplyInto(f32* out, const f32* a, const f32* b) {
    f32 r[N * N];
    for (int c = 0; c < N; c++) {
        for (int row = 0; row < N; row++) {
            f32 sum = 0.0f;
            for (int k = 0; k < N; k++) {
                sum += a[k * N + row] * b[c * N + k];
            }
            r[c * N + row] = sum;
        }
    }
    for (int i = 0; i < N * N; i++) {
        out[i] = r[i];
    }
}

f32 det2(f32 a, f32 b, f32 c, f32 d) {
    f32 r = a * d - b * c;
    return r;
}

} // namespace

void mat3::set(f32 m00, f32 m01, f32 m02, f32 m10, f32 m11, f32 m12, f32 m20, f32 m21, f32 m22) {
    f32 v[9] = {m00, m10, m20, m01, m11, m21, m02, m12, m22};
    for (int i = 0; i < 9; i++) {
        m[i] = v[i];
    }
}

mat3& mat3::identity() {
    set(1, 0, 0, 0, 1, 0, 0, 0, 1);
    return *this;
}

mat3& mat3::multiply(mat3& out, const mat3& other) const {
    multiplyInto<3>(out.m, m, other.m);
    return out;
}

void mat4::set(f32 m00, f32 m01, f32 m02, f32 m03, f32 m10, f32 m11, f32 m12, f32 m13, f32 m20,
               f32 m21, f32 m22, f32 m23, f32 m30, f32 m31, f32 m32, f32 m33) {
    f32 v[16] = {m00, m10, m20, m30, m01, m11, m21, m31, m02, m12, m22, m32, m03, m13, m23, m33};
    for (int i = 0; i < 16; i++) {
        m[i] = v[i];
    }
}

mat4& mat4::identity() {
    set(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    return *this;
}

mat4& mat4::multiply(mat4& out, const mat4& other) const {
    multiplyInto<4>(out.m, m, other.m);
    return out;
}

mat4& mat4::transpose() {
    for (int r = 0; r < 4; r++) {
        for (int c = r + 1; c < 4; c++) {
            std::swap(m[c * 4 + r], m[r * 4 + c]);
        }
    }
    return *this;
}

// Laplace expansion by the two row pairs: the 2x2 determinants of rows 0-1
// (s) and rows 2-3 (t) over the six column pairs.
mat4& mat4::invert() {
    const f32* a = m;
    auto e = [a](int r, int c) { return a[c * 4 + r]; };
    f32 s0 = det2(e(0, 0), e(0, 1), e(1, 0), e(1, 1));
    f32 s1 = det2(e(0, 0), e(0, 2), e(1, 0), e(1, 2));
    f32 s2 = det2(e(0, 0), e(0, 3), e(1, 0), e(1, 3));
    f32 s3 = det2(e(0, 1), e(0, 2), e(1, 1), e(1, 2));
    f32 s4 = det2(e(0, 1), e(0, 3), e(1, 1), e(1, 3));
    f32 s5 = det2(e(0, 2), e(0, 3), e(1, 2), e(1, 3));
    f32 c0 = det2(e(2, 0), e(2, 1), e(3, 0), e(3, 1));
    f32 c1 = det2(e(2, 0), e(2, 2), e(3, 0), e(3, 2));
    f32 c2 = det2(e(2, 0), e(2, 3), e(3, 0), e(3, 3));
    f32 c3 = det2(e(2, 1), e(2, 2), e(3, 1), e(3, 2));
    f32 c4 = det2(e(2, 1), e(2, 3), e(3, 1), e(3, 3));
    f32 c5 = det2(e(2, 2), e(2, 3), e(3, 2), e(3, 3));

    f32 det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (det == 0.0f) {
        return identity();
    }
    mat4 src = *this;
    auto x = [&src](int r, int c) { return src.m[c * 4 + r]; };
    f32 k = 1.0f / det;
    set((x(1, 1) * c5 - x(1, 2) * c4 + x(1, 3) * c3) * k,
        (-x(0, 1) * c5 + x(0, 2) * c4 - x(0, 3) * c3) * k,
        (x(3, 1) * s5 - x(3, 2) * s4 + x(3, 3) * s3) * k,
        (-x(2, 1) * s5 + x(2, 2) * s4 - x(2, 3) * s3) * k,
        (-x(1, 0) * c5 + x(1, 2) * c2 - x(1, 3) * c1) * k,
        (x(0, 0) * c5 - x(0, 2) * c2 + x(0, 3) * c1) * k,
        (-x(3, 0) * s5 + x(3, 2) * s2 - x(3, 3) * s1) * k,
        (x(2, 0) * s5 - x(2, 2) * s2 + x(2, 3) * s1) * k,
        (x(1, 0) * c4 - x(1, 1) * c2 + x(1, 3) * c0) * k,
        (-x(0, 0) * c4 + x(0, 1) * c2 - x(0, 3) * c0) * k,
        (x(3, 0) * s4 - x(3, 1) * s2 + x(3, 3) * s0) * k,
        (-x(2, 0) * s4 + x(2, 1) * s2 - x(2, 3) * s0) * k,
        (-x(1, 0) * c3 + x(1, 1) * c1 - x(1, 2) * c0) * k,
        (x(0, 0) * c3 - x(0, 1) * c1 + x(0, 2) * c0) * k,
        (-x(3, 0) * s3 + x(3, 1) * s1 - x(3, 2) * s0) * k,
        (x(2, 0) * s3 - x(2, 1) * s1 + x(2, 2) * s0) * k);
    return *this;
}
