#include "pwnfile.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

class Bytes {
  public:
    explicit Bytes(std::string data) : data_(std::move(data)) {}

    bool atEnd() const { return pos_ == data_.size(); }
    std::string tag() { return take(4); }
    std::string peekTag() const { return data_.substr(pos_, 4); }
    uint32_t u32() {
        std::string b = take(4);
        return uint32_t(uint8_t(b[0])) | uint32_t(uint8_t(b[1])) << 8 |
               uint32_t(uint8_t(b[2])) << 16 | uint32_t(uint8_t(b[3])) << 24;
    }
    uint32_t u16() {
        std::string b = take(2);
        return uint32_t(uint8_t(b[0])) | uint32_t(uint8_t(b[1])) << 8;
    }
    float f32() {
        uint32_t bits = u32();
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    void floats(float* out, int n) {
        for (int i = 0; i < n; ++i) {
            out[i] = f32();
        }
    }
    std::string string() { return take(u32()); }

  private:
    std::string take(std::size_t n) {
        if (data_.size() - pos_ < n) {
            throw std::runtime_error("file ends inside a value");
        }
        std::string s = data_.substr(pos_, n);
        pos_ += n;
        return s;
    }

    std::string data_;
    std::size_t pos_ = 0;
};

bool isAny(const std::string& tag, std::initializer_list<const char*> tags) {
    for (const char* t : tags) {
        if (tag == t) {
            return true;
        }
    }
    return false;
}

PwnMaterial readMaterial(Bytes& in) {
    PwnMaterial m;
    while (!in.atEnd() &&
           isAny(in.peekTag(), {"idnt", "ambi", "diff", "spec", "shin", "emis", "spcl"})) {
        std::string tag = in.tag();
        m.tags.push_back(tag);
        if (tag == "idnt") {
            m.name = in.string();
        } else if (tag == "ambi") {
            in.floats(m.ambient, 3);
        } else if (tag == "diff") {
            in.floats(m.diffuse, 3);
        } else if (tag == "spec") {
            in.floats(m.specular, 3);
        } else if (tag == "shin") {
            m.shininess = in.f32();
        } else if (tag == "emis") {
            m.emissive = in.f32();
        } else {
            m.specularLevel = in.f32();
        }
    }
    return m;
}

void readIndices(Bytes& in, PwnMesh& m) {
    uint32_t count = in.u32();
    m.indexWidth = in.u32();
    if (m.indexWidth != 2 && m.indexWidth != 4) {
        throw std::runtime_error("index width is neither 2 nor 4");
    }
    for (uint32_t i = 0; i < count; ++i) {
        m.indices.push_back(m.indexWidth == 2 ? in.u16() : in.u32());
    }
}

PwnMesh readMesh(Bytes& in) {
    PwnMesh m;
    while (!in.atEnd() && isAny(in.peekTag(), {"idnt", "mmat", "attr", "vtxa", "idxa"})) {
        std::string tag = in.tag();
        if (tag == "idnt") {
            m.name = in.string();
        } else if (tag == "mmat") {
            m.material = in.u32();
        } else if (tag == "attr") {
            uint32_t count = in.u32();
            for (uint32_t i = 0; i < count; ++i) {
                PwnAttribute a;
                a.name = in.string();
                a.offset = in.u32();
                a.components = in.u32();
                m.attributes.push_back(a);
            }
        } else if (tag == "vtxa") {
            m.vertexCount = in.u32();
            m.floatsPerVertex = in.u32();
            m.vertices.resize(std::size_t(m.vertexCount) * m.floatsPerVertex);
            in.floats(m.vertices.data(), int(m.vertices.size()));
        } else {
            readIndices(in, m);
        }
    }
    return m;
}

PwnNode readNode(Bytes& in) {
    PwnNode n;
    for (;;) {
        std::string tag = in.tag();
        if (tag == "rota") {
            in.floats(n.rotation, 4);
        } else if (tag == "tran") {
            in.floats(n.translation, 3);
        } else if (tag == "scal") {
            in.floats(n.scale, 3);
        } else if (tag == "nmsh") {
            break;
        } else {
            throw std::runtime_error("unexpected tag in a node: " + tag);
        }
        n.tags.push_back(tag);
    }
    n.mesh = in.u32();
    uint32_t children = in.u32();
    for (uint32_t i = 0; i < children; ++i) {
        if (in.tag() != "node") {
            throw std::runtime_error("a child record is not a node");
        }
        n.children.push_back(readNode(in));
    }
    return n;
}

PwnFile readFile(Bytes& in) {
    PwnFile f;
    if (in.tag() != "pwnd" || in.u32() != 1) {
        throw std::runtime_error("not a version 1 .pwn file");
    }
    f.materialCount = in.u32();
    f.meshCount = in.u32();
    for (;;) {
        std::string tag = in.tag();
        if (tag == "matl") {
            f.materials.push_back(readMaterial(in));
        } else if (tag == "mesh") {
            f.meshes.push_back(readMesh(in));
        } else if (tag == "node") {
            f.nodes.push_back(readNode(in));
        } else if (tag == "xxxx") {
            break;
        } else {
            throw std::runtime_error("unexpected chunk tag: " + tag);
        }
    }
    if (!in.atEnd()) {
        throw std::runtime_error("bytes after the end tag");
    }
    return f;
}

} // namespace

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<PwnFile> ReadPwn(const std::string& path, std::string& error) {
    Bytes in(ReadFileText(path));
    try {
        return readFile(in);
    } catch (const std::exception& e) {
        error = e.what();
        return std::nullopt;
    }
}

std::vector<std::vector<float>> CornerVertices(const PwnMesh& mesh) {
    std::vector<std::vector<float>> out;
    for (uint32_t index : mesh.indices) {
        const float* v = mesh.vertex(index);
        out.emplace_back(v, v + mesh.floatsPerVertex);
    }
    return out;
}
