#pragma once

#include "engine/resource.h"

// A two-dimensional texture made from a picture file (named by its path) or
// from tightly packed pixels in memory. A picture that cannot be used leaves
// the texture without a GL object (id 0).
class Texture : public Resource {
  public:
    // Format codes and their bytes per pixel: RGBA 4, RGB 3, luminance 1.
    static constexpr u32 kRgba = 0;
    static constexpr u32 kRgb = 1;
    static constexpr u32 kLuminance = 2;

    Texture(const char* file, bool mipmaps, u32 filter, u32 wrap, u32 purgeLevel);
    // The pixels stay the caller's.
    Texture(const u8* pixels, const char* name, u32 format, u32 width, u32 height, bool mipmaps,
            u32 filter, u32 wrap, u32 purgeLevel);
    ~Texture() override;

    Resource* clone(const char* newName, u32 purgeLevel) override;
    void print(FILE* file) const override;

    // Uploads the pixels as this texture's new GL texture (see upload).
    void setup_texture(const u8* pixels, u32 format, u32 width, u32 height, bool mipmaps,
                       u32 filter, u32 wrap);
    // Uploads tightly packed pixels of a GL pixel format (GL_RGBA, GL_ALPHA,
    // ...) as a new GL texture, left bound to GL_TEXTURE_2D, and returns its
    // id. Every two-dimensional texture of the engine and the host is made
    // here. Filter and wrap codes: 0 nearest / clamp to edge, 1 linear /
    // repeat, 2 linear with linear mipmaps / mirrored repeat; others as 1.
    static u32 upload(const u8* pixels, u32 glFormat, u32 width, u32 height, bool mipmaps,
                      u32 filter, u32 wrap);

    u32 getId() const { return id; }
    u32 getWidth() const { return width; }
    u32 getHeight() const { return height; }
    bool isMipmapped() const { return mipmapped; }

    // Reads a picture file: its pixels (to give back with PlatformFreeImage),
    // size and format code; null, with a warning, when it cannot be read or
    // has other than 1, 3 or 4 bytes per pixel.
    static u8* loadPicture(const char* file, u32* width, u32* height, u32* format);

    // Gives back the texture the slot holds, then stores the texture of the
    // file (mipmapped, filter 2, wrap 1) in it and returns it.
    static Texture* loadInto(Texture** slot, const char* file, u32 purgeLevel);
    // loadInto for a slot that pins what it holds.
    static Texture* loadPinned(Texture** slot, const char* file, u32 purgeLevel);

    // The GL format of a format code (any code but RGB and luminance is
    // RGBA), its bytes per pixel, and the format code of a bytes-per-pixel
    // count (false for counts other than 1, 3 and 4).
    static u32 glFormat(u32 format);
    static u32 bytesPerPixel(u32 format);
    static bool formatOf(u32 bytesPerPixel, u32* format);
    // GL parameter values of the filter and wrap codes.
    static u32 magFilter(u32 filter);
    static u32 minFilter(u32 filter);
    static u32 wrapMode(u32 wrap);

  private:
    u32 format;
    u32 width;
    u32 height;
    bool mipmapped;
    u32 id;
};
