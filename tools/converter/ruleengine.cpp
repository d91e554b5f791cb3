#include "tools/converter/ruleengine.h"

#include "tools/converter/builtins.h"
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

struct Command {
    const char* word;
    RuleKind kind;
};

const Command kCommands[] = {
    {"attrib", RuleKind::Attrib},   {"elems", RuleKind::Elems},
    {"tag", RuleKind::Tag},         {"directtag", RuleKind::DirectTag},
    {"recurse", RuleKind::Recurse}, {"return", RuleKind::Return},
    {"jump", RuleKind::Jump},       {"label", RuleKind::Label},
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
        if (k != RuleKind::Tag && k != RuleKind::DirectTag) {
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

bool endsWithPath(const std::string& id, const char* path) {
    std::size_t n = std::strlen(path);
    if (id.size() < n || id.compare(id.size() - n, n, path) != 0) {
        return false;
    }
    return id.size() == n || id[id.size() - n - 1] == '/';
}

template <typename Table>
auto findByPath(const Table& table, const char* path, std::size_t from) ->
    typename Table::value_type {
    for (std::size_t i = from; i < table.size(); ++i) {
        if (endsWithPath(table[i]->id, path)) {
            return table[i];
        }
    }
    return nullptr;
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
    }
    tracePrint("Value: [%s]\n", attribute->value.c_str());
    owner->attributes.push_back(attribute.get());
    e.store.attributes.push_back(std::move(attribute));
}

void traceValues(const std::vector<std::string>& values) {
    std::string chunk;
    for (const std::string& v : values) {
        chunk += '[';
        chunk += v;
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
    splitValues(e, list->values, start, end);
    tracePrint("# Elements: %d\n", static_cast<i32>(list->values.size()));
    traceValues(list->values);
    owner->lists.push_back(list.get());
    e.store.lists.push_back(std::move(list));
}

// A tag or directtag rule: its body once for every element found. Gives the
// index after the matching return rule.
i32 runTag(RuleEngine& e, i32 index, i32 start, i32 end, const std::string& id, TagRecord* owner) {
    const Rule& rule = e.rules[index];
    tracePrint(" ** Tag: %s\n", rule.argument.c_str());
    bool direct = rule.kind == RuleKind::DirectTag;
    bool found = false;
    i32 s = start, cs = 0, ce = 0;
    while (findTag(e, rule.argument, s, end, &cs, &ce, direct) >= 0) {
        found = true;
        tracePrint("Tag found. New interval: [%d, %d]\n", cs, ce);
        e.tagStack.push_back(rule.argument);
        runBody(e, index + 1, cs, ce, id, newTag(e, id, 0, owner), 0);
        if (e.failed) {
            return -1;
        }
        s = ce;
    }
    if (!found) {
        tracePrint("Tag not found: %s\n", rule.argument.c_str());
    }
    return findRuleForward(e, index + 1, RuleKind::Return, rule.argument) + 1;
}

void runRecurse(RuleEngine& e, i32 index, i32 start, i32 end, const std::string& id,
                TagRecord* owner, i32 depth) {
    const Rule& rule = e.rules[index];
    tracePrint(" ** Recurse: %s\n", rule.argument.c_str());
    i32 target = findRuleBackward(e, index, RuleKind::Tag, rule.argument);
    i32 cs = 0, ce = 0;
    if (target < 0 || findTag(e, rule.argument, start + 1, end - 1, &cs, &ce, false) < 0) {
        return;
    }
    tracePrint("Recursive tag found. New interval: [%d, %d]\n", cs, ce);
    e.tagStack.push_back(rule.argument);
    runBody(e, target + 1, cs, ce, id, newTag(e, id, depth, owner), depth + 1);
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
    i32 count = static_cast<i32>(e.rules.size());
    i32 index = 0;
    while (!e.failed && index >= 0 && index < count) {
        index = runRule(e, index, 0, length, "", &e.store.root, 0);
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
            index = runTag(e, index, start, end, ruleId, owner);
            break;
        case RuleKind::Recurse:
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
    i32 depth = 0, noted = -1, notedDepth = 5000;
    i32 stop = std::min(end, e.length);
    i32 skip = static_cast<i32>(tag.size()) + 2;
    for (i32 i = std::max(start, 0); i < stop;) {
        char c = e.text[i];
        if (c == '<' && matchesAt(e, i, "<", tag)) {
            if (depth < notedDepth) {
                noted = i + skip - 1;
                notedDepth = depth;
            }
            ++depth;
            i += skip;
            continue;
        }
        if (c == '<') {
            char next = charAt(e, i + 1);
            depth += next == '/' ? -1 : next == '?' ? 0 : 1;
        } else if (c == '/' && charAt(e, i + 1) == '>') {
            --depth;
        }
        ++i;
    }
    if (noted < 0 || (directOnly && notedDepth != 0)) {
        return -1;
    }
    i32 cs = noted + 1;
    i32 ce = contentEnd(e, tag, cs);
    if (ce < 0) {
        tracePrint("Couldn't find end tag %s\n", tag.c_str());
        return -1;
    }
    *contentStart = cs;
    *contentEnd_ = ce;
    return cs;
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

i32 splitValues(const RuleEngine& e, std::vector<std::string>& out, i32 start, i32 end) {
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
        if (c == ' ' || c == '<' || c == '\n') {
            out.emplace_back(e.text + valueStart, static_cast<std::size_t>(i - valueStart));
            valueStart = i + 1;
        }
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
    for (std::size_t i = from; i < e.store.attributes.size(); ++i) {
        if (endsWithPath(e.store.attributes[i]->id, path)) {
            return e.store.attributes[i].get();
        }
    }
    return nullptr;
}

const GatheredElements* findGatheredElements(const RuleEngine& e, const char* path,
                                             std::size_t from) {
    for (std::size_t i = from; i < e.store.lists.size(); ++i) {
        if (endsWithPath(e.store.lists[i]->id, path)) {
            return e.store.lists[i].get();
        }
    }
    return nullptr;
}

TagRecord* findGatheredTag(const RuleEngine& e, const char* path, std::size_t from) {
    return findByPath(e.store.tags, path, from);
}

std::string lastComponent(const std::string& id) {
    std::size_t slash = id.rfind('/');
    return slash == std::string::npos ? id : id.substr(slash + 1);
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
