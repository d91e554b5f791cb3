// What a COLLADA document binds by its ids, with the shipped "rules.txt": a
// placed geometry's material symbols through <bind_material> to materials,
// the names of geometries and nodes from their own elements, and the one
// visual scene that <scene> places.
#include "shipped.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// Two effects and the materials that instance them.
const char kMaterials[] =
    "<library_effects>"
    "<effect id=\"red-fx\" name=\"Red\"><profile_COMMON><technique sid=\"t\"><phong>"
    "<diffuse><color>1 0 0 1</color></diffuse></phong></technique></profile_COMMON></effect>"
    "<effect id=\"blue-fx\"><profile_COMMON><technique sid=\"t\"><phong>"
    "<diffuse><color>0 0 1 1</color></diffuse></phong></technique></profile_COMMON></effect>"
    "</library_effects>"
    "<library_materials>"
    "<material id=\"red-mat\" name=\"red\"><instance_effect url=\"#red-fx\"/></material>"
    "<material id=\"blue-mat\"><instance_effect url=\"#blue-fx\"/></material>"
    "</library_materials>";

// A geometry of one triangle for each symbol given, in its own <triangles>.
std::string geometry(const std::string& opening, const std::vector<std::string>& symbols) {
    std::string text = opening +
                       "<mesh><source id=\"p\"><float_array count=\"9\">0 0 0 1 0 0 0 1 0"
                       "</float_array><technique_common><accessor count=\"3\" stride=\"3\">"
                       "<param name=\"X\" type=\"float\"/><param name=\"Y\" type=\"float\"/>"
                       "<param name=\"Z\" type=\"float\"/></accessor></technique_common></source>"
                       "<vertices id=\"v\"><input semantic=\"POSITION\" source=\"#p\"/></vertices>";
    for (const std::string& symbol : symbols) {
        text += "<triangles count=\"1\" material=\"" + symbol +
                "\"><input semantic=\"VERTEX\" source=\"#v\" offset=\"0\"/><p>0 1 2</p>"
                "</triangles>";
    }
    return text + "</mesh></geometry>";
}

// An <instance_geometry> of url binding each symbol to its target.
std::string placing(const std::string& url,
                    const std::vector<std::pair<std::string, std::string>>& bindings) {
    std::string text = "<instance_geometry url=\"" + url + "\">";
    if (!bindings.empty()) {
        text += "<bind_material><technique_common>";
        for (const auto& [symbol, target] : bindings) {
            text += "<instance_material symbol=\"" + symbol + "\" target=\"" + target +
                    "\">"
                    "<bind_vertex_input semantic=\"UV\" input_semantic=\"TEXCOORD\"/>"
                    "</instance_material>";
        }
        text += "</technique_common></bind_material>";
    }
    return text + "</instance_geometry>";
}

std::string document(const std::string& geometries, const std::string& scenes,
                     const std::string& scene = "") {
    return std::string("<?xml version=\"1.0\"?><COLLADA version=\"1.4.1\">") + kMaterials +
           "<library_geometries>" + geometries + "</library_geometries><library_visual_scenes>" +
           scenes + "</library_visual_scenes>" + scene + "</COLLADA>\n";
}

PwnFile convert(const std::string& text, MeshwrightRun& run) {
    run = ConvertTextWithShippedRules("model.dae", text);
    EXPECT_EQ(run.status, 0) << run.out;
    return run.status == 0 ? ReadOutput(run) : PwnFile{};
}

// The name and diffuse red and blue of the material of the mesh named mesh
// ("none" for a mesh without one).
std::string materialOf(const PwnFile& file, const std::string& mesh) {
    for (const PwnMesh& m : file.meshes) {
        if (m.name != mesh) {
            continue;
        }
        if (!m.material || *m.material >= file.materials.size()) {
            return "none";
        }
        const PwnMaterial& material = file.materials[*m.material];
        return material.name + " " + std::to_string(int(material.diffuse[0])) + " " +
               std::to_string(int(material.diffuse[2]));
    }
    return "no mesh " + mesh;
}

std::vector<std::string> meshNames(const PwnFile& file) {
    std::vector<std::string> names;
    for (const PwnMesh& m : file.meshes) {
        names.push_back(m.name);
    }
    return names;
}

