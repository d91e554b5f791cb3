// The planet run's three entry points around its one game object, paced to
// at most 60 frames a second: the game moves a fixed step every frame, and
// the host neither sleeps nor waits for the display.
#include "engine/world.h"
#include "games/planetrun/asteroidgame.h"
#include "host/host.h"

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

const Clock::duration kFramePeriod = std::chrono::microseconds(16667);

AsteroidGame* game = nullptr;
Clock::time_point nextFrame;

// Sleeps until the frame's turn; a late frame starts the count afresh.
void pace() {
    const Clock::time_point now = Clock::now();
    if (now < nextFrame) {
        std::this_thread::sleep_until(nextFrame);
        nextFrame += kFramePeriod;
    } else {
        nextFrame = now + kFramePeriod;
    }
}

} // namespace

void GameInit() {
    game = new AsteroidGame();
    nextFrame = Clock::now();
}

i32 GameUpdate(FrameInput* input) {
    pace();
    if (!game->update(input)) {
        return 1;
    }
    game->getWorld()->drawAll(input);
    return 0;
}

void GameDestroy() {
    delete game;
    game = nullptr;
}
