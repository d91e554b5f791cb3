// COLLADA documents in every well-formed form of XML, with the shipped
// "rules.txt": comments, CDATA sections and processing instructions hold no
// tags, "<x .../>" is an element without content, attribute values stand in
// either quote with blanks allowed around '=', references are read as the
// characters they stand for, and no node of them is lost. A document that
// does not close in order, or that needs an entity XML does not define, is
// refused by name and line, the old output kept; one nested too deeply is
// refused within a small bound of memory.
#include "shipped.h"
#include "tools/converter/ruleengine.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

// A triangle geometry; the mesh section is given whole or built from the
// corners' positions.
std::string geometry(const std::string& id, const std::string& name, const std::string& mesh) {
    return "<geometry id=\"" + id + "\" name=\"" + name + "\"><mesh>" + mesh +
           "</mesh></geometry>\n";
}

std::string triangleMesh(const std::string& id, const std::string& positions) {
    return "<source id=\"" + id + "-pos\"><float_array id=\"" + id + "-arr\" count=\"9\">" +
           positions + "</float_array><technique_common><accessor source=\"#" + id +
           "-arr\" count=\"3\" stride=\"3\"/></technique_common></source>"
           "<vertices id=\"" +
           id + "-vtx\"><input semantic=\"POSITION\" source=\"#" + id +
           "-pos\"/></vertices><triangles material=\"grey\" count=\"1\"><input "
           "semantic=\"VERTEX\" source=\"#" +
           id + "-vtx\" offset=\"0\"/><p>0 1 2</p></triangles>";
}

// A document of three geometries, MeshA, MeshB and MeshC (ids gA, gB, gC),
// whose first mesh section is meshA, and a visual scene of the given nodes.
std::string document(const std::string& nodes,
                     const std::string& meshA = triangleMesh("gA", "0 0 0 1 0 0 0 1 0")) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n"
           "<library_effects><effect id=\"grey\" name=\"grey\"><profile_COMMON><technique "
           "sid=\"common\"><phong><diffuse><color>0.5 0.5 0.5 1</color></diffuse></phong>"
           "</technique></profile_COMMON></effect></library_effects>\n"
           "<library_geometries>\n" +
           geometry("gA", "MeshA", meshA) +
           geometry("gB", "MeshB", triangleMesh("gB", "0 0 1 1 0 1 0 1 1")) +
           geometry("gC", "MeshC", triangleMesh("gC", "0 0 2 1 0 2 0 1 2")) +
           "</library_geometries>\n<library_visual_scenes><visual_scene id=\"scene\">\n" + nodes +
           "\n</visual_scene></library_visual_scenes>\n"
           "<scene><instance_visual_scene url=\"#scene\"/></scene>\n</COLLADA>\n";
}

// The nodes of a file as "mesh(x,y,z)", each followed by its children in
// brackets, in file order.
std::string placements(const PwnFile& file, const std::vector<PwnNode>& nodes) {
    std::string out;
    for (const PwnNode& node : nodes) {
        char where[96];
        std::snprintf(where, sizeof where, "(%g,%g,%g)", node.translation[0], node.translation[1],
                      node.translation[2]);
        out += (out.empty() ? "" : " ") +
               (node.mesh < file.meshes.size() ? file.meshes[node.mesh].name : "?") + where;
        if (!node.children.empty()) {
            out += "[" + placements(file, node.children) + "]";
        }
    }
    return out;
}

