// The colourful, textured, weird and reflective materials: what they draw in
// a real window, the uniforms they send, their warnings, clones and the
// references they hold. Skipped without a display.
#include "engine/cubemap.h"
#include "engine/frameinput.h"
#include "engine/indexarray.h"
#include "engine/light.h"
#include "engine/materialcolorful.h"
#include "engine/materialphong.h"
#include "engine/materialreflective.h"
#include "engine/materialtextured.h"
#include "engine/materialweird.h"
#include "engine/matrixtransformation.h"
#include "engine/memory.h"
#include "engine/rendercontext.h"
#include "engine/resourcelist.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/shader.h"
#include "engine/shaderprogram.h"
#include "engine/texture.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "engine/world.h"
#include "tests/support/glwindow.h"
#include "tests/support/testworld.h"

#include <GLES2/gl2.h>
#include <SDL.h>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <typeinfo>
#include <unistd.h>
#include <vector>

namespace {

constexpr i32 kSize = 64;
constexpr i32 kLeft = kSize / 2 - 6;
constexpr i32 kRight = kSize / 2 + 6;
constexpr i32 kMiddle = kSize / 2;

const char* const kNoTexture = "The material has no attached texture. Weird shading may follow";
const u8 kRed[4] = {255, 0, 0, 255};

std::string lastReport() {
    const char* line = ReportLastMessage();
    return line != nullptr ? line : "";
}

// Reports a marker, so that a following report is told apart even when it
// repeats the one before; returns the marker's line, which stays the last
// report until something else reports.
std::string markReports() {
    Report({1, "marker"}, "materials_test", "markReports", 0);
    return lastReport();
}

class Materials : public testing::Test {
  protected:
    void SetUp() override {
        if (!StartGlWindow()) {
            GTEST_SKIP() << "no X display";
        }
        SceneGraph::init();
        world = MakeSquareWorld("world", kSize, vec4(0, 0, 0, 1), 5, 50);
        input = FrameInput{};
        input.time = 100;
    }
    void TearDown() override {
        if (SceneGraph::isInitialized()) {
            SceneGraph::deleteNode(world);
            SceneGraph::shutdown();
        }
    }

    // A 2x2 texture from memory, sampled nearest and clamped.
    static Texture* texture(const char* name, const u8 (&rgba)[16]) {
        return SceneGraph::createTexture(rgba, name, Texture::kRgba, 2, 2, false, 0, 0, 0);
    }
    static Texture* plain(const char* name, u8 r, u8 g, u8 b) {
        const u8 rgba[16] = {r, g, b, 255, r, g, b, 255, r, g, b, 255, r, g, b, 255};
        return texture(name, rgba);
    }
    // Left half red, right half blue.
    static Texture* halves() {
        static const u8 rgba[16] = {255, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0, 255, 0, 0, 255, 255};
        return texture("halves", rgba);
    }

    // A square of side 2 at the origin facing the camera, its texture
    // coordinates under the given attribute name, drawn with the material
    // (whose reference passes to the mesh).
    TriangleMesh* square(const char* texcoordName, Material* material) {
        static const f32 vertices[32] = {-1, -1, 0, 0, 0, 1, 0, 0, 1, -1, 0, 0, 0, 1, 1, 0,
                                         -1, 1,  0, 0, 0, 1, 0, 1, 1, 1,  0, 0, 0, 1, 1, 1};
        static const u16 indices[6] = {0, 1, 2, 1, 3, 2};
        std::string name = std::string("square ") + texcoordName;
        VertexArray* va = SceneGraph::createVertexArray(name.c_str(), vertices, 8, 4, 0);
        va->setAttribute(0, 3, "Vertex");
        va->setAttribute(3, 3, "Normal");
        va->setAttribute(6, 2, texcoordName);
        IndexArray* ia = SceneGraph::createIndexArray(name.c_str(), indices, 6, 0, 0);
        TriangleMesh* mesh = SceneGraph::createTriangleMesh(name.c_str(), va, ia, material, false);
        world->attachChild(mesh);
        return mesh;
    }

