#include "games/mazechase/menu.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const char* const kTitle = "~c2299Tessaly ~c3399Games\n"
                           "~c9999presents\n"
                           "\n\n"
                           "~b~c5369NIBBLORAMA~b ~c9999(~i1.0~i)\n"
                           "\n\n\n"
                           "~c9999A Tessaly maze chase, written from scratch.\n"
                           "\n\n"
                           "~c9009Current High Score: ";
const char* const kLevels = "\n\n~c9999Choose level:\n ~c0909Level one\n ~c0099Level two\n\n"
                            "~c9999Press 'esc' to exit.\n\n\n\n\n";

struct Box {
    i32 x0, y0, x1, y1;
};
// The lines "Level one" and "Level two" of the menu text.
const Box kLevelBoxes[2] = {{82, 339, 160, 352}, {82, 359, 160, 372}};

} // namespace

void MenuText(char* out, u32 size, const char* best) {
    if (size == 0) {
        return;
    }
    size_t room = std::min<size_t>(size - 1, kMenuTextLength);
    size_t fixed = std::strlen(kTitle) + std::strlen(kLevels);
    int bestRoom = static_cast<int>(room > fixed ? room - fixed : 0);
    std::snprintf(out, room + 1, "%s%.*s%s", kTitle, bestRoom, best, kLevels);
}

i32 MenuLevelAt(i32 mx, i32 my) {
    for (i32 level = 1; level <= 2; level++) {
        const Box& b = kLevelBoxes[level - 1];
        if (mx > b.x0 && mx < b.x1 && my > b.y0 && my < b.y1) {
            return level;
        }
    }
    return 0;
}
