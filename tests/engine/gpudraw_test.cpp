// GPU resources in a real GL context (the platform window); skipped without a
// display.
#include "engine/cubemap.h"
#include "engine/indexarray.h"
#include "engine/material.h"
#include "engine/matrixtransformation.h"
#include "engine/rendercontext.h"
#include "engine/renderstate.h"
#include "engine/resourcelist.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/shader.h"
#include "engine/shaderprogram.h"
#include "engine/state.h"
#include "engine/texture.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "host/ape.h"
#include "tests/support/glwindow.h"

#include <GLES2/gl2.h>
#include <SDL.h>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string fixture(const char* name) {
    std::string dir = __FILE__;
    return dir.substr(0, dir.rfind('/')) + "/fixtures/" + name;
}

// A material of the test's own with a program over two fixture files.
class FixtureMaterial : public Material {
  public:
    FixtureMaterial(const char* name, const char* vs, const char* fs) : Material(name, 0, 2) {
        program =
            SceneGraph::createShaderProgram(name, "", fixture(vs).c_str(), fixture(fs).c_str(), 0);
    }
    void prepareMaterial(RenderContext*, Geometry*) override {
        const f32 white[4] = {1, 1, 1, 1};
        program->setUniform("Tint", white, 4);
    }
};

class Gpu : public testing::Test {
  protected:
    void SetUp() override {
        if (!StartGlWindow()) {
            GTEST_SKIP() << "no X display";
        }
        SceneGraph::init();
        mat4 identity;
        identity.identity();
        view = projection = viewProjection = identity;
        matrices.setMatrices(&view, &projection, &viewProjection, vec3(0, 0, 0), 0);
        context = {&matrices, nullptr, nullptr};
        glViewport(0, 0, 64, 64);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override {
        if (SceneGraph::isInitialized()) {
            SceneGraph::shutdown();
        }
    }

    // The RGBA pixel at (x, y) of the framebuffer.
    static std::vector<u8> pixel(i32 x, i32 y) {
        std::vector<u8> rgba(4);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }

    // A picture file of one grey level, written in the working directory.
    static std::string greyPicture(const char* tag, u8 level, i32 w, i32 h) {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF, 0xFF00, 0xFF0000, 0);
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, level, level, level));
        std::string path = std::string("gpu_") + tag + "_" + std::to_string(getpid()) + ".bmp";
        SDL_SaveBMP(s, path.c_str());
        SDL_FreeSurface(s);
        return path;
    }

    // A quad over the whole viewport through the sampling program.
    void drawQuad(ShaderProgram* program) {
        static const f32 quad[8] = {-1, -1, 1, -1, -1, 1, 1, 1};
        program->activate();
        ASSERT_TRUE(program->setAttributePointer("Vertex", 2, false, 0, quad));
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }

    mat4 view, projection, viewProjection;
    MatrixTransformation matrices;
    RenderContext context;
};

const f32 kPositions[9] = {-1, -1, 0, 3, -1, 0, -1, 3, 0};
const f32 kColors[12] = {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1};

