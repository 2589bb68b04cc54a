#pragma once
#include "cells/CellCases.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace adj {

// The adjustment program's own cases, one registrar per file of cases.
void RegisterAdjustItemCells(CellCaseList& list);     // adjustment items, procedures, test channel
void RegisterAdjustMonitorCells(CellCaseList& list);  // A/D monitor and adjustment-parameter rows
void RegisterAdjustInfoCells(CellCaseList& list);     // the radio's information block
void RegisterAdjustChannelCells(CellCaseList& list);  // channel-row cells on the option word
void RegisterAdjustSettingsCells(CellCaseList& list); // settings read otherwise than by the cloning program
void RegisterAdjustRecordCells(CellCaseList& list);   // settings on this program's own row record
void RegisterAdjustBankCells(CellCaseList& list);     // channel, group and repeater-entry rows
void RegisterAdjustRowCells(CellCaseList& list);      // the row pop-up menu's item states

// The overlay keys the adjustment items show.
inline constexpr const char* kSweepStartKey = "GI_AppInd_Sweep_Start";
inline constexpr const char* kSweepErrorKey = "GI_AppInd_Sweep_Error";
inline constexpr const char* kCatchStartKey = "GI_AppInd_Catch_Start";
inline constexpr const char* kAdjustItemKeys[] = {kSweepStartKey, kSweepErrorKey, kCatchStartKey};

// The overlay keys of the radio's option units, in the order they are listed;
// the digital unit's key holds a line for each unit type.
inline constexpr const char* kOptionUnitKeys[] = {"GI_Mess_CloneInfo_Opt_Kx25", "GI_Mess_CloneInfo_Opt_Kx24",
                                                  "GI_Mess_CloneInfo_Opt_Kx26", "GI_Mess_CloneInfo_Opt_Kx22",
                                                  "GI_Mess_CloneInfo_Opt_Kx23", "GI_Mess_CloneInfo_Opt_Kx27",
                                                  "GI_Mess_CloneInfo_Opt_Kx21", "GI_Mess_CloneInfo_Opt_Digi"};

// The lists and boxes of the bank, channel-row and repeater-entry cells: the
// bank mode, the two-tone code, the entry's phone switch, and the refusals of a bank count or an added row or
// entry that does not fit.
inline constexpr const char* kBankCellKeys[] = {
    "GI_Sheet_Sel_Bank_SelBankFree_Cells", "GI_Sheet_Sel_Mch_2Tone_Cells",
    "GI_Sheet_Sel_Misc_OnOff2_Cells",      "GI_AppMess_ChErr_NoCh",
    "GI_AppMess_ChErr_NotBlank",           "GI_AppMess_ChErr_Overflow"};

// The lists the channel-row cells on the option word offer.
std::vector<std::string> OptionWordListKeys();
// The lists the cells on the frame's own record offer, and the text (two
// lines) the repeater rows name a site's bit with.
std::vector<std::string> RecordCellListKeys();
const char* AreaBitTextKey();

// Every case of the adjustment program's table, filled on first use: its
// own, and the cloning program's cases that find their rows by cell name for
// the cells both programs have.
const CellCaseList& AdjustCellCases();
// The program's case table: those cases and the cloning program's cases of
// other files that tell their cells apart by name.
void FillAdjustCellTable(CellCaseTable& table);

// The radio's serial number as this program shows and copies it: the twelve
// hexadecimal characters at offset 37 read as a byte and a 24-bit number
// (the last four unused), shown in decimal; none when one is no hexadecimal digit.
std::optional<std::string> FormatShortSerialNumber(const uint8_t* info);

} // namespace adj
