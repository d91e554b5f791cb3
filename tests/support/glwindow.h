#pragma once

#include "host/ape.h"

#include <cstdlib>

// Opens the phone window with its GL context once per test program, as the
// host does at start-up. False when there is no X display to open it on.
inline bool StartGlWindow() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == 0) {
        return false;
    }
    static const bool started = [] {
        initPlatform(0);
        initHostDrawing();
        return true;
    }();
    return started;
}
