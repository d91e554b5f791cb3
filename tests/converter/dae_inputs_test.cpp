// The inputs of a COLLADA <triangles> with the shipped "rules.txt": inputs
// that share an offset, offsets out of order or with gaps, malformed offsets,
// the inputs of <vertices>, accessor offsets, a second set of texture
// coordinates, empty <triangles>, and the geometries whose faces are not
// <triangles>.
#include "shipped.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

using Floats = std::vector<float>;

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

// The corners of kQuad with the values of each part in the order given:
// 'p' position, 'n' normal, 't' texture coordinate.
std::vector<Floats> quadCorners(const std::string& parts) {
    std::vector<Floats> out;
    for (const Floats& corner : kQuad) {
        Floats values;
        for (char part : parts) {
            std::size_t from = part == 'p' ? 0 : part == 'n' ? 3 : 6;
            std::size_t to = part == 't' ? 8 : from + 3;
            values.insert(values.end(), corner.begin() + from, corner.begin() + to);
        }
        out.push_back(values);
    }
    return out;
}

// An input of the quad's <vertices>: source names one of its <source>s.
std::string vertexInput(const std::string& semantic, const std::string& source) {
    return "<input semantic=\"" + semantic + "\" source=\"#id-mesh-3-" + source + "\"/>\n";
}

// The quad with the inputs of its <vertices> replaced too.
std::string quadWithVertices(const std::string& vertexInputs, const std::string& inputs,
                             const std::string& list) {
    std::string text = quadWith(inputs, list);
    std::size_t from = text.find("<input semantic=\"POSITION\"");
    std::size_t to = text.find("</vertices>");
    return text.replace(from, to - from, vertexInputs);
}

TEST(DaeInputs, InputsThatShareAnOffsetReadOneIndexTogether) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_shared_offsets.dae", run);
    EXPECT_EQ(Warnings(run), std::vector<std::string>{kZUpWarning}) << run.out;
    ASSERT_EQ(file.meshes.size(), 1u);
    const PwnMesh& mesh = file.meshes[0];
    EXPECT_EQ(attributeNames(mesh), (std::vector<std::string>{"VERTEX", "NORMAL", "TEXCOORD"}));
    EXPECT_EQ(mesh.attributes[2].offset, 6u);
    EXPECT_EQ(mesh.floatsPerVertex, 8u);
    EXPECT_EQ(mesh.vertexCount, 4u);
    EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3}));
    EXPECT_EQ(CornerVertices(mesh), kQuad);
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
        EXPECT_EQ(Warnings(run), std::vector<std::string>{kZUpWarning})
            << c.what << ": " << run.out;
        PwnFile file = ReadOutput(run);
        ASSERT_EQ(file.meshes.size(), 1u) << c.what;
        EXPECT_EQ(attributeNames(file.meshes[0]), c.attributes) << c.what;
        EXPECT_EQ(CornerVertices(file.meshes[0]), c.corners) << c.what;
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
    EXPECT_EQ(CornerVertices(file.meshes[0]), kQuad);
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
    EXPECT_EQ(CornerVertices(mesh), (std::vector<Floats>{{0, 0, 0, 0, 0, 1, 0, 0, 0},
                                                         {10, 0, 0, 0, 0, 1, 1, 0, 0},
                                                         {0, 10, 0, 0, 0, 1, 0, 1, 0}}));
}

