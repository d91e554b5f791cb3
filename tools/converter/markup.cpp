#include "tools/converter/markup.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <strings.h>
#include <unordered_set>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsName(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || c == '_' || c == ':' || u >= 0x80;
}

bool endsName(char c) {
    return isBlank(c) || c == '/' || c == '>' || c == '<' || c == '=' || c == '"' || c == '\'';
}

std::string lowerText(const char* at, std::size_t n) {
    std::string out(at, n);
    std::transform(out.begin(), out.end(), out.begin(), lower);
    return out;
}

bool continuesName(char c) {
    return startsName(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// Whether XML lets a document hold the character.
bool isXmlCharacter(u64 c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

constexpr u32 kNoCharacter = 0xFFFFFFFF;

struct XmlEntity {
    const char* name;
    char character;
};
const XmlEntity kXmlEntities[] = {
    {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''},
};

// A reference from its '&' through its ';': a character's number (&#38;,
// &#x26;) or an entity's name (&amp;).
struct Reference {
    enum Kind { None, Number, Entity } kind = None;
    std::size_t length = 0;
    u32 character = kNoCharacter; // what it stands for, when XML defines that
    std::string_view name;        // an entity's
};

i32 digitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    char l = lower(c);
    return hex && l >= 'a' && l <= 'f' ? l - 'a' + 10 : -1;
}

Reference numberAt(std::string_view text, std::size_t at) {
    bool hex = at + 2 < text.size() && text[at + 2] == 'x';
    std::size_t first = at + (hex ? 3 : 2);
    std::size_t i = first;
    u64 value = 0;
    for (i32 d; i < text.size() && (d = digitValue(text[i], hex)) >= 0; ++i) {
        value = std::min<u64>(value * (hex ? 16 : 10) + static_cast<u64>(d), 0x110000);
    }
    if (i == first || i >= text.size() || text[i] != ';') {
        return {};
    }
    u32 character = isXmlCharacter(value) ? static_cast<u32>(value) : kNoCharacter;
    return {Reference::Number, i + 1 - at, character, {}};
}

// The reference that the '&' at at begins; kind None when it begins none.
Reference referenceAt(std::string_view text, std::size_t at) {
    if (at + 1 < text.size() && text[at + 1] == '#') {
        return numberAt(text, at);
    }
    std::size_t i = at + 1;
    if (i >= text.size() || !startsName(text[i])) {
        return {};
    }
    while (i < text.size() && continuesName(text[i])) {
        ++i;
    }
    if (i >= text.size() || text[i] != ';') {
        return {};
    }
    Reference r{Reference::Entity, i + 1 - at, kNoCharacter, text.substr(at + 1, i - at - 1)};
    for (const XmlEntity& e : kXmlEntities) {
        if (r.name == e.name) {
            r.character = static_cast<u32>(e.character);
        }
    }
    return r;
}

void appendUtf8(std::string& out, u32 c) {
    auto byte = [&](u32 b) { out += static_cast<char>(b); };
    if (c < 0x80) {
        byte(c);
    } else if (c < 0x800) {
        byte(0xC0 | c >> 6);
        byte(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        byte(0xE0 | c >> 12);
        byte(0x80 | (c >> 6 & 0x3F));
        byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | c >> 18);
        byte(0x80 | (c >> 12 & 0x3F));
        byte(0x80 | (c >> 6 & 0x3F));
        byte(0x80 | (c & 0x3F));
    }
}

} // namespace

// Reads the text's markup into a Markup, '<' by '<', noting the first
// fault of it.
struct Markup::Reader {
    Markup& m;
    std::string_view text;
    i32 length;
    std::vector<i32> open;                    // the elements not yet ended, outermost first
    std::vector<i32> openNamed;               // by name number: how many of them have the name
    std::unordered_set<std::string> declared; // the entities of a DOCTYPE's [...] part

    Reader(Markup& markup, const char* t, i32 n) : m(markup), text(t, n), length(n) {}

    void run() {
        i32 textFrom = 0;
        for (std::size_t at = text.find('<'); at != std::string_view::npos;
             at = text.find('<', static_cast<std::size_t>(textFrom))) {
            checkReferences(textFrom, static_cast<i32>(at));
            textFrom = readAt(static_cast<i32>(at));
        }
        checkReferences(textFrom, length);
        if (m.elements_.empty() && !m.spans_.empty()) {
            fault([] {
                return std::string("The document ends before its first element: it may "
                                   "be cut short");
            });
        }
        if (!open.empty()) {
            const MarkupElement& inner = m.elements_[static_cast<std::size_t>(open.back())];
            fault([&] {
                return "The document ends before " + tagOf(inner.open) + " of line " +
                       lineOf(inner.open) + " is closed: it may be cut short";
            });
        }
    }

    // Notes the first fault, whose message (without its line feed) message()
    // gives: only the first is worked out, as each counts lines.
    template <typename Message> void fault(Message message) {
        if (m.fault_.empty()) {
            m.fault_ = message() + "\n";
        }
    }

    // The line of position at, counting from 1; a line ends with a line feed,
    // a carriage return or both.
    std::string lineOf(i32 at) const {
        i32 line = 1;
        for (i32 i = 0; i < at; ++i) {
            line +=
                text[i] == '\n' || (text[i] == '\r' && (i + 1 == length || text[i + 1] != '\n'));
        }
        return std::to_string(line);
    }

    std::string_view nameAt(i32 i) const {
        return text.substr(static_cast<std::size_t>(i),
                           static_cast<std::size_t>(nameEndFrom(i) - i));
    }

    // The start tag at at as "<name>".
    std::string tagOf(i32 at) const { return "<" + std::string(nameAt(at + 1)) + ">"; }

    // Each reference in [from, to) must be one that XML defines.
    void checkReferences(i32 from, i32 to) {
        std::string_view part = text.substr(0, static_cast<std::size_t>(to));
        for (std::size_t at = part.find('&', static_cast<std::size_t>(from));
             at != std::string_view::npos; at = part.find('&', at + 1)) {
            Reference r = referenceAt(part, at);
            if (r.kind != Reference::None && r.character == kNoCharacter) {
                refuseReference(r, static_cast<i32>(at));
            }
            m.references_ = m.references_ || r.character != kNoCharacter;
        }
    }

    void refuseReference(const Reference& r, i32 at) {
        fault([&] {
            std::string where = std::string(text.substr(static_cast<std::size_t>(at), r.length)) +
                                " on line " + lineOf(at);
            if (r.kind == Reference::Number) {
                return "The character reference " + where + " names no character";
            }
            if (declared.count(std::string(r.name)) != 0) {
                return "The entity " + where +
                       " is declared by the document, and Meshwright reads no entity but XML's "
                       "own (&amp; &lt; &gt; &quot; &apos;): write the text it stands for in its "
                       "place";
            }
            return "The entity " + where +
                   " is not defined: XML defines &amp; &lt; &gt; &quot; &apos; only";
        });
    }

    bool startsWith(i32 at, std::string_view what) const {
        return text.compare(static_cast<std::size_t>(at), what.size(), what) == 0;
    }

    // Where what begins at or after from; -1 when it does not.
    i32 locate(i32 from, std::string_view what) const {
        std::size_t at = text.find(what, static_cast<std::size_t>(from));
        return at == std::string_view::npos ? -1 : static_cast<i32>(at);
    }

    // Notes that the piece of markup (kind) that begins at at never ends;
    // gives the text's end.
    i32 neverEnds(const std::string& kind, i32 at) {
        fault([&] { return "The " + kind + " that begins on line " + lineOf(at) + " never ends"; });
        return length;
    }

    // The position just past the first what at or after from, for the piece
    // of markup (kind) that begins at at.
    i32 closedBy(i32 at, i32 from, std::string_view what, const char* kind) {
        i32 close = locate(from, what);
        return close < 0 ? neverEnds(kind, at) : close + static_cast<i32>(what.size());
    }

    i32 nameEndFrom(i32 i) const {
        while (i < length && !endsName(text[i])) {
            ++i;
        }
        return i;
    }

    i32 skipBlanks(i32 i) const {
        while (i < length && isBlank(text[i])) {
            ++i;
        }
        return i;
    }

    // Notes the markup [at, end); gives end.
    i32 add(i32 at, i32 end) {
        m.spans_.push_back({at, end, static_cast<i32>(open.size())});
        return end;
    }

    // Reads the markup that the '<' at at begins; gives where it ends (just
    // past the '<' when it begins none, as in "a < b").
    i32 readAt(i32 at) {
        if (startsWith(at, "<!--")) {
            return add(at, closedBy(at, at + 4, "-->", "comment"));
        }
        if (startsWith(at, "<![CDATA[")) {
            return cdata(at);
        }
        if (startsWith(at, "<!")) {
            return add(at, declarationEnd(at));
        }
        if (startsWith(at, "<?")) {
            return add(at, closedBy(at, at + 2, "?>", "processing instruction"));
        }
        if (startsWith(at, "</")) {
            return endTag(at);
        }
        if (at + 1 < length && startsName(text[at + 1])) {
            return startTag(at);
        }
        if (at + 1 == length) {
            fault([&] {
                return "The document ends in a '<' on line " + lineOf(at) + ": it may be cut short";
            });
        }
        return at + 1;
    }

    // The two markers of a CDATA section are markup, its content is text.
    i32 cdata(i32 at) {
        i32 content = add(at, at + 9);
        i32 close = locate(content, "]]>");
        return close < 0 ? neverEnds("CDATA section", at) : add(close, close + 3);
    }

    // A declaration such as <!DOCTYPE ...> at at ends at a '>' outside quotes
    // and outside its [...] part. Inside that part, comments and processing
    // instructions are markup of their own, and <!ENTITY ...> declares an
    // entity. The text's end, with a fault, when it never ends.
    i32 declarationEnd(i32 at) {
        char quote = 0;
        i32 brackets = 0;
        for (i32 i = at + 2; i < length; ++i) {
            char c = text[i];
            if (quote != 0) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '[' || (c == ']' && brackets > 0)) {
                brackets += c == '[' ? 1 : -1;
            } else if (c == '>' && brackets == 0) {
                return i + 1;
            } else if (c == '<' && brackets > 0) {
                i = subsetMarkupEnd(i) - 1;
            }
        }
        return neverEnds("declaration <!" + std::string(nameAt(at + 2)), at);
    }

    // Where the piece of markup at i inside a declaration's [...] part ends,
    // or how far it is passed over (an <!ENTITY ...> is read on as the
    // declaration goes on).
    i32 subsetMarkupEnd(i32 i) {
        if (startsWith(i, "<!--")) {
            return closedBy(i, i + 4, "-->", "comment");
        }
        if (startsWith(i, "<?")) {
            return closedBy(i, i + 2, "?>", "processing instruction");
        }
        if (startsWith(i, "<!ENTITY")) {
            i32 name = skipBlanks(i + 8);
            if (name < length && text[name] != '%') {
                declared.emplace(nameAt(name));
            }
        }
        return i + 1;
    }

    i32 endTag(i32 at) {
        i32 nameEnd = nameEndFrom(at + 2);
        i32 i = nameEnd;
        while (i < length && text[i] != '>' && text[i] != '<') {
            ++i;
        }
        std::string name(text.substr(static_cast<std::size_t>(at + 2),
                                     static_cast<std::size_t>(nameEnd - at - 2)));
        bool ended = i < length && text[i] == '>';
        if (!ended) {
            fault([&] { return endTagAt(name, at) + " does not end with '>'"; });
        }
        checkEnd(name, at);
        close(lowerText(name.data(), name.size()), at);
        return add(at, ended ? i + 1 : i);
    }

    std::string endTagAt(const std::string& name, i32 at) const {
        return "The end tag </" + name + "> on line " + lineOf(at);
    }

    // The end tag of name at at must end the element open there.
    void checkEnd(const std::string& name, i32 at) {
        if (open.empty()) {
            fault([&] { return endTagAt(name, at) + " closes no open element"; });
            return;
        }
        i32 inner = m.elements_[static_cast<std::size_t>(open.back())].open;
        if (nameAt(inner + 1) != name) {
            fault([&] {
                return endTagAt(name, at) + " does not close " + tagOf(inner) + " of line " +
                       lineOf(inner) + ", the element open there";
            });
        }
    }

    // Ends the innermost open element of the name at the end tag at at, and
    // the elements inside it, which have no end tag of their own. An end tag
    // that no open element has the name of ends nothing.
    void close(const std::string& name, i32 at) {
        i32 number = m.nameNumber(name);
        if (number < 0 || openNamed[static_cast<std::size_t>(number)] == 0) {
            return;
        }
        for (;;) {
            MarkupElement& element = m.elements_[static_cast<std::size_t>(open.back())];
            open.pop_back();
            --openNamed[static_cast<std::size_t>(element.name)];
            if (element.name == number) {
                element.contentEnd = at;
                return;
            }
        }
    }

    i32 number(const std::string& name) {
        auto [entry, added] = m.names_.emplace(name, static_cast<i32>(m.names_.size()));
        if (added) {
            m.nameOf_.push_back(name);
            openNamed.push_back(0);
        }
        return entry->second;
    }

    // A start tag: its name, then attributes, up to '>' or "/>". A tag that
    // the text ends in, or that a '<' breaks off, makes no element.
    i32 startTag(i32 at) {
        i32 nameEnd = nameEndFrom(at + 1);
        std::string name =
            lowerText(text.data() + at + 1, static_cast<std::size_t>(nameEnd - at - 1));
        MarkupElement element{at,           nameEnd + 1,
                              -1,           static_cast<i32>(open.size()),
                              number(name), static_cast<i32>(m.attributes_.size())};
        i32 i = nameEnd;
        for (;;) {
            i = skipBlanks(i);
            if (i >= length || text[i] == '<') {
                fault([&] {
                    return "The tag " + tagOf(at) + " on line " + lineOf(at) +
                           " does not end with '>'";
                });
                break;
            }
            if (text[i] == '>' || (text[i] == '/' && i + 1 < length && text[i + 1] == '>')) {
                bool empty = text[i] == '/';
                if (empty) {
                    element.contentEnd = i;
                    element.contentStart = std::min(element.contentStart, i);
                }
                addElement(element, empty);
                return add(at, i + (empty ? 2 : 1));
            }
            i = attribute(at, i);
            if (i < 0) {
                break;
            }
        }
        m.attributes_.resize(static_cast<std::size_t>(element.attributes));
        return add(at, i < 0 ? length : i);
    }

    void addElement(const MarkupElement& element, bool empty) {
        i32 index = static_cast<i32>(m.elements_.size());
        m.elements_.push_back(element);
        if (!empty) {
            open.push_back(index);
            ++openNamed[static_cast<std::size_t>(element.name)];
        }
    }

    // Reads the attribute at i of the tag at tag, name="value" or
    // name='value' with blanks allowed around the '=', or passes over what
    // is none; gives where it ends, or -1 when its value's quote never
    // closes.
    i32 attribute(i32 tag, i32 i) {
        if (endsName(text[i])) {
            return i + 1;
        }
        i32 first = i;
        i32 nameEnd = nameEndFrom(i);
        i = skipBlanks(nameEnd);
        if (i >= length || text[i] != '=') {
            return i;
        }
        i = skipBlanks(i + 1);
        if (i >= length || (text[i] != '"' && text[i] != '\'')) {
            return i;
        }
        i32 close = locate(i + 1, std::string_view(&text[i], 1));
        if (close < 0) {
            fault([&] {
                return "The value of the attribute " + std::string(nameAt(first)) + " of " +
                       tagOf(tag) + " on line " + lineOf(tag) + " never ends";
            });
            return -1;
        }
        m.attributes_.push_back({first, nameEnd, i + 1, close});
        checkReferences(i + 1, close);
        return close + 1;
    }
};