    Light* lightAt(vec3 position) {
        Light* light = SceneGraph::createLight("light", vec3(1, 1, 1), 1);
        light->translate(position.x, position.y, position.z);
        world->attachChild(light);
        return light;
    }

    // The RGBA pixel at (x, y) of the world's square.
    static std::vector<u8> pixel(i32 x, i32 y) { return GameScreenPixel(x, y); }

    // A picture file of one grey level in the working directory.
    static std::string greyPicture(u32 index, u8 level) {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 2, 24, 0xFF, 0xFF00, 0xFF0000, 0);
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, level, level, level));
        std::string path =
            "materials_face" + std::to_string(index) + "_" + std::to_string(getpid()) + ".bmp";
        SDL_SaveBMP(s, path.c_str());
        SDL_FreeSurface(s);
        return path;
    }

    // A cube map whose face i is grey level kFaceLevel[i].
    static CubeMap* greyCube(const char* name) {
        std::string files[CubeMap::kFaces];
        for (u32 i = 0; i < CubeMap::kFaces; i++) {
            files[i] = greyPicture(i, kFaceLevel[i]);
        }
        CubeMap* cube =
            SceneGraph::createCubeMap(name, files[0].c_str(), files[1].c_str(), files[2].c_str(),
                                      files[3].c_str(), files[4].c_str(), files[5].c_str(), 0);
        for (const std::string& file : files) {
            std::remove(file.c_str());
        }
        return cube;
    }

    static f32 uniformFloat(Material* material, const char* name) {
        ShaderProgram* program = material->getProgram();
        f32 value = -1;
        glGetUniformfv(program->getProgramId(), program->getUniformLocation(name), &value);
        return value;
    }

    static constexpr u8 kFaceLevel[CubeMap::kFaces] = {20, 60, 100, 140, 180, 220};

    World* world = nullptr;
    FrameInput input;
};

constexpr u8 Materials::kFaceLevel[CubeMap::kFaces];

TEST_F(Materials, FactoryBuildsEachKindWithItsOwnProgram) {
    struct Kind {
        u32 code;
        const std::type_info& type;
        const char* vertexFile;
    };
    const Kind kinds[] = {
        {kMaterialColorful, typeid(MaterialColorful), "MaterialColorful.vs"},
        {kMaterialWeird, typeid(MaterialWeird), "MaterialWeird.vs"},
        {kMaterialTextured, typeid(MaterialTextured), "MaterialTextured.vs"},
        {kMaterialReflective, typeid(MaterialReflective), "MaterialReflective.vs"}};
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.vertexFile);
        std::string name = "kind" + std::to_string(kind.code);
        Material* m = SceneGraph::createMaterial(kind.code, name.c_str(), 0);
        EXPECT_EQ(typeid(*m), kind.type);
        EXPECT_EQ(m->getType(), kind.code);
        ASSERT_NE(m->getProgram(), nullptr);
        EXPECT_STREQ(m->getProgram()->nameText(), name.c_str());
        EXPECT_TRUE(m->getProgram()->isLinked());
        char* shader = m->getProgram()->getVertexShader()->getName();
        EXPECT_NE(std::string(shader).find(kind.vertexFile), std::string::npos);
        MemoryFree(shader);
    }
    EXPECT_STREQ(static_cast<MaterialTextured*>(SceneGraph::getMaterial("kind4"))
                     ->getDiffuseTexture()
                     ->nameText(),
                 "../textures/notex.png");
    auto* weird = static_cast<MaterialWeird*>(SceneGraph::getMaterial("kind3"));
    EXPECT_EQ(weird->getNoiseTexture(), weird->getDiffuseTexture());
    EXPECT_FLOAT_EQ(weird->shininess, 3.4f);
    EXPECT_EQ(
        static_cast<MaterialReflective*>(SceneGraph::getMaterial("kind5"))->getEnvironmentMap(),
        nullptr);
}

