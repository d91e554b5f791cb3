// The level file and the grid: line lengths, wrapping, characters that are
// no flag, and the flag moves the movers make.
#include "games/mazechase/maze.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

u8 bit(i32 flag) {
    return static_cast<u8>(1u << flag);
}

MatrixMap mapOf(const std::string& text) {
    MatrixMap map;
    if (text.empty()) {
        return map;
    }
    std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    map.read(file);
    std::fclose(file);
    return map;
}

u32 filledCells(const MatrixMap& map) {
    u32 n = 0;
    for (const auto& row : map.cells) {
        for (u8 cell : row) {
            n += cell != 0 ? 1 : 0;
        }
    }
    return n;
}

TEST(MatrixMap, FirstLineOfEveryDigitFillsOneFlagEach) {
    MatrixMap map = mapOf("1234567");
    for (i32 x = 0; x < 7; x++) {
        EXPECT_EQ(map.cells[0][x], bit(x + 1)) << "column " << x;
    }
    EXPECT_EQ(filledCells(map), 7u);
}

struct LineCase {
    const char* name;
    std::string text;
    u32 filled;     // cells that hold a flag
    i32 lastRow;    // the last row with a flag, -1 for none
    i32 lastColumn; // the last column with a flag in row 0
};

class LevelLines : public testing::TestWithParam<LineCase> {};

TEST_P(LevelLines, FillTheGridAndNothingBeyond) {
    const LineCase& c = GetParam();
    MatrixMap map = mapOf(c.text);
    EXPECT_EQ(filledCells(map), c.filled);
    i32 lastRow = -1, lastColumn = -1;
    for (i32 y = 0; y < kMazeSize; y++) {
        for (i32 x = 0; x < kMazeSize; x++) {
            if (map.cells[y][x] != 0) {
                lastRow = y;
                lastColumn = y == 0 ? x : lastColumn;
            }
        }
    }
    EXPECT_EQ(lastRow, c.lastRow);
    EXPECT_EQ(lastColumn, c.lastColumn);
}

std::string lines(int count, const std::string& line) {
    std::string text;
    for (int i = 0; i < count; i++) {
        text += line + "\n";
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LevelLines,
    testing::Values(LineCase{"LongLineStopsAtColumn29", std::string(35, '3') + "\n", 30, 0, 29},
                    LineCase{"FortyLinesFillThirtyRows", lines(40, std::string(30, '1')), 900, 29,
                             29},
                    LineCase{"ShortLineLeavesTheRowEnd", "33\n", 2, 0, 1},
                    LineCase{"EmptyLineIsEmptyRow", "3\n\n3\n", 2, 2, 0},
                    LineCase{"LastLineWithoutLineEnd", "3\n33", 3, 1, 0},
                    LineCase{"NoFlagCharacters", "09a ./\x7f\xff:\r\n", 0, -1, -1},
                    LineCase{"SpaceBetweenPellets", "3 3", 2, 0, 2},
                    LineCase{"EmptyFile", "", 0, -1, -1},
                    LineCase{"HugeLine", std::string(100000, '2') + "\n2", 31, 1, 29}),
    [](const testing::TestParamInfo<LineCase>& info) { return info.param.name; });

TEST(MatrixMap, LevelNumbersPickTheirFile) {
    EXPECT_STREQ(MatrixMap::levelPath(2), "../Nibblor/level2.txt");
    for (i32 level : {0, 1, 3, -1}) {
        EXPECT_STREQ(MatrixMap::levelPath(level), "../Nibblor/level1.txt") << level;
    }
}

TEST(MatrixMap, MissingFileLeavesTheGridEmpty) {
    MatrixMap map;
    EXPECT_FALSE(map.load("../Nibblor/no-such-level.txt"));
    EXPECT_EQ(filledCells(map), 0u);
}

TEST(MatrixMap, LookupsWrapOneCellPastEachEdge) {
    MatrixMap map;
    map.setCell(GridPosition(29, 5), kFlagPellet);
    map.setCell(GridPosition(0, 0), kFlagInnerWall);
    EXPECT_EQ(map.getCell(-1, 5), bit(kFlagPellet));
    EXPECT_EQ(map.getCellByRow(5, -1), bit(kFlagPellet));
    EXPECT_EQ(map.getCell(30, 30), bit(kFlagInnerWall));
    // Further out is beyond the grid: empty, never read outside it.
    EXPECT_EQ(map.getCell(31, 5), 0);
    EXPECT_EQ(map.getCell(-2, 0), 0);
    EXPECT_EQ(map.getCellByRow(1000, -1000), 0);
}

TEST(MatrixMap, MoveFlagWrapsAndKeepsTheOtherFlags) {
    MatrixMap map;
    map.setCell(GridPosition(29, 3), kFlagPlayer);
    map.setCell(GridPosition(0, 3), kFlagPellet);
    map.moveFlag(3, 29, 3, 30, kFlagPlayer);
    EXPECT_EQ(map.cells[3][29], 0);
    EXPECT_EQ(map.cells[3][0], bit(kFlagPellet) | bit(kFlagPlayer));
    // A cell beyond the grid on either end is left out.
    map.moveFlag(3, 0, 3, 40, kFlagPlayer);
    map.moveFlag(-5, 0, 3, 1, kFlagMonster);
    EXPECT_EQ(map.cells[3][0], bit(kFlagPellet));
    EXPECT_EQ(map.cells[3][1], bit(kFlagMonster));
}

TEST(MatrixMap, SetCellAndClearFlag) {
    MatrixMap map;
    map.cells[2][2] = bit(kFlagPlayer) | bit(kFlagPellet) | bit(kFlagMonster);
    map.clearFlag(GridPosition(2, 2), kFlagPellet);
    EXPECT_EQ(map.cells[2][2], bit(kFlagPlayer) | bit(kFlagMonster));
    map.setCell(GridPosition(2, 2), 0);
    EXPECT_EQ(map.cells[2][2], 0);
    map.setCell(GridPosition(2, 2), 8);
    EXPECT_EQ(map.cells[2][2], 0);
    map.setCell(GridPosition(30, 2), kFlagPellet);
    map.clearFlag(GridPosition(2, -1), kFlagPellet);
    EXPECT_EQ(filledCells(map), 0u);
}

} // namespace
