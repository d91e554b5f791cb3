#pragma once

#include "meshmodel.h"

#include <string>
#include <vector>

// The programs' models, one function per program (in <program>models.cpp),
// listed in kProgramModels of models.cpp. Each model's base name also stands
// in the model_names list of CMakeLists.txt, which converts "<file>.dae" into
// "models/<file>.pwn". No two models share a mesh or a material name.
std::vector<MeshModel> GolfModels();
std::vector<MeshModel> OgreblastModels();
std::vector<MeshModel> PlanetRunModels();
std::vector<MeshModel> TowerDefenceModels();

// Models that only the tests load, converted into "tests/models/" of the
// build, never into the programs' asset tree.
std::vector<MeshModel> TestModels();

// Writes the COLLADA documents ("sphere.dae", ...) of every program's models
// into dir.
bool WriteModels(const std::string& dir);
// Writes the test models' COLLADA documents into dir.
bool WriteTestModels(const std::string& dir);
