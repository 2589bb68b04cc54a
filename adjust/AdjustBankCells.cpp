// The row cells of this program's channel, bank and repeater sheets that work
// on its own records: a channel's frequencies, group ids, two-tone code
// and second receive digits, a bank's repeater site, and the repeater
// entries' frequencies and phone switch.
#include "adjust/AdjustCells.h"
#include "adjust/AdjustConv.h"
#include "adjust/AdjustFrameRow.h"
#include "adjust/AdjustRecords.h"
#include "adjust/AdjustVocabulary.h"
#include "cells/CellFrame.h"
#include "cells/CodeConv.h"
#include "cells/ConvSupport.h"
#include "cells/EditCommand.h"
#include "cells/FieldForm.h"
#include "cells/FreqToneConv.h"
#include "cells/ListConv.h"
#include "cells/NumberConv.h"
#include "cells/TextCell.h"
#include "cells/WindowCommands.h"
#include "cells/cloning/ChannelCells.h"
#include "cells/cmcCellCapsule.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"

#include <array>
#include <string>

namespace adj {
namespace {

constexpr int32_t kMaxGroupId = 250;
// A new repeater entry transmits this far above its receive frequency.
constexpr int32_t kRepeaterTxOffset = 5000000;

// Where a channel row keeps its group ids: the first two bytes of its
// six-byte entry, which the record holds swapped as display bytes 1 and 0.
constexpr size_t kGroupRxId = 1;
constexpr size_t kGroupTxId = 0;
constexpr const char* kSameAsReceive = "<-";
constexpr uint8_t kTxTopBit = 0x02;
constexpr const char* kTwoToneList = "GI_Sheet_Sel_Mch_2Tone";
constexpr const char* kOnOff2 = "GI_Sheet_Sel_Misc_OnOff2";

bool IsName(const CellFrame& f, const char* name) {
    return f.engine.Vocabulary().CellName(f.cellId) == name;
}

bool StartsInput(int32_t key) {
    return key == conv::kKeySpace || key == conv::kKeyBackspace || key == '.' || conv::IsDigitKey(key) ||
           key == cmcCellCapsule::kKeyEnter;
}

void PostSheetChanged() {
    if (gEvMan) gEvMan->Post(evRedrawSheet, 0, 0);
}

// ---- channel rows ----

void ReceiveFrequency(CellFrame& f) {
    if (!f.ChannelRowTakesInput()) return;
    datCh* record = FrameRecord(f);
    if (record && ConvFrequencyCell(f.request, *record, true, f.result)) StoreFrameRecord(f);
}

// A transmit word with its top bit set is greyed: the radio does not send on it.
void TransmitFrequency(CellFrame& f) {
    datCh* record = FrameRecord(f);
    if (!record) return;
    if (ConvFrequencyCell(f.request, *record, false, f.result)) StoreFrameRecord(f);
    if (record->flagC & kTxTopBit) f.Grey();
}

// The group receive id; the transmit id, while it named the same group,
// follows it. A stored 0 names no group and shows as nothing.
void GroupRxId(CellFrame& f) {
    datCh* record = FrameRecord(f);
    if (!record) return;
    std::array<uint8_t, 3>& ids = record->display;
    const uint8_t old = ids[kGroupRxId];
    int32_t value = old;
    if (ConvIntCell(f.request, value, 1, kMaxGroupId, 0, 1, nullptr, false, false, f.result) == 1) {
        ids[kGroupRxId] = static_cast<uint8_t>(value);
        if (ids[kGroupTxId] == old) ids[kGroupTxId] = static_cast<uint8_t>(value);
        StoreFrameRecord(f);
        PostSheetChanged();
    }
    if (ids[kGroupRxId] == 0 && f.result != cmcCellCapsule::kResultOpenEditor) f.Show(std::string());
}

// The group transmit id; "<-" while it names the receive id's group.
void GroupTxId(CellFrame& f) {
    datCh* record = FrameRecord(f);
    if (!record) return;
    std::array<uint8_t, 3>& ids = record->display;
    int32_t value = ids[kGroupTxId];
    if (ConvIntCell(f.request, value, 1, kMaxGroupId, 0, 1, nullptr, false, false, f.result) == 1) {
        ids[kGroupTxId] = static_cast<uint8_t>(value);
        StoreFrameRecord(f);
        PostSheetChanged();
    }
    if (f.result != cmcCellCapsule::kResultOpenEditor && ids[kGroupTxId] == ids[kGroupRxId])
        f.Show(kSameAsReceive);
}

// The two-tone code and the second receive code's digits sit where the
// cloning program keeps them: the low seven bits of option byte 8 and the
// ten bits that option bytes 10 and 11 begin with, which this program's
// record decodes as V6 and V7 on its short-form kinds. The long-form kinds
// keep other settings there and show nothing.
constexpr int32_t kTwoToneDigits = 10;

bool IsShortForm(int32_t kind) {
    return kind == 1 || kind == 3;
}

void ShortFormCode(CellFrame& f) {
    datCh* record = FrameRecord(f);
    if (!record || !IsShortForm(record->kind)) return;
    const bool twoTone = IsName(f, "CL_Mch_2Tone");
    int32_t& value = twoTone ? record->v6 : record->v7;
    const int changed =
        twoTone ? ConvSelListCell(f.request, kTwoToneList, f.engine.Vocabulary().CellIndex("Flex0"), value, 0,
                                  f.result)
                : ConvDigitSetCell(f.request, value, 1, kTwoToneDigits, 2, std::string(), f.result);
    if (changed == 1) StoreFrameRecord(f);
}

// ---- a bank's repeater site ----

// Bank n's repeater site is site n: the window that opens edits its entries.
void BankSite(CellFrame& f) {
    const datCh* record = FrameRecord(f);
    if (!record || !record->InUse()) return;
    f.Show(conv::Format("%2d", f.index));
    if (f.IsEnter()) InstalledWindow().OpenRepeaterSettings(f.request);
}

// ---- repeater entries of the open site ----

// Input on the row below the site's last entry adds an entry there. Every
// used pool row behind it moves on by one and the site's count grows, so the
// sites after it keep their entries; the site's 20 rows and the dynamic area must hold
// it, and a repack that overflows takes it out again.
bool TakeNewEntry(CellFrame& f, const SiteRange& site) {
    if (f.index < site.count) return true;
    // Only the row right after the last entry: any later one would leave a gap.
    if (f.index != site.count || !StartsInput(f.Key())) return false;
    const int32_t row = GetSiteFirstChannel(f.image, site.site) + f.index;
    if (!InsertRowWithRoom(f.image, true, site.site, row)) return false;
    f.LoadRequestRow(kindRepeaterPool, f.index);
    f.resultFlags |= CellFrame::kFlagRowCounts;
    return true;
}

// An entry without a receive frequency gets the transmit frequency receive
// + 5 MHz (3 MHz from 470 MHz up).
void EntryFrequency(CellFrame& f) {
    const bool receive = IsName(f, "CL_Rpt_FreqR");
    const SiteRange site = GetCurrentSiteRange(f.image);
    if (receive ? !TakeNewEntry(f, site) : f.index >= site.count) {
        f.Show(std::string());
        return;
    }
    datCh* entry = FrameRecord(f);
    if (!entry) return;
    ChannelFrequencies freq{static_cast<int32_t>(entry->word1), static_cast<int32_t>(entry->word2),
                            entry->InUse(), false};
    const FrequencyOptions options{.offset = receive ? kRepeaterTxOffset : 0};
    if (!ConvFrequency(f.request, freq, receive, options, f.result)) return;
    entry->word1 = static_cast<uint32_t>(freq.rxFreq);
    entry->word2 = static_cast<uint32_t>(freq.txFreq);
    StoreFrameRecord(f);
    if (receive) PostSheetChanged();
}

// The entry's switches in its flag bits: the data bits of receive and
// transmit and the phone switch (bits 7, 6 and 0 of entry byte 8, where the
// cloning program keeps them too).
struct EntrySwitch {
    const char* name;
    uint8_t bit;
};
constexpr EntrySwitch kEntrySwitches[] = {
    {"CL_Rpt_RxDat", 0x01},
    {"CL_Rpt_TxDat", 0x02},
    {"CL_Rpt_Phone", 0x04},
};

const form::ByName<EntrySwitch>& EntrySwitches() {
    static const form::ByName<EntrySwitch> byName{kEntrySwitches};
    return byName;
}

void EntrySwitchCell(CellFrame& f) {
    datCh* entry = FrameRecord(f);
    const EntrySwitch* c = EntrySwitches().Find(f);
    if (!entry || !c || f.index >= GetCurrentSiteRange(f.image).count) return;
    int32_t value = (entry->flagE & c->bit) != 0 ? 1 : 0;
    if (ConvSelPtrCell(f.request, kOnOff2, value, f.result) != 1) return;
    entry->flagE = static_cast<uint8_t>(value ? entry->flagE | c->bit : entry->flagE & ~c->bit);
    StoreFrameRecord(f);
}

// Entries are numbered from 1 within the site (the frame blanks the row after them).
void EntryNumber(CellFrame& f) {
    f.Show(conv::Format("%3d", f.index + 1));
}

// ---- bank and site names ----

void StoreBankName(CellFrame& f) {
    StoreFrameRecord(f);
}

void BankUsedChannels(CellFrame& f) {
    UsedChannelsCell(f, CountBankUsedChannels);
}

void BankName(CellFrame& f) {
    datCh* bank = FrameRecord(f);
    if (bank && bank->kind == kindBank) BankNameCell(f, bank->name, StoreBankName);
}

// A site is named as the bank of its number.
void SiteName(CellFrame& f) {
    const int32_t site = GetCurrentSiteRange(f.image).site;
    datCh bank(&f.image);
    bank.Load(kindBank, site);
    if (!bank.CanAccess(kindBank, site)) return;
    if (EditTextCell(f.request, bank.name.data(), static_cast<int32_t>(bank.name.size()), false, f.result))
        bank.Store(kindBank, site);
}

} // namespace

void RegisterAdjustBankCells(CellCaseList& list) {
    list.Add("CL_Mch_FreqR", ReceiveFrequency);
    list.Add("CL_Mch_FreqT", TransmitFrequency);
    list.Add("CL_Grp_RxId", GroupRxId);
    list.Add("CL_Grp_TxId", GroupTxId);
    list.Add("CL_Mch_2Tone", ShortFormCode);
    list.Add("CL_Mch_RxCNo2", ShortFormCode);
    list.Add("CL_Mch_Rpt", BankSite);
    list.Add("CL_Rpt_FreqR", EntryFrequency);
    list.Add("CL_Rpt_FreqT", EntryFrequency);
    EntrySwitches().Register(list, EntrySwitchCell);
    list.Add("CL_Rpt_No", EntryNumber);
    list.Add("CL_Rpt_Text", SiteName);
    list.Add("CL_Mch_BankText", BankName);
    list.Add("CL_Mch_UsedCHs", BankUsedChannels);
}

} // namespace adj
