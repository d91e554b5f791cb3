#include "games/ogreblast/awesomenessgame.h"

#include "engine/camera.h"
#include "engine/group.h"
#include "engine/light.h"
#include "engine/materialphong.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/text.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/ogreblast/awesomenessmeter.h"
#include "games/ogreblast/background.h"
#include "games/ogreblast/bullet.h"
#include "games/ogreblast/ogre.h"
#include "games/ogreblast/player.h"
#include "games/ogreblast/rules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

const Result kNoMesh = {1, "The model has no mesh"};

const char* const kOgreModel = "../models/ogrehead.pwn";
const char* const kShipModel = "../models/new_spaceship.pwn";

struct ScreenSpec {
    const char* name;
    const char* file;
    vec2 size;
    vec3 position;
};

const ScreenSpec kProlog = {"Prolog", "../textures/prolog_screen.png", vec2(225, 160),
                            vec3(5, 0, 60)};
const ScreenSpec kWelcome = {"Welcome", "../textures/welcome_screen.png", vec2(240, 160),
                             vec3(-20, 0, 60)};
const ScreenSpec kKill = {"Kill", "../textures/kill_screen.png", vec2(240, 160), vec3(-20, 0, 60)};

struct BackgroundSpec {
    f32 speed;
    const char* file;
    f32 depth;
};

const BackgroundSpec kBackgrounds[3] = {
    {-100, "../textures/space.png", -75},
    {-125, "../textures/space3.png", -72},
    {-135, "../textures/space3.png", -71},
};
const f32 kThirdFieldOffset = -50.0f;

struct MaterialSpec {
    const char* name;
    u32 purgeLevel;
    const char* texture; // or null
    vec3 ambient;
    vec3 diffuse;
    f32 specularLevel;
    f32 shininess;
};

const MaterialSpec kOgreMaterial = {"laettmjoelk",
                                    2,
                                    "../textures/smajl.png",
                                    vec3(0.6f, 0.6f, 0.6f),
                                    vec3(0.3f, 0.3f, 0.3f),
                                    1,
                                    1};
const MaterialSpec kShipMaterial = {"playerMaterial",
                                    3,
                                    "../textures/chrome.png",
                                    vec3(0.2f, 0.2f, 0.2f),
                                    vec3(0.7f, 0.5f, 0.5f),
                                    2,
                                    6};
const MaterialSpec kFragmentMaterial = {"mellanmjoelk",      2, nullptr, vec3(0.5f, 0.7f, 0),
                                        vec3(0.7f, 0.9f, 0), 2, 6};

Sprite* createScreen(World* world, const ScreenSpec& spec) {
    Sprite* sprite = SceneGraph::createSprite(spec.name, spec.file, 1);
    sprite->setSize(spec.size);
    world->attachChild(sprite);
    sprite->setTranslation(spec.position);
    sprite->setDrawSelf(false);
    return sprite;
}

// Child 0 of a loaded group when it is a mesh; else a warning and null, and
// the game makes nothing from it.
TriangleMesh* firstMesh(Group* group) {
    Node* first = group->getChild(0);
    if (first == nullptr || first->getType() != kNodeTriangleMesh) {
        REPORT(kNoMesh);
        return nullptr;
    }
    return static_cast<TriangleMesh*>(first);
}

// Gives the template the material (its reference passes to the mesh) and
// the light in slot 0; without a template the reference is given back.
void dress(TriangleMesh* mesh, const MaterialSpec& spec, Light* light) {
    MaterialPoint* material = static_cast<MaterialPoint*>(
        SceneGraph::createMaterial(kMaterialPoint, spec.name, spec.purgeLevel));
    if (spec.texture != nullptr) {
        material->setDiffuseTexture(spec.texture, 1);
    }
    material->ambientColor = spec.ambient;
    material->diffuseColor = spec.diffuse;
    material->specularColor = vec3(1, 1, 1);
    material->specularLevel = spec.specularLevel;
    material->shininess = spec.shininess;
    material->emissive = 0;
    if (mesh == nullptr) {
        SceneGraph::dereferenceResource(material);
        return;
    }
    mesh->setMaterial(material, false);
    mesh->setLight(light, 0);
}

