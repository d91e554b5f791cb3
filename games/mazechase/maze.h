#pragma once

#include "engine/types.h"

#include <cstdio>

// The maze of the maze-chase game: 30 by 30 cells, each a set of eight flags
// that say what stands in it. Coordinates that step one cell past an edge
// wrap to the opposite edge, so a gap in the outer wall is a tunnel.

constexpr i32 kMazeSize = 30;

// The cell flags, also the digits of the level file.
enum CellFlag : i32 {
    kFlagInnerWall = 1,
    kFlagOuterWall = 2,
    kFlagPellet = 3,
    kFlagPlayer = 4,
    kFlagPowerPellet = 5,
    kFlagCage = 6,
    kFlagMonster = 7
};

// A cell address: x the column (growing to the right in the file), y the
// row (growing downward, line by line).
struct GridPosition {
    i32 x;
    i32 y;
    GridPosition(i32 column = 0, i32 row = 0) : x(column), y(row) {}
    bool operator==(const GridPosition& other) const { return x == other.x && y == other.y; }
};

// The flag set holds the flag among others.
inline bool CellHolds(u8 cell, i32 flag) {
    return (cell & (1u << flag)) != 0;
}
// The flag set is exactly that flag.
inline bool CellIs(u8 cell, i32 flag) {
    return cell == (1u << flag);
}
// A wall or a cage block, which holds no other flag and stops everyone.
bool CellBlocks(u8 cell);
// -1 becomes 29 and 30 becomes 0; every other value stays.
i32 MazeWrap(i32 coordinate);

class MatrixMap {
  public:
    MatrixMap();
    // An empty grid, then the level's file.
    explicit MatrixMap(i32 level);
    virtual ~MatrixMap();

    // "../Nibblor/level2.txt" for level 2, "../Nibblor/level1.txt" for any
    // other level.
    static const char* levelPath(i32 level);

    // Reads the file into the grid; false (the grid untouched) when it cannot
    // be opened.
    bool load(const char* path);
    // Reads the level text: line n fills row n, character k column k; a digit
    // 1 to 7 sets that flag alone, anything else leaves the cell empty.
    // Characters past column 29 and lines past row 29 are ignored.
    void read(std::FILE* file);

    // The cell holds the flag alone for types 1 to 7, nothing for any other.
    void setCell(GridPosition position, i32 type);
    // Removes one flag, leaving the others of the cell.
    void clearFlag(GridPosition position, i32 flag);
    // The flag set of column x, row y, both wrapped; empty beyond the grid.
    u8 getCell(i32 x, i32 y) const;
    u8 getCellByRow(i32 row, i32 col) const;
    // Clears the flag in (row, col) and sets it in (newRow, newCol) after
    // wrapping; a cell beyond the grid is left out.
    void moveFlag(i32 row, i32 col, i32 newRow, i32 newCol, i32 flag);

    // The number of cells that hold the flag.
    u32 count(i32 flag) const;
    // The first cell, row by row, that holds the flag; false when none does.
    bool find(i32 flag, GridPosition* out) const;

    u8 cells[kMazeSize][kMazeSize];
};
