// The asteroid shooter's game object over the real scene registry: the
// scene it builds, the shot stream, the camera's projection in each
// orientation, level 1 played to its end by placing shots on the asteroids,
// the switch to level 2 with its deletions, hits on the enemy ships' shots,
// a run without the models, and the memory the game leaves behind. A GL
// window is used when a display exists; the checks read the scene.
#include "engine/camera.h"
#include "engine/group.h"
#include "engine/material.h"
#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/text.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "engine/world.h"
#include "games/asteroidshooter/asteroidgame.h"
#include "games/asteroidshooter/player.h"
#include "games/asteroidshooter/rules.h"
#include "host/ape.h"
#include "tests/support/gametest.h"

#include <GLES2/gl2.h>
#include <gtest/gtest.h>
#include <png.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// Plays one frame as the host draws it, the phone in portrait around the
// game screen, and saves the window as <build>/screenshots/<name>.png.
bool drawAndSaveWindow(AsteroidGame* game, FrameInput* input, const char* name) {
    // The window starts without a game screen until its first turn.
    if (PlatformLayout().game.h <= PlatformLayout().game.w) {
        toggleOrientation();
    }
    const Rect& screen = PlatformLayout().game;
    glViewport(screen.x, screen.y, screen.w, screen.h);
    SceneGraph::setScreenSize(screen.w, screen.h);
    game->update(input, 0);
    SceneGraph::getText()->printAll();
    PlatformDrawPhone();
    PlatformDrawMargins();
    const i32 side = PlatformWindowSide();
    std::vector<u8> pixels(static_cast<size_t>(side) * side * 4);

    glReadPixels(0, 0, side, side, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    PlatformSwapBuffers();
    // The window is opaque whatever alpha the game cleared to.
    for (size_t i = 3; i < pixels.size(); i += 4) {
        pixels[i] = 255;
    }
    mkdir(ASTEROID_SHOT_DIR, 0755);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<u32>(side);
    image.height = static_cast<u32>(side);
    image.format = PNG_FORMAT_RGBA;
    const std::string path = std::string(ASTEROID_SHOT_DIR) + "/" + name + ".png";
    // GL's rows run from the bottom: a negative stride writes them the right
    // way up.
    return png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), -side * 4, nullptr) != 0;
}

class AsteroidGameTest : public GameTest {
  protected:
    void TearDown() override {
        delete game;
        GameTest::TearDown();
    }

    void start(u8 orientation = 0) {
        game = new AsteroidGame(orientation);
        world = game->getWorld();
    }
    void frames(u32 count, u8 orientation = 0) {
        for (u32 i = 0; i < count; i++) {
            ASSERT_TRUE(game->update(&input, orientation));
        }
    }
    std::vector<Transformable*> children(const Node* group) const {
        std::vector<Transformable*> out;
        for (Node* n = group->getChild(0); n != nullptr; n = n->getNextSibling()) {
            out.push_back(static_cast<Transformable*>(n));
        }
        return out;
    }
    std::vector<Transformable*> shots() const { return children(game->getPlayer()->getAmmo()); }
    std::vector<Transformable*> targets() const { return children(game->getTargets()); }

    // Sets up one frame in which each of the ten shots meets one target of
    // its own: after the frame's moves the shot and the tested point stand
    // within a unit of each other, far from the ship and from the other
    // pairs. In level 2 the tested point is the enemy ship's shot, which
    // flies 5 to 7 units a frame; the other ships wait far from the ship.
    void aimShots() {
        std::vector<Transformable*> ammo = shots();
        std::vector<Transformable*> field = targets();
        ASSERT_GE(field.size(), ammo.size());
        bool levelTwo = game->getStats().levelTwo != 0;
        for (size_t i = 0; i < field.size(); i++) {
            vec3 at(-40.0f + 20.0f * static_cast<f32>(i % ammo.size()), i < ammo.size() ? 60 : -60,
                    -150.0f);
            Transformable* tested = field[i];
            if (levelTwo) {
                field[i]->setTranslation(at.x, at.y, -400);
                tested = static_cast<Transformable*>(field[i]->findChild("Shot", 2));
            }
            f32 approach = levelTwo ? 6.0f : 0.3f;
            tested->setTranslation(at.x, at.y, at.z + kShotStep - approach);
            if (i < ammo.size()) {
                ammo[i]->setTranslation(at);
            }
        }
    }

