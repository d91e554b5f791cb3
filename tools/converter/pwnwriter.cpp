#include "tools/converter/pwnwriter.h"

#include "tools/converter/interrupts.h"
#include "tools/converter/meshsplit.h"
#include "tools/converter/trace.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <numeric>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr u32 kVersion = 1;
constexpr u32 kCountsOffset = 8;
constexpr u32 kShortIndexLimit = 65535;
constexpr std::size_t kOutputBuffer = 1 << 20;
constexpr std::size_t kChunk = 4096;
// What the engine reads from one file.
constexpr std::size_t kMaxMeshes = 256;
constexpr std::size_t kMaxMaterials = 256;
constexpr std::size_t kMaxNodeLevels = 33; // the root records and 32 levels below
constexpr int kLinkHops = 40;

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

// The mesh each written node places: the one it names, or a copy of that
// one where it was placed before.
using Placements = std::unordered_map<const NodeRecord*, u32>;

std::size_t writtenChildren(const PwnWriter& w, const NodeRecord& node, u32 mesh,
                            const Placements& placements) {
    std::size_t count = w.parts[mesh].size();
    for (const auto& child : node.children) {
        count += placements.count(child.get());
    }
    return count;
}

// A child node without a transform of its own for a further part of a mesh.
void writePartNode(PwnWriter& w, u32 part) {
    writeTag(w, "node");
    writeTag(w, "nmsh");
    writeInt(w, part);
    writeInt(w, 0);
}

void writeNode(PwnWriter& w, const NodeRecord& node, const Placements& placements) {
    auto placement = placements.find(&node);
    if (placement == placements.end()) {
        tracePrint("Couldn't match node %s to any mesh\n", node.name.c_str());
        return;
    }
    u32 mesh = placement->second;
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
    writeInt(w, mesh);
    writeInt(w, static_cast<u32>(writtenChildren(w, node, mesh, placements)));
    for (u32 part : w.parts[mesh]) {
        writePartNode(w, part);
    }
    for (const auto& child : node.children) {
        writeNode(w, *child, placements);
    }
}

// The nodes that will be written, in their order, with the mesh each names.
void collectPlacements(const PwnWriter& w, const NodeRecord& node,
                       std::vector<std::pair<const NodeRecord*, u32>>& out) {
    i32 mesh = meshOf(w, node);
    if (mesh < 0) {
        return;
    }
    out.emplace_back(&node, static_cast<u32>(mesh));
    for (const auto& child : node.children) {
        collectPlacements(w, *child, out);
    }
}

// prefix followed by the first number from 2 on that gives a name no mesh has.
std::string freeName(const PwnWriter& w, const std::string& prefix) {
    for (u32 k = 2;; ++k) {
        std::string name = prefix + std::to_string(k);
        if (w.meshIndex.count(name) == 0) {
            return name;
        }
    }
}

// Numbers a new mesh, a copy of source, without writing it yet.
u32 addCopy(PwnWriter& w, u32 source, std::vector<u32>& copied) {
    u32 index = static_cast<u32>(w.meshNames.size());
    std::string name = freeName(w, w.meshNames[source] + "@");
    w.meshIndex.emplace(name, index);
    w.meshNames.push_back(name);
    w.parts.emplace_back();
    w.placed.push_back(true);
    copied.push_back(source);
    return index;
}

// The mesh that places mesh and its parts once more: mesh itself the first
// time, else a copy of it with copies of its parts.
u32 placeMesh(PwnWriter& w, u32 mesh, std::vector<u32>& copied) {
    std::vector<u32> parts = w.parts[mesh];
    bool taken = w.placed[mesh];
    for (u32 part : parts) {
        taken = taken || w.placed[part];
    }
    if (!taken) {
        w.placed[mesh] = true;
        for (u32 part : parts) {
            w.placed[part] = true;
        }
        return mesh;
    }
    u32 copy = addCopy(w, mesh, copied);
    for (u32 part : parts) {
        u32 partCopy = addCopy(w, part, copied);
        w.parts[copy].push_back(partCopy);
    }
    return copy;
}

// Gives every written node its mesh; copied gets the source of every copy,
// in the order of the copies' numbers.
Placements placeNodes(PwnWriter& w, const NodeRecord& root, std::vector<u32>& copied) {
    std::vector<std::pair<const NodeRecord*, u32>> named;
    for (const auto& node : root.children) {
        collectPlacements(w, *node, named);
    }
    Placements placements;
    for (const auto& [node, mesh] : named) {
        placements.emplace(node, placeMesh(w, mesh, copied));
    }
    return placements;
}

