// The settings cells that this program reads otherwise than the cloning
// program: the squelch level as a plain number, power-on scan on one bit,
// the bank's LTR switch straight from the second bank bitmap, the user
// tones' lengths in the adjustment scale, and the digital IDs in their full
// widths.
#include "adjust/AdjustCells.h"
#include "adjust/AdjustConv.h"
#include "adjust/AdjustLayout.h"
#include "adjust/AdjustRecords.h"
#include "cells/CellFrame.h"
#include "cells/CodeConv.h"
#include "cells/FieldForm.h"
#include "cells/ListConv.h"
#include "cells/NumberConv.h"
#include "cells/RecordForm.h"
#include "cells/cloning/ToneScanMakerLists.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace adj {
namespace {

constexpr int32_t kSquelchLevel = kRadioBlock;

void SquelchLevel(CellFrame& f) {
    uint8_t value = f.image.GetByte(kSquelchLevel);
    if (ConvByteCell(f.request, value, 0, 255, f.result) == 1) f.image.SetByte(kSquelchLevel, value);
}

constexpr int32_t kBitmapBanks = 128;

// Banks 0..127 own one bit each in the second bank bitmap; the rows past
// them have no switch.
void BankLtr(CellFrame& f) {
    if (f.index < 0 || f.index >= kBitmapBanks) {
        f.Show("----");
        return;
    }
    int32_t value = IsBankFlagB(f.image, f.index) ? 1 : 0;
    if (ConvSelCell(f.request, "GI_Sheet_Sel_Misc_OnOff2", value, f.result) != 1) return;
    SetBankFlagB(f.image, f.index, value);
    // The tree shows the LTR banks apart: it is rebuilt.
    if (gEvMan) gEvMan->Post(evRebuildTree);
}

// The digital lists' numbers, each one value of its row's record.
struct IdCell {
    const char* name;
    int32_t kind;
    int32_t hexDigits; // 0: decimal
    int32_t minimum, maximum;
};

constexpr IdCell kIdCells[] = {
    // An individual ID of 0 would address nobody.
    {"CL_Digi_Ind_Id_Hex", 22, 6, 1, 0xFFFFFF},
    {"CL_Digi_Ind_Id_Dec", 22, 0, 1, 0xFFFFFF},
    {"CL_Digi_Grp_Id_Hex", 23, 4, 0, 0xFFFF},
};

void IdValue(CellFrame& f) {
    const std::string name = f.engine.Vocabulary().CellName(f.cellId);
    const auto c = std::ranges::find_if(kIdCells, [&](const IdCell& e) { return name == e.name; });
    if (c == std::end(kIdCells)) return;
    datCh record(&f.image);
    record.Load(c->kind, f.index);
    int32_t& field = record.values[0];
    int32_t value = field;
    const int changed = c->hexDigits > 0 ? ConvHexNibblesCell(f.request, value, c->hexDigits, true, f.result)
                                         : ConvIntCell(f.request, value, c->minimum, c->maximum, 0, 1,
                                                       nullptr, true, false, f.result);
    if (changed != 1) return;
    field = std::clamp(value, c->minimum, c->maximum);
    record.Store(c->kind, f.index);
}

// Tones 0..14 keep a length byte each; tone 15 has none.
constexpr int32_t kToneLength = layout::Table(12).offset + 108;
constexpr int32_t kLengthTones = 15;

void UserToneLength(CellFrame& f) {
    if (f.index == kLengthTones) return recform::Dash(f);
    if (f.index < 0 || f.index > kLengthTones) return f.Show(std::string());
    const int32_t address = kToneLength + f.index;
    int32_t value = f.image.GetByte(address);
    if (ConvScaledByteCell(f.request, value, f.result) == 1)
        f.image.SetByte(address, static_cast<uint8_t>(value));
}

// Power-on scan is the one bit here; the cloning program adds a second one.
constexpr form::Row kFixedRows[] = {
    {"CL_ScanComm_PwrOnScan", form::Bit(layout::Table(8).offset + 47, 7), form::Sel(tsmlist::kOnOff)},
};

} // namespace

void RegisterAdjustSettingsCells(CellCaseList& list) {
    form::RegisterRows<kFixedRows>(list);
    list.Add("CL_SetM_SqlLev", SquelchLevel);
    list.Add("CL_Mch_LTR", BankLtr);
    list.Add("CL_UTone_Length", UserToneLength);
    for (const IdCell& c : kIdCells)
        list.Add(c.name, IdValue);
}

} // namespace adj
