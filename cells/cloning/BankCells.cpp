// The cells of the bank overview (channel counts, names, SmarTrunk and LTR
// flags), the LTR settings of a bank, its home repeater, and the row-number
// and drawing cells (ids 97..123). Bank cells take the bank 0..127 as their
// index; 128 stands for all banks where a cell says so.
#include "cells/AppManager.h"
#include "cells/CellCanvas.h"
#include "cells/CellCases.h"
#include "cells/CellEngine.h"
#include "cells/CellFields.h"
#include "cells/CellFrame.h"
#include "cells/CellIds.h"
#include "cells/ConvSupport.h"
#include "cells/FieldForm.h"
#include "cells/ListConv.h"
#include "cells/NumberConv.h"
#include "cells/TextCell.h"
#include "cells/TextConv.h"
#include "cells/WindowCommands.h"
#include "cells/cloning/ChannelCells.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/DynamicCapacity.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/RowEdit.h"
#include "image/datCh.h"
#include "platform/Fatal.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr int32_t kAllBanks = 128;

constexpr const char* kListBankFree = "GI_Sheet_Sel_Bank_SelBankFree";
constexpr const char* kListOnOff = "GI_Sheet_Sel_Misc_OnOff";
constexpr const char* kListOnOff2 = "GI_Sheet_Sel_Misc_OnOff2";
constexpr const char* kListEnable2 = "GI_Sheet_Sel_Misc_Enable2";
constexpr const char* kListPhone = "GI_Sheet_Sel_Misc_Phone";

constexpr ColorValue kPillarColor = 0x808080;

bool IsBank(int32_t n) {
    return n >= 0 && n < layout::kBanks;
}

void ShowNumber(CellFrame& f, int32_t n) {
    f.Show(conv::Format("%d", n));
}

void ShowGreyDash(CellFrame& f, const char* dash) {
    f.Show(dash);
    f.Grey();
}

void ErrorBox(CellFrame& f, const char* key) {
    cmcGTex& texts = conv::TextsOf(f.request);
    plat::ShowMessageBox(GetMultiLineText(texts, key), BoxCaption(texts), plat::MB_OK | plat::MB_ICONERROR);
}

// The channel rows still free for more channels, as far as the rows left in
// the table and the radio's dynamic area allow. The capacity test answers -1
// when nothing fits at all, which is no room rather than less than none.
int32_t Room(const CellFrame& f, int32_t total) {
    return std::max(MaxFittingCount(f.image, kCategoryChannel, layout::kChannelRows - total, f.index,
                                    InstalledCellEngine().Numbers().fitsDynamicArea),
                    0);
}

// ---- bank overview ----

void SelBankFree(CellFrame& f) {
    f.value = f.bankFree;
    if (ConvSelCell(f.request, kListBankFree, f.value, f.result)) {
        SetBankFree(f.image, f.value != 0, f.model.lmr);
        if (gEvMan) gEvMan->Send(evDataReloaded);
        f.resultFlags |= CellFrame::kFlagRebuildAll;
    }
}

void BankSmarTrunk(CellFrame& f) {
    f.Show("Non");
}

// The programmed channels of the bank.
void BankUsedQty(CellFrame& f) {
    if (f.bankFree && IsBank(f.index))
        ShowNumber(f, CountBankUsedChannels(f.image, f.index));
    else
        f.Show("---");
}

// Told apart by name: the adjustment program takes the case for its own ids.
void BankUsedTotal(CellFrame& f) {
    const int32_t used = CountProgrammedInRange(f.image, 0, layout::kChannelRows - 1);
    ShowNumber(f, form::CellNameOf(f) == "CL_Bank_UsedTotal" ? used : layout::kChannelRows - used);
}

void BankText(CellFrame& f) {
    if (f.rowLoaded) BankNameCell(f, f.row.name, StoreFrameRow);
}

void MchSmarTrunk(CellFrame& f) {
    if (!IsBank(f.index)) return ShowGreyDash(f, "----");
    f.value = IsSmarTrunkBank(f.image, f.index) ? 1 : 0;
    if (ConvSelCell(f.request, kListOnOff2, f.value, f.result)) {
        SetSmarTrunkBank(f.image, f.index, f.value);
        if (gEvMan) gEvMan->Post(evRebuildTree);
    }
}

void MchLtr(CellFrame& f) {
    if (!IsBank(f.index) || !f.rowLoaded) return ShowGreyDash(f, "----");
    if (field::RowCell(
            f, f.row.ltrBank,
            [&](int32_t& v, int32_t& out) { return ConvSelCell(f.request, kListOnOff2, v, out); }) &&
        gEvMan)
        gEvMan->Post(evRebuildTree);
}

void UsedChannels(CellFrame& f) {
    UsedChannelsCell(f, CountBankUsedChannels);
}

// ---- the channel count of a bank ----

