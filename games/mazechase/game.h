#pragma once

#include "engine/types.h"

class High_Score;

// The maze-chase program's GameInit: the game with the program's high-score
// list (the game deletes it in GameDestroy) and the level the menu chose.
void GameInit(High_Score* highScores, i32 level);
