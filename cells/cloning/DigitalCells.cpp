// The cells of the digital system (CL_Digi_*): individual and talk-group IDs
// (record kinds 20 and 21), the unit ID, the trunking, GPS and configuration
// settings, the NAC channels (kind 22) and the status messages (kind 23).
// Fixed fields are rows of the table form, the lists' fields work on a row
// record; the two views of one value, the bounded pairs and the timers with
// a rule of their own are small functions.
#include "cells/CellCases.h"
#include "cells/CellFields.h"
#include "cells/CellFrame.h"
#include "cells/ConvSupport.h"
#include "cells/FieldForm.h"
#include "cells/NumberConv.h"
#include "cells/cloning/ChannelCells.h"
#include "cells/cloning/SignallingLists.h"
#include "image/cmcEeprom.h"
#include "image/datCh.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

using namespace siglist;
using form::Bit;
using form::Bits;
using form::Byte;
using form::Rebuild;
using form::Sel;

constexpr int32_t kIndividualOptions = 105656;
constexpr int32_t kTalkGroupOptions = 105657;
constexpr int32_t kGpsOptions = 105668;
// Bit 7: one unit ID for the radio (global), else one per channel.
constexpr int32_t kConfig = 105658;
constexpr int32_t kGlobalUnitId = 7;
constexpr int32_t kUnitId = 105628; // 32 bits
constexpr int32_t kEncryptionMin = 105632;
constexpr int32_t kEncryptionMax = 105636;

constexpr int32_t kOff = 1; // a timer's 0 shows the timer-off text
constexpr int32_t kNoOff = 0;
constexpr form::Conv kSeconds = form::Scaled(0, 3, 0.0, 60.0, 1, true, false);
// Twentieths of a second.
constexpr form::Conv Twentieths(int32_t maximum) {
    return form::Range(20, 0, maximum, kNoOff, 0);
}

// Settings that sit on sheets of records too and write the record back.
constexpr bool kStoresRecord = true;

// clang-format off
constexpr form::Row kRows[] = {
    {"CL_Digi_Ind_Op_Idmr", Bit(kIndividualOptions, 7), Sel(kOnOff)},
    {"CL_Digi_Ind_Op_Edit", Bit(kIndividualOptions, 6), Sel(kOnOff)},
    {"CL_Digi_Ind_Op_Disp_RecieveUId", Bit(kIndividualOptions, 5), Sel(kOnOffInv)},
    {"CL_Digi_Grp_Op_Hang", Byte(105640), form::ByteRange(10, kNoOff)},
    {"CL_Digi_Grp_Op_Disp_Mode", Bit(kTalkGroupOptions, 6), Sel(kOnOff)},
    {"CL_Digi_Grp_Op_Disp_Recieve", Bit(kTalkGroupOptions, 5), Sel(kOnOff)},
    {"CL_Digi_Grp_Op_Disp_RecieveUId", Bit(kTalkGroupOptions, 3), Sel(kOnOff)},
    {"CL_Digi_Grp_Op_Disp_Ptt", Bit(kTalkGroupOptions, 4), Sel(kOnOff)},
    {"CL_Digi_Trunk_SU_RAccess_Retry", Byte(105667), form::Int16(0, 255)},
    {"CL_Digi_Trunk_SU_ReceiveBeep", Bits(105663, 7, 4), Sel(kRxCBeep), {}, Rebuild::Never, kStoresRecord},
    {"CL_Digi_GPS_SendWithLogoff", Bit(kGpsOptions, 7), Sel(kOnOff)},
    {"CL_Digi_GPS_Sentence", Bits(kGpsOptions, 6, 5), Sel(kMskGpsSentence)},
    // The unit-ID cells follow the switch: every view is rebuilt.
    {"CL_Digi_Config_Grobal", Bit(kConfig, kGlobalUnitId), Sel(kDigGlobal), {}, Rebuild::Always, kStoresRecord},
    {"CL_Digi_Config_Unit_Dec", form::Long(kUnitId), form::Int16(1, form::kUnitIdMax),
     form::GreyWhileClear(kConfig, kGlobalUnitId), Rebuild::Always},
    {"CL_Digi_Config_Beep", Bits(kConfig, 3, 0), Sel(kRxCBeep), {}, Rebuild::Never, kStoresRecord},
    {"CL_Digi_Config_BeepG", Bits(105663, 3, 0), Sel(kRxCBeep), {}, Rebuild::Never, kStoresRecord},
    {"CL_Digi_Config_Emer_Tans", Byte(105642), kSeconds},
    {"CL_Digi_Config_SS_Wait", Byte(105643), form::ByteRange(100, kNoOff)},
    {"CL_Digi_Config_FSSP_Wait", Byte(105659), Twentieths(100)},
    {"CL_Digi_Config_T_ACK_Wait", Byte(105660), Twentieths(20)},
    {"CL_Digi_Config_T_LONG_Wait", Byte(105661), Twentieths(100)},
    {"CL_Digi_Config_T_SHORT_Wait", Byte(105662), Twentieths(10)},
    {"CL_Digi_Config_Emer_Text", form::Bytes(98966, 24), form::EditText(24)},
    {"CL_Digi_Config_Emer_Beep", Bits(93901, 3, 0), Sel(kRxCBeep), {}, Rebuild::Never, kStoresRecord},
    {"CL_Digi_Config_ID_Disp", Bit(93901, 4), Sel(kOnOff)},
    {"CL_Digi_Config_BeepRepeatTimer", Byte(105669), kSeconds},
};
// clang-format on

