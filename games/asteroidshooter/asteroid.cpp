#include "games/asteroidshooter/asteroid.h"

#include "engine/trianglemesh.h"
#include "games/asteroidshooter/asteroidscene.h"
#include "games/asteroidshooter/rules.h"

namespace {

const f32 kSpinStep = 0.05f;

} // namespace

Asteroid::Asteroid(AsteroidGame* game)
    : node(AsteroidAddTarget(game, kAsteroidKind)), speed(0), spinAxis(0, 0, 0) {
    if (node != nullptr) {
        respawn();
    }
}

void Asteroid::update(FrameInput*) {
    if (node == nullptr) {
        return;
    }
    node->rotate(kSpinStep, spinAxis);
    node->translate(0, 0, speed);
    if (AsteroidPassed(node->getTranslation().z)) {
        respawn();
    }
}

void Asteroid::respawn() {
    AsteroidSpawn spawn = AsteroidRespawn(AsteroidRandom);
    node->setScale(spawn.scale, spawn.scale, spawn.scale);
    node->setTranslation(spawn.position);
    speed = spawn.speed;
    spinAxis = spawn.spinAxis;
}
