#pragma once

#include "tools/converter/pwnwriter.h"
#include "tools/converter/records.h"
#include "tools/converter/vertextable.h"

#include <cstddef>
#include <string>
#include <vector>

// Reader state for one Wavefront .obj text: the positions, normals and
// texture coordinates read so far (three floats each), the merged vertices
// and the triangle indices.
struct ObjReader {
    std::vector<f32> positions;
    std::vector<f32> normals;
    std::vector<f32> texCoords;
    bool hasPositions = false;
    bool hasNormals = false;
    bool hasTexCoords = false;
    VertexTable vertices;
    std::vector<u32> indices;
    i32 floatsPerVertex = 0;
    // The message of the failure that stopped the reading, or null.
    const char* error = nullptr;

    std::vector<char> line;
    std::string pending;
};

// Reads every line of text, each ended by '\n', '\r' or the end of the text.
// False, with the reader's error set, when the text cannot be converted.
bool readObj(ObjReader& reader, const char* text, std::size_t length);

// One line; line[length] must exist and is set to '\n'. Its first word gives
// its kind ("v", "vt", "vn", "f"; any other leaves it unread), a '#' starts a
// comment, and a face index below 0 counts back from the last entry read.
bool parseObjLine(ObjReader& reader, char* line, std::size_t length);

// Hands what was read to the writer: the material "DefaultMaterial", the
// mesh "TriMesh" and, under root, its node.
void writeObjModel(const ObjReader& reader, PwnWriter& writer, NodeRecord& root);
