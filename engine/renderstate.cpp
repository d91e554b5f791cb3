#include "engine/renderstate.h"

#include "engine/result.h"

#include <GLES2/gl2.h>

namespace {

const u32 kCompare[8] = {GL_NEVER,   GL_LESS,     GL_EQUAL,  GL_LEQUAL,
                         GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
const u32 kSource[8] = {GL_ZERO,      GL_ONE,
                        GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR,
                        GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                        GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA};
const u32 kDestination[8] = {GL_ZERO,
                             GL_ONE,
                             GL_DST_COLOR,
                             GL_ONE_MINUS_DST_COLOR,
                             GL_SRC_ALPHA_SATURATE,
                             GL_ONE_MINUS_SRC_ALPHA,
                             GL_DST_ALPHA,
                             GL_ONE_MINUS_DST_ALPHA};
const u32 kCull[3] = {GL_FRONT, GL_BACK, GL_FRONT_AND_BACK};

RenderState current;

u32 pick(const u32* table, u32 size, u32 index) {
    return table[index < size ? index : size - 1];
}

// Switches one capability when the mask names it and it changes (or when
// forced); true when the record has it on, so its parameters are sent.
bool toggle(const RenderState* state, u8 mask, bool force, u8 feature) {
    if ((mask & feature) == 0) {
        return false;
    }
    bool on = (state->enabled & feature) != 0;
    if (force || on != ((current.enabled & feature) != 0)) {
        current.enabled =
            static_cast<u8>(on ? current.enabled | feature : current.enabled & ~feature);
        if (on) {
            glEnable(RenderState::capability(feature));
        } else {
            glDisable(RenderState::capability(feature));
        }
        GL_ASSERT();
    }
    return on;
}

} // namespace

RenderState::RenderState()
    : stencilRef(0), stencilMask(0), stencilFunc(0), depthFunc(0), blendSrc(0), blendDst(0),
      cullFaceIndex(0), scissorX(0), scissorY(0), scissorWidth(0), scissorHeight(0), specified(0),
      enabled(0) {}

void RenderState::set(u8 feature, bool on) {
    specified |= feature;
    enabled = static_cast<u8>(on ? enabled | feature : enabled & ~feature);
}

void RenderState::enableDepthTest(u32 compare) {
    set(kDepthTest, true);
    depthFunc = compare;
}

void RenderState::disableDepthTest() {
    set(kDepthTest, false);
}

void RenderState::enableStencilTest(u32 compare, i32 ref, u32 mask) {
    set(kStencilTest, true);
    stencilFunc = compare;
    stencilRef = ref;
    stencilMask = mask;
}

void RenderState::disableStencilTest() {
    set(kStencilTest, false);
}

void RenderState::enableBlending(u32 source, u32 destination) {
    set(kBlending, true);
    blendSrc = source;
    blendDst = destination;
}

void RenderState::disableBlending() {
    set(kBlending, false);
}

void RenderState::enableCulling(u32 face) {
    set(kCulling, true);
    cullFaceIndex = face;
}

void RenderState::disableCulling() {
    set(kCulling, false);
}

void RenderState::enableScissorTest(i32 x, i32 y, i32 width, i32 height) {
    set(kScissorTest, true);
    scissorX = x;
    scissorY = y;
    scissorWidth = width;
    scissorHeight = height;
}

void RenderState::disableScissorTest() {
    set(kScissorTest, false);
}

void RenderState::setState(const RenderState* s, u8 mask, bool force) {
    if (toggle(s, mask, force, kDepthTest)) {
        glDepthFunc(compareFunction(s->depthFunc));
        current.depthFunc = s->depthFunc;
    }
    GL_ASSERT();
    if (toggle(s, mask, force, kStencilTest)) {
        glStencilFunc(compareFunction(s->stencilFunc), s->stencilRef, s->stencilMask);
        current.stencilFunc = s->stencilFunc;
        current.stencilRef = s->stencilRef;
        current.stencilMask = s->stencilMask;
    }
    GL_ASSERT();
    if (toggle(s, mask, force, kBlending)) {
        glBlendFunc(sourceFactor(s->blendSrc), destinationFactor(s->blendDst));
        current.blendSrc = s->blendSrc;
        current.blendDst = s->blendDst;
    }
    GL_ASSERT();
    if (toggle(s, mask, force, kCulling)) {
        glCullFace(cullFace(s->cullFaceIndex));
        current.cullFaceIndex = s->cullFaceIndex;
    }
    GL_ASSERT();
    if (toggle(s, mask, force, kScissorTest)) {
        glScissor(s->scissorX, s->scissorY, s->scissorWidth, s->scissorHeight);
        current.scissorX = s->scissorX;
        current.scissorY = s->scissorY;
        current.scissorWidth = s->scissorWidth;
        current.scissorHeight = s->scissorHeight;
    }
    GL_ASSERT();
}

RenderState* RenderState::getCurrentState() {
    return &current;
}

u32 RenderState::compareFunction(u32 index) {
    return pick(kCompare, 8, index);
}

u32 RenderState::sourceFactor(u32 index) {
    return pick(kSource, 8, index);
}

u32 RenderState::destinationFactor(u32 index) {
    return pick(kDestination, 8, index);
}

u32 RenderState::cullFace(u32 index) {
    return pick(kCull, 3, index);
}

u32 RenderState::capability(u8 feature) {
    switch (feature) {
    case kDepthTest:
        return GL_DEPTH_TEST;
    case kStencilTest:
        return GL_STENCIL_TEST;
    case kBlending:
        return GL_BLEND;
    case kCulling:
        return GL_CULL_FACE;
    default:
        return GL_SCISSOR_TEST;
    }
}
