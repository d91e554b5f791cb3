#include "engine/camera.h"
#include "engine/group.h"
#include "engine/matrixtransformation.h"
#include "engine/rendercontext.h"
#include "engine/scenegraph.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr f32 kHalfPi = 1.57079632679f;
constexpr f32 kTolerance = 1e-5f;

// Element (row, column) of a column-major matrix.
f32 at(const mat4& m, int row, int column) {
    return m.m[column * 4 + row];
}
f32 at(const mat3& m, int row, int column) {
    return m.m[column * 3 + row];
}

void expectNear(const mat4& actual, const mat4& expected) {
    for (int i = 0; i < 16; i++) {
        EXPECT_NEAR(actual.m[i], expected.m[i], kTolerance) << "element " << i;
    }
}

void expectRows(const mat3& m, const f32 (&rows)[3][3]) {
    for (int r = 0; r < 3; r++) {
        for (int c = 0; c < 3; c++) {
            EXPECT_NEAR(at(m, r, c), rows[r][c], kTolerance) << r << "," << c;
        }
    }
}

vec3 apply(const mat3& m, vec3 v) {
    return vec3(at(m, 0, 0) * v.x + at(m, 0, 1) * v.y + at(m, 0, 2) * v.z,
                at(m, 1, 0) * v.x + at(m, 1, 1) * v.y + at(m, 1, 2) * v.z,
                at(m, 2, 0) * v.x + at(m, 2, 1) * v.y + at(m, 2, 2) * v.z);
}

// Runs the world-matrix walk from a root with the identity as the
// surrounding world, as a world does each frame.
void updateWorld(Node* root) {
    MatrixTransformation matrices;
    mat4 identity;
    identity.identity();
    matrices.setWorld(&identity);
    RenderContext context = {&matrices, nullptr, nullptr};
    root->updateWorldMatrices(&context);
    EXPECT_EQ(matrices.getWorld(), &identity);
}

TEST(TransformableRotation, AnAxisOfAnyLengthTurnsXIntoY) {
    for (f32 length : {1.0f, 2.0f, 0.5f}) {
        Group node("n");
        node.rotate(kHalfPi, 0, 0, length);
        vec3 v = apply(node.getRotation(), vec3(1, 0, 0));
        EXPECT_NEAR(v.x, 0, kTolerance) << length;
        EXPECT_NEAR(v.y, 1, kTolerance) << length;
        EXPECT_NEAR(v.z, 0, kTolerance) << length;
    }
}

TEST(TransformableRotation, ALaterRotationIsAppliedAfterTheEarlierOne) {
    Group node("n");
    node.rotate(kHalfPi, 0, 0, 1); // A: x -> y
    node.rotate(kHalfPi, 1, 0, 0); // B: y -> z
    vec3 v = apply(node.getRotation(), vec3(1, 0, 0));
    EXPECT_NEAR(v.z, 1, kTolerance);
    node.setRotation(kHalfPi, 1, 0, 0);
    v = apply(node.getRotation(), vec3(1, 0, 0));
    EXPECT_NEAR(v.x, 1, kTolerance);
}

TEST(TransformableScale, ScaleMultipliesAndSetScaleResets) {
    Group node("n");
    node.scale(2, 2, 2);
    node.scale(vec3(2, 2, 2));
    EXPECT_EQ(node.getScale().x, 4.0f);
    EXPECT_EQ(node.getScale().z, 4.0f);
    node.setScale(1, 3, 1);
    EXPECT_EQ(node.getScale().y, 3.0f);
    node.translate(1, 0, 0);
    node.translate(vec3(1, 2, 0));
    EXPECT_EQ(node.getTranslation().x, 2.0f);
    node.resetTransform();
    EXPECT_EQ(node.getScale().y, 1.0f);
    EXPECT_EQ(node.getTranslation().x, 0.0f);
}

