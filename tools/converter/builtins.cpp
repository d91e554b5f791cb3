#include "tools/converter/builtins.h"

#include "tools/converter/binding.h"
#include "tools/converter/numbers.h"
#include "tools/converter/trace.h"
#include "tools/converter/transform.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string_view>

namespace {

const char kNoIndexArray[] = "Couldn't find index array for mesh\n";
const char kNoTriangleCount[] = "The triangles have no triangle count\n";
const char kNegativeTriangleCount[] = "The triangles' count is below 0\n";
const char kBadInput[] = "An input has no semantic or source\n";
const char kNoInputs[] = "The triangles have no usable inputs\n";
const char kNoSource[] = "No source for array\n";
const char kBadAccessor[] = "A source has no accessor with stride and count\n";
const char kBadAccessorOffset[] = "An accessor's offset is below 0\n";
const char kNoArray[] = "Array not found\n";
const char kShortArray[] = "An array holds fewer numbers than its accessor counts\n";
const char kShortArrayPastOffset[] =
    "An array holds fewer numbers than its accessor counts from its offset on\n";
const char kIndexPerInput[] = "The index list does not match the inputs\n";
const char kIndexRange[] = "An index lies outside its source\n";
const char kBadOffset[] = "An input's offset is not a whole number of 0 or more\n";
const char kOffsetPastList[] = "An input's offset lies past the end of the index list\n";
const char kBadNodes[] = "Error parsing nodes\n";
const char kBadMaterial[] = "Error writing material\n";

constexpr f32 kDegreesToRadians = 3.14159265358979f / 180.0f;

const char* const kSemantics[] = {"BINORMAL", "COLOR",  "NORMAL", "TANGENT",
                                  "TEXCOORD", "VERTEX", "WEIGHT"};

i32 toInt(std::string_view value) {
    return parseInt(value.data(), static_cast<i32>(value.size()));
}

bool refuse(RuleEngine& e, const std::string& message) {
    ruleFailure(e, message);
    return false;
}

bool knownSemantic(const std::string& semantic) {
    for (const char* s : kSemantics) {
        if (semantic == s) {
            return true;
        }
    }
    return false;
}

// One input of a triangles element, or of the <vertices> its VERTEX input
// names, resolved to its numbers.
struct MeshInput {
    std::string semantic; // the attribute it gives: a <vertices>' POSITION gives "VERTEX"
    bool used = false;
    std::size_t slot = 0;   // the <input> of the triangles whose index it takes
    std::size_t offset = 0; // of that index within a corner
    i32 stride = 0;
    i32 count = 0;
    std::vector<f32> numbers;
};

// The child of the mesh record of a tag whose id the reference ("#id") names.
const TagRecord* namedChild(const RuleEngine& e, const TagRecord& mesh, const char* tag,
                            const std::string& reference) {
    return childWithId(e, tag, reference.empty() ? reference : reference.substr(1), &mesh);
}

// The count x stride numbers of the source's array that its accessor reads,
// from the accessor's offset on.
bool readSource(RuleEngine& e, const TagRecord& source, MeshInput& input) {
    const TagRecord* accessor = childTag("accessor", &source, 0);
    const GatheredAttribute* stride = accessor ? childAttribute("stride", accessor) : nullptr;
    const GatheredAttribute* count = accessor ? childAttribute("count", accessor) : nullptr;
    if (stride == nullptr || count == nullptr || stride->value.empty() || count->value.empty()) {
        return refuse(e, kBadAccessor);
    }
    const GatheredAttribute* offset = childAttribute("offset", accessor);
    i32 first = offset != nullptr && !offset->value.empty() ? toInt(offset->value) : 0;
    input.stride = toInt(stride->value);
    input.count = toInt(count->value);
    if (input.stride <= 0 || input.count < 0) {
        return refuse(e, kBadAccessor);
    }
    if (first < 0) {
        return refuse(e, kBadAccessorOffset);
    }
    const TagRecord* array = childTag("float_array", &source, 0);
    const GatheredElements* numbers = array ? childElements("numbers", array) : nullptr;
    if (numbers == nullptr) {
        return refuse(e, kNoArray);
    }
    u64 needed = static_cast<u64>(input.stride) * static_cast<u64>(input.count);
    if (numbers->size() < static_cast<u64>(first) + needed) {
        return refuse(e, first == 0 ? kShortArray : kShortArrayPastOffset);
    }
    input.numbers.resize(needed);
    elementsToFloats(*numbers, input.numbers.data(), needed, static_cast<std::size_t>(first));
    return true;
}

// An input whose semantic an earlier input of the triangles has: the mesh
// keeps one attribute of each name, so only the first can ever be bound.
bool repeatsSemantic(const std::vector<MeshInput>& earlier, const std::string& semantic) {
    return std::any_of(earlier.begin(), earlier.end(), [&](const MeshInput& input) {
        return input.used && input.semantic == semantic;
    });
}

// The semantic and source attributes of an input record.
bool inputAttributes(RuleEngine& e, const TagRecord& record, std::string& semantic,
                     std::string& source) {
    const GatheredAttribute* s = childAttribute("semantic", &record);
    const GatheredAttribute* from = childAttribute("source", &record);
    if (s == nullptr || from == nullptr || s->value.empty() || from->value.empty()) {
        return refuse(e, kBadInput);
    }
    semantic = s->value;
    source = from->value;
    return true;
}

// Appends the input, reading the source of the mesh record that reference
// names when the input is known and the first of its semantic; name is the
// mesh's, for warnings.
bool addInput(RuleEngine& e, const std::string& name, const TagRecord& mesh, bool known,
              MeshInput input, const std::string& reference, std::vector<MeshInput>& inputs) {
    if (!known) {
        tracePrint("Unrecognized semantic: %s\n", input.semantic.c_str());
    } else if (repeatsSemantic(inputs, input.semantic)) {
        std::printf("Warning: mesh %s: a further %s input was left out (only the first input "
                    "of a semantic is kept)\n",
                    name.c_str(), input.semantic.c_str());
    } else {
        const TagRecord* source = namedChild(e, mesh, "source", reference);
        if (source == nullptr) {
            return refuse(e, kNoSource);
        }
        input.used = true;
        if (!readSource(e, *source, input)) {
            return false;
        }
    }
    inputs.push_back(std::move(input));
    return true;
}

// The <vertices> a VERTEX input names; a mesh holds one, which a reference
// to no id of the mesh's stands for, with a warning.
const TagRecord* verticesOf(const RuleEngine& e, const TagRecord& mesh, const std::string& name,
                            const std::string& reference) {
    const TagRecord* vertices = namedChild(e, mesh, "vertices", reference);
    if (vertices != nullptr) {
        return vertices;
    }
    vertices = firstChild(e, "vertices", &mesh);
    if (vertices != nullptr) {
        std::printf("Warning: mesh %s: the VERTEX input's source %s names no <vertices>; the "
                    "mesh's <vertices> was read\n",
                    name.c_str(), reference.c_str());
    }
    return vertices;
}

// Every input of the <vertices> that a VERTEX input at slot names, each
// taking that input's index; its POSITION is the position.
bool addVertices(RuleEngine& e, const std::string& name, const TagRecord& mesh, std::size_t slot,
                 const std::string& reference, std::vector<MeshInput>& inputs) {
    const TagRecord* vertices = verticesOf(e, mesh, name, reference);
    if (vertices == nullptr) {
        return refuse(e, kNoSource);
    }
    bool position = false;
    for (const TagRecord* record : childTags("input", vertices)) {
        MeshInput input;
        input.slot = slot;
        std::string source;
        if (!inputAttributes(e, *record, input.semantic, source)) {
            return false;
        }
        bool known = input.semantic != "VERTEX" && knownSemantic(input.semantic);
        if (input.semantic == "POSITION") {
            input.semantic = "VERTEX";
            known = position = true;
        }
        if (!addInput(e, name, mesh, known, std::move(input), source, inputs)) {
            return false;
        }
    }
    if (!position) {
        return refuse(e, "The <vertices> of mesh " + name + " has no POSITION input\n");
    }
    return true;
}

// One input of the triangles record at slot, after the earlier ones; name is
// the mesh's, for warnings.
bool readInput(RuleEngine& e, const std::string& name, const TagRecord& record, std::size_t slot,
               std::vector<MeshInput>& inputs) {
    MeshInput input;
    input.slot = slot;
    std::string source;
    if (!inputAttributes(e, record, input.semantic, source)) {
        return false;
    }
    const TagRecord& mesh = *record.parent->parent; // input, triangles, mesh
    if (input.semantic == "VERTEX" && !repeatsSemantic(inputs, "VERTEX")) {
        return addVertices(e, name, mesh, slot, source, inputs);
    }
    bool known = knownSemantic(input.semantic);
    return addInput(e, name, mesh, known, std::move(input), source, inputs);
}

// How many indices a corner holds: one more than the largest offset.
std::size_t indicesPerCorner(const std::vector<MeshInput>& inputs) {
    std::size_t largest = 0;
    for (const MeshInput& input : inputs) {
        largest = std::max(largest, input.offset);
    }
    return largest + 1;
}

// The offset attribute of an input: false for anything but digits.
bool readOffset(const std::string& text, std::size_t& offset) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    constexpr std::size_t kLargest = std::size_t(1) << 40; // past any index list
    offset = 0;
    for (char c : text) {
        offset = std::min(offset * 10 + static_cast<std::size_t>(c - '0'), kLargest);
    }
    return true;
}

