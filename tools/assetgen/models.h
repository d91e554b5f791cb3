#pragma once

#include <string>

// Writes the .obj sources of the models ("sphere.obj", ...) into dir.
bool WriteModels(const std::string& dir);