TEST(TransformableNormalMatrix, DividesEachRotationRowByItsScale) {
    Group node("n");
    node.setScale(2, 1, 1);
    mat3 normal;
    node.getNormalMatrix(normal);
    expectRows(normal, {{0.5f, 0, 0}, {0, 1, 0}, {0, 0, 1}});
    node.setRotation(kHalfPi, 0, 0, 1);
    node.getNormalMatrix(normal);
    expectRows(normal, {{0, -0.5f, 0}, {1, 0, 0}, {0, 0, 1}});
}

TEST(TransformableMatrices, LocalIsTranslationRotationScale) {
    Group node("n");
    node.setTranslation(1, 2, 3);
    node.setRotation(kHalfPi, 0, 0, 1);
    node.setScale(2, 3, 4);
    mat4 t, r, s, expected, local;
    node.getTranslationMatrix(t);
    node.getRotationMatrix(r);
    node.getScaleMatrix(s);
    t.multiply(expected, r);
    expected.multiply(expected, s);
    node.getLocalMatrix(local);
    expectNear(local, expected);
    // The three inverses undo it.
    mat4 inverse;
    node.getInverseScaleMatrix(inverse);
    node.getInverseRotationMatrix(r);
    inverse.multiply(inverse, r);
    node.getInverseTranslationMatrix(t);
    inverse.multiply(inverse, t);
    inverse.multiply(inverse, local);
    mat4 identity;
    identity.identity();
    expectNear(inverse, identity);
}

TEST(TransformableWorld, StartsAsTheIdentityAndComposesWithTheParent) {
    Group parent("parent");
    mat4 identity;
    identity.identity();
    expectNear(parent.world, identity);

    Group* child = SceneGraph::createGroup("child");
    parent.attachChild(child);
    parent.setTranslation(10, 0, 0);
    parent.setRotation(kHalfPi, 0, 0, 1);
    child->setTranslation(1, 0, 0);
    updateWorld(&parent);
    // The child's origin: one unit along the parent's turned x axis.
    EXPECT_NEAR(at(child->world, 0, 3), 10, kTolerance);
    EXPECT_NEAR(at(child->world, 1, 3), 1, kTolerance);
}

TEST(TransformableWorld, AnInactiveSubtreeKeepsLastFramesMatrices) {
    Group parent("parent");
    Group* child = SceneGraph::createGroup("child");
    parent.attachChild(child);
    child->setTranslation(5, 0, 0);
    updateWorld(&parent);
    child->setActive(false);
    child->setTranslation(7, 0, 0);
    updateWorld(&parent);
    EXPECT_EQ(at(child->world, 0, 3), 5.0f);
}

TEST(CameraView, IsTheNegatedTranslationUnderARoot) {
    Group root("root");
    Camera* camera = SceneGraph::createCamera("camera");
    root.attachChild(camera);
    camera->setTranslation(0, 2, 10);
    updateWorld(&root);
    mat4 view;
    camera->getViewMatrix(view);
    EXPECT_NEAR(at(view, 0, 3), 0, kTolerance);
    EXPECT_NEAR(at(view, 1, 3), -2, kTolerance);
    EXPECT_NEAR(at(view, 2, 3), -10, kTolerance);
    // "ViewPosition" is the negated translation of the camera's world matrix.
    vec3 viewPosition(-camera->world.m[12], -camera->world.m[13], -camera->world.m[14]);
    EXPECT_EQ(viewPosition.y, -2.0f);
    EXPECT_EQ(viewPosition.z, -10.0f);
}

TEST(CameraView, NestedIsTheInverseOfTheWorldMatrix) {
    Group root("root");
    Group* arm = SceneGraph::createGroup("arm");
    Camera* camera = SceneGraph::createCamera("camera");
    root.attachChild(arm);
    arm->attachChild(camera);
    root.setTranslation(0, -1, 0);
    arm->setTranslation(3, 0, 1);
    arm->setRotation(0.7f, 0, 1, 0);
    arm->setScale(2, 2, 2);
    camera->setTranslation(0, 1, 4);
    camera->setRotation(-0.3f, 1, 0, 0);
    updateWorld(&root);

    mat4 view, product, identity;
    camera->getViewMatrix(view);
    view.multiply(product, camera->world);
    identity.identity();
    expectNear(product, identity);
}

} // namespace
