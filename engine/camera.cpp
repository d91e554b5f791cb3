#include "engine/camera.h"

#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/world.h"

#include <cmath>

namespace {

const Result kLargeFov = {
    1, "Very large FOV. The FOV value should be given in radians [0, PI], and not in degrees."};
const Result kInvalidValues = {1, "Camera values are not valid"};

constexpr f32 kLargestFov = 3.14f;
constexpr f32 kNearestNear = 0.01f;

} // namespace

Camera::Camera(const char* name) : Transformable(name, kNodeCamera), projectionType(kCustom) {
    projection.identity();
}

Camera::~Camera() {
    World::forgetCamera(this);
}

Node* Camera::clone() const {
    Camera* copy = SceneGraph::createCamera(getName());
    copy->projection = projection;
    copy->projectionType = projectionType;
    return copy;
}

void Camera::setPerspectiveProjection(f32 fov, f32 aspect, f32 near, f32 far) {
    if (fov > kLargestFov) {
        REPORT(kLargeFov);
        return;
    }
    if (far <= near || near < kNearestNear || far < 0.0f) {
        REPORT(kInvalidValues);
        return;
    }
    f32 f = 1.0f / std::tan(fov / 2.0f);
    projection.set(f / aspect, 0, 0, 0,                                                 //
                   0, f, 0, 0,                                                          //
                   0, 0, (near + far) / (near - far), 2.0f * near * far / (near - far), //
                   0, 0, -1, 0);
    projectionType = kPerspective;
}

void Camera::setOrthogonalProjection(f32 left, f32 right, f32 bottom, f32 top, f32 near, f32 far) {
    if (left == right || bottom == top || near == far) {
        REPORT(kInvalidValues);
        return;
    }
    f32 a = 1.0f / (right - left);
    f32 b = 1.0f / (top - bottom);
    f32 c = 1.0f / (far - near);
    projection.set(2.0f * a, 0, 0, -(right + left) * a, //
                   0, 2.0f * b, 0, -(top + bottom) * b, //
                   0, 0, -2.0f * c, -(far + near) * c,  //
                   0, 0, 0, 1);
    projectionType = kOrthographic;
}

void Camera::setProjection(const mat4& matrix) {
    projection = matrix;
    projectionType = kCustom;
}

void Camera::getViewMatrix(mat4& out) {
    out.identity();
    transformCamera(out);
}
