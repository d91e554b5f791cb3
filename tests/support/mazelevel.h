#pragma once

#include <string>
#include <vector>

// A maze-chase level for tests: the outer wall round 28 rows of 28 cells,
// the given rows from the top, the rest of every row inner wall.
inline std::string MazeLevelOf(const std::vector<std::string>& rows) {
    std::string text = std::string(30, '2') + "\n";
    for (size_t y = 0; y < 28; y++) {
        std::string row = y < rows.size() ? rows[y] : "";
        row.resize(28, '1');
        text += "2" + row + "2\n";
    }
    return text + std::string(30, '2') + "\n";
}
