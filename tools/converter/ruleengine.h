#pragma once

#include "engine/types.h"
#include "tools/converter/markup.h"
#include "tools/converter/pwnwriter.h"
#include "tools/converter/records.h"
#include "tools/converter/vertextable.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The COLLADA path: a rule program ("rules.txt") walks the .dae text, whose
// markup is read once (markup.h). Rules find elements by tag name inside a
// character interval, gather attribute values and element contents under
// accumulated path names, and call the built-in functions that turn what was
// gathered into materials, meshes and nodes.

enum class RuleKind {
    Attrib,
    OptionalAttrib, // an attribute an element may leave out: its absence is not reported
    Elems,
    Tag,
    DirectTag,
    DirectTags, // every direct child of the name, in document order
    Recurse,
    Recurses, // every element of the name that a tag rule would find, in document order
    Return,
    Jump,
    Label,
    Func,
    Begin,
    End,
};

struct Rule {
    RuleKind kind;
    std::string argument;
};

struct TagRecord;

struct GatheredAttribute {
    std::string id;
    std::string value;
    // Found in the opening tag of the element the rule ran over, not in an
    // element inside it.
    bool inOpeningTag = false;
    TagRecord* owner = nullptr;
};

// Where one value of an element list lies in the input text.
struct TextSpan {
    u32 at = 0;
    u32 length = 0;
};

struct GatheredElements {
    std::string id;
    const char* text = nullptr; // the input text the values lie in
    i32 start = 0;              // where the element's content starts in it
    std::vector<TextSpan> spans;
    // The values with their references read, when some held one: the spans
    // then lie in it.
    std::string decoded;
    TagRecord* owner = nullptr;

    std::size_t size() const { return spans.size(); }
    std::string_view value(std::size_t i) const {
        return {(decoded.empty() ? text : decoded.data()) + spans[i].at, spans[i].length};
    }
};

// The most values one element list may hold.
constexpr std::size_t kMaxListValues = 1048576;

struct TagRecord {
    std::string id;
    i32 depth = 0;
    TagRecord* parent = nullptr;
    std::vector<GatheredAttribute*> attributes;
    std::vector<GatheredElements*> lists;
    std::vector<TagRecord*> children;
    i32 running = 0; // rules are running with this record as their owner
};

// What the rules gathered since the last built-in call.
struct GatheredStore {
    std::vector<std::unique_ptr<GatheredAttribute>> attributes;
    std::vector<std::unique_ptr<GatheredElements>> lists;
    std::vector<TagRecord*> tags; // in the order they were entered
    std::vector<std::unique_ptr<TagRecord>> owned;
    TagRecord root;

    GatheredStore() { root.id = "Root"; }
};

// What a COLLADA document binds by its ids (binding.h).
struct DocumentLinks {
    std::unordered_map<std::string, std::string> materialEffects; // material id to effect id
    std::unordered_map<std::string, u32> effectMaterials;         // effect id to written material
    // Each visual scene's id and how many root nodes stood before it.
    std::vector<std::pair<std::string, std::size_t>> scenes;
    std::optional<std::string> chosenScene;              // the url of <instance_visual_scene>
    std::unordered_map<std::string, std::string> images; // image id to the file it names
    // Each controller's id to what it deforms: its kind ("skin", "morph") and
    // the id of a geometry or of another controller.
    std::unordered_map<std::string, std::pair<std::string, std::string>> controllers;
    // The written materials whose diffuse is a texture, with the texture
    // attribute as written and the image id it leads to.
    struct Texture {
        std::string material, texture, image;
    };
    std::vector<Texture> textures;
    // What the document's <asset> says, where it says it.
    std::optional<std::string> upAxis, unitMeter, unitName;
};

struct RuleEngine {
    const char* text = nullptr;
    i32 length = 0;
    Markup markup; // of text
    std::vector<Rule> rules;
    std::vector<std::string> tagStack;
    GatheredStore store;
    i32 nesting = 0;

    // What the built-ins build.
    PwnWriter* writer = nullptr;
    NodeRecord* root = nullptr;
    NodeRecord* lastNode = nullptr;
    i32 lastDepth = -1;
    u32 unnamedNodes = 0; // nodes named "node<n>", having neither name nor id
    // The nodes of <library_nodes>, which only <instance_node> places.
    NodeRecord libraryRoot;
    NodeRecord* lastLibraryNode = nullptr;
    i32 lastLibraryDepth = -1;
    VertexTable vertices;
    DocumentLinks links;
    // The children of records by tag name (firstChild, childWithId), indexed
    // for the built-in call that searches them.
    struct ChildIndex {
        const TagRecord* first = nullptr;
        std::unordered_map<std::string, const TagRecord*> byId; // the first of each id
    };
    mutable std::map<std::pair<const TagRecord*, std::string>, ChildIndex> childIndex;

    // The message of the failure that stopped the run, when failed.
    bool failed = false;
    std::string error;
};