TEST(DaeXml, EveryWellFormedNodeIsPlaced) {
    const char* kNodeA = "<instance_geometry url=\"#gA\"/>";
    const char* kNodeB = "<node id=\"nb\" name=\"NB\"><instance_geometry url=\"#gB\"/></node>";
    struct Case {
        const char* what;
        std::string nodes;
        const char* placed;
    } cases[] = {
        {"a comment inside a node",
         "<node id=\"n1\" name=\"N1\"><translate>1 0 0</translate>" + std::string(kNodeA) +
             "</node><node id=\"n2\" name=\"N2\"><!-- x --><translate>0 9 0</translate>"
             "<instance_geometry url=\"#gB\"/></node>",
         "MeshA(1,0,0) MeshB(0,9,0)"},
        {"a comment that holds tags",
         "<node id=\"n1\" name=\"N1\"><!-- <node id=\"old\" name=\"Old\"><instance_geometry "
         "url=\"#gC\"/></node> --><instance_geometry url=\"#gA\"/></node>" +
             std::string(kNodeB),
         "MeshA(0,0,0) MeshB(0,0,0)"},
        {"an empty element inside a node",
         "<node id=\"n2\" name=\"N2\">" + std::string(kNodeA) +
             "<node id=\"cam\" name=\"Cam\"/></node><node id=\"n3\" name=\"N3\"><translate>0 "
             "0 3</translate><instance_geometry url=\"#gB\"/></node>",
         "MeshA(0,0,0) MeshB(0,0,3)"},
        {"an empty element before a node inside",
         "<node id=\"p\" name=\"P\">" + std::string(kNodeA) +
             "<instance_light url=\"#l\"/><node id=\"c\" name=\"C\"><translate>0 2 "
             "0</translate><instance_geometry url=\"#gB\"/></node></node>",
         "MeshA(0,0,0)[MeshB(0,2,0)]"},
        {"CDATA inside a node",
         "<node id=\"n1\" name=\"N1\"><![CDATA[ <node id=\"x\"> a<b ]]><translate>2 0 "
         "0</translate>" +
             std::string(kNodeA) + "</node>" + kNodeB,
         "MeshA(2,0,0) MeshB(0,0,0)"},
        {"a processing instruction inside a node",
         "<node id=\"n1\" name=\"N1\"><?app <node id=\"x\"> ?>" + std::string(kNodeA) + "</node>" +
             kNodeB,
         "MeshA(0,0,0) MeshB(0,0,0)"},
        {"attributes in single quotes",
         "<node id='n1' name='N1'><translate>1 2 3</translate><instance_geometry "
         "url='#gA'/></node><node id='n2' name='MeshC'><translate>0 5 0</translate></node>",
         "MeshA(1,2,3) MeshC(0,5,0)"},
        {"blanks around '='",
         "<node id = \"n1\" name =\n\"N1\"><instance_geometry url\t=\t\"#gB\"/></node>"
         "<node id=\"n2\" name= 'MeshC'><translate>0 5 0</translate></node>",
         "MeshB(0,0,0) MeshC(0,5,0)"},
        {"\"/>\" inside an attribute value",
         "<node id=\"n1\" name=\"a/>b\"><translate>0 1 0</translate>" + std::string(kNodeA) +
             "</node>" + kNodeB,
         "MeshA(0,1,0) MeshB(0,0,0)"},
        {"'>' and '<' inside attribute values",
         "<node id=\"n1\" name=\"a>b\" sid='c<d'><translate>0 1 0</translate>" +
             std::string(kNodeA) + "</node>" + kNodeB,
         "MeshA(0,1,0) MeshB(0,0,0)"},
        {"a node right after a bare <node>",
         "<node><node id=\"c\" name=\"Nc\"><translate>4 0 0</translate><instance_geometry "
         "url=\"#gC\"/></node></node>",
         "MeshC(4,0,0)"},
        {"a comment and CDATA among the numbers",
         "<node id=\"n1\" name=\"N1\"><translate>1 <!-- 7 --> 2 3</translate>" +
             std::string(kNodeA) +
             "</node><node id=\"n2\" name=\"N2\"><translate><![CDATA[4 5 6]]></translate>"
             "<instance_geometry url=\"#gB\"/></node>",
         "MeshA(1,2,3) MeshB(4,5,6)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeshwrightRun run = ConvertTextWithShippedRules("model.dae", document(c.nodes));
        EXPECT_EQ(run.status, 0) << run.out;
        PwnFile file = run.status == 0 ? ReadOutput(run) : PwnFile{};
        EXPECT_EQ(placements(file, file.nodes), c.placed);
        EXPECT_FALSE(Printed(run, "Couldn't find attribute")) << run.out;
    }
}

// The same forms inside a mesh: its sources, inputs and index list.
TEST(DaeXml, EveryWellFormedMeshIsRead) {
    const std::string kPositions = "0 0 0 1 0 0 0 1 0";
    const std::string kSource = "<source id=\"gA-pos\"><float_array id=\"gA-arr\" count=\"9\">" +
                                kPositions +
                                "</float_array><technique_common><accessor source=\"#gA-arr\" "
                                "count=\"3\" stride=\"3\"/></technique_common></source>";
    const std::string kVertices = "<vertices id=\"gA-vtx\"><input semantic=\"POSITION\" "
                                  "source=\"#gA-pos\"/></vertices>";
    struct Case {
        const char* what;
        std::string mesh;
    } cases[] = {
        {"a comment that holds a source, an input and an index list",
         "<!-- <source id=\"gA-pos\"/> -->" + kSource + kVertices +
             "<triangles material=\"grey\" count=\"1\"><!-- <input semantic=\"NORMAL\" "
             "source=\"#none\" offset=\"0\"/><p>7 7 7</p> --><input semantic=\"VERTEX\" "
             "source=\"#gA-vtx\" offset=\"0\"/><p>0 1 2</p></triangles>"},
        {"attributes in single quotes and with blanks around '='",
         kSource + "<vertices id='gA-vtx'><input semantic = 'POSITION' source= \"#gA-pos\"/>"
                   "</vertices><triangles material='grey' count = '1'><input semantic='VERTEX' "
                   "source='#gA-vtx' offset='0'/><p>0 1 2</p></triangles>"},
        {"CDATA and comments among the numbers",
         "<source id=\"gA-pos\"><float_array id=\"gA-arr\" count=\"9\"><![CDATA[0 0 0 1 0 "
         "0]]> <!-- 5 5 5 --> 0 1 0</float_array><technique_common><accessor "
         "source=\"#gA-arr\" count=\"3\" stride=\"3\"/></technique_common></source>" +
             kVertices +
             "<triangles material=\"grey\" count=\"1\"><input semantic=\"VERTEX\" "
             "source=\"#gA-vtx\" offset=\"0\"/><p>0<?pi 9?> 1 <![CDATA[2]]></p></triangles>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeshwrightRun run = ConvertTextWithShippedRules(
            "model.dae",
            document("<node id=\"n\" name=\"N\"><instance_geometry url=\"#gA\"/></node>", c.mesh));
        EXPECT_EQ(run.status, 0) << run.out;
        PwnFile file = run.status == 0 ? ReadOutput(run) : PwnFile{};
        if (file.meshes.empty()) {
            ADD_FAILURE() << "no mesh was written";
            continue;
        }
        const PwnMesh& mesh = file.meshes[0];
        EXPECT_EQ(mesh.name, "MeshA");
        EXPECT_EQ(mesh.material, std::optional<uint32_t>(0));
        EXPECT_EQ(mesh.vertices, (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0}));
        EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2}));
        EXPECT_EQ(placements(file, file.nodes), "MeshA(0,0,0)");
    }
}

