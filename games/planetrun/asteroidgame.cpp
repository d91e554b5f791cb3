#include "games/planetrun/asteroidgame.h"

#include "engine/camera.h"
#include "engine/group.h"
#include "engine/light.h"
#include "engine/materialphong.h"
#include "engine/materialtextured.h"
#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/text.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/planetrun/asteroid.h"
#include "games/planetrun/modeltemplate.h"
#include "games/planetrun/planet.h"
#include "games/planetrun/player.h"
#include "games/planetrun/sphere.h"
#include "games/planetrun/star.h"
#include "games/planetrun/wormhole.h"

#include <algorithm>

namespace {

const u32 kFirstSpheres = 2;
const u32 kFirstAsteroids = 20;
const u32 kStars = 100;

// The banners are 256 by 128 pictures. Through the camera's square aspect on
// the 320 by 480 screen, half sizes of 0.8 and 0.2667 of their distance show
// them pixel for pixel, whole, in the middle of the screen. They stand two
// units in front of the camera, clear of its near plane.
const f32 kBannerDistance = 2.0f;
const vec2 kBannerHalfSize(0.8f * kBannerDistance, 128.0f / 480.0f * kBannerDistance);

struct BannerSpec {
    const char* name;
    const char* file;
};

// By kind: none, lost, won, start.
const BannerSpec kBanners[4] = {{nullptr, nullptr},
                                {"GameOverSprite", "../textures/gameover.png"},
                                {"GameWonSprite", "../textures/gamewon.png"},
                                {"GameStartSprite", "../textures/gamestart.png"}};

} // namespace

AsteroidGame::AsteroidGame()
    : objects(), player(nullptr), wormhole(nullptr), world(nullptr), camera(nullptr),
      light(nullptr), banner(nullptr), bannerKind(kPlanetBannerNone), state(),
      asteroidAdjusted(false), asteroids(nullptr), spheres(nullptr), planets(nullptr),
      stars(nullptr) {
    world = SceneGraph::createWorld("GameWorld");
    world->setClearColor(true, vec4(0, 0, 0, 1));
    camera = SceneGraph::createCamera("myCamera");
    camera->setPerspectiveProjection(1.5707964f, 1.0f, 1.0f, 1000.0f);
    camera->setTranslation(0, 0, 30);
    world->attachChild(camera);
    world->setActiveCamera(camera);
    light = SceneGraph::createLight("myLight", vec3(1, 1, 1), 1);
    light->setTranslation(50, 50, 50);
    world->attachChild(light);
    createObjects();
}

// The world goes first with every node in it, then the objects (the spheres
// and planets with their lights), then the template meshes, which were never
// attached.
AsteroidGame::~AsteroidGame() {
    SceneGraph::deleteNode(world);
    for (GameObject* object : objects) {
        delete object;
    }
    delete asteroids;
    delete spheres;
    delete planets;
    delete stars;
}

void AsteroidGame::createObjects() {
    for (u32 i = 0; i < kFirstSpheres; i++) {
        Sphere::spawn(this);
    }
    for (u32 i = 0; i < kFirstAsteroids; i++) {
        Asteroid::spawn(this);
    }
    for (u32 i = 0; i < kStars; i++) {
        new Star(this);
    }
    player = new Player(this);
    wormhole = new Wormhole(this);
    Planet::spawn(this, Planet::kTatooine);
    Planet::spawn(this, Planet::kDeadStar);
    Planet::spawn(this, Planet::kHoth);
}

ModelTemplate* AsteroidGame::asteroidTemplate() {
    if (asteroids == nullptr) {
        asteroids = ModelTemplate::load(world, "Asteroid", "../models/pcube.pwn", "AsteroidGroup");
        if (asteroids->getMesh() != nullptr) {
            MaterialTextured* material = static_cast<MaterialTextured*>(
                SceneGraph::createMaterial(kMaterialTextured, "asteroidMaterial", 1));
            material->setDiffuseTexture("../textures/asteroid.png", 1);
            asteroids->getMesh()->setMaterial(material, false);
        }
    }
    return asteroids;
}

// The sphere model keeps its own lit material, shown in a plain picture so
// that the colour of each sphere's light is what shows.
ModelTemplate* AsteroidGame::sphereTemplate() {
    if (spheres == nullptr) {
        spheres = ModelTemplate::load(world, "Sphere", "../models/psphere.pwn", "SphereGroup");
        TriangleMesh* mesh = spheres->getMesh();
        MaterialPhong* material =
            mesh == nullptr ? nullptr : dynamic_cast<MaterialPhong*>(mesh->getMaterial());
        if (material != nullptr) {
            material->setDiffuseTexture("../textures/plain.png", 1);
        }
    }
    return spheres;
}

ModelTemplate* AsteroidGame::planetTemplate() {
    if (planets == nullptr) {
        planets = ModelTemplate::load(world, "Planet", "../models/psphere.pwn", "PlanetGroup");
    }
    return planets;
}

ModelTemplate* AsteroidGame::starTemplate() {
    if (stars == nullptr) {
        stars = Star::createTemplate(world);
    }
    return stars;
}

void AsteroidGame::addObject(GameObject* object) {
    objects.push_back(object);
}

