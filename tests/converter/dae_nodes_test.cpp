// COLLADA nodes with the shipped "rules.txt": a node's transform elements
// composed in document order and taken apart into the record's translation,
// rotation and scale, checked where the record puts the mesh's corners.
#include "shipped.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using Point = std::vector<float>;

bool hasTag(const PwnNode& node, const char* tag) {
    return std::find(node.tags.begin(), node.tags.end(), tag) != node.tags.end();
}

// Where the record puts p, as the engine places a mesh: T · R · S.
Point place(const PwnNode& node, const Point& p) {
    double v[3] = {p[0], p[1], p[2]};
    if (hasTag(node, "scal")) {
        for (int i = 0; i < 3; ++i) {
            v[i] *= node.scale[i];
        }
    }
    if (hasTag(node, "rota")) {
        double k[3] = {node.rotation[0], node.rotation[1], node.rotation[2]};
        double length = std::sqrt(k[0] * k[0] + k[1] * k[1] + k[2] * k[2]);
        for (double& c : k) {
            c /= length;
        }
        double c = std::cos(node.rotation[3]), s = std::sin(node.rotation[3]);
        double along = k[0] * v[0] + k[1] * v[1] + k[2] * v[2];
        double across[3] = {k[1] * v[2] - k[2] * v[1], k[2] * v[0] - k[0] * v[2],
                            k[0] * v[1] - k[1] * v[0]};
        for (int i = 0; i < 3; ++i) {
            v[i] = v[i] * c + across[i] * s + k[i] * along * (1 - c);
        }
    }
    Point out(v, v + 3);
    if (hasTag(node, "tran")) {
        for (int i = 0; i < 3; ++i) {
            out[i] += node.translation[i];
        }
    }
    return out;
}

// The corners of the mesh the node places, where the node puts them.
std::vector<Point> placedCorners(const PwnFile& file, const PwnNode& node) {
    std::vector<Point> out;
    const PwnMesh& mesh = file.meshes.at(node.mesh);
    for (uint32_t index : mesh.indices) {
        const float* v = mesh.vertex(index);
        out.push_back(place(node, {v[0], v[1], v[2]}));
    }
    return out;
}

void expectNear(const std::vector<Point>& got, const std::vector<Point>& expected,
                const std::string& what) {
    ASSERT_EQ(got.size(), expected.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(got[i][k], expected[i][k], 1e-5) << what << " corner " << i;
        }
    }
}

const float kHalf = 0.5f, kRoot3Half = 0.8660254f;

TEST(DaeNodes, TransformsComposeInDocumentOrder) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_node_transforms.dae", run);
    EXPECT_EQ(Warnings(run), std::vector<std::string>{kCentimetreWarning}) << run.out;
    struct Case {
        const char* mesh;
        std::vector<Point> corners; // of (1, 0, 0), (0, 1, 0), (0, 0, 1)
    } cases[] = {
        {"turnedShape", {{1, 2, 1}, {-1, 2, 3}, {1, 4, 3}}},
        {"pivotedShape", {{6, 0, 0}, {5, -1, 0}, {6, -1, 1}}},
        {"moved_afterShape", {{0, 2, 0}, {-1, 1, 0}, {0, 1, 1}}},
        {"placed_twiceShape", {{11, 0, 4}, {10, 1, 4}, {10, 0, 5}}},
        {"only_xShape", {{1, 0, 0}, {0, kRoot3Half, kHalf}, {0, -kHalf, kRoot3Half}}},
    };
    ASSERT_EQ(file.nodes.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const PwnNode& node = file.nodes[i];
        ASSERT_LT(node.mesh, file.meshes.size());
        EXPECT_EQ(file.meshes[node.mesh].name, cases[i].mesh);
        expectNear(placedCorners(file, node), cases[i].corners, cases[i].mesh);
    }
}

