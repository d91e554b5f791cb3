#include "tools/converter/pwnwriter.h"

#include "tools/converter/trace.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr u32 kVersion = 1;
constexpr u32 kCountsOffset = 8;
constexpr u32 kShortIndexLimit = 65535;
constexpr std::size_t kOutputBuffer = 1 << 20;
constexpr std::size_t kChunk = 4096;

void writeBytes(PwnWriter& w, const void* bytes, std::size_t size) {
    if (size != 0 && std::fwrite(bytes, 1, size, w.file) != size) {
        w.failed = true;
    }
}

void writeTag(PwnWriter& w, const std::string& text) {
    tracePrint("Writing string\n%s\n", text.c_str());
    writeBytes(w, text.data(), text.size());
}

void putU32(u8* out, u32 value) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<u8>(value >> (8 * i));
    }
}

// Values go out little-endian in chunks of kChunk bytes.
template <typename T, typename Put>
void writeValues(PwnWriter& w, const T* values, std::size_t count, std::size_t width, Put put) {
    u8 chunk[kChunk];
    std::size_t used = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (used + width > kChunk) {
            writeBytes(w, chunk, used);
            used = 0;
        }
        put(chunk + used, values[i]);
        used += width;
    }
    writeBytes(w, chunk, used);
}

void writeInts(PwnWriter& w, const u32* values, std::size_t count) {
    traceText("Writing int array\n");
    traceInts(values, count);
    traceText("\n");
    writeValues(w, values, count, 4, putU32);
}

void writeInt(PwnWriter& w, u32 value) {
    writeInts(w, &value, 1);
}

void writeFloats(PwnWriter& w, const f32* values, std::size_t count) {
    traceText("Writing float array\n");
    traceFloats(values, count);
    traceText("\n");
    writeValues(w, values, count, 4, [](u8* out, f32 value) {
        u32 bits;
        std::memcpy(&bits, &value, sizeof bits);
        putU32(out, bits);
    });
}

void writeShorts(PwnWriter& w, const u32* values, std::size_t count) {
    traceText("Writing short array\n");
    traceInts(values, count);
    traceText("\n");
    writeValues(w, values, count, 2, [](u8* out, u32 value) {
        out[0] = static_cast<u8>(value);
        out[1] = static_cast<u8>(value >> 8);
    });
}

void writeLabel(const char* label) {
    traceText(label);
}

// The index of the first entry under name, or -1.
i32 findName(const std::unordered_map<std::string, u32>& index, const std::string& name) {
    auto found = index.find(name);
    return found == index.end() ? -1 : static_cast<i32>(found->second);
}

void writeColour(PwnWriter& w, bool present, const char* tag, const f32* rgb) {
    if (present) {
        writeTag(w, tag);
        writeFloats(w, rgb, 3);
    }
}

void writeScalar(PwnWriter& w, bool present, const char* tag, f32 value) {
    if (present) {
        writeTag(w, tag);
        writeFloats(w, &value, 1);
    }
}

void writeAttributes(PwnWriter& w, const MeshRecord& mesh) {
    writeTag(w, "attr");
    writeInt(w, static_cast<u32>(mesh.attributes.size()));
    for (const MeshAttribute& a : mesh.attributes) {
        writeLabel("Attribute\n");
        writeInt(w, static_cast<u32>(a.name.size()));
        writeLabel("Attribute name\n");
        writeTag(w, a.name);
        writeLabel("Attribute offset\n");
        writeInt(w, a.offset);
        writeLabel("Attribute length\n");
        writeInt(w, a.components);
    }
}

void writeIndices(PwnWriter& w, const MeshRecord& mesh) {
    bool wide = mesh.indexCount > kShortIndexLimit;
    writeTag(w, "idxa");
    writeLabel("N indices\n");
    writeInt(w, mesh.indexCount);
    writeLabel("Index type size\n");
    writeInt(w, wide ? 4 : 2);
    writeLabel("Index array\n");
    if (wide) {
        writeInts(w, mesh.indices, mesh.indexCount);
    } else {
        writeShorts(w, mesh.indices, mesh.indexCount);
    }
}

void writeVertices(PwnWriter& w, const MeshRecord& mesh) {
    writeTag(w, "vtxa");
    writeLabel("N vertices\n");
    writeInt(w, mesh.vertexCount);
    writeLabel("Stride\n");
    writeInt(w, mesh.floatsPerVertex);
    writeLabel("Vertex array\n");
    writeFloats(w, mesh.vertices,
                static_cast<std::size_t>(mesh.vertexCount) * mesh.floatsPerVertex);
}

