#include "engine/pwnparser.h"

#include "engine/indexarray.h"
#include "engine/materialphong.h"
#include "engine/memory.h"
#include "engine/path.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"

#include <cstdio>
#include <cstring>

namespace {

const Result kCannotOpen = {1, "Couldn't open .pwn file"};
const Result kWrongMagic = {1, "File doesn't appear to be a .pwn file"};
const Result kWrongVersion = {1, "The .pwn version is not supported"};
const Result kCutShort = {1, "The .pwn file ends inside a chunk"};
const Result kBadIndexWidth = {1, "The .pwn index width is neither 2 nor 4"};
const Result kNamelessMaterial = {1, "A .pwn material without a name was skipped"};
const Result kNamelessMesh = {1, "A .pwn mesh without a name was skipped"};
const Result kTooManyMaterials = {1, "A .pwn file holds more than 256 materials"};
const Result kTooManyMeshes = {1, "A .pwn file holds more than 256 meshes"};
const Result kMeshOutOfRange = {
    1, "A .pwn mesh was dropped: an index or an attribute lies outside its vertices"};
const Result kUnknownMesh = {1, "A .pwn node record names a mesh that was not read"};
const Result kPlacedTwice = {1, "A .pwn node record places a mesh a second time"};
const Result kTooDeep = {1, "The .pwn node records nest too deep"};

constexpr u32 kMaxTable = 256;
constexpr u32 kMaxName = 1000;
constexpr u32 kMaxAttributes = 16;
constexpr u32 kMaxNodeDepth = 32;
// The most vertices that 16-bit indices reach.
constexpr u32 kMaxVertices = 65536;
// A vertex array's float count, also after generated normals, must stay
// addressable in bytes with 32 bits.
constexpr u64 kMaxFloats = 0x3fffffff;
// A name, the parse counter in hexadecimal and the terminating zero.
constexpr u32 kNameSize = kMaxName + 8;

u16 parseCounter = 0;

// Reads little-endian values from the file's bytes. Any read past the end
// marks the cursor failed, and every later read fails too.
class Cursor {
  public:
    Cursor(const u8* data, u64 size)
        : data(data), size(size), at(0), failed(false), reported(false) {}

    u64 left() const { return size - at; }
    bool isFailed() const { return failed; }
    void fail() {
        failed = true;
        at = size;
    }
    // Ends the reading without a fault.
    void stop() { at = size; }
    // The fault already has its own warning.
    void markReported() { reported = true; }
    bool needsReport() const { return failed && !reported; }

    const u8* take(u64 n) {
        if (failed || left() < n) {
            fail();
            return nullptr;
        }
        const u8* bytes = data + at;
        at += n;
        return bytes;
    }
    u32 readU32() {
        const u8* b = take(4);
        return b == nullptr ? 0 : readU32At(b);
    }
    f32 readF32() {
        u32 bits = readU32();
        f32 value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    vec3 readVec3() {
        f32 x = readF32();
        f32 y = readF32();
        f32 z = readF32();
        return vec3(x, y, z);
    }
    // True when at least 4 bytes follow and they are the tag.
    bool nextIs(const char* tag) const {
        return !failed && left() >= 4 && std::memcmp(data + at, tag, 4) == 0;
    }
    static u32 readU32At(const u8* b) {
        return u32(b[0]) | u32(b[1]) << 8 | u32(b[2]) << 16 | u32(b[3]) << 24;
    }

  private:
    const u8* data;
    u64 size;
    u64 at;
    bool failed;
    bool reported;
};

struct Attribute {
    char name[kNameSize];
    u32 offset;
    u32 components;
};

struct MeshData {
    char name[kNameSize];
    bool hasMaterial;
    u32 material;
    Attribute attributes[kMaxAttributes];
    u32 attributeCount;
    f32* vertices;
    u32 vertexCount;
    u32 floatsPerVertex;
    u16* indices;
    u32 indexCount;
};

struct MaterialData {
    char name[kNameSize];
    vec3 ambient, diffuse, specular;
    f32 shininess, emissive, specularLevel;
};

// True when every index names a vertex and every attribute lies inside the
// stride, "Vertex" with at least 3 components.
bool MeshFits(const MeshData& mesh, const u16* indices, u32 indexCount, u32 vertexCount,
              u32 stride) {
    if (vertexCount == 0) {
        return false;
    }
    for (u32 i = 0; i < indexCount; i++) {
        if (indices[i] >= vertexCount) {
            return false;
        }
    }
    for (u32 i = 0; i < mesh.attributeCount; i++) {
        const Attribute& a = mesh.attributes[i];
        if (u64(a.offset) + a.components > stride) {
            return false;
        }
        if (std::strcmp(a.name, "Vertex") == 0 && a.components < 3) {
            return false;
        }
    }
    return true;
}

void FreeArrays(MeshData& mesh) {
    if (mesh.vertices != nullptr) {
        MemoryFree(mesh.vertices);
    }
    if (mesh.indices != nullptr) {
        MemoryFree(mesh.indices);
    }
}

class Reader {
  public:
    Reader(const u8* data, u64 size, Node* parent, bool firstMeshOnly, bool uniqueNames,
           u32 purgeLevel)
        : in(data, size), parent(parent), firstMeshOnly(firstMeshOnly), uniqueNames(uniqueNames),
          purgeLevel(purgeLevel), materials(), materialHeld(), materialCount(0), meshes(), placed(),
          meshCount(0) {}

