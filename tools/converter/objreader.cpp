#include "tools/converter/objreader.h"

#include "tools/converter/numbers.h"

#include <cmath>
#include <cstring>

namespace {

const char kTooManyAttributes[] = "Too many attributes\n";
const char kPolygons[] = "Polygons are not supported\n";
const char kQuads[] = "Quads are not supported\n";
const char kMixedSlashes[] = "Error reading obj file.\n";
const char kLateLayout[] =
    "Texture coordinates or normals after the first face are not supported\n";
const char kMissingPosition[] = "A face names a vertex position that does not exist\n";
const char kMissingTexCoord[] = "A face names a texture coordinate that does not exist\n";
const char kMissingNormal[] = "A face names a normal that does not exist\n";

const char kMeshName[] = "TriMesh";
const char kMaterialName[] = "DefaultMaterial";

enum class LineMode { None, Position, Normal, TexCoord, Face };

struct LineScan {
    LineMode mode = LineMode::None;
    f32 numbers[3] = {};
    int taken = 0;
    // One more corner than a face may have: the fifth takes the indices that
    // come before its end is refused. Negative indices count back from the
    // last entry read before the face.
    i32 corners[5][3] = {};
    int cornerCount = 0;
    int slot = 0;
    int slashes = 0;
    int firstSlashes = -1;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool fail(ObjReader& r, const char* message) {
    r.error = message;
    return false;
}

i32 pendingLength(const ObjReader& r) {
    return static_cast<i32>(r.pending.size());
}

bool setFlag(ObjReader& r, bool& flag) {
    if (!flag && !r.indices.empty()) {
        return fail(r, kLateLayout);
    }
    flag = true;
    return true;
}

// The line's kind from its first word: "v", "vt", "vn" or "f"; any other
// word (o, g, s, usemtl, l, p, ...) leaves the line without a kind.
bool startLine(ObjReader& r, LineScan& s, const std::string& word) {
    if (word == "v") {
        s.mode = LineMode::Position;
        r.hasPositions = true;
    } else if (word == "vt") {
        s.mode = LineMode::TexCoord;
        return setFlag(r, r.hasTexCoords);
    } else if (word == "vn") {
        s.mode = LineMode::Normal;
        return setFlag(r, r.hasNormals);
    } else if (word == "f") {
        s.mode = LineMode::Face;
    }
    return true;
}

// Whether pending is digits and a point after them, with an optional '-' in
// front: a number such as 2. or -1. that an exponent may follow.
bool endsInWholePoint(const std::string& pending) {
    std::size_t first = !pending.empty() && pending[0] == '-' ? 1 : 0;
    if (pending.size() < first + 2 || pending.back() != '.') {
        return false;
    }
    std::size_t point = pending.size() - 1;
    for (std::size_t i = first; i < point; ++i) {
        if (!isDigit(pending[i])) {
            return false;
        }
    }
    return true;
}

// Digits, '.' and '-' belong to the pending number; an exponent's 'e' or 'E'
// only right after one of its digits or after the point of a number such as
// 2., and the exponent's '+' only right after that 'e'. Every other
// character is skipped.
bool continuesNumber(const std::string& pending, char c) {
    char last = pending.empty() ? '\0' : pending.back();
    if (c == 'e' || c == 'E') {
        return isDigit(last) || endsInWholePoint(pending);
    }
    if (c == '+') {
        return last == 'e' || last == 'E';
    }
    return isDigit(c) || c == '.' || c == '-';
}

bool scanVertexChar(ObjReader& r, LineScan& s, char c) {
    if (isBlank(c)) {
        if (r.pending.empty()) {
            return true;
        }
        if (s.taken == 3) {
            return fail(r, kTooManyAttributes);
        }
        s.numbers[s.taken++] = parseFloat(r.pending.data(), pendingLength(r));
        r.pending.clear();
    } else if (continuesNumber(r.pending, c)) {
        r.pending.push_back(c);
    }
    return true;
}

void fillCorner(LineScan& s, i32 index) {
    for (int i = s.slot; i < 3; ++i) {
        s.corners[s.cornerCount][i] = index;
    }
}

i32 takeIndex(ObjReader& r) {
    i32 value = parseInt(r.pending.data(), pendingLength(r));
    r.pending.clear();
    return value;
}

bool endCorner(ObjReader& r, LineScan& s) {
    if (s.cornerCount == 4) {
        return fail(r, kPolygons);
    }
    fillCorner(s, takeIndex(r));
    if (s.firstSlashes < 0) {
        if (s.slashes > 0) {
            s.firstSlashes = s.slashes;
        }
    } else if (s.slashes != s.firstSlashes) {
        return fail(r, kMixedSlashes);
    }
    s.slot = 0;
    s.slashes = 0;
    ++s.cornerCount;
    return true;
}

bool scanFaceChar(ObjReader& r, LineScan& s, char c) {
    if (isDigit(c) || c == '-') {
        r.pending.push_back(c);
    } else if (c == '/') {
        fillCorner(s, takeIndex(r));
        ++s.slot;
        ++s.slashes;
    } else if (isBlank(c) && !r.pending.empty()) {
        return endCorner(r, s);
    }
    return true;
}

bool scanChar(ObjReader& r, LineScan& s, char c) {
    switch (s.mode) {
    case LineMode::Position:
    case LineMode::Normal:
    case LineMode::TexCoord:
        return scanVertexChar(r, s, c);
    case LineMode::Face:
        return scanFaceChar(r, s, c);
    case LineMode::None:
        break;
    }
    return true;
}

void appendNormal(ObjReader& r, const f32* n) {
    f32 length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (length == 0.0f) {
        r.normals.insert(r.normals.end(), 3, 0.0f);
        return;
    }
    f32 scale = 1.0f / length;
    for (int i = 0; i < 3; ++i) {
        r.normals.push_back(n[i] * scale);
    }
}

// The three floats of table that index names: 1-based from the first entry,
// or, when negative, counted back from the last (-1 the last); null when the
// entry does not exist.
const f32* entry(const std::vector<f32>& table, i32 index) {
    i64 count = static_cast<i64>(table.size() / 3);
    i64 number = index < 0 ? count + index + 1 : index;
    if (number < 1 || number > count) {
        return nullptr;
    }
    return &table[static_cast<std::size_t>(number - 1) * 3];
}

// Appends the entry of table that index names to key; false when there is none.
bool appendEntry(const std::vector<f32>& table, i32 index, f32* key, i32& floats) {
    const f32* from = entry(table, index);
    if (from == nullptr) {
        return false;
    }
    std::memcpy(key + floats, from, 3 * sizeof(f32));
    floats += 3;
    return true;
}

bool emitCorner(ObjReader& r, const i32* slots) {
    f32 key[9];
    i32 floats = 0;
    if (!appendEntry(r.positions, slots[0], key, floats)) {
        return fail(r, kMissingPosition);
    }
    if (r.hasTexCoords && !appendEntry(r.texCoords, slots[1], key, floats)) {
        return fail(r, kMissingTexCoord);
    }
    if (r.hasNormals && !appendEntry(r.normals, slots[2], key, floats)) {
        return fail(r, kMissingNormal);
    }
    r.indices.push_back(vertexTableAdd(r.vertices, key, floats));
    r.floatsPerVertex = floats;
    return true;
}

bool finishLine(ObjReader& r, const LineScan& s) {
    switch (s.mode) {
    case LineMode::Position:
        r.positions.insert(r.positions.end(), s.numbers, s.numbers + 3);
        return true;
    case LineMode::Normal:
        appendNormal(r, s.numbers);
        return true;
    case LineMode::TexCoord:
        r.texCoords.insert(r.texCoords.end(), s.numbers, s.numbers + 3);
        return true;
    case LineMode::Face:
        if (s.cornerCount == 4) {
            return fail(r, kQuads);
        }
        for (int i = 0; s.cornerCount == 3 && i < 3; ++i) {
            if (!emitCorner(r, s.corners[i])) {
                return false;
            }
        }
        return true;
    case LineMode::None:
        break;
    }
    return true;
}

} // namespace

bool parseObjLine(ObjReader& reader, char* line, std::size_t length) {
    line[length] = '\n';
    reader.pending.clear();
    std::size_t i = 0;
    while (i < length && (line[i] == ' ' || line[i] == '\t')) {
        ++i;
    }
    std::size_t wordStart = i;
    while (i < length && !isBlank(line[i]) && line[i] != '#') {
        ++i;
    }
    LineScan scan;
    if (!startLine(reader, scan, std::string(line + wordStart, i - wordStart))) {
        return false;
    }
    if (scan.mode == LineMode::None) {
        return true;
    }
    for (; i <= length && line[i] != '#'; ++i) {
        if (!scanChar(reader, scan, line[i])) {
            return false;
        }
    }
    if (i <= length && !scanChar(reader, scan, '\n')) {
        return false; // a comment ends the last number as a line break does
    }
    return finishLine(reader, scan);
}

bool readObj(ObjReader& reader, const char* text, std::size_t length) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= length; ++i) {
        // The end of the text ends a last line that has no line break.
        bool end = i == length ? start < length : text[i] == '\n' || text[i] == '\r';
        if (!end) {
            continue;
        }
        std::size_t lineLength = i - start;
        reader.line.resize(lineLength + 1);
        std::memcpy(reader.line.data(), text + start, lineLength);
        if (!parseObjLine(reader, reader.line.data(), lineLength)) {
            return false;
        }
        start = i + 1;
    }
    return true;
}

