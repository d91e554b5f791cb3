#include "games/mazechase/nibblorgame.h"

#include "engine/camera.h"
#include "engine/group.h"
#include "engine/light.h"
#include "engine/platform.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/text.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/mazechase/background.h"
#include "games/mazechase/extralife.h"
#include "games/mazechase/highscore.h"
#include "games/mazechase/minimap.h"
#include "games/mazechase/monster.h"
#include "games/mazechase/player.h"
#include "games/mazechase/scenery.h"
#include "games/mazechase/templates.h"

#include <GLES2/gl2.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

const vec3 kCellSize(40, 4, 40);
const vec3 kMazeOrigin(600, 0, 600);
const vec3 kWallScale(4, 2, 4);
const vec3 kMinimapCellSize(1, 1, 1);
const vec3 kMinimapOrigin(60, 14, -5);
const vec3 kMinimapPelletScale(0.6f, 0.6f, 1);
const vec3 kMinimapTileScale(1, 1, 1);

// The game's only pacing: at most 30 frames a second, each one update.
constexpr i32 kFramesPerSecond = 30;

// The templates of buildLevel and the groups their copies go into, by kind.
enum TemplateKind {
    kFoodTemplate,
    kOuterTemplate,
    kInnerTemplate,
    kCageTemplate,
    kSpecialTemplate
};

// Reports an error naming the level file; the program ends there.
void reportLevelError(const char* format, const char* path) {
    static char text[160];
    std::snprintf(text, sizeof text, format, path);
    REPORT((Result{2, text}));
}

} // namespace

NibblorGame::NibblorGame(High_Score* scores, i32 level)
    : mainWorld(nullptr), minimapWorld(nullptr), mainCamera(nullptr), minimapCamera(nullptr),
      worldLight(nullptr), minimapLight(nullptr), gameOverLight(nullptr), minimap(nullptr),
      minimapGroup(nullptr), foodGroup(nullptr), specialFoodGroup(nullptr), lifeLost(false),
      gameOver(false), lives(1), score(0), player(nullptr), gameOverBlack(nullptr),
      gameOverRed(nullptr), highScores(scores), extraLife(nullptr), background(nullptr),
      pacer(kFramesPerSecond) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    std::memset(pelletNodes, 0, sizeof pelletNodes);
    const char* path = MatrixMap::levelPath(level);
    GridPosition start;
    if (!map.load(path)) {
        reportLevelError("Couldn't read the level file %s", path);
    } else if (!map.find(kFlagPlayer, &start)) {
        reportLevelError("The level file %s has no player start", path);
    }
    createWorlds();
    buildLevel();
    minimap->addBackground();
    minimapWorld->attachChild(minimapGroup);
    gameOverLight = SceneGraph::createLight("Game over light");
    gameOverLight->translate(0, 0, 100);
    getPlayerNode()->attachChild(gameOverLight);
    createBackground();
    createFloor();
    createGameOverPanel();
    createStatsBar();
    extraLife = new Extra_life(this, 1);
}

// The main world goes with everything in it; then the objects, whose nodes
// are gone already, the templates the game keeps, and the minimap with its
// world.
NibblorGame::~NibblorGame() {
    SceneGraph::deleteNode(mainWorld);
    for (GameObject* object : objects) {
        delete object;
    }
    delete background;
    delete extraLife;
    delete minimap;
}