// The common way of writing a node, one translate, rotate and scale in that
// order, gives the record those very values.
TEST(DaeNodes, OneTranslateRotateAndScaleAreTakenAsWritten) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_base.dae", run);
    ASSERT_EQ(file.nodes.size(), 1u);
    const PwnNode& node = file.nodes[0];
    EXPECT_EQ(node.tags, (std::vector<std::string>{"rota", "tran", "scal"}));
    EXPECT_EQ(Point(node.rotation, node.rotation + 4),
              (Point{0, 0, 1, 90 * (3.14159265358979f / 180.0f)}));
    EXPECT_EQ(Point(node.translation, node.translation + 3), (Point{1, 2, 3}));
    EXPECT_EQ(Point(node.scale, node.scale + 3), (Point{2, 2, 2}));
}

// dae_base.dae with the transform of its node "a" replaced.
MeshwrightRun convertNodeWith(const std::string& transform) {
    std::string text = ReadFileText(Fixture("dae_base.dae"));
    const std::string old = "<translate>1 2 3</translate><rotate>0 0 1 90</rotate><scale>2 2 "
                            "2</scale>";
    text.replace(text.find(old), old.size(), transform);
    return ConvertTextWithShippedRules("node.dae", text);
}

// The node "a" of dae_base.dae holds the node "b", which moves with it.
const std::string kSheared = "Warning: node tri: its transform is not a translation, a rotation "
                             "and a scale (it shears); the nearest of those was converted, and "
                             "the node inside it moves with it\n";
const std::string kFlat =
    "Warning: node tri: its transform scales an axis to 0, so what it places is flat\n";

TEST(DaeNodes, TransformsThatAreNoRotationAndScaleAreWarnedOf) {
    struct Case {
        const char* transform;
        std::vector<std::string> warnings;
        std::vector<Point> corners; // of the triangle (0 0 0) (1 0 0) (0 1 0); none: not exact
    } cases[] = {
        {"<matrix>1 1 0 0 0 1 0 0 0 0 1 0 0 0 0 1</matrix>", {kSheared}, {}},
        {"<scale>2 1 1</scale><rotate>0 0 1 45</rotate>", {kSheared}, {}},
        {"<scale>0 0 0</scale>", {kFlat}, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
        {"<matrix>0 0 0 1 0 0 0 2 0 0 0 3 0 0 0 1</matrix>",
         {kFlat},
         {{1, 2, 3}, {1, 2, 3}, {1, 2, 3}}},
        {"<rotate>0 0 1 90</rotate><scale>1 0 1</scale>",
         {kFlat},
         {{0, 0, 0}, {0, 1, 0}, {0, 0, 0}}},
        {"<matrix>1 0 0</matrix>",
         {"Warning: node tri: a <matrix> holds 3 numbers, not 16\n", kFlat},
         {}},
        {"<rotate>0 0 0 90</rotate><translate>1 0 0</translate>",
         {},
         {{1, 0, 0}, {2, 0, 0}, {1, 1, 0}}},
        // A mirror under a rotation is a negative scale.
        {"<scale>-1 1 1</scale><rotate>0 0 1 90</rotate>", {}, {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}}},
    };
    for (const Case& c : cases) {
        MeshwrightRun run = convertNodeWith(c.transform);
        ASSERT_EQ(run.status, 0) << c.transform << run.out;
        for (const std::string& warning : c.warnings) {
            EXPECT_TRUE(Printed(run, warning)) << c.transform << ": " << run.out;
        }
        if (c.warnings.empty()) {
            EXPECT_FALSE(Printed(run, "Warning: node")) << c.transform << ": " << run.out;
        }
        PwnFile file = ReadOutput(run);
        ASSERT_EQ(file.nodes.size(), 1u) << c.transform;
        const PwnNode& node = file.nodes[0];
        for (float v : {node.rotation[0], node.rotation[1], node.rotation[2], node.rotation[3]}) {
            EXPECT_TRUE(std::isfinite(v)) << c.transform;
        }
        if (!c.corners.empty()) {
            std::vector<Point> corners = placedCorners(file, node);
            corners.resize(3);
            expectNear(corners, c.corners, c.transform);
        }
    }
}

