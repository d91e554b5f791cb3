// The golf program's three entry points around its one game object.
#include "engine/world.h"
#include "games/golf/projectgame.h"
#include "host/host.h"

namespace {

ProjectGame* game = nullptr;

} // namespace

void GameInit() {
    game = new ProjectGame();
}

i32 GameUpdate(FrameInput* input) {
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
