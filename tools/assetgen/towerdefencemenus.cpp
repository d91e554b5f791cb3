// The tower-defence game's touch menu: three pictures of the bar along the
// bottom of the screen, one per menu state, each with five buttons. The
// bar's mesh maps the picture with u = 1 - x, so each picture is drawn as
// it reads and then mirrored left to right.
#include "assets.h"
#include "lettering.h"

#include <algorithm>

namespace {

constexpr int kWidth = 512;
constexpr int kHeight = 64;
// The buttons' right edges as fractions of the bar: the game's hit test
// divides it at x = -15.5, -4, 7.5 and 19 of its 54 units.
constexpr float kEdges[5] = {11.5f / 54, 23.0f / 54, 34.5f / 54, 46.0f / 54, 1.0f};
const Color kShadow = {0, 0, 0, 0.55f};
const Color kInk = {1, 1, 1, 1};

// A button's label and colours; a tower icon, in its colour, stands left of
// the label when the icon's alpha is above zero.
struct Button {
    const char* label;
    Color top, bottom;
    Color icon;
};

void background(Canvas& c) {
    c.fillRoundedRectGradient(0, 0, kWidth, kHeight, 0, {0.20f, 0.22f, 0.28f, 1},
                              {0.06f, 0.07f, 0.10f, 1});
}

float left(int i) {
    return i == 0 ? 0.0f : kEdges[i - 1] * kWidth;
}

float right(int i) {
    return kEdges[i] * kWidth;
}

// A small tower in a kind's colour, standing on (x, base).
void towerIcon(Canvas& c, float x, float base, const Color& color) {
    c.fillRoundedRect(x - 6, base - 22, x + 6, base, 2, color);
    c.fillRoundedRect(x - 8, base - 26, x + 8, base - 20, 1, color);
    c.fillRoundedRect(x + 4, base - 24, x + 14, base - 21, 1, {0.15f, 0.15f, 0.15f, 1});
}

// A raised button filling its part of the bar with a small margin.
void drawButton(Canvas& c, Lettering& l, int i, const Button& b) {
    const float inset = 4, border = 2, radius = 10;
    float x0 = left(i) + inset, x1 = right(i) - inset, y0 = inset, y1 = kHeight - inset;
    c.fillRoundedRect(x0 + 2, y0 + 3, x1 + 2, y1 + 3, radius, kShadow);
    c.fillRoundedRect(x0, y0, x1, y1, radius, {0.92f, 0.92f, 0.88f, 1});
    c.fillRoundedRectGradient(x0 + border, y0 + border, x1 - border, y1 - border, radius - border,
                              b.top, b.bottom);
    const float iconWidth = b.icon.a > 0 ? 22.0f : 0.0f;
    int size = l.fit(b.label, 26, (x1 - x0 - iconWidth) * 0.86f, 1.2f);
    float cx = (x0 + x1 + iconWidth) * 0.5f, baseline = (y0 + y1) * 0.5f + 0.36f * size;
    l.drawCentred(c, b.label, size, 1.2f, cx + 1, baseline + 2, kShadow);
    l.drawCentred(c, b.label, size, 1.2f, cx, baseline, kInk);
    if (b.icon.a > 0) {
        towerIcon(c, x0 + 12, y1 - 8, b.icon);
    }
}

void mirror(Canvas& c) {
    for (int y = 0; y < c.height(); y++) {
        for (int x = 0; x < c.width() / 2; x++) {
            Color a = c.get(x, y);
            c.put(x, y, c.get(c.width() - 1 - x, y));
            c.put(c.width() - 1 - x, y, a);
        }
    }
}

Canvas drawBar(Lettering& l, const Button (&buttons)[5]) {
    Canvas c(kWidth, kHeight, {0, 0, 0, 1});
    background(c);
    for (int i = 0; i < 5; i++) {
        drawButton(c, l, i, buttons[i]);
    }
    return c;
}

const Color kBlueTop = {0.35f, 0.55f, 0.95f, 1};
const Color kBlueBottom = {0.12f, 0.25f, 0.60f, 1};
const Color kGreyTop = {0.50f, 0.50f, 0.54f, 1};
const Color kGreyBottom = {0.25f, 0.25f, 0.28f, 1};
const Color kBackTop = {0.90f, 0.45f, 0.25f, 1};
const Color kBackBottom = {0.60f, 0.18f, 0.08f, 1};
const Color kDarkTop = {0.16f, 0.17f, 0.20f, 1};
const Color kDarkBottom = {0.10f, 0.10f, 0.12f, 1};
const Color kNoIcon = {0, 0, 0, 0};

} // namespace

Canvas DrawTowerDefenceBaseMenu(Lettering& lettering) {
    const Button buttons[5] = {
        {"TOWERS", {0.35f, 0.75f, 0.35f, 1}, {0.12f, 0.45f, 0.15f, 1}, kNoIcon},
        {"UPGRADE", {0.85f, 0.65f, 0.25f, 1}, {0.55f, 0.35f, 0.08f, 1}, kNoIcon},
        {"PAN", kBlueTop, kBlueBottom, kNoIcon},
        {"ROTATE", kBlueTop, kBlueBottom, kNoIcon},
        {"TD", kDarkTop, kDarkBottom, kNoIcon},
    };
    Canvas c = drawBar(lettering, buttons);
    mirror(c);
    return c;
}

Canvas DrawTowerDefenceTowerMenu(Lettering& lettering) {
    // The kinds' colours, as their materials tint the towers.
    const Button buttons[5] = {
        {"CANNON", kGreyTop, kGreyBottom, {0.95f, 0.55f, 0.25f, 1}},
        {"SPLASH", kGreyTop, kGreyBottom, {0.95f, 0.95f, 0.95f, 1}},
        {"FROST", kGreyTop, kGreyBottom, {0.30f, 0.40f, 1.00f, 1}},
        {"RAPID", kGreyTop, kGreyBottom, {0.95f, 0.15f, 0.35f, 1}},
        {"BACK", kBackTop, kBackBottom, kNoIcon},
    };
    Canvas c = drawBar(lettering, buttons);
    mirror(c);
    return c;
}

Canvas DrawTowerDefenceUpgradeMenu(Lettering& lettering) {
    const Button buttons[5] = {
        {"RANGE", kBlueTop, kBlueBottom, kNoIcon}, {"DAMAGE", kBlueTop, kBlueBottom, kNoIcon},
        {"SPEED", kBlueTop, kBlueBottom, kNoIcon}, {"", kDarkTop, kDarkBottom, kNoIcon},
        {"BACK", kBackTop, kBackBottom, kNoIcon},
    };
    Canvas c = drawBar(lettering, buttons);
    mirror(c);
    return c;
}