// For every mesh number, the controller that places it when no node does,
// or none.
std::vector<const ControlledGeometry*> controllersOf(const PwnWriter& w) {
    std::vector<const ControlledGeometry*> out(w.meshNames.size());
    for (const auto& [geometry, controller] : w.controlledGeometries) {
        i32 mesh = findName(w.geometryIndex, geometry);
        if (mesh < 0 || w.placed[static_cast<u32>(mesh)]) {
            continue;
        }
        out[static_cast<u32>(mesh)] = &controller;
        for (u32 part : w.parts[static_cast<u32>(mesh)]) {
            out[part] = &controller;
        }
    }
    return out;
}

// The meshes that would never show, and a model without any triangle.
void warnOfEmptyModel(const PwnWriter& w) {
    std::vector<const ControlledGeometry*> controllers = controllersOf(w);
    for (std::size_t i = 0; i < w.meshNames.size(); ++i) {
        if (const ControlledGeometry* c = controllers[i]) {
            std::printf("Warning: mesh %s is placed only by a %s controller, which is not read "
                        "(node %s: <instance_controller url=\"%s\">); the mesh was written "
                        "without a node\n",
                        w.meshNames[i].c_str(), c->kind.c_str(), c->node.c_str(), c->url.c_str());
        } else if (!w.placed[i]) {
            std::printf("Warning: mesh %s is placed by no node\n", w.meshNames[i].c_str());
        }
    }
    if (w.triangles == 0) {
        std::fputs("Warning: no triangles were written\n", stdout);
    }
}

// The name of a further part of the mesh written last: "<first part>.k" with
// the first k from 2 that no mesh has.
std::string partName(const PwnWriter& w) {
    return freeName(w, w.meshNames[static_cast<u32>(w.lastFirstPart)] + ".");
}

// One "mesh" chunk, naming the material of that number (none for -1).
void writeMeshChunk(PwnWriter& w, const MeshRecord& mesh, i32 material) {
    writeTag(w, "mesh");
    writeTag(w, "idnt");
    writeLabel("Mesh id length\n");
    writeInt(w, static_cast<u32>(mesh.name.size()));
    writeTag(w, mesh.name);
    if (material >= 0) {
        writeTag(w, "mmat");
        writeLabel("Material index\n");
        writeInt(w, static_cast<u32>(material));
    }
    writeAttributes(w, mesh);
    writeIndices(w, mesh);
    writeVertices(w, mesh);
}

void keepMesh(PwnWriter& w, const MeshRecord& mesh) {
    KeptMesh kept;
    kept.materialName = mesh.materialName;
    kept.attributes = mesh.attributes;
    kept.indices.assign(mesh.indices, mesh.indices + mesh.indexCount);
    kept.vertices.assign(mesh.vertices, mesh.vertices + static_cast<std::size_t>(mesh.vertexCount) *
                                                            mesh.floatsPerVertex);
    kept.vertexCount = mesh.vertexCount;
    kept.floatsPerVertex = mesh.floatsPerVertex;
    w.kept.push_back(std::move(kept));
}

using Bindings = std::unordered_map<std::string, u32>;

// The material of mesh number mesh, kept as source: the one bound (by the
// placing node) to the mesh's material name, else the first of that name; -1
// for none.
i32 materialOf(const PwnWriter& w, const Bindings* bound, u32 source) {
    const std::string& name = w.kept[source].materialName;
    if (bound != nullptr) {
        auto binding = bound->find(name);
        if (binding != bound->end()) {
            return static_cast<i32>(binding->second);
        }
    }
    return findName(w.materialIndex, name);
}

// The material of every mesh number: the one its placing node binds, for the
// mesh and its parts, or that the controller placing it binds; sources gives
// the kept mesh of every number.
std::vector<i32> materialsOf(const PwnWriter& w, const Placements& placements,
                             const std::vector<u32>& sources) {
    std::vector<i32> materials(sources.size());
    std::vector<const ControlledGeometry*> controllers = controllersOf(w);
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const ControlledGeometry* c = controllers[i];
        materials[i] = materialOf(w, c != nullptr ? &c->materials : nullptr, sources[i]);
    }
    for (const auto& [node, mesh] : placements) {
        materials[mesh] = materialOf(w, &node->materials, sources[mesh]);
        for (u32 part : w.parts[mesh]) {
            materials[part] = materialOf(w, &node->materials, sources[part]);
        }
    }
    return materials;
}

// A mesh whose material name (a COLLADA symbol) leads to no material, or
// that names none.
void warnOfNoMaterial(const std::string& mesh, const std::string& material) {
    if (material.empty()) {
        std::printf("Warning: mesh %s has no material (its <triangles> names none)\n",
                    mesh.c_str());
    } else {
        std::printf("Warning: mesh %s has no material (none is named \"%s\")\n", mesh.c_str(),
                    material.c_str());
    }
}

