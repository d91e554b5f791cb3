// The block walk, the marching-cubes tables and the mesher, without any GL.
#include "games/rockfield/density.h"
#include "games/rockfield/mctables.h"
#include "games/rockfield/voxelblock.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <utility>
#include <vector>

namespace {

TEST(BlockIterator, VisitsTheInteriorXFastest) {
    const i32 sx = 5, sy = 4, sz = 6;
    std::vector<u8> block(sx * sy * sz);
    std::vector<ivec3> visited;
    for (BlockIterator it(sx, sy, sz, block.data()); it.valid(); it.next()) {
        ivec3 p = it.position();
        EXPECT_EQ(it.pointer(), block.data() + p.x + sx * (p.y + p.z * sy));
        visited.push_back(p);
    }
    std::vector<ivec3> expected;
    for (i32 z = 1; z < sz - 1; z++) {
        for (i32 y = 1; y < sy - 1; y++) {
            for (i32 x = 1; x < sx - 1; x++) {
                expected.push_back({x, y, z});
            }
        }
    }
    EXPECT_EQ(visited, expected);
}

TEST(BlockIterator, BlocksWithoutInteriorEndAtOnce) {
    u8 block[3 * 3 * 3] = {};
    for (ivec3 size : {ivec3{2, 5, 5}, ivec3{5, 2, 5}, ivec3{5, 5, 2}, ivec3{0, 0, 0}}) {
        BlockIterator it(size.x, size.y, size.z, block);
        EXPECT_FALSE(it.valid());
    }
    BlockIterator single(3, 3, 3, block);
    ASSERT_TRUE(single.valid());
    single.next();
    EXPECT_FALSE(single.valid());
}

TEST(BlockIterator, NeighboursOutsideTheBlockReadZero) {
    const i32 n = 4;
    std::vector<u8> block(n * n * n, 9);
    BlockIterator it(n, n, n, block.data());
    it.moveTo({3, 0, 3});
    ASSERT_TRUE(it.valid());
    EXPECT_EQ(it.neighbour(0, 0, 0), 9);
    EXPECT_EQ(it.neighbour(-1, 1, -1), 9);
    EXPECT_EQ(it.neighbour(1, 0, 0), 0);
    EXPECT_EQ(it.neighbour(0, -1, 0), 0);
    EXPECT_EQ(it.neighbour(0, 0, 1), 0);
    it.moveTo({4, 1, 1});
    EXPECT_FALSE(it.valid());
}

// Every edge mask is exactly the set of edges whose corners differ, and
// exactly the union of the edges its triangle row uses; rows hold whole
// triangles, at most five.
TEST(MarchingCubesTables, EdgeMasksMatchTheCornersAndTheTriangleRows) {
    for (u32 cube = 0; cube < 256; cube++) {
        u32 crossed = 0;
        for (u32 e = 0; e < 12; e++) {
            u32 a = (cube >> kEdgeCorners[e][0]) & 1, b = (cube >> kEdgeCorners[e][1]) & 1;
            crossed |= (a != b ? 1u : 0u) << e;
        }
        EXPECT_EQ(kEdgeTable[cube], crossed) << "case " << cube;
        u32 used = 0, count = 0;
        while (count < 16 && kTriangleTable[cube][count] != -1) {
            used |= 1u << kTriangleTable[cube][count];
            count++;
        }
        EXPECT_EQ(kEdgeTable[cube], used) << "case " << cube;
        EXPECT_EQ(count % 3, 0u) << "case " << cube;
        EXPECT_LE(count, 15u) << "case " << cube;
    }
}

struct Mesh {
    std::vector<f32> vertices;
    std::vector<u32> indices;
    u32 vertexCount() const { return static_cast<u32>(vertices.size() / 6); }
    vec3 position(u32 i) const {
        return vec3(vertices[6 * i], vertices[6 * i + 1], vertices[6 * i + 2]);
    }
    vec3 normal(u32 i) const {
        return vec3(vertices[6 * i + 3], vertices[6 * i + 4], vertices[6 * i + 5]);
    }
};

Mesh meshOf(const std::vector<u8>& block, i32 n) {
    Mesh mesh;
    MeshVoxelBlock(block.data(), n, &mesh.vertices, &mesh.indices);
    return mesh;
}

u8& voxel(std::vector<u8>& block, i32 n, ivec3 p) {
    return block[p.x + n * (p.y + n * p.z)];
}

TEST(MeshVoxelBlock, NothingAboveTheIsoLevelGivesNothing) {
    const i32 n = 8;
    std::vector<u8> block(n * n * n, 128);
    for (size_t i = 0; i < block.size(); i += 7) {
        block[i] = static_cast<u8>(i % 129);
    }
    Mesh mesh = meshOf(block, n);
    EXPECT_TRUE(mesh.vertices.empty());
    EXPECT_TRUE(mesh.indices.empty());
}

// One solid voxel: an octahedron of 6 shared vertices and 8 triangles, each
// vertex 127/255 of its edge away from the voxel, its normal along the edge
// away from it.
TEST(MeshVoxelBlock, SingleVoxelGivesASharedOctahedron) {
    const i32 n = 7;
    const ivec3 centre = {3, 3, 3};
    std::vector<u8> block(n * n * n, 0);
    voxel(block, n, centre) = 255;
    Mesh mesh = meshOf(block, n);
    ASSERT_EQ(mesh.vertexCount(), 6u);
    ASSERT_EQ(mesh.indices.size(), 24u);
    std::vector<i32> uses(6, 0);
    for (u32 index : mesh.indices) {
        ASSERT_LT(index, 6u);
        uses[index]++;
    }
    EXPECT_EQ(uses, std::vector<i32>(6, 4)) << "each vertex is shared by the four faces round it";
    const f32 away = 127.0f / 255.0f;
    for (u32 i = 0; i < 6; i++) {
        vec3 d = mesh.position(i) - centre.toVec3();
        vec3 normal = mesh.normal(i);
        EXPECT_NEAR(d.length(), away, 1e-6f) << "vertex " << i;
        EXPECT_NEAR(normal.length(), 1, 1e-6f);
        EXPECT_NEAR(normal.x * d.x + normal.y * d.y + normal.z * d.z, away, 1e-6f)
            << "the normal runs along the edge, away from the voxel";
    }
}

// Two neighbouring solid voxels: each grid edge crossed by the surface has
// one vertex, however many cells use it.
TEST(MeshVoxelBlock, CellsSharingAnEdgeShareItsVertex) {
    const i32 n = 8;
    std::vector<u8> block(n * n * n, 0);
    voxel(block, n, {3, 3, 3}) = 200;
    voxel(block, n, {4, 3, 3}) = 200;
    Mesh mesh = meshOf(block, n);
    // Two ends along x, and four sides of two voxels each.
    EXPECT_EQ(mesh.vertexCount(), 10u);
    for (u32 i = 0; i < mesh.vertexCount(); i++) {
        for (u32 j = i + 1; j < mesh.vertexCount(); j++) {
            EXPECT_GT((mesh.position(i) - mesh.position(j)).length(), 0.1f);
        }
    }
}

// Where the density has no slope, the normal runs along the edge from its
// solid corner to its empty one.
TEST(MeshVoxelBlock, FlatGradientGivesTheEdgeDirection) {
    const i32 n = 8;
    std::vector<u8> block(n * n * n, 0);
    voxel(block, n, {3, 3, 3}) = 255;
    voxel(block, n, {5, 3, 3}) = 255; // levels out the gradient at (4, 3, 3)
    Mesh mesh = meshOf(block, n);
    bool found = false;
    for (u32 i = 0; i < mesh.vertexCount(); i++) {
        vec3 p = mesh.position(i);
        if (std::fabs(p.x - (3 + 127.0f / 255.0f)) < 1e-5f && p.y == 3 && p.z == 3) {
            found = true;
            EXPECT_EQ(mesh.normal(i).x, 1);
            EXPECT_EQ(mesh.normal(i).y, 0);
            EXPECT_EQ(mesh.normal(i).z, 0);
        }
    }
    EXPECT_TRUE(found);
}

// Every edge of the surface is used by exactly two triangles, once in each
// direction; vertices are numbered in order of first use; no normal is NaN,
// and the normals agree with the winding of the triangles round them (the
// gradient of a coarse block may lean the other way at a few thin spots).
void expectClosedAndOrdered(const Mesh& mesh) {
    ASSERT_FALSE(mesh.indices.empty());
    std::map<std::pair<u32, u32>, i32> edges;
    std::vector<vec3> faceSum(mesh.vertexCount(), vec3(0, 0, 0));
    u32 next = 0;
    for (size_t t = 0; t < mesh.indices.size(); t += 3) {
        const u32* tri = &mesh.indices[t];
        for (i32 k = 0; k < 3; k++) {
            ASSERT_LE(tri[k], next) << "vertex numbered out of order of first use";
            next = std::max(next, tri[k] + 1);
            edges[{tri[k], tri[(k + 1) % 3]}]++;
        }
        vec3 a = mesh.position(tri[0]), b = mesh.position(tri[1]), c = mesh.position(tri[2]);
        vec3 face = (b - a).cross(c - a);
        for (i32 k = 0; k < 3; k++) {
            faceSum[tri[k]] = faceSum[tri[k]] + face;
        }
    }
    EXPECT_EQ(next, mesh.vertexCount());
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1) << edge.first << "-" << edge.second;
        auto back = edges.find({edge.second, edge.first});
        EXPECT_TRUE(back != edges.end() && back->second == 1) << edge.first << "-" << edge.second;
    }
    u32 agreeing = 0;
    for (u32 i = 0; i < mesh.vertexCount(); i++) {
        vec3 normal = mesh.normal(i);
        ASSERT_FALSE(std::isnan(normal.x) || std::isnan(normal.y) || std::isnan(normal.z));
        EXPECT_NEAR(normal.length(), 1, 1e-5f);
        const vec3& s = faceSum[i];
        agreeing += normal.x * s.x + normal.y * s.y + normal.z * s.z > 0 ? 1 : 0;
    }
    EXPECT_GT(agreeing, mesh.vertexCount() * 3 / 4);
}

