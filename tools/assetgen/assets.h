#pragma once

#include "canvas.h"

constexpr int kPhoneWidth = 402;
constexpr int kPhoneHeight = 741;

Canvas DrawPhone();

// The bitmap font from a TrueType file; false when the file cannot be read.
bool DrawFont(const char* fontFile, Canvas* out);
// The picture shown where a texture is missing.
Canvas DrawNoTexture();
