#include "engine/camera.h"
#include "engine/cubemap.h"
#include "engine/group.h"
#include "engine/indexarray.h"
#include "engine/light.h"
#include "engine/material.h"
#include "engine/memory.h"
#include "engine/resourcelist.h"
#include "engine/scenegraph.h"
#include "engine/shader.h"
#include "engine/shaderprogram.h"
#include "engine/texture.h"
#include "engine/vertexarray.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<u32> deathTypes;

// A resource of any type code that notes the order of destruction.
class Probe : public Resource {
  public:
    Probe(const char* name, u32 type) : Resource(name, 0, type) {}
    ~Probe() override { deathTypes.push_back(getType()); }
};

// A material that holds a program, as the concrete kinds do.
class ProgramMaterial : public Material {
  public:
    ProgramMaterial(const char* name, u32 purgeLevel) : Material(name, purgeLevel, 2) {
        createProgram(name, "", "../shaders/a.vs", "../shaders/a.fs", purgeLevel);
    }
};

struct Registry : ::testing::Test {
    void SetUp() override { SceneGraph::init(); }
    void TearDown() override { SceneGraph::shutdown(); }
};

const f32 kTriangle[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
TEST(SceneGraphLife, InitAndShutdown) {
    // The missing files warn; the report keeps its last line, so the memory
    // is compared across a second identical cycle.
    auto cycle = [] {
        EXPECT_FALSE(SceneGraph::isInitialized());
        SceneGraph::init();
        EXPECT_TRUE(SceneGraph::isInitialized());
        for (u32 type = 0; type < kResourceTypeCount; type++) {
            ASSERT_NE(SceneGraph::getResourceList(type), nullptr);
            EXPECT_EQ(SceneGraph::getResourceList(type)->getBucketCount(), 97u);
        }
        EXPECT_EQ(SceneGraph::getResourceList(kResourceTypeCount), nullptr);
        SceneGraph::createVertexArray("va", kTriangle, 3, 3, 0);
        SceneGraph::createIndexArray("ia", nullptr, 3, 0, 2);
        SceneGraph::createShaderProgram("p", "#define A\n", "x.vs", "x.fs", 0);
        SceneGraph::createMaterial(2, "m", 0);
        SceneGraph::createTexture("t.png", true, 2, 1, 0);
        SceneGraph::createCubeMap("c", "1", "2", "3", "4", "5", "6", 0);
        SceneGraph::shutdown();
        EXPECT_FALSE(SceneGraph::isInitialized());
        for (u32 type = 0; type < kResourceTypeCount; type++) {
            EXPECT_EQ(SceneGraph::getResourceList(type), nullptr);
        }
    };
    cycle();
    u32 bytes = MemoryGetTotal();
    u32 blocks = MemoryGetBlockCount();
    cycle();
    EXPECT_EQ(MemoryGetTotal(), bytes);
    EXPECT_EQ(MemoryGetBlockCount(), blocks);
}
TEST(SceneGraphLife, OutsideInitAndShutdownNothingIsTouched) {
    EXPECT_FALSE(SceneGraph::dereferenceResource(nullptr));
    Probe loose("loose", kResourceMaterial);
    loose.reference();
    EXPECT_FALSE(SceneGraph::dereferenceResource(&loose));
    EXPECT_EQ(loose.getReferenceCount(), 1u);
    deathTypes.clear();
}

TEST(SceneGraphLifeDeathTest, ACreateBeforeInitEndsTheProgram) {
    EXPECT_EXIT(SceneGraph::createVertexArray("va", kTriangle, 3, 3, 0),
                ::testing::ExitedWithCode(1), "");
}

TEST(SceneGraphLife, ShutdownDeletesTheListsInOrder) {
    SceneGraph::init();
    for (u32 type = 0; type < kResourceTypeCount; type++) {
        SceneGraph::getResourceList(type)->add(new Probe("probe", type));
    }
    deathTypes.clear();
    SceneGraph::shutdown();
    EXPECT_EQ(deathTypes, (std::vector<u32>{6, 5, 0, 1, 2, 3, 4}));
}

TEST_F(Registry, DereferenceOfNullIsFalse) {
    EXPECT_FALSE(SceneGraph::dereferenceResource(nullptr));
}

TEST_F(Registry, CreateOrFindHandsOutOneReferenceEachTime) {
    VertexArray* first = SceneGraph::createVertexArray("va", kTriangle, 3, 3, 0);
    EXPECT_EQ(first->getReferenceCount(), 1u);
    EXPECT_EQ(first->getSize(), 36u);
    EXPECT_EQ(SceneGraph::getResourceList(kResourceVertexArray)->getTotalSize(), 36u);
    VertexArray* again = SceneGraph::createVertexArray("va", nullptr, 5, 1, 0);
    EXPECT_EQ(again, first);
    EXPECT_EQ(again->getFloatsPerVertex(), 3u);
    EXPECT_EQ(first->getReferenceCount(), 2u);
    EXPECT_EQ(SceneGraph::getVertexArray("va"), first);
    EXPECT_EQ(first->getReferenceCount(), 3u);
    EXPECT_EQ(SceneGraph::getVertexArray("nope"), nullptr);
    EXPECT_EQ(SceneGraph::getIndexArray("va"), nullptr);
    EXPECT_FALSE(SceneGraph::dereferenceResource(first));
    EXPECT_FALSE(SceneGraph::dereferenceResource(first));
    EXPECT_TRUE(SceneGraph::dereferenceResource(first));
    EXPECT_EQ(SceneGraph::getVertexArray("va"), nullptr);
}

TEST_F(Registry, AskingAgainRaisesThePurgeLevelButGetLeavesIt) {
    IndexArray* array = SceneGraph::createIndexArray("ia", nullptr, 6, 1, 2);
    EXPECT_EQ(array->getLayout(), 1u);
    EXPECT_EQ(array->getSize(), 12u);
    SceneGraph::createIndexArray("ia", nullptr, 6, 1, 5);
    EXPECT_EQ(array->getPurgeLevel(), 5u);
    SceneGraph::createIndexArray("ia", nullptr, 6, 1, 1);
    EXPECT_EQ(array->getPurgeLevel(), 5u);
    SceneGraph::getIndexArray("ia");
    EXPECT_EQ(array->getPurgeLevel(), 5u);
    EXPECT_EQ(array->getReferenceCount(), 4u);
}

TEST_F(Registry, ACachedObjectStaysAtCountZeroUntilItsPurge) {
    Texture* texture = SceneGraph::createTexture("../textures/a.png", true, 2, 1, 3);
    EXPECT_FALSE(SceneGraph::dereferenceResource(texture));
    EXPECT_EQ(texture->getReferenceCount(), 0u);
    EXPECT_FALSE(SceneGraph::dereferenceResource(texture));
    EXPECT_EQ(texture->getReferenceCount(), 0u);
    SceneGraph::purge(2);
    EXPECT_EQ(SceneGraph::getTexture("../textures/a.png"), texture);
    SceneGraph::dereferenceResource(texture);
    SceneGraph::purge(3);
    EXPECT_EQ(SceneGraph::getTexture("../textures/a.png"), nullptr);
}

TEST_F(Registry, PurgeReachesEveryList) {
    u8 pixel[4] = {1, 2, 3, 4};
    SceneGraph::createTexture(pixel, "pixel", 0, 1, 1, false, 0, 0, 1);
    SceneGraph::createCubeMap("sky", "1", "2", "3", "4", "5", "6", 1);
    SceneGraph::createMaterial(4, "mat", 1);
    SceneGraph::createShaderProgram("prog", "", "v", "f", 1);
    SceneGraph::createVertexArray("kept", kTriangle, 3, 3, 0);
    SceneGraph::purge(1);
    EXPECT_EQ(SceneGraph::getTexture("pixel"), nullptr);
    EXPECT_EQ(SceneGraph::getCubeMap("sky"), nullptr);
    EXPECT_EQ(SceneGraph::getMaterial("mat"), nullptr);
    EXPECT_EQ(SceneGraph::getShaderProgram("prog"), nullptr);
    EXPECT_EQ(SceneGraph::getResourceList(kResourceShader)->getEntryCount(), 0u);
    EXPECT_NE(SceneGraph::getVertexArray("kept"), nullptr);
}

TEST_F(Registry, AMaterialNameKeepsItsFirstKind) {
    Material* first = SceneGraph::createMaterial(1, "metal", 0);
    Material* second = SceneGraph::createMaterial(4, "metal", 0);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->getReferenceCount(), 2u);
    EXPECT_EQ(SceneGraph::getMaterial("metal"), first);
}

