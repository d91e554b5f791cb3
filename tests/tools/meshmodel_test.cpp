// The asset generator's model shapes and COLLADA writer: every shape is a
// closed surface facing outward with the volume it stands for, and the
// writer keeps to what Meshwright's shipped rules read, refusing models it
// cannot write that way.
#include "tools/assetgen/meshmodel.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace {

constexpr double kPi = 3.14159265358979323846;

using Point = std::array<long, 3>;

// Positions rounded to a thousandth, so corners that meet compare equal.
Point key(const MeshVertex& v) {
    return {std::lround(v.x * 1000), std::lround(v.y * 1000), std::lround(v.z * 1000)};
}

struct Surface {
    double volume = 0;  // signed: positive when the triangles face outward
    int unmatched = 0;  // directed edges without their reverse
    int badNormals = 0; // corners whose normal is not unit or faces inward
    int badIndices = 0; // indices past the vertices
};

Surface measure(const MeshPart& part) {
    Surface s;
    std::map<std::pair<Point, Point>, int> edges;
    for (unsigned index : part.indices) {
        s.badIndices += index >= part.vertices.size() ? 1 : 0;
    }
    if (s.badIndices != 0 || part.indices.size() % 3 != 0) {
        return s;
    }
    for (size_t t = 0; t < part.indices.size(); t += 3) {
        const MeshVertex* c[3];
        for (int k = 0; k < 3; k++) {
            c[k] = &part.vertices[part.indices[t + k]];
        }
        double u[3] = {c[1]->x - c[0]->x, c[1]->y - c[0]->y, c[1]->z - c[0]->z};
        double w[3] = {c[2]->x - c[0]->x, c[2]->y - c[0]->y, c[2]->z - c[0]->z};
        double n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                       u[0] * w[1] - u[1] * w[0]};
        s.volume += (c[0]->x * n[0] + c[0]->y * n[1] + c[0]->z * n[2]) / 6;
        for (int k = 0; k < 3; k++) {
            const MeshVertex& v = *c[k];
            double length = std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz);
            bool outward = v.nx * n[0] + v.ny * n[1] + v.nz * n[2] > 0;
            s.badNormals += std::fabs(length - 1) > 1e-4 || !outward ? 1 : 0;
            edges[{key(v), key(*c[(k + 1) % 3])}]++;
        }
    }
    for (const auto& [edge, count] : edges) {
        auto reverse = edges.find({edge.second, edge.first});
        s.unmatched += count != 1 || reverse == edges.end() || reverse->second != 1 ? 1 : 0;
    }
    return s;
}

TEST(MeshShapes, ClosedOutwardSurfacesOfTheirVolume) {
    struct Case {
        const char* name;
        void (*add)(MeshPart*);
        double volume, tolerance;
    };
    // 48 slices cut a circle's area by 0.3 %; the sphere's 24 x 12 by 3 %.
    const Case cases[] = {
        {"box",
         [](MeshPart* p) {
             AddBox(p, {1, 2, 3}, {2, 3, 4});
         },
         8 * 2 * 3 * 4, 1e-3},
        {"sphere",
         [](MeshPart* p) {
             AddSphere(p, {0, 5, 0}, 2, 24, 12);
         },
         4 * kPi * 8 / 3, 0.05},
        {"frustum",
         [](MeshPart* p) {
             AddFrustum(p, {0, 0, 0}, 3, {2, 4, 4}, 1, 48);
         },
         kPi * 6 / 3 * (9 + 3 + 1), 0.01},
        {"cone",
         [](MeshPart* p) {
             AddFrustum(p, {1, 1, 1}, 2, {1, -5, 1}, 0, 48);
         },
         kPi * 4 * 6 / 3, 0.01},
        {"two boxes in one part",
         [](MeshPart* p) {
             AddBox(p, {0, 0, 0}, {1, 1, 1});
             AddBox(p, {5, 0, 0}, {1, 1, 1});
         },
         16, 1e-3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MeshPart part{"p", "m", 1, 1, 1, {}, {}};
        c.add(&part);
        ASSERT_FALSE(part.indices.empty());
        Surface s = measure(part);
        EXPECT_EQ(s.badIndices, 0);
        EXPECT_EQ(s.unmatched, 0) << "closed, every edge shared by two triangles";
        EXPECT_EQ(s.badNormals, 0) << "unit normals on the outward side";
        EXPECT_NEAR(s.volume, c.volume, c.volume * c.tolerance);
    }
}

// The golf ball's texture wraps once round it: u from 0 to 1 round the seam,
// v from 1 at the top pole to 0 at the bottom one.
TEST(MeshShapes, SphereTextureRunsRoundOnceFromTheTopPole) {
    MeshPart part{"p", "m", 1, 1, 1, {}, {}};
    AddSphere(&part, {0, 0, 0}, 1, 8, 4);
    ASSERT_EQ(part.vertices.size(), 9u * 5u);
    EXPECT_FLOAT_EQ(part.vertices.front().y, 1);
    EXPECT_FLOAT_EQ(part.vertices.front().v, 1);
    EXPECT_FLOAT_EQ(part.vertices.back().y, -1);
    EXPECT_FLOAT_EQ(part.vertices.back().v, 0);
    EXPECT_FLOAT_EQ(part.vertices[8].u, 1);
    EXPECT_FLOAT_EQ(part.vertices[9 + 2].z, -std::sin(kPi / 4) * std::sin(kPi / 2));
}

class ColladaWriter : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/assetgen-model-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        path = dir + "/model.dae";
    }
    void TearDown() override {
        std::remove(path.c_str());
        rmdir(dir.c_str());
    }
    std::string written() const {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static MeshPart triangle(const char* name, const char* material) {
        MeshPart part{name, material, 0.5f, 0.25f, 1, {}, {0, 1, 2}};
        part.vertices = {
            {0, 0, 0, 0, 0, 1, 0, 0}, {1, 0, 0, 0, 0, 1, 1, 0}, {0, 1, 0, 0, 0, 1, 0, 1}};
        return part;
    }
    std::string dir, path;
};

