#include "tools/converter/pwnwriter.h"

#include "pwnfile.h"
#include "runner.h"
#include "tools/converter/trace.h"

#include <gtest/gtest.h>
#include <numeric>

namespace {

struct WriterTest : testing::Test {
    std::string dir = MakeScratchDir();
    std::string output = dir + "/out.pwn";
    std::string tracePath = dir + "/debug.txt";
    PwnWriter writer;

    void SetUp() override {
        ASSERT_TRUE(traceOpen(tracePath.c_str()));
        ASSERT_TRUE(beginOutput(writer, output.c_str()));
    }
    void TearDown() override { traceClose(); }

    PwnFile finish(const NodeRecord& root) {
        EXPECT_TRUE(finishOutput(writer, root));
        traceClose();
        std::string error;
        std::optional<PwnFile> file = ReadPwn(output, error);
        EXPECT_TRUE(file) << error;
        return file.value_or(PwnFile{});
    }

    MaterialRecord material(const char* name) {
        MaterialRecord m;
        m.name = name;
        return m;
    }

    std::vector<u32> indices = {0, 1, 2};
    std::vector<f32> vertices = {0, 0, 0, 1, 0, 0, 0, 1, 0};

    MeshRecord mesh(const char* name, const char* materialName) {
        MeshRecord m;
        m.name = name;
        m.materialName = materialName;
        m.attributes.push_back({"Vertex", 0, 3});
        m.indices = indices.data();
        m.indexCount = u32(indices.size());
        m.vertices = vertices.data();
        m.vertexCount = u32(vertices.size() / 3);
        m.floatsPerVertex = 3;
        return m;
    }
};

TEST_F(WriterTest, WritesOnlyPresentMaterialValuesInTheirOrder) {
    MaterialRecord m = material("Brass");
    m.hasSpecularLevel = true;
    m.specularLevel = 2.0f;
    m.hasDiffuse = true;
    m.diffuse[1] = 0.5f;
    ASSERT_TRUE(writeMaterial(writer, m));
    PwnFile file = finish(NodeRecord{});
    ASSERT_EQ(file.materials.size(), 1u);
    EXPECT_EQ(file.materialCount, 1u);
    EXPECT_EQ(file.meshCount, 0u);
    EXPECT_EQ(file.materials[0].name, "Brass");
    EXPECT_EQ(file.materials[0].tags, (std::vector<std::string>{"idnt", "diff", "spcl"}));
    EXPECT_EQ(file.materials[0].diffuse[1], 0.5f);
    EXPECT_EQ(file.materials[0].specularLevel, 2.0f);
}

TEST_F(WriterTest, RefusesAMaterialWithoutAName) {
    EXPECT_FALSE(writeMaterial(writer, MaterialRecord{}));
    PwnFile file = finish(NodeRecord{});
    EXPECT_TRUE(file.materials.empty());
}

TEST_F(WriterTest, NamesTheFirstMaterialOfTheNameAndLeavesUnknownOnesOut) {
    writeMaterial(writer, material("A"));
    writeMaterial(writer, material("B"));
    writeMaterial(writer, material("B"));
    writeMesh(writer, mesh("one", "B"));
    writeMesh(writer, mesh("two", "nowhere"));
    PwnFile file = finish(NodeRecord{});
    ASSERT_EQ(file.meshes.size(), 2u);
    EXPECT_EQ(file.meshes[0].material, 1u);
    EXPECT_FALSE(file.meshes[1].material) << "no \"mmat\" for a material that was not written";
    EXPECT_EQ(file.materialCount, 3u);
    EXPECT_EQ(file.meshCount, 2u);
    EXPECT_EQ(ReadFileText(tracePath).find("Material index\nWriting int array\n[1]\n") ==
                  std::string::npos,
              false);
}

TEST_F(WriterTest, IndexWidthGrowsOnlyBeyond65535Indices) {
    indices.assign(65535, 0);
    std::iota(indices.begin(), indices.end(), 0);
    writeMesh(writer, mesh("narrow", ""));
    indices.push_back(70000);
    writeMesh(writer, mesh("wide", ""));
    PwnFile file = finish(NodeRecord{});
    ASSERT_EQ(file.meshes.size(), 2u);
    EXPECT_EQ(file.meshes[0].indexWidth, 2u);
    EXPECT_EQ(file.meshes[0].indices.size(), 65535u);
    EXPECT_EQ(file.meshes[0].indices[65534], 65534u);
    EXPECT_EQ(file.meshes[1].indexWidth, 4u);
    EXPECT_EQ(file.meshes[1].indices.back(), 70000u);
}

TEST_F(WriterTest, WritesNodesMatchedByNameAndLeavesOthersOut) {
    writeMesh(writer, mesh("hull", ""));
    writeMesh(writer, mesh("mast", ""));
    NodeRecord root;
    NodeRecord& hull = root.addChild();
    hull.name = "hull";
    hull.hasScale = true;
    hull.scale[0] = 2;
    hull.hasRotation = true;
    hull.rotation[3] = 1.5f;
    hull.hasTranslation = true;
    hull.translation[2] = -4;
    hull.addChild().name = "sail";
    hull.children.back()->addChild().name = "mast";
    hull.addChild().name = "mast";
    root.addChild().name = "ghost";
    root.addChild().name = "mast";
    PwnFile file = finish(root);
    ASSERT_EQ(file.nodes.size(), 2u);
    const PwnNode& n = file.nodes[0];
    EXPECT_EQ(n.mesh, 0u);
    EXPECT_EQ(n.tags, (std::vector<std::string>{"rota", "tran", "scal"}));
    EXPECT_EQ(n.rotation[3], 1.5f);
    EXPECT_EQ(n.translation[2], -4.0f);
    EXPECT_EQ(n.scale[0], 2.0f);
    ASSERT_EQ(n.children.size(), 1u) << "the unmatched child and its subtree are left out";
    EXPECT_EQ(n.children[0].mesh, 1u);
    EXPECT_TRUE(n.children[0].tags.empty());
    EXPECT_EQ(file.nodes[1].mesh, 2u) << "mast placed a second time, by a copy";
    ASSERT_EQ(file.meshes.size(), 3u);
    EXPECT_EQ(file.meshes[2].name, "mast@2");
    std::string trace = ReadFileText(tracePath);
    EXPECT_NE(trace.find("Couldn't match node sail to any mesh\n"), std::string::npos);
    EXPECT_NE(trace.find("Couldn't match node ghost to any mesh\n"), std::string::npos);
}

// The engine places each mesh of a file once: a node that names a mesh, or a
// further part of one, already placed gets copies under names no mesh has.
TEST_F(WriterTest, ANodeThatPlacesAPlacedMeshGetsCopies) {
    writeMesh(writer, mesh("hull", ""));
    MeshRecord part = mesh("hull.2", "");
    part.furtherPart = true;
    writeMesh(writer, part);
    writeMesh(writer, mesh("hull@2", ""));
    NodeRecord root;
    for (const char* name : {"hull", "hull.2", "hull", "hull@2"}) {
        root.addChild().name = name;
    }
    PwnFile file = finish(root);
    std::vector<std::string> names;
    for (const PwnMesh& m : file.meshes) {
        names.push_back(m.name);
        EXPECT_EQ(m.vertices, file.meshes[0].vertices);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"hull", "hull.2", "hull@2", "hull.2@2", "hull@3",
                                               "hull.2@3"}));
    ASSERT_EQ(file.nodes.size(), 4u);
    EXPECT_EQ(file.nodes[0].mesh, 0u);
    ASSERT_EQ(file.nodes[0].children.size(), 1u);
    EXPECT_EQ(file.nodes[0].children[0].mesh, 1u);
    EXPECT_EQ(file.nodes[1].mesh, 3u) << "the part, placed with its first, is copied";
    EXPECT_EQ(file.nodes[2].mesh, 4u);
    ASSERT_EQ(file.nodes[2].children.size(), 1u);
    EXPECT_EQ(file.nodes[2].children[0].mesh, 5u);
    EXPECT_EQ(file.nodes[3].mesh, 2u) << "the written mesh of that name, placed once";
    EXPECT_EQ(file.meshCount, 6u);
}

TEST(Writer, CannotOpenAnOutputInAMissingDirectory) {
    PwnWriter writer;
    EXPECT_FALSE(beginOutput(writer, (MakeScratchDir() + "/missing/out.pwn").c_str()));
}

TEST(Writer, ReportsAFailedWrite) {
    PwnWriter writer;
    ASSERT_TRUE(beginOutput(writer, "/dev/full"));
    MaterialRecord m;
    m.name = "Full";
    writeMaterial(writer, m);
    EXPECT_FALSE(finishOutput(writer, NodeRecord{}));
}

} // namespace
