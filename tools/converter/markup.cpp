#include "tools/converter/markup.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <strings.h>

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

} // namespace

// Reads the text's markup into a Markup, '<' by '<'.
struct Markup::Reader {
    Markup& m;
    std::string_view text;
    i32 length;
    std::vector<i32> open;      // the elements not yet ended, outermost first
    std::vector<i32> openNamed; // by name number: how many of them have the name

    Reader(Markup& markup, const char* t, i32 n) : m(markup), text(t, n), length(n) {}

    void run() {
        for (std::size_t at = text.find('<'); at != std::string_view::npos;
             at = text.find('<', static_cast<std::size_t>(readAt(static_cast<i32>(at))))) {
        }
    }

    bool startsWith(i32 at, std::string_view what) const {
        return text.compare(static_cast<std::size_t>(at), what.size(), what) == 0;
    }

    // Where what begins at or after from; -1 when it does not.
    i32 locate(i32 from, std::string_view what) const {
        std::size_t at = text.find(what, static_cast<std::size_t>(from));
        return at == std::string_view::npos ? -1 : static_cast<i32>(at);
    }

    // The position just past what, or the text's end.
    i32 pastNext(i32 from, std::string_view what) const {
        i32 at = locate(from, what);
        return at < 0 ? length : at + static_cast<i32>(what.size());
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
            return add(at, pastNext(at + 4, "-->"));
        }
        if (startsWith(at, "<![CDATA[")) {
            return cdata(at);
        }
        if (startsWith(at, "<!")) {
            return add(at, declarationEnd(at + 2));
        }
        if (startsWith(at, "<?")) {
            return add(at, pastNext(at + 2, "?>"));
        }
        if (startsWith(at, "</")) {
            return endTag(at);
        }
        if (at + 1 < length && startsName(text[at + 1])) {
            return startTag(at);
        }
        return at + 1;
    }

    // The two markers of a CDATA section are markup, its content is text.
    i32 cdata(i32 at) {
        i32 content = add(at, at + 9);
        i32 close = locate(content, "]]>");
        return close < 0 ? length : add(close, close + 3);
    }

    // A declaration such as <!DOCTYPE ...> ends at a '>' outside quotes and
    // outside its [...] part.
    i32 declarationEnd(i32 i) const {
        char quote = 0;
        i32 brackets = 0;
        for (; i < length; ++i) {
            char c = text[i];
            if (quote != 0) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '[' || (c == ']' && brackets > 0)) {
                brackets += c == '[' ? 1 : -1;
            } else if (c == '>' && brackets == 0) {
                return i + 1;
            }
        }
        return length;
    }

    i32 endTag(i32 at) {
        i32 nameEnd = nameEndFrom(at + 2);
        i32 i = nameEnd;
        while (i < length && text[i] != '>' && text[i] != '<') {
            ++i;
        }
        close(lowerText(text.data() + at + 2, static_cast<std::size_t>(nameEnd - at - 2)), at);
        return add(at, i < length && text[i] == '>' ? i + 1 : i);
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
            i = attribute(i);
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

    // Reads the attribute at i, name="value" or name='value' with blanks
    // allowed around the '=', or passes over what is none; gives where it
    // ends, or -1 when its value's quote never closes.
    i32 attribute(i32 i) {
        if (endsName(text[i])) {
            return i + 1;
        }
        i32 nameAt = i;
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
        if (close >= 0) {
            m.attributes_.push_back({nameAt, nameEnd, i + 1, close});
        }
        return close < 0 ? -1 : close + 1;
    }
};

Markup::Markup(const char* text, i32 length) : text_(text) {
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
