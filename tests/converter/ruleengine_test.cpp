// The COLLADA rule language: the text scans (findTag, findXmlAttribute,
// splitValues), the rule reader, the interpreter and the store it fills.
#include "tools/converter/ruleengine.h"

#include "pwnfile.h"
#include "runner.h"
#include "tools/converter/trace.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace {

struct Scan {
    std::string text;
    RuleEngine engine;

    explicit Scan(std::string t) : text(std::move(t)) {
        setText(engine, text.c_str(), static_cast<i32>(text.size()));
    }
    // The content of the element found, or "<none>".
    std::string tag(const std::string& name, bool direct = false, i32 start = 0) {
        i32 cs = 0, ce = 0;
        if (findTag(engine, name, start, engine.length, &cs, &ce, direct) < 0) {
            return "<none>";
        }
        return text.substr(cs, ce - cs);
    }
};

TEST(FindTag, Table) {
    struct Case {
        const char* text;
        const char* tag;
        bool direct;
        const char* content;
    } cases[] = {
        {"<a>x</a>", "a", false, "x"},
        {"<A>x</a>", "a", false, "x"},                     // case does not count
        {"<a id=\"1\">x</a>", "a", false, "id=\"1\">x"},   // starts inside the attributes
        {"<b><a>in</a></b><a>out</a>", "a", false, "out"}, // the shallowest wins
        {"<b><a>in</a></b>", "a", true, "<none>"},         // direct only at depth 0
        {"<input semantic=\"V\"/>", "input", false, "semantic=\"V\""}, // empty element
        {"<p/>x</p>", "p", false, ""},                                 // empty, without content
        {"<p />", "p", false, ""},
        {"<a><b/><a>1</a></a>", "a", false, "<b/><a>1</a>"}, // an empty element ends
        {"<a n=\"x/>y\">1</a>", "a", false, "n=\"x/>y\">1"}, // "/>" in a value
        {"<a n='x>y'>1</a>", "a", false, "n='x>y'>1"},
        {"<param>1</param>", "p", false, "1"},         // a prefix matches
        {"<a><a>1</a>2</a>", "a", false, "<a>1</a>2"}, // nested openings counted
        {"<?xml v?><a>x</a>", "a", false, "x"},
        {"<!-- <a>c</a> --><a>x</a>", "a", false, "x"}, // comments hold no tags
        {"<![CDATA[<a>c</a>]]><a>x</a>", "a", false, "x"},
        {"<?pi <a>c</a> ?><a>x</a>", "a", false, "x"},
        {"<!DOCTYPE a [<!ELEMENT a ANY>]><b><a>x</a></b>", "a", true, "<none>"},
        {"<b><!-- <c> --><a>x</a></b>", "b", false, "<!-- <c> --><a>x</a>"},
        {"<b>1<!-- </b> -->2</b>", "b", false, "1<!-- </b> -->2"},
        {"<b><c><a>in</a></b><a>out</a>", "a", false, "out"}, // </b> ends <c> too
        {"<a>no end", "a", false, "<none>"},
        {"<b>x</b>", "a", false, "<none>"},
        {"<a", "a", false, "<none>"}, // the text ends inside the tag
        {"", "a", false, "<none>"},
    };
    for (const Case& c : cases) {
        Scan scan(c.text);
        EXPECT_EQ(scan.tag(c.tag, c.direct), c.content) << c.text;
    }
}

TEST(FindTag, LaterSiblingsAreFoundFromThePreviousEnd) {
    Scan scan("<a>1</a><a>2</a>");
    i32 cs = 0, ce = 0;
    ASSERT_GE(findTag(scan.engine, "a", 0, scan.engine.length, &cs, &ce, false), 0);
    EXPECT_EQ(scan.tag("a", false, ce), "2");
    EXPECT_EQ(scan.tag("a", true, ce), "<none>"); // found at depth -1
}

