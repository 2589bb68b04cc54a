#pragma once
#include "cells/ConvKeys.h"
#include "cells/cloning/SettingsLists.h"

#include <cstdint>

// The lists that the MSK, digital-system and MDC cells read, beside the
// on/off, enable and beep lists they share with other cells (ConvKeys.h,
// SettingsLists.h). The cells name their lists only through this table, and
// the test of the shipped overlay walks it: each list must be a pop-up sheet
// holding exactly the values given here, each once, none of them wider than
// the field its cells store it in.
namespace siglist {

// Shared lists, named here as the signalling cells use them.
constexpr const char* kOnOff = setlist::kOnOff;
constexpr const char* kOnOffInv = setlist::kOnOffInv;
constexpr const char* kOnOff2 = ConvKeyText(ConvKey::MiscOnOff2);
constexpr const char* kOnOff2Inv = ConvKeyText(ConvKey::MiscOnOff2Inv);
constexpr const char* kEnable = setlist::kEnable;
constexpr const char* kEnable2 = ConvKeyText(ConvKey::MiscEnable2);
constexpr const char* kEnable3 = setlist::kEnable3;
constexpr const char* kRxCBeep = ConvKeyText(ConvKey::RxCBeep);

// MSK signalling.
constexpr const char* kMskCountryCode = "GI_Sheet_Sel_MSK_Country_Code";
constexpr const char* kMskIdGroupBell = "GI_Sheet_Sel_Msk_IdGroup_Bell";
constexpr const char* kMskStatusPriority = "GI_Sheet_Sel_Msk_StatusMessPrio";
constexpr const char* kMskPreEmphasis = "GI_Sheet_Sel_Msk_PreEmphasis";
constexpr const char* kMskPttSideTone = "GI_Sheet_Sel_Msk_PttSideTone";
constexpr const char* kMskAniDisplay = "GI_Sheet_Sel_Msk_ANI_Disp";
// Also the digital system's GPS sentence.
constexpr const char* kMskGpsSentence = "GI_Sheet_Sel_Msk_GpsSentence";

// The digital system.
constexpr const char* kDigGlobal = "GI_Sheet_Sel_Dig_Global";

// MDC signalling. The lists of a system's choices and of a channel's system
// name the entries 0..4 of a table by their numbers, so that a typed number
// finds its item.
constexpr const char* kMdcBeepType = "GI_Sheet_Sel_MDC_Beep_Type";
constexpr const char* kMchMdcSystem = "GI_Sheet_Sel_Mch_Mdc_System_List";
constexpr const char* kMdcSystemGeneral = "GI_Sheet_Sel_Mdc_System_General_List";
constexpr const char* kMdcSystemPttId = "GI_Sheet_Sel_Mdc_System_PttId_List";
constexpr const char* kMdcSystemSelcall = "GI_Sheet_Sel_Mdc_System_Selcall_List";
constexpr const char* kMdcSystemCallAlert = "GI_Sheet_Sel_Mdc_System_CallAlert_List";
constexpr const char* kMdcSystemRadioCheck = "GI_Sheet_Sel_Mdc_System_RadioChk_List";
constexpr const char* kMdcSystemStun = "GI_Sheet_Sel_Mdc_System_Stun_List";
constexpr const char* kMdcSystemRevive = "GI_Sheet_Sel_Mdc_System_Revive_List";
constexpr const char* kMdcSystemEmergency = "GI_Sheet_Sel_Mdc_System_Emg_List";
constexpr const char* kMdcSystemAlias = "GI_Sheet_Sel_Mdc_System_Alias_List";
constexpr const char* kMdcSystemStatus = "GI_Sheet_Sel_Mdc_System_Status_List";
constexpr const char* kMdcSystemMessage = "GI_Sheet_Sel_Mdc_System_Message_List";
constexpr const char* kMdcMuteType = "GI_Sheet_Mdc_Status_Mute_Type";
constexpr const char* kMdcLogAction = "GI_Sheet_Mdc_General_Log_Action_Type";
constexpr const char* kMdcBeepRepeat = "GI_Sheet_Mdc_CallAlert_Beep_Rep";
// A status number: 0 none, 1..16 the statuses (an enable bit and the number
// less one in four bits).
constexpr const char* kMdcStatusNumber = "GI_Sheet_Mdc_Status_No_Sel";
constexpr int32_t kMdcStatusNumbers = 16;

// The entries of each MDC function table.
constexpr int32_t kMdcEntries = 5;

struct List {
    const char* key;
    setlist::ValueRun values;
    // The highest value the field that holds the list's value can take.
    int32_t widest;
    // Each item's text is its value's number: a typed number finds its item.
    bool numbered = false;
};

constexpr int32_t kOneBit = 1;
constexpr int32_t kTwoBits = 3;
constexpr int32_t kFourBits = 15;
constexpr int32_t kByte = 255;

inline constexpr List kLists[] = {
    {kMskCountryCode, {0, 9}, kByte},
    {kMskIdGroupBell, {0, 3}, kTwoBits},
    {kMskStatusPriority, {0, 1}, kOneBit},
    {kMskPreEmphasis, {0, 1}, kOneBit},
    {kMskPttSideTone, {0, 1}, kOneBit},
    {kMskAniDisplay, {0, 3}, kTwoBits},
    {kMskGpsSentence, {0, 3}, kTwoBits},
    {kDigGlobal, {0, 1}, kOneBit},
    {kMdcBeepType, {0, 4}, kFourBits},
    {kMchMdcSystem, {0, kMdcEntries - 1}, kByte, true},
    {kMdcSystemGeneral, {0, kMdcEntries - 1}, kByte, true},
    {kMdcSystemPttId, {0, kMdcEntries - 1}, kByte, true},
    {kMdcSystemSelcall, {0, kMdcEntries - 1}, kByte, true},
    {kMdcSystemCallAlert, {0, kMdcEntries - 1}, kByte, true},
    {kMdcSystemRadioCheck, {0, kMdcEntries - 1}, kByte, true},
    {kMdcSystemStun, {0, kMdcEntries - 1}, kByte, true},
    {kMdcSystemRevive, {0, kMdcEntries - 1}, kByte, true},
    {kMdcSystemEmergency, {0, kMdcEntries - 1}, kByte, true},
    {kMdcSystemAlias, {0, kMdcEntries - 1}, kByte, true},
    {kMdcSystemStatus, {0, kMdcEntries - 1}, kByte, true},
    {kMdcSystemMessage, {0, kMdcEntries - 1}, kByte, true},
    {kMdcMuteType, {0, 2}, kFourBits},
    {kMdcLogAction, {0, 2}, kFourBits},
    {kMdcBeepRepeat, {0, 3}, kFourBits},
    {kMdcStatusNumber, {0, kMdcStatusNumbers}, kMdcStatusNumbers},
};

} // namespace siglist
