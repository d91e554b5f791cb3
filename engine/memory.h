#pragma once

#include "engine/types.h"

#include <cstddef>

// The tracking allocator: every block carries a header holding its size, and
// four counters follow the live bytes, the live blocks, the all-time peak and
// the peak since the last MemoryGetFramePeak().
void* MemoryAllocate(u32 size);
void* MemoryAllocateZeroed(u32 count, u32 size);
// For the allocation operators: sizes beyond what a header can hold are
// "Out of memory".
void* MemoryAllocateBytes(std::size_t size);
// A block for code outside the program (shared libraries loaded into the
// process, such as the GL driver): it is freed like any other block but
// never counted.
void* MemoryAllocateUncounted(std::size_t size);
void MemoryFree(void* p);
void* MemoryReallocate(void* p, u32 newSize);

u32 MemoryGetTotal();
u32 MemoryGetBlockCount();
u32 MemoryGetPeak();
u32 MemoryGetFramePeak();
void MemoryCheck();
void MemoryDump();

u32 StringHash(const char* s);
char* StringDuplicate(const char* s);