void AsteroidGame::removeObject(GameObject* object) {
    auto at = std::find(objects.begin(), objects.end(), object);
    if (at == objects.end()) {
        return;
    }
    objects.erase(at);
    Transformable* node = object->getNode();
    if (node != nullptr) {
        node->detachFromParent();
        SceneGraph::deleteNode(node);
    }
    delete object;
}

GameObject* AsteroidGame::findObject(const char* word) const {
    for (GameObject* object : objects) {
        if (object->is(word)) {
            return object;
        }
    }
    return nullptr;
}

void AsteroidGame::showBanner(i32 kind) {
    SceneGraph::deleteNode(banner);
    banner = nullptr;
    bannerKind = kPlanetBannerNone;
    if (kind <= kPlanetBannerNone || kind > kPlanetBannerStart) {
        return;
    }
    banner = SceneGraph::createSprite(kBanners[kind].name, kBanners[kind].file, 1);
    banner->setSize(kBannerHalfSize);
    banner->setTranslation(0, 0, camera->getTranslation().z - kBannerDistance);
    world->attachChild(banner);
    bannerKind = kind;
}

bool AsteroidGame::update(FrameInput* input) {
    char line[64];
    PlanetHealthText(player->getHealth(), line, sizeof line);
    SceneGraph::getText()->print(line, -0.8f, 0.8f, 450, 20);
    if (state.gameOver) {
        return true;
    }
    PlanetBanner startBanner = kPlanetBannerNone;
    if (PlanetStartBannerStep(state, &startBanner)) {
        if (startBanner == kPlanetBannerStart) {
            showBanner(kPlanetBannerStart);
        } else if (state.bannerFrames < 0) {
            showBanner(kPlanetBannerNone);
        }
        return true;
    }
    if (endTest()) {
        return true;
    }
    collide();
    updateObjects(input);
    PlanetCountDown(state);
    refill();
    return true;
}

bool AsteroidGame::endTest() {
    switch (PlanetEndTest(player->getPosition().z, wormhole->getZ(), player->getHealth())) {
    case kPlanetWon:
        state.gameOver = true;
        showBanner(kPlanetBannerWon);
        return true;
    case kPlanetLost:
        state.gameOver = true;
        showBanner(kPlanetBannerLost);
        return true;
    default:
        return false;
    }
}

void AsteroidGame::collide() {
    const vec3 at = player->getPosition();
    const f32 radius = player->getRadius();
    std::vector<GameObject*> hits;
    for (GameObject* object : objects) {
        if ((object->is("Asteroid") || object->is("Sphere")) &&
            PlanetOverlap(object->getPosition(), object->getRadius(), at, radius)) {
            hits.push_back(object);
        }
    }
    for (GameObject* hit : hits) {
        if (hit->is("Asteroid")) {
            player->addDamage(PlanetAsteroidContact(state));
        } else {
            takeSphere(hit);
        }
    }
}

void AsteroidGame::takeSphere(GameObject* sphere) {
    PlanetSphereTaken(state, static_cast<Sphere*>(sphere)->getKind());
    removeObject(sphere);
}

// An object that leaves the game is taken out of the list where it stands,
// and the walk goes on with the one that took its place.
void AsteroidGame::updateObjects(FrameInput* input) {
    asteroidAdjusted = false;
    size_t i = 0;
    while (i < objects.size()) {
        GameObject* object = objects[i];
        object->update(input);
        if (afterUpdate(object)) {
            removeObject(object);
        } else {
            i++;
        }
    }
    if (asteroidAdjusted) {
        state.shrinkChanged = false;
    }
    if (asteroids != nullptr) {
        asteroids->getGroup()->setActive(PlanetAsteroidsVisible(state));
    }
}

bool AsteroidGame::afterUpdate(GameObject* object) {
    if (object->is("Player")) {
        camera->translate(0, 0, -kPlanetAdvance);
        if (state.growArmed) {
            player->grow();
            state.growArmed = false;
        }
        return false;
    }
    const bool passes = object->is("Asteroid") || object->is("Sphere") || object->is("Star");
    if (passes && PlanetPassed(camera->getTranslation().z, object->getPosition().z)) {
        return true;
    }
    if (object->is("Asteroid")) {
        adjustAsteroid(object);
    }
    return false;
}

void AsteroidGame::adjustAsteroid(GameObject* asteroid) {
    if (!state.shrinkChanged) {
        return;
    }
    const PlanetShrinkFactors factors = PlanetShrinkAdjustment(state.shrunk);
    static_cast<Asteroid*>(asteroid)->adjust(factors.velocityZ, factors.scale);
    asteroidAdjusted = true;
}

// Each spawn that fails (no model) ends its refill, so a missing model never
// keeps the loop going.
void AsteroidGame::refill() {
    for (u32 n = PlanetAsteroidsToSpawn(state.liveAsteroids); n > 0; n--) {
        Asteroid* asteroid = Asteroid::spawn(this);
        if (asteroid == nullptr) {
            break;
        }
        if (state.shrunk) {
            const PlanetShrinkFactors factors = PlanetShrinkAdjustment(true);
            asteroid->adjust(factors.velocityZ, factors.scale);
        }
    }
    for (u32 n = PlanetSpheresToSpawn(state.liveSpheres); n > 0; n--) {
        if (Sphere::spawn(this) == nullptr) {
            break;
        }
    }
}