    AsteroidGame* game = nullptr;
    World* world = nullptr;
    FrameInput input{};
};

TEST_F(AsteroidGameTest, BuildsLevelOne) {
    start();
    EXPECT_EQ(game->getObjectCount(), 1 + kAsteroidCount);
    ASSERT_NE(world->findChild("Asteroids", 1), nullptr);
    EXPECT_EQ(world->findChild("Ammo", 5), game->getPlayer()->getAmmo());
    EXPECT_FALSE(game->getPause()->isActive());
    EXPECT_FLOAT_EQ(game->getPause()->getTranslation().z, -25);
    EXPECT_FLOAT_EQ(game->getBackground()->getTranslation().z, -500);
    EXPECT_FLOAT_EQ(game->getBackground()->getSize().x, 800);
    EXPECT_EQ(world->getActiveCamera(), game->getCamera());

    std::vector<Transformable*> rocks = targets();
    ASSERT_EQ(rocks.size(), kAsteroidCount);
    TriangleMesh* first = static_cast<TriangleMesh*>(rocks.back());
    for (Transformable* rock : rocks) {
        vec3 at = rock->getTranslation();
        EXPECT_GE(at.x, -30);
        EXPECT_LT(at.x, 30);
        EXPECT_LE(at.z, -100);
        EXPECT_GE(at.z, -1099);
        if (rock != first) {
            EXPECT_STREQ(rock->getName(), "AstCP");
            EXPECT_EQ(static_cast<TriangleMesh*>(rock)->getMaterial(), first->getMaterial());
        }
    }
    EXPECT_EQ(first->getMaterial()->getReferenceCount(), kAsteroidCount)
        << "the material keeps one reference a rock: none dropped by its dressing";

    TriangleMesh* ship = game->getPlayer()->getShip();
    ASSERT_NE(ship, nullptr);
    EXPECT_FLOAT_EQ(ship->getTranslation().z, kShipStart.z);
    EXPECT_EQ(ship->getMaterial()->getReferenceCount(), 1u);
}

// The shot mesh and its ten copies hold one reference each on the shared
// arrays and material, and not one more.
TEST_F(AsteroidGameTest, ShotsShareTheirResourcesAndStream) {
    start();
    std::vector<Transformable*> ammo = shots();
    ASSERT_EQ(ammo.size(), kShotCount);
    TriangleMesh* first = static_cast<TriangleMesh*>(ammo.back());
    EXPECT_EQ(first->getVertexArray()->getReferenceCount(), kShotCount);
    EXPECT_EQ(first->getMaterial()->getReferenceCount(), kShotCount);
    for (u32 i = 0; i < kShotCount; i++) {
        EXPECT_STREQ(ammo[i]->getName(), "Shot");
        EXPECT_FALSE(ammo[i]->isActive());
        EXPECT_FLOAT_EQ(ammo[kShotCount - 1 - i]->getTranslation().z, -50.0f + 25.0f * i);
    }
    // The last shot waiting (at 175) is recycled after 88 frames.
    frames(88);
    u32 shown = 0;
    for (Transformable* shot : shots()) {
        vec3 at = shot->getTranslation();
        if (shot->isActive()) {
            shown++;
            EXPECT_FLOAT_EQ(at.x, kShipStart.x + 10);
            EXPECT_FLOAT_EQ(at.y, kShipStart.y - 5);
            EXPECT_LT(at.z, -50);
            EXPECT_GE(at.z, -300);
        }
    }
    EXPECT_EQ(shown, kShotCount);

    // Holding the pointer to one side moves the ship and the new shots.
    input.pointerDown = 1;
    input.pointerX = 1;
    input.pointerY = 0;
    frames(50);
    EXPECT_FLOAT_EQ(game->getPlayer()->getShipPosition().x, kShipStart.x + 50);
    u32 moved = 0;
    for (Transformable* shot : shots()) {
        moved += shot->getTranslation().x > kShipStart.x + 10 ? 1 : 0;
    }
    EXPECT_GT(moved, 0u);
}

