#include "games/asteroidshooter/player.h"

#include "engine/group.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/asteroidshooter/asteroidgame.h"
#include "games/asteroidshooter/asteroidscene.h"
#include "games/asteroidshooter/rules.h"

namespace {

const f32 kShipScale = 0.5f;
const f32 kShipTilt = 1.57f;
const f32 kShotTurn = 3.14f;

} // namespace

Player::Player(AsteroidGame* game) : ammo(nullptr), ship(nullptr) {
    World* world = game->getWorld();
    ship = AsteroidLoadMesh("Ship", kShipModel, true);
    if (ship != nullptr) {
        ship->scale(kShipScale, kShipScale, kShipScale);
        ship->rotate(kShipTilt, 1, 0, 0);
        ship->setTranslation(kShipStart);
        world->attachChild(ship);
        AsteroidDress(ship, game->getLight(), kShipLook);
    }
    ammo = SceneGraph::createGroup("Ammo");
    world->attachChild(ammo);
    loadAmmo(game);
}

vec3 Player::getShipPosition() const {
    return ship != nullptr ? ship->getTranslation() : kShipStart;
}

// The shots wait hidden behind the ship until the stream reaches them.
void Player::loadAmmo(AsteroidGame* game) {
    f32 z0 = getShipPosition().z;
    for (u32 i = 0; i < kShotCount; i++) {
        TriangleMesh* shot = game->makeShot();
        shot->setScale(1, 1, 1);
        shot->rotate(kShotTurn, 1, 0, 0);
        shot->translate(0, 0, ShotWaitingZ(z0, i));
        shot->setActive(false);
        ammo->attachChild(shot);
    }
}

void Player::update(FrameInput* input) {
    if (input->pointerDown != 0 && ship != nullptr) {
        ship->translate(input->pointerX, input->pointerY, 0);
    }
    vec3 at = getShipPosition();
    for (Node* child = ammo->getChild(0); child != nullptr; child = child->getNextSibling()) {
        Transformable* shot = static_cast<Transformable*>(child);
        shot->translate(0, 0, kShotStep);
        if (ShotSpent(shot->getTranslation().z)) {
            shot->setTranslation(ShotRestart(at.x, at.y));
            shot->setActive(true);
        }
    }
}
