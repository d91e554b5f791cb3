// Phong materials, worlds and sprites without drawing: the uniforms and
// their order, the light-slot rules, the camera matrices and the sprite's
// shared resources. GL calls have no context here and do nothing.
#include "engine/camera.h"
#include "engine/geometry.h"
#include "engine/indexarray.h"
#include "engine/light.h"
#include "engine/materialphong.h"
#include "engine/resourcelist.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/shaderprogram.h"
#include "engine/sprite.h"
#include "engine/texture.h"
#include "engine/vertexarray.h"
#include "engine/world.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Registry : ::testing::Test {
    void SetUp() override { SceneGraph::init(); }
    void TearDown() override { SceneGraph::shutdown(); }

    static std::string lastReport() {
        const char* line = ReportLastMessage();
        return line != nullptr ? line : "";
    }
    // A light whose world matrix stands at the position.
    static Light* lightAt(vec3 position, vec3 color, f32 intensity) {
        Light* light = SceneGraph::createLight("lamp", color, intensity);
        light->world.identity();
        light->world.m[12] = position.x;
        light->world.m[13] = position.y;
        light->world.m[14] = position.z;
        return light;
    }
    static MaterialPhong* phong(u32 code, const char* name) {
        return static_cast<MaterialPhong*>(SceneGraph::createMaterial(code, name, 0));
    }
};

struct Expected {
    const char* name;
    std::vector<f32> values;
};

void expectUniforms(const PhongUniform* got, const std::vector<Expected>& expected) {
    ASSERT_EQ(expected.size(), MaterialPhong::kUniformCount);
    for (u32 i = 0; i < MaterialPhong::kUniformCount; ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_STREQ(got[i].name, expected[i].name);
        ASSERT_EQ(got[i].count, expected[i].values.size());
        for (u32 k = 0; k < got[i].count; ++k) {
            EXPECT_NEAR(got[i].values[k], expected[i].values[k], 1e-5f);
        }
    }
}

const std::vector<Expected> kFields = {{"AmbientColor", {0, 0.1f, 0.2f}},
                                       {"DiffuseColor", {0.1f, 0.5f, 0.7f}},
                                       {"SpecularColor", {0.7f, 0.9f, 1.0f}},
                                       {"Shininess", {3.4f}},
                                       {"Emissive", {0}},
                                       {"SpecularLevel", {1}}};

std::vector<Expected> withLight(Expected first, Expected second) {
    std::vector<Expected> all = {first, second};
    all.insert(all.end(), kFields.begin(), kFields.end());
    return all;
}

TEST_F(Registry, FactoryBuildsPhongKindsAndDirectionalForUnknownCodes) {
    const u32 codes[3] = {0, 1, 99};
    const u32 kinds[3] = {kMaterialDirectional, kMaterialPoint, kMaterialDirectional};
    const char* names[3] = {"d", "p", "u"};
    for (u32 i = 0; i < 3; ++i) {
        Material* m = SceneGraph::createMaterial(codes[i], names[i], 0);
        EXPECT_EQ(m->getType(), kinds[i]);
        ASSERT_NE(dynamic_cast<MaterialPhong*>(m), nullptr);
        EXPECT_STREQ(m->getProgram()->nameText(), names[i]);
        EXPECT_STREQ(static_cast<MaterialPhong*>(m)->getDiffuseTexture()->nameText(),
                     "../textures/notex.png");
    }
}

TEST_F(Registry, PhongProgramsOfOneKindShareTheirShaders) {
    MaterialPhong* a = phong(kMaterialPoint, "a");
    MaterialPhong* b = phong(kMaterialPoint, "b");
    MaterialPhong* c = phong(kMaterialDirectional, "c");
    EXPECT_NE(a->getProgram(), b->getProgram());
    EXPECT_EQ(a->getProgram()->getVertexShader(), b->getProgram()->getVertexShader());
    EXPECT_EQ(a->getProgram()->getFragmentShader(), b->getProgram()->getFragmentShader());
    EXPECT_NE(a->getProgram()->getVertexShader(), c->getProgram()->getVertexShader());
}

