// The ogre shooter's three screens, each filling the game screen when
// shown: the prolog (purple, the story and an ogre), the welcome screen
// (blue, the ship and the controls) and the kill screen (red). The game
// shows a little less than the whole picture, so everything stands well
// inside its edges.
#include "assets.h"
#include "lettering.h"
#include "noise.h"
#include "ogreblast.h"

namespace {

constexpr int kSide = 512;
constexpr float kCentre = kSide * 0.5f;
const Color kShadow = {0, 0, 0, 0.6f};
const Color kWhite = {1, 1, 1, 1};

void fillBackground(Canvas& c, const Color& top, const Color& bottom, uint32_t seed) {
    c.fillRoundedRectGradient(0, 0, kSide, kSide, 0, top, bottom);
    for (int i = 0; i < 90; i++) {
        uint32_t key = static_cast<uint32_t>(i);
        float r = 0.7f + 1.3f * HashUnit(key, seed + 2);
        c.fillCircle(HashUnit(key, seed) * kSide, HashUnit(key, seed + 1) * kSide, r,
                     {1, 1, 1, 0.7f});
    }
}

// A line of lettering no wider than the safe area, with a drop shadow.
void line(Canvas& c, Lettering& l, const char* text, int maxSize, float weight, float y,
          const Color& color) {
    int size = l.fit(text, maxSize, kSide * 0.64f, weight);
    l.drawCentred(c, text, size, weight, kCentre + 2, y + 3, kShadow);
    l.drawCentred(c, text, size, weight, kCentre, y, color);
}

// A framed box behind the lines, so each screen reads as a panel.
void panel(Canvas& c, float y0, float y1, const Color& border, const Color& fill) {
    c.fillRoundedRect(70, y0, kSide - 70, y1, 18, border);
    c.fillRoundedRect(75, y0 + 5, kSide - 75, y1 - 5, 14, fill);
}

// The ship seen from above, nose to the right, wings up and down.
void ship(Canvas& c, float cx, float cy, float s) {
    const Color hull = {0.80f, 0.84f, 0.90f, 1};
    const Color wing = {0.55f, 0.60f, 0.70f, 1};
    c.fillTriangle(cx - s * 0.4f, cy, cx - s * 0.9f, cy - s * 1.1f, cx + s * 0.3f, cy, wing);
    c.fillTriangle(cx - s * 0.4f, cy, cx - s * 0.9f, cy + s * 1.1f, cx + s * 0.3f, cy, wing);
    c.fillRoundedRect(cx - s * 1.1f, cy - s * 0.22f, cx + s * 0.7f, cy + s * 0.22f, s * 0.2f, hull);
    c.fillTriangle(cx + s * 0.6f, cy - s * 0.22f, cx + s * 1.3f, cy, cx + s * 0.6f, cy + s * 0.22f,
                   hull);
    c.fillCircle(cx + s * 0.25f, cy, s * 0.14f, {0.20f, 0.55f, 0.95f, 1});
    c.fillCircle(cx - s * 1.15f, cy, s * 0.16f, {1.0f, 0.55f, 0.10f, 1});
}

// A screen of the story: a title over a picture, three lines in a panel and
// the key to press, in the screen's own colours.
struct StoryScreen {
    Color top, bottom;
    uint32_t seed;
    const char* title;
    int titleSize;
    Color accent;
    void (*art)(Canvas& c);
    const char* lines[3];
    const char* prompt;
};

Canvas drawStory(Lettering& lettering, const StoryScreen& s) {
    Canvas c(kSide, kSide, {0, 0, 0, 1});
    fillBackground(c, s.top, s.bottom, s.seed);
    line(c, lettering, s.title, s.titleSize, 2.5f, 116, s.accent);
    s.art(c);
    panel(c, 266, 404, s.accent, Mix(s.bottom, s.top, 0.5f));
    for (int i = 0; i < 3; i++) {
        line(c, lettering, s.lines[i], 30, 1.0f, 308 + 38.0f * i, kWhite);
    }
    line(c, lettering, s.prompt, 36, 1.5f, 446, {1.0f, 0.85f, 0.30f, 1});
    return c;
}

void prologArt(Canvas& c) {
    DrawOgreHead(c, kCentre, 200, 52);
}

void welcomeArt(Canvas& c) {
    ship(c, kCentre, 186, 58);
}

} // namespace

Canvas DrawOgrePrologScreen(Lettering& lettering) {
    return drawStory(lettering,
                     {{0.22f, 0.05f, 0.30f, 1},
                      {0.05f, 0.01f, 0.09f, 1},
                      91,
                      "OGRE BLAST",
                      64,
                      {0.55f, 0.95f, 0.30f, 1},
                      prologArt,
                      {"THE OGRES ARE COMING.", "ONLY YOUR AWESOMENESS", "CAN STOP THEM."},
                      "PRESS RETURN"});
}

Canvas DrawOgreWelcomeScreen(Lettering& lettering) {
    return drawStory(lettering,
                     {{0.03f, 0.12f, 0.34f, 1},
                      {0.01f, 0.03f, 0.10f, 1},
                      93,
                      "WELCOME, PILOT",
                      52,
                      {0.50f, 0.85f, 1.0f, 1},
                      welcomeArt,
                      {"MOUSE: STEER THE SHIP", "SPACE OR A: FIRE", "FILL THE METER, SCORE BIG"},
                      "PRESS SPACE TO START"});
}

Canvas DrawOgreKillScreen(Lettering& lettering) {
    Canvas c(kSide, kSide, {0, 0, 0, 1});
    fillBackground(c, {0.42f, 0.03f, 0.03f, 1}, {0.10f, 0.0f, 0.0f, 1}, 97);
    line(c, lettering, "KILLED!", 72, 3.0f, 132, {1.0f, 0.90f, 0.25f, 1});
    panel(c, 186, 330, {1.0f, 0.90f, 0.25f, 1}, {0.20f, 0.01f, 0.01f, 1});
    line(c, lettering, "THE OGRES GOT", 34, 1.2f, 238, kWhite);
    line(c, lettering, "YOUR SHIP", 34, 1.2f, 286, kWhite);
    DrawOgreHead(c, kCentre, 378, 34);
    line(c, lettering, "PRESS RETURN TO FLY AGAIN", 32, 1.5f, 450, {1.0f, 0.85f, 0.30f, 1});
    return c;
}

bool WriteOgreblastPictures(const std::string& root, const char* fontFile) {
    Lettering lettering(fontFile);
    if (!lettering.ready()) {
        return false;
    }
    struct Output {
        const char* file;
        Canvas canvas;
        PngKind kind;
    };
    const Output outputs[] = {
        {"textures/prolog_screen.png", DrawOgrePrologScreen(lettering), PngKind::Rgb},
        {"textures/welcome_screen.png", DrawOgreWelcomeScreen(lettering), PngKind::Rgb},
        {"textures/kill_screen.png", DrawOgreKillScreen(lettering), PngKind::Rgb},
        {"textures/space.png", DrawOgreSpace(), PngKind::Rgb},
        {"textures/space3.png", DrawOgreNebula(), PngKind::Rgb},
        {"textures/lazor.png", DrawOgreLaser(), PngKind::Rgb},
        {"textures/awesome.png", DrawOgreMeterBar(), PngKind::Rgb},
        {"textures/smajl.png", DrawOgreSkin(), PngKind::Rgb},
    };
    bool ok = true;
    for (const Output& out : outputs) {
        ok = out.canvas.savePng(root + "/" + out.file, out.kind) && ok;
    }
    return ok;
}
