#pragma once

#include "canvas.h"

#include <string>

class Lettering;

// The ogre shooter's pictures: the three screens (prolog, welcome, kill
// screen), the two star fields, the laser shot, the meter's bar and the
// ogre's face.
Canvas DrawOgrePrologScreen(Lettering& lettering);
Canvas DrawOgreWelcomeScreen(Lettering& lettering);
Canvas DrawOgreKillScreen(Lettering& lettering);
Canvas DrawOgreSpace();
Canvas DrawOgreNebula();
Canvas DrawOgreLaser();
Canvas DrawOgreMeterBar();
Canvas DrawOgreFace();
// A round green ogre's face centred on (cx, cy), radius r: eyes, brows,
// nose, a grin with two tusks, and ears.
void DrawOgreHead(Canvas& c, float cx, float cy, float r);

// Writes every picture above into the asset tree at root.
bool WriteOgreblastPictures(const std::string& root, const char* fontFile);
