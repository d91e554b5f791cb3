#include "tools/converter/transform.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr f64 kPi = 3.14159265358979323846;
// Axes whose directions differ from a right angle by less than this (as the
// cosine between them) count as square to each other.
constexpr f64 kSquare = 1e-4;

using Matrix3 = f64[3][3];

f64 dot(const f64* a, const f64* b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void cross(const f64* a, const f64* b, f64* out) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

bool normalise(f64* v) {
    f64 length = std::sqrt(dot(v, v));
    if (!(length > 0)) {
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        v[i] /= length;
    }
    return true;
}

// The rotation axis and angle (radians) of the rotation matrix r (row by row).
void axisAngle(const Matrix3& r, f32* rotation) {
    f64 angle = std::acos(std::clamp((r[0][0] + r[1][1] + r[2][2] - 1) / 2, -1.0, 1.0));
    f64 axis[3] = {r[2][1] - r[1][2], r[0][2] - r[2][0], r[1][0] - r[0][1]};
    if (angle < 1e-6) {
        axis[0] = axis[1] = 0; // no turn: any axis
        axis[2] = 1;
    } else if (angle > kPi - 1e-3) {
        // Near a half turn the differences vanish: the axis comes from the
        // diagonal, the signs from the row of its largest component.
        int big = 0;
        for (int i = 0; i < 3; ++i) {
            axis[i] = std::sqrt(std::max(0.0, (r[i][i] + 1) / 2));
            big = axis[i] > axis[big] ? i : big;
        }
        for (int i = 0; i < 3; ++i) {
            axis[i] = i == big ? axis[i] : std::copysign(axis[i], r[big][i] + r[i][big]);
        }
    }
    f64 length = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
    for (int i = 0; i < 3; ++i) {
        rotation[i] = static_cast<f32>(axis[i] / length);
    }
    rotation[3] = static_cast<f32>(angle);
}

// Columns (axes) of a 3x3 matrix kept as three vectors.
struct Axes {
    f64 axis[3][3];
};

// Sets the two axes after axis i (in turn) to unit axes square to it and to
// each other, keeping the whole right-handed.
void completeFrom(Axes& a, int i) {
    const f64* given = a.axis[i];
    int least = 0;
    for (int k = 1; k < 3; ++k) {
        least = std::fabs(given[k]) < std::fabs(given[least]) ? k : least;
    }
    f64* next = a.axis[(i + 1) % 3];
    for (int k = 0; k < 3; ++k) {
        next[k] = (k == least ? 1 : 0) - given[least] * given[k];
    }
    normalise(next);
    cross(given, next, a.axis[(i + 2) % 3]);
}

// Fills the axes flagged empty (each the unit axis of its place so far) with
// unit axes square to the others, keeping the whole right-handed.
void fillEmptyAxes(Axes& a, const bool* empty) {
    int given = 0, last = 0;
    for (int c = 0; c < 3; ++c) {
        if (!empty[c]) {
            ++given;
            last = c;
        }
    }
    if (given == 1) {
        completeFrom(a, last);
        return;
    }
    for (int c = 0; c < 3 && given == 2; ++c) {
        if (empty[c]) {
            cross(a.axis[(c + 1) % 3], a.axis[(c + 2) % 3], a.axis[c]);
            if (!normalise(a.axis[c])) {
                completeFrom(a, (c + 1) % 3);
            }
        }
    }
}

f64 determinant(const Axes& a) {
    f64 c[3];
    cross(a.axis[1], a.axis[2], c);
    return dot(a.axis[0], c);
}

bool squareAxes(const Axes& a) {
    for (int i = 0; i < 3; ++i) {
        for (int j = i + 1; j < 3; ++j) {
            if (std::fabs(dot(a.axis[i], a.axis[j])) > kSquare) {
                return false;
            }
        }
    }
    return true;
}

// The rotation nearest to the unit axes a (of positive determinant): the
// orthogonal part of their polar decomposition, X <- (X + X^-T) / 2.
void nearestRotation(Axes& a) {
    if (determinant(a) < 1e-6) {
        // Axes that nearly lie in a plane: square them in turn instead.
        f64 along = dot(a.axis[1], a.axis[0]);
        for (int i = 0; i < 3; ++i) {
            a.axis[1][i] -= along * a.axis[0][i];
        }
        if (normalise(a.axis[1])) {
            cross(a.axis[0], a.axis[1], a.axis[2]);
        } else {
            completeFrom(a, 0);
        }
        return;
    }
    for (int step = 0; step < 100; ++step) {
        // The inverse transpose of X by its cofactors: column i is
        // (axis j x axis k) / det.
        f64 det = determinant(a);
        Axes next;
        f64 change = 0;
        for (int i = 0; i < 3; ++i) {
            f64 c[3];
            cross(a.axis[(i + 1) % 3], a.axis[(i + 2) % 3], c);
            for (int r = 0; r < 3; ++r) {
                next.axis[i][r] = (a.axis[i][r] + c[r] / det) / 2;
                change = std::max(change, std::fabs(next.axis[i][r] - a.axis[i][r]));
            }
        }
        a = next;
        if (change < 1e-15) {
            break;
        }
    }
}

const std::string& warnName(const std::string& shown) {
    static const std::string unnamed = "(unnamed)";
    return shown.empty() ? unnamed : shown;
}

} // namespace

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 out;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            f64 sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[r][k] * b.m[k][c];
            }
            out.m[r][c] = sum;
        }
    }
    return out;
}

