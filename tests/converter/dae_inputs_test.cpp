// The inputs of a COLLADA <triangles> with the shipped "rules.txt": inputs
// that share an offset, offsets out of order or with gaps, malformed offsets,
// a second set of texture coordinates, and the geometries whose faces are not
// <triangles>.
#include "shipped.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using Floats = std::vector<float>;

// Every vertex of the mesh, in index order.
std::vector<Floats> cornerVertices(const PwnMesh& mesh) {
    std::vector<Floats> out;
    for (uint32_t index : mesh.indices) {
        const float* v = mesh.vertex(index);
        out.emplace_back(v, v + mesh.floatsPerVertex);
    }
    return out;
}

std::vector<std::string> attributeNames(const PwnMesh& mesh) {
    std::vector<std::string> names;
    for (const PwnAttribute& a : mesh.attributes) {
        names.push_back(a.name);
    }
    return names;
}

// The quad of dae_shared_offsets.dae (positions, normals, texture
// coordinates of corners 0 1 2 and 0 2 3).
const std::vector<Floats> kQuad = {
    {-1, -1, 0, 0, 0, 1, 0, 0}, {1, -1, 0, 0, 0, 1, 1, 0}, {1, 1, 0, 0, 0, 1, 1, 1},
    {-1, -1, 0, 0, 0, 1, 0, 0}, {1, 1, 0, 0, 0, 1, 1, 1},  {-1, 1, 0, 0, 0, 1, 0, 1},
};

// The shared-offsets fixture with its inputs and index list replaced.
std::string quadWith(const std::string& inputs, const std::string& list) {
    std::string text = ReadFileText(Fixture("dae_shared_offsets.dae"));
    std::size_t from = text.find("<input semantic=\"VERTEX\"");
    std::size_t to = text.find("</p>");
    return text.replace(from, to - from, inputs + "<p>" + list);
}

std::string input(const char* semantic, const char* source, const std::string& offset) {
    std::string text =
        "<input semantic=\"" + std::string(semantic) + "\" source=\"#id-mesh-3-" + source + "\"";
    if (!offset.empty()) {
        text += " offset=\"" + offset + "\"";
    }
    return text + "/>\n";
}

TEST(DaeInputs, InputsThatShareAnOffsetReadOneIndexTogether) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_shared_offsets.dae", run);
    EXPECT_FALSE(Printed(run, "Warning")) << run.out;
    ASSERT_EQ(file.meshes.size(), 1u);
    const PwnMesh& mesh = file.meshes[0];
    EXPECT_EQ(attributeNames(mesh), (std::vector<std::string>{"VERTEX", "NORMAL", "TEXCOORD"}));
    EXPECT_EQ(mesh.attributes[2].offset, 6u);
    EXPECT_EQ(mesh.floatsPerVertex, 8u);
    EXPECT_EQ(mesh.vertexCount, 4u);
    EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3}));
    EXPECT_EQ(cornerVertices(mesh), kQuad);
}

// Each input takes the index at its own offset, wherever the input stands
// and whatever the offsets between are left unused.
TEST(DaeInputs, EachInputTakesTheIndexAtItsOffset) {
    struct Case {
        const char* what;
        std::string inputs;
        const char* list;
        std::vector<std::string> attributes;
        std::vector<Floats> corners;
    } cases[] = {
        {"two shared, one apart",
         input("VERTEX", "vertices", "0") + input("NORMAL", "normals", "0") +
             input("TEXCOORD", "texcoord-0", "1"),
         "0 0 1 1 2 2 0 0 2 2 3 3",
         {"VERTEX", "NORMAL", "TEXCOORD"},
         kQuad},
        {"offsets out of document order",
         input("TEXCOORD", "texcoord-0", "1") + input("VERTEX", "vertices", "0") +
             input("NORMAL", "normals", "0"),
         "0 0 1 1 2 2 0 0 2 2 3 3",
         {"TEXCOORD", "VERTEX", "NORMAL"},
         {{0, 0, -1, -1, 0, 0, 0, 1},
          {1, 0, 1, -1, 0, 0, 0, 1},
          {1, 1, 1, 1, 0, 0, 0, 1},
          {0, 0, -1, -1, 0, 0, 0, 1},
          {1, 1, 1, 1, 0, 0, 0, 1},
          {0, 1, -1, 1, 0, 0, 0, 1}}},
        {"an offset no input uses",
         input("VERTEX", "vertices", "0") + input("TEXCOORD", "texcoord-0", "2"),
         "0 9 0 1 9 1 2 9 2 0 9 0 2 9 2 3 9 3",
         {"VERTEX", "TEXCOORD"},
         {{-1, -1, 0, 0, 0},
          {1, -1, 0, 1, 0},
          {1, 1, 0, 1, 1},
          {-1, -1, 0, 0, 0},
          {1, 1, 0, 1, 1},
          {-1, 1, 0, 0, 1}}},
    };
    for (const Case& c : cases) {
        MeshwrightRun run = ConvertTextWithShippedRules("quad.dae", quadWith(c.inputs, c.list));
        ASSERT_EQ(run.status, 0) << c.what << ": " << run.out;
        EXPECT_FALSE(Printed(run, "Warning")) << c.what << ": " << run.out;
        PwnFile file = ReadOutput(run);
        ASSERT_EQ(file.meshes.size(), 1u) << c.what;
        EXPECT_EQ(attributeNames(file.meshes[0]), c.attributes) << c.what;
        EXPECT_EQ(cornerVertices(file.meshes[0]), c.corners) << c.what;
    }
}

