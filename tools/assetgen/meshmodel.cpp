// The COLLADA documents of the models and the shapes they are built from.
//
// Meshwright reads COLLADA through the rule program it ships with rather than
// as XML, so the documents keep to what those rules read: every effect carries
// a name, each geometry holds one <triangles> whose material is the effect's
// name, each node is named like its geometry, attributes are written
// name="value", and every list is plain decimals parted by single spaces
// (no exponents, no leading line break). The <p> list gives each corner one
// index per input, as Meshwright takes the inputs in turn.
#include "meshmodel.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <set>
#include <string>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The darker copy of the diffuse colour the material takes as its ambient.
constexpr float kAmbientShare = 0.35f;
constexpr float kSpecular = 0.4f;
constexpr float kShininess = 12.0f;

// Six decimals with the trailing zeros cut, never "-0" and never an exponent.
void putNumber(std::string& out, double value) {
    if (std::fabs(value) < 0.0000005) {
        value = 0.0;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    std::string s = text;
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') {
        s.pop_back();
    }
    out += s;
}

void putNumbers(std::string& out, std::initializer_list<double> values) {
    const char* gap = "";
    for (double v : values) {
        out += gap;
        putNumber(out, v);
        gap = " ";
    }
}

// Letters, digits and '_': safe inside an attribute and a .pwn name.
bool plainName(const std::string& name) {
    if (name.empty()) {
        return false;
    }
    for (char c : name) {
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(c >= '0' && c <= '9') && c != '_') {
            return false;
        }
    }
    return true;
}

bool checkPart(const MeshModel& model, const MeshPart& part) {
    const char* fault = nullptr;
    if (!plainName(part.name) || !plainName(part.material)) {
        fault = "needs names of letters, digits and '_'";
    } else if (part.indices.empty() || part.indices.size() % 3 != 0) {
        fault = "has no whole triangles";
    } else {
        for (unsigned index : part.indices) {
            if (index >= part.vertices.size()) {
                fault = "has an index past its vertices";
            }
        }
    }
    if (fault != nullptr) {
        std::fprintf(stderr, "assetgen: model %s, part \"%s\" %s\n", model.file.c_str(),
                     part.name.c_str(), fault);
        return false;
    }
    return true;
}

void putColor(std::string& out, const char* kind, float r, float g, float b) {
    out += "<" + std::string(kind) + "><color>";
    putNumbers(out, {r, g, b, 1.0});
    out += "</color></" + std::string(kind) + ">\n";
}

void putEffect(std::string& out, const MeshPart& part) {
    out += "<effect id=\"" + part.material + "-effect\" name=\"" + part.material +
           "\"><profile_COMMON><technique sid=\"common\"><phong>\n";
    putColor(out, "emission", 0, 0, 0);
    putColor(out, "ambient", part.r * kAmbientShare, part.g * kAmbientShare,
             part.b * kAmbientShare);
    putColor(out, "diffuse", part.r, part.g, part.b);
    putColor(out, "specular", kSpecular, kSpecular, kSpecular);
    out += "<shininess><float>";
    putNumber(out, kShininess);
    out += "</float></shininess>\n</phong></technique></profile_COMMON></effect>\n";
}

void putMaterial(std::string& out, const MeshPart& part) {
    out += "<material id=\"" + part.material + "-material\" name=\"" + part.material +
           "\"><instance_effect url=\"#" + part.material + "-effect\"/></material>\n";
}

// One source of the part's vertices: the components that take gives,
// stride of them per vertex, named by the letters of params.
template <typename Take>
void putSource(std::string& out, const MeshPart& part, const std::string& id, const char* params,
               Take take) {
    size_t count = part.vertices.size();
    size_t stride = std::strlen(params);
    out += "<source id=\"" + id + "\"><float_array id=\"" + id + "-array\" count=\"" +
           std::to_string(count * stride) + "\">";
    for (size_t i = 0; i < count; i++) {
        double values[3];
        take(part.vertices[i], values);
        for (size_t k = 0; k < stride; k++) {
            if (i + k != 0) {
                out += ' ';
            }
            putNumber(out, values[k]);
        }
    }
    out += "</float_array>\n<technique_common><accessor source=\"#" + id + "-array\" count=\"" +
           std::to_string(count) + "\" stride=\"" + std::to_string(stride) + "\">";
    for (const char* p = params; *p != 0; p++) {
        out += "<param name=\"" + std::string(1, *p) + "\" type=\"float\"/>";
    }
    out += "</accessor></technique_common></source>\n";
}

