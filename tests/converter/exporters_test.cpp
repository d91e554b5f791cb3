// Small documents shaped like what common exporters write (Blender's OBJ,
// Maya's and 3ds Max's COLLADA), each checked down to the positions that come
// out, and the warnings of models that would show nothing.
#include "shipped.h"

#include <gtest/gtest.h>

namespace {

const std::string kDone = "Conversion completed!\n";

// The positions of a mesh's triangle corners, in index order.
std::vector<std::vector<float>> corners(const PwnMesh& mesh) {
    std::vector<std::vector<float>> out;
    for (uint32_t index : mesh.indices) {
        const float* v = mesh.vertex(index);
        out.push_back({v[0], v[1], v[2]});
    }
    return out;
}

using Corners = std::vector<std::vector<float>>;

// Blender 3.4's OBJ export with Triangulated Mesh: a "usemtl" for each
// material of an object, and an "o" for each object or (with object and
// material groups) a "g" for each object and each of its materials. The
// model is written as the triangles alone would be, with one warning.
TEST(ObjExporters, BlendersObjectsAndMaterialsAreCountedAndLeftOut) {
    struct Case {
        const char* fixture;
        std::string named;
        Corners corners;
    } cases[] = {
        {"blender_triangulated.obj",
         "2 materials (usemtl) and 2 objects or groups (o, g) that the file names were",
         {{1, 0, 1},
          {-1, 0, -1},
          {-1, 0, 1},
          {1, 0, 1},
          {1, 0, -1},
          {-1, 0, -1},
          {3, 0, 0},
          {4, 0, 0},
          {3, 1, 0}}},
        {"blender_groups.obj",
         "2 materials (usemtl) and 3 objects or groups (o, g) that the file names were",
         {{1, 0, 1}, {-1, 0, -1}, {-1, 0, 1}, {1, 0, 1}, {1, 0, -1}, {-1, 0, -1}}},
    };
    for (const Case& c : cases) {
        MeshwrightRun run;
        PwnFile file = ConvertFixture(c.fixture, run);
        EXPECT_EQ(run.out, NamesLeftOut(c.named) + kDone) << c.fixture;
        ASSERT_EQ(file.materials.size(), 1u) << c.fixture;
        EXPECT_EQ(file.materials[0].name, "DefaultMaterial") << c.fixture;
        ASSERT_EQ(file.meshes.size(), 1u) << c.fixture;
        EXPECT_EQ(file.meshes[0].name, "TriMesh") << c.fixture;
        EXPECT_EQ(corners(file.meshes[0]), c.corners) << c.fixture;
        EXPECT_EQ(file.meshes[0].floatsPerVertex, 9u) << c.fixture;
    }
}

TEST(ObjExporters, ObjectLinesExponentsAndLinesChangeNoPosition) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("exporter.obj", run);
    EXPECT_EQ(run.out, NamesLeftOut("1 material (usemtl) and 1 object or group (o, g) that the "
                                    "file names were") +
                           kDone)
        << "the empty middles of a//c pass in silence";
    ASSERT_EQ(file.meshes.size(), 1u);
    EXPECT_EQ(file.meshes[0].vertexCount, 3u) << "\"o Cover\" adds no vertex";
    EXPECT_EQ(corners(file.meshes[0]), (Corners{{1, 0, -1e-6f}, {0, 0.25f, 0}, {-0.0f, 0, 1.5f}}));
}

