// Triangle models written by other tools: the bunny that Debian's
// glmark2-data ships as OBJ, and OBJ files that Debian's assimp (assimp-utils)
// writes from glmark2's 3DS models. Each conversion is checked against the
// source with a reader of the test's own.
#include "pwnfile.h"
#include "runner.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace {

const std::string kModels = "/usr/share/glmark2/models/";
const std::string kAssimp = "/usr/bin/assimp";

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// One number of the source: its value, and whether it was written without
// an exponent.
struct Number {
    float value = 0;
    bool plain = true;
};

struct Corner {
    int position = 0, texCoord = 0, normal = 0;
};

struct ObjSource {
    std::vector<std::array<Number, 3>> positions, texCoords, normals;
    std::vector<std::array<Corner, 3>> triangles;
    int polygons = 0; // faces of more than three corners
    int firstPolygonLine = 0, firstPolygonCorners = 0;
};

Number readNumber(std::istringstream& in) {
    Number n;
    std::string word;
    if (in >> word) {
        n.value = std::strtof(word.c_str(), nullptr);
        n.plain = word.find_first_of("eE") == std::string::npos;
    }
    return n;
}

Corner readCorner(const std::string& word) {
    Corner c;
    int* parts[3] = {&c.position, &c.texCoord, &c.normal};
    std::size_t start = 0;
    for (int i = 0; i < 3 && start <= word.size(); ++i) {
        std::size_t slash = word.find('/', start);
        std::string part = word.substr(start, slash - start);
        *parts[i] = part.empty() ? 0 : std::atoi(part.c_str());
        if (slash == std::string::npos) {
            break;
        }
        start = slash + 1;
    }
    return c;
}

ObjSource readSource(const std::string& path) {
    ObjSource obj;
    std::istringstream file(ReadFileText(path));
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        std::istringstream in(line);
        std::string key;
        in >> key;
        auto& table = key == "v" ? obj.positions : key == "vt" ? obj.texCoords : obj.normals;
        if (key == "v" || key == "vt" || key == "vn") {
            table.push_back({readNumber(in), readNumber(in), readNumber(in)});
        } else if (key == "f") {
            std::vector<Corner> corners;
            std::string word;
            while (in >> word) {
                corners.push_back(readCorner(word));
            }
            if (corners.size() == 3) {
                obj.triangles.push_back({corners[0], corners[1], corners[2]});
            } else if (obj.polygons++ == 0) {
                obj.firstPolygonLine = number;
                obj.firstPolygonCorners = int(corners.size());
            }
        }
    }
    return obj;
}

// Floats agree to one unit in the last place.
bool close(float a, float b) {
    if (a == b) {
        return true;
    }
    int32_t ia, ib;
    std::memcpy(&ia, &a, 4);
    std::memcpy(&ib, &b, 4);
    return (ia < 0) == (ib < 0) && std::abs(ia - ib) <= 1;
}

std::array<float, 3> unit(const std::array<Number, 3>& n) {
    float x = n[0].value, y = n[1].value, z = n[2].value;
    float length = std::sqrt(x * x + y * y + z * z);
    return {x / length, y / length, z / length};
}

struct Checked {
    int compared = 0;
    int withExponents = 0; // of the compared position values
};

// Whether some corner of the source names the entry that member gives.
bool named(const ObjSource& obj, int Corner::*member) {
    for (const auto& triangle : obj.triangles) {
        for (const Corner& c : triangle) {
            if (c.*member != 0) {
                return true;
            }
        }
    }
    return false;
}

