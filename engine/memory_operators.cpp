// The global allocation operators forward to the tracking allocator. Kept in
// an object file of its own so that a sanitizer build can leave it out.
//
// Every C++ allocation of the process comes here, also those of shared
// libraries loaded into it (the GL driver among them). Only the program's own
// code is counted: a block whose caller lies outside the program's text is
// allocated uncounted, so the figures and "mem.txt" speak of the program
// alone. Deleting a null pointer through the operators does nothing, as those
// libraries expect; MemoryFree itself still warns about a null pointer.
#include "engine/memory.h"

#include <new>

extern "C" char __executable_start;
extern "C" char etext;

namespace {

bool fromProgram(const void* caller) {
    const char* at = static_cast<const char*>(caller);
    return at >= &__executable_start && at < &etext;
}

void* allocate(std::size_t size, const void* caller) {
    return fromProgram(caller) ? MemoryAllocateBytes(size) : MemoryAllocateUncounted(size);
}

void release(void* p) {
    if (p != nullptr) {
        MemoryFree(p);
    }
}

} // namespace

#define CALLER __builtin_return_address(0)

__attribute__((noinline)) void* operator new(std::size_t size) {
    return allocate(size, CALLER);
}
__attribute__((noinline)) void* operator new[](std::size_t size) {
    return allocate(size, CALLER);
}
__attribute__((noinline)) void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size, CALLER);
}
__attribute__((noinline)) void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size, CALLER);
}
void operator delete(void* p) noexcept {
    release(p);
}
void operator delete[](void* p) noexcept {
    release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    release(p);
}
