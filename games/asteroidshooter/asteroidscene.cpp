#include "games/asteroidshooter/asteroidscene.h"

#include "engine/group.h"
#include "engine/materialphong.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "games/asteroidshooter/asteroidgame.h"

namespace {

// The models, their meshes and materials stay cached until a purge.
const u32 kModelPurgeLevel = 1;

// The targets glow a little and shine dully.
AsteroidLook targetLook(const char* texture) {
    return {texture, 0.3f, vec3(0.3f, 0.3f, 0.3f), vec3(0.3f, 0.3f, 0.3f), vec3(0.3f, 0.3f, 0.3f),
            1.0f,    2.0f};
}

} // namespace

const AsteroidLook kShipLook = {"../textures/shiphull.png",
                                0.0f,
                                vec3(0.2f, 0.2f, 0.2f),
                                vec3(0.3f, 0.3f, 0.3f),
                                vec3(0.7f, 0.7f, 0.7f),
                                1.0f,
                                3.0f};

const AsteroidTargetKind kAsteroidKind = {"Asteroid", "AstCP", "../models/ast.pwn", false,
                                          targetLook("../textures/ast.png")};
const AsteroidTargetKind kEnemyShipKind = {"EnemyShip", "EshCP", "../models/falc.pwn", true,
                                           targetLook("../textures/shiphull.png")};

const char* const kShipModel = "../models/ica.pwn";

TriangleMesh* AsteroidLoadMesh(const char* name, const char* file, bool uniqueNames) {
    TriangleMesh* mesh = SceneGraph::createTriangleMesh(name, file, uniqueNames, kModelPurgeLevel);
    if (mesh->getVertexArray() == nullptr) {
        SceneGraph::deleteNode(mesh);
        return nullptr;
    }
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

TriangleMesh* AsteroidAddTarget(AsteroidGame* game, const AsteroidTargetKind& kind) {
    Group* targets = game->getTargets();
    Node* newest = targets->getChild(0);
    TriangleMesh* mesh = nullptr;
    if (newest != nullptr) {
        mesh = static_cast<TriangleMesh*>(newest->duplicate(kind.copyName, false));
    } else {
        mesh = AsteroidLoadMesh(kind.modelName, kind.file, kind.uniqueNames);
        if (mesh == nullptr) {
            return nullptr;
        }
        AsteroidDress(mesh, game->getLight(), kind.look);
    }
    targets->attachChild(mesh);
    return mesh;
}
