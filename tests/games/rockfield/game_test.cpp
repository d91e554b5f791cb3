// The fly-through over the real scene registry with the program's own
// material factory: the triplanar material, the meshes and the resources
// that go with them, the asteroids' levels of detail, the field's spawning
// and removal, and the memory the game leaves behind. A GL window is used
// when a display exists; the checks read the scene, not pixels.
#include "engine/indexarray.h"
#include "engine/light.h"
#include "engine/material.h"
#include "engine/memory.h"
#include "engine/resourcelist.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/shaderprogram.h"
#include "engine/texture.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "engine/world.h"
#include "games/rockfield/asteroid.h"
#include "games/rockfield/asteroidmesh.h"
#include "games/rockfield/fieldgame.h"
#include "games/rockfield/materialtriplanar.h"
#include "games/rockfield/rules.h"
#include "host/host.h"
#include "tests/support/gametest.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const u32 kResourceTypes = 7;

class Rockfield : public GameTest {
  protected:
    void TearDown() override {
        delete game;
        GameTest::TearDown();
    }

    static std::vector<u32> resourceCounts() {
        std::vector<u32> counts;
        for (u32 type = 0; type < kResourceTypes; type++) {
            counts.push_back(SceneGraph::getResourceList(type)->getEntryCount());
        }
        return counts;
    }
    static u32 materialCount() {
        return SceneGraph::getResourceList(kResourceMaterial)->getEntryCount();
    }
    static std::string lastReport() {
        const char* line = ReportLastMessage();
        return line != nullptr ? line : "";
    }
    // The unique-name counter's current value (taking one name).
    static i32 nameCounter() {
        char name[32];
        UniqueName("probe", name, sizeof name);
        return std::atoi(name);
    }

    Game* game = nullptr;
};

TEST_F(Rockfield, FactoryBuildsTheTriplanarMaterialForCodeSix) {
    Material* material = SceneGraph::createMaterial(kMaterialTriplanar, "rock", 0);
    ASSERT_EQ(material->getType(), kMaterialTriplanar);
    EXPECT_STREQ(material->getProgram()->nameText(), "MaterialTriplanar");
    auto* triplanar = static_cast<MaterialTriplanar*>(material);
    ASSERT_NE(triplanar->getDiffuseTexture(), nullptr);
    EXPECT_STREQ(triplanar->getDiffuseTexture()->nameText(), "../textures/notex.png");
    Resource* copy = material->clone("copy", 0);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(static_cast<Material*>(copy)->getType(), kMaterialTriplanar);
    EXPECT_EQ(static_cast<MaterialTriplanar*>(copy)->getDiffuseTexture(),
              triplanar->getDiffuseTexture());
    Material* fallback = SceneGraph::createMaterial(9, "other", 0);
    EXPECT_EQ(fallback->getType(), kMaterialDirectional);
    EXPECT_EQ(SceneGraph::createMaterial(kMaterialTextured, "flat", 0)->getType(),
              kMaterialTextured);
}

struct LightCase {
    bool present;
    vec3 position, color;
    f32 intensity;
    vec3 vector, sent;
};

TEST_F(Rockfield, TriplanarLightUniforms) {
    const f32 k = 0.57735027f;
    const LightCase cases[] = {
        {true, vec3(100, 100, 100), vec3(1, 1, 1), 1, vec3(k, k, k), vec3(1, 1, 1)},
        {true, vec3(0, 0, 10), vec3(1, 0.5f, 0), 2, vec3(0, 0, 1), vec3(2, 1, 0)},
        {true, vec3(0, 0, 0), vec3(1, 1, 1), 1, vec3(0, 0, 0), vec3(1, 1, 1)}, // no NaN
        {false, vec3(0, 0, 0), vec3(0, 0, 0), 0, vec3(1, 1, 1), vec3(1, 1, 1)},
    };
    for (const LightCase& c : cases) {
        Light* light = nullptr;
        if (c.present) {
            light = SceneGraph::createLight("lamp", c.color, c.intensity);
            light->world.identity();
            light->world.m[12] = c.position.x;
            light->world.m[13] = c.position.y;
            light->world.m[14] = c.position.z;
        }
        vec3 vector, color;
        MaterialTriplanar::lightUniforms(light, &vector, &color);
        EXPECT_NEAR(vector.x, c.vector.x, 1e-6f);
        EXPECT_NEAR(vector.y, c.vector.y, 1e-6f);
        EXPECT_NEAR(vector.z, c.vector.z, 1e-6f);
        EXPECT_NEAR(color.x, c.sent.x, 1e-6f);
        EXPECT_NEAR(color.y, c.sent.y, 1e-6f);
        EXPECT_NEAR(color.z, c.sent.z, 1e-6f);
        if (!c.present) {
            EXPECT_NE(lastReport().find("There is no light source specified for Geometry node"),
                      std::string::npos);
        }
        SceneGraph::deleteNode(light);
    }
}

