// What Meshwright writes, read by the engine's .pwn reader without a warning:
// a grid of more vertices than 16-bit indices reach arrives as several meshes
// that hold every triangle, and a geometry placed by two nodes, or copied by
// <instance_node>, or placed inside a group, a camera or a light, arrives as a
// mesh for each placement, where its node puts it. Skipped without a display, as the materials the
// reader makes need a drawing context.
#include "engine/group.h"
#include "engine/indexarray.h"
#include "engine/light.h"
#include "engine/pwnparser.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "tests/converter/grid.h"
#include "tests/converter/shipped.h"
#include "tests/support/glwindow.h"
#include "tests/support/testworld.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct MeshwrightLoad : testing::Test {
    void SetUp() override {
        if (!StartGlWindow()) {
            GTEST_SKIP() << "no X display";
        }
        SceneGraph::init();
    }
    void TearDown() override {
        if (!SceneGraph::isInitialized()) {
            return;
        }
        if (group != nullptr) {
            SceneGraph::deleteNode(group);
        }
        SceneGraph::shutdown();
    }

    // Converts the text and reads the output into a new group.
    void load(const std::string& name, const std::string& text) {
        MeshwrightRun run = ConvertTextWithShippedRules(name, text);
        ASSERT_EQ(run.status, 0) << run.out;
        std::string bytes = ReadFileText(run.path("out.pwn"));
        std::string before = lastReport();
        group = SceneGraph::createGroup("model");
        PwnParseBytes(group, reinterpret_cast<const u8*>(bytes.data()), bytes.size(), false, false,
                      0);
        EXPECT_EQ(lastReport(), before) << "the engine reads the file without a warning";
    }

    static std::string lastReport() { return ReportLastMessage() ? ReportLastMessage() : ""; }

    static TriangleMesh* meshAt(Node* node, u32 i) {
        Node* child = node->getChild(i);
        EXPECT_TRUE(child != nullptr && child->getType() == kNodeTriangleMesh);
        return static_cast<TriangleMesh*>(child);
    }

    // The triangles of the mesh and of the meshes below it, by the positions
    // the engine holds.
    static void collect(TriangleMesh* mesh, std::multiset<Triangle>& out) {
        VertexArray* vertices = mesh->getVertexArray();
        IndexArray* indices = mesh->getIndexArray();
        ASSERT_NE(vertices, nullptr);
        ASSERT_NE(indices, nullptr);
        EXPECT_LE(vertices->getCount(), 65536u) << mesh->getName();
        i32 position = vertices->findAttribute("Vertex");
        ASSERT_GE(position, 0);
        u32 offset = vertices->getAttributeOffset(u32(position));
        u32 stride = vertices->getFloatsPerVertex();
        for (u32 k = 0; k + 3 <= indices->getCount(); k += 3) {
            Triangle t;
            for (u32 i = 0; i < 3; ++i) {
                u16 index = indices->getArray()[k + i];
                ASSERT_LT(index, vertices->getCount());
                const f32* v = vertices->getArray() + index * stride + offset;
                t[3 * i] = v[0];
                t[3 * i + 1] = v[1];
                t[3 * i + 2] = v[2];
            }
            out.insert(t);
        }
        for (u32 i = 0; i < mesh->getChildCount(); ++i) {
            collect(meshAt(mesh, i), out);
        }
    }

    // How many meshes of the tree below node carry each name, and their
    // vertex arrays.
    static void countMeshes(Node* node, std::map<std::string, int>& names,
                            std::set<VertexArray*>& arrays) {
        for (u32 i = 0; i < node->getChildCount(); ++i) {
            TriangleMesh* mesh = meshAt(node, i);
            std::string name = mesh->getName();
            names[name.substr(0, name.find_first_of(".@"))] += 1;
            arrays.insert(mesh->getVertexArray());
            countMeshes(mesh, names, arrays);
        }
    }

    Group* group = nullptr;
};

TEST_F(MeshwrightLoad, AnObjGridArrivesWholeInMeshesTheEngineDraws) {
    load("grid.obj", GridObj(260, 260));
    ASSERT_EQ(group->getChildCount(), 1u);
    TriangleMesh* first = meshAt(group, 0);
    EXPECT_STREQ(first->getName(), "TriMesh");
    ASSERT_EQ(first->getChildCount(), 1u);
    EXPECT_STREQ(first->getChild(0)->getName(), "TriMesh.2");
    std::multiset<Triangle> triangles;
    collect(first, triangles);
    EXPECT_TRUE(triangles == GridTriangles(260, 260));
}

