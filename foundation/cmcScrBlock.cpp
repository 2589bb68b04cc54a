#include "foundation/cmcScrBlock.h"

#include "foundation/TextUtil.h"

cmcScrBlock::cmcScrBlock(const std::string& text) {
    std::vector<std::string> parts = SplitFields(text, " ");
    head_ = parts.front();
    TrimBlanks(head_);
    if (parts.size() < 2) return;
    // The rest starts at a single-byte blank, so it splits on the same character boundaries.
    std::string rest = text.substr(parts.front().size());
    for (std::string& word : SplitFields(TrimBlanks(rest), ","))
        words_.push_back(std::move(TrimBlanks(word)));
}

const std::string& cmcScrBlock::Word(int i) const {
    static const std::string kNone;
    return (i >= 0 && i < Count()) ? words_[size_t(i)] : kNone;
}