// Every material that samples a texture finds the coordinates under each of
// the three names meshes give them.
TEST_F(Materials, TexturesFollowEveryTexcoordName) {
    Texture* picture = halves();
    Texture* black = plain("black", 0, 0, 0);
    Light* light = lightAt(vec3(0, 0, 3));
    const u32 codes[] = {kMaterialTextured, kMaterialDirectional, kMaterialWeird};
    for (u32 code : codes) {
        for (const char* texcoords : {"TexCoords", "Texcoord", "TexCoord"}) {
            SCOPED_TRACE(std::to_string(code) + " " + texcoords);
            Material* m = SceneGraph::createMaterial(code, "shows texels", 0);
            if (code == kMaterialTextured) {
                static_cast<MaterialTextured*>(m)->setDiffuseTexture(picture, true);
            } else if (code == kMaterialDirectional) {
                auto* phong = static_cast<MaterialPhong*>(m);
                phong->setDiffuseTexture(picture, true);
                phong->ambientColor = vec3(1, 1, 1);
                phong->diffuseColor = vec3(0, 0, 0);
                phong->specularLevel = 0;
            } else {
                auto* weird = static_cast<MaterialWeird*>(m);
                weird->setDiffuseTexture(picture, true);
                weird->setNoiseTexture(black, true);
                weird->ambientColor = vec3(2, 2, 2); // times (0.5 + noise)
                weird->diffuseColor = vec3(0, 0, 0);
                weird->specularColor = vec3(0, 0, 0);
            }
            TriangleMesh* mesh = square(texcoords, m);
            mesh->setLight(light, 0);
            world->drawAll(&input);
            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
            std::vector<u8> left = pixel(kLeft, kMiddle);
            std::vector<u8> right = pixel(kRight, kMiddle);
            EXPECT_GT(left[0], 240);
            EXPECT_LT(left[2], 15);
            EXPECT_LT(right[0], 15);
            EXPECT_GT(right[2], 240);
            SceneGraph::deleteNode(mesh);
        }
    }
    SceneGraph::dereferenceResource(picture);
    SceneGraph::dereferenceResource(black);
}

TEST_F(Materials, ColorfulShowsTheVertexColours) {
    // Bottom vertices green, top vertices red.
    static const f32 vertices[28] = {-1, -1, 0, 0, 1, 0, 1, 1, -1, 0, 0, 1, 0, 1,
                                     -1, 1,  0, 1, 0, 0, 1, 1, 1,  0, 1, 0, 0, 1};
    static const u16 indices[6] = {0, 1, 2, 1, 3, 2};
    VertexArray* va = SceneGraph::createVertexArray("coloured", vertices, 7, 4, 0);
    va->setAttribute(0, 3, "Vertex");
    va->setAttribute(3, 4, "Color");
    IndexArray* ia = SceneGraph::createIndexArray("coloured", indices, 6, 0, 0);
    Material* m = SceneGraph::createMaterial(kMaterialColorful, "colourful", 0);
    world->attachChild(SceneGraph::createTriangleMesh("mesh", va, ia, m, false));
    const std::string marker = markReports();
    world->drawAll(&input);
    EXPECT_EQ(lastReport(), marker) << "no warning without a light or texture";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    std::vector<u8> low = pixel(kMiddle, kMiddle - 8);
    std::vector<u8> high = pixel(kMiddle, kMiddle + 8);
    EXPECT_GT(low[1], high[1]);
    EXPECT_GT(high[0], low[0]);
    EXPECT_EQ(low[2], 0);
    EXPECT_GT(low[0] + low[1], 200);
    EXPECT_EQ(pixel(2, 2)[1], 0);
}