void putGeometry(std::string& out, const MeshPart& part) {
    const std::string& n = part.name;
    out += "<geometry id=\"" + n + "-mesh\" name=\"" + n + "\"><mesh>\n";
    putSource(out, part, n + "-positions", "XYZ",
              [](const MeshVertex& v, double* out) { out[0] = v.x, out[1] = v.y, out[2] = v.z; });
    putSource(out, part, n + "-normals", "XYZ", [](const MeshVertex& v, double* out) {
        out[0] = v.nx, out[1] = v.ny, out[2] = v.nz;
    });
    putSource(out, part, n + "-texcoords", "ST",
              [](const MeshVertex& v, double* out) { out[0] = v.u, out[1] = v.v; });
    out += "<vertices id=\"" + n + "-vertices\"><input semantic=\"POSITION\" source=\"#" + n +
           "-positions\"/></vertices>\n";
    out += "<triangles material=\"" + part.material + "\" count=\"" +
           std::to_string(part.indices.size() / 3) + "\">";
    out += "<input semantic=\"VERTEX\" source=\"#" + n + "-vertices\" offset=\"0\"/>";
    out += "<input semantic=\"NORMAL\" source=\"#" + n + "-normals\" offset=\"1\"/>";
    out += "<input semantic=\"TEXCOORD\" source=\"#" + n + "-texcoords\" offset=\"2\" set=\"0\"/>";
    out += "<p>";
    for (size_t i = 0; i < part.indices.size(); i++) {
        std::string index = std::to_string(part.indices[i]);
        out += (i == 0 ? "" : " ") + index + " " + index + " " + index;
    }
    out += "</p></triangles>\n</mesh></geometry>\n";
}

void putNode(std::string& out, const MeshPart& part) {
    out += "<node id=\"" + part.name + "-node\" name=\"" + part.name +
           "\"><instance_geometry url=\"#" + part.name +
           "-mesh\"><bind_material><technique_common><instance_material symbol=\"" + part.material +
           "\" target=\"#" + part.material +
           "-material\"/></technique_common></bind_material></instance_geometry></node>\n";
}

std::string document(const MeshModel& model) {
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                      "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" "
                      "version=\"1.4.1\">\n<asset><created>2026-01-01T00:00:00</created>"
                      "<modified>2026-01-01T00:00:00</modified><up_axis>Y_UP</up_axis></asset>\n";
    // Parts may share a material: its effect is written once.
    std::set<std::string> materials;
    std::string effects, library;
    for (const MeshPart& part : model.parts) {
        if (materials.insert(part.material).second) {
            putEffect(effects, part);
            putMaterial(library, part);
        }
    }
    out += "<library_effects>\n" + effects + "</library_effects>\n";
    out += "<library_materials>\n" + library + "</library_materials>\n";
    out += "<library_geometries>\n";
    for (const MeshPart& part : model.parts) {
        putGeometry(out, part);
    }
    out += "</library_geometries>\n<library_visual_scenes>\n<visual_scene id=\"scene\">\n";
    for (const MeshPart& part : model.parts) {
        putNode(out, part);
    }
    out += "</visual_scene>\n</library_visual_scenes>\n"
           "<scene><instance_visual_scene url=\"#scene\"/></scene>\n</COLLADA>\n";
    return out;
}

void addVertex(MeshPart* part, vec3f p, vec3f n, float u, float v) {
    part->vertices.push_back({p.x, p.y, p.z, n.x, n.y, n.z, u, v});
}

void addTriangle(MeshPart* part, unsigned a, unsigned b, unsigned c) {
    part->indices.insert(part->indices.end(), {a, b, c});
}