    bool readHeader();
    void readChunks();
    void finish();

  private:
    void readName(char* out, bool unique);
    void readMaterial();
    void addMaterial(const MaterialData& data);
    void readMesh();
    bool readMeshChunk(MeshData& mesh);
    void readAttributes(MeshData& mesh);
    void readVertices(MeshData& mesh);
    void readIndices(MeshData& mesh);
    TriangleMesh* buildMesh(const MeshData& mesh);
    Material* takeMaterial(const MeshData& mesh);
    bool readNode(Node* into, u32 depth);
    TriangleMesh* placeMesh(u32 number);

    Cursor in;
    Node* parent;
    bool firstMeshOnly;
    bool uniqueNames;
    u32 purgeLevel;
    Material* materials[kMaxTable];
    bool materialHeld[kMaxTable];
    u32 materialCount;
    TriangleMesh* meshes[kMaxTable];
    bool placed[kMaxTable];
    u32 meshCount;
};

bool Reader::readHeader() {
    const u8* magic = in.take(4);
    if (magic == nullptr || std::memcmp(magic, "pwnd", 4) != 0) {
        REPORT(kWrongMagic);
        return false;
    }
    const u8* version = in.take(4);
    if (version == nullptr || Cursor::readU32At(version) != 1) {
        REPORT(kWrongVersion);
        return false;
    }
    in.readU32();
    in.readU32();
    return true;
}

void Reader::readChunks() {
    while (!in.isFailed() && in.left() >= 4) {
        if (in.nextIs("xxxx")) {
            return;
        }
        if (in.nextIs("matl")) {
            in.take(4);
            readMaterial();
        } else if (in.nextIs("mesh")) {
            in.take(4);
            readMesh();
            if (firstMeshOnly && meshCount > 0 && meshes[meshCount - 1] != nullptr) {
                placed[meshCount - 1] = true;
                parent->attachChild(meshes[meshCount - 1]);
                return;
            }
        } else if (in.nextIs("node")) {
            in.take(4);
            readNode(parent, 0);
        } else {
            in.take(4);
        }
    }
}

// Meshes that no record placed are deleted; the counter marks the model read.
void Reader::finish() {
    if (in.needsReport()) {
        REPORT(kCutShort);
    }
    for (u32 i = 0; i < meshCount; i++) {
        if (meshes[i] != nullptr && !placed[i]) {
            SceneGraph::deleteNode(meshes[i]);
        }
    }
    parseCounter++;
}

// Keeps up to 1000 bytes and consumes the rest; a zero byte ends the name.
void Reader::readName(char* out, bool unique) {
    u32 length = in.readU32();
    const u8* bytes = in.take(length);
    out[0] = 0;
    if (bytes == nullptr) {
        return;
    }
    u32 kept = length < kMaxName ? length : kMaxName;
    std::memcpy(out, bytes, kept);
    out[kept] = 0;
    if (unique && out[0] != 0) {
        std::snprintf(out + std::strlen(out), kNameSize - std::strlen(out), "%x",
                      u32(parseCounter));
    }
}

void Reader::readMaterial() {
    MaterialData data = {};
    for (;;) {
        if (in.nextIs("idnt")) {
            in.take(4);
            readName(data.name, uniqueNames);
        } else if (in.nextIs("ambi")) {
            in.take(4);
            data.ambient = in.readVec3();
        } else if (in.nextIs("diff")) {
            in.take(4);
            data.diffuse = in.readVec3();
        } else if (in.nextIs("spec")) {
            in.take(4);
            data.specular = in.readVec3();
        } else if (in.nextIs("shin")) {
            in.take(4);
            data.shininess = in.readF32();
        } else if (in.nextIs("emis")) {
            in.take(4);
            data.emissive = in.readF32();
        } else if (in.nextIs("spcl")) {
            in.take(4);
            data.specularLevel = in.readF32();
        } else {
            break;
        }
    }
    if (!in.isFailed()) {
        addMaterial(data);
    }
}

// The material takes a table entry even when it is skipped, so that the
// numbers of the ones after it stay right.
void Reader::addMaterial(const MaterialData& data) {
    if (materialCount == kMaxTable) {
        REPORT(kTooManyMaterials);
        return;
    }
    u32 number = materialCount++;
    if (data.name[0] == 0) {
        REPORT(kNamelessMaterial);
        return;
    }
    Material* material = SceneGraph::createMaterial(kMaterialPoint, data.name, purgeLevel);
    materials[number] = material;
    materialHeld[number] = true;
    if (material->getType() != kMaterialPoint) {
        return;
    }
    MaterialPhong* phong = dynamic_cast<MaterialPhong*>(material);
    if (phong != nullptr) {
        phong->ambientColor = data.ambient;
        phong->diffuseColor = data.diffuse;
        phong->specularColor = data.specular;
        phong->shininess = data.shininess;
        phong->emissive = data.emissive;
        phong->specularLevel = data.specularLevel;
    }
}

void Reader::readMesh() {
    MeshData* mesh = static_cast<MeshData*>(MemoryAllocateZeroed(1, sizeof(MeshData)));
    while (readMeshChunk(*mesh)) {
    }
    if (!in.isFailed()) {
        if (meshCount == kMaxTable) {
            REPORT(kTooManyMeshes);
        } else {
            u32 number = meshCount++;
            meshes[number] = buildMesh(*mesh);
        }
    }
    FreeArrays(*mesh);
    MemoryFree(mesh);
}

// Reads one sub-chunk; false at a tag that is not the mesh's.
bool Reader::readMeshChunk(MeshData& mesh) {
    if (in.nextIs("idnt")) {
        in.take(4);
        readName(mesh.name, uniqueNames);
    } else if (in.nextIs("mmat")) {
        in.take(4);
        mesh.material = in.readU32();
        mesh.hasMaterial = true;
    } else if (in.nextIs("attr")) {
        in.take(4);
        readAttributes(mesh);
    } else if (in.nextIs("vtxa")) {
        in.take(4);
        readVertices(mesh);
    } else if (in.nextIs("idxa")) {
        in.take(4);
        readIndices(mesh);
    } else {
        return false;
    }
    return !in.isFailed();
}

// Attribute names keep their first byte and lower-case the capitals after
// it ("TEXCOORD" becomes "Texcoord"). Past 16 entries they are consumed only.
void Reader::readAttributes(MeshData& mesh) {
    u32 count = in.readU32();
    if (u64(count) * 12 > in.left()) {
        in.fail();
        return;
    }
    mesh.attributeCount = 0;
    for (u32 i = 0; i < count && !in.isFailed(); i++) {
        Attribute entry;
        readName(entry.name, false);
        for (char* c = entry.name + (entry.name[0] != 0 ? 1 : 0); *c != 0; c++) {
            if (*c >= 'A' && *c <= 'Z') {
                *c = char(*c - 'A' + 'a');
            }
        }
        entry.offset = in.readU32();
        entry.components = in.readU32();
        if (i < kMaxAttributes) {
            mesh.attributes[mesh.attributeCount++] = entry;
        }
    }
}

void Reader::readVertices(MeshData& mesh) {
    u32 count = in.readU32();
    u32 floatsPerVertex = in.readU32();
    u64 floats = u64(count) * floatsPerVertex;
    if (in.isFailed() || floats * 4 > in.left() ||
        u64(count) * (u64(floatsPerVertex) + 3) > kMaxFloats) {
        in.fail();
        return;
    }
    const u8* bytes = in.take(floats * 4);
    if (mesh.vertices != nullptr) {
        MemoryFree(mesh.vertices);
    }
    mesh.vertices = static_cast<f32*>(MemoryAllocateBytes(std::size_t(floats) * 4 + 4));
    for (u64 i = 0; i < floats; i++) {
        u32 bits = Cursor::readU32At(bytes + 4 * i);
        std::memcpy(mesh.vertices + i, &bits, 4);
    }
    mesh.vertexCount = count;
    mesh.floatsPerVertex = floatsPerVertex;
}

// Width 4 keeps the low 16 bits of each index; a mesh of more vertices than
// they reach is refused when it is built.
void Reader::readIndices(MeshData& mesh) {
    u32 count = in.readU32();
    u32 width = in.readU32();
    if (in.isFailed()) {
        return;
    }
    if (width != 2 && width != 4) {
        REPORT(kBadIndexWidth);
        in.fail();
        in.markReported();
        return;
    }
    if (u64(count) * width > in.left() || count > kMaxFloats) {
        in.fail();
        return;
    }
    const u8* bytes = in.take(u64(count) * width);
    if (mesh.indices != nullptr) {
        MemoryFree(mesh.indices);
    }
    mesh.indices = static_cast<u16*>(MemoryAllocateBytes(std::size_t(count) * 2 + 2));
    for (u32 i = 0; i < count; i++) {
        const u8* b = bytes + u64(i) * width;
        mesh.indices[i] = u16(b[0] | b[1] << 8);
    }
    mesh.indexCount = count;
}

// Checks the file's arrays, and again the registered ones, which may come
// from another file under the same names.
TriangleMesh* Reader::buildMesh(const MeshData& mesh) {
    if (mesh.name[0] == 0) {
        REPORT(kNamelessMesh);
        return nullptr;
    }
    if (mesh.vertexCount > kMaxVertices) {
        char text[kNameSize + 128];
        std::snprintf(text, sizeof text,
                      "The .pwn mesh %s was refused: its %u vertices are more than the %u that "
                      "16-bit indices reach",
                      mesh.name, mesh.vertexCount, kMaxVertices);
        REPORT((Result{1, text}));
        return nullptr;
    }
    if (!MeshFits(mesh, mesh.indices, mesh.indexCount, mesh.vertexCount, mesh.floatsPerVertex)) {
        REPORT(kMeshOutOfRange);
        return nullptr;
    }
    IndexArray* indices =
        SceneGraph::createIndexArray(mesh.name, mesh.indices, mesh.indexCount, 0, purgeLevel);
    VertexArray* vertices = SceneGraph::createVertexArray(
        mesh.name, mesh.vertices, mesh.floatsPerVertex, mesh.vertexCount, purgeLevel);
    if (!MeshFits(mesh, indices->getArray(), indices->getCount(), vertices->getCount(),
                  vertices->getFloatsPerVertex())) {
        REPORT(kMeshOutOfRange);
        SceneGraph::dereferenceResource(indices);
        SceneGraph::dereferenceResource(vertices);
        return nullptr;
    }
    for (u32 i = 0; i < mesh.attributeCount; i++) {
        const Attribute& a = mesh.attributes[i];
        vertices->setAttribute(a.offset, a.components, a.name);
    }
    if (vertices->findAttribute("Normal") < 0) {
        vertices->generateNormals(indices);
    }
    TriangleMesh* node =
        SceneGraph::createTriangleMesh(mesh.name, vertices, indices, nullptr, false);
    Material* material = takeMaterial(mesh);
    if (material != nullptr) {
        node->setMaterial(material, false);
    }
    return node;
}

// The reader's own reference goes to the first mesh that uses a material;
// every further one takes a new reference.
Material* Reader::takeMaterial(const MeshData& mesh) {
    if (!mesh.hasMaterial || mesh.material >= materialCount ||
        materials[mesh.material] == nullptr) {
        return nullptr;
    }
    Material* material = materials[mesh.material];
    if (materialHeld[mesh.material]) {
        materialHeld[mesh.material] = false;
        return material;
    }
    material->reference();
    return material;
}

// A record places the mesh it names under "into" (nothing when into is
// null: a refused record's children are consumed only). False when the
// record did not end in "nmsh"; its last tag is then left unread.
bool Reader::readNode(Node* into, u32 depth) {
    if (depth > kMaxNodeDepth) {
        REPORT(kTooDeep);
        in.stop();
        return false;
    }
    bool hasTranslation = false, hasRotation = false, hasScale = false;
    vec3 translation, axis, scale;
    f32 angle = 0;
    for (;;) {
        if (in.nextIs("node")) {
            in.take(4);
        } else if (in.nextIs("rota")) {
            in.take(4);
            axis = in.readVec3();
            angle = in.readF32();
            hasRotation = true;
        } else if (in.nextIs("tran")) {
            in.take(4);
            translation = in.readVec3();
            hasTranslation = true;
        } else if (in.nextIs("scal")) {
            in.take(4);
            scale = in.readVec3();
            hasScale = true;
        } else if (in.nextIs("nmsh")) {
            in.take(4);
            break;
        } else {
            return false;
        }
    }
    u32 number = in.readU32();
    u32 children = in.readU32();
    if (in.isFailed()) {
        return false;
    }
    TriangleMesh* mesh = into != nullptr ? placeMesh(number) : nullptr;
    if (mesh != nullptr) {
        if (hasTranslation) {
            mesh->translate(translation);
        }
        if (hasRotation) {
            mesh->rotate(angle, axis);
        }
        if (hasScale) {
            mesh->scale(scale);
        }
    }
    for (u32 i = 0; i < children && readNode(mesh, depth + 1); i++) {
    }
    if (mesh != nullptr) {
        into->attachChild(mesh);
    }
    return true;
}

TriangleMesh* Reader::placeMesh(u32 number) {
    if (number >= meshCount) {
        REPORT(kUnknownMesh);
        return nullptr;
    }
    if (meshes[number] == nullptr) {
        return nullptr; // skipped or dropped when it was read, with a warning then
    }
    if (placed[number]) {
        REPORT(kPlacedTwice);
        return nullptr;
    }
    placed[number] = true;
    return meshes[number];
}

} // namespace

void PwnParseBytes(Node* parent, const u8* data, u64 size, bool firstMeshOnly, bool uniqueNames,
                   u32 purgeLevel) {
    Reader* reader = new Reader(data, size, parent, firstMeshOnly, uniqueNames, purgeLevel);
    if (reader->readHeader()) {
        reader->readChunks();
        reader->finish();
    }
    delete reader;
}

void PwnParse(Node* parent, const char* file, bool firstMeshOnly, bool uniqueNames,
              u32 purgeLevel) {
    FILE* stream = PathOpen(file, "rb");
    if (stream == nullptr) {
        REPORT(kCannotOpen);
        return;
    }
    long size = -1;
    if (std::fseek(stream, 0, SEEK_END) == 0) {
        size = std::ftell(stream);
        std::rewind(stream);
    }
    if (size < 0 || u64(size) > 0xffffffffu) {
        size = 0;
    }
    u8* data = static_cast<u8*>(MemoryAllocateBytes(std::size_t(size) + 1));
    std::size_t got = std::fread(data, 1, std::size_t(size), stream);
    std::fclose(stream);
    PwnParseBytes(parent, data, got, firstMeshOnly, uniqueNames, purgeLevel);
    MemoryFree(data);
}

u16 PwnGetParseCounter() {
    return parseCounter;
}
