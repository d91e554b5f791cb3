#include "games/asteroidshooter/enemyship.h"

#include "engine/trianglemesh.h"
#include "games/asteroidshooter/asteroidgame.h"
#include "games/asteroidshooter/asteroidscene.h"
#include "games/asteroidshooter/rules.h"

namespace {

// The enemy's shot flies this many times as fast as the ship.
const f32 kShotSpeedFactor = 20.0f;

} // namespace

EnemyShip::EnemyShip(AsteroidGame* game)
    : node(AsteroidAddTarget(game, kEnemyShipKind)), shot(nullptr), speed(0) {
    if (node != nullptr) {
        attachShot(game);
        respawn();
    }
}

// The shot's translation is relative to the ship.
void EnemyShip::attachShot(AsteroidGame* game) {
    shot = game->makeShot();
    shot->setScale(1, 1, 1);
    shot->setTranslation(node->getTranslation());
    node->attachChild(shot);
}

void EnemyShip::update(FrameInput*) {
    if (node == nullptr) {
        return;
    }
    node->translate(0, 0, speed);
    shot->translate(0, 0, speed * kShotSpeedFactor);
    if (AsteroidPassed(node->getTranslation().z)) {
        respawn();
    }
    if (EnemyShotPassed(shot->getTranslation().z, node->getTranslation().z)) {
        shot->setTranslation(node->getTranslation());
    }
}

void EnemyShip::respawn() {
    AsteroidSpawn spawn = EnemyShipRespawn(AsteroidRandom);
    node->setScale(spawn.scale, spawn.scale, spawn.scale);
    node->setTranslation(spawn.position);
    shot->setTranslation(spawn.position);
    speed = spawn.speed;
}
