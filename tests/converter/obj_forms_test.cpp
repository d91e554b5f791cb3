// OBJ files as exporters write them beyond the plainest form: faces that name
// different attributes, "v" lines that hold more than a position, lines that
// go on in the next, and text in other encodings. Each is checked down to the
// vertices that come out.
#include "shipped.h"

#include <gtest/gtest.h>

namespace {

const std::string kDone = "Conversion completed!\n";
const std::string kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

using Floats = std::vector<float>;

std::vector<std::string> attributeNames(const PwnMesh& mesh) {
    std::vector<std::string> names;
    for (const PwnAttribute& a : mesh.attributes) {
        names.push_back(a.name + "@" + std::to_string(a.offset));
    }
    return names;
}

struct Converted {
    MeshwrightRun run;
    PwnMesh mesh;
};

Converted convertText(const std::string& text) {
    Converted c;
    c.run = ConvertTextWithShippedRules("model.obj", text);
    EXPECT_EQ(c.run.status, 0) << c.run.out;
    if (c.run.status == 0) {
        PwnFile file = ReadOutput(c.run);
        EXPECT_EQ(file.meshes.size(), 1u);
        c.mesh = file.meshes.empty() ? PwnMesh{} : file.meshes[0];
    }
    return c;
}

// A face takes a texture coordinate or a normal only where it names one;
// the mesh has an attribute that some face names.
TEST(ObjForms, AFaceUsesOnlyWhatItNames) {
    const std::string kTexCoords = "vt 0.5 0.25\nvt 0.75 0\nvt 1 1\n";
    const std::string kNormals = "vn 0 0 2\nvn 0 1 0\nvn 1 0 0\n";
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> attributes;
        std::vector<Floats> corners;
    } cases[] = {
        {"positions beside texture coordinates",
         kTriangle + kTexCoords + "f 1 2 3\n",
         {"Vertex@0"},
         {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}},
        {"positions beside normals",
         kTriangle + kNormals + "f 3 2 1\n",
         {"Vertex@0"},
         {{0, 1, 0}, {1, 0, 0}, {0, 0, 0}}},
        {"texture coordinates beside normals",
         kTriangle + kTexCoords + kNormals + "f 1/3 2/2 3/1\n",
         {"Vertex@0", "TexCoord@3"},
         {{0, 0, 0, 1, 1, 0}, {1, 0, 0, 0.75f, 0, 0}, {0, 1, 0, 0.5f, 0.25f, 0}}},
        {"normals beside texture coordinates",
         kTriangle + kTexCoords + kNormals + "f 1//2 2//2 3//1\n",
         {"Vertex@0", "Normal@3"},
         {{0, 0, 0, 0, 1, 0}, {1, 0, 0, 0, 1, 0}, {0, 1, 0, 0, 0, 1}}},
    };
    for (const Case& c : cases) {
        Converted done = convertText(c.text);
        EXPECT_EQ(attributeNames(done.mesh), c.attributes) << c.what;
        EXPECT_EQ(CornerVertices(done.mesh), c.corners) << c.what;
        EXPECT_EQ(done.run.out, kDone) << c.what;
    }
}

// The empty middle of a//c is the form of a corner without a texture
// coordinate and passes in silence, as Sweet Home 3D's and assimp's files
// hold it on every corner; an index left empty anywhere else is reported,
// since the corner then names no entry where the face means one.
TEST(ObjForms, OnlyAnEmptyIndexOutsideTheMiddleOfADoubleSlashIsReported) {
    const std::string kEntries = kTriangle + "vt 0.5 0.5\nvn 0 0 1\n";
    struct Case {
        std::string face;
        std::string out;
        std::vector<Floats> corners;
    } cases[] = {
        {"f 1//1 2//1 3//1\n", kDone, {{0, 0, 0, 0, 0, 1}, {1, 0, 0, 0, 0, 1}, {0, 1, 0, 0, 0, 1}}},
        {"f /1/1 2/1/1 3/1/1\n",
         "No number found\n" + kDone,
         {{0, 0, 0, 0.5f, 0.5f, 0, 0, 0, 1},
          {1, 0, 0, 0.5f, 0.5f, 0, 0, 0, 1},
          {0, 1, 0, 0.5f, 0.5f, 0, 0, 0, 1}}},
        {"f 1///1 2///1 3///1\n",
         "No number found\nNo number found\nNo number found\n" + kDone,
         {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}},
    };
    for (const Case& c : cases) {
        Converted done = convertText(kEntries + c.face);
        EXPECT_EQ(done.run.out, c.out) << c.face;
        EXPECT_EQ(CornerVertices(done.mesh), c.corners) << c.face;
    }
}

