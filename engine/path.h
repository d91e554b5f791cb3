#pragma once

#include "engine/types.h"

#include <cstdio>

// Asset paths may be written with either separator ("..\models\x.pwn"); the
// engine opens every file through these helpers, which turn backslashes into
// slashes. Resources keep their names as written.

// Copies the path into out with '/' for every '\\'; false (and out empty)
// when the path does not fit.
bool PathNormalize(const char* path, char* out, u32 size);
// fopen of the normalised path; null when it cannot be opened or is too long.
FILE* PathOpen(const char* path, const char* mode);
// PlatformLoadImage of the normalised path; pixels null (the other outputs
// untouched) when the picture cannot be read or the path is too long.
void PathLoadImage(const char* path, u8** pixels, u32* width, u32* height, u32* bytesPerPixel);
