// Meshwright over COLLADA input with the shipped "rules.txt": a small
// document end to end, one fixture per failure, and real documents written by
// Debian's ctmconv (openctm-tools) from glmark2-data's models, checked against
// a tolerant reader of the test's own.
#include "shipped.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <sys/stat.h>

namespace {

TEST(Dae, SmallDocument) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_base.dae", run);
    ASSERT_EQ(file.materials.size(), 1u);
    EXPECT_EQ(file.materials[0].name, "red");
    EXPECT_FLOAT_EQ(file.materials[0].ambient[2], 0.3f);
    EXPECT_FLOAT_EQ(file.materials[0].shininess, 20.0f);
    ASSERT_EQ(file.meshes.size(), 2u) << "the second node that places tri places a copy";
    const PwnMesh& mesh = file.meshes[0];
    EXPECT_EQ(mesh.name, "tri");
    EXPECT_EQ(mesh.material, std::optional<uint32_t>(0));
    ASSERT_EQ(mesh.attributes.size(), 2u);
    EXPECT_EQ(mesh.attributes[0].name, "VERTEX");
    EXPECT_EQ(mesh.attributes[1].name, "NORMAL");
    EXPECT_EQ(mesh.attributes[1].offset, 3u);
    EXPECT_EQ(mesh.floatsPerVertex, 6u);
    EXPECT_EQ(mesh.vertexCount, 3u); // the second triangle reuses the corners
    EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2, 2, 1, 0}));
    const PwnMesh& copy = file.meshes[1];
    EXPECT_EQ(copy.name, "tri@2");
    EXPECT_EQ(copy.material, mesh.material);
    EXPECT_EQ(copy.floatsPerVertex, mesh.floatsPerVertex);
    EXPECT_EQ(copy.vertices, mesh.vertices);
    EXPECT_EQ(copy.indices, mesh.indices);
    // "nothing" names no mesh and is left out; "b" hangs below "a".
    ASSERT_EQ(file.nodes.size(), 1u);
    const PwnNode& a = file.nodes[0];
    EXPECT_EQ(a.mesh, 0u);
    EXPECT_FLOAT_EQ(a.translation[1], 2.0f);
    EXPECT_NEAR(a.rotation[3], 3.14159265f / 2, 1e-6);
    EXPECT_FLOAT_EQ(a.scale[0], 2.0f);
    ASSERT_EQ(a.children.size(), 1u);
    EXPECT_EQ(a.children[0].mesh, 1u);
    EXPECT_FLOAT_EQ(a.children[0].translation[2], 1.0f);
    EXPECT_NE(run.debugText().find("Couldn't match node nothing to any mesh\n"), std::string::npos);
}

TEST(Dae, FailuresStopWithTheirMessage) {
    struct Case {
        const char* fixture;
        const char* message;
    } cases[] = {
        {"dae_no_count.dae", "The triangles have no triangle count\n"},
        {"dae_input_no_semantic.dae", "An input has no semantic or source\n"},
        {"dae_no_stride.dae", "A source has no accessor with stride and count\n"},
        {"dae_short_array.dae", "An array holds fewer numbers than its accessor counts\n"},
        {"dae_odd_indices.dae", "The index list does not match the inputs\n"},
        {"dae_index_range.dae", "An index lies outside its source\n"},
        {"dae_index_negative.dae", "An index lies outside its source\n"},
        {"dae_no_index_array.dae", "Couldn't find index array for mesh\n"
                                   "The geometry tri has a <triangles> without a <p>\n"},
        {"dae_no_source.dae", "No source for array\n"},
        {"dae_no_array.dae", "Array not found\n"},
        {"dae_material_no_name.dae", "Error writing material\n"},
    };
    for (const Case& c : cases) {
        MeshwrightRun run = ConvertWithShippedRules(Fixture(c.fixture));
        EXPECT_EQ(run.status, 1) << c.fixture;
        std::string out = run.out;
        ASSERT_GE(out.size(), std::strlen(c.message)) << c.fixture;
        EXPECT_EQ(out.substr(out.size() - std::strlen(c.message)), c.message) << c.fixture;
    }
}

// Every whole triangle of the index list is converted, whatever the count.
TEST(Dae, AnIndexListThatDisagreesWithTheCountIsConvertedWithAWarning) {
    struct Case {
        const char* count;
        const char* list;
        std::string warning;
        std::vector<uint32_t> indices;
    } cases[] = {
        {"1",
         "0 0 1 0 2 0 2 0 1 0 0 0",
         "Warning: mesh tri: the index list holds 2 triangles, the count says 1\n",
         {0, 1, 2, 2, 1, 0}},
        {"3",
         "0 0 1 0 2 0 2 0 1 0 0 0",
         "Warning: mesh tri: the index list holds 2 triangles, the count says 3\n",
         {0, 1, 2, 2, 1, 0}},
        {"2",
         "0 0 1 0 2 0 2 0 1 0 0 0 1 0",
         "Warning: mesh tri: the index list ends inside a triangle, whose corners were left "
         "out\n",
         {0, 1, 2, 2, 1, 0}},
        {"1",
         "0 0 1 0 2 0 2 0 1 0 0 0 0 0 2 0 1 0",
         "Warning: mesh tri: the index list holds 3 triangles, the count says 1\n",
         {0, 1, 2, 2, 1, 0, 0, 2, 1}},
    };
    std::string base = ReadFileText(Fixture("dae_base.dae"));
    for (const Case& c : cases) {
        std::string text = base;
        text.replace(text.find("count=\"2\""), 9, "count=\"" + std::string(c.count) + "\"");
        std::size_t p = text.find("<p>") + 3;
        text.replace(p, text.find("</p>") - p, c.list);
        MeshwrightRun run = ConvertTextWithShippedRules("model.dae", text);
        ASSERT_EQ(run.status, 0) << c.list << run.out;
        EXPECT_TRUE(Printed(run, "Assembling mesh\n" + c.warning)) << c.list << run.out;
        PwnFile file = ReadOutput(run);
        ASSERT_EQ(file.meshes.size(), 2u) << "tri and the copy that its second node places";
        EXPECT_EQ(file.meshes[0].indices, c.indices) << c.list;
    }
}

