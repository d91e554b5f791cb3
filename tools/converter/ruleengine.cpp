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

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
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

// True when text at pos starts with prefix followed by name, the name
// compared without regard to case.
bool matchesAt(const RuleEngine& e, i32 pos, const char* prefix, const std::string& name) {
    std::size_t p = std::strlen(prefix);
    if (pos < 0 || static_cast<std::size_t>(e.length - pos) < p + name.size()) {
        return false;
    }
    const char* at = e.text + pos;
    if (std::memcmp(at, prefix, p) != 0) {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (lower(at[p + i]) != lower(name[i])) {
            return false;
        }
    }
    return true;
}

char charAt(const RuleEngine& e, i32 pos) {
    return pos >= 0 && pos < e.length ? e.text[pos] : '\0';
}

// Where the content that starts at from ends: the '/' of an empty element's
// "/>", else the matching closing tag; -1 when there is none.
i32 contentEnd(const RuleEngine& e, const std::string& tag, i32 from) {
    for (i32 i = from; i < e.length && e.text[i] != '<'; ++i) {
        if (e.text[i] == '/' && charAt(e, i + 1) == '>') {
            return i;
        }
    }
    i32 nested = 0;
    for (i32 i = from; i < e.length; ++i) {
        if (e.text[i] != '<') {
            continue;
        }
        if (matchesAt(e, i, "</", tag)) {
            if (nested == 0) {
                return i;
            }
            --nested;
        } else if (matchesAt(e, i, "<", tag)) {
            ++nested;
        }
    }
    return -1;
}

// The scan of findTag for one tag name: the opening pattern '<' + name (a
// prefix, any letter case), skipped with the one character after it; "</"
// lowers the depth, "<?" leaves it, any other '<' raises it, "/>" lowers it.
class TagScan {
  public:
    TagScan(const RuleEngine& e, const std::string& tag)
        : e_(e), tag_(tag), skip_(static_cast<i32>(tag.size()) + 2) {}

    // Takes the step at i: moves i past it and changes depth; true when the
    // opening pattern stands at i (the depth then counts it as an opening).
    bool step(i32& i, i32& depth) const {
        char c = e_.text[i];
        if (c == '<' && matchesAt(e_, i, "<", tag_)) {
            ++depth;
            i += skip_;
            return true;
        }
        if (c == '<') {
            char next = charAt(e_, i + 1);
            depth += next == '/' ? -1 : next == '?' ? 0 : 1;
        } else if (c == '/' && charAt(e_, i + 1) == '>') {
            --depth;
        }
        ++i;
        return false;
    }

    // The content of the element whose opening pattern stands at match;
    // -1 when it has no end.
    i32 content(i32 match, i32* contentStart, i32* contentEnd_) const {
        i32 cs = match + skip_;
        i32 ce = contentEnd(e_, tag_, cs);
        if (ce < 0) {
            tracePrint("Couldn't find end tag %s\n", tag_.c_str());
            return -1;
        }
        *contentStart = cs;
        *contentEnd_ = ce;
        return cs;
    }

  private:
    const RuleEngine& e_;
    const std::string& tag_;
    i32 skip_;
};

// What findTag finds from start, then from each found element's content end
// on, as a tag rule searches (a directtags rule takes every match at the
// depth of start, where a directtag rule takes the first): the first scan notes every match with
// its depth, and each later search picks the first shallowest match after its start from those
// notes, so a tag rule over n elements scans its interval once, not n times. Should the first scan
// have stepped over a start (which the closing patterns of well-formed and odd text alike did not
// show in tests), findTag searches from it itself.
class SiblingSearch {
  public:
    SiblingSearch(const RuleEngine& e, const std::string& tag, i32 start, i32 end, bool direct,
                  bool every)
        : e_(e), tag_(tag), scan_(e, tag), end_(end), direct_(direct), every_(every), from_(start) {
        i32 depth = 0;
        for (i32 i = std::max(start, 0), stop = std::min(end, e.length); i < stop;) {
            i32 at = i;
            if (scan_.step(i, depth)) {
                matches_.push_back({at, depth - 1});
            }
        }
        best_.resize(matches_.size());
        for (std::size_t k = matches_.size(); k-- > 0;) {
            bool later =
                k + 1 < matches_.size() && matches_[best_[k + 1]].depth < matches_[k].depth;
            best_[k] = later ? best_[k + 1] : k;
        }
    }

    bool next(i32* cs, i32* ce) {
        if (!aligned_) {
            if (every_ || findTag(e_, tag_, from_, end_, cs, ce, direct_) < 0) {
                return false;
            }
            from_ = *ce;
            return true;
        }
        while (first_ < matches_.size() && matches_[first_].at < from_) {
            ++first_;
        }
        if (first_ == matches_.size()) {
            return false;
        }
        const Match& match = matches_[best_[first_]];
        i32 depth = every_ ? 0 : fromDepth_;
        if ((direct_ && match.depth != depth) || scan_.content(match.at, cs, ce) < 0) {
            return false;
        }
        follow(*cs, match.depth + 1, *ce);
        return true;
    }

  private:
    struct Match {
        i32 at;
        i32 depth; // of the scan from the first start
    };

    // Steps the first scan's way from position i at depth to target.
    void follow(i32 i, i32 depth, i32 target) {
        while (i < target) {
            scan_.step(i, depth);
        }
        aligned_ = i == target;
        from_ = target;
        fromDepth_ = depth;
    }