TEST_F(Gpu, ProgramsLinkAndSettersSkipUndeclaredNames) {
    ShaderProgram* p = SceneGraph::createShaderProgram(
        "p", "#define UNUSED\n", fixture("color.vs").c_str(), fixture("color.fs").c_str(), 0);
    ASSERT_TRUE(p->isLinked());
    p->activate();
    const f32 v[4] = {1, 2, 3, 4};
    const i32 iv[4] = {1, 2, 3, 4};
    EXPECT_TRUE(p->setUniform("Tint", v, 4));
    EXPECT_FALSE(p->setUniform("Tint", v, 5));
    EXPECT_FALSE(p->setUniform("Missing", v, 4));
    EXPECT_FALSE(p->setUniform("Missing", iv, 1));
    EXPECT_FALSE(p->setUniformVector("Missing", v, 1, 4));
    EXPECT_FALSE(p->setUniformVector("Tint", v, 1, 0));
    EXPECT_FALSE(p->setUniformMatrix("Missing", v, 1, 2));
    EXPECT_TRUE(p->setConstantAttribute("Color", v, 4));
    EXPECT_FALSE(p->setConstantAttribute("Color", v, 5));
    EXPECT_FALSE(p->setAttributePointer("Missing", 3, false, 0, v));
    glActiveTexture(GL_TEXTURE3);
    EXPECT_FALSE(p->setTextureSampler("Missing", nullptr, 1));
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    EXPECT_EQ(unit, GL_TEXTURE3);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Gpu, ShadersAreSharedAndDeletedWithTheirLastProgram) {
    u32 shaders = SceneGraph::getResourceList(kResourceShader)->getEntryCount();
    ShaderProgram* a = SceneGraph::createShaderProgram("a", "", fixture("color.vs").c_str(),
                                                       fixture("color.fs").c_str(), 0);
    ShaderProgram* b = SceneGraph::createShaderProgram("b", "", fixture("color.vs").c_str(),
                                                       fixture("color.fs").c_str(), 0);
    EXPECT_NE(a->getProgramId(), b->getProgramId());
    EXPECT_EQ(a->getVertexShader(), b->getVertexShader());
    EXPECT_EQ(a->getVertexShader()->getReferenceCount(), 2u);
    u32 programA = a->getProgramId();
    u32 shader = a->getVertexShader()->getId();
    SceneGraph::dereferenceResource(a);
    EXPECT_EQ(glIsProgram(programA), GL_FALSE);
    EXPECT_EQ(glIsShader(shader), GL_TRUE);
    u32 programB = b->getProgramId();
    SceneGraph::dereferenceResource(b);
    EXPECT_EQ(glIsProgram(programB), GL_FALSE);
    EXPECT_EQ(glIsShader(shader), GL_FALSE);
    EXPECT_EQ(SceneGraph::getResourceList(kResourceShader)->getEntryCount(), shaders);
}

TEST_F(Gpu, APurgeSparesTheShadersOfAProgramBelowItsLevel) {
    u32 shaders = SceneGraph::getResourceList(kResourceShader)->getEntryCount();
    ShaderProgram* kept = SceneGraph::createShaderProgram("kept", "", fixture("color.vs").c_str(),
                                                          fixture("color.fs").c_str(), 0);
    // A program of a higher level raises the shared shaders' level to its own.
    ShaderProgram* cached = SceneGraph::createShaderProgram(
        "cached", "", fixture("color.vs").c_str(), fixture("color.fs").c_str(), 2);
    SceneGraph::dereferenceResource(cached);
    Shader* vertex = kept->getVertexShader();
    ASSERT_EQ(vertex->getPurgeLevel(), 2u);
    SceneGraph::purge(2);
    EXPECT_EQ(SceneGraph::getShaderProgram("cached"), nullptr);
    EXPECT_EQ(glIsShader(vertex->getId()), GL_TRUE) << "the level-0 program still uses it";
    EXPECT_EQ(vertex->getReferenceCount(), 1u);
    // Its last holder gone, the shader waits for the purge of its own level.
    SceneGraph::dereferenceResource(kept);
    EXPECT_EQ(SceneGraph::getResourceList(kResourceShader)->getEntryCount(), shaders + 2);
    SceneGraph::purge(2);
    EXPECT_EQ(SceneGraph::getResourceList(kResourceShader)->getEntryCount(), shaders);
}

TEST_F(Gpu, ACompileFailureWarnsWithItsLog) {
    Shader* broken = new Shader("k", "", fixture("broken.fs").c_str(), Shader::kFragment, 0);
    GLint compiled = GL_TRUE;
    glGetShaderiv(broken->getId(), GL_COMPILE_STATUS, &compiled);
    EXPECT_EQ(compiled, GL_FALSE);
    EXPECT_NE(std::strstr(ReportLastMessage(), "Warning"), nullptr);
    EXPECT_NE(std::strstr(ReportLastMessage(), "undeclared"), nullptr);
    delete broken;
    Shader* empty = new Shader("e", "", fixture("empty.vs").c_str(), Shader::kVertex, 0);
    EXPECT_EQ(empty->getId(), 0u);
    EXPECT_NE(std::strstr(ReportLastMessage(), "Couldn't load shader source"), nullptr);
    delete empty;
}