// Every corner of every source triangle, in order, against the vertex its
// index names in the converted mesh. A corner that names no texture
// coordinate or normal where others do has zeros in its place.
Checked compareTriangles(const ObjSource& obj, const PwnMesh& mesh) {
    Checked checked;
    bool hasT = named(obj, &Corner::texCoord), hasN = named(obj, &Corner::normal);
    EXPECT_EQ(mesh.floatsPerVertex, 3u + (hasT ? 3 : 0) + (hasN ? 3 : 0));
    EXPECT_EQ(mesh.attributes.size(), 1u + hasT + hasN);
    if (mesh.indices.size() != obj.triangles.size() * 3) {
        ADD_FAILURE() << mesh.indices.size() << " indices for " << obj.triangles.size()
                      << " triangles";
        return checked;
    }
    EXPECT_EQ(mesh.indexWidth, mesh.indices.size() > 65535 ? 4u : 2u);
    for (std::size_t t = 0; t < obj.triangles.size(); ++t) {
        for (int k = 0; k < 3; ++k) {
            const Corner& c = obj.triangles[t][k];
            uint32_t index = mesh.indices[t * 3 + k];
            EXPECT_LT(index, mesh.vertexCount);
            const float* v = mesh.vertex(index);
            const auto& p = obj.positions.at(c.position - 1);
            for (int i = 0; i < 3; ++i) {
                EXPECT_TRUE(close(v[i], p[i].value))
                    << "triangle " << t << " corner " << k << ": " << v[i] << " vs " << p[i].value;
                ++checked.compared;
                checked.withExponents += !p[i].plain;
            }
            int at = 3;
            if (hasT) {
                std::array<Number, 3> tc =
                    c.texCoord ? obj.texCoords.at(c.texCoord - 1) : std::array<Number, 3>{};
                for (int i = 0; i < 3; ++i) {
                    EXPECT_TRUE(close(v[at + i], tc[i].value));
                }
                at += 3;
            }
            if (hasN) {
                std::array<float, 3> u =
                    c.normal ? unit(obj.normals.at(c.normal - 1)) : std::array<float, 3>{};
                for (int i = 0; i < 3; ++i) {
                    EXPECT_NEAR(v[at + i], u[i], 1e-6f) << "triangle " << t;
                }
            }
        }
        if (testing::Test::HasFailure()) {
            break;
        }
    }
    return checked;
}

// No two vertices of the converted mesh are byte-equal.
void expectDistinctVertices(const PwnMesh& mesh) {
    std::vector<std::string> keys;
    std::size_t bytes = mesh.floatsPerVertex * sizeof(float);
    for (uint32_t i = 0; i < mesh.vertexCount; ++i) {
        keys.emplace_back(reinterpret_cast<const char*>(mesh.vertex(i)), bytes);
    }
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end());
}

// The one mesh that converting source gives; printed takes what the program
// printed.
PwnMesh convert(const std::string& source, const std::string& dir, std::string* printed = nullptr) {
    MeshwrightRun run = RunMeshwright({source, "out.pwn"}, dir);
    EXPECT_EQ(run.status, 0) << run.out.substr(0, 200);
    if (printed != nullptr) {
        *printed = run.out;
    }
    std::string error;
    std::optional<PwnFile> file = ReadPwn(run.path("out.pwn"), error);
    EXPECT_TRUE(file) << error;
    if (!file || file->meshes.size() != 1) {
        ADD_FAILURE() << "one mesh expected";
        return PwnMesh{};
    }
    EXPECT_EQ(file->nodes.size(), 1u);
    return file->meshes[0];
}

// assimp writes the OBJ of a model (with options such as -tri); false when
// it cannot.
bool assimpExport(const std::string& model, const std::string& obj,
                  const std::string& options = "") {
    std::string command =
        kAssimp + " export '" + model + "' '" + obj + "' " + options + " > /dev/null 2>&1";
    return std::system(command.c_str()) == 0 && exists(obj);
}

// The route that a refusal of polygons names: assimp writes the model as
// triangles into dir/out.obj, which converts corner by corner.
void expectConvertedThroughAssimp(const std::string& model, const std::string& dir) {
    ASSERT_TRUE(assimpExport(model, dir + "/out.obj", "-tri"));
    ObjSource obj = readSource(dir + "/out.obj");
    ASSERT_GT(obj.triangles.size(), 0u);
    ASSERT_EQ(obj.polygons, 0);
    Checked checked = compareTriangles(obj, convert("out.obj", dir));
    EXPECT_GE(checked.compared, int(obj.triangles.size()) * 9);
}

TEST(DebianModels, TheGlmark2BunnyConverts) {
    std::string bunny = kModels + "bunny.obj";
    if (!exists(bunny)) {
        GTEST_SKIP() << bunny << " is missing: install the package glmark2-data";
    }
    ObjSource obj = readSource(bunny);
    ASSERT_GT(obj.triangles.size(), 60000u);
    ASSERT_EQ(obj.polygons, 0);
    PwnMesh mesh = convert(bunny, MakeScratchDir());
    Checked checked = compareTriangles(obj, mesh);
    EXPECT_GT(checked.compared, 500000);
    EXPECT_GT(checked.withExponents, 0) << "a few tiny values carry an exponent";
    EXPECT_EQ(mesh.indexWidth, 4u);
    expectDistinctVertices(mesh);
}

