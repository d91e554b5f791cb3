#pragma once

#include "engine/types.h"

class Node;

// Reads a ".pwn" model file into the parent: materials, vertex arrays and
// index arrays are created or found by name in the registry, and the meshes
// are attached as the file's node records place them (with firstMeshOnly,
// the first mesh alone is attached). With uniqueNames the parse counter, in
// lower-case hexadecimal, is appended to every material and mesh name. A
// malformed file gets a warning and a partial or empty model; a mesh of more
// than 65536 vertices is refused with a warning that names it, and the rest
// of the file is read on (a node record that names it places nothing).
void PwnParse(Node* parent, const char* file, bool firstMeshOnly, bool uniqueNames, u32 purgeLevel);
// The same for a file's bytes already in memory.
void PwnParseBytes(Node* parent, const u8* data, u64 size, bool firstMeshOnly, bool uniqueNames,
                   u32 purgeLevel);
// Raised by one after every model read to its end; wraps at 65536.
u16 PwnGetParseCounter();