// An 'e' belongs to a number only right after one of its digits (or the
// point of a number such as 2.), a '+' only right after its 'e'; elsewhere
// both are skipped like any other letter.
TEST(ObjExporters, AnEOrPlusOutsideANumberIsSkipped) {
    struct Case {
        const char* line;
        std::vector<float> position;
    } cases[] = {
        {"v 0 0 0 e", {0, 0, 0}},
        {"v 1 2 3 E", {1, 2, 3}},
        {"v 1 2 3 +", {1, 2, 3}},
        {"v 1 2 e 3", {1, 2, 3}},
        {"v 2.5e1 -1E-1 1e+1 e", {25, -0.1f, 10}},
        {"v +4 2e 3E+", {4, 2, 3}},
        // After a point, an 'e' joins only a number such as 2. or -1.
        {"v 1.2.e3 .e5 2.e", {float(23 / 10.0 + 1), 0.5f, 2}},
    };
    for (const Case& c : cases) {
        MeshwrightRun run = ConvertTextWithShippedRules(
            "stray.obj", std::string(c.line) + "\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
        ASSERT_EQ(run.status, 0) << c.line << ": " << run.out;
        EXPECT_EQ(run.out, kDone) << c.line;
        PwnFile file = ReadOutput(run);
        ASSERT_EQ(file.meshes.size(), 1u);
        EXPECT_EQ(corners(file.meshes[0])[0], c.position) << c.line;
    }
}

TEST(ObjExporters, NegativeIndicesCountBackFromTheLastEntry) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("relative_indices.obj", run);
    ASSERT_EQ(file.meshes.size(), 1u);
    EXPECT_EQ(corners(file.meshes[0]),
              (Corners{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}, {1, 0, 0}}));
    for (const char* face : {"f -4 -1 -2\n", "f 0 1 2\n", "f 1 2 -9\n"}) {
        MeshwrightRun bad = ConvertTextWithShippedRules("bad.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\n" +
                                                                       std::string(face));
        EXPECT_EQ(bad.status, 1) << face;
        EXPECT_EQ(bad.out, "A face names a vertex position that does not exist\n") << face;
    }
}

TEST(ObjExporters, ModelsWithoutTrianglesWarnButComplete) {
    for (const char* text : {"", "junk\n\x01\x02\n", "v 0 0 0\nv 1 0 0\nl 1 2\np 1\n",
                             "v 0 0 0\nvn 0 0 1\nvt 1 1\nf 1//1 1//1\n"}) {
        MeshwrightRun run = ConvertTextWithShippedRules("empty.obj", text);
        EXPECT_EQ(run.status, 0) << text;
        EXPECT_EQ(run.out, "Warning: no triangles were written\n" + kDone) << text;
        PwnFile file = ReadOutput(run);
        ASSERT_EQ(file.meshes.size(), 1u) << text;
        EXPECT_EQ(file.meshes[0].vertexCount, 0u) << text;
        EXPECT_EQ(file.meshes[0].floatsPerVertex, 0u) << text << ": no vertex was assembled";
    }
}

TEST(DaeExporters, EffectsWithOnlyAnIdAndNodesNamedApartFromTheirGeometry) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_maya_like.dae", run);
    EXPECT_EQ(Warnings(run), std::vector<std::string>{kCentimetreWarning}) << run.out;
    ASSERT_EQ(file.materials.size(), 1u);
    EXPECT_EQ(file.materials[0].name, "blinn3-fx") << "named by the effect's id";
    EXPECT_FLOAT_EQ(file.materials[0].diffuse[0], 0.8f);
    EXPECT_FLOAT_EQ(file.materials[0].diffuse[1], 0.4f);
    EXPECT_FLOAT_EQ(file.materials[0].diffuse[2], 0.2f);
    ASSERT_EQ(file.meshes.size(), 1u);
    const PwnMesh& mesh = file.meshes[0];
    EXPECT_EQ(mesh.name, "wedgeShape");
    EXPECT_EQ(mesh.material, std::optional<uint32_t>(0))
        << "the symbol blinn3SG, bound to the material blinn3 of the effect blinn3-fx";
    EXPECT_EQ(corners(mesh), (Corners{{-1e-6f, 0, 15},
                                      {25, -0.0375f, 0},
                                      {0, 1, -7.5f},
                                      {0, 1, -7.5f},
                                      {25, -0.0375f, 0},
                                      {100, 0.002f, -0.0f}}));
    // The node "wedge" places "wedgeShape" by its <instance_geometry>; the
    // camera's node places nothing.
    ASSERT_EQ(file.nodes.size(), 1u);
    EXPECT_EQ(file.nodes[0].mesh, 0u);
    EXPECT_EQ(std::vector<float>(file.nodes[0].translation, file.nodes[0].translation + 3),
              (std::vector<float>{1.5f, -2, 0.325f}));
}

