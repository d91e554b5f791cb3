#pragma once

#include "engine/node.h"
#include "engine/rendercontext.h"
#include "engine/renderstate.h"

class Camera;

// The root of one scene tree and what draws it: clear settings, a viewport,
// a base render state and the camera it is seen through. Several worlds
// drawn in one frame land one over the other, each with its own clearing.
class World : public Node {
  public:
    explicit World(const char* name);
    ~World() override;

    // Ends the camera walk.
    void transformCamera(mat4& view) override;
    // A world of the same name, camera and clear settings; no children, the
    // default state and the full viewport.
    Node* clone() const override;

    // The camera must lie in this world's tree. A camera being deleted clears
    // itself from every world that holds it (forgetCamera).
    void setActiveCamera(Camera* camera) { activeCamera = camera; }
    Camera* getActiveCamera() const { return activeCamera; }
    void setClearColor(bool on, vec4 color);
    void setClearDepth(bool on, f32 depth);
    void setClearStencil(bool on, i32 value);
    // A fixed viewport in game-screen pixels; the world then clears only
    // this rectangle and leaves the pixels around it as they were.
    void setViewport(i32 x, i32 y, i32 width, i32 height);
    void useFullViewport() { fullWindow = true; }
    RenderState* getRenderState() { return &baseState; }

    // One frame of this world: viewport, clear, state, the world-matrix walk,
    // the camera's matrices, the draw walk, then the queued text.
    void drawAll(FrameInput* input);
    // The view-projection matrix of the last frame that drew the tree.
    const mat4& getViewProjection() const { return lastViewProjection; }

    // The camera matrices of a frame: view (the walk from the camera up to
    // its world), the negated camera position, the projection and their
    // product. Needs no GL.
    // Every live world that holds the camera as active drops it.
    static void forgetCamera(const Camera* camera);

    static void cameraMatrices(Camera* camera, mat4& view, mat4& projection, mat4& viewProjection,
                               vec3& viewPosition);

  private:
    void applyViewport();
    void clear();
    void clearViewportOnly(u32 mask);

    Camera* activeCamera;
    RenderState baseState;
    vec4 clearColor;
    f32 clearDepth;
    i32 clearStencil;
    bool clearColorOn;
    bool clearDepthOn;
    bool clearStencilOn;
    bool fullWindow;
    i32 viewportX;
    i32 viewportY;
    i32 viewportWidth;
    i32 viewportHeight;
    RenderContext context;
    mat4 lastViewProjection;
    // The live worlds, newest first, for forgetCamera.
    World* previousLive;
    World* nextLive;
};
