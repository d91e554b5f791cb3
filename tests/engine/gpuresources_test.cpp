// GPU resources without a GL context: layouts, tables, normals, names,
// references and the material factory.
#include "engine/indexarray.h"
#include "engine/material.h"
#include "engine/memory.h"
#include "engine/path.h"
#include "engine/renderstate.h"
#include "engine/resourcelist.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/shader.h"
#include "engine/state.h"
#include "engine/texture.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"

#include <GLES2/gl2.h>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

struct Resources : ::testing::Test {
    void SetUp() override { SceneGraph::init(); }
    void TearDown() override { SceneGraph::shutdown(); }
};

const f32 kTriangle[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};

TEST(Path, BackslashesBecomeSlashes) {
    char out[32];
    EXPECT_TRUE(PathNormalize("..\\models\\x.pwn", out, sizeof out));
    EXPECT_STREQ(out, "../models/x.pwn");
    EXPECT_TRUE(PathNormalize("../a/b", out, sizeof out));
    EXPECT_STREQ(out, "../a/b");
    char tiny[4];
    EXPECT_TRUE(PathNormalize("a\\b", tiny, sizeof tiny));
    EXPECT_FALSE(PathNormalize("a\\bc", tiny, sizeof tiny));
    EXPECT_STREQ(tiny, "");
}

