#include "games/rockfield/voxelblock.h"

#include "games/rockfield/mctables.h"

#include <cmath>

namespace {

const i32 kIsoLevel = 128;

// The doubled midpoint of each edge relative to the cell's lowest corner:
// the sum of its two corner offsets.
struct EdgeMidpoints {
    ivec3 offset[12];
    EdgeMidpoints() {
        for (i32 e = 0; e < 12; e++) {
            const i32* a = kCornerOffset[kEdgeCorners[e][0]];
            const i32* b = kCornerOffset[kEdgeCorners[e][1]];
            offset[e] = {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
        }
    }
};

const EdgeMidpoints kMidpoints;

ivec3 cornerOf(ivec3 cell, i32 corner) {
    const i32* d = kCornerOffset[corner];
    return {cell.x + d[0], cell.y + d[1], cell.z + d[2]};
}

f32 component(const vec3& v, i32 axis) {
    return axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
}

void setComponent(vec3* v, i32 axis, f32 value) {
    (axis == 0 ? v->x : (axis == 1 ? v->y : v->z)) = value;
}

i32 component(const ivec3& v, i32 axis) {
    return axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
}

// One pass of marching cubes over a cubic block. The vertex of a grid edge
// is looked up by the edge's lower corner and axis in two layers of numbers,
// the layer of the cells' lower z and the one above it: the walk never comes
// back to a layer below, so the two are enough to share every vertex.
class Mesher {
  public:
    Mesher(const u8* block, i32 n, std::vector<f32>* vertices, std::vector<u32>* indices)
        : block(block), n(n), layerSize(static_cast<size_t>(n) * n * 3),
          numbers(2 * layerSize, 0), firstFresh{1, 1}, vertices(vertices), indices(indices) {
        for (i32 c = 0; c < 8; c++) {
            const i32* d = kCornerOffset[c];
            cornerStep[c] = d[0] + n * (d[1] + n * d[2]);
        }
    }

    void run() {
        for (i32 z = 1; z < n - 1; z++) {
            // The layer below z held the edges of z - 1, which no cell reads
            // again; it now takes those of z + 1, and every number it holds
            // from before counts as absent.
            firstFresh[(z + 1) & 1] = count + 1;
            for (i32 y = 1; y < n - 1; y++) {
                walkRow(y, z);
            }
        }
    }

  private:
    // The cells of one row, x rising. The solid bits of a cell's four corners
    // at x + 1 (corners 1, 2, 5, 6) are those at x of the next cell (corners
    // 0, 3, 4, 7), so each cell reads four voxels to find its cube index.
    void walkRow(i32 y, i32 z) {
        const u8* below = block + static_cast<size_t>(n) * (y + static_cast<size_t>(z) * n);
        const u8* above = below + n;                           // y + 1
        const u8* behind = below + static_cast<size_t>(n) * n; // z + 1
        const u8* aboveBehind = behind + n;                    // y + 1, z + 1
        u32 low = solid(below[1]) | solid(behind[1]) << 3 | solid(above[1]) << 4 |
                  solid(aboveBehind[1]) << 7;
        for (i32 x = 1; x < n - 1; x++) {
            u32 high = solid(below[x + 1]) << 1 | solid(behind[x + 1]) << 2 |
                       solid(above[x + 1]) << 5 | solid(aboveBehind[x + 1]) << 6;
            u32 cube = low | high;
            if (kEdgeTable[cube] != 0) {
                meshCell({x, y, z}, cube, below + x);
            }
            low = (high & 0x22u) >> 1 | (high & 0x44u) << 1;
        }
    }

    static u32 solid(u8 value) { return value > kIsoLevel ? 1u : 0u; }

    i32 value(ivec3 p) const {
        bool inside = static_cast<u32>(p.x) < static_cast<u32>(n) &&
                      static_cast<u32>(p.y) < static_cast<u32>(n) &&
                      static_cast<u32>(p.z) < static_cast<u32>(n);
        return inside ? block[p.x + n * (p.y + n * p.z)] : 0;
    }

    // Central differences, from dense to empty: outward.
    vec3 gradient(ivec3 p) const {
        return vec3(static_cast<f32>(value({p.x - 1, p.y, p.z}) - value({p.x + 1, p.y, p.z})),
                    static_cast<f32>(value({p.x, p.y - 1, p.z}) - value({p.x, p.y + 1, p.z})),
                    static_cast<f32>(value({p.x, p.y, p.z - 1}) - value({p.x, p.y, p.z + 1})));
    }

    void meshCell(ivec3 cell, u32 cube, const u8* p) {
        i32 v[8];
        for (i32 c = 0; c < 8; c++) {
            v[c] = p[cornerStep[c]];
        }
        for (const int8_t* e = kTriangleTable[cube]; *e != -1; e++) {
            indices->push_back(vertexOn(cell, *e, v) - 1);
        }
    }

