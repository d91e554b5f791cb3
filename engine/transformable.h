#pragma once

#include "engine/node.h"

// A node with a place in space: local rotation, translation and scale
// (local transform T * R * S; rotations pre-multiply) and a world matrix
// computed once per frame from the parent's.
class Transformable : public Node {
  public:
    Transformable(const char* name, u32 type);

    void transformCamera(mat4& view) override;
    void updateWorldMatrices(RenderContext* context) override;
    void draw(RenderContext* context) override;

    void resetTransform();
    void translate(f32 x, f32 y, f32 z);
    void translate(vec3 offset) { translate(offset.x, offset.y, offset.z); }
    void setTranslation(f32 x, f32 y, f32 z);
    void setTranslation(vec3 position) { setTranslation(position.x, position.y, position.z); }
    void scale(f32 x, f32 y, f32 z);
    void scale(vec3 factors) { scale(factors.x, factors.y, factors.z); }
    void setScale(f32 x, f32 y, f32 z);
    void setScale(vec3 factors) { setScale(factors.x, factors.y, factors.z); }
    // Applies a rotation (radians, right-handed) after the current one.
    void rotate(f32 angle, f32 x, f32 y, f32 z);
    void rotate(f32 angle, vec3 axis) { rotate(angle, axis.x, axis.y, axis.z); }
    void setRotation(f32 angle, f32 x, f32 y, f32 z);
    void setRotation(f32 angle, vec3 axis) { setRotation(angle, axis.x, axis.y, axis.z); }

    vec3 getTranslation() const { return translation; }
    vec3 getScale() const { return scaleFactors; }
    mat3 getRotation() const { return rotation; }

    void getTranslationMatrix(mat4& out) const;
    void getRotationMatrix(mat4& out) const;
    void getScaleMatrix(mat4& out) const;
    void getRotationTranslationMatrix(mat4& out) const;
    void getLocalMatrix(mat4& out) const;
    void getInverseTranslationMatrix(mat4& out) const;
    void getInverseRotationMatrix(mat4& out) const;
    void getInverseScaleMatrix(mat4& out) const;
    // S^-1 * R of the own local transform: row i of the rotation divided by
    // scale component i.
    void getNormalMatrix(mat3& out) const;

    // Written by each world-matrix pass that reaches the node; the identity
    // until then.
    mat4 world;

  private:
    mat3 rotation;
    vec3 translation;
    vec3 scaleFactors;
};