// As assimp writes a model whose faces differ (f 1//1 beside f 1/2/3): what
// a face does not name is written as zeros, and one warning says so.
TEST(ObjForms, FacesThatNameDifferentAttributesGetZerosWhereTheyNameNone) {
    std::string text = kTriangle + "vn 0 0 1\nvt 0.5 0.5\nvt 1 0\nvt 0 1\n"
                                   "f 1//1 2//1 3//1\nf 1/2/1 2/3/1 3/1/1\nf 3 2 1\n"
                                   "vn 0 -3 0\nf 1/1 2/2 3/3\nf 1//2 2//2 3//2\n";
    Converted done = convertText(text);
    EXPECT_EQ(done.run.out, "Warning: 3 of 5 faces name no texture coordinate and 2 no normal, "
                            "which other faces name; zeros were written in its place\n" +
                                kDone);
    EXPECT_EQ(attributeNames(done.mesh),
              (std::vector<std::string>{"Vertex@0", "TexCoord@3", "Normal@6"}));
    EXPECT_EQ(CornerVertices(done.mesh), (std::vector<Floats>{
                                             {0, 0, 0, 0, 0, 0, 0, 0, 1},
                                             {1, 0, 0, 0, 0, 0, 0, 0, 1},
                                             {0, 1, 0, 0, 0, 0, 0, 0, 1},
                                             {0, 0, 0, 1, 0, 0, 0, 0, 1},
                                             {1, 0, 0, 0, 1, 0, 0, 0, 1},
                                             {0, 1, 0, 0.5f, 0.5f, 0, 0, 0, 1},
                                             {0, 1, 0, 0, 0, 0, 0, 0, 0},
                                             {1, 0, 0, 0, 0, 0, 0, 0, 0},
                                             {0, 0, 0, 0, 0, 0, 0, 0, 0},
                                             {0, 0, 0, 0.5f, 0.5f, 0, 0, 0, 0},
                                             {1, 0, 0, 1, 0, 0, 0, 0, 0},
                                             {0, 1, 0, 0, 1, 0, 0, 0, 0},
                                             {0, 0, 0, 0, 0, 0, 0, -1, 0},
                                             {1, 0, 0, 0, 0, 0, 0, -1, 0},
                                             {0, 1, 0, 0, 0, 0, 0, -1, 0},
                                         }));
    EXPECT_EQ(done.mesh.vertexCount, 15u);
}

// Texture coordinates and normals after the first face no longer stop the
// reading; the faces before them name none.
TEST(ObjForms, TextureCoordinatesAndNormalsAfterTheFirstFace) {
    struct Case {
        const char* fixture;
        std::string warning;
        std::vector<Floats> corners;
    } cases[] = {
        {"late_texcoord.obj",
         "1 of 2 faces name no texture coordinate",
         {{0, 0, 0, 0, 0, 0},
          {1, 0, 0, 0, 0, 0},
          {0, 1, 0, 0, 0, 0},
          {0, 0, 0, 0, 0, 0},
          {1, 0, 0, 0, 0, 0},
          {0, 1, 0, 0, 0, 0}}},
        {"late_normal.obj",
         "1 of 2 faces name no normal",
         {{0, 0, 0, 0, 0, 0},
          {1, 0, 0, 0, 0, 0},
          {0, 1, 0, 0, 0, 0},
          {0, 0, 0, 0, 0, 1},
          {1, 0, 0, 0, 0, 1},
          {0, 1, 0, 0, 0, 1}}},
        {"missing_texcoord_slot.obj",
         "",
         {{0, 0, 0, 0, 0, 1}, {1, 0, 0, 0, 0, 1}, {0, 1, 0, 0, 0, 1}}},
    };
    for (const Case& c : cases) {
        MeshwrightRun run;
        PwnFile file = ConvertFixture(c.fixture, run);
        ASSERT_EQ(file.meshes.size(), 1u) << c.fixture;
        EXPECT_EQ(CornerVertices(file.meshes[0]), c.corners) << c.fixture;
        std::string warning = c.warning.empty() ? ""
                                                : "Warning: " + c.warning +
                                                      ", which other faces name; zeros "
                                                      "were written in its place\n";
        EXPECT_EQ(run.out, warning + kDone) << c.fixture;
    }
}

std::vector<Floats> positions(const PwnMesh& mesh) {
    std::vector<Floats> out;
    for (const Floats& v : CornerVertices(mesh)) {
        out.emplace_back(v.begin(), v.begin() + 3);
    }
    return out;
}

