// A shader program's locations in a real GL context (skipped without a
// display): every lookup and setter answers as GL does for the name it is
// given, on the first call and on every call after it.
#include "engine/matrixtransformation.h"
#include "engine/memory.h"
#include "engine/scenegraph.h"
#include "engine/shaderprogram.h"
#include "tests/support/glwindow.h"

#include <GLES2/gl2.h>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string fixture(const char* name) {
    std::string dir = __FILE__;
    return dir.substr(0, dir.rfind('/')) + "/fixtures/" + name;
}

ShaderProgram* makeProgram(const char* name, const char* vs, const char* fs) {
    ShaderProgram* p =
        SceneGraph::createShaderProgram(name, "", fixture(vs).c_str(), fixture(fs).c_str(), 0);
    EXPECT_TRUE(p->isLinked()) << name;
    return p;
}

// The floats of a uniform, read at the location GL itself gives for name.
std::vector<f32> uniformValue(const ShaderProgram* p, const char* name, u32 count) {
    std::vector<f32> values(16, -1.0f);
    glGetUniformfv(p->getProgramId(), glGetUniformLocation(p->getProgramId(), name), values.data());
    values.resize(count);
    return values;
}

std::vector<f32> floats(const f32* values, u32 count) {
    return std::vector<f32>(values, values + count);
}

class Locations : public testing::Test {
  protected:
    void SetUp() override {
        if (!StartGlWindow()) {
            GTEST_SKIP() << "no X display";
        }
        SceneGraph::init();
    }
    void TearDown() override {
        if (SceneGraph::isInitialized()) {
            SceneGraph::shutdown();
        }
    }
};