TEST_F(Registry, ProgramsShareShadersByHeaderAndFile) {
    ShaderProgram* a = SceneGraph::createShaderProgram("a", "#define P\n", "s.vs", "s.fs", 0);
    ShaderProgram* b = SceneGraph::createShaderProgram("b", "#define P\n", "s.vs", "s.fs", 0);
    ShaderProgram* c = SceneGraph::createShaderProgram("c", "#define Q\n", "s.vs", "s.fs", 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(a->getVertexShader(), b->getVertexShader());
    EXPECT_EQ(a->getFragmentShader(), b->getFragmentShader());
    EXPECT_NE(a->getVertexShader(), c->getVertexShader());
    EXPECT_STREQ(a->getVertexShader()->nameText(), "#define P\ns.vs");
    EXPECT_STREQ(c->getFragmentShader()->nameText(), "#define Q\ns.fs");
    EXPECT_EQ(a->getVertexShader()->getReferenceCount(), 2u);
    EXPECT_EQ(c->getVertexShader()->getReferenceCount(), 1u);
    EXPECT_EQ(SceneGraph::getResourceList(kResourceShader)->getEntryCount(), 4u);

    ShaderProgram* again = SceneGraph::createShaderProgram("a", "", "other.vs", "other.fs", 0);
    EXPECT_EQ(again, a);
    EXPECT_EQ(SceneGraph::getResourceList(kResourceShader)->getEntryCount(), 4u);

    // Deleting a program gives its shaders back.
    Shader* shared = b->getVertexShader();
    SceneGraph::dereferenceResource(c);
    EXPECT_EQ(SceneGraph::getResourceList(kResourceShader)->getEntryCount(), 2u);
    SceneGraph::dereferenceResource(b);
    EXPECT_EQ(shared->getReferenceCount(), 1u);
}

TEST_F(Registry, ShutdownGivesReferencesBackIntoListsStillAlive) {
    ResourceList* materials = SceneGraph::getResourceList(kResourceMaterial);
    materials->add(new ProgramMaterial("wood", 0));
    materials->add(new ProgramMaterial("stone", 4));
    EXPECT_EQ(SceneGraph::getResourceList(kResourceShaderProgram)->getEntryCount(), 2u);
    // TearDown shuts down: the materials go first and give back their programs.
}

TEST_F(Registry, AMaterialGivesBackItsProgram) {
    ResourceList* materials = SceneGraph::getResourceList(kResourceMaterial);
    ProgramMaterial* material = new ProgramMaterial("wood", 0);
    materials->add(material);
    EXPECT_TRUE(SceneGraph::dereferenceResource(material));
    EXPECT_EQ(SceneGraph::getResourceList(kResourceShaderProgram)->getEntryCount(), 0u);
    EXPECT_EQ(SceneGraph::getResourceList(kResourceShader)->getEntryCount(), 0u);
}

// A holder's slot: the new reference is taken before the old one goes.
TEST_F(Registry, AssignReferenceHandsOverInOrder) {
    VertexArray* array = SceneGraph::createVertexArray("va", kTriangle, 3, 3, 0);
    VertexArray* slot = array;
    VertexArray::assignReference(&slot, array, true);
    EXPECT_EQ(slot, array);
    EXPECT_EQ(array->getReferenceCount(), 1u);
    EXPECT_EQ(SceneGraph::getVertexArray("va"), array);
    SceneGraph::dereferenceResource(array);

    VertexArray* other = SceneGraph::createVertexArray("other", kTriangle, 3, 1, 0);
    VertexArray::assignReference(&slot, other, false);
    EXPECT_EQ(slot, other);
    EXPECT_EQ(other->getReferenceCount(), 1u);
    EXPECT_EQ(SceneGraph::getVertexArray("va"), nullptr);

    VertexArray::assignReference(&slot, static_cast<VertexArray*>(nullptr), true);
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(SceneGraph::getVertexArray("other"), nullptr);

    Texture* texture = SceneGraph::createTexture("t.png", false, 0, 0, 0);
    Texture* held = nullptr;
    Texture::assignReference(&held, texture, false);
    Texture::assignReference(&held, texture, false);
    EXPECT_EQ(SceneGraph::getTexture("t.png"), nullptr);
}

// An unregistered copy under the same name outlives the original and never
// takes the original down with it.
TEST_F(Registry, ACloneSurvivesItsOriginal) {
    VertexArray* original = SceneGraph::createVertexArray("rock", kTriangle, 3, 3, 0);
    VertexArray* clone = new VertexArray("rock", kTriangle, 3, 3, 0);
    clone->reference();
    EXPECT_FALSE(SceneGraph::dereferenceResource(clone));
    EXPECT_EQ(SceneGraph::getVertexArray("rock"), original);
    EXPECT_FALSE(SceneGraph::dereferenceResource(original));
    EXPECT_TRUE(SceneGraph::dereferenceResource(original));
    EXPECT_EQ(SceneGraph::getVertexArray("rock"), nullptr);
    EXPECT_EQ(clone->getArray()[3], 1.0f);
    delete clone;
}

TEST_F(Registry, NodeFactories) {
    Group* group = SceneGraph::createGroup("g");
    Camera* camera = SceneGraph::createCamera("c");
    Light* white = SceneGraph::createLight("w");
    Light* red = SceneGraph::createLight("r", vec3(1, 0, 0), 2.0f);
    EXPECT_EQ(group->getType(), static_cast<u32>(kNodeGroup));
    EXPECT_EQ(camera->getType(), static_cast<u32>(kNodeCamera));
    EXPECT_EQ(white->getColor().z, 1.0f);
    EXPECT_EQ(red->getColor().z, 0.0f);
    EXPECT_EQ(red->getIntensity(), 2.0f);
    group->attachChild(camera);
    group->attachChild(white);
    group->attachChild(red);
    SceneGraph::deleteNode(group);
    SceneGraph::deleteNode(nullptr);
}

TEST_F(Registry, GeneratedArrayNamesSkipNamesStillRegistered) {
    char vertexName[16];
    char indexName[16];
    SceneGraph::makeArrayName(kResourceVertexArray, vertexName, sizeof vertexName);
    SceneGraph::makeArrayName(kResourceIndexArray, indexName, sizeof indexName);
    unsigned first = 0;
    ASSERT_EQ(std::sscanf(vertexName, "tm%xv", &first), 1);
    char expected[16];
    std::snprintf(expected, sizeof expected, "tm%4xv", first);
    EXPECT_STREQ(vertexName, expected);
    std::snprintf(expected, sizeof expected, "tm%xv", (first + 1) & 0xFFFF);
    EXPECT_STREQ(indexName, expected);

    VertexArray* live = SceneGraph::createVertexArray(vertexName, kTriangle, 3, 3, 0);
    char name[16];
    for (u32 i = 0; i < 0xFFFE; i++) {
        SceneGraph::makeArrayName(kResourceIndexArray, name, sizeof name);
    }
    // The counter has wrapped to the live array's number, which is skipped.
    SceneGraph::makeArrayName(kResourceVertexArray, name, sizeof name);
    EXPECT_STRNE(name, vertexName);
    std::snprintf(expected, sizeof expected, "tm%4xv", (first + 1) & 0xFFFF);
    EXPECT_STREQ(name, expected);
    SceneGraph::dereferenceResource(live);
}

TEST(SceneGraphScreen, KeepsTheSizeAsFloats) {
    SceneGraph::setScreenSize(320, 480);
    EXPECT_EQ(SceneGraph::getScreenWidth(), 320.0f);
    EXPECT_EQ(SceneGraph::getScreenHeight(), 480.0f);
}

TEST_F(Registry, DumpResourcesWritesEveryListInOrder) {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    char scratch[] = "/tmp/scenegraph_testXXXXXX";
    ASSERT_NE(mkdtemp(scratch), nullptr);
    ASSERT_EQ(chdir(scratch), 0);
    SceneGraph::createVertexArray("va", kTriangle, 3, 3, 0);
    SceneGraph::dumpResources();
    std::ifstream in("reslist.txt");
    std::stringstream all;
    all << in.rdbuf();
    std::string text = all.str();
    std::remove("reslist.txt");
    ASSERT_EQ(chdir(cwd), 0);
    rmdir(scratch);

    size_t at = 0;
    for (const char* name : {"Material", "ShaderProgram", "VertexArray", "IndexArray", "Texture",
                             "CubeMap", "Shader"}) {
        std::string heading = std::string(" - - = = ") + name + " list contents";
        size_t found = text.find(heading, at);
        ASSERT_NE(found, std::string::npos) << name;
        at = found + heading.size();
    }
    EXPECT_NE(text.find("  -- va --\n"), std::string::npos);
}

} // namespace
