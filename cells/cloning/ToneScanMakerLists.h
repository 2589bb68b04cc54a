#pragma once
#include "cells/ConvKeys.h"
#include "cells/cloning/SettingsLists.h"

#include <array>
#include <cstdint>

// The lists that the two-tone, five-tone, DTMF, tone memory, scan and maker
// cells read, beside the shared on/off lists (SettingsLists.h, ConvKeys.h).
// The cells name their lists only through this table, and the test of the
// shipped overlay walks it: each list must hold exactly the values given
// here, each once, and no value wider than the field its cell writes.
namespace tsmlist {

using setlist::List;
using setlist::ValueRun;

constexpr const char* kOnOff = ConvKeyText(ConvKey::MiscOnOff);
constexpr const char* kOnOff2 = ConvKeyText(ConvKey::MiscOnOff2);
constexpr const char* kOnOff2Inv = ConvKeyText(ConvKey::MiscOnOff2Inv);
constexpr const char* kOnOffInv = setlist::kOnOffInv;
constexpr const char* kEnable = ConvKeyText(ConvKey::MiscEnable);
constexpr const char* kRxBeep = ConvKeyText(ConvKey::RxCBeep);

// What a decoded call does (two-tone, five-tone and DTMF decode codes).
constexpr const char* kGroupCall = "GI_Sheet_Sel_2TRxC_Group";
constexpr const char* kCodeType = "GI_Sheet_Sel_2TRxC_Type";
constexpr const char* kRxBell = "GI_Sheet_Sel_RxC_Bell";
constexpr const char* kRxAudio = "GI_Sheet_Sel_RxC_Aud";
constexpr const char* kRxStun = "GI_Sheet_Sel_RxC_Stun";
constexpr const char* kRxScan = "GI_Sheet_Sel_RxC_Scan";

// Scan lists and common scan settings.
constexpr const char* kScanMode = "GI_Sheet_Sel_ScanMode";
constexpr const char* kScanCancel = "GI_Sheet_Sel_ScanCancelCH";
constexpr const char* kScanTxAction = "GI_Sheet_Sel_ScanTXAct";
constexpr const char* kScanListText = "GI_Sheet_Sel_ScanList_Text";
constexpr const char* kPowerOnScan = "GI_Sheet_Sel_PwrOnScan";
constexpr const char* kMonitorKey = "GI_Sheet_Sel_MonitorKey_Action";

// Maker settings.
constexpr const char* kDtcsPolarity = "GI_Sheet_Sel_Maker_DtcsPolar";
constexpr const char* kPllType = "GI_Sheet_Sel_Maker_PllType";
constexpr const char* kHighLow = "GI_Sheet_Sel_Misc_HiLow";
constexpr const char* kPolarity = "GI_Sheet_Sel_Polarity";
constexpr const char* kDecoderMethod = "GI_Sheet_Sel_SDECMethodSet";

// The scan mode that has two priority channels, and the one that scans
// without transmitting (no transmit channel, talk-back, action or cancel).
constexpr int32_t kScanModePriority = 2;
constexpr int32_t kScanModeSlave = 17;

struct FieldList {
    List list;
    int32_t bits; // the width of the field the list's value is written into
};

constexpr std::array<ValueRun, 2> All(int32_t bits) {
    return setlist::Bits(bits);
}

inline constexpr FieldList kLists[] = {
    {{kGroupCall, All(2)}, 8},
    {{kCodeType, All(1)}, 1},
    {{kRxBell, All(2)}, 2},
    {{kRxAudio, All(2)}, 2},
    {{kRxStun, All(2)}, 2},
    {{kRxScan, All(2)}, 2},
    // A four-bit mode with a flag above it.
    {{kScanMode, {{{0, 3}, {kScanModeSlave, kScanModeSlave}}}}, 5},
    {{kScanCancel, {{{0, 3}, {16, 16}}}}, 5},
    {{kScanTxAction, All(1)}, 1},
    {{kScanListText, All(2)}, 2},
    {{kPowerOnScan, All(2)}, 2},
    {{kMonitorKey, All(1)}, 1},
    {{kDtcsPolarity, All(1)}, 1},
    {{kPllType, All(2)}, 2},
    {{kHighLow, All(1)}, 1},
    {{kPolarity, All(1)}, 1},
    {{kDecoderMethod, All(1)}, 1},
};

} // namespace tsmlist
