#pragma once

#include "engine/types.h"

#include <vector>

// The bucket a vertex key belongs to: h = h * 33 + byte (each byte of the
// floats in memory order, taken as signed), modulo 337.
u32 hashVertex(const u8* bytes, i32 byteCount);

// Merges byte-equal vertices: keeps the vertex data of one mesh and gives
// each distinct vertex its index in order of first appearance. Keys are equal
// only when every byte is equal, so 0.0 and -0.0 stay apart. Finding a vertex
// costs O(1) on average at any size.
class VertexTable {
  public:
    // The index of the vertex equal to key, or -1.
    i32 find(const f32* key, i32 floats) const;
    // Appends key as a new vertex unless an equal one is present: 0 when it
    // was present (nothing inserted), else the key's bucket number.
    i32 insert(const f32* key, i32 floats);
    // The index of key, appending it first when it is new.
    u32 add(const f32* key, i32 floats);
    void clear();

    const std::vector<f32>& data() const { return data_; }
    u32 vertexCount() const { return static_cast<u32>(entries_.size()); }

  private:
    struct Entry {
        u32 hash;
        u32 offset;
        u32 floats;
    };
    static constexpr u32 kEmpty = UINT32_MAX;

    u32 fullHash(const f32* key, i32 floats) const;
    // The slot holding key, or the empty slot where it belongs.
    u32 slotOf(const f32* key, i32 floats, u32 hash) const;
    void append(const f32* key, i32 floats, u32 hash, u32 slot);
    void grow();

    std::vector<f32> data_;
    std::vector<Entry> entries_;
    std::vector<u32> slots_;
};