// Deeper nesting of tag bodies than this stops the run.
constexpr i32 kMaxRuleNesting = 256;

// Parses a rule program: pairs of whitespace-separated words, a command and
// its argument. False, with the error set, for an unknown command, a last
// word in a command's place, or a tag rule without a return rule after it.
bool parseRules(RuleEngine& engine, const char* text, std::size_t length);
// Reads and parses "rules.txt" (or path).
bool readRules(RuleEngine& engine, const char* path = "rules.txt");

// Sets the text the rules run over and reads its markup.
void setText(RuleEngine& engine, const char* text, i32 length);
// setText; false, with the error set to the markup's fault, when the markup
// does not close in order or holds a reference that is not read (markup.h).
bool readDocument(RuleEngine& engine, const char* text, i32 length);
// Runs the rule program over the whole text, whose markup is read unless
// setText or readDocument read it; false when the run stopped with a failure
// (engine.error).
bool runRules(RuleEngine& engine, const char* text, i32 length, PwnWriter& writer,
              NodeRecord& root);
i32 runRule(RuleEngine& engine, i32 index, i32 start, i32 end, const std::string& id,
            TagRecord* owner, i32 depth);

// Stops the run with message; gives -1.
i32 ruleFailure(RuleEngine& engine, const std::string& message);

// The element named tag (any letter case) whose start tag begins in
// [start, end), the first of the shallowest there; with directOnly, only one
// at the depth of start (a child of the element whose content starts there).
// Its content runs from one character past its name (past the '>' of a bare
// tag, so inside the attributes of a tag that has them) to the '<' of its end
// tag, or to the '/' of its "/>". Gives the content start, or -1 when there is
// none or it has no end tag.
i32 findTag(const RuleEngine& engine, const std::string& tag, i32 start, i32 end, i32* contentStart,
            i32* contentEnd, bool directOnly);
// The value of the first attribute in [start, end) whose name ends with name
// (any letter case, so "id" also takes "sid"), [first, last). Gives first, or
// 0 when there is none or its value does not end before end.
i32 locateXmlAttribute(const RuleEngine& engine, const std::string& name, i32 start, i32 end,
                       i32* first, i32* last);
// locateXmlAttribute, reporting an attribute not found.
i32 findXmlAttribute(const RuleEngine& engine, const std::string& name, i32 start, i32 end,
                     i32* first, i32* last);
// The values of the element whose content starts near start: the text after
// the first markup that ends at or after start, up to and including end,
// split at runs of blanks (space, tab, line feed, carriage return), at '<' and
// at markup (a tag, a comment; the content of a CDATA section is text); a
// value needs a separator after it. Gives the position reached, or -1 (with
// the run stopped) when there are more than kMaxListValues values. The
// values are spans of the text as written; an elems rule reads the
// references in them.
i32 splitValues(RuleEngine& engine, std::vector<TextSpan>& out, i32 start, i32 end);
i32 findRuleForward(const RuleEngine& engine, i32 from, RuleKind kind, const std::string& name);
i32 findRuleBackward(const RuleEngine& engine, i32 from, RuleKind kind, const std::string& name);

// Store queries: the first entry at or after from whose id ends with path,
// component by component.
const GatheredAttribute* findGatheredAttribute(const RuleEngine& engine, const char* path,
                                               std::size_t from = 0);
const GatheredElements* findGatheredElements(const RuleEngine& engine, const char* path,
                                             std::size_t from = 0);
// index, when given, receives the position of the entry found.
TagRecord* findGatheredTag(const RuleEngine& engine, const char* path, std::size_t from = 0,
                           std::size_t* index = nullptr);
// Entries of a record whose id's last component equals name.
const GatheredAttribute* childAttribute(const char* name, const TagRecord* record);
const GatheredElements* childElements(const char* name, const TagRecord* record);
TagRecord* childTag(const char* name, const TagRecord* record, i32 n);
// Every such child, in order.
std::vector<TagRecord*> childTags(const char* name, const TagRecord* record);
// The first such child, and the first whose gathered attribute "id" has the
// value id: searched through an index of the record's children, made at the
// first search of the record and name in a built-in call.
const TagRecord* firstChild(const RuleEngine& engine, const char* name, const TagRecord* record);
const TagRecord* childWithId(const RuleEngine& engine, const char* name, const std::string& id,
                             const TagRecord* record);
// True when id ends with path, component by component.
bool endsWithPath(const std::string& id, const char* path);
// The text after the last '/' of id.
std::string lastComponent(const std::string& id);
// The first count values of list (of floats, from its value first on) parsed
// with parseFloat or parseInt into out; values the list lacks are 0.
void elementsToFloats(const GatheredElements& list, f32* out, std::size_t count,
                      std::size_t first = 0);
void elementsToInts(const GatheredElements& list, i32* out, std::size_t count);

// Frees everything gathered. Records that running rules still own stay
// alive, emptied, so those rules may go on attaching to them.
void clearGathered(RuleEngine& engine);
