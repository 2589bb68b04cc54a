#pragma once
#include <string>
#include <vector>

// One script line: a head word, then comma-separated arguments after the
// first blank, each with its blanks and tabs trimmed.
class cmcScrBlock {
public:
    explicit cmcScrBlock(const std::string& text);

    const std::string& Text() const { return head_; }
    // Argument i, or an empty text when there is none.
    const std::string& Word(int i) const;
    int Count() const { return int(words_.size()); }

private:
    std::string head_;
    std::vector<std::string> words_;
};
