#include "games/golf/menu.h"

#include "engine/sprite.h"
#include "games/golf/golfscene.h"
#include "games/golf/player.h"
#include "games/golf/projectgame.h"
#include "games/golf/rules.h"

namespace {

// During play the picture sits up and to the right, so only its bottom-left
// corner, the menu button, shows in the screen's top-right corner.
const f32 kButtonOffsetX = 27.2f;
const f32 kButtonOffsetY = 22.7f;

} // namespace

Menu::Menu(ProjectGame* game, Player* ball_)
    : sprite(GolfCreateScreen(game, "menu", "../project/tmpmenu.png")), ball(ball_) {
    sprite->setActive(true);
    game->addObject(this);
}

void Menu::update(FrameInput* input) {
    const GolfBall& position = ball->getBall();
    if (input->gameMode != kGolfMenu) {
        sprite->setTranslation(position.x + kButtonOffsetX, position.y + kButtonOffsetY,
                               kGolfScreenDepth);
        return;
    }
    sprite->setTranslation(position.x, position.y, kGolfScreenDepth);
    if (GolfMenuStep(input) == kGolfMenuRestart) {
        ball->reset();
    }
}