TEST(Dae, RuleFileProblems) {
    std::string dir = MakeScratchDir();
    MeshwrightRun missing = RunMeshwright({Fixture("dae_base.dae"), "out.pwn"}, dir);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "Couldn't find rules.txt\n");
    const char* bad[] = {"tag COLLADA", "tag COLLADA attrib x", "nonsense x"};
    for (const char* rules : bad) {
        WriteText(dir + "/rules.txt", rules);
        MeshwrightRun run = RunMeshwright({Fixture("dae_base.dae"), "out.pwn"}, dir);
        EXPECT_EQ(run.status, 1) << rules;
        EXPECT_EQ(run.out, "Couldn't parse rules\n") << rules;
    }
}

// A tolerant reader of the documents ctmconv writes: attribute values and
// element texts by plain string search, independent of the converter's scans.
struct DaeTriangles {
    std::map<std::string, std::vector<float>> arrays; // source id -> numbers
    std::map<std::string, int> strides;
    std::vector<std::pair<std::string, std::string>> inputs; // semantic, source id
    std::vector<int> indices;
    int count = 0;
};

std::string attribute(const std::string& element, const std::string& name) {
    std::size_t at = element.find(" " + name + "=\"");
    if (at == std::string::npos) {
        return "";
    }
    at += name.size() + 3;
    return element.substr(at, element.find('"', at) - at);
}

DaeTriangles readDae(const std::string& text) {
    DaeTriangles dae;
    std::string vertexSource;
    for (std::size_t at = text.find("<source "); at != std::string::npos;
         at = text.find("<source ", at + 1)) {
        std::string id = attribute(text.substr(at, text.find('>', at) - at), "id");
        std::size_t array = text.find('>', text.find("<float_array", at)) + 1;
        std::istringstream numbers(text.substr(array, text.find('<', array) - array));
        std::string word;
        while (numbers >> word) {
            dae.arrays[id].push_back(std::strtof(word.c_str(), nullptr));
        }
        std::size_t accessor = text.find("<accessor", at);
        dae.strides[id] = std::atoi(
            attribute(text.substr(accessor, text.find('>', accessor) - accessor), "stride")
                .c_str());
    }
    std::size_t vertices = text.find("<vertices");
    std::size_t vin = text.find("<input", vertices);
    vertexSource = attribute(text.substr(vin, text.find('>', vin) - vin), "source").substr(1);
    std::size_t tri = text.find("<triangles");
    dae.count = std::atoi(attribute(text.substr(tri, text.find('>', tri) - tri), "count").c_str());
    std::size_t p = text.find("<p>", tri);
    for (std::size_t in = text.find("<input", tri); in < p; in = text.find("<input", in + 1)) {
        std::string element = text.substr(in, text.find('>', in) - in);
        std::string semantic = attribute(element, "semantic");
        std::string source = attribute(element, "source").substr(1);
        dae.inputs.push_back({semantic, semantic == "VERTEX" ? vertexSource : source});
    }
    std::istringstream list(text.substr(p + 3, text.find("</p>", p) - p - 3));
    int i;
    while (list >> i) {
        dae.indices.push_back(i);
    }
    return dae;
}

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

TEST(Dae, DocumentsWrittenByCtmconv) {
    const char* ctmconv = "/usr/bin/ctmconv";
    if (!exists(ctmconv) || !exists("/usr/share/glmark2/models/bunny.obj")) {
        GTEST_SKIP() << "needs openctm-tools and glmark2-data";
    }
    for (const char* model : {"bunny.obj", "cube.3ds", "horse.3ds"}) {
        std::string dir = MakeScratchDir();
        std::string dae = dir + "/model.dae";
        std::string command = std::string(ctmconv) + " /usr/share/glmark2/models/" + model + " " +
                              dae + " > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << model;
        MeshwrightRun run = ConvertWithShippedRules(dae);
        ASSERT_EQ(run.status, 0) << model << run.out;
        PwnFile file = ReadOutput(run);
        ASSERT_EQ(file.meshes.size(), 1u) << model;
        const PwnMesh& mesh = file.meshes[0];
        DaeTriangles source = readDae(ReadFileText(dae));
        std::size_t inputs = source.inputs.size();
        ASSERT_EQ(mesh.indices.size(), std::size_t(source.count) * 3) << model;
        ASSERT_EQ(source.indices.size(), mesh.indices.size() * inputs) << model;
        for (std::size_t corner = 0; corner < mesh.indices.size(); ++corner) {
            const float* v = mesh.vertex(mesh.indices[corner]);
            std::size_t at = 0;
            for (std::size_t i = 0; i < inputs; ++i) {
                const std::string& id = source.inputs[i].second;
                int stride = source.strides[id];
                int index = source.indices[corner * inputs + i];
                for (int k = 0; k < stride; ++k, ++at) {
                    std::size_t n = std::size_t(index * stride + k);
                    float expected = source.arrays[id][n];
                    ASSERT_NEAR(v[at], expected, 1e-6f * (1 + std::fabs(expected)))
                        << model << " corner " << corner;
                }
            }
            ASSERT_EQ(at, mesh.floatsPerVertex);
        }
    }
}

} // namespace
