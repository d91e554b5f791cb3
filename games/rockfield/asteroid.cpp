#include "games/rockfield/asteroid.h"

#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "games/rockfield/asteroidmesh.h"
#include "games/rockfield/density.h"
#include "games/rockfield/rules.h"

#include <string>
#include <vector>

namespace {

std::string asteroidName() {
    char name[32];
    UniqueName("asteroid", name, sizeof name);
    return name;
}

vec3 randomVector(f32 a, f32 b) {
    f32 x = RandomRange(a, b);
    f32 y = RandomRange(a, b);
    f32 z = RandomRange(a, b);
    return vec3(x, y, z);
}

f32 randomSize() {
    f32 a = RandomRange(4, 8);
    return a * RandomRange(4, 8);
}

} // namespace

Asteroid::Asteroid(Light* light_)
    : Group(asteroidName().c_str()), mesh(nullptr), noiseOffset(randomVector(0, 256)),
      level(kFirstLevel), size(randomSize()), light(light_), spinAxis(randomVector(-1, 1)),
      spinSpeed(RandomRange(-1, 1)) {
    f32 x = RandomRange(-100, 100);
    f32 y = RandomRange(-100, 100);
    setTranslation(x, y, -kSpawnDistance);
}

void Asteroid::rebuildMesh() {
    i32 n = 1 << level;
    std::vector<u8> block(static_cast<size_t>(n) * n * n);
    FillAsteroidBlock(block.data(), level, noiseOffset);
    if (mesh != nullptr) {
        detachChild(mesh);
        SceneGraph::deleteNode(mesh);
    }
    mesh = buildAsteroidMesh(block.data(), n);
    if (mesh != nullptr) {
        attachChild(mesh);
        mesh->translate(-SolidCentroid(block.data(), n));
        mesh->setLight(light, 0);
    }
    f32 scale = size / static_cast<f32>(n);
    setScale(scale, scale, scale);
}

bool Asteroid::update(f32 dt) {
    rotate(spinSpeed * dt, spinAxis);
    translate(0, 0, kFlightSpeed * dt);
    f32 ahead = -getTranslation().z;
    if (HasPassed(ahead, size)) {
        return false;
    }
    i32 raised = RaisedLevel(level, ahead);
    if (raised != level) {
        level = raised;
        rebuildMesh();
    }
    return true;
}
