// Feeds arbitrary bytes to the level reader: the grid takes only single
// flags from 1 to 7, nothing lands outside its 30 by 30 cells, and the
// wrapping lookups and flag moves stay inside it for any coordinates.
#include "games/mazechase/maze.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "r");
    if (file == nullptr) {
        return 0;
    }
    MatrixMap map;
    map.read(file);
    std::fclose(file);
    for (const auto& row : map.cells) {
        for (u8 cell : row) {
            if (cell != 0 && (cell & (cell - 1)) != 0) {
                std::abort();
            }
        }
    }
    // The first bytes as coordinates, some of them far outside the grid.
    i32 a = static_cast<int8_t>(data[0]);
    i32 b = size > 1 ? static_cast<int8_t>(data[1]) : 30;
    map.moveFlag(a, b, b, a, kFlagPlayer);
    map.moveFlag(b % 31, a % 31, a, b, kFlagMonster);
    map.getCell(a, b);
    map.getCellByRow(b, -1);
    return 0;
}
