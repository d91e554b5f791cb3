#!/bin/bash
# Times Meshwright's COLLADA path against "assimp export" on generated
# documents, and prints seconds, MB/s and the growth of the time from one size
# to the next (the goal is linear time: at most 1.1 times the growth of the
# size):
# - grids of 10^4, 10^5 and 10^6 triangles with positions and normals in
#   <triangles>, one material, made of geometries of at most 100,000
#   triangles each placed by its own node (a list holds at most 1,048,576
#   values, so one <triangles> of two inputs holds at most 174,762 triangles);
# - 60, 120 and 240 small geometries (two triangles each), each placed by its
#   own node, all in one document (a model holds at most 256 meshes);
# - many children of one element, each of which the converter reads: 10,000
#   to 80,000 <instance_material>s in one <bind_material>, 10,000 to 40,000
#   TEXCOORD inputs of one <triangles> (all but the first left out with a
#   warning), and 5,000 to 40,000 unused <source>s before the used ones;
# - 10^5 and 10^6 sibling <node/>s (7 bytes each): of all documents of short
#   tags, the one that takes the most memory for its size.
#
#   bench/converter_dae_bench.sh <path to Meshwright> [work directory]
#
# The documents are written as the shipped rules.txt reads them. Meshwright
# runs with its trace ("debug.txt") as always.
set -euo pipefail
source "$(dirname "$0")/compare_assimp.sh"

enter_work converter_dae_bench.sh "$@"

# grid <triangles> <file>: geometries of at most 100,000 triangles each, side
# by side.
grid() {
    local tris=$1 file=$2
    local parts=$(((tris + 99999) / 100000))
    local columns=$(grid_columns $((tris / parts)))
    local rows=$((tris / parts / 2 / columns))
    awk -v C="$columns" -v R="$rows" -v K="$parts" 'BEGIN {
        n = (C + 1) * (R + 1)
        print "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        print "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">"
        print "<library_effects><effect id=\"grid-fx\" name=\"grid\"><profile_COMMON><technique sid=\"common\"><phong>"
        print "<diffuse><color sid=\"diffuse\">0.5 0.6 0.7 1</color></diffuse></phong></technique></profile_COMMON></effect></library_effects>"
        print "<library_materials><material id=\"grid\" name=\"grid\"><instance_effect url=\"#grid-fx\"/></material></library_materials>"
        print "<library_geometries>"
        for (k = 0; k < K; k++) {
            printf "<geometry id=\"grid%d-mesh\" name=\"grid%d\"><mesh>\n", k, k
            printf "<source id=\"grid%d-pos\"><float_array id=\"grid%d-pos-array\" count=\"%d\">", k, k, n * 3
            for (r = 0; r <= R; r++) for (c = 0; c <= C; c++) {
                x = c / C; y = r / R
                printf "%.6f %.6f %.6f ", x * 10, y * 10, 0.1 * sin(6.2831853 * x) * cos(6.2831853 * y)
            }
            print "</float_array>"
            printf "<technique_common><accessor source=\"#grid%d-pos-array\" count=\"%d\" stride=\"3\"><param name=\"X\" type=\"float\"/><param name=\"Y\" type=\"float\"/><param name=\"Z\" type=\"float\"/></accessor></technique_common></source>\n", k, n
            printf "<source id=\"grid%d-nrm\"><float_array id=\"grid%d-nrm-array\" count=\"%d\">", k, k, n * 3
            for (r = 0; r <= R; r++) for (c = 0; c <= C; c++) {
                x = c / C; y = r / R
                printf "%.6f %.6f 1 ", -0.1 * cos(6.2831853 * x), 0.1 * sin(6.2831853 * y)
            }
            print "</float_array>"
            printf "<technique_common><accessor source=\"#grid%d-nrm-array\" count=\"%d\" stride=\"3\"><param name=\"X\" type=\"float\"/><param name=\"Y\" type=\"float\"/><param name=\"Z\" type=\"float\"/></accessor></technique_common></source>\n", k, n
            printf "<vertices id=\"grid%d-vtx\"><input semantic=\"POSITION\" source=\"#grid%d-pos\"/></vertices>\n", k, k
            printf "<triangles material=\"grid\" count=\"%d\"><input semantic=\"VERTEX\" source=\"#grid%d-vtx\" offset=\"0\"/><input semantic=\"NORMAL\" source=\"#grid%d-nrm\" offset=\"1\"/><p>", 2 * R * C, k, k
            for (r = 0; r < R; r++) for (c = 0; c < C; c++) {
                a = r * (C + 1) + c; b = a + C + 1
                printf "%d %d %d %d %d %d %d %d %d %d %d %d ", a, a, b, b, a + 1, a + 1, a + 1, a + 1, b, b, b + 1, b + 1
            }
            print "</p></triangles></mesh></geometry>"
        }
        print "</library_geometries>"
        print "<library_visual_scenes><visual_scene id=\"scene\">"
        for (k = 0; k < K; k++) {
            printf "<node id=\"grid%d-node\" name=\"grid%d\"><translate>%d 0 0</translate>", k, k, 11 * k
            printf "<instance_geometry url=\"#grid%d-mesh\"><bind_material><technique_common><instance_material symbol=\"grid\" target=\"#grid\"/></technique_common></bind_material></instance_geometry></node>\n", k
        }
        print "</visual_scene></library_visual_scenes>"
        print "<scene><instance_visual_scene url=\"#scene\"/></scene></COLLADA>"
    }' > "$file"
}