TEST_F(Materials, WeirdIsLitByItsLightAndShowsItsTexture) {
    Texture* red = plain("red", 255, 0, 0);
    auto* m = static_cast<MaterialWeird*>(SceneGraph::createMaterial(kMaterialWeird, "weird", 0));
    m->setDiffuseTexture(red, false);
    m->ambientColor = vec3(0, 0, 0);
    m->diffuseColor = vec3(1, 1, 1);
    m->specularColor = vec3(0, 0, 0);
    TriangleMesh* mesh = square("Texcoord", m);
    Light* light = lightAt(vec3(0, 0, 3));
    mesh->setLight(light, 2);

    world->drawAll(&input);
    std::vector<u8> lit = pixel(kMiddle, kMiddle);
    EXPECT_GT(lit[0], 200);
    EXPECT_LT(lit[1] + lit[2], 10);

    light->translate(0, 0, -6); // behind the square
    world->drawAll(&input);
    EXPECT_LT(pixel(kMiddle, kMiddle)[0], 10);
}

TEST_F(Materials, WeirdTimeRisesOverFiveSecondsAndWraps) {
    const f32 table[][2] = {{0, 0}, {2.5f, 0.5f}, {5, 0}, {7.5f, 0.5f}, {101, 0.2f}};
    for (const auto& row : table) {
        EXPECT_NEAR(MaterialWeird::animationTime(row[0]), row[1], 1e-4f) << row[0];
    }

    auto* m = static_cast<MaterialWeird*>(SceneGraph::createMaterial(kMaterialWeird, "weird", 0));
    square("TexCoords", m);
    input.time = 7.5f;
    world->drawAll(&input);
    EXPECT_FLOAT_EQ(uniformFloat(m, "Time"), 0.5f);
    input.time = 5.0f;
    world->drawAll(&input);
    EXPECT_FLOAT_EQ(uniformFloat(m, "Time"), 0.0f);
    input.time = 7.5f;
    world->drawAll(&input);
    world->drawAll(nullptr); // no input record: time 0, no crash
    EXPECT_FLOAT_EQ(uniformFloat(m, "Time"), 0.0f);
}

TEST_F(Materials, WeirdSendsTheFirstLightAndItsFields) {
    auto* m = static_cast<MaterialWeird*>(SceneGraph::createMaterial(kMaterialWeird, "weird", 0));
    m->shininess = 7;
    m->ambientColor = vec3(0.25f, 0.5f, 0.75f);
    TriangleMesh* mesh = square("TexCoords", m);
    Light* light = SceneGraph::createLight("light", vec3(1, 0.5f, 0), 2);
    light->translate(1, 2, 3);
    world->attachChild(light);
    mesh->setLight(light, 3);
    world->drawAll(&input);

    ShaderProgram* program = m->getProgram();
    auto vector = [&](const char* name) {
        std::vector<f32> v(3, -1);
        glGetUniformfv(program->getProgramId(), program->getUniformLocation(name), v.data());
        return v;
    };
    EXPECT_EQ(vector("LightColor"), (std::vector<f32>{2, 1, 0}));
    EXPECT_EQ(vector("LightPosition"), (std::vector<f32>{1, 2, 3}));
    EXPECT_EQ(vector("AmbientColor"), (std::vector<f32>{0.25f, 0.5f, 0.75f}));
    EXPECT_FLOAT_EQ(uniformFloat(m, "Shininess"), 7);

    mesh->clearLight(3);
    world->drawAll(&input);
    EXPECT_NE(lastReport().find("There is no light source specified for Geometry node"),
              std::string::npos);
    EXPECT_EQ(vector("LightColor"), (std::vector<f32>{1, 1, 1}));
    EXPECT_EQ(vector("LightPosition"), (std::vector<f32>{0, 0, 0}));
}

