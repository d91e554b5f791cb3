// COLLADA scenes with the shipped "rules.txt": every node of the visual scene
// is followed, a node that places no mesh (a group, a camera, a light) hands
// its transform on to the nodes inside it, and each <instance_geometry> of a
// node is placed.
#include "shipped.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const float kQuarterTurn = 3.14159265f / 2;

struct Expected {
    const char* mesh;
    float translation[3];
    std::size_t children;
};

void expectNode(const PwnFile& file, const PwnNode& node, const Expected& e) {
    SCOPED_TRACE(e.mesh);
    ASSERT_LT(node.mesh, file.meshes.size());
    EXPECT_EQ(file.meshes[node.mesh].name, e.mesh);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(node.translation[i], e.translation[i], 1e-5) << "axis " << i;
    }
    EXPECT_EQ(node.children.size(), e.children);
}

// A 3ds Max-like scene: a group of two objects, an object holding two
// objects, an object of two geometries, an object under a camera, and a url
// that names nothing.
TEST(DaeScene, EveryNodeOfTheSceneIsPlaced) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_scene_groups.dae", run);
    ASSERT_EQ(file.nodes.size(), 5u);
    expectNode(file, file.nodes[0], {"Top", {1, 0, 5}, 0}); // the group's translation handed on
    expectNode(file, file.nodes[1], {"Leg", {2, 0, 5}, 0});
    expectNode(file, file.nodes[2], {"Top@2", {0, 0, 0}, 2});
    expectNode(file, file.nodes[2].children[0], {"Leg@2", {0, 0, 0}, 0});
    expectNode(file, file.nodes[2].children[1], {"Top@3", {0, 0, 0}, 0});
    expectNode(file, file.nodes[3], {"Top@4", {0, 3, 0}, 1});
    const PwnNode& further = file.nodes[3].children[0];
    expectNode(file, further, {"Leg@3", {0, 0, 0}, 0});
    EXPECT_TRUE(further.tags.empty()) << "a further geometry has no transform of its own";
    expectNode(file, file.nodes[4], {"Leg@4", {9, 9, 9}, 0});
    EXPECT_EQ(file.meshes.size(), 8u);
    EXPECT_TRUE(Printed(run, "Warning: node lost: <instance_geometry url=\"#nothing\"> names no "
                             "geometry of the document; it was left out\n"))
        << run.out;
    EXPECT_FALSE(Printed(run, "Warning: mesh")) << run.out;
}

// A Maya-like scene: a group turned a quarter about z holds an object and a
// scaling group that holds another; a light and a camera place nothing.
TEST(DaeScene, GroupsHandTheirTransformsToTheNodesInside) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_maya_groups.dae", run);
    ASSERT_EQ(file.nodes.size(), 2u);
    struct Case {
        float translation[3];
        float scale;
    } cases[] = {{{10, 1, 0}, 1}, {{10, 2, 0}, 2}};
    for (std::size_t k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        const PwnNode& node = file.nodes[k];
        EXPECT_TRUE(node.children.empty());
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(node.translation[i], cases[k].translation[i], 1e-5);
            EXPECT_NEAR(node.scale[i], cases[k].scale, 1e-5);
        }
        EXPECT_NEAR(std::fabs(node.rotation[2]), 1.0f, 1e-5);
        EXPECT_NEAR(node.rotation[3] * (node.rotation[2] < 0 ? -1 : 1), kQuarterTurn, 1e-5);
    }
    EXPECT_EQ(file.meshes[file.nodes[0].mesh].name, "pCubeShape1");
    EXPECT_EQ(file.meshes[file.nodes[1].mesh].name, "pCubeShape1@2");
    std::string debug = run.debugText();
    for (const char* node : {"group1", "group2", "pointLight1", "persp"}) {
        EXPECT_NE(debug.find("Couldn't match node " + std::string(node) + " to any mesh\n"),
                  std::string::npos)
            << node;
    }
}

// A node three deep followed by a node at the top: the tree climbs back up
// more than one level at once.
TEST(DaeScene, ANodeAfterADeepSubtreeStandsAtItsOwnLevel) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_deep_nodes.dae", run);
    ASSERT_EQ(file.nodes.size(), 1u) << "\"nothing\" names no mesh";
    ASSERT_EQ(file.nodes[0].children.size(), 1u);
    const PwnNode& b = file.nodes[0].children[0];
    EXPECT_NEAR(b.translation[2], 1.0f, 1e-6);
    ASSERT_EQ(b.children.size(), 1u);
    EXPECT_TRUE(b.children[0].children.empty());
    EXPECT_EQ(file.meshes.size(), 3u);
}

// A chain of nodes n deep, each placing the mesh "tri", or n sibling groups.
std::string nodeChain(int n) {
    std::string scene;
    for (int i = 0; i < n; ++i) {
        scene += "<node name=\"tri\"><translate>0 0 1</translate>";
    }
    for (int i = 0; i < n; ++i) {
        scene += "</node>";
    }
    return scene;
}

std::string siblingGroups(int n) {
    std::string scene;
    for (int i = 0; i < n; ++i) {
        scene += "<node name=\"g" + std::to_string(i) + "\"><translate>1 0 0</translate></node>\n";
    }
    return scene + "<node name=\"tri\"/>";
}

std::string siblingMeshes(int n) {
    std::string scene;
    for (int i = 0; i < n; ++i) {
        scene += "<node name=\"tri\"/>";
    }
    return scene;
}

std::string withScene(const std::string& scene) {
    std::string text = ReadFileText(Fixture("dae_base.dae"));
    std::size_t from = text.find("<visual_scene id=\"scene\">") + 25;
    std::size_t to = text.find("</visual_scene>");
    return text.substr(0, from) + scene + text.substr(to);
}

TEST(DaeScene, DeepOrWideScenesEndWithAClearMessage) {
    struct Case {
        std::string scene;
        int status;
        const char* message;
    } cases[] = {
        {nodeChain(33), 0, "Conversion completed!\n"},
        {nodeChain(34), 1, "The model's nodes nest 34 levels deep; the engine reads at most 33\n"},
        {nodeChain(300), 1, "The rules nest too deeply\n"},
        {siblingGroups(20000), 0, "Conversion completed!\n"},
        {siblingMeshes(300), 1,
         "The model needs 300 meshes; the engine reads at most 256 from one file\n"},
    };
    for (const Case& c : cases) {
        MeshwrightRun run = ConvertTextWithShippedRules("scene.dae", withScene(c.scene));
        EXPECT_EQ(run.status, c.status) << c.message;
        EXPECT_TRUE(Printed(run, c.message))
            << run.out.substr(run.out.size() - std::min<std::size_t>(run.out.size(), 300));
    }
}

} // namespace