Markup::Markup(const char* text, i32 length) : text_(text) {
    // Room for every piece of markup and every element there can be, so that
    // no table grows by copying itself: each begins with a '<' before a name,
    // '/', '!' or '?' (and end tags make no element).
    std::string_view all(text, static_cast<std::size_t>(length));
    std::size_t pieces = 0, starts = 0;
    for (std::size_t at = all.find('<'); at != std::string_view::npos && at + 1 < all.size();
         at = all.find('<', at + 1)) {
        char next = all[at + 1];
        starts += startsName(next);
        pieces += startsName(next) || next == '/' || next == '!' || next == '?';
    }
    spans_.reserve(pieces);
    elements_.reserve(starts);
    Reader reader(*this, text, length);
    reader.run();
}

i32 Markup::nameNumber(const std::string& lowerName) const {
    auto found = names_.find(lowerName);
    return found == names_.end() ? -1 : found->second;
}

const Markup::Named& Markup::named(const std::string& lowerName) const {
    auto [entry, added] = searched_.try_emplace(lowerName);
    Named& named = entry->second;
    if (!added) {
        return named;
    }
    std::vector<bool> taken(nameOf_.size());
    for (std::size_t k = 0; k < nameOf_.size(); ++k) {
        taken[k] = nameOf_[k].compare(0, lowerName.size(), lowerName) == 0;
    }
    for (std::size_t k = 0; k < elements_.size(); ++k) {
        if (taken[static_cast<std::size_t>(elements_[k].name)]) {
            named.elements.push_back(static_cast<i32>(k));
        }
    }
    std::size_t n = named.elements.size();
    named.tree.assign(2 * n, 0);
    for (std::size_t j = 0; j < n; ++j) {
        named.tree[n + j] = static_cast<i32>(j);
    }
    for (std::size_t p = n; p-- > 1;) {
        named.tree[p] = shallower(named, named.tree[2 * p], named.tree[2 * p + 1]);
    }
    return named;
}