    // The number of the edge's vertex, made on first use.
    u32 vertexOn(ivec3 cell, i32 edge, const i32 v[8]) {
        ivec3 key = (cell << 1) + kMidpoints.offset[edge];
        ivec3 lower = key >> 1;
        i32 axis = (key.x & 1) != 0 ? 0 : ((key.y & 1) != 0 ? 1 : 2);
        u32& number = numbers[static_cast<size_t>(lower.z & 1) * layerSize +
                              (static_cast<size_t>(lower.y) * n + lower.x) * 3 + axis];
        if (number < firstFresh[lower.z & 1]) {
            number = ++count;
            addVertex(cell, edge, v, lower, axis);
        }
        return number;
    }

    void addVertex(ivec3 cell, i32 edge, const i32 v[8], ivec3 lower, i32 axis) {
        i32 a = kEdgeCorners[edge][0], b = kEdgeCorners[edge][1];
        f32 t = static_cast<f32>(kIsoLevel - v[a]) / static_cast<f32>(v[b] - v[a]);
        vec3 pa = cornerOf(cell, a).toVec3(), pb = cornerOf(cell, b).toVec3();
        vec3 position = pa + (pb - pa) * t;
        vertices->insert(vertices->end(), {position.x, position.y, position.z});
        vec3 normal = edgeNormal(lower, axis, position);
        vertices->insert(vertices->end(), {normal.x, normal.y, normal.z});
    }

    // The gradient of the edge's lower corner, its own axis interpolated
    // toward the upper corner's; normalised.
    vec3 edgeNormal(ivec3 lower, i32 axis, const vec3& position) const {
        ivec3 unit = {axis == 0 ? 1 : 0, axis == 1 ? 1 : 0, axis == 2 ? 1 : 0};
        vec3 g0 = gradient(lower), g1 = gradient(lower + unit);
        f32 along = component(position, axis) - static_cast<f32>(component(lower, axis));
        vec3 normal = g0;
        f32 c0 = component(g0, axis);
        setComponent(&normal, axis, c0 + (component(g1, axis) - c0) * along);
        f32 length = std::sqrt(normal.x * normal.x + normal.y * normal.y + normal.z * normal.z);
        if (length > 0) {
            return normal / length;
        }
        // No gradient: along the edge, away from its solid corner.
        return unit.toVec3() * (value(lower) > kIsoLevel ? 1.0f : -1.0f);
    }

    const u8* block;
    i32 n;
    size_t layerSize;
    i32 cornerStep[8];
    std::vector<u32> numbers;
    // The first vertex number made since each layer was last taken over;
    // lower numbers in it are stale.
    u32 firstFresh[2];
    u32 count = 0;
    std::vector<f32>* vertices;
    std::vector<u32>* indices;
};

} // namespace

BlockIterator::BlockIterator(i32 sizeX_, i32 sizeY_, i32 sizeZ_, u8* block)
    : sizeX(sizeX_), sizeY(sizeY_), sizeZ(sizeZ_), at{0, 0, 0}, first(block), current(nullptr) {
    begin();
}

void BlockIterator::begin() {
    if (sizeX < 3 || sizeY < 3 || sizeZ < 3) {
        current = nullptr;
        return;
    }
    moveTo({1, 1, 1});
}

bool BlockIterator::inside(ivec3 p) const {
    return p.x >= 0 && p.x < sizeX && p.y >= 0 && p.y < sizeY && p.z >= 0 && p.z < sizeZ;
}

void BlockIterator::moveTo(ivec3 position) {
    at = position;
    current =
        inside(position) ? first + position.x + sizeX * (position.y + position.z * sizeY) : nullptr;
}

void BlockIterator::next() {
    if (current == nullptr) {
        return;
    }
    if (at.x + 1 < sizeX - 1) {
        at.x++;
        current += 1;
    } else if (at.y + 1 < sizeY - 1) {
        at.x = 1;
        at.y++;
        current += 3;
    } else if (at.z + 1 < sizeZ - 1) {
        at.x = 1;
        at.y = 1;
        at.z++;
        current += 2 * sizeX + 3;
    } else {
        current = nullptr;
    }
}

u8 BlockIterator::neighbour(i32 dx, i32 dy, i32 dz) const {
    ivec3 p = {at.x + dx, at.y + dy, at.z + dz};
    return current != nullptr && inside(p) ? current[dx + sizeX * (dy + dz * sizeY)] : 0;
}

void MeshVoxelBlock(const u8* block, i32 n, std::vector<f32>* vertices, std::vector<u32>* indices) {
    vertices->clear();
    indices->clear();
    if (n < 3) {
        return;
    }
    Mesher(block, n, vertices, indices).run();
}