// Every input of the <vertices> that VERTEX names is an input of the
// triangles, read at the VERTEX input's offset; its POSITION is the position.
// A mesh holds one <vertices>, which a VERTEX input that names another id
// reads as before.
TEST(DaeInputs, TheInputsOfVerticesAreInputsOfTheTriangles) {
    const std::string position = vertexInput("POSITION", "positions");
    const std::string normal = vertexInput("NORMAL", "normals");
    const std::string texcoord = vertexInput("TEXCOORD", "texcoord-0");
    struct Case {
        const char* what;
        std::string vertices;
        std::string inputs;
        const char* list;
        std::vector<std::string> attributes;
        std::string corners;
        const char* warning;
    } cases[] = {
        {"normals beside the positions",
         position + normal,
         input("VERTEX", "vertices", "0") + input("TEXCOORD", "texcoord-0", "1"),
         "0 0 1 1 2 2 0 0 2 2 3 3",
         {"VERTEX", "NORMAL", "TEXCOORD"},
         "pnt",
         nullptr},
        {"everything in the vertices",
         position + normal + texcoord,
         input("VERTEX", "vertices", "0"),
         "0 1 2 0 2 3",
         {"VERTEX", "NORMAL", "TEXCOORD"},
         "pnt",
         nullptr},
        {"VERTEX at the second offset",
         position + normal,
         input("TEXCOORD", "texcoord-0", "0") + input("VERTEX", "vertices", "1"),
         "0 0 1 1 2 2 0 0 2 2 3 3",
         {"TEXCOORD", "VERTEX", "NORMAL"},
         "tpn",
         nullptr},
        {"normals before the positions",
         normal + position,
         input("VERTEX", "vertices", "0"),
         "0 1 2 0 2 3",
         {"NORMAL", "VERTEX"},
         "np",
         nullptr},
        {"normals in both",
         position + normal,
         input("VERTEX", "vertices", "0") + input("NORMAL", "normals", "0"),
         "0 1 2 0 2 3",
         {"VERTEX", "NORMAL"},
         "pn",
         "Warning: mesh Plane: a further NORMAL input was left out (only the first input of a "
         "semantic is kept)\n"},
        {"VERTEX naming no <vertices>",
         position + normal,
         input("VERTEX", "elsewhere", "0"),
         "0 1 2 0 2 3",
         {"VERTEX", "NORMAL"},
         "pn",
         "Warning: mesh Plane: the VERTEX input's source #id-mesh-3-elsewhere names no "
         "<vertices>; the mesh's <vertices> was read\n"},
        {"an unknown semantic beside the positions",
         position + vertexInput("UV", "texcoord-0"),
         input("VERTEX", "vertices", "0"),
         "0 1 2 0 2 3",
         {"VERTEX"},
         "p",
         nullptr},
    };
    for (const Case& c : cases) {
        MeshwrightRun run =
            ConvertTextWithShippedRules("quad.dae", quadWithVertices(c.vertices, c.inputs, c.list));
        ASSERT_EQ(run.status, 0) << c.what << ": " << run.out;
        if (c.warning != nullptr) {
            EXPECT_TRUE(Printed(run, c.warning)) << c.what << ": " << run.out;
        } else {
            EXPECT_EQ(Warnings(run), std::vector<std::string>{kZUpWarning})
                << c.what << ": " << run.out;
        }
        PwnFile file = ReadOutput(run);
        ASSERT_EQ(file.meshes.size(), 1u) << c.what;
        EXPECT_EQ(attributeNames(file.meshes[0]), c.attributes) << c.what;
        EXPECT_EQ(CornerVertices(file.meshes[0]), quadCorners(c.corners)) << c.what;
    }
}

TEST(DaeInputs, VerticesThatCannotGiveThePositionsStopWithAMessage) {
    const std::string position = vertexInput("POSITION", "positions");
    struct Case {
        const char* what;
        std::string vertices;
        std::string inputs;
        std::string message;
    } cases[] = {
        {"no POSITION", vertexInput("NORMAL", "normals"), input("VERTEX", "vertices", "0"),
         "The <vertices> of mesh Plane has no POSITION input\n"},
        {"an input without a semantic", position + "<input source=\"#id-mesh-3-normals\"/>",
         input("VERTEX", "vertices", "0"), "An input has no semantic or source\n"},
        {"an input that names no source", position + vertexInput("NORMAL", "nowhere"),
         input("VERTEX", "vertices", "0"), "No source for array\n"},
    };
    for (const Case& c : cases) {
        MeshwrightRun run = ConvertTextWithShippedRules(
            "quad.dae", quadWithVertices(c.vertices, c.inputs, "0 1 2 0 2 3"));
        EXPECT_EQ(run.status, 1) << c.what;
        EXPECT_TRUE(Printed(run, c.message)) << c.what << ": " << run.out;
    }
}

