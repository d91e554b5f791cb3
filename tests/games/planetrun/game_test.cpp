// The planet run's game object over the real scene registry: the scene it
// builds, the start banner, the lost path (an asteroid held on the ship) and
// the won path (a clear flight to the wormhole), the power-up spheres' effects
// on the scene, a run without models, and the memory left behind. A GL window
// is used when a display exists; the checks read the scene, not pixels.
#include "engine/camera.h"
#include "engine/group.h"
#include "engine/light.h"
#include "engine/materialphong.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/planetrun/asteroidgame.h"
#include "games/planetrun/gameobject.h"
#include "games/planetrun/modeltemplate.h"
#include "games/planetrun/player.h"
#include "games/planetrun/sphere.h"
#include "tests/support/gametest.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A flight lasts the 61 banner frames and 1,820 frames of play.
constexpr u32 kBannerFrames = 61;
constexpr u32 kFlightFrames = 1820;

class PlanetGame : public GameTest {
  protected:
    void TearDown() override {
        delete game;
        GameTest::TearDown();
    }

    void start() {
        game = new AsteroidGame();
        player = game->getPlayer();
    }
    // Frames as the game runs them, drawn every tenth frame when a window
    // exists; before each, the test's own move of the scene.
    template <typename Before> void frames(u32 count, Before before) {
        for (u32 i = 0; i < count; i++) {
            before();
            ASSERT_TRUE(game->update(&input));
            if (drawing && i % 10 == 0) {
                game->getWorld()->drawAll(&input);
            }
        }
    }
    void frames(u32 count) {
        frames(count, [] {});
    }
    void flyWithoutModels(const char* report);
    void skipBanner() {
        frames(kBannerFrames);
        ASSERT_EQ(game->getBanner(), nullptr);
    }

    std::vector<GameObject*> all(const char* word) const {
        std::vector<GameObject*> found;
        for (GameObject* object : game->getObjects()) {
            if (object->is(word)) {
                found.push_back(object);
            }
        }
        return found;
    }
    // Puts the object where the ship is, so that the next frame's collisions
    // find it.
    void onShip(GameObject* object) const {
        object->getNode()->setTranslation(player->getPosition());
    }
    // Moves every object of the kind far to the side of the ship.
    void clear(const char* word) const {
        for (GameObject* object : all(word)) {
            vec3 at = object->getNode()->getTranslation();
            object->getNode()->setTranslation(1000, at.y, at.z);
        }
    }
    // A sphere at the ship's depth, which the frame just played should
    // have taken.
    bool sphereAtTheShip() const {
        for (GameObject* sphere : all("Sphere")) {
            if (std::fabs(sphere->getPosition().z - player->getPosition().z) < 5) {
                return true;
            }
        }
        return false;
    }
    Group* namedGroup(const char* name) const {
        return static_cast<Group*>(game->getWorld()->findChild(name, 0));
    }

    AsteroidGame* game = nullptr;
    Player* player = nullptr;
    FrameInput input{};
};

TEST_F(PlanetGame, BuildsTheFlightWithItsObjectsInOrder) {
    start();
    const std::vector<GameObject*>& objects = game->getObjects();
    ASSERT_EQ(objects.size(), 2u + 20 + 100 + 1 + 1 + 3);
    const char* const order[] = {"Sphere", "Asteroid", "Star", "Player", "Wormhole", "Planet"};
    const u32 counts[] = {2, 20, 100, 1, 1, 3};
    u32 at = 0;
    for (u32 kind = 0; kind < 6; kind++) {
        for (u32 i = 0; i < counts[kind]; i++, at++) {
            EXPECT_STREQ(objects[at]->getClassWord(), order[kind]) << at;
        }
    }
    EXPECT_EQ(game->getState().liveAsteroids, 20u);
    EXPECT_EQ(game->getState().liveSpheres, 2u);
    EXPECT_EQ(game->findObject("Asteroid"), objects[2]);
    EXPECT_EQ(game->findObject("Player"), player);
    EXPECT_EQ(game->findObject("Comet"), nullptr);
    ASSERT_NE(player->getMesh(), nullptr);
    EXPECT_FLOAT_EQ(player->getPosition().y, -20);
    EXPECT_FLOAT_EQ(player->getPosition().z, -30);
    EXPECT_FLOAT_EQ(player->getRadius(), 10);
    EXPECT_EQ(game->getWorld()->getActiveCamera(), game->getCamera());
    EXPECT_FLOAT_EQ(game->getCamera()->getTranslation().z, 30);
    for (GameObject* sphere : all("Sphere")) {
        const Light* light = static_cast<TriangleMesh*>(sphere->getNode())->getLight(0);
        ASSERT_NE(light, nullptr);
        EXPECT_EQ(light->getParent(), nullptr) << "the sphere's own light stays unattached";
        EXPECT_FLOAT_EQ(light->worldPosition().z, sphere->getPosition().z + 8)
            << "and shines on it from the camera's side";
    }
    TriangleMesh* sphereTemplate = game->sphereTemplate()->getMesh();
    ASSERT_NE(sphereTemplate, nullptr);
    const MaterialPhong* sphereMaterial =
        dynamic_cast<const MaterialPhong*>(sphereTemplate->getMaterial());
    ASSERT_NE(sphereMaterial, nullptr);
    EXPECT_NE(sphereMaterial->getDiffuseTexture(), nullptr) << "the spheres' plain picture";
    const Light* planetLight = static_cast<TriangleMesh*>(all("Planet")[0]->getNode())->getLight(0);
    ASSERT_NE(planetLight, nullptr);
    EXPECT_STREQ(planetLight->getName(), "planetLight");
}