template <typename T> void removeAll(std::vector<T*>& list, GameObject* object) {
    list.erase(std::remove(list.begin(), list.end(), object), list.end());
}

} // namespace

AwesomenessGame::AwesomenessGame()
    : state(kOgreProlog), world(nullptr), player(nullptr), prologScreen(nullptr),
      welcomeScreen(nullptr), killScreen(nullptr), meter(nullptr), backgrounds{},
      bulletTemplate(nullptr), explosionTemplate(nullptr), ogreGroup(nullptr), playerGroup(nullptr),
      explosionGroup(nullptr), ogreTemplate(nullptr), playerTemplate(nullptr), light(nullptr),
      lastWaveTime(0), lastShotTime(0), score(0) {
    world = SceneGraph::createWorld("GameWorld");
    Camera* camera = SceneGraph::createCamera("MyCamera");
    light = SceneGraph::createLight("white", vec3(1, 1, 1), 0.3f);
    light->setTranslation(0, 50, 300);
    world->attachChild(camera);
    world->attachChild(light);
    world->setActiveCamera(camera);
    camera->setPerspectiveProjection(0.785f, 1.5f, 10, 1000);
    camera->setTranslation(0, 0, 400);
    createScreens();
    meter = new AwesomenessMeter(this);
    addObject(meter);
    createBackgrounds();
    bulletTemplate = SceneGraph::createSprite("bullet", "../textures/lazor.png", 1);
    bulletTemplate->setSize(vec2(6, 1.5f));
    loadModels();
    dressModels();
    player = new Player(this);
    addObject(player);
}

// The objects first, each taking its own nodes out of the world; then the
// templates, which were never attached; then the world with the rest.
AwesomenessGame::~AwesomenessGame() {
    for (GameObject* object : objects) {
        delete object;
    }
    SceneGraph::deleteNode(bulletTemplate);
    SceneGraph::deleteNode(ogreGroup);
    SceneGraph::deleteNode(playerGroup);
    SceneGraph::deleteNode(explosionGroup);
    SceneGraph::deleteNode(world);
}

void AwesomenessGame::addObject(GameObject* object) {
    objects.push_back(object);
}

void AwesomenessGame::createScreens() {
    prologScreen = createScreen(world, kProlog);
    welcomeScreen = createScreen(world, kWelcome);
    killScreen = createScreen(world, kKill);
}

void AwesomenessGame::createBackgrounds() {
    for (u32 i = 0; i < 3; i++) {
        const BackgroundSpec& spec = kBackgrounds[i];
        backgrounds[i] = new BackGround(this, spec.speed, spec.file, spec.depth);
        addObject(backgrounds[i]);
    }
    backgrounds[2]->shift(kThirdFieldOffset);
}

void AwesomenessGame::loadModels() {
    ogreGroup = SceneGraph::createGroup("ogregroup", kOgreModel, true, 2);
    playerGroup = SceneGraph::createGroup("playerGroup", kShipModel, true, 3);
    explosionGroup = SceneGraph::createGroup("explosionGroup", kOgreModel, true, 3);
    ogreTemplate = firstMesh(ogreGroup);
    playerTemplate = firstMesh(playerGroup);
    explosionTemplate = firstMesh(explosionGroup);
}

void AwesomenessGame::dressModels() {
    dress(ogreTemplate, kOgreMaterial, light);
    dress(playerTemplate, kShipMaterial, light);
    dress(explosionTemplate, kFragmentMaterial, light);
}

Sprite* AwesomenessGame::screenOf(u32 screenState) const {
    switch (screenState) {
    case kOgreProlog:
        return prologScreen;
    case kOgreWelcome:
        return welcomeScreen;
    case kOgreKillScreen:
        return killScreen;
    default:
        return nullptr;
    }
}