// The quad whose positions array holds numbers, read by the accessor given.
std::string quadWithPositions(const std::string& numbers, const std::string& accessor) {
    std::string text = ReadFileText(Fixture("dae_shared_offsets.dae"));
    const std::string kNumbers = " -1 -1 0 1 -1 0 1 1 0 -1 1 0";
    const std::string kAccessor =
        "<accessor source=\"#id-mesh-3-positions-array\" count=\"4\" stride=\"3\">";
    text.replace(text.find(kNumbers), kNumbers.size(), numbers);
    return text.replace(text.find(kAccessor), kAccessor.size(), accessor);
}

// An accessor reads its count x stride numbers from its offset on.
TEST(DaeInputs, AnAccessorReadsFromItsOffset) {
    struct Case {
        const char* numbers;
        const char* accessor;
    } cases[] = {
        {"7 -1 -1 0 1 -1 0 1 1 0 -1 1 0",
         "<accessor source=\"#a\" count=\"4\" offset=\"1\" stride=\"3\">"},
        {"7 8 9 -1 -1 0 1 -1 0 1 1 0 -1 1 0 5 5",
         "<accessor count=\"4\" offset=\"3\" source=\"#a\" stride=\"3\">"},
        {"-1 -1 0 1 -1 0 1 1 0 -1 1 0", "<accessor offset=\"0\" count=\"4\" stride=\"3\">"},
    };
    for (const Case& c : cases) {
        MeshwrightRun run =
            ConvertTextWithShippedRules("quad.dae", quadWithPositions(c.numbers, c.accessor));
        ASSERT_EQ(run.status, 0) << c.accessor << ": " << run.out;
        EXPECT_FALSE(Printed(run, "Couldn't find attribute")) << run.out;
        PwnFile file = ReadOutput(run);
        ASSERT_EQ(file.meshes.size(), 1u) << c.accessor;
        EXPECT_EQ(CornerVertices(file.meshes[0]), kQuad) << c.accessor;
    }
}

TEST(DaeInputs, AnAccessorPastItsArrayStopsWithAMessage) {
    struct Case {
        const char* numbers;
        const char* accessor;
        const char* message;
    } cases[] = {
        {"7 -1 -1 0 1 -1 0 1 1 0 -1 1 0", "<accessor count=\"4\" offset=\"2\" stride=\"3\">",
         "An array holds fewer numbers than its accessor counts from its offset on\n"},
        {"-1 -1 0 1 -1 0 1 1 0 -1 1 0", "<accessor count=\"4\" offset=\"2147483647\" stride=\"3\">",
         "An array holds fewer numbers than its accessor counts from its offset on\n"},
        {"-1 -1 0 1 -1 0 1 1 0 -1 1", "<accessor count=\"4\" stride=\"3\">",
         "An array holds fewer numbers than its accessor counts\n"},
        {"-1 -1 0 1 -1 0 1 1 0 -1 1 0", "<accessor count=\"4\" offset=\"-1\" stride=\"3\">",
         "An accessor's offset is below 0\n"},
    };
    for (const Case& c : cases) {
        MeshwrightRun run =
            ConvertTextWithShippedRules("quad.dae", quadWithPositions(c.numbers, c.accessor));
        EXPECT_EQ(run.status, 1) << c.accessor;
        EXPECT_TRUE(Printed(run, c.message)) << c.accessor << ": " << run.out;
    }
}

// The two-triangles fixture with its <triangles> of material "top" (one
// triangle) replaced by triangles.
std::string boxWithTop(const std::string& triangles) {
    std::string text = ReadFileText(Fixture("dae_two_triangles.dae"));
    std::size_t from = text.find("<triangles material=\"top\"");
    std::size_t to = text.find("</triangles>", from) + std::strlen("</triangles>");
    return text.replace(from, to - from, triangles);
}

