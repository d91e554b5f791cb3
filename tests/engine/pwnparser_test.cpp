#include "engine/group.h"
#include "engine/indexarray.h"
#include "engine/material.h"
#include "engine/pwnparser.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// Builds .pwn bytes.
struct Bytes {
    std::string data;
    Bytes& tag(const char* t) {
        data.append(t, 4);
        return *this;
    }
    Bytes& u32(u32 v) {
        for (int i = 0; i < 4; i++) {
            data.push_back(char(v >> (8 * i)));
        }
        return *this;
    }
    Bytes& u16(u16 v) {
        data.push_back(char(v));
        data.push_back(char(v >> 8));
        return *this;
    }
    Bytes& f32(f32 f) {
        ::u32 bits;
        std::memcpy(&bits, &f, 4);
        return u32(bits);
    }
    Bytes& floats(std::initializer_list<::f32> values) {
        for (::f32 v : values) {
            f32(v);
        }
        return *this;
    }
    Bytes& text(const std::string& s) {
        u32(::u32(s.size()));
        data += s;
        return *this;
    }
    Bytes& header() { return tag("pwnd").u32(1).u32(0).u32(0); }
    Bytes& material(const std::string& name) {
        return tag("matl").tag("idnt").text(name).tag("diff").floats({0.5f, 0.25f, 1});
    }
    // A triangle with positions only.
    Bytes& triangle(const std::string& name, ::u32 materialNumber) {
        tag("mesh").tag("idnt").text(name).tag("mmat").u32(materialNumber);
        tag("attr").u32(1).text("Vertex").u32(0).u32(3);
        tag("idxa").u32(3).u32(2).u16(0).u16(1).u16(2);
        return tag("vtxa").u32(3).u32(3).floats({0, 0, 0, 1, 0, 0, 0, 1, 0});
    }
    Bytes& place(::u32 mesh, ::u32 children) {
        return tag("node").tag("nmsh").u32(mesh).u32(children);
    }
};

std::string Fixture(const std::string& name, const std::string& bytes) {
    mkdir("../pwn_fixtures", 0755);
    std::string path = "../pwn_fixtures/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

struct Pwn : ::testing::Test {
    void SetUp() override { SceneGraph::init(); }
    void TearDown() override { SceneGraph::shutdown(); }

    Group* parse(const Bytes& b, bool firstMeshOnly = false, bool unique = false) {
        Group* group = SceneGraph::createGroup("model");
        PwnParseBytes(group, reinterpret_cast<const u8*>(b.data.data()), b.data.size(),
                      firstMeshOnly, unique, 0);
        return group;
    }
    static TriangleMesh* meshAt(Node* node, u32 i) {
        Node* child = node->getChild(i);
        return child != nullptr && child->getType() == kNodeTriangleMesh
                   ? static_cast<TriangleMesh*>(child)
                   : nullptr;
    }
    static std::string lastReport() { return ReportLastMessage() ? ReportLastMessage() : ""; }
};

TEST_F(Pwn, GoodFileBuildsMeshesArraysMaterialsAndTree) {
    Bytes b;
    b.header().material("Red").material("Unused");
    b.triangle("Root", 0).triangle("Leaf", 0);
    b.tag("node").tag("tran").floats({1, 2, 3}).tag("scal").floats({2, 2, 2});
    b.tag("nmsh").u32(0).u32(1);
    b.tag("node").tag("rota").floats({0, 0, 1, 1.5707964f}).tag("nmsh").u32(1).u32(0);
    b.tag("xxxx");
    u16 before = PwnGetParseCounter();
    Group* group = parse(b);
    EXPECT_EQ(PwnGetParseCounter(), u16(before + 1));
    ASSERT_EQ(group->getChildCount(), 1u);
    TriangleMesh* root = meshAt(group, 0);
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->getName(), "Root");
    EXPECT_EQ(root->getTranslation().x, 1);
    EXPECT_EQ(root->getTranslation().z, 3);
    EXPECT_EQ(root->getScale().y, 2);
    ASSERT_EQ(root->getChildCount(), 1u);
    TriangleMesh* leaf = meshAt(root, 0);
    ASSERT_NE(leaf, nullptr);
    EXPECT_STREQ(leaf->getName(), "Leaf");
    EXPECT_NEAR(leaf->getRotation().m[1], 1.0f, 1e-5f);

    VertexArray* vertices = root->getVertexArray();
    ASSERT_NE(vertices, nullptr);
    EXPECT_STREQ(vertices->nameText(), "Root");
    EXPECT_EQ(vertices->getCount(), 3u);
    EXPECT_EQ(vertices->getFloatsPerVertex(), 6u) << "generated normals follow each vertex";
    EXPECT_GE(vertices->findAttribute("Normal"), 0);
    ASSERT_NE(root->getIndexArray(), nullptr);
    EXPECT_EQ(root->getIndexArray()->getCount(), 3u);

    Material* red = root->getMaterial();
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red, leaf->getMaterial());
    EXPECT_EQ(red->getReferenceCount(), 2u) << "one reference for each mesh";
    Material* unused = SceneGraph::getMaterial("Unused");
    ASSERT_NE(unused, nullptr);
    EXPECT_EQ(unused->getReferenceCount(), 2u) << "the reader's reference and the get's";
    SceneGraph::dereferenceResource(unused);
    SceneGraph::deleteNode(group);
    EXPECT_EQ(SceneGraph::getMaterial("Red"), nullptr) << "both references given back";
}

