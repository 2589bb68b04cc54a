#pragma once
#include "cells/ChannelFields.h"
#include "cells/ConvKeys.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>

class cmcCellCapsule;
class cmcEeprom;
struct CellFrame;

// The overlay keys that the channel row cells read beside the converters' own
// (ConvKeys.h): the lists of the channel columns, and the row-number text of
// the sheet's empty row. The cells name their keys only through this table,
// and the test of the shipped overlay walks it.
namespace chlist {
constexpr const char* kNewChTitle = "GI_NewChTitle";

constexpr const char* kAtr = "GI_Sheet_Sel_Mch_Atr";
constexpr const char* kChInh = "GI_Sheet_Sel_Mch_ChInh";
constexpr const char* kTxInh = "GI_Sheet_Sel_Mch_CH_TxInh";
constexpr const char* kNar = "GI_Sheet_Sel_Mch_Nar";
constexpr const char* kRfPwr = "GI_Sheet_Sel_Mch_RfPwr";
constexpr const char* kLockoutLmr = "GI_Sheet_Sel_Mch_Lockout_Lmr";
constexpr const char* kLockoutLmrP25 = "GI_Sheet_Sel_Mch_Lockout_LmrP25";
constexpr const char* kLockoutPmr = "GI_Sheet_Sel_Mch_Lockout_Pmr";
constexpr const char* kAutoResetLmr = "GI_Sheet_Sel_Mch_AutoReset_Lmr";
constexpr const char* kAutoResetPmr = "GI_Sheet_Sel_Mch_AutoReset_Pmr";
constexpr const char* kTwoTone = "GI_Sheet_Sel_Mch_2Tone";
constexpr const char* kLogLmr = "GI_Sheet_Sel_Mch_Log_Lmr";
constexpr const char* kLogPmr = "GI_Sheet_Sel_Mch_Log_Pmr";
constexpr const char* kScanInc = "GI_Sheet_Sel_Mch_ScanInc";
constexpr const char* kScanList = "GI_Sheet_Sel_Mch_Scan_List";
constexpr const char* kScanListSel = "GI_Sheet_Sel_Mch_Scan_ListSel";
constexpr const char* kScramOn = "GI_Sheet_Sel_Mch_ScramOn";
constexpr const char* kScramType = "GI_Sheet_Sel_Mch_ScramType";
constexpr const char* kMoni = "GI_Sheet_Sel_Mch_Moni";
constexpr const char* kSel = "GI_Sheet_Sel_Mch_Sel";
constexpr const char* kCall = "GI_Sheet_Sel_Mch_Call";
constexpr const char* kPtt = "GI_Sheet_Sel_Mch_Ptt";
constexpr const char* kChMute = "GI_Sheet_Sel_Mch_ChMute";
constexpr const char* kForm = "GI_Sheet_Sel_Mch_Form";
constexpr const char* kLTone = "GI_Sheet_Sel_Mch_LTone";
constexpr const char* kPos = "GI_Sheet_Sel_Mch_Pos";
constexpr const char* kDtmfDec = "GI_Sheet_Sel_Mch_DTMF_Dec";
constexpr const char* kChMuteLtr = "GI_Sheet_Sel_Mch_ChMuteLtr";
constexpr const char* kMskSignal = "GI_Sheet_Sel_Mch_Msk_Signal_Pmr";
constexpr const char* kSendStatus = "GI_Sheet_Sel_Mch_SendStatus";
constexpr const char* kMskRptFirst = "GI_Sheet_Sel_Mch_Msk_Rpt_1st_Pmr";
constexpr const char* kMskRptSecond = "GI_Sheet_Sel_Mch_Msk_Rpt_2nd";
constexpr const char* kMskId = "GI_Sheet_Sel_Mch_Msk_ID";
constexpr const char* kDigSignal = "GI_Sheet_Sel_Mch_Dig_Signal";
constexpr const char* kSqlType = "GI_Sheet_Sel_Mch_SQL_Type";
constexpr const char* kTgList = "GI_Sheet_Sel_TGList";

// Values that the cells give a meaning of their own.
constexpr int32_t kMskNoRepeater = 255;  // the MSK repeater column's no-repeater item
constexpr int32_t kMskRptNumberItem = 1; // the first list's item that stands for a repeater code
} // namespace chlist

// A key and what the cells need of it (KeyUse, ListItems: ConvKeys.h).
struct ChannelKeyInfo {
    const char* key;
    KeyUse use;
    std::array<ListItems, 2> items{};
};