// A <triangles> that holds no triangle is left out with a warning that says
// what it holds; the geometry's other triangles are converted.
TEST(DaeInputs, EmptyTrianglesAreLeftOut) {
    const std::string kVertex =
        "<input semantic=\"VERTEX\" source=\"#Box01-mesh-vertices\" offset=\"0\"/>";
    struct Case {
        std::string triangles;
        const char* held;
    } cases[] = {
        {"<triangles material=\"top\" count=\"0\">" + kVertex + "</triangles>",
         "count 0 and no <p>"},
        {"<triangles material=\"top\" count=\"0\">" + kVertex + "<p></p></triangles>",
         "count 0 and an empty <p>"},
        {"<triangles material=\"top\" count=\"0\">" + kVertex + "<p> \n </p></triangles>",
         "count 0 and an empty <p>"},
        {"<triangles material=\"top\" count=\"1\">" + kVertex + "<p></p></triangles>",
         "count 1 and an empty <p>"},
        {"<triangles material=\"top\">" + kVertex + "<p></p></triangles>",
         "no count and an empty <p>"},
        {"<triangles material=\"top\"></triangles>", "no count and no <p>"},
    };
    for (const Case& c : cases) {
        MeshwrightRun run = ConvertTextWithShippedRules("box.dae", boxWithTop(c.triangles));
        ASSERT_EQ(run.status, 0) << c.held << ": " << run.out;
        EXPECT_TRUE(Printed(run, "Warning: mesh Box01: a <triangles> holds no triangles (" +
                                     std::string(c.held) + "); it was left out\n"))
            << c.held << ": " << run.out;
        EXPECT_FALSE(Printed(run, "names no geometry")) << run.out;
        PwnFile file = ReadOutput(run);
        ASSERT_EQ(file.meshes.size(), 1u) << c.held;
        const PwnMesh& mesh = file.meshes[0];
        EXPECT_EQ(mesh.name, "Box01") << c.held;
        ASSERT_TRUE(mesh.material.has_value()) << c.held;
        EXPECT_EQ(file.materials[*mesh.material].name, "side") << c.held;
        EXPECT_EQ(
            CornerVertices(mesh),
            (std::vector<Floats>{
                {1, 0, 0}, {1, 1, 0}, {0.5f, 0.5f, 1}, {1, 1, 0}, {0, 1, 0}, {0.5f, 0.5f, 1}}))
            << c.held;
        ASSERT_EQ(file.nodes.size(), 1u) << c.held;
        EXPECT_EQ(file.nodes[0].mesh, 0u) << c.held;
    }
}

// A count of 0 beside an index list is taken as the list stands, as any
// other count that the list does not match.
TEST(DaeInputs, ACountOfZeroBesideIndicesTakesTheList) {
    MeshwrightRun run = ConvertTextWithShippedRules(
        "box.dae", boxWithTop("<triangles material=\"top\" count=\"0\"><input "
                              "semantic=\"VERTEX\" source=\"#Box01-mesh-vertices\" "
                              "offset=\"0\"/><p>0 1 4</p></triangles>"));
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Printed(run, "Warning: mesh Box01: the index list holds 1 triangles, the count "
                             "says 0\n"))
        << run.out;
    PwnFile file = ReadOutput(run);
    ASSERT_EQ(file.meshes.size(), 2u);
    EXPECT_EQ(CornerVertices(file.meshes[0]),
              (std::vector<Floats>{{0, 0, 0}, {1, 0, 0}, {0.5f, 0.5f, 1}}));
}

