#pragma once

#include "host/ape.h"

// Opens the phone window with its GL context as the host does. The host pins
// the process to the first processor it may run on, so `taskset -c N` keeps
// a benchmark away from other programs; it stays on one processor, as a game
// does.
inline void OpenBenchWindow() {
    initPlatform(0);
    initHostDrawing();
}
