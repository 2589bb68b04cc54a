#pragma once
#include "cells/CellIds.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Every text key of the overlay that the converters read themselves, in one
// table: the converters name their keys only through it, and the test of the
// shipped overlay walks it, so no key reaches the code unseen. Beside each key
// stands what the converters need of it: for a list, the list cells and the
// item values they store or ask for.

// Cell ids of the pop-up list items (the cell vocabulary's first names).
namespace listcell {
using cellid::Flex0;
using cellid::Flex1;
using cellid::Flex2;
using cellid::FlexCHSel;
using cellid::FlexCHSelNum;
using cellid::FlexDtcs;
using cellid::FlexKeyOpt;
using cellid::FlexMark;
using cellid::FlexZoneSel;
using cellid::FlexZoneSelNum;
} // namespace listcell

enum class ConvKey : int32_t {
    // Plain texts.
    TimerOff,
    AddCH,
    // Comma-separated item names, matched by prefix.
    CtcssNames,
    // The display glyph segments.
    SegData,
    // Lists that pop up beside their cell.
    UserSetEnable,
    ToneList,
    KeyOptHL,
    DialsConv,
    DialsConvPmrZ,
    KeysConvLmr,
    KeysConvLmrLtr,
    KeysConvLmrP25,
    KeysConvPmr,
    KeysConvPmrZ,
    KeysConvLmrMob,
    KeysConvLmrLtrMob,
    KeysConvLmrP25Mob,
    KeysConvPmrMob,
    KeysConvPmrZMob,
    RxAbcSel,
    RxAbcCode,
    ScanPrio1CH,
    ScanPrio2CH,
    ScanTXCH,
    ScanZoneSel,
    // The channel sheet that pops up for a scan-list channel.
    ScanCHSel,
    // The on/off and enable lists that many settings cells share.
    MiscOnOff,
    MiscOnOff2,
    MiscEnable,
    MiscEnable2,
    MiscEnable3,
    // Shared by the digital, MSK, tone and scan cells.
    MiscOnOff2Inv,
    RxCBeep,
    Count
};

enum class KeyUse : uint8_t {
    Text,         // line 0 is shown
    ItemNames,    // comma-separated names over the key's lines
    GlyphData,    // one segment a line
    List,         // a pop-up list sheet: "_Style", "_BasicCell" and "_Cells"
    ChannelSheet, // a channel sheet with a channel loop; the pick comes from its rows
};

// Items of one list cell id that must be present: values first..last.
struct ListItems {
    int32_t cellId = 0; // 0: no requirement
    int32_t first = 0;
    int32_t last = -1;
};

struct ConvKeyInfo {
    ConvKey id;
    const char* key;
    KeyUse use;
    std::array<ListItems, 3> items{};
    // ItemNames: how many names there must be at least.
    int32_t names = 0;
};

// Items 0..51 are the CTCSS tones named by CtcssNames, 52 is "off", 53 a DTCS code.
constexpr int32_t kToneCount = 52;
constexpr int32_t kToneOffItem = 52;
constexpr int32_t kToneDtcsItem = 53;
// Mode item of the scan-channel lists that stands for a chosen channel.
constexpr int32_t kScanChannelItem = 5;
// The key function code that every assignment list offers: no function. The
// key lists also offer the three functions that carry a high/low option.
constexpr int32_t kKeyNone = ' ';

