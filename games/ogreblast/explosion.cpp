#include "games/ogreblast/explosion.h"

#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "games/ogreblast/awesomenessgame.h"
#include "games/ogreblast/rules.h"

#include <cstdlib>

namespace {

const u32 kFragments = 5;
const f32 kLife = 0.75f;

// A velocity component in -1..1 units a frame.
f32 spread() {
    return 2 * (OgreUnitRandom(std::rand()) - 0.5f);
}

} // namespace

// Without the fragment model the explosion only takes its time.
Explosion::Explosion(AwesomenessGame* game, Node* parent)
    : GameObject(0), finished(0), life(kLife) {
    const TriangleMesh* fragment = game->getExplosionTemplate();
    for (u32 i = 0; i < kFragments && fragment != nullptr; i++) {
        Node* node = fragment->duplicate("BOOMHS", false);
        parent->attachChild(node);
        fragments.push_back(node);
        velocities.push_back(vec3(spread(), spread(), spread()));
    }
}

Explosion::~Explosion() {
    for (Node* node : fragments) {
        SceneGraph::deleteNode(node);
    }
}

void Explosion::update(FrameInput* input) {
    for (size_t i = 0; i < fragments.size(); i++) {
        Transformable* fragment = static_cast<Transformable*>(fragments[i]);
        fragment->translate(velocities[i]);
        fragment->setScale(life, life, life);
    }
    life -= input->deltaTime;
    if (life <= 0) {
        finished = 1;
    }
}
