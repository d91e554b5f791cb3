#include "games/planetrun/sphere.h"

#include "engine/light.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "games/planetrun/asteroidgame.h"
#include "games/planetrun/modeltemplate.h"
#include "games/planetrun/rules.h"

#include <cstdlib>
#include <ctime>

namespace {

// The sphere's light stands this far above and in front of it, on the
// camera's side.
const vec3 kLightOffset(0, 4, 8);

vec3 colorOf(i32 kind) {
    switch (kind) {
    case kPlanetSphereGreen:
        return vec3(0, 1, 0);
    case kPlanetSphereBlue:
        return vec3(0, 0, 1);
    default:
        return vec3(1, 1, 1);
    }
}

} // namespace

Sphere* Sphere::spawn(AsteroidGame* game) {
    std::srand(PlanetSeed(static_cast<u32>(std::rand()), static_cast<u64>(std::time(nullptr))));
    const i32 kind = PlanetSphereKindOf(static_cast<u32>(std::rand()));
    TriangleMesh* mesh = game->sphereTemplate()->copy("Sphere");
    return mesh == nullptr ? nullptr : new Sphere(game, mesh, kind);
}

Sphere::Sphere(AsteroidGame* game_, TriangleMesh* mesh, i32 kind_)
    : GameObject("Sphere"), game(game_), kind(kind_),
      light(SceneGraph::createLight("sphereLight", colorOf(kind_), 1)) {
    node = mesh;
    mesh->setLight(light, 0);
    place(PlanetSphereSpawn(PlanetRandom));
    followWithLight();
    game->getState().liveSpheres++;
    game->addObject(this);
}

Sphere::~Sphere() {
    SceneGraph::deleteNode(light);
    game->getState().liveSpheres--;
}

void Sphere::update(FrameInput*) {
    drift();
    followWithLight();
}

// The light is in no tree, so no world walk reaches it: its world matrix is
// set here from its own transform.
void Sphere::followWithLight() {
    light->setTranslation(node->getTranslation() + kLightOffset);
    light->getLocalMatrix(light->world);
}
