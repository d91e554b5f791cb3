// The asteroid shooter's three entry points around its one game object.
#include "games/asteroidshooter/asteroidgame.h"
#include "host/ape.h"
#include "host/host.h"

namespace {

AsteroidGame* game = nullptr;

} // namespace

void GameInit() {
    game = new AsteroidGame(PlatformGetOrientation());
}

i32 GameUpdate(FrameInput* input) {
    return game->update(input, PlatformGetOrientation()) ? 0 : 1;
}

void GameDestroy() {
    delete game;
    game = nullptr;
}
