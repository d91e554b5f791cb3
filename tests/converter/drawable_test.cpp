// Models as the engine can draw them: a mesh of more vertices than 16-bit
// indices reach is written as several, each placed where the mesh is; a
// mesh placed by a second node is written again for it; and a model of more
// meshes or materials than the engine reads from one file is refused.
#include "grid.h"
#include "shipped.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace {

const std::string kDone = "Conversion completed!\n";
constexpr uint32_t kMaxVertices = 65536;

std::multiset<Triangle> trianglesOf(const PwnMesh& mesh) {
    std::multiset<Triangle> triangles;
    for (std::size_t k = 0; k + 3 <= mesh.indices.size(); k += 3) {
        Triangle t;
        for (int i = 0; i < 3; ++i) {
            const float* v = mesh.vertex(mesh.indices[k + i]);
            t[3 * i] = v[0];
            t[3 * i + 1] = v[1];
            t[3 * i + 2] = v[2];
        }
        triangles.insert(t);
    }
    return triangles;
}

// Every index names a vertex of its mesh, and the engine can draw the mesh.
void expectDrawable(const PwnMesh& mesh) {
    EXPECT_LE(mesh.vertexCount, kMaxVertices) << mesh.name;
    for (uint32_t index : mesh.indices) {
        ASSERT_LT(index, mesh.vertexCount) << mesh.name;
    }
    EXPECT_EQ(mesh.indexWidth, mesh.indices.size() > 65535 ? 4u : 2u) << mesh.name;
}