// ---- the unit ID's hexadecimal view: an edit is held to 1..U ----

constexpr form::Row kUnitIdHex = {"CL_Digi_Config_Unit_Hex", form::Long(kUnitId), form::HexNibbles(6, true),
                                  form::GreyWhileClear(kConfig, kGlobalUnitId), Rebuild::Always};

int32_t StoredLong(const CellFrame& f, int32_t address) {
    return static_cast<int32_t>(
        std::min<uint32_t>(field::GetLong(f.image, address), std::numeric_limits<int32_t>::max()));
}

void UnitIdHex(CellFrame& f) {
    f.value = StoredLong(f, kUnitId);
    const int changed = form::RunConv(f, kUnitIdHex.conv, f.value);
    if (changed) {
        f.value = std::clamp(f.value, 1, std::max(1, f.unitIdMax));
        field::SetLong(f.image, kUnitId, static_cast<uint32_t>(f.value));
        conv::Show(f.request, conv::Format("%06X", static_cast<unsigned>(f.value)));
    }
    form::Finish(f, kUnitIdHex, changed);
}

// ---- the encryption range: neither end can pass the other ----

void EncryptionMinimum(CellFrame& f) {
    form::RunRow(f, {"", form::Long(kEncryptionMin), form::Int16(0, StoredLong(f, kEncryptionMax))});
}

void EncryptionMaximum(CellFrame& f) {
    form::RunRow(f,
                 {"", form::Long(kEncryptionMax), form::Int16(StoredLong(f, kEncryptionMin), f.unitIdMax)});
}

// ---- the preamble: tens of the unit in a byte ----

constexpr int32_t kPreamble = 105641;
constexpr int32_t kPreambleUnit = 10;

void PreambleLength(CellFrame& f) {
    f.value = f.image.GetByte(kPreamble) * kPreambleUnit;
    if (ConvIntCell(f.request, f.value, 0, 255 * kPreambleUnit, 0, kPreambleUnit, nullptr, true, false,
                    f.result))
        f.image.SetByte(kPreamble, static_cast<uint8_t>(f.value / kPreambleUnit));
}

// ---- trunking timers: the radio takes no 0 ----

// clang-format off
constexpr form::Row kTrunkTimers[] = {
    {"CL_Digi_Trunk_SU_Busy_Wait", Byte(105664), form::ByteRange(1, kOff)},
    {"CL_Digi_Trunk_SU_Grp_Wait", Byte(105665), form::ByteRange(10, kOff)},
    {"CL_Digi_Trunk_SU_RAccess_Timer", Byte(105666), form::ByteRange(10, kOff)},
};
// clang-format on

