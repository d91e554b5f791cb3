// The planet run's models: the ship, the asteroid rock and the sphere the
// power-ups and the planets are made from. Each is one mesh, as the game
// takes a model's first mesh as the whole object.
#include "models.h"

#include <cmath>

namespace {

// Turns the part about the x axis so that +z goes down by the angle: the
// camera, which follows the ship from behind and a little above, then sees
// the top of its wings.
void pitchNoseDown(MeshPart* part, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    for (MeshVertex& v : part->vertices) {
        const float y = v.y, z = v.z, ny = v.ny, nz = v.nz;
        v.y = y * c - z * s;
        v.z = y * s + z * c;
        v.ny = ny * c - nz * s;
        v.nz = ny * s + nz * c;
    }
}

// The ship, nose toward +z and top toward +y (the game turns it round to
// fly along -z), about 21 units long and 16 across the wings: a bounding
// radius near the game's 10 units. Its nose dips a little.
MeshModel spaceship() {
    MeshPart hull{"PlanetRunShipHull", "PlanetRunShipMaterial", 0.8f, 0.82f, 0.88f, {}, {}};
    AddFrustum(&hull, {0, 0, -8}, 2.0f, {0, 0, 6}, 1.7f, 16); // body
    AddFrustum(&hull, {0, 0, 6}, 1.7f, {0, 0, 11.5f}, 0, 16); // nose
    AddSphere(&hull, {0, 1.3f, 3}, 1.2f, 12, 8);              // cockpit
    AddBox(&hull, {0, -0.2f, -1.5f}, {8, 0.3f, 2.5f});        // wings
    AddBox(&hull, {7.6f, 0.8f, -2.2f}, {0.35f, 1.3f, 1.6f});  // wing tips
    AddBox(&hull, {-7.6f, 0.8f, -2.2f}, {0.35f, 1.3f, 1.6f});
    AddBox(&hull, {0, 2.6f, -6}, {0.3f, 2.2f, 1.6f});           // tail fin
    AddFrustum(&hull, {0, 0, -8}, 1.6f, {0, 0, -10}, 2.1f, 16); // exhaust
    pitchNoseDown(&hull, 0.35f);
    return MeshModel{"new_spaceship", {hull}};
}

// A smooth bump over the unit sphere's directions, the same at a point
// however often it is met, so that seams stay closed.
float lumps(float x, float y, float z) {
    return 0.12f * std::sin(3.1f * x + 1.3f) * std::cos(2.7f * y - 0.4f) +
           0.08f * std::sin(4.3f * z + 2.1f * x) + 0.06f * std::cos(5.3f * y + 3.7f * z);
}

// A lumpy rock about as large as the cube from -1 to 1, within the sphere
// round its corners that the game takes for its bounds.
MeshModel rock() {
    MeshPart part{"PlanetRunRock", "PlanetRunRockMaterial", 0.55f, 0.5f, 0.45f, {}, {}};
    AddSphere(&part, {0, 0, 0}, 1.0f, 14, 10);
    for (MeshVertex& v : part.vertices) {
        const float k = 1.3f + 1.5f * lumps(v.nx, v.ny, v.nz);
        v.x = v.nx * k;
        v.y = v.ny * k;
        v.z = v.nz * k;
    }
    return MeshModel{"pcube", {part}};
}

// The unit sphere.
MeshModel ball() {
    MeshPart part{"PlanetRunSphere", "PlanetRunSphereMaterial", 0.9f, 0.9f, 0.9f, {}, {}};
    AddSphere(&part, {0, 0, 0}, 1.0f, 24, 16);
    return MeshModel{"psphere", {part}};
}

} // namespace

std::vector<MeshModel> PlanetRunModels() {
    return {spaceship(), rock(), ball()};
}
