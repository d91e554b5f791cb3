// The tower-defence game's objects over the real scene registry, with the
// program's own material factory: the scene it builds, an enemy spawned on
// the first frame, a tower bought through the menu and placed by a press,
// the menu material and its band, and the memory a game gives back. A GL
// window is used when a display exists; the checks read the scene, not
// pixels.
#include "engine/camera.h"
#include "engine/material.h"
#include "engine/memory.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/towerdefence/enemy.h"
#include "games/towerdefence/materialgui.h"
#include "games/towerdefence/tower.h"
#include "games/towerdefence/towerdefgame.h"
#include "tests/support/gametest.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

// The host's clock does not start at 0.
const f32 kStart = 500.0f;

class TowerDefenceGame : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        input.time = kStart;
    }
    void TearDown() override {
        delete game;
        GameTest::TearDown();
    }

    void frames(u32 count) {
        for (u32 i = 0; i < count; i++) {
            ASSERT_TRUE(game->update(&input));
            input.time += 0.02f;
        }
    }
    // A press and a release at a pointer position, a frame each.
    void tap(f32 x, f32 y) {
        input.pointerX = x;
        input.pointerY = y;
        input.pointerDown = 1;
        frames(1);
        input.pointerDown = 0;
        frames(1);
    }

    TowerDefGame* game = nullptr;
    FrameInput input{};
};

void expectAt(const Transformable* node, f32 x, f32 y, f32 z) {
    const vec3 at = node->getTranslation();
    EXPECT_FLOAT_EQ(at.x, x) << node->getName();
    EXPECT_FLOAT_EQ(at.y, y) << node->getName();
    EXPECT_FLOAT_EQ(at.z, z) << node->getName();
}

TEST_F(TowerDefenceGame, BuildsTheFieldAndSpawnsTheFirstEnemyOnTheFirstFrame) {
    game = new TowerDefGame();
    EXPECT_STREQ(game->getGameWorld()->getName(), "GameWorld");
    EXPECT_STREQ(game->getGuiWorld()->getName(), "GameWorldGui");
    expectAt(game->getGameCamera(), 50, 100, 150);
    ASSERT_EQ(game->getEnemies().size(), kTdEnemyCount);
    for (const Enemy* enemy : game->getEnemies()) {
        EXPECT_FALSE(enemy->getNode()->isActive());
    }
    frames(1);
    EXPECT_EQ(game->getPlay().level, 1);
    EXPECT_EQ(game->getPlay().money, 52);
    const Enemy* first = game->getEnemies()[0];
    EXPECT_TRUE(first->getNode()->isActive());
    const vec3 at = first->getNode()->getTranslation();
    EXPECT_NEAR(at.x, 17.5f, 3);
    EXPECT_NEAR(at.y, 192.5f, 3);
    EXPECT_FLOAT_EQ(at.z, 1);
    frames(10);
    EXPECT_GT(first->getNode()->getTranslation().x, at.x) << "it walks towards way point 2";
}

// TOWERS, CANNON, then a tap on the field over build spot (15, 175).
TEST_F(TowerDefenceGame, TowerBoughtThroughTheMenuStandsOnTheNearestSpot) {
    game = new TowerDefGame();
    frames(1);
    tap(-0.8f, -0.9f);
    tap(-0.8f, -0.9f);
    ASSERT_TRUE(game->getPlay().placing);
    EXPECT_EQ(game->getPlay().placeKind, 1);
    expectAt(game->getGameCamera(), 50, 95, 125);
    tap((15 + 5) * 0.0103125f - 0.51875f, (175 + 5) * 0.0083134761f - 0.7875f);
    EXPECT_FALSE(game->getPlay().placing);
    EXPECT_EQ(game->getPlay().money, 2);
    ASSERT_EQ(game->getTowers().size(), 1u);
    const Tower* tower = game->getTowers()[0];
    expectAt(tower->getNode(), 20, 180, 5);
    EXPECT_EQ(tower->getNode()->getMaterial(), game->getTowerMaterial(1));
    EXPECT_FLOAT_EQ(tower->getState().range, 25);
    // The first enemies walk past within its range: it aims and fires.
    bool shown = false;
    for (u32 i = 0; i < 400 && !shown; i++) {
        frames(1);
        shown = tower->getBullet()->getDrawSelf() && tower->getState().target != nullptr;
    }
    EXPECT_TRUE(shown) << "the cannon never took aim";

    // Too little money for a second cannon: placing ends at once.
    tap(-0.8f, -0.9f);
    ASSERT_TRUE(game->getPlay().placing);
    input.pointerX = 0;
    input.pointerY = 0;
    frames(1);
    EXPECT_FALSE(game->getPlay().placing);
    EXPECT_EQ(game->getTowers().size(), 1u);
}

