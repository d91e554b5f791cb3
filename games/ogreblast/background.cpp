#include "games/ogreblast/background.h"

#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/world.h"
#include "games/ogreblast/awesomenessgame.h"
#include "games/ogreblast/awesomenessmeter.h"
#include "games/ogreblast/rules.h"

namespace {

// Each picture is 1000 units wide (half sizes 500 by 250), the second one
// standing right of the first.
const vec2 kSize(500, 250);
const f32 kSecondX = 1000.0f;

Sprite* createField(AwesomenessGame* game, const char* name, const char* file, f32 x, f32 depth) {
    Sprite* sprite = SceneGraph::createSprite(name, file, 1);
    sprite->setSize(kSize);
    game->getWorld()->attachChild(sprite);
    sprite->setTranslation(x, 0, depth);
    return sprite;
}

void wrap(Sprite* sprite) {
    sprite->translate(OgreBackgroundWrap(sprite->getTranslation().x), 0, 0);
}

} // namespace

BackGround::BackGround(AwesomenessGame* game_, f32 speed_, const char* file, f32 depth)
    : GameObject(0), first(createField(game_, "bg1", file, 0, depth)),
      second(createField(game_, "bg2", file, kSecondX, depth)), game(game_), speed(speed_) {}

void BackGround::update(FrameInput* input) {
    shift(OgreBackgroundStep(speed, game->getMeter()->getValue(), input->deltaTime));
    wrap(first);
    wrap(second);
}

void BackGround::shift(f32 dx) {
    first->translate(dx, 0, 0);
    second->translate(dx, 0, 0);
}
