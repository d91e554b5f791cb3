#pragma once

#include "host/frameinput.h"
#include "host/phone.h"

// The platform layer: window, EGL context, phone picture, orientation, timer,
// events, pictures and the host's own drawing. Nothing else of the engine or
// the host touches SDL, EGL or the operating system.

// Pins the process, starts the timer, loads the phone picture, opens the
// window and makes the EGL context current. Any failure is an error report.
void initPlatform(u8 startPortrait);
// Builds the host's three programs and the phone-picture texture.
void initHostDrawing();

void toggleOrientation();
u8 PlatformGetOrientation();
void updateTimer(FrameInput* input);
// Empties the event queue into the record; 1 when the window was closed.
i32 pollEvents(FrameInput* input);
// A program's own use of the keys: told of every accepted key press (after
// the host's Tab and Escape) and of every key release, with the key's code.
using KeyHook = void (*)(FrameInput* input, i32 key, bool pressed);
// pollEvents that also hands the key events to the hook.
i32 pollEventsWith(FrameInput* input, KeyHook hook);
// 1 while a key is held, and once escape was pressed.
i32 PlatformKeyHeld();
i32 PlatformQuitRequested();

// A picture as tightly packed rows, bottom row last as loaded; pixels is null
// when the file cannot be read.
void PlatformLoadImage(const char* file, u8** pixels, u32* width, u32* height, u32* bytesPerPixel);
void PlatformFreeImage(u8* pixels);

// A viewport relative to the game screen.
void PlatformSetViewport(i32 x, i32 y, i32 w, i32 h);
void PlatformGetScreenSize(u32* width, u32* height);
// The window side (the phone picture's height) and the current rectangles.
i32 PlatformWindowSide();
const PhoneLayout& PlatformLayout();

void updateMemoryGraph();
void PlatformDrawPhone();
// Draws both margins, then the memory graph; leaves the viewport on margin B.
void PlatformDrawMargins();
void PlatformSwapBuffers();