    const RuleEngine& e_;
    const std::string& tag_;
    TagScan scan_;
    i32 end_;
    bool direct_;
    bool every_;
    i32 from_;
    i32 fromDepth_ = 0;
    bool aligned_ = true;
    std::vector<Match> matches_;
    std::vector<std::size_t> best_; // the first shallowest match at or after each
    std::size_t first_ = 0;
};

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
    if (findXmlAttribute(e, rule.argument, start, end, &first, &last) != 0) {
        attribute->value.assign(e.text + first, static_cast<std::size_t>(last - first));
        attribute->inOpeningTag =
            std::find(e.text + std::max(start, 0), e.text + first, '>') == e.text + first;
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

void runElems(RuleEngine& e, const Rule& rule, i32 start, i32 end, const std::string& id,
              TagRecord* owner) {
    tracePrint(" ** Elems: %s\n", rule.argument.c_str());
    auto list = std::make_unique<GatheredElements>();
    list->id = id;
    list->owner = owner;
    list->text = e.text;
    list->start = start;
    if (splitValues(e, list->spans, start, end) < 0) {
        return;
    }
    tracePrint("# Elements: %d\n", static_cast<i32>(list->size()));
    traceValues(*list);
    owner->lists.push_back(list.get());
    e.store.lists.push_back(std::move(list));
}

// A tag or directtag rule: its body once for every element found. Gives the
// index after the matching return rule.
i32 runTag(RuleEngine& e, i32 index, i32 start, i32 end, const std::string& id, TagRecord* owner) {
    const Rule& rule = e.rules[index];
    tracePrint(" ** Tag: %s\n", rule.argument.c_str());
    bool every = rule.kind == RuleKind::DirectTags;
    bool direct = rule.kind == RuleKind::DirectTag || every;
    bool found = false;
    i32 cs = 0, ce = 0;
    SiblingSearch search(e, rule.argument, start, end, direct, every);
    while (search.next(&cs, &ce)) {
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
    SiblingSearch search(e, rule.argument, start + 1, end - 1, false, false);
    i32 cs = 0, ce = 0;
    while (search.next(&cs, &ce)) {
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

// The first count values of list, each parsed by parse; the rest T{}.
template <typename T, typename Parse>
void parseElements(const GatheredElements& list, T* out, std::size_t count, Parse parse) {
    std::size_t given = std::min(count, list.size());
    for (std::size_t i = 0; i < given; ++i) {
        std::string_view value = list.value(i);
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

bool runRules(RuleEngine& e, const char* text, i32 length, PwnWriter& writer, NodeRecord& root) {
    e.text = text;
    e.length = length;
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
        keepChosenScene(e);
        placeInstances(e);
        settleScene(e);
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
            i32* contentEnd_, bool directOnly) {
    TagScan scan(e, tag);
    i32 depth = 0, noted = -1, notedDepth = 5000;
    i32 stop = std::min(end, e.length);
    for (i32 i = std::max(start, 0); i < stop;) {
        i32 at = i;
        if (scan.step(i, depth) && depth - 1 < notedDepth) {
            noted = at;
            notedDepth = depth - 1;
        }
    }
    if (noted < 0 || (directOnly && notedDepth != 0)) {
        return -1;
    }
    return scan.content(noted, contentStart, contentEnd_);
}

i32 findXmlAttribute(const RuleEngine& e, const std::string& name, i32 start, i32 end, i32* first,
                     i32* last) {
    std::string pattern = name + "=\"";
    i32 stop = std::min(end, e.length);
    for (i32 i = std::max(start, 0); i < stop; ++i) {
        if (lower(e.text[i]) != lower(pattern[0]) || !matchesAt(e, i, "", pattern)) {
            continue;
        }
        i32 from = i + static_cast<i32>(pattern.size());
        for (i32 j = from; j < stop; ++j) {
            if (e.text[j] == '"') {
                *first = from;
                *last = j;
                return from;
            }
        }
        break;
    }
    std::printf("Couldn't find attribute %s\n", name.c_str());
    return 0;
}

i32 splitValues(RuleEngine& e, std::vector<TextSpan>& out, i32 start, i32 end) {
    i32 stop = std::min(end, e.length - 1);
    i32 i = std::max(start - 1, 0);
    while (i <= stop && e.text[i] != '>') {
        ++i;
    }
    if (i > stop) {
        return i;
    }
    i32 valueStart = ++i;
    for (; i <= stop; ++i) {
        char c = e.text[i];
        if (c != ' ' && c != '<' && c != '\n' && c != '\t' && c != '\r') {
            continue;
        }
        if (i > valueStart) {
            if (out.size() == kMaxListValues) {
                return ruleFailure(e, kLongList);
            }
            out.push_back({static_cast<u32>(valueStart), static_cast<u32>(i - valueStart)});
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

void elementsToFloats(const GatheredElements& list, f32* out, std::size_t count) {
    parseElements(list, out, count, parseFloat);
}

void elementsToInts(const GatheredElements& list, i32* out, std::size_t count) {
    parseElements(list, out, count, parseInt);
}

const GatheredAttribute* childAttribute(const char* name, const TagRecord* record) {
    for (const GatheredAttribute* a : record->attributes) {
        if (lastComponent(a->id) == name) {
            return a;
        }
    }
    return nullptr;
}

const GatheredElements* childElements(const char* name, const TagRecord* record) {
    for (const GatheredElements* l : record->lists) {
        if (lastComponent(l->id) == name) {
            return l;
        }
    }
    return nullptr;
}

TagRecord* childTag(const char* name, const TagRecord* record, i32 n) {
    for (TagRecord* t : record->children) {
        if (lastComponent(t->id) == name && n-- == 0) {
            return t;
        }
    }
    return nullptr;
}

void clearGathered(RuleEngine& e) {
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
