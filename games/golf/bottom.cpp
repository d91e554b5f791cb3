#include "games/golf/bottom.h"

#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/world.h"
#include "games/golf/projectgame.h"

Bottom::Bottom(ProjectGame* game) {
    Sprite* sprite = SceneGraph::createSprite("board", "../project/woodbg.png", 2);
    sprite->setSize(vec2(60, 35));
    sprite->setTranslation(0, 0, -12);
    sprite->setActive(true);
    game->getWorld()->attachChild(sprite);
    game->addObject(this);
}
