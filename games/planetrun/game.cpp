// The planet run's three entry points around its one game object, paced to
// at most 60 frames a second, as the game moves a fixed step every frame.
#include "engine/world.h"
#include "games/planetrun/asteroidgame.h"
#include "host/framepacer.h"
#include "host/host.h"

namespace {

AsteroidGame* game = nullptr;
FramePacer* pacer = nullptr;

} // namespace

void GameInit() {
    game = new AsteroidGame();
    pacer = new FramePacer(60);
}

i32 GameUpdate(FrameInput* input) {
    pacer->wait();
    if (!game->update(input)) {
        return 1;
    }
    game->getWorld()->drawAll(input);
    return 0;
}

void GameDestroy() {
    delete game;
    game = nullptr;
    delete pacer;
    pacer = nullptr;
}