vec3f add(vec3f a, vec3f b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
vec3f scaled(vec3f a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
vec3f cross(vec3f a, vec3f b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
vec3f normalized(vec3f a) {
    float length = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return length > 0 ? scaled(a, 1.0f / length) : a;
}

// A flat cap of the frustum: a fan round its centre, facing along normal.
// The ring runs counter-clockwise round the axis; a cap facing back along
// the axis takes its triangles the other way round.
void addCap(MeshPart* part, vec3f centre, float radius, vec3f normal, vec3f s, vec3f t, int slices,
            bool facesAxis) {
    unsigned middle = static_cast<unsigned>(part->vertices.size());
    addVertex(part, centre, normal, 0.5f, 0.5f);
    for (int k = 0; k <= slices; k++) {
        float angle = static_cast<float>(2 * kPi * k / slices);
        float c = std::cos(angle), sn = std::sin(angle);
        vec3f radial = add(scaled(s, c), scaled(t, sn));
        addVertex(part, add(centre, scaled(radial, radius)), normal, 0.5f + 0.5f * c,
                  0.5f + 0.5f * sn);
    }
    for (int k = 0; k < slices; k++) {
        unsigned a = middle + 1 + k;
        if (facesAxis) {
            addTriangle(part, middle, a, a + 1);
        } else {
            addTriangle(part, middle, a + 1, a);
        }
    }
}

} // namespace

bool WriteColladaModel(const MeshModel& model, const std::string& path) {
    std::set<std::string> names;
    for (const MeshPart& part : model.parts) {
        if (!checkPart(model, part)) {
            return false;
        }
        if (!names.insert(part.name).second) {
            std::fprintf(stderr, "assetgen: model %s names two parts \"%s\"\n", model.file.c_str(),
                         part.name.c_str());
            return false;
        }
    }
    if (model.parts.empty()) {
        std::fprintf(stderr, "assetgen: model %s has no parts\n", model.file.c_str());
        return false;
    }
    FILE* f = std::fopen(path.c_str(), "w");
    if (f == nullptr) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    std::string text = document(model);
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

void AddBox(MeshPart* part, vec3f centre, vec3f halfExtents) {
    // Each face: its normal and two edge directions s, t with s x t = normal.
    struct Face {
        vec3f n, s, t;
    };
    const Face faces[6] = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
                           {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
                           {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}};
    auto extent = [&](vec3f axis) {
        return scaled(axis, std::fabs(axis.x * halfExtents.x + axis.y * halfExtents.y +
                                      axis.z * halfExtents.z));
    };
    for (const Face& face : faces) {
        unsigned first = static_cast<unsigned>(part->vertices.size());
        vec3f middle = add(centre, extent(face.n));
        for (int corner = 0; corner < 4; corner++) {
            float u = corner == 1 || corner == 2 ? 1.0f : 0.0f;
            float v = corner >= 2 ? 1.0f : 0.0f;
            vec3f p = add(
                middle, add(scaled(extent(face.s), 2 * u - 1), scaled(extent(face.t), 2 * v - 1)));
            addVertex(part, p, face.n, u, v);
        }
        addTriangle(part, first, first + 1, first + 2);
        addTriangle(part, first, first + 2, first + 3);
    }
}

void AddSphere(MeshPart* part, vec3f centre, float radius, int slices, int stacks) {
    unsigned first = static_cast<unsigned>(part->vertices.size());
    for (int i = 0; i <= stacks; i++) {
        double theta = kPi * i / stacks;
        for (int j = 0; j <= slices; j++) {
            double phi = 2.0 * kPi * j / slices;
            vec3f n = {static_cast<float>(std::sin(theta) * std::cos(phi)),
                       static_cast<float>(std::cos(theta)),
                       static_cast<float>(-std::sin(theta) * std::sin(phi))};
            addVertex(part, add(centre, scaled(n, radius)), n, static_cast<float>(j) / slices,
                      1.0f - static_cast<float>(i) / stacks);
        }
    }
    // Each band between two rings; the bands at the poles have one triangle
    // per slice.
    unsigned row = slices + 1;
    for (int i = 0; i < stacks; i++) {
        for (int j = 0; j < slices; j++) {
            unsigned a = first + i * row + j;
            unsigned b = a + row;
            if (i != 0) {
                addTriangle(part, a, b, a + 1);
            }
            if (i != stacks - 1) {
                addTriangle(part, a + 1, b, b + 1);
            }
        }
    }
}

void AddFrustum(MeshPart* part, vec3f a, float ra, vec3f b, float rb, int slices) {
    vec3f along = {b.x - a.x, b.y - a.y, b.z - a.z};
    float length = std::sqrt(along.x * along.x + along.y * along.y + along.z * along.z);
    vec3f axis = normalized(along);
    // s and t span the plane across the axis, s x t = axis.
    vec3f helper = std::fabs(axis.x) < 0.9f ? vec3f{1, 0, 0} : vec3f{0, 1, 0};
    vec3f s = normalized(cross(helper, axis));
    vec3f t = cross(axis, s);
    unsigned first = static_cast<unsigned>(part->vertices.size());
    for (int k = 0; k <= slices; k++) {
        float angle = static_cast<float>(2 * kPi * k / slices);
        vec3f radial = add(scaled(s, std::cos(angle)), scaled(t, std::sin(angle)));
        // The side leans by the difference of the radii over the length.
        vec3f n = normalized(add(scaled(radial, length), scaled(axis, ra - rb)));
        float u = static_cast<float>(k) / slices;
        addVertex(part, add(a, scaled(radial, ra)), n, u, 0);
        addVertex(part, add(b, scaled(radial, rb)), n, u, 1);
    }
    for (int k = 0; k < slices; k++) {
        unsigned a0 = first + 2 * k, b0 = a0 + 1, a1 = a0 + 2, b1 = a0 + 3;
        // A radius of 0 (a point) leaves out the triangle that would be flat.
        if (ra > 0) {
            addTriangle(part, a0, a1, b1);
        }
        if (rb > 0) {
            addTriangle(part, a0, b1, b0);
        }
    }
    if (ra > 0) {
        addCap(part, a, ra, scaled(axis, -1), s, t, slices, false);
    }
    if (rb > 0) {
        addCap(part, b, rb, axis, s, t, slices, true);
    }
}