// Rows at the end of the bank that hold nothing and no reference channel
// points at: the rows the bank can give up.
int32_t RemovableRows(const CellFrame& f, int32_t first, int32_t count) {
    datCh row(&f.image);
    const int32_t kind = GetModelClass();
    int32_t removable = 0;
    for (int32_t n = first + count - 1; n >= first; --n) {
        // A row the stored count claims beyond the table holds nothing.
        if (n < layout::kChannelRows) {
            row.Load(kind, n);
            if (row.programmed || row.isRefA || row.isRefB || row.isRefC) break;
        }
        ++removable;
    }
    return removable;
}

// New rows come from the reference image after the bank's last row, and
// removed rows go from its end; the banks after it move with them.
void ResizeBank(CellFrame& f, int32_t first, int32_t count, int32_t delta) {
    if (!gAppManager) plat::Fatal("No application manager.");
    cmcEeprom& reference = gAppManager->ReferenceImage();
    const int32_t kind = GetModelClass();
    int32_t change = 0;
    for (int32_t i = 0; i < delta; ++i)
        ImageInsertRow(f.image, reference, layout::kChannelRows, kind, first + count + i, change);
    for (int32_t i = 0; i < -delta; ++i)
        ImageRemoveRow(f.image, reference, layout::kChannelRows, kind, first + count - 1 - i, change);
    SetBankChannelCount(f.image, f.index, count + delta);
    f.resultFlags |= CellFrame::kFlagRowCounts;
}

void EditBankCount(CellFrame& f) {
    const int32_t total = GetTotalBankChannels(f.image);
    const int32_t first = GetBankFirstChannel(f.image, f.index);
    const int32_t count = GetBankChannelCount(f.image, f.index);
    const int32_t room = Room(f, total);
    const int32_t removable = RemovableRows(f, first, count);

    // Space and backspace step within what the bank can become and stop at
    // its ends; a typed count is taken as asked for and refused below when
    // the bank cannot become it.
    cmcCellCapsule& r = f.request;
    const bool step = conv::HasKey(r) && (r.key == conv::kKeySpace || r.key == conv::kKeyBackspace);
    const int32_t lowest = step ? count - removable : std::numeric_limits<int16_t>::min();
    const int32_t highest = step ? count + room : std::numeric_limits<int16_t>::max();
    f.value = count;
    const int changed = ConvIntCell(r, f.value, lowest, highest, 0, 1, nullptr, false, false, f.result);
    int32_t delta = f.value - count;
    if (step && (r.key == conv::kKeySpace ? delta < 0 : delta > 0)) delta = 0;
    if (!changed || delta == 0) return conv::Show(r, conv::Format("%d", count));

    if (delta > room) {
        ErrorBox(f, "GI_AppMess_ChErr_Overflow");
        delta = room;
    } else if (-delta > removable) {
        ErrorBox(f, -delta > count ? "GI_AppMess_ChErr_NoCh" : "GI_AppMess_ChErr_NotBlank");
        delta = -removable;
    }
    if (delta != 0) ResizeBank(f, first, count, delta);
    conv::Show(r, conv::Format("%d", count + delta));
}

void BankCount(CellFrame& f) {
    const int32_t total = GetTotalBankChannels(f.image);
    if (f.index == kAllBanks) return ShowNumber(f, total);
    if (!IsBank(f.index)) return ShowNumber(f, Room(f, total));
    EditBankCount(f);
    // The capacity test reads what packing leaves in the header, so the next
    // evaluation must find it up to date.
    PackImage(f.image);
}

// ---- LTR banks ----

bool IsLtrBank(const CellFrame& f) {
    return f.rowLoaded && f.row.ltrBank;
}

bool IsHomeRepeater(int32_t n) {
    return n >= 1 && n <= 20;
}

void HomeRepeater(CellFrame& f) {
    if (!IsLtrBank(f)) return ShowGreyDash(f, "---");
    const int32_t home = f.row.siteMarkPos;
    if (f.row.programmed) {
        f.Show(IsHomeRepeater(home) ? conv::Format("%2d", home) : std::string());
        if (f.IsEnter()) InstalledWindow().OpenRepeaterSettings(f.request);
    }
    f.SetError(GetSiteChannelCount(f.image, f.index) == 0 || !IsHomeRepeater(home));
}

// An LTR setting of the bank's group record through a list.
template <bool datCh::*Field, const char* const* List> void LtrFlag(CellFrame& f) {
    if (!IsLtrBank(f)) return ShowGreyDash(f, "---");
    field::RowCell(f, f.row.*Field,
                   [&](int32_t& v, int32_t& out) { return ConvSelCell(f.request, *List, v, out); });
}

template <uint8_t datCh::*Field> void LtrId(CellFrame& f) {
    if (!IsLtrBank(f)) return ShowGreyDash(f, "---");
    field::RowCell(f, f.row.*Field, [&](int32_t& v, int32_t& out) {
        uint16_t id = static_cast<uint16_t>(v);
        const int changed = ConvIntCell16(f.request, id, 1, 250, out);
        v = id;
        return changed;
    });
}

