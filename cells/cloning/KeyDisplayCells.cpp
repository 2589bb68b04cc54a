// The programmable keys, the display options and the set-mode values (cells
// CL_KDisp_*, CL_SetM_*) and the switches that let the user change each
// set-mode value on the radio (CL_USetM_*): fixed fields of the working image,
// given as rows of the table form; the substituted fields, the opening beep,
// the bit-error display and the user switches are small functions below it.
#include "cells/CellCases.h"
#include "cells/CellFields.h"
#include "cells/CellFrame.h"
#include "cells/ConvSupport.h"
#include "cells/FieldForm.h"
#include "cells/ListConv.h"
#include "cells/TextConv.h"
#include "cells/cloning/SettingsLists.h"
#include "image/cmcEeprom.h"

#include <array>

namespace {

using namespace setlist;
using form::Bit;
using form::Bits;
using form::Byte;
using form::Piece;
using form::Rebuild;
using form::Sel;

// The radio's opening text: 24 blank-padded bytes.
constexpr int32_t kOpeningText = 98942;
constexpr int32_t kOpeningTextBytes = 24;

// The power switch and the backlight offer what the model's front panel has.
const char* PowerSwitchList(const CellFrame& f) {
    return f.model.mobile ? kPowerSwitch : kPowerSwitchHandy;
}
const char* BacklightList(const CellFrame& f) {
    return f.model.mobile ? kBacklightMobile : kBacklightHandy;
}

constexpr form::Field kPowerSwitchField = form::Split(Piece{1, 93900, 7}, Piece{0, 93824, 4});
constexpr form::Field kBacklightField = Bits(82232, 7, 4);

// clang-format off
constexpr form::Row kRows[] = {
    // The key bytes hold the character code of the key's function.
    {"CL_KDisp_Key_Conv_RightUp", Byte(93860), form::ModelKeys()},
    {"CL_KDisp_Key_Conv_RightDn", Byte(93861), form::ModelKeys()},
    {"CL_KDisp_Key_Conv_DialCw", Byte(93870), form::Dials()},
    {"CL_KDisp_Key_Conv_P0", Byte(93862), form::ModelKeys()},
    {"CL_KDisp_Key_Conv_P1", Byte(93863), form::ModelKeys()},
    {"CL_KDisp_Key_Conv_P2", Byte(93864), form::ModelKeys()},
    {"CL_KDisp_Key_Conv_P3", Byte(93865), form::ModelKeys()},
    {"CL_KDisp_Key_Conv_P4", Byte(93866), form::ModelKeys()},
    {"CL_KDisp_Key_Conv_Opf0", Byte(93867), form::ModelKeys()},
    {"CL_KDisp_Key_Conv_Opf1", Byte(93868), form::ModelKeys()},
    {"CL_KDisp_Key_Conv_Opf2", Byte(93869), form::ModelKeys()},
    // The same keys' functions in SmarTrunk operation.
    {"CL_KDisp_Key_SmTr_RightUp", Byte(93876), form::SelByte(kKeySmTr)},
    {"CL_KDisp_Key_SmTr_RightDn", Byte(93877), form::SelByte(kKeySmTr)},
    {"CL_KDisp_Key_SmTr_DialCw", Byte(93886), form::SelByte(kDialSmTr)},
    {"CL_KDisp_Key_SmTr_P0", Byte(93878), form::SelByte(kKeySmTr)},
    {"CL_KDisp_Key_SmTr_P1", Byte(93879), form::SelByte(kKeySmTr)},
    {"CL_KDisp_Key_SmTr_P2", Byte(93880), form::SelByte(kKeySmTr)},
    {"CL_KDisp_Key_SmTr_P3", Byte(93881), form::SelByte(kKeySmTr)},
    {"CL_KDisp_Key_SmTr_P4", Byte(93882), form::SelByte(kKeySmTr)},
    {"CL_KDisp_Key_SmTr_Opf0", Byte(93883), form::SelByte(kKeySmTr)},
    {"CL_KDisp_Key_SmTr_Opf1", Byte(93884), form::SelByte(kKeySmTr)},
    {"CL_KDisp_Key_SmTr_Opf2", Byte(93885), form::SelByte(kKeySmTr)},

    {"CL_KDisp_Tenkey_Select", Bit(93822, 4), Sel(kTenkey)},
    {"CL_KDisp_HangAct_Moni", Bit(93827, 7), Sel(kOnOff)},
    {"CL_KDisp_HangAct_Scan", Bit(93827, 5), Sel(kOnOff)},
    {"CL_KDisp_HangAct_PrioA", Bit(93827, 6), Sel(kEnable3)},
    {"CL_KDisp_HangAct_ScanSuspend", form::Split(Piece{2, 93918, 3}, Piece{1, 93918, 4}, Piece{0, 93827, 4}),
     Sel(kHookOffSuspend)},
    {"CL_KDisp_AmpOnOff", Bit(93825, 0), Sel(kOnOffInv)},
    {"CL_KDisp_OpeningText", form::Bytes(kOpeningText, kOpeningTextBytes), form::EditText(kOpeningTextBytes),
     {}, Rebuild::Always},
    // Twice the two-bit field: the list's values are 0, 2, 4 and 6.
    {"CL_KDisp_RotarySel", form::Split(Piece{2, 93825, 4}, Piece{1, 93825, 3}), Sel(kRotary)},
    {"CL_KDisp_ScrollTimer", Byte(99736), form::ByteRange(10, 1)},
    {"CL_KDisp_DispLines", Bit(93824, 2), Sel(kLines), {}, Rebuild::Always},
    {"CL_KDisp_ErrChDisplay", Bit(93912, 3), Sel(kOnOff)},
    {"CL_KDisp_RfPoSel", Bit(93825, 2), Sel(kRfPwr)},
    {"CL_KDisp_MrCode", Bits(93821, 1, 0), Sel(kMrCode)},
    {"CL_KDisp_PwrSW", kPowerSwitchField, Sel(PowerSwitchList)},
    {"CL_KDisp_PwrSW_HH", kPowerSwitchField, Sel(PowerSwitchList)},
    {"CL_KDisp_PrioA_SwOn", Bit(93823, 1), Sel(kEnable3)},
    {"CL_KDisp_PrioA_AutoReset", Bit(93912, 4), Sel(kEnable3)},
    {"CL_KDisp_PrioA_ClearDown", Bit(93824, 7), Sel(kEnable3)},

    {"CL_SetM_Backlight", kBacklightField, Sel(BacklightList)},
    {"CL_SetM_Backlight_HH", kBacklightField, Sel(BacklightList)},
    {"CL_SetM_LcdContrast", Byte(82225), form::Int16(0, 127)},
    {"CL_SetM_BeepOn", Bit(82226, 7), Sel(kOnOff)},
    {"CL_SetM_SqlLev", Byte(82224), form::SelByte(kSqlLevel)},
    {"CL_SetM_AFMinLev", Byte(82228), form::ByteInt(0, 255)},
    {"CL_SetM_MicGain", Byte(82229), form::SelByte(kMicGain)},
    {"CL_SetM_VoxGain", Bits(82230, 3, 0), Sel(kVoxGain)},
    {"CL_SetM_VoxDelay", Bits(82230, 7, 4), Sel(kVoxDelay)},
    {"CL_SetM_HornOut", Bit(82232, 3), Sel(kOnOffInv)},
    {"CL_SetM_BATVDisp", Bit(82232, 2), Sel(kOnOff)},
    {"CL_SetM_SigMoni", Bit(82232, 1), Sel(kOnOffInv)},
};
// clang-format on

// ---- the opening beep: grey while there is no opening text to go with it ----

constexpr form::Row kOpeningBeepRow = {"CL_KDisp_OpeningBeep", Bits(93820, 7, 6), Sel(kOpeningBeep)};

void OpeningBeep(CellFrame& f) {
    form::RunRow(f, kOpeningBeepRow);
    std::array<uint8_t, kOpeningTextBytes> text{};
    for (int32_t i = 0; i < kOpeningTextBytes; ++i)
        text[static_cast<size_t>(i)] = f.image.GetByte(kOpeningText + i);
    if (IsAllBlank(text.data(), kOpeningTextBytes)) f.Grey();
}

// ---- the battery's power: a stored 0 stands for the lowest item ----

constexpr form::Row kBattRfPwrRow = {"CL_KDisp_RfPoBatt", Bits(93900, 3, 2), Sel(kBattRfPwr)};

// The lowest item is written only when the user chooses a value.
void BatteryPower(CellFrame& f) {
    const int64_t stored = form::Get(f.image, kBattRfPwrRow.field, f.index).value_or(0);
    f.value = stored == 0 ? kBattRfPwrFirst : static_cast<int32_t>(stored);
    const int changed = form::RunConv(f, kBattRfPwrRow.conv, f.value);
    if (changed) form::Set(f.image, kBattRfPwrRow.field, f.index, f.value);
    form::Finish(f, kBattRfPwrRow, changed);
}

// ---- beep and ringer levels: bits 3-0 the level, bit 6 its link ----

constexpr int32_t kLevelMask = 0x0F;
constexpr int32_t kLinkBit = 6;
constexpr form::Row kLevelRows[] = {
    {"CL_SetM_BeepLev", Byte(82226), Sel(kBeepLevel)},
    {"CL_SetM_RingerLev", Byte(82227), Sel(kBeepLevel)},
};

// The list numbers a linked level kBeepLinked above the plain one; the byte's
// other bits (the beep switch among them) stay.
void Level(CellFrame& f) {
    const form::Row* row = form::Index<kLevelRows>().Find(f);
    if (!row) return;
    const int32_t address = row->field.address;
    f.value = static_cast<int32_t>(field::GetBits(f.image, address, 0, 4)) +
              kBeepLinked * (field::GetFlag(f.image, address, kLinkBit) ? 1 : 0);
    const int changed = form::RunConv(f, row->conv, f.value);
    if (changed) {
        field::SetFlag(f.image, address, kLinkBit, (f.value / kBeepLinked & 1) != 0);
        field::SetBits(f.image, address, 0, 4, static_cast<uint32_t>(f.value % kBeepLinked & kLevelMask));
    }
    form::Finish(f, *row, changed);
}

// ---- the bit-error display has no setting of its own ----

void BitErrorDisplay(CellFrame& f) {
    f.Show("----");
}

// ---- which set-mode values the user may change on the radio ----

// The switches are bits of a 16-bit map, counted from the most significant
// bit of its first byte.
constexpr int32_t kUserSetMap = 93792;
constexpr int32_t kUserSetMapBytes = 2;

struct UserSwitch {
    const char* name;
    int32_t bit;
};

constexpr UserSwitch kUserSwitches[] = {
    {"CL_USetM_Backlight", 0}, {"CL_USetM_LcdContrast", 1}, {"CL_USetM_BeepOn", 2},
    {"CL_USetM_BeepLev", 3},   {"CL_USetM_RingerLev", 4},   {"CL_USetM_SqlLev", 5},
    {"CL_USetM_AfMinLev", 6},  {"CL_USetM_MicGain", 7},     {"CL_USetM_VoxGain", 8},
    {"CL_USetM_VoxDelay", 9},  {"CL_USetM_HornOut", 10},    {"CL_USetM_BATVDisp", 11},
    {"CL_USetM_BERDisp", 12},  {"CL_USetM_SigMoni", 13},
};

void UserSetEnable(CellFrame& f) {
    const UserSwitch* s = form::Index<kUserSwitches>().Find(f);
    if (!s) return;
    std::array<uint8_t, kUserSetMapBytes> map{};
    for (int32_t i = 0; i < kUserSetMapBytes; ++i)
        map[static_cast<size_t>(i)] = f.image.GetByte(kUserSetMap + i);
    if (!ConvUserSetEnableCell(f.request, map.data(), kUserSetMapBytes, s->bit, f.result)) return;
    for (int32_t i = 0; i < kUserSetMapBytes; ++i)
        f.image.SetByte(kUserSetMap + i, map[static_cast<size_t>(i)]);
}

} // namespace

void RegisterKeyDisplayCells(CellCaseList& list) {
    form::RegisterRows<kRows>(list);
    list.Add(kOpeningBeepRow.name, OpeningBeep);
    list.Add(kBattRfPwrRow.name, BatteryPower);
    form::Index<kLevelRows>().Register(list, Level);
    list.Add("CL_SetM_BERDisp", BitErrorDisplay);
    form::Index<kUserSwitches>().Register(list, UserSetEnable);
}
