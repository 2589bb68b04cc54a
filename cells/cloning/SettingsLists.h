#pragma once
#include "cells/ConvKeys.h"

#include <array>
#include <cstdint>

// The lists that the settings cells read (general and expansion settings,
// keys, display and set mode), beside those the converters read themselves
// (ConvKeys.h). The cells name their lists only through this table, and the
// test of the shipped overlay walks it: each list must hold exactly the values
// given here, each once, so that every value its cell stores has a text and
// no item offers a value the cell's field cannot hold.
namespace setlist {

// The on/off and enable lists that many cells share.
constexpr const char* kOnOff = ConvKeyText(ConvKey::MiscOnOff);
constexpr const char* kOnOffInv = "GI_Sheet_Sel_Misc_OnOff_I";
constexpr const char* kEnable = ConvKeyText(ConvKey::MiscEnable);
constexpr const char* kEnable3 = ConvKeyText(ConvKey::MiscEnable3);

// General and expansion settings.
constexpr const char* kSetModeAccess = "GI_Sheet_Sel_Comm_SetModeAccess";
constexpr const char* kBurstType = "GI_Sheet_Sel_Comm_Ctcss_BurstType";
constexpr const char* kRxAfSw = "GI_Sheet_Sel_Comm_RxAfSw";
constexpr const char* kChMuteCont = "GI_Sheet_Sel_Exp_ChMuteCont";
constexpr const char* kRs232cSpeed = "GI_Sheet_Sel_Comm_RS232C_SPEED";
constexpr const char* kRs232cMode = "GI_Sheet_Sel_Comm_RS232C_Mode";
constexpr const char* kScrmType = "GI_Sheet_Sel_Comm_Scrm_Type";
constexpr const char* kScrmSyncCapture = "GI_Sheet_Sel_Comm_Scrm_SyncCapture";
constexpr const char* kScrmGroupCode = "GI_Sheet_Sel_Comm_Scrm_GroupCode";
constexpr const char* kScrmToneStart = "GI_Sheet_Sel_Comm_Scrm_ToneStartTiming";
constexpr const char* kSiren = "GI_Sheet_Sel_Comm_Sairen";
constexpr const char* kWide = "GI_Sheet_Sel_Comm_Wide";
constexpr const char* kDemph = "GI_Sheet_Sel_DemphSetting";
constexpr const char* kDtmfDecInput = "GI_Sheet_Sel_DTMFDecInputSet";
constexpr const char* kAutoTxMic = "GI_Sheet_Sel_AutoTx_MicSel";
constexpr const char* kDtcsInv = "GI_Sheet_Sel_Exp_DtcsInv";
constexpr const char* kClShift = "GI_Sheet_Sel_Exp_ClShift";
constexpr const char* kBattChangeType = "GI_Sheet_Sel_BattChangeType";

// Keys and display.
constexpr const char* kKeySmTr = "GI_Sheet_Sel_KDisp_Key_SmTr";
constexpr const char* kDialSmTr = "GI_Sheet_Sel_KDisp_Dial_SmTr";
constexpr const char* kTenkey = "GI_Sheet_Sel_KDisp_Tenkey";
constexpr const char* kHookOffSuspend = "GI_Sheet_Sel_HookOffSuspend";
constexpr const char* kOpeningBeep = "GI_Sheet_Sel_KDisp_Opening_Beep";
constexpr const char* kRotary = "GI_Sheet_Sel_KDisp_Rotary";
constexpr const char* kLines = "GI_Sheet_Sel_KDisp_Lines";
constexpr const char* kRfPwr = "GI_Sheet_Sel_KDisp_RfPwr";
constexpr const char* kMrCode = "GI_Sheet_Sel_MrCode";
constexpr const char* kPowerSwitch = "GI_Sheet_Sel_Power_Switch";
constexpr const char* kPowerSwitchHandy = "GI_Sheet_Sel_Power_Switch_Handy";
constexpr const char* kBattRfPwr = "GI_Sheet_Sel_Batt_RfPwr";

// Set mode.
constexpr const char* kBacklightMobile = "GI_Sheet_Sel_SetM_Mob_Backlight";
constexpr const char* kBacklightHandy = "GI_Sheet_Sel_SetM_Handy_Backlight";
constexpr const char* kBeepLevel = "GI_Sheet_Sel_SetM_BeepLev";
constexpr const char* kSqlLevel = "GI_Sheet_Sel_SetM_SqlLev";
constexpr const char* kMicGain = "GI_Sheet_Sel_SetM_MicGain";
constexpr const char* kVoxGain = "GI_Sheet_Sel_SetM_VoxGain";
constexpr const char* kVoxDelay = "GI_Sheet_Sel_SetM_VoxDelay";

// A beep level with the level-link bit (byte bit 6) set is this much above the plain level.
constexpr int32_t kBeepLinked = 100;
// The lowest battery power item: a stored 0 shows as it.
constexpr int32_t kBattRfPwrFirst = 1;

// Values first, first + step, ... up to last; an empty run has last < first.
struct ValueRun {
    int32_t first = 0;
    int32_t last = -1;
    int32_t step = 1;
};

struct List {
    const char* key;
    std::array<ValueRun, 2> values;
};

// A selection's whole field: 1, 2 or 3 bits.
constexpr std::array<ValueRun, 2> Bits(int32_t width) {
    return {{{0, (1 << width) - 1}}};
}

inline constexpr List kLists[] = {
    {kOnOff, Bits(1)},
    {kOnOffInv, Bits(1)},
    {kEnable, Bits(1)},
    {kEnable3, Bits(1)},
    {kSetModeAccess, Bits(1)},
    {kBurstType, Bits(1)},
    {kRxAfSw, Bits(1)},
    {kChMuteCont, Bits(1)},
    // A four-bit field; the radio knows six speeds.
    {kRs232cSpeed, {{{0, 5}}}},
    {kRs232cMode, Bits(2)},
    {kScrmType, Bits(1)},
    {kScrmSyncCapture, Bits(2)},
    {kScrmGroupCode, Bits(2)},
    {kScrmToneStart, Bits(2)},
    {kSiren, Bits(1)},
    {kWide, Bits(1)},
    {kDemph, Bits(2)},
    {kDtmfDecInput, Bits(1)},
    {kAutoTxMic, Bits(1)},
    {kDtcsInv, Bits(1)},
    {kClShift, Bits(2)},
    {kBattChangeType, Bits(1)},
    // Whole bytes: "no function" and the functions of a SmarTrunk key or dial.
    {kKeySmTr, {{{kKeyNone, kKeyNone}, {'0', '5'}}}},
    {kDialSmTr, {{{kKeyNone, kKeyNone}, {'0', '1'}}}},
    {kTenkey, Bits(1)},
    {kHookOffSuspend, Bits(3)},
    {kOpeningBeep, Bits(2)},
    // Twice a two-bit field.
    {kRotary, {{{0, 6, 2}}}},
    {kLines, Bits(1)},
    {kRfPwr, Bits(1)},
    {kMrCode, Bits(2)},
    {kPowerSwitch, Bits(2)},
    {kPowerSwitchHandy, Bits(2)},
    // A two-bit field whose 0 stands for the lowest power.
    {kBattRfPwr, {{{kBattRfPwrFirst, 3}}}},
    // Four-bit fields.
    {kBacklightMobile, {{{0, 7}}}},
    {kBacklightHandy, {{{0, 2}}}},
    {kVoxGain, {{{0, 10}}}},
    {kVoxDelay, {{{0, 7}}}},
    // Levels 0..15 in bits 3-0, each also with the link bit.
    {kBeepLevel, {{{0, 15}, {kBeepLinked, kBeepLinked + 15}}}},
    // Whole bytes.
    {kSqlLevel, {{{0, 10}}}},
    {kMicGain, {{{0, 10}}}},
};

} // namespace setlist