TEST_F(Materials, WeirdWithoutNoiseStillSetsTheDiffuseSampler) {
    auto* m = static_cast<MaterialWeird*>(SceneGraph::createMaterial(kMaterialWeird, "weird", 0));
    Texture* red = plain("red", 255, 0, 0);
    m->setDiffuseTexture(red, false);
    m->setNoiseTexture(nullptr, false);
    EXPECT_EQ(m->getNoiseTexture(), nullptr);
    Geometry geometry("geometry", kNodeTriangleMesh);
    MatrixTransformation matrices;
    RenderContext context = {&matrices, nullptr, &input};
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);

    m->prepare(&context, &geometry);
    EXPECT_NE(lastReport().find(kNoTexture), std::string::npos);
    glActiveTexture(GL_TEXTURE0);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<u32>(bound), red->getId());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Materials, TexturedWarnsWithoutATexture) {
    auto* m = static_cast<MaterialTextured*>(SceneGraph::createMaterial(kMaterialTextured, "t", 0));
    square("TexCoords", m);
    const std::string marker = markReports();
    world->drawAll(&input);
    EXPECT_EQ(lastReport(), marker);
    m->setDiffuseTexture(nullptr, false);
    world->drawAll(&input);
    EXPECT_NE(lastReport().find(kNoTexture), std::string::npos);
}

TEST_F(Materials, ReflectiveWarnsUntilItHasAMapThenMirrorsIt) {
    auto* m = static_cast<MaterialReflective*>(
        SceneGraph::createMaterial(kMaterialReflective, "mirror", 0));
    square("TexCoords", m);
    for (u32 frame = 0; frame < 2; frame++) {
        markReports();
        world->drawAll(&input);
        EXPECT_NE(lastReport().find(kNoTexture), std::string::npos) << "frame " << frame;
    }

    CubeMap* cube = greyCube("sky");
    ASSERT_NE(cube->getId(), 0u);
    m->setEnvironmentMap(cube, false);
    const std::string marker = markReports();
    world->drawAll(&input);
    EXPECT_EQ(lastReport(), marker);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    // Seen from the camera on the +z axis, the mirror facing +z reflects
    // the positive z face, which is the sixth picture.
    std::vector<u8> centre = pixel(kMiddle, kMiddle);
    EXPECT_NEAR(centre[0], kFaceLevel[5], 2);
    EXPECT_NEAR(centre[1], kFaceLevel[5], 2);
    EXPECT_EQ(pixel(2, 2)[0], 0);
}

TEST_F(Materials, ClonesAreOfTheSameKindUnderTheNewName) {
    Texture* red = plain("red", 255, 0, 0);
    Texture* grey = plain("grey", 128, 128, 128);
    CubeMap* cube = SceneGraph::createCubeMap("sky", "no", "no", "no", "no", "no", "no", 0);

    Material* colorful = SceneGraph::createMaterial(kMaterialColorful, "colorful", 0);
    auto* colorfulCopy = static_cast<Material*>(colorful->clone("colorful copy", 0));
    ASSERT_NE(colorfulCopy, nullptr);
    EXPECT_EQ(typeid(*colorfulCopy), typeid(MaterialColorful));
    EXPECT_STREQ(colorfulCopy->nameText(), "colorful copy");
    EXPECT_STREQ(colorfulCopy->getProgram()->nameText(), "colorful copy");
    EXPECT_NE(colorfulCopy->getProgram(), colorful->getProgram());
    EXPECT_EQ(colorfulCopy->getProgram()->getVertexShader(),
              colorful->getProgram()->getVertexShader());

    auto* weird = static_cast<MaterialWeird*>(SceneGraph::createMaterial(kMaterialWeird, "w", 0));
    weird->setDiffuseTexture(red, false);
    weird->setNoiseTexture(grey, false);
    weird->ambientColor = vec3(1, 2, 3);
    weird->diffuseColor = vec3(4, 5, 6);
    weird->specularColor = vec3(7, 8, 9);
    weird->shininess = 10;
    auto* existing =
        static_cast<MaterialWeird*>(SceneGraph::createMaterial(kMaterialWeird, "w copy", 0));
    EXPECT_EQ(weird->clone("w copy", 0), existing);
    EXPECT_EQ(existing->getReferenceCount(), 2u);
    EXPECT_EQ(existing->ambientColor.z, 3);
    EXPECT_EQ(existing->diffuseColor.x, 4);
    EXPECT_EQ(existing->specularColor.y, 8);
    EXPECT_EQ(existing->shininess, 10);
    EXPECT_EQ(existing->getDiffuseTexture(), red);
    EXPECT_EQ(existing->getNoiseTexture(), grey);
    EXPECT_EQ(red->getReferenceCount(), 2u);
    EXPECT_EQ(grey->getReferenceCount(), 2u);

    auto* textured =
        static_cast<MaterialTextured*>(SceneGraph::createMaterial(kMaterialTextured, "t", 0));
    textured->setDiffuseTexture(red, true);
    auto* texturedCopy = static_cast<MaterialTextured*>(textured->clone("t copy", 0));
    ASSERT_NE(texturedCopy, nullptr);
    EXPECT_EQ(texturedCopy->getDiffuseTexture(), red);
    EXPECT_EQ(red->getReferenceCount(), 4u);

    auto* mirror =
        static_cast<MaterialReflective*>(SceneGraph::createMaterial(kMaterialReflective, "r", 0));
    mirror->setEnvironmentMap(cube, false);
    auto* mirrorCopy = static_cast<MaterialReflective*>(mirror->clone("r copy", 0));
    ASSERT_NE(mirrorCopy, nullptr);
    EXPECT_EQ(mirrorCopy->getEnvironmentMap(), cube);
    EXPECT_EQ(cube->getReferenceCount(), 2u);
}