const char kPlacedA[] = "<node id=\"n1\" name=\"N1\"><instance_geometry url=\"#gA\"/></node>";
const std::string kRead = "Rules successfully read\n";
const char kOld[] = "the good model of before";

// Converts text, named name, over an earlier "out.pwn"; the run must fail and
// leave that file as it was. Gives what it printed.
std::string refusedOverAnOldOutput(const std::string& name, const std::string& text) {
    std::string dir = MakeScratchDir();
    WriteText(dir + "/rules.txt", ReadFileText(SHIPPED_RULES));
    WriteText(dir + "/" + name, text);
    WriteText(dir + "/out.pwn", kOld);
    MeshwrightRun run = RunMeshwright({name, "out.pwn"}, dir);
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_EQ(ReadFileText(dir + "/out.pwn"), kOld);
    EXPECT_EQ(DirectoryNames(dir),
              (std::set<std::string>{"debug.txt", name, "out.pwn", "rules.txt", "stdout.txt"}));
    return run.out;
}

// A document refused with what it prints after the rules are read.
struct Refusal {
    const char* what;
    std::string text;
    std::string printed;
};

void expectRefusals(const std::vector<Refusal>& refusals) {
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(refusedOverAnOldOutput("model.dae", r.text), kRead + r.printed);
    }
}

