// The columns of the memory-channel sheets (ids 124..200): every value lives
// in the row's channel records (S, X and the scan-list bitmaps), which the
// frame has decoded into its row record for the current model's class. Most
// columns are one row field through one converter and are given as a table;
// the rest are small functions below it.
#include "cells/cloning/ChannelCells.h"

#include "cells/ChannelFields.h"
#include "cells/ProgramRow.h"

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

// ---- the cloning program's row as the columns see it ----

struct MemberRef {
    int32_t (*get)(const datCh&) = nullptr;
    void (*set)(datCh&, int32_t) = nullptr;
};

template <auto M> int32_t GetMember(const datCh& r) {
    return static_cast<int32_t>(r.*M);
}
template <auto M> void SetMember(datCh& r, int32_t v) {
    using T = std::remove_reference_t<decltype(r.*M)>;
    r.*M = static_cast<T>(v);
}
template <auto M> constexpr MemberRef Member{&GetMember<M>, &SetMember<M>};

constexpr auto kMembers = [] {
    std::array<MemberRef, static_cast<size_t>(ChField::Count)> t{};
    auto at = [&t](ChField f, MemberRef r) { t[static_cast<size_t>(f)] = r; };
    at(ChField::RxInhibit, Member<&datCh::rxFreqTopBit>);
    at(ChField::TxInhibit, Member<&datCh::txFreqTopBit>);
    at(ChField::Narrow, Member<&datCh::chBitS12b6>);
    at(ChField::Compander, Member<&datCh::chBitX3b4>);
    at(ChField::PowerSave, Member<&datCh::chBitX0b7>);
    at(ChField::Tot, Member<&datCh::chBitX0b4>);
    at(ChField::RfPower, Member<&datCh::chX0Low2>);
    at(ChField::Lockout, Member<&datCh::chCombo5>);
    at(ChField::ScanMember, Member<&datCh::scanMember>);
    at(ChField::AutoChScan, Member<&datCh::chBitX3b0>);
    at(ChField::AutoReset, Member<&datCh::chX2Low>);
    at(ChField::TwoTone, Member<&datCh::twoTone>);
    at(ChField::Log, Member<&datCh::chX1High>);
    at(ChField::ScanInc, Member<&datCh::chX1b1>);
    at(ChField::ScanList, Member<&datCh::scanList>);
    at(ChField::ScanListSel, Member<&datCh::chX0b5>);
    at(ChField::ScrambleMode, Member<&datCh::scrambleMode>);
    at(ChField::SqlTight, Member<&datCh::sqlTight>);
    at(ChField::RxCode, Member<&datCh::rxCNo>);
    at(ChField::Monitor, Member<&datCh::chCombo4>);
    at(ChField::Select, Member<&datCh::chX2Top2>);
    at(ChField::Call, Member<&datCh::chX2b3>);
    at(ChField::Ptt, Member<&datCh::chX2b2>);
    at(ChField::ChMute, Member<&datCh::chX1b0>);
    at(ChField::Form, Member<&datCh::formZuro>);
    at(ChField::RptCode, Member<&datCh::rptC>);
    at(ChField::RptLong, Member<&datCh::rptL>);
    at(ChField::StnCode, Member<&datCh::stnC>);
    at(ChField::StnLong, Member<&datCh::stnL>);
    at(ChField::IdCode, Member<&datCh::idC>);
    at(ChField::IdLong, Member<&datCh::idL>);
    at(ChField::Position, Member<&datCh::pos>);
    at(ChField::RxCodeDtmf, Member<&datCh::rxCNoDtmf>);
    at(ChField::DtmfDecode, Member<&datCh::dtmfDec>);
    at(ChField::MskSignal, Member<&datCh::chX3b3>);
    at(ChField::SendStatus, Member<&datCh::chX3b1>);
    at(ChField::NoRepeater, Member<&datCh::chX3b2>);
    at(ChField::DigitalMode, Member<&datCh::chS12Low2>);
    at(ChField::UnitId, Member<&datCh::unitId>);
    at(ChField::TgList, Member<&datCh::tgList>);
    at(ChField::FastMute, Member<&datCh::chX17b7>);
    at(ChField::SqlType, Member<&datCh::chX17b45>);
    return t;
}();