TEST(MeshVoxelBlock, AsteroidsAreClosedSurfaces) {
    const vec3 offsets[] = {vec3(17.25f, 3.5f, 100.75f), vec3(0, 0, 0), vec3(200.5f, 0.125f, 64),
                            vec3(77.7f, 191.3f, 5.9f)};
    for (i32 level : {3, 4}) {
        i32 n = 1 << level;
        for (const vec3& offset : offsets) {
            std::vector<u8> block(static_cast<size_t>(n) * n * n);
            FillAsteroidBlock(block.data(), level, offset);
            SCOPED_TRACE(testing::Message() << "level " << level << " offset " << offset.x);
            expectClosedAndOrdered(meshOf(block, n));
        }
    }
}

// Solid voxels on the outer-most inner layer put vertices on the outer
// layer, whose gradient reaches past the block: those reads are 0, and the
// normals there point out of the block.
TEST(MeshVoxelBlock, SolidInnerLayerStaysInsideTheBlock) {
    const i32 n = 6;
    std::vector<u8> block(n * n * n, 0);
    for (i32 z = 1; z < n - 1; z++) {
        for (i32 y = 1; y < n - 1; y++) {
            for (i32 x = 1; x < n - 1; x++) {
                voxel(block, n, {x, y, z}) = 250;
            }
        }
    }
    Mesh mesh = meshOf(block, n);
    ASSERT_GT(mesh.vertexCount(), 0u);
    bool outer = false;
    for (u32 i = 0; i < mesh.vertexCount(); i++) {
        vec3 p = mesh.position(i), normal = mesh.normal(i);
        ASSERT_FALSE(std::isnan(normal.x) || std::isnan(normal.y) || std::isnan(normal.z));
        if (p.x > n - 2) {
            outer = true;
            EXPECT_GT(normal.x, 0) << "vertex " << i;
        }
    }
    EXPECT_TRUE(outer);
}

} // namespace
