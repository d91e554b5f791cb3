#!/bin/bash
# Times Meshwright against "assimp export" on generated triangle OBJ files of
# 10^4, 10^5 and 10^6 faces, and prints seconds, MB/s and the ratio.
#
#   bench/converter_bench.sh <path to Meshwright> [work directory]
#
# Each file is a grid with positions, texture coordinates and normals, every
# grid point shared by up to six triangles. Meshwright runs with its trace
# ("debug.txt") as always.
set -euo pipefail
source "$(dirname "$0")/compare_assimp.sh"

enter_work converter_bench.sh "$@"

# grid <faces> <file>: a grid of columns x rows quads, two triangles each.
grid() {
    local faces=$1 file=$2
    local columns=$(grid_columns "$faces")
    local rows=$((faces / 2 / columns))
    awk -v C="$columns" -v R="$rows" 'BEGIN {
        for (r = 0; r <= R; r++) for (c = 0; c <= C; c++) {
            x = c / C; y = r / R; z = 0.1 * sin(6.2831853 * x) * cos(6.2831853 * y)
            printf "v %.6f %.6f %.6f\n", x * 10, y * 10, z
            printf "vt %.6f %.6f\n", x, y
            printf "vn %.6f %.6f %.6f\n", -0.1 * cos(6.2831853 * x), 0.1 * sin(6.2831853 * y), 1
        }
        for (r = 0; r < R; r++) for (c = 0; c < C; c++) {
            a = r * (C + 1) + c + 1; b = a + C + 1
            printf "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, b, b, b, a + 1, a + 1, a + 1
            printf "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a + 1, a + 1, a + 1, b, b, b, b + 1, b + 1, b + 1
        }
    }' > "$file"
}

compare "$meshwright" grid faces obj 10000 100000 1000000