TEST_F(PlanetGame, StartBannerShowsSixtyOneFramesAndMovesNothing) {
    start();
    std::vector<vec3> before;
    for (GameObject* object : game->getObjects()) {
        before.push_back(object->getPosition());
    }
    frames(1);
    ASSERT_NE(game->getBanner(), nullptr);
    EXPECT_EQ(game->getBannerKind(), kPlanetBannerStart);
    EXPECT_EQ(game->getBanner()->getParent(), game->getWorld());
    EXPECT_FLOAT_EQ(game->getBanner()->getTranslation().z, 28);
    input.pointerDown = 1;
    input.pointerX = 1;
    frames(kBannerFrames - 2);
    EXPECT_EQ(game->getBannerKind(), kPlanetBannerStart);
    frames(1);
    EXPECT_EQ(game->getBanner(), nullptr) << "taken down after 61 frames";
    for (size_t i = 0; i < before.size(); i++) {
        const vec3 now = game->getObjects()[i]->getPosition();
        EXPECT_EQ(now.x, before[i].x) << i;
        EXPECT_EQ(now.z, before[i].z) << i;
    }
    EXPECT_EQ(player->getHealth(), 100);
    EXPECT_FLOAT_EQ(game->getCamera()->getTranslation().z, 30);
    frames(1);
    EXPECT_FLOAT_EQ(player->getPosition().x, 1) << "play begins: the pointer steers";
    EXPECT_FLOAT_EQ(player->getPosition().z, -30.5f);
    EXPECT_FLOAT_EQ(game->getCamera()->getTranslation().z, 29.5f);
}

// An asteroid put on the ship every 50 frames, once the immunity of the last
// contact has run out; the spheres, some of which would grow the ship back,
// and the other asteroids are kept away.
TEST_F(PlanetGame, AsteroidsOnTheShipLoseTheGame) {
    start();
    skipBanner();
    u32 played = 0;
    while (!game->getState().gameOver && played < 400) {
        frames(1, [&] {
            clear("Sphere");
            clear("Asteroid");
            if (played % 50 == 0) {
                onShip(all("Asteroid")[0]);
            }
        });
        played++;
        if (played == 1 || played == 50) {
            EXPECT_EQ(player->getShip().damage, 20) << "one contact costs 20 once";
        }
    }
    ASSERT_TRUE(game->getState().gameOver);
    EXPECT_EQ(player->getHealth(), 0);
    EXPECT_EQ(game->getBannerKind(), kPlanetBannerLost);
    ASSERT_NE(game->getBanner(), nullptr);
    EXPECT_STREQ(game->getBanner()->getName(), "GameOverSprite");
    EXPECT_EQ(game->getBanner()->getParent(), game->getWorld());

    // After the end nothing moves, and the banner stays.
    const vec3 ship = player->getPosition();
    const vec3 camera = game->getCamera()->getTranslation();
    const size_t count = game->getObjects().size();
    frames(30);
    EXPECT_EQ(player->getPosition().z, ship.z);
    EXPECT_EQ(game->getCamera()->getTranslation().z, camera.z);
    EXPECT_EQ(game->getObjects().size(), count);
    EXPECT_EQ(game->getBannerKind(), kPlanetBannerLost);
}

TEST_F(PlanetGame, ClearFlightReachesTheWormholeAndWins) {
    start();
    skipBanner();
    u32 played = 0;
    while (!game->getState().gameOver && played < kFlightFrames + 10) {
        frames(1, [&] { clear("Asteroid"); });
        played++;
        ASSERT_EQ(game->getState().liveAsteroids, 20u) << "refilled every frame";
        ASSERT_GE(game->getState().liveSpheres, 2u);
        ASSERT_EQ(all("Asteroid").size(), 20u);
    }
    ASSERT_TRUE(game->getState().gameOver);
    EXPECT_EQ(played, kFlightFrames + 1) << "the frame after the ship reaches z = -940";
    EXPECT_LE(player->getPosition().z, -940);
    EXPECT_GT(player->getHealth(), 0);
    EXPECT_EQ(game->getBannerKind(), kPlanetBannerWon);
    EXPECT_STREQ(game->getBanner()->getName(), "GameWonSprite");
    EXPECT_FLOAT_EQ(game->getBanner()->getTranslation().z,
                    game->getCamera()->getTranslation().z - 2);
    EXPECT_EQ(all("Star").size(), 100u) << "stars keep pace and are never passed";
    EXPECT_EQ(all("Planet").size(), 3u);
}