// A shear keeps the length of each axis as its scale and turns by the
// rotation nearest to the axes: halfway between x and the sheared y.
TEST(DaeNodes, AShearIsConvertedToTheNearestRotationAndScale) {
    MeshwrightRun run = convertNodeWith("<matrix>1 1 0 5 0 1 0 6 0 0 1 7 0 0 0 1</matrix>");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Printed(run, kSheared)) << run.out;
    PwnFile file = ReadOutput(run);
    ASSERT_EQ(file.nodes.size(), 1u);
    const PwnNode& node = file.nodes[0];
    EXPECT_EQ(Point(node.translation, node.translation + 3), (Point{5, 6, 7}));
    EXPECT_NEAR(node.scale[0], 1, 1e-6);
    EXPECT_NEAR(node.scale[1], std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(node.scale[2], 1, 1e-6);
    EXPECT_NEAR(std::fabs(node.rotation[2]), 1, 1e-6) << "about z";
    EXPECT_NEAR(node.rotation[3] * node.rotation[2], -3.14159265 / 8, 1e-6);
}

// The warnings of converted transforms among the run's warnings.
std::vector<std::string> shearWarnings(const MeshwrightRun& run) {
    std::vector<std::string> out;
    for (const std::string& line : Warnings(run)) {
        if (line.find("its transform is not") != std::string::npos) {
            out.push_back(line);
        }
    }
    return out;
}

std::string sheared(const std::string& node, const std::string& moved) {
    return "Warning: node " + node +
           ": its transform is not a translation, a rotation and a "
           "scale (it shears); the nearest of those was converted" +
           moved;
}

// Blender writes a node's transform relative to its parent's: under a parent
// scaled unevenly and turned, the node "Child" shears, and the nearest
// transform converted moves the nodes inside it too.
TEST(DaeNodes, TheNodesInsideAConvertedTransformAreSaidToMoveWithIt) {
    const std::string base = ReadFileText(Fixture("dae_blender_hierarchy.dae"));
    const std::string grand = "<instance_geometry url=\"#Cube_002-mesh\" name=\"Grand\"/>";
    const std::string child = "<instance_geometry url=\"#Cube_001-mesh\" name=\"Child\"/>";
    auto with = [&](const std::string& from, const std::string& to) {
        std::string text = base;
        return text.replace(text.find(from), from.size(), to);
    };
    const std::string one = ", and the node inside it moves with it";
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> warnings;
    } cases[] = {
        {"as Blender wrote it", base, {sheared("Child", one)}},
        {"a node inside the node inside it",
         with(grand, grand + "<node id=\"Tip\" name=\"Tip\"><instance_geometry "
                             "url=\"#Cube-mesh\"/></node>"),
         {sheared("Child", ", and the 2 nodes inside it move with it")}},
        {"a camera beside it, which places nothing",
         with(child, child + "<node id=\"Eye\" name=\"Eye\"><instance_camera "
                             "url=\"#Camera-camera\"/></node>"),
         {sheared("Child", one)}},
        {"a second geometry of the node itself",
         with(child, child + "<instance_geometry url=\"#Cube-mesh\"/>"),
         {sheared("Child", one)}},
        // Its transform is composed into the node inside it.
        {"a node that places nothing", with(child, ""), {sheared("Child", one)}},
        {"nothing inside it", with(grand, ""), {sheared("Child", "")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeshwrightRun run = ConvertTextWithShippedRules("hierarchy.dae", c.text);
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(shearWarnings(run), c.warnings) << run.out;
    }
}

} // namespace

