#pragma once

#include "engine/types.h"

// The services the engine takes from the platform it runs on. The engine only
// declares them; the host's platform layer defines them, and every program
// links that layer beside the engine.

// A picture as tightly packed rows, bottom row last as loaded, in a block of
// the tracking allocator; pixels is null (the other outputs untouched) when
// the file cannot be read.
void PlatformLoadImage(const char* file, u8** pixels, u32* width, u32* height, u32* bytesPerPixel);
// Gives back the pixels of PlatformLoadImage.
void PlatformFreeImage(u8* pixels);

// A viewport given relative to the game screen.
void PlatformSetViewport(i32 x, i32 y, i32 w, i32 h);
// The game screen's size in the current orientation.
void PlatformGetScreenSize(u32* width, u32* height);
