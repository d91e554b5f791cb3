// The tower-defence game's models, each one part (the game reads the first
// mesh of a file) with z up, as the game stands them on its field:
// - "cannontower_low": a round stone tower with battlements, a metal turret
//   and a barrel pointing along +x, about 48 units across and 60 high;
// - "orc": a horned, six-legged green beast with big eyes, about 48 units
//   long and 38 high, its head towards -y.
// Each shape's texture coordinates are moved into the column of the picture
// that holds its material ("cannontower_low.png", "enemy.png").
#include "models.h"

#include <cmath>
#include <functional>

namespace {

constexpr float kPi = 3.14159265f;
// The beast is built at a handy size, then grown to its own.
constexpr float kBeastScale = 1.6f;

// A column of a picture: the range of u a shape's coordinates move into.
struct Column {
    float u0, u1;
};
constexpr Column kStone = {0.02f, 0.48f};
constexpr Column kMetal = {0.52f, 0.98f};
constexpr Column kSkin = {0.02f, 0.23f};
constexpr Column kHide = {0.27f, 0.48f};
constexpr Column kWhite = {0.52f, 0.73f};
constexpr Column kBone = {0.77f, 0.98f};

// Appends a shape and moves its texture coordinates into the column.
void inColumn(MeshPart* part, Column column, const std::function<void()>& add) {
    size_t first = part->vertices.size();
    add();
    for (size_t i = first; i < part->vertices.size(); i++) {
        MeshVertex& v = part->vertices[i];
        v.u = column.u0 + v.u * (column.u1 - column.u0);
    }
}

// Stretches the vertices from first on about a centre, keeping the normals
// perpendicular to the stretched surface.
void stretch(MeshPart* part, size_t first, vec3f centre, vec3f k) {
    for (size_t i = first; i < part->vertices.size(); i++) {
        MeshVertex& v = part->vertices[i];
        v.x = centre.x + (v.x - centre.x) * k.x;
        v.y = centre.y + (v.y - centre.y) * k.y;
        v.z = centre.z + (v.z - centre.z) * k.z;
        float nx = v.nx / k.x, ny = v.ny / k.y, nz = v.nz / k.z;
        float length = std::sqrt(nx * nx + ny * ny + nz * nz);
        v.nx = nx / length;
        v.ny = ny / length;
        v.nz = nz / length;
    }
}

// An ellipsoid: a sphere stretched by the radii.
void addEllipsoid(MeshPart* part, vec3f centre, vec3f radii) {
    size_t first = part->vertices.size();
    AddSphere(part, centre, 1.0f, 20, 12);
    stretch(part, first, centre, radii);
}

MeshModel tower() {
    MeshPart part{
        "towerDefenceCannonTower", "towerDefenceCannonTowerMaterial", 0.8f, 0.8f, 0.8f, {}, {}};
    inColumn(&part, kStone, [&] {
        AddFrustum(&part, {0, 0, 0}, 24, {0, 0, 36}, 19, 24);
        AddFrustum(&part, {0, 0, 36}, 22, {0, 0, 40}, 22, 24);
        for (int i = 0; i < 8; i++) {
            float a = 2 * kPi * static_cast<float>(i) / 8;
            AddBox(&part, {19 * std::cos(a), 19 * std::sin(a), 44}, {3.5f, 3.5f, 4});
        }
    });
    inColumn(&part, kMetal, [&] {
        AddSphere(&part, {0, 0, 46}, 12, 20, 12);
        AddFrustum(&part, {4, 0, 50}, 5.5f, {36, 0, 52}, 4, 16);
        AddFrustum(&part, {36, 0, 52}, 5.5f, {40, 0, 52.2f}, 5.5f, 16);
    });
    return {"cannontower_low", {part}};
}

MeshModel beast() {
    MeshPart part{"towerDefenceOrc", "towerDefenceOrcMaterial", 0.5f, 0.7f, 0.3f, {}, {}};
    inColumn(&part, kSkin, [&] {
        addEllipsoid(&part, {0, 3, 10}, {10, 14, 7});
        addEllipsoid(&part, {0, -13, 13}, {7, 6, 6});
        for (int side = -1; side <= 1; side += 2) {
            addEllipsoid(&part, {side * 4.0f, 6, 16}, {2.5f, 3, 1.5f});
        }
    });
    inColumn(&part, kHide, [&] {
        for (int side = -1; side <= 1; side += 2) {
            for (int i = 0; i < 3; i++) {
                float y = -4.0f + 7.0f * static_cast<float>(i);
                AddFrustum(&part, {side * 8.0f, y, 9}, 2, {side * 17.0f, y - 2, 0.5f}, 1.3f, 8);
            }
            AddSphere(&part, {side * 3.0f, -19.3f, 16}, 1.5f, 10, 6);
        }
    });
    inColumn(&part, kWhite, [&] {
        for (int side = -1; side <= 1; side += 2) {
            AddSphere(&part, {side * 3.0f, -17, 16}, 3, 14, 8);
        }
    });
    inColumn(&part, kBone, [&] {
        for (int side = -1; side <= 1; side += 2) {
            AddFrustum(&part, {side * 5.0f, -13, 18}, 2, {side * 11.0f, -18, 24}, 0, 10);
        }
    });
    stretch(&part, 0, {0, 0, 0}, {kBeastScale, kBeastScale, kBeastScale});
    return {"orc", {part}};
}

} // namespace

std::vector<MeshModel> TowerDefenceModels() {
    return {tower(), beast()};
}