Matrix4 translateMatrix(const f32* xyz) {
    Matrix4 out;
    for (int r = 0; r < 3; ++r) {
        out.m[r][3] = xyz[r];
    }
    return out;
}

Matrix4 rotateMatrix(const f32* axisAngleDegrees) {
    return turnMatrix(axisAngleDegrees, static_cast<f64>(axisAngleDegrees[3]) * kPi / 180);
}

Matrix4 turnMatrix(const f32* axisXyz, f64 angle) {
    Matrix4 out;
    f64 axis[3] = {axisXyz[0], axisXyz[1], axisXyz[2]};
    if (!normalise(axis)) {
        return out; // no axis: no turn
    }
    f64 c = std::cos(angle), s = std::sin(angle), t = 1 - c;
    f64 x = axis[0], y = axis[1], z = axis[2];
    const f64 rows[3][3] = {
        {t * x * x + c, t * x * y - s * z, t * x * z + s * y},
        {t * x * y + s * z, t * y * y + c, t * y * z - s * x},
        {t * x * z - s * y, t * y * z + s * x, t * z * z + c},
    };
    for (int r = 0; r < 3; ++r) {
        std::copy(rows[r], rows[r] + 3, out.m[r]);
    }
    return out;
}

Matrix4 scaleMatrix(const f32* xyz) {
    Matrix4 out;
    for (int i = 0; i < 3; ++i) {
        out.m[i][i] = xyz[i];
    }
    return out;
}

Matrix4 rowsMatrix(const f32* rows) {
    Matrix4 out;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out.m[r][c] = rows[r * 4 + c];
        }
    }
    return out;
}

Matrix4 recordMatrix(const NodeRecord& node) {
    Matrix4 out;
    if (node.hasTranslation) {
        out = translateMatrix(node.translation);
    }
    if (node.hasRotation) {
        out = multiply(out, turnMatrix(node.rotation, node.rotation[3]));
    }
    if (node.hasScale) {
        out = multiply(out, scaleMatrix(node.scale));
    }
    return out;
}

void warnIfFlat(const NodeRecord& node, const std::string& shown) {
    const f32* s = node.scale;
    if (node.hasScale && (s[0] == 0 || s[1] == 0 || s[2] == 0)) {
        std::printf("Warning: node %s: its transform scales an axis to 0, so what it places is "
                    "flat\n",
                    warnName(shown).c_str());
    }
}

bool setRecordTransform(NodeRecord& node, const Matrix4& m) {
    Axes axes;
    f64 scale[3];
    bool empty[3];
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            axes.axis[c][r] = m.m[r][c];
        }
        scale[c] = std::sqrt(dot(axes.axis[c], axes.axis[c]));
        empty[c] = scale[c] == 0;
    }
    if (determinant(axes) < 0) {
        scale[0] = -scale[0]; // a mirror turns into a negative scale
    }
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            axes.axis[c][r] = empty[c] ? (r == c ? 1 : 0) : axes.axis[c][r] / scale[c];
        }
    }
    if (empty[0] || empty[1] || empty[2]) {
        fillEmptyAxes(axes, empty);
    }
    bool exact = squareAxes(axes);
    if (!exact) {
        nearestRotation(axes);
    }
    Matrix3 rotation;
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            rotation[r][c] = axes.axis[c][r];
        }
        node.scale[c] = static_cast<f32>(scale[c]);
        node.translation[c] = static_cast<f32>(m.m[c][3]);
    }
    axisAngle(rotation, node.rotation);
    node.hasTranslation = node.hasRotation = node.hasScale = true;
    return exact;
}