TEST_F(Registry, LitUniformsInOrder) {
    Geometry mesh("mesh", kNodeTriangleMesh);
    Light* light = lightAt(vec3(0, 0, 10), vec3(1, 0.5f, 0), 2);
    mesh.setLight(light, 0);
    PhongUniform got[MaterialPhong::kUniformCount];

    phong(kMaterialDirectional, "d")->collectUniforms(&mesh, got);
    expectUniforms(got, withLight({"LightVector", {0, 0, 1}}, {"LightColor", {2, 1, 0}}));
    phong(kMaterialPoint, "p")->collectUniforms(&mesh, got);
    expectUniforms(got, withLight({"LightColor", {2, 1, 0}}, {"LightPosition", {0, 0, 10}}));
    delete light;
}

TEST_F(Registry, DirectionalSeesOnlySlotZeroPointTakesTheFirstLight) {
    Geometry mesh("mesh", kNodeTriangleMesh);
    Light* light = lightAt(vec3(3, 4, 0), vec3(1, 1, 0), 1);
    mesh.setLight(light, 2);
    PhongUniform got[MaterialPhong::kUniformCount];
    const f32 k = 1.0f / std::sqrt(3.0f);

    phong(kMaterialDirectional, "d")->collectUniforms(&mesh, got);
    EXPECT_NE(lastReport().find("There is no light source specified for Geometry node"),
              std::string::npos);
    expectUniforms(got, withLight({"LightVector", {k, k, k}}, {"LightColor", {1, 1, 1}}));
    phong(kMaterialPoint, "p")->collectUniforms(&mesh, got);
    expectUniforms(got, withLight({"LightColor", {1, 1, 0}}, {"LightPosition", {3, 4, 0}}));
    delete light;
    phong(kMaterialPoint, "p")->collectUniforms(&mesh, got);
    expectUniforms(got, withLight({"LightColor", {1, 1, 1}}, {"LightPosition", {0, 0, 0}}));
}

TEST_F(Registry, LightAtTheOriginGivesAZeroVectorNotNaN) {
    Geometry mesh("mesh", kNodeTriangleMesh);
    Light* light = lightAt(vec3(0, 0, 0), vec3(1, 1, 1), 1);
    mesh.setLight(light, 0);
    PhongUniform got[MaterialPhong::kUniformCount];
    phong(kMaterialDirectional, "d")->collectUniforms(&mesh, got);
    expectUniforms(got, withLight({"LightVector", {0, 0, 0}}, {"LightColor", {1, 1, 1}}));
    delete light;
}

TEST_F(Registry, CloneOverwritesAMaterialOfItsKindAndRefusesAnother) {
    MaterialPhong* source = phong(kMaterialPoint, "source");
    source->shininess = 20;
    source->ambientColor = vec3(1, 2, 3);
    Texture* texture = SceneGraph::createTexture("../textures/missing.png", true, 2, 1, 0);
    source->setDiffuseTexture(texture, false);

    MaterialPhong* copy = phong(kMaterialPoint, "copy");
    EXPECT_EQ(source->clone("copy", 0), copy);
    EXPECT_EQ(copy->getReferenceCount(), 2u);
    EXPECT_EQ(copy->shininess, 20);
    EXPECT_EQ(copy->ambientColor.z, 3);
    EXPECT_EQ(copy->getDiffuseTexture(), texture);
    EXPECT_EQ(texture->getReferenceCount(), 2u);

    MaterialPhong* other = phong(kMaterialDirectional, "other");
    EXPECT_EQ(source->clone("other", 0), nullptr);
    EXPECT_NE(lastReport().find("another kind"), std::string::npos);
    EXPECT_EQ(other->getReferenceCount(), 1u);
    EXPECT_NE(other->shininess, 20);
}

TEST_F(Registry, SettingTheOwnTextureAgainKeepsIt) {
    MaterialPhong* m = phong(kMaterialDirectional, "m");
    Texture* texture = m->getDiffuseTexture();
    u32 count = texture->getReferenceCount();
    m->setDiffuseTexture(texture, true);
    EXPECT_EQ(texture->getReferenceCount(), count);
    Texture* sprite = SceneGraph::createTexture("../textures/gone.png", true, 2, 0, 0);
    Sprite* s = SceneGraph::createSprite("s", sprite, false);
    s->setTexture(sprite, true);
    EXPECT_EQ(SceneGraph::getTexture("../textures/gone.png"), sprite);
    EXPECT_EQ(sprite->getReferenceCount(), 2u);
    SceneGraph::dereferenceResource(sprite);
    SceneGraph::deleteNode(s);
    EXPECT_EQ(SceneGraph::getTexture("../textures/gone.png"), nullptr);
}

