// The maze game's scenery built from code, over the real scene registry: the
// texture table and the objects' material, the flat quads, the table copier
// and the background box, and the memory they give back. A GL window is used
// when a display exists; the checks read the registry, not pixels.
#include "engine/indexarray.h"
#include "engine/materialphong.h"
#include "engine/scenegraph.h"
#include "engine/texture.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "games/mazechase/background.h"
#include "games/mazechase/scenery.h"
#include "tests/support/gametest.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class MazeScenery : public GameTest {};

const char* const kSandstone = "..\\textures\\sandstone.png";

std::vector<f32> floatsOf(const VertexArray* array) {
    const f32* data = array->getArray();
    return std::vector<f32>(data, data + array->getCount() * array->getFloatsPerVertex());
}

std::vector<u16> indicesOf(const IndexArray* array) {
    const u16* data = array->getArray();
    return std::vector<u16>(data, data + array->getCount());
}

// Position then texture coordinates, each of three floats.
void expectVertexAndTexcoord(const VertexArray* array) {
    ASSERT_EQ(array->getAttributeCount(), 2u);
    EXPECT_STREQ(array->getAttributeName(0), "Vertex");
    EXPECT_EQ(array->getAttributeOffset(0), 0u);
    EXPECT_EQ(array->getAttributeComponents(0), 3u);
    EXPECT_STREQ(array->getAttributeName(1), "Texcoord");
    EXPECT_EQ(array->getAttributeOffset(1), 3u);
    EXPECT_EQ(array->getAttributeComponents(1), 3u);
}

void expectColor(vec3 actual, vec3 expected, const std::string& what) {
    EXPECT_FLOAT_EQ(actual.x, expected.x) << what;
    EXPECT_FLOAT_EQ(actual.y, expected.y) << what;
    EXPECT_FLOAT_EQ(actual.z, expected.z) << what;
}

// Whether the registry still holds a resource found by name; the reference
// the lookup took is given back.
bool stillHeld(Resource* found) {
    if (found == nullptr) {
        return false;
    }
    SceneGraph::dereferenceResource(found);
    return true;
}

TEST_F(MazeScenery, TexturesAndMaterialsByIndex) {
    struct Case {
        i32 index;
        const char* path;
    };
    const Case cases[] = {
        {0, kSandstone},
        {1, "..\\textures\\boards.png"},
        {2, kSandstone},
        {3, "..\\textures\\chrome.png"},
        {4, "..\\textures\\tiles2.png"},
        {5, "..\\textures\\tiles4.png"},
        {6, "..\\textures\\rainbow.png"},
        {7, "..\\textures\\woods.jpg"},
        {8, "..\\textures\\extra_life.png"},
        {9, kSandstone},
        {10, "..\\textures\\stone2.jpg"},
        {11, "..\\textures\\christmas2.jpg"},
        {12, kSandstone},
        {-1, kSandstone},
    };
    for (const Case& c : cases) {
        const std::string what = "index " + std::to_string(c.index);
        EXPECT_STREQ(texturePath(c.index), c.path) << what;
        // Found again by name, the material is written afresh.
        Material* first = makeMaterial(c.index, "scenery test", 0);
        MaterialPhong* phong = dynamic_cast<MaterialPhong*>(first);
        ASSERT_NE(phong, nullptr) << what;
        phong->ambientColor = vec3(9, 9, 9);
        Material* again = makeMaterial(c.index, "scenery test", 0);
        EXPECT_EQ(again, first) << what;
        ASSERT_NE(phong->getDiffuseTexture(), nullptr) << what;
        EXPECT_STREQ(phong->getDiffuseTexture()->nameText(), c.path) << what;
        EXPECT_EQ(phong->getDiffuseTexture()->getPurgeLevel(), 1u) << what;
        EXPECT_FLOAT_EQ(phong->emissive, 0.1f) << what;
        bool powerPellet = c.index == 11;
        expectColor(phong->ambientColor, powerPellet ? vec3(0.7f, 0.7f, 0.7f) : vec3(0.6f, 0.6f, 0),
                    what);
        expectColor(phong->diffuseColor,
                    powerPellet ? vec3(0.7f, 0.7f, 0.7f) : vec3(0.7f, 0.3f, 0.2f), what);
        expectColor(phong->specularColor, powerPellet ? vec3(0.3f, 0.4f, 0.5f) : vec3(1, 1, 1),
                    what);
        EXPECT_FLOAT_EQ(phong->specularLevel, powerPellet ? 0.5f : 0.3f) << what;
        EXPECT_FLOAT_EQ(phong->shininess, powerPellet ? 3.0f : 2.0f) << what;
        SceneGraph::dereferenceResource(again);
        EXPECT_TRUE(SceneGraph::dereferenceResource(first)) << what;
    }
}