TEST_F(AsteroidGameTest, ProjectionFollowsTheOrientation) {
    start(1);
    const mat4& projection = game->getCamera()->getProjection();
    // Column-major: x scale at 0, y scale at 5; their ratio is the aspect.
    EXPECT_FLOAT_EQ(projection.m[5] / projection.m[0], 1.5f)
        << "a game started in landscape sees it so from the first frame";
    frames(1, 0);
    EXPECT_FLOAT_EQ(projection.m[5] / projection.m[0], 0.6666667f);
    frames(1, 1);
    EXPECT_FLOAT_EQ(projection.m[5] / projection.m[0], 1.5f);
}

// The frames of level 2 before its picture is kept: the enemy ships are on
// their way and their shots race ahead of them.
const u32 kLevelTwoShowFrames = 150;

TEST_F(AsteroidGameTest, FiftyHitsReachLevelTwo) {
    start();
    for (u32 round = 0; round < 5; round++) {
        aimShots();
        frames(1);
        EXPECT_EQ(game->getStats().hits, static_cast<i32>(kShotCount * (round + 1)));
    }
    EXPECT_TRUE(game->getPause()->isActive());
    EXPECT_EQ(game->getStats().levelDone, 1);

    frames(1);
    ASSERT_NE(world->findChild("Asteroids", 1), nullptr) << "one frame with the text only";
    for (Transformable* rock : targets()) {
        EXPECT_LE(rock->getTranslation().z, -99) << "a hit rock respawns at its next update";
    }
    EXPECT_EQ(game->getStats().levelTwo, 0);

    frames(1);
    EXPECT_EQ(world->findChild("Asteroids", 1), nullptr);
    EXPECT_EQ(world->findChild("pause", 1), nullptr);
    EXPECT_EQ(game->getPause(), nullptr);
    ASSERT_NE(world->findChild("eShips", 1), nullptr);
    EXPECT_EQ(game->getStats().levelTwo, 1);
    EXPECT_EQ(game->getStats().hitThreshold, kLevelTwoHitThreshold);
    EXPECT_EQ(game->getStats().hits, kLevelOneGoal);
    EXPECT_EQ(game->getObjectCount(), 1 + kEnemyShipCount);
    std::vector<Transformable*> ships = targets();
    ASSERT_EQ(ships.size(), kEnemyShipCount);
    for (Transformable* ship : ships) {
        ASSERT_NE(ship->findChild("Shot", 2), nullptr);
        EXPECT_FLOAT_EQ(ship->getScale().x, 0.5f);
    }
    EXPECT_STREQ(ships.front()->getName(), "EshCP");

    frames(kLevelTwoShowFrames);
    if (StartGlWindow()) {
        EXPECT_TRUE(drawAndSaveWindow(game, &input, "asteroidshooter-level2"));
    }
    // The enemy shots meet the stream now and then on their own, and a
    // contact sets the counter back to 50: count from where it stands.
    const i32 before = game->getStats().hits;
    EXPECT_GE(before, kLevelOneGoal);
    aimShots();
    // A ship whose shot is not found is left out of the hit pass.
    targets().front()->findChild("Shot", 2)->setName("Lost");
    frames(1);
    EXPECT_EQ(game->getStats().hits, before + static_cast<i32>(kShotCount) - 1);
    EXPECT_EQ(game->getStats().levelDone, 0) << "nothing more to switch to";
    frames(20);
}

TEST_F(AsteroidGameTest, ContactInLevelOneClearsTheCounter) {
    start();
    aimShots();
    frames(1);
    ASSERT_EQ(game->getStats().hits, static_cast<i32>(kShotCount));
    vec3 ship = game->getPlayer()->getShipPosition();
    targets().front()->setTranslation(ship.x, ship.y, ship.z - 5);
    frames(1);
    EXPECT_EQ(game->getStats().hits, 0);
}

// Without the models the ship, the rocks and the enemy ships are missing;
// the shots stream on, and the level switch still runs.
TEST_F(AsteroidGameTest, RunsWithoutTheModels) {
    enterTreeWithoutModels({"shaders", "textures", "fonts"});
    LogOpen();
    start();
    LogClose();
    const std::string log = logText();
    EXPECT_NE(log.find("Couldn't open .pwn file"), std::string::npos) << log;
    EXPECT_EQ(game->getPlayer()->getShip(), nullptr);
    EXPECT_TRUE(targets().empty());
    frames(100);
    EXPECT_EQ(shots().size(), kShotCount);
    EXPECT_EQ(game->getStats().hits, 0);
}

} // namespace
