#include "tools/converter/ruleengine.h"

#include "tools/converter/binding.h"
#include "tools/converter/builtins.h"
#include "tools/converter/instances.h"
#include "tools/converter/numbers.h"
#include "tools/converter/scene.h"
#include "tools/converter/trace.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

const char kNoRules[] = "Couldn't find rules.txt\n";
const char kBadRules[] = "Couldn't parse rules\n";
const char kRulesRead[] = "Rules successfully read\n";
const char kTooDeep[] = "The rules nest too deeply\n";
const char kNotReturned[] = "Warning: Did not return from all tags\n";
const char kExecuted[] = "Rules were executed successfully!\n";
const char kLongList[] = "An element list holds more than 1048576 values\n";

struct Command {
    const char* word;
    RuleKind kind;
};

const Command kCommands[] = {
    {"attrib", RuleKind::Attrib},
    {"optattrib", RuleKind::OptionalAttrib}, // unreported when missing
    {"elems", RuleKind::Elems},
    {"tag", RuleKind::Tag},
    {"directtag", RuleKind::DirectTag},
    {"directtags", RuleKind::DirectTags},
    {"recurse", RuleKind::Recurse},
    {"recurses", RuleKind::Recurses},
    {"return", RuleKind::Return},
    {"jump", RuleKind::Jump},
    {"label", RuleKind::Label},
    {"func", RuleKind::Func},
};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::vector<std::string> words(const char* text, std::size_t length) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < length) {
        while (i < length && isSpace(text[i])) {
            ++i;
        }
        std::size_t start = i;
        while (i < length && !isSpace(text[i])) {
            ++i;
        }
        if (i > start) {
            out.emplace_back(text + start, i - start);
        }
    }
    return out;
}

bool commandKind(const std::string& word, RuleKind& kind) {
    for (const Command& c : kCommands) {
        if (strcasecmp(word.c_str(), c.word) == 0) {
            kind = c.kind;
            return true;
        }
    }
    return false;
}

// Every tag rule needs a return rule after it, or its run never ends.
bool tagsReturn(const RuleEngine& e) {
    for (std::size_t i = 0; i < e.rules.size(); ++i) {
        RuleKind k = e.rules[i].kind;
        if (k != RuleKind::Tag && k != RuleKind::DirectTag && k != RuleKind::DirectTags) {
            continue;
        }
        auto match = [&](const Rule& r) {
            return r.kind == RuleKind::Return &&
                   strcasecmp(r.argument.c_str(), e.rules[i].argument.c_str()) == 0;
        };
        if (std::none_of(e.rules.begin() + static_cast<long>(i) + 1, e.rules.end(), match)) {
            return false;
        }
    }
    return true;
}

// The element of tag that a search of [start, end) finds: the first of the
// shallowest there, which must stand at directDepth unless that is -1.
i32 findElement(const RuleEngine& e, const std::string& tag, i32 start, i32 end, i32 directDepth,
                i32* contentStart, i32* contentEnd) {
    const MarkupElement* found =
        e.markup.shallowest(tag, std::max(start, 0), std::min(end, e.length));
    if (found == nullptr || (directDepth >= 0 && found->depth != directDepth)) {
        return -1;
    }
    if (found->contentEnd < 0) {
        tracePrint("Couldn't find end tag %s\n", tag.c_str());
        return -1;
    }
    *contentStart = found->contentStart;
    *contentEnd = found->contentEnd;
    return found->contentStart;
}

// The position of the first entry at or after from whose id ends with path,
// or the table's size.
template <typename Table>
std::size_t findByPath(const Table& table, const char* path, std::size_t from) {
    std::size_t i = from;
    while (i < table.size() && !endsWithPath(table[i]->id, path)) {
        ++i;
    }
    return i;
}

TagRecord* newTag(RuleEngine& e, const std::string& id, i32 depth, TagRecord* owner) {
    e.store.owned.push_back(std::make_unique<TagRecord>());
    TagRecord* record = e.store.owned.back().get();
    record->id = id;
    record->depth = depth;
    record->parent = owner;
    owner->children.push_back(record);
    e.store.tags.push_back(record);
    return record;
}