TEST(Path, OpensAFileNamedWithBackslashes) {
    std::string name = "path_test_" + std::to_string(::getpid()) + ".txt";
    FILE* f = std::fopen(name.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    FILE* opened = PathOpen((std::string("..\\bin\\") + name).c_str(), "rb");
    EXPECT_NE(opened, nullptr);
    if (opened != nullptr) {
        std::fclose(opened);
    }
    std::remove(name.c_str());
}

TEST(RenderStateTables, IndicesMapToGlValues) {
    const u32 compare[8] = {GL_NEVER,   GL_LESS,     GL_EQUAL,  GL_LEQUAL,
                            GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    for (u32 i = 0; i < 8; i++) {
        EXPECT_EQ(RenderState::compareFunction(i), compare[i]) << i;
    }
    // The two blend tables differ at 2, 3 and 4.
    EXPECT_EQ(RenderState::sourceFactor(2), static_cast<u32>(GL_SRC_COLOR));
    EXPECT_EQ(RenderState::destinationFactor(2), static_cast<u32>(GL_DST_COLOR));
    EXPECT_EQ(RenderState::sourceFactor(3), static_cast<u32>(GL_ONE_MINUS_SRC_COLOR));
    EXPECT_EQ(RenderState::destinationFactor(3), static_cast<u32>(GL_ONE_MINUS_DST_COLOR));
    EXPECT_EQ(RenderState::sourceFactor(4), static_cast<u32>(GL_SRC_ALPHA));
    EXPECT_EQ(RenderState::destinationFactor(4), static_cast<u32>(GL_SRC_ALPHA_SATURATE));
    EXPECT_EQ(RenderState::sourceFactor(5), RenderState::destinationFactor(5));
    EXPECT_EQ(RenderState::cullFace(0), static_cast<u32>(GL_FRONT));
    EXPECT_EQ(RenderState::cullFace(2), static_cast<u32>(GL_FRONT_AND_BACK));
    // Out of range indices stay inside their tables.
    EXPECT_EQ(RenderState::compareFunction(99), static_cast<u32>(GL_ALWAYS));
    EXPECT_EQ(RenderState::cullFace(3), static_cast<u32>(GL_FRONT_AND_BACK));
}

TEST(RenderStateTables, SettersMarkSpecifiedAndEnabled) {
    RenderState s;
    EXPECT_EQ(s.specified, 0);
    EXPECT_EQ(s.enabled, 0);
    s.enableStencilTest(3, 1, 255);
    s.disableBlending();
    s.enableScissorTest(1, 2, 3, 4);
    EXPECT_EQ(s.specified,
              RenderState::kStencilTest | RenderState::kBlending | RenderState::kScissorTest);
    EXPECT_EQ(s.enabled, RenderState::kStencilTest | RenderState::kScissorTest);
    EXPECT_EQ(s.stencilFunc, 3u);
    EXPECT_EQ(s.stencilRef, 1);
    EXPECT_EQ(s.stencilMask, 255u);
    s.disableScissorTest();
    EXPECT_EQ(s.enabled, RenderState::kStencilTest);
    s.clearEnabled();
    EXPECT_EQ(s.enabled, 0);
    EXPECT_EQ(s.specified,
              RenderState::kStencilTest | RenderState::kBlending | RenderState::kScissorTest);
}

TEST(RenderStateTables, SetStateRecordsOnlyTheMaskedFeatures) {
    RenderState* current = RenderState::getCurrentState();
    RenderState s;
    s.enableDepthTest(3);
    s.enableBlending(4, 5);
    RenderState::setState(&s, RenderState::kDepthTest, false);
    EXPECT_EQ(current->enabled, RenderState::kDepthTest);
    EXPECT_EQ(current->depthFunc, 3u);
    RenderState::setState(&s, RenderState::kAll, false);
    EXPECT_EQ(current->enabled, RenderState::kDepthTest | RenderState::kBlending);
    EXPECT_EQ(current->blendDst, 5u);
    RenderState off;
    RenderState::setState(&off, RenderState::kAll, true);
    EXPECT_EQ(current->enabled, 0);
}

TEST_F(Resources, AttributesAreSortedByOffset) {
    VertexArray* va = SceneGraph::createVertexArray("va", nullptr, 8, 2, 0);
    va->setAttribute(3, 3, "Normal");
    va->setAttribute(0, 3, "Vertex");
    va->setAttribute(6, 2, "TexCoord");
    va->setAttribute(3, 1, "Same");
    va->setAttribute(5, 0, "Nothing");
    ASSERT_EQ(va->getAttributeCount(), 4u);
    const char* order[4] = {"Vertex", "Normal", "Same", "TexCoord"};
    for (u32 i = 0; i < 4; i++) {
        EXPECT_STREQ(va->getAttributeName(i), order[i]);
    }
    EXPECT_EQ(va->getAttributeOffset(3), 6u);
    EXPECT_EQ(va->getAttributeName(4), nullptr);
}

TEST_F(Resources, BadAttributesWarnAndKeepTheFirstPlacement) {
    VertexArray* va = SceneGraph::createVertexArray("va", nullptr, 20, 1, 0);
    va->setAttribute(20, 1, "Past");
    EXPECT_NE(std::strstr(ReportLastMessage(), "The offset is greater or equal to stride"),
              nullptr);
    va->setAttribute(0, 3, "Vertex");
    va->setAttribute(1, 3, "Vertex");
    EXPECT_NE(std::strstr(ReportLastMessage(), "The attribute is already set"), nullptr);
    EXPECT_EQ(va->getAttributeOffset(0), 0u);
    for (u32 i = 1; i < 16; i++) {
        va->setAttribute(i, 1, ("a" + std::to_string(i)).c_str());
    }
    EXPECT_EQ(va->getAttributeCount(), 16u);
    va->setAttribute(19, 1, "seventeenth");
    EXPECT_NE(std::strstr(ReportLastMessage(), "Too many attributes"), nullptr);
    EXPECT_EQ(va->getAttributeCount(), 16u);
}

TEST_F(Resources, GeneratedNormalsAreUnitFaceNormals) {
    // Two triangles over vertices 0..3 (one counter-clockwise, one at twice
    // the size in the same plane) and vertex 4 in no triangle; the last
    // triple is out of range and skipped.
    const f32 positions[15] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 2, 2, 0, 5, 5, 5};
    const u16 indices[8] = {0, 1, 2, 1, 3, 2, 0, 9};
    VertexArray* va = SceneGraph::createVertexArray("va", positions, 3, 5, 0);
    IndexArray* ia = SceneGraph::createIndexArray("ia", indices, 8, 0, 0);
    va->setAttribute(0, 3, "Vertex");
    va->generateNormals(ia);
    ASSERT_EQ(va->getFloatsPerVertex(), 6u);
    ASSERT_EQ(va->getAttributeCount(), 2u);
    EXPECT_STREQ(va->getAttributeName(1), "Normal");
    EXPECT_EQ(va->getAttributeOffset(1), 3u);
    const f32* d = va->getArray();
    for (u32 v = 0; v < 4; v++) {
        EXPECT_FLOAT_EQ(d[v * 6 + 0], positions[v * 3]);
        EXPECT_FLOAT_EQ(d[v * 6 + 3], 0.0f);
        EXPECT_FLOAT_EQ(d[v * 6 + 4], 0.0f);
        EXPECT_FLOAT_EQ(d[v * 6 + 5], -1.0f) << v;
    }
    EXPECT_FLOAT_EQ(d[4 * 6 + 3], 1.0f);
    EXPECT_FLOAT_EQ(d[4 * 6 + 4], 0.0f);
    EXPECT_FLOAT_EQ(d[4 * 6 + 5], 0.0f);
    va->generateNormals(ia);
    EXPECT_NE(std::strstr(ReportLastMessage(), "Vertex array already has normals"), nullptr);
    VertexArray* bare = SceneGraph::createVertexArray("bare", positions, 3, 5, 0);
    bare->generateNormals(ia);
    EXPECT_NE(std::strstr(ReportLastMessage(), "No vertex positions found"), nullptr);
    EXPECT_EQ(bare->getFloatsPerVertex(), 3u);
}

// Four floats a vertex: components that run past the stride are refused, and
// normals are made only from positions that fit.
TEST_F(Resources, AttributesAndPositionsStayInsideTheStride) {
    const f32 vertices[8] = {0, 0, 0, 0, 1, 0, 0, 0};
    const u16 indices[3] = {0, 1, 1};
    IndexArray* ia = SceneGraph::createIndexArray("ia", indices, 3, 0, 0);
    struct Case {
        u32 offset, components;
        bool accepted;
    };
    const Case cases[] = {{2, 3, false}, {1, 3, true}, {3, 2, false}, {2, 2, true}, {0, 4, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset * 10 + c.components);
        std::string name = "va" + std::to_string(c.offset) + std::to_string(c.components);
        VertexArray* va = SceneGraph::createVertexArray(name.c_str(), vertices, 4, 2, 0);
        Report({1, "marker"}, "gpuresources_test", "test", 0);
        va->setAttribute(c.offset, c.components, "Vertex");
        EXPECT_EQ(va->getAttributeCount(), c.accepted ? 1u : 0u);
        EXPECT_EQ(std::strstr(ReportLastMessage(), "The attribute runs past the stride") != nullptr,
                  !c.accepted);
        va->generateNormals(ia);
        bool fits = c.accepted && c.offset + 3 <= 4;
        EXPECT_EQ(va->getFloatsPerVertex(), fits ? 7u : 4u);
        EXPECT_EQ(va->findAttribute("Normal") >= 0, fits);
    }
}

TEST_F(Resources, ClonesCopyContentsAndStayOutOfTheLists) {
    VertexArray* va = SceneGraph::createVertexArray("va", kTriangle, 3, 3, 0);
    va->setAttribute(0, 3, "Vertex");
    VertexArray* vc = static_cast<VertexArray*>(va->clone("copy", 4));
    EXPECT_EQ(vc->getPurgeLevel(), 4u);
    EXPECT_EQ(vc->getAttributeCount(), 1u);
    EXPECT_NE(vc->getArray(), va->getArray());
    EXPECT_EQ(std::memcmp(vc->getArray(), kTriangle, sizeof kTriangle), 0);
    EXPECT_EQ(SceneGraph::getVertexArray("copy"), nullptr);
    delete vc;

    const u16 indices[4] = {0, 1, 2, 3};
    IndexArray* ia = SceneGraph::createIndexArray("ia", indices, 4, 1, 0);
    IndexArray* ic = static_cast<IndexArray*>(ia->clone("icopy", 0));
    EXPECT_EQ(ic->getLayout(), 1u);
    EXPECT_EQ(ic->getArray()[3], 3);
    EXPECT_EQ(ic->getPrimitiveMode(), static_cast<u32>(GL_TRIANGLE_STRIP));
    delete ic;
}

TEST(IndexLayouts, PrimitiveModes) {
    EXPECT_EQ(IndexArray::primitiveModeOf(0), static_cast<u32>(GL_TRIANGLES));
    EXPECT_EQ(IndexArray::primitiveModeOf(1), static_cast<u32>(GL_TRIANGLE_STRIP));
    EXPECT_EQ(IndexArray::primitiveModeOf(2), static_cast<u32>(GL_TRIANGLE_FAN));
    EXPECT_EQ(IndexArray::primitiveModeOf(7), static_cast<u32>(GL_TRIANGLES));
}

TEST(TextureCodes, FormatsFiltersAndWraps) {
    u32 format = 99;
    EXPECT_TRUE(Texture::formatOf(3, &format));
    EXPECT_EQ(format, Texture::kRgb);
    EXPECT_TRUE(Texture::formatOf(1, &format));
    EXPECT_EQ(format, Texture::kLuminance);
    EXPECT_FALSE(Texture::formatOf(2, &format));
    EXPECT_EQ(Texture::glFormat(7), static_cast<u32>(GL_RGBA));
    EXPECT_EQ(Texture::bytesPerPixel(Texture::kLuminance), 1u);
    EXPECT_EQ(Texture::minFilter(0), static_cast<u32>(GL_NEAREST));
    EXPECT_EQ(Texture::minFilter(2), static_cast<u32>(GL_LINEAR_MIPMAP_LINEAR));
    EXPECT_EQ(Texture::magFilter(2), static_cast<u32>(GL_LINEAR));
    EXPECT_EQ(Texture::minFilter(9), static_cast<u32>(GL_LINEAR));
    EXPECT_EQ(Texture::wrapMode(0), static_cast<u32>(GL_CLAMP_TO_EDGE));
    EXPECT_EQ(Texture::wrapMode(2), static_cast<u32>(GL_MIRRORED_REPEAT));
    EXPECT_EQ(Texture::wrapMode(5), static_cast<u32>(GL_REPEAT));
}

TEST(DefineHeader, LinesInOrderAndRefusedPastTheBuffer) {
    const char* names[2] = {"A", "B"};
    char* header = Shader::makeDefineHeader(names, 2);
    EXPECT_STREQ(header, "#define A\n#define B\n");
    MemoryFree(header);
    header = Shader::makeDefineHeader(nullptr, 0);
    EXPECT_STREQ(header, "");
    MemoryFree(header);
    std::string longName(2000, 'X');
    const char* many[3] = {longName.c_str(), longName.c_str(), longName.c_str()};
    char* two = Shader::makeDefineHeader(many, 2);
    EXPECT_NE(two, nullptr);
    MemoryFree(two);
    EXPECT_EQ(Shader::makeDefineHeader(many, 3), nullptr);
    EXPECT_NE(std::strstr(ReportLastMessage(), "The define header is too long"), nullptr);
}

TEST_F(Resources, StandardFactoryBuildsTheSharedCodesAndFallsBack) {
    const struct {
        u32 asked;
        u32 stored;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 0}, {9, 0}};
    for (const auto& c : cases) {
        std::string name = "m" + std::to_string(c.asked);
        Material* m = SceneGraph::createMaterial(c.asked, name.c_str(), 0);
        EXPECT_EQ(m->getType(), c.stored) << c.asked;
        // The registry sees the resource code and gives the material back
        // to its own list.
        Resource* resource = m;
        EXPECT_EQ(resource->getType(), static_cast<u32>(kResourceMaterial));
        EXPECT_TRUE(SceneGraph::dereferenceResource(m)) << c.asked;
        EXPECT_FALSE(SceneGraph::getResourceList(kResourceMaterial)->contains(name.c_str()));
    }
    EXPECT_EQ(MaterialCreateStandard(6, "x", 0), nullptr);
}

