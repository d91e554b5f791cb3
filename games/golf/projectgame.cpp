#include "games/golf/projectgame.h"

#include "engine/camera.h"
#include "engine/indexarray.h"
#include "engine/light.h"
#include "engine/material.h"
#include "engine/memory.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "engine/world.h"
#include "games/golf/bottom.h"
#include "games/golf/end.h"
#include "games/golf/gameobject.h"
#include "games/golf/hole.h"
#include "games/golf/menu.h"
#include "games/golf/player.h"
#include "games/golf/rules.h"
#include "games/golf/wall.h"

namespace {

// The game's only frame pacing: the host neither sleeps nor waits for the
// display.
const u32 kPacingRounds = 200000;

// The cube from -1 to 1: position, normal (the corner direction) and texture
// coordinates tiled 80 times a side.
const f32 kSquareVertices[8 * 8] = {
    -1, 1,  1,  -1, 1,  1,  0,   80,  //
    1,  1,  1,  1,  1,  1,  80,  80,  //
    1,  1,  -1, 1,  1,  -1, 80,  160, //
    1,  -1, -1, 1,  -1, -1, 160, 160, //
    1,  -1, 1,  1,  -1, 1,  160, 80,  //
    -1, -1, 1,  -1, -1, 1,  0,   0,   //
    -1, -1, -1, -1, -1, -1, 0,   240, //
    -1, 1,  -1, -1, 1,  -1, 0,   160, //
};

const u16 kSquareIndices[36] = {0, 5, 1, 1, 5, 4, 1, 4, 2, 2, 4, 3, 2, 3, 7, 7, 3, 6,
                                7, 6, 0, 0, 6, 5, 0, 1, 2, 0, 2, 7, 5, 3, 4, 5, 6, 3};

const f32 kCameraHeight = 80.0f;
const u32 kFirstCapacity = 16;

void pace() {
    for (volatile u32 round = 0; round < kPacingRounds; round = round + 1) {
    }
}

} // namespace

ProjectGame::ProjectGame()
    : objects(nullptr), objectCount(0), objectCapacity(0), world(nullptr), camera(nullptr),
      light(nullptr), templateCube(nullptr) {
    world = SceneGraph::createWorld("GameWorld");
    world->setClearColor(true, vec4(0, 0, 0, 1));
    camera = SceneGraph::createCamera("camera");
    camera->setPerspectiveProjection(1.57f, 1.2f, 10.0f, 1000.0f);
    camera->setTranslation(0, 0, kCameraHeight);
    world->attachChild(camera);
    world->setActiveCamera(camera);
    createSquare();
    light = SceneGraph::createLight("myLight", vec3(0.5f, 0.5f, 0.5f), 1.0f);
    light->setTranslation(100, 100, 10);
    world->attachChild(light);
    createLevel();
}

// The world goes first with every node in it; the template cube and the
// objects' own nodes outside the world go with them, so nothing is left over.
ProjectGame::~ProjectGame() {
    SceneGraph::deleteNode(world);
    for (u32 i = 0; i < objectCount; i++) {
        delete objects[i];
    }
    MemoryFree(objects);
    VertexArray* vertexArray = templateCube->getVertexArray();
    IndexArray* indexArray = templateCube->getIndexArray();
    Material* material = templateCube->getMaterial();
    SceneGraph::deleteNode(templateCube);
    SceneGraph::dereferenceResource(vertexArray);
    SceneGraph::dereferenceResource(indexArray);
    SceneGraph::dereferenceResource(material);
}

void ProjectGame::addObject(GameObject* object) {
    if (objectCount == objectCapacity) {
        objectCapacity = objectCapacity == 0 ? kFirstCapacity : objectCapacity * 2;
        objects = static_cast<GameObject**>(
            MemoryReallocate(objects, objectCapacity * static_cast<u32>(sizeof(GameObject*))));
    }
    objects[objectCount++] = object;
}

bool ProjectGame::update(FrameInput* input) {
    pace();
    GolfCornerButton(input);
    for (u32 i = 0; i < objectCount; i++) {
        objects[i]->update(input);
    }
    return true;
}

// The template cube every wall copies; it is never attached to the world.
void ProjectGame::createSquare() {
    VertexArray* vertexArray = SceneGraph::createVertexArray("v", kSquareVertices, 8, 8, 2);
    vertexArray->setAttribute(0, 3, "Vertex");
    vertexArray->setAttribute(3, 3, "Normal");
    vertexArray->setAttribute(6, 2, "TexCoords");
    IndexArray* indexArray = SceneGraph::createIndexArray("i", kSquareIndices, 36, 0, 2);
    Material* material = SceneGraph::createMaterial(kMaterialColorful, "m", 1);
    templateCube =
        SceneGraph::createTriangleMesh("ourSquare", vertexArray, indexArray, material, true);
}

void ProjectGame::createLevel() {
    Player* ball = new Player(this, kGolfBallSize, kGolfBallStartX, kGolfBallStartY);
    new Hole(this, ball, kGolfHoleSize, kGolfHoleX, kGolfHoleY);
    new Menu(this, ball);
    new End(this, ball);
    new Bottom(this);
    for (const GolfWallSpec& wall : kGolfWalls) {
        new Wall(this, ball, wall.x, wall.y, wall.width, wall.height);
    }
}
