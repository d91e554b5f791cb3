#pragma once

#include <signal.h>

// A signal that ends the program (SIGINT, SIGTERM, SIGHUP, SIGPIPE) first
// removes the one file named here, the output's temporary, then ends the
// program as the signal would have.

// Installs the handlers; a signal that was ignored when the program started
// stays ignored.
void catchInterrupts();

// The file to remove when a signal ends the program; nullptr for none. Call
// it while an InterruptHold is held, together with the step that makes or
// removes the file, so that no signal comes between the two.
void removeOnInterrupt(const char* path);

// Holds back those signals for its lifetime; one that comes meanwhile is
// handled when it ends.
class InterruptHold {
  public:
    InterruptHold();
    ~InterruptHold();
    InterruptHold(const InterruptHold&) = delete;
    InterruptHold& operator=(const InterruptHold&) = delete;

  private:
    sigset_t saved_;
};
