#pragma once

#include "engine/types.h"

// Fixed-function settings (depth, stencil, blending, culling, scissor) and a
// mask of those that the record specifies. The engine keeps one current
// record of what the GPU has; setState applies a record against it,
// switching a capability only when it changes (or when forced) and sending
// the parameters of every enabled one again.
class RenderState {
  public:
    // Feature bits of the masks.
    static constexpr u8 kDepthTest = 1;
    static constexpr u8 kStencilTest = 2;
    static constexpr u8 kBlending = 4;
    static constexpr u8 kCulling = 8;
    static constexpr u8 kScissorTest = 16;
    static constexpr u8 kAll = 255;

    RenderState();

    // Compare indices 0..7: never, less, equal, lequal, greater, notequal,
    // gequal, always.
    void enableDepthTest(u32 compare);
    void disableDepthTest();
    void enableStencilTest(u32 compare, i32 ref, u32 mask);
    void disableStencilTest();
    // Blend-factor indices 0..7 of the source and destination tables.
    void enableBlending(u32 source, u32 destination);
    void disableBlending();
    // Cull indices: 0 front, 1 back, 2 front and back.
    void enableCulling(u32 face);
    void disableCulling();
    void enableScissorTest(i32 x, i32 y, i32 width, i32 height);
    void disableScissorTest();
    // Switches every feature off (what is specified stays).
    void clearEnabled() { enabled = 0; }

    // Applies the features of the mask that the record names; see above.
    static void setState(const RenderState* state, u8 mask, bool force);
    // What the engine believes the GPU has; every feature off at start.
    static RenderState* getCurrentState();

    // GL values of the table indices; an index outside a table is clamped
    // to its last entry.
    static u32 compareFunction(u32 index);
    static u32 sourceFactor(u32 index);
    static u32 destinationFactor(u32 index);
    static u32 cullFace(u32 index);
    static u32 capability(u8 feature);

    i32 stencilRef;
    u32 stencilMask;
    u32 stencilFunc;
    u32 depthFunc;
    u32 blendSrc;
    u32 blendDst;
    u32 cullFaceIndex;
    i32 scissorX;
    i32 scissorY;
    i32 scissorWidth;
    i32 scissorHeight;
    u8 specified;
    u8 enabled;

  private:
    void set(u8 feature, bool on);
};
