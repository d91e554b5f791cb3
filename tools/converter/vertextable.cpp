#include "tools/converter/vertextable.h"

#include <cstring>
#include <random>

namespace {

constexpr u32 kBuckets = 337;
constexpr u32 kEmpty = UINT32_MAX;

// The slots are chosen by SipHash-1-3 under a key drawn at random for the
// run, so that no document can make its vertices collide: which slot a
// vertex takes never shows, since vertices keep their order of first
// appearance.
struct SipKey {
    u64 k0;
    u64 k1;
};

SipKey drawSipKey() {
    std::random_device random;
    auto word = [&] { return (static_cast<u64>(random()) << 32) | random(); };
    return {word(), word()};
}

u64 rotate(u64 x, int bits) {
    return (x << bits) | (x >> (64 - bits));
}

void sipRound(u64 v[4]) {
    v[0] += v[1];
    v[1] = rotate(v[1], 13) ^ v[0];
    v[0] = rotate(v[0], 32);
    v[2] += v[3];
    v[3] = rotate(v[3], 16) ^ v[2];
    v[0] += v[3];
    v[3] = rotate(v[3], 21) ^ v[0];
    v[2] += v[1];
    v[1] = rotate(v[1], 17) ^ v[2];
    v[2] = rotate(v[2], 32);
}

void sipTake(u64 v[4], u64 word) {
    v[3] ^= word;
    sipRound(v);
    v[0] ^= word;
}

u64 sipHash(const u8* bytes, std::size_t size) {
    static const SipKey key = drawSipKey();
    u64 v[4] = {0x736f6d6570736575ull ^ key.k0, 0x646f72616e646f6dull ^ key.k1,
                0x6c7967656e657261ull ^ key.k0, 0x7465646279746573ull ^ key.k1};
    std::size_t whole = size & ~static_cast<std::size_t>(7);
    for (std::size_t i = 0; i < whole; i += 8) {
        u64 word;
        std::memcpy(&word, bytes + i, sizeof word);
        sipTake(v, word);
    }
    u64 last = static_cast<u64>(size) << 56;
    for (std::size_t i = whole; i < size; ++i) {
        last |= static_cast<u64>(bytes[i]) << (8 * (i - whole));
    }
    sipTake(v, last);
    v[2] ^= 0xff;
    for (int i = 0; i < 3; ++i) {
        sipRound(v);
    }
    return v[0] ^ v[1] ^ v[2] ^ v[3];
}

u32 slotHash(const f32* key, i32 floats) {
    return static_cast<u32>(
        sipHash(reinterpret_cast<const u8*>(key), static_cast<std::size_t>(floats) * sizeof(f32)));
}

// The slot holding key, or the empty slot where it belongs.
u32 slotOf(const VertexTable& t, const f32* key, i32 floats, u32 hash) {
    u32 mask = static_cast<u32>(t.slots.size()) - 1;
    u32 bytes = static_cast<u32>(floats) * sizeof(f32);
    for (u32 slot = hash & mask;; slot = (slot + 1) & mask) {
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
        u32 slot = t.entries[index].hash & mask;
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
    u32 h = 0;
    for (i32 i = 0; i < byteCount; ++i) {
        h = h * 33 + static_cast<u32>(static_cast<i32>(static_cast<int8_t>(bytes[i])));
    }
    return h % kBuckets;
}

i32 vertexTableFind(const VertexTable& table, const f32* key, i32 floats) {
    if (table.slots.empty()) {
        return -1;
    }
    u32 index = table.slots[slotOf(table, key, floats, slotHash(key, floats))];
    return index == kEmpty ? -1 : static_cast<i32>(index);
}

i32 vertexTableInsert(VertexTable& table, const f32* key, i32 floats) {
    if (table.slots.empty()) {
        grow(table);
    }
    u32 hash = slotHash(key, floats);
    u32 slot = slotOf(table, key, floats, hash);
    if (table.slots[slot] != kEmpty) {
        return 0;
    }
    append(table, key, floats, hash, slot);
    return static_cast<i32>(
        hashVertex(reinterpret_cast<const u8*>(key), floats * static_cast<i32>(sizeof(f32))));
}

u32 vertexTableAdd(VertexTable& table, const f32* key, i32 floats) {
    if (table.slots.empty()) {
        grow(table);
    }
    u32 hash = slotHash(key, floats);
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
