// The cells of tone-sequence signalling: the two-tone decode codes and their
// transmit frequencies (CL_2T_*, CL_2TTx_*), the five-tone receive codes
// (CL_5TRx_*) and the five-tone transmit codes (CL_5TTx_*), each a field of
// its code's row record; and the timers and options the decoders share, fixed
// fields of the image given as rows of the table form.
//
// The radio lays the two-tone codes over other tables: their frequency words
// and names lie on five-tone transmit codes and entries, their decode windows
// and periods on the user tones. Editing one changes the other.
#include "cells/CellCases.h"
#include "cells/CellFields.h"
#include "cells/CellFrame.h"
#include "cells/CodeConv.h"
#include "cells/FieldForm.h"
#include "cells/RecordForm.h"
#include "cells/TextCell.h"
#include "cells/cloning/DecodeCells.h"
#include "cells/cloning/ToneScanMakerLists.h"

#include <algorithm>
#include <cstdint>

namespace {

using namespace tsmlist;
using form::Bit;
using form::Byte;
using form::ByteRange;
using form::Sel;
using recform::Field;
using recform::Heading;
using recform::Whole;

constexpr recform::Kinds kTwoTone{recform::kTwoTone};
constexpr recform::Kinds kFiveToneRx{recform::kFiveToneRx};
constexpr recform::Kinds kFiveToneTx{recform::kFiveToneTx};

// Tenths of a hertz.
constexpr form::Conv kFrequency = form::Scaled(1, 1, 250.0, 3300.0, 1, true, false);
// Tenths of a second, the record holding a whole number of them.
constexpr form::Conv kPeriod = form::Range(10, 0, 255, 0, 2);
// A decoder takes its two-tone frequencies within 2 % either way, into words.
constexpr int32_t kTwoToneSpread = 2;
constexpr int32_t kWordMax = 0xFFFF;
constexpr int32_t kCodeDigits = 7;

// ---- two-tone codes ----

// A new receive frequency moves the decoder's window with it.
int ReceiveFrequency(CellFrame& f, double& frequency, int32_t& low, int32_t& high) {
    f.value = static_cast<int32_t>(frequency);
    if (!form::RunConv(f, kFrequency, f.value)) return 0;
    const decode::Window window = decode::WindowAround(f.value, kTwoToneSpread, 0, kWordMax);
    low = window.low;
    high = window.high;
    frequency = f.value;
    return 1;
}

int ReceiveFirst(CellFrame& f) {
    return ReceiveFrequency(f, f.row.ttTx1Freq, f.row.ttRx1A, f.row.ttRx1B);
}

int ReceiveSecond(CellFrame& f) {
    return ReceiveFrequency(f, f.row.ttTx2Freq, f.row.ttRx2A, f.row.ttRx2B);
}

// The record takes a code's transmit name from the first bytes of its text
// whenever it is stored: a typed name goes there, the rest of the text stays.
int TransmitName(CellFrame& f) {
    datCh& r = f.row;
    if (!EditTextCell(f.request, r.name.data(), static_cast<int32_t>(r.name.size()), false, f.result))
        return 0;
    std::copy(r.name.begin(), r.name.end(), r.text24.begin());
    return 1;
}

// A code of one tone has no second frequency to send.
bool HasSecondTone(const CellFrame& f) {
    return f.row.ttCodeType;
}
constexpr const char* kNoSecondTone = "----  ";

// clang-format off
constexpr recform::Row kTwoToneRows[] = {
    Whole("CL_2T_RxFreq_1st", kTwoTone, ReceiveFirst, Heading::Dashed),
    Whole("CL_2T_RxFreq_2nd", kTwoTone, ReceiveSecond, Heading::Dashed),
    // Row 0, the group call, has no frequencies, periods or name.
    Field("CL_2TTx_Freq_1st", kTwoTone, &datCh::ttTx1Freq, kFrequency, Heading::Dashed),
    recform::Only(Field("CL_2TTx_Freq_2nd", kTwoTone, &datCh::ttTx2Freq, kFrequency, Heading::Dashed),
                  HasSecondTone, kNoSecondTone),
    Field("CL_2T_1st_Period", kTwoTone, &datCh::ttPeriod1, kPeriod, Heading::Dashed),
    Field("CL_2T_2nd_Period", kTwoTone, &datCh::ttPeriod2, kPeriod, Heading::Dashed),
    Whole("CL_2T_TxText", kTwoTone, TransmitName, Heading::Dashed),
    Field("CL_2T_GroupCall", kTwoTone, &datCh::ttGroupCall, Sel(kGroupCall), Heading::Dashed),
    Field("CL_2T_Code_Type", kTwoTone, &datCh::ttCodeType, Sel(kCodeType), Heading::Dashed),
    Field("CL_2T_AutoTx", kTwoTone, &datCh::ttAutoTx, Sel(kOnOff2), Heading::Dashed),
    Field("CL_2T_Text", kTwoTone, &datCh::text24, form::EditText(24)),
    Field("CL_2T_Bell", kTwoTone, &datCh::ttBell, Sel(kRxBell)),
    Field("CL_2T_ANS", kTwoTone, &datCh::ttAns, Sel(kOnOff2)),
    Field("CL_2T_EXO", kTwoTone, &datCh::ttExo, Sel(kOnOff2)),
    Field("CL_2T_Beep", kTwoTone, &datCh::ttBeep, Sel(kRxBeep)),
    Field("CL_2T_Stun", kTwoTone, &datCh::ttStun, Sel(kRxStun)),
    Field("CL_2T_Scan", kTwoTone, &datCh::ttScan, Sel(kRxScan)),
    Field("CL_2T_Sfunc", kTwoTone, &datCh::ttSfunc, Sel(kOnOff2)),
};
// clang-format on

// ---- five-tone codes ----

int ReceiveCode(CellFrame& f) {
    return ConvToneCodeCell(f.request, f.row, kCodeDigits, true, f.result);
}

int TransmitCode(CellFrame& f) {
    return ConvToneCodeCell(f.request, f.row, kCodeDigits, false, f.result);
}

// The digits 1..7 as the bits 7..1 of a byte.
constexpr form::Conv kDigits = form::DigitSet(1, 7, 0);

// clang-format off
constexpr recform::Row kFiveToneCodeRows[] = {
    Whole("CL_5TRx_RxCode", kFiveToneRx, ReceiveCode, Heading::Dashed),
    Field("CL_5TRx_Text", kFiveToneRx, &datCh::text24, form::EditText(24)),
    Whole("CL_5TTx_TxCode", kFiveToneTx, TransmitCode),
    Field("CL_5TTx_InputDigit", kFiveToneTx, &datCh::inputDigit, kDigits),
    Field("CL_5TTx_Text", kFiveToneTx, &datCh::name, form::EditText(12)),
    Field("CL_5TTx_Update", kFiveToneTx, &datCh::update, Sel(kOnOff2)),
    Field("CL_5TTx_AbcDec", kFiveToneTx, &datCh::abcDec, Sel(kOnOff2)),
    Field("CL_5TTx_AbcAud", kFiveToneTx, &datCh::abcAud, Sel(kOnOff2)),
    Field("CL_5TTx_Sel", kFiveToneTx, &datCh::sel, Sel(kOnOff2)),
};
// clang-format on

// ---- timers and options of the decoders and encoders ----

// The two-tone and the five-tone decoder share these timers.
constexpr int32_t kExoTimer = 93856;
constexpr int32_t kBeepRepeatTimer = 93851;
constexpr int32_t kAutoTxTimer = 93855;
// User tone 0's no-tone timer.
constexpr int32_t kNoToneTimer = 95513;

constexpr form::Conv kSeconds = ByteRange(1, 0);
constexpr form::Conv kTenths = ByteRange(10, 0);
constexpr form::Conv kHundredths = ByteRange(100, 0);
constexpr form::Conv kBeepRepeat = form::Scaled(0, 3, 0.0, 60.0, 1, true, false);

// clang-format off
constexpr form::Row kTimerRows[] = {
    {"CL_2T_NotoneTimer", Byte(kNoToneTimer), form::Scaled(2, 3, 0.02, 0.3, 2, true, false)},
    {"CL_2T_GroupTimer", Byte(93840), kTenths},
    {"CL_2T_ExoTimer", Byte(kExoTimer), kSeconds},
    {"CL_2T_BeepRepeatTimer", Byte(kBeepRepeatTimer), kBeepRepeat},
    {"CL_2T_AutoTxTimer", Byte(kAutoTxTimer), kSeconds},
    {"CL_5TRx_LinkATimer", Byte(93834), kHundredths},
    // The whole byte is the set of digits.
    {"CL_5TRx_CompareDigit", Byte(93816), kDigits},
    {"CL_5TRx_IdDecodeTimer", Byte(93843), kTenths},
    {"CL_5TRx_ExoTimer", Byte(kExoTimer), kSeconds},
    {"CL_5TRx_BeepRepeatTimer", Byte(kBeepRepeatTimer), kBeepRepeat},
    {"CL_5TRx_AutoTxTimer", Byte(kAutoTxTimer), kSeconds},
    {"CL_5TRx_CompareTone", Bit(93900, 0), Sel(kOnOff)},
    {"CL_5TTx_LongToneTimer", Byte(93835), kHundredths},
    {"CL_5TTx_LinkRTimer", Byte(93831), kHundredths},
    {"CL_5TTx_Link1Timer", Byte(93832), kHundredths},
    {"CL_5TTx_Link2Timer", Byte(93833), kHundredths},
    {"CL_5TTx_LeadOutDelayTimer", Byte(93836), kHundredths},
    {"CL_5TTx_AbcDecTimer", Byte(93844), kTenths},
    {"CL_5TTx_DispDigit", Byte(93815), kDigits},
    {"CL_5TTx_PTTCallIna", Bit(93823, 6), Sel(kOnOff)},
};
// clang-format on

// ---- the special tones: one digit a byte ----

struct SpecialTone {
    const char* name;
    int32_t address;
    bool allowF;
};

// The group tone is the digit that the five-tone codes show as '*'.
constexpr SpecialTone kSpecialTones[] = {
    {"CL_5TTx_SpTone_Group", 93817, false},
    {"CL_5TTx_SpTone_Repeat", 93818, false},
    {"CL_5TTx_SpTone_Link2", 93819, true},
};

void SpecialToneCell(CellFrame& f) {
    const SpecialTone* tone = form::Index<kSpecialTones>().Find(f);
    if (!tone) return;
    field::ByteCell(f, tone->address, [&](int32_t& v, int32_t& out) {
        return ConvSingleDigitCell(f.request, v, tone->allowF, out);
    });
}

} // namespace

void RegisterToneSequenceCells(CellCaseList& list) {
    form::RegisterRows<kTwoToneRows>(list);
    form::RegisterRows<kFiveToneCodeRows>(list);
    form::RegisterRows<decode::kFiveToneRows>(list);
    form::RegisterRows<kTimerRows>(list);
    form::Index<kSpecialTones>().Register(list, SpecialToneCell);
}