void NibblorGame::createWorlds() {
    mainWorld = SceneGraph::createWorld("It is a Nibblors World!");
    mainWorld->setClearColor(true, vec4(0, 0, 0, 1));
    mainWorld->setViewport(0, 0, 480, 320);
    worldLight = SceneGraph::createLight("WorldLight");
    worldLight->translate(0, 150, 0);
    mainWorld->attachChild(worldLight);
    mainCamera = SceneGraph::createCamera("Camera");
    mainCamera->setPerspectiveProjection(1.57f, 1.5f, 1, 3000);
    mainCamera->rotate(0.44857144f, -1, 0, 0);
    mainCamera->setTranslation(0, 70, 35);
    mainWorld->setActiveCamera(mainCamera);

    minimapWorld = SceneGraph::createWorld("Minimap World");
    minimapWorld->setClearColor(false, vec4(0, 0, 0, 1));
    minimapWorld->setViewport(0, 200, 480, 120);
    minimapLight = SceneGraph::createLight("Minimap Light");
    minimapLight->translate(15, 10, 60);
    minimapWorld->attachChild(minimapLight);
    minimapCamera = SceneGraph::createCamera("Minimap Camera");
    minimapCamera->setPerspectiveProjection(1.57f, 4, 1, 50);
    minimapCamera->setTranslation(0, 0, 10);
    minimapWorld->attachChild(minimapCamera);
    minimapWorld->setActiveCamera(minimapCamera);
    minimapGroup = SceneGraph::createGroup("Minimap group");
    minimap = new MiniMap(minimapWorld, &map, minimapLight, minimapGroup);
}

void NibblorGame::buildLevel() {
    Group* walls = SceneGraph::createGroup("Group: Walls");
    Group* outerWalls = SceneGraph::createGroup("Group: Outer Walls");
    Group* innerWalls = SceneGraph::createGroup("Group: Inner Walls");
    foodGroup = SceneGraph::createGroup("Group: Food");
    Group* cage = SceneGraph::createGroup("Group: Monster Cage");
    specialFoodGroup = SceneGraph::createGroup("Group: Special Food");
    Object* const templates[5] = {new Food(this), new Outer_Wall(this), new Inner_Wall(this),
                                  new Monster_Cage(this), new Special_Food(this)};
    // In the order of TemplateKind.
    Group* const groups[5] = {foodGroup, outerWalls, innerWalls, cage, specialFoodGroup};
    for (i32 y = 0; y < kMazeSize; y++) {
        for (i32 x = 0; x < kMazeSize; x++) {
            buildCell(x, y, templates, groups);
        }
    }
    for (Object* t : templates) {
        delete t;
    }
    foodGroup->setScale(1, 1, 1);
    walls->attachChild(outerWalls);
    walls->attachChild(innerWalls);
    mainWorld->attachChild(walls);
    mainWorld->attachChild(foodGroup);
    mainWorld->attachChild(specialFoodGroup);
    mainWorld->attachChild(cage);
}

TriangleMesh* NibblorGame::copyTemplate(Object* from, const char* name, Group* into) {
    TriangleMesh* copy = static_cast<TriangleMesh*>(from->getNode()->duplicate(name, false));
    into->attachChild(copy);
    return copy;
}

// The first matching case builds the cell: a pellet, an outer or inner wall,
// the player, a monster (also inside the cage), a cage block, a power
// pellet; anything else leaves it empty and black on the minimap.
void NibblorGame::buildCell(i32 x, i32 y, Object* const templates[5], Group* const groups[5]) {
    u8 cell = map.getCellByRow(y, x);
    GridPosition at(x, y);
    vec3 world = toWorldPosition(static_cast<f32>(x), static_cast<f32>(y));
    vec3 tile = toMinimapPosition(static_cast<f32>(x), static_cast<f32>(y));
    vec3 pelletTile = tile + vec3(0.35f * kMinimapCellSize.x, -0.05f * kMinimapCellSize.y, 0);
    if (CellIs(cell, kFlagPellet)) {
        TriangleMesh* food =
            copyTemplate(templates[kFoodTemplate], "Food mesh", groups[kFoodTemplate]);
        food->setTranslation(world);
        pelletNodes[y][x] = food;
        minimap->addMesh(kFlagPellet, pelletTile, kMinimapPelletScale, at);
    } else if (CellIs(cell, kFlagOuterWall) || CellIs(cell, kFlagInnerWall)) {
        bool outer = CellIs(cell, kFlagOuterWall);
        TriangleMesh* wall = outer ? copyTemplate(templates[kOuterTemplate], "Outer wall mesh",
                                                  groups[kOuterTemplate])
                                   : copyTemplate(templates[kInnerTemplate], "Inner wall mesh",
                                                  groups[kInnerTemplate]);
        wall->scale(kWallScale);
        wall->setTranslation(world);
        minimap->addMesh(outer ? kFlagOuterWall : kFlagInnerWall, tile, kMinimapTileScale, at);
    } else if (CellIs(cell, kFlagPlayer)) {
        createActor(kFlagPlayer, at);
    } else if (CellHolds(cell, kFlagMonster)) {
        createActor(kFlagMonster, at);
    } else if (CellHolds(cell, kFlagCage)) {
        TriangleMesh* block =
            copyTemplate(templates[kCageTemplate], "Monster cage mesh", groups[kCageTemplate]);
        block->scale(kWallScale);
        block->setTranslation(world);
        minimap->addMesh(kFlagCage, tile, kMinimapTileScale, at);
    } else if (CellIs(cell, kFlagPowerPellet)) {
        TriangleMesh* power = copyTemplate(templates[kSpecialTemplate], "Special Food mesh",
                                           groups[kSpecialTemplate]);
        power->setTranslation(world + vec3(0, 4, 0));
        power->scale(2, 2, 2);
        power->rotate(0.628f, 0, 0, 1);
        pelletNodes[y][x] = power;
        minimap->addMesh(kFlagPowerPellet, pelletTile, kMinimapPelletScale, at);
    }
}

