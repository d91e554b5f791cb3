// Worlds drawn in a real window: Phong lighting, several worlds over one
// another, a world without camera, sprites, and purges under live meshes and
// sprites (what a node holds stays, what only a game holds goes). Skipped
// without a display.
#include "engine/camera.h"
#include "engine/group.h"
#include "engine/indexarray.h"
#include "engine/light.h"
#include "engine/materialphong.h"
#include "engine/resourcelist.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/shaderprogram.h"
#include "engine/sprite.h"
#include "engine/text.h"
#include "engine/texture.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "engine/world.h"
#include "host/ape.h"
#include "host/phone.h"
#include "tests/support/glwindow.h"
#include "tests/support/testworld.h"

#include <GLES2/gl2.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr i32 kSize = 64;

// A square of side 2 in the plane z = 0, facing +z.
TriangleMesh* square(Material* material) {
    static const f32 positions[12] = {-1, -1, 0, 1, -1, 0, -1, 1, 0, 1, 1, 0};
    static const f32 texcoords[8] = {0, 0, 1, 0, 0, 1, 1, 1};
    static const f32 normals[12] = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
    static const u16 indices[6] = {0, 1, 2, 1, 3, 2};
    TriangleMesh* mesh = SceneGraph::createTriangleMesh("square", positions, texcoords, normals,
                                                        nullptr, 4, indices, 6, 0, 0);
    mesh->setMaterial(material, false);
    return mesh;
}

// A unit cube of six squares.
Group* cube(Material* material) {
    Group* group = SceneGraph::createGroup("cube");
    const f32 quarter = 1.5707964f;
    const f32 turns[6][4] = {{0, 0, 1, 0},        {quarter, 0, 1, 0}, {2 * quarter, 0, 1, 0},
                             {-quarter, 0, 1, 0}, {quarter, 1, 0, 0}, {-quarter, 1, 0, 0}};
    for (const auto& turn : turns) {
        TriangleMesh* face = square(static_cast<Material*>(material->reference()));
        Group* holder = SceneGraph::createGroup("face");
        holder->rotate(turn[0], turn[1], turn[2], turn[3]);
        face->translate(0, 0, 1);
        holder->attachChild(face);
        group->attachChild(holder);
    }
    SceneGraph::dereferenceResource(material);
    return group;
}

// A red square of side 2 facing the camera, for the purge tests: positions
// and colours interleaved, and apart.
const f32 kRedSquare[28] = {-1, -1, 0, 1, 0, 0, 1, 1, -1, 0, 1, 0, 0, 1,
                            -1, 1,  0, 1, 0, 0, 1, 1, 1,  0, 1, 0, 0, 1};
const f32 kRedPositions[12] = {-1, -1, 0, 1, -1, 0, -1, 1, 0, 1, 1, 0};
const f32 kRedColors[16] = {1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1};
const u16 kSquareIndices[6] = {0, 1, 2, 1, 3, 2};
const u8 kRed[4] = {255, 0, 0, 255};

bool registered(u32 type, const char* name) {
    return SceneGraph::getResourceList(type)->contains(name);
}

// The red square from its own arrays "v" and "i" and the colourful material
// "mm", each at the given purge level, in the world.
TriangleMesh* redSquare(World* world, u32 vertexLevel, u32 indexLevel, u32 materialLevel) {
    VertexArray* vertices = SceneGraph::createVertexArray("v", kRedSquare, 7, 4, vertexLevel);
    vertices->setAttribute(0, 3, "Vertex");
    vertices->setAttribute(3, 4, "Color");
    IndexArray* indices = SceneGraph::createIndexArray("i", kSquareIndices, 6, 0, indexLevel);
    Material* material = SceneGraph::createMaterial(kMaterialColorful, "mm", materialLevel);
    TriangleMesh* mesh =
        SceneGraph::createTriangleMesh("square", vertices, indices, material, false);
    world->attachChild(mesh);
    return mesh;
}

bool drawsRed(World* world) {
    world->drawAll(nullptr);
    std::vector<u8> p = GameScreenPixel(kSize / 2, kSize / 2);
    return p[0] == 255 && p[1] == 0 && p[2] == 0;
}

