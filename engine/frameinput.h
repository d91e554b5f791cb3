#pragma once

#include "engine/types.h"

// The per-frame input record the host fills and hands to GameUpdate. One
// layout in every program; all fields are 32 bits wide.
struct FrameInput {
    i32 pointerDown; // 1 while the pointer is held after a press inside the game screen
    f32 pointerX;    // -1 (left) .. 1 (right), kept on release
    f32 pointerY;    // -1 (bottom) .. 1 (top), kept on release
    i32 keyA;        // latched keys of the ogre shooter's poll
    i32 keySpace;
    i32 keyReturn;
    i32 gameMode; // mini-golf: 0 menu, 1 playing, 2 level completed
    i32 pressConsumed;
    i32 shotCount;
    i32 aiming;
    f32 time;      // seconds of the performance counter, not starting at 0
    f32 deltaTime; // seconds between the two last timer updates
};
