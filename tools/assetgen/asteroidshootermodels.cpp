// The asteroid shooter's models: the lumpy rock of the asteroids, the
// player's ship (nose along -y and cockpit along -z, which the game turns to
// fly into the screen) and the enemy fighter (nose along +z toward the
// player). Each model is one mesh: the game dresses only a model's first
// mesh. The ships' parts take their colours from bands of "shiphull.png":
// the player's hull and trim in the left half, the enemy's in the right.
#include "meshmodel.h"
#include "models.h"
#include "noise.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

constexpr float kShipPitch = 0.61f;

// The texture bands of "shiphull.png", left to right.
enum HullPaint { kShipHull, kShipTrim, kEnemyHull, kEnemyTrim };

vec3f add(vec3f a, vec3f b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
vec3f sub(vec3f a, vec3f b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
vec3f mul(vec3f a, float k) {
    return {a.x * k, a.y * k, a.z * k};
}
vec3f cross(vec3f a, vec3f b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float dot(vec3f a, vec3f b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
vec3f unit(vec3f a) {
    float length = std::sqrt(dot(a, a));
    return length > 0 ? mul(a, 1.0f / length) : a;
}

// Moves the texture coordinates of the vertices from index first on into
// one band of the hull picture.
void paint(MeshPart* part, size_t first, HullPaint band) {
    for (size_t i = first; i < part->vertices.size(); i++) {
        MeshVertex& v = part->vertices[i];
        float u = std::min(1.0f, std::max(0.0f, v.u));
        v.u = (static_cast<float>(band) + 0.1f + 0.8f * u) / 4.0f;
        v.v = 0.05f + 0.9f * std::min(1.0f, std::max(0.0f, v.v));
    }
}

void addVertex(MeshPart* part, vec3f p, vec3f n, float u, float v) {
    part->vertices.push_back({p.x, p.y, p.z, n.x, n.y, n.z, u, v});
}

// A flat plate: the convex outline (corners around its middle plane)
// thickened by 2 * half along the plate's normal, with flat faces.
void addPlate(MeshPart* part, std::vector<vec3f> outline, float half) {
    vec3f normal = unit(cross(sub(outline[1], outline[0]), sub(outline[2], outline[0])));
    vec3f lift = mul(normal, half);
    size_t n = outline.size();
    for (int side : {1, -1}) {
        unsigned base = static_cast<unsigned>(part->vertices.size());
        for (size_t i = 0; i < n; i++) {
            size_t k = side > 0 ? i : n - 1 - i;
            addVertex(part, add(outline[k], mul(lift, static_cast<float>(side))),
                      mul(normal, static_cast<float>(side)), static_cast<float>(i) / n, 0.5f);
        }
        for (unsigned i = 1; i + 1 < n; i++) {
            part->indices.insert(part->indices.end(), {base, base + i, base + i + 1});
        }
    }
    for (size_t i = 0; i < n; i++) {
        vec3f a = outline[i], b = outline[(i + 1) % n];
        vec3f out = unit(cross(sub(b, a), normal));
        unsigned base = static_cast<unsigned>(part->vertices.size());
        addVertex(part, sub(a, lift), out, 0, 0);
        addVertex(part, sub(b, lift), out, 1, 0);
        addVertex(part, add(b, lift), out, 1, 1);
        addVertex(part, add(a, lift), out, 0, 1);
        part->indices.insert(part->indices.end(),
                             {base, base + 1, base + 2, base, base + 2, base + 3});
    }
}

// A plate and its mirror image across x = 0.
void addPlatePair(MeshPart* part, const std::vector<vec3f>& outline, float half) {
    addPlate(part, outline, half);
    std::vector<vec3f> mirrored;
    for (auto it = outline.rbegin(); it != outline.rend(); ++it) {
        mirrored.push_back({-it->x, it->y, it->z});
    }
    addPlate(part, mirrored, half);
}

// Turns the part about the x axis so that -z leans toward +y by the angle.
void pitch(MeshPart* part, float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    for (MeshVertex& v : part->vertices) {
        float y = v.y, z = v.z, ny = v.ny, nz = v.nz;
        v.y = y * c - z * s;
        v.z = y * s + z * c;
        v.ny = ny * c - nz * s;
        v.nz = ny * s + nz * c;
    }
}

// Each vertex's normal from the faces around its place, so that the seam
// and pole copies of a displaced sphere agree.
void smoothNormals(MeshPart* part) {
    std::map<std::tuple<long, long, long>, vec3f> sums;
    auto key = [](const MeshVertex& v) {
        return std::make_tuple(std::lround(v.x * 1000), std::lround(v.y * 1000),
                               std::lround(v.z * 1000));
    };
    for (size_t i = 0; i + 2 < part->indices.size(); i += 3) {
        const MeshVertex* c[3];
        for (int k = 0; k < 3; k++) {
            c[k] = &part->vertices[part->indices[i + k]];
        }
        vec3f a = {c[0]->x, c[0]->y, c[0]->z};
        vec3f face =
            cross(sub({c[1]->x, c[1]->y, c[1]->z}, a), sub({c[2]->x, c[2]->y, c[2]->z}, a));
        for (const MeshVertex* v : c) {
            vec3f& sum = sums[key(*v)];
            sum = add(sum, face);
        }
    }
    for (MeshVertex& v : part->vertices) {
        vec3f n = unit(sums[key(v)]);
        v.nx = n.x;
        v.ny = n.y;
        v.nz = n.z;
    }
}

// The rock's radius along a direction: broad lumps and round dents at
// fixed places, so that every copy of a vertex moves alike.
float rockRadius(vec3f d) {
    float r = 1.0f + 0.07f * std::sin(3.1f * d.x + 0.4f) * std::cos(2.3f * d.y + 1.1f) +
              0.05f * std::sin(4.7f * d.z + 2.0f * d.x);
    for (unsigned k = 0; k < 14; k++) {
        vec3f centre = unit({HashUnit(3 * k, 5) - 0.5f, HashUnit(3 * k + 1, 5) - 0.5f,
                             HashUnit(3 * k + 2, 5) - 0.5f});
        float width = 0.015f + 0.05f * HashUnit(k, 9);
        float depth = k % 3 == 0 ? -0.10f : 0.13f;
        r -= depth * std::exp(-(1.0f - dot(d, centre)) / width);
    }
    return r;
}

MeshModel rockModel() {
    const float radius = 33.0f;
    const vec3f stretch = {1.15f, 0.85f, 1.0f};
    MeshPart part{"AsteroidRock", "AsteroidRockMaterial", 0.62f, 0.56f, 0.50f, {}, {}};
    AddSphere(&part, {0, 0, 0}, 1.0f, 28, 18);
    for (MeshVertex& v : part.vertices) {
        vec3f d = unit({v.x, v.y, v.z});
        float r = radius * rockRadius(d);
        v.x = d.x * r * stretch.x;
        v.y = d.y * r * stretch.y;
        v.z = d.z * r * stretch.z;
    }
    smoothNormals(&part);
    return {"ast", {part}};
}

// The player's ship, 36 units long and as wide: a white body with a blue
// canopy, swept wings with blue tips, a tail fin and two dark engines. It
// rests pitched up by 35 degrees, so that the game's view from behind and
// above looks down on its wings as on a ship flying up the screen.
MeshModel shipModel() {
    MeshPart part{"ShipHull", "ShipMaterial", 0.9f, 0.92f, 0.96f, {}, {}};
    size_t from = 0;
    AddFrustum(&part, {0, 13, 0}, 3.2f, {0, -8, 0}, 3.0f, 14);
    AddFrustum(&part, {0, -8, 0}, 3.0f, {0, -23, 0}, 0.0f, 14);
    addPlatePair(&part, {{2.5f, -4, 0}, {2.5f, 11, 0}, {17, 11, 0}, {17, 6, 0}}, 0.6f);
    paint(&part, from, kShipHull);
    from = part.vertices.size();
    AddSphere(&part, {0, -6, -2.0f}, 2.4f, 14, 8);
    addPlate(&part, {{0, 4, -2.5f}, {0, 12, -2.5f}, {0, 14, -10}, {0, 10.5f, -10}}, 0.5f);
    AddBox(&part, {17, 8.5f, 0}, {0.9f, 3.5f, 1.0f});
    AddBox(&part, {-17, 8.5f, 0}, {0.9f, 3.5f, 1.0f});
    paint(&part, from, kShipTrim);
    from = part.vertices.size();
    for (float x : {4.2f, -4.2f}) {
        AddFrustum(&part, {x, 6, 0.8f}, 1.9f, {x, 16, 0.8f}, 1.5f, 12);
    }
    paint(&part, from, kEnemyTrim);
    pitch(&part, kShipPitch);
    return {"ica", {part}};
}

// The enemy fighter, 44 units across: a red body and swept wings, a dark
// canopy, wing-tip fins and two cannons pointing at the player.
MeshModel enemyModel() {
    MeshPart part{"EnemyShipHull", "EnemyShipMaterial", 0.9f, 0.2f, 0.15f, {}, {}};
    size_t from = 0;
    AddFrustum(&part, {0, 0, -13}, 3.6f, {0, 0, 8}, 3.6f, 14);
    AddFrustum(&part, {0, 0, 8}, 3.6f, {0, 0, 21}, 0.0f, 14);
    addPlatePair(&part, {{3, 0, 6}, {22, 0, -5}, {22, 0, -12}, {3, 0, -11}}, 0.7f);
    paint(&part, from, kEnemyHull);
    from = part.vertices.size();
    AddSphere(&part, {0, 2.8f, 4}, 2.5f, 14, 8);
    AddBox(&part, {22, 0, -8}, {0.9f, 5.5f, 4.0f});
    AddBox(&part, {-22, 0, -8}, {0.9f, 5.5f, 4.0f});
    for (float x : {10.0f, -10.0f}) {
        AddFrustum(&part, {x, 0, -4}, 1.0f, {x, 0, 11}, 0.6f, 10);
    }
    paint(&part, from, kEnemyTrim);
    return {"falc", {part}};
}

} // namespace

std::vector<MeshModel> AsteroidShooterModels() {
    return {rockModel(), shipModel(), enemyModel()};
}
