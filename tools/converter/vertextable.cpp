#include "tools/converter/vertextable.h"

#include <cstring>

namespace {

constexpr u32 kBuckets = 337;

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

} // namespace

u32 hashVertex(const u8* bytes, i32 byteCount) {
    return hashBytes(bytes, byteCount) % kBuckets;
}

u32 VertexTable::fullHash(const f32* key, i32 floats) const {
    return hashBytes(reinterpret_cast<const u8*>(key), floats * static_cast<i32>(sizeof(f32)));
}

u32 VertexTable::slotOf(const f32* key, i32 floats, u32 hash) const {
    u32 mask = static_cast<u32>(slots_.size()) - 1;
    u32 bytes = static_cast<u32>(floats) * sizeof(f32);
    for (u32 slot = mix(hash) & mask;; slot = (slot + 1) & mask) {
        u32 index = slots_[slot];
        if (index == kEmpty) {
            return slot;
        }
        const Entry& e = entries_[index];
        if (e.hash == hash && e.floats == static_cast<u32>(floats) &&
            std::memcmp(data_.data() + e.offset, key, bytes) == 0) {
            return slot;
        }
    }
}

i32 VertexTable::find(const f32* key, i32 floats) const {
    if (slots_.empty()) {
        return -1;
    }
    u32 index = slots_[slotOf(key, floats, fullHash(key, floats))];
    return index == kEmpty ? -1 : static_cast<i32>(index);
}

void VertexTable::append(const f32* key, i32 floats, u32 hash, u32 slot) {
    slots_[slot] = static_cast<u32>(entries_.size());
    entries_.push_back({hash, static_cast<u32>(data_.size()), static_cast<u32>(floats)});
    data_.insert(data_.end(), key, key + floats);
    if (entries_.size() * 2 > slots_.size()) {
        grow();
    }
}

void VertexTable::grow() {
    std::vector<u32> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 1024 : old.size() * 2, kEmpty);
    u32 mask = static_cast<u32>(slots_.size()) - 1;
    for (u32 index : old) {
        if (index == kEmpty) {
            continue;
        }
        u32 slot = mix(entries_[index].hash) & mask;
        while (slots_[slot] != kEmpty) {
            slot = (slot + 1) & mask;
        }
        slots_[slot] = index;
    }
}

i32 VertexTable::insert(const f32* key, i32 floats) {
    if (slots_.empty()) {
        grow();
    }
    u32 hash = fullHash(key, floats);
    u32 slot = slotOf(key, floats, hash);
    if (slots_[slot] != kEmpty) {
        return 0;
    }
    append(key, floats, hash, slot);
    return static_cast<i32>(hash % kBuckets);
}

u32 VertexTable::add(const f32* key, i32 floats) {
    if (slots_.empty()) {
        grow();
    }
    u32 hash = fullHash(key, floats);
    u32 slot = slotOf(key, floats, hash);
    u32 index = slots_[slot];
    if (index == kEmpty) {
        index = static_cast<u32>(entries_.size());
        append(key, floats, hash, slot);
    }
    return index;
}

void VertexTable::clear() {
    data_.clear();
    entries_.clear();
    slots_.clear();
}