bool AwesomenessGame::update(FrameInput* input) {
    Sprite* screen = screenOf(state);
    if (screen != nullptr) {
        screen->setDrawSelf(true);
        u32 next = OgreNextState(state, *input);
        if (next != state) {
            screen->setDrawSelf(false);
            state = next;
        }
    } else if (state == kOgrePlaying) {
        play(input);
    }
    return true;
}

void AwesomenessGame::play(FrameInput* input) {
    score += OgreFrameScore(input->deltaTime);
    for (size_t i = 0; i < objects.size(); i++) {
        objects[i]->update(input);
    }
    removeDead();
    checkCollisions();
    if (OgreWaveDue(input->time, lastWaveTime)) {
        spawnWave(input->time);
    }
    if (OgreFireDue(*input, lastShotTime)) {
        fire(input->time);
    }
    printHud();
}

void AwesomenessGame::removeDead() {
    std::vector<GameObject*> dead;
    for (GameObject* object : objects) {
        if (object->isDead() && object != player) {
            dead.push_back(object);
        }
    }
    for (GameObject* object : dead) {
        removeAll(objects, object);
        removeAll(ogres, object);
        removeAll(bullets, object);
    }
    for (GameObject* object : dead) {
        delete object;
    }
}

bool AwesomenessGame::collide(GameObject* a, GameObject* b) {
    return OgreCollide(a->getPosition(), a->getRadius(), b->getPosition(), b->getRadius());
}

// Every bullet against every ogre, then the ship; a destroyed ship ends the
// pass at once, the lists being emptied under it.
void AwesomenessGame::checkCollisions() {
    for (size_t i = 0; i < ogres.size(); i++) {
        Ogre* ogre = ogres[i];
        for (Bullet* bullet : bullets) {
            if (collide(ogre, bullet)) {
                ogre->hit();
                bullet->hit();
                meter->add(kOgreHitMeter);
                score += OgreHitScore(meter->getValue());
            }
        }
        if (collide(ogre, player)) {
            ogre->hit();
            player->hit();
            if (player->isDead()) {
                restart();
                return;
            }
        }
    }
}

void AwesomenessGame::spawnWave(f32 time) {
    lastWaveTime = time;
    if (ogreTemplate == nullptr) {
        return;
    }
    const OgreWave& wave = OgreWaveFor(score);
    for (u32 i = 0; i < wave.count; i++) {
        f32 y = OgreWaveY(std::rand());
        Ogre* ogre = new Ogre(this, wave.speed, vec2(static_cast<f32>(i) * wave.spacing, y),
                              OgreWaveMovement(wave, i));
        addObject(ogre);
        ogres.push_back(ogre);
    }
}

void AwesomenessGame::fire(f32 time) {
    lastShotTime = time;
    Bullet* bullet = new Bullet(this, player->getPosition());
    addObject(bullet);
    bullets.push_back(bullet);
}

void AwesomenessGame::printHud() {
    char line[64];
    std::snprintf(line, sizeof line, "~c9904Awesome: %.10u", score);
    SceneGraph::getText()->print(line, -0.93f, 0.65f, 200, 1);
    std::snprintf(line, sizeof line, "~c9904Shield awesomeness: %.0f%%",
                  player->getShield() / kOgreShieldFull * 100);
    SceneGraph::getText()->print(line, -0.93f, -0.9f, 400, 1);
}

void AwesomenessGame::restart() {
    state = kOgreKillScreen;
    score = 0;
    objects.clear();
    for (BackGround* background : backgrounds) {
        objects.push_back(background);
    }
    objects.push_back(meter);
    objects.push_back(player);
    player->revive();
    meter->empty();
    for (Ogre* ogre : ogres) {
        delete ogre;
    }
    for (Bullet* bullet : bullets) {
        delete bullet;
    }
    ogres.clear();
    bullets.clear();
}