// Runs the rules from index over [start, end] as the body of record.
void runBody(RuleEngine& e, i32 index, i32 start, i32 end, const std::string& id, TagRecord* record,
             i32 depth) {
    ++record->running;
    runRule(e, index, start, end, id, record, depth);
    --record->running;
}

void runAttrib(RuleEngine& e, const Rule& rule, i32 start, i32 end, const std::string& id,
               TagRecord* owner) {
    tracePrint(" ** Attrib: %s\n", rule.argument.c_str());
    i32 first = 0, last = 0;
    auto attribute = std::make_unique<GatheredAttribute>();
    attribute->id = id;
    attribute->owner = owner;
    bool found = rule.kind == RuleKind::OptionalAttrib
                     ? locateXmlAttribute(e, rule.argument, start, end, &first, &last) != 0
                     : findXmlAttribute(e, rule.argument, start, end, &first, &last) != 0;
    if (found) {
        std::string_view value(e.text + first, static_cast<std::size_t>(last - first));
        attribute->value = e.markup.holdsReferences() ? readReferences(value) : std::string(value);
        attribute->inOpeningTag = e.markup.tagBefore(first) < start;
    }
    tracePrint("Value: [%s]\n", attribute->value.c_str());
    owner->attributes.push_back(attribute.get());
    e.store.attributes.push_back(std::move(attribute));
}

void traceValues(const GatheredElements& list) {
    std::string chunk;
    for (std::size_t i = 0; i < list.size(); ++i) {
        chunk += '[';
        chunk += list.value(i);
        chunk += ']';
        if (chunk.size() > 65536) {
            traceText(chunk.c_str());
            chunk.clear();
        }
    }
    chunk += '\n';
    traceText(chunk.c_str());
}

bool isValueBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Reads the references in the values of list (outside CDATA sections) as the
// characters they stand for, parting a value where one stands for a blank.
// False, with the run stopped, when that makes more than kMaxListValues.
bool readListReferences(RuleEngine& e, GatheredElements& list) {
    auto holds = [&](const TextSpan& s) {
        return std::memchr(e.text + s.at, '&', s.length) != nullptr && !e.markup.inCdata(s.at);
    };
    if (std::none_of(list.spans.begin(), list.spans.end(), holds)) {
        return true;
    }
    std::string decoded;
    std::vector<TextSpan> spans;
    for (const TextSpan& s : list.spans) {
        std::string_view written(e.text + s.at, s.length);
        std::string value = holds(s) ? readReferences(written) : std::string(written);
        for (std::size_t i = 0, from = 0; i <= value.size(); ++i) {
            if (i < value.size() && !isValueBlank(value[i])) {
                continue;
            }
            if (i > from) {
                spans.push_back({static_cast<u32>(decoded.size()), static_cast<u32>(i - from)});
                decoded.append(value, from, i - from);
            }
            from = i + 1;
        }
    }
    if (spans.size() > kMaxListValues) {
        ruleFailure(e, kLongList);
        return false;
    }
    list.decoded = std::move(decoded);
    list.spans = std::move(spans);
    return true;
}

void runElems(RuleEngine& e, const Rule& rule, i32 start, i32 end, const std::string& id,
              TagRecord* owner) {
    tracePrint(" ** Elems: %s\n", rule.argument.c_str());
    auto list = std::make_unique<GatheredElements>();
    list->id = id;
    list->owner = owner;
    list->text = e.text;
    list->start = start;
    if (splitValues(e, list->spans, start, end) < 0 ||
        (e.markup.holdsReferences() && !readListReferences(e, *list))) {
        return;
    }
    tracePrint("# Elements: %d\n", static_cast<i32>(list->size()));
    traceValues(*list);
    owner->lists.push_back(list.get());
    e.store.lists.push_back(std::move(list));
}