TEST_F(Materials, CloneOntoANameOfAnotherKindIsRefused) {
    Material* taken = SceneGraph::createMaterial(kMaterialDirectional, "taken", 0);
    Material* textured = SceneGraph::createMaterial(kMaterialTextured, "taken by textured", 0);
    for (u32 code : {kMaterialColorful, kMaterialWeird, kMaterialTextured, kMaterialReflective}) {
        SCOPED_TRACE(code);
        std::string name = "source" + std::to_string(code);
        Material* source = SceneGraph::createMaterial(code, name.c_str(), 0);
        const char* target = code == kMaterialTextured ? "taken" : "taken by textured";
        markReports();
        EXPECT_EQ(source->clone(target, 0), nullptr);
        EXPECT_NE(lastReport().find("another kind"), std::string::npos);
    }
    EXPECT_EQ(taken->getReferenceCount(), 1u);
    EXPECT_EQ(textured->getReferenceCount(), 1u);
    EXPECT_STREQ(static_cast<MaterialPhong*>(taken)->getDiffuseTexture()->nameText(),
                 "../textures/notex.png");
}

TEST_F(Materials, SettingTheHeldResourceAgainKeepsIt) {
    auto* weird = static_cast<MaterialWeird*>(SceneGraph::createMaterial(kMaterialWeird, "w", 0));
    auto* textured =
        static_cast<MaterialTextured*>(SceneGraph::createMaterial(kMaterialTextured, "t", 0));
    auto* mirror =
        static_cast<MaterialReflective*>(SceneGraph::createMaterial(kMaterialReflective, "r", 0));
    // Each slot holds the only reference of a resource that the last give
    // back deletes.
    weird->setDiffuseTexture(plain("diffuse", 1, 2, 3), false);
    weird->setNoiseTexture(plain("noise", 1, 2, 3), false);
    textured->setDiffuseTexture(plain("texture", 1, 2, 3), false);
    mirror->setEnvironmentMap(SceneGraph::createCubeMap("sky", "a", "b", "c", "d", "e", "f", 0),
                              false);

    weird->setDiffuseTexture(weird->getDiffuseTexture(), true);
    weird->setNoiseTexture(weird->getNoiseTexture(), true);
    textured->setDiffuseTexture(textured->getDiffuseTexture(), true);
    mirror->setEnvironmentMap(mirror->getEnvironmentMap(), true);

    for (const char* name : {"diffuse", "noise", "texture"}) {
        Texture* found = SceneGraph::getTexture(name);
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(found->getReferenceCount(), 2u) << name;
        SceneGraph::dereferenceResource(found);
    }
    CubeMap* sky = SceneGraph::getCubeMap("sky");
    ASSERT_NE(sky, nullptr);
    EXPECT_EQ(sky->getReferenceCount(), 2u);
    SceneGraph::dereferenceResource(sky);

    // Replacing gives the old one back.
    textured->setDiffuseTexture("../textures/notex.png", 0);
    EXPECT_EQ(SceneGraph::getTexture("texture"), nullptr);
    mirror->setEnvironmentMap(nullptr, false);
    EXPECT_EQ(SceneGraph::getCubeMap("sky"), nullptr);
}

