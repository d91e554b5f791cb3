// The host frame: start-up, splash, frame loop and shutdown, in their fixed
// order, around the game's three entry points.
#include "host/ape.h"
#include "host/host.h"

#include "engine/memory.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/text.h"

#include <GLES2/gl2.h>
#include <cstdio>

namespace {

FrameInput input;
f32 nextGraphTime;

const char* const kSplashText =
    "~c5369~bTessaly~b~c9999 (v ~i0.2a~i)\n"
    "\n"
    "A small real-time 3D engine for a phone-sized screen.\n"
    "\n\n\n"
    "Press '~c2929tab~c9999' to swap between portrait and landscape orientation.\n"
    "\n"
    "Press '~c2929esc~c9999' to exit.\n"
    "\n\n\n\n"
    "Press any key to continue...";

// Queues text on the engine's text printer and prints the queue at once.
void printNow(const char* text, f32 x, f32 y, u32 width, u32 lines) {
    Text* printer = SceneGraph::getText();
    printer->print(text, x, y, width, lines);
    printer->printAll();
}

void printQueued() {
    SceneGraph::getText()->printAll();
}

// False when the start screen ended the program: the game was never made.
bool startUp() {
    input = FrameInput{};
    input.gameMode = kHostSettings.startGameMode;
    nextGraphTime = 0.0f;
    LogOpen();
    initPlatform(kHostSettings.startPortrait);
    SceneGraph::init();
    glClearColor(0, 0, 0, 1);
    initHostDrawing();
    updateTimer(&input);
    input.deltaTime = 0.0f;
    if (!kHostSettings.startScreen(&input)) {
        return false;
    }
    toggleOrientation();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    kHostSettings.gameInit();
    return true;
}

void setGameViewport() {
    const Rect& game = PlatformLayout().game;
    glViewport(game.x, game.y, game.w, game.h);
    SceneGraph::setScreenSize(game.w, game.h);
}

void drawMemoryFigures() {
    char figures[64];
    std::snprintf(figures, sizeof figures, "Allocated:\n %d B\n\nPeak:\n %d B\n",
                  static_cast<i32>(MemoryGetFramePeak()), static_cast<i32>(MemoryGetPeak()));
    GL_ASSERT();
    const Rect& margin = PlatformLayout().marginB;
    SceneGraph::setScreenSize(margin.w, margin.h);
    printNow(figures, -0.9f, 0.5f, 250, 5);
}

// The last report in red over the whole window.
void drawLastReport() {
    i32 side = PlatformWindowSide();
    glViewport(0, 0, side, side);
    SceneGraph::setScreenSize(side, side);
    ReportDrawLast(static_cast<u32>(side - 50));
    printQueued();
}

// One pass of the frame loop; false when the loop ends.
bool frame() {
    setGameViewport();
    if (kHostSettings.pollEvents(&input) != 0) {
        return false;
    }
    updateTimer(&input);
    i32 result = GameUpdate(&input);
    if (result != 0 || PlatformQuitRequested() != 0) {
        return false;
    }
    printQueued();
    PlatformDrawPhone();
    if (input.time > nextGraphTime) {
        updateMemoryGraph();
        nextGraphTime = input.time + 0.1f;
    }
    printQueued();
    PlatformDrawMargins();
    drawMemoryFigures();
    drawLastReport();
    PlatformSwapBuffers();
    return true;
}

void shutDown() {
    SceneGraph::shutdown();
    LogClose();
    if (MemoryGetTotal() != 0 || MemoryGetBlockCount() != 0) {
        MemoryDump();
    }
}

} // namespace

bool HostSplash(FrameInput* in) {
    f32 endTime = in->time + 7.0f;
    i32 side = PlatformWindowSide();
    glViewport(0, 0, side, side);
    SceneGraph::setScreenSize(side, side);
    f32 passTime = in->time;
    do {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        printNow(kSplashText, -0.8f, 0.8f, 450, 20);
        PlatformSwapBuffers();
        if (PlatformKeyHeld() != 0 || in->pointerDown != 0) {
            break;
        }
        kHostSettings.pollEvents(in);
        if (PlatformSignalled() != 0) {
            return false;
        }
        updateTimer(in);
        passTime = in->time;
    } while (passTime < endTime);
    return true;
}

int HostRun() {
    if (startUp()) {
        while (frame()) {
        }
        GameDestroy();
    }
    shutDown();
    return 0;
}
