#include "games/ogreblast/awesomenessmeter.h"

#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/world.h"
#include "games/ogreblast/awesomenessgame.h"
#include "games/ogreblast/rules.h"

namespace {

const f32 kHalfHeight = 10.0f;
const f32 kTop = 125.0f;
const f32 kDepth = 50.0f;

} // namespace

// The bar grows to the right from x = -200 along the top of the screen.
AwesomenessMeter::AwesomenessMeter(AwesomenessGame* game)
    : GameObject(0), sprite(SceneGraph::createSprite("awsom", "../textures/awesome.png", 1)),
      value(0) {
    game->getWorld()->attachChild(sprite);
    sprite->setSize(vec2(0, kHalfHeight));
    sprite->setTexcoords(vec2(0, 0), vec2(0, 1));
    sprite->setTranslation(-kOgreMeterWidth, kTop, kDepth);
}

void AwesomenessMeter::update(FrameInput* input) {
    value = OgreMeterDrain(value, input->deltaTime);
    f32 width = value * kOgreMeterWidth;
    sprite->setSize(vec2(width, kHalfHeight));
    sprite->setTexcoords(vec2(value, 0), vec2(0, 1));
    sprite->setTranslation(width - kOgreMeterWidth, kTop, kDepth);
}

void AwesomenessMeter::add(f32 amount) {
    value = OgreMeterAdd(value, amount);
}
