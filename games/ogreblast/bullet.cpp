#include "games/ogreblast/bullet.h"

#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/world.h"
#include "games/ogreblast/awesomenessgame.h"

namespace {

const f32 kRadius = 3.0f;
const f32 kMuzzle = 20.0f;
const f32 kSpeed = 200.0f;
const f32 kRightEdge = 250.0f;

} // namespace

Bullet::Bullet(AwesomenessGame* game, vec3 position)
    : GameObject(kRadius),
      sprite(static_cast<Sprite*>(game->getBulletTemplate()->duplicate("bulletsprite", false))) {
    sprite->setTranslation(position.x + kMuzzle, position.y, position.z);
    game->getWorld()->attachChild(sprite);
}

Bullet::~Bullet() {
    SceneGraph::deleteNode(sprite);
}

void Bullet::update(FrameInput* input) {
    sprite->translate(kSpeed * input->deltaTime, 0, 0);
    if (sprite->getTranslation().x > kRightEdge) {
        dead = 1;
    }
}

vec3 Bullet::getPosition() {
    return sprite->getTranslation();
}