std::size_t Markup::firstNamedFrom(const Named& named, i32 at) const {
    auto first =
        std::lower_bound(named.elements.begin(), named.elements.end(), at, [&](i32 k, i32 pos) {
            return elements_[static_cast<std::size_t>(k)].open < pos;
        });
    return static_cast<std::size_t>(first - named.elements.begin());
}

i32 Markup::shallower(const Named& named, i32 a, i32 b) const {
    if (a < 0 || b < 0) {
        return std::max(a, b);
    }
    auto depth = [&](i32 j) {
        return elements_[static_cast<std::size_t>(named.elements[static_cast<std::size_t>(j)])]
            .depth;
    };
    return depth(a) < depth(b) || (depth(a) == depth(b) && a < b) ? a : b;
}

const MarkupElement* Markup::shallowest(const std::string& name, i32 from, i32 end) const {
    const Named& found = named(lowerText(name.data(), name.size()));
    std::size_t n = found.elements.size();
    i32 best = -1;
    for (std::size_t l = firstNamedFrom(found, from) + n, r = firstNamedFrom(found, end) + n; l < r;
         l /= 2, r /= 2) {
        if (l % 2 == 1) {
            best = shallower(found, best, found.tree[l++]);
        }
        if (r % 2 == 1) {
            best = shallower(found, best, found.tree[--r]);
        }
    }
    if (best < 0) {
        return nullptr;
    }
    return &elements_[static_cast<std::size_t>(found.elements[static_cast<std::size_t>(best)])];
}