// Each input takes the index at the offset of its <input> of the triangles
// within a corner. A document whose inputs carry no offsets is read as the
// inputs stand, one index each.
bool readOffsets(RuleEngine& e, const std::string& mesh, const TagRecord& triangles,
                 std::vector<MeshInput>& inputs) {
    std::vector<std::size_t> offsets;
    bool missing = false;
    for (const TagRecord* record : childTags("input", &triangles)) {
        const GatheredAttribute* offset = childAttribute("offset", record);
        offsets.push_back(offsets.size());
        if (offset == nullptr || offset->value.empty()) {
            missing = true;
        } else if (!readOffset(offset->value, offsets.back())) {
            return refuse(e, kBadOffset);
        }
    }
    if (missing) {
        std::printf("Warning: mesh %s: an input has no offset, so each input takes one index of "
                    "a corner in turn\n",
                    mesh.c_str());
    }
    for (MeshInput& input : inputs) {
        input.offset = missing ? input.slot : offsets[input.slot];
    }
    return true;
}

// The corner indices of every whole triangle of the list, perCorner a
// corner, checked against the inputs used. A list of more or fewer
// triangles than the count says is taken as it stands, with a warning.
bool readIndices(RuleEngine& e, const std::string& mesh, const GatheredElements& list,
                 i32 triangles, std::size_t perCorner, const std::vector<MeshInput>& inputs,
                 std::vector<i32>& out) {
    std::size_t length = list.size();
    if (triangles == 0 || length % static_cast<u32>(triangles) != 0) {
        tracePrint("The number of indices doesn't match the triangle count (tris: %d, indices: "
                   "%d)\n",
                   triangles, static_cast<i32>(length));
    }
    if (length != 0 && perCorner > length) {
        return refuse(e, kOffsetPastList);
    }
    if (length % perCorner != 0) {
        return refuse(e, kIndexPerInput);
    }
    std::size_t corners = length / perCorner;
    if (corners / 3 != static_cast<std::size_t>(triangles)) {
        std::printf("Warning: mesh %s: the index list holds %zu triangles, the count says %d\n",
                    mesh.c_str(), corners / 3, triangles);
    }
    if (corners % 3 != 0) {
        std::printf("Warning: mesh %s: the index list ends inside a triangle, whose corners were "
                    "left out\n",
                    mesh.c_str());
    }
    out.resize(corners / 3 * 3 * perCorner);
    elementsToInts(list, out.data(), out.size());
    for (std::size_t corner = 0; corner < out.size(); corner += perCorner) {
        for (const MeshInput& input : inputs) {
            i32 index = out[corner + input.offset];
            if (input.used && (index < 0 || index >= input.count)) {
                return refuse(e, kIndexRange);
            }
        }
    }
    return true;
}

