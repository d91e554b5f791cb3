#pragma once

#include "engine/frameinput.h"
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

// A press as the event poll reports it: held from the press to its release,
// and a press released within the poll that read it (a tap) still shows as
// held for that poll, and as released from the next one on. So no press is
// lost however many events one poll reads.
struct PressLatch {
    i32 held;   // down since a press, not released since
    i32 fresh;  // that press came in the current poll
    i32 tapped; // a press of the current poll was released in it
};

// Each poll starts with this: a tap of the poll before is over.
void PressLatchNewPoll(PressLatch* latch);
void PressLatchPress(PressLatch* latch);
// Ends the press; true when this release made it a tap.
bool PressLatchRelease(PressLatch* latch);
// 1 while the poll reports the press as held: held, or tapped in this poll.
i32 PressLatchShown(const PressLatch& latch);

// The pointer on the game screen, positions in -1..1 (PhoneMapPointer). A
// tap shows at the point where it was pressed; the next poll finds the
// pointer where it was let go, as a release there.
struct PointerLatch {
    PressLatch press;
    f32 pressX, pressY;     // where the press of the current poll came
    f32 releaseX, releaseY; // where a tap was let go
};

void PointerLatchNewPoll(PointerLatch* pointer, FrameInput* input);
void PointerLatchPress(PointerLatch* pointer, FrameInput* input, f32 x, f32 y);
// A move: the pointer follows it while it is held.
void PointerLatchMove(PointerLatch* pointer, FrameInput* input, f32 x, f32 y);
void PointerLatchRelease(PointerLatch* pointer, FrameInput* input);
// Once the queue is empty: pointerDown as the latch shows it.
void PointerLatchEndPoll(const PointerLatch& pointer, FrameInput* input);

// A program's own use of the keys: told of every accepted key press (after
// the host's Tab and Escape) and of every key release, with the key's code.
using KeyHook = void (*)(FrameInput* input, i32 key, bool pressed);

// The keys: one acts at a time (PhoneAcceptKeyPress), and the release of a
// key tapped within one poll reaches the program's hook at the next poll, so
// that what the hook latched on the press shows for a frame. The hook may be
// null.
struct KeyLatch {
    PressLatch press;
    i32 waitingKey; // the key whose release the hook hears at the next poll
};

void KeyLatchNewPoll(KeyLatch* keys, FrameInput* input, KeyHook hook);
// A key goes down: false when another key is held, which ignores the press.
// A release still waiting reaches the hook first.
bool KeyLatchPress(KeyLatch* keys, FrameInput* input, KeyHook hook);
void KeyLatchRelease(KeyLatch* keys, FrameInput* input, KeyHook hook, i32 key);

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
