#pragma once
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/indEnviron.h"
#include "image/BankSite.h"
#include "image/cmcEeprom.h"
#include "image/datCh.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace testsupport {

// The receive frequency a filled bank gives channel row r: every row its own.
inline int32_t RowFrequency(int32_t row) {
    return 150000000 + row * 12500;
}

// Gives the bank count channels of the current model's kind, each programmed
// with its row's frequency for receive and transmit.
inline void FillBank(cmcEeprom& image, int32_t bank, int32_t count) {
    SetBankChannelCount(image, bank, count);
    datCh ch(&image);
    const int32_t kind = ModelClassOf(gEnviron->ModelType);
    const int32_t first = GetBankFirstChannel(image, bank);
    for (int32_t row = first; row < first + count; ++row) {
        ch.Load(kind, row);
        ch.rxFreq = ch.txFreq = RowFrequency(row);
        ch.Store(kind, row);
    }
}

// Names channel row r of the current model's kind; the name is cut or
// filled with blanks to the field's width.
inline void NameChannel(cmcEeprom& image, int32_t row, const std::string& name) {
    datCh ch(&image);
    const int32_t kind = ModelClassOf(gEnviron->ModelType);
    ch.Load(kind, row);
    std::string padded = name;
    padded.resize(ch.name.size(), ' ');
    std::copy(padded.begin(), padded.end(), ch.name.begin());
    ch.Store(kind, row);
}

} // namespace testsupport
