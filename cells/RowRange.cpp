#include "cells/RowRange.h"

#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// The first value of the first answer; none when nobody answers.
std::optional<int32_t> AskOpenSheet(int32_t event) {
    if (!gEvMan) return std::nullopt;
    const std::vector<cmcEvAns> answers = gEvMan->SendWithAnswer(event);
    if (answers.empty()) return std::nullopt;
    return static_cast<int32_t>(answers.front().p1);
}

// A unit's rows from its first row and count, held to the table as its last
// row (the next unit's first less one) is: every cell asks for its bank's and
// site's rows, and summing the counts once is enough.
RowRange Rows(int32_t unit, int32_t first, int32_t count, int32_t tableRows) {
    return RowRange{unit, first, std::max(std::min(first + count, tableRows) - 1, 0), count};
}

} // namespace

int32_t ReadBankChannelCount(const cmcEeprom& image, int32_t bank) {
    return GetBankChannelCount(image, bank);
}

int32_t GetBankFree(const cmcEeprom& image) {
    return ReadBankChannelCount(image, 1) != 0 ? 1 : 0;
}

bool SetBankFree(cmcEeprom&, int32_t, int32_t) {
    return true;
}

RowRange GetBankRange(int32_t bank) {
    if (!IsValidBank(bank)) return RowRange{};
    const cmcEeprom& image = CurrentImage();
    return Rows(bank, GetBankFirstChannel(image, bank), GetBankChannelCount(image, bank), layout::kChannelRows);
}

RowRange GetSiteRange(int32_t site) {
    if (!IsValidSite(site)) return RowRange{};
    const cmcEeprom& image = CurrentImage();
    return Rows(site, GetSiteFirstChannel(image, site), GetSiteChannelCount(image, site), layout::kPoolRows);
}

RowRange GetCurrentBankRange() {
    std::optional<int32_t> bank = AskOpenSheet(evQueryBank);
    return bank ? GetBankRange(*bank) : RowRange{};
}

RowRange GetCurrentSiteRange() {
    std::optional<int32_t> site = AskOpenSheet(evQuerySite);
    return site ? GetSiteRange(*site) : RowRange{};
}