TEST(DaeBinding, EachPlacementTakesTheMaterialItsBindingNames) {
    std::string geometries = geometry("<geometry id=\"g\" name=\"Two\">", {"symA", "symB"}) +
                             geometry("<geometry id=\"d\" name=\"Direct\">", {"Red"});
    std::string scenes = "<visual_scene id=\"s\">"
                         "<node id=\"n1\" name=\"First\">" +
                         placing("#g", {{"symA", "#red-mat"}, {"symB", "#blue-mat"}}) +
                         "</node><node id=\"n2\" name=\"Second\"><translate>0 5 0</translate>" +
                         placing("#g", {{"symA", "#blue-mat"}, {"symB", "#red-mat"}}) +
                         "</node><node id=\"n3\" name=\"Third\">" + placing("#d", {}) + "</node>" +
                         "<node id=\"n4\" name=\"Fourth\">" +
                         placing("#g", {{"symA", "#nothing"}}) + "</node><node name=\"Fifth\">" +
                         placing("#g", {{"symA", "#blue-fx"}, {"symB", "#red-mat"}}) +
                         "</node></visual_scene>";
    MeshwrightRun run;
    PwnFile file = convert(document(geometries, scenes), run);
    ASSERT_EQ(file.materials.size(), 2u);
    struct Case {
        const char* mesh;
        const char* material;
    } cases[] = {
        {"Two", "Red 1 0"},       {"Two.2", "blue-fx 0 1"}, // First's binding
        {"Two@2", "blue-fx 0 1"}, {"Two.2@2", "Red 1 0"},   // Second's, on its own copy
        {"Direct", "Red 1 0"},                              // a symbol naming a material
        {"Two@3", "none"},        {"Two.2@3", "none"},      // bindings that name nothing
        {"Two@4", "blue-fx 0 1"}, {"Two.2@4", "Red 1 0"},   // a target naming an effect
    };
    for (const Case& c : cases) {
        EXPECT_EQ(materialOf(file, c.mesh), c.material) << c.mesh;
    }
    ASSERT_EQ(file.nodes.size(), 5u);
    EXPECT_EQ(file.meshes[file.nodes[1].mesh].name, "Two@2");
    EXPECT_FLOAT_EQ(file.nodes[1].translation[1], 5);
    EXPECT_TRUE(Printed(run, "Warning: node Fourth: <instance_material symbol=\"symA\" "
                             "target=\"#nothing\"> names no material of the document\n"))
        << run.out;
    EXPECT_TRUE(Printed(run, "Warning: mesh Two@3 has no material (none is named \"symA\")\n"))
        << run.out;
    EXPECT_FALSE(Printed(run, "Warning: mesh Two has")) << run.out;
}

// A node of <library_nodes> keeps its bindings in every copy.
TEST(DaeBinding, CopiesOfALibraryNodeKeepItsBindings) {
    std::string text =
        document(geometry("<geometry id=\"g\" name=\"Two\">", {"symA"}),
                 "<visual_scene id=\"s\"><node name=\"a\"><instance_node url=\"#lib\"/></node>"
                 "<node name=\"b\"><instance_node url=\"#lib\"/></node></visual_scene>");
    text.replace(text.find("<library_visual_scenes>"), 0,
                 "<library_nodes><node id=\"lib\" name=\"Lib\">" +
                     placing("#g", {{"symA", "#blue-mat"}}) + "</node></library_nodes>");
    MeshwrightRun run;
    PwnFile file = convert(text, run);
    EXPECT_EQ(meshNames(file), (std::vector<std::string>{"Two", "Two@2"}));
    EXPECT_EQ(materialOf(file, "Two"), "blue-fx 0 1");
    EXPECT_EQ(materialOf(file, "Two@2"), "blue-fx 0 1");
    EXPECT_FALSE(Printed(run, "Warning")) << run.out;
}

TEST(DaeBinding, GeometriesAndNodesAreNamedByTheirOwnElement) {
    // Two geometries without a name hold a <param name="X">; a third has
    // neither name nor id and is placed by no node.
    std::string geometries =
        geometry("<geometry id=\"ID5\">", {"Red"}) + geometry("<geometry id=\"ID14\">", {"Red"}) +
        geometry("<geometry>", {"Red"}) + geometry("<geometry id=\"g1\" name=\"Tri2\">", {"Red"});
    std::string scenes = "<visual_scene id=\"s\">"
                         "<node id=\"k\" name=\"Cone\">" +
                         placing("#ID5", {}) + "</node><node id=\"k2\">" + placing("#ID14", {}) +
                         "</node><node id=\"grp\"><translate>0 0 7</translate>"
                         "<node id=\"c\" name=\"Tri2\">" +
                         placing("#g1", {}) + "</node></node></visual_scene>";
    MeshwrightRun run;
    PwnFile file = convert(document(geometries, scenes), run);
    EXPECT_EQ(meshNames(file), (std::vector<std::string>{"ID5", "ID14", "geometry1", "Tri2"}))
        << "no mesh named X; no copy Tri2@2 for the group";
    ASSERT_EQ(file.nodes.size(), 3u);
    EXPECT_EQ(file.meshes[file.nodes[2].mesh].name, "Tri2");
    EXPECT_FLOAT_EQ(file.nodes[2].translation[2], 7) << "the group's transform handed on";
    EXPECT_TRUE(Printed(run, "Warning: mesh geometry1 is placed by no node\n")) << run.out;
}

struct SceneCase {
    const char* scene; // the <scene> element, if any
    std::vector<std::string> placed;
    const char* warning;
};