TEST(FindXmlAttribute, Table) {
    struct Case {
        const char* text;
        const char* name;
        const char* value; // null: not found
    } cases[] = {
        {"<a id=\"x\">", "id", "x"},
        {"<a ID=\"x\">", "id", "x"},
        {"<a sid=\"s\" id=\"x\">", "id", "s"},    // suffix matches
        {"<a id = \"x\">", "id", "x"},            // blanks around '='
        {"<a id\n=\t'x'>", "id", "x"},            // single quotes
        {"<a id='x\"y' n=\"1\">", "id", "x\"y"},  // the other quote inside
        {"<a n=\"id='y'\" id=\"x\">", "id", "x"}, // not inside another value
        {"<a>id=\"y\"</a>", "id", nullptr},       // nor in text
        {"<!-- <a id=\"y\"> --><a>", "id", nullptr},
        {"<a id=x>", "id", nullptr},  // a value needs quotes
        {"<a id=\"x", "id", nullptr}, // no closing quote
        {"<a id=\"\">", "id", ""},
        {"<a>", "id", nullptr},
    };
    for (const Case& c : cases) {
        Scan scan(c.text);
        i32 first = 0, last = 0;
        i32 got = findXmlAttribute(scan.engine, c.name, 0, scan.engine.length, &first, &last);
        if (c.value == nullptr) {
            EXPECT_EQ(got, 0) << c.text;
        } else {
            ASSERT_NE(got, 0) << c.text;
            EXPECT_EQ(scan.text.substr(first, last - first), c.value) << c.text;
        }
    }
}

TEST(SplitValues, Table) {
    struct Case {
        const char* text;
        i32 start;
        std::vector<std::string> values;
    } cases[] = {
        {"<p>1 2 3</p>", 3, {"1", "2", "3"}},
        // Runs of blanks of any kind part two values, as exporters indent them.
        {"<p>1  2</p>", 3, {"1", "2"}},
        {"<p>\n  1 2\n</p>", 3, {"1", "2"}},
        {"<p>1\t2\r\n3 </p>", 3, {"1", "2", "3"}},
        {"<p>1 2 3", 3, {"1", "2"}}, // no separator after the last value
        {"<f id=\"x\">4 5</f>", 3, {"4", "5"}},
        {"<f id=\"a>b\">4 5</f>", 3, {"4", "5"}}, // a '>' in a value is no end
        {"<p>1 <!-- 2 --> 3</p>", 3, {"1", "3"}}, // markup parts values
        {"<p>1<!--2-->3 <?x 4?>5</p>", 3, {"1", "3", "5"}},
        {"<p><![CDATA[1 2]]>3</p>", 3, {"1", "2", "3"}}, // CDATA holds text
        {"<p></p>", 3, {}},
        {"no bracket", 0, {}},
    };
    for (const Case& c : cases) {
        Scan scan(c.text);
        std::vector<TextSpan> out;
        i32 end = static_cast<i32>(scan.text.rfind('<'));
        if (end <= c.start) {
            end = scan.engine.length;
        }
        splitValues(scan.engine, out, c.start, end);
        std::vector<std::string> values;
        for (const TextSpan& v : out) {
            values.push_back(scan.text.substr(v.at, v.length));
        }
        EXPECT_EQ(values, c.values) << c.text;
    }
}

TEST(SplitValues, AListOfMoreThanTheCapStopsTheRun) {
    std::string values;
    for (std::size_t i = 0; i < kMaxListValues; ++i) {
        values += "0 ";
    }
    for (int extra : {0, 1}) {
        Scan scan("<p>" + values + std::string(extra ? "0 " : "") + "</p>");
        std::vector<TextSpan> out;
        i32 reached = splitValues(scan.engine, out, 3, static_cast<i32>(scan.text.rfind('<')));
        EXPECT_EQ(reached < 0, extra == 1);
        EXPECT_EQ(scan.engine.error,
                  extra ? "An element list holds more than 1048576 values\n" : "");
        EXPECT_EQ(out.size(), kMaxListValues);
    }
}

