// The columns of the memory-channel sheets (ids 124..200): every value lives
// in the row's channel records (S, X and the scan-list bitmaps), which the
// frame has decoded into its row record for the current model's class. Most
// columns are one row field through one converter and are given as a table;
// the rest are small functions below it.
#include "cells/ChannelCells.h"

#include "cells/CellCases.h"
#include "cells/CellFields.h"
#include "cells/CellFrame.h"
#include "cells/CellIds.h"
#include "cells/CellVocabulary.h"
#include "cells/CodeConv.h"
#include "cells/ConvSupport.h"
#include "cells/FieldForm.h"
#include "cells/FreqToneConv.h"
#include "cells/ListConv.h"
#include "cells/NumberConv.h"
#include "cells/TextCell.h"
#include "cells/cmcCellObj.h"
#include "image/BankSite.h"
#include "image/RecordLayout.h"
#include "image/datCh.h"

#include <algorithm>
#include <array>
#include <type_traits>

namespace {

constexpr int32_t kFirstId = cellid::CL_Mch_No;
constexpr int32_t kLastId = cellid::CL_Mch_SQL_Type;

constexpr int32_t kAlignLeft = 0;
constexpr int32_t kAlignCentre = 1;
constexpr int32_t kAlignRight = 2;

// Bit 6 of the byte that also holds reference C's switch: the scan-list columns are in use.
constexpr int32_t kScanListSwitchBit = 6;

constexpr const char* kOnOff2 = "GI_Sheet_Sel_Misc_OnOff2";
constexpr const char* kAbcCode = "GI_Sheet_Sel_RxC_AbcCode";
constexpr const char* kSameAsReceive = "<-";

// ---- what the columns share ----

void AlignH(CellFrame& f, int32_t alignment) {
    f.cell.layout = static_cast<uint8_t>((f.cell.layout & ~cmcCellObj::kAlignHMask) | alignment);
}

// The digital mode of the row (CL_Mch_Dig_Sig): 0 analog, 3 digital only.
int32_t DigitalMode(const CellFrame& f) {
    return f.row.chS12Low2 & 3;
}

// Digital modes (as bits) in which a column is grey.
constexpr uint8_t Modes(std::initializer_list<int32_t> modes) {
    uint8_t bits = 0;
    for (int32_t m : modes)
        bits = static_cast<uint8_t>(bits | 1u << m);
    return bits;
}

bool OpenBankIsLtr(const CellFrame& f) {
    return IsBankFlagB(f.image, f.bankRange.number);
}

// The PMR-Z columns that only some rows use: with the MSK signalling on, a
// signalling field needs the no-repeater choice and a station field is not
// used; with it off, the MSK fields are not used. Other models use them all.
enum class Gate : uint8_t { None, Signalling, Station, Msk, ScanListSwitch };

bool GateOpen(const CellFrame& f, Gate gate) {
    switch (gate) {
    case Gate::Signalling:
        return f.sigOff || (f.noRepeater && f.sigOn) || !f.model.pmrZ;
    case Gate::Station:
        return f.sigOff || !f.model.pmrZ;
    case Gate::Msk:
        return f.sigOn || !f.model.pmrZ;
    case Gate::ScanListSwitch:
        return field::GetFlag(f.image, layout::kRefCFlags, kScanListSwitchBit);
    case Gate::None:
        break;
    }
    return true;
}

// A column the row does not use edits nothing: blank, centred and grey.
void ShowUnused(CellFrame& f) {
    f.Show(std::string());
    if (!f.request.canvas) return;
    f.cell.layout =
        static_cast<uint8_t>((f.cell.layout & ~(cmcCellObj::kAlignHMask | cmcCellObj::kAlignVMask)) |
                             kAlignCentre | kAlignCentre << 2);
    f.Grey();
}

// The marks of the PMR-Z signalling columns while the MSK signalling is on.
using Mark = SignallingMark;

void SetMark(CellFrame& f, Mark mark, int32_t value) {
    if (!f.model.pmrZ || !f.sigOn) return;
    ApplySignallingMark(f, mark, value);
}

// ---- the table of plain columns ----

// A row field as an int; the set side writes the field's own type.
struct FieldRef {
    int32_t (*get)(const datCh&);
    void (*set)(datCh&, int32_t);
};

template <auto M> int32_t GetMember(const datCh& r) {
    return static_cast<int32_t>(r.*M);
}
template <auto M> void SetMember(datCh& r, int32_t v) {
    using T = std::remove_reference_t<decltype(r.*M)>;
    r.*M = static_cast<T>(v);
}
template <auto M> constexpr FieldRef Field{&GetMember<M>, &SetMember<M>};

// The MSK receive code set is the low seven bits of X[10] shown one place up
// (the converter counts the first digit from bit 7); the bits above them stay.
constexpr FieldRef kMskRxCode{
    [](const datCh& r) { return (r.rxCNo & 0x7F) * 2; },
    [](datCh& r, int32_t v) { r.rxCNo = (r.rxCNo & ~0x7F) | (v / 2 & 0x7F); },
};

// The MSK repeater column: the no-repeater bit as its own item, else the
// repeater code, which the no-repeater choice leaves as it is.
constexpr FieldRef kMskRepeater{
    [](const datCh& r) { return r.chX3b2 ? chlist::kMskNoRepeater : r.rptC; },
    [](datCh& r, int32_t v) {
        r.chX3b2 = v == chlist::kMskNoRepeater;
        if (!r.chX3b2) r.rptC = v;
    },
};

// The lists that differ by model class: PMR and PMR-Z, P25, the others.
bool PmrClass(const CellFrame& f) {
    return f.model.pmr || f.model.pmrZ;
}
const char* LockoutList(const CellFrame& f) {
    return PmrClass(f) ? chlist::kLockoutPmr : f.model.p25 ? chlist::kLockoutLmrP25 : chlist::kLockoutLmr;
}
const char* AutoResetList(const CellFrame& f) {
    return PmrClass(f) ? chlist::kAutoResetPmr : chlist::kAutoResetLmr;
}
const char* LogList(const CellFrame& f) {
    return PmrClass(f) ? chlist::kLogPmr : chlist::kLogLmr;
}

// Greying besides the digital modes.
constexpr uint8_t kGreyLtrDtmf = 1;    // in an LTR bank while the row decodes DTMF (X[18] bit 5)
constexpr uint8_t kGreyNotLtrBank = 2; // outside an LTR bank
constexpr uint8_t kGreySigOff = 4;     // PMR-Z with the MSK signalling off, before the converter

struct Column {
    std::array<int16_t, 3> ids;
    FieldRef field;
    form::Conv conv;
    Gate gate = Gate::None;
    // Shown in grey while the scan-list switch is off.
    const char* switchedOff = nullptr;
    uint8_t greyModes = 0;
    uint8_t grey = 0;
    int8_t align = -1;
    int32_t changeFlags = 0;
    Mark mark = Mark::None;
    // Runs on the row after a change, before it is stored.
    void (*onChange)(datCh&) = nullptr;
};

constexpr int32_t kRebuild = CellFrame::kFlagRebuildAll;

using form::DigitSet;
using form::HexValue;
using form::Sel;
using form::Sel4;
using form::SelList;
using form::SelPair;

// clang-format off
constexpr Column kColumns[] = {
    {.ids = {cellid::CL_Mch_Inh}, .field = Field<&datCh::rxFreqTopBit>, .conv = Sel(chlist::kChInh)},
    {.ids = {cellid::CL_Mch_TxInh, cellid::CL_Mch_TxInh_Zuro}, .field = Field<&datCh::txFreqTopBit>,
     .conv = Sel(chlist::kTxInh)},
    {.ids = {cellid::CL_Mch_Nar, cellid::CL_Mch_Nar_Pmr}, .field = Field<&datCh::chBitS12b6>,
     .conv = Sel(chlist::kNar), .greyModes = Modes({3})},
    {.ids = {cellid::CL_Mch_Compander}, .field = Field<&datCh::chBitX3b4>, .conv = Sel(kOnOff2),
     .greyModes = Modes({3})},
    {.ids = {cellid::CL_Mch_PwrSave, cellid::CL_Mch_PwrSave_Zuro}, .field = Field<&datCh::chBitX0b7>,
     .conv = Sel(kOnOff2)},
    {.ids = {cellid::CL_Mch_Tot, cellid::CL_Mch_Tot_Zuro}, .field = Field<&datCh::chBitX0b4>,
     .conv = Sel(kOnOff2)},
    {.ids = {cellid::CL_Mch_RfPo}, .field = Field<&datCh::chX0Low2>, .conv = Sel(chlist::kRfPwr)},
    {.ids = {cellid::CL_Mch_Lockout, cellid::CL_Mch_Lockout_Pmr, cellid::CL_Mch_Lockout_Dig},
     .field = Field<&datCh::chCombo5>,
     .conv = Sel(LockoutList)},
    {.ids = {cellid::CL_Mch_Scan, cellid::CL_Mch_Scan_Zuro}, .field = Field<&datCh::scanMember>,
     .conv = DigitSet(1, 17, 3)},
    {.ids = {cellid::CL_Mch_AutoChScan}, .field = Field<&datCh::chBitX3b0>, .conv = Sel(kOnOff2)},
    {.ids = {cellid::CL_Mch_AutoReset, cellid::CL_Mch_AutoReset_Pmr, cellid::CL_Mch_AutoReset_Zuro},
     .field = Field<&datCh::chX2Low>, .conv = Sel(AutoResetList)},
    {.ids = {cellid::CL_Mch_2Tone}, .field = Field<&datCh::twoTone>,
     .conv = SelList(chlist::kTwoTone, listcell::Flex0, 0), .greyModes = Modes({2, 3}), .grey = kGreyLtrDtmf},
    {.ids = {cellid::CL_Mch_Log, cellid::CL_Mch_Log_Pmr, cellid::CL_Mch_Log_Zuro},
     .field = Field<&datCh::chX1High>, .conv = Sel(LogList),
     .greyModes = Modes({2, 3})},
    {.ids = {cellid::CL_Mch_Scan_Inc}, .field = Field<&datCh::chX1b1>, .conv = Sel(chlist::kScanInc)},
    {.ids = {cellid::CL_Mch_Scan_List}, .field = Field<&datCh::scanList>, .conv = Sel(chlist::kScanList),
     .gate = Gate::ScanListSwitch, .switchedOff = "----"},
    {.ids = {cellid::CL_Mch_Scan_ListSel}, .field = Field<&datCh::chX0b5>, .conv = Sel(chlist::kScanListSel),
     .gate = Gate::ScanListSwitch, .switchedOff = "---"},
    {.ids = {cellid::CL_Mch_Scrm_On}, .field = Field<&datCh::scrambleMode>, .conv = Sel(chlist::kScramOn),
     .greyModes = Modes({3})},
    {.ids = {cellid::CL_Mch_Sql_Tight}, .field = Field<&datCh::sqlTight>, .conv = Sel(kOnOff2)},
    {.ids = {cellid::CL_Mch_RxCNo2, cellid::CL_Mch_RxCNo2_Ltr}, .field = Field<&datCh::rxCNo>,
     .conv = DigitSet(1, 10, 2), .greyModes = Modes({3}), .grey = kGreyLtrDtmf},
    {.ids = {cellid::CL_Mch_Moni, cellid::CL_Mch_Moni_Zuro}, .field = Field<&datCh::chCombo4>,
     .conv = Sel4(chlist::kMoni), .changeFlags = kRebuild, .mark = Mark::WarnUnless6Or7},
    {.ids = {cellid::CL_Mch_Sel, cellid::CL_Mch_Sel_Zuro}, .field = Field<&datCh::chX2Top2>,
     .conv = Sel4(chlist::kSel), .changeFlags = kRebuild, .mark = Mark::ErrorUnless1},
    {.ids = {cellid::CL_Mch_Call, cellid::CL_Mch_Call_Zuro}, .field = Field<&datCh::chX2b3>,
     .conv = Sel4(chlist::kCall), .changeFlags = kRebuild, .mark = Mark::ErrorUnless0},
    {.ids = {cellid::CL_Mch_PTT, cellid::CL_Mch_PTT_Zuro}, .field = Field<&datCh::chX2b2>,
     .conv = Sel4(chlist::kPtt), .changeFlags = kRebuild, .mark = Mark::ErrorUnless0},
    {.ids = {cellid::CL_Mch_CH_Mute}, .field = Field<&datCh::chX1b0>, .conv = Sel4(chlist::kChMute),
     .changeFlags = kRebuild, .mark = Mark::WarnIf0},
    {.ids = {cellid::CL_Mch_Form, cellid::CL_Mch_Form_Zuro}, .field = Field<&datCh::formZuro>,
     .conv = Sel(chlist::kForm), .gate = Gate::Signalling, .align = kAlignLeft},
    {.ids = {cellid::CL_Mch_Rpt_C, cellid::CL_Mch_Rpt_C_Zuro}, .field = Field<&datCh::rptC>,
     .conv = SelList(kAbcCode, listcell::Flex1, 0), .gate = Gate::Signalling, .align = kAlignRight},
    {.ids = {cellid::CL_Mch_Rpt_L, cellid::CL_Mch_Rpt_L_Zuro}, .field = Field<&datCh::rptL>,
     .conv = Sel(chlist::kLTone), .gate = Gate::Signalling},
    {.ids = {cellid::CL_Mch_Stn_C}, .field = Field<&datCh::stnC>, .conv = SelList(kAbcCode, listcell::Flex1, 0),
     .gate = Gate::Station, .align = kAlignRight},
    {.ids = {cellid::CL_Mch_Stn_L}, .field = Field<&datCh::stnL>, .conv = Sel(chlist::kLTone),
     .gate = Gate::Station},
    {.ids = {cellid::CL_Mch_Id_C}, .field = Field<&datCh::idC>, .conv = SelList(kAbcCode, listcell::Flex1, 0),
     .gate = Gate::Station, .align = kAlignRight},
    {.ids = {cellid::CL_Mch_Id_L}, .field = Field<&datCh::idL>, .conv = Sel(chlist::kLTone),
     .gate = Gate::Station},
    {.ids = {cellid::CL_Mch_Pos}, .field = Field<&datCh::pos>, .conv = Sel(chlist::kPos),
     .gate = Gate::Station},
    {.ids = {cellid::CL_Mch_RxCNo}, .field = Field<&datCh::rxCNo>, .conv = DigitSet(1, 8, 0),
     .gate = Gate::Station},
    {.ids = {cellid::CL_Mch_RxCNoDtmf}, .field = Field<&datCh::rxCNoDtmf>,
     .conv = SelList(chlist::kDtmfDec, listcell::Flex0, 0), .grey = kGreyNotLtrBank,
     .onChange = [](datCh& r) { r.dtmfDec = r.rxCNoDtmf != 0; }},
    {.ids = {cellid::CL_Mch_DtmfDec}, .field = Field<&datCh::dtmfDec>, .conv = Sel(chlist::kChMuteLtr),
     .grey = kGreyNotLtrBank},
    {.ids = {cellid::CL_Mch_Msk_Sig}, .field = Field<&datCh::chX3b3>, .conv = Sel(chlist::kMskSignal),
     .changeFlags = kRebuild},
    {.ids = {cellid::CL_Mch_Msk_SendStatus}, .field = Field<&datCh::chX3b1>,
     .conv = Sel4(chlist::kSendStatus), .grey = kGreySigOff, .changeFlags = kRebuild},
    {.ids = {cellid::CL_Mch_Msk_Rpt}, .field = kMskRepeater,
     .conv = SelPair(chlist::kMskRptFirst, chlist::kMskRptSecond), .gate = Gate::Msk, .align = kAlignRight},
    {.ids = {cellid::CL_Mch_Msk_Stn}, .field = Field<&datCh::stnC>,
     .conv = SelList(chlist::kMskId, listcell::Flex0, 0), .gate = Gate::Msk, .align = kAlignRight},
    {.ids = {cellid::CL_Mch_Msk_RxCNo}, .field = kMskRxCode, .conv = DigitSet(1, 7, 0), .gate = Gate::Msk},
    {.ids = {cellid::CL_Mch_Dig_Sig}, .field = Field<&datCh::chS12Low2>, .conv = Sel(chlist::kDigSignal),
     .changeFlags = kRebuild},
    {.ids = {cellid::CL_Mch_Unit_Hex}, .field = Field<&datCh::unitId>, .conv = HexValue(0, 0xFFFF, 4),
     .greyModes = Modes({0})},
    {.ids = {cellid::CL_Mch_Unit_Dec}, .field = Field<&datCh::unitId>, .conv = form::Int16(0, form::kUnitIdMax),
     .greyModes = Modes({0})},
    {.ids = {cellid::CL_Mch_TG_List}, .field = Field<&datCh::tgList>,
     .conv = SelList(chlist::kTgList, listcell::Flex0, 0), .greyModes = Modes({0})},
    {.ids = {cellid::CL_Mch_Fast_Mute}, .field = Field<&datCh::chX17b7>, .conv = Sel(kOnOff2),
     .greyModes = Modes({0})},
    {.ids = {cellid::CL_Mch_SQL_Type}, .field = Field<&datCh::chX17b45>, .conv = Sel(chlist::kSqlType),
     .greyModes = Modes({0})},
};
// clang-format on

} // namespace

