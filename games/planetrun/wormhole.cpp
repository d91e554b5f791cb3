#include "games/planetrun/wormhole.h"

#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/world.h"
#include "games/planetrun/asteroidgame.h"

namespace {

const f32 kWormholeZ = -950.0f;
const f32 kWormholeHalfSize = 400.0f;

} // namespace

Wormhole::Wormhole(AsteroidGame* game)
    : GameObject("Wormhole"),
      sprite(SceneGraph::createSprite("GameOverSprite", "../textures/wormhole.png", 1)) {
    sprite->setTranslation(0, 0, kWormholeZ);
    sprite->setSize(vec2(kWormholeHalfSize, kWormholeHalfSize));
    game->getWorld()->attachChild(sprite);
    game->addObject(this);
}

void Wormhole::update(FrameInput*) {}

vec3 Wormhole::getPosition() const {
    return sprite->getTranslation();
}

f32 Wormhole::getZ() const {
    return getPosition().z;
}
