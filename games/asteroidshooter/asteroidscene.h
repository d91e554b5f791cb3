#pragma once

#include "engine/vecmath.h"

class AsteroidGame;
class Light;
class TriangleMesh;

// Scene pieces the game's objects share: the models' first meshes and the
// looks their materials are given.

// How a loaded model's own material is lit and textured.
struct AsteroidLook {
    const char* texture;
    f32 emissive;
    vec3 ambient;
    vec3 diffuse;
    vec3 specular;
    f32 specularLevel;
    f32 shininess;
};

extern const AsteroidLook kShipLook;

// A target's model: its file and names, and its look.
struct AsteroidTargetKind {
    const char* modelName; // the mesh read from the file
    const char* copyName;  // every later target, copied from the newest one
    const char* file;
    bool uniqueNames;
    AsteroidLook look;
};

extern const AsteroidTargetKind kAsteroidKind;
extern const AsteroidTargetKind kEnemyShipKind;

extern const char* const kShipModel;

// The first mesh of a model file, as a mesh of that name; null for a
// missing or empty model.
TriangleMesh* AsteroidLoadMesh(const char* name, const char* file, bool uniqueNames);
// Lights the mesh with the light in slot 0 and changes its own material in
// place to the look; a mesh without a lit material keeps what it has.
void AsteroidDress(TriangleMesh* mesh, Light* light, const AsteroidLook& look);
// A new target attached to the game's targets: a copy of the newest one, or
// the first of its kind read from the model and dressed. Null when there is
// no model to read.
TriangleMesh* AsteroidAddTarget(AsteroidGame* game, const AsteroidTargetKind& kind);