// A tag, directtag or directtags rule: its body once for every element
// found, each search starting at the content end of the element before (a
// directtag search takes the element at the depth of its start only, a
// directtags search every one at the depth of the rule's start). Gives the
// index after the matching return rule.
i32 runTag(RuleEngine& e, i32 index, i32 start, i32 end, const std::string& id, TagRecord* owner) {
    const Rule& rule = e.rules[index];
    tracePrint(" ** Tag: %s\n", rule.argument.c_str());
    bool found = false;
    i32 cs = 0, ce = 0;
    for (i32 from = start;; from = ce) {
        i32 direct = rule.kind == RuleKind::DirectTags  ? e.markup.depthAt(start)
                     : rule.kind == RuleKind::DirectTag ? e.markup.depthAt(from)
                                                        : -1;
        if (findElement(e, rule.argument, from, end, direct, &cs, &ce) < 0) {
            break;
        }
        found = true;
        tracePrint("Tag found. New interval: [%d, %d]\n", cs, ce);
        e.tagStack.push_back(rule.argument);
        runBody(e, index + 1, cs, ce, id, newTag(e, id, 0, owner), 0);
        if (e.failed) {
            return -1;
        }
    }
    if (!found) {
        tracePrint("Tag not found: %s\n", rule.argument.c_str());
    }
    return findRuleForward(e, index + 1, RuleKind::Return, rule.argument) + 1;
}

// A recurse rule runs the body of the tag rule of its name above over the
// first element of that name inside the interval; a recurses rule over every
// element that the tag rule itself would find there, in document order.
void runRecurse(RuleEngine& e, i32 index, i32 start, i32 end, const std::string& id,
                TagRecord* owner, i32 depth) {
    const Rule& rule = e.rules[index];
    tracePrint(" ** Recurse: %s\n", rule.argument.c_str());
    i32 target = findRuleBackward(e, index, RuleKind::Tag, rule.argument);
    if (target < 0) {
        return;
    }
    bool every = rule.kind == RuleKind::Recurses;
    i32 cs = 0, ce = 0;
    for (i32 from = start; findElement(e, rule.argument, from, end, -1, &cs, &ce) >= 0; from = ce) {
        tracePrint("Recursive tag found. New interval: [%d, %d]\n", cs, ce);
        e.tagStack.push_back(rule.argument);
        runBody(e, target + 1, cs, ce, id, newTag(e, id, depth, owner), depth + 1);
        if (!every || e.failed) {
            return;
        }
    }
}

i32 runJump(RuleEngine& e, i32 index) {
    const Rule& rule = e.rules[index];
    tracePrint(" ** Jump: %s\n", rule.argument.c_str());
    i32 label = findRuleForward(e, index + 1, RuleKind::Label, rule.argument);
    if (label < 0) {
        return ruleFailure(e, "No label to jump to (expected " + rule.argument + ")\n");
    }
    return label;
}

// count values of list from its value first on, each parsed by parse; the
// values the list lacks T{}.
template <typename T, typename Parse>
void parseElements(const GatheredElements& list, T* out, std::size_t count, Parse parse,
                   std::size_t first = 0) {
    std::size_t given = first < list.size() ? std::min(count, list.size() - first) : 0;
    for (std::size_t i = 0; i < given; ++i) {
        std::string_view value = list.value(first + i);
        out[i] = parse(value.data(), static_cast<i32>(value.size()));
    }
    std::fill(out + given, out + count, T{});
}

struct NestingGuard {
    explicit NestingGuard(RuleEngine& e) : engine(e) { ++engine.nesting; }
    ~NestingGuard() { --engine.nesting; }
    RuleEngine& engine;
};

} // namespace

