#pragma once

#include "engine/types.h"

#include <cstddef>

// The trace file "debug.txt": every step of a conversion, written as it
// happens. Tracing is best effort: without an open trace file every call
// does nothing, and a trace that cannot be written never stops a conversion.

// Opens (replacing any earlier file) the trace; false when it cannot.
bool traceOpen(const char* path);
void traceClose();

void traceText(const char* text);
void tracePrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "[%d]" for every value (taken as signed 32-bit), with no line break.
void traceInts(const u32* values, std::size_t count);
// "[%.3f]" for every value, with no line break.
void traceFloats(const f32* values, std::size_t count);

// Writes value as printf's "%.3f" would into out (at least 64 bytes) and
// gives the length.
std::size_t formatFixed3(f32 value, char* out);
