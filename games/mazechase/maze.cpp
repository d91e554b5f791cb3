#include "games/mazechase/maze.h"

#include <cstring>

namespace {

bool inside(i32 coordinate) {
    return coordinate >= 0 && coordinate < kMazeSize;
}

} // namespace

bool CellBlocks(u8 cell) {
    return CellIs(cell, kFlagOuterWall) || CellIs(cell, kFlagInnerWall) || CellIs(cell, kFlagCage);
}

i32 MazeWrap(i32 coordinate) {
    if (coordinate == -1) {
        return kMazeSize - 1;
    }
    if (coordinate == kMazeSize) {
        return 0;
    }
    return coordinate;
}

MatrixMap::MatrixMap() {
    std::memset(cells, 0, sizeof cells);
}

MatrixMap::MatrixMap(i32 level) : MatrixMap() {
    load(levelPath(level));
}

MatrixMap::~MatrixMap() = default;

const char* MatrixMap::levelPath(i32 level) {
    return level == 2 ? "../Nibblor/level2.txt" : "../Nibblor/level1.txt";
}

bool MatrixMap::load(const char* path) {
    std::FILE* file = std::fopen(path, "r");
    if (file == nullptr) {
        return false;
    }
    read(file);
    std::fclose(file);
    return true;
}

void MatrixMap::read(std::FILE* file) {
    i32 row = 0, column = 0;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        if (c == '\n') {
            row++;
            column = 0;
            continue;
        }
        if (row < kMazeSize && column < kMazeSize) {
            setCell(GridPosition(column, row), c - '0');
        }
        column++;
    }
}

void MatrixMap::setCell(GridPosition position, i32 type) {
    if (!inside(position.x) || !inside(position.y)) {
        return;
    }
    bool flag = type >= kFlagInnerWall && type <= kFlagMonster;
    cells[position.y][position.x] = flag ? static_cast<u8>(1u << type) : 0;
}

void MatrixMap::clearFlag(GridPosition position, i32 flag) {
    if (inside(position.x) && inside(position.y) && flag >= 0 && flag < 8) {
        cells[position.y][position.x] &= static_cast<u8>(~(1u << flag));
    }
}

u8 MatrixMap::getCell(i32 x, i32 y) const {
    return getCellByRow(y, x);
}

u8 MatrixMap::getCellByRow(i32 row, i32 col) const {
    row = MazeWrap(row);
    col = MazeWrap(col);
    return inside(row) && inside(col) ? cells[row][col] : 0;
}

void MatrixMap::moveFlag(i32 row, i32 col, i32 newRow, i32 newCol, i32 flag) {
    if (flag < 0 || flag >= 8) {
        return;
    }
    clearFlag(GridPosition(col, row), flag);
    newRow = MazeWrap(newRow);
    newCol = MazeWrap(newCol);
    if (inside(newRow) && inside(newCol)) {
        cells[newRow][newCol] |= static_cast<u8>(1u << flag);
    }
}

u32 MatrixMap::count(i32 flag) const {
    u32 n = 0;
    for (const auto& row : cells) {
        for (u8 cell : row) {
            n += CellHolds(cell, flag) ? 1 : 0;
        }
    }
    return n;
}

bool MatrixMap::find(i32 flag, GridPosition* out) const {
    for (i32 y = 0; y < kMazeSize; y++) {
        for (i32 x = 0; x < kMazeSize; x++) {
            if (CellHolds(cells[y][x], flag)) {
                *out = GridPosition(x, y);
                return true;
            }
        }
    }
    return false;
}
