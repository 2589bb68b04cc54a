#pragma once
#include "cells/CellEngine.h"
#include "cells/CellVocabulary.h"

#include <cstdint>

class cmcEeprom;

namespace adj {

// The adjustment program's cell categories (27, CT_ADJ its own) and cell
// labels (1103: the shared families in the cloning program's order, and the
// adjustment items, adjustment parameters and A/D monitor rows); its cell
// definitions know the option flags Flag0 to Flag4.
const CellVocabulary& AdjustCellVocabulary();

// The adjustment program's cell engine over that vocabulary.
CellEngine& AdjustCellEngine();

// The record a repeater-site sheet reads for site s: the site, its first
// row, the highest row of the sheet and the site's entry count; all zero
// for a site outside 0..127.
struct SiteRange {
    int32_t site = 0;
    int32_t first = 0;
    int32_t lastRow = 0;
    int32_t count = 0;
    bool operator==(const SiteRange&) const = default;
};
SiteRange GetSiteRange(const cmcEeprom& image, int32_t site);
// The same for the site the open repeater-site sheet shows (asked on the
// bus); all zero when no sheet answers.
SiteRange GetCurrentSiteRange(const cmcEeprom& image);

} // namespace adj