i32 Markup::depthAt(i32 at) const {
    auto after = std::lower_bound(spans_.begin(), spans_.end(), at,
                                  [](const MarkupSpan& s, i32 pos) { return s.at < pos; });
    return after == spans_.begin() ? 0 : (after - 1)->depth;
}

const std::vector<i32>& Markup::attributesNamed(const std::string& lowerName) const {
    auto [entry, added] = attributesSearched_.try_emplace(lowerName);
    std::vector<i32>& found = entry->second;
    std::size_t n = lowerName.size();
    for (std::size_t a = 0; added && a < attributes_.size(); ++a) {
        const MarkupAttribute& attribute = attributes_[a];
        if (static_cast<std::size_t>(attribute.nameEnd - attribute.nameAt) >= n &&
            strncasecmp(text_ + attribute.nameEnd - n, lowerName.data(), n) == 0) {
            found.push_back(static_cast<i32>(a));
        }
    }
    return found;
}

const MarkupAttribute* Markup::attribute(const std::string& name, i32 from, i32 end) const {
    const std::vector<i32>& named = attributesNamed(lowerText(name.data(), name.size()));
    i32 n = static_cast<i32>(name.size());
    auto first = std::lower_bound(named.begin(), named.end(), from, [&](i32 a, i32 pos) {
        return attributes_[static_cast<std::size_t>(a)].nameEnd - n < pos;
    });
    if (first == named.end()) {
        return nullptr;
    }
    const MarkupAttribute& attribute = attributes_[static_cast<std::size_t>(*first)];
    return attribute.nameEnd - n < end && attribute.valueEnd < end ? &attribute : nullptr;
}

