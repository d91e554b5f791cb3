#pragma once

#include "engine/transformable.h"

// A projection; a world draws through its active camera, whose view matrix
// is the inverse of its world transform.
class Camera : public Transformable {
  public:
    enum ProjectionType : u32 { kCustom = 0, kPerspective = 1, kOrthographic = 2 };

    explicit Camera(const char* name);
    // Clears itself from every world that holds it as its active camera.
    ~Camera() override;

    // A new camera of the same name and projection (not the transform).
    Node* clone() const override;

    // fov is the full vertical angle in radians. Bad values are refused with
    // a warning and leave the projection as it was.
    void setPerspectiveProjection(f32 fov, f32 aspect, f32 near, f32 far);
    void setOrthogonalProjection(f32 left, f32 right, f32 bottom, f32 top, f32 near, f32 far);
    void setProjection(const mat4& matrix);
    const mat4& getProjection() const { return projection; }
    u32 getProjectionType() const { return projectionType; }
    // The identity walked from the camera up to the root.
    void getViewMatrix(mat4& out);

  private:
    mat4 projection;
    u32 projectionType;
};
