#include "host/phone.h"

PhoneLayout PhoneLayoutFor(bool portrait, i32 pictureW, i32 pictureH) {
    const i32 W = pictureW;
    const i32 H = pictureH;
    PhoneLayout l;
    if (portrait) {
        l.picture = {H / 2 - W / 2, 0, W, H};
        l.game = {l.picture.x + 41, 119, 320, 480};
        l.marginA = {l.picture.x + W, 0, l.picture.x, H};
        l.marginB = {0, 0, l.picture.x, H};
    } else {
        l.picture = {0, H / 2 - W / 2, H, W};
        l.game = {142, l.picture.y + 41, 480, 320};
        l.marginA = {0, 0, H, l.picture.y};
        l.marginB = {0, l.picture.y + W, H, l.picture.y};
    }
    return l;
}

bool PhoneMapPointer(const Rect& game, i32 side, i32 mx, i32 my, f32* x, f32* y) {
    i32 gy = side - my;
    if (mx < game.x || mx > game.x + game.w || gy < game.y || gy > game.y + game.h) {
        return false;
    }
    *x = static_cast<f32>((static_cast<f64>(mx - game.x) / game.w - 0.5) * 2);
    *y = static_cast<f32>((static_cast<f64>(gy - game.y) / game.h - 0.5) * 2);
    return true;
}

bool PhoneAcceptKeyPress(i32* keyHeld) {
    if (*keyHeld != 0) {
        return false;
    }
    *keyHeld = 1;
    return true;
}

void PressLatchNewPoll(PressLatch* latch) {
    latch->fresh = 0;
    latch->tapped = 0;
}

void PressLatchPress(PressLatch* latch) {
    latch->held = 1;
    latch->fresh = 1;
    latch->tapped = 0;
}

bool PressLatchRelease(PressLatch* latch) {
    bool tap = latch->held != 0 && latch->fresh != 0;
    latch->held = 0;
    if (tap) {
        latch->tapped = 1;
    }
    return tap;
}

i32 PressLatchShown(const PressLatch& latch) {
    return latch.held != 0 || latch.tapped != 0 ? 1 : 0;
}

void PointerLatchNewPoll(PointerLatch* pointer, FrameInput* input) {
    if (pointer->press.tapped != 0) {
        input->pointerX = pointer->releaseX;
        input->pointerY = pointer->releaseY;
    }
    PressLatchNewPoll(&pointer->press);
}

void PointerLatchPress(PointerLatch* pointer, FrameInput* input, f32 x, f32 y) {
    PressLatchPress(&pointer->press);
    pointer->pressX = x;
    pointer->pressY = y;
    input->pointerX = x;
    input->pointerY = y;
}

void PointerLatchMove(PointerLatch* pointer, FrameInput* input, f32 x, f32 y) {
    if (pointer->press.held == 0) {
        return;
    }
    input->pointerX = x;
    input->pointerY = y;
}

void PointerLatchRelease(PointerLatch* pointer, FrameInput* input) {
    if (!PressLatchRelease(&pointer->press)) {
        return;
    }
    pointer->releaseX = input->pointerX;
    pointer->releaseY = input->pointerY;
    input->pointerX = pointer->pressX;
    input->pointerY = pointer->pressY;
}

void PointerLatchEndPoll(const PointerLatch& pointer, FrameInput* input) {
    input->pointerDown = PressLatchShown(pointer.press);
}

namespace {

// The release that waited for this poll, or for a press after it.
void deliverWaitingRelease(KeyLatch* keys, FrameInput* input, KeyHook hook) {
    if (keys->press.tapped != 0 && hook != nullptr) {
        hook(input, keys->waitingKey, false);
    }
}

} // namespace

void KeyLatchNewPoll(KeyLatch* keys, FrameInput* input, KeyHook hook) {
    deliverWaitingRelease(keys, input, hook);
    PressLatchNewPoll(&keys->press);
}

bool KeyLatchPress(KeyLatch* keys, FrameInput* input, KeyHook hook) {
    if (!PhoneAcceptKeyPress(&keys->press.held)) {
        return false;
    }
    deliverWaitingRelease(keys, input, hook);
    PressLatchPress(&keys->press);
    return true;
}

void KeyLatchRelease(KeyLatch* keys, FrameInput* input, KeyHook hook, i32 key) {
    PressLatchRelease(&keys->press);
    if (keys->press.tapped != 0) {
        keys->waitingKey = key;
    } else if (hook != nullptr) {
        hook(input, key, false);
    }
}

namespace {

f64 graphLevel(int i) {
    return i * 2.0 / kGraphSamples - 1.0;
}

} // namespace

void MemoryGraphInit(MemoryGraph* graph) {
    for (int i = 0; i < kGraphSamples; i++) {
        f32 x = static_cast<f32>(graphLevel(i));
        graph->vertices[2 * i] = vec2(1.0f, x);
        graph->vertices[2 * i + 1] = vec2(1.0f, x);
        graph->history[i] = 0;
    }
    graph->largest = 0;
}

void MemoryGraphUpdate(MemoryGraph* graph, u32 sample) {
    u32 largest = 0;
    for (int i = 0; i < kGraphSamples - 1; i++) {
        graph->history[i] = graph->history[i + 1];
        if (graph->history[i] > largest) {
            largest = graph->history[i];
        }
    }
    graph->history[kGraphSamples - 1] = sample;
    if (sample > largest) {
        largest = sample;
    }
    graph->largest = largest;
    for (int i = 0; i < kGraphSamples; i++) {
        f64 share = largest == 0 ? 0.0 : static_cast<f64>(graph->history[i]) / largest;
        graph->vertices[2 * i].x = static_cast<f32>(1.0 - 2.0 * share);
    }
}

f32 CounterSeconds(u64 counter, f64 frequency) {
    return static_cast<f32>(static_cast<f64>(counter) / frequency);
}