void NibblorGame::createActor(i32 type, GridPosition cell) {
    Object* mover = nullptr;
    if (type == kFlagPlayer) {
        lifeLost = false;
        player = new Player(this);
        mover = player;
        mainCamera->detachFromParent();
        player->getNode()->attachChild(mainCamera);
    } else if (type == kFlagMonster) {
        Monster* monster = new Monster(this);
        monsters.push_back(monster);
        monsterActors.push_back(&monster->getActor());
        mover = monster;
    } else {
        return;
    }
    vec3 tile = toMinimapPosition(static_cast<f32>(cell.x), static_cast<f32>(cell.y));
    mover->setMarker(minimap->addMesh(type, tile, kMinimapTileScale, cell));
    mover->placeAt(cell);
    mainWorld->attachChild(mover->getNode());
    addObject(mover);
}

void NibblorGame::createBackground() {
    background = new BackgroundModel();
    TriangleMesh* box = background->getNode();
    box->setLight(worldLight, 0);
    box->setTranslation(0, 5, 0);
    mainWorld->attachChild(box);
}

void NibblorGame::createFloor() {
    TriangleMesh* floor = makeQuadMesh("floor", 1500, 0, 1500);
    floor->setLight(worldLight, 0);
    floor->setTranslation(0, -50, 0);
    mainWorld->attachChild(floor);
}

// A red quad with a smaller black one in front of it, hung before the camera
// and shown at the game's end.
void NibblorGame::createGameOverPanel() {
    gameOverBlack = makeQuadMesh("game over bg black", 0.75f, 0.38f, 0);
    gameOverRed = makeQuadMesh("game over bg red", 0.9f, 0.48f, 0);
    gameOverBlack->setLight(gameOverLight, 0);
    gameOverRed->setLight(gameOverLight, 0);
    // A plain picture, so the quad shows its colour alone.
    Material* red =
        makePlainMaterial("red", 0, "..\\textures\\plain.png", vec3(1, 0, 0), vec3(1, 0, 0));
    gameOverRed->setMaterial(red, false);
    gameOverRed->setTranslation(0, 0, -1.2f);
    gameOverBlack->setTranslation(0, 0, 0.05f);
    gameOverRed->setActive(false);
    gameOverBlack->setActive(false);
    mainCamera->attachChild(gameOverRed);
    gameOverRed->attachChild(gameOverBlack);
}

// A dark strip above the view that moves with the player.
void NibblorGame::createStatsBar() {
    TriangleMesh* bar =
        static_cast<TriangleMesh*>(minimap->getTemplate()->duplicate("stats bg", false));
    bar->setMaterial(minimap->getMaterial(0), true);
    bar->setLight(minimapLight, 0);
    bar->scale(180, 3, 1);
    bar->setTranslation(-40, 81, 0);
    getPlayerNode()->attachChild(bar);
}

