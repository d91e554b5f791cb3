#include "games/mazechase/templates.h"

#include "engine/materialphong.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "games/mazechase/scenery.h"

namespace {

// The maze's own cube and sphere, sized for its 40-unit cells.
const char* const kCube = "..\\models\\mazecube.pwn";
const char* const kSphere = "..\\models\\mazesphere.pwn";

const TemplateObject::Kind kFood = {"Food", kCube, 0, 6, "Material: Food", 1};
const TemplateObject::Kind kInnerWall = {"Inner Wall", kCube, 0, 10, "Material: Inner Wall", 0};
const TemplateObject::Kind kOuterWall = {"Outer Wall", kCube, 1, 4, "Material: Outer Wall", 0};
const TemplateObject::Kind kCage = {"Monster_Cage", kCube, 1, 3, "Monster_Cage", 0};
const TemplateObject::Kind kSpecialFood = {"Special_Food",           kSphere, 0, 11,
                                           "Material: Special_Food", 1};

} // namespace

TemplateObject::TemplateObject(NibblorGame* owner, const Kind& kind) {
    game = owner;
    node = LoadObjectMesh(game, kind.meshName, kind.modelFile, kind.meshPurge);
    node->setMaterial(makeMaterial(kind.textureIndex, kind.materialName, kind.materialPurge),
                      false);
}

TemplateObject::~TemplateObject() {
    SceneGraph::deleteNode(node);
}

void TemplateObject::update(FrameInput*) {}

Food::Food(NibblorGame* game) : TemplateObject(game, kFood) {}

Inner_Wall::Inner_Wall(NibblorGame* game) : TemplateObject(game, kInnerWall) {
    MaterialPhong* phong = dynamic_cast<MaterialPhong*>(node->getMaterial());
    if (phong != nullptr) {
        phong->ambientColor = vec3(0.6f, 0.6f, 0.6f);
        phong->diffuseColor = vec3(0.6f, 0.6f, 0.6f);
    }
}

Outer_Wall::Outer_Wall(NibblorGame* game) : TemplateObject(game, kOuterWall) {}

Monster_Cage::Monster_Cage(NibblorGame* game) : TemplateObject(game, kCage) {}

Special_Food::Special_Food(NibblorGame* game) : TemplateObject(game, kSpecialFood) {}
