#include "tools/converter/objreader.h"

#include "tools/converter/numbers.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace {

const char kTooManyAttributes[] = "Too many attributes\n";
const char kPolygons[] = "Polygons are not supported\n";
const char kQuads[] = "Quads are not supported\n";
const char kMixedSlashes[] = "Error reading obj file.\n";
const char kMissingPosition[] = "A face names a vertex position that does not exist\n";
const char kMissingTexCoord[] = "A face names a texture coordinate that does not exist\n";
const char kMissingNormal[] = "A face names a normal that does not exist\n";

const char kMeshName[] = "TriMesh";
const char kMaterialName[] = "DefaultMaterial";

// A vertex while reading: position, texture coordinate, normal.
constexpr i32 kReadFloats = 9;
constexpr i32 kTexCoordAt = 3;
constexpr i32 kNormalAt = 6;

enum class LineMode { None, Position, Normal, TexCoord, Face };

// The indices of a face corner (position, texture coordinate, normal) and
// which of them it names: a, a/b, a/b/c or a//c.
struct Corner {
    i32 index[3] = {};
    bool named[3] = {};
};

struct LineScan {
    LineMode mode = LineMode::None;
    f32 numbers[3] = {};
    int taken = 0;
    // One more corner than a face may have: the fifth takes the indices that
    // come before its end is refused. Negative indices count back from the
    // last entry read before the face.
    Corner corners[5];
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

bool fail(ObjReader& r, const std::string& message) {
    r.error = message;
    return false;
}

// Refuses a face of more than three corners with its message, then a line
// that says where the face stands and how to go on.
bool refuseFace(ObjReader& r, const char* message, const char* corners) {
    return fail(r,
                message + ("The face on line " + std::to_string(r.lineNumber) + " has " + corners +
                           " corners: triangulate the model first (most exporters have an "
                           "option), or with assimp: assimp export in.obj out.obj -tri, "
                           "then Meshwright out.obj out.pwn\n"));
}

i32 pendingLength(const ObjReader& r) {
    return static_cast<i32>(r.pending.size());
}

// The line's kind from its first word: "v", "vt", "vn" or "f"; any other
// word (o, g, s, usemtl, l, p, ...) leaves the line without a kind.
LineMode modeOf(const std::string& word) {
    if (word == "v") {
        return LineMode::Position;
    }
    if (word == "vt") {
        return LineMode::TexCoord;
    }
    if (word == "vn") {
        return LineMode::Normal;
    }
    return word == "f" ? LineMode::Face : LineMode::None;
}

// The text from line[from] to the end of the line or its comment, without
// the blanks around it.
std::string restOfLine(const char* line, std::size_t from, std::size_t length) {
    std::size_t end = from;
    while (end < length && line[end] != '#') {
        ++end;
    }
    while (from < end && isBlank(line[from])) {
        ++from;
    }
    while (end > from && isBlank(line[end - 1])) {
        --end;
    }
    return std::string(line + from, end - from);
}

// "usemtl name" and "o name" give one name each (which may hold blanks),
// "g" a name for every word; a "g" without a name, or named "default", puts
// the faces back into the default group, which has no name of its own.
void countNamesOf(ObjReader& r, const std::string& word, const std::string& rest) {
    if (rest.empty()) {
        return;
    }
    if (word == "usemtl") {
        r.materialNames.insert(rest);
    } else if (word == "o") {
        r.groupNames.insert(rest);
    } else if (word == "g") {
        std::istringstream words(rest);
        for (std::string name; words >> name;) {
            if (name != "default") {
                r.groupNames.insert(name);
            }
        }
    }
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
        if (s.taken >= 3 && s.mode != LineMode::Position) {
            return fail(r, kTooManyAttributes);
        }
        if (s.taken < 3) {
            s.numbers[s.taken] = parseFloat(r.pending.data(), pendingLength(r));
        }
        ++s.taken; // a position's further numbers are counted, not read
        r.pending.clear();
    } else if (continuesNumber(r.pending, c)) {
        r.pending.push_back(c);
    }
    return true;
}

// Ends the corner's index at the current slot; an empty one names nothing.
// The empty middle of a//c is the form of a corner without a texture
// coordinate and passes in silence; any other empty index is reported.
void takeIndex(ObjReader& r, LineScan& s) {
    bool named = !r.pending.empty();
    if (!named && s.slot == 1) {
        return;
    }
    i32 value = parseInt(r.pending.data(), pendingLength(r));
    r.pending.clear();
    if (s.slot < 3) {
        Corner& corner = s.corners[s.cornerCount];
        corner.index[s.slot] = value;
        corner.named[s.slot] = named;
    }
}

