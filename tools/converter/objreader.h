#pragma once

#include "tools/converter/pwnwriter.h"
#include "tools/converter/records.h"
#include "tools/converter/vertextable.h"

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

// Reader state for one Wavefront .obj text: the positions, normals and
// texture coordinates read so far (three floats each), the merged vertices
// and the triangle indices.
struct ObjReader {
    std::vector<f32> positions;
    std::vector<f32> normals;
    std::vector<f32> texCoords;
    // Whether some face corner names a texture coordinate or a normal: the
    // mesh then has that attribute.
    bool hasNormals = false;
    bool hasTexCoords = false;
    // Faces some corner of which names no texture coordinate or no normal.
    std::size_t facesWithoutTexCoords = 0;
    std::size_t facesWithoutNormals = 0;
    std::size_t faces = 0;
    // While reading, every vertex holds nine floats (position, texture
    // coordinate, normal; zeros where a corner names none); once read, the
    // vertex data holds only the attributes of the mesh.
    VertexTable vertices;
    std::vector<f32> vertexData;
    u32 vertexCount = 0;
    std::vector<u32> indices;
    i32 floatsPerVertex = 0;
    // The distinct names of the materials ("usemtl") and of the objects and
    // groups ("o", "g") that the file gives, none of which the mesh keeps.
    std::unordered_set<std::string> materialNames;
    std::unordered_set<std::string> groupNames;
    // "v" lines with more than three numbers, and the first of them.
    std::size_t longPositions = 0;
    std::size_t firstLongPosition = 0;
    int firstLongPositionNumbers = 0;
    // The message of the failure that stopped the reading, or empty.
    std::string error;

    std::vector<char> line;
    std::size_t lineNumber = 0; // where the line being read starts, from 1
    std::string pending;
};

// Reads every line of text, each ended by '\n', '\r', a "\r\n" pair or the
// end of the text; a line whose last character (but blanks) is a '\'
// outside a comment goes on in the next. Prints a warning for what was left
// out or filled in, and for the materials, objects and groups the file names.
// False, with the reader's error set, when the text cannot be converted.
bool readObj(ObjReader& reader, const char* text, std::size_t length);

// One line; line[length] must exist and is set to '\n'. Its first word gives
// its kind ("v", "vt", "vn", "f"; "usemtl", "o" and "g" are counted by the
// names they give; any other leaves it unread), a '#' starts a comment, and a
// face index below 0 counts back from the last entry read.
bool parseObjLine(ObjReader& reader, char* line, std::size_t length);

// Hands what was read to the writer: the material "DefaultMaterial", the
// mesh "TriMesh" and, under root, its node.
void writeObjModel(const ObjReader& reader, PwnWriter& writer, NodeRecord& root);