TEST_F(MazeScenery, QuadsOfOneNameShareTheirArraysAndMaterial) {
    struct Case {
        const char* name;
        f32 w, h, d;
    };
    const Case cases[] = {{"tile", 0.5f, 0.5f, 0}, {"ground", 1500, 0, 1500}};
    for (const Case& c : cases) {
        TriangleMesh* quad = makeQuadMesh(c.name, c.w, c.h, c.d);
        TriangleMesh* twin = makeQuadMesh(c.name, c.w, c.h, c.d);
        ASSERT_NE(quad, twin) << c.name;
        EXPECT_STREQ(quad->getName(), c.name);
        EXPECT_STREQ(twin->getName(), c.name);
        VertexArray* vertices = quad->getVertexArray();
        IndexArray* indices = quad->getIndexArray();
        Material* material = quad->getMaterial();
        EXPECT_EQ(twin->getVertexArray(), vertices) << c.name;
        EXPECT_EQ(twin->getIndexArray(), indices) << c.name;
        EXPECT_EQ(twin->getMaterial(), material) << c.name;
        // One reference each quad, none left with the builder.
        EXPECT_EQ(vertices->getReferenceCount(), 2u) << c.name;
        EXPECT_EQ(indices->getReferenceCount(), 2u) << c.name;
        EXPECT_EQ(material->getReferenceCount(), 2u) << c.name;
        EXPECT_STREQ(vertices->nameText(), c.name);
        EXPECT_STREQ(indices->nameText(), c.name);
        EXPECT_STREQ(material->nameText(), c.name);

        const std::vector<f32> expected = {
            -c.w, -c.h, c.d,  0, 0, 0, c.w, -c.h, c.d,  1, 0, 0,
            -c.w, c.h,  -c.d, 0, 1, 0, c.w, c.h,  -c.d, 1, 1, 0,
        };
        EXPECT_EQ(floatsOf(vertices), expected) << c.name;
        expectVertexAndTexcoord(vertices);
        EXPECT_EQ(indicesOf(indices), (std::vector<u16>{0, 1, 2, 1, 3, 2})) << c.name;
        EXPECT_EQ(indices->getLayout(), 0u) << c.name;
        MaterialPhong* phong = dynamic_cast<MaterialPhong*>(material);
        ASSERT_NE(phong, nullptr) << c.name;
        // No picture of its own: the material's default one.
        ASSERT_NE(phong->getDiffuseTexture(), nullptr) << c.name;
        EXPECT_STREQ(phong->getDiffuseTexture()->nameText(), "../textures/notex.png") << c.name;
        expectColor(phong->ambientColor, vec3(0, 0, 0), c.name);
        expectColor(phong->diffuseColor, vec3(0, 0, 0), c.name);

        SceneGraph::deleteNode(quad);
        EXPECT_EQ(vertices->getReferenceCount(), 1u) << c.name;
        SceneGraph::deleteNode(twin);
        EXPECT_FALSE(stillHeld(SceneGraph::getVertexArray(c.name))) << c.name;
        EXPECT_FALSE(stillHeld(SceneGraph::getIndexArray(c.name))) << c.name;
        EXPECT_FALSE(stillHeld(SceneGraph::getMaterial(c.name))) << c.name;
    }
}

TEST_F(MazeScenery, CopyVerticesTakesTheFirstColumnsOfEachRow) {
    const f32 table[3][6] = {
        {1, 2, 3, 4, 5, 6},
        {7, 8, 9, 10, 11, 12},
        {13, 14, 15, 16, 17, 18},
    };
    struct Case {
        u32 rows, columns;
        std::vector<f32> out;
    };
    const std::vector<Case> cases = {
        {3, 6, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}},
        {2, 3, {1, 2, 3, 7, 8, 9}},
        {3, 1, {1, 7, 13}},
        {1, 6, {1, 2, 3, 4, 5, 6}},
        {0, 6, {}},
    };
    for (const Case& c : cases) {
        // One float past the copy shows that nothing is written beyond it.
        std::vector<f32> out(c.out.size() + 1, -1);
        copyVertices(out.data(), table, c.rows, c.columns);
        EXPECT_EQ(out.back(), -1) << c.rows << " x " << c.columns;
        out.pop_back();
        EXPECT_EQ(out, c.out) << c.rows << " x " << c.columns;
    }
}

TEST_F(MazeScenery, BackgroundIsFourWoodenWallsWithoutFloorOrLid) {
    BackgroundModel* background = new BackgroundModel();
    TriangleMesh* box = background->getNode();
    ASSERT_NE(box, nullptr);
    EXPECT_STREQ(box->getName(), "Box");
    VertexArray* vertices = box->getVertexArray();
    EXPECT_STREQ(vertices->nameText(), "Background model");
    const std::vector<f32> expected = {
        -900, -300, 900, 0,   0,    1,   900,  -300, 900,  1,    0,    1,   -900, 900, 900, 0,
        1,    1,    900, 900, 900,  1,   1,    1,    -900, -300, -900, 1,   0,    0,   900, -300,
        -900, 0,    0,   0,   -900, 900, -900, 1,    1,    0,    900,  900, -900, 0,   1,   0,
    };
    EXPECT_EQ(floatsOf(vertices), expected);
    expectVertexAndTexcoord(vertices);
    IndexArray* indices = box->getIndexArray();
    EXPECT_STREQ(indices->nameText(), "Background model indexarray");
    EXPECT_EQ(indicesOf(indices), (std::vector<u16>{1, 0, 2, 2, 3, 1, 4, 5, 6, 5, 7, 6,
                                                    0, 4, 6, 0, 6, 2, 5, 1, 3, 5, 3, 7}));
    MaterialPhong* material = dynamic_cast<MaterialPhong*>(box->getMaterial());
    ASSERT_NE(material, nullptr);
    EXPECT_STREQ(material->nameText(), "Material: Background");
    EXPECT_EQ(material->getReferenceCount(), 1u);
    ASSERT_NE(material->getDiffuseTexture(), nullptr);
    EXPECT_STREQ(material->getDiffuseTexture()->nameText(), "..\\textures\\woods.jpg");
    expectColor(material->ambientColor, vec3(0.6f, 0.6f, 0.6f), "ambient");
    expectColor(material->diffuseColor, vec3(0.6f, 0.6f, 0.6f), "diffuse");

    // The game deletes the box with its world; the object keeps nothing.
    SceneGraph::deleteNode(box);
    delete background;
    EXPECT_FALSE(stillHeld(SceneGraph::getVertexArray("Background model")));
    EXPECT_FALSE(stillHeld(SceneGraph::getIndexArray("Background model indexarray")));
}

} // namespace
