#include "engine/matrixtransformation.h"

#include "engine/result.h"
#include "engine/shaderprogram.h"

#include <GLES2/gl2.h>

namespace {

const char* const kNames[MatrixTransformation::kMatrixCount] = {
    "View",
    "ViewInverse",
    "ViewTranspose",
    "ViewInverseTranspose",
    "Projection",
    "ProjectionInverse",
    "ProjectionTranspose",
    "ProjectionInverseTranspose",
    "ViewProjection",
    "ViewProjectionInverse",
    "ViewProjectionTranspose",
    "ViewProjectionInverseTranspose",
    "World",
    "WorldInverse",
    "WorldTranspose",
    "WorldInverseTranspose",
    "WorldView",
    "WorldViewInverse",
    "WorldViewTranspose",
    "WorldViewInverseTranspose",
    "WorldViewProjection",
    "WorldViewProjectionInverse",
    "WorldViewProjectionTranspose",
    "WorldViewProjectionInverseTranspose",
};

constexpr u32 kInverse = 1;
constexpr u32 kTranspose = 2;

} // namespace

MatrixTransformation::MatrixTransformation()
    : viewPosition(0, 0, 0), slots{}, cameraPoolUsed(0), worldPoolUsed(0), projectionType(0) {
    normalMatrix.identity();
    for (u32 i = 0; i < kPoolSize; i++) {
        cameraPool[i].identity();
        worldPool[i].identity();
    }
}

const char* MatrixTransformation::getName(u32 index) {
    return index < kMatrixCount ? kNames[index] : nullptr;
}

void MatrixTransformation::setMatrices(mat4* view, mat4* projection, mat4* viewProjection,
                                       vec3 position, u32 type) {
    for (mat4*& slot : slots) {
        slot = nullptr;
    }
    slots[kView] = view;
    slots[kProjection] = projection;
    slots[kViewProjection] = viewProjection;
    projectionType = type;
    viewPosition = position;
    cameraPoolUsed = 0;
    worldPoolUsed = 0;
}

void MatrixTransformation::resetWorld() {
    for (u32 i = kWorld + 1; i < kMatrixCount; i++) {
        slots[i] = nullptr;
    }
    worldPoolUsed = 0;
}

// The next free matrix of the pool that serves the group of this base. At
// most 9 camera-derived and 11 world-derived matrices exist at a time, so a
// pool never runs out.
mat4* MatrixTransformation::take(u32 base) {
    if (base < kWorld) {
        return cameraPoolUsed < kPoolSize ? &cameraPool[cameraPoolUsed++] : nullptr;
    }
    return worldPoolUsed < kPoolSize ? &worldPool[worldPoolUsed++] : nullptr;
}

// WorldView = View * World; WorldViewProjection = (Projection * View) * World.
mat4* MatrixTransformation::deriveProduct(u32 base) {
    mat4* view = slots[kView];
    mat4* world = slots[kWorld];
    if (view == nullptr || world == nullptr) {
        return nullptr;
    }
    mat4* projection = slots[kProjection];
    if (base == kWorldViewProjection && projection == nullptr) {
        return nullptr;
    }
    mat4* out = take(base);
    if (out == nullptr) {
        return nullptr;
    }
    if (base == kWorldView) {
        view->multiply(*out, *world);
        return slots[base] = out;
    }
    projection->multiply(*out, *view);
    out->multiply(*out, *world);
    return slots[base] = out;
}

// The inverse, the transpose or the transposed inverse of the group's base.
mat4* MatrixTransformation::deriveVariant(u32 index) {
    u32 base = index & ~3u;
    const mat4* source = slots[base];
    if ((index & 3) == (kInverse | kTranspose)) {
        source = getMatrix(base + kInverse);
    }
    mat4* out = source != nullptr ? take(base) : nullptr;
    if (out == nullptr) {
        return nullptr;
    }
    *out = *source;
    if ((index & 3) == kInverse) {
        out->invert();
    } else {
        out->transpose();
    }
    return slots[index] = out;
}

mat4* MatrixTransformation::getMatrix(u32 index) {
    if (index >= kMatrixCount) {
        return nullptr;
    }
    if (slots[index] != nullptr) {
        return slots[index];
    }
    u32 base = index & ~3u;
    if (slots[base] == nullptr && (base == kWorldView || base == kWorldViewProjection)) {
        deriveProduct(base);
    }
    if (slots[base] == nullptr) {
        return nullptr;
    }
    return index == base ? slots[base] : deriveVariant(index);
}

void MatrixTransformation::resolve(const i32 locations[kMatrixCount],
                                   const mat4* matrices[kMatrixCount]) {
    for (u32 i = 0; i < kMatrixCount; i++) {
        matrices[i] = locations[i] >= 0 ? getMatrix(i) : nullptr;
    }
}

void MatrixTransformation::setTransformationMatrices(ShaderProgram* program) {
    const i32* locations = program->getMatrixLocations();
    const mat4* matrices[kMatrixCount];
    resolve(locations, matrices);
    for (u32 i = 0; i < kMatrixCount; i++) {
        if (matrices[i] != nullptr) {
            glUniformMatrix4fv(locations[i], 1, GL_FALSE, matrices[i]->m);
        }
    }
    GL_ASSERT();
}