// "v x y z w" and "v x y z r g b": the position is read, the rest left out
// with one warning that names the first such line.
TEST(ObjForms, PositionLinesThatHoldMoreThanAPosition) {
    struct Case {
        std::string text;
        std::string warning;
    } cases[] = {
        {"v 0 0 \\\n0\nv 1 0 0 1\nv 0 1 0 0.5\nf 1 2 3\n", "2 \"v\" lines hold more than a "
                                                           "position, the first (line 3) holds "
                                                           "a weight (x y z w)"},
        {"v 0 0 0 1 0 0\nv 1 0 0 0 1 0\nv 0 1 0 0 0 1\nf 1 2 3\n",
         "3 \"v\" lines hold more than a position, the first (line 1) holds vertex colours "
         "(x y z r g b)"},
        {"v 0 0 0\nv 1 0 0 1 1 1 1 1\nv 0 1 0 1\nf 1 2 3\n",
         "2 \"v\" lines hold more than a position, the first (line 2) holds 8 numbers"},
    };
    for (const Case& c : cases) {
        Converted done = convertText(c.text);
        EXPECT_EQ(done.run.out, "Warning: " + c.warning + "; only x y z were read\n" + kDone);
        EXPECT_EQ(positions(done.mesh), (std::vector<Floats>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
    }
    for (const char* line : {"vt 0 0 0 1\n", "vn 0 0 1 1\n"}) {
        MeshwrightRun run = ConvertTextWithShippedRules("model.obj", kTriangle + line);
        EXPECT_EQ(run.status, 1) << line;
        EXPECT_EQ(run.out, "Too many attributes\n") << line;
    }
}

// A line whose last character is '\' goes on in the next, but not in a
// comment.
TEST(ObjForms, ALineEndingInABackslashGoesOnInTheNext) {
    struct Case {
        std::string text;
        std::vector<Floats> positions;
    } cases[] = {
        {"v 1 0 \\\n7\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", {{1, 0, 7}, {1, 0, 0}, {0, 1, 0}}},
        {"v 1 0 \\ \t\r\n7\r\nv 1 0 0\r\nv 0 1 0\r\nf 1 2 3\r\n",
         {{1, 0, 7}, {1, 0, 0}, {0, 1, 0}}},
        {kTriangle + "f 3 \\\n2 \\\r1\n", {{0, 1, 0}, {1, 0, 0}, {0, 0, 0}}},
        {kTriangle + "f 3 2\\\n1\\", {{0, 1, 0}, {1, 0, 0}, {0, 0, 0}}},
        {"# made in C:\\models\\\n" + kTriangle + "f 1 2 3 # a face \\\nv 9 9 9\nf -1 1 2\n",
         {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {9, 9, 9}, {0, 0, 0}, {1, 0, 0}}},
    };
    for (const Case& c : cases) {
        Converted done = convertText(c.text);
        EXPECT_EQ(done.run.out, kDone) << c.text;
        EXPECT_EQ(positions(done.mesh), c.positions) << c.text;
    }
}

// "usemtl", "o" and "g" lines change no byte of the model: one warning
// counts the distinct names they give (a "g" line gives one for every word;
// "default" and no name are the default group).
TEST(ObjForms, MaterialsObjectsAndGroupsAreCountedInOneWarning) {
    MeshwrightRun plain = ConvertTextWithShippedRules("model.obj", kTriangle + "f 1 2 3\n");
    ASSERT_EQ(plain.status, 0);
    const std::string kModel = ReadFileText(plain.path("out.pwn"));
    struct Case {
        std::string lines;
        std::string named; // empty: no warning
    } cases[] = {
        {"mtllib a.mtl\nusemtl a\nusemtl b\nusemtl a\n",
         "2 materials (usemtl) that the file names were"},
        {"o Cube\ng Cube\n", "1 object or group (o, g) that the file names was"},
        {"g a b\n\tg  b c \r\n", "3 objects or groups (o, g) that the file names were"},
        {"g a \\\n b\n", "2 objects or groups (o, g) that the file names were"},
        {"usemtl Material name with spaces  \nusemtl Material name with spaces # a comment\n"
         "usemtl material name with spaces\no 1\n",
         "2 materials (usemtl) and 1 object or group (o, g) that the file names were"},
        {"g\ng default\nusemtl\no # none\nmtllib scene.mtl\ns 0\n", ""},
    };
    for (const Case& c : cases) {
        MeshwrightRun run = ConvertTextWithShippedRules("model.obj", c.lines + kTriangle + c.lines +
                                                                         "f 1 2 3\n" + c.lines);
        ASSERT_EQ(run.status, 0) << c.lines;
        EXPECT_EQ(run.out, (c.named.empty() ? "" : NamesLeftOut(c.named)) + kDone) << c.lines;
        EXPECT_EQ(ReadFileText(run.path("out.pwn")), kModel) << c.lines;
    }
    MeshwrightRun zeros = ConvertTextWithShippedRules(
        "model.obj", "o Plane\n" + kTriangle + "vn 0 0 1\nf 1//1 2//1 3//1\nf 1 2 3\n");
    EXPECT_EQ(zeros.out, "Warning: 1 of 2 faces name no normal, which other faces name; zeros "
                         "were written in its place\nWarning: 1 object or group (o, g) that the "
                         "file names was left out: all faces were written as one mesh "
                         "\"TriMesh\" with the material \"DefaultMaterial\"\n" +
                             kDone)
        << "the last of the warnings";
}

// A face of four corners or more stops the conversion with the refusal, then
// a line that names the face's line (where a continued line starts) and the
// route that triangulates the model.
TEST(ObjForms, FacesOfMoreThanThreeCornersNameTheirLineAndTheWayOn) {
    MeshwrightRun blender = RunMeshwright({Fixture("blender_quads.obj"), "out.pwn"});
    EXPECT_EQ(blender.status, 1);
    EXPECT_EQ(blender.out, "Quads are not supported\nThe face on line 16 has 4 corners: "
                           "triangulate the model first (most exporters have an option), or "
                           "with assimp: assimp export in.obj out.obj -tri, then Meshwright "
                           "out.obj out.pwn\n")
        << "Blender's OBJ export writes quads unless told to triangulate";
    const std::string kSquare = kTriangle + "v 1 1 0\nv 2 1 0\n";
    struct Case {
        std::string text;
        int corners;
        int line;
    } cases[] = {
        {kSquare + "f 1 2 3\nf 1 2 4 3\nf 1 2 4 3 5\n", 4, 7},
        {kSquare + "f 1 2 3\nf 1 2 4 3 5\nf 1 2 4 3\n", 5, 7},
        {"# CRLF\r\n\r\n" + kSquare + "f 1 2 4 3 5 1 2 4\r\n", 6, 8},
        {"v 0 0 0\rv 1 0 0\rv 0 1 0\rv 1 1 0\r\rf 1 2 \\\n4 \\\n3\n", 4, 6},
        {kTriangle + "v 1 1 0 \\\n\nf 1//1 2//1 4//1 3//1 # a comment\n", 4, 6},
    };
    for (const Case& c : cases) {
        MeshwrightRun run = ConvertTextWithShippedRules("model.obj", c.text);
        EXPECT_EQ(run.status, 1) << c.text;
        EXPECT_EQ(run.out, FaceRefusal(c.corners, c.line)) << c.text;
        EXPECT_EQ(DirectoryNames(run.dir).count("out.pwn"), 0u) << c.text;
    }
}

// UTF-16 text (with a byte order mark or without) is refused with a message
// that says so; a UTF-8 byte order mark is read past.
TEST(ObjForms, UnicodeEncodings) {
    const std::string kUtf16 = "The input file is UTF-16 text, which is not read: save it as "
                               "UTF-8 and convert it again\n";
    std::string ascii = kTriangle + "f 1 2 3\n";
    std::string littleEndian, bigEndian;
    for (char c : ascii) {
        littleEndian += std::string{c, '\0'};
        bigEndian += std::string{'\0', c};
    }
    struct Case {
        const char* name;
        std::string text;
    } utf16[] = {
        {"model.obj", "\xFF\xFE" + littleEndian},
        {"model.obj", "\xFE\xFF" + bigEndian},
        {"model.obj", littleEndian},
        {"model.obj", bigEndian},
        {"model.dae", "\xFF\xFE" + littleEndian},
        {"model.dae", bigEndian},
    };
    for (const Case& c : utf16) {
        MeshwrightRun run = ConvertTextWithShippedRules(c.name, c.text);
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_EQ(run.out, kUtf16) << c.name;
        EXPECT_EQ(DirectoryNames(run.dir).count("out.pwn"), 0u) << c.name;
    }
    Converted done = convertText("\xEF\xBB\xBF" + ascii);
    EXPECT_EQ(done.run.out, kDone);
    EXPECT_EQ(positions(done.mesh), (std::vector<Floats>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));

    std::string dae = ReadFileText(Fixture("dae_base.dae"));
    MeshwrightRun plain = ConvertTextWithShippedRules("model.dae", dae);
    MeshwrightRun marked = ConvertTextWithShippedRules("model.dae", "\xEF\xBB\xBF" + dae);
    ASSERT_EQ(plain.status, 0) << plain.out;
    EXPECT_EQ(marked.out, plain.out);
    EXPECT_EQ(ReadFileText(marked.path("out.pwn")), ReadFileText(plain.path("out.pwn")));
}

} // namespace
