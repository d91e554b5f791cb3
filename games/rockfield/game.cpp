// The rockfield program's three entry points around its one game object.
#include "engine/world.h"
#include "games/rockfield/fieldgame.h"
#include "host/host.h"

namespace {

Game* game = nullptr;

} // namespace

void GameInit() {
    game = new Game();
}

i32 GameUpdate(FrameInput* input) {
    game->update(input);
    game->getWorld()->drawAll(input);
    return 0;
}

void GameDestroy() {
    delete game;
    game = nullptr;
}
