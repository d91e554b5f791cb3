// The maze-chase program's entry points around its one game object. The
// game receives the program's high-score list and gives it back at exit.
#include "games/mazechase/game.h"

#include "games/mazechase/highscore.h"
#include "games/mazechase/nibblorgame.h"
#include "host/host.h"

namespace {

NibblorGame* game = nullptr;
High_Score* scores = nullptr;

} // namespace

void GameInit(High_Score* highScores, i32 level) {
    scores = highScores;
    game = new NibblorGame(highScores, level);
}

i32 GameUpdate(FrameInput* input) {
    if (!game->update(input)) {
        return 1;
    }
    game->draw(input);
    return 0;
}

void GameDestroy() {
    delete game;
    game = nullptr;
    delete scores;
    scores = nullptr;
}
