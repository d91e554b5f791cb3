#include "engine/memory.h"

#include "engine/result.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const Result kOutOfMemory = {2, "Out of memory"};
const Result kFreeNull = {1, "Cannot free null pointer (not null)"};

// The header keeps the caller's memory aligned like malloc's; the size sits
// in its last four bytes, just in front of the caller's memory, and the four
// before them tell counted blocks from uncounted ones.
constexpr u32 kHeaderSize = alignof(std::max_align_t);
constexpr u32 kLargestRequest = 0xFFFFFFFFu - kHeaderSize;
constexpr u32 kCounted = 0x7E55A1ED;
constexpr u32 kUncounted = 0x0BADF00D;

u32 total = 0;
u32 blocks = 0;
u32 peak = 0;
u32 framePeak = 0;

u32* sizeSlot(void* user) {
    return reinterpret_cast<u32*>(static_cast<u8*>(user) - sizeof(u32));
}
u32* kindSlot(void* user) {
    return sizeSlot(user) - 1;
}
u8* blockOf(void* user) {
    return static_cast<u8*>(user) - kHeaderSize;
}

void raisePeaks() {
    if (static_cast<i32>(total) > static_cast<i32>(peak)) {
        peak = total;
    }
    if (static_cast<i32>(total) > static_cast<i32>(framePeak)) {
        framePeak = total;
    }
}

void* outOfMemory() {
    REPORT(kOutOfMemory);
    return nullptr;
}

// A block of size bytes behind its header, from the system heap.
void* newBlock(u32 size, u32 kind) {
    if (size > kLargestRequest) {
        return outOfMemory();
    }
    u8* block = static_cast<u8*>(std::malloc(size + kHeaderSize));
    if (block == nullptr) {
        return outOfMemory();
    }
    void* user = block + kHeaderSize;
    *sizeSlot(user) = size;
    *kindSlot(user) = kind;
    return user;
}

} // namespace

void* MemoryAllocate(u32 size) {
    void* user = newBlock(size, kCounted);
    total += size;
    blocks++;
    raisePeaks();
    return user;
}

void* MemoryAllocateZeroed(u32 count, u32 size) {
    u64 bytes = static_cast<u64>(count) * size;
    if (bytes > kLargestRequest) {
        return outOfMemory();
    }
    void* p = MemoryAllocate(static_cast<u32>(bytes));
    std::memset(p, 0, bytes);
    return p;
}

void* MemoryAllocateBytes(std::size_t size) {
    if (size > kLargestRequest) {
        return outOfMemory();
    }
    return MemoryAllocate(static_cast<u32>(size));
}

void* MemoryAllocateUncounted(std::size_t size) {
    if (size > kLargestRequest) {
        return outOfMemory();
    }
    return newBlock(static_cast<u32>(size), kUncounted);
}

void MemoryFree(void* p) {
    if (p == nullptr) {
        REPORT(kFreeNull);
        return;
    }
    if (*kindSlot(p) == kUncounted) {
        std::free(blockOf(p));
        return;
    }
    total -= *sizeSlot(p);
    blocks--;
    std::free(blockOf(p));
}

void* MemoryReallocate(void* p, u32 newSize) {
    if (p == nullptr) {
        return MemoryAllocate(newSize);
    }
    if (newSize > kLargestRequest) {
        return outOfMemory();
    }
    u32 oldSize = *sizeSlot(p);
    u8* block = static_cast<u8*>(std::realloc(blockOf(p), newSize + kHeaderSize));
    if (block == nullptr) {
        return outOfMemory();
    }
    void* user = block + kHeaderSize;
    *sizeSlot(user) = newSize;
    total = total + newSize - oldSize;
    raisePeaks();
    return user;
}

u32 MemoryGetTotal() {
    return total;
}
u32 MemoryGetBlockCount() {
    return blocks;
}
u32 MemoryGetPeak() {
    return peak;
}

u32 MemoryGetFramePeak() {
    u32 result = framePeak;
    framePeak = total;
    return result;
}

void MemoryCheck() {}

void MemoryDump() {
    FILE* f = std::fopen("mem.txt", "w");
    if (f == nullptr) {
        return;
    }
    std::fprintf(f, " - - = = Allocated memory pointers = = - - \n");
    std::fprintf(f, "  [ TOTAL MEM    ][%u]\n", total);
    std::fprintf(f, "  [ PEAK MEM     ][%u]\n", peak);
    std::fprintf(f, "  [ TOTAL BLOCKS ][%u]\n\n\n", blocks);
    std::fclose(f);
}

u32 StringHash(const char* s) {
    u32 h = 0;
    for (; *s != 0; s++) {
        h = h * 33 + static_cast<u32>(static_cast<i32>(static_cast<signed char>(*s)));
    }
    return h;
}

char* StringDuplicate(const char* s) {
    std::size_t n = std::strlen(s) + 1;
    char* copy = static_cast<char*>(MemoryAllocateBytes(n));
    std::memcpy(copy, s, n);
    return copy;
}