// A geometry whose every <triangles> is empty (and that holds no other
// faces) gives no mesh, and the node that places it places nothing, without
// being told that the geometry is not there.
TEST(DaeInputs, AGeometryOfEmptyTrianglesGivesNoMesh) {
    std::string text = ReadFileText(Fixture("dae_two_triangles.dae"));
    for (const char* p : {"<p>0 1 4</p>", "<p>1 2 4 2 3 4</p>"}) {
        text.replace(text.find(p), std::strlen(p), "<p></p>");
    }
    std::size_t lines = text.find("<lines");
    text.erase(lines, text.find("</lines>") + std::strlen("</lines>") - lines);
    MeshwrightRun run = ConvertTextWithShippedRules("box.dae", text);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Printed(run, "Warning: mesh Box01: a <triangles> holds no triangles (count 1 and "
                             "an empty <p>); it was left out\n"))
        << run.out;
    EXPECT_TRUE(Printed(run, "Warning: mesh Box01: a <triangles> holds no triangles (count 2 and "
                             "an empty <p>); it was left out\n"))
        << run.out;
    EXPECT_TRUE(Printed(run, "Warning: no triangles were written\n")) << run.out;
    EXPECT_FALSE(Printed(run, "names no geometry")) << run.out;
    EXPECT_TRUE(ReadOutput(run).meshes.empty());
}

// A geometry of empty <triangles> beside polygons holds its faces in the
// polygons, and is refused as one without <triangles>.
TEST(DaeInputs, EmptyTrianglesBesidePolygonsAreNoTriangles) {
    std::string text = ReadFileText(Fixture("dae_polylist.dae"));
    std::size_t at = text.find("<polylist");
    text.insert(at, "<triangles count=\"0\"></triangles>");
    MeshwrightRun run = ConvertTextWithShippedRules("model.dae", text);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Printed(run, "Warning: mesh tri: a <triangles> holds no triangles (count 0 and "
                             "no <p>); it was left out\nCouldn't find index array for mesh\nThe "
                             "geometry tri holds <polylist> in place of <triangles>"))
        << run.out;
}

// Debian's assimp-testmodels: COLLADA_triangulate.dae lists the floor's
// normals inside its <vertices>, and Maya's sphere_triangulate.dae all of its
// normals, beside the texture coordinates of its <triangles>.
TEST(DaeInputs, DebiansModelsKeepTheNormalsOfTheirVertices) {
    const std::string kModels = "/usr/share/assimp/models/Collada/";
    if (FileMode(kModels + "COLLADA_triangulate.dae") == 0) {
        GTEST_SKIP() << "needs assimp-testmodels";
    }
    MeshwrightRun run = ConvertWithShippedRules(kModels + "COLLADA_triangulate.dae");
    ASSERT_EQ(run.status, 0) << run.out;
    PwnFile file = ReadOutput(run);
    ASSERT_GE(file.meshes.size(), 1u);
    const PwnMesh& floor = file.meshes[0];
    EXPECT_EQ(floor.name, "floor");
    EXPECT_EQ(attributeNames(floor), (std::vector<std::string>{"VERTEX", "NORMAL"}));
    EXPECT_EQ(CornerVertices(floor), (std::vector<Floats>{{-400, 0, -200, 0, 1, 0},
                                                          {-400, 0, 200, 0, 1, 0},
                                                          {400, 0, 200, 0, 1, 0},
                                                          {-400, 0, -200, 0, 1, 0},
                                                          {400, 0, 200, 0, 1, 0},
                                                          {400, 0, -200, 0, 1, 0}}));
    MeshwrightRun sphere = ConvertWithShippedRules(kModels + "sphere_triangulate.dae");
    ASSERT_EQ(sphere.status, 0) << sphere.out;
    PwnFile sphereFile = ReadOutput(sphere);
    ASSERT_EQ(sphereFile.meshes.size(), 1u);
    const PwnMesh& mesh = sphereFile.meshes[0];
    ASSERT_EQ(attributeNames(mesh), (std::vector<std::string>{"VERTEX", "NORMAL", "TEXCOORD"}));
    ASSERT_EQ(mesh.indices.size(), 760u * 3);
    for (uint32_t v = 0; v < mesh.vertexCount; ++v) {
        const float* p = mesh.vertex(v);
        const float* n = p + 3;
        float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        float radius = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
        ASSERT_NEAR(length, 1, 1e-3) << v;
        // A sphere's normal points along its position.
        EXPECT_NEAR((p[0] * n[0] + p[1] * n[1] + p[2] * n[2]) / radius, 1, 1e-2) << v;
    }
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
