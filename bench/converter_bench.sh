#!/bin/bash
# Times Meshwright against "assimp export" on generated triangle OBJ files of
# 10^4, 10^5 and 10^6 faces, and prints seconds, MB/s and the ratio.
#
#   bench/converter_bench.sh <path to Meshwright> [work directory]
#
# Each file is a grid with positions, texture coordinates and normals, every
# grid point shared by up to six triangles. Meshwright runs with its trace
# ("debug.txt") as always; assimp joins identical vertices (-jiv) and writes
# its binary format (assbin), the nearest to .pwn.
set -euo pipefail

meshwright=$(realpath "${1:?usage: converter_bench.sh <Meshwright> [work dir]}")
work=${2:-$(mktemp -d)}
mkdir -p "$work"
cd "$work"

if ! command -v assimp > /dev/null; then
    apt-get install -y assimp-utils > /dev/null
fi

# grid <faces> <file>: a grid of columns x rows quads, two triangles each.
grid() {
    local faces=$1 file=$2
    local columns=$(awk -v f="$faces" 'BEGIN { c = int(sqrt(f / 2)); while ((f / 2) % c) c--; print c }')
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

seconds() {
    local start end
    start=$(date +%s.%N)
    "$@" > /dev/null 2>&1
    end=$(date +%s.%N)
    calc "$end - $start"
}

calc() { awk "BEGIN { print $1 }"; }

printf "%-8s %8s %12s %10s %12s %10s %8s\n" faces MB meshwright_s MB/s assimp_s MB/s ratio
previous=""
for faces in 10000 100000 1000000; do
    source=grid$faces.obj
    [ -f "$source" ] || grid "$faces" "$source"
    mb=$(calc "$(stat -c %s "$source") / 1000000")
    ours=$(seconds "$meshwright" "$source" grid$faces.pwn)
    theirs=$(seconds assimp export "$source" grid$faces.assbin -fassbin -jiv)
    printf "%-8d %8.1f %12.3f %10.1f %12.3f %10.1f %8.2f\n" "$faces" "$mb" "$ours" \
        "$(calc "$mb / $ours")" "$theirs" "$(calc "$mb / $theirs")" \
        "$(calc "$ours / $theirs")"
    if [ -n "$previous" ]; then
        printf "         growth over the previous size: %.2fx time for 10x faces\n" \
            "$(calc "$ours / $previous")"
    fi
    previous=$ours
done
echo "ratio = Meshwright seconds / assimp seconds (below 1: Meshwright is faster)"
