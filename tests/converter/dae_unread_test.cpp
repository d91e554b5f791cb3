// What a COLLADA document holds that Meshwright does not read, with the
// shipped "rules.txt": a texture as a material's diffuse, the document's up
// axis and unit, and skin controllers. Each is said in one warning, and the
// model is written so that it shows as far as it can.
#include "shipped.h"

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

const std::string kWoodWarning =
    "Warning: material Wood-effect: its diffuse is the image \"textures/wood.png\", which was "
    "left out; the diffuse colour was written white, which the image would modulate";

// Blender's textured material: the texture names a sampler parameter, whose
// <source> names a surface parameter, whose <init_from> names the image,
// which <library_images> (after the effects) gives a file.
TEST(DaeUnread, ATextureAsTheDiffuseIsWrittenWhiteAndWarnedOf) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_blender_textured.dae", run);
    EXPECT_EQ(Warnings(run), (Strings{kZUpWarning, kWoodWarning})) << run.out;
    ASSERT_EQ(file.materials.size(), 2u);
    const PwnMaterial& wood = file.materials[0];
    EXPECT_EQ(wood.name, "Wood-effect");
    EXPECT_EQ(wood.tags, (Strings{"idnt", "diff", "emis"})) << "the other values as before";
    EXPECT_EQ(std::vector<float>(wood.diffuse, wood.diffuse + 3), (std::vector<float>{1, 1, 1}));
    EXPECT_FLOAT_EQ(wood.emissive, 0.25f);
    const PwnMaterial& paint = file.materials[1];
    EXPECT_EQ(paint.name, "Paint-effect");
    EXPECT_FLOAT_EQ(paint.diffuse[0], 0.8f) << "a colour stays as it is";
    EXPECT_FLOAT_EQ(paint.diffuse[1], 0.2f);
    ASSERT_EQ(file.meshes.size(), 1u);
    EXPECT_EQ(file.meshes[0].material, std::optional<uint32_t>(0));
}

