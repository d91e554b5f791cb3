#include "games/planetrun/player.h"

#include "engine/group.h"
#include "engine/materialtextured.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/planetrun/asteroidgame.h"

namespace {

const f32 kPi = 3.14159265f;
const vec3 kShipStart(0, -20, -30);

} // namespace

Player::Player(AsteroidGame* game)
    : GameObject("Player"),
      group(SceneGraph::createGroup("Spaceship", "../models/new_spaceship.pwn", true, 1)),
      mesh(nullptr), ship(PlanetShipAt(kShipStart, vec3(1, 1, 1))) {
    Node* first = group->getChild(0);
    if (first != nullptr && first->getType() == kNodeTriangleMesh) {
        mesh = static_cast<TriangleMesh*>(first);
        mesh->setLight(game->getLight(), 0);
        MaterialTextured* material = static_cast<MaterialTextured*>(
            SceneGraph::createMaterial(kMaterialTextured, "myMaterial", 1));
        material->setDiffuseTexture("../textures/tiles.png", 1);
        mesh->setMaterial(material, false);
        mesh->translate(kShipStart);
        mesh->rotate(kPi, 1, 0, 0);
        mesh->rotate(kPi, 0, 0, 1);
        ship = PlanetShipAt(mesh->getTranslation(), mesh->getScale());
    }
    game->getWorld()->attachChild(group);
    game->addObject(this);
}

void Player::update(FrameInput* input) {
    PlanetShipStep(ship, *input);
    show();
}

vec3 Player::getPosition() const {
    return group->getTranslation() + ship.position;
}

f32 Player::getRadius() const {
    return PlanetShipRadius(ship);
}

i32 Player::getHealth() const {
    return PlanetHealth(ship);
}

void Player::addDamage(i32 amount) {
    PlanetAddDamage(ship, amount);
}

void Player::grow() {
    PlanetShipGrow(ship);
    show();
}

void Player::show() {
    if (mesh != nullptr) {
        mesh->setTranslation(ship.position);
        mesh->setScale(ship.scale);
    }
}
