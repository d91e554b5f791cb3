// The start menu's text and its two level boxes.
#include "games/mazechase/menu.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(MazeMenu, TextHoldsTheBestScoreBetweenTitleAndLevels) {
    char text[kMenuTextLength + 1];
    MenuText(text, sizeof text, "12");
    std::string menu = text;
    EXPECT_NE(menu.find("NIBBLORAMA"), std::string::npos);
    EXPECT_NE(menu.find("Current High Score: 12\n\n~c9999Choose level:\n ~c0909Level one\n "
                        "~c0099Level two\n"),
              std::string::npos);
    EXPECT_NE(menu.find("Press 'esc' to exit."), std::string::npos);
}

TEST(MazeMenu, LongBestScoreIsCutAndTheRestStays) {
    char text[kMenuTextLength + 1 + 16];
    std::memset(text, 'x', sizeof text);
    std::string best(1000, '9');
    MenuText(text, kMenuTextLength + 1, best.c_str());
    std::string menu = text;
    EXPECT_EQ(menu.size(), kMenuTextLength);
    EXPECT_NE(menu.find("Level two"), std::string::npos);
    EXPECT_EQ(text[kMenuTextLength + 1], 'x') << "written past the end";
    // A smaller buffer holds what fits, with its end.
    char small[40];
    MenuText(small, sizeof small, "7");
    EXPECT_EQ(std::strlen(small), sizeof small - 1);
}

TEST(MazeMenu, LevelBoxes) {
    struct Case {
        int x, y, level;
    };
    const Case cases[] = {
        {100, 345, 1}, {100, 365, 2}, {82, 345, 0},  {160, 345, 0}, {100, 352, 0},
        {100, 355, 0}, {83, 340, 1},  {159, 371, 2}, {100, 339, 0}, {100, 372, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MenuLevelAt(c.x, c.y), c.level) << c.x << ", " << c.y;
    }
}

} // namespace