inline constexpr ChannelKeyInfo kChannelKeys[] = {
    {chlist::kNewChTitle, KeyUse::Text},
    // The attribute list: items 1..6 set, choose or toggle the row's reference and bank marks.
    {chlist::kAtr, KeyUse::List, {{{listcell::Flex0, 1, 6}}}},
    {chlist::kChInh, KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {chlist::kTxInh, KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {chlist::kNar, KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {chlist::kRfPwr, KeyUse::List, {{{listcell::Flex0, 0, 3}}}},
    {chlist::kLockoutLmr, KeyUse::List, {{{listcell::Flex0, 0, 3}}}},
    {chlist::kLockoutLmrP25, KeyUse::List, {{{listcell::Flex0, 0, 4}}}},
    {chlist::kLockoutPmr, KeyUse::List, {{{listcell::Flex0, 0, 4}}}},
    {chlist::kAutoResetLmr, KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {chlist::kAutoResetPmr, KeyUse::List, {{{listcell::Flex0, 0, 3}}}},
    // Off and the ten two-tone codes.
    {chlist::kTwoTone, KeyUse::List, {{{listcell::Flex0, 0, 10}}}},
    {chlist::kLogLmr, KeyUse::List, {{{listcell::Flex0, 0, 2}}}},
    {chlist::kLogPmr, KeyUse::List, {{{listcell::Flex0, 0, 3}}}},
    {chlist::kScanInc, KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    // Off and the 17 scan lists.
    {chlist::kScanList, KeyUse::List, {{{listcell::Flex0, 0, 17}}}},
    {chlist::kScanListSel, KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {chlist::kScramOn, KeyUse::List, {{{listcell::Flex0, 0, 3}}}},
    {chlist::kScramType, KeyUse::List, {{{listcell::Flex0, 0, 3}}}},
    // The PMR-Z signalling columns pop up as marked lists.
    {chlist::kMoni, KeyUse::List, {{{listcell::FlexMark, 0, 7}}}},
    {chlist::kSel, KeyUse::List, {{{listcell::FlexMark, 0, 3}}}},
    {chlist::kCall, KeyUse::List, {{{listcell::FlexMark, 0, 1}}}},
    {chlist::kPtt, KeyUse::List, {{{listcell::FlexMark, 0, 1}}}},
    {chlist::kChMute, KeyUse::List, {{{listcell::FlexMark, 0, 1}}}},
    {chlist::kForm, KeyUse::List, {{{listcell::Flex0, 0, 3}}}},
    {chlist::kLTone, KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {chlist::kPos, KeyUse::List, {{{listcell::Flex0, 0, 3}}}},
    // Off and the ten DTMF receive entries.
    {chlist::kDtmfDec, KeyUse::List, {{{listcell::Flex0, 0, 10}}}},
    {chlist::kChMuteLtr, KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {chlist::kMskSignal, KeyUse::List, {{{listcell::Flex0, 0, 1}}}},
    {chlist::kSendStatus, KeyUse::List, {{{listcell::FlexMark, 0, 1}}}},
    // Off, a repeater code (from the second list) and no repeater.
    {chlist::kMskRptFirst,
     KeyUse::List,
     {{{listcell::Flex0, 0, chlist::kMskRptNumberItem},
       {listcell::Flex0, chlist::kMskNoRepeater, chlist::kMskNoRepeater}}}},
    {chlist::kMskRptSecond, KeyUse::List, {{{listcell::Flex1, 1, 32}}}},
    {chlist::kMskId, KeyUse::List, {{{listcell::Flex0, 0, 32}}}},
    {chlist::kDigSignal, KeyUse::List, {{{listcell::Flex0, 0, 3}}}},
    {chlist::kSqlType, KeyUse::List, {{{listcell::Flex0, 0, 3}}}},
    {chlist::kTgList, KeyUse::List, {{{listcell::Flex0, 0, 16}}}},
};

// The marks a channel's signalling options earn for their value; each
// program decides when a column is judged, the rule for a value is one.
enum class SignallingMark : uint8_t { None, WarnUnless6Or7, ErrorUnless1, ErrorUnless0, WarnIf0 };
void ApplySignallingMark(CellFrame& f, SignallingMark mark, int32_t value);

// The warning or error mark that a PMR-Z signalling column (or one of its
// aliases) earns for a value while the row's MSK signalling is on; nothing for
// other columns, models and rows. The columns and their list pop-ups share it.
void SetSignallingMark(CellFrame& f, int32_t columnCell, int32_t value);

// The receive and transmit NAC of a row, wherever the row keeps the pair (the
// channel columns, the NAC channel list): the transmit NAC follows the receive
// NAC while the two are equal, and then shows "<-", centred. conv shows and
// edits a NAC (by default two hexadecimal digits up to 0x3F); a change is kept
// with store (by default the frame's row is stored).
using NacConv = int (*)(cmcCellCapsule& request, int32_t& value, int32_t& out);
using RowStore = void (*)(CellFrame& f);
int ConvNacCell(cmcCellCapsule& request, int32_t& value, int32_t& out);
void StoreFrameRow(CellFrame& f);
void ReceiveNacCell(CellFrame& f, int32_t& rxNac, int32_t& txNac, NacConv conv = ConvNacCell,
                    RowStore store = StoreFrameRow);
void TransmitNacCell(CellFrame& f, int32_t& rxNac, int32_t& txNac, NacConv conv = ConvNacCell,
                     RowStore store = StoreFrameRow);

// A bank's name, wherever its row record keeps it: a change is kept with
// store and renames the bank's node in the tree.
void BankNameCell(CellFrame& f, std::span<uint8_t> name, RowStore store);

// The channels in use of the bank of the cell's index, of all banks (index
// 128), or the rows still free (any other index), counted bank by bank with
// the program's count of a bank's channels in use.
using BankUsedCounter = int32_t (*)(cmcEeprom& image, int32_t bank);
void UsedChannelsCell(CellFrame& f, BankUsedCounter count);

// Greys a cell of a channel row while the row's digital mode (CL_Mch_Dig_Sig:
// 0 analog .. 3 digital only) is one of the modes given.
void GreyInDigitalModes(CellFrame& f, std::initializer_list<int32_t> modes);

// The field a column of the channel table keeps, by the column's name; none
// for a name that is no column of the table. A program whose row record has
// no place for the field leaves the column out.
std::optional<ChField> ChannelColumnField(const std::string& name);
