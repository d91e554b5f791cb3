// The ogre shooter's three entry points around its one game object.
#include "engine/world.h"
#include "games/ogreblast/awesomenessgame.h"
#include "host/host.h"

namespace {

AwesomenessGame* game = nullptr;

} // namespace

void GameInit() {
    game = new AwesomenessGame();
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
