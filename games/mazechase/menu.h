#pragma once

#include "engine/types.h"

// The maze-chase program's start menu, without any window: its text and the
// two level lines a press picks.

// The menu holds at most this many characters.
constexpr u32 kMenuTextLength = 299;

// The title block, the best score (cut when it is too long for the rest to
// fit) and the level block, in out of size characters with its end.
void MenuText(char* out, u32 size, const char* best);

// The level whose menu line holds the window pixel (mx, my) from the
// top-left: 1 or 2, 0 elsewhere. Both bounds of each box are exclusive.
i32 MenuLevelAt(i32 mx, i32 my);
