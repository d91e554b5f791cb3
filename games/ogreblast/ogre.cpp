#include "games/ogreblast/ogre.h"

#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/ogreblast/awesomenessgame.h"
#include "games/ogreblast/awesomenessmeter.h"
#include "games/ogreblast/explosion.h"
#include "games/ogreblast/player.h"
#include "games/ogreblast/rules.h"

#include <cstdlib>

namespace {

const f32 kRadius = 16.0f;
const f32 kHitPoints = 4.0f;
const f32 kScale = 3.0f;
const f32 kEntryX = 300.0f;
const f32 kZigZagDrop = 40.0f;
const f32 kSpinRate = 0.314f * 20.0f;

f32 unitRandom() {
    return OgreUnitRandom(std::rand());
}

} // namespace

Ogre::Ogre(AwesomenessGame* game_, f32 speed_, vec2 position, u32 movement_)
    : GameObject(kRadius), game(game_), speed(speed_), spinAxis(0, 0, 0), spinRate(0),
      hitPoints(kHitPoints),
      node(static_cast<TriangleMesh*>(game->getOgreTemplate()->duplicate("mongoogre", false))),
      movement(movement_), explosion(nullptr) {
    game->getWorld()->attachChild(node);
    spinAxis.x = unitRandom();
    spinAxis.y = unitRandom();
    spinAxis.z = unitRandom();
    spinRate = unitRandom() * kSpinRate;
    f32 y = movement == kOgreZigZag ? position.y - kZigZagDrop : position.y;
    node->translate(position.x + kEntryX, y, 0);
    node->setRotation(spinRate, spinAxis);
    node->scale(kScale, kScale, kScale);
    node->setLight(game->getLight(), 0);
}

Ogre::~Ogre() {
    delete explosion;
    SceneGraph::deleteNode(node);
}

void Ogre::update(FrameInput* input) {
    vec3 player = game->getPlayer()->getPosition();
    node->setTranslation(
        OgreMove(movement, node->getTranslation(), player, speed, input->deltaTime, input->time));
    node->rotate(spinRate * input->deltaTime, spinAxis);
    if (OgreEscaped(node->getTranslation())) {
        dead = 1;
        game->getMeter()->add(kOgreEscapeMeter);
    }
    if (explosion == nullptr) {
        return;
    }
    explosion->update(input);
    if (explosion->isFinished()) {
        dead = 1;
        delete explosion;
        explosion = nullptr;
    }
}

vec3 Ogre::getPosition() {
    return explosion != nullptr ? vec3(-1000000, 1000000, 1000000) : node->getTranslation();
}

void Ogre::hit() {
    hitPoints -= 1;
    if (hitPoints <= 0 && explosion == nullptr) {
        node->setDrawSelf(false);
        explosion = new Explosion(game, node);
    }
}
