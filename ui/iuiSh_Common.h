#pragma once
#include "ui/cuiSheet.h"

#include <string>

// A sheet whose lines are switched on and off by the current model and a few
// image settings, so one definition serves all ten models.
class iuiSh_Common : public cuiSheet {
public:
    using cuiSheet::cuiSheet;

    // "Only_<what> n" keeps the next n lines when the model or image is
    // <what>, else drops them; other directives are the plain sheet's.
    void SetRowDirective(const std::string& text) override;
};

// Hands a filter's "skip n" to the sheet's lines as the plain "Never n", so
// the count is read the one way every directive reads it.
void SkipLinesOf(SheetLineParser& lines, const std::string& directive, size_t keywordLength);