std::size_t Markup::firstElementFrom(i32 at) const {
    return static_cast<std::size_t>(
        std::lower_bound(elements_.begin(), elements_.end(), at,
                         [](const MarkupElement& e, i32 pos) { return e.open < pos; }) -
        elements_.begin());
}

i32 Markup::tagBefore(i32 at) const {
    std::size_t k = firstElementFrom(at);
    return k == 0 ? -1 : elements_[k - 1].open;
}

std::size_t Markup::firstSpanEndingFrom(i32 at) const {
    return static_cast<std::size_t>(
        std::lower_bound(spans_.begin(), spans_.end(), at,
                         [](const MarkupSpan& s, i32 pos) { return s.end < pos; }) -
        spans_.begin());
}

bool Markup::inCdata(i32 at) const {
    auto after = std::upper_bound(spans_.begin(), spans_.end(), at,
                                  [](i32 pos, const MarkupSpan& s) { return pos < s.at; });
    if (after == spans_.begin()) {
        return false;
    }
    const MarkupSpan& before = *(after - 1);
    return before.end <= at && before.end - before.at == 9 &&
           std::memcmp(text_ + before.at, "<![CDATA[", 9) == 0;
}

std::string readReferences(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at = text.find('&'); at != std::string_view::npos; at = text.find('&', from)) {
        out.append(text.substr(from, at - from));
        Reference r = referenceAt(text, at);
        if (r.character == kNoCharacter) {
            out += '&';
            from = at + 1;
        } else {
            appendUtf8(out, r.character);
            from = at + r.length;
        }
    }
    out.append(text.substr(from));
    return out;
}
