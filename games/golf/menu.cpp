#include "games/golf/menu.h"

#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/world.h"
#include "games/golf/player.h"
#include "games/golf/projectgame.h"
#include "games/golf/rules.h"

namespace {

// 12 units in front of the camera, where the picture fills the screen.
const f32 kScreenDepth = 68.0f;
// During play the picture sits up and to the right, so only its bottom-left
// corner, the menu button, shows in the screen's top-right corner.
const f32 kButtonOffsetX = 27.2f;
const f32 kButtonOffsetY = 22.7f;

} // namespace

Menu::Menu(ProjectGame* game, Player* ball_)
    : sprite(SceneGraph::createSprite("menu", "../project/tmpmenu.png", 5)), ball(ball_) {
    sprite->setSize(vec2(14.4f, 12.0f));
    sprite->setTranslation(0, 0, kScreenDepth);
    sprite->setActive(true);
    game->getWorld()->attachChild(sprite);
    game->addObject(this);
}

void Menu::update(FrameInput* input) {
    const GolfBall& position = ball->getBall();
    if (input->gameMode != kGolfMenu) {
        sprite->setTranslation(position.x + kButtonOffsetX, position.y + kButtonOffsetY,
                               kScreenDepth);
        return;
    }
    sprite->setTranslation(position.x, position.y, kScreenDepth);
    if (GolfMenuStep(input) == kGolfMenuRestart) {
        ball->reset();
    }
}