// A document must close in order; its first fault is named with the element
// (or the entity) and the line, counting lines ended by "\n", "\r\n" or "\r".
TEST(ReadDocument, TheFirstFaultIsNamedWithItsLine) {
    const std::string kCut = " is closed: it may be cut short\n";
    const std::string kOpen = ", the element open there\n";
    struct Case {
        const char* text;
        std::string fault;
    } cases[] = {
        {"<?xml version=\"1.0\"?>\n<a>\n<b>1</b></a>\n", ""},
        {"<?xml version=\"1.0\"?>\n<a>\n<b>1</b>\n",
         "The document ends before <a> of line 2" + kCut},
        {"<a>\n<b>\n<c/>", "The document ends before <b> of line 2" + kCut},
        {"<a>\r\n<b>\r</a>", "The end tag </a> on line 3 does not close <b> of line 2" + kOpen},
        {"<a>\n</b></a>", "The end tag </b> on line 2 does not close <a> of line 1" + kOpen},
        {"<A></a>", "The end tag </a> on line 1 does not close <A> of line 1" + kOpen},
        {"<a></a>\n</a>", "The end tag </a> on line 2 closes no open element\n"},
        {"<a></a", "The end tag </a> on line 1 does not end with '>'\n"},
        {"<a>\n</", "The end tag </> on line 2 does not end with '>'\n"},
        {"<a>\n<", "The document ends in a '<' on line 2: it may be cut short\n"},
        {"<a>1 < 2</a>", ""}, // a '<' that begins no markup is text
        {"<a>\n<b c=\"1\"", "The tag <b> on line 2 does not end with '>'\n"},
        {"<a><b c=\"1\" <d/></b></a>", "The tag <b> on line 1 does not end with '>'\n"},
        {"<a>\n<b c='1/></a>", "The value of the attribute c of <b> on line 2 never ends\n"},
        {"<a>\n\n<!-- x </a>", "The comment that begins on line 3 never ends\n"},
        {"<a><![CDATA[ </a>", "The CDATA section that begins on line 1 never ends\n"},
        {"<?xml version=\"1.0\"", "The processing instruction that begins on line 1 never ends\n"},
        {"<!DOCTYPE a [<!ELEMENT a ANY>\n<a/>",
         "The declaration <!DOCTYPE that begins on line 1 never ends\n"},
        {"<!DOCTYPE a [<!-- ]>\n<a/>", "The comment that begins on line 1 never ends\n"},
        {"<?xml version=\"1.0\"?>\n", "The document ends before its first element: it may be cut "
                                      "short\n"},
        {"", ""}, // no markup at all is no document, which the rules find nothing in
        {"junk", ""},
        // Comments and processing instructions in a DOCTYPE's [...] part are
        // markup, whose quotes open nothing.
        {"<!DOCTYPE a [<!-- it's ] > --><?pi it's?><!ENTITY e \"it's\">]><a/>", ""},
        // References.
        {"<a b='&lt;&#60;&#x3C;'>&amp;&quot;&apos;&gt;</a>", ""},
        {"<a>AT&T, &amp x, & y, &#; &#xZ;</a>", ""}, // a '&' that begins none stands for itself
        {"<a><!-- &e; --><![CDATA[&e;]]><?pi &e;?></a>", ""}, // markup holds no references
        {"<a>\n<b c=\"&nbsp;\"/></a>",
         "The entity &nbsp; on line 2 is not defined: XML defines &amp; &lt; &gt; &quot; &apos; "
         "only\n"},
        {"<a>x\n&nbsp;</a>", "The entity &nbsp; on line 2 is not defined: XML defines &amp; &lt; "
                             "&gt; &quot; &apos; only\n"},
        {"<!DOCTYPE a [<!ENTITY e \"<a/>\">]><a>&e;</a>",
         "The entity &e; on line 1 is declared by the document, and Meshwright reads no entity "
         "but XML's own (&amp; &lt; &gt; &quot; &apos;): write the text it stands for in its "
         "place\n"},
        {"<a>&#0;</a>", "The character reference &#0; on line 1 names no character\n"},
        {"<a b=\"&#xD800;\"/>", "The character reference &#xD800; on line 1 names no character\n"},
        {"<a>&#1114112;</a>", "The character reference &#1114112; on line 1 names no character\n"},
    };
    for (const Case& c : cases) {
        RuleEngine engine;
        EXPECT_EQ(readDocument(engine, c.text, static_cast<i32>(std::strlen(c.text))),
                  c.fault.empty())
            << c.text;
        EXPECT_EQ(engine.error, c.fault) << c.text;
    }
}

TEST(ParseRules, RefusesProgramsThatCouldNotEnd) {
    const char* bad[] = {
        "tag a",                 // a last word in a command's place
        "tag a attrib id",       // no return after the tag
        "directtag a attrib id", // the same for directtag
        "return a tag a",        // the return stands above
        "frobnicate a",          // unknown command
    };
    for (const char* text : bad) {
        RuleEngine engine;
        EXPECT_FALSE(parseRules(engine, text, std::strlen(text))) << text;
        EXPECT_EQ(engine.error, "Couldn't parse rules\n") << text;
    }
    RuleEngine engine;
    const char good[] = "TAG a\n  ATTRIB id  RETURN A";
    ASSERT_TRUE(parseRules(engine, good, sizeof good - 1));
    ASSERT_EQ(engine.rules.size(), 5u);
    EXPECT_EQ(engine.rules.front().kind, RuleKind::Begin);
    EXPECT_EQ(engine.rules.back().argument, "Hooray!");
}

