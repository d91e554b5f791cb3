// The golf demo's menu and level-completed screen. Each fills the game
// screen when shown, the picture's top row at the top; while the ball is in
// play only the menu's bottom-left corner shows, in the screen's top-right
// corner, so that corner holds the tab that opens the menu.
#include "assets.h"
#include "lettering.h"

namespace {

constexpr int kSide = 512;
const Color kShadow = {0, 0, 0, 0.55f};

struct Box {
    float x0, y0, x1, y1;
};

// The game's touch boxes as fractions of the picture from its top-left.
constexpr Box kContinue = {0.125f, 0.20f, 0.875f, 0.45f};
constexpr Box kRestart = {0.125f, 0.625f, 0.875f, 0.85f};
// The part of the menu that shows during play is a little under 6 % of it
// each way; the tab covers that and a margin.
constexpr float kTab = 0.066f;

void fillBackground(Canvas& c, const Color& top, const Color& bottom) {
    c.fillRoundedRectGradient(0, 0, kSide, kSide, 0, top, bottom);
}

// A label with a soft drop shadow, centred on cx, standing on baseline y.
void label(Canvas& c, Lettering& l, const char* text, int size, float weight, float cx, float y,
           const Color& color) {
    l.drawCentred(c, text, size, weight, cx + 2, y + 3, kShadow);
    l.drawCentred(c, text, size, weight, cx, y, color);
}

// A raised button drawn a few pixels inside the touch box, its label centred.
void button(Canvas& c, Lettering& l, const Box& box, const char* text, const Color& top,
            const Color& bottom) {
    const float inset = 8, border = 4, radius = 20;
    float x0 = box.x0 * kSide + inset, x1 = box.x1 * kSide - inset;
    float y0 = box.y0 * kSide + inset, y1 = box.y1 * kSide - inset;
    c.fillRoundedRect(x0 + 3, y0 + 5, x1 + 3, y1 + 5, radius, kShadow);
    c.fillRoundedRect(x0, y0, x1, y1, radius, {0.95f, 0.95f, 0.90f, 1});
    c.fillRoundedRectGradient(x0 + border, y0 + border, x1 - border, y1 - border, radius - border,
                              top, bottom);
    int size = l.fit(text, 52, (x1 - x0) * 0.8f, 2.0f);
    label(c, l, text, size, 2.0f, (x0 + x1) * 0.5f, (y0 + y1) * 0.5f + 0.36f * size, {1, 1, 1, 1});
}

// The tab in the bottom-left corner: bright, rounded only where it meets the
// rest of the picture, with a short three-line mark.
void menuTab(Canvas& c) {
    float side = kTab * kSide;
    c.fillRoundedRect(-16, kSide - side, side, kSide + 16, 8, {1.0f, 0.80f, 0.18f, 1});
    const float cx = side * 0.42f, cy = kSide - side * 0.42f;
    for (int i = -1; i <= 1; i++) {
        c.fillRoundedRect(cx - 8, cy + i * 6 - 1.5f, cx + 8, cy + i * 6 + 1.5f, 1.5f,
                          {0.20f, 0.14f, 0.05f, 1});
    }
}

// A flag on its pole beside a ball at rest.
void flag(Canvas& c, float x, float top, float bottom) {
    c.fillRoundedRect(x - 2, top, x + 2, bottom, 1, {0.90f, 0.90f, 0.88f, 1});
    c.fillTriangle(x + 2, top, x + 46, top + 15, x + 2, top + 30, {0.90f, 0.16f, 0.14f, 1});
    c.fillCircle(x - 16, bottom - 6, 7, {0.97f, 0.97f, 0.97f, 1});
}

} // namespace

Canvas DrawGolfMenu(Lettering& lettering) {
    Canvas c(kSide, kSide, {0, 0, 0, 1});
    fillBackground(c, {0.07f, 0.22f, 0.15f, 1}, {0.02f, 0.08f, 0.05f, 1});
    c.fillRoundedRect(16, 16, kSide - 16, kSide - 16, 28, {0.30f, 0.52f, 0.38f, 1});
    c.fillRoundedRectGradient(20, 20, kSide - 20, kSide - 20, 24, {0.10f, 0.30f, 0.20f, 1},
                              {0.04f, 0.14f, 0.09f, 1});
    label(c, lettering, "MENU", 44, 1.5f, kSide * 0.5f, 76, {0.95f, 0.95f, 0.88f, 1});
    button(c, lettering, kContinue, "CONTINUE", {0.36f, 0.78f, 0.36f, 1}, {0.14f, 0.48f, 0.18f, 1});
    button(c, lettering, kRestart, "RESTART", {0.95f, 0.58f, 0.22f, 1}, {0.72f, 0.28f, 0.08f, 1});
    menuTab(c);
    return c;
}

Canvas DrawGolfEnd(Lettering& lettering) {
    Canvas c(kSide, kSide, {0, 0, 0, 1});
    fillBackground(c, {0.07f, 0.10f, 0.24f, 1}, {0.02f, 0.03f, 0.09f, 1});
    c.fillRoundedRect(28, 28, kSide - 28, 248, 26, {0.95f, 0.78f, 0.30f, 1});
    c.fillRoundedRectGradient(32, 32, kSide - 32, 244, 22, {0.18f, 0.24f, 0.50f, 1},
                              {0.08f, 0.12f, 0.30f, 1});
    flag(c, kSide * 0.5f, 52, 124);
    int size = lettering.fit("LEVEL COMPLETED", 48, kSide - 112, 2.0f);
    label(c, lettering, "LEVEL COMPLETED", size, 2.0f, kSide * 0.5f, 180, {1.0f, 0.90f, 0.55f, 1});
    label(c, lettering, "TAP TO PLAY AGAIN", 24, 0.8f, kSide * 0.5f, 224, {0.80f, 0.86f, 1.0f, 1});
    return c;
}