TEST_F(Rockfield, EmptyBlockMakesNoMeshAndNoResource) {
    const i32 n = 8;
    std::vector<u8> block(n * n * n, 100);
    std::vector<u32> before = resourceCounts();
    EXPECT_EQ(buildAsteroidMesh(block.data(), n), nullptr);
    EXPECT_EQ(resourceCounts(), before);
}

// The mesh's four resources use four successive names and go with it.
TEST_F(Rockfield, MeshResourcesAreNamedInTurnAndGoWithTheMesh) {
    const i32 n = 7;
    std::vector<u8> block(n * n * n, 0);
    block[3 + n * (3 + n * 3)] = 255;
    std::vector<u32> before = resourceCounts();
    i32 first = nameCounter() + 1;
    TriangleMesh* mesh = buildAsteroidMesh(block.data(), n);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(std::string(mesh->getVertexArray()->nameText()), std::to_string(first) + "_va");
    EXPECT_EQ(std::string(mesh->getIndexArray()->nameText()), std::to_string(first + 1) + "_ia");
    EXPECT_EQ(std::string(mesh->getMaterial()->nameText()), std::to_string(first + 2) + "_mat");
    EXPECT_EQ(std::string(mesh->getName()), std::to_string(first + 3) + "_tm");
    EXPECT_EQ(mesh->getVertexArray()->getCount(), 6u);
    EXPECT_EQ(mesh->getVertexArray()->findAttribute("Vertex"), 0);
    EXPECT_EQ(mesh->getVertexArray()->findAttribute("Normal"), 1);
    EXPECT_EQ(mesh->getIndexArray()->getCount(), 24u);
    auto* material = static_cast<MaterialTriplanar*>(mesh->getMaterial());
    ASSERT_EQ(material->getType(), kMaterialTriplanar);
    EXPECT_STREQ(material->getDiffuseTexture()->nameText(), "../textures/craters.png");
    EXPECT_EQ(material->getPurgeLevel(), 0u);
    SceneGraph::deleteNode(mesh);
    std::vector<u32> after = resourceCounts();
    // Only the default texture stays cached, as for every material.
    after[kResourceTexture] = before[kResourceTexture];
    after[kResourceShader] = before[kResourceShader];
    EXPECT_EQ(after, before);
    EXPECT_EQ(SceneGraph::getResourceList(kResourceTexture)->contains("../textures/craters.png"),
              false);
}

// Isolated solid voxels two apart: 6 vertices each, far more than 16-bit
// numbers allow.
TEST_F(Rockfield, TooManyVerticesWarnAndMakeNothing) {
    const i32 n = 40;
    std::vector<u8> block(n * n * n, 0);
    for (i32 z = 2; z < n - 2; z += 2) {
        for (i32 y = 2; y < n - 2; y += 2) {
            for (i32 x = 2; x < n - 2; x += 2) {
                block[x + n * (y + n * z)] = 255;
            }
        }
    }
    std::vector<u32> before = resourceCounts();
    EXPECT_EQ(buildAsteroidMesh(block.data(), n), nullptr);
    EXPECT_NE(lastReport().find("Warning"), std::string::npos);
    EXPECT_EQ(resourceCounts(), before);
}

