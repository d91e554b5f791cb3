#include "host/framepacer.h"

#include <thread>

FramePacer::FramePacer(i32 framesPerSecond)
    : period(std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) /
             framesPerSecond),
      nextFrame(Clock::now()) {}

void FramePacer::wait() {
    const Clock::time_point now = Clock::now();
    if (now < nextFrame) {
        std::this_thread::sleep_until(nextFrame);
        nextFrame += period;
    } else {
        nextFrame = now + period;
    }
}
