// The adjustment program's own reading of the radio's information block.
#include "adjust/AdjustCells.h"
#include "cells/AppManager.h"
#include "cells/CellFrame.h"
#include "cells/ConvSupport.h"
#include "foundation/Globals.h"

#include <cctype>

namespace adj {
namespace {

constexpr int32_t kSerialOffset = 37;

std::optional<uint32_t> Hex(const uint8_t* info, int32_t offset, int32_t n) {
    uint32_t value = 0;
    for (int32_t i = 0; i < n; ++i) {
        const int c = info[offset + i];
        if (!std::isxdigit(c)) return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(std::isdigit(c) ? c - '0' : std::toupper(c) - 'A' + 10);
    }
    return value;
}

void InfoSerial(CellFrame& f) {
    if (!gAppManager) return;
    f.Show(FormatShortSerialNumber(gAppManager->InfoBlock().data()).value_or(" "));
}

} // namespace

std::optional<std::string> FormatShortSerialNumber(const uint8_t* info) {
    // All twelve must be digits, though the last four are not shown.
    if (!Hex(info, kSerialOffset, 12)) return std::nullopt;
    const uint32_t head = *Hex(info, kSerialOffset, 2);
    const uint32_t number = *Hex(info, kSerialOffset + 2, 6);
    return conv::Format("%02u%05lu", head, static_cast<unsigned long>(number));
}

void RegisterAdjustInfoCells(CellCaseList& list) {
    list.Add("CL_CloneInfo_Esn", InfoSerial);
}

} // namespace adj
