#include "engine/cubemap.h"

#include "engine/platform.h"
#include "engine/result.h"
#include "engine/texture.h"

#include <GLES2/gl2.h>

namespace {

const Result kSizesDiffer = {1, "The cube map faces differ in size"};
const Result kNoClone = {1, "Cloning a cube map resource is not permitted"};

const u32 kTargets[CubeMap::kFaces] = {
    GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_CUBE_MAP_NEGATIVE_X, GL_TEXTURE_CUBE_MAP_POSITIVE_Y,
    GL_TEXTURE_CUBE_MAP_NEGATIVE_Y, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, GL_TEXTURE_CUBE_MAP_POSITIVE_Z};

struct Face {
    u8* pixels;
    u32 width;
    u32 height;
    u32 format;
};

// Loads all six faces; false when any cannot be used or the sizes differ.
bool loadFaces(const char* const files[CubeMap::kFaces], Face faces[CubeMap::kFaces]) {
    bool usable = true;
    for (u32 i = 0; i < CubeMap::kFaces; i++) {
        Face& face = faces[i];
        face.pixels = Texture::loadPicture(files[i], &face.width, &face.height, &face.format);
        usable = face.pixels != nullptr && usable;
    }
    for (u32 i = 1; usable && i < CubeMap::kFaces; i++) {
        if (faces[i].width != faces[0].width || faces[i].height != faces[0].height) {
            REPORT(kSizesDiffer);
            usable = false;
        }
    }
    return usable;
}

} // namespace

CubeMap::CubeMap(const char* name, const char* positiveX, const char* negativeX,
                 const char* positiveY, const char* negativeY, const char* negativeZ,
                 const char* positiveZ, u32 purgeLevel)
    : Resource(name, purgeLevel, kResourceCubeMap), id(0) {
    const char* files[kFaces] = {positiveX, negativeX, positiveY, negativeY, negativeZ, positiveZ};
    Face faces[kFaces];
    if (loadFaces(files, faces)) {
        glGenTextures(1, &id);
        glBindTexture(GL_TEXTURE_CUBE_MAP, id);
        GL_ASSERT();
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        GL_ASSERT();
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        GL_ASSERT();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        for (u32 i = 0; i < kFaces; i++) {
            u32 gl = Texture::glFormat(faces[i].format);
            glTexImage2D(
                kTargets[i], 0, static_cast<GLint>(gl), static_cast<GLsizei>(faces[i].width),
                static_cast<GLsizei>(faces[i].height), 0, gl, GL_UNSIGNED_BYTE, faces[i].pixels);
        }
        GL_ASSERT();
    }
    for (const Face& face : faces) {
        if (face.pixels != nullptr) {
            PlatformFreeImage(face.pixels);
        }
    }
}

CubeMap::~CubeMap() {
    if (id != 0) {
        glDeleteTextures(1, &id);
    }
    GL_ASSERT();
}

Resource* CubeMap::clone(const char*, u32) {
    REPORT(kNoClone);
    return nullptr;
}

void CubeMap::print(FILE* file) const {
    std::fprintf(file, "    [ TEX ID   ][ %u ]\n", id);
}

u32 CubeMap::faceTarget(u32 i) {
    return i < kFaces ? kTargets[i] : 0;
}
