#include "engine/texture.h"

#include "engine/path.h"
#include "engine/platform.h"
#include "engine/result.h"
#include "engine/scenegraph.h"

#include <GLES2/gl2.h>

namespace {

const Result kCannotOpen = {1, "Couldn't open texture file"};
const Result kBadPixelSize = {1, "The texture doesn't have 1, 3 or 4 bytes per pixel"};
const Result kNoClone = {1, "Cloning a texture resource is not permitted"};

bool isEmpty(const char* name) {
    return name == nullptr || name[0] == 0;
}

} // namespace

Texture::Texture(const char* file, bool mipmaps, u32 filter, u32 wrap, u32 purgeLevel)
    : Resource(file, purgeLevel, kResourceTexture), format(kRgba), width(0), height(0),
      mipmapped(false), id(0) {
    if (isEmpty(file)) {
        REPORT(kInvalidArgument);
    }
    u32 w = 0, h = 0, code = kRgba;
    u8* pixels = loadPicture(file, &w, &h, &code);
    if (pixels == nullptr) {
        return;
    }
    setup_texture(pixels, code, w, h, mipmaps, filter, wrap);
    GL_ASSERT();
    PlatformFreeImage(pixels);
}

Texture::Texture(const u8* pixels, const char* name, u32 format_, u32 width_, u32 height_,
                 bool mipmaps, u32 filter, u32 wrap, u32 purgeLevel)
    : Resource(name, purgeLevel, kResourceTexture), format(kRgba), width(0), height(0),
      mipmapped(false), id(0) {
    if (isEmpty(name)) {
        REPORT(kInvalidArgument);
    }
    setup_texture(pixels, format_, width_, height_, mipmaps, filter, wrap);
}

Texture::~Texture() {
    if (id != 0) {
        glDeleteTextures(1, &id);
    }
    GL_ASSERT();
}

Resource* Texture::clone(const char*, u32) {
    REPORT(kNoClone);
    return nullptr;
}

void Texture::print(FILE* file) const {
    std::fprintf(file, "    [ FORMAT   ][ %u ]\n", format);
    std::fprintf(file, "    [ WIDTH    ][ %u ]\n", width);
    std::fprintf(file, "    [ HEIGHT   ][ %u ]\n", height);
    std::fprintf(file, "    [ MIP'D    ][ %u ]\n", mipmapped ? 1u : 0u);
    std::fprintf(file, "    [ GL ID    ][ %u ]\n", id);
}

void Texture::setup_texture(const u8* pixels, u32 format_, u32 width_, u32 height_, bool mipmaps,
                            u32 filter, u32 wrap) {
    width = width_;
    height = height_;
    format = format_;
    mipmapped = mipmaps;
    id = upload(pixels, glFormat(format), width, height, mipmaps, filter, wrap);
    setSize(width * height * bytesPerPixel(format));
}

u32 Texture::upload(const u8* pixels, u32 glFormat, u32 width, u32 height, bool mipmaps, u32 filter,
                    u32 wrap) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    GL_ASSERT();
    glBindTexture(GL_TEXTURE_2D, texture);
    GL_ASSERT();
    // Rows are tightly packed: an RGB or luminance row need not fill a
    // multiple of four bytes.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(glFormat), static_cast<GLsizei>(width),
                 static_cast<GLsizei>(height), 0, glFormat, GL_UNSIGNED_BYTE, pixels);
    GL_ASSERT();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(magFilter(filter)));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(minFilter(filter)));
    GL_ASSERT();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrapMode(wrap)));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrapMode(wrap)));
    GL_ASSERT();
    if (mipmaps) {
        glGenerateMipmap(GL_TEXTURE_2D);
    }
    GL_ASSERT();
    return texture;
}

u8* Texture::loadPicture(const char* file, u32* width, u32* height, u32* format) {
    u8* pixels = nullptr;
    u32 bpp = 0;
    PathLoadImage(file, &pixels, width, height, &bpp);
    if (pixels == nullptr) {
        REPORT(kCannotOpen);
        return nullptr;
    }
    if (!formatOf(bpp, format)) {
        REPORT(kBadPixelSize);
        PlatformFreeImage(pixels);
        return nullptr;
    }
    return pixels;
}

Texture* Texture::loadInto(Texture** slot, const char* file, u32 purgeLevel) {
    if (*slot != nullptr) {
        SceneGraph::dereferenceResource(*slot);
    }
    *slot = SceneGraph::createTexture(file, true, 2, 1, purgeLevel);
    return *slot;
}

Texture* Texture::loadPinned(Texture** slot, const char* file, u32 purgeLevel) {
    unpinHeld(*slot);
    pinHeld(loadInto(slot, file, purgeLevel));
    return *slot;
}

u32 Texture::glFormat(u32 format) {
    return format == kRgb ? GL_RGB : format == kLuminance ? GL_LUMINANCE : GL_RGBA;
}

u32 Texture::bytesPerPixel(u32 format) {
    return format == kRgb ? 3 : format == kLuminance ? 1 : 4;
}

bool Texture::formatOf(u32 bpp, u32* format) {
    switch (bpp) {
    case 4:
        *format = kRgba;
        return true;
    case 3:
        *format = kRgb;
        return true;
    case 1:
        *format = kLuminance;
        return true;
    default:
        return false;
    }
}

u32 Texture::magFilter(u32 filter) {
    return filter == 0 ? GL_NEAREST : GL_LINEAR;
}

u32 Texture::minFilter(u32 filter) {
    return filter == 0 ? GL_NEAREST : filter == 2 ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
}

u32 Texture::wrapMode(u32 wrap) {
    return wrap == 0 ? GL_CLAMP_TO_EDGE : wrap == 2 ? GL_MIRRORED_REPEAT : GL_REPEAT;
}