TEST(DebianModels, ObjFilesWrittenByAssimpConvert) {
    if (!exists(kAssimp) || !exists(kModels + "horse.3ds")) {
        GTEST_SKIP() << "needs the packages assimp-utils and glmark2-data";
    }
    for (const char* name : {"cube", "horse", "cat", "asteroid-low"}) {
        SCOPED_TRACE(name);
        std::string dir = MakeScratchDir();
        std::string source = dir + "/" + name + ".obj";
        ASSERT_TRUE(assimpExport(kModels + name + ".3ds", source));
        ObjSource obj = readSource(source);
        ASSERT_GT(obj.triangles.size(), 0u);
        ASSERT_EQ(obj.polygons, 0);
        ASSERT_FALSE(obj.normals.empty());
        PwnMesh mesh = convert(source, dir);
        Checked checked = compareTriangles(obj, mesh);
        EXPECT_GT(checked.compared, int(obj.triangles.size()) * 8);
        expectDistinctVertices(mesh);
    }
}

const std::string kAssimpModels = "/usr/share/assimp/models/";

// A face of four corners or more is refused with its line and the route
// through assimp's triangles, which converts the model: Debian's OBJ test
// models of quads and polygons, and quads as assimp writes them.
TEST(DebianModels, QuadsAndPolygonsConvertByTheRouteTheirRefusalNames) {
    if (!exists(kAssimp) || !exists(kAssimpModels + "OBJ/box.obj")) {
        GTEST_SKIP() << "needs the packages assimp-utils and assimp-testmodels";
    }
    std::string dir = MakeScratchDir();
    WriteText(dir + "/box.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\n"
                                "vt 0 1\nvn 0 0 1\nf 1/1/1 2/2/1 3/3/1 4/4/1\n");
    ASSERT_TRUE(assimpExport(dir + "/box.obj", dir + "/quads.obj"));
    std::vector<std::string> models = {dir + "/quads.obj"};
    for (const char* name :
         {"box", "box_longline", "box_mat_with_spaces", "box_without_lineending", "concave_polygon",
          "regr_3429812", "space_in_material_name", "testmixed"}) {
        models.push_back(kAssimpModels + "OBJ/" + name + ".obj");
    }
    for (const std::string& model : models) {
        SCOPED_TRACE(model);
        ObjSource source = readSource(model);
        ASSERT_GT(source.polygons, 0);
        std::string work = MakeScratchDir();
        MeshwrightRun refused = RunMeshwright({model, "out.pwn"}, work);
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.out, FaceRefusal(source.firstPolygonCorners, source.firstPolygonLine));
        expectConvertedThroughAssimp(model, work);
    }
}

// Debian's OBJ test models whose faces name different attributes (and
// assimp's own export of one), or whose "v" lines hold vertex colours.
TEST(DebianModels, AssimpObjModelsConvertWithWhatEachFaceNames) {
    if (!exists(kAssimp) || !exists(kAssimpModels + "OBJ/regr01.obj")) {
        GTEST_SKIP() << "needs the packages assimp-utils and assimp-testmodels";
    }
    const std::string kColours = "Warning: 8 \"v\" lines hold more than a position, the first "
                                 "(line 3) holds vertex colours (x y z r g b); only x y z were "
                                 "read\n" +
                                 NamesLeftOut("1 object or group (o, g) that the file names was");
    const std::string kRegr01 = "Warning: 2042 of 2710 faces name no texture coordinate, which "
                                "other faces name; zeros were written in its place\n" +
                                NamesLeftOut("12 materials (usemtl) and 55 objects or groups "
                                             "(o, g) that the file names were");
    std::string dir = MakeScratchDir();
    ASSERT_TRUE(assimpExport(kAssimpModels + "OBJ/regr01.obj", dir + "/regr01.obj"));
    struct Case {
        std::string model;
        std::string warning;
    } cases[] = {
        {kAssimpModels + "OBJ/regr01.obj", kRegr01},
        {dir + "/regr01.obj", kRegr01},
        {kAssimpModels + "OBJ/cube_with_vertexcolors.obj", kColours},
        {kAssimpModels + "OBJ/cube_with_vertexcolors_uni.obj", kColours},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        ObjSource obj = readSource(c.model);
        ASSERT_GT(obj.triangles.size(), 0u);
        std::string printed;
        PwnMesh mesh = convert(c.model, MakeScratchDir(), &printed);
        EXPECT_EQ(printed, c.warning + "Conversion completed!\n");
        Checked checked = compareTriangles(obj, mesh);
        EXPECT_GE(checked.compared, int(obj.triangles.size()) * 9);
    }
}