TEST_F(Resources, MeshDataIsInterleavedUnderGeneratedNames) {
    const f32 pos[6] = {0, 0, 0, 1, 1, 1};
    const f32 tex[4] = {0.5f, 0.25f, 1, 1};
    const f32 nrm[6] = {0, 0, 1, 0, 1, 0};
    const f32 col[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const u16 idx[3] = {0, 1, 1};
    TriangleMesh* all = SceneGraph::createTriangleMesh("all", pos, tex, nrm, col, 2, idx, 3, 2, 0);
    VertexArray* va = all->getVertexArray();
    EXPECT_STREQ(va->nameText(), "tm   0v");
    EXPECT_STREQ(all->getIndexArray()->nameText(), "tm1v");
    EXPECT_EQ(all->getIndexArray()->getPrimitiveMode(), static_cast<u32>(GL_TRIANGLE_FAN));
    ASSERT_EQ(va->getFloatsPerVertex(), 12u);
    const char* names[4] = {"Vertex", "TexCoord", "Normal", "Color"};
    const u32 offsets[4] = {0, 3, 5, 8};
    for (u32 i = 0; i < 4; i++) {
        EXPECT_STREQ(va->getAttributeName(i), names[i]);
        EXPECT_EQ(va->getAttributeOffset(i), offsets[i]);
    }
    const f32 second[12] = {1, 1, 1, 1, 1, 0, 1, 0, 5, 6, 7, 8};
    EXPECT_EQ(std::memcmp(va->getArray() + 12, second, sizeof second), 0);

    TriangleMesh* colored =
        SceneGraph::createTriangleMesh("c", pos, nullptr, nullptr, col, 2, idx, 3, 0, 0);
    va = colored->getVertexArray();
    EXPECT_STREQ(va->nameText(), "tm   2v");
    EXPECT_STREQ(colored->getIndexArray()->nameText(), "tm3v");
    EXPECT_EQ(va->getFloatsPerVertex(), 7u);
    EXPECT_STREQ(va->getAttributeName(1), "Color");
    EXPECT_EQ(va->getAttributeOffset(1), 3u);
    EXPECT_EQ(va->getAttributeComponents(1), 4u);

    SceneGraph::deleteNode(all);
    SceneGraph::deleteNode(colored);
    EXPECT_EQ(SceneGraph::getVertexArray("tm   0v"), nullptr);
    EXPECT_EQ(SceneGraph::getIndexArray("tm3v"), nullptr);
}

TEST_F(Resources, MaterialHandOverKeepsTheCountsRight) {
    Material* m = SceneGraph::createMaterial(2, "m", 0);
    TriangleMesh* mesh = SceneGraph::createTriangleMesh("mesh", nullptr, nullptr, m, false);
    EXPECT_EQ(m->getReferenceCount(), 1u);
    mesh->setMaterial(m, true); // a new reference first, then the old one back
    EXPECT_EQ(m->getReferenceCount(), 1u);
    m->reference();
    mesh->setMaterial(m, false); // the caller's reference passes to the mesh
    EXPECT_EQ(m->getReferenceCount(), 1u);

    Node* copy = mesh->clone();
    EXPECT_EQ(m->getReferenceCount(), 2u);
    SceneGraph::deleteNode(mesh);
    EXPECT_EQ(m->getReferenceCount(), 1u);
    EXPECT_EQ(static_cast<TriangleMesh*>(copy)->getMaterial(), m);
    SceneGraph::deleteNode(copy);
    EXPECT_EQ(SceneGraph::getMaterial("m"), nullptr);
}

TEST_F(Resources, StateClonesItsRecord) {
    State* state = SceneGraph::createState("s");
    state->enableBlending(4, 5);
    state->disableDepthTest();
    State* copy = static_cast<State*>(state->clone());
    EXPECT_STREQ(copy->getName(), "s");
    EXPECT_EQ(copy->getType(), static_cast<u32>(kNodeState));
    EXPECT_EQ(copy->getRenderState().specified, state->getRenderState().specified);
    EXPECT_EQ(copy->getRenderState().enabled, RenderState::kBlending);
    EXPECT_EQ(copy->getRenderState().blendDst, 5u);
    SceneGraph::deleteNode(copy);
    SceneGraph::deleteNode(state);
}

TEST(ResourceDeathTest, EmptyNamesEndTheProgram) {
    SceneGraph::init();
    EXPECT_EXIT(SceneGraph::createVertexArray("", kTriangle, 3, 3, 0), ::testing::ExitedWithCode(1),
                "");
    EXPECT_EXIT(SceneGraph::createIndexArray("", nullptr, 3, 0, 0), ::testing::ExitedWithCode(1),
                "");
    EXPECT_EXIT(SceneGraph::createTexture("", false, 0, 0, 0), ::testing::ExitedWithCode(1), "");
    SceneGraph::shutdown();
}

} // namespace
