#pragma once

#include "engine/vecmath.h"

class Group;
class Light;
class MaterialPoint;
class ProjectGame;
class Sprite;
class TriangleMesh;

// Scene pieces that the game's objects share: the point-lit materials, the
// sphere model and the full-screen pictures.

struct GolfMaterialSpec {
    const char* name;
    const char* texture;
    vec3 ambient;
    vec3 diffuse;
    vec3 specular;
    f32 shininess;
    f32 emissive;
    f32 specularLevel;
};

extern const GolfMaterialSpec kPlayerMaterial;
extern const GolfMaterialSpec kHoleMaterial;
extern const GolfMaterialSpec kWallMaterial;

// Finds or creates the material and sets its texture and colours; the
// caller holds one reference.
MaterialPoint* GolfCreateMaterial(const GolfMaterialSpec& spec);

// The sphere model, read into a group of that name.
Group* GolfLoadSphere(const char* name);
// Detaches the group's first child and returns it when it is a triangle
// mesh; null (the group untouched) when the model gave none.
TriangleMesh* GolfTakeMesh(Group* group);
// Stands the sphere upright, lights it with the light in slot 0 and gives it
// the material, whose reference passes to the mesh; without a mesh the
// reference is given back.
void GolfDressSphere(TriangleMesh* mesh, Light* light, MaterialPoint* material, f32 size);

// Depth of the full-screen pictures: 12 units in front of the camera, where
// a picture of half sizes (14.4, 12) fills the screen.
constexpr f32 kGolfScreenDepth = 68.0f;
// A full-screen picture from a file, attached to the game's world above the
// board's centre.
Sprite* GolfCreateScreen(ProjectGame* game, const char* name, const char* file);
