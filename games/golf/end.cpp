#include "games/golf/end.h"

#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/text.h"
#include "games/golf/golfscene.h"
#include "games/golf/player.h"
#include "games/golf/projectgame.h"
#include "games/golf/rules.h"

#include <cstdio>

End::End(ProjectGame* game, Player* ball_)
    : sprite(GolfCreateScreen(game, "end", "../project/tmpend.png")), ball(ball_) {
    game->addObject(this);
}

void End::update(FrameInput* input) {
    if (input->gameMode != kGolfCompleted) {
        sprite->setActive(false);
        return;
    }
    const GolfBall& position = ball->getBall();
    sprite->setTranslation(position.x, position.y, kGolfScreenDepth);
    sprite->setActive(true);
    if (GolfEndStep(input)) {
        ball->reset();
    }
    char line[64];
    std::snprintf(line, sizeof line, "Level completed with %d shots", input->shotCount);
    SceneGraph::getText()->print(line, -0.5f, -0.5f, 300, 20);
}
