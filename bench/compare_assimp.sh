# Shared by the converter benchmarks (sourced, not run): the timing and the
# table that set Meshwright beside "assimp export" on generated inputs. The
# sourcing script defines the generators that write one input file each.

if ! command -v assimp > /dev/null; then
    apt-get install -y assimp-utils > /dev/null
fi

calc() { awk "BEGIN { print $1 }"; }

# enter_work <script> <Meshwright> [work directory]: sets meshwright to the
# program's full path, enters the work directory (a new one when none is
# given) and puts the rules.txt that stands beside the program there.
enter_work() {
    meshwright=$(realpath "${2:?usage: $1 <path to Meshwright> [work directory]}")
    local work=${3:-$(mktemp -d)}
    mkdir -p "$work"
    cd "$work"
    cp "$(dirname "$meshwright")/rules.txt" rules.txt
}

# seconds <command...>: the best of three runs, so that a busy machine
# disturbs the growth figures less; fails when the command fails.
seconds() {
    local start end best="" run
    for run in 1 2 3; do
        start=$(date +%s.%N)
        "$@" > /dev/null 2>&1 || return 1
        end=$(date +%s.%N)
        best=$(awk -v t="$(calc "$end - $start")" -v b="$best" \
            'BEGIN { print (b == "" || t < b) ? t : b }')
    done
    echo "$best"
}

# peak_mb <command...>: the command's peak resident memory in MB ("-" without
# GNU time).
peak_mb() {
    if [ ! -x /usr/bin/time ]; then
        echo "-"
        return
    fi
    /usr/bin/time -f %M -o peak.txt "$@" > /dev/null 2>&1
    calc "$(tail -1 peak.txt) / 1000"
}

# grid_columns <triangles>: the columns of a grid of two triangles a cell.
grid_columns() {
    awk -v f="$1" 'BEGIN { c = int(sqrt(f / 2)); while ((f / 2) % c) c--; print c }'
}

# compare <meshwright> <generator> <unit> <extension> <counts...>: writes an
# input of each count with "<generator> <count> <file>", converts it with both
# tools and prints seconds, MB/s, Meshwright's peak memory, the ratio and the
# growth of Meshwright's time
# from one count to the next and from the first to the last. The goal is
# linear time: growth within 1.1 times the growth of the count.
compare() {
    local meshwright=$1 generator=$2 unit=$3 ext=$4
    shift 4
    local previous="" previousCount="" first="" firstCount="" count source mb ours theirs
    printf "%-9s %8s %12s %10s %10s %12s %10s %8s\n" "$unit" MB meshwright_s MB/s peak_MB \
        assimp_s MB/s ratio
    for count in "$@"; do
        source=$generator$count.$ext
        [ -f "$source" ] || "$generator" "$count" "$source"
        mb=$(calc "$(stat -c %s "$source") / 1000000")
        ours=$(seconds "$meshwright" "$source" $generator$count.pwn) ||
            { echo "Meshwright failed on $source"; exit 1; }
        # assimp joins identical vertices (-jiv) and writes its binary format,
        # the nearest to .pwn.
        theirs=$(seconds assimp export "$source" $generator$count.assbin -fassbin -jiv) ||
            { echo "assimp failed on $source"; exit 1; }
        printf "%-9d %8.1f %12.3f %10.1f %10s %12.3f %10.1f %8.2f\n" "$count" "$mb" "$ours" \
            "$(calc "$mb / $ours")" "$(peak_mb "$meshwright" "$source" $generator$count.pwn)" \
            "$theirs" "$(calc "$mb / $theirs")" "$(calc "$ours / $theirs")"
        if [ -n "$previous" ]; then
            growth "over the previous size" "$ours" "$previous" "$count" "$previousCount" "$unit"
        else
            first=$ours firstCount=$count
        fi
        previous=$ours previousCount=$count
    done
    if [ $# -gt 2 ]; then
        growth "from $firstCount to $previousCount" "$previous" "$first" "$previousCount" \
            "$firstCount" "$unit"
    fi
    echo "ratio = Meshwright seconds / assimp seconds (below 1: Meshwright is faster)"
}

# growth <label> <seconds> <earlier seconds> <count> <earlier count> <unit>
growth() {
    local times
    times=$(calc "$4 / $5")
    printf "          growth %s: %.2fx time for %gx %s (goal: at most %.1fx)\n" "$1" \
        "$(calc "$2 / $3")" "$times" "$6" "$(calc "1.1 * $times")"
}
