#include "engine/geometry.h"
#include "engine/group.h"
#include "engine/light.h"
#include "engine/result.h"
#include "engine/scenegraph.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Geometry is never built alone; the drawn kinds derive from it.
class Shape : public Geometry {
  public:
    explicit Shape(const char* name) : Geometry(name, kNodeTriangleMesh) {}
};

void markLog() {
    Report(Result{1, "test marker"}, "light_test", "markLog", 0);
}

std::string lastReport() {
    const char* last = ReportLastMessage();
    return last != nullptr ? last : "";
}

TEST(Light, DefaultsAndClone) {
    Light* plain = SceneGraph::createLight("sun");
    EXPECT_EQ(plain->getType(), static_cast<u32>(kNodeLight));
    EXPECT_EQ(plain->getColor().y, 1.0f);
    EXPECT_EQ(plain->getIntensity(), 1.0f);
    EXPECT_EQ(plain->getFalloff(), 0.0f);

    Light* lamp = SceneGraph::createLight("lamp", vec3(0.5f, 0.25f, 1), 3.0f);
    lamp->setFalloff(2.0f);
    lamp->setTranslation(1, 1, 1);
    Node* copy = lamp->duplicate(nullptr, false);
    Light* clone = static_cast<Light*>(copy);
    EXPECT_STREQ(clone->getName(), "lamp");
    EXPECT_EQ(clone->getColor().y, 0.25f);
    EXPECT_EQ(clone->getIntensity(), 3.0f);
    EXPECT_EQ(clone->getFalloff(), 0.0f);
    EXPECT_EQ(clone->getTranslation().x, 0.0f);
    SceneGraph::deleteNode(copy);
    SceneGraph::deleteNode(lamp);
    SceneGraph::deleteNode(plain);
}

TEST(GeometrySlots, OutOfRangeIndicesAreWarnedAboutAndIgnored) {
    Shape shape("shape");
    Light light("light");
    for (u32 index : {4u, 5u, 0xFFFFFFFFu}) {
        markLog();
        shape.setLight(&light, index);
        EXPECT_NE(lastReport().find("Light slot index out of range"), std::string::npos) << index;
        markLog();
        EXPECT_EQ(shape.getLight(index), nullptr);
        EXPECT_NE(lastReport().find("Light slot index out of range"), std::string::npos) << index;
        markLog();
        shape.clearLight(index);
        EXPECT_NE(lastReport().find("Light slot index out of range"), std::string::npos) << index;
    }
    for (u32 index = 0; index < Geometry::kLightSlots; index++) {
        EXPECT_EQ(shape.getLight(index), nullptr);
    }
    shape.setLight(&light, 3);
    EXPECT_EQ(shape.getLight(3), &light);
    shape.clearLight(3);
    EXPECT_EQ(shape.getLight(3), nullptr);
}

TEST(GeometrySlots, UnlinkClearsEverySlotOfTheLightInTheSubtree) {
    Group root("root");
    Shape* outer = new Shape("outer");
    Shape* inner = new Shape("inner");
    root.attachChild(outer);
    outer->attachChild(inner);
    Light kept("kept");
    Light gone("gone");
    outer->setLight(&gone, 0);
    outer->setLight(&kept, 1);
    outer->setLight(&gone, 2);
    inner->setLight(&gone, 3);
    root.unlinkLight(&gone);
    EXPECT_EQ(outer->getLight(0), nullptr);
    EXPECT_EQ(outer->getLight(1), &kept);
    EXPECT_EQ(outer->getLight(2), nullptr);
    EXPECT_EQ(inner->getLight(3), nullptr);
}

// The materials and sprites draw with the light of the lowest filled slot; a
// clone keeps every light in its slot and leaves the copy's empty slots
// empty.
TEST(GeometrySlots, FirstLightIsTheLowestFilledSlotAndCopiesKeepTheirSlots) {
    Shape shape("shape");
    Light low("low");
    Light high("high");
    EXPECT_EQ(shape.firstLight(), nullptr);
    shape.setLight(&high, 3);
    EXPECT_EQ(shape.firstLight(), &high);
    shape.setLight(&low, 1);
    EXPECT_EQ(shape.firstLight(), &low);

    Shape copy("copy");
    Light kept("kept");
    copy.setLight(&kept, 0);
    shape.copyLightsTo(&copy);
    const Light* expected[Geometry::kLightSlots] = {&kept, &low, nullptr, &high};
    for (u32 index = 0; index < Geometry::kLightSlots; index++) {
        EXPECT_EQ(copy.getLight(index), expected[index]) << index;
    }
}

// A light that dies while still attached walks to its root and is cleared
// from every slot of its tree, then leaves its parent.
TEST(LightDeletion, AnAttachedLightClearsItsTreeAndDetachesItself) {
    Group root("root");
    Group* branch = SceneGraph::createGroup("branch");
    Shape* shape = new Shape("shape");
    Light* light = SceneGraph::createLight("light");
    root.attachChild(shape);
    root.attachChild(branch);
    branch->attachChild(light);
    shape->setLight(light, 1);
    SceneGraph::deleteNode(light);
    EXPECT_EQ(shape->getLight(1), nullptr);
    EXPECT_EQ(branch->getChildCount(), 0);
}

// Holders outside the light's tree, or a light deleted without a parent,
// must not keep a pointer to freed memory either.
TEST(LightDeletion, HoldersElsewhereAreClearedToo) {
    Group worldA("a");
    Group worldB("b");
    Shape* near = new Shape("near");
    Shape* far = new Shape("far");
    Shape loose("loose");
    worldA.attachChild(near);
    worldB.attachChild(far);
    Light* light = SceneGraph::createLight("light");
    Light* other = SceneGraph::createLight("other");
    worldA.attachChild(light);
    near->setLight(light, 0);
    far->setLight(light, 2);
    loose.setLight(light, 3);
    far->setLight(other, 1);
    SceneGraph::deleteNode(light);
    EXPECT_EQ(near->getLight(0), nullptr);
    EXPECT_EQ(far->getLight(2), nullptr);
    EXPECT_EQ(loose.getLight(3), nullptr);
    EXPECT_EQ(far->getLight(1), other);

    SceneGraph::deleteNode(other); // no parent
    EXPECT_EQ(far->getLight(1), nullptr);
}

TEST(LightDeletion, DeletingAWholeTreeOfLightsAndHoldersIsClean) {
    Group* root = SceneGraph::createGroup("root");
    Light* light = SceneGraph::createLight("light");
    Shape* shape = new Shape("shape");
    root->attachChild(shape);
    root->attachChild(light);
    shape->setLight(light, 0);
    Shape survivor("survivor");
    survivor.setLight(light, 0);
    SceneGraph::deleteNode(root);
    EXPECT_EQ(survivor.getLight(0), nullptr);
}

} // namespace
