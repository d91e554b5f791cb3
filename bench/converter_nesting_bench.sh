#!/bin/bash
# Times Meshwright on documents nested past the rules' bound: 50,000 to
# 400,000 nested <node>s (13 bytes a level), each refused with "The rules
# nest too deeply". Prints seconds (the best of three), peak memory in MB
# and the growth of both from one size to the next (the goal: time and
# memory in proportion to the document, at most 1.1 times its growth).
#
#   bench/converter_nesting_bench.sh <path to Meshwright> [work directory]
set -euo pipefail
source "$(dirname "$0")/compare_assimp.sh"

enter_work converter_nesting_bench.sh "$@"

# nested <levels> <file>
nested() {
    awk -v N="$1" 'BEGIN {
        printf "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<COLLADA version=\"1.4.1\">"
        printf "<library_visual_scenes><visual_scene id=\"scene\">"
        for (i = 0; i < N; i++) printf "<node>"
        for (i = 0; i < N; i++) printf "</node>"
        print "</visual_scene></library_visual_scenes></COLLADA>"
    }' > "$2"
}

# refused <file>: runs Meshwright once, which must refuse the document; gives
# its seconds and peak MB.
refused() {
    /usr/bin/time -f "%e %M" -o usage.txt "$meshwright" "$1" out.pwn > out.txt 2>&1 || true
    grep -q "The rules nest too deeply" out.txt ||
        { echo "Meshwright did not refuse $1: $(tail -1 out.txt)" >&2; exit 1; }
    tail -1 usage.txt | awk '{ print $1, $2 / 1000 }'
}

printf "%-9s %8s %12s %10s\n" levels MB meshwright_s peak_MB
previous=""
for levels in 50000 100000 200000 400000; do
    nested "$levels" "nested$levels.dae"
    mb=$(calc "$(stat -c %s "nested$levels.dae") / 1000000")
    best="" peak=""
    for run in 1 2 3; do
        read -r s m < <(refused "nested$levels.dae")
        if [ -z "$best" ] || [ "$(calc "$s < $best")" = 1 ]; then best=$s; fi
        peak=$m
    done
    printf "%-9d %8.1f %12.2f %10.1f\n" "$levels" "$mb" "$best" "$peak"
    if [ -n "$previous" ]; then
        read -r ps pm pl <<< "$previous"
        growth "over the previous size" "$best" "$ps" "$levels" "$pl" levels
        printf "          and %.2fx memory (goal: at most %.1fx)\n" "$(calc "$peak / $pm")" \
            "$(calc "1.1 * $levels / $pl")"
    fi
    previous="$best $peak $levels"
done