struct RuleRun {
    RuleEngine engine;
    PwnWriter writer;
    NodeRecord root;
    bool ok = false;

    RuleRun(const std::string& rules, const std::string& text) {
        if (!parseRules(engine, rules.data(), rules.size())) {
            return;
        }
        beginOutput(writer, "/dev/null");
        ok = runRules(engine, text.c_str(), static_cast<i32>(text.size()), writer, root);
        abandonOutput(writer);
    }
};

TEST(RunRules, TagBodyRunsOncePerElementInOrder) {
    RuleRun run("tag item attrib v return item",
                "<l><item v=\"1\"/><item v=\"2\"/><item v=\"3\"/></l>");
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.engine.store.attributes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(run.engine.store.attributes[i]->value, std::to_string(i + 1));
        EXPECT_EQ(run.engine.store.attributes[i]->id, "/item/v");
    }
    EXPECT_EQ(run.engine.store.tags.size(), 3u);
    EXPECT_EQ(run.engine.store.root.children.size(), 3u);
}

// The intervals a rule program's tag rules entered, from the trace.
std::vector<std::pair<i32, i32>> enteredIntervals(const std::string& rules,
                                                  const std::string& text) {
    static const std::string trace = MakeScratchDir() + "/debug.txt";
    traceOpen(trace.c_str());
    RuleRun run(rules, text);
    traceClose();
    std::vector<std::pair<i32, i32>> found;
    std::string log = ReadFileText(trace);
    const char kFound[] = "Tag found. New interval: [";
    for (std::size_t at = log.find(kFound); at != std::string::npos;
         at = log.find(kFound, at + 1)) {
        int cs = 0, ce = 0;
        std::sscanf(log.c_str() + at + sizeof kFound - 1, "%d, %d", &cs, &ce);
        found.push_back({cs, ce});
    }
    return found;
}

// A tag rule searches from each element's content end for the next, as
// findTag does, however odd the text.
TEST(RunRules, TagRulesFindWhatRepeatedSearchesFind) {
    const char* tokens[] = {
        "<a>",    "</a>", "<a/>", "<ab x=\"1\">", "</ab>", "<b>",        "</b>", "<?q?>",
        "/>",     "x",    " ",    "<a",           "<",     "<A>",        "<a<",  "<a</a>",
        "</a</a", "<!--", "-->",  "<![CDATA[",    "]]>",   "<a x='/>'>", "<?q",  "?>",
        "\"",     "'"};
    std::mt19937 random(20);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        for (int n = random() % 24; n > 0; --n) {
            text += tokens[random() % (sizeof tokens / sizeof *tokens)];
        }
        // Names that hold '<' or '/' name no element.
        for (std::string tag : {"a", "a<", "/a"}) {
            for (bool direct : {false, true}) {
                Scan scan(text);
                std::vector<std::pair<i32, i32>> expected;
                i32 cs = 0, ce = 0;
                for (i32 s = 0;
                     findTag(scan.engine, tag, s, scan.engine.length, &cs, &ce, direct) >= 0;
                     s = ce) {
                    expected.push_back({cs, ce});
                }
                std::string rules = (direct ? "directtag " : "tag ") + tag + " return " + tag;
                ASSERT_EQ(enteredIntervals(rules, text), expected) << text << " " << rules;
            }
        }
    }
}

// A directtags rule enters every direct child of its name in document order,
// and none nested deeper, where a directtag rule enters the first only.
TEST(RunRules, DirectTagsEntersEveryDirectChild) {
    const std::string text = "<n id=\"1\"><t>a</t><x/><t>b</t><n><t>deep</t></n><t>c</t></n>";
    for (const char* command : {"directtags", "DirectTags"}) {
        RuleRun run(std::string("tag n ") + command + " t elems v return t return n", text);
        ASSERT_TRUE(run.ok) << command;
        std::vector<std::string> values;
        for (const auto& list : run.engine.store.lists) {
            values.emplace_back(list->value(0));
        }
        EXPECT_EQ(values, (std::vector<std::string>{"a", "b", "c"})) << command;
    }
    RuleRun first("tag n directtag t elems v return t return n", text);
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(first.engine.store.lists.size(), 1u);
}

