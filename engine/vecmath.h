#pragma once

#include "engine/types.h"

#include <cmath>

// Small float value types. Matrices are column-major: row r, column c of an
// n-by-n matrix lives at index c * n + r. The set() functions take their
// arguments row by row. Default construction leaves the values unset.

struct vec2 {
    f32 x, y;
    vec2() = default;
    vec2(f32 x_, f32 y_) : x(x_), y(y_) {}
};

struct vec3 {
    f32 x, y, z;
    vec3() = default;
    vec3(f32 x_, f32 y_, f32 z_) : x(x_), y(y_), z(z_) {}

    f32 length() const { return std::sqrt(x * x + y * y + z * z); }
    f32 lengthSquared() const { return x * x + y * y + z * z; }
    // No guard: a zero vector becomes non-finite.
    vec3& normalize() {
        f32 k = 1.0f / length();
        x *= k;
        y *= k;
        z *= k;
        return *this;
    }
    vec3 operator-() const { return vec3(-x, -y, -z); }
    vec3 operator-(const vec3& o) const { return vec3(x - o.x, y - o.y, z - o.z); }
    vec3 operator+(const vec3& o) const { return vec3(x + o.x, y + o.y, z + o.z); }
    vec3& operator+=(const vec3& o) {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    vec3 operator*(f32 s) const { return vec3(x * s, y * s, z * s); }
    vec3& operator*=(f32 s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    vec3 operator/(f32 s) const {
        f32 k = 1.0f / s;
        return vec3(x * k, y * k, z * k);
    }
    vec3& operator/=(const vec3& o) {
        x /= o.x;
        y /= o.y;
        z /= o.z;
        return *this;
    }
    vec3 cross(const vec3& o) const {
        return vec3(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x);
    }
    vec3& cross(vec3& into, const vec3& o) const {
        into = cross(o);
        return into;
    }
};

struct vec4 {
    f32 x, y, z, w;
    vec4() = default;
    vec4(f32 x_, f32 y_, f32 z_, f32 w_) : x(x_), y(y_), z(z_), w(w_) {}
    bool operator!=(const vec4& o) const { return x != o.x || y != o.y || z != o.z || w != o.w; }
};

struct mat3 {
    f32 m[9];
    mat3() = default;
    void set(f32 m00, f32 m01, f32 m02, f32 m10, f32 m11, f32 m12, f32 m20, f32 m21, f32 m22);
    mat3& identity();
    // out = this * other; out may be this or other.
    mat3& multiply(mat3& out, const mat3& other) const;
};

struct mat4 {
    f32 m[16];
    mat4() = default;
    void set(f32 m00, f32 m01, f32 m02, f32 m03, f32 m10, f32 m11, f32 m12, f32 m13, f32 m20,
             f32 m21, f32 m22, f32 m23, f32 m30, f32 m31, f32 m32, f32 m33);
    mat4& identity();
    // out = this * other; out may be this or other.
    mat4& multiply(mat4& out, const mat4& other) const;
    mat4& transpose();
    // In place; a singular matrix (determinant exactly 0) becomes the identity.
    mat4& invert();
};
