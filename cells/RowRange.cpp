#include "cells/RowRange.h"

#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"

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
    return RowRange{bank, GetBankFirstChannel(CurrentImage(), bank), GetBankLastChannel(CurrentImage(), bank),
                    GetBankChannelCount(CurrentImage(), bank)};
}

RowRange GetSiteRange(int32_t site) {
    if (!IsValidSite(site)) return RowRange{};
    return RowRange{site, GetSiteFirstChannel(CurrentImage(), site), GetSiteLastChannel(CurrentImage(), site),
                    GetSiteChannelCount(CurrentImage(), site)};
}

RowRange GetCurrentBankRange() {
    std::optional<int32_t> bank = AskOpenSheet(evQueryBank);
    return bank ? GetBankRange(*bank) : RowRange{};
}

RowRange GetCurrentSiteRange() {
    std::optional<int32_t> site = AskOpenSheet(evQuerySite);
    return site ? GetSiteRange(*site) : RowRange{};
}