// Attribute values and element lists read each reference as the character it
// stands for (a number as UTF-8); a value that then holds a blank is two, and
// a CDATA section is text as written.
TEST(RunRules, ReferencesAreReadAsTheCharactersTheyStandFor) {
    RuleRun run("tag a attrib v elems n return a",
                "<a v=\"&lt;&#x3C;&#60;&gt;&quot;&apos;&amp;amp; &#xFC;&#128512; AT&T\">"
                "1&#32;2 &#x33;&#10;4 <![CDATA[&amp;]]> x&amp;y &#49; &amp </a>");
    ASSERT_TRUE(run.ok) << run.engine.error;
    ASSERT_EQ(run.engine.store.attributes.size(), 1u);
    EXPECT_EQ(run.engine.store.attributes[0]->value, "<<<>\"'&amp; \xC3\xBC\xF0\x9F\x98\x80 AT&T");
    ASSERT_EQ(run.engine.store.lists.size(), 1u);
    std::vector<std::string> values;
    const GatheredElements& list = *run.engine.store.lists[0];
    for (std::size_t i = 0; i < list.size(); ++i) {
        values.emplace_back(list.value(i));
    }
    EXPECT_EQ(values, (std::vector<std::string>{"1", "2", "3", "4", "&amp;", "x&y", "1", "&amp"}));
}

TEST(RunRules, MissingAttributeStoresAnEmptyValue) {
    RuleRun run("tag a attrib missing return a", "<a x=\"1\">t</a>");
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.engine.store.attributes.size(), 1u);
    EXPECT_EQ(run.engine.store.attributes[0]->value, "");
}

// optattrib gathers like attrib; an attribute it does not find is an empty
// value (and goes unreported).
TEST(RunRules, OptionalAttributeGathersWhatIsThere) {
    RuleRun run("tag a optattrib offset return a", "<l><a offset=\"2\">x</a><a>y</a></l>");
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.engine.store.attributes.size(), 2u);
    EXPECT_EQ(run.engine.store.attributes[0]->value, "2");
    EXPECT_EQ(run.engine.store.attributes[0]->id, "/a/offset");
    EXPECT_EQ(run.engine.store.attributes[1]->value, "");
}

TEST(RunRules, JumpWithoutLabelBelowStops) {
    RuleRun run("label x jump x", "<a/>");
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.engine.error, "No label to jump to (expected x)\n");
}

TEST(RunRules, UnknownFunctionStops) {
    RuleRun run("func nothing", "<a/>");
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.engine.error, "No such function found (nothing)\n");
}

TEST(RunRules, DeepRecursionStopsWithAMessage) {
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text = "<n>" + text + "</n>";
    }
    RuleRun run("tag n recurse n return n", text);
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.engine.error, "The rules nest too deeply\n");
}

// The node tree as names: "a(b,c(d)),e".
std::string treeOf(const NodeRecord& node) {
    std::string out;
    for (const auto& child : node.children) {
        out += (out.empty() ? "" : ",") + child->name;
        if (!child->children.empty()) {
            out += "(" + treeOf(*child) + ")";
        }
    }
    return out;
}

// No node places a mesh here, so each stands among the roots in document
// order, in place of the node above it.
TEST(RunRules, RecurseEntersTheFirstElementAndRecursesEveryOne) {
    const std::string text =
        "<node name=\"a\"><node name=\"b\"></node><node name=\"c\"><node name=\"d\"><node "
        "name=\"x\"></node></node></node></node><node name=\"e\"></node>";
    struct Case {
        const char* command;
        const char* tree;
    } cases[] = {{"recurse", "a,b,e"}, {"recurses", "a,b,c,d,x,e"}};
    for (const Case& c : cases) {
        RuleRun run(std::string("tag node attrib name func push_node ") + c.command +
                        " node return node",
                    text);
        ASSERT_TRUE(run.ok) << c.command << ": " << run.engine.error;
        EXPECT_EQ(treeOf(run.root), c.tree) << c.command;
    }
    // A node pushed two levels below the last one has no parent.
    RuleRun below("tag node attrib name recurse node func push_node return node", text);
    EXPECT_FALSE(below.ok);
    EXPECT_EQ(below.engine.error, "Error parsing nodes\n");
}

TEST(RunRules, ClearingKeepsRecordsThatRulesStillOwn) {
    // push_node empties the store inside the body of the outer tag rule,
    // which then attaches one more attribute to its record.
    RuleRun run("tag node attrib name func push_node attrib id return node",
                "<node name=\"a\" id=\"1\"></node>");
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.engine.store.attributes.size(), 1u);
    EXPECT_EQ(run.engine.store.attributes[0]->value, "1");
    ASSERT_EQ(run.root.children.size(), 1u);
    EXPECT_EQ(run.root.children[0]->name, "a");
}