TEST_F(Materials, DeletedMaterialsGiveEverythingBack) {
    const u32 lists[] = {kResourceMaterial, kResourceShaderProgram, kResourceShader,
                         kResourceTexture, kResourceCubeMap};
    SceneGraph::purge(0xFFFFFFFFu);
    std::vector<u32> before;
    for (u32 type : lists) {
        before.push_back(SceneGraph::getResourceList(type)->getEntryCount());
    }
    std::vector<Material*> made;
    for (u32 code : {kMaterialColorful, kMaterialWeird, kMaterialTextured, kMaterialReflective}) {
        std::string name = "m" + std::to_string(code);
        made.push_back(SceneGraph::createMaterial(code, name.c_str(), 0));
        made.push_back(static_cast<Material*>(made.back()->clone((name + " copy").c_str(), 0)));
    }
    static_cast<MaterialWeird*>(made[2])->setNoiseTexture(plain("noise", 9, 9, 9), false);
    static_cast<MaterialTextured*>(made[4])->setDiffuseTexture(plain("t", 9, 9, 9), false);
    static_cast<MaterialReflective*>(made[6])->setEnvironmentMap(
        SceneGraph::createCubeMap("sky", "a", "b", "c", "d", "e", "f", 0), false);
    // Cloning onto the existing copy hands out one more reference of it.
    static_cast<MaterialReflective*>(made[6])->clone("m5 copy", 0);
    SceneGraph::dereferenceResource(made[7]);
    made[2]->reference();
    TriangleMesh* mesh = square("TexCoords", made[2]);
    world->drawAll(&input);
    SceneGraph::deleteNode(mesh);

    for (Material* m : made) {
        SceneGraph::dereferenceResource(m);
    }
    SceneGraph::purge(0xFFFFFFFFu);
    for (u32 i = 0; i < 5; i++) {
        EXPECT_EQ(SceneGraph::getResourceList(lists[i])->getEntryCount(), before[i])
            << "list " << lists[i];
    }
}

// Asking for a material again at a higher level raises only the material's
// level; a purge below it must still leave the material its program.
TEST_F(Materials, APurgeLeavesALiveMaterialItsProgram) {
    for (u32 code : {kMaterialDirectional, kMaterialPoint, kMaterialColorful, kMaterialWeird,
                     kMaterialTextured, kMaterialReflective}) {
        SCOPED_TRACE(code);
        std::string name = "m" + std::to_string(code);
        Material* m = SceneGraph::createMaterial(code, name.c_str(), 3);
        SceneGraph::createMaterial(code, name.c_str(), 5);
        ASSERT_EQ(m->getPurgeLevel(), 5u);
        ASSERT_EQ(m->getProgram()->getPurgeLevel(), 3u);

        SceneGraph::purge(3);
        EXPECT_TRUE(SceneGraph::getResourceList(kResourceShaderProgram)->contains(name.c_str()));
        EXPECT_TRUE(m->getProgram()->isLinked());
        TriangleMesh* mesh = square("TexCoords", m);
        world->drawAll(&input);
        SceneGraph::deleteNode(mesh);

        // Given back, the material and with it its program go at its level.
        SceneGraph::dereferenceResource(m);
        SceneGraph::purge(5);
        EXPECT_FALSE(SceneGraph::getResourceList(kResourceMaterial)->contains(name.c_str()));
        EXPECT_FALSE(SceneGraph::getResourceList(kResourceShaderProgram)->contains(name.c_str()));
    }
}

