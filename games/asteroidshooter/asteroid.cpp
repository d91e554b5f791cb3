#include "games/asteroidshooter/asteroid.h"

#include "engine/group.h"
#include "engine/trianglemesh.h"
#include "games/asteroidshooter/asteroidgame.h"
#include "games/asteroidshooter/asteroidscene.h"
#include "games/asteroidshooter/rules.h"

namespace {

const f32 kSpinStep = 0.05f;

} // namespace

Asteroid::Asteroid(AsteroidGame* game) : node(nullptr), speed(0), spinAxis(0, 0, 0) {
    Group* targets = game->getTargets();
    Node* first = targets->getChild(0);
    if (first != nullptr) {
        node = static_cast<TriangleMesh*>(first->duplicate("AstCP", false));
    } else {
        node = AsteroidLoadMesh("Asteroid", kAsteroidModel, false);
        if (node != nullptr) {
            AsteroidDress(node, game->getLight(), kRockLook);
        }
    }
    if (node != nullptr) {
        targets->attachChild(node);
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