TEST_F(MeshwrightLoad, EachNodeOfADaeGridPlacesAWholeGridOfItsOwn) {
    load("grid.dae", GridDae(260, 260, {-500, 500}));
    ASSERT_EQ(group->getChildCount(), 2u);
    std::multiset<Triangle> expected = GridTriangles(260, 260);
    expected.insert(SpareTriangle());
    for (u32 i = 0; i < 2; ++i) {
        TriangleMesh* placed = meshAt(group, i);
        SCOPED_TRACE(placed->getName());
        EXPECT_EQ(placed->getChildCount(), 2u);
        std::multiset<Triangle> triangles;
        collect(placed, triangles);
        EXPECT_TRUE(triangles == expected);
    }
    // Children stand newest first: the second node's meshes come first.
    EXPECT_STREQ(group->getChild(0)->getName(), "grid@2");
    EXPECT_EQ(meshAt(group, 0)->getTranslation().x, 500.0f);
    EXPECT_STREQ(group->getChild(1)->getName(), "grid");
    EXPECT_EQ(meshAt(group, 1)->getTranslation().x, -500.0f);
    EXPECT_NE(meshAt(group, 0)->getVertexArray(), meshAt(group, 1)->getVertexArray());
}

TEST_F(MeshwrightLoad, ANodeInsideANodeOfTheSameMeshPlacesACopy) {
    load("base.dae", ReadFileText(Fixture("dae_base.dae")));
    ASSERT_EQ(group->getChildCount(), 1u);
    TriangleMesh* outer = meshAt(group, 0);
    EXPECT_STREQ(outer->getName(), "tri");
    EXPECT_EQ(outer->getTranslation().y, 2.0f);
    ASSERT_EQ(outer->getChildCount(), 1u);
    TriangleMesh* inner = meshAt(outer, 0);
    EXPECT_STREQ(inner->getName(), "tri@2");
    EXPECT_EQ(inner->getTranslation().z, 1.0f);
    EXPECT_EQ(inner->getMaterial(), outer->getMaterial());
    EXPECT_EQ(inner->getIndexArray()->getCount(), outer->getIndexArray()->getCount());
}

// A 3ds Max-like scene of <instance_node> copies: a table of a top and a
// leg, a stool of two legs, a copy of the table and a top that holds itself.
TEST_F(MeshwrightLoad, EveryInstanceOfANodeArrivesAsAMeshOfItsOwn) {
    load("instances.dae", ReadFileText(Fixture("dae_instance_nodes.dae")));
    std::map<std::string, int> names;
    std::set<VertexArray*> arrays;
    countMeshes(group, names, arrays);
    EXPECT_EQ(names, (std::map<std::string, int>{{"Leg", 4}, {"Top", 3}}));
    EXPECT_EQ(arrays.size(), 7u) << "each placement reads arrays of its own";
}

// Scenes shaped like 3ds Max's and Maya's output: groups, cameras and lights
// around objects, objects holding several objects, an object of two
// geometries. Every placement arrives as a mesh, where its nodes put it.
TEST_F(MeshwrightLoad, EveryPlacementOfAGroupedSceneArrivesAsAMesh) {
    struct Case {
        const char* fixture;
        std::map<std::string, int> names;
        u32 roots;
    } cases[] = {
        {"dae_scene_groups.dae", {{"Leg", 4}, {"Top", 4}}, 5},
        {"dae_maya_groups.dae", {{"pCubeShape1", 2}}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        load(c.fixture, ReadFileText(Fixture(c.fixture)));
        EXPECT_EQ(group->getChildCount(), c.roots);
        std::map<std::string, int> names;
        std::set<VertexArray*> arrays;
        countMeshes(group, names, arrays);
        EXPECT_EQ(names, c.names);
        SceneGraph::deleteNode(group);
        group = nullptr;
    }
}

// A material whose diffuse is a texture is written white: lit from the
// front, the model shows its texture (here the engine's stand-in for one),
// where a material without a diffuse would draw it black.
TEST_F(MeshwrightLoad, ATextureAsTheDiffuseDrawsLit) {
    load("wood.dae", ReadFileText(Fixture("dae_blender_textured.dae")));
    ASSERT_EQ(group->getChildCount(), 1u);
    TriangleMesh* plank = meshAt(group, 0);
    constexpr i32 kSide = 64;
    World* world = MakeSquareWorld("world", kSide, vec4(0, 0, 0, 1), 2, 10);
    Light* light = SceneGraph::createLight("lamp", vec3(1, 1, 1), 1);
    light->translate(0, 0, 5);
    world->attachChild(light);
    world->attachChild(group); // the world owns the model from here on
    group = nullptr;
    plank->setLight(light, 0);
    world->drawAll(nullptr);
    // A quarter of the way to the corner lies inside the triangle (0 0 0)
    // (1 0 0) (0 1 0), which faces the camera.
    std::vector<u8> inside = GameScreenPixel(kSide * 5 / 8, kSide * 5 / 8);
    std::vector<u8> outside = GameScreenPixel(kSide / 4, kSide / 4);
    EXPECT_GT(inside[0] + inside[1] + inside[2], 200) << "lit, not black";
    EXPECT_EQ(outside[0] + outside[1] + outside[2], 0);
    SceneGraph::deleteNode(world);
}

} // namespace
