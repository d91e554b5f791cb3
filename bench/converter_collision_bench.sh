#!/bin/bash
# Times Meshwright against "assimp export" on generated models whose vertices
# are all different and all share one value of the vertex table's bucket
# hash (hashVertex: h = h * 33 + each byte taken as signed, before the
# modulo): OBJ files and COLLADA documents of 4,000 to 32,000 triangles, each
# corner a vertex of its own. Prints seconds, MB/s and the growth of the time
# from one size to the next (the goal is linear time: at most 1.1 times the
# growth of the size).
#
#   bench/converter_collision_bench.sh <path to Meshwright> [work directory]
#
# Every float has the exponent byte 0x3f; its three other bytes are t,
# -33t + u and -33u (t, u from -3 to 3), which leaves the bucket hash of the
# whole vertex as it is for t = u = 0 (t * 33^(k+2) + (-33t + u) * 33^(k+1)
# - 33u * 33^k = 0): 7^6 = 117,649 vertices share it.
set -euo pipefail
source "$(dirname "$0")/compare_assimp.sh"

enter_work converter_collision_bench.sh "$@"

# positions <vertices>: one line of three floats for each vertex, written
# with nine significant digits, which read back to the same float.
positions() {
    awk -v N="$1" 'function value(t, u,   b0, b1, b2, exponent, mantissa) {
        b0 = (t + 256) % 256; b1 = (-33 * t + u + 256) % 256; b2 = (-33 * u + 256) % 256
        exponent = 126 + int(b2 / 128)
        mantissa = (b2 % 128) * 65536 + b1 * 256 + b0
        return (1 + mantissa / 8388608) * 2 ^ (exponent - 127)
    }
    BEGIN {
        for (v = 0; v < N; v++) {
            d = v
            for (i = 0; i < 6; i++) { digit[i] = d % 7 - 3; d = int(d / 7) }
            printf "%.9g %.9g %.9g\n", value(digit[0], digit[1]), value(digit[2], digit[3]),
                value(digit[4], digit[5])
        }
    }'
}

# obj <triangles> <file>
obj() {
    positions $(($1 * 3)) | awk '{ print "v " $0 } END { for (i = 1; i <= NR; i += 3)
        print "f " i " " i + 1 " " i + 2 }' > "$2"
}

# dae <triangles> <file>
dae() {
    local vertices=$(($1 * 3))
    {
        echo '<?xml version="1.0" encoding="utf-8"?>'
        echo '<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">'
        echo '<library_effects><effect id="c-fx" name="c"><profile_COMMON><technique sid="common"><phong>'
        echo '<diffuse><color sid="diffuse">0.5 0.6 0.7 1</color></diffuse></phong></technique></profile_COMMON></effect></library_effects>'
        echo '<library_geometries><geometry id="c-mesh" name="c"><mesh>'
        printf '<source id="c-pos"><float_array id="c-pos-array" count="%d">' $((vertices * 3))
        positions "$vertices" | tr '\n' ' '
        echo '</float_array>'
        printf '<technique_common><accessor source="#c-pos-array" count="%d" stride="3"/></technique_common></source>\n' "$vertices"
        echo '<vertices id="c-vtx"><input semantic="POSITION" source="#c-pos"/></vertices>'
        printf '<triangles material="c" count="%d"><input semantic="VERTEX" source="#c-vtx" offset="0"/><p>' "$1"
        seq -s ' ' 0 $((vertices - 1)) | tr -d '\n'
        echo '</p></triangles></mesh></geometry></library_geometries>'
        echo '<library_visual_scenes><visual_scene id="scene"><node id="c-node" name="c"><instance_geometry url="#c-mesh"/></node></visual_scene></library_visual_scenes>'
        echo '<scene><instance_visual_scene url="#scene"/></scene></COLLADA>'
    } > "$2"
}

compare "$meshwright" obj triangles obj 4000 8000 16000 32000
echo
compare "$meshwright" dae triangles dae 4000 8000 16000 32000
