// A model read from a ".pwn" file and drawn in a real window: the built
// sphere, loaded through both file factories, lit by a point light from the
// left. Skipped without a display.
#include "engine/group.h"
#include "engine/light.h"
#include "engine/material.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "engine/world.h"
#include "tests/support/glwindow.h"
#include "tests/support/testworld.h"

#include <GLES2/gl2.h>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr i32 kSize = 64;
const char* const kSphere = "../models/sphere.pwn";

// How the model is loaded: into a group, or as a single mesh.
enum class Factory { kGroup, kMesh };

class PwnDrawing : public testing::TestWithParam<Factory> {
  protected:
    void SetUp() override {
        if (!StartGlWindow()) {
            GTEST_SKIP() << "no X display";
        }
        SceneGraph::init();
        // The sphere has a radius of 14: seen from 50 units it fills a
        // little more than half the square.
        world = MakeSquareWorld("world", kSize, vec4(0, 0, 0, 1), 50, 200);
        light = SceneGraph::createLight("lamp", vec3(1, 1, 1), 1);
        light->translate(-40, 0, 20);
        world->attachChild(light);
    }
    void TearDown() override {
        if (SceneGraph::isInitialized()) {
            SceneGraph::deleteNode(world);
            SceneGraph::shutdown();
        }
    }

    // The sphere attached to the world; its mesh is returned.
    TriangleMesh* loadSphere() {
        if (GetParam() == Factory::kGroup) {
            Group* group = SceneGraph::createGroup("model", kSphere, false, 0);
            world->attachChild(group);
            Node* first = group->getChild(0);
            if (group->getChildCount() != 1 || first->getType() != kNodeTriangleMesh) {
                return nullptr;
            }
            return static_cast<TriangleMesh*>(first);
        }
        TriangleMesh* mesh = SceneGraph::createTriangleMesh("model", kSphere, false, 0);
        world->attachChild(mesh);
        return mesh;
    }

    static i32 brightness(i32 x, i32 y) {
        std::vector<u8> rgba = GameScreenPixel(x, y);
        return rgba[0] + rgba[1] + rgba[2];
    }

    World* world = nullptr;
    Light* light = nullptr;
};

TEST_P(PwnDrawing, SphereIsLitFromTheLightsSide) {
    TriangleMesh* sphere = loadSphere();
    ASSERT_NE(sphere, nullptr);
    ASSERT_NE(sphere->getMaterial(), nullptr);
    EXPECT_EQ(sphere->getMaterial()->getType(), static_cast<u32>(kMaterialPoint));
    ASSERT_NE(sphere->getVertexArray(), nullptr);
    EXPECT_GE(sphere->getVertexArray()->findAttribute("Normal"), 0);
    sphere->setLight(light, 0);

    world->drawAll(nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const i32 middle = kSize / 2;
    const i32 lit = brightness(middle - 8, middle);
    const i32 shaded = brightness(middle + 8, middle);
    EXPECT_GT(brightness(middle, middle), 60);
    EXPECT_GT(lit, shaded + 60);
    for (i32 corner : {1, kSize - 2}) {
        EXPECT_EQ(brightness(corner, corner), 0);
        EXPECT_EQ(brightness(corner, kSize - 1 - corner), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(BothFactories, PwnDrawing,
                         testing::Values(Factory::kGroup, Factory::kMesh),
                         [](const testing::TestParamInfo<Factory>& info) {
                             return info.param == Factory::kGroup ? "Group" : "Mesh";
                         });

} // namespace
