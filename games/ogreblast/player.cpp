#include "games/ogreblast/player.h"

#include "engine/group.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/ogreblast/awesomenessgame.h"
#include "games/ogreblast/rules.h"

namespace {

const f32 kRadius = 15.0f;
const f32 kScale = 2.0f;

} // namespace

// The model's nose points along its z axis; a quarter turn about y points it
// to the right, where the ogres come from.
Player::Player(AwesomenessGame* game_)
    : GameObject(kRadius), game(game_), node(nullptr), shield(kOgreShieldFull) {
    const TriangleMesh* ship = game->getPlayerTemplate();
    node = ship != nullptr ? static_cast<Transformable*>(ship->duplicate("player", false))
                           : SceneGraph::createGroup("player");
    game->getWorld()->attachChild(node);
    node->setRotation(1.570796f, 0, 1, 0);
    node->setScale(kScale, kScale, kScale);
}

Player::~Player() {
    SceneGraph::deleteNode(node);
}

void Player::update(FrameInput* input) {
    vec3 target = OgrePointerReach(pointerTarget(input->pointerX, input->pointerY));
    node->translate(OgreSteer(node->getTranslation(), target));
}

vec3 Player::getPosition() {
    return node->getTranslation();
}

vec3 Player::pointerTarget(f32 x, f32 y) const {
    return OgrePointerTarget(game->getWorld()->getViewProjection(), x, y);
}

void Player::hit() {
    shield -= 1;
    if (shield <= 0) {
        dead = 1;
    }
}

void Player::revive() {
    shield = kOgreShieldFull;
    dead = 0;
}
