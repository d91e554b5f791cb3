#pragma once

#include "engine/frameinput.h"
#include "engine/platform.h"
#include "host/phone.h"

// The platform layer: window, EGL context, phone picture, orientation, timer,
// events, pictures and the host's own drawing. It also defines the services
// the engine declares in engine/platform.h. Nothing else of the engine or the
// host touches SDL, EGL or the operating system.

// Turns the termination signals into a request to end, pins the process,
// starts the timer, loads the phone picture, opens the window and makes the
// EGL context current. Any failure is an error report.
void initPlatform(u8 startPortrait);
// Pins the process to the first of the processors it may run on.
void pinToFirstProcessor();
// Builds the host's three programs and the phone-picture texture.
void initHostDrawing();

void toggleOrientation();
u8 PlatformGetOrientation();
void updateTimer(FrameInput* input);
// Empties the event queue into the record; 1 when the window was closed or
// a termination signal came (the events after it wait for the next poll).
i32 pollEvents(FrameInput* input);
// A program's own targets for the pointer: called for a mouse press, or a
// drag while the pointer is held, at window pixels (mx, my) from the
// top-left, before the game-screen rule; true when it took the event, which
// then holds the pointer where it was.
using PointerTargets = bool (*)(i32 mx, i32 my);
// pollEvents that asks the program's targets first.
i32 pollEventsWith(FrameInput* input, PointerTargets targets);
// pollEvents that also hands the key events to the hook (host/phone.h).
i32 pollEventsWithKeys(FrameInput* input, KeyHook hook);
// 1 while the last poll shows a key held (a key tapped within it included),
// once escape was pressed, and once a termination signal (SIGTERM, SIGINT,
// SIGHUP) came.
i32 PlatformKeyHeld();
i32 PlatformQuitRequested();
i32 PlatformSignalled();

// The window side (the phone picture's height) and the current rectangles.
i32 PlatformWindowSide();
const PhoneLayout& PlatformLayout();

void updateMemoryGraph();
void PlatformDrawPhone();
// Draws both margins, then the memory graph; leaves the viewport on margin B.
void PlatformDrawMargins();
void PlatformSwapBuffers();