bool parseRules(RuleEngine& e, const char* text, std::size_t length) {
    std::vector<std::string> list = words(text, length);
    e.rules.clear();
    e.rules.push_back({RuleKind::Begin, "/"});
    for (std::size_t i = 0; i < list.size(); i += 2) {
        RuleKind kind;
        if (i + 1 >= list.size() || !commandKind(list[i], kind)) {
            e.rules.clear();
            ruleFailure(e, kBadRules);
            return false;
        }
        e.rules.push_back({kind, list[i + 1]});
    }
    e.rules.push_back({RuleKind::End, "Hooray!"});
    if (!tagsReturn(e)) {
        e.rules.clear();
        ruleFailure(e, kBadRules);
        return false;
    }
    std::fputs(kRulesRead, stdout);
    return true;
}

bool readRules(RuleEngine& e, const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        ruleFailure(e, kNoRules);
        return false;
    }
    std::string text;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
    }
    std::fclose(file);
    return parseRules(e, text.data(), text.size());
}

i32 ruleFailure(RuleEngine& e, const std::string& message) {
    if (!e.failed) {
        e.failed = true;
        e.error = message;
    }
    return -1;
}

void setText(RuleEngine& e, const char* text, i32 length) {
    e.text = text;
    e.length = length;
    e.markup = Markup(text, length);
}

bool readDocument(RuleEngine& e, const char* text, i32 length) {
    setText(e, text, length);
    if (!e.markup.fault().empty()) {
        ruleFailure(e, e.markup.fault());
        return false;
    }
    return true;
}

bool runRules(RuleEngine& e, const char* text, i32 length, PwnWriter& writer, NodeRecord& root) {
    if (e.text != text || e.length != length) {
        setText(e, text, length);
    }
    e.writer = &writer;
    e.root = &root;
    e.lastNode = &root;
    e.lastDepth = -1;
    e.lastLibraryNode = &e.libraryRoot;
    e.lastLibraryDepth = -1;
    i32 count = static_cast<i32>(e.rules.size());
    i32 index = 0;
    while (!e.failed && index >= 0 && index < count) {
        index = runRule(e, index, 0, length, "", &e.store.root, 0);
    }
    if (!e.failed) {
        warnOfLeftOut(e);
        keepChosenScene(e);
        placeInstances(e);
        settleScene(e);
        noteControlledGeometries(e);
    }
    return !e.failed;
}

i32 runRule(RuleEngine& e, i32 index, i32 start, i32 end, const std::string& id, TagRecord* owner,
            i32 depth) {
    NestingGuard guard(e);
    if (e.nesting > kMaxRuleNesting) {
        return ruleFailure(e, kTooDeep);
    }
    i32 count = static_cast<i32>(e.rules.size());
    while (!e.failed) {
        if (index < 0 || index >= count) {
            return -1;
        }
        const Rule& rule = e.rules[index];
        std::string ruleId = id + "/" + rule.argument;
        if (rule.kind != RuleKind::Return) {
            tracePrint("Accumulated id: %s\n", ruleId.c_str());
        }
        switch (rule.kind) {
        case RuleKind::Attrib:
        case RuleKind::OptionalAttrib:
            runAttrib(e, rule, start, end, ruleId, owner);
            ++index;
            break;
        case RuleKind::Elems:
            runElems(e, rule, start, end, ruleId, owner);
            ++index;
            break;
        case RuleKind::Tag:
        case RuleKind::DirectTag:
        case RuleKind::DirectTags:
            index = runTag(e, index, start, end, ruleId, owner);
            break;
        case RuleKind::Recurse:
        case RuleKind::Recurses:
            runRecurse(e, index, start, end, ruleId, owner, depth);
            ++index;
            break;
        case RuleKind::Return:
            tracePrint(" ** Return: %s\n", rule.argument.c_str());
            if (!e.tagStack.empty() && e.tagStack.back() == rule.argument) {
                e.tagStack.pop_back();
                return index + 1;
            }
            ++index;
            break;
        case RuleKind::Jump:
            index = runJump(e, index);
            break;
        case RuleKind::Label:
            ++index;
            break;
        case RuleKind::Func:
            tracePrint(" ** Func: %s\n", rule.argument.c_str());
            e.childIndex.clear();
            callBuiltin(e, rule.argument, depth);
            ++index;
            break;
        case RuleKind::Begin:
            tracePrint(" ** Begin: %s\n", rule.argument.c_str());
            ++index;
            break;
        case RuleKind::End:
            tracePrint(" ** GreatSuccess: %s\n", rule.argument.c_str());
            if (!e.tagStack.empty()) {
                std::fputs(kNotReturned, stdout);
            }
            std::fputs(kExecuted, stdout);
            return INT_MAX;
        }
    }
    return -1;
}