TEST(DaeExporters, NodesPlacedByAMatrix) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_blender_like.dae", run);
    ASSERT_EQ(file.materials.size(), 1u);
    EXPECT_EQ(file.materials[0].name, "Material-effect");
    ASSERT_EQ(file.meshes.size(), 1u);
    EXPECT_EQ(file.meshes[0].name, "Plane");
    const float* first = file.meshes[0].vertex(file.meshes[0].indices[0]);
    EXPECT_EQ(std::vector<float>(first, first + 6), (std::vector<float>{1, -1, 0, 0, 0, 1}));
    EXPECT_EQ(corners(file.meshes[0]),
              (Corners{{1, -1, 0}, {-1, 1, 0}, {-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}));
    // Translation (2, 0, -1.5), a quarter turn about z, scale 3.
    ASSERT_EQ(file.nodes.size(), 1u);
    const PwnNode& node = file.nodes[0];
    EXPECT_EQ(node.tags, (std::vector<std::string>{"rota", "tran", "scal"}));
    EXPECT_EQ(std::vector<float>(node.translation, node.translation + 3),
              (std::vector<float>{2, 0, -1.5f}));
    EXPECT_EQ(std::vector<float>(node.scale, node.scale + 3), (std::vector<float>{3, 3, 3}));
    EXPECT_NEAR(node.rotation[0], 0, 1e-6);
    EXPECT_NEAR(node.rotation[1], 0, 1e-6);
    EXPECT_NEAR(node.rotation[2], 1, 1e-6);
    EXPECT_NEAR(node.rotation[3], 3.14159265f / 2, 1e-6);
}

TEST(DaeExporters, EachTrianglesOfAMeshBecomesAMeshPlacedWithTheFirst) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_two_triangles.dae", run);
    EXPECT_TRUE(Printed(run, "Warning: mesh Box01: 1 elements other than <triangles> were not "
                             "converted\n"))
        << run.out;
    EXPECT_EQ(run.out.find("Warning", run.out.find("Warning") + 1), std::string::npos) << run.out;
    ASSERT_EQ(file.materials.size(), 2u);
    ASSERT_EQ(file.meshes.size(), 2u);
    EXPECT_EQ(file.meshes[0].name, "Box01");
    EXPECT_EQ(file.meshes[0].material, std::optional<uint32_t>(0));
    EXPECT_EQ(corners(file.meshes[0]), (Corners{{0, 0, 0}, {1, 0, 0}, {0.5f, 0.5f, 1}}));
    EXPECT_EQ(file.meshes[1].name, "Box01.2");
    EXPECT_EQ(file.meshes[1].material, std::optional<uint32_t>(1));
    EXPECT_EQ(
        corners(file.meshes[1]),
        (Corners{{1, 0, 0}, {1, 1, 0}, {0.5f, 0.5f, 1}, {1, 1, 0}, {0, 1, 0}, {0.5f, 0.5f, 1}}));
    ASSERT_EQ(file.nodes.size(), 1u);
    const PwnNode& node = file.nodes[0];
    EXPECT_EQ(node.mesh, 0u);
    EXPECT_FLOAT_EQ(node.translation[2], -19.685f);
    ASSERT_EQ(node.children.size(), 1u) << "the second part hangs below the first";
    EXPECT_EQ(node.children[0].mesh, 1u);
    EXPECT_TRUE(node.children[0].tags.empty()) << "with no transform of its own";
}