void buildMesh(RuleEngine& e, MeshRecord mesh, std::size_t perCorner,
               const std::vector<MeshInput>& inputs, const std::vector<i32>& indices) {
    u32 floats = 0;
    for (const MeshInput& input : inputs) {
        if (input.used) {
            mesh.attributes.push_back({input.semantic, floats, static_cast<u32>(input.stride)});
            floats += static_cast<u32>(input.stride);
        }
    }
    tracePrint("Stride: %d\n", static_cast<i32>(floats));
    std::vector<f32> key(floats);
    std::vector<u32> table;
    table.reserve(indices.size() / perCorner);
    for (std::size_t corner = 0; corner < indices.size(); corner += perCorner) {
        u32 at = 0;
        for (const MeshInput& input : inputs) {
            if (!input.used) {
                continue;
            }
            std::size_t index = static_cast<std::size_t>(indices[corner + input.offset]);
            const f32* from = &input.numbers[index * static_cast<u32>(input.stride)];
            std::memcpy(&key[at], from, static_cast<std::size_t>(input.stride) * sizeof(f32));
            at += static_cast<u32>(input.stride);
        }
        table.push_back(vertexTableAdd(e.vertices, key.data(), static_cast<i32>(floats)));
    }
    tracePrint("# indices: %d\n", static_cast<i32>(table.size()));
    tracePrint("# entries: %d\n", static_cast<i32>(vertexTableCount(e.vertices)));
    mesh.indices = table.data();
    mesh.indexCount = static_cast<u32>(table.size());
    mesh.vertices = e.vertices.data.data();
    mesh.vertexCount = vertexTableCount(e.vertices);
    mesh.floatsPerVertex = floats;
    writeMesh(*e.writer, mesh);
    vertexTableClear(e.vertices);
}

