#include "engine/world.h"

#include "engine/camera.h"
#include "engine/matrixtransformation.h"
#include "engine/platform.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/text.h"

#include <GLES2/gl2.h>

namespace {

const Result kNoCamera = {1, "No active camera"};

World* liveWorlds = nullptr;

} // namespace

World::World(const char* name)
    : Node(name, kNodeWorld), activeCamera(nullptr), clearColor(0.5f, 0.5f, 0.5f, 1.0f),
      clearDepth(1.0f), clearStencil(0), clearColorOn(true), clearDepthOn(true),
      clearStencilOn(false), fullWindow(true), viewportX(0), viewportY(0), viewportWidth(0),
      viewportHeight(0), context{new MatrixTransformation(), nullptr, nullptr},
      previousLive(nullptr), nextLive(liveWorlds) {
    if (liveWorlds != nullptr) {
        liveWorlds->previousLive = this;
    }
    liveWorlds = this;
    lastViewProjection.identity();
    baseState.clearEnabled();
    baseState.enableCulling(1);
    baseState.enableDepthTest(1);
    baseState.enableBlending(1, 0);
    baseState.disableStencilTest();
    baseState.disableScissorTest();
    RenderState::setState(&baseState, RenderState::kAll, true);
}

// Leaves the live list before the tree goes, so the cameras deleted with it
// no longer find this world.
World::~World() {
    (previousLive != nullptr ? previousLive->nextLive : liveWorlds) = nextLive;
    if (nextLive != nullptr) {
        nextLive->previousLive = previousLive;
    }
    delete context.matrices;
}

void World::forgetCamera(const Camera* camera) {
    for (World* w = liveWorlds; w != nullptr; w = w->nextLive) {
        if (w->activeCamera == camera) {
            w->activeCamera = nullptr;
        }
    }
}

void World::transformCamera(mat4&) {}

Node* World::clone() const {
    World* copy = SceneGraph::createWorld(getName());
    copy->activeCamera = activeCamera;
    copy->setClearColor(clearColorOn, clearColor);
    copy->setClearDepth(clearDepthOn, clearDepth);
    copy->setClearStencil(clearStencilOn, clearStencil);
    return copy;
}

void World::setClearColor(bool on, vec4 color) {
    clearColorOn = on;
    clearColor = color;
}

void World::setClearDepth(bool on, f32 depth) {
    clearDepthOn = on;
    clearDepth = depth;
}

void World::setClearStencil(bool on, i32 value) {
    clearStencilOn = on;
    clearStencil = value;
}

void World::setViewport(i32 x, i32 y, i32 width, i32 height) {
    viewportX = x;
    viewportY = y;
    viewportWidth = width;
    viewportHeight = height;
    fullWindow = false;
}

void World::cameraMatrices(Camera* camera, mat4& view, mat4& projection, mat4& viewProjection,
                           vec3& viewPosition) {
    camera->getViewMatrix(view);
    viewPosition = vec3(-camera->world.m[12], -camera->world.m[13], -camera->world.m[14]);
    projection = camera->getProjection();
    projection.multiply(viewProjection, view);
}

void World::applyViewport() {
    if (fullWindow) {
        u32 width = 0;
        u32 height = 0;
        PlatformGetScreenSize(&width, &height);
        PlatformSetViewport(0, 0, static_cast<i32>(width), static_cast<i32>(height));
        SceneGraph::setScreenSize(static_cast<i32>(width), static_cast<i32>(height));
    } else {
        PlatformSetViewport(viewportX, viewportY, viewportWidth, viewportHeight);
        SceneGraph::setScreenSize(viewportWidth, viewportHeight);
    }
}

void World::clear() {
    GLbitfield mask = 0;
    if (clearColorOn) {
        glClearColor(clearColor.x, clearColor.y, clearColor.z, clearColor.w);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (clearDepthOn) {
        glClearDepthf(clearDepth);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (clearStencilOn) {
        glClearStencil(clearStencil);
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    if (fullWindow) {
        glClear(mask);
    } else {
        clearViewportOnly(mask);
    }
    GL_ASSERT();
}

// glClear ignores the viewport: a world with a fixed viewport scissors its
// clear to it, so the pixels around it keep what earlier passes drew. The
// scissor setting is put back as it was.
void World::clearViewportOnly(u32 mask) {
    GLint viewport[4] = {};
    GLint scissor[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_SCISSOR_BOX, scissor);
    const GLboolean scissorOn = glIsEnabled(GL_SCISSOR_TEST);
    glScissor(viewport[0], viewport[1], viewport[2], viewport[3]);
    glEnable(GL_SCISSOR_TEST);
    glClear(mask);
    glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
    if (scissorOn == GL_FALSE) {
        glDisable(GL_SCISSOR_TEST);
    }
}

void World::drawAll(FrameInput* input) {
    applyViewport();
    clear();
    if (activeCamera == nullptr) {
        REPORT(kNoCamera);
        return;
    }
    RenderState::setState(&baseState, RenderState::kAll, true);

    mat4 identity;
    identity.identity();
    context.matrices->setWorld(&identity);
    updateWorldMatrices(&context);

    mat4 view;
    mat4 projection;
    mat4 viewProjection;
    vec3 viewPosition;
    cameraMatrices(activeCamera, view, projection, viewProjection, viewPosition);
    context.matrices->setMatrices(&view, &projection, &viewProjection, viewPosition,
                                  activeCamera->getProjectionType());
    context.currentProgram = nullptr;
    context.input = input;
    lastViewProjection = viewProjection;

    draw(&context);
    if (SceneGraph::getText() != nullptr) {
        SceneGraph::getText()->printAll();
    }
    context.matrices->setWorld(nullptr);
}
