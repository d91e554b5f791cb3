#pragma once

#include "tools/converter/records.h"

#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

// Writes a .pwn model and mirrors every value it writes into the trace.
struct PwnWriter {
    FILE* file = nullptr;
    // The output's path and the temporary beside it that is written in its
    // place until the output is finished; no temporary for an output that is
    // not a regular file (a device or a pipe), which is written directly.
    std::string target;
    std::string temporary;
    bool failed = false; // a write, seek or close went wrong
    std::vector<std::string> materialNames;
    std::vector<std::string> meshNames;
    // Names and geometry ids to the index of the first material or mesh
    // written under them.
    std::unordered_map<std::string, u32> materialIndex;
    std::unordered_map<std::string, u32> meshIndex;
    std::unordered_map<std::string, u32> geometryIndex;
    // For each mesh, the further parts of its geometry, placed with it.
    std::vector<std::vector<u32>> parts;
    i32 lastFirstPart = -1;
    std::vector<bool> placed;
    u64 triangles = 0;
};

// Opens the output and writes the header, leaving the two counts to
// finishOutput. A regular file (or a new one) is written to a temporary
// beside it, so that an earlier file of that name stays as it was until the
// output is finished. False when the output cannot be opened.
bool beginOutput(PwnWriter& writer, const char* path);

// One "matl" chunk. False (nothing written) for a material without a name.
bool writeMaterial(PwnWriter& writer, const MaterialRecord& material);

// One "mesh" chunk. Its material is named by the index of the first written
// material of that name; a name that matches none leaves "mmat" out.
void writeMesh(PwnWriter& writer, const MeshRecord& mesh);

// True when the node places a mesh written so far: the mesh of the geometry
// it names, else the first of its name. A node that places none is not
// written, nor are the nodes inside it.
bool placesMesh(const PwnWriter& writer, const NodeRecord& node);

// Writes the children of root (the root nodes) with their subtrees, the end
// tag, the two counts, closes the output and moves it into place. Warns on
// standard output of every mesh that no node places and when no triangle was
// written. False, with the temporary removed, when any write of the whole
// output failed.
bool finishOutput(PwnWriter& writer, const NodeRecord& root);

// Closes an output that will not be finished and removes its temporary.
void abandonOutput(PwnWriter& writer);