// A mesh is named by its geometry's own name; by the geometry's id when the
// geometry has no name, or when an earlier mesh took the name and not the id;
// with neither, by a name that no mesh has.
std::string meshName(const PwnWriter& writer, const std::string& name, const std::string& id) {
    bool useId =
        !id.empty() &&
        (name.empty() || (writer.meshIndex.count(name) != 0 && writer.meshIndex.count(id) == 0));
    if (useId) {
        return id;
    }
    if (!name.empty()) {
        return name;
    }
    for (u32 k = 1;; ++k) {
        std::string free = "geometry" + std::to_string(k);
        if (writer.meshIndex.count(free) == 0) {
            return free;
        }
    }
}

// The last non-empty attribute gathered under the given last component from
// the opening tag of the element its rule ran over (not from an element
// inside it).
std::optional<std::string> lastOwn(const RuleEngine& e, const char* component) {
    std::optional<std::string> value;
    for (const auto& a : e.store.attributes) {
        if (a->inOpeningTag && lastComponent(a->id) == component && !a->value.empty()) {
            value = a->value;
        }
    }
    return value;
}

std::vector<TagRecord*> gatheredTags(const RuleEngine& e, const char* path) {
    std::vector<TagRecord*> found;
    std::size_t from = 0;
    while (TagRecord* record = findGatheredTag(e, path, from, &from)) {
        found.push_back(record);
        ++from;
    }
    return found;
}

// The faces other than <triangles> that the rules gather, by tag name (older
// rule programs gather <polylist> and <polygons> together as "poly").
struct OtherFaces {
    const char* tag;
    const char* shown;
};
const OtherFaces kOtherFaces[] = {
    {"polylist", "<polylist>"},   {"polygons", "<polygons>"}, {"poly", "<polylist> or <polygons>"},
    {"tristrips", "<tristrips>"}, {"trifans", "<trifans>"},   {"lines", "<lines>"},
};

// How many elements of faces other than <triangles> the rules gathered.
std::size_t otherFaceCount(const RuleEngine& e) {
    std::size_t count = 0;
    for (const OtherFaces& faces : kOtherFaces) {
        count += gatheredTags(e, faces.tag).size();
    }
    return count;
}

