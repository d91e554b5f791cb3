#include "games/towerdefence/enemy.h"

#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/towerdefence/towerdefgame.h"
#include "games/towerdefence/waypoint.h"

namespace {

const f32 kModelScale = 0.2f;
const f32 kWalkHeight = 1.0f;
const f32 kPi = 3.14159265f;
// The bar stands over the head, in the model's own units.
const vec3 kBarOffset = vec3(0, -20, 50);
const f32 kBarHeight = 0.5f;

} // namespace

Enemy::Enemy(TowerDefGame* game_, WayPoint* first)
    : node(nullptr), healthBar(nullptr), game(game_) {
    state.firstWayPoint = first;
    node = static_cast<TriangleMesh*>(game->getEnemyTemplate()->duplicate("Enemy", true));
    node->setLight(game->getLight(), 0);
    node->scale(kModelScale, kModelScale, kModelScale);
    game->getGameWorld()->attachChild(node);
    node->rotate(kPi, 0, 0, 1);
    healthBar = SceneGraph::createSprite("MrHpBar", "../textures/hpbar.png", 0);
    node->attachChild(healthBar);
    healthBar->translate(kBarOffset);
    deactivate();
}

void Enemy::deactivate() {
    TdDeactivate(state);
    hide();
}

void Enemy::hide() {
    showHealthBar();
    node->setActive(false);
}

void Enemy::spawn(f32 hitPoints, f32 speed) {
    const i32 r1 = TdRandom();
    const i32 r2 = TdRandom();
    TdSpawn(state, hitPoints, speed, r1, r2);
    node->setTranslation(state.x, state.y, kWalkHeight);
    node->setActive(true);
}

void Enemy::slow(f32 factor, f32 until) {
    TdSlow(state, factor, until);
}

void Enemy::showHealthBar() {
    healthBar->setSize(vec2(state.barWidth, kBarHeight));
}

void Enemy::update(FrameInput* input) {
    switch (TdEnemyStep(state, input->time, TdRandom)) {
    case TdWalk::Killed:
        TdRewardKill(game->getPlay());
        hide();
        break;
    case TdWalk::Finished:
        game->enemyReachedEnd(this);
        hide();
        break;
    case TdWalk::Walked:
        node->setTranslation(state.x, state.y, kWalkHeight);
        break;
    case TdWalk::Idle:
        break;
    }
}
