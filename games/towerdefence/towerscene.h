#pragma once

#include "engine/vecmath.h"

class MaterialPhong;
class VertexArray;

// Helpers the game's scene builders share.

// The colours and shine of a lit material, as the game's tables give them.
struct Look {
    vec3 ambient, diffuse, specular;
    f32 shininess, emissive, specularLevel;
};

// Sets the material's colours and shine, and its picture (purge level 1).
void ApplyLook(MaterialPhong* material, const Look& look, const char* picture);

// A vertex array of 9 floats a vertex: "Vertex", "Normal" and "Texcoord" of
// 3 components each (purge level 1).
VertexArray* CreateTexturedArray(const char* name, const f32* data, u32 count);
