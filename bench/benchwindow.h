#pragma once

#include "host/ape.h"

#include <sched.h>

// Opens the phone window with its GL context as the host does. The host pins
// the process to processor 0; a benchmark then moves to the first processor
// it was allowed to start on, so `taskset -c N` keeps it away from other
// programs pinned to processor 0. It stays on one processor, as a game does.
inline void OpenBenchWindow() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    sched_getaffinity(0, sizeof allowed, &allowed);
    initPlatform(0);
    initHostDrawing();
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &allowed)) {
            cpu_set_t one;
            CPU_ZERO(&one);
            CPU_SET(cpu, &one);
            sched_setaffinity(0, sizeof one, &one);
            return;
        }
    }
}