// Writes every mesh, the copies that placeNodes numbered last, each from the
// mesh kept under its source's number. A mesh without a material is warned
// of once, not again for its copies.
void writeMeshes(PwnWriter& w, const Placements& placements, const std::vector<u32>& copied) {
    std::vector<u32> sources(w.meshNames.size());
    std::iota(sources.begin(), sources.end(), 0u);
    std::copy(copied.begin(), copied.end(), sources.end() - copied.size());
    std::vector<i32> materials = materialsOf(w, placements, sources);
    std::vector<bool> warned(w.kept.size());
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const KeptMesh& kept = w.kept[sources[i]];
        if (sources[i] != i) {
            tracePrint("Copy of mesh %s\n", w.meshNames[sources[i]].c_str());
        }
        if (materials[i] < 0 && !warned[sources[i]]) {
            warned[sources[i]] = true;
            warnOfNoMaterial(w.meshNames[i], kept.materialName);
        }
        MeshRecord mesh;
        mesh.name = w.meshNames[i];
        mesh.attributes = kept.attributes;
        mesh.indices = kept.indices.data();
        mesh.indexCount = static_cast<u32>(kept.indices.size());
        mesh.vertices = kept.vertices.data();
        mesh.vertexCount = kept.vertexCount;
        mesh.floatsPerVertex = kept.floatsPerVertex;
        writeMeshChunk(w, mesh, materials[i]);
    }
}

// How many levels of node records writing node gives: its own, and those
// of its parts' records or of its written children.
std::size_t levelsOf(const PwnWriter& w, const NodeRecord& node, const Placements& placements) {
    auto placement = placements.find(&node);
    if (placement == placements.end()) {
        return 0;
    }
    std::size_t below = w.parts[placement->second].empty() ? 0 : 1;
    for (const auto& child : node.children) {
        below = std::max(below, levelsOf(w, *child, placements));
    }
    return 1 + below;
}

