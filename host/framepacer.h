#pragma once

#include "engine/types.h"

#include <chrono>

// Holds a game that moves a fixed step every frame to at most a given number
// of frames a second: the host itself neither sleeps nor waits for the
// display.
class FramePacer {
  public:
    explicit FramePacer(i32 framesPerSecond);

    // Sleeps until this frame's turn; a late frame starts the count afresh.
    void wait();

  private:
    using Clock = std::chrono::steady_clock;

    Clock::duration period;
    Clock::time_point nextFrame;
};