TEST_F(Pwn, AttributeNamesAndWideIndices) {
    Bytes b;
    b.header().tag("mesh").tag("idnt").text("m");
    b.tag("attr").u32(3).text("Vertex").u32(0).u32(3).text("NORMAL").u32(3).u32(3);
    b.text("TEXCOORD").u32(6).u32(2);
    b.tag("idxa").u32(3).u32(4).u32(65537).u32(0).u32(2);
    b.tag("vtxa").u32(3).u32(8).floats(
        {0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0});
    b.place(0, 0).tag("xxxx");
    Group* group = parse(b);
    TriangleMesh* mesh = meshAt(group, 0);
    ASSERT_NE(mesh, nullptr);
    VertexArray* v = mesh->getVertexArray();
    EXPECT_EQ(v->getFloatsPerVertex(), 8u) << "normals given, none generated";
    EXPECT_GE(v->findAttribute("Normal"), 0);
    EXPECT_GE(v->findAttribute("Texcoord"), 0);
    EXPECT_EQ(mesh->getIndexArray()->getArray()[0], 1u);
    SceneGraph::deleteNode(group);
}

// 16-bit indices reach 65536 vertices: a mesh of exactly that many loads,
// one of more is refused by name, and the file's later meshes and records
// still load.
TEST_F(Pwn, AMeshOfMoreVerticesThanIndicesReachIsRefused) {
    auto mesh = [](Bytes& b, const std::string& name, ::u32 vertices, ::u32 lastIndex) {
        b.tag("mesh").tag("idnt").text(name);
        b.tag("attr").u32(1).text("Vertex").u32(0).u32(3);
        b.tag("idxa").u32(3).u32(4).u32(0).u32(1).u32(lastIndex);
        b.tag("vtxa").u32(vertices).u32(3);
        for (::u32 i = 0; i < vertices * 3; i++) {
            b.f32(::f32(i % 7));
        }
    };
    Bytes b;
    b.header();
    mesh(b, "edge", 65536, 65535);
    mesh(b, "big", 65537, 65536);
    b.triangle("next", 0).place(0, 0).place(1, 0).place(2, 0).tag("xxxx");
    Group* group = parse(b);
    std::string warning = lastReport();
    EXPECT_NE(warning.find("The .pwn mesh big was refused: its 65537 vertices"), std::string::npos)
        << warning;
    ASSERT_EQ(group->getChildCount(), 2u);
    TriangleMesh* next = meshAt(group, 0);
    TriangleMesh* edge = meshAt(group, 1);
    ASSERT_NE(next, nullptr);
    ASSERT_NE(edge, nullptr);
    EXPECT_STREQ(next->getName(), "next");
    EXPECT_EQ(next->getVertexArray()->getCount(), 3u);
    EXPECT_STREQ(edge->getName(), "edge");
    EXPECT_EQ(edge->getVertexArray()->getCount(), 65536u);
    EXPECT_EQ(edge->getIndexArray()->getArray()[2], 65535u);
    EXPECT_EQ(SceneGraph::getVertexArray("big"), nullptr);
    EXPECT_EQ(SceneGraph::getIndexArray("big"), nullptr);
    SceneGraph::deleteNode(group);
}