TEST(DaeInputs, MalformedOffsetsStopWithAMessage) {
    struct Case {
        std::string offset;
        const char* message;
    } cases[] = {
        {"-1", "An input's offset is not a whole number of 0 or more\n"},
        {"one", "An input's offset is not a whole number of 0 or more\n"},
        {"1.5", "An input's offset is not a whole number of 0 or more\n"},
        {"6", "An input's offset lies past the end of the index list\n"},
        {"2147483648", "An input's offset lies past the end of the index list\n"},
        {"99999999999999999999999", "An input's offset lies past the end of the index list\n"},
        {"4", "The index list does not match the inputs\n"},
    };
    for (const Case& c : cases) {
        std::string inputs =
            input("VERTEX", "vertices", "0") + input("NORMAL", "normals", c.offset);
        MeshwrightRun run =
            ConvertTextWithShippedRules("quad.dae", quadWith(inputs, "0 1 2 0 2 3"));
        EXPECT_EQ(run.status, 1) << c.offset;
        std::string out = run.out;
        ASSERT_GE(out.size(), std::strlen(c.message)) << c.offset;
        EXPECT_EQ(out.substr(out.size() - std::strlen(c.message)), c.message) << c.offset;
    }
}

// Without an offset on every input, the inputs take one index each in turn,
// as the converter always read them.
TEST(DaeInputs, InputsWithoutOffsetsAreReadInTurnWithAWarning) {
    std::string inputs = input("VERTEX", "vertices", "0") + input("NORMAL", "normals", "") +
                         input("TEXCOORD", "texcoord-0", "");
    MeshwrightRun run = ConvertTextWithShippedRules(
        "quad.dae", quadWith(inputs, "0 0 0 1 1 1 2 2 2 0 0 0 2 2 2 3 3 3"));
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Printed(run, "Warning: mesh Plane: an input has no offset, so each input takes "
                             "one index of a corner in turn\n"))
        << run.out;
    PwnFile file = ReadOutput(run);
    ASSERT_EQ(file.meshes.size(), 1u);
    EXPECT_EQ(cornerVertices(file.meshes[0]), kQuad);
}

TEST(DaeInputs, OnlyTheFirstSetOfTextureCoordinatesIsKept) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_two_uv_sets.dae", run);
    EXPECT_TRUE(Printed(run, "Warning: mesh Quad01: a further TEXCOORD input was left out (only "
                             "the first input of a semantic is kept)\n"))
        << run.out;
    ASSERT_EQ(file.meshes.size(), 1u);
    const PwnMesh& mesh = file.meshes[0];
    EXPECT_EQ(attributeNames(mesh), (std::vector<std::string>{"VERTEX", "NORMAL", "TEXCOORD"}));
    EXPECT_EQ(mesh.floatsPerVertex, 9u);
    EXPECT_EQ(cornerVertices(mesh), (std::vector<Floats>{{0, 0, 0, 0, 0, 1, 0, 0, 0},
                                                         {10, 0, 0, 0, 0, 1, 1, 0, 0},
                                                         {0, 10, 0, 0, 0, 1, 0, 1, 0}}));
}

// "Couldn't find index array for mesh" is followed by what the geometry
// holds in place of triangles.
TEST(DaeInputs, AGeometryWithoutTrianglesSaysWhatItHolds) {
    const std::string kNoIndexArray = "Couldn't find index array for mesh\n";
    const std::string kTriangulate =
        " in place of <triangles>: triangulate the model first (most exporters have an "
        "option), or go through OBJ: assimp export in.dae out.obj -tri, then Meshwright out.obj "
        "out.pwn (one mesh with a default material: the materials, names and nodes are lost)\n";
    struct Case {
        const char* element;
        std::string line;
    } cases[] = {
        {"polylist", "The geometry tri holds <polylist>" + kTriangulate},
        {"polygons", "The geometry tri holds <polygons>" + kTriangulate},
        {"tristrips", "The geometry tri holds <tristrips>" + kTriangulate},
        {"trifans", "The geometry tri holds <trifans>" + kTriangulate},
        {"lines", "The geometry tri holds <lines>" + kTriangulate},
        {"linestrips", "The geometry tri holds <lines>" + kTriangulate},
        {"spline", "The geometry tri holds no <triangles>\n"},
    };
    std::string base = ReadFileText(Fixture("dae_polylist.dae"));
    for (const Case& c : cases) {
        std::string text = base;
        for (std::size_t at = 0; (at = text.find("polylist", at)) != std::string::npos;
             at += std::strlen(c.element)) {
            text.replace(at, 8, c.element);
        }
        MeshwrightRun run = ConvertTextWithShippedRules("model.dae", text);
        EXPECT_EQ(run.status, 1) << c.element;
        EXPECT_EQ(run.out, "Rules successfully read\nFetching material\nAssembling mesh\n" +
                               kNoIndexArray + c.line)
            << c.element;
    }
    MeshwrightRun both = ConvertWithShippedRules(Fixture("dae_no_index_array.dae"));
    EXPECT_EQ(both.status, 1);
    EXPECT_TRUE(Printed(both, kNoIndexArray + "The geometry tri has a <triangles> without a <p>\n"))
        << both.out;
}

} // namespace
