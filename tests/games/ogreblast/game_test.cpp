// The ogre shooter's game object over the real scene registry: the screens
// and their keys, the first wave and the bullets, a ship worn down to the
// kill screen in the middle of a collision pass, the memory the game leaves
// behind, and a game without its models. A GL window is used when a display
// exists; the checks read the scene, not pixels.
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/text.h"
#include "engine/transformable.h"
#include "engine/world.h"
#include "games/ogreblast/awesomenessgame.h"
#include "games/ogreblast/awesomenessmeter.h"
#include "games/ogreblast/bullet.h"
#include "games/ogreblast/ogre.h"
#include "games/ogreblast/player.h"
#include "games/ogreblast/rules.h"
#include "tests/support/gametest.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// 1/64 s: exact in binary, so the timing sums below are exact too.
const f32 kFrameTime = 0.015625f;

class OgreGame : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        input.time = 100.0f;
    }
    void TearDown() override {
        delete game;
        GameTest::TearDown();
    }

    void frames(u32 count) {
        for (u32 i = 0; i < count; i++) {
            input.time += kFrameTime;
            input.deltaTime = kFrameTime;
            ASSERT_TRUE(game->update(&input));
            // The HUD lines queued by the frame; the world is not drawn, so
            // that the pointer keeps its reach of 400 units (chaseOgres).
            if (drawing) {
                SceneGraph::getText()->printAll();
            }
        }
    }
    // A key held for one frame, then released.
    void tap(i32 key) {
        OgreLatchKey(&input, key, true);
        frames(1);
        OgreLatchKey(&input, key, false);
    }
    void startPlaying() {
        tap(kOgreKeyReturn);
        tap(kOgreKeySpace);
        ASSERT_EQ(game->getState(), static_cast<u32>(kOgrePlaying));
    }
    bool shows(const char* screen) const {
        return static_cast<Sprite*>(game->getWorld()->findChild(screen, 0))->getDrawSelf();
    }
    // Steers at the nearest ogre that is not exploding. Before the world is
    // drawn the view-projection is the identity: the pointer reaches 400
    // units.
    void chaseOgres() {
        const Ogre* nearest = nullptr;
        f32 best = 1e9f;
        vec3 ship = game->getPlayer()->getPosition();
        for (Ogre* ogre : game->getOgres()) {
            f32 d = (ogre->getPosition() - ship).length();
            if (d < best) {
                best = d;
                nearest = ogre;
            }
        }
        if (nearest != nullptr) {
            vec3 p = const_cast<Ogre*>(nearest)->getPosition();
            input.pointerX = p.x / 400;
            input.pointerY = p.y / 400;
        }
    }

    // The mesh of an ogre that explodes: hidden, its fragments drawn.
    Transformable* explodingOgre() const {
        World* world = game->getWorld();
        for (u32 i = 0; i < world->getChildCount(); i++) {
            Node* node = world->getChild(i);
            if (std::string(node->getName()) == "mongoogre" && !node->getDrawSelf()) {
                return static_cast<Transformable*>(node);
            }
        }
        return nullptr;
    }

    AwesomenessGame* game = nullptr;
    FrameInput input{};
};

TEST_F(OgreGame, ScreensFollowTheirKeys) {
    game = new AwesomenessGame();
    EXPECT_FALSE(shows("Prolog"));
    frames(1);
    EXPECT_TRUE(shows("Prolog"));
    tap(kOgreKeySpace);
    EXPECT_EQ(game->getState(), static_cast<u32>(kOgreProlog)) << "the prolog ignores Space";
    tap(kOgreKeyReturn);
    EXPECT_FALSE(shows("Prolog"));
    frames(1);
    EXPECT_TRUE(shows("Welcome"));
    tap(kOgreKeyReturn);
    EXPECT_EQ(game->getState(), static_cast<u32>(kOgreWelcome)) << "the welcome ignores Return";
    tap(kOgreKeySpace);
    EXPECT_FALSE(shows("Welcome"));
    EXPECT_EQ(game->getState(), static_cast<u32>(kOgrePlaying));
}

TEST_F(OgreGame, FirstPlayingFrameBringsAWaveAndSpaceFires) {
    game = new AwesomenessGame();
    ASSERT_NE(game->getOgreTemplate(), nullptr) << "the ogre model is missing";
    startPlaying();
    // The frame that started play did not play; the next one brings the
    // first wave at once, the record's time being far past 0.
    frames(1);
    ASSERT_EQ(game->getOgres().size(), 5u);
    for (u32 i = 0; i < 5; i++) {
        vec3 p = game->getOgres()[i]->getPosition();
        EXPECT_EQ(p.x, 300.0f + 100.0f * i) << i;
        EXPECT_GE(p.y, -100);
        EXPECT_LE(p.y, 100);
    }
    const u32 perFrame = OgreFrameScore(kFrameTime);
    EXPECT_EQ(game->getScore(), perFrame);

    // Space held for 25 frames: a shot in the first one, then in every
    // seventh (six frames are 0.094 s, seven 0.109 s).
    input.keySpace = 1;
    frames(25);
    input.keySpace = 0;
    EXPECT_EQ(game->getBullets().size(), 4u);
    EXPECT_EQ(game->getScore(), perFrame * 26);
}

