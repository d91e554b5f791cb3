#include "games/golf/end.h"

#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/text.h"
#include "engine/world.h"
#include "games/golf/player.h"
#include "games/golf/projectgame.h"
#include "games/golf/rules.h"

#include <cstdio>

namespace {

const f32 kScreenDepth = 68.0f;

} // namespace

End::End(ProjectGame* game, Player* ball_)
    : sprite(SceneGraph::createSprite("end", "../project/tmpend.png", 5)), ball(ball_) {
    sprite->setSize(vec2(14.4f, 12.0f));
    sprite->setTranslation(0, 0, kScreenDepth);
    game->getWorld()->attachChild(sprite);
    game->addObject(this);
}

void End::update(FrameInput* input) {
    if (input->gameMode != kGolfCompleted) {
        sprite->setActive(false);
        return;
    }
    const GolfBall& position = ball->getBall();
    sprite->setTranslation(position.x, position.y, kScreenDepth);
    sprite->setActive(true);
    if (GolfEndStep(input)) {
        ball->reset();
    }
    char line[64];
    std::snprintf(line, sizeof line, "Level completed with %d shots", input->shotCount);
    SceneGraph::getText()->print(line, -0.5f, -0.5f, 300, 20);
}
