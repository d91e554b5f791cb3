# Shared by the converter benchmarks (sourced, not run): the timing and the
# table that set Meshwright beside "assimp export" on generated grids. The
# sourcing script defines grid <count> <file>, which writes one input file.

if ! command -v assimp > /dev/null; then
    apt-get install -y assimp-utils > /dev/null
fi

calc() { awk "BEGIN { print $1 }"; }

seconds() {
    local start end
    start=$(date +%s.%N)
    "$@" > /dev/null 2>&1
    end=$(date +%s.%N)
    calc "$end - $start"
}

# grid_columns <triangles>: the columns of a grid of two triangles a cell.
grid_columns() {
    awk -v f="$1" 'BEGIN { c = int(sqrt(f / 2)); while ((f / 2) % c) c--; print c }'
}

# compare <meshwright> <unit> <extension> <counts...>: converts a grid of each
# triangle count with both tools and prints seconds, MB/s, the ratio and the
# growth from one count to the next.
compare() {
    local meshwright=$1 unit=$2 ext=$3
    shift 3
    local previous="" count source mb ours theirs
    printf "%-9s %8s %12s %10s %12s %10s %8s\n" "$unit" MB meshwright_s MB/s assimp_s MB/s ratio
    for count in "$@"; do
        source=grid$count.$ext
        [ -f "$source" ] || grid "$count" "$source"
        mb=$(calc "$(stat -c %s "$source") / 1000000")
        ours=$(seconds "$meshwright" "$source" grid$count.pwn)
        [ -s grid$count.pwn ] || { echo "Meshwright failed on $source"; exit 1; }
        # assimp joins identical vertices (-jiv) and writes its binary format,
        # the nearest to .pwn.
        theirs=$(seconds assimp export "$source" grid$count.assbin -fassbin -jiv)
        printf "%-9d %8.1f %12.3f %10.1f %12.3f %10.1f %8.2f\n" "$count" "$mb" "$ours" \
            "$(calc "$mb / $ours")" "$theirs" "$(calc "$mb / $theirs")" \
            "$(calc "$ours / $theirs")"
        if [ -n "$previous" ]; then
            printf "          growth over the previous size: %.2fx time for 10x %s (goal: at most 11x)\n" \
                "$(calc "$ours / $previous")" "$unit"
        fi
        previous=$ours
    done
    echo "ratio = Meshwright seconds / assimp seconds (below 1: Meshwright is faster)"
}