// The document's nodes stand on line 10 (the visual scene's on line 9).
TEST(DaeXml, ADocumentCutShortOrOutOfOrderIsRefusedKeepingTheOldOutput) {
    const std::string kCut = " is closed: it may be cut short\n";
    const std::string kOpen = ", the element open there\n";
    std::string whole = document(kPlacedA);
    expectRefusals({
        {"without its last 11 bytes (</COLLADA> and the line end)",
         whole.substr(0, whole.size() - 11), "The document ends before <COLLADA> of line 2" + kCut},
        {"cut inside the numbers of an array", whole.substr(0, whole.find("1 0 1 0 1 1")),
         "The document ends before <float_array> of line 6" + kCut},
        {"cut inside a tag", whole.substr(0, whole.find("url=\"#gA\"") + 5),
         "The value of the attribute url of <instance_geometry> on line 10 never ends\n"},
        {"cut after the XML declaration", whole.substr(0, whole.find('\n') + 1),
         "The document ends before its first element: it may be cut short\n"},
        {"an element left open",
         document("<node id=\"n1\" name=\"N1\"><instance_geometry url=\"#gA\"></node>"),
         "The end tag </node> on line 10 does not close <instance_geometry> of line 10" + kOpen},
        {"one end tag too many", document(kPlacedA + std::string("</node>")),
         "The end tag </node> on line 10 does not close <visual_scene> of line 9" + kOpen},
        {"an end tag after the document", whole + "</COLLADA>\n",
         "The end tag </COLLADA> on line 14 closes no open element\n"},
        {"a comment that never ends", document("<!-- " + std::string(kPlacedA)),
         "The comment that begins on line 10 never ends\n"},
        {"a CDATA section that never ends",
         document("<node id=\"n1\" name=\"N1\"><translate><![CDATA[1 2 3</translate></node>"),
         "The CDATA section that begins on line 10 never ends\n"},
        {"a tag that never ends", document("<node id=\"n1\" name=\"N1\""),
         "The tag <node> on line 10 does not end with '>'\n"},
        {"an attribute value that never ends",
         document("<node id=\"n1\" name='N1><instance_geometry url=\"#gA\"/></node>"),
         "The value of the attribute name of <node> on line 10 never ends\n"},
    });
    const std::string duck = "/usr/share/assimp/models/Collada/duck_triangulate.dae";
    if (!std::filesystem::exists(duck)) {
        GTEST_SKIP() << "needs the package assimp-testmodels for " << duck;
    }
    std::string text = ReadFileText(duck);
    ASSERT_EQ(text.substr(text.size() - 11), "</COLLADA>\n");
    EXPECT_EQ(refusedOverAnOldOutput("duck.dae", text.substr(0, text.size() - 11)),
              kRead + "The document ends before <COLLADA> of line 2" + kCut);
}

