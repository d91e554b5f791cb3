#include "engine/camera.h"
#include "engine/group.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

const char* const kLargeFov =
    "Very large FOV. The FOV value should be given in radians [0, PI], and not in degrees.";
const char* const kInvalid = "Camera values are not valid";

void markLog() {
    Report(Result{1, "test marker"}, "camera_test", "markLog", 0);
}

std::string lastReport() {
    const char* last = ReportLastMessage();
    return last != nullptr ? last : "";
}

f32 at(const mat4& m, int row, int column) {
    return m.m[column * 4 + row];
}

bool isIdentity(const mat4& m) {
    mat4 identity;
    identity.identity();
    return std::memcmp(m.m, identity.m, sizeof identity.m) == 0;
}

TEST(CameraPerspective, ValidationBoundariesInF32) {
    struct Case {
        f32 fov, near, far;
        const char* warning; // null when accepted
    };
    const Case cases[] = {
        {3.14f, 1.0f, 10.0f, nullptr},   {std::nextafter(3.14f, 4.0f), 1.0f, 10.0f, kLargeFov},
        {60.0f, 1.0f, 10.0f, kLargeFov}, {1.0f, 0.01f, 10.0f, nullptr},
        {1.0f, 0.009f, 10.0f, kInvalid}, {1.0f, std::nextafter(0.01f, 0.0f), 10.0f, kInvalid},
        {1.0f, 5.0f, 5.0f, kInvalid},    {1.0f, 5.0f, 4.0f, kInvalid},
        {60.0f, 5.0f, 4.0f, kLargeFov},
    };
    for (const Case& k : cases) {
        Camera camera("c");
        markLog();
        camera.setPerspectiveProjection(k.fov, 1.5f, k.near, k.far);
        if (k.warning == nullptr) {
            EXPECT_NE(lastReport().find("test marker"), std::string::npos)
                << k.fov << " " << k.near;
            EXPECT_EQ(camera.getProjectionType(), static_cast<u32>(Camera::kPerspective));
        } else {
            EXPECT_NE(lastReport().find(k.warning), std::string::npos) << k.fov << " " << k.near;
            EXPECT_TRUE(isIdentity(camera.getProjection()));
            EXPECT_EQ(camera.getProjectionType(), static_cast<u32>(Camera::kCustom));
        }
    }
}

TEST(CameraPerspective, ARefusalKeepsThePreviousProjection) {
    Camera camera("c");
    camera.setPerspectiveProjection(1.0f, 2.0f, 1.0f, 100.0f);
    mat4 before = camera.getProjection();
    camera.setPerspectiveProjection(1.0f, 2.0f, 7.0f, 7.0f);
    EXPECT_EQ(std::memcmp(before.m, camera.getProjection().m, sizeof before.m), 0);
    EXPECT_EQ(camera.getProjectionType(), static_cast<u32>(Camera::kPerspective));
}

TEST(CameraPerspective, Elements) {
    Camera camera("c");
    camera.setPerspectiveProjection(1.57079632679f, 2.0f, 1.0f, 3.0f);
    const mat4& p = camera.getProjection();
    EXPECT_NEAR(at(p, 0, 0), 0.5f, 1e-6f); // f = 1 / tan(pi / 4) = 1
    EXPECT_NEAR(at(p, 1, 1), 1.0f, 1e-6f);
    EXPECT_NEAR(at(p, 2, 2), -2.0f, 1e-6f);
    EXPECT_NEAR(at(p, 2, 3), -3.0f, 1e-6f);
    EXPECT_EQ(at(p, 3, 2), -1.0f);
    EXPECT_EQ(at(p, 3, 3), 0.0f);
}

TEST(CameraOrthographic, SymmetricVolumeAndRefusals) {
    Camera camera("c");
    camera.setOrthogonalProjection(-1, 1, -1, 1, -1, 1);
    const mat4& p = camera.getProjection();
    EXPECT_EQ(at(p, 2, 2), -1.0f);
    EXPECT_EQ(at(p, 0, 3), 0.0f);
    EXPECT_EQ(at(p, 1, 3), 0.0f);
    EXPECT_EQ(at(p, 2, 3), 0.0f);
    EXPECT_EQ(camera.getProjectionType(), static_cast<u32>(Camera::kOrthographic));

    const f32 refused[][6] = {{1, 1, 0, 1, 0, 1}, {0, 1, 2, 2, 0, 1}, {0, 1, 0, 1, 3, 3}};
    for (const auto& v : refused) {
        Camera other("o");
        markLog();
        other.setOrthogonalProjection(v[0], v[1], v[2], v[3], v[4], v[5]);
        EXPECT_NE(lastReport().find(kInvalid), std::string::npos);
        EXPECT_TRUE(isIdentity(other.getProjection()));
    }
}

TEST(CameraClone, CopiesTheProjectionButNotTheTransform) {
    Camera camera("eye");
    camera.setOrthogonalProjection(0, 4, 0, 2, 1, 5);
    camera.setTranslation(1, 2, 3);
    Node* copy = camera.duplicate(nullptr, false);
    Camera* clone = static_cast<Camera*>(copy);
    EXPECT_STREQ(clone->getName(), "eye");
    EXPECT_EQ(clone->getType(), static_cast<u32>(kNodeCamera));
    EXPECT_EQ(std::memcmp(clone->getProjection().m, camera.getProjection().m, sizeof(mat4)), 0);
    EXPECT_EQ(clone->getProjectionType(), static_cast<u32>(Camera::kOrthographic));
    EXPECT_EQ(clone->getTranslation().x, 0.0f);
    SceneGraph::deleteNode(copy);

    mat4 custom;
    custom.identity();
    custom.m[5] = 7;
    camera.setProjection(custom);
    EXPECT_EQ(camera.getProjection().m[5], 7.0f);
    EXPECT_EQ(camera.getProjectionType(), static_cast<u32>(Camera::kCustom));
}

// The warning names the class whose walk step met the inactive node.
TEST(CameraView, AnInactiveAncestorWarnsAndTheWalkGoesOn) {
    struct Case {
        Node* hidden;
        const char* reporter;
    };
    const Case cases[] = {
        {SceneGraph::createGroup("hidden"), "(transformable.cpp, Transformable::transformCamera, "},
        {SceneGraph::createState("hidden"), "(node.cpp, Node::transformCamera, "}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reporter);
        Group root("root");
        Camera* camera = SceneGraph::createCamera("camera");
        root.attachChild(c.hidden);
        c.hidden->attachChild(camera);
        c.hidden->setActive(false);
        root.setTranslation(0, 0, 4);
        markLog();
        mat4 view;
        camera->getViewMatrix(view);
        EXPECT_NE(lastReport().find("Camera resides in a non-active node"), std::string::npos);
        EXPECT_NE(lastReport().find(c.reporter), std::string::npos) << lastReport();
        EXPECT_EQ(at(view, 2, 3), -4.0f);
    }
}

} // namespace
