#pragma once

#include "engine/types.h"

// Cell corners and edges in the published marching-cubes numbering, with y
// as the layer axis: corner i lies at the offset kCornerOffset[i] from the
// cell's lowest corner, and edge e runs from corner kEdgeCorners[e][0] to
// kEdgeCorners[e][1].
const i32 kCornerOffset[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1},
                                 {0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}};
const i32 kEdgeCorners[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                 {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};

// For each cube index, the edges that the surface crosses (bit e for edge e).
extern const u16 kEdgeTable[256];
// For each cube index, up to five triangles as edge numbers, -1 after the
// last.
extern const int8_t kTriangleTable[256][16];
