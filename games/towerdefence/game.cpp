// The tower-defence program's three entry points around its one game object.
#include "engine/world.h"
#include "games/towerdefence/towerdefgame.h"
#include "host/host.h"

namespace {

TowerDefGame* game = nullptr;

} // namespace

void GameInit() {
    game = new TowerDefGame();
}

i32 GameUpdate(FrameInput* input) {
    game->update(input);
    game->getGameWorld()->drawAll(input);
    game->getGuiWorld()->drawAll(input);
    return 0;
}

void GameDestroy() {
    delete game;
    game = nullptr;
}