// Wherever a document is cut, what is left does not close: every cut from
// its first byte to the end of </COLLADA> is refused, the whole is not.
TEST(DaeXml, EveryCutOfADocumentIsRefused) {
    std::string whole =
        document("<node id=\"n1\" name=\"N1\"><!-- a 'note' --><translate>1 2 3</translate>"
                 "<instance_geometry url=\"#gA\"><bind_material><technique_common>"
                 "<instance_material symbol=\"grey\" target=\"#grey\"/></technique_common>"
                 "</bind_material></instance_geometry><node name='Inner'><![CDATA[x]]>"
                 "<instance_geometry url=\"#gB\"/></node></node>");
    std::size_t end = whole.rfind("</COLLADA>") + std::strlen("</COLLADA>");
    for (std::size_t cut = 1; cut < end; ++cut) {
        RuleEngine engine;
        ASSERT_FALSE(readDocument(engine, whole.c_str(), static_cast<i32>(cut)))
            << "cut after " << whole.substr(0, cut);
        ASSERT_EQ(engine.error.substr(0, 4), "The ") << engine.error;
    }
    RuleEngine engine;
    EXPECT_TRUE(readDocument(engine, whole.c_str(), static_cast<i32>(end))) << engine.error;
}

// References in attribute values and in element lists are read as the
// characters they stand for: a name, the id that a url names, the numbers
// of an array and of an index list.
TEST(DaeXml, ReferencesAreReadAsTheCharactersTheyStandFor) {
    std::string special = "<source id=\"gA-pos\"><float_array id=\"gA-arr\" count=\"9\">0 0 0 "
                          "&#49; 0 0 0 &#x31;&#46;5 0</float_array><technique_common><accessor "
                          "source=\"#gA-arr\" count=\"3\" stride=\"3\"/></technique_common>"
                          "</source><vertices id=\"gA-vtx\"><input semantic=\"POSITION\" "
                          "source=\"#gA&#45;pos\"/></vertices><triangles material=\"grey\" "
                          "count=\"1\"><input semantic=\"VERTEX\" source=\"#gA-vtx\" "
                          "offset=\"0\"/><p>0 &#49; 2</p></triangles>";
    std::string text = document("<node id=\"n1\" name=\"N1\"><instance_geometry url=\"#gA\"/>"
                                "</node><node id=\"n2\" name=\"N2\"><translate>0 &#x35; "
                                "0</translate><instance_geometry url=\"#g&#38;1\"/></node>",
                                special);
    text.replace(text.find("id=\"gA\" name=\"MeshA\""), 20,
                 "id=\"gA\" name=\"&quot;&amp;&lt;box&gt;&amp;&quot;\"");
    text.replace(text.find("id=\"gB\""), 7, "id=\"g&amp;1\"");
    MeshwrightRun run = ConvertTextWithShippedRules("model.dae", text);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_FALSE(Printed(run, "No number found")) << run.out;
    PwnFile file = ReadOutput(run);
    ASSERT_EQ(file.meshes.size(), 3u);
    EXPECT_EQ(file.meshes[0].name, "\"&<box>&\"");
    EXPECT_EQ(file.meshes[0].vertices, (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1.5f, 0}));
    EXPECT_EQ(file.meshes[0].indices, (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_EQ(placements(file, file.nodes), "\"&<box>&\"(0,0,0) MeshB(0,5,0)");
}

// An entity that the document declares, or one XML does not define, is
// refused by its name and line, however the document defines it (a billion
// laughs are never laughed); so is a reference to no character.
TEST(DaeXml, EntitiesXmlDoesNotDefineAreRefusedByName) {
    std::string laughs = "<!DOCTYPE COLLADA [\n<!ENTITY lol \"lol\">\n";
    for (int i = 1; i <= 9; ++i) {
        std::string n = std::to_string(i), before = i == 1 ? "" : std::to_string(i - 1);
        laughs += "<!ENTITY lol" + n + " \"";
        for (int k = 0; k < 10; ++k) {
            laughs += "&lol" + before + ";";
        }
        laughs += "\">\n";
    }
    laughs += "]>\n";
    std::string declared = document("<node id=\"n1\" name=\"&lol9;\"><instance_geometry "
                                    "url=\"#gA\"/></node>");
    declared.insert(declared.find('\n') + 1, laughs);
    const std::string kOwn = " is declared by the document, and Meshwright reads no entity but "
                             "XML's own (&amp; &lt; &gt; &quot; &apos;): write the text it stands "
                             "for in its place\n";
    expectRefusals({
        {"a billion laughs", declared, "The entity &lol9; on line 22" + kOwn},
        {"an entity of HTML's in a name",
         document("<node id=\"n1\" name=\"a&nbsp;b\"><instance_geometry url=\"#gA\"/></node>"),
         "The entity &nbsp; on line 10 is not defined: XML defines &amp; &lt; &gt; &quot; "
         "&apos; only\n"},
        {"an entity among numbers",
         document("<node id=\"n1\" name=\"N1\"><translate>1 &two; 3</translate></node>"),
         "The entity &two; on line 10 is not defined: XML defines &amp; &lt; &gt; &quot; &apos; "
         "only\n"},
        {"a number of no character",
         document("<node id=\"n1\" name=\"N&#xFFFE;\"><instance_geometry url=\"#gA\"/></node>"),
         "The character reference &#xFFFE; on line 10 names no character\n"},
    });
}

// Comments and processing instructions inside a DOCTYPE's [...] part are
// markup like any other: quotes inside them open nothing, and the document
// after them converts as it does without the DOCTYPE.
TEST(DaeXml, ADoctypeMayHoldCommentsAndProcessingInstructions) {
    std::string plain = document(std::string(kPlacedA) + "<node id=\"n2\" name=\"N2\"><translate>0 "
                                                         "1 0</translate><instance_geometry "
                                                         "url=\"#gB\"/></node>");
    MeshwrightRun expected = ConvertTextWithShippedRules("model.dae", plain);
    ASSERT_EQ(expected.status, 0) << expected.out;
    for (const char* doctype :
         {"<!DOCTYPE COLLADA [\n<!-- it's the schema's -->\n<!ELEMENT COLLADA ANY>\n]>\n",
          "<!DOCTYPE COLLADA [ <?note it's ?> <!-- ] > --> <!ENTITY unused \"it's\"> ]>\n",
          "<!DOCTYPE COLLADA SYSTEM \"it's.dtd\" [ <!ATTLIST COLLADA version CDATA '1.4.1'> "
          "]>\n"}) {
        SCOPED_TRACE(doctype);
        std::string text = plain;
        text.insert(text.find('\n') + 1, doctype);
        MeshwrightRun run = ConvertTextWithShippedRules("model.dae", text);
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(run.out, expected.out);
        EXPECT_EQ(ReadFileText(run.path("out.pwn")), ReadFileText(expected.path("out.pwn")));
        EXPECT_EQ(placements(ReadOutput(run), ReadOutput(run).nodes), "MeshA(0,0,0) MeshB(0,1,0)");
    }
}

// 200,000 nested nodes (a document of 2.6 MB) pass the rules' bound on
// nesting: the document is refused with the rules' message, in memory of a
// few times its size (the peak of the largest program the test ran; the
// sanitizers' own memory is left unchecked).
TEST(DaeXml, ADeeplyNestedDocumentIsRefusedInLittleMemory) {
    const int kLevels = 200000;
    std::string nodes;
    for (int i = 0; i < kLevels; ++i) {
        nodes += "<node>";
    }
    for (int i = 0; i < kLevels; ++i) {
        nodes += "</node>";
    }
    std::string text = document(nodes);
    MeshwrightRun run = ConvertTextWithShippedRules("deep.dae", text);
    EXPECT_EQ(run.status, 1);
    const std::string kTooDeep = "The rules nest too deeply\n";
    EXPECT_EQ(run.out.substr(run.out.size() - std::min(run.out.size(), kTooDeep.size())), kTooDeep)
        << run.out.substr(0, 400);
    EXPECT_FALSE(std::filesystem::exists(run.path("out.pwn")));
    rusage usage{};
    ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &usage), 0);
    long limitKb = static_cast<long>(8 * text.size() / 1024) + 16 * 1024;
    if (!kSanitized) {
        EXPECT_LT(usage.ru_maxrss, limitKb);
    }
}

} // namespace
