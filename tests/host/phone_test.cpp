#include "host/ape.h"
#include "host/phone.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr i32 kW = 402, kH = 741;

TEST(PhoneLayout, RectanglesInBothOrientations) {
    PhoneLayout p = PhoneLayoutFor(true, kW, kH);
    EXPECT_EQ(p.picture, (Rect{169, 0, 402, 741}));
    EXPECT_EQ(p.game, (Rect{210, 119, 320, 480}));
    EXPECT_EQ(p.marginA, (Rect{571, 0, 169, 741}));
    EXPECT_EQ(p.marginB, (Rect{0, 0, 169, 741}));

    PhoneLayout l = PhoneLayoutFor(false, kW, kH);
    EXPECT_EQ(l.picture, (Rect{0, 169, 741, 402}));
    EXPECT_EQ(l.game, (Rect{142, 210, 480, 320}));
    EXPECT_EQ(l.marginA, (Rect{0, 0, 741, 169}));
    EXPECT_EQ(l.marginB, (Rect{0, 571, 741, 169}));
    // The fixed landscape x sits where the portrait screen's bottom gap maps to.
    EXPECT_EQ(l.game.x, kH - 119 - 480);
}

TEST(PhoneLayout, MarginsAndPictureTileTheWindow) {
    for (bool portrait : {true, false}) {
        PhoneLayout l = PhoneLayoutFor(portrait, kW, kH);
        i32 area =
            l.picture.w * l.picture.h + l.marginA.w * l.marginA.h + l.marginB.w * l.marginB.h;
        EXPECT_EQ(area, kH * kH - kH) << portrait; // the odd width leaves one line
    }
}

TEST(PhonePointer, EdgesAreInclusive) {
    const Rect game = PhoneLayoutFor(true, kW, kH).game;
    struct Case {
        i32 mx, my;
        bool inside;
        f32 x, y;
    } cases[] = {
        {game.x, kH - game.y, true, -1.0f, -1.0f},                 // bottom-left corner
        {game.x + game.w, kH - game.y - game.h, true, 1.0f, 1.0f}, // top-right corner
        {game.x + game.w / 2, kH - game.y - game.h / 2, true, 0.0f, 0.0f},
        {game.x + 80, kH - game.y - 360, true, -0.5f, 0.5f},
        {game.x - 1, kH - game.y - 10, false, 0, 0},
        {game.x + game.w + 1, kH - game.y - 10, false, 0, 0},
        {game.x + 10, kH - game.y + 1, false, 0, 0},
        {game.x + 10, kH - game.y - game.h - 1, false, 0, 0},
    };
    for (const Case& c : cases) {
        f32 x = 42, y = 42;
        EXPECT_EQ(PhoneMapPointer(game, kH, c.mx, c.my, &x, &y), c.inside) << c.mx << "," << c.my;
        EXPECT_EQ(x, c.inside ? c.x : 42) << c.mx << "," << c.my;
        EXPECT_EQ(y, c.inside ? c.y : 42) << c.mx << "," << c.my;
    }
}

TEST(PhonePointer, NoScreenBeforeTheFirstSwitch) {
    Rect none = {0, 0, 0, 0};
    f32 x = 0, y = 0;
    EXPECT_FALSE(PhoneMapPointer(none, kH, 300, 300, &x, &y));
}

TEST(PhoneKeys, APressCountsOnlyWhileNoKeyIsHeld) {
    i32 held = 0;
    EXPECT_TRUE(PhoneAcceptKeyPress(&held));  // Tab goes down: one toggle
    EXPECT_FALSE(PhoneAcceptKeyPress(&held)); // another key while it is held
    held = 0;                                 // any key up
    EXPECT_TRUE(PhoneAcceptKeyPress(&held));
}

// The pointer over polls: each poll's events on the latch, then what the
// record shows after it.
struct PointerEvent {
    char kind; // 'p' press at (x, y), 'm' move to (x, y), 'r' release
    f32 x, y;
};
struct PointerShown {
    i32 down;
    f32 x, y;
};
struct PointerCase {
    const char* name;
    std::vector<std::vector<PointerEvent>> polls;
    std::vector<PointerShown> shown; // after each poll
};

void pointerEvent(PointerLatch* pointer, FrameInput* input, const PointerEvent& e) {
    if (e.kind == 'p') {
        PointerLatchPress(pointer, input, e.x, e.y);
    } else if (e.kind == 'm') {
        PointerLatchMove(pointer, input, e.x, e.y);
    } else {
        PointerLatchRelease(pointer, input);
    }
}

