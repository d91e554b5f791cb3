#include "games/ogreblast/player.h"

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
    : GameObject(kRadius), game(game_), node(nullptr), position(0, 0, 0), shield(kOgreShieldFull) {
    if (game->getPlayerTemplate() == nullptr) {
        return;
    }
    node = static_cast<TriangleMesh*>(game->getPlayerTemplate()->duplicate("player", false));
    game->getWorld()->attachChild(node);
    node->setRotation(1.570796f, 0, 1, 0);
    node->setScale(kScale, kScale, kScale);
}

Player::~Player() {
    SceneGraph::deleteNode(node);
}

void Player::update(FrameInput* input) {
    vec3 target =
        OgrePointerTarget(game->getWorld()->getViewProjection(), input->pointerX, input->pointerY);
    vec3 step = OgreSteer(position, target);
    position += step;
    if (node != nullptr) {
        node->translate(step);
    }
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