TEST(DaeExporters, AGeometryWhoseNameIsTakenIsNamedByItsId) {
    std::string base = ReadFileText(Fixture("dae_base.dae"));
    std::size_t from = base.find("<geometry"), to = base.find("</library_geometries>");
    std::string geometry = base.substr(from, to - from);
    std::string second = geometry;
    second.replace(second.find("tri-mesh"), 8, "tri-copy");
    std::string text = base.substr(0, to) + second + base.substr(to);
    text.replace(text.find("<node id=\"c\" name=\"nothing\">"), 28,
                 "<node id=\"c\" name=\"x\"><instance_geometry url=\"#tri-copy\"/>");
    MeshwrightRun run = ConvertTextWithShippedRules("copies.dae", text);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_FALSE(Printed(run, "Warning")) << run.out;
    PwnFile file = ReadOutput(run);
    ASSERT_EQ(file.meshes.size(), 3u) << "with the copy of tri for its second node";
    EXPECT_EQ(file.meshes[0].name, "tri");
    EXPECT_EQ(file.meshes[1].name, "tri-copy");
    ASSERT_EQ(file.nodes.size(), 2u);
    EXPECT_EQ(file.nodes[0].mesh, 0u);
    EXPECT_EQ(file.nodes[1].mesh, 1u) << "placed by its <instance_geometry>";
}

// Blender leaves out the attributes that COLLADA lets an element leave out,
// such as an effect's name and, for an object without a material, the
// <triangles>' material: no line calls them missing, and only the mesh
// without a material is warned of.
TEST(DaeExporters, AttributesAnElementMayLeaveOutAreNotCalledMissing) {
    const std::string base = ReadFileText(Fixture("dae_blender_hierarchy.dae"));
    auto with = [&](const std::string& from, const std::string& to) {
        std::string text = base;
        return text.replace(text.find(from), from.size(), to);
    };
    auto noMaterial = [](const std::string& mesh) {
        return "Warning: mesh " + mesh + " has no material (its <triangles> names none)";
    };
    const std::string shear = "Warning: node Child: its transform is not a translation, a "
                              "rotation and a scale (it shears); the nearest of those was "
                              "converted, and the node inside it moves with it";
    const std::vector<std::string> exported = {kZUpWarning, shear, noMaterial("Cube.002"),
                                               noMaterial("Cube.001")};
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> warnings;
    } cases[] = {
        {"as Blender wrote it", base, exported},
        {"a node without name and id",
         with("<node id=\"Grand\" name=\"Grand\" type=\"NODE\">", "<node type=\"NODE\">"),
         exported},
        {"a geometry without a name",
         with("<geometry id=\"Cube_002-mesh\" name=\"Cube.002\">",
              "<geometry id=\"Cube_002-mesh\">"),
         {kZUpWarning, shear, noMaterial("Cube_002-mesh"), noMaterial("Cube.001")}},
        // What follows from a material without an id is said: nothing binds it.
        {"a material without an id",
         with("<material id=\"Material-material\" name=\"Material\">",
              "<material name=\"Material\">"),
         {"Warning: node Cube: <instance_material symbol=\"Material-material\" "
          "target=\"#Material-material\"> names no material of the document",
          kZUpWarning, shear, noMaterial("Cube.002"), noMaterial("Cube.001"),
          "Warning: mesh Cube has no material (none is named \"Material-material\")"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeshwrightRun run = ConvertTextWithShippedRules("blender.dae", c.text);
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_FALSE(Printed(run, "Couldn't find attribute")) << run.out;
        EXPECT_EQ(Warnings(run), c.warnings) << run.out;
    }
}

TEST(DaeExporters, DocumentsThatWouldShowNothingWarn) {
    std::string base = ReadFileText(Fixture("dae_base.dae"));
    std::string unplaced = base.substr(0, base.find("<library_visual_scenes>")) + "</COLLADA>\n";
    MeshwrightRun run = ConvertTextWithShippedRules("unplaced.dae", unplaced);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(Printed(run, "Warning: mesh tri is placed by no node\n" + kDone)) << run.out;

    const char* cameras = "<COLLADA><library_visual_scenes><visual_scene><node name=\"cam\">"
                          "<instance_camera url=\"#c\"/></node></visual_scene>"
                          "</library_visual_scenes></COLLADA>\n";
    for (const char* text : {cameras, "", "junk"}) {
        MeshwrightRun empty = ConvertTextWithShippedRules("empty.dae", text);
        EXPECT_EQ(empty.status, 0) << text;
        EXPECT_NE(empty.out.find("Warning: no triangles were written\n" + kDone), std::string::npos)
            << empty.out;
    }
}

} // namespace
