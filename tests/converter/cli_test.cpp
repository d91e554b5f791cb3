// Meshwright as a user runs it: its command line, messages, exit statuses,
// output bytes and trace.
#include "shipped.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kUsage =
    "Usage: Meshwright <input> <output>\nSupporter formats:\n  .obj\n  .dae\n]\n";
const std::string kDone = "Conversion completed!\n";

class Bytes {
  public:
    Bytes& tag(const char* t) {
        data.append(t, 4);
        return *this;
    }
    Bytes& text(const std::string& s) {
        u32(uint32_t(s.size()));
        data += s;
        return *this;
    }
    Bytes& u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            data += char(v >> (8 * i));
        }
        return *this;
    }
    Bytes& u16(uint32_t v) {
        data += char(v);
        data += char(v >> 8);
        return *this;
    }
    Bytes& floats(std::initializer_list<float> values) {
        for (float f : values) {
            uint32_t b;
            std::memcpy(&b, &f, 4);
            u32(b);
        }
        return *this;
    }
    std::string data;
};

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

TEST(Cli, WrongArgumentCountsPrintTheUsage) {
    for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
             {}, {Fixture("triangle.obj")}, {Fixture("triangle.obj"), "a.pwn", "b.pwn"}}) {
        MeshwrightRun run = RunMeshwright(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, kUsage);
        EXPECT_TRUE(exists(run.path("debug.txt"))) << "the trace is opened first";
        EXPECT_EQ(run.debugText(), "");
    }
}