TEST_F(Gpu, AnRgbPictureOfOddWidthUploadsTightlyPacked) {
    // 3 x 2 RGB pixels: rows of 9 bytes, not a multiple of four.
    const u8 rgb[18] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    Texture* t = SceneGraph::createTexture(rgb, "rgb", Texture::kRgb, 3, 2, false, 0, 0, 0);
    ASSERT_NE(t->getId(), 0u);
    EXPECT_EQ(t->getSize(), 18u);
    ShaderProgram* p = SceneGraph::createShaderProgram("s", "", fixture("sample.vs").c_str(),
                                                       fixture("sample.fs").c_str(), 0);
    glViewport(0, 0, 3, 2);
    p->activate();
    ASSERT_TRUE(p->setTextureSampler("Picture", t, 0));
    drawQuad(p);
    u8 back[24];
    glReadPixels(0, 0, 3, 2, GL_RGBA, GL_UNSIGNED_BYTE, back);
    for (u32 i = 0; i < 6; i++) {
        EXPECT_EQ(back[i * 4 + 0], rgb[i * 3 + 0]) << i;
        EXPECT_EQ(back[i * 4 + 1], rgb[i * 3 + 1]) << i;
        EXPECT_EQ(back[i * 4 + 2], rgb[i * 3 + 2]) << i;
    }
}

TEST_F(Gpu, TexturesFromFilesWithBackslashesKeepTheirNames) {
    std::string file = greyPicture("tex", 77, 5, 3);
    std::string name = "..\\bin\\" + file;
    Texture* t = SceneGraph::createTexture(name.c_str(), false, 0, 0, 0);
    EXPECT_NE(t->getId(), 0u);
    EXPECT_EQ(t->getWidth(), 5u);
    EXPECT_EQ(t->getSize(), 5u * 3u * 3u); // RGB
    EXPECT_EQ(SceneGraph::getTexture(name.c_str()), t);
    Texture* missing = SceneGraph::createTexture("nothing.png", true, 2, 1, 0);
    EXPECT_EQ(missing->getId(), 0u);
    EXPECT_EQ(missing->getSize(), 0u);
    EXPECT_NE(std::strstr(ReportLastMessage(), "Couldn't open texture file"), nullptr);

    Texture* slot = nullptr;
    Texture::loadInto(&slot, name.c_str(), 0);
    EXPECT_EQ(slot, t);
    EXPECT_EQ(t->getReferenceCount(), 3u);
    std::remove(file.c_str());
}

TEST_F(Gpu, CubeMapFacesGoToTheirTargets) {
    std::string files[6];
    for (u32 i = 0; i < 6; i++) {
        files[i] =
            greyPicture(("face" + std::to_string(i)).c_str(), static_cast<u8>(40 * i + 20), 2, 2);
    }
    CubeMap* cube = SceneGraph::createCubeMap(
        "cube", files[0].c_str(), files[1].c_str(), files[2].c_str(), files[3].c_str(),
        ("..\\bin\\" + files[4]).c_str(), files[5].c_str(), 0);
    ASSERT_NE(cube->getId(), 0u);
    ShaderProgram* p = SceneGraph::createShaderProgram("c", "", fixture("sample.vs").c_str(),
                                                       fixture("cube.fs").c_str(), 0);
    const f32 directions[6][3] = {{1, 0, 0},  {-1, 0, 0}, {0, 1, 0},
                                  {0, -1, 0}, {0, 0, -1}, {0, 0, 1}};
    for (u32 i = 0; i < 6; i++) {
        p->activate();
        ASSERT_TRUE(p->setCubeMapSampler("Cube", cube, 0));
        p->setUniform("Direction", directions[i], 3);
        drawQuad(p);
        EXPECT_EQ(pixel(8, 8)[0], 40 * i + 20) << "file " << i;
    }

    std::string small = greyPicture("small", 5, 1, 1);
    CubeMap* mixed =
        SceneGraph::createCubeMap("mixed", files[0].c_str(), files[1].c_str(), files[2].c_str(),
                                  files[3].c_str(), small.c_str(), files[5].c_str(), 0);
    EXPECT_EQ(mixed->getId(), 0u);
    EXPECT_NE(std::strstr(ReportLastMessage(), "differ in size"), nullptr);
    CubeMap* missing = SceneGraph::createCubeMap("missing", "no", "no", "no", "no", "no", "no", 0);
    EXPECT_EQ(missing->getId(), 0u);
    for (const std::string& f : files) {
        std::remove(f.c_str());
    }
    std::remove(small.c_str());
}