// Every field is one member of the row.
class RowFields final : public ChannelRowFields {
public:
    explicit RowFields(datCh& row) : row_(row) {}
    bool Has(ChField f) const override { return Ref(f).get != nullptr; }
    int32_t Get(ChField f) const override { return Ref(f).get ? Ref(f).get(row_) : 0; }
    void Set(ChField f, int32_t v) override {
        if (Ref(f).set) Ref(f).set(row_, v);
    }
    datTone& RxTone() override { return row_.rxTone; }
    datTone& TxTone() override { return row_.txTone; }
    std::span<uint8_t> Name() override { return row_.name; }

private:
    static const MemberRef& Ref(ChField f) { return kMembers[static_cast<size_t>(f)]; }
    datCh& row_;
};

// The request's row: the program's own record where the program has one,
// else the frame's; null for a row not loaded in the program's record.
class FrameFields {
public:
    explicit FrameFields(CellFrame& f) : frame_(f), own_(f.row) {}
    ChannelRowFields* operator->() const { return fields(); }
    explicit operator bool() const { return fields() != nullptr; }
    ChannelRowFields& operator*() const { return *fields(); }
    void Store() const {
        if (!frame_.programRow)
            frame_.StoreRow();
        else if (frame_.programRowLoaded)
            frame_.programRow->StoreAndReload();
    }

private:
    ChannelRowFields* fields() const {
        if (!frame_.programRow) return &own_;
        return frame_.programRowLoaded ? frame_.programRow->ChannelFields() : nullptr;
    }
    CellFrame& frame_;
    mutable RowFields own_;
};

int32_t RowField(CellFrame& f, ChField field) {
    FrameFields row(f);
    return row ? row->Get(field) : 0;
}

// The cell's id among the cloning program's, which the columns are listed by.
int32_t ColumnId(const CellFrame& f) {
    const CellVocabulary& ours = f.engine.Vocabulary();
    if (&ours == &CloningCellVocabulary()) return f.cellId;
    return CloningCellVocabulary().FindCell(ours.CellName(f.cellId)).value_or(0);
}

// ---- what the columns share ----

void AlignH(CellFrame& f, int32_t alignment) {
    f.cell.layout = static_cast<uint8_t>((f.cell.layout & ~cmcCellObj::kAlignHMask) | alignment);
}