inline constexpr ConvKeyInfo kConvKeys[] = {
    {ConvKey::TimerOff, "GI_AppInd_TimerOff", KeyUse::Text},
    {ConvKey::AddCH, "GI_AddCH", KeyUse::Text},
    {ConvKey::CtcssNames, "GI_AppItem_Ctcss", KeyUse::ItemNames, {}, kToneCount},
    {ConvKey::SegData, "GI_PCG_Seg_Data", KeyUse::GlyphData},
    {ConvKey::UserSetEnable, "GI_Sheet_Sel_UserSetEnable", KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {ConvKey::ToneList,
     "GI_Sheet_Sel_Mch_CTone",
     KeyUse::List,
     {{{listcell::Flex0, 0, kToneOffItem}, {listcell::FlexDtcs, kToneDtcsItem, kToneDtcsItem}}}},
    {ConvKey::KeyOptHL, "GI_Sheet_Sel_KDisp_KeyOpt_HL", KeyUse::List, {{{listcell::FlexKeyOpt, 0, 1}}}},
    {ConvKey::DialsConv, "GI_Sheet_Sel_Dials_Conv", KeyUse::List, {{{listcell::Flex0, kKeyNone, kKeyNone}}}},
    {ConvKey::DialsConvPmrZ,
     "GI_Sheet_Sel_Dials_Conv_ZuroPmr",
     KeyUse::List,
     {{{listcell::Flex0, kKeyNone, kKeyNone}}}},
    {ConvKey::KeysConvLmr,
     "GI_Sheet_Sel_Keys_Conv_Lmr",
     KeyUse::List,
     {{{listcell::Flex0, kKeyNone, kKeyNone}, {listcell::Flex0, '0', '2'}}}},
    {ConvKey::KeysConvLmrLtr,
     "GI_Sheet_Sel_Keys_Conv_LmrLtr",
     KeyUse::List,
     {{{listcell::Flex0, kKeyNone, kKeyNone}, {listcell::Flex0, '0', '2'}}}},
    {ConvKey::KeysConvLmrP25,
     "GI_Sheet_Sel_Keys_Conv_LmrP25",
     KeyUse::List,
     {{{listcell::Flex0, kKeyNone, kKeyNone}, {listcell::Flex0, '0', '2'}}}},
    {ConvKey::KeysConvPmr,
     "GI_Sheet_Sel_Keys_Conv_Pmr",
     KeyUse::List,
     {{{listcell::Flex0, kKeyNone, kKeyNone}, {listcell::Flex0, '0', '2'}}}},
    {ConvKey::KeysConvPmrZ,
     "GI_Sheet_Sel_Keys_Conv_ZuroPmr",
     KeyUse::List,
     {{{listcell::Flex0, kKeyNone, kKeyNone}, {listcell::Flex0, '0', '2'}}}},
    {ConvKey::KeysConvLmrMob,
     "GI_Sheet_Sel_Keys_Conv_Lmr_Mob",
     KeyUse::List,
     {{{listcell::Flex0, kKeyNone, kKeyNone}, {listcell::Flex0, '0', '2'}}}},
    {ConvKey::KeysConvLmrLtrMob,
     "GI_Sheet_Sel_Keys_Conv_LmrLtr_Mob",
     KeyUse::List,
     {{{listcell::Flex0, kKeyNone, kKeyNone}, {listcell::Flex0, '0', '2'}}}},
    {ConvKey::KeysConvLmrP25Mob,
     "GI_Sheet_Sel_Keys_Conv_LmrP25_Mob",
     KeyUse::List,
     {{{listcell::Flex0, kKeyNone, kKeyNone}, {listcell::Flex0, '0', '2'}}}},
    {ConvKey::KeysConvPmrMob,
     "GI_Sheet_Sel_Keys_Conv_Pmr_Mob",
     KeyUse::List,
     {{{listcell::Flex0, kKeyNone, kKeyNone}, {listcell::Flex0, '0', '2'}}}},
    {ConvKey::KeysConvPmrZMob,
     "GI_Sheet_Sel_Keys_Conv_ZuroPmr_Mob",
     KeyUse::List,
     {{{listcell::Flex0, kKeyNone, kKeyNone}, {listcell::Flex0, '0', '2'}}}},
    {ConvKey::RxAbcSel, "GI_Sheet_Sel_RxC_AbcSel", KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {ConvKey::RxAbcCode, "GI_Sheet_Sel_RxC_AbcCode", KeyUse::List, {{{listcell::Flex1, 1, 32}}}},
    {ConvKey::ScanPrio1CH,
     "GI_Sheet_Sel_ScanPrio1CH",
     KeyUse::List,
     {{{listcell::Flex0, 0, 0}, {listcell::Flex0, kScanChannelItem, kScanChannelItem}}}},
    {ConvKey::ScanPrio2CH,
     "GI_Sheet_Sel_ScanPrio2CH",
     KeyUse::List,
     {{{listcell::Flex0, 0, 0}, {listcell::Flex0, kScanChannelItem, kScanChannelItem}}}},
    {ConvKey::ScanTXCH,
     "GI_Sheet_Sel_ScanTXCH",
     KeyUse::List,
     {{{listcell::Flex0, 0, 0}, {listcell::Flex0, kScanChannelItem, kScanChannelItem}}}},
    {ConvKey::ScanZoneSel, "GI_Sheet_Sel_ScanZoneSel", KeyUse::List, {{{listcell::FlexZoneSel, 0, 127}}}},
    {ConvKey::ScanCHSel, "GI_Sheet_Sel_ScanCHSel", KeyUse::ChannelSheet, {{{listcell::FlexCHSel, 0, 0}}}},
    {ConvKey::MiscOnOff, "GI_Sheet_Sel_Misc_OnOff", KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {ConvKey::MiscOnOff2, "GI_Sheet_Sel_Misc_OnOff2", KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {ConvKey::MiscEnable, "GI_Sheet_Sel_Misc_Enable", KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {ConvKey::MiscEnable2, "GI_Sheet_Sel_Misc_Enable2", KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {ConvKey::MiscEnable3, "GI_Sheet_Sel_Misc_Enable3", KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {ConvKey::MiscOnOff2Inv, "GI_Sheet_Sel_Misc_OnOff2_I", KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    // Off and seven beeps: it also serves three-bit fields.
    {ConvKey::RxCBeep, "GI_Sheet_Sel_RxC_Beep", KeyUse::List, {{{listcell::Flex0, 0, 7}}}},
};

constexpr bool ConvKeysInOrder() {
    for (size_t i = 0; i < std::size(kConvKeys); ++i)
        if (static_cast<size_t>(kConvKeys[i].id) != i) return false;
    return std::size(kConvKeys) == static_cast<size_t>(ConvKey::Count);
}
static_assert(ConvKeysInOrder(), "kConvKeys holds every ConvKey once, in the order of the enumeration");

constexpr const ConvKeyInfo& ConvKeyOf(ConvKey id) {
    return kConvKeys[static_cast<size_t>(id)];
}
constexpr const char* ConvKeyText(ConvKey id) {
    return ConvKeyOf(id).key;
}
