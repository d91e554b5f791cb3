#pragma once

#include "engine/camera.h"
#include "engine/scenegraph.h"
#include "engine/world.h"
#include "host/ape.h"
#include "host/phone.h"

#include <GLES2/gl2.h>
#include <vector>

// A world drawing into the square of the given side at the game screen's
// bottom-left corner, cleared to clear, seen by a camera on the z axis at
// distance from the origin (field of view 0.9, near 1, far plane far).
inline World* MakeSquareWorld(const char* name, i32 side, vec4 clear, f32 distance, f32 far) {
    World* world = SceneGraph::createWorld(name);
    world->setViewport(0, 0, side, side);
    world->setClearColor(true, clear);
    Camera* camera = SceneGraph::createCamera("camera");
    camera->setPerspectiveProjection(0.9f, 1.0f, 1.0f, far);
    camera->translate(0, 0, distance);
    world->attachChild(camera);
    world->setActiveCamera(camera);
    return world;
}

// The RGBA pixel at (x, y) of the game screen, from its bottom-left corner.
inline std::vector<u8> GameScreenPixel(i32 x, i32 y) {
    const Rect& game = PlatformLayout().game;
    std::vector<u8> rgba(4);
    glReadPixels(game.x + x, game.y + y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}
