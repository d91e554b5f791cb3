#pragma once

#include "engine/types.h"
#include "tools/converter/records.h"

#include <string>

// A node's transform as COLLADA composes it: a 4x4 matrix of doubles that
// maps column vectors (row r, column c at m[r][c]), and its parting into the
// translation, rotation and scale of a node record.
struct Matrix4 {
    f64 m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

// a · b.
Matrix4 multiply(const Matrix4& a, const Matrix4& b);

// The matrices of COLLADA's transform elements: <translate> (x, y, z),
// <rotate> (axis x, y, z, then the angle in degrees), <scale> (x, y, z) and
// <matrix> (16 values, row by row).
Matrix4 translateMatrix(const f32* xyz);
Matrix4 rotateMatrix(const f32* axisAngleDegrees);
Matrix4 scaleMatrix(const f32* xyz);
Matrix4 rowsMatrix(const f32* rows);
// A turn about the axis (x, y, z) by angle radians; none for a zero axis.
Matrix4 turnMatrix(const f32* axis, f64 angle);

// The record's own transform, T · R · S of the parts it has (its rotation
// angle in radians).
Matrix4 recordMatrix(const NodeRecord& node);

// Sets the record's translation, rotation (radians) and scale to the parts of
// m. A matrix that is not a translation, a rotation and a scale (a shear, or
// a scale that is not uniform under a rotation) is given the nearest such
// parts: the length of each axis as its scale, the rotation nearest to the
// axes; false then, for the caller to warn of.
bool setRecordTransform(NodeRecord& node, const Matrix4& m);

// Warns on standard output when the record scales an axis to 0 (what it
// places is then flat, and its normals cannot be turned).
void warnIfFlat(const NodeRecord& node, const std::string& shown);