// A frost tower by the path's start slows the first enemy it hits for a
// second.
TEST_F(TowerDefenceGame, FrostTowerSlowsTheEnemyItHits) {
    game = new TowerDefGame();
    game->getPlay().money = 5000;
    tap(-0.8f, -0.9f);
    tap(0.1f, -0.9f);
    ASSERT_EQ(game->getPlay().placeKind, 3);
    tap((15 + 5) * 0.0103125f - 0.51875f, (175 + 5) * 0.0083134761f - 0.7875f);
    ASSERT_EQ(game->getTowers().size(), 1u);
    const TdEnemy* slowed = nullptr;
    f32 hitTime = 0;
    for (u32 i = 0; i < 400 && slowed == nullptr; i++) {
        hitTime = input.time;
        frames(1);
        for (Enemy* enemy : game->getEnemies()) {
            if (enemy->getState()->speedFactor < 1) {
                slowed = enemy->getState();
            }
        }
    }
    ASSERT_NE(slowed, nullptr) << "no enemy was slowed";
    EXPECT_FLOAT_EQ(slowed->speedFactor, 0.2f);
    EXPECT_FLOAT_EQ(slowed->slowUntil, hitTime + 1);
}

TEST_F(TowerDefenceGame, MenuMaterialTakesTheDirectionalCodeAndEveryUnknownOne) {
    game = new TowerDefGame();
    for (u32 code : {0u, 6u, 9u}) {
        const std::string name = "probe" + std::to_string(code);
        Material* material = SceneGraph::createMaterial(code, name.c_str(), 1);
        EXPECT_NE(dynamic_cast<MaterialGui*>(material), nullptr) << code;
        EXPECT_EQ(material->getType(), static_cast<u32>(kMaterialDirectional));
        SceneGraph::dereferenceResource(material);
    }
    Material* point = SceneGraph::createMaterial(kMaterialPoint, "pointProbe", 1);
    EXPECT_EQ(dynamic_cast<MaterialGui*>(point), nullptr);
    SceneGraph::dereferenceResource(point);

    MaterialGui* menu = static_cast<MaterialGui*>(SceneGraph::getMaterial("guiTextMenu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_FLOAT_EQ(menu->lightStart, -4);
    EXPECT_FLOAT_EQ(menu->lightStop, 7.5f);
    menu->lightStart = 1;
    MaterialGui* copy = static_cast<MaterialGui*>(menu->clone("guiCopy", 1));
    ASSERT_NE(copy, nullptr);
    EXPECT_FLOAT_EQ(copy->lightStart, -4) << "a clone starts with the default band";
    EXPECT_FLOAT_EQ(copy->ambientColor.x, 1);
    EXPECT_EQ(copy->getDiffuseTexture(), menu->getDiffuseTexture());
    SceneGraph::dereferenceResource(copy);
    SceneGraph::dereferenceResource(menu);
}

// A game played for a while, with towers of every kind firing, gives back
// everything it holds when deleted (checked by the fixture).
TEST_F(TowerDefenceGame, GameAfterPlayLeavesNoMemory) {
    game = new TowerDefGame();
    game->getPlay().money = 5000;
    const f32 buttons[4] = {-0.8f, -0.3f, 0.1f, 0.5f};
    const TdSpot spots[4] = {{15, 175}, {65, 175}, {90, 150}, {90, 60}};
    tap(-0.8f, -0.9f);
    for (u32 i = 0; i < 4; i++) {
        tap(buttons[i], -0.9f);
        tap((static_cast<f32>(spots[i].x) + 5) * 0.0103125f - 0.51875f,
            (static_cast<f32>(spots[i].y) + 5) * 0.0083134761f - 0.7875f);
    }
    ASSERT_EQ(game->getTowers().size(), 4u);
    frames(1500);
    for (const Enemy* enemy : game->getEnemies()) {
        const vec3 at = enemy->getNode()->getTranslation();
        EXPECT_FALSE(std::isnan(at.x) || std::isnan(at.y)) << "an enemy lost its position";
    }
}

} // namespace
