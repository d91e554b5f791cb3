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

// The maze-chase game's pictures (mazetextures.cpp), written under root;
// false when one cannot be written.
bool SaveMazePictures(const std::string& root);
// The ogre's skin, with the face the head model turns to its front; the
// maze chase and the ogre shooter both dress the same head in it.
Canvas DrawOgreSkin();
// The planet run's textures: the ship's hull panels, the asteroid rock, the
// desert planet, the wormhole and the plain picture the power-up spheres are
// lit over.
Canvas DrawShipHull();
Canvas DrawAsteroidRock();
Canvas DrawSandstone();
Canvas DrawWormhole();
Canvas DrawPlain();
// The planet run's banners, 256 by 128: start, won and lost.
Canvas DrawPlanetStart(Lettering& lettering);
Canvas DrawPlanetWon(Lettering& lettering);
Canvas DrawPlanetLost(Lettering& lettering);
// The tower-defence game's textures: grass and stone that tile, the tower's
// stone and metal, the enemy's skin, eyes and horns, the health bar and the
// starry sky.
Canvas DrawGrass();
Canvas DrawRedDirt();
Canvas DrawCannonTower();
Canvas DrawEnemySkin();
Canvas DrawHealthBar();
Canvas DrawSpaceBack();
// The tower-defence menu bar in its three states: the base menu, the tower
// choice and the upgrades.
Canvas DrawTowerDefenceBaseMenu(Lettering& lettering);
Canvas DrawTowerDefenceTowerMenu(Lettering& lettering);
Canvas DrawTowerDefenceUpgradeMenu(Lettering& lettering);

// The fly-through's rock texture, tiling without a seam.
Canvas DrawCraters();

// The asteroid shooter's pictures: the starfield, the picture shown while
// level 2 loads, the asteroids' rock and the ships' painted hull.
Canvas DrawStarfield();
Canvas DrawLevelPause(Lettering& lettering);
Canvas DrawRockSurface();
Canvas DrawShooterHull();
