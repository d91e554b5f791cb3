// The global allocation operators forward to the tracking allocator. Kept in
// an object file of its own so that a sanitizer build can leave it out.
//
// A version script keeps them out of the program's dynamic symbols
// (operators.map): the program's own code allocates through them, while shared
// libraries loaded into the process (the GL driver among them) keep the C++
// runtime's operators, so the figures and "mem.txt" count the program alone.
// Deleting a null pointer through them does nothing, as those libraries expect;
// MemoryFree itself still warns about a null pointer.
#include "engine/memory.h"

#include <new>

namespace {

void release(void* p) {
    if (p != nullptr) {
        MemoryFree(p);
    }
}

} // namespace

void* operator new(std::size_t size) {
    return MemoryAllocateBytes(size);
}
void* operator new[](std::size_t size) {
    return MemoryAllocateBytes(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return MemoryAllocateBytes(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return MemoryAllocateBytes(size);
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