TEST(DaeBinding, OnlyTheSceneThatSceneInstancesIsPlaced) {
    std::string geometries = geometry("<geometry id=\"g1\" name=\"One\">", {"Red"}) +
                             geometry("<geometry id=\"g2\" name=\"Two\">", {"Red"});
    std::string scenes = "<visual_scene id=\"vs1\"><node name=\"a\">" + placing("#g1", {}) +
                         "</node></visual_scene><visual_scene id=\"vs2\"><node name=\"b\">" +
                         placing("#g2", {}) + "<node name=\"c\">" + placing("#g1", {}) +
                         "</node></node></visual_scene>";
    const SceneCase cases[] = {
        {"<scene><instance_visual_scene url=\"#vs2\"/></scene>", {"Two", "One"}, nullptr},
        {"<scene>\n  <instance_visual_scene url=\"#vs1\"></instance_visual_scene>\n</scene>",
         {"One"},
         nullptr},
        {"", {"One", "Two", "One@2"}, nullptr}, // without <scene>, as before: every scene
        {"<scene><instance_visual_scene url=\"#vs9\"/></scene>",
         {"One", "Two", "One@2"},
         "Warning: <instance_visual_scene url=\"#vs9\"> names no visual scene of the document; "
         "every visual scene was placed\n"},
    };
    for (const SceneCase& c : cases) {
        SCOPED_TRACE(c.scene);
        MeshwrightRun run;
        PwnFile file = convert(document(geometries, scenes, c.scene), run);
        std::vector<std::string> placed;
        for (const PwnNode& node : file.nodes) {
            placed.push_back(file.meshes[node.mesh].name);
            for (const PwnNode& child : node.children) {
                placed.push_back(file.meshes[child.mesh].name);
            }
        }
        EXPECT_EQ(placed, c.placed);
        if (c.warning != nullptr) {
            EXPECT_TRUE(Printed(run, c.warning)) << run.out;
        }
    }
}

// Debian's assimp test models (assimp-testmodels), as exporters wrote them.
const char kAssimpModels[] = "/usr/share/assimp/models/Collada/";

bool haveAssimpModels() {
    struct stat info;
    return stat(kAssimpModels, &info) == 0;
}

struct ModelCase {
    const char* file;
    std::vector<std::pair<std::string, std::string>> meshes; // name, material
};

TEST(DaeBinding, ExportersModelsArriveWithTheirMaterialsAndNames) {
    if (!haveAssimpModels()) {
        GTEST_SKIP() << "no " << kAssimpModels << " (install assimp-testmodels)";
    }
    const ModelCase cases[] = {
        {"duck_triangulate.dae", {{"LOD3spShape", "blinn3-fx"}}},
        {"regr01.dae",
         {{"Skal_proccesed-Geometry", "Mur-fx"},
          {"Skal_proccesed-Geometry.2", "Vindue-fx"},
          {"Skal_proccesed-Geometry.3", "Doer-fx"},
          {"Skal_proccesed-Geometry.4", "Tag-fx"},
          {"Skal_proccesed-Geometry.5", "Fundament-fx"},
          {"Skal_proccesed-Geometry.6", "Vindskede-fx"}}},
        {"Cinema4D.dae", {{"ID5", "ID2"}, {"ID14", "ID2"}, {"ID23", "ID2"}}},
    };
    for (const ModelCase& c : cases) {
        SCOPED_TRACE(c.file);
        MeshwrightRun run = ConvertWithShippedRules(std::string(kAssimpModels) + c.file);
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_FALSE(Printed(run, "has no material")) << run.out;
        PwnFile file = ReadOutput(run);
        ASSERT_EQ(file.meshes.size(), c.meshes.size());
        for (std::size_t i = 0; i < c.meshes.size(); ++i) {
            const PwnMesh& mesh = file.meshes[i];
            EXPECT_EQ(mesh.name, c.meshes[i].first);
            ASSERT_TRUE(mesh.material) << mesh.name;
            ASSERT_LT(*mesh.material, file.materials.size());
            EXPECT_EQ(file.materials[*mesh.material].name, c.meshes[i].second);
        }
    }
}

// The values that arrive with the bound materials.
TEST(DaeBinding, ExportersMaterialValuesArrive) {
    if (!haveAssimpModels()) {
        GTEST_SKIP() << "no " << kAssimpModels << " (install assimp-testmodels)";
    }
    MeshwrightRun run = ConvertWithShippedRules(std::string(kAssimpModels) + "regr01.dae");
    ASSERT_EQ(run.status, 0) << run.out;
    PwnFile file = ReadOutput(run);
    ASSERT_EQ(file.meshes.size(), 6u);
    ASSERT_TRUE(file.meshes[1].material);
    const PwnMaterial& vindue = file.materials[*file.meshes[1].material];
    EXPECT_EQ(vindue.name, "Vindue-fx");
    const float ambient[3] = {0.3f, 0.35f, 0.4f};
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(vindue.ambient[i], ambient[i]);
    }
    EXPECT_FLOAT_EQ(vindue.shininess, 0.25f);

    run = ConvertWithShippedRules(std::string(kAssimpModels) + "duck_triangulate.dae");
    ASSERT_EQ(run.status, 0) << run.out;
    file = ReadOutput(run);
    ASSERT_EQ(file.meshes.size(), 1u);
    ASSERT_TRUE(file.meshes[0].material);
    const PwnMaterial& blinn = file.materials[*file.meshes[0].material];
    EXPECT_FLOAT_EQ(blinn.shininess, 0.3f);
}

} // namespace
