// The ogre shooter's own model, the ogre's head: one mesh, as the game takes
// a model's first mesh as the whole ogre. Its ship, "new_spaceship", is the
// planet run's (planetrunmodels.cpp), which both games read; this game turns
// it a quarter round so that its nose points right and shows it side on.
#include "meshmodel.h"
#include "models.h"

#include <cmath>

namespace {

constexpr float kPi = 3.14159265358979f;

// A sphere whose texture wraps round it once: u runs round from the back,
// so the picture's middle column faces +z, and v runs from the top pole
// (the picture's top row) to the bottom one. The face drawn in the middle of
// the ogre's picture so looks out along +z, upright.
void addFacedSphere(MeshPart* part, float radius, int slices, int stacks) {
    unsigned first = static_cast<unsigned>(part->vertices.size());
    for (int i = 0; i <= stacks; i++) {
        float v = static_cast<float>(i) / stacks;
        float polar = kPi * v;
        for (int j = 0; j <= slices; j++) {
            float u = static_cast<float>(j) / slices;
            float around = 2 * kPi * u - kPi;
            float nx = std::sin(polar) * std::sin(around);
            float ny = std::cos(polar);
            float nz = std::sin(polar) * std::cos(around);
            part->vertices.push_back({radius * nx, radius * ny, radius * nz, nx, ny, nz, u, v});
        }
    }
    unsigned row = static_cast<unsigned>(slices + 1);
    for (unsigned i = 0; i < static_cast<unsigned>(stacks); i++) {
        for (unsigned j = 0; j < static_cast<unsigned>(slices); j++) {
            unsigned a = first + i * row + j, b = a + row;
            part->indices.insert(part->indices.end(), {a, b, a + 1, a + 1, b, b + 1});
        }
    }
}

// Radius 5 (15 units once the game scales it by 3, inside its collision
// radius of 16): the faced skull, ears, a nose and two horns.
MeshModel ogreHead() {
    MeshPart head{"ogreHeadMesh", "ogreHeadSkin", 0.40f, 0.70f, 0.20f, {}, {}};
    addFacedSphere(&head, 5.0f, 32, 24);
    for (float side : {-1.0f, 1.0f}) {
        AddSphere(&head, {side * 5.0f, 0.4f, -0.3f}, 1.5f, 12, 8);
        AddFrustum(&head, {side * 2.4f, 3.8f, 0.0f}, 1.0f, {side * 3.6f, 6.6f, 0.3f}, 0.0f, 12);
    }
    AddSphere(&head, {0.0f, -0.3f, 4.9f}, 1.0f, 12, 8);
    return {"ogrehead", {head}};
}

} // namespace

std::vector<MeshModel> OgreblastModels() {
    return {ogreHead()};
}