i32 findTag(const RuleEngine& e, const std::string& tag, i32 start, i32 end, i32* contentStart,
            i32* contentEnd, bool directOnly) {
    i32 direct = directOnly ? e.markup.depthAt(start) : -1;
    return findElement(e, tag, start, end, direct, contentStart, contentEnd);
}

i32 locateXmlAttribute(const RuleEngine& e, const std::string& name, i32 start, i32 end, i32* first,
                       i32* last) {
    const MarkupAttribute* found = e.markup.attribute(name, start, std::min(end, e.length));
    if (found == nullptr) {
        return 0;
    }
    *first = found->valueAt;
    *last = found->valueEnd;
    return found->valueAt;
}

i32 findXmlAttribute(const RuleEngine& e, const std::string& name, i32 start, i32 end, i32* first,
                     i32* last) {
    i32 found = locateXmlAttribute(e, name, start, end, first, last);
    if (found == 0) {
        std::printf("Couldn't find attribute %s\n", name.c_str());
    }
    return found;
}

i32 splitValues(RuleEngine& e, std::vector<TextSpan>& out, i32 start, i32 end) {
    i32 stop = std::min(end, e.length - 1);
    const std::vector<MarkupSpan>& spans = e.markup.spans();
    std::size_t next = e.markup.firstSpanEndingFrom(start);
    if (next == spans.size() || spans[next].end - 1 > stop) {
        return stop + 1;
    }
    i32 i = spans[next++].end;
    for (i32 valueStart = i; i <= stop; ++i) {
        bool markup = next < spans.size() && spans[next].at == i;
        char c = e.text[i];
        if (!markup && c != ' ' && c != '<' && c != '\n' && c != '\t' && c != '\r') {
            continue;
        }
        if (i > valueStart) {
            if (out.size() == kMaxListValues) {
                return ruleFailure(e, kLongList);
            }
            out.push_back({static_cast<u32>(valueStart), static_cast<u32>(i - valueStart)});
        }
        if (markup) {
            i = spans[next++].end - 1;
        }
        valueStart = i + 1;
    }
    return i;
}

i32 findRuleForward(const RuleEngine& e, i32 from, RuleKind kind, const std::string& name) {
    for (i32 i = std::max(from, 0); i < static_cast<i32>(e.rules.size()); ++i) {
        if (e.rules[i].kind == kind && strcasecmp(e.rules[i].argument.c_str(), name.c_str()) == 0) {
            return i;
        }
    }
    std::printf("Warning: Could not find %s\n", name.c_str());
    return -1;
}

i32 findRuleBackward(const RuleEngine& e, i32 from, RuleKind kind, const std::string& name) {
    for (i32 i = std::min(from, static_cast<i32>(e.rules.size()) - 1); i >= 0; --i) {
        if (e.rules[i].kind == kind && strcasecmp(e.rules[i].argument.c_str(), name.c_str()) == 0) {
            return i;
        }
    }
    std::printf("Warning: Could not find %s\n", name.c_str());
    return -1;
}

const GatheredAttribute* findGatheredAttribute(const RuleEngine& e, const char* path,
                                               std::size_t from) {
    std::size_t i = findByPath(e.store.attributes, path, from);
    return i < e.store.attributes.size() ? e.store.attributes[i].get() : nullptr;
}