TEST(PointerLatch, NoPressIsLostAndDragsAndLongPressesHold) {
    const PointerEvent r = {'r', 0, 0};
    const PointerCase cases[] = {
        {"tap", {{{'p', 0.5f, -0.25f}, r}, {}}, {{1, 0.5f, -0.25f}, {0, 0.5f, -0.25f}}},
        {"tap that moved before its release: shown where pressed, let go where it ended",
         {{{'p', 0.1f, 0.2f}, {'m', 0.6f, -0.4f}, r}, {}},
         {{1, 0.1f, 0.2f}, {0, 0.6f, -0.4f}}},
        {"long press",
         {{{'p', 0.3f, 0.3f}}, {}, {r}, {}},
         {{1, 0.3f, 0.3f}, {1, 0.3f, 0.3f}, {0, 0.3f, 0.3f}, {0, 0.3f, 0.3f}}},
        {"drag over three polls",
         {{{'p', 0, 0}}, {{'m', 0.2f, 0.1f}, {'m', 0.4f, 0.2f}}, {{'m', 0.5f, 0.5f}, r}},
         {{1, 0, 0}, {1, 0.4f, 0.2f}, {0, 0.5f, 0.5f}}},
        {"press and moves in one poll, released in the next",
         {{{'p', 0, 0}, {'m', 0.5f, 0.5f}}, {r}},
         {{1, 0.5f, 0.5f}, {0, 0.5f, 0.5f}}},
        {"moves without a press", {{{'m', 0.5f, 0.5f}}, {r}}, {{0, 0, 0}, {0, 0, 0}}},
        {"two taps in one poll: the second shows",
         {{{'p', 0.1f, 0.1f}, r, {'p', 0.2f, 0.2f}, r}, {}},
         {{1, 0.2f, 0.2f}, {0, 0.2f, 0.2f}}},
        {"a tap, then a press at the next poll",
         {{{'p', 0.1f, 0.1f}, r}, {{'p', 0.3f, 0.3f}}},
         {{1, 0.1f, 0.1f}, {1, 0.3f, 0.3f}}},
        {"a tap released by two buttons",
         {{{'p', 0.1f, 0.1f}, {'m', 0.2f, 0.2f}, r, r}, {}},
         {{1, 0.1f, 0.1f}, {0, 0.2f, 0.2f}}},
    };
    for (const PointerCase& c : cases) {
        PointerLatch pointer{};
        FrameInput input{};
        for (size_t poll = 0; poll < c.polls.size(); poll++) {
            PointerLatchNewPoll(&pointer, &input);
            for (const PointerEvent& e : c.polls[poll]) {
                pointerEvent(&pointer, &input, e);
            }
            PointerLatchEndPoll(pointer, &input);
            const PointerShown& want = c.shown[poll];
            EXPECT_EQ(input.pointerDown, want.down) << c.name << ", poll " << poll;
            EXPECT_EQ(input.pointerX, want.x) << c.name << ", poll " << poll;
            EXPECT_EQ(input.pointerY, want.y) << c.name << ", poll " << poll;
        }
    }
}

// The keys over polls: what the hook hears ("+k" a press of key k, "-k" a
// release) and whether a key shows as held after each poll.
std::string heard;

void hearKey(FrameInput*, i32 key, bool pressed) {
    heard += (heard.empty() ? "" : " ") + std::string(pressed ? "+" : "-") + std::to_string(key);
}

struct KeyEvent {
    char kind; // 'd' down, 'u' up
    i32 key;
};
struct KeysShown {
    i32 held;
    const char* heard;
};
struct KeyCase {
    const char* name;
    std::vector<std::vector<KeyEvent>> polls;
    std::vector<KeysShown> shown; // after each poll
};

