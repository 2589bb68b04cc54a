// The cells of LTR trunking: a channel's group columns (ids 331..338), the
// repeater entries of the open site (339..347, 349, 350), a site's area bit
// on the bank sheet (348) and the LTR options (351..360).
#include "cells/cloning/LtrCells.h"

#include "cells/CellCases.h"
#include "cells/CellFields.h"
#include "cells/CellFrame.h"
#include "cells/CellIds.h"
#include "cells/ConvSupport.h"
#include "cells/FieldForm.h"
#include "cells/FreqToneConv.h"
#include "cells/ListConv.h"
#include "cells/TextCell.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/ImageLayout.h"
#include "image/datCh.h"

#include <string>
#include <variant>

namespace {

using namespace ltrkeys;

// The LTR options of the radio: a byte of switches, two timers, the decoder switch.
constexpr int32_t kLtrSwitches = layout::kLtrOptions;
constexpr int32_t kLtrOutOfRangeTimer = layout::kLtrOptions + 1;
constexpr int32_t kLtrFadeTimer = layout::kLtrOptions + 2;
constexpr int32_t kLtrDecoder = layout::kLtrOptions + 3;

constexpr int32_t kMaxGroupId = 250;
constexpr int32_t kMaxHomeRepeater = 20;
// A site holds at most 20 entries, so a mark beyond them marks none.
constexpr int32_t kMaxSiteMark = 20;
// A new repeater entry transmits this far above its receive frequency.
constexpr int32_t kRepeaterTxOffset = 5000000;
constexpr int32_t kRfPowerOfZero = 3;

constexpr uint8_t kAlignCentre = 1;
constexpr uint8_t kAlignRight = 2;
constexpr const char* kSameAsReceive = "<-";
constexpr const char* kHomeRepeater = "H";
constexpr const char* kNotLtrBank = "---";

void PostSheetChanged() {
    if (gEvMan) gEvMan->Post(evRedrawSheet, 0, 0);
}

void AlignH(CellFrame& f, uint8_t alignment) {
    f.cell.layout = static_cast<uint8_t>((f.cell.layout & ~cmcCellObj::kAlignHMask) | alignment);
}

std::string Line(CellFrame& f, const char* key, int32_t n) {
    return conv::TextsOf(f.request).GetTextLine(key, n);
}

// The row lies below the open site's entries (its sheet's empty row), or the site has none.
bool NewPoolRow(const CellFrame& f) {
    return f.index > f.siteRange.last || f.siteRange.count == 0;
}

// Input on the empty row below a bank's channels (a site's entries) first
// makes it a row of the bank (site). True when the row is one: it was
// already, or it has just been inserted and reloaded. A row that could not be
// inserted must not be edited: it holds the next bank's (site's) first row.
bool TakeNewRow(CellFrame& f, bool pool) {
    if (!(pool ? NewPoolRow(f) : f.newRow)) return true;
    return f.AddRowForInput(pool);
}

// The group record of the open site (the bank record of the same number).
datCh OpenSite(CellFrame& f) {
    datCh site(&f.image);
    if (IsValidSite(f.siteRange.number)) site.Load(kindBank, f.siteRange.number);
    return site;
}

// ---- group columns of a channel row ----

// The receive id and the home repeater: typing on the bank's empty row adds
// the row; 0 is never stored, and an empty value shows no text.
void InsertingGroupCell(CellFrame& f) {
    if (!TakeNewRow(f, false)) {
        f.Show(std::string());
        return;
    }
    const bool rxId = f.cellId == cellid::CL_Grp_RxId;
    uint8_t& field = rxId ? f.row.grpRxId : f.row.grpByte2;
    const int32_t old = field;
    f.value = old;
    const int changed = form::RunConv(f, form::Int16(0, rxId ? kMaxGroupId : kMaxHomeRepeater), f.value);
    if (changed && f.value != 0) {
        if (rxId && f.row.grpTxId == old) f.row.grpTxId = static_cast<uint8_t>(f.value);
        field = static_cast<uint8_t>(f.value);
        f.StoreRow();
        PostSheetChanged();
    } else if (changed) {
        conv::Show(f.request, std::to_string(old));
    }
    if (f.Key() == 0 && field == 0) f.Show(std::string());
}

void GrpTxId(CellFrame& f) {
    AlignH(f, kAlignRight);
    if (form::RunRowField(f, f.row.grpTxId, form::Int16(1, kMaxGroupId))) PostSheetChanged();
    if (f.result != cmcCellCapsule::kResultOpenEditor && f.row.grpTxId == f.row.grpRxId) {
        AlignH(f, kAlignCentre);
        conv::Show(f.request, kSameAsReceive);
    }
    if (f.row.grpFlagA) f.Grey();
}

// ---- row fields through one converter each ----

using BoolField = bool datCh::*;
using ByteField = uint8_t datCh::*;

struct RowFieldCell {
    int32_t id;
    std::variant<BoolField, ByteField> field;
    form::Conv conv;
    bool poolEntry; // a repeater entry: only the open site's entries are edited
};

const RowFieldCell kRowFieldCells[] = {
    {cellid::CL_Grp_TxInh, &datCh::grpFlagA, form::Sel(kTxInh), false},
    {cellid::CL_Grp_PhonePriv, &datCh::grpFlagB, form::Sel(kEnable2), false},
    {cellid::CL_Grp_BlockIdEnable, &datCh::grpFlagC, form::Sel(kOnOffInv), false},
    {cellid::CL_Grp_BlockIdStart, &datCh::grpByte4, form::Int16(1, kMaxGroupId), false},
    {cellid::CL_Grp_BlockIdEnd, &datCh::grpByte5, form::Int16(1, kMaxGroupId), false},
    {cellid::CL_Rpt_RxDat, &datCh::poolRxDat, form::SelPtr(kOnOff2), true},
    {cellid::CL_Rpt_TxDat, &datCh::poolTxDat, form::SelPtr(kOnOff2), true},
    {cellid::CL_Rpt_Nar, &datCh::poolNar, form::SelPtr(kNar), true},
    {cellid::CL_Rpt_Phone, &datCh::poolPhone, form::SelPtr(kOnOff2), true},
};

void RowFieldCase(CellFrame& f) {
    for (const RowFieldCell& c : kRowFieldCells) {
        if (c.id != f.cellId) continue;
        if (c.poolEntry && NewPoolRow(f)) return;
        std::visit([&](auto member) { form::RunRowField(f, f.row.*member, c.conv); }, c.field);
        return;
    }
}

// ---- repeater entries of the open site ----

void RptNo(CellFrame& f) {
    if (NewPoolRow(f)) {
        f.Show(Line(f, kNewRowTitle, 0));
    } else {
        f.Show(conv::Format("%3d", f.index - f.siteRange.first + 1));
    }
}

// The frequency converters work on a channel's frequencies: the entry's are
// lent to them. An entry without a receive frequency gets the transmit
// frequency receive + 5 MHz (3 MHz from 470 MHz up).
void RptFreq(CellFrame& f) {
    const bool receive = f.cellId == cellid::CL_Rpt_FreqR;
    if (receive ? !TakeNewRow(f, true) : NewPoolRow(f)) {
        f.Show(std::string());
        return;
    }
    datCh& r = f.row;
    r.rxFreq = r.poolRxFreq;
    r.txFreq = r.poolTxFreq;
    r.programmed = r.poolRxFreq != 0;
    const int changed = receive ? ConvFrequencyCell(f.request, r, true, kRepeaterTxOffset, f.result)
                                : ConvChannelFreqCell(f.request, r, false, f.result);
    if (!changed) return;
    r.poolRxFreq = r.rxFreq;
    r.poolTxFreq = r.txFreq;
    f.StoreRow();
    if (receive) PostSheetChanged();
}

void RptText(CellFrame& f) {
    if (!IsValidSite(f.siteRange.number)) return;
    datCh site = OpenSite(f);
    if (EditTextCell(f.request, site.name.data(), static_cast<int32_t>(site.name.size()), false, f.result))
        site.StoreAndReload();
}

void RptAreaBit(CellFrame& f) {
    f.Show(Line(f, kAreaBitText, OpenSite(f).areaBit ? 1 : 0));
}

// The site's home repeater: value 1 marks a programmed entry (the site keeps
// its position), which then shows "H". The list always starts from value 0,
// so space marks the entry whatever it showed.
void RptAtr(CellFrame& f) {
    if (NewPoolRow(f)) return;
    if (f.row.poolRxFreq != 0) {
        f.value = 0;
        if (ConvSelPtrCell(f.request, kRptAtr, f.value, f.result) && f.value == 1) {
            f.row.siteMark = true;
            f.row.siteMarkClear = false;
            f.StoreRow();
            PostSheetChanged();
        }
        if (f.row.siteMark) conv::Show(f.request, kHomeRepeater);
    } else {
        f.Show(std::string());
    }
    const int32_t mark = OpenSite(f).siteMarkPos;
    f.SetError(mark == 0 || mark > kMaxSiteMark || mark > f.siteRange.count);
}

void RptRfPo(CellFrame& f) {
    if (NewPoolRow(f)) return;
    f.value = f.row.poolRfPo == 0 ? kRfPowerOfZero : f.row.poolRfPo;
    if (ConvSelPtrCell(f.request, kRfPwr, f.value, f.result)) {
        f.row.poolRfPo = static_cast<uint8_t>(f.value);
        f.StoreRow();
    }
}

// ---- site settings of an LTR bank (cell index = bank) ----

void BankSiteCell(CellFrame& f) {
    f.LoadRow(kindBank, f.index);
    if (!f.rowLoaded || !f.row.ltrBank) {
        f.Show(kNotLtrBank);
        f.Grey();
        return;
    }
    switch (f.cellId) {
    case cellid::CL_Mch_AreaBit:
        form::RunRowField(f, f.row.areaBit, form::Sel(kOnOff2));
        break;
    case cellid::CL_Ltr_Op_NumPreBit:
        form::RunRowField(f, f.row.numPreBit, form::Int16(0, 255));
        break;
    case cellid::CL_Ltr_Op_NumHangBit:
        form::RunRowField(f, f.row.numHangBit, form::Int16(0, 255));
        break;
    default:
        break;
    }
}

// ---- LTR options ----

// clang-format off
constexpr form::Row kOptionRows[] = {
    {"CL_Ltr_Op_DispOnPtt", form::Bit(kLtrSwitches, 7), form::Sel(kOnOff)},
    {"CL_Ltr_Op_DispOnRx", form::Bit(kLtrSwitches, 6), form::Sel(kOnOff)},
    {"CL_Ltr_Op_BeepWithinRange", form::Bit(kLtrSwitches, 4), form::Sel(kOnOff)},
    // Talk-around within range means nothing while it is allowed out of range.
    {"CL_Ltr_Op_TA_withinRange", form::Bit(kLtrSwitches, 2), form::Sel(kEnableInv),
     form::GreyWhileSet(kLtrSwitches, 1)},
    {"CL_Ltr_Op_TA_OutOfRange", form::Bit(kLtrSwitches, 1), form::Sel(kTaOutRange), {}, form::Rebuild::Always},
    {"CL_Ltr_Op_Tim_OutOfRange", form::Byte(kLtrOutOfRangeTimer), form::ByteRange(1, 1)},
    {"CL_Ltr_Op_Tim_FadeTimer", form::Byte(kLtrFadeTimer), form::ByteRange(10, 0)},
    {"CL_Ltr_Op_LSD_Decoder", form::Bit(kLtrDecoder, 7), form::Sel(kLsdDecode)},
};
// clang-format on

} // namespace

void RegisterLtrCells(CellCaseList& list) {
    list.Add("CL_Grp_RxId", InsertingGroupCell);
    list.Add("CL_Grp_TxId", GrpTxId);
    list.Add("CL_Grp_TxInh", RowFieldCase);
    list.Add("CL_Grp_HomeRptCh", InsertingGroupCell);
    list.Add("CL_Grp_PhonePriv", "CL_Grp_BlockIdEnd", RowFieldCase);
    list.Add("CL_Rpt_No", RptNo);
    list.Add("CL_Rpt_FreqR", "CL_Rpt_FreqT", RptFreq);
    list.Add("CL_Rpt_RxDat", "CL_Rpt_Phone", RowFieldCase);
    list.Add("CL_Rpt_Text", RptText);
    list.Add("CL_Rpt_AreaBit", RptAreaBit);
    list.Add("CL_Mch_AreaBit", BankSiteCell);
    list.Add("CL_Rpt_Atr", RptAtr);
    list.Add("CL_Rpt_RfPo", RptRfPo);
    form::RegisterRows<kOptionRows>(list);
    list.Add("CL_Ltr_Op_NumPreBit", "CL_Ltr_Op_NumHangBit", BankSiteCell);
}