void ApplySignallingMark(CellFrame& f, SignallingMark mark, int32_t value) {
    switch (mark) {
    case SignallingMark::WarnUnless6Or7:
        f.SetWarning(value != 6 && value != 7);
        break;
    case SignallingMark::ErrorUnless1:
        f.SetError(value != 1);
        break;
    case SignallingMark::ErrorUnless0:
        f.SetError(value != 0);
        break;
    case SignallingMark::WarnIf0:
        f.SetWarning(value == 0);
        break;
    case SignallingMark::None:
        break;
    }
}

void SetSignallingMark(CellFrame& f, int32_t columnCell, int32_t value) {
    for (const Column& c : kColumns)
        for (int16_t id : c.ids)
            if (id == columnCell && id != 0) {
                SetMark(f, c.mark, value);
                return;
            }
}

namespace {

const Column* ColumnOf(int32_t id) {
    static const auto byId = [] {
        std::array<const Column*, kLastId - kFirstId + 1> table{};
        for (const Column& c : kColumns)
            for (int16_t id : c.ids)
                if (id != 0) table[static_cast<size_t>(id - kFirstId)] = &c;
        return table;
    }();
    return id >= kFirstId && id <= kLastId ? byId[static_cast<size_t>(id - kFirstId)] : nullptr;
}

void GreyAfter(CellFrame& f, uint8_t greyModes, uint8_t grey) {
    if (greyModes & 1u << DigitalMode(f)) f.Grey();
    if ((grey & kGreyLtrDtmf) && OpenBankIsLtr(f) && f.row.dtmfDec) f.Grey();
    if ((grey & kGreyNotLtrBank) && !OpenBankIsLtr(f)) f.Grey();
}

void TableColumn(CellFrame& f) {
    const Column& c = *ColumnOf(f.cellId);
    if (c.align >= 0) AlignH(f, c.align);
    if (!GateOpen(f, c.gate)) {
        if (c.gate == Gate::ScanListSwitch) {
            f.Show(c.switchedOff);
            f.Grey();
        } else {
            ShowUnused(f);
        }
        return;
    }
    if ((c.grey & kGreySigOff) && f.model.pmrZ && f.sigOff) f.Grey();
    f.value = c.field.get(f.row);
    if (form::RunConv(f, c.conv, f.value)) {
        c.field.set(f.row, f.value);
        if (c.onChange) c.onChange(f.row);
        f.StoreRow();
        f.resultFlags |= c.changeFlags;
    }
    GreyAfter(f, c.greyModes, c.grey);
    SetMark(f, c.mark, c.field.get(f.row));
}

// ---- the other columns ----

void RowNumber(CellFrame& f) {
    if (f.newRow) {
        f.Show(conv::FirstLine(f.request, chlist::kNewChTitle));
        return;
    }
    f.Show(conv::Format("%d-%3d", f.bankRange.number + 1, f.index - f.bankRange.first + 1));
}

// The reference channels and bank marks of the row, as the attribute list's flag byte.
void Attributes(CellFrame& f) {
    f.LoadRow(f.recordKind, f.index);
    datCh& r = f.row;
    uint8_t flags = static_cast<uint8_t>(r.isRefA | r.isRefB << 1 | r.isRefC << 2 | r.refCOff << 3 |
                                         r.smarTrunkBank << 4 | r.ltrBank << 5);
    if (!ConvAttributeCell(f.request, chlist::kAtr, flags, f.result)) return;
    r.isRefA = flags & 0x01;
    r.isRefB = flags & 0x02;
    r.isRefC = flags & 0x04;
    r.refCOff = flags & 0x08;
    r.smarTrunkBank = flags & 0x10;
    r.ltrBank = flags & 0x20;
    f.StoreRow();
    f.resultFlags |= CellFrame::kFlagRowCounts | CellFrame::kFlagRebuildAll;
}

// Input on the empty row below the bank's last channel adds that row to the
// bank first. A row that is not there takes no value: its index is the next
// bank's first channel (or a row of no bank), which must not be written.
void ReceiveFrequency(CellFrame& f) {
    if (f.newRow) {
        if (!f.AddRowForInput(false)) {
            f.Show(std::string());
            return;
        }
        f.resultFlags |= CellFrame::kFlagRowCounts;
    }
    if (ConvChannelFreqCell(f.request, f.row, true, f.result)) f.StoreRow();
}

void TransmitFrequency(CellFrame& f) {
    if (ConvChannelFreqCell(f.request, f.row, false, f.result)) f.StoreRow();
    if (f.row.txFreqTopBit) f.Grey();
}

void Tone(CellFrame& f) {
    const bool receive = f.cellId == cellid::CL_Mch_CTone_R;
    if (ConvCtcssDtcsCell(f.request, f.row, receive, f.result)) f.StoreRow();
    GreyAfter(f, receive ? Modes({3}) : Modes({2, 3}), 0);
}

void Name(CellFrame& f) {
    form::RunRowText(f, f.row.name);
}

// Scramble type 2 numbers its codes 1..16 (stored 0..15), types 0 and 3
// number them 1..255 as stored, type 1 has none.
constexpr int32_t kScrambleShort = 2;
constexpr int32_t kScrambleNoCode = 1;

// A change into or out of type 2 moves the stored code by one, so that the
// number shown stays; the code stays a byte.
void ScrambleType(CellFrame& f) {
    const int32_t old = f.row.chX18Top2;
    f.value = old;
    if (ConvSelCell(f.request, chlist::kScramType, f.value, f.result)) {
        f.row.chX18Top2 = static_cast<uint8_t>(f.value);
        int32_t code = f.row.scrambleCode;
        if (old == kScrambleShort && f.value != kScrambleShort) ++code;
        if (old != kScrambleShort && f.value == kScrambleShort) --code;
        f.row.scrambleCode = std::clamp(code, 0, 255);
        f.StoreRow();
    }
    GreyAfter(f, Modes({3}), 0);
}

void ScrambleCode(CellFrame& f) {
    const int32_t type = f.row.chX18Top2;
    if (type == kScrambleNoCode) {
        f.Show("----");
    } else {
        const bool shortCodes = type == kScrambleShort;
        const int32_t code = f.row.scrambleCode;
        uint16_t shown = static_cast<uint16_t>(shortCodes ? std::min(code, 15) + 1 : std::min(code, 255));
        if (ConvIntCell16(f.request, shown, 1, shortCodes ? 16 : 255, f.result)) {
            f.row.scrambleCode = shortCodes ? shown - 1 : shown;
            f.StoreRow();
        }
    }
    GreyAfter(f, Modes({3}), 0);
}

constexpr int32_t kNacMax = 63;
constexpr int32_t kNacDigits = 2;

void ReceiveNac(CellFrame& f) {
    ReceiveNacCell(f, f.row.rxNac, f.row.txNac);
    GreyAfter(f, Modes({0}), 0);
}

void TransmitNac(CellFrame& f) {
    TransmitNacCell(f, f.row.rxNac, f.row.txNac);
    GreyAfter(f, Modes({0, 1}), 0);
}

} // namespace

