#pragma once

#include "tools/converter/records.h"

#include <cstdio>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// A mesh as the reader handed it over, written once the nodes that place it
// are known (a mesh that two nodes place is written again under a name of its
// own for the second).
struct KeptMesh {
    // The material the mesh names: a COLLADA symbol, which the node placing
    // the mesh may bind to a material of its own choosing.
    std::string materialName;
    std::vector<MeshAttribute> attributes;
    std::vector<u32> indices;
    std::vector<f32> vertices;
    u32 vertexCount = 0;
    u32 floatsPerVertex = 0;
};

// A geometry that an <instance_controller> places through its controller
// (which is not read): the controller's kind ("skin", "morph"), the node that
// holds the element and its url, and what the element's <bind_material>
// binds (as NodeRecord::materials).
struct ControlledGeometry {
    std::string kind;
    std::string node;
    std::string url;
    std::unordered_map<std::string, u32> materials;
};

// Writes a .pwn model and mirrors every value it writes into the trace.
struct PwnWriter {
    FILE* file = nullptr;
    // The output's path and the temporary beside it that is written in its
    // place until the output is finished; no temporary for an output that is
    // not a regular file (a device or a pipe), which is written directly.
    std::string target;
    std::string temporary;
    // An existing file beside which no temporary can be made (in a folder the
    // program may not write in) is written in place once the model is
    // finished: until then the model is kept in an unnamed temporary file
    // elsewhere. The target's descriptor, and a second descriptor of that
    // temporary, which outlives the closing of file.
    int inPlaceTarget = -1;
    int heldModel = -1;
    bool failed = false; // a write, seek or close went wrong
    std::vector<std::string> materialNames;
    std::vector<std::string> meshNames;
    // Names and geometry ids to the index of the first material or mesh
    // written under them.
    std::unordered_map<std::string, u32> materialIndex;
    std::unordered_map<std::string, u32> meshIndex;
    std::unordered_map<std::string, u32> geometryIndex;
    // Ids of the geometries left out for holding no triangles.
    std::unordered_set<std::string> emptyGeometries;
    // The geometries that controllers place, by id (the first placement).
    std::unordered_map<std::string, ControlledGeometry> controlledGeometries;
    // For each mesh, the further parts of its geometry, placed with it.
    std::vector<std::vector<u32>> parts;
    i32 lastFirstPart = -1;
    std::vector<bool> placed;
    u64 triangles = 0;
    // Every mesh handed over, by its number.
    std::vector<KeptMesh> kept;
    // Why finishOutput refused the model, when it did.
    std::string refusal;
};

// Opens the output and writes the header, leaving the two counts to
// finishOutput. A regular file (or a new one, also one that a link to
// nothing names) is written to a temporary beside it, or elsewhere when the
// folder takes no new file, so that an earlier file of that name stays as it
// was until the output is finished. False when the output cannot be opened.
bool beginOutput(PwnWriter& writer, const char* path);

// One "matl" chunk. False (nothing written) for a material without a name.
bool writeMaterial(PwnWriter& writer, const MaterialRecord& material);

// One mesh, written as a "mesh" chunk by finishOutput, after every material.
// Its material is the one that the node placing it binds to its material
// name (NodeRecord::materials), else the first written material of that name;
// a name that matches none leaves "mmat" out, with a warning. A mesh of more
// vertices than the engine draws (65,536) is written as several, each of at
// most that many, named like further parts of the mesh ("<name>.2",
// "<name>.3", ...) and placed wherever the mesh is.
void writeMesh(PwnWriter& writer, const MeshRecord& mesh);

// True when the node places a mesh written so far: the mesh of the geometry
// it names, else the first of its name. A node that places none is not
// written, nor are the nodes inside it.
bool placesMesh(const PwnWriter& writer, const NodeRecord& node);

// Writes the meshes, the children of root (the root nodes) with their
// subtrees, the end tag, the two counts, closes the output and moves it into place. A node that
// places a mesh already placed gets a copy of the mesh and its parts, written
// before the nodes under names of their own ("<name>@2", ...). Warns on
// standard output of every mesh that no node places and when no triangle was
// written. False, with the temporary removed, when any write of the whole
// output failed, or when the model holds more meshes or materials, or nests
// its nodes deeper, than the engine reads from one file (refusal then says
// so).
bool finishOutput(PwnWriter& writer, const NodeRecord& root);

// Closes an output that will not be finished and removes its temporary.
// Signals that end the program remove it too (catchInterrupts).
void abandonOutput(PwnWriter& writer);
