// The maze-chase game's models: the cube every wall, cage block and pellet
// copies, the power pellet's sphere, and the monsters' ogre head, which the
// ogre shooter reads too. The cube
// and the sphere have files of their own: the planet run's "pcube" is an
// asteroid and its "psphere" a unit ball. The player is the golf ball's
// sphere in its own material.
#include "models.h"

#include <functional>

namespace {

// Appends the shape another helper built, each vertex passed through edit.
void append(MeshPart* into, const MeshPart& shape, const std::function<void(MeshVertex&)>& edit) {
    unsigned first = static_cast<unsigned>(into->vertices.size());
    for (MeshVertex v : shape.vertices) {
        edit(v);
        into->vertices.push_back(v);
    }
    for (unsigned i : shape.indices) {
        into->indices.push_back(first + i);
    }
}

// A shape whose whole surface takes the picture's colour at one point.
void appendPlain(MeshPart* into, const MeshPart& shape, float u, float v) {
    append(into, shape, [u, v](MeshVertex& vertex) {
        vertex.u = u;
        vertex.v = v;
    });
}

// The head stands with its top along +z, as the game turns it upright, and
// looks along -y: the sphere's poles go from y to z, which puts the
// picture's face column (u = 0.75) in front.
MeshPart ogreHead() {
    MeshPart head{"ogreHead", "ogreHeadMaterial", 0.4f, 0.65f, 0.25f, {}, {}};
    MeshPart skull{};
    AddSphere(&skull, {0, 0, 0}, 2.5f, 32, 16);
    append(&head, skull, [](MeshVertex& v) {
        float y = v.y, ny = v.ny;
        v.y = -v.z;
        v.z = y;
        v.ny = -v.nz;
        v.nz = ny;
    });
    // Horns take the horn patch at the picture's bottom pole, nose and ears
    // the skin beside the face.
    for (float side : {-1.0f, 1.0f}) {
        MeshPart horn{};
        AddFrustum(&horn, {side * 1.5f, 0.2f, 1.6f}, 0.5f, {side * 2.6f, 0.4f, 3.3f}, 0, 12);
        appendPlain(&head, horn, 0.25f, 0.01f);
        MeshPart ear{};
        AddSphere(&ear, {side * 2.45f, 0.2f, 0.4f}, 0.6f, 10, 6);
        appendPlain(&head, ear, 0.55f, 0.5f);
    }
    MeshPart nose{};
    AddSphere(&nose, {0, -2.45f, 0.05f}, 0.55f, 12, 8);
    appendPlain(&head, nose, 0.55f, 0.5f);
    return head;
}

} // namespace

std::vector<MeshModel> MazeModels() {
    MeshPart cube{"mazeCube", "mazeCubeMaterial", 0.8f, 0.8f, 0.8f, {}, {}};
    AddBox(&cube, {0, 0, 0}, {5, 5, 5});
    MeshPart ball{"mazeSphere", "mazeSphereMaterial", 0.8f, 0.8f, 0.8f, {}, {}};
    AddSphere(&ball, {0, 0, 0}, 4.0f, 20, 10);
    return {{"mazecube", {cube}}, {"mazesphere", {ball}}, {"ogrehead", {ogreHead()}}};
}