TEST_F(Gpu, MeshesDrawIndexedOrPlainAndShareTheProgramSwitch) {
    Material* m = new FixtureMaterial("fixture", "color.vs", "color.fs");
    SceneGraph::getResourceList(kResourceMaterial)->add(m);
    const u16 indices[3] = {0, 1, 2};
    TriangleMesh* indexed = SceneGraph::createTriangleMesh("indexed", kPositions, nullptr, nullptr,
                                                           kColors, 3, indices, 3, 0, 0);
    TriangleMesh* plain =
        SceneGraph::createTriangleMesh("plain", indexed->getVertexArray(), nullptr, m, true);
    indexed->setMaterial(m, true);

    indexed->draw(&context);
    EXPECT_EQ(pixel(32, 32)[1], 255);
    EXPECT_EQ(context.currentProgram, m->getProgram());

    // The second mesh of the same material issues no program switch: the
    // program put aside behind the engine's back stays aside.
    glUseProgram(0);
    glClear(GL_COLOR_BUFFER_BIT);
    plain->draw(&context);
    GLint currentProgram = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &currentProgram);
    EXPECT_EQ(currentProgram, 0);
    context.currentProgram = nullptr;
    plain->draw(&context);
    EXPECT_EQ(pixel(32, 32)[1], 255);

    SceneGraph::deleteNode(indexed);
    SceneGraph::deleteNode(plain);
}

TEST_F(Gpu, AMeshWithoutVertexArrayDrawsNothing) {
    Material* m = new FixtureMaterial("fixture", "color.vs", "color.fs");
    SceneGraph::getResourceList(kResourceMaterial)->add(m);
    TriangleMesh* empty = SceneGraph::createTriangleMesh("empty", nullptr, nullptr, m, false);
    empty->draw(&context);
    EXPECT_EQ(pixel(32, 32)[1], 0);
    SceneGraph::deleteNode(empty);
}

TEST_F(Gpu, BindingDisablesArraysTheNewMeshDoesNotSupply) {
    Material* m = new FixtureMaterial("fixture", "color.vs", "color.fs");
    SceneGraph::getResourceList(kResourceMaterial)->add(m);
    TriangleMesh* colored = SceneGraph::createTriangleMesh("colored", kPositions, nullptr, nullptr,
                                                           kColors, 3, nullptr, 0, 0, 0);
    colored->setIndexArray(nullptr, false);
    colored->setMaterial(m, true);
    TriangleMesh* bare = SceneGraph::createTriangleMesh("bare", kPositions, nullptr, nullptr,
                                                        nullptr, 3, nullptr, 0, 0, 0);
    bare->setIndexArray(nullptr, false);
    bare->setMaterial(m, true);
    colored->draw(&context);
    i32 color = m->getProgram()->getAttributeLocation("Color");
    ASSERT_GE(color, 0);
    GLint enabled = 0;
    glGetVertexAttribiv(static_cast<GLuint>(color), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, GL_TRUE);
    SceneGraph::deleteNode(colored);
    bare->draw(&context);
    glGetVertexAttribiv(static_cast<GLuint>(color), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, GL_FALSE);
    SceneGraph::deleteNode(bare);
}

TEST_F(Gpu, StateNodesApplyAndRestoreAroundTheirSubtree) {
    RenderState base;
    base.enableDepthTest(1);
    base.disableBlending();
    base.disableCulling();
    RenderState::setState(&base, RenderState::kAll, true);

    State* outer = SceneGraph::createState("outer");
    outer->enableBlending(4, 5);
    State* inner = SceneGraph::createState("inner");
    inner->enableCulling(0);
    inner->disableBlending();
    outer->attachChild(inner);

    // A probe node records the GL state inside the inner subtree.
    struct Probe : Node {
        Probe() : Node("probe", kNodeGroup) {}
        void drawSelf(RenderContext*) override {
            blend = glIsEnabled(GL_BLEND);
            cull = glIsEnabled(GL_CULL_FACE);
            depth = glIsEnabled(GL_DEPTH_TEST);
            glGetIntegerv(GL_CULL_FACE_MODE, &face);
        }
        GLboolean blend = GL_TRUE, cull = GL_FALSE, depth = GL_FALSE;
        GLint face = 0;
    };
    Probe* probe = new Probe;
    inner->attachChild(probe);
    outer->draw(&context);
    EXPECT_EQ(probe->blend, GL_FALSE);
    EXPECT_EQ(probe->cull, GL_TRUE);
    EXPECT_EQ(probe->depth, GL_TRUE);
    EXPECT_EQ(probe->face, GL_FRONT);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_CULL_FACE), GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
    GLint func = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &func);
    EXPECT_EQ(func, GL_LESS);

    inner->setDrawSelf(false);
    outer->draw(&context);
    EXPECT_EQ(probe->blend, GL_TRUE); // the outer node's blending reaches the probe
    EXPECT_EQ(probe->cull, GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    SceneGraph::deleteNode(outer);
}

} // namespace