// The digital mode of the row (CL_Mch_Dig_Sig): 0 analog, 3 digital only.
int32_t DigitalMode(CellFrame& f) {
    return RowField(f, ChField::DigitalMode) & 3;
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

// A column's field. Most columns are one field as it stands; the others read
// and write it through get and set.
struct FieldRef {
    ChField field;
    int32_t (*get)(const ChannelRowFields&) = nullptr;
    void (*set)(ChannelRowFields&, int32_t) = nullptr;

    int32_t Get(const ChannelRowFields& r) const { return get ? get(r) : r.Get(field); }
    void Set(ChannelRowFields& r, int32_t v) const { set ? set(r, v) : r.Set(field, v); }
};

template <ChField F> constexpr FieldRef Field{F};

// The MSK receive code set is the low seven bits of X[10] shown one place up
// (the converter counts the first digit from bit 7); the bits above them stay.
constexpr FieldRef kMskRxCode{
    ChField::RxCode,
    [](const ChannelRowFields& r) { return (r.Get(ChField::RxCode) & 0x7F) * 2; },
    [](ChannelRowFields& r, int32_t v) {
        r.Set(ChField::RxCode, (r.Get(ChField::RxCode) & ~0x7F) | (v / 2 & 0x7F));
    },
};

// The MSK repeater column: the no-repeater bit as its own item, else the
// repeater code, which the no-repeater choice leaves as it is.
constexpr FieldRef kMskRepeater{
    ChField::NoRepeater,
    [](const ChannelRowFields& r) {
        return r.Get(ChField::NoRepeater) ? chlist::kMskNoRepeater : r.Get(ChField::RptCode);
    },
    [](ChannelRowFields& r, int32_t v) {
        r.Set(ChField::NoRepeater, v == chlist::kMskNoRepeater);
        if (v != chlist::kMskNoRepeater) r.Set(ChField::RptCode, v);
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
    void (*onChange)(ChannelRowFields&) = nullptr;
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
    {.ids = {cellid::CL_Mch_Inh}, .field = Field<ChField::RxInhibit>, .conv = Sel(chlist::kChInh)},
    {.ids = {cellid::CL_Mch_TxInh, cellid::CL_Mch_TxInh_Zuro}, .field = Field<ChField::TxInhibit>,
     .conv = Sel(chlist::kTxInh)},
    {.ids = {cellid::CL_Mch_Nar, cellid::CL_Mch_Nar_Pmr}, .field = Field<ChField::Narrow>,
     .conv = Sel(chlist::kNar), .greyModes = Modes({3})},
    {.ids = {cellid::CL_Mch_Compander}, .field = Field<ChField::Compander>, .conv = Sel(kOnOff2),
     .greyModes = Modes({3})},
    {.ids = {cellid::CL_Mch_PwrSave, cellid::CL_Mch_PwrSave_Zuro}, .field = Field<ChField::PowerSave>,
     .conv = Sel(kOnOff2)},
    {.ids = {cellid::CL_Mch_Tot, cellid::CL_Mch_Tot_Zuro}, .field = Field<ChField::Tot>,
     .conv = Sel(kOnOff2)},
    {.ids = {cellid::CL_Mch_RfPo}, .field = Field<ChField::RfPower>, .conv = Sel(chlist::kRfPwr)},
    {.ids = {cellid::CL_Mch_Lockout, cellid::CL_Mch_Lockout_Pmr, cellid::CL_Mch_Lockout_Dig},
     .field = Field<ChField::Lockout>,
     .conv = Sel(LockoutList)},
    {.ids = {cellid::CL_Mch_Scan, cellid::CL_Mch_Scan_Zuro}, .field = Field<ChField::ScanMember>,
     .conv = DigitSet(1, 17, 3)},
    {.ids = {cellid::CL_Mch_AutoChScan}, .field = Field<ChField::AutoChScan>, .conv = Sel(kOnOff2)},
    {.ids = {cellid::CL_Mch_AutoReset, cellid::CL_Mch_AutoReset_Pmr, cellid::CL_Mch_AutoReset_Zuro},
     .field = Field<ChField::AutoReset>, .conv = Sel(AutoResetList)},
    {.ids = {cellid::CL_Mch_2Tone}, .field = Field<ChField::TwoTone>,
     .conv = SelList(chlist::kTwoTone, listcell::Flex0, 0), .greyModes = Modes({2, 3}), .grey = kGreyLtrDtmf},
    {.ids = {cellid::CL_Mch_Log, cellid::CL_Mch_Log_Pmr, cellid::CL_Mch_Log_Zuro},
     .field = Field<ChField::Log>, .conv = Sel(LogList),
     .greyModes = Modes({2, 3})},
    {.ids = {cellid::CL_Mch_Scan_Inc}, .field = Field<ChField::ScanInc>, .conv = Sel(chlist::kScanInc)},
    {.ids = {cellid::CL_Mch_Scan_List}, .field = Field<ChField::ScanList>, .conv = Sel(chlist::kScanList),
     .gate = Gate::ScanListSwitch, .switchedOff = "----"},
    {.ids = {cellid::CL_Mch_Scan_ListSel}, .field = Field<ChField::ScanListSel>, .conv = Sel(chlist::kScanListSel),
     .gate = Gate::ScanListSwitch, .switchedOff = "---"},
    {.ids = {cellid::CL_Mch_Scrm_On}, .field = Field<ChField::ScrambleMode>, .conv = Sel(chlist::kScramOn),
     .greyModes = Modes({3})},
    {.ids = {cellid::CL_Mch_Sql_Tight}, .field = Field<ChField::SqlTight>, .conv = Sel(kOnOff2)},
    {.ids = {cellid::CL_Mch_RxCNo2, cellid::CL_Mch_RxCNo2_Ltr}, .field = Field<ChField::RxCode>,
     .conv = DigitSet(1, 10, 2), .greyModes = Modes({3}), .grey = kGreyLtrDtmf},
    {.ids = {cellid::CL_Mch_Moni, cellid::CL_Mch_Moni_Zuro}, .field = Field<ChField::Monitor>,
     .conv = Sel4(chlist::kMoni), .changeFlags = kRebuild, .mark = Mark::WarnUnless6Or7},
    {.ids = {cellid::CL_Mch_Sel, cellid::CL_Mch_Sel_Zuro}, .field = Field<ChField::Select>,
     .conv = Sel4(chlist::kSel), .changeFlags = kRebuild, .mark = Mark::ErrorUnless1},
    {.ids = {cellid::CL_Mch_Call, cellid::CL_Mch_Call_Zuro}, .field = Field<ChField::Call>,
     .conv = Sel4(chlist::kCall), .changeFlags = kRebuild, .mark = Mark::ErrorUnless0},
    {.ids = {cellid::CL_Mch_PTT, cellid::CL_Mch_PTT_Zuro}, .field = Field<ChField::Ptt>,
     .conv = Sel4(chlist::kPtt), .changeFlags = kRebuild, .mark = Mark::ErrorUnless0},
    {.ids = {cellid::CL_Mch_CH_Mute}, .field = Field<ChField::ChMute>, .conv = Sel4(chlist::kChMute),
     .changeFlags = kRebuild, .mark = Mark::WarnIf0},
    {.ids = {cellid::CL_Mch_Form, cellid::CL_Mch_Form_Zuro}, .field = Field<ChField::Form>,
     .conv = Sel(chlist::kForm), .gate = Gate::Signalling, .align = kAlignLeft},
    {.ids = {cellid::CL_Mch_Rpt_C, cellid::CL_Mch_Rpt_C_Zuro}, .field = Field<ChField::RptCode>,
     .conv = SelList(kAbcCode, listcell::Flex1, 0), .gate = Gate::Signalling, .align = kAlignRight},
    {.ids = {cellid::CL_Mch_Rpt_L, cellid::CL_Mch_Rpt_L_Zuro}, .field = Field<ChField::RptLong>,
     .conv = Sel(chlist::kLTone), .gate = Gate::Signalling},
    {.ids = {cellid::CL_Mch_Stn_C}, .field = Field<ChField::StnCode>, .conv = SelList(kAbcCode, listcell::Flex1, 0),
     .gate = Gate::Station, .align = kAlignRight},
    {.ids = {cellid::CL_Mch_Stn_L}, .field = Field<ChField::StnLong>, .conv = Sel(chlist::kLTone),
     .gate = Gate::Station},
    {.ids = {cellid::CL_Mch_Id_C}, .field = Field<ChField::IdCode>, .conv = SelList(kAbcCode, listcell::Flex1, 0),
     .gate = Gate::Station, .align = kAlignRight},
    {.ids = {cellid::CL_Mch_Id_L}, .field = Field<ChField::IdLong>, .conv = Sel(chlist::kLTone),
     .gate = Gate::Station},
    {.ids = {cellid::CL_Mch_Pos}, .field = Field<ChField::Position>, .conv = Sel(chlist::kPos),
     .gate = Gate::Station},
    {.ids = {cellid::CL_Mch_RxCNo}, .field = Field<ChField::RxCode>, .conv = DigitSet(1, 8, 0),
     .gate = Gate::Station},
    {.ids = {cellid::CL_Mch_RxCNoDtmf}, .field = Field<ChField::RxCodeDtmf>,
     .conv = SelList(chlist::kDtmfDec, listcell::Flex0, 0), .grey = kGreyNotLtrBank,
     .onChange = [](ChannelRowFields& r) { r.Set(ChField::DtmfDecode, r.Get(ChField::RxCodeDtmf) != 0); }},
    {.ids = {cellid::CL_Mch_DtmfDec}, .field = Field<ChField::DtmfDecode>, .conv = Sel(chlist::kChMuteLtr),
     .grey = kGreyNotLtrBank},
    {.ids = {cellid::CL_Mch_Msk_Sig}, .field = Field<ChField::MskSignal>, .conv = Sel(chlist::kMskSignal),
     .changeFlags = kRebuild},
    {.ids = {cellid::CL_Mch_Msk_SendStatus}, .field = Field<ChField::SendStatus>,
     .conv = Sel4(chlist::kSendStatus), .grey = kGreySigOff, .changeFlags = kRebuild},
    {.ids = {cellid::CL_Mch_Msk_Rpt}, .field = kMskRepeater,
     .conv = SelPair(chlist::kMskRptFirst, chlist::kMskRptSecond), .gate = Gate::Msk, .align = kAlignRight},
    {.ids = {cellid::CL_Mch_Msk_Stn}, .field = Field<ChField::StnCode>,
     .conv = SelList(chlist::kMskId, listcell::Flex0, 0), .gate = Gate::Msk, .align = kAlignRight},
    {.ids = {cellid::CL_Mch_Msk_RxCNo}, .field = kMskRxCode, .conv = DigitSet(1, 7, 0), .gate = Gate::Msk},
    {.ids = {cellid::CL_Mch_Dig_Sig}, .field = Field<ChField::DigitalMode>, .conv = Sel(chlist::kDigSignal),
     .changeFlags = kRebuild},
    {.ids = {cellid::CL_Mch_Unit_Hex}, .field = Field<ChField::UnitId>, .conv = HexValue(0, 0xFFFF, 4),
     .greyModes = Modes({0})},
    {.ids = {cellid::CL_Mch_Unit_Dec}, .field = Field<ChField::UnitId>, .conv = form::Int16(0, form::kUnitIdMax),
     .greyModes = Modes({0})},
    {.ids = {cellid::CL_Mch_TG_List}, .field = Field<ChField::TgList>,
     .conv = SelList(chlist::kTgList, listcell::Flex0, 0), .greyModes = Modes({0})},
    {.ids = {cellid::CL_Mch_Fast_Mute}, .field = Field<ChField::FastMute>, .conv = Sel(kOnOff2),
     .greyModes = Modes({0})},
    {.ids = {cellid::CL_Mch_SQL_Type}, .field = Field<ChField::SqlType>, .conv = Sel(chlist::kSqlType),
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
    if ((grey & kGreyLtrDtmf) && OpenBankIsLtr(f) && RowField(f, ChField::DtmfDecode)) f.Grey();
    if ((grey & kGreyNotLtrBank) && !OpenBankIsLtr(f)) f.Grey();
}

void TableColumn(CellFrame& f) {
    const Column* column = ColumnOf(ColumnId(f));
    FrameFields row(f);
    if (!column || !row) return;
    const Column& c = *column;
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
    f.value = c.field.Get(*row);
    if (form::RunConv(f, c.conv, f.value)) {
        c.field.Set(*row, f.value);
        if (c.onChange) c.onChange(*row);
        row.Store();
        f.resultFlags |= c.changeFlags;
    }
    GreyAfter(f, c.greyModes, c.grey);
    SetMark(f, c.mark, c.field.Get(*row));
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

void ReceiveFrequency(CellFrame& f) {
    if (!f.ChannelRowTakesInput()) return;
    if (ConvChannelFreqCell(f.request, f.row, true, f.result)) f.StoreRow();
}

void TransmitFrequency(CellFrame& f) {
    if (ConvChannelFreqCell(f.request, f.row, false, f.result)) f.StoreRow();
    if (f.row.txFreqTopBit) f.Grey();
}

void Tone(CellFrame& f) {
    FrameFields row(f);
    if (!row) return;
    const bool receive = ColumnId(f) == cellid::CL_Mch_CTone_R;
    if (ConvToneCell(f.request, row->RxTone(), row->TxTone(), receive, f.result)) row.Store();
    GreyAfter(f, receive ? Modes({3}) : Modes({2, 3}), 0);
}

void Name(CellFrame& f) {
    FrameFields row(f);
    if (!row) return;
    const std::span<uint8_t> name = row->Name();
    if (EditTextCell(f.request, name.data(), static_cast<int32_t>(name.size()), false, f.result)) row.Store();
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

std::optional<ChField> ChannelColumnField(const std::string& name) {
    const std::optional<int32_t> id = CloningCellVocabulary().FindCell(name);
    const Column* c = id ? ColumnOf(*id) : nullptr;
    if (!c) return std::nullopt;
    return c->field.field;
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