// The ship is where its node stands: a node moved from outside is where the
// ship collides and fires from and where its next step starts.
TEST_F(OgreGame, ShipStandsWhereItsNodeStands) {
    game = new AwesomenessGame();
    startPlaying();
    auto* node = static_cast<Transformable*>(game->getWorld()->findChild("player", 0));
    ASSERT_NE(node, nullptr) << "the ship model is missing";
    node->setTranslation(96, 50, 0);
    const vec3 at = game->getPlayer()->getPosition();
    EXPECT_EQ(at.x, 96);
    EXPECT_EQ(at.y, 50);
    // A target 4 units ahead is reached in one step.
    input.pointerX = 0.25f;
    input.pointerY = 0.125f;
    frames(1);
    const vec3 stepped = node->getTranslation();
    EXPECT_EQ(stepped.x, 100);
    EXPECT_EQ(stepped.y, 50);
}

TEST_F(OgreGame, FourthHitExplodesAnOgreIntoFiveShrinkingFragments) {
    game = new AwesomenessGame();
    ASSERT_NE(game->getOgreTemplate(), nullptr) << "the ogre model is missing";
    startPlaying();
    frames(1);
    // The ship waits at the left edge in the first ogre's row and fires.
    const u32 wave = static_cast<u32>(game->getOgres().size());
    input.pointerX = -0.5f;
    input.pointerY = game->getOgres()[0]->getPosition().y / 400;
    input.keySpace = 1;
    Transformable* exploding = nullptr;
    for (u32 i = 0; i < 1000 && exploding == nullptr; i++) {
        frames(1);
        exploding = explodingOgre();
    }
    ASSERT_NE(exploding, nullptr) << "no ogre exploded";
    EXPECT_GT(game->getMeter()->getValue(), 0.0f) << "hits fill the meter";
    ASSERT_EQ(exploding->getChildCount(), 5u);
    frames(8);
    f32 scale = static_cast<Transformable*>(exploding->getChild(0))->getScale().x;
    EXPECT_LT(scale, 0.75f);
    EXPECT_GT(scale, 0.0f);
    // 0.75 s after the fourth hit the ogre is gone.
    input.keySpace = 0;
    frames(static_cast<u32>(0.75f / kFrameTime));
    EXPECT_EQ(explodingOgre(), nullptr);
    EXPECT_LT(game->getOgres().size(), wave);
}

TEST_F(OgreGame, DestroyedShipShowsTheKillScreenAndReturnResumes) {
    game = new AwesomenessGame();
    ASSERT_NE(game->getOgreTemplate(), nullptr) << "the ogre model is missing";
    startPlaying();
    for (u32 i = 0; i < 20000 && game->getState() == kOgrePlaying; i++) {
        chaseOgres();
        frames(1);
    }
    ASSERT_EQ(game->getState(), static_cast<u32>(kOgreKillScreen)) << "the ship was not destroyed";
    EXPECT_TRUE(game->getBullets().empty());
    EXPECT_EQ(game->getScore(), 0u);
    EXPECT_EQ(game->getPlayer()->getShield(), kOgreShieldFull);
    vec3 where = game->getPlayer()->getPosition();

    // The field stays frozen under the kill screen until Return.
    frames(10);
    EXPECT_EQ(game->getState(), static_cast<u32>(kOgreKillScreen));
    EXPECT_TRUE(shows("Kill"));
    tap(kOgreKeyReturn);
    EXPECT_EQ(game->getState(), static_cast<u32>(kOgrePlaying));
    EXPECT_FALSE(shows("Kill"));
    EXPECT_EQ(game->getPlayer()->getPosition().x, where.x) << "the ship stays where it was";
}

TEST_F(OgreGame, RunsWithoutItsModels) {
    enterTreeWithoutModels({"shaders", "textures", "fonts"});
    LogOpen();
    game = new AwesomenessGame();
    LogClose();
    const std::string log = logText();
    EXPECT_NE(log.find("Couldn't open .pwn file"), std::string::npos) << log;
    EXPECT_EQ(game->getOgreTemplate(), nullptr);
    startPlaying();
    input.keySpace = 1;
    input.pointerX = 0.2f;
    frames(300);
    EXPECT_TRUE(game->getOgres().empty());
    EXPECT_FALSE(game->getBullets().empty());
    EXPECT_GT(game->getPlayer()->getPosition().x, 70.0f) << "the unseen ship still steers";
}

} // namespace
