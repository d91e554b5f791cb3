#include "games/towerdefence/tower.h"

#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/towerdefence/enemy.h"
#include "games/towerdefence/towerdefgame.h"

namespace {

const f32 kSpotCentre = 5.0f;
const f32 kBaseHeight = 5.0f;
const vec3 kModelScale = vec3(0.2f, 0.2f, 0.15f);
const f32 kBulletScale = 3.0f;
const f32 kBulletStartHeight = 15.0f;
const f32 kBulletHeight = 10.0f;

// How each kind looks beside its material: its tower's and bullet's extra
// scales.
struct KindLook {
    vec3 tower;
    f32 bullet;
};
const KindLook kLooks[kTdTowerKindCount] = {
    {vec3(1, 1, 1), 1},
    {vec3(1.2f, 1.2f, 1), 2},
    {vec3(1, 1, 1.2f), 1},
    {vec3(1, 1, 1.5f), 1},
};

} // namespace

Tower::Tower(TowerDefGame* game_, f32 x, f32 y, f32 shotStep, f32 damage, i32 kind)
    : game(game_), node(nullptr), bullet(nullptr),
      state(TdMakeTower(x, y, shotStep, damage, kind)) {
    node = static_cast<TriangleMesh*>(game->getTowerTemplate()->duplicate("Tower", true));
    node->setLight(game->getLight(), 0);
    node->scale(kModelScale);
    node->translate(x + kSpotCentre, y + kSpotCentre, kBaseHeight);
    game->getGameWorld()->attachChild(node);
    bullet = game->createBulletMesh();
    bullet->setScale(kBulletScale, kBulletScale, kBulletScale);
    bullet->translate(x, y, kBulletStartHeight);
    game->getGameWorld()->attachChild(bullet);
    Material* material = game->getTowerMaterial(kind);
    if (material != nullptr) {
        node->setMaterial(material, false);
        const KindLook& look = kLooks[kind - 1];
        node->scale(look.tower);
        bullet->scale(look.bullet, look.bullet, look.bullet);
    }
}

void Tower::update(FrameInput* input) {
    TdShot shot = TdTowerStep(state, game->getEnemyPool(), kTdEnemyCount, input->time);
    bullet->setDrawSelf(shot.bulletShown);
    if (shot.bulletMoved) {
        bullet->setTranslation(shot.bulletX, shot.bulletY, kBulletHeight);
    }
    if (shot.hit) {
        game->showHealthBars();
    }
    if (shot.slowed >= 0) {
        game->getEnemies()[shot.slowed]->slow(shot.slowFactor, shot.slowUntil);
    }
}
