#include "games/planetrun/planet.h"

#include "engine/light.h"
#include "engine/materialtextured.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "games/planetrun/asteroidgame.h"
#include "games/planetrun/modeltemplate.h"
#include "games/planetrun/rules.h"

#include <cstdlib>

namespace {

struct PlanetSpec {
    const char* material;
    const char* texture;
    f32 scale;
    vec3 position;
};

const PlanetSpec kPlanets[Planet::kPlanetCount] = {
    {"tatooineMaterial", "../textures/sandstone.png", 60, vec3(800, 520, -900)},
    {"deadStarMaterial", "../textures/noise.png", 30, vec3(-520, 490, -825)},
    {"hothMaterial", "../textures/chrome.png", 35, vec3(-549, -228, -900)},
};

// A spin of up to the limit, its sign drawn first.
f32 signedSpin(f32 limit) {
    const f32 sign = PlanetSignOf(static_cast<u32>(std::rand()));
    return limit * PlanetRandom() * sign;
}

} // namespace

Planet* Planet::spawn(AsteroidGame* game, Name name) {
    TriangleMesh* mesh = game->planetTemplate()->copy("Planet");
    return mesh == nullptr ? nullptr : new Planet(game, mesh, name);
}

Planet::Planet(AsteroidGame* game, TriangleMesh* mesh, Name name)
    : GameObject("Planet"), light(SceneGraph::createLight("planetLight", vec3(1, 1, 1), 1)) {
    const PlanetSpec& spec = kPlanets[name];
    node = mesh;
    mesh->setLight(light, 0);
    MaterialTextured* material = static_cast<MaterialTextured*>(
        SceneGraph::createMaterial(kMaterialTextured, spec.material, 1));
    material->setDiffuseTexture(spec.texture, 1);
    mesh->setMaterial(material, false);
    mesh->setScale(spec.scale, spec.scale, spec.scale);
    mesh->setTranslation(spec.position);
    velocity = vec3(0, 0, 0.01f * PlanetRandom());
    const f32 x = signedSpin(0.001f);
    const f32 y = signedSpin(0.001f);
    const f32 z = signedSpin(0.005f);
    spin = vec3(x, y, z);
    game->addObject(this);
}

Planet::~Planet() {
    SceneGraph::deleteNode(light);
}

void Planet::update(FrameInput*) {
    drift();
}
