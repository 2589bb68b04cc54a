// The radio's general and expansion settings (cells CL_Comm_* and CL_Exp_*):
// fixed fields of the working image, most of them one field through one
// converter and given as rows of the table form; the passcodes, the time-out
// reset and the beep frequencies are small functions below the table.
#include "cells/CellCases.h"
#include "cells/CellFields.h"
#include "cells/CellFrame.h"
#include "cells/CodeConv.h"
#include "cells/ConvKeys.h"
#include "cells/ConvSupport.h"
#include "cells/FieldForm.h"
#include "cells/cloning/SettingsLists.h"
#include "image/cmcEeprom.h"

#include <array>

namespace {

using namespace setlist;
using form::Bit;
using form::Bits;
using form::Byte;
using form::ByteRange;
using form::Sel;

// The byte of the scrambler's switches: with its type bit set (a scrambler
// without a code) the other three settings mean nothing to the radio.
constexpr int32_t kScrambler = 93782;
constexpr int32_t kScramblerType = 3;
// The man-down switch; its timers and siren mean nothing while it is off.
constexpr int32_t kManDown = 93821;
constexpr int32_t kManDownOn = 2;

constexpr int32_t kOff = 1; // a timer's 0 shows the timer-off text
constexpr int32_t kNoOff = 0;

using form::GreyWhileClear;
using form::GreyWhileSet;
using form::Rebuild;

// clang-format off
constexpr form::Row kRows[] = {
    {"CL_Comm_PwrOnPassword", Bit(93825, 5), Sel(kOnOff)},
    {"CL_Comm_SetModeAccess", Bit(93823, 3), Sel(kSetModeAccess)},
    {"CL_Comm_AtResetTimer_A", Byte(93852), ByteRange(1, kOff)},
    {"CL_Comm_AtResetTimer_B", Byte(93853), ByteRange(1, kOff)},
    {"CL_Comm_InactiveTimer", Byte(93854), ByteRange(1, kNoOff)},
    {"CL_Comm_Tot_Timer", Byte(93848), ByteRange(1, kNoOff)},
    // Two names for one bit.
    {"CL_Comm_Tot_ID_Out", Bit(93823, 5), Sel(kOnOff)},
    {"CL_Comm_Tot_Dtmf_ID_Out", Bit(93823, 5), Sel(kOnOff)},
    {"CL_Comm_Tot_PenaltyTimer", Byte(93849), ByteRange(1, kOff)},
    {"CL_Comm_Tot_Beep", Bit(93823, 4), Sel(kOnOff)},
    // Bytes outside 32..126 are shown and stored as blanks.
    {"CL_Comm_CloneComment1", form::Bytes(94214, 16), form::Text(16)},
    {"CL_Comm_CloneComment2", form::Bytes(94230, 16), form::Text(16)},
    {"CL_Comm_LockoutPenaltyTimer", Byte(93850), ByteRange(1, kOff)},
    {"CL_Comm_LockoutOverride", Bit(93825, 6), Sel(kOnOff)},
    {"CL_Comm_Ctcss_ToneBurst", Bit(93822, 3), Sel(kBurstType)},
    {"CL_Comm_Ctcss_ReverseBurst", Byte(93830), ByteRange(100, kOff)},
    {"CL_Comm_Ctcss_RxAfFilt", Bit(93822, 2), Sel(kRxAfSw)},
    {"CL_Comm_Ctcss_ChMuteCont", Bit(93900, 1), Sel(kChMuteCont)},
    {"CL_Comm_Ctcss_Backup", Bit(93825, 1), Sel(kOnOffInv)},
    {"CL_Comm_RS232C_SPPED", Bits(93820, 3, 0), Sel(kRs232cSpeed)},
    {"CL_Comm_RS232C_Mode", Bits(93820, 5, 4), Sel(kRs232cMode)},
    {"CL_Comm_Scrm_Type", Bit(kScrambler, kScramblerType), Sel(kScrmType), {}, Rebuild::OnChange},
    {"CL_Comm_Scrm_SyncCapture", Bits(kScrambler, 7, 6), Sel(kScrmSyncCapture),
     GreyWhileSet(kScrambler, kScramblerType)},
    {"CL_Comm_Scrm_GroupCode", Bits(kScrambler, 1, 0), Sel(kScrmGroupCode),
     GreyWhileSet(kScrambler, kScramblerType)},
    {"CL_Comm_Scrm_TStartTiming", Bits(kScrambler, 5, 4), Sel(kScrmToneStart),
     GreyWhileSet(kScrambler, kScramblerType)},
    {"CL_Comm_PwrSave_Timer1", Byte(93892), ByteRange(10, kNoOff)},
    {"CL_Comm_PwrSave_Timer2", Byte(93893), ByteRange(1, kNoOff)},
    {"CL_Comm_ManDown_ON", Bit(kManDown, kManDownOn), Sel(kOnOff), {}, Rebuild::OnChange},
    {"CL_Comm_ManDown_Timer", Byte(93894), ByteRange(10, kNoOff), GreyWhileClear(kManDown, kManDownOn)},
    {"CL_Comm_ManDown_TS1", Byte(99717), ByteRange(10, kNoOff), GreyWhileClear(kManDown, kManDownOn)},
    {"CL_Comm_ManDown_TS2", Byte(99718), ByteRange(10, kNoOff), GreyWhileClear(kManDown, kManDownOn)},
    {"CL_Comm_ManDown_TS3", Byte(99719), ByteRange(10, kNoOff), GreyWhileClear(kManDown, kManDownOn)},
    {"CL_Comm_ManDown_Sairen", Bit(93822, 7), Sel(kSiren), GreyWhileClear(kManDown, kManDownOn)},
    {"CL_Comm_ManDown_ReCycle", Byte(99715), form::Int16(1, 8), GreyWhileClear(kManDown, kManDownOn)},
    {"CL_Comm_LowBatt1_Periods", Byte(93913), ByteRange(1, kOff)},
    {"CL_Comm_LowBatt2_Periods", Byte(93914), ByteRange(1, kOff)},
    // These two switches take the set-mode access list's texts.
    {"CL_Comm_TRDataOut", Bit(93823, 2), Sel(kSetModeAccess)},
    {"CL_Comm_Tactical", Bit(93900, 6), Sel(kSetModeAccess)},
    {"CL_Comm_Wide", Bit(93825, 7), Sel(kWide)},
    {"CL_Comm_Sql_Tight_Ofs", Byte(93917), form::SelByte(kSqlLevel)},
    {"CL_Comm_AFON2_Always_ON", Bit(93912, 2), Sel(kEnable3)},
    {"CL_Comm_Demph_Setting", Bits(93912, 1, 0), Sel(kDemph)},
    {"CL_Comm_DTMFDec_InputSet", Bit(93821, 4), Sel(kDtmfDecInput)},
    {"CL_Comm_AutoTx_MicSel", Bit(93918, 2), Sel(kAutoTxMic)},
    // Tenths of a hertz.
    {"CL_Exp_UserCtcss", form::Word(95536), form::Scaled(1, 1, 60.0, 300.0, 1, false, false)},
    {"CL_Exp_Emer_SwOnTimer", Byte(93845), ByteRange(10, kNoOff)},
    {"CL_Exp_Emer_SwOffTimer", Byte(93846), ByteRange(10, kNoOff)},
    {"CL_Exp_Emer_StartRepeat", Byte(93847), ByteRange(1, kNoOff)},
    {"CL_Exp_DtcsInv_Tx", Bit(93821, 7), Sel(kDtcsInv)},
    {"CL_Exp_DtcsInv_Rx", Bit(93821, 6), Sel(kDtcsInv)},
    {"CL_Exp_RxExo_On", Bit(93827, 3), Sel(kOnOff)},
    {"CL_Exp_RxExo_Delay", Byte(93857), ByteRange(10, kOff)},
    {"CL_Exp_ExPttDelay", Byte(93858), ByteRange(10, kOff)},
    {"CL_Exp_ToneMuteExPtt", Bit(93827, 2), Sel(kOnOff)},
    {"CL_Exp_Ignition", Bit(82248, 4), Sel(kEnable)},
    {"CL_Exp_IgnitionTimer", Byte(93859), form::Time(0, 7200, 30)},
    {"CL_Exp_ClShift", Bits(93824, 1, 0), Sel(kClShift)},
    {"CL_Exp_BattTypeChange", Bit(93824, 3), Sel(kEnable3)},
    {"CL_Exp_BattChangeMode", Bit(93912, 7), Sel(kBattChangeType)},
};
// clang-format on

// ---- the user and dealer codes: six decimal digits, one a nibble ----

struct Code {
    const char* name;
    int32_t address; // three bytes, the first digit in the first byte's high nibble
};
constexpr int32_t kCodeDigits = 6;
constexpr Code kCodes[] = {
    {"CL_Comm_UserPassword", 93776},
    {"CL_Comm_DealerPasscode", 93779},
};

int32_t NibbleLow(int32_t i) {
    return i % 2 == 0 ? 4 : 0;
}

// A nibble above 9 shows as its letter; only decimal digits can be typed. The
// digits go back into their nibbles after every request, so a display writes
// the bytes as they were.
void PassCode(CellFrame& f) {
    const Code* code = form::Index<kCodes>().Find(f);
    if (!code) return;
    std::array<int32_t, kCodeDigits> digits{};
    for (int32_t i = 0; i < kCodeDigits; ++i)
        digits[static_cast<size_t>(i)] =
            static_cast<int32_t>(field::GetBits(f.image, code->address + i / 2, NibbleLow(i), 4));
    ConvHexStringCell(f.request, digits, kCodeDigits, false, f.result);
    for (int32_t i = 0; i < kCodeDigits; ++i)
        field::SetBits(f.image, code->address + i / 2, NibbleLow(i), 4,
                       static_cast<uint32_t>(digits[static_cast<size_t>(i)]));
}

// ---- the time-out timer's reset: 0 is "off" until a key is pressed on it ----

constexpr form::Row kTotReset = {"CL_Comm_Tot_Reset", Byte(93897),
                                 form::Scaled(0, 3, 0.0, 15.0, 1, true, false)};

void TotReset(CellFrame& f) {
    form::RunRow(f, kTotReset);
    if (f.Key() == 0 && f.value == 0)
        conv::Show(f.request, conv::FirstLine(f.request, ConvKeyText(ConvKey::TimerOff)));
}

// ---- beep frequencies: the word holds tenths of a hertz, the cell whole hertz ----

constexpr int32_t kTenths = 10;
constexpr form::Row kBeepRows[] = {
    {"CL_Exp_BeepFreq_Low", form::Word(93786), form::Int16(400, 3000)},
    {"CL_Exp_BeepFreq_High", form::Word(93788), form::Int16(400, 3000)},
};

void BeepFrequency(CellFrame& f) {
    const form::Row* row = form::Index<kBeepRows>().Find(f);
    if (!row) return;
    f.value = static_cast<int32_t>(form::Get(f.image, row->field, f.index).value_or(0) / kTenths);
    const int changed = form::RunConv(f, row->conv, f.value);
    if (changed) form::Set(f.image, row->field, f.index, int64_t(f.value) * kTenths);
    form::Finish(f, *row, changed);
}

} // namespace

void RegisterSettingsCells(CellCaseList& list) {
    form::RegisterRows<kRows>(list);
    form::Index<kCodes>().Register(list, PassCode);
    list.Add(kTotReset.name, TotReset);
    form::Index<kBeepRows>().Register(list, BeepFrequency);
}