// A purge of every level deletes what no one holds, never what a live
// material's texture or cube-map slots hold.
TEST_F(Materials, APurgeLeavesALiveMaterialItsTextures) {
    std::vector<Material*> made;
    for (u32 code : {kMaterialDirectional, kMaterialPoint, kMaterialWeird, kMaterialTextured,
                     kMaterialReflective}) {
        made.push_back(
            SceneGraph::createMaterial(code, ("held" + std::to_string(code)).c_str(), 0));
    }
    static_cast<MaterialReflective*>(made.back())
        ->setEnvironmentMap(
            SceneGraph::createCubeMap("sky", "a", "b", "c", "d", "e", "f", 0xFFFFFFFFu), false);
    auto* textured = static_cast<MaterialTextured*>(made[3]);
    // A replaced texture no longer counts as held.
    textured->setDiffuseTexture(
        SceneGraph::createTexture(kRed, "replaced", Texture::kRgba, 1, 1, false, 0, 0, 2), false);
    textured->setDiffuseTexture(
        SceneGraph::createTexture(kRed, "held", Texture::kRgba, 1, 1, false, 0, 0, 2), false);
    auto* weird = static_cast<MaterialWeird*>(made[2]);
    weird->setNoiseTexture("../textures/notex.png", 2);

    SceneGraph::purge(0xFFFFFFFFu);
    ResourceList* textures = SceneGraph::getResourceList(kResourceTexture);
    EXPECT_TRUE(textures->contains("../textures/notex.png"));
    EXPECT_TRUE(textures->contains("held"));
    EXPECT_FALSE(textures->contains("replaced"));
    EXPECT_TRUE(SceneGraph::getResourceList(kResourceCubeMap)->contains("sky"));
    EXPECT_EQ(glIsTexture(textured->getDiffuseTexture()->getId()), GL_TRUE);
    EXPECT_EQ(glIsTexture(weird->getNoiseTexture()->getId()), GL_TRUE);

    // Given back, the materials let go of their pictures, which the next
    // purge deletes.
    for (Material* m : made) {
        SceneGraph::dereferenceResource(m);
    }
    SceneGraph::purge(0xFFFFFFFFu);
    EXPECT_EQ(textures->getEntryCount(), 0u);
    EXPECT_EQ(SceneGraph::getResourceList(kResourceCubeMap)->getEntryCount(), 0u);
}

TEST(MaterialsMemory, NothingOutlivesTheRegistry) {
    if (!StartGlWindow()) {
        GTEST_SKIP() << "no X display";
    }
    markReports();
    const u32 blocks = MemoryGetBlockCount();
    const u32 total = MemoryGetTotal();
    SceneGraph::init();
    // Materials still held at shutdown, with their programs and textures.
    for (u32 code : {kMaterialColorful, kMaterialWeird, kMaterialTextured, kMaterialReflective}) {
        std::string name = "held" + std::to_string(code);
        SceneGraph::createMaterial(code, name.c_str(), 0)->clone((name + " copy").c_str(), 0);
    }
    static_cast<MaterialReflective*>(SceneGraph::getMaterial("held5"))
        ->setEnvironmentMap(SceneGraph::createCubeMap("sky", "a", "b", "c", "d", "e", "f", 0),
                            false);
    SceneGraph::shutdown();
    markReports();
    EXPECT_EQ(MemoryGetBlockCount(), blocks);
    EXPECT_EQ(MemoryGetTotal(), total);
}

} // namespace