void PriorityDecode(CellFrame& f) {
    if (!IsLtrBank(f)) return ShowGreyDash(f, "---");
    field::RowCell(f, f.row.decPriTgEna,
                   [&](int32_t& v, int32_t& out) { return ConvSelCell(f.request, kListPhone, v, out); });
}

void AtbRingBack(CellFrame& f) {
    if (!IsLtrBank(f)) return ShowGreyDash(f, "---");
    field::BitsCell(f, layout::kLtrOptions, 0, 1,
                    [&](int32_t& v, int32_t& out) { return ConvSelCell(f.request, kListOnOff, v, out); });
}

const char* const kOnOff = kListOnOff;
const char* const kOnOff2 = kListOnOff2;
const char* const kEnable2 = kListEnable2;

// ---- row numbers and drawing ----

// Told apart by name: the adjustment program takes the case for its own ids.
void RowNumber(CellFrame& f) {
    ShowNumber(f, form::CellNameOf(f) == "CL_Misc_ChNo_0Base" ? f.index : f.index + 1);
}

// The lower three tenths of the cell in dark grey: a level mark under a row.
void QuarterPillar(CellFrame& f) {
    const cmcCellCapsule& r = f.request;
    if (!r.canvas || !r.cellRect) return;
    const CellRect& c = *r.cellRect;
    r.canvas->SetBrushColor(kPillarColor);
    r.canvas->FillRect(c.left, c.bottom - (c.bottom - c.top) * 3 / 10, c.right, c.bottom);
}

} // namespace

void UsedChannelsCell(CellFrame& f, BankUsedCounter count) {
    if (IsBank(f.index)) return ShowNumber(f, count(f.image, f.index));
    int32_t used = 0;
    for (int32_t bank = 0; bank < layout::kBanks; ++bank)
        used += count(f.image, bank);
    if (f.index == kAllBanks) return ShowNumber(f, used);
    const int32_t total = GetTotalBankChannels(f.image);
    ShowNumber(f, Room(f, total) + total - used);
}

void BankNameCell(CellFrame& f, std::span<uint8_t> name, RowStore store) {
    if (!EditTextCell(f.request, name.data(), static_cast<int32_t>(name.size()), false, f.result)) return;
    store(f);
    if (gEvMan) gEvMan->PostText(evSetBankNodeText, 0, f.index, FormatBankLabel(f.image, f.index));
}

void RegisterBankCells(CellCaseList& list) {
    list.Add("CL_Bank_SelBankFree", SelBankFree);
    list.Add("CL_Bank_SmarTrunk", BankSmarTrunk);
    list.Add("CL_Bank_UsedQty", BankUsedQty);
    list.Add("CL_Bank_UsedTotal", "CL_Bank_UsedLeft", BankUsedTotal);
    list.Add("CL_Mch_BankText", BankText);
    list.Add("CL_Mch_SmarTrunk", MchSmarTrunk);
    list.Add("CL_Mch_LTR", MchLtr);
    list.Add("CL_Mch_Bank", BankCount);
    list.Add("CL_Mch_Rpt", HomeRepeater);
    list.Add("CL_Mch_UsedCHs", UsedChannels);

    list.Add("CL_Ltr_BlockIdEna", LtrFlag<&datCh::blockIdEna, &kEnable2>);
    list.Add("CL_Ltr_BlockIdStart", LtrId<&datCh::blockIdStart>);
    list.Add("CL_Ltr_BlockIdEnd", LtrId<&datCh::blockIdEnd>);
    list.Add("CL_Ltr_DecPriTgEna", PriorityDecode);
    list.Add("CL_Ltr_PriTgId", LtrId<&datCh::priTgId>);
    list.Add("CL_Ltr_TotDispatch", LtrFlag<&datCh::totDispatch, &kOnOff2>);
    list.Add("CL_Ltr_TotPhone", LtrFlag<&datCh::totPhone, &kOnOff2>);
    list.Add("CL_Ltr_TaBusyLockout", LtrFlag<&datCh::busyLockout, &kOnOff2>);
    list.Add("CL_Ltr_AtbRingBack", AtbRingBack);
    list.Add("CL_Ltr_BeepHandShake", LtrFlag<&datCh::beepHandShake, &kOnOff>);
    list.Add("CL_Ltr_BeepOnRx", LtrFlag<&datCh::beepOnRx, &kOnOff>);
    list.Add("CL_Ltr_PwrSave", LtrFlag<&datCh::ltrPwrSave, &kOnOff2>);

    list.Add("CL_Misc_ChNo_0Base", "CL_Misc_ChNo_1Base", RowNumber);
    list.Add("CL_Misc_QuarterPillar", QuarterPillar);
}
