#pragma once

#include "canvas.h"

#include <string>

class Lettering;

// The ogre shooter's pictures: the three screens (prolog, welcome, kill
// screen), the two star fields, the laser shot and the meter's bar. The
// ogre's skin is the maze chase's (DrawOgreSkin), as both games read the
// same head model.
Canvas DrawOgrePrologScreen(Lettering& lettering);
Canvas DrawOgreWelcomeScreen(Lettering& lettering);
Canvas DrawOgreKillScreen(Lettering& lettering);
Canvas DrawOgreSpace();
Canvas DrawOgreNebula();
Canvas DrawOgreLaser();
Canvas DrawOgreMeterBar();
// An ogre's features for a face of radius r centred on (cx, cy): eyes,
// brows, nose, and a grin with two tusks.
void DrawOgreFace(Canvas& c, float cx, float cy, float r);
// The same on a round green head with ears.
void DrawOgreHead(Canvas& c, float cx, float cy, float r);

// Writes every picture above into the asset tree at root.
bool WriteOgreblastPictures(const std::string& root, const char* fontFile);