TEST_F(Pwn, FirstMeshOnlyStopsAtTheFirstMesh) {
    Bytes b;
    b.header().triangle("a", 7).triangle("b", 7).place(1, 0).tag("xxxx");
    u16 before = PwnGetParseCounter();
    Group* group = parse(b, true);
    EXPECT_EQ(PwnGetParseCounter(), u16(before + 1));
    ASSERT_EQ(group->getChildCount(), 1u);
    EXPECT_STREQ(group->getChild(0)->getName(), "a");
    EXPECT_EQ(meshAt(group, 0)->getMaterial(), nullptr) << "no material 7 in the file";
    EXPECT_EQ(SceneGraph::getVertexArray("b"), nullptr);
    SceneGraph::deleteNode(group);
}

TEST_F(Pwn, UniqueNamesCarryTheCounter) {
    Bytes b;
    b.header().material("mat").triangle("ball", 0).place(0, 0).tag("xxxx");
    Group* shared1 = parse(b);
    Group* shared2 = parse(b);
    EXPECT_EQ(meshAt(shared1, 0)->getVertexArray(), meshAt(shared2, 0)->getVertexArray());
    EXPECT_EQ(meshAt(shared1, 0)->getVertexArray()->getReferenceCount(), 2u);

    u16 counter = PwnGetParseCounter();
    char expected[32];
    std::snprintf(expected, sizeof expected, "ball%x", u32(counter));
    Group* unique = parse(b, false, true);
    TriangleMesh* mesh = meshAt(unique, 0);
    EXPECT_STREQ(mesh->getName(), expected);
    EXPECT_STREQ(mesh->getVertexArray()->nameText(), expected);
    EXPECT_NE(mesh->getMaterial(), meshAt(shared1, 0)->getMaterial());
    SceneGraph::deleteNode(shared1);
    SceneGraph::deleteNode(shared2);
    SceneGraph::deleteNode(unique);
}

TEST_F(Pwn, FileFactoriesAndTheThreeHeaderWarnings) {
    Bytes good;
    good.header().material("fm").triangle("filemesh", 0).place(0, 0).tag("xxxx");
    std::string path = Fixture("good.pwn", good.data);
    Group* group = SceneGraph::createGroup("g", path.c_str(), false, 0);
    EXPECT_EQ(group->getChildCount(), 1u);
    TriangleMesh* mesh = SceneGraph::createTriangleMesh("one", path.c_str(), false, 0);
    EXPECT_EQ(mesh->getChildCount(), 0u);
    ASSERT_NE(mesh->getVertexArray(), nullptr);
    EXPECT_EQ(mesh->getVertexArray(), meshAt(group, 0)->getVertexArray());
    EXPECT_EQ(mesh->getVertexArray()->getReferenceCount(), 2u) << "the temporary group is gone";
    SceneGraph::deleteNode(mesh);
    SceneGraph::deleteNode(group);

    struct Case {
        const char* file;
        std::string bytes;
        const char* warning;
    };
    const Case cases[] = {
        {"missing.pwn", "", "Couldn't open .pwn file"},
        {"magic.pwn", Bytes().tag("pwnx").u32(1).data, "File doesn't appear to be a .pwn file"},
        {"short_magic.pwn", "pw", "File doesn't appear to be a .pwn file"},
        {"version.pwn", Bytes().tag("pwnd").u32(2).tag("xxxx").data,
         "The .pwn version is not supported"},
    };
    for (const Case& c : cases) {
        std::string file = std::string("../pwn_fixtures/") + c.file;
        if (std::strcmp(c.file, "missing.pwn") != 0) {
            file = Fixture(c.file, c.bytes);
        }
        u16 before = PwnGetParseCounter();
        Group* empty = SceneGraph::createGroup("e", file.c_str(), false, 0);
        EXPECT_EQ(empty->getChildCount(), 0u) << c.file;
        EXPECT_EQ(PwnGetParseCounter(), before) << c.file;
        EXPECT_NE(lastReport().find(c.warning), std::string::npos)
            << c.file << ": " << lastReport();
        SceneGraph::deleteNode(empty);
        TriangleMesh* none = SceneGraph::createTriangleMesh("n", file.c_str(), false, 0);
        EXPECT_EQ(none->getVertexArray(), nullptr);
        SceneGraph::deleteNode(none);
    }
}

TEST_F(Pwn, HeaderOnlyAndBackslashPaths) {
    std::string path = Fixture("empty.pwn", Bytes().header().tag("xxxx").data);
    u16 before = PwnGetParseCounter();
    Group* group = SceneGraph::createGroup("g", "..\\pwn_fixtures\\empty.pwn", false, 0);
    EXPECT_EQ(group->getChildCount(), 0u);
    EXPECT_EQ(PwnGetParseCounter(), u16(before + 1));
    SceneGraph::deleteNode(group);
}