TEST(Drawable, AnObjGridOfTooManyVerticesIsWrittenInPartsThatHoldEveryTriangle) {
    struct Case {
        int columns, rows;
        std::vector<std::string> names;
    } cases[] = {
        {256, 256, {"TriMesh"}}, // 65,536 vertices: as many as one mesh can hold
        {260, 260, {"TriMesh", "TriMesh.2"}},
        {363, 363, {"TriMesh", "TriMesh.2", "TriMesh.3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.columns) + " x " + std::to_string(c.rows));
        MeshwrightRun run = ConvertTextWithShippedRules("grid.obj", GridObj(c.columns, c.rows));
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(run.out, kDone);
        PwnFile file = ReadOutput(run);
        ASSERT_EQ(file.meshes.size(), c.names.size());
        EXPECT_EQ(file.meshCount, c.names.size());
        std::multiset<Triangle> triangles;
        for (std::size_t i = 0; i < file.meshes.size(); ++i) {
            const PwnMesh& mesh = file.meshes[i];
            EXPECT_EQ(mesh.name, c.names[i]);
            EXPECT_EQ(mesh.material, std::optional<uint32_t>(0));
            expectDrawable(mesh);
            std::multiset<Triangle> part = trianglesOf(mesh);
            triangles.insert(part.begin(), part.end());
        }
        EXPECT_TRUE(triangles == GridTriangles(c.columns, c.rows)) << "every triangle, once";
        ASSERT_EQ(file.nodes.size(), 1u);
        EXPECT_EQ(file.nodes[0].mesh, 0u);
        ASSERT_EQ(file.nodes[0].children.size(), c.names.size() - 1);
        for (std::size_t i = 1; i < c.names.size(); ++i) {
            EXPECT_EQ(file.nodes[0].children[i - 1].mesh, i) << "placed with the first part";
            EXPECT_TRUE(file.nodes[0].children[i - 1].tags.empty());
        }
    }
}

// The grid of 67,600 vertices takes two parts; the geometry's second
// <triangles> follows them as its third; the second node places copies of
// all three.
TEST(Drawable, ADaeGridIsSplitAndEachFurtherNodePlacesCopies) {
    MeshwrightRun run = ConvertTextWithShippedRules("grid.dae", GridDae(260, 260, {0, 1000}));
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_FALSE(Printed(run, "Warning")) << run.out;
    PwnFile file = ReadOutput(run);
    std::vector<std::string> names;
    for (const PwnMesh& mesh : file.meshes) {
        names.push_back(mesh.name);
        EXPECT_EQ(mesh.material, std::optional<uint32_t>(0)) << mesh.name;
        expectDrawable(mesh);
    }
    ASSERT_EQ(names, (std::vector<std::string>{"grid", "grid.2", "grid.3", "grid@2", "grid.2@2",
                                               "grid.3@2"}));
    EXPECT_EQ(file.meshCount, 6u);
    std::multiset<Triangle> grid = trianglesOf(file.meshes[0]);
    std::multiset<Triangle> second = trianglesOf(file.meshes[1]);
    grid.insert(second.begin(), second.end());
    EXPECT_TRUE(grid == GridTriangles(260, 260));
    EXPECT_EQ(trianglesOf(file.meshes[2]), std::multiset<Triangle>{SpareTriangle()});
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(file.meshes[3 + i].vertices, file.meshes[i].vertices) << names[3 + i];
        EXPECT_EQ(file.meshes[3 + i].indices, file.meshes[i].indices) << names[3 + i];
        EXPECT_EQ(file.meshes[3 + i].attributes.size(), 1u);
    }
    ASSERT_EQ(file.nodes.size(), 2u);
    for (uint32_t n = 0; n < 2; ++n) {
        const PwnNode& node = file.nodes[n];
        EXPECT_EQ(node.mesh, 3 * n);
        EXPECT_EQ(node.translation[0], 1000.0f * n);
        ASSERT_EQ(node.children.size(), 2u);
        EXPECT_EQ(node.children[0].mesh, 3 * n + 1);
        EXPECT_EQ(node.children[1].mesh, 3 * n + 2);
    }
    EXPECT_NE(run.debugText().find("Copy of mesh grid.2\n"), std::string::npos);
}

// A document of the given number of effects (materials) and of one-triangle
// geometries, each placed by the given number of nodes.
std::string manyParts(int effects, int geometries, int nodesEach) {
    std::ostringstream text;
    text << "<COLLADA><library_effects>";
    for (int k = 0; k < effects; ++k) {
        text << "<effect id=\"e" << k << "\" name=\"e" << k << "\"></effect>";
    }
    text << "</library_effects>\n<library_geometries>";
    for (int k = 0; k < geometries; ++k) {
        text << "<geometry id=\"g" << k << "\" name=\"g" << k << "\"><mesh><source id=\"p" << k
             << "\"><float_array count=\"9\">0 0 0 1 0 0 0 1 0</float_array><technique_common>"
                "<accessor count=\"3\" stride=\"3\"/></technique_common></source><vertices>"
                "<input semantic=\"POSITION\" source=\"#p"
             << k
             << "\"/></vertices><triangles material=\"e0\" count=\"1\"><input semantic=\"VERTEX\" "
                "source=\"#v\" offset=\"0\"/><p>0 1 2</p></triangles></mesh></geometry>\n";
    }
    text << "</library_geometries><library_visual_scenes><visual_scene>\n";
    for (int k = 0; k < geometries; ++k) {
        for (int n = 0; n < nodesEach; ++n) {
            text << "<node name=\"n\"><instance_geometry url=\"#g" << k << "\"/></node>\n";
        }
    }
    text << "</visual_scene></library_visual_scenes></COLLADA>\n";
    return text.str();
}

std::set<std::string> listing(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(Drawable, MoreMeshesOrMaterialsThanTheEngineReadsAreRefused) {
    struct Case {
        int effects, geometries, nodesEach;
        std::string message; // empty: converted
    } cases[] = {
        {1, 256, 1, ""},
        {256, 1, 1, ""},
        {1, 257, 1, "The model needs 257 meshes; the engine reads at most 256 from one file\n"},
        {1, 1, 300, "The model needs 300 meshes; the engine reads at most 256 from one file\n"},
        {257, 1, 1, "The model has 257 materials; the engine reads at most 256 from one file\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.effects) + " effects, " + std::to_string(c.geometries) +
                     " geometries, " + std::to_string(c.nodesEach) + " nodes each");
        std::string dir = MakeScratchDir();
        WriteText(dir + "/rules.txt", ReadFileText(SHIPPED_RULES));
        WriteText(dir + "/many.dae", manyParts(c.effects, c.geometries, c.nodesEach));
        ASSERT_EQ(RunMeshwright({Fixture("dae_base.dae"), "keep.pwn"}, dir).status, 0);
        std::string kept = ReadFileText(dir + "/keep.pwn");
        std::set<std::string> names = listing(dir);

        MeshwrightRun run = RunMeshwright({"many.dae", "keep.pwn"}, dir);
        if (c.message.empty()) {
            EXPECT_EQ(run.status, 0) << run.out;
            PwnFile file = ReadOutput(run, "keep.pwn");
            EXPECT_EQ(file.meshes.size(), std::size_t(c.geometries * c.nodesEach));
            EXPECT_EQ(file.materials.size(), std::size_t(c.effects));
            continue;
        }
        EXPECT_EQ(run.status, 1);
        ASSERT_GE(run.out.size(), c.message.size());
        EXPECT_EQ(run.out.substr(run.out.size() - c.message.size()), c.message);
        EXPECT_TRUE(ReadFileText(dir + "/keep.pwn") == kept) << "the old output stays";
        EXPECT_EQ(listing(dir), names) << "no fragment is left beside it";
    }
}

} // namespace