# scene <geometries> <file>: a row of quads, each its own geometry and node.
scene() {
    awk -v G="$1" 'BEGIN {
        print "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        print "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">"
        print "<library_effects><effect id=\"tile-fx\" name=\"tile\"><profile_COMMON><technique sid=\"common\"><phong>"
        print "<diffuse><color sid=\"diffuse\">0.5 0.6 0.7 1</color></diffuse></phong></technique></profile_COMMON></effect></library_effects>"
        print "<library_materials><material id=\"tile-material\" name=\"tile\"><instance_effect url=\"#tile-fx\"/></material></library_materials>"
        print "<library_geometries>"
        for (g = 0; g < G; g++) {
            h = 0.1 * sin(g)
            printf "<geometry id=\"tile%d-mesh\" name=\"tile%d\"><mesh>\n", g, g
            printf "<source id=\"tile%d-pos\"><float_array id=\"tile%d-pos-array\" count=\"12\">", g, g
            printf "0 0 %.4f 1 0 %.4f 0 1 %.4f 1 1 %.4f</float_array>\n", h, -h, -h, h
            printf "<technique_common><accessor source=\"#tile%d-pos-array\" count=\"4\" stride=\"3\"/></technique_common></source>\n", g
            printf "<vertices id=\"tile%d-vtx\"><input semantic=\"POSITION\" source=\"#tile%d-pos\"/></vertices>\n", g, g
            printf "<triangles material=\"tile\" count=\"2\"><input semantic=\"VERTEX\" source=\"#tile%d-vtx\" offset=\"0\"/><p>0 1 2 2 1 3</p></triangles>\n", g
            print "</mesh></geometry>"
        }
        print "</library_geometries>"
        print "<library_visual_scenes><visual_scene id=\"scene\">"
        for (g = 0; g < G; g++) {
            printf "<node id=\"tile%d-node\" name=\"tile%d\"><translate>%d %d 0</translate>", g, g, g % 100, int(g / 100)
            printf "<instance_geometry url=\"#tile%d-mesh\"/></node>\n", g
        }
        print "</visual_scene></library_visual_scenes>"
        print "<scene><instance_visual_scene url=\"#scene\"/></scene></COLLADA>"
    }' > "$2"
}

# The header and the one-triangle geometry of the documents of many
# children, written around what each generator puts between them.
triangle_head() {
    cat << 'EOF'
<?xml version="1.0" encoding="utf-8"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
<library_effects><effect id="red-fx" name="red"><profile_COMMON><technique sid="common"><phong><diffuse><color>1 0 0 1</color></diffuse></phong></technique></profile_COMMON></effect></library_effects>
<library_materials><material id="red" name="red"><instance_effect url="#red-fx"/></material></library_materials>
<library_geometries><geometry id="tri-mesh" name="tri"><mesh>
EOF
}

