// The maker settings (CL_Maker_*): the radio's factory parameters in the
// first bytes of the image. Most are one field through one converter and
// given as rows of the table form; the squelch levels, the battery
// thresholds and their voltage bands act only in maker mode.
#include "cells/AppManager.h"
#include "cells/CellCases.h"
#include "cells/CellFields.h"
#include "cells/CellFrame.h"
#include "cells/ConvSupport.h"
#include "cells/FieldForm.h"
#include "cells/cloning/ToneScanMakerLists.h"
#include "image/cmcEeprom.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

using namespace tsmlist;
using form::Bit;
using form::Byte;
using form::ByteRange;
using form::Sel;

// Timers in milliseconds and in hundredths of a second.
constexpr form::Conv kMilli = ByteRange(1000, 0);
constexpr form::Conv kCenti = ByteRange(100, 0);
constexpr form::Conv kWholeByte = form::ByteInt(0, 255);

// clang-format off
constexpr form::Row kRows[] = {
    {"CL_Maker_SqlDelay_Op", Bit(11, 7), Sel(kOnOffInv)},
    {"CL_Maker_Dtcs_TxPolar", Bit(11, 6), Sel(kDtcsPolarity)},
    {"CL_Maker_Dtcs_RxPolar", Bit(11, 5), Sel(kDtcsPolarity)},
    {"CL_Maker_VcoOutput", Bit(11, 4), Sel(kHighLow)},
    {"CL_Maker_SetModeAccess", Bit(11, 3), Sel(kEnable)},
    {"CL_Maker_Pll_Type", form::Bits(11, 1, 0), Sel(kPllType)},
    {"CL_Maker_PdPol", Bit(12, 7), Sel(kPolarity)},
    {"CL_Maker_ClShift", Bit(12, 6), Sel(kOnOff)},
    {"CL_Maker_Digital_TxPolar", Bit(12, 4), Sel(kDtcsPolarity)},
    {"CL_Maker_Digital_RxPolar", Bit(12, 3), Sel(kDtcsPolarity)},
    {"CL_Maker_2ToneDecMethod", Bit(12, 1), Sel(kDecoderMethod)},
    {"CL_Maker_5ToneDecMethod", Bit(12, 0), Sel(kDecoderMethod)},
    {"CL_Maker_Sql_SigDetTimer", Byte(24), kMilli},
    {"CL_Maker_Sql_NoiseDetTimer", Byte(25), kMilli},
    {"CL_Maker_SqlDelay_ResetTimer", Byte(26), kMilli},
    {"CL_Maker_Pll_TxFastTimer", Byte(27), kMilli},
    {"CL_Maker_Pll_RxFastTimer", Byte(28), kMilli},
    {"CL_Maker_MuteTimer_Tx", Byte(29), kMilli},
    {"CL_Maker_MuteTimer_Rx", Byte(30), kMilli},
    {"CL_Maker_CtcssDec_Attack", Byte(32), kWholeByte},
    {"CL_Maker_CtcssDec_Release", Byte(33), kWholeByte},
    {"CL_Maker_CtcssDec_DelayTimer", Byte(34), kMilli},
    {"CL_Maker_PwrOffTimer", Byte(37), kCenti},
    {"CL_Maker_ON_Timer1", Byte(38), kCenti},
    {"CL_Maker_ON_Timer2", Byte(39), kCenti},
    {"CL_Maker_VcoControl", form::Word(40), form::Scaled(1, 4, 0.0, 799.9, 1, true, false)},
    {"CL_Maker_Pll_TxFastTimer2", Byte(42), kMilli},
    {"CL_Maker_Pll_RxFastTimer2", Byte(43), kMilli},
};
// clang-format on

bool MakerMode() {
    return gAppManager && gAppManager->IsMakerMode();
}

// ---- the DTCS decoder's setting: the byte counts from 11 ----

constexpr int32_t kDtcsDecode = 35;
constexpr int32_t kDtcsDecodeBase = 11;

void DtcsDecode(CellFrame& f) {
    field::ByteCell(f, kDtcsDecode, [&](int32_t& v, int32_t&) {
        int32_t shown = v + kDtcsDecodeBase;
        if (!form::RunConv(f, form::Int16(12, 23), shown)) return 0;
        v = shown - kDtcsDecodeBase;
        return 1;
    });
}

// ---- frequencies in hertz, signed, in steps of 25 kHz ----

struct Frequency {
    const char* name;
    int32_t address; // big-endian, four bytes
    form::Conv conv;
};

constexpr Frequency kFrequencies[] = {
    {"CL_Maker_IfFreq", 16, form::Scaled(6, 4, -99.975, 99.975, 25000, false, false)},
    {"CL_Maker_Pll_Reference", 20, form::Scaled(6, 4, 0.0, 99.975, 25000, false, false)},
};

void FrequencyCell(CellFrame& f) {
    const Frequency* q = form::Index<kFrequencies>().Find(f);
    if (!q) return;
    f.value = static_cast<int32_t>(field::GetLong(f.image, q->address));
    if (form::RunConv(f, q->conv, f.value))
        field::SetLong(f.image, q->address, static_cast<uint32_t>(f.value));
}

// ---- maker mode only ----