// Every placement of the file with the corners of its mesh where the engine
// puts them, parents' transforms included, in the order of the records.
void placements(const PwnFile& file, const std::vector<PwnNode>& nodes,
                const std::vector<const PwnNode*>& above, std::vector<std::vector<Point>>& out) {
    for (const PwnNode& node : nodes) {
        std::vector<Point> corners = placedCorners(file, node);
        for (auto parent = above.rbegin(); parent != above.rend(); ++parent) {
            for (Point& p : corners) {
                p = place(**parent, p);
            }
        }
        out.push_back(corners);
        std::vector<const PwnNode*> inner = above;
        inner.push_back(&node);
        placements(file, node.children, inner, out);
    }
}

std::vector<std::vector<Point>> placements(const PwnFile& file) {
    std::vector<std::vector<Point>> out;
    placements(file, file.nodes, {}, out);
    return out;
}

TEST(DaeNodes, AnInstanceNodePlacesWhatTheNodeItNamesPlaces) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_instance_nodes.dae", run);
    const std::vector<Point> top = {{0, 0, 0}, {2, 0, 0}, {0, 2, 0}};
    const std::vector<Point> leg = {{0, 0, 1}, {0.1f, 0, 1}, {0, 0, 0}};
    auto moved = [](std::vector<Point> corners, float x, float y) {
        for (Point& p : corners) {
            p[0] += x;
            p[1] += y;
        }
        return corners;
    };
    // The table with its leg from the library, the loop's own top, the two
    // legs of the library's "pair" under the stool (which places no mesh, so
    // they stand among the roots), and the copy of the table with its leg.
    const std::vector<std::vector<Point>> expected = {
        top, leg, top, moved(leg, 10, 2), moved(leg, 13, 2), moved(top, 0, 5), moved(leg, 0, 5),
    };
    std::vector<std::vector<Point>> got = placements(file);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        expectNear(got[i], expected[i], "placement " + std::to_string(i));
    }
    for (const char* warning : {
             "Warning: node ghost: <instance_node url=\"#nothing\"> names no node of the "
             "document; it was left out\n",
             "Warning: node ghost: <instance_node url=\"other.dae#leg-node\"> names no node of "
             "the document; it was left out\n",
             "Warning: node loop: <instance_node url=\"#loop-node\"> names a node that holds it, "
             "so it would stand inside itself; it was left out\n",
             "Warning: node pong: <instance_node url=\"#ping-node\"> names a node that holds it, "
             "so it would stand inside itself; it was left out\n",
             "Warning: node pingpong: <instance_node url=\"#ping-node\"> names a node that places "
             "no mesh\n",
         }) {
        EXPECT_TRUE(Printed(run, warning)) << warning << run.out;
    }
}

// Library nodes that each instance the next twice would double the copies at
// every level: past a bound the rest are left out with a warning.
TEST(DaeNodes, InstancesThatMultiplyAreBounded) {
    std::string text = ReadFileText(Fixture("dae_instance_nodes.dae"));
    std::string library = "<library_nodes>\n";
    for (int level = 0; level < 14; ++level) {
        std::string next = "#level" + std::to_string(level + 1);
        library += "<node id=\"level" + std::to_string(level) + "\" name=\"l\">";
        library += level == 13 ? "<instance_geometry url=\"#Leg-mesh\"/>"
                               : "<instance_node url=\"" + next + "\"/><instance_node url=\"" +
                                     next + "\"/>";
        library += "</node>\n";
    }
    text.replace(text.find("<library_nodes>"), 15, library);
    text.replace(text.find("#pair-node"), 10, "#level0");
    MeshwrightRun run = ConvertTextWithShippedRules("many.dae", text);
    EXPECT_TRUE(Printed(run, "Warning: more than 4096 nodes were made by <instance_node>; the "
                             "rest were left out\n"))
        << run.out;
    // Each further placement is a copy of the mesh, so even the bounded
    // copies are more meshes than the engine reads from one file.
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_TRUE(Printed(run, "The model needs 2049 meshes; the engine reads at most 256 from one "
                             "file\n"))
        << run.out;
}