TEST(WorldCamera, ViewPositionIsTheNegatedCameraPosition) {
    World world("w");
    Camera* camera = new Camera("c");
    world.attachChild(camera);
    camera->setPerspectiveProjection(1.0f, 1.0f, 1.0f, 100.0f);
    camera->translate(0, 2, 10);
    camera->world.identity();
    camera->world.m[13] = 2;
    camera->world.m[14] = 10;

    mat4 view, projection, viewProjection;
    vec3 viewPosition;
    World::cameraMatrices(camera, view, projection, viewProjection, viewPosition);
    EXPECT_EQ(viewPosition.x, 0);
    EXPECT_EQ(viewPosition.y, -2);
    EXPECT_EQ(viewPosition.z, -10);
    EXPECT_FLOAT_EQ(view.m[13], -2);
    EXPECT_FLOAT_EQ(view.m[14], -10);
    mat4 expected;
    camera->getProjection().multiply(expected, view);
    for (u32 i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(projection.m[i], camera->getProjection().m[i]);
        EXPECT_FLOAT_EQ(viewProjection.m[i], expected.m[i]);
    }
}

TEST_F(Registry, WorldCloneKeepsCameraAndClearingOnly) {
    World* world = SceneGraph::createWorld("w");
    Camera* camera = SceneGraph::createCamera("c");
    world->attachChild(camera);
    world->setActiveCamera(camera);
    world->setClearColor(false, vec4(0, 0, 0, 1));
    world->setViewport(0, 0, 10, 10);
    world->getRenderState()->disableCulling();
    World* copy = static_cast<World*>(world->clone());
    EXPECT_STREQ(copy->getName(), "w");
    EXPECT_EQ(copy->getActiveCamera(), camera);
    EXPECT_EQ(copy->getChildCount(), 0);
    EXPECT_NE(copy->getRenderState()->enabled & RenderState::kCulling, 0);
    SceneGraph::deleteNode(copy);
    SceneGraph::deleteNode(world);
}

TEST_F(Registry, SpritesShareTheQuadAndProgram) {
    Texture* texture = SceneGraph::createTexture("../textures/notex.png", true, 2, 0, 0);
    Sprite* a = SceneGraph::createSprite("a", texture, true);
    Sprite* b = SceneGraph::createSprite("b", texture, false);
    VertexArray* quad = SceneGraph::getVertexArray("SpriteVertexArray");
    ASSERT_NE(quad, nullptr);
    EXPECT_EQ(quad->getReferenceCount(), 3u);
    EXPECT_EQ(quad->getCount(), 4u);
    EXPECT_STREQ(quad->getAttributeName(0), "Vertex");
    IndexArray* indices = SceneGraph::getIndexArray("SpriteIndexArray");
    ASSERT_NE(indices, nullptr);
    const u16 expected[6] = {0, 1, 2, 1, 3, 2};
    EXPECT_EQ(std::memcmp(indices->getArray(), expected, sizeof expected), 0);
    EXPECT_EQ(texture->getReferenceCount(), 2u);

    Light* light = SceneGraph::createLight("l", vec3(1, 0.5f, 0), 2);
    EXPECT_EQ(a->getLightColor().x, 1);
    a->setLight(light, 2);
    EXPECT_EQ(a->getLightColor().y, 1);
    EXPECT_EQ(a->getLightColor().x, 2);
    a->setSize(vec2(3, 4));
    a->setTexcoords(vec2(0, 0), vec2(0.5f, 1));
    Sprite* c = static_cast<Sprite*>(a->clone());
    EXPECT_EQ(c->getLight(2), light);
    EXPECT_EQ(c->getSize().y, 4);
    EXPECT_EQ(c->getTexcoordsTo().x, 0.5f);

    SceneGraph::deleteNode(a);
    SceneGraph::deleteNode(b);
    SceneGraph::deleteNode(c);
    delete light;
    SceneGraph::dereferenceResource(quad);
    SceneGraph::dereferenceResource(indices);
    EXPECT_NE(SceneGraph::getVertexArray("SpriteVertexArray"), nullptr);
    EXPECT_EQ(SceneGraph::getTexture("../textures/notex.png"), nullptr);
}

} // namespace