TEST(KeyLatch, OneKeyActsAtATimeAndATapShowsForItsPoll) {
    const KeyCase cases[] = {
        {"tap", {{{'d', 1}, {'u', 1}}, {}}, {{1, "+1"}, {0, "-1"}}},
        {"held", {{{'d', 1}}, {}, {{'u', 1}}}, {{1, "+1"}, {1, ""}, {0, "-1"}}},
        {"a second key while one is held is ignored; any release ends the hold",
         {{{'d', 1}, {'d', 2}}, {{'u', 2}}, {{'u', 1}}},
         {{1, "+1"}, {0, "-2"}, {0, "-1"}}},
        {"a tap, then another key in the same poll: the release comes first",
         {{{'d', 1}, {'u', 1}, {'d', 2}}, {}},
         {{1, "+1 -1 +2"}, {1, ""}}},
        {"the release of a key pressed at an earlier poll acts at once",
         {{{'d', 1}}, {{'u', 1}, {'d', 2}, {'u', 2}}, {}},
         {{1, "+1"}, {1, "-1 +2"}, {0, "-2"}}},
        {"a tap ended by another key's release, then its own",
         {{{'d', 1}, {'u', 2}, {'u', 1}}, {}},
         {{1, "+1"}, {0, "-1"}}},
    };
    for (const KeyCase& c : cases) {
        KeyLatch keys{};
        FrameInput input{};
        for (size_t poll = 0; poll < c.polls.size(); poll++) {
            heard.clear();
            KeyLatchNewPoll(&keys, &input, hearKey);
            for (const KeyEvent& e : c.polls[poll]) {
                if (e.kind == 'd' && KeyLatchPress(&keys, &input, hearKey)) {
                    hearKey(&input, e.key, true);
                } else if (e.kind == 'u') {
                    KeyLatchRelease(&keys, &input, hearKey, e.key);
                }
            }
            EXPECT_EQ(PressLatchShown(keys.press), c.shown[poll].held)
                << c.name << ", poll " << poll;
            EXPECT_EQ(heard, c.shown[poll].heard) << c.name << ", poll " << poll;
        }
    }
}

TEST(KeyLatch, WorksWithoutAHook) {
    KeyLatch keys{};
    FrameInput input{};
    EXPECT_TRUE(KeyLatchPress(&keys, &input, nullptr));
    KeyLatchRelease(&keys, &input, nullptr, 1);
    EXPECT_EQ(PressLatchShown(keys.press), 1);
    KeyLatchNewPoll(&keys, &input, nullptr);
    EXPECT_EQ(PressLatchShown(keys.press), 0);
}

TEST(MemoryGraph, AllZeroSamplesDrawNothing) {
    MemoryGraph g;
    MemoryGraphInit(&g);
    MemoryGraphUpdate(&g, 0);
    for (int i = 0; i < kGraphSamples; i++) {
        EXPECT_EQ(g.vertices[2 * i].x, 1.0f);
        EXPECT_EQ(g.vertices[2 * i + 1].x, 1.0f);
    }
    EXPECT_EQ(g.largest, 0u);
    EXPECT_FLOAT_EQ(g.vertices[0].y, -1.0f);
    EXPECT_FLOAT_EQ(g.vertices[2 * 511].y, 511 * 2.0f / 512 - 1.0f);
}

TEST(MemoryGraph, SamplesShiftAndScaleByTheLargest) {
    MemoryGraph g;
    MemoryGraphInit(&g);
    MemoryGraphUpdate(&g, 400);
    EXPECT_EQ(g.vertices[2 * 511].x, -1.0f); // only the newest bar, at full length
    EXPECT_EQ(g.vertices[2 * 510].x, 1.0f);
    MemoryGraphUpdate(&g, 100);
    EXPECT_EQ(g.history[510], 400u);
    EXPECT_EQ(g.history[511], 100u);
    EXPECT_EQ(g.largest, 400u);
    EXPECT_EQ(g.vertices[2 * 510].x, -1.0f);
    EXPECT_EQ(g.vertices[2 * 511].x, 0.5f);
    EXPECT_EQ(g.vertices[2 * 511 + 1].x, 1.0f);
    for (int i = 0; i < 511; i++) {
        MemoryGraphUpdate(&g, 0);
    }
    EXPECT_EQ(g.history[0], 100u); // the 400 has scrolled out
    EXPECT_EQ(g.largest, 100u);
    EXPECT_EQ(g.vertices[0].x, -1.0f);
}

TEST(Timer, CounterSeconds) {
    EXPECT_EQ(CounterSeconds(1500000000ull, 1e9), 1.5f);
    EXPECT_EQ(CounterSeconds(0, 1e9), 0.0f);
}

TEST(Timer, CountsFromProcessStartWithAnOffset) {
    FrameInput in{};
    updateTimer(&in);
    EXPECT_GE(in.time, 100.0f); // never starts at 0
    EXPECT_LT(in.time, 1000.0f);
    f32 first = in.time;
    updateTimer(&in);
    EXPECT_GE(in.deltaTime, 0.0f);
    EXPECT_EQ(in.deltaTime, in.time - first);
    // A millisecond still shows at this magnitude.
    EXPECT_GT(in.time + 0.001f, in.time);
}

} // namespace