// Polygons, strips, fans and lines beside a mesh's triangles are not read.
void warnOfOtherPrimitives(const RuleEngine& e, const std::string& mesh) {
    std::size_t skipped = otherFaceCount(e);
    if (skipped > 0) {
        std::printf("Warning: mesh %s: %zu elements other than <triangles> were not converted\n",
                    mesh.c_str(), skipped);
    }
}

// Stops the run for a geometry without an index list of triangles, saying
// what the geometry holds instead.
bool refuseWithoutIndices(RuleEngine& e, const std::string& geometry, bool hasTriangles) {
    std::string held;
    for (const OtherFaces& faces : kOtherFaces) {
        if (!gatheredTags(e, faces.tag).empty()) {
            held += (held.empty() ? "" : ", ") + std::string(faces.shown);
        }
    }
    std::string why;
    if (!held.empty()) {
        why = "The geometry " + geometry + " holds " + held +
              " in place of <triangles>: triangulate the model first (most exporters have an "
              "option), or go through OBJ: assimp export in.dae out.obj -tri, then Meshwright "
              "out.obj out.pwn (one mesh with a default material: the materials, names and "
              "nodes are lost)\n";
    } else if (hasTriangles) {
        why = "The geometry " + geometry + " has a <triangles> without a <p>\n";
    } else {
        why = "The geometry " + geometry + " holds no <triangles>\n";
    }
    return refuse(e, kNoIndexArray + why);
}

// True, with a warning that says what it holds, for a <triangles> without
// an index: an empty <p>, or none and a count of 0 or none.
bool holdsNoTriangles(const TagRecord& triangles, const std::string& geometry) {
    const GatheredAttribute* count = childAttribute("count", &triangles);
    const TagRecord* p = childTag("p", &triangles, 0);
    const GatheredElements* list = p != nullptr ? childElements("index_array", p) : nullptr;
    bool counted = count != nullptr && !count->value.empty();
    if (list != nullptr ? list->size() != 0 : counted && toInt(count->value) != 0) {
        return false;
    }
    std::string held = counted ? "count " + count->value : std::string("no count");
    held += list != nullptr ? " and an empty <p>" : " and no <p>";
    std::printf("Warning: mesh %s: a <triangles> holds no triangles (%s); it was left out\n",
                geometry.c_str(), held.c_str());
    return true;
}

// One <triangles> element of a mesh: its count, material, inputs and index
// list, written as one mesh under mesh's name.
bool assemblePart(RuleEngine& e, const TagRecord& triangles, const std::string& geometry,
                  MeshRecord mesh) {
    const GatheredAttribute* material = childAttribute("material", &triangles);
    mesh.materialName = material != nullptr ? material->value : std::string();
    const GatheredAttribute* count = childAttribute("count", &triangles);
    const TagRecord* p = childTag("p", &triangles, 0);
    const GatheredElements* list = p != nullptr ? childElements("index_array", p) : nullptr;
    if (list == nullptr) {
        return refuseWithoutIndices(e, geometry, true);
    }
    if (count == nullptr || count->value.empty()) {
        return refuse(e, kNoTriangleCount);
    }
    i32 triangleCount = toInt(count->value);
    if (triangleCount < 0) {
        return refuse(e, kNegativeTriangleCount);
    }
    std::vector<MeshInput> inputs;
    std::size_t slot = 0;
    for (const TagRecord* input : childTags("input", &triangles)) {
        if (!readInput(e, mesh.name, *input, slot++, inputs)) {
            return false;
        }
    }
    auto used = [](const MeshInput& input) { return input.used; };
    if (std::none_of(inputs.begin(), inputs.end(), used)) {
        return refuse(e, kNoInputs);
    }
    if (!readOffsets(e, mesh.name, triangles, inputs)) {
        return false;
    }
    // A corner holds an index for every input; only the used ones make the
    // vertex, so the corners are walked over those alone.
    std::size_t perCorner = indicesPerCorner(inputs);
    inputs.erase(std::remove_if(inputs.begin(), inputs.end(), std::not_fn(used)), inputs.end());
    std::vector<i32> indices;
    if (!readIndices(e, mesh.name, *list, triangleCount, perCorner, inputs, indices)) {
        return false;
    }
    mesh.triangleCount = static_cast<u32>(triangleCount);
    buildMesh(e, mesh, perCorner, inputs, indices);
    return true;
}

