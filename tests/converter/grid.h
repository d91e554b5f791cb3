#pragma once

// Generated grid models, large enough to need several engine meshes: a
// square of columns x rows positions (x, y, 0) at whole numbers, two
// triangles a cell.
#include <array>
#include <set>
#include <string>
#include <vector>

// A triangle's corner positions, in its corner order.
using Triangle = std::array<float, 9>;

// The grid as an OBJ model.
std::string GridObj(int columns, int rows);

// The grid as a COLLADA document: the geometry "grid" (id "grid-mesh") holds
// the grid's triangles, then a second <triangles> of the one triangle
// SpareTriangle(); both use the material "m". Each of the translations gives
// a node at the top of the scene that places the geometry there.
std::string GridDae(int columns, int rows, const std::vector<float>& translations);

std::multiset<Triangle> GridTriangles(int columns, int rows);
Triangle SpareTriangle();