// The image is named by its file where the document leads to one, else by
// the texture attribute as written.
TEST(DaeUnread, TheImageIsNamedAsTheDocumentLeadsToIt) {
    const std::string base = ReadFileText(Fixture("dae_blender_textured.dae"));
    const std::string images =
        base.substr(base.find("  <library_images>"),
                    base.find("  <library_materials>") - base.find("  <library_images>"));
    auto leftOut = [](const std::string& kind, const std::string& name) {
        return "Warning: material Wood-effect: its diffuse is the " + kind + " \"" + name +
               "\", which was left out; the diffuse colour was written white, which the " + kind +
               " would modulate";
    };
    struct Case {
        const char* what;
        std::string text;
        std::string warning;
    } cases[] = {
        {"a texture that names the image itself",
         replaced(base, "texture=\"wood_png-sampler\"", "texture=\"wood_png\""), kWoodWarning},
        {"a sampler that names the image (COLLADA 1.5)",
         replaced(base, "<source>wood_png-surface</source>", "<instance_image url=\"#wood_png\"/>"),
         kWoodWarning},
        {"the images before the effects",
         replaced(replaced(base, images, ""), "  <library_effects>",
                  images + "  <library_effects>"),
         kWoodWarning},
        {"a file name with a blank", replaced(base, "textures/wood.png", "my wood.png"),
         leftOut("image", "my wood.png")},
        {"no image of that id", replaced(base, images, ""), leftOut("texture", "wood_png-sampler")},
        {"no parameter of that sid",
         replaced(base, "texture=\"wood_png-sampler\"", "texture=\"lost\""),
         leftOut("texture", "lost")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeshwrightRun run = ConvertTextWithShippedRules("wood.dae", c.text);
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(Warnings(run), (Strings{kZUpWarning, c.warning})) << run.out;
        PwnFile file = ReadOutput(run);
        ASSERT_FALSE(file.materials.empty());
        EXPECT_EQ(std::vector<float>(file.materials[0].diffuse, file.materials[0].diffuse + 3),
                  (std::vector<float>{1, 1, 1}));
    }
}

// The coordinates are written as the document holds them, whatever its
// <asset> says: the same bytes as without one, and one warning that says
// what was not turned or scaled.
TEST(DaeUnread, TheUpAxisAndUnitAreWarnedOfAndTheCoordinatesKept) {
    const std::string base = ReadFileText(Fixture("dae_base.dae"));
    const std::string at = "<COLLADA version=\"1.4.1\">\n";
    MeshwrightRun plain = ConvertWithShippedRules(Fixture("dae_base.dae"));
    ASSERT_EQ(plain.status, 0) << plain.out;
    const std::string kept = "; its coordinates were written as the document holds them, ";
    struct Case {
        const char* asset;
        Strings warnings;
    } cases[] = {
        {"<unit name=\"meter\" meter=\"1\"/><up_axis>Z_UP</up_axis>", {kZUpWarning}},
        {"<up_axis>X_UP</up_axis>",
         {"Warning: the document's up axis is X_UP, not Y_UP" + kept + "not turned Y-up"}},
        {"<unit meter=\"0.0254\" name=\"inch\"/><up_axis>Y_UP</up_axis>",
         {"Warning: the document's unit is 0.0254 metres (inch), not 1 metre" + kept +
          "not scaled to metres"}},
        {"<unit meter=\"0.01\" name=\"centimeter\"/>", {kCentimetreWarning}},
        {"<unit meter=\"0.01\"/><up_axis>\n  Z_UP\n</up_axis>",
         {"Warning: the document's up axis is Z_UP, not Y_UP, and its unit 0.01 metres, not 1 "
          "metre" +
          kept + "neither turned Y-up nor scaled to metres"}},
        {"<unit name=\"meter\" meter=\"1.0\"/><up_axis>Y_UP</up_axis>", {}},
        {"<unit name=\"meter\"/>", {}},
        {"<contributor><author>Blender User</author></contributor>", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asset);
        std::string text = replaced(base, at, at + "<asset>" + c.asset + "</asset>\n");
        MeshwrightRun run = ConvertTextWithShippedRules("model.dae", text);
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(Warnings(run), c.warnings) << run.out;
        EXPECT_EQ(ReadFileText(run.path("out.pwn")), ReadFileText(plain.path("out.pwn")));
    }
}

const std::string kSkinWarning =
    "Warning: mesh Body is placed only by a skin controller, which is not read (node Character: "
    "<instance_controller url=\"#Armature_Character-skin\">); the mesh was written without a node";

// Blender's rigged model: the mesh's node places it through a skin
// controller, inside whose <instance_controller> the material is bound.
TEST(DaeUnread, AMeshPlacedOnlyByASkinIsSaidToBeAndTakesTheSkinsMaterial) {
    MeshwrightRun run;
    PwnFile file = ConvertFixture("dae_blender_skinned.dae", run);
    EXPECT_EQ(Warnings(run), (Strings{kZUpWarning, kSkinWarning})) << run.out;
    ASSERT_EQ(file.materials.size(), 1u);
    ASSERT_EQ(file.meshes.size(), 1u);
    EXPECT_EQ(file.meshes[0].name, "Body");
    EXPECT_EQ(file.meshes[0].material, std::optional<uint32_t>(0))
        << "the symbol Material_009-material, bound inside the <instance_controller>";
    EXPECT_TRUE(file.nodes.empty());
}

TEST(DaeUnread, SkinsInOtherForms) {
    const std::string base = ReadFileText(Fixture("dae_blender_skinned.dae"));
    const std::string morph =
        "<controller id=\"Body-morph\"><morph source=\"#Body-mesh\" method=\"NORMALIZED\">"
        "<targets><input semantic=\"MORPH_TARGET\" source=\"#t\"/></targets></morph></controller>";
    struct Case {
        const char* what;
        std::string text;
        Strings warnings;
        size_t nodes;
    } cases[] = {
        // The node places the mesh of its name, as any node without an
        // <instance_geometry>, with the materials its controller binds.
        {"a node named like the mesh",
         replaced(base, "name=\"Character\"", "name=\"Body\""),
         {kZUpWarning},
         1},
        {"a skin of a morph",
         replaced(replaced(base, "<skin source=\"#Body-mesh\">", "<skin source=\"#Body-morph\">"),
                  "<library_controllers>", "<library_controllers>" + morph),
         {kZUpWarning, kSkinWarning},
         0},
        {"a morph alone",
         replaced(replaced(base, "url=\"#Armature_Character-skin\"", "url=\"#Body-morph\""),
                  "<library_controllers>", "<library_controllers>" + morph),
         {kZUpWarning, "Warning: mesh Body is placed only by a morph controller, which is not read "
                       "(node Character: <instance_controller url=\"#Body-morph\">); the mesh was "
                       "written without a node"},
         0},
        {"a controller the document lacks",
         replaced(base, "url=\"#Armature_Character-skin\"", "url=\"#elsewhere\""),
         {kZUpWarning,
          "Warning: mesh Body has no material (none is named "
          "\"Material_009-material\")",
          "Warning: mesh Body is placed by no node"},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeshwrightRun run = ConvertTextWithShippedRules("rig.dae", c.text);
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(Warnings(run), c.warnings) << run.out;
        PwnFile file = ReadOutput(run);
        ASSERT_EQ(file.meshes.size(), 1u);
        EXPECT_EQ(file.nodes.size(), c.nodes);
        bool bound = c.warnings.size() < 3;
        EXPECT_EQ(file.meshes[0].material, bound ? std::optional<uint32_t>(0) : std::nullopt);
    }
}

} // namespace