// Why the engine could not read the whole model, or nothing.
std::string refusalOf(const PwnWriter& w, const NodeRecord& root, const Placements& placements) {
    char text[160] = "";
    std::size_t levels = 0;
    for (const auto& node : root.children) {
        levels = std::max(levels, levelsOf(w, *node, placements));
    }
    if (levels > kMaxNodeLevels) {
        std::snprintf(text, sizeof text,
                      "The model's nodes nest %zu levels deep; the engine reads at most %zu\n",
                      levels, kMaxNodeLevels);
    } else if (w.meshNames.size() > kMaxMeshes) {
        std::snprintf(text, sizeof text,
                      "The model needs %zu meshes; the engine reads at most %zu from one file\n",
                      w.meshNames.size(), kMaxMeshes);
    } else if (w.materialNames.size() > kMaxMaterials) {
        std::snprintf(text, sizeof text,
                      "The model has %zu materials; the engine reads at most %zu from one file\n",
                      w.materialNames.size(), kMaxMaterials);
    }
    return text;
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

void takeMesh(PwnWriter& w, const MeshRecord& mesh) {
    keepMesh(w, mesh);
    registerMesh(w, mesh);
}

void seekTo(PwnWriter& w, long offset, int origin) {
    if (std::fseek(w.file, offset, origin) != 0) {
        w.failed = true;
    }
}

void removeTemporary(PwnWriter& w) {
    InterruptHold hold;
    if (!w.temporary.empty()) {
        std::remove(w.temporary.c_str());
        w.temporary.clear();
        removeOnInterrupt(nullptr);
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
    InterruptHold hold;
    int fd = mkstemp(name.data());
    if (fd < 0) {
        return nullptr;
    }
    w.temporary = name;
    removeOnInterrupt(name.c_str());
    FILE* file = fchmod(fd, mode) == 0 ? fdopen(fd, "wb") : nullptr;
    if (file == nullptr) {
        close(fd);
        removeTemporary(w);
    }
    return file;
}

// The target itself, to be written once the model is finished, and an
// unnamed temporary file elsewhere that holds the model until then.
FILE* openInPlace(PwnWriter& w) {
    int target = open(w.target.c_str(), O_WRONLY | O_CLOEXEC);
    FILE* file = target >= 0 ? std::tmpfile() : nullptr;
    int held = file != nullptr ? dup(fileno(file)) : -1;
    if (held < 0) {
        if (file != nullptr) {
            std::fclose(file);
        }
        if (target >= 0) {
            close(target);
        }
        return nullptr;
    }
    w.inPlaceTarget = target;
    w.heldModel = held;
    return file;
}

// The name that path leads to through its symbolic links (a relative link
// read from the link's own folder); it may name nothing yet.
std::string followLinks(const char* path) {
    std::string name = path;
    char text[PATH_MAX];
    for (int hop = 0; hop < kLinkHops; ++hop) {
        ssize_t length = readlink(name.c_str(), text, sizeof text);
        if (length <= 0 || static_cast<std::size_t>(length) == sizeof text) {
            break;
        }
        std::string next(text, static_cast<std::size_t>(length));
        std::size_t slash = name.rfind('/');
        if (next[0] != '/' && slash != std::string::npos) {
            next = name.substr(0, slash + 1) + next;
        }
        name = next;
    }
    return name;
}

// An existing regular file and a name not yet taken (also the one a link
// leads to) are written through a temporary: beside the file the links lead
// to, keeping an existing file's permissions, or, when that folder takes no
// new file, elsewhere, to be copied into the existing file at the end.
// Anything else (a device, a pipe) is written in place.
FILE* openOutput(PwnWriter& w, const char* path) {
    struct stat info;
    bool exists = stat(path, &info) == 0;
    if (!exists && errno != ENOENT) {
        return std::fopen(path, "wb");
    }
    if (exists && !S_ISREG(info.st_mode)) {
        return std::fopen(path, "wb");
    }
    if (exists && access(path, W_OK) != 0) {
        return nullptr;
    }
    w.target = followLinks(path);
    if (!exists) {
        return openTemporary(w, newFileMode());
    }
    FILE* file = openTemporary(w, info.st_mode & 07777);
    return file != nullptr ? file : openInPlace(w);
}

// Copies the finished model over the start of the target, once the room for
// all of it is taken, and cuts the target to the model's length.
bool copyIntoPlace(const PwnWriter& w) {
    off_t size = lseek(w.heldModel, 0, SEEK_END);
    if (size <= 0 || posix_fallocate(w.inPlaceTarget, 0, size) != 0) {
        return false;
    }
    std::vector<char> block(kOutputBuffer);
    for (off_t at = 0; at < size;) {
        std::size_t want = static_cast<std::size_t>(std::min<off_t>(size - at, kOutputBuffer));
        ssize_t got = pread(w.heldModel, block.data(), want, at);
        if (got <= 0 ||
            pwrite(w.inPlaceTarget, block.data(), static_cast<std::size_t>(got), at) != got) {
            return false;
        }
        at += got;
    }
    return ftruncate(w.inPlaceTarget, size) == 0;
}

// Closes the target and the held model of an output written in place.
bool closeInPlace(PwnWriter& w) {
    bool closed = w.inPlaceTarget < 0 || close(w.inPlaceTarget) == 0;
    if (w.heldModel >= 0) {
        close(w.heldModel);
    }
    w.inPlaceTarget = -1;
    w.heldModel = -1;
    return closed;
}

// Puts a finished output in place: renames its temporary over the target, or
// copies it into the target; removes a failed one. The signals that end the
// program wait until it is done.
void moveIntoPlace(PwnWriter& w) {
    InterruptHold hold;
    if (w.inPlaceTarget >= 0) {
        bool copied = !w.failed && copyIntoPlace(w);
        w.failed = !closeInPlace(w) || !copied;
        return;
    }
    if (w.temporary.empty()) {
        return;
    }
    if (!w.failed && std::rename(w.temporary.c_str(), w.target.c_str()) == 0) {
        w.temporary.clear();
        removeOnInterrupt(nullptr);
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
    MeshRecord named = mesh;
    if (mesh.furtherPart && writer.lastFirstPart >= 0 && writer.meshIndex.count(mesh.name) != 0) {
        named.name = partName(writer);
    }
    if (mesh.vertexCount <= kMaxDrawnVertices) {
        takeMesh(writer, named);
        return;
    }
    std::vector<MeshPiece> pieces =
        splitMesh(mesh.indices, mesh.indexCount, mesh.vertices, mesh.vertexCount,
                  mesh.floatsPerVertex, kMaxDrawnVertices);
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        if (k > 0) {
            named.name = partName(writer);
            named.geometryId.clear();
            named.furtherPart = true;
        }
        named.indices = pieces[k].indices.data();
        named.indexCount = static_cast<u32>(pieces[k].indices.size());
        named.vertices = pieces[k].vertices.data();
        named.vertexCount = pieces[k].vertexCount;
        takeMesh(writer, named);
    }
}

bool finishOutput(PwnWriter& writer, const NodeRecord& root) {
    std::vector<u32> copied;
    Placements placements = placeNodes(writer, root, copied);
    writer.refusal = refusalOf(writer, root, placements);
    if (!writer.refusal.empty()) {
        abandonOutput(writer);
        return false;
    }
    writeMeshes(writer, placements, copied);
    for (const auto& node : root.children) {
        writeNode(writer, *node, placements);
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
    closeInPlace(writer);
    removeTemporary(writer);
}

bool placesMesh(const PwnWriter& writer, const NodeRecord& node) {
    return meshOf(writer, node) >= 0;
}