const GatheredElements* findGatheredElements(const RuleEngine& e, const char* path,
                                             std::size_t from) {
    std::size_t i = findByPath(e.store.lists, path, from);
    return i < e.store.lists.size() ? e.store.lists[i].get() : nullptr;
}

TagRecord* findGatheredTag(const RuleEngine& e, const char* path, std::size_t from,
                           std::size_t* index) {
    std::size_t i = findByPath(e.store.tags, path, from);
    if (index != nullptr) {
        *index = i;
    }
    return i < e.store.tags.size() ? e.store.tags[i] : nullptr;
}

bool endsWithPath(const std::string& id, const char* path) {
    std::size_t n = std::strlen(path);
    if (id.size() < n || id.compare(id.size() - n, n, path) != 0) {
        return false;
    }
    return id.size() == n || id[id.size() - n - 1] == '/';
}

std::string lastComponent(const std::string& id) {
    std::size_t slash = id.rfind('/');
    return slash == std::string::npos ? id : id.substr(slash + 1);
}

namespace {

bool lastComponentIs(const std::string& id, const char* name) {
    return std::strchr(name, '/') == nullptr && endsWithPath(id, name);
}

} // namespace

void elementsToFloats(const GatheredElements& list, f32* out, std::size_t count,
                      std::size_t first) {
    parseElements(list, out, count, parseFloat, first);
}

void elementsToInts(const GatheredElements& list, i32* out, std::size_t count) {
    parseElements(list, out, count, parseInt);
}

const GatheredAttribute* childAttribute(const char* name, const TagRecord* record) {
    for (const GatheredAttribute* a : record->attributes) {
        if (lastComponentIs(a->id, name)) {
            return a;
        }
    }
    return nullptr;
}

const GatheredElements* childElements(const char* name, const TagRecord* record) {
    for (const GatheredElements* l : record->lists) {
        if (lastComponentIs(l->id, name)) {
            return l;
        }
    }
    return nullptr;
}

TagRecord* childTag(const char* name, const TagRecord* record, i32 n) {
    for (TagRecord* t : record->children) {
        if (lastComponentIs(t->id, name) && n-- == 0) {
            return t;
        }
    }
    return nullptr;
}

std::vector<TagRecord*> childTags(const char* name, const TagRecord* record) {
    std::vector<TagRecord*> found;
    for (TagRecord* t : record->children) {
        if (lastComponentIs(t->id, name)) {
            found.push_back(t);
        }
    }
    return found;
}

namespace {

const RuleEngine::ChildIndex& indexOf(const RuleEngine& e, const char* name,
                                      const TagRecord* record) {
    auto [entry, added] = e.childIndex.try_emplace({record, name});
    RuleEngine::ChildIndex& index = entry->second;
    if (!added) {
        return index;
    }
    for (const TagRecord* child : childTags(name, record)) {
        index.first = index.first != nullptr ? index.first : child;
        if (const GatheredAttribute* own = childAttribute("id", child)) {
            index.byId.emplace(own->value, child);
        }
    }
    return index;
}

} // namespace

const TagRecord* firstChild(const RuleEngine& e, const char* name, const TagRecord* record) {
    return indexOf(e, name, record).first;
}

const TagRecord* childWithId(const RuleEngine& e, const char* name, const std::string& id,
                             const TagRecord* record) {
    const RuleEngine::ChildIndex& index = indexOf(e, name, record);
    auto found = index.byId.find(id);
    return found == index.byId.end() ? nullptr : found->second;
}

void clearGathered(RuleEngine& e) {
    e.childIndex.clear();
    GatheredStore& s = e.store;
    s.attributes.clear();
    s.lists.clear();
    s.tags.clear();
    auto empty = [](TagRecord& r) {
        r.attributes.clear();
        r.lists.clear();
        r.children.clear();
    };
    empty(s.root);
    std::vector<std::unique_ptr<TagRecord>> kept;
    for (auto& record : s.owned) {
        if (record->running > 0) {
            empty(*record);
            kept.push_back(std::move(record));
        }
    }
    s.owned.swap(kept);
}