TEST(Cli, AMissingOrUnreadableInputPrintsItsMessageAndTheUsage) {
    MeshwrightRun missing = RunMeshwright({"nothing.obj", "out.pwn"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "Unable to open input file\n" + kUsage);
    EXPECT_FALSE(exists(missing.path("out.pwn")));

    MeshwrightRun directory = RunMeshwright({CONVERTER_FIXTURES, "out.pwn"});
    EXPECT_EQ(directory.status, 1);
    EXPECT_EQ(directory.out, "Unable to open input file\n" + kUsage);
}

TEST(Cli, AnOutputThatCannotBeOpenedStopsBeforeReading) {
    MeshwrightRun run = RunMeshwright({Fixture("quad.obj"), "missing/out.pwn"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Unable to open output file\n");
}

TEST(Cli, RefusesToWriteOverItsInput) {
    std::string dir = MakeScratchDir();
    std::string source = ReadFileText(Fixture("triangle.obj"));
    WriteText(dir + "/model.obj", source);
    ASSERT_EQ(link((dir + "/model.obj").c_str(), (dir + "/alias.pwn").c_str()), 0);
    for (const char* output : {"model.obj", "./model.obj", "alias.pwn"}) {
        MeshwrightRun run = RunMeshwright({"model.obj", output}, dir);
        EXPECT_EQ(run.status, 1) << output;
        EXPECT_EQ(run.out, "The output file is the input file\n");
        EXPECT_EQ(ReadFileText(dir + "/model.obj"), source) << output;
    }
}

TEST(Cli, OtherExtensionsPrintTheUsage) {
    std::string dir = MakeScratchDir();
    std::string source = ReadFileText(Fixture("triangle.obj"));
    for (const char* name : {"model.txt", "model", "model.obj.bak"}) {
        WriteText(dir + "/" + name, source);
        MeshwrightRun run = RunMeshwright({name, "out.pwn"}, dir);
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_EQ(run.out, kUsage) << name;
    }
    // COLLADA in any case goes to the rule program, missing here.
    WriteText(dir + "/scene.DAE", source);
    EXPECT_EQ(RunMeshwright({"scene.DAE", "out.pwn"}, dir).out, "Couldn't find rules.txt\n");
}

TEST(Cli, TheExtensionIsReadInAnyCase) {
    std::string dir = MakeScratchDir();
    WriteText(dir + "/MODEL.OBJ", ReadFileText(Fixture("triangle.obj")));
    WriteText(dir + "/model.Obj", ReadFileText(Fixture("triangle.obj")));
    EXPECT_EQ(RunMeshwright({"MODEL.OBJ", "a.pwn"}, dir).out, kDone);
    EXPECT_EQ(RunMeshwright({"model.Obj", "b.pwn"}, dir).out, kDone);
    EXPECT_EQ(ReadFileText(dir + "/a.pwn"), ReadFileText(dir + "/b.pwn"));
}

TEST(Cli, ATriangleGivesTheExactFileAndTrace) {
    MeshwrightRun run = RunMeshwright({Fixture("triangle.obj"), "out.pwn"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out, kDone);
    Bytes expected;
    expected.tag("pwnd").u32(1).u32(1).u32(1);
    expected.tag("matl").tag("idnt").text("DefaultMaterial");
    expected.tag("ambi").floats({0.0f, 0.1f, 0.2f}).tag("diff").floats({0.5f, 0.7f, 0.9f});
    expected.tag("spec").floats({0.9f, 1.0f, 1.0f}).tag("shin").floats({3.0f});
    expected.tag("emis").floats({0.25f}).tag("spcl").floats({1.0f});
    expected.tag("mesh").tag("idnt").text("TriMesh").tag("mmat").u32(0);
    expected.tag("attr").u32(1).text("Vertex").u32(0).u32(3);
    expected.tag("idxa").u32(3).u32(2).u16(0).u16(1).u16(2);
    expected.tag("vtxa").u32(3).u32(3).floats({0, 0, 0, 1, 0, 0, 0, 1, 0});
    expected.tag("node").tag("nmsh").u32(0).u32(0).tag("xxxx");
    EXPECT_EQ(ReadFileText(run.path("out.pwn")), expected.data);

    const char* trace = "Writing string\npwnd\nWriting int array\n[1]\n"
                        "Writing string\nmatl\nWriting string\nidnt\nWriting int array\n[15]\n"
                        "Writing string\nDefaultMaterial\n"
                        "Writing string\nambi\nWriting float array\n[0.000][0.100][0.200]\n"
                        "Writing string\ndiff\nWriting float array\n[0.500][0.700][0.900]\n"
                        "Writing string\nspec\nWriting float array\n[0.900][1.000][1.000]\n"
                        "Writing string\nshin\nWriting float array\n[3.000]\n"
                        "Writing string\nemis\nWriting float array\n[0.250]\n"
                        "Writing string\nspcl\nWriting float array\n[1.000]\n"
                        "Writing string\nmesh\nWriting string\nidnt\n"
                        "Mesh id length\nWriting int array\n[7]\nWriting string\nTriMesh\n"
                        "Writing string\nmmat\nMaterial index\nWriting int array\n[0]\n"
                        "Writing string\nattr\nWriting int array\n[1]\n"
                        "Attribute\nWriting int array\n[6]\n"
                        "Attribute name\nWriting string\nVertex\n"
                        "Attribute offset\nWriting int array\n[0]\n"
                        "Attribute length\nWriting int array\n[3]\n"
                        "Writing string\nidxa\nN indices\nWriting int array\n[3]\n"
                        "Index type size\nWriting int array\n[2]\n"
                        "Index array\nWriting short array\n[0][1][2]\n"
                        "Writing string\nvtxa\nN vertices\nWriting int array\n[3]\n"
                        "Stride\nWriting int array\n[3]\nVertex array\nWriting float array\n"
                        "[0.000][0.000][0.000][1.000][0.000][0.000][0.000][1.000][0.000]\n"
                        "Writing string\nnode\nWriting string\nnmsh\n"
                        "Writing int array\n[0]\nWriting int array\n[0]\n"
                        "Writing string\nxxxx\nWriting int array\n[1]\nWriting int array\n[1]\n";
    EXPECT_EQ(run.debugText(), trace);
}

TEST(Cli, TexturedLitFacesGiveNineFloatVertices) {
    MeshwrightRun run = RunMeshwright({Fixture("textured.obj"), "out.pwn"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out, NamesLeftOut("1 material (usemtl) that the file names was") + kDone);
    PwnFile file = ReadOutput(run);
    ASSERT_EQ(file.meshes.size(), 1u);
    const PwnMesh& mesh = file.meshes[0];
    ASSERT_EQ(mesh.attributes.size(), 3u);
    EXPECT_EQ(mesh.attributes[1].name, "TexCoord");
    EXPECT_EQ(mesh.attributes[1].offset, 3u);
    EXPECT_EQ(mesh.attributes[2].name, "Normal");
    EXPECT_EQ(mesh.attributes[2].offset, 6u);
    EXPECT_EQ(mesh.floatsPerVertex, 9u);
    EXPECT_EQ(mesh.vertexCount, 4u) << "shared corners are merged";
    EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3}));
    const float* v = mesh.vertex(2);
    EXPECT_EQ(std::vector<float>(v, v + 9), (std::vector<float>{1, 1, 0, 1, 1, 0, 0, 0, 1}))
        << "the normal 0 0 2 is stored as 0 0 1, the missing w as 0";
}

TEST(Cli, NormalsWithoutTextureCoordinatesGiveSixFloats) {
    MeshwrightRun run = RunMeshwright({Fixture("normals_only.obj"), "out.pwn"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out, kDone) << "the empty middles of a//c pass in silence";
    PwnFile file = ReadOutput(run);
    ASSERT_EQ(file.meshes.size(), 1u);
    ASSERT_EQ(file.meshes[0].attributes.size(), 2u);
    EXPECT_EQ(file.meshes[0].attributes[1].name, "Normal");
    EXPECT_EQ(file.meshes[0].attributes[1].offset, 3u);
    EXPECT_EQ(file.meshes[0].floatsPerVertex, 6u);
}

TEST(Cli, AZeroLengthNormalIsStoredAsZero) {
    MeshwrightRun run = RunMeshwright({Fixture("zero_normal.obj"), "out.pwn"});
    ASSERT_EQ(run.status, 0);
    PwnFile file = ReadOutput(run);
    ASSERT_EQ(file.meshes.size(), 1u);
    const float* v = file.meshes[0].vertex(0);
    EXPECT_EQ(std::vector<float>(v + 3, v + 6), (std::vector<float>{0, 0, 0}));
}

TEST(Cli, ABadFractionReadsAsZeroAndGoesOn) {
    MeshwrightRun run = RunMeshwright({Fixture("bad_fraction.obj"), "out.pwn"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Error reading fractional part\n" + kDone);
    PwnFile file = ReadOutput(run);
    ASSERT_EQ(file.meshes.size(), 1u);
    EXPECT_EQ(file.meshes[0].vertices[0], 0.0f);
}

TEST(Cli, CarriageReturnsEndLinesAndTheEndOfTheFileEndsTheLastLine) {
    MeshwrightRun run = RunMeshwright({Fixture("crlf_unterminated.obj"), "out.pwn"});
    ASSERT_EQ(run.status, 0);
    PwnFile file = ReadOutput(run);
    ASSERT_EQ(file.meshes.size(), 1u);
    EXPECT_EQ(file.meshes[0].indices, (std::vector<uint32_t>{0, 1, 2, 2, 1, 0}))
        << "the last face, without a line break, counts";
}

TEST(Cli, EachBadInputStopsWithItsMessage) {
    struct Case {
        const char* fixture;
        std::string out;
    } cases[] = {
        {"polygon.obj", FaceRefusal(5, 6)},
        {"quad.obj", FaceRefusal(4, 5)},
        {"mixed_slashes.obj", "Error reading obj file.\n"},
        {"missing_position.obj", "A face names a vertex position that does not exist\n"},
        {"zero_index.obj", "A face names a vertex position that does not exist\n"},
        {"missing_texcoord.obj", "A face names a texture coordinate that does not exist\n"},
        {"missing_normal.obj", "A face names a normal that does not exist\n"},
    };
    for (const Case& c : cases) {
        MeshwrightRun run = RunMeshwright({Fixture(c.fixture), "out.pwn"});
        EXPECT_EQ(run.status, 1) << c.fixture;
        EXPECT_EQ(run.out, c.out) << c.fixture;
        std::string ignored;
        EXPECT_FALSE(ReadPwn(run.path("out.pwn"), ignored)) << "no finished file for " << c.fixture;
    }
}

// A failure in the OBJ reader, in a built-in of the rule program after a
// material was written, and at the extension test after the output was begun.
TEST(Cli, AFailedConversionLeavesTheOldOutputAsItWas) {
    struct Case {
        const char* fixture;
        const char* input;
        std::string out;
    } cases[] = {
        {"quad.obj", "quad.obj", FaceRefusal(4, 5)},
        {"dae_polylist.dae", "polylist.dae",
         "Rules successfully read\nFetching material\nAssembling mesh\n"
         "Couldn't find index array for mesh\n"
         "The geometry tri holds <polylist> in place of <triangles>: triangulate the model "
         "first (most exporters have an option), or go through OBJ: assimp export in.dae "
         "out.obj -tri, then Meshwright out.obj out.pwn (one mesh with a default material: the "
         "materials, names and nodes are lost)\n"},
        {"triangle.obj", "triangle.txt", kUsage},
    };
    for (const Case& c : cases) {
        std::string dir = MakeScratchDir();
        WriteText(dir + "/rules.txt", ReadFileText(SHIPPED_RULES));
        WriteText(dir + "/" + c.input, ReadFileText(Fixture(c.fixture)));
        ASSERT_EQ(RunMeshwright({Fixture("dae_base.dae"), "keep.pwn"}, dir).status, 0);
        std::string kept = ReadFileText(dir + "/keep.pwn");
        std::set<std::string> names = DirectoryNames(dir);

        MeshwrightRun run = RunMeshwright({c.input, "keep.pwn"}, dir);
        EXPECT_EQ(run.status, 1) << c.input;
        EXPECT_EQ(run.out, c.out) << c.input;
        EXPECT_EQ(ReadFileText(dir + "/keep.pwn"), kept) << c.input;
        EXPECT_EQ(DirectoryNames(dir), names) << c.input << ": no fragment is left beside it";

        EXPECT_EQ(RunMeshwright({c.input, "new.pwn"}, dir).status, 1) << c.input;
        EXPECT_EQ(DirectoryNames(dir), names) << c.input << ": no new output is made";
    }
}

TEST(Cli, AConversionReplacesTheOutputKeepingItsModeAndLinks) {
    std::string dir = MakeScratchDir();
    mode_t mask = umask(0);
    umask(mask);
    ASSERT_EQ(RunMeshwright({Fixture("triangle.obj"), "fresh.pwn"}, dir).status, 0);
    std::string converted = ReadFileText(dir + "/fresh.pwn");
    EXPECT_EQ(FileMode(dir + "/fresh.pwn"), 0666 & ~mask) << "a new output as any new file";

    WriteText(dir + "/old.pwn", "an older, longer model than the one written over it");
    ASSERT_EQ(chmod((dir + "/old.pwn").c_str(), 0640), 0);
    ASSERT_EQ(symlink("old.pwn", (dir + "/link.pwn").c_str()), 0);
    std::set<std::string> names = DirectoryNames(dir);
    for (const char* output : {"old.pwn", "link.pwn"}) {
        ASSERT_EQ(RunMeshwright({Fixture("triangle.obj"), output}, dir).status, 0) << output;
        EXPECT_EQ(ReadFileText(dir + "/old.pwn"), converted) << output;
        EXPECT_EQ(FileMode(dir + "/old.pwn"), 0640u) << output;
        EXPECT_TRUE(std::filesystem::is_symlink(dir + "/link.pwn")) << output;
        EXPECT_EQ(DirectoryNames(dir), names) << output;
    }
}

TEST(Cli, AFailedWriteIsReported) {
    MeshwrightRun run = RunMeshwright({Fixture("textured.obj"), "/dev/full"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, NamesLeftOut("1 material (usemtl) that the file names was") +
                           "Unable to write output file\n");
}

TEST(Cli, LinesOfAnyLengthAndManyFacesAreRead) {
    std::string dir = MakeScratchDir();
    std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv" + std::string(100000, ' ') + "1 1 1\n";
    for (int i = 0; i < 30000; ++i) {
        text += i % 2 ? "f 1 2 3\n" : "f 4 2 3\n";
    }
    WriteText(dir + "/big.obj", text);
    MeshwrightRun run = RunMeshwright({"big.obj", "out.pwn"}, dir);
    ASSERT_EQ(run.status, 0);
    PwnFile file = ReadOutput(run);
    ASSERT_EQ(file.meshes.size(), 1u);
    EXPECT_EQ(file.meshes[0].vertexCount, 4u);
    EXPECT_EQ(file.meshes[0].indexWidth, 4u) << "90000 indices need four bytes";
    EXPECT_EQ(file.meshes[0].indices.size(), 90000u);
    EXPECT_EQ(file.meshes[0].indices[3], 3u) << "vertices are numbered by first use";
    EXPECT_EQ(file.meshes[0].vertices[0], 1.0f) << "the long line's position comes first";
}

} // namespace
