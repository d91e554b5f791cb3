#include "tools/converter/vertextable.h"

#include <cstring>

namespace {

constexpr u32 kBuckets = 337;
constexpr u32 kEmpty = UINT32_MAX;

u32 hashBytes(const u8* bytes, i32 byteCount) {
    u32 h = 0;
    for (i32 i = 0; i < byteCount; ++i) {
        h = h * 33 + static_cast<u32>(static_cast<i32>(static_cast<int8_t>(bytes[i])));
    }
    return h;
}

// Spreads the bits of the bucket hash over the whole word for the slot table.
u32 mix(u32 h) {
    h ^= h >> 16;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    h ^= h >> 16;
    return h;
}

u32 fullHash(const f32* key, i32 floats) {
    return hashBytes(reinterpret_cast<const u8*>(key), floats * static_cast<i32>(sizeof(f32)));
}

// The slot holding key, or the empty slot where it belongs.
u32 slotOf(const VertexTable& t, const f32* key, i32 floats, u32 hash) {
    u32 mask = static_cast<u32>(t.slots.size()) - 1;
    u32 bytes = static_cast<u32>(floats) * sizeof(f32);
    for (u32 slot = mix(hash) & mask;; slot = (slot + 1) & mask) {
        u32 index = t.slots[slot];
        if (index == kEmpty) {
            return slot;
        }
        const VertexTableEntry& e = t.entries[index];
        if (e.hash == hash && e.floats == static_cast<u32>(floats) &&
            std::memcmp(t.data.data() + e.offset, key, bytes) == 0) {
            return slot;
        }
    }
}

void grow(VertexTable& t) {
    std::vector<u32> old;
    old.swap(t.slots);
    t.slots.assign(old.empty() ? 1024 : old.size() * 2, kEmpty);
    u32 mask = static_cast<u32>(t.slots.size()) - 1;
    for (u32 index : old) {
        if (index == kEmpty) {
            continue;
        }
        u32 slot = mix(t.entries[index].hash) & mask;
        while (t.slots[slot] != kEmpty) {
            slot = (slot + 1) & mask;
        }
        t.slots[slot] = index;
    }
}

void append(VertexTable& t, const f32* key, i32 floats, u32 hash, u32 slot) {
    t.slots[slot] = static_cast<u32>(t.entries.size());
    t.entries.push_back({hash, static_cast<u32>(t.data.size()), static_cast<u32>(floats)});
    t.data.insert(t.data.end(), key, key + floats);
    if (t.entries.size() * 2 > t.slots.size()) {
        grow(t);
    }
}

} // namespace

u32 hashVertex(const u8* bytes, i32 byteCount) {
    return hashBytes(bytes, byteCount) % kBuckets;
}

i32 vertexTableFind(const VertexTable& table, const f32* key, i32 floats) {
    if (table.slots.empty()) {
        return -1;
    }
    u32 index = table.slots[slotOf(table, key, floats, fullHash(key, floats))];
    return index == kEmpty ? -1 : static_cast<i32>(index);
}

i32 vertexTableInsert(VertexTable& table, const f32* key, i32 floats) {
    if (table.slots.empty()) {
        grow(table);
    }
    u32 hash = fullHash(key, floats);
    u32 slot = slotOf(table, key, floats, hash);
    if (table.slots[slot] != kEmpty) {
        return 0;
    }
    append(table, key, floats, hash, slot);
    return static_cast<i32>(hash % kBuckets);
}

u32 vertexTableAdd(VertexTable& table, const f32* key, i32 floats) {
    if (table.slots.empty()) {
        grow(table);
    }
    u32 hash = fullHash(key, floats);
    u32 slot = slotOf(table, key, floats, hash);
    u32 index = table.slots[slot];
    if (index == kEmpty) {
        index = static_cast<u32>(table.entries.size());
        append(table, key, floats, hash, slot);
    }
    return index;
}

void vertexTableClear(VertexTable& table) {
    table.data.clear();
    table.entries.clear();
    table.slots.clear();
}

u32 vertexTableCount(const VertexTable& table) {
    return static_cast<u32>(table.entries.size());
}
