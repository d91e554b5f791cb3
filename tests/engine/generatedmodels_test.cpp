// The models the asset generator writes and Meshwright converts, loaded side
// by side into one registry with unique names off, as the games load them:
// each keeps its own mesh, arrays and material, with the colours the
// generator gave it. Skipped without a display.
#include "engine/group.h"
#include "engine/light.h"
#include "engine/materialphong.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "engine/world.h"
#include "tests/support/glwindow.h"
#include "tests/support/testworld.h"

#include <GLES2/gl2.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr i32 kSize = 64;

class GeneratedModels : public testing::Test {
  protected:
    void SetUp() override {
        if (!StartGlWindow()) {
            GTEST_SKIP() << "no X display";
        }
        SceneGraph::init();
        world = MakeSquareWorld("world", kSize, vec4(0, 0, 0, 1), 60, 200);
    }
    void TearDown() override {
        if (SceneGraph::isInitialized()) {
            SceneGraph::deleteNode(world);
            SceneGraph::shutdown();
        }
    }

    // The model's meshes, loaded with unique names off into a group that
    // the world holds, x units right of the middle.
    std::vector<TriangleMesh*> load(const char* name, const char* file, f32 x = 0) {
        Group* group = SceneGraph::createGroup(name, file, false, 0);
        group->translate(x, 0, 0);
        world->attachChild(group);
        std::vector<TriangleMesh*> meshes;
        for (u32 i = 0; i < group->getChildCount(); i++) {
            Node* child = group->getChild(i);
            if (child->getType() == kNodeTriangleMesh) {
                meshes.push_back(static_cast<TriangleMesh*>(child));
            }
        }
        return meshes;
    }

    World* world = nullptr;
};

struct Expected {
    const char* mesh;
    const char* material;
    vec3 diffuse;
};

TEST_F(GeneratedModels, EachMeshKeepsItsNameArraysAndMaterial) {
    std::vector<TriangleMesh*> meshes = load("ball", "../models/sphere.pwn");
    for (const char* file : {"../tests/models/testcrate.pwn", "../tests/models/testcone.pwn"}) {
        std::vector<TriangleMesh*> more = load(file, file);
        meshes.insert(meshes.end(), more.begin(), more.end());
    }
    const Expected expected[] = {{"golfBall", "golfBallMaterial", vec3(0.9f, 0.9f, 0.9f)},
                                 {"testCrate", "testCrateMaterial", vec3(0.9f, 0.1f, 0.1f)},
                                 {"testCrateLid", "testCrateLidMaterial", vec3(0.1f, 0.1f, 0.9f)},
                                 {"testCone", "testConeMaterial", vec3(0.1f, 0.9f, 0.1f)}};
    ASSERT_EQ(meshes.size(), std::size(expected));
    std::set<const void*> seen;
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.mesh);
        auto named = std::find_if(meshes.begin(), meshes.end(), [&](TriangleMesh* m) {
            return std::string(m->getName()) == e.mesh;
        });
        ASSERT_NE(named, meshes.end());
        TriangleMesh* mesh = *named;
        EXPECT_EQ(SceneGraph::getVertexArray(e.mesh), mesh->getVertexArray());
        EXPECT_EQ(SceneGraph::getIndexArray(e.mesh), mesh->getIndexArray());
        ASSERT_NE(mesh->getMaterial(), nullptr);
        EXPECT_EQ(SceneGraph::getMaterial(e.material), mesh->getMaterial());
        ASSERT_EQ(mesh->getMaterial()->getType(), static_cast<u32>(kMaterialPoint));
        const vec3 diffuse = static_cast<MaterialPhong*>(mesh->getMaterial())->diffuseColor;
        EXPECT_NEAR(diffuse.x, e.diffuse.x, 1e-6);
        EXPECT_NEAR(diffuse.y, e.diffuse.y, 1e-6);
        EXPECT_NEAR(diffuse.z, e.diffuse.z, 1e-6);
        // Positions, normals and texture coordinates, as the shaders read them.
        VertexArray* v = mesh->getVertexArray();
        ASSERT_NE(v, nullptr);
        for (const char* attribute : {"Vertex", "Normal", "Texcoord"}) {
            EXPECT_GE(v->findAttribute(attribute), 0) << attribute;
        }
        // Nothing shared between two models, or between two parts.
        for (const void* resource :
             {static_cast<const void*>(mesh), static_cast<const void*>(mesh->getMaterial()),
              static_cast<const void*>(mesh->getVertexArray()),
              static_cast<const void*>(mesh->getIndexArray())}) {
            EXPECT_TRUE(seen.insert(resource).second);
        }
    }
}

// The crate and the cone drawn side by side, lit from the front: each shows
// where it stands, and the gap between them stays dark.
TEST_F(GeneratedModels, TwoModelsDrawSideBySide) {
    Light* light = SceneGraph::createLight("lamp", vec3(1, 1, 1), 1);
    light->translate(0, 0, 80);
    world->attachChild(light);
    std::vector<TriangleMesh*> crate = load("crate", "../tests/models/testcrate.pwn", -20);
    std::vector<TriangleMesh*> cone = load("cone", "../tests/models/testcone.pwn", 20);
    ASSERT_EQ(crate.size(), 2u);
    ASSERT_EQ(cone.size(), 1u);
    for (TriangleMesh* mesh : {crate[0], crate[1], cone[0]}) {
        mesh->setLight(light, 0);
    }
    world->drawAll(nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    auto brightness = [](i32 x, i32 y) {
        std::vector<u8> rgba = GameScreenPixel(x, y);
        return rgba[0] + rgba[1] + rgba[2];
    };
    // 20 units at distance 60 lie about 22 pixels from the middle.
    const i32 middle = kSize / 2;
    EXPECT_GT(brightness(middle - 22, middle - 2), 30) << "crate";
    EXPECT_GT(brightness(middle + 22, middle - 2), 30) << "cone";
    EXPECT_EQ(brightness(middle, middle), 0) << "gap";
}

} // namespace