// A stored 0 becomes 1 in the image before the timer is shown, on every
// request; so "off" or 0, which the list still offers, lasts until the
// cell's next request.
void TrunkTimer(CellFrame& f) {
    const form::Row* row = form::Index<kTrunkTimers>().Find(f);
    if (!row) return;
    if (f.image.GetByte(row->field.address) == 0) f.image.SetByte(row->field.address, 1);
    form::RunRow(f, *row);
}

// ---- the lists: IDs, talk groups and NAC channels load their own record ----

struct ListCell {
    const char* name;
    int32_t kind; // the record the cell loads for its index; 0: the frame's
    CellCase run;
};

// clang-format off
constexpr ListCell kListCells[] = {
    {"CL_Digi_Ind_Id_Hex", kindDigitalIndividual,
     [](CellFrame& f) { form::RunRowField(f, f.row.indId, form::HexValue(0, 0xFFFF, 4)); }},
    {"CL_Digi_Ind_Id_Dec", kindDigitalIndividual,
     [](CellFrame& f) { form::RunRowField(f, f.row.indId, form::Int16(0, 65535)); }},
    {"CL_Digi_Ind_Id_Name", kindDigitalIndividual, [](CellFrame& f) { form::RunRowText(f, f.row.name); }},
    {"CL_Digi_Grp_Id_Hex", kindDigitalGroup,
     [](CellFrame& f) { form::RunRowField(f, f.row.grpId, form::HexValue(0, 0xFFFF, 4)); }},
    {"CL_Digi_Grp_Id_Dec", kindDigitalGroup,
     [](CellFrame& f) { form::RunRowField(f, f.row.grpId, form::Int16(0, 65535)); }},
    {"CL_Digi_Grp_Id_Name", kindDigitalGroup, [](CellFrame& f) { form::RunRowText(f, f.row.name); }},
    {"CL_Digi_NacCh_RxNac", kindNac, [](CellFrame& f) { ReceiveNacCell(f, f.row.nacRx, f.row.nacTx); }},
    {"CL_Digi_NacCh_TxNac", kindNac, [](CellFrame& f) { TransmitNacCell(f, f.row.nacRx, f.row.nacTx); }},
    {"CL_Digi_NacCh_Sel", 0, [](CellFrame& f) { form::RunRowField(f, f.row.nacSel, Sel(kOnOff2Inv)); }},
    {"CL_Digi_Msg_Status_Beep", 0, [](CellFrame& f) { form::RunRowField(f, f.row.statusBeep, Sel(kRxCBeep)); }},
    {"CL_Digi_Msg_Status_Selection", 0,
     [](CellFrame& f) { form::RunRowField(f, f.row.statusSelection, Sel(kOnOff2)); }},
    {"CL_Digi_Msg_Status_Text_Rx", 0, [](CellFrame& f) { form::RunRowText(f, f.row.name); }},
    {"CL_Digi_Msg_Status_Text_Tx", 0, [](CellFrame& f) { form::RunRowText(f, f.row.name2); }},
    // A channel's setting, on the channel sheets: it means nothing to an analog row.
    {"CL_Digi_Grp_Op_Strapped", 0, [](CellFrame& f) {
         form::RunRowField(f, f.row.grpOpStrapped, Sel(kOnOff2));
         GreyInDigitalModes(f, {0});
     }},
};
// clang-format on

void ListField(CellFrame& f) {
    const ListCell* c = form::Index<kListCells>().Find(f);
    if (!c) return;
    if (c->kind != 0) f.LoadRow(c->kind, f.index);
    c->run(f);
}

} // namespace

void RegisterDigitalCells(CellCaseList& list) {
    form::RegisterRows<kRows>(list);
    list.Add(kUnitIdHex.name, UnitIdHex);
    list.Add("CL_Digi_Ind_Op_Enc_Min", EncryptionMinimum);
    list.Add("CL_Digi_Ind_Op_Enc_Max", EncryptionMaximum);
    list.Add("CL_Digi_Grp_Op_Pre_Len", PreambleLength);
    form::Index<kTrunkTimers>().Register(list, TrunkTimer);
    form::Index<kListCells>().Register(list, ListField);
}