TEST_F(Locations, DeclaredNamesAreSetAndOthersSkippedOnEveryCall) {
    ShaderProgram* p = makeProgram("p", "locations.vs", "locations.fs");
    const u32 id = p->getProgramId();
    p->activate();
    const f32 tint[2][4] = {{0.25f, 0.5f, 0.75f, 1}, {1, 0.75f, 0.5f, 0.25f}};
    for (u32 call = 0; call < 2; call++) {
        SCOPED_TRACE(call == 0 ? "first call" : "second call");
        EXPECT_EQ(p->getUniformLocation("Tint"), glGetUniformLocation(id, "Tint"));
        EXPECT_TRUE(p->setUniform("Tint", tint[call], 4));
        EXPECT_EQ(uniformValue(p, "Tint", 4), floats(tint[call], 4));
        EXPECT_EQ(p->getUniformLocation("Missing"), -1);
        EXPECT_FALSE(p->setUniform("Missing", tint[call], 4));
        EXPECT_EQ(p->getAttributeLocation("Index"), glGetAttribLocation(id, "Index"));
        EXPECT_GE(p->getAttributeLocation("Vertex"), 0);
        EXPECT_EQ(p->getAttributeLocation("Missing"), -1);
        EXPECT_FALSE(p->setAttributePointer("Missing", 3, false, 0, tint[call]));
        // Uniforms and attributes are looked up apart.
        EXPECT_EQ(p->getUniformLocation("Vertex"), -1);
        EXPECT_EQ(p->getAttributeLocation("Tint"), -1);
        EXPECT_EQ(p->getUniformLocation(nullptr), -1);
        EXPECT_EQ(p->getAttributeLocation(nullptr), -1);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Locations, ANameIsKnownByItsTextNotItsAddressOrHash) {
    ShaderProgram* p = makeProgram("p", "locations.vs", "locations.fs");
    const u32 id = p->getProgramId();
    char name[16] = "Tint";
    EXPECT_EQ(p->getUniformLocation(name), glGetUniformLocation(id, "Tint"));
    std::strcpy(name, "World");
    EXPECT_EQ(p->getUniformLocation(name), glGetUniformLocation(id, "World"));
    std::strcpy(name, "Tent");
    EXPECT_EQ(p->getUniformLocation(name), -1);
    // "TioS" hashes like "Tint", in either order of first use.
    ASSERT_EQ(StringHash("TioS"), StringHash("Tint"));
    EXPECT_EQ(p->getUniformLocation("TioS"), -1);
    ShaderProgram* q = makeProgram("q", "locations.vs", "locations.fs");
    EXPECT_EQ(q->getUniformLocation("TioS"), -1);
    EXPECT_EQ(q->getUniformLocation("Tint"), glGetUniformLocation(q->getProgramId(), "Tint"));
    EXPECT_GE(q->getUniformLocation("Tint"), 0);
}

TEST_F(Locations, TwoProgramsKeepTheirOwnLocationsOfOneName) {
    ShaderProgram* a = makeProgram("a", "color.vs", "color.fs");
    ShaderProgram* b = makeProgram("b", "locations.vs", "locations.fs");
    const i32 atA = glGetUniformLocation(a->getProgramId(), "Tint");
    const i32 atB = glGetUniformLocation(b->getProgramId(), "Tint");
    ASSERT_NE(atA, atB) << "the driver placed Tint alike in both programs";
    const f32 red[4] = {1, 0, 0, 1};
    const f32 green[4] = {0, 1, 0, 1};
    for (u32 round = 0; round < 2; round++) {
        a->activate();
        EXPECT_TRUE(a->setUniform("Tint", red, 4));
        b->activate();
        EXPECT_TRUE(b->setUniform("Tint", green, 4));
    }
    EXPECT_EQ(a->getUniformLocation("Tint"), atA);
    EXPECT_EQ(b->getUniformLocation("Tint"), atB);
    EXPECT_EQ(uniformValue(a, "Tint", 4), floats(red, 4));
    EXPECT_EQ(uniformValue(b, "Tint", 4), floats(green, 4));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Forty array elements and forty undeclared names: more names than a table
// holds at first, asked in one order and again in the other.
TEST_F(Locations, ManyNamesAllResolve) {
    ShaderProgram* p = makeProgram("p", "locations.vs", "locations.fs");
    const u32 id = p->getProgramId();
    std::vector<std::string> names;
    for (u32 i = 0; i < 40; i++) {
        names.push_back("Many[" + std::to_string(i) + "]");
        names.push_back("Absent" + std::to_string(i));
    }
    for (u32 pass = 0; pass < 2; pass++) {
        for (u32 k = 0; k < names.size(); k++) {
            const char* name = names[pass == 0 ? k : names.size() - 1 - k].c_str();
            const i32 expected = glGetUniformLocation(id, name);
            EXPECT_EQ(expected >= 0, name[0] == 'M') << name;
            EXPECT_EQ(p->getUniformLocation(name), expected) << name;
        }
    }
    p->activate();
    for (u32 i = 0; i < 40; i++) {
        const f32 v[4] = {static_cast<f32>(i), 1, 2, 3};
        EXPECT_TRUE(p->setUniform(names[2 * i].c_str(), v, 4));
    }
    for (u32 i = 0; i < 40; i++) {
        EXPECT_EQ(uniformValue(p, names[2 * i].c_str(), 1)[0], static_cast<f32>(i)) << i;
    }
}

TEST_F(Locations, NamedMatricesGoToEachProgramsOwnLocations) {
    ShaderProgram* a = makeProgram("a", "locations.vs", "locations.fs");
    ShaderProgram* b = makeProgram("b", "matrices.vs", "color.fs");
    for (const ShaderProgram* p : {a, b}) {
        for (u32 i = 0; i < MatrixTransformation::kMatrixCount; i++) {
            EXPECT_EQ(p->getMatrixLocations()[i],
                      glGetUniformLocation(p->getProgramId(), MatrixTransformation::getName(i)))
                << MatrixTransformation::getName(i);
        }
    }
    mat4 view, projection, viewProjection, world;
    view.identity();
    view.m[12] = 1;
    view.m[13] = 2;
    view.m[14] = 3;
    projection.identity();
    projection.m[0] = 2;
    projection.m[5] = 3;
    projection.multiply(viewProjection, view);
    MatrixTransformation matrices;
    matrices.setMatrices(&view, &projection, &viewProjection, vec3(0, 0, 0), 0);
    // Two drawn nodes: the second one's world must reach both programs.
    for (f32 offset : {5.0f, 7.0f}) {
        world.identity();
        world.m[12] = offset;
        matrices.setWorld(&world);
        a->activate();
        matrices.setTransformationMatrices(a);
        b->activate();
        matrices.setTransformationMatrices(b);
        matrices.resetWorld();
    }
    mat4 viewInverse = view;
    viewInverse.invert();
    EXPECT_EQ(uniformValue(a, "World", 16), floats(world.m, 16));
    EXPECT_EQ(uniformValue(a, "ViewInverse", 16), floats(viewInverse.m, 16));
    EXPECT_EQ(uniformValue(b, "World", 16), floats(world.m, 16));
    EXPECT_EQ(uniformValue(b, "Projection", 16), floats(projection.m, 16));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(LocationMemory, TablesGoWithTheirProgram) {
    if (!StartGlWindow()) {
        GTEST_SKIP() << "no X display";
    }
    const u32 blocks = MemoryGetBlockCount();
    const u32 total = MemoryGetTotal();
    SceneGraph::init();
    ShaderProgram* p = makeProgram("p", "locations.vs", "locations.fs");
    for (u32 i = 0; i < 100; i++) {
        p->getUniformLocation(("U" + std::to_string(i)).c_str());
        p->getAttributeLocation(("A" + std::to_string(i)).c_str());
    }
    p->getMatrixLocations();
    SceneGraph::dereferenceResource(p);
    SceneGraph::shutdown();
    EXPECT_EQ(MemoryGetBlockCount(), blocks);
    EXPECT_EQ(MemoryGetTotal(), total);
}

} // namespace
