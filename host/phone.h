#pragma once

#include "engine/types.h"
#include "engine/vecmath.h"

// The phone's geometry and input rules, free of any window or GL call.

// A rectangle in window pixels, origin at the bottom-left corner.
struct Rect {
    i32 x, y, w, h;
};

inline bool operator==(const Rect& a, const Rect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

struct PhoneLayout {
    Rect picture;
    Rect game;
    Rect marginA;
    Rect marginB;
};

// The rectangles for a phone picture of pictureW x pictureH pixels in a
// square window whose side is pictureH.
PhoneLayout PhoneLayoutFor(bool portrait, i32 pictureW, i32 pictureH);

// Maps a mouse position (window pixels from the top-left) onto the game
// screen: false outside it, else the position in -1..1 with y up (edges
// included).
bool PhoneMapPointer(const Rect& game, i32 side, i32 mx, i32 my, f32* x, f32* y);

// A key press counts only while no other key is down; it then marks a key as
// held until the next key release.
bool PhoneAcceptKeyPress(i32* keyHeld);

// The memory graph beside the phone: 512 samples, oldest first, drawn as a
// strip of 512 vertex pairs.
constexpr int kGraphSamples = 512;

struct MemoryGraph {
    u32 history[kGraphSamples];
    u32 largest;
    vec2 vertices[kGraphSamples * 2];
};

void MemoryGraphInit(MemoryGraph* graph);
// Shifts the history by one, appends sample and rebuilds the vertices; with
// every sample 0 the graph has no area.
void MemoryGraphUpdate(MemoryGraph* graph, u32 sample);

// Seconds of a counter running at frequency counts per second.
f32 CounterSeconds(u64 counter, f64 frequency);