int ConvNacCell(cmcCellCapsule& request, int32_t& value, int32_t& out) {
    return ConvHexValueCell(request, value, 0, kNacMax, kNacDigits, out);
}

void StoreFrameRow(CellFrame& f) {
    f.StoreRow();
}

void ReceiveNacCell(CellFrame& f, int32_t& rxNac, int32_t& txNac, NacConv conv, RowStore store) {
    const bool follows = rxNac == txNac;
    f.value = rxNac;
    if (conv(f.request, f.value, f.result)) {
        rxNac = f.value;
        if (follows) txNac = f.value;
        store(f);
    }
}

void TransmitNacCell(CellFrame& f, int32_t& rxNac, int32_t& txNac, NacConv conv, RowStore store) {
    AlignH(f, kAlignLeft);
    f.value = txNac;
    if (conv(f.request, f.value, f.result)) {
        txNac = f.value;
        store(f);
    }
    if (txNac == rxNac && f.result != cmcCellCapsule::kResultOpenEditor) {
        f.Show(kSameAsReceive);
        AlignH(f, kAlignCentre);
    }
}

void GreyInDigitalModes(CellFrame& f, std::initializer_list<int32_t> modes) {
    GreyAfter(f, Modes(modes), 0);
}

void RegisterChannelCells(CellCaseList& list) {
    list.Add("CL_Mch_No", RowNumber);
    list.Add("CL_Mch_Atr", Attributes);
    list.Add("CL_Mch_FreqR", ReceiveFrequency);
    list.Add("CL_Mch_FreqT", TransmitFrequency);
    list.Add("CL_Mch_CTone_R", "CL_Mch_CTone_T", Tone);
    list.Add("CL_Mch_Text", Name);
    list.Add("CL_Mch_Scrm_Type", ScrambleType);
    list.Add("CL_Mch_Scrm_Code", ScrambleCode);
    list.Add("CL_Mch_RxNac", ReceiveNac);
    list.Add("CL_Mch_TxNac", TransmitNac);
    for (const Column& c : kColumns)
        for (int16_t id : c.ids)
            if (id != 0) list.Add(CloningCellVocabulary().CellName(id), TableColumn);
}
