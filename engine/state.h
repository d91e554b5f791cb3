#pragma once

#include "engine/node.h"
#include "engine/renderstate.h"

// A render-state node: applies its record for its subtree and restores the
// previous settings after it. It has no transform; its children keep the
// world matrix of the nearest transformable above.
class State : public Node {
  public:
    explicit State(const char* name);

    void draw(RenderContext* context) override;
    Node* clone() const override;

    void enableDepthTest(u32 compare) { state.enableDepthTest(compare); }
    void disableDepthTest() { state.disableDepthTest(); }
    void enableStencilTest(u32 compare, i32 ref, u32 mask) {
        state.enableStencilTest(compare, ref, mask);
    }
    void disableStencilTest() { state.disableStencilTest(); }
    void enableBlending(u32 source, u32 destination) { state.enableBlending(source, destination); }
    void disableBlending() { state.disableBlending(); }
    void enableCulling(u32 face) { state.enableCulling(face); }
    void disableCulling() { state.disableCulling(); }
    void enableScissorTest(i32 x, i32 y, i32 width, i32 height) {
        state.enableScissorTest(x, y, width, height);
    }
    void disableScissorTest() { state.disableScissorTest(); }

    const RenderState& getRenderState() const { return state; }

  private:
    RenderState state;
};