void NibblorGame::addObject(GameObject* object) {
    objects.push_back(object);
}

bool NibblorGame::update(FrameInput* input) {
    pacer.wait();
    printHud();
    for (GameObject* object : objects) {
        if (lifeLost) {
            break;
        }
        object->update(input);
    }
    if (lifeLost) {
        handleLifeLost();
    }
    return true;
}

void NibblorGame::draw(FrameInput* input) {
    clearScreen();
    mainWorld->drawAll(input);
    minimapWorld->drawAll(input);
}

// The worlds' viewports are made for the landscape screen: in portrait the
// band that neither covers would keep whatever was drawn there last. The
// clear is scissored to the game screen, so the phone around it stays.
void NibblorGame::clearScreen() {
    u32 width = 0, height = 0;
    PlatformGetScreenSize(&width, &height);
    PlatformSetViewport(0, 0, static_cast<i32>(width), static_cast<i32>(height));
    GLint screen[4] = {};
    glGetIntegerv(GL_VIEWPORT, screen);
    glScissor(screen[0], screen[1], screen[2], screen[3]);
    glEnable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    GL_ASSERT();
}

bool NibblorGame::handleMeeting(const MazeActor& mover) {
    u32 index = 0;
    MazeMeeting meeting = MazeMeet(mover, player->getActor().special != 0, monsterActors.data(),
                                   static_cast<u32>(monsterActors.size()), map, &index);
    if (meeting == kMonsterSentBack) {
        monsters[index]->reset();
        return monsterActors[index] == &mover;
    }
    if (meeting == kPlayerCaught) {
        lifeLost = true;
        if (lives == 0) {
            gameOverRed->setActive(true);
            gameOverBlack->setActive(true);
            gameOver = true;
            highScores->addScore(score);
        }
        return true;
    }
    return false;
}

void NibblorGame::removeFood(GridPosition cell) {
    Node*& food = pelletNodes[cell.y][cell.x];
    SceneGraph::deleteNode(food);
    food = nullptr;
    minimap->hideTile(cell);
}

vec3 NibblorGame::toWorldPosition(f32 x, f32 y) {
    return vec3(x * kCellSize.x - kMazeOrigin.x, kMazeOrigin.y, y * kCellSize.z - kMazeOrigin.z);
}

vec3 NibblorGame::toMinimapPosition(f32 x, f32 y) {
    return vec3(x * kMinimapCellSize.x - kMinimapOrigin.x,
                kMinimapOrigin.y - y * kMinimapCellSize.y, kMinimapOrigin.z);
}

Node* NibblorGame::getPlayerNode() const {
    return player->getNode();
}

TriangleMesh* NibblorGame::getTileTemplate() const {
    return minimap->getTemplate();
}

// The score after its colour codes; the number of lives shows as icons.
void NibblorGame::printHud() {
    char text[25];
    std::snprintf(text, sizeof text, "~c9999SCORE: ~c9009%d", score);
    Text* printer = SceneGraph::getText();
    printer->print(text, -0.4f, 0.9f, 250, 20);
    printer->print("~c9999LIVES:", 0.5f, 0.9f, 50, 5);
}

void NibblorGame::handleLifeLost() {
    if (MazeLoseLife(&lives)) {
        showGameOver();
        return;
    }
    extraLife->removeLastIcon();
    lifeLost = false;
    player->reset();
    for (Monster* monster : monsters) {
        monster->reset();
    }
}

// The best score, appended last, is cut to fit when it is long.
void NibblorGame::showGameOver() {
    char text[120];
    std::snprintf(text, sizeof text,
                  "  ~c9999GAME OVER\nSCORE: ~c9999%d\n~c9999HIGHSCORE: ~c9999%s", score,
                  highScores->getHighScore());
    SceneGraph::getText()->print(text, -0.3f, 0.03f, 250, 20);
}