// Rebuilds the matrix a node's translation, axis-angle rotation and scale
// stand for (T * R * S), row by row.
std::vector<double> nodeMatrix(const NodeRecord& node) {
    double x = node.rotation[0], y = node.rotation[1], z = node.rotation[2];
    double c = std::cos(node.rotation[3]), s = std::sin(node.rotation[3]), t = 1 - c;
    double r[3][3] = {{t * x * x + c, t * x * y - s * z, t * x * z + s * y},
                      {t * x * y + s * z, t * y * y + c, t * y * z - s * x},
                      {t * x * z - s * y, t * y * z + s * x, t * z * z + c}};
    std::vector<double> m(16, 0.0);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            m[row * 4 + col] = r[row][col] * node.scale[col];
        }
        m[row * 4 + 3] = node.translation[row];
    }
    m[15] = 1;
    return m;
}

TEST(PushNode, AMatrixBecomesTranslationRotationAndScale) {
    const char* matrices[] = {
        "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1",                       // nothing
        "1 0 0 5 0 -1 0 6 0 0 -1 7 0 0 0 1",                     // half a turn about x
        "0 1 0 0 1 0 0 0 0 0 -1 0 0 0 0 1",                      // half a turn about (1, 1, 0)
        "0 -1 0 0 -1 0 0 0 0 0 -1 0 0 0 0 1",                    // half a turn about (1, -1, 0)
        "0 0 2 0 0 2 0 0 -2 0 0 0 0 0 0 1",                      // a quarter about y, scale 2
        "-1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1",                      // a mirror
        "0.36 0.48 -0.8 1 -0.8 0.6 0 2 0.48 0.64 0.6 3 0 0 0 1", // some turn
    };
    for (const char* matrix : matrices) {
        RuleRun run("tag node attrib name directtag matrix elems matrix return matrix "
                    "func push_node return node",
                    "<node name=\"n\"><matrix>" + std::string(matrix) + "</matrix></node>");
        ASSERT_TRUE(run.ok) << matrix;
        ASSERT_EQ(run.root.children.size(), 1u);
        const NodeRecord& node = *run.root.children[0];
        ASSERT_TRUE(node.hasTranslation && node.hasRotation && node.hasScale) << matrix;
        std::vector<double> rebuilt = nodeMatrix(node);
        std::istringstream given(matrix);
        for (int i = 0; i < 16; ++i) {
            double value = 0;
            given >> value;
            EXPECT_NEAR(rebuilt[i], value, 1e-5) << matrix << " element " << i;
        }
    }
}

TEST(StoreQueries, PathsMatchWholeTrailingComponents) {
    RuleRun run(
        "tag geometry attrib name tag triangles attrib count return triangles return geometry",
        "<geometry name=\"g\"><triangles count=\"4\"></triangles></geometry>");
    ASSERT_TRUE(run.ok);
    const GatheredAttribute* name = findGatheredAttribute(run.engine, "geometry/name");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->value, "g");
    EXPECT_EQ(findGatheredAttribute(run.engine, "ometry/name"), nullptr);
    EXPECT_EQ(findGatheredAttribute(run.engine, "x/geometry/name"), nullptr);
    TagRecord* triangles = findGatheredTag(run.engine, "triangles");
    ASSERT_NE(triangles, nullptr);
    ASSERT_NE(childAttribute("count", triangles), nullptr);
    EXPECT_EQ(childAttribute("count", triangles)->value, "4");
    EXPECT_EQ(childTag("triangles", triangles->parent, 0), triangles);
    EXPECT_EQ(childTag("triangles", triangles->parent, 1), nullptr);
}

TEST(StoreQueries, ElementListsAreParsedAsNumbers) {
    const std::string text = "<a>1.5 -2 3e1 x</a>"; // the list's values lie in it
    RuleRun run("tag a elems n return a", text);
    ASSERT_TRUE(run.ok);
    const GatheredElements* list = findGatheredElements(run.engine, "a/n");
    ASSERT_NE(list, nullptr);
    testing::internal::CaptureStdout();
    f32 floats[5];
    elementsToFloats(*list, floats, 5);
    i32 ints[5];
    elementsToInts(*list, ints, 5);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "No number found\nNo number found\n");
    EXPECT_EQ(std::vector<f32>(floats, floats + 5), (std::vector<f32>{1.5f, -2, 30, 0, 0}))
        << "values the list lacks are 0";
    EXPECT_EQ(std::vector<i32>(ints, ints + 5), (std::vector<i32>{1, -2, 3, 0, 0}));
}

} // namespace
