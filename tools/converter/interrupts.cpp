#include "tools/converter/interrupts.h"

#include <climits>
#include <cstring>
#include <unistd.h>

namespace {

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Written only while the signals are held back, read by the handler.
char pendingRemoval[PATH_MAX];

void onInterrupt(int signal) {
    if (pendingRemoval[0] != '\0') {
        unlink(pendingRemoval);
    }
    // The handler was reset to the default on entry: the signal, held back
    // until this returns, then ends the program.
    raise(signal);
}

sigset_t interruptSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kSignals) {
        sigaddset(&set, signal);
    }
    return set;
}

} // namespace

void catchInterrupts() {
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    action.sa_mask = interruptSet();
    action.sa_flags = SA_RESETHAND;
    for (int signal : kSignals) {
        struct sigaction previous;
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN) {
            sigaction(signal, &action, nullptr);
        }
    }
}

void removeOnInterrupt(const char* path) {
    if (path == nullptr || std::strlen(path) >= sizeof pendingRemoval) {
        pendingRemoval[0] = '\0';
        return;
    }
    std::strcpy(pendingRemoval, path);
}

InterruptHold::InterruptHold() {
    sigset_t set = interruptSet();
    sigprocmask(SIG_BLOCK, &set, &saved_);
}

InterruptHold::~InterruptHold() {
    sigprocmask(SIG_SETMASK, &saved_, nullptr);
}
