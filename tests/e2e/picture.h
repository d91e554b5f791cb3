#pragma once

#include "harness.h"

#include <cstdint>
#include <string>
#include <vector>

// A picture file of the build tree, to compare with what a window shows: red,
// green, blue and alpha bytes, rows from the top.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    Pixel at(int x, int y) const;
    int alpha(int x, int y) const;
};

// The picture of a PNG file; empty (width 0) when it cannot be read.
Picture LoadPicture(const std::string& path);
