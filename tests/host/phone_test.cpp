#include "host/ape.h"
#include "host/phone.h"

#include <cmath>
#include <gtest/gtest.h>

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