void removeNode(Node* node) {
    node->detachFromParent();
    SceneGraph::deleteNode(node);
}

class WorldDrawing : public testing::Test {
  protected:
    void SetUp() override {
        if (!StartGlWindow()) {
            GTEST_SKIP() << "no X display";
        }
        SceneGraph::init();
        world = makeWorld("world", vec4(0, 0, 0, 1));
        static const u8 white[16] = {255, 255, 255, 255, 255, 255, 255, 255,
                                     255, 255, 255, 255, 255, 255, 255, 255};
        whiteTexture =
            SceneGraph::createTexture(white, "white", Texture::kRgba, 2, 2, false, 0, 0, 0);
    }
    void TearDown() override {
        if (SceneGraph::isInitialized()) {
            SceneGraph::deleteNode(world);
            SceneGraph::dereferenceResource(whiteTexture);
            SceneGraph::shutdown();
        }
    }

    // A world drawing into the square at the game screen's corner, seen by
    // a camera at (0, 0, 5).
    static World* makeWorld(const char* name, vec4 clear) {
        return MakeSquareWorld(name, kSize, clear, 5, 50);
    }

    MaterialPhong* white(u32 code, const char* name) {
        auto* m = static_cast<MaterialPhong*>(SceneGraph::createMaterial(code, name, 0));
        m->setDiffuseTexture(whiteTexture, true);
        m->specularLevel = 0;
        return m;
    }

    // The RGBA pixel at (x, y) of the world's square.
    static std::vector<u8> pixel(i32 x, i32 y) { return GameScreenPixel(x, y); }
    static i32 brightness(i32 x, i32 y) {
        std::vector<u8> p = pixel(x, y);
        return p[0] + p[1] + p[2];
    }

    World* world = nullptr;
    Texture* whiteTexture = nullptr;
};