// clang-format off
constexpr form::Row kSquelchLevels[] = {
    {"CL_Maker_Sql_Level_A", Byte(73), kWholeByte},
    {"CL_Maker_Sql_Level_B", Byte(74), kWholeByte},
    {"CL_Maker_Sql_Level_C", Byte(75), kWholeByte},
    {"CL_Maker_Sql_Level_D", Byte(76), kWholeByte},
    {"CL_Maker_Sql_Level_E", Byte(77), kWholeByte},
    {"CL_Maker_Sql_Level_F", Byte(78), kWholeByte},
    {"CL_Maker_Sql_Level_G", Byte(79), kWholeByte},
};
// clang-format on

void SquelchLevel(CellFrame& f) {
    if (!MakerMode()) return;
    form::RowCase<kSquelchLevels>(f);
}

// The battery thresholds of three bands (normal, low, dry), a byte each. A
// threshold lies within bounds its neighbours set, so that the band's
// thresholds keep their order and their gaps; a bound is a neighbour's byte
// plus an offset, or a fixed value.
constexpr int32_t kFixed = -1;

struct Bound {
    int32_t address; // kFixed: the offset alone
    int32_t offset;
};

struct Threshold {
    const char* name;
    int32_t address;
    Bound low;
    Bound high;
};

// clang-format off
constexpr Threshold kThresholds[] = {
    {"CL_Maker_Liion_Normal_Low1", 64, {65, 7}, {kFixed, 245}},
    {"CL_Maker_Liion_Normal_Low2", 65, {66, 1}, {64, -7}},
    {"CL_Maker_Liion_Normal_Low3", 66, {kFixed, 0}, {65, -1}},
    {"CL_Maker_Liion_Low_Low1", 67, {68, 25}, {kFixed, 241}},
    {"CL_Maker_Liion_Low_Low2", 68, {69, 1}, {67, -25}},
    {"CL_Maker_Liion_Low_Low3", 69, {kFixed, 0}, {68, -1}},
    {"CL_Maker_Liion_Dry_Low1", 70, {71, 7}, {kFixed, 245}},
    {"CL_Maker_Liion_Dry_Low2", 71, {kFixed, 0}, {70, -7}},
};
// clang-format on

int32_t ValueOf(const cmcEeprom& image, Bound b) {
    return (b.address == kFixed ? 0 : image.GetByte(b.address)) + b.offset;
}

// A bound held to what a byte can hold.
int32_t BoundOf(const cmcEeprom& image, Bound b) {
    return std::clamp(ValueOf(image, b), 0, 255);
}

// Bounds that cross (an erased or inconsistent image) leave no value to
// choose: the cell shows its byte and takes no input.
void ThresholdCell(CellFrame& f) {
    const Threshold* t = form::Index<kThresholds>().Find(f);
    if (!t || !MakerMode()) return;
    const int32_t low = BoundOf(f.image, t->low);
    const int32_t high = BoundOf(f.image, t->high);
    if (low > high) {
        f.Show(std::to_string(f.image.GetByte(t->address)));
        return;
    }
    form::RunRow(f,
                 form::Row{t->name, Byte(t->address), form::ByteInt(low, high), {}, form::Rebuild::OnChange});
}

// The voltage bands the thresholds make: a byte b stands for b * 10 / 255 volts.
struct Band {
    const char* name;
    Bound top;
    Bound bottom;
};

// The top of every band of normal charge.
constexpr Bound kFull = {kFixed, 251};
constexpr Bound kEmpty = {kFixed, 0};

// clang-format off
constexpr Band kBands[] = {
    {"CL_Maker_Liion_Normal_DispNormal", kFull, {64, 1}},
    {"CL_Maker_Liion_Normal_DispLow1", {64, 4}, {65, 1}},
    {"CL_Maker_Liion_Normal_DispLow2", {65, 5}, {66, 1}},
    {"CL_Maker_Liion_Normal_DispLow3", {66, 0}, kEmpty},
    {"CL_Maker_Liion_Low_DispNormal", kFull, {67, 1}},
    {"CL_Maker_Liion_Low_DispLow1", {67, 7}, {68, 1}},
    {"CL_Maker_Liion_Low_DispLow2", {68, 23}, {69, 1}},
    {"CL_Maker_Liion_Low_DispLow3", {69, 0}, kEmpty},
    {"CL_Maker_Liion_Dry_DispNormal", kFull, {70, 1}},
    {"CL_Maker_Liion_Dry_DispLow1", {70, 5}, {71, 1}},
    {"CL_Maker_Liion_Dry_DispLow2", {71, 5}, kEmpty},
};
// clang-format on

double Volts(const cmcEeprom& image, Bound b) {
    return ValueOf(image, b) * 10.0 / 255.0;
}

void BandCell(CellFrame& f) {
    const Band* band = form::Index<kBands>().Find(f);
    if (!band || !MakerMode()) return;
    f.Show(conv::Format("[%3.2fV] - [%3.2fV]", Volts(f.image, band->top), Volts(f.image, band->bottom)));
}

} // namespace

void RegisterMakerCells(CellCaseList& list) {
    form::RegisterRows<kRows>(list);
    list.Add("CL_Maker_Dtcs_Decode", DtcsDecode);
    form::Index<kFrequencies>().Register(list, FrequencyCell);
    form::Index<kSquelchLevels>().Register(list, SquelchLevel);
    form::Index<kThresholds>().Register(list, ThresholdCell);
    form::Index<kBands>().Register(list, BandCell);
}
