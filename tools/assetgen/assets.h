#pragma once

#include "canvas.h"

class Lettering;

constexpr int kPhoneWidth = 402;
constexpr int kPhoneHeight = 741;

Canvas DrawPhone();

// The bitmap font from a TrueType file; false when the file cannot be read.
bool DrawFont(const char* fontFile, Canvas* out);
// The picture shown where a texture is missing.
Canvas DrawNoTexture();

// The golf demo's textures: the ball's chrome, the hole, the wall tiles.
Canvas DrawChrome();
Canvas DrawHoleNoise();
Canvas DrawWallTiles();
// The golf demo's pictures: the wooden board, the menu with its corner tab,
// and the level-completed screen.
Canvas DrawWoodBoard();
Canvas DrawGolfMenu(Lettering& lettering);
Canvas DrawGolfEnd(Lettering& lettering);

// The fly-through's rock texture, tiling without a seam.
Canvas DrawCraters();