TEST_F(WorldDrawing, DirectionalLightBrightensTheFacesTurnedToIt) {
    Group* box = cube(white(kMaterialDirectional, "box"));
    box->rotate(0.7853982f, 0, 1, 0);
    Light* light = SceneGraph::createLight("sun", vec3(1, 1, 1), 1);
    light->translate(-10, 0, 0);
    world->attachChild(light);
    world->attachChild(box);
    for (u32 i = 0; i < 6; ++i) {
        Node* face = box->getChild(i)->getChild(0);
        static_cast<Geometry*>(face)->setLight(light, 0);
    }
    world->drawAll(nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const i32 lit = brightness(kSize / 2 - 8, kSize / 2);
    const i32 unlit = brightness(kSize / 2 + 8, kSize / 2);
    EXPECT_GT(lit, unlit + 100);
    EXPECT_GT(unlit, 0); // the ambient colour
    EXPECT_EQ(brightness(1, 1), 0);
}

TEST_F(WorldDrawing, PointLightFadesAcrossASquare) {
    TriangleMesh* floor = square(white(kMaterialPoint, "floor"));
    floor->scale(2, 2, 1);
    Light* light = SceneGraph::createLight("bulb", vec3(1, 1, 1), 1);
    light->translate(-1.5f, 0, 0.3f);
    world->attachChild(light);
    world->attachChild(floor);
    floor->setLight(light, 3);
    world->drawAll(nullptr);
    const i32 near = brightness(12, kSize / 2);
    const i32 middle = brightness(kSize / 2, kSize / 2);
    const i32 far = brightness(kSize - 12, kSize / 2);
    EXPECT_GT(near, middle);
    EXPECT_GT(middle, far);
}

TEST_F(WorldDrawing, SecondWorldDrawsOverTheFirst) {
    world->attachChild(square(white(kMaterialDirectional, "back")));
    World* front = makeWorld("front", vec4(0, 0, 1, 1));
    front->setClearColor(false, vec4(0, 0, 1, 1));
    TriangleMesh* small = square(white(kMaterialDirectional, "small"));
    small->scale(0.3f, 0.3f, 1);
    small->translate(1.2f, 1.2f, 0);
    front->attachChild(small);
    world->setClearColor(true, vec4(1, 0, 0, 1));

    world->drawAll(nullptr);
    front->drawAll(nullptr);
    const std::vector<u8> corner = pixel(1, 1);
    EXPECT_EQ(corner[0], 255);
    EXPECT_EQ(corner[2], 0);
    const i32 back = brightness(kSize / 2, kSize / 2);
    EXPECT_GT(back, 0);
    EXPECT_NE(pixel(kSize / 2, kSize / 2)[0], 255);
    const i32 x = kSize / 2 + kSize / 4;
    EXPECT_NE(pixel(x, x)[0], 255);
    SceneGraph::deleteNode(front);
}

TEST_F(WorldDrawing, FixedViewportDrawsAndClearsOnlyInsideIt) {
    // An earlier pass fills the whole square with red.
    World* earlier = SceneGraph::createWorld("earlier");
    earlier->setViewport(0, 0, kSize, kSize);
    earlier->setClearColor(true, vec4(1, 0, 0, 1));
    earlier->drawAll(nullptr);
    SceneGraph::deleteNode(earlier);

    // The world's own square is large enough to cover its whole viewport.
    constexpr i32 kInner = kSize / 4;
    world->setViewport(kInner, kInner, kSize / 2, kSize / 2);
    TriangleMesh* wall = square(white(kMaterialDirectional, "wall"));
    wall->scale(3, 3, 1);
    world->attachChild(wall);
    world->drawAll(nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    const Rect& game = PlatformLayout().game;
    std::vector<u8> rgba(kSize * kSize * 4);
    glReadPixels(game.x, game.y, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    i32 wrongOutside = 0;
    i32 wrongInside = 0;
    for (i32 y = 0; y < kSize; ++y) {
        for (i32 x = 0; x < kSize; ++x) {
            const u8* p = &rgba[(y * kSize + x) * 4];
            const bool red = p[0] == 255 && p[1] == 0 && p[2] == 0;
            const bool inside =
                x >= kInner && x < kInner + kSize / 2 && y >= kInner && y < kInner + kSize / 2;
            if (inside && (red || p[0] + p[1] + p[2] == 0)) {
                ++wrongInside;
            }
            if (!inside && !red) {
                ++wrongOutside;
            }
        }
    }
    EXPECT_EQ(wrongOutside, 0) << "pixels outside the viewport lost the earlier red";
    EXPECT_EQ(wrongInside, 0) << "pixels inside the viewport not drawn by the world";
}

TEST_F(WorldDrawing, WithoutCameraOnlyClearsAndKeepsTheText) {
    world->attachChild(square(white(kMaterialDirectional, "hidden")));
    world->setActiveCamera(nullptr);
    world->setClearColor(true, vec4(0, 1, 0, 1));
    SceneGraph::getText()->print("queued", -1, 1, 64, 1);
    world->drawAll(nullptr);
    EXPECT_NE(std::string(ReportLastMessage()).find("No active camera"), std::string::npos);
    for (i32 y : {1, kSize / 2, kSize - 2}) {
        std::vector<u8> p = pixel(y, y);
        EXPECT_EQ(p[0], 0);
        EXPECT_EQ(p[1], 255);
    }
    EXPECT_EQ(SceneGraph::getText()->getQueuedCount(), 1u);
}

TEST_F(WorldDrawing, ADeletedCameraLeavesEveryWorldThatHeldIt) {
    Camera* camera = world->getActiveCamera();
    World* copy = static_cast<World*>(world->clone());
    ASSERT_EQ(copy->getActiveCamera(), camera);
    camera->detachFromParent();
    SceneGraph::deleteNode(camera);
    EXPECT_EQ(world->getActiveCamera(), nullptr);
    EXPECT_EQ(copy->getActiveCamera(), nullptr);
    Report({1, "marker"}, "world_test.cpp", "test", 1);
    world->drawAll(nullptr);
    EXPECT_NE(std::string(ReportLastMessage()).find("No active camera"), std::string::npos);
    SceneGraph::deleteNode(copy);
}

TEST_F(WorldDrawing, ACameraDeletedWithItsWorldLeavesOtherWorldsAlone) {
    World* other = makeWorld("other", vec4(0, 0, 0, 1));
    Camera* kept = other->getActiveCamera();
    World* copy = static_cast<World*>(world->clone());
    SceneGraph::deleteNode(world);
    world = nullptr;
    EXPECT_EQ(copy->getActiveCamera(), nullptr);
    EXPECT_EQ(other->getActiveCamera(), kept);
    SceneGraph::deleteNode(copy);
    SceneGraph::deleteNode(other);
}

TEST_F(WorldDrawing, APurgeLeavesLiveSpritesTheirProgramAndQuad) {
    static const u8 red[4] = {255, 0, 0, 255};
    Texture* texture = SceneGraph::createTexture(red, "red", Texture::kRgba, 1, 1, false, 0, 0, 0);
    Sprite* sprite = SceneGraph::createSprite("sprite", texture, false);
    sprite->setSize(vec2(2, 2));
    world->attachChild(sprite);
    SceneGraph::purge(0xFFFFFFFF);
    world->drawAll(nullptr);
    EXPECT_EQ(pixel(kSize / 2, kSize / 2)[0], 255);

    sprite->detachFromParent();
    SceneGraph::deleteNode(sprite);
    SceneGraph::purge(1);
    ShaderProgram* program = SceneGraph::getShaderProgram("SpriteProg");
    EXPECT_EQ(program, nullptr) << "no sprite holds the program any more";
    SceneGraph::dereferenceResource(program);
}

// Each of the mesh's three resources in turn is the purgeable one; the mesh
// is drawn after the purge, or only deleted.
TEST_F(WorldDrawing, ALiveMeshKeepsItsMaterialAndArrays) {
    struct Case {
        const char* what;
        u32 vertexLevel, indexLevel, materialLevel;
        bool draw;
    };
    const Case cases[] = {
        {"material, drawn", 0, 0, 1, true},  {"material, deleted", 0, 0, 1, false},
        {"vertices, drawn", 1, 0, 0, true},  {"vertices, deleted", 1, 0, 0, false},
        {"indices, drawn", 0, 1, 0, true},   {"indices, deleted", 0, 1, 0, false},
        {"all three, drawn", 1, 1, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TriangleMesh* mesh = redSquare(world, c.vertexLevel, c.indexLevel, c.materialLevel);
        SceneGraph::purge(1);
        EXPECT_TRUE(registered(kResourceVertexArray, "v"));
        EXPECT_TRUE(registered(kResourceIndexArray, "i"));
        EXPECT_TRUE(registered(kResourceMaterial, "mm"));
        EXPECT_TRUE(registered(kResourceShaderProgram, "mm"));
        if (c.draw) {
            EXPECT_TRUE(drawsRed(world));
        }
        removeNode(mesh);
        // Let go of, they wait at count 0 for the next purge of their level.
        SceneGraph::purge(1);
        EXPECT_FALSE(registered(kResourceVertexArray, "v"));
        EXPECT_FALSE(registered(kResourceIndexArray, "i"));
        EXPECT_FALSE(registered(kResourceMaterial, "mm"));
        EXPECT_FALSE(registered(kResourceShaderProgram, "mm"));
    }
}

TEST_F(WorldDrawing, AMeshKeepsTheArraysItBuildsFromData) {
    TriangleMesh* mesh = SceneGraph::createTriangleMesh("square", kRedPositions, nullptr, nullptr,
                                                        kRedColors, 4, kSquareIndices, 6, 0, 1);
    mesh->setMaterial(SceneGraph::createMaterial(kMaterialColorful, "mm", 0), false);
    world->attachChild(mesh);
    std::string oldVertices = mesh->getVertexArray()->nameText();
    std::string oldIndices = mesh->getIndexArray()->nameText();
    SceneGraph::purge(1);
    EXPECT_TRUE(drawsRed(world));

    // Replaced, the old arrays are let go of; the new ones are held.
    mesh->setVertexData(kRedPositions, nullptr, nullptr, kRedColors, 4, 1);
    mesh->setIndexData(kSquareIndices, 6, 0, 1);
    SceneGraph::purge(1);
    EXPECT_FALSE(registered(kResourceVertexArray, oldVertices.c_str()));
    EXPECT_FALSE(registered(kResourceIndexArray, oldIndices.c_str()));
    EXPECT_TRUE(drawsRed(world));
    removeNode(mesh);
}

// A game's own reference does not pin: what no engine object holds goes at
// its level, also when a mesh held it before.
TEST_F(WorldDrawing, WhatOnlyAGameHoldsGoes) {
    Material* alone = SceneGraph::createMaterial(kMaterialColorful, "alone", 1);
    SceneGraph::createTexture(kRed, "picture", Texture::kRgba, 1, 1, false, 0, 0, 1);
    TriangleMesh* mesh = redSquare(world, 0, 0, 1);
    Material* replaced = mesh->getMaterial();
    replaced->reference();
    mesh->setMaterial(SceneGraph::createMaterial(kMaterialColorful, "kept", 1), false);
    ASSERT_EQ(replaced->getReferenceCount(), 1u) << "the game's reference alone";
    EXPECT_FALSE(replaced->isPinned());
    EXPECT_TRUE(mesh->getMaterial()->isPinned());
    EXPECT_FALSE(alone->isPinned());

    SceneGraph::purge(1);
    EXPECT_FALSE(registered(kResourceMaterial, "alone"));
    EXPECT_FALSE(registered(kResourceMaterial, "mm"));
    EXPECT_FALSE(registered(kResourceShaderProgram, "mm"));
    EXPECT_FALSE(registered(kResourceTexture, "picture"));
    EXPECT_TRUE(registered(kResourceMaterial, "kept"));
    EXPECT_TRUE(drawsRed(world));
    removeNode(mesh);
}

TEST_F(WorldDrawing, AMeshCloneHoldsWhatItShares) {
    TriangleMesh* original = redSquare(world, 1, 1, 1);
    Node* copy = original->clone();
    removeNode(original);
    world->attachChild(copy);
    SceneGraph::purge(1);
    EXPECT_TRUE(drawsRed(world));
    removeNode(copy);
    SceneGraph::purge(1);
    EXPECT_FALSE(registered(kResourceMaterial, "mm"));
    EXPECT_FALSE(registered(kResourceVertexArray, "v"));
}

// The sprite's own texture from a file, drawn after the purge or only
// deleted; then the same for its clone.
TEST_F(WorldDrawing, ALiveSpriteKeepsItsTexture) {
    const char* file = "../textures/notex.png";
    for (bool draw : {true, false}) {
        SCOPED_TRACE(draw ? "drawn" : "deleted");
        Sprite* sprite = SceneGraph::createSprite("sprite", file, 1);
        world->attachChild(sprite);
        SceneGraph::purge(1);
        ASSERT_TRUE(registered(kResourceTexture, file));
        EXPECT_EQ(glIsTexture(sprite->getTexture()->getId()), GL_TRUE);
        if (draw) {
            world->drawAll(nullptr);
        }
        removeNode(sprite);
        SceneGraph::purge(1);
        EXPECT_FALSE(registered(kResourceTexture, file));
    }

    Sprite* original = SceneGraph::createSprite("sprite", file, 1);
    Node* copy = original->clone();
    removeNode(original);
    world->attachChild(copy);
    SceneGraph::purge(1);
    EXPECT_TRUE(registered(kResourceTexture, file));
    world->drawAll(nullptr);
    removeNode(copy);
    SceneGraph::purge(1);
    EXPECT_FALSE(registered(kResourceTexture, file));
}

TEST_F(WorldDrawing, ASpriteLetsGoOfAReplacedTexture) {
    Texture* first = SceneGraph::createTexture(kRed, "first", Texture::kRgba, 1, 1, false, 0, 0, 1);
    Sprite* sprite = SceneGraph::createSprite("sprite", first, false);
    sprite->setSize(vec2(2, 2));
    world->attachChild(sprite);
    sprite->setTexture(
        SceneGraph::createTexture(kRed, "second", Texture::kRgba, 1, 1, false, 0, 0, 1), false);
    SceneGraph::purge(1);
    EXPECT_FALSE(registered(kResourceTexture, "first"));
    EXPECT_TRUE(drawsRed(world));

    sprite->setTexture("../textures/notex.png", 1);
    SceneGraph::purge(1);
    EXPECT_FALSE(registered(kResourceTexture, "second"));
    EXPECT_TRUE(registered(kResourceTexture, "../textures/notex.png"));
    world->drawAll(nullptr);
    removeNode(sprite);
}

// Nodes deleted after the shutdown: the shutdown deleted everything they
// held, so their deletion touches none of it, and reports nothing.
TEST_F(WorldDrawing, NodesDeletedAfterTheShutdownTouchNothing) {
    TriangleMesh* mesh = SceneGraph::createTriangleMesh("square", kRedPositions, nullptr, nullptr,
                                                        kRedColors, 4, kSquareIndices, 6, 0, 0);
    mesh->setMaterial(SceneGraph::createMaterial(kMaterialColorful, "mm", 0), false);
    Sprite* sprite = SceneGraph::createSprite("sprite", "../textures/notex.png", 0);
    world->attachChild(mesh);
    world->attachChild(sprite);
    world->drawAll(nullptr);
    ASSERT_TRUE(mesh->getMaterial()->isPinned());
    ASSERT_TRUE(mesh->getVertexArray()->isPinned());
    ASSERT_TRUE(sprite->getTexture()->isPinned());
    SceneGraph::dereferenceResource(whiteTexture);
    SceneGraph::shutdown();
    Report({1, "marker"}, "world_test", "marker", 0);
    std::string marker = ReportLastMessage();
    SceneGraph::deleteNode(world);
    EXPECT_EQ(ReportLastMessage(), marker);
}

// The golf demo's ball: the first mesh of the sphere model, read with unique
// names at purge level 2, dressed in a point material of that level with a
// texture of level 1.
TEST_F(WorldDrawing, AModelLoadedLikeTheGolfBallSurvivesAPurgeOfItsLevel) {
    Group* group = SceneGraph::createGroup("ball", "../models/sphere.pwn", true, 2);
    Node* first = group->getChild(0);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->getType(), static_cast<u32>(kNodeTriangleMesh));
    first->detachFromParent();
    SceneGraph::deleteNode(group);
    TriangleMesh* ball = static_cast<TriangleMesh*>(first);
    Light* light = SceneGraph::createLight("light");
    light->translate(0, 0, 10);
    world->attachChild(light);
    ball->setLight(light, 0);
    auto* material =
        static_cast<MaterialPoint*>(SceneGraph::createMaterial(kMaterialPoint, "ballMat", 2));
    material->setDiffuseTexture(
        SceneGraph::createTexture(kRed, "ballPicture", Texture::kRgba, 1, 1, false, 0, 0, 1),
        false);
    ball->setMaterial(material, false);
    ball->setScale(0.1f, 0.1f, 0.1f);
    world->attachChild(ball);
    world->drawAll(nullptr);
    std::vector<u8> before = GameScreenPixel(kSize / 2, kSize / 2);
    ASSERT_GT(before[0] + before[1] + before[2], 0) << "the ball is drawn";

    std::string arrays = ball->getVertexArray()->nameText();
    SceneGraph::purge(2);
    EXPECT_TRUE(registered(kResourceVertexArray, arrays.c_str()));
    EXPECT_TRUE(registered(kResourceIndexArray, arrays.c_str()));
    EXPECT_TRUE(registered(kResourceMaterial, "ballMat"));
    EXPECT_TRUE(registered(kResourceTexture, "ballPicture"));
    world->drawAll(nullptr);
    EXPECT_EQ(GameScreenPixel(kSize / 2, kSize / 2), before);

    removeNode(ball);
    SceneGraph::purge(2);
    EXPECT_FALSE(registered(kResourceVertexArray, arrays.c_str()));
    EXPECT_FALSE(registered(kResourceMaterial, "ballMat"));
    EXPECT_FALSE(registered(kResourceTexture, "ballPicture"));
}

// A mesh built in code whose index lies past its three vertices is not
// drawn, with one warning that names it, however many frames it stays; a
// fitting index array makes it drawable again.
TEST_F(WorldDrawing, AMeshWithAnIndexPastItsVerticesIsNotDrawn) {
    const u16 wild[6] = {0, 1, 2, 1, 60000, 2};
    TriangleMesh* mesh = SceneGraph::createTriangleMesh("wild", kRedPositions, nullptr, nullptr,
                                                        kRedColors, 3, wild, 6, 0, 0);
    mesh->setMaterial(SceneGraph::createMaterial(kMaterialColorful, "mm", 0), false);
    world->attachChild(mesh);
    EXPECT_EQ(mesh->getIndexArray()->getMaxIndex(), 60000u);
    Report({1, "marker"}, "world_test", "marker", 0);
    const i32 inside = kSize / 2 - 6;
    world->drawAll(nullptr);
    EXPECT_EQ(pixel(inside, inside)[0], 0) << "nothing of the mesh is drawn";
    std::string warning = ReportLastMessage();
    EXPECT_NE(warning.find("Warning: The mesh wild is not drawn"), std::string::npos) << warning;
    EXPECT_NE(warning.find("60000"), std::string::npos) << warning;
    Report({1, "marker"}, "world_test", "marker", 0);
    std::string marker = ReportLastMessage();
    world->drawAll(nullptr);
    world->drawAll(nullptr);
    EXPECT_EQ(ReportLastMessage(), marker) << "warned once only";

    mesh->setIndexData(kSquareIndices, 3, 0, 0);
    world->drawAll(nullptr);
    EXPECT_EQ(pixel(inside, inside)[0], 255) << "the lower left triangle is drawn";
    EXPECT_EQ(ReportLastMessage(), marker);
    removeNode(mesh);
}

TEST_F(WorldDrawing, ASpriteSetFromAFileTakesTheMaterialsTextureSettings) {
    Sprite* sprite = SceneGraph::createSprite("sprite", "../textures/notex.png", 0);
    GLuint first = sprite->getTexture()->getId();
    sprite->setTexture("../textures/notex.png", 0);
    // The old texture went first, so the picture was read again.
    EXPECT_NE(sprite->getTexture()->getId(), 0u);
    EXPECT_EQ(SceneGraph::getResourceList(kResourceTexture)->contains("../textures/notex.png"),
              true);
    GLint wrap = 0;
    glBindTexture(GL_TEXTURE_2D, sprite->getTexture()->getId());
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_REPEAT);
    EXPECT_EQ(glIsTexture(first), sprite->getTexture()->getId() == first ? GL_TRUE : GL_FALSE);
    EXPECT_EQ(sprite->getTexture()->getReferenceCount(), 1u);
    SceneGraph::deleteNode(sprite);
}

TEST_F(WorldDrawing, SpriteShowsItsTextureRectangle) {
    // Left column red, right column blue.
    static const u8 pixels[16] = {255, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0, 255, 0, 0, 255, 255};
    Texture* texture =
        SceneGraph::createTexture(pixels, "halves", Texture::kRgba, 2, 2, false, 0, 0, 0);
    Sprite* sprite = SceneGraph::createSprite("sprite", texture, false);
    sprite->setSize(vec2(2, 2));
    world->attachChild(sprite);
    world->drawAll(nullptr);
    EXPECT_EQ(pixel(kSize / 2 - 6, kSize / 2)[0], 255);
    EXPECT_EQ(pixel(kSize / 2 + 6, kSize / 2)[2], 255);
    EXPECT_EQ(pixel(2, 2)[2], 0);

    sprite->setTexcoords(vec2(0, 0), vec2(0.5f, 1));
    world->drawAll(nullptr);
    for (i32 x : {kSize / 2 - 6, kSize / 2, kSize / 2 + 6}) {
        std::vector<u8> p = pixel(x, kSize / 2);
        EXPECT_EQ(p[0], 255);
        EXPECT_EQ(p[2], 0);
    }
}

} // namespace
