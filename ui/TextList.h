#pragma once
#include "foundation/cmcGTex.h"

#include <optional>
#include <string>

// A text-table list as menus, tool bars and trees read it: one entry a line up
// to the next '#' line; what stands before a line's first '+' is its depth, the
// text after it the entry's cell definition. A deeper line starts the
// sub-list of the entry above it; a shallower line ends the current list.

// The nesting depth of a list line: what stands before its first '+'.
inline size_t ListDepth(const std::string& line) {
    const size_t plus = line.find('+');
    return plus == std::string::npos ? line.size() : plus;
}

// The cell definition of a list line: the text after its first '+'.
inline std::string ListDefinition(const std::string& line) {
    const size_t plus = line.find('+');
    return plus == std::string::npos ? std::string() : line.substr(plus + 1);
}

// Builds the list of key from firstLine under parent: add(parent, line)
// makes one entry and returns it as the parent of its sub-list. Returns the
// number of lines read.
template <class Node, class Add>
int BuildTextList(cmcGTex& texts, Node parent, const std::string& key, int firstLine, const Add& add) {
    int n = 0;
    size_t depth = 0;
    Node last{};
    for (;;) {
        // The overlay ends with a '#' line; a text that stops short of it
        // still ends the list rather than reading empty lines for ever.
        const std::optional<std::string> line = texts.TryGetTextLine(key, firstLine + n);
        if (!line || line->starts_with('#')) break;
        const size_t e = ListDepth(*line);
        if (n == 0) {
            depth = e;
        } else if (e > depth) {
            n += BuildTextList(texts, last, key, firstLine + n, add);
            continue;
        } else if (e < depth) {
            break;
        }
        last = add(parent, *line);
        ++n;
    }
    return n;
}
