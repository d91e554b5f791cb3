#include "games/asteroidshooter/asteroidscene.h"

#include "engine/group.h"
#include "engine/materialphong.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"

const AsteroidLook kRockLook = {"../textures/ast.png",
                                0.3f,
                                vec3(0.3f, 0.3f, 0.3f),
                                vec3(0.3f, 0.3f, 0.3f),
                                vec3(0.3f, 0.3f, 0.3f),
                                1.0f,
                                2.0f};
const AsteroidLook kEnemyShipLook = {"../textures/shiphull.png",
                                     0.3f,
                                     vec3(0.3f, 0.3f, 0.3f),
                                     vec3(0.3f, 0.3f, 0.3f),
                                     vec3(0.3f, 0.3f, 0.3f),
                                     1.0f,
                                     2.0f};
const AsteroidLook kShipLook = {"../textures/shiphull.png",
                                0.0f,
                                vec3(0.2f, 0.2f, 0.2f),
                                vec3(0.3f, 0.3f, 0.3f),
                                vec3(0.7f, 0.7f, 0.7f),
                                1.0f,
                                3.0f};

const char* const kAsteroidModel = "../models/ast.pwn";
const char* const kEnemyShipModel = "../models/falc.pwn";
const char* const kShipModel = "../models/ica.pwn";

namespace {

// The models, their meshes and materials stay cached until a purge.
const u32 kModelPurgeLevel = 1;

} // namespace

TriangleMesh* AsteroidTakeMesh(Group* group) {
    Node* first = group->getChild(0);
    if (first == nullptr || first->getType() != kNodeTriangleMesh) {
        return nullptr;
    }
    first->detachFromParent();
    return static_cast<TriangleMesh*>(first);
}

TriangleMesh* AsteroidLoadMesh(const char* name, const char* file, bool uniqueNames) {
    Group* group = SceneGraph::createGroup(name, file, uniqueNames, kModelPurgeLevel);
    TriangleMesh* mesh = AsteroidTakeMesh(group);
    SceneGraph::deleteNode(group);
    return mesh;
}

void AsteroidDress(TriangleMesh* mesh, Light* light, const AsteroidLook& look) {
    mesh->setLight(light, 0);
    MaterialPhong* material = dynamic_cast<MaterialPhong*>(mesh->getMaterial());
    if (material == nullptr) {
        return;
    }
    material->setDiffuseTexture(look.texture, kModelPurgeLevel);
    material->emissive = look.emissive;
    material->ambientColor = look.ambient;
    material->diffuseColor = look.diffuse;
    material->specularColor = look.specular;
    material->specularLevel = look.specularLevel;
    material->shininess = look.shininess;
}