// The mesh a node places: the one of the geometry it names, else the first
// of its name; -1 for none.
i32 meshOf(const PwnWriter& w, const NodeRecord& node) {
    i32 mesh = node.geometry.empty() ? -1 : findName(w.geometryIndex, node.geometry);
    if (mesh < 0 && node.named) {
        mesh = findName(w.meshIndex, node.name);
    }
    return mesh;
}

std::size_t writtenChildren(const PwnWriter& w, const NodeRecord& node, i32 mesh) {
    std::size_t count = w.parts[static_cast<u32>(mesh)].size();
    for (const auto& child : node.children) {
        if (meshOf(w, *child) >= 0) {
            ++count;
        }
    }
    return count;
}

// A child node without a transform of its own for a further part of a mesh.
void writePartNode(PwnWriter& w, u32 part) {
    w.placed[part] = true;
    writeTag(w, "node");
    writeTag(w, "nmsh");
    writeInt(w, part);
    writeInt(w, 0);
}

void writeNode(PwnWriter& w, const NodeRecord& node) {
    i32 mesh = meshOf(w, node);
    if (mesh < 0) {
        tracePrint("Couldn't match node %s to any mesh\n", node.name.c_str());
        return;
    }
    w.placed[static_cast<u32>(mesh)] = true;
    writeTag(w, "node");
    if (node.hasRotation) {
        writeTag(w, "rota");
        writeFloats(w, node.rotation, 4);
    }
    if (node.hasTranslation) {
        writeTag(w, "tran");
        writeFloats(w, node.translation, 3);
    }
    if (node.hasScale) {
        writeTag(w, "scal");
        writeFloats(w, node.scale, 3);
    }
    writeTag(w, "nmsh");
    writeInt(w, static_cast<u32>(mesh));
    writeInt(w, static_cast<u32>(writtenChildren(w, node, mesh)));
    for (u32 part : w.parts[static_cast<u32>(mesh)]) {
        writePartNode(w, part);
    }
    for (const auto& child : node.children) {
        writeNode(w, *child);
    }
}

// The meshes that would never show, and a model without any triangle.
void warnOfEmptyModel(const PwnWriter& w) {
    for (std::size_t i = 0; i < w.meshNames.size(); ++i) {
        if (!w.placed[i]) {
            std::printf("Warning: mesh %s is placed by no node\n", w.meshNames[i].c_str());
        }
    }
    if (w.triangles == 0) {
        std::fputs("Warning: no triangles were written\n", stdout);
    }
}

// Remembers the mesh about to be written as number index.
void registerMesh(PwnWriter& w, const MeshRecord& mesh) {
    u32 index = static_cast<u32>(w.meshNames.size());
    w.meshNames.push_back(mesh.name);
    if (!w.meshIndex.emplace(mesh.name, index).second) {
        std::printf("Warning: two meshes are named %s\n", mesh.name.c_str());
    }
    w.parts.emplace_back();
    w.placed.push_back(false);
    w.triangles += mesh.indexCount / 3;
    if (mesh.furtherPart && w.lastFirstPart >= 0) {
        w.parts[static_cast<u32>(w.lastFirstPart)].push_back(index);
        return;
    }
    w.lastFirstPart = static_cast<i32>(index);
    if (!mesh.geometryId.empty()) {
        w.geometryIndex.emplace(mesh.geometryId, index);
    }
}

void seekTo(PwnWriter& w, long offset, int origin) {
    if (std::fseek(w.file, offset, origin) != 0) {
        w.failed = true;
    }
}

void removeTemporary(PwnWriter& w) {
    if (!w.temporary.empty()) {
        std::remove(w.temporary.c_str());
        w.temporary.clear();
    }
}

// The permissions fopen gives a new file.
mode_t newFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A new temporary file beside the target with the given permissions.
FILE* openTemporary(PwnWriter& w, mode_t mode) {
    std::string name = w.target + ".XXXXXX";
    int fd = mkstemp(name.data());
    if (fd < 0) {
        return nullptr;
    }
    w.temporary = name;
    FILE* file = fchmod(fd, mode) == 0 ? fdopen(fd, "wb") : nullptr;
    if (file == nullptr) {
        close(fd);
        removeTemporary(w);
    }
    return file;
}