void writeObjModel(const ObjReader& reader, PwnWriter& writer, NodeRecord& root) {
    MaterialRecord material;
    material.name = kMaterialName;
    material.hasAmbient = material.hasDiffuse = material.hasSpecular = true;
    const f32 ambient[3] = {0.0f, 0.1f, 0.2f};
    const f32 diffuse[3] = {0.5f, 0.7f, 0.9f};
    const f32 specular[3] = {0.9f, 1.0f, 1.0f};
    std::memcpy(material.ambient, ambient, sizeof ambient);
    std::memcpy(material.diffuse, diffuse, sizeof diffuse);
    std::memcpy(material.specular, specular, sizeof specular);
    material.hasShininess = material.hasEmissive = material.hasSpecularLevel = true;
    material.shininess = 3.0f;
    material.emissive = 0.25f;
    material.specularLevel = 1.0f;
    writeMaterial(writer, material);

    MeshRecord mesh;
    mesh.name = kMeshName;
    mesh.materialName = kMaterialName;
    mesh.attributes.push_back({"Vertex", 0, 3});
    if (reader.hasTexCoords) {
        mesh.attributes.push_back({"TexCoord", 3, 3});
    }
    if (reader.hasNormals) {
        mesh.attributes.push_back({"Normal", reader.hasTexCoords ? 6u : 3u, 3});
    }
    mesh.indices = reader.indices.data();
    mesh.indexCount = static_cast<u32>(reader.indices.size());
    mesh.triangleCount = mesh.indexCount / 3;
    mesh.vertices = reader.vertices.data.data();
    mesh.vertexCount = vertexTableCount(reader.vertices);
    mesh.floatsPerVertex = static_cast<u32>(reader.floatsPerVertex);
    writeMesh(writer, mesh);

    root.addChild().name = kMeshName;
}