TEST_F(Rockfield, AsteroidsGainDetailAsTheyApproach) {
    Light* light = SceneGraph::createLight("light");
    Asteroid* far = new Asteroid(light);
    far->rebuildMesh();
    EXPECT_EQ(far->getLevel(), 2);
    EXPECT_EQ(far->getMesh(), nullptr) << "4 voxels a side show nothing";
    EXPECT_FLOAT_EQ(far->getScale().x, far->getSize() / 4);
    EXPECT_FLOAT_EQ(far->getTranslation().z, -1000);
    EXPECT_GE(far->getSize(), 16);
    EXPECT_LE(far->getSize(), 64);
    ASSERT_TRUE(far->update(5.9f)); // 705 ahead
    EXPECT_EQ(far->getLevel(), 2);
    ASSERT_TRUE(far->update(0.2f)); // 695 ahead
    EXPECT_EQ(far->getLevel(), 3);
    ASSERT_NE(far->getMesh(), nullptr);
    EXPECT_EQ(far->getMesh()->getLight(0), light);
    EXPECT_FLOAT_EQ(far->getScale().x, far->getSize() / 8);

    // From beyond 700 to within 400 in one step: one rebuild, at level 4.
    Asteroid* jumper = new Asteroid(light);
    jumper->rebuildMesh();
    i32 before = nameCounter();
    ASSERT_TRUE(jumper->update(12.1f));
    EXPECT_EQ(jumper->getLevel(), 4);
    EXPECT_EQ(nameCounter(), before + 5) << "one mesh of four names";
    EXPECT_FLOAT_EQ(jumper->getScale().x, jumper->getSize() / 16);

    // Gone once more than its size behind the camera.
    f32 behind = (12.1f * 50 + jumper->getSize()) / 50;
    EXPECT_TRUE(jumper->update((400 - 5) / 50.0f));
    EXPECT_FALSE(jumper->update(behind));
    SceneGraph::deleteNode(far);
    SceneGraph::deleteNode(jumper);
    SceneGraph::deleteNode(light);
}

// The field starts full, spawns one asteroid a frame when due, removes those
// behind the camera, and holds exactly one material per mesh in flight.
TEST_F(Rockfield, FieldSpawnsMovesAndRemovesAsteroids) {
    game = new Game();
    World* world = game->getWorld();
    ASSERT_EQ(game->getAsteroids().size(), 200u);
    const Asteroid* newest = game->getAsteroids().back();
    EXPECT_NEAR(newest->getTranslation().z, -5, 0.01f);
    EXPECT_EQ(newest->getLevel(), 4);
    EXPECT_NEAR(game->getAsteroids()[1]->getTranslation().z, -995, 0.01f);
    EXPECT_EQ(game->getAsteroids().front()->getLevel(), 2);

    FrameInput input{};
    input.time = 100;
    input.deltaTime = 0.05f;
    ASSERT_TRUE(game->update(&input));
    EXPECT_EQ(game->getAsteroids().size(), 201u);
    input.time += 0.05f;
    ASSERT_TRUE(game->update(&input));
    EXPECT_EQ(game->getAsteroids().size(), 201u) << "no spawn 0.05 s after the last";

    input.deltaTime = 0.5f;
    for (i32 frame = 0; frame < 50; frame++) {
        input.time += 0.5f;
        ASSERT_TRUE(game->update(&input));
        u32 meshes = 0;
        for (const Asteroid* asteroid : game->getAsteroids()) {
            meshes += asteroid->getMesh() != nullptr ? 1 : 0;
        }
        ASSERT_EQ(materialCount(), meshes) << "frame " << frame;
    }
    // 25 s later every pre-filled asteroid has passed and been removed;
    // what is left is in flight.
    for (const Asteroid* asteroid : game->getAsteroids()) {
        EXPECT_LT(asteroid->getTranslation().z, asteroid->getSize());
        EXPECT_GT(asteroid->getTranslation().z, -kSpawnDistance);
    }
    EXPECT_LT(game->getAsteroids().size(), 50u);
    EXPECT_EQ(world->getChildCount(), game->getAsteroids().size() + 2)
        << "the asteroids, the camera and the light";
}

} // namespace