// An existing regular file (the file a link names, when path is a link) and
// a name not yet taken are written through a temporary that keeps the
// existing file's permissions; anything else (a device, a pipe, a link to
// nothing) is written in place.
FILE* openOutput(PwnWriter& w, const char* path) {
    w.target = path;
    struct stat info;
    if (stat(path, &info) == 0) {
        if (!S_ISREG(info.st_mode)) {
            return std::fopen(path, "wb");
        }
        if (access(path, W_OK) != 0) {
            return nullptr;
        }
        if (char* resolved = realpath(path, nullptr)) {
            w.target = resolved;
            std::free(resolved);
        }
        return openTemporary(w, info.st_mode & 07777);
    }
    if (lstat(path, &info) == 0 || errno != ENOENT) {
        return std::fopen(path, "wb");
    }
    return openTemporary(w, newFileMode());
}

// Renames a finished temporary over the target; removes a failed one.
void moveIntoPlace(PwnWriter& w) {
    if (w.temporary.empty()) {
        return;
    }
    if (!w.failed && std::rename(w.temporary.c_str(), w.target.c_str()) == 0) {
        w.temporary.clear();
        return;
    }
    w.failed = true;
    removeTemporary(w);
}

} // namespace

bool beginOutput(PwnWriter& writer, const char* path) {
    writer = PwnWriter{};
    writer.file = openOutput(writer, path);
    if (writer.file == nullptr) {
        return false;
    }
    std::setvbuf(writer.file, nullptr, _IOFBF, kOutputBuffer);
    writeTag(writer, "pwnd");
    writeInt(writer, kVersion);
    seekTo(writer, 8, SEEK_CUR);
    return true;
}

bool writeMaterial(PwnWriter& writer, const MaterialRecord& material) {
    if (!material.name) {
        return false;
    }
    writeTag(writer, "matl");
    writeTag(writer, "idnt");
    writeInt(writer, static_cast<u32>(material.name->size()));
    writeTag(writer, *material.name);
    writeColour(writer, material.hasAmbient, "ambi", material.ambient);
    writeColour(writer, material.hasDiffuse, "diff", material.diffuse);
    writeColour(writer, material.hasSpecular, "spec", material.specular);
    writeScalar(writer, material.hasShininess, "shin", material.shininess);
    writeScalar(writer, material.hasEmissive, "emis", material.emissive);
    writeScalar(writer, material.hasSpecularLevel, "spcl", material.specularLevel);
    writer.materialIndex.emplace(*material.name, static_cast<u32>(writer.materialNames.size()));
    writer.materialNames.push_back(*material.name);
    return true;
}

void writeMesh(PwnWriter& writer, const MeshRecord& mesh) {
    writeTag(writer, "mesh");
    writeTag(writer, "idnt");
    writeLabel("Mesh id length\n");
    writeInt(writer, static_cast<u32>(mesh.name.size()));
    writeTag(writer, mesh.name);
    i32 material = findName(writer.materialIndex, mesh.materialName);
    if (material >= 0) {
        writeTag(writer, "mmat");
        writeLabel("Material index\n");
        writeInt(writer, static_cast<u32>(material));
    } else {
        std::printf("Warning: mesh %s has no material (none is named \"%s\")\n", mesh.name.c_str(),
                    mesh.materialName.c_str());
    }
    writeAttributes(writer, mesh);
    writeIndices(writer, mesh);
    writeVertices(writer, mesh);
    registerMesh(writer, mesh);
}

bool finishOutput(PwnWriter& writer, const NodeRecord& root) {
    for (const auto& node : root.children) {
        writeNode(writer, *node);
    }
    writeTag(writer, "xxxx");
    warnOfEmptyModel(writer);
    seekTo(writer, kCountsOffset, SEEK_SET);
    writeInt(writer, static_cast<u32>(writer.materialNames.size()));
    writeInt(writer, static_cast<u32>(writer.meshNames.size()));
    if (std::fflush(writer.file) != 0 || std::ferror(writer.file) != 0) {
        writer.failed = true;
    }
    if (std::fclose(writer.file) != 0) {
        writer.failed = true;
    }
    writer.file = nullptr;
    moveIntoPlace(writer);
    return !writer.failed;
}

void abandonOutput(PwnWriter& writer) {
    if (writer.file != nullptr) {
        std::fclose(writer.file);
        writer.file = nullptr;
    }
    removeTemporary(writer);
}

bool placesMesh(const PwnWriter& writer, const NodeRecord& node) {
    return meshOf(writer, node) >= 0;
}
