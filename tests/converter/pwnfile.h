#pragma once

// An independent reader of .pwn files for the tests: it follows the file
// layout alone and refuses anything that a well-formed file would not hold.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct PwnMaterial {
    std::string name;
    std::vector<std::string> tags; // sub-chunk tags in file order
    float ambient[3] = {}, diffuse[3] = {}, specular[3] = {};
    float shininess = 0, emissive = 0, specularLevel = 0;
};

struct PwnAttribute {
    std::string name;
    uint32_t offset = 0;
    uint32_t components = 0;
};

struct PwnMesh {
    std::string name;
    std::optional<uint32_t> material;
    std::vector<PwnAttribute> attributes;
    uint32_t indexWidth = 0;
    std::vector<uint32_t> indices;
    uint32_t floatsPerVertex = 0;
    uint32_t vertexCount = 0;
    std::vector<float> vertices;

    const float* vertex(uint32_t index) const { return &vertices[index * floatsPerVertex]; }
};

struct PwnNode {
    std::vector<std::string> tags; // "rota", "tran", "scal" as they came
    float rotation[4] = {}, translation[3] = {}, scale[3] = {};
    uint32_t mesh = 0;
    std::vector<PwnNode> children;
};

struct PwnFile {
    uint32_t materialCount = 0;
    uint32_t meshCount = 0;
    std::vector<PwnMaterial> materials;
    std::vector<PwnMesh> meshes;
    std::vector<PwnNode> nodes;
};

// Reads the whole file; on failure gives nothing and sets error.
std::optional<PwnFile> ReadPwn(const std::string& path, std::string& error);

std::string ReadFileText(const std::string& path);

// The whole vertex of each triangle corner of mesh, in index order.
std::vector<std::vector<float>> CornerVertices(const PwnMesh& mesh);
