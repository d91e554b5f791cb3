// Models for the engine's tests: a red crate of two parts (a box and a lid
// of its own material) and a green cone, each with its own names, to load
// beside the golf ball.
#include "models.h"

std::vector<MeshModel> TestModels() {
    MeshPart crate{"testCrate", "testCrateMaterial", 0.9f, 0.1f, 0.1f, {}, {}};
    AddBox(&crate, {0, 0, 0}, {10, 6, 8});
    MeshPart lid{"testCrateLid", "testCrateLidMaterial", 0.1f, 0.1f, 0.9f, {}, {}};
    AddBox(&lid, {0, 7, 0}, {11, 1, 9});
    MeshPart cone{"testCone", "testConeMaterial", 0.1f, 0.9f, 0.1f, {}, {}};
    AddFrustum(&cone, {0, -10, 0}, 8, {0, 10, 0}, 0, 24);
    return {{"testcrate", {crate, lid}}, {"testcone", {cone}}};
}