// A transform element of a node: COLLADA composes them in document order.
struct TransformPiece {
    enum Kind { Translate, Rotate, Scale, Matrix } kind;
    f32 values[16] = {};
};

struct TransformKind {
    const char* name;
    TransformPiece::Kind kind;
    std::size_t values;
};

const TransformKind kTransformKinds[] = {
    {"translate", TransformPiece::Translate, 3},
    {"rotate", TransformPiece::Rotate, 4},
    {"scale", TransformPiece::Scale, 3},
    {"matrix", TransformPiece::Matrix, 16},
};

// A translate, rotate or scale that changes nothing (a matrix always counts,
// as it is always taken apart).
bool isIdentity(const TransformPiece& p) {
    const f32* v = p.values;
    switch (p.kind) {
    case TransformPiece::Translate:
        return v[0] == 0 && v[1] == 0 && v[2] == 0;
    case TransformPiece::Rotate:
        return v[3] == 0;
    case TransformPiece::Scale:
        return v[0] == 1 && v[1] == 1 && v[2] == 1;
    case TransformPiece::Matrix:
        break;
    }
    return false;
}

// The transform elements gathered for the node, in document order.
std::vector<TransformPiece> transformPieces(const RuleEngine& e, const std::string& node) {
    std::vector<std::pair<i32, TransformPiece>> found;
    for (const auto& list : e.store.lists) {
        std::string last = lastComponent(list->id);
        for (const TransformKind& k : kTransformKinds) {
            if (last != k.name) {
                continue;
            }
            if (list->size() != k.values) {
                std::printf("Warning: node %s: a <%s> holds %zu numbers, not %zu\n", node.c_str(),
                            k.name, list->size(), k.values);
            }
            TransformPiece piece{k.kind};
            elementsToFloats(*list, piece.values, k.values);
            found.emplace_back(list->start, piece);
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TransformPiece> pieces;
    for (const auto& f : found) {
        pieces.push_back(f.second);
    }
    return pieces;
}

// True when the pieces, leaving out those that change nothing, are at most
// one translate, one rotate and one scale, in that order: the record's own
// T · R · S.
bool recordForm(const std::vector<TransformPiece>& pieces) {
    int last = -1;
    for (const TransformPiece& p : pieces) {
        if (isIdentity(p)) {
            continue;
        }
        if (p.kind == TransformPiece::Matrix || p.kind <= last) {
            return false;
        }
        last = p.kind;
    }
    return true;
}

// The piece of the kind that changes something, else the first of the kind.
const TransformPiece* pieceOf(const std::vector<TransformPiece>& pieces,
                              TransformPiece::Kind kind) {
    const TransformPiece* first = nullptr;
    for (const TransformPiece& p : pieces) {
        if (p.kind == kind && !isIdentity(p)) {
            return &p;
        }
        if (p.kind == kind && first == nullptr) {
            first = &p;
        }
    }
    return first;
}

Matrix4 pieceMatrix(const TransformPiece& p) {
    switch (p.kind) {
    case TransformPiece::Translate:
        return translateMatrix(p.values);
    case TransformPiece::Rotate:
        return rotateMatrix(p.values);
    case TransformPiece::Scale:
        return scaleMatrix(p.values);
    case TransformPiece::Matrix:
        break;
    }
    return rowsMatrix(p.values);
}

// The node's transform: its elements as they stand when they are the
// record's T · R · S, else composed and taken apart.
void composeTransform(const RuleEngine& e, NodeRecord& node) {
    std::vector<TransformPiece> pieces = transformPieces(e, node.label());
    if (pieces.empty()) {
        return;
    }
    if (!recordForm(pieces)) {
        Matrix4 m = pieceMatrix(pieces[0]);
        for (std::size_t i = 1; i < pieces.size(); ++i) {
            m = multiply(m, pieceMatrix(pieces[i]));
        }
        node.sheared = !setRecordTransform(node, m);
        return;
    }
    if (const TransformPiece* t = pieceOf(pieces, TransformPiece::Translate)) {
        std::copy(t->values, t->values + 3, node.translation);
        node.hasTranslation = true;
    }
    if (const TransformPiece* r = pieceOf(pieces, TransformPiece::Rotate)) {
        std::copy(r->values, r->values + 4, node.rotation);
        node.rotation[3] *= kDegreesToRadians;
        node.hasRotation = true;
    }
    if (const TransformPiece* s = pieceOf(pieces, TransformPiece::Scale)) {
        std::copy(s->values, s->values + 3, node.scale);
        node.hasScale = true;
    }
}

void takeTransform(const RuleEngine& e, NodeRecord& node) {
    composeTransform(e, node);
    warnIfFlat(node, node.label());
}

} // namespace

std::string ownAttribute(const RuleEngine& e, const char* path) {
    const GatheredAttribute* a = findGatheredAttribute(e, path);
    return a != nullptr && a->inOpeningTag ? a->value : std::string();
}

void finishCall(RuleEngine& e) {
    clearGathered(e);
    vertexTableClear(e.vertices);
}

void materialGather(RuleEngine& e) {
    std::fputs("Fetching material\n", stdout);
    MaterialRecord m;
    std::optional<std::string> id = lastOwn(e, "id");
    m.name = lastOwn(e, "name");
    if (!m.name) {
        m.name = id;
    }
    struct Target {
        const char* name;
        bool* present;
        f32* values;
        std::size_t count;
    };
    const Target targets[] = {
        {"material_amb", &m.hasAmbient, m.ambient, 3},
        {"material_dif", &m.hasDiffuse, m.diffuse, 3},
        {"material_spc", &m.hasSpecular, m.specular, 3},
        {"material_shi", &m.hasShininess, &m.shininess, 1},
        {"material_emi", &m.hasEmissive, &m.emissive, 1},
        {"material_spl", &m.hasSpecularLevel, &m.specularLevel, 1},
    };
    for (const auto& list : e.store.lists) {
        std::string last = lastComponent(list->id);
        for (const Target& t : targets) {
            if (last == t.name) {
                elementsToFloats(*list, t.values, t.count);
                *t.present = true;
            }
        }
    }
    takeDiffuseTexture(e, m);
    u32 number = static_cast<u32>(e.writer->materialNames.size());
    if (!writeMaterial(*e.writer, m)) {
        ruleFailure(e, kBadMaterial);
        return;
    }
    if (id) {
        e.links.effectMaterials.emplace(*id, number);
    }
    finishCall(e);
}

void meshAssemble(RuleEngine& e) {
    std::fputs("Assembling mesh\n", stdout);
    MeshRecord mesh;
    mesh.geometryId = ownAttribute(e, "geometry/id");
    mesh.name = meshName(*e.writer, ownAttribute(e, "geometry/name"), mesh.geometryId);
    std::vector<TagRecord*> parts = gatheredTags(e, "triangles");
    if (parts.empty()) {
        if (findGatheredElements(e, "triangles/p/index_array") == nullptr) {
            refuseWithoutIndices(e, mesh.name, false);
        }
        return;
    }
    std::string name0 = mesh.name;
    std::size_t written = 0;
    for (const TagRecord* part : parts) {
        if (holdsNoTriangles(*part, name0)) {
            continue;
        }
        if (written > 0) {
            mesh.name = name0 + "." + std::to_string(written + 1);
            mesh.geometryId.clear();
            mesh.furtherPart = true;
        }
        if (!assemblePart(e, *part, name0, mesh)) {
            return;
        }
        ++written;
    }
    if (written == 0 && otherFaceCount(e) > 0) {
        refuseWithoutIndices(e, name0, false);
        return;
    }
    if (written == 0 && !mesh.geometryId.empty()) {
        e.writer->emptyGeometries.insert(mesh.geometryId);
    }
    warnOfOtherPrimitives(e, name0);
    finishCall(e);
}

// A node of <library_nodes> goes to the library, where only <instance_node>
// finds it; any other node goes to the scene.
bool inLibrary(const GatheredAttribute* name) {
    return name != nullptr && name->id.find("/library_nodes/") != std::string::npos;
}

// The urls of the node's elements of a kind ("instance_node/url", ...).
std::vector<std::string> urlsOf(const RuleEngine& e, const char* path) {
    std::vector<std::string> urls;
    for (const auto& a : e.store.attributes) {
        if (endsWithPath(a->id, path)) {
            urls.push_back(a->value);
        }
    }
    return urls;
}

// The id a url of this document names ("#id"), else nothing.
std::string localId(const std::string& url) {
    return url.size() > 1 && url[0] == '#' ? url.substr(1) : std::string();
}

// The node places what its first <instance_geometry> names, with the
// materials that element binds; each further one is placed by a child of the
// node without a transform of its own.
void takeGeometries(const RuleEngine& e, NodeRecord& node) {
    std::vector<TagRecord*> instances = gatheredTags(e, "instance_geometry");
    for (std::size_t k = 0; k < instances.size(); ++k) {
        const GatheredAttribute* url = childAttribute("url", instances[k]);
        NodeRecord& placing = k == 0 ? node : node.addChild();
        placing.geometryUrl = url != nullptr ? url->value : std::string();
        placing.geometry = localId(placing.geometryUrl);
        if (k > 0) {
            placing.named = false;
            placing.name = node.label();
            placing.furtherGeometry = true;
        }
        bindMaterials(e, *instances[k], node.label(), placing.materials);
    }
}

// What the node's <instance_controller> elements place, with the materials
// each binds. A node without <instance_geometry> places the mesh of its name
// with those materials.
void takeControllers(const RuleEngine& e, NodeRecord& node) {
    bool placesByName = node.geometryUrl.empty() && node.geometry.empty();
    for (const TagRecord* instance : gatheredTags(e, "instance_controller")) {
        const GatheredAttribute* url = childAttribute("url", instance);
        ControllerInstance controller{url != nullptr ? url->value : std::string(), {}};
        bindMaterials(e, *instance, node.label(), controller.materials);
        if (placesByName) {
            node.materials.insert(controller.materials.begin(), controller.materials.end());
        }
        node.controllers.push_back(std::move(controller));
    }
}

void pushNode(RuleEngine& e, i32 depth) {
    std::fputs("Push node\n", stdout);
    const GatheredAttribute* name = findGatheredAttribute(e, "node/name");
    bool library = inLibrary(name);
    NodeRecord*& last = library ? e.lastLibraryNode : e.lastNode;
    i32& lastDepth = library ? e.lastLibraryDepth : e.lastDepth;
    // The nearest node above depth on the way back from the last one: the
    // tree goes down one level at a time and back up any number.
    NodeRecord* parent = depth <= lastDepth + 1 ? last : nullptr;
    while (parent != nullptr && parent->depth >= depth) {
        parent = parent->parent;
    }
    if (parent == nullptr) {
        ruleFailure(e, kBadNodes);
        return;
    }
    NodeRecord& node = parent->addChild();
    node.depth = depth;
    node.id = ownAttribute(e, "node/id");
    node.name = ownAttribute(e, "node/name");
    node.named = !node.name.empty();
    if (!node.named) {
        node.name = node.id.empty() ? "node" + std::to_string(++e.unnamedNodes) : node.id;
    }
    takeGeometries(e, node);
    takeControllers(e, node);
    node.instances = urlsOf(e, "instance_node/url");
    takeTransform(e, node);
    finishCall(e);
    last = &node;
    lastDepth = depth;
}

void callBuiltin(RuleEngine& e, const std::string& name, i32 depth) {
    if (name == "material_gather") {
        materialGather(e);
    } else if (name == "mesh_assemble") {
        meshAssemble(e);
    } else if (name == "push_node") {
        pushNode(e, depth);
    } else if (name == "link_material") {
        linkMaterial(e);
    } else if (name == "begin_scene") {
        beginScene(e);
    } else if (name == "choose_scene") {
        chooseScene(e);
    } else if (name == "link_image") {
        linkImage(e);
    } else if (name == "link_controller") {
        linkController(e);
    } else if (name == "read_asset") {
        readAsset(e);
    } else {
        ruleFailure(e, "No such function found (" + name + ")\n");
    }
}