// Every malformed file yields a partial or empty model, a warning where the
// file is at fault, and no leak: after deleting the group and purging
// nothing of the file stays registered but the materials the reader holds.
TEST_F(Pwn, MalformedFiles) {
    struct Case {
        const char* name;
        Bytes bytes;
        u32 children;
        const char* warning;
    };
    std::string longName(5000, 'n');
    std::vector<Case> cases = {
        {"bare_node_tag", Bytes().header().triangle("t", 0).place(0, 0).tag("node"), 1, nullptr},
        {"cut_in_vertices",
         Bytes().header().tag("mesh").tag("idnt").text("t").tag("vtxa").u32(3).u32(3).f32(1), 0,
         "ends inside a chunk"},
        {"huge_vertex_count",
         Bytes()
             .header()
             .tag("mesh")
             .tag("idnt")
             .text("t")
             .tag("vtxa")
             .u32(0xffffffff)
             .u32(0xffffffff),
         0, "ends inside a chunk"},
        {"huge_index_count",
         Bytes().header().tag("mesh").tag("idnt").text("t").tag("idxa").u32(0x80000000).u32(4), 0,
         "ends inside a chunk"},
        {"huge_attribute_count", Bytes().header().tag("mesh").tag("attr").u32(0xffffffff), 0,
         "ends inside a chunk"},
        {"huge_name", Bytes().header().tag("matl").tag("idnt").u32(0xfffffff0), 0,
         "ends inside a chunk"},
        {"index_width_3",
         Bytes().header().tag("mesh").tag("idnt").text("t").tag("idxa").u32(1).u32(3).u32(0), 0,
         "width is neither"},
        {"index_past_vertices",
         Bytes()
             .header()
             .tag("mesh")
             .tag("idnt")
             .text("t")
             .tag("attr")
             .u32(1)
             .text("Vertex")
             .u32(0)
             .u32(3)
             .tag("idxa")
             .u32(3)
             .u32(2)
             .u16(0)
             .u16(1)
             .u16(3)
             .tag("vtxa")
             .u32(3)
             .u32(3)
             .floats({0, 0, 0, 1, 0, 0, 0, 1, 0})
             .place(0, 0),
         0, "mesh was dropped"},
        {"attribute_past_stride",
         Bytes()
             .header()
             .tag("mesh")
             .tag("idnt")
             .text("t")
             .tag("attr")
             .u32(1)
             .text("Color")
             .u32(2)
             .u32(4)
             .tag("vtxa")
             .u32(1)
             .u32(3)
             .floats({0, 0, 0})
             .place(0, 0),
         0, "mesh was dropped"},
        {"vertex_two_components",
         Bytes()
             .header()
             .tag("mesh")
             .tag("idnt")
             .text("t")
             .tag("attr")
             .u32(1)
             .text("Vertex")
             .u32(0)
             .u32(2)
             .tag("vtxa")
             .u32(1)
             .u32(3)
             .floats({0, 0, 0})
             .place(0, 0),
         0, "mesh was dropped"},
        {"no_vertices", Bytes().header().tag("mesh").tag("idnt").text("t").place(0, 0), 0,
         "mesh was dropped"},
        {"nameless_mesh",
         Bytes().header().tag("mesh").tag("vtxa").u32(1).u32(3).floats({0, 0, 0}).place(0, 0), 0,
         "mesh without a name"},
        {"empty_name_mesh",
         Bytes()
             .header()
             .tag("mesh")
             .tag("idnt")
             .text(std::string("\0x", 2))
             .tag("vtxa")
             .u32(1)
             .u32(3)
             .floats({0, 0, 0}),
         0, "mesh without a name"},
        {"nameless_material",
         Bytes().header().tag("matl").tag("diff").floats({1, 1, 1}).triangle("t", 0).place(0, 0), 1,
         "material without a name"},
        {"node_before_mesh", Bytes().header().place(0, 0).triangle("t", 0), 0,
         "names a mesh that was not read"},
        {"mesh_placed_twice", Bytes().header().triangle("t", 0).place(0, 1).place(0, 0), 1,
         "a second time"},
        {"node_children_missing", Bytes().header().triangle("t", 0).place(0, 1000000).tag("xxxx"),
         1, nullptr},
        {"unplaced_mesh",
         Bytes().header().triangle("t", 0).triangle("u", 0).place(1, 0).tag("xxxx"), 1, nullptr},
        {"node_ends_in_xxxx",
         Bytes()
             .header()
             .triangle("t", 0)
             .tag("node")
             .tag("tran")
             .floats({1, 1, 1})
             .tag("xxxx")
             .place(0, 0),
         0, nullptr},
        {"long_name",
         Bytes()
             .header()
             .tag("mesh")
             .tag("idnt")
             .text(longName)
             .tag("attr")
             .u32(1)
             .text("Vertex")
             .u32(0)
             .u32(3)
             .tag("vtxa")
             .u32(1)
             .u32(3)
             .floats({0, 0, 0})
             .place(0, 0),
         1, nullptr},
    };
    Bytes deep;
    deep.header().triangle("t", 0);
    for (int i = 0; i < 100; i++) {
        deep.tag("node").tag("nmsh").u32(0).u32(1);
    }
    cases.push_back({"deep_nodes", deep, 1, "nest too deep"});
    Bytes many;
    many.header();
    for (int i = 0; i < 300; i++) {
        many.material("m" + std::to_string(i));
    }
    cases.push_back({"many_materials", many, 0, "more than 256 materials"});
    Bytes attributes;
    attributes.header().tag("mesh").tag("idnt").text("t").tag("attr").u32(20);
    for (int i = 0; i < 20; i++) {
        attributes.text(i == 0 ? "Vertex" : "A" + std::to_string(i)).u32(0).u32(i == 0 ? 3 : 1);
    }
    attributes.tag("vtxa").u32(1).u32(3).floats({0, 0, 0}).place(0, 0);
    cases.push_back({"many_attributes", attributes, 1, nullptr});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Fixture(std::string(c.name) + ".pwn", c.bytes.data);
        Group* group = SceneGraph::createGroup("g", path.c_str(), false, 0);
        EXPECT_EQ(group->getChildCount(), c.children);
        if (c.warning != nullptr) {
            EXPECT_NE(lastReport().find(c.warning), std::string::npos) << lastReport();
        }
        SceneGraph::deleteNode(group);
        EXPECT_EQ(SceneGraph::getVertexArray("t"), nullptr);
        EXPECT_EQ(SceneGraph::getVertexArray("u"), nullptr);
        EXPECT_EQ(SceneGraph::getIndexArray("t"), nullptr);
    }
}

