#!/bin/bash
# mesher_bench.sh <mesher> <work dir>: MeshVoxelBlock side by side with
# scikit-image's marching_cubes (Debian's python3-skimage, installed here if
# missing) on the same four volumes: a 64^3 and a 128^3 noise ball filled as
# an asteroid is filled, and a rougher one of each size at the 16-voxel
# asteroid's noise frequency. Cells are the (n - 1)^3 cells of each volume;
# both sides share their vertices; the best of 15 runs counts. Debian's own
# python3 runs scikit-image, whatever python3 comes first on the path.
set -euo pipefail
mesher=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
if ! /usr/bin/python3 -c "import skimage.measure" 2> /dev/null; then
    flock /tmp/apt.lock apt-get install -y python3-skimage > /dev/null
fi
mkdir -p "$work"
"$mesher" "$work" > "$work/ours.txt"
args=$(awk '{ printf "%s %s ", $1, $2 }' "$work/ours.txt")
# shellcheck disable=SC2086
/usr/bin/python3 "$here/mesher_bench.py" "$work" $args > "$work/skimage.txt"
printf "%-9s %5s %12s %8s %8s %12s %8s %8s %7s\n" volume side ours_Mcell/s verts tris \
    skimage_Mc/s verts tris ratio
join "$work/ours.txt" "$work/skimage.txt" | awk '{
    ratio = $4 / $9
    printf "%-9s %5d %12.1f %8d %8d %12.1f %8d %8d %7.2f\n", $1, $2, $4, $5, $6, $9, $10, $11, ratio
    if (ratio < 1.5) short = short " " $1
} END {
    print "ratio = our million cells a second / scikit-image'"'"'s (goal: at least 1.5)"
    if (short != "") print "below the goal on:" short
}'
