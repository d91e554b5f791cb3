#include "engine/transformable.h"

#include "engine/matrixtransformation.h"
#include "engine/rendercontext.h"
#include "engine/result.h"

#include <cmath>

namespace {

// R(angle, axis), right-handed; an axis not of length exactly 1 is
// normalised first.
mat3 rotationAbout(f32 angle, f32 x, f32 y, f32 z) {
    f32 length = std::sqrt(x * x + y * y + z * z);
    if (length != 1.0f) {
        f32 k = 1.0f / length;
        x *= k;
        y *= k;
        z *= k;
    }
    f32 c = std::cos(angle);
    f32 s = std::sin(angle);
    f32 t = 1.0f - c;
    mat3 r;
    r.set(c + t * x * x, t * x * y - s * z, t * x * z + s * y, //
          t * x * y + s * z, c + t * y * y, t * y * z - s * x, //
          t * x * z - s * y, t * y * z + s * x, c + t * z * z);
    return r;
}

void diagonal(mat4& out, f32 x, f32 y, f32 z) {
    out.identity();
    out.m[0] = x;
    out.m[5] = y;
    out.m[10] = z;
}

void translationOf(mat4& out, f32 x, f32 y, f32 z) {
    out.identity();
    out.m[12] = x;
    out.m[13] = y;
    out.m[14] = z;
}

} // namespace

Transformable::Transformable(const char* name, u32 type) : Node(name, type) {
    world.identity();
    resetTransform();
}

void Transformable::resetTransform() {
    translation = vec3(0, 0, 0);
    scaleFactors = vec3(1, 1, 1);
    rotation.identity();
}

void Transformable::translate(f32 x, f32 y, f32 z) {
    translation += vec3(x, y, z);
}

void Transformable::setTranslation(f32 x, f32 y, f32 z) {
    translation = vec3(x, y, z);
}

void Transformable::scale(f32 x, f32 y, f32 z) {
    scaleFactors.x *= x;
    scaleFactors.y *= y;
    scaleFactors.z *= z;
}

void Transformable::setScale(f32 x, f32 y, f32 z) {
    scaleFactors = vec3(x, y, z);
}

void Transformable::rotate(f32 angle, f32 x, f32 y, f32 z) {
    rotationAbout(angle, x, y, z).multiply(rotation, rotation);
}

void Transformable::setRotation(f32 angle, f32 x, f32 y, f32 z) {
    rotation.identity();
    rotate(angle, x, y, z);
}

void Transformable::getTranslationMatrix(mat4& out) const {
    translationOf(out, translation.x, translation.y, translation.z);
}

void Transformable::getRotationMatrix(mat4& out) const {
    out.identity();
    for (int c = 0; c < 3; c++) {
        for (int r = 0; r < 3; r++) {
            out.m[c * 4 + r] = rotation.m[c * 3 + r];
        }
    }
}

void Transformable::getScaleMatrix(mat4& out) const {
    diagonal(out, scaleFactors.x, scaleFactors.y, scaleFactors.z);
}

void Transformable::getRotationTranslationMatrix(mat4& out) const {
    getRotationMatrix(out);
    out.m[12] = translation.x;
    out.m[13] = translation.y;
    out.m[14] = translation.z;
}

// T * R * S: the rotation's columns scaled by the matching scale component,
// the translation in the last column.
void Transformable::getLocalMatrix(mat4& out) const {
    getRotationTranslationMatrix(out);
    const f32 s[3] = {scaleFactors.x, scaleFactors.y, scaleFactors.z};
    for (int c = 0; c < 3; c++) {
        for (int r = 0; r < 3; r++) {
            out.m[c * 4 + r] *= s[c];
        }
    }
}

void Transformable::getInverseTranslationMatrix(mat4& out) const {
    translationOf(out, -translation.x, -translation.y, -translation.z);
}

void Transformable::getInverseRotationMatrix(mat4& out) const {
    getRotationMatrix(out);
    out.transpose();
}

void Transformable::getInverseScaleMatrix(mat4& out) const {
    diagonal(out, 1.0f / scaleFactors.x, 1.0f / scaleFactors.y, 1.0f / scaleFactors.z);
}

void Transformable::getNormalMatrix(mat3& out) const {
    const f32 s[3] = {scaleFactors.x, scaleFactors.y, scaleFactors.z};
    for (int c = 0; c < 3; c++) {
        for (int r = 0; r < 3; r++) {
            out.m[c * 3 + r] = rotation.m[c * 3 + r] / s[r];
        }
    }
}

// view = view * S^-1 * R^T * T^-1, then on up to the root.
void Transformable::transformCamera(mat4& view) {
    if (!isActive()) {
        REPORT(kInactiveCamera);
    }
    mat4 step;
    getInverseScaleMatrix(step);
    view.multiply(view, step);
    getInverseRotationMatrix(step);
    view.multiply(view, step);
    getInverseTranslationMatrix(step);
    view.multiply(view, step);
    if (getParent() != nullptr) {
        getParent()->transformCamera(view);
    }
}

void Transformable::updateWorldMatrices(RenderContext* context) {
    if (!isActive()) {
        return;
    }
    MatrixTransformation* matrices = context->matrices;
    mat4* parentWorld = matrices->getWorld();
    mat4 local;
    getLocalMatrix(local);
    if (parentWorld != nullptr) {
        parentWorld->multiply(world, local);
    } else {
        world = local;
    }
    matrices->setWorld(&world);
    for (Node* child = getChild(0); child != nullptr; child = child->getNextSibling()) {
        child->updateWorldMatrices(context);
    }
    matrices->setWorld(parentWorld);
}

void Transformable::draw(RenderContext* context) {
    if (!isActive()) {
        return;
    }
    context->matrices->setWorld(&world);
    if (getDrawSelf()) {
        drawSelf(context);
        context->matrices->resetWorld();
    }
    for (Node* child = getChild(0); child != nullptr; child = child->getNextSibling()) {
        child->draw(context);
    }
}
