#pragma once

#include "engine/types.h"

#include <vector>

// The bucket a vertex key belongs to: h = h * 33 + byte (each byte of the
// floats in memory order, taken as signed), modulo 337.
u32 hashVertex(const u8* bytes, i32 byteCount);

struct VertexTableEntry {
    u32 hash;   // that chooses the vertex's slot
    u32 offset; // of the vertex's first float in the table's data
    u32 floats;
};

// Merges byte-equal vertices: keeps the vertex data of one mesh and gives
// each distinct vertex its index in order of first appearance. Keys are equal
// only when every byte is equal, so 0.0 and -0.0 stay apart. Finding a vertex
// costs O(1) on average at any size, whatever the keys: the slots are chosen
// by a keyed hash whose key is drawn at random for each run, so keys made to
// share one bucket of hashVertex (or any other fixed hash) spread as well.
struct VertexTable {
    std::vector<f32> data;                 // the vertices, one after another
    std::vector<VertexTableEntry> entries; // one per vertex, in index order
    std::vector<u32> slots;                // open addressing over the entries
};

// The index of the vertex equal to key, or -1.
i32 vertexTableFind(const VertexTable& table, const f32* key, i32 floats);
// Appends key as a new vertex unless an equal one is present: 0 when it was
// present (nothing inserted), else the key's bucket number.
i32 vertexTableInsert(VertexTable& table, const f32* key, i32 floats);
// The index of key, appending it first when it is new.
u32 vertexTableAdd(VertexTable& table, const f32* key, i32 floats);
void vertexTableClear(VertexTable& table);
u32 vertexTableCount(const VertexTable& table);