bool endCorner(ObjReader& r, LineScan& s) {
    if (s.cornerCount == 4) {
        return refuseFace(r, kPolygons, "more than 4");
    }
    takeIndex(r, s);
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
        takeIndex(r, s);
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

// Copies the entry of table that the corner's slot names into key at; false
// when there is none. A slot the corner does not name leaves the zeros.
bool copyEntry(const std::vector<f32>& table, const Corner& corner, int slot, f32* key) {
    if (!corner.named[slot]) {
        return true;
    }
    const f32* from = entry(table, corner.index[slot]);
    if (from == nullptr) {
        return false;
    }
    std::memcpy(key, from, 3 * sizeof(f32));
    return true;
}

bool emitCorner(ObjReader& r, const Corner& corner) {
    f32 key[kReadFloats] = {};
    if (!copyEntry(r.positions, corner, 0, key)) {
        return fail(r, kMissingPosition);
    }
    if (!copyEntry(r.texCoords, corner, 1, key + kTexCoordAt)) {
        return fail(r, kMissingTexCoord);
    }
    if (!copyEntry(r.normals, corner, 2, key + kNormalAt)) {
        return fail(r, kMissingNormal);
    }
    r.indices.push_back(vertexTableAdd(r.vertices, key, kReadFloats));
    return true;
}

// Counts what the face's corners name: the mesh has an attribute that some
// corner names, and a face some corner of which lacks it gets zeros.
void countNames(ObjReader& r, const Corner* corners) {
    bool texCoords = true;
    bool normals = true;
    for (int i = 0; i < 3; ++i) {
        r.hasTexCoords = r.hasTexCoords || corners[i].named[1];
        r.hasNormals = r.hasNormals || corners[i].named[2];
        texCoords = texCoords && corners[i].named[1];
        normals = normals && corners[i].named[2];
    }
    r.facesWithoutTexCoords += texCoords ? 0 : 1;
    r.facesWithoutNormals += normals ? 0 : 1;
    ++r.faces;
}

bool emitFace(ObjReader& r, const LineScan& s) {
    if (s.cornerCount == 4) {
        return refuseFace(r, kQuads, "4");
    }
    if (s.cornerCount != 3) {
        return true;
    }
    for (int i = 0; i < 3; ++i) {
        if (!emitCorner(r, s.corners[i])) {
            return false;
        }
    }
    countNames(r, s.corners);
    return true;
}

// A "v" line may hold more than a position: x y z w, or x y z r g b.
void countLongPosition(ObjReader& r, int numbers) {
    if (r.longPositions++ == 0) {
        r.firstLongPosition = r.lineNumber;
        r.firstLongPositionNumbers = numbers;
    }
}

bool finishLine(ObjReader& r, const LineScan& s) {
    switch (s.mode) {
    case LineMode::Position:
        r.positions.insert(r.positions.end(), s.numbers, s.numbers + 3);
        if (s.taken > 3) {
            countLongPosition(r, s.taken);
        }
        return true;
    case LineMode::Normal:
        appendNormal(r, s.numbers);
        return true;
    case LineMode::TexCoord:
        r.texCoords.insert(r.texCoords.end(), s.numbers, s.numbers + 3);
        return true;
    case LineMode::Face:
        return emitFace(r, s);
    case LineMode::None:
        break;
    }
    return true;
}

// Where the line after the one that ends at end starts: a "\r\n" pair is
// one line break.
std::size_t nextLine(const char* text, std::size_t length, std::size_t end) {
    bool pair = end + 1 < length && text[end] == '\r' && text[end + 1] == '\n';
    return end + (pair ? 2 : 1);
}

// Whether line goes on in the next: its last character other than a blank
// is a '\' outside a comment, which then becomes a blank.
bool continueLine(std::vector<char>& line) {
    std::size_t last = line.size();
    while (last > 0 && (line[last - 1] == ' ' || line[last - 1] == '\t')) {
        --last;
    }
    if (last == 0 || line[last - 1] != '\\' || std::memchr(line.data(), '#', last) != nullptr) {
        return false;
    }
    line[last - 1] = ' ';
    return true;
}

// The vertices hold only the attributes that some corner names, in place.
void narrowVertices(ObjReader& r) {
    r.vertexCount = vertexTableCount(r.vertices);
    r.vertexData = std::move(r.vertices.data);
    vertexTableClear(r.vertices);
    const i32 from[] = {0, r.hasTexCoords ? kTexCoordAt : -1, r.hasNormals ? kNormalAt : -1};
    std::size_t to = 0;
    for (std::size_t v = 0; v < r.vertexCount; ++v) {
        for (i32 at : from) {
            for (i32 i = 0; at >= 0 && i < 3; ++i) {
                r.vertexData[to++] =
                    r.vertexData[v * kReadFloats + static_cast<std::size_t>(at + i)];
            }
        }
    }
    r.vertexData.resize(to);
    r.vertexData.shrink_to_fit();
    r.floatsPerVertex = r.vertexCount == 0 ? 0 : static_cast<i32>(to / r.vertexCount);
}

// What the "v" line of n numbers holds beside its position.
std::string besidePosition(int n) {
    if (n == 4) {
        return "a weight (x y z w)";
    }
    return n == 6 ? "vertex colours (x y z r g b)" : std::to_string(n) + " numbers";
}

// Faces that name no texture coordinate or no normal, where others do.
void warnOfZeros(const ObjReader& r, std::size_t noTexCoords, std::size_t noNormals) {
    std::printf("Warning: %zu of %zu faces name no ", noTexCoords > 0 ? noTexCoords : noNormals,
                r.faces);
    if (noTexCoords > 0 && noNormals > 0) {
        std::printf("texture coordinate and %zu no normal", noNormals);
    } else {
        std::fputs(noTexCoords > 0 ? "texture coordinate" : "normal", stdout);
    }
    std::fputs(", which other faces name; zeros were written in its place\n", stdout);
}

std::string counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The mesh keeps no material, object or group of the file.
void warnOfNames(const ObjReader& r) {
    std::size_t materials = r.materialNames.size();
    std::size_t groups = r.groupNames.size();
    if (materials == 0 && groups == 0) {
        return;
    }
    std::string named;
    if (materials > 0) {
        named = counted(materials, "material", "materials") + " (usemtl)";
    }
    if (groups > 0) {
        named += (materials > 0 ? " and " : "") +
                 counted(groups, "object or group", "objects or groups") + " (o, g)";
    }
    bool one = materials + groups == 1;
    std::printf("Warning: %s that the file names %s left out: all faces were written as one "
                "mesh \"%s\" with the material \"%s\"\n",
                named.c_str(), one ? "was" : "were", kMeshName, kMaterialName);
}

void warnOfWhatWasLeft(const ObjReader& r) {
    if (r.longPositions > 0) {
        std::printf("Warning: %zu \"v\" lines hold more than a position, the first (line %zu) "
                    "holds %s; only x y z were read\n",
                    r.longPositions, r.firstLongPosition,
                    besidePosition(r.firstLongPositionNumbers).c_str());
    }
    std::size_t noTexCoords = r.hasTexCoords ? r.facesWithoutTexCoords : 0;
    std::size_t noNormals = r.hasNormals ? r.facesWithoutNormals : 0;
    if (noTexCoords > 0 || noNormals > 0) {
        warnOfZeros(r, noTexCoords, noNormals);
    }
    warnOfNames(r);
}

bool parseLine(ObjReader& r) {
    std::size_t length = r.line.size();
    r.line.push_back('\n');
    bool read = parseObjLine(r, r.line.data(), length);
    r.line.clear();
    return read;
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
    std::string word(line + wordStart, i - wordStart);
    LineScan scan;
    scan.mode = modeOf(word);
    if (scan.mode == LineMode::None) {
        countNamesOf(reader, word, restOfLine(line, i, length));
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
    reader.line.clear();
    reader.lineNumber = 1;
    std::size_t lineNumber = 1;
    std::size_t start = 0;
    while (start < length) {
        std::size_t end = start;
        while (end < length && text[end] != '\n' && text[end] != '\r') {
            ++end;
        }
        reader.line.insert(reader.line.end(), text + start, text + end);
        start = nextLine(text, length, end);
        ++lineNumber;
        if (start < length && continueLine(reader.line)) {
            continue;
        }
        if (!parseLine(reader)) {
            return false;
        }
        reader.lineNumber = lineNumber;
    }
    narrowVertices(reader);
    warnOfWhatWasLeft(reader);
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
    mesh.vertices = reader.vertexData.data();
    mesh.vertexCount = reader.vertexCount;
    mesh.floatsPerVertex = static_cast<u32>(reader.floatsPerVertex);
    writeMesh(writer, mesh);

    root.addChild().name = kMeshName;
}