// Two neighbours in the list pass the camera in one frame: both leave the
// game, the walk goes on with the object after them, and the refill brings
// the asteroids back to twenty.
TEST_F(PlanetGame, ObjectsLeavingDuringThePassKeepTheWalkGoing) {
    start();
    skipBanner();
    clear("Sphere");
    const std::vector<GameObject*>& objects = game->getObjects();
    size_t first = 0;
    while (!objects[first]->is("Asteroid") || !objects[first + 2]->is("Asteroid")) {
        first++;
    }
    GameObject* next = objects[first + 2];
    const f32 behind = game->getCamera()->getTranslation().z + 5;
    for (size_t i = first; i < first + 2; i++) {
        const vec3 at = objects[i]->getPosition();
        objects[i]->getNode()->setTranslation(at.x, at.y, behind);
    }
    const f32 nextZ = next->getPosition().z;
    const size_t count = objects.size();
    frames(1);
    EXPECT_EQ(objects[first], next);
    EXPECT_GT(next->getPosition().z, nextZ) << "the object after them still moved";
    EXPECT_EQ(objects.size(), count);
    EXPECT_EQ(game->getState().liveAsteroids, 20u);
    EXPECT_EQ(all("Asteroid").size(), 20u);
}

// Spheres taken one after the other until each kind has been seen: white
// shrinks the asteroids (and a second white restores them), green grows the
// ship and clears its damage, blue hides the asteroid group but not the
// stars, whose group shares its name.
TEST_F(PlanetGame, SpheresActOnTheScene) {
    start();
    skipBanner();
    Group* stars = nullptr;
    for (u32 i = 0; i < game->getWorld()->getChildCount(); i++) {
        Node* child = game->getWorld()->getChild(i);
        if (std::strcmp(child->getName(), "AsteroidGroup") == 0 && child->getChildCount() == 100) {
            stars = static_cast<Group*>(child);
        }
    }
    ASSERT_NE(stars, nullptr);
    bool seen[3] = {false, false, false};
    for (u32 attempt = 0; attempt < 60 && !(seen[0] && seen[1] && seen[2]); attempt++) {
        frames(1, [&] { clear("Asteroid"); });
        Sphere* sphere = static_cast<Sphere*>(all("Sphere")[0]);
        const i32 kind = sphere->getKind();
        GameObject* rock = all("Asteroid")[0];
        const f32 rockScale = rock->getNode()->getScale().x;
        const bool wasShrunk = game->getState().shrunk;
        player->getShip().damage = 10;
        PlanetShip grown = player->getShip();
        PlanetShipStep(grown, input);
        PlanetShipGrow(grown);
        frames(1, [&] {
            clear("Asteroid");
            onShip(sphere);
        });
        EXPECT_FALSE(sphereAtTheShip()) << "taken";
        EXPECT_GE(all("Sphere").size(), 2u);
        seen[kind / 100 - 1] = true;
        if (kind == kPlanetSphereWhite) {
            EXPECT_NE(game->getState().shrunk, wasShrunk);
            EXPECT_FALSE(game->getState().shrinkChanged);
            EXPECT_FLOAT_EQ(rock->getNode()->getScale().x, rockScale * (wasShrunk ? 4 : 0.25f));
        } else if (kind == kPlanetSphereGreen) {
            EXPECT_EQ(player->getShip().damage, 0);
            EXPECT_FLOAT_EQ(player->getShip().scale.x, grown.scale.x);
        } else {
            EXPECT_FALSE(game->asteroidTemplate()->getGroup()->isActive());
            EXPECT_TRUE(stars->isActive()) << "the stars stay on";
            EXPECT_EQ(game->getState().asteroidsOff, 199);
        }
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
}

// A flight with no model to read: no asteroids, spheres or planets can be
// made, the refills give up at once, the ship flies unseen, and the flight
// still ends at the wormhole.
void PlanetGame::flyWithoutModels(const char* report) {
    LogOpen();
    start();
    LogClose();
    const std::string log = logText();
    EXPECT_NE(log.find(report), std::string::npos) << log;
    EXPECT_EQ(player->getMesh(), nullptr);
    EXPECT_TRUE(all("Asteroid").empty());
    EXPECT_TRUE(all("Sphere").empty());
    EXPECT_TRUE(all("Planet").empty());
    EXPECT_EQ(all("Star").size(), 100u);
    frames(kBannerFrames + kFlightFrames + 1);
    EXPECT_TRUE(game->getState().gameOver);
    EXPECT_EQ(game->getBannerKind(), kPlanetBannerWon);
    EXPECT_EQ(player->getHealth(), 40);
}

TEST_F(PlanetGame, RunsToTheWormholeWithoutModels) {
    enterTreeWithoutModels({"shaders", "textures", "fonts"});
    flyWithoutModels("Couldn't open .pwn file");
}

TEST_F(PlanetGame, RunsToTheWormholeWithEmptyModels) {
    enterTreeWithoutModels({"shaders", "textures", "fonts"});
    for (const char* name : {"pcube", "psphere", "new_spaceship"}) {
        std::ofstream(std::string("../models/") + name + ".pwn");
    }
    flyWithoutModels("File doesn't appear to be a .pwn file");
}

} // namespace
