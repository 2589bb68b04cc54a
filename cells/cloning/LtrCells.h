#pragma once
#include <array>
#include <cstdint>

// What the LTR group, repeater and LTR option cells read from the text
// overlay: each list with the values (list cell Flex0) its cells store or
// offer, and the plain texts. The test of the shipped overlay walks these
// tables, so a key the cells read cannot be missing for a user.
namespace ltrkeys {

struct List {
    const char* key;
    int32_t first; // values first..last must be items of the list
    int32_t last;
    bool ownFragment; // shipped with the LTR lists; else another fragment ships it
};

// The site mark list: value 1 marks the entry as the site's home repeater.
constexpr const char* kRptAtr = "GI_Sheet_Sel_Rpt_Atr";
constexpr const char* kTaOutRange = "GI_Sheet_Sel_Ltr_TA_OutRange";
constexpr const char* kLsdDecode = "GI_Sheet_Sel_LsdDecode";
constexpr const char* kOnOffInv = "GI_Sheet_Sel_Misc_OnOff_I";
constexpr const char* kEnableInv = "GI_Sheet_Sel_Misc_Enable_I";
constexpr const char* kOnOff = "GI_Sheet_Sel_Misc_OnOff";
constexpr const char* kOnOff2 = "GI_Sheet_Sel_Misc_OnOff2";
constexpr const char* kEnable2 = "GI_Sheet_Sel_Misc_Enable2";
constexpr const char* kTxInh = "GI_Sheet_Sel_Mch_CH_TxInh";
constexpr const char* kNar = "GI_Sheet_Sel_Mch_Nar";
constexpr const char* kRfPwr = "GI_Sheet_Sel_Mch_RfPwr";

inline constexpr std::array<List, 11> kLists = {{
    {kRptAtr, 0, 1, true},
    {kTaOutRange, 0, 1, true},
    {kLsdDecode, 0, 1, true},
    {kOnOffInv, 0, 1, true},
    {kEnableInv, 0, 1, true},
    {kOnOff, 0, 1, false},
    {kOnOff2, 0, 1, false},
    {kEnable2, 0, 1, false},
    {kTxInh, 0, 1, false},
    {kNar, 0, 1, false},
    // A stored power 0 is shown and offered as 3.
    {kRfPwr, 1, 3, false},
}};

// The title of a sheet's empty row for a new entry (line 0), shipped with the channel lists.
constexpr const char* kNewRowTitle = "GI_NewChTitle";
// The area bit of a site as text: line 0 for a clear bit, line 1 for a set one.
constexpr const char* kAreaBitText = "GI_AreaSetBit_Bar";
// The box when no more rows fit (shipped with the row edits).
constexpr const char* kOverflow = "GI_AppMess_ChErr_Overflow";

} // namespace ltrkeys
