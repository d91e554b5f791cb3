#include "games/golf/golfscene.h"

#include "engine/group.h"
#include "engine/materialphong.h"
#include "engine/scenegraph.h"
#include "engine/sprite.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/golf/projectgame.h"

const GolfMaterialSpec kPlayerMaterial = {"playerMaterial",
                                          "../textures/chrome.png",
                                          vec3(0.3f, 0.3f, 0.3f),
                                          vec3(0.7f, 0.7f, 0.7f),
                                          vec3(0.9f, 0.9f, 0.9f),
                                          2.0f,
                                          0.1f,
                                          2.0f};
const GolfMaterialSpec kHoleMaterial = {"holeMaterial",
                                        "../textures/noise.png",
                                        vec3(0.1f, 0.1f, 0.1f),
                                        vec3(0.3f, 0.3f, 0.3f),
                                        vec3(0.1f, 0.1f, 0.1f),
                                        2.0f,
                                        0.1f,
                                        2.0f};
const GolfMaterialSpec kWallMaterial = {"wallMaterial",
                                        "../textures/tiles4.png",
                                        vec3(0.3f, 0.3f, 0.3f),
                                        vec3(0.7f, 0.7f, 0.7f),
                                        vec3(0.5f, 0.5f, 0.5f),
                                        2.0f,
                                        0.1f,
                                        2.0f};

namespace {

const char* const kSphereFile = "../models/sphere.pwn";

} // namespace

MaterialPoint* GolfCreateMaterial(const GolfMaterialSpec& spec) {
    MaterialPoint* material =
        static_cast<MaterialPoint*>(SceneGraph::createMaterial(kMaterialPoint, spec.name, 2));
    material->setDiffuseTexture(spec.texture, 1);
    material->ambientColor = spec.ambient;
    material->diffuseColor = spec.diffuse;
    material->specularColor = spec.specular;
    material->shininess = spec.shininess;
    material->emissive = spec.emissive;
    material->specularLevel = spec.specularLevel;
    return material;
}

Group* GolfLoadSphere(const char* name) {
    return SceneGraph::createGroup(name, kSphereFile, true, 2);
}

TriangleMesh* GolfTakeMesh(Group* group) {
    Node* first = group->getChild(0);
    if (first == nullptr || first->getType() != kNodeTriangleMesh) {
        return nullptr;
    }
    first->detachFromParent();
    return static_cast<TriangleMesh*>(first);
}

void GolfDressSphere(TriangleMesh* mesh, Light* light, MaterialPoint* material, f32 size) {
    if (mesh == nullptr) {
        SceneGraph::dereferenceResource(material);
        return;
    }
    mesh->rotate(1.57f, 1, 0, 0);
    mesh->rotate(3.14f, 0, 0, 1);
    mesh->setLight(light, 0);
    mesh->setMaterial(material, false);
    mesh->setScale(size, size, size);
}

Sprite* GolfCreateScreen(ProjectGame* game, const char* name, const char* file) {
    Sprite* sprite = SceneGraph::createSprite(name, file, 5);
    sprite->setSize(vec2(14.4f, 12.0f));
    sprite->setTranslation(0, 0, kGolfScreenDepth);
    game->getWorld()->attachChild(sprite);
    return sprite;
}
