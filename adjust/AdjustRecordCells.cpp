// Settings cells on this program's own row record, the frame's: where the
// record keeps their value, or how they show it, is this program's own; the
// rules they share with the cloning program's cells are taken from there.
#include "adjust/AdjustCells.h"
#include "adjust/AdjustConv.h"
#include "adjust/AdjustFrameRow.h"
#include "cells/CellFrame.h"
#include "cells/CodeConv.h"
#include "cells/ConvSupport.h"
#include "cells/ListConv.h"
#include "cells/NumberConv.h"
#include "cells/cloning/ChannelCells.h"
#include "cells/cloning/LtrCells.h"
#include "cells/cloning/ToneScanMakerLists.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"

#include <bit>
#include <string>
#include <vector>

namespace adj {
namespace {

// Flag byte E of a pool row: bit 3 is bit 7 of its site's group byte.
constexpr uint8_t kSiteBit = 0x08;
// Flag byte E of a scan list: bits 0-1 are the text it shows.
constexpr uint8_t kDisplayTextBits = 0x03;
// Flag byte D of a NAC row: the row is selected.
constexpr uint8_t kNacSelected = 0x01;

constexpr int32_t kNacDigits = 3;
// Byte 2 of a channel's group bytes holds its home repeater.
constexpr size_t kHomeRepeater = 2;
constexpr int32_t kMaxHomeRepeater = 20;

datCh* RecordOf(CellFrame& f, int32_t kind) {
    datCh* r = FrameRecord(f);
    return r && r->kind == kind ? r : nullptr;
}

datCh* ChannelRecord(CellFrame& f) {
    datCh* r = FrameRecord(f);
    return r && IsChannelKind(r->kind) ? r : nullptr;
}

// A list over the bits of mask in one of the record's flag bytes; a pick
// goes back into those bits alone and the record is stored.
template <class Store>
void FlagBitsCell(CellFrame& f, datCh* r, uint8_t datCh::*flags, uint8_t mask, const char* list,
                  Store store) {
    if (!r) return;
    const int shift = std::countr_zero(mask);
    int32_t value = (r->*flags & mask) >> shift;
    if (ConvSelCell(f.request, list, value, f.result) == 1) {
        r->*flags = static_cast<uint8_t>((r->*flags & ~mask) | ((value << shift) & mask));
        store();
    }
}

// NACs are three hexadecimal digits here.
int ConvNacNibbles(cmcCellCapsule& request, int32_t& value, int32_t& out) {
    return ConvHexNibblesCell(request, value, kNacDigits, true, out);
}

// One channel sheet serves every model: the P25 values of a channel are
// neither shown nor taken on a model without P25.
datCh* P25ChannelRecord(CellFrame& f) {
    return IsModelP25() ? ChannelRecord(f) : nullptr;
}

void ChannelRxNac(CellFrame& f) {
    if (datCh* r = P25ChannelRecord(f)) ReceiveNacCell(f, r->v8, r->v9, ConvNacNibbles, StoreFrameRecord);
}
void ChannelTxNac(CellFrame& f) {
    if (datCh* r = P25ChannelRecord(f)) TransmitNacCell(f, r->v8, r->v9, ConvNacNibbles, StoreFrameRecord);
}
// A channel's unit ID: six hexadecimal digits of its value V10.
constexpr int32_t kUnitIdDigits = 6;

void ChannelUnitId(CellFrame& f) {
    datCh* r = P25ChannelRecord(f);
    if (!r) return;
    int32_t value = r->v10;
    if (ConvHexNibblesCell(f.request, value, kUnitIdDigits, true, f.result) == 1) {
        r->v10 = value;
        StoreFrameRecord(f);
    }
}

void NacRowRx(CellFrame& f) {
    if (datCh* r = RecordOf(f, kindNac))
        ReceiveNacCell(f, r->values[0], r->values[1], ConvNacNibbles, StoreFrameRecord);
}
void NacRowTx(CellFrame& f) {
    if (datCh* r = RecordOf(f, kindNac))
        TransmitNacCell(f, r->values[0], r->values[1], ConvNacNibbles, StoreFrameRecord);
}
void NacRowSelected(CellFrame& f) {
    FlagBitsCell(f, RecordOf(f, kindNac), &datCh::flagD, kNacSelected, tsmlist::kOnOff2Inv,
                 [&f] { StoreFrameRecord(f); });
}

// The pool row a site's bit is taken from: the request's own, or for a cell
// beside the site's rows the site's first; use gets the row and how to store it.
template <class Use> void OnSiteRow(CellFrame& f, Use use) {
    if (datCh* r = RecordOf(f, kindRepeaterPool)) {
        use(*r, [&f] { StoreFrameRecord(f); });
        return;
    }
    datCh first(&f.image);
    first.Load(kindRepeaterPool, 0);
    if (first.CanAccess(kindRepeaterPool, 0)) use(first, [&first] { first.Store(kindRepeaterPool, 0); });
}

// Every row of a site shows and sets its site's bit.
void SiteAreaBit(CellFrame& f) {
    OnSiteRow(f, [&f](datCh& r, auto store) {
        FlagBitsCell(f, &r, &datCh::flagE, kSiteBit, tsmlist::kOnOff2, store);
    });
}

// The repeater rows name the site's bit as the area bar does.
void RepeaterAreaBit(CellFrame& f) {
    OnSiteRow(f, [&f](datCh& r, auto) {
        f.Show(
            conv::TextsOf(f.request).GetTextLine(ltrkeys::kAreaBitText, (r.flagE & kSiteBit) != 0 ? 1 : 0));
    });
}

// A scan list's power save is its bit 4 of byte 24.
constexpr uint8_t kPowerSaveBit = 0x04;

void ScanListPowerSave(CellFrame& f) {
    FlagBitsCell(f, RecordOf(f, kindScanList), &datCh::flagE, kPowerSaveBit, tsmlist::kOnOff2,
                 [&f] { StoreFrameRecord(f); });
}

// Every scan list shows its text choice, an empty one too.
void ScanListDisplayText(CellFrame& f) {
    FlagBitsCell(f, RecordOf(f, kindScanList), &datCh::flagE, kDisplayTextBits, tsmlist::kScanListText,
                 [&f] { StoreFrameRecord(f); });
}

void HomeRepeater(CellFrame& f) {
    datCh* r = ChannelRecord(f);
    if (!r) return;
    int32_t value = r->display[kHomeRepeater];
    if (ConvIntCell(f.request, value, 1, kMaxHomeRepeater, 0, 1, nullptr, true, false, f.result) == 1) {
        r->display[kHomeRepeater] = static_cast<uint8_t>(value);
        StoreFrameRecord(f);
        if (gEvMan) gEvMan->Post(evRedrawSheet, 0, 0);
    }
}

// A channel's marks through the attribute list (without the cloning
// program's sixth item); a change only asks the rows to be counted again.
void ChannelMarks(CellFrame& f) {
    datCh* r = ChannelRecord(f);
    if (!r || ConvMarkFlagsCell(f.request, chlist::kAtr, r->marks, f.result) != 1) return;
    StoreFrameRecord(f);
    f.resultFlags |= CellFrame::kFlagRowCounts;
}

} // namespace

std::vector<std::string> RecordCellListKeys() {
    return {tsmlist::kOnOff2, tsmlist::kOnOff2Inv, tsmlist::kScanListText};
}

const char* AreaBitTextKey() {
    return ltrkeys::kAreaBitText;
}

void RegisterAdjustRecordCells(CellCaseList& list) {
    list.Add("CL_Mch_Atr", ChannelMarks);
    list.Add("CL_Mch_RxNac", ChannelRxNac);
    list.Add("CL_Mch_TxNac", ChannelTxNac);
    list.Add("CL_Mch_Unit_Hex", ChannelUnitId);
    list.Add("CL_Digi_NacCh_RxNac", NacRowRx);
    list.Add("CL_Digi_NacCh_TxNac", NacRowTx);
    list.Add("CL_Digi_NacCh_Sel", NacRowSelected);
    list.Add("CL_Mch_AreaBit", SiteAreaBit);
    list.Add("CL_Rpt_AreaBit", RepeaterAreaBit);
    list.Add("CL_ScanList_DispText", ScanListDisplayText);
    list.Add("CL_ScanList_PwrSave", ScanListPowerSave);
    list.Add("CL_Grp_HomeRptCh", HomeRepeater);
}

} // namespace adj