TEST_F(ColladaWriter, NamesEveryEffectGeometryAndNodeOfItsParts) {
    MeshPart shared = triangle("second", "paint");
    MeshModel model{"model", {triangle("first", "paint"), shared, triangle("third", "ink")}};
    ASSERT_TRUE(WriteColladaModel(model, path));
    std::string text = written();
    for (const char* part : {"first", "second", "third"}) {
        std::string name = part;
        EXPECT_NE(text.find("<geometry id=\"" + name + "-mesh\" name=\"" + name + "\">"),
                  std::string::npos)
            << name;
        EXPECT_NE(text.find("<node id=\"" + name + "-node\" name=\"" + name + "\">"),
                  std::string::npos)
            << name;
    }
    // A material two parts share is one effect.
    auto count = [&](const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
            n++;
        }
        return n;
    };
    EXPECT_EQ(count("<effect id=\"paint-effect\" name=\"paint\">"), 1u);
    EXPECT_EQ(count("<effect id=\"ink-effect\" name=\"ink\">"), 1u);
    EXPECT_EQ(count("<triangles material=\"paint\" count=\"1\">"), 2u);
    EXPECT_NE(text.find("<diffuse><color>0.5 0.25 1 1</color></diffuse>"), std::string::npos);
    // One index per input for each corner.
    EXPECT_NE(text.find("<p>0 0 0 1 1 1 2 2 2</p>"), std::string::npos);
}

TEST_F(ColladaWriter, NumbersArePlainDecimals) {
    MeshPart part = triangle("p", "m");
    part.vertices[0].x = 1e-9f;
    part.vertices[0].y = -1e-7f;
    part.vertices[1].x = 12345678.0f;
    part.vertices[2].z = -0.125f;
    ASSERT_TRUE(WriteColladaModel({"model", {part}}, path));
    std::string text = written();
    std::smatch lists;
    std::string rest = text;
    int seen = 0;
    std::regex list("<float_array[^>]*>([^<]*)</float_array>");
    while (std::regex_search(rest, lists, list)) {
        std::string numbers = lists[1];
        SCOPED_TRACE(numbers);
        EXPECT_TRUE(std::regex_match(numbers, std::regex("-?[0-9.]+( -?[0-9.]+)*")));
        EXPECT_EQ(numbers.find("-0 "), std::string::npos);
        seen++;
        rest = lists.suffix();
    }
    EXPECT_EQ(seen, 3);
    EXPECT_NE(text.find(">0 0 0 12345678 0 0 0 1 -0.125<"), std::string::npos);
}

TEST_F(ColladaWriter, RefusesWhatMeshwrightCouldNotConvert) {
    struct Case {
        const char* fault;
        MeshModel model;
    };
    MeshPart past = triangle("p", "m");
    past.indices[2] = 3;
    MeshPart partial = triangle("p", "m");
    partial.indices.push_back(0);
    MeshPart empty = triangle("p", "m");
    empty.indices.clear();
    const Case cases[] = {
        {"no parts", {"model", {}}},
        {"no part name", {"model", {triangle("", "m")}}},
        {"no material name", {"model", {triangle("p", "")}}},
        {"a name with a space", {"model", {triangle("two words", "m")}}},
        {"a name with a quote", {"model", {triangle("p", "a\"b")}}},
        {"a name with a slash", {"model", {triangle("a/b", "m")}}},
        {"an index past the vertices", {"model", {past}}},
        {"a partial triangle", {"model", {partial}}},
        {"no triangles", {"model", {empty}}},
        {"two parts of one name", {"model", {triangle("p", "m"), triangle("p", "n")}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        EXPECT_FALSE(WriteColladaModel(c.model, path));
        EXPECT_NE(access(path.c_str(), F_OK), 0) << "nothing written";
    }
    EXPECT_FALSE(WriteColladaModel({"model", {triangle("p", "m")}}, dir + "/missing/model.dae"));
}

} // namespace
