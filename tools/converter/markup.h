#pragma once

#include "engine/types.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The markup of a .dae text, read once before the rules run: every start
// tag, end tag, comment, CDATA section, processing instruction and
// declaration, and the elements the tags make. Every rule finds elements,
// attributes and values through it, so each form means what XML means by it:
// comments, CDATA sections and processing instructions hold no tags, a tag
// ending in "/>" is an element without content, an attribute value is quoted
// with either quote (and may hold '>' or "/>"), and blanks may stand around
// its '='.
//
// The markup must close in order, as XML means it: every element ends, each
// end tag ends the element open there, and every comment, CDATA section,
// processing instruction, declaration, tag and attribute value ends; markup
// without any element is a document cut short (a text without markup is no
// document, and no fault). A reference in a text or an attribute value must
// be one XML defines (&amp;, &lt;, &gt;, &quot;, &apos;, or a character's
// number, &#38; or &#x26;); a '&' that begins no reference stands for
// itself. The first fault found is kept as a message that names the element
// (or the entity) and its line; the elements are read as before all the
// same, an end tag ending the innermost open element of its name.

// One piece of markup, [at, end), and how many elements are open after it.
struct MarkupSpan {
    i32 at;
    i32 end;
    i32 depth;
};

struct MarkupAttribute {
    i32 nameAt;
    i32 nameEnd;
    i32 valueAt;  // just past the opening quote
    i32 valueEnd; // the closing quote
};

struct MarkupElement {
    i32 open;         // the '<' of its start tag
    i32 contentStart; // one character past its name (past the '>' of a bare tag)
    i32 contentEnd;   // the '<' of its end tag or the '/' of its "/>"; -1 without an end
    i32 depth;        // how many elements hold it
    i32 name;         // its name's number, letter case left out
    i32 attributes;   // its first attribute; its last one comes before the next element's
};

class Markup {
  public:
    Markup() = default;
    Markup(const char* text, i32 length);

    // The element whose name begins with name (any letter case, so "p" also
    // takes <param>) and whose start tag begins in [from, end) at the least
    // depth, the first of them; null when none.
    const MarkupElement* shallowest(const std::string& name, i32 from, i32 end) const;
    // How many elements are open at position at.
    i32 depthAt(i32 at) const;
    // The first attribute in [from, end) whose name ends with name (any
    // letter case); null when there is none or its value does not end
    // before end.
    const MarkupAttribute* attribute(const std::string& name, i32 from, i32 end) const;
    // The '<' of the last start tag that begins before at; -1 when none.
    i32 tagBefore(i32 at) const;
    // The markup in text order, and the first piece of it that ends at or
    // after at.
    const std::vector<MarkupSpan>& spans() const { return spans_; }
    std::size_t firstSpanEndingFrom(i32 at) const;
    // Whether position at lies inside a CDATA section.
    bool inCdata(i32 at) const;

    // The first fault of the markup, as a message ending in a line feed;
    // empty when it has none.
    const std::string& fault() const { return fault_; }
    // Whether a text or an attribute value holds a reference.
    bool holdsReferences() const { return references_; }

  private:
    struct Reader;
    // The elements whose names begin with one search's name, in text order,
    // and a tree over them that gives the first shallowest of a range: 2n
    // entries, leaf j (the j-th element) at n + j, and at each inner entry p
    // the first shallowest of 2p and 2p + 1.
    struct Named {
        std::vector<i32> elements;
        std::vector<i32> tree;
    };

    i32 nameNumber(const std::string& lowerName) const;
    std::size_t firstElementFrom(i32 at) const;
    // The elements a search for lowerName takes, gathered at its first
    // search.
    const Named& named(const std::string& lowerName) const;
    // The attributes whose names end with lowerName, in text order, gathered
    // at its first search.
    const std::vector<i32>& attributesNamed(const std::string& lowerName) const;
    // The position in named of the first element that begins at or after at.
    std::size_t firstNamedFrom(const Named& named, i32 at) const;
    // Of the a-th and b-th elements of named (-1: none), the shallower, or
    // the first of two as deep.
    i32 shallower(const Named& named, i32 a, i32 b) const;

    const char* text_ = nullptr;
    std::vector<MarkupSpan> spans_;
    std::vector<MarkupElement> elements_;
    std::vector<MarkupAttribute> attributes_;
    std::unordered_map<std::string, i32> names_; // lower case, by number
    std::vector<std::string> nameOf_;            // by number
    mutable std::unordered_map<std::string, Named> searched_;
    mutable std::unordered_map<std::string, std::vector<i32>> attributesSearched_;
    std::string fault_;
    bool references_ = false;
};

// The text with every reference that XML defines read as the character it
// stands for (a number as UTF-8); anything else, such as a '&' that begins no
// reference, as written.
std::string readReferences(std::string_view text);