TEST_F(Pwn, ArraysFromAnotherFileAreCheckedToo) {
    // "t" is registered with one vertex; a file that names it with three
    // vertices and indices up to 2 must not draw past the registered array.
    f32 one[3] = {0, 0, 0};
    VertexArray* held = SceneGraph::createVertexArray("t", one, 3, 1, 0);
    Bytes b;
    b.header().triangle("t", 0).place(0, 0).tag("xxxx");
    Group* group = parse(b);
    EXPECT_EQ(group->getChildCount(), 0u);
    EXPECT_NE(lastReport().find("mesh was dropped"), std::string::npos);
    EXPECT_EQ(held->getReferenceCount(), 1u);
    EXPECT_EQ(SceneGraph::getIndexArray("t"), nullptr);
    SceneGraph::deleteNode(group);
    SceneGraph::dereferenceResource(held);
}

TEST_F(Pwn, SphereMadeByMeshwrightLoads) {
    TriangleMesh* sphere =
        SceneGraph::createTriangleMesh("sphere", "../models/sphere.pwn", false, 0);
    VertexArray* v = sphere->getVertexArray();
    ASSERT_NE(v, nullptr) << lastReport();
    EXPECT_GE(v->findAttribute("Vertex"), 0);
    EXPECT_GE(v->findAttribute("Normal"), 0);
    EXPECT_EQ(v->getAttributeComponents(u32(v->findAttribute("Vertex"))), 3u);
    ASSERT_NE(sphere->getIndexArray(), nullptr);
    EXPECT_GT(sphere->getIndexArray()->getCount(), 0u);
    EXPECT_EQ(sphere->getIndexArray()->getCount() % 3, 0u);
    for (u32 i = 0; i < sphere->getIndexArray()->getCount(); i++) {
        ASSERT_LT(sphere->getIndexArray()->getArray()[i], v->getCount());
    }
    EXPECT_NE(sphere->getMaterial(), nullptr);
    SceneGraph::deleteNode(sphere);
}

} // namespace