TEST(DebianModels, Utf16ModelsAreRefused) {
    if (!exists(kAssimpModels + "OBJ/box_UTF16BE.obj")) {
        GTEST_SKIP() << "needs the package assimp-testmodels";
    }
    for (const char* model : {"OBJ/box_UTF16BE.obj", "Collada/cube_UTF16LE.dae"}) {
        MeshwrightRun run = RunMeshwright({kAssimpModels + model, "out.pwn"});
        EXPECT_EQ(run.status, 1) << model;
        EXPECT_EQ(run.out, "The input file is UTF-16 text, which is not read: save it as UTF-8 "
                           "and convert it again\n")
            << model;
    }
}

// The refusal of <polylist>, <polygons> (and <tristrips>) names a route that
// works: assimp writes the model as an OBJ of triangles, which converts.
TEST(DebianModels, PolygonModelsConvertThroughObj) {
    if (!exists(kAssimp) || !exists(kAssimpModels + "Collada/duck.dae")) {
        GTEST_SKIP() << "needs the packages assimp-utils and assimp-testmodels";
    }
    for (const char* model :
         {"COLLADA.dae", "ConcavePolygon.dae", "anims_with_full_rotations_between_keys.DAE",
          "box_nested_animation.dae", "cube_UTF8BOM.dae", "cube_emptyTags.dae",
          "cube_tristrips.dae", "cube_xmlspecialchars.dae", "duck.dae", "earthCylindrical.DAE",
          "sphere.dae", "teapots.DAE"}) {
        SCOPED_TRACE(model);
        std::string dir = MakeScratchDir();
        WriteText(dir + "/rules.txt", ReadFileText(SHIPPED_RULES));
        std::string dae = kAssimpModels + "Collada/" + model;
        MeshwrightRun refused = RunMeshwright({dae, "out.pwn"}, dir);
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.out.find("or go through OBJ: assimp export in.dae out.obj -tri, then "
                                   "Meshwright out.obj out.pwn"),
                  std::string::npos)
            << refused.out;
        expectConvertedThroughAssimp(dae, dir);
    }
}

TEST(BuiltModels, TheGolfBallIsASphereOfRadius14) {
    std::string error;
    std::optional<PwnFile> file = ReadPwn(std::string(BUILT_MODELS) + "/sphere.pwn", error);
    ASSERT_TRUE(file) << error;
    ASSERT_EQ(file->meshes.size(), 1u);
    const PwnMesh& mesh = file->meshes[0];
    // Written by the asset generator as COLLADA: positions, normals and
    // texture coordinates on every corner.
    ASSERT_EQ(mesh.attributes.size(), 3u);
    EXPECT_EQ(mesh.attributes[0].name, "VERTEX");
    EXPECT_EQ(mesh.attributes[1].name, "NORMAL");
    EXPECT_EQ(mesh.attributes[2].name, "TEXCOORD");
    const uint32_t normal = mesh.attributes[1].offset;
    EXPECT_LT(mesh.vertexCount, 65536u);
    EXPECT_GT(mesh.indices.size(), 300u);
    for (uint32_t i = 0; i < mesh.vertexCount; ++i) {
        const float* v = mesh.vertex(i);
        float radius = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        ASSERT_NEAR(radius, 14.0f, 1e-4f) << "vertex " << i;
        for (int k = 0; k < 3; ++k) {
            ASSERT_NEAR(v[normal + k], v[k] / 14.0f, 1e-5f) << "the normal points outward";
        }
    }
    for (std::size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        const float* a = mesh.vertex(mesh.indices[t]);
        const float* b = mesh.vertex(mesh.indices[t + 1]);
        const float* c = mesh.vertex(mesh.indices[t + 2]);
        float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        float w[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                      u[0] * w[1] - u[1] * w[0]};
        ASSERT_GT(n[0] * a[0] + n[1] * a[1] + n[2] * a[2], 0.0f)
            << "triangle " << t / 3 << " faces outward, counter-clockwise";
    }
}

} // namespace