triangle_sources() {
    cat << 'EOF'
<source id="tri-pos"><float_array id="tri-pos-array" count="9">0 0 0 1 0 0 0 1 0</float_array><technique_common><accessor source="#tri-pos-array" count="3" stride="3"/></technique_common></source>
<source id="tri-uv"><float_array id="tri-uv-array" count="6">0 0 1 0 0 1</float_array><technique_common><accessor source="#tri-uv-array" count="3" stride="2"/></technique_common></source>
<vertices id="tri-vtx"><input semantic="POSITION" source="#tri-pos"/></vertices>
EOF
}

# triangle_tail <further inputs> <symbols>: the rest of the document after
# the sources: a <triangles> of the VERTEX input and the further ones, and a
# node that binds its material through the given <instance_material>s.
triangle_tail() {
    echo "<triangles material=\"used\" count=\"1\"><input semantic=\"VERTEX\" source=\"#tri-vtx\" offset=\"0\"/>$1<p>0 0 1 1 2 2</p></triangles>"
    echo "</mesh></geometry></library_geometries>"
    echo "<library_visual_scenes><visual_scene id=\"scene\"><node id=\"tri-node\" name=\"tri\"><instance_geometry url=\"#tri-mesh\"><bind_material><technique_common>$2<instance_material symbol=\"used\" target=\"#red\"/></technique_common></bind_material></instance_geometry></node></visual_scene></library_visual_scenes>"
    echo "<scene><instance_visual_scene url=\"#scene\"/></scene></COLLADA>"
}

# repeat <count> <printf format of %d>: the format for 0 to count - 1.
repeat() {
    awk -v N="$1" -v F="$2" 'BEGIN { for (i = 0; i < N; i++) printf F, i, i, i, i }'
}

kTexcoord='<input semantic="TEXCOORD" source="#tri-uv" offset="1"/>'

# materials <count> <file>: a <bind_material> of count symbols before the
# used one.
materials() {
    {
        triangle_head
        triangle_sources
        triangle_tail "$kTexcoord" "$(repeat "$1" '<instance_material symbol="s%d" target="#red"/>\n')"
    } > "$2"
}

# texcoords <count> <file>: a <triangles> of count TEXCOORD inputs.
texcoords() {
    {
        triangle_head
        triangle_sources
        triangle_tail "$(repeat "$1" '<input semantic="TEXCOORD" source="#tri-uv" offset="1" set="%d"/>\n')" ""
    } > "$2"
}

# sources <count> <file>: count unused <source>s before the used ones.
sources() {
    {
        triangle_head
        repeat "$1" '<source id="unused%d"><float_array id="unused%d-array" count="3">0 0 %d</float_array><technique_common><accessor source="#unused%d-array" count="1" stride="3"/></technique_common></source>\n'
        triangle_sources
        triangle_tail "$kTexcoord" ""
    } > "$2"
}

# siblings <count> <file>: count <node/>s side by side in a visual scene.
siblings() {
    {
        echo '<?xml version="1.0" encoding="utf-8"?>'
        echo '<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1"><library_visual_scenes><visual_scene id="scene">'
        repeat "$1" '<node/>'
        echo '</visual_scene></library_visual_scenes><scene><instance_visual_scene url="#scene"/></scene></COLLADA>'
    } > "$2"
}

compare "$meshwright" grid triangles dae 10000 100000 1000000
echo
compare "$meshwright" scene geometries dae 60 120 240
echo
compare "$meshwright" materials symbols dae 10000 20000 40000 80000
echo
compare "$meshwright" texcoords inputs dae 10000 20000 40000
echo
compare "$meshwright" sources sources dae 5000 10000 20000 40000
echo
compare "$meshwright" siblings nodes dae 100000 1000000
