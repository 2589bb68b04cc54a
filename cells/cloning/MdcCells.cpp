// The cells of MDC signalling: five system records, each choosing one entry
// of every function table, the function tables of five entries each
// (general, PTT ID, emergency, selective call, call alert, radio check, stun,
// revive, status, message), the status and message texts (sixteen slots in
// each of five blocks), the aliases (record kind 26), a channel's MDC system
// and the check of the statuses. The tables lie past the radio's own memory;
// their fields are rows of the table form, one field per entry or slot, so a
// cell acts only for an index inside its table. Labels, the status numbers,
// the revive choice, the group ID, the external outputs and the check are
// small functions.
#include "cells/CellCases.h"
#include "cells/CellFrame.h"
#include "cells/CellIds.h"
#include "cells/ConvKeys.h"
#include "cells/FieldForm.h"
#include "cells/TextConv.h"
#include "cells/cloning/ChannelCells.h"
#include "cells/cloning/SignallingLists.h"

#include <array>
#include <cstdio>
#include <string>

namespace {

using namespace siglist;
using form::Sel;

// One of the function tables: entry n at base + stride * n.
struct Table {
    int32_t base;
    int32_t stride;

    constexpr form::Field Bits(int32_t byte, int32_t high, int32_t low) const {
        return form::PerEntry(form::Bits(base + byte, high, low), stride, kMdcEntries);
    }
    constexpr form::Field Bit(int32_t byte, int32_t bit) const { return Bits(byte, bit, bit); }
    constexpr form::Field Byte(int32_t byte) const { return Bits(byte, 7, 0); }
    constexpr form::Field Word(int32_t byte) const {
        return form::PerEntry(form::Word(base + byte), stride, kMdcEntries);
    }
};

constexpr Table kSystem{137478, 12};
constexpr Table kGeneral{137538, 20};
constexpr Table kPttId{137638, 6};
constexpr Table kEmergency{137668, 16};
constexpr Table kSelCall{137748, 4};
constexpr Table kCallAlert{137768, 10};
constexpr Table kRadioCheck{137818, 8};
constexpr Table kStun{137858, 8};
constexpr Table kRevive{137898, 8};
constexpr Table kStatus{137938, 10};
constexpr Table kMessage{137988, 10};

// The status and message texts: a block of sixteen 12-byte texts and their
// sixteen flag bytes for each system; the cell index is block * 16 + slot.
constexpr int32_t kSlots = 16;
constexpr int32_t kBlockBytes = 208;
constexpr int32_t kTextBytes = 12;
constexpr int32_t kAllSlots = kSlots * kMdcEntries;

struct SlotTable {
    int32_t texts;

    constexpr form::Field Text() const {
        return form::PerSlot(form::Bytes(texts, kTextBytes), kTextBytes, kSlots, kBlockBytes, kMdcEntries);
    }
    constexpr form::Field Flag(int32_t bit) const {
        return form::PerSlot(form::Bit(texts + kSlots * kTextBytes, bit), 1, kSlots, kBlockBytes,
                             kMdcEntries);
    }
};

constexpr SlotTable kStatusTexts{138068};
constexpr SlotTable kMessageTexts{139108};

// Times in thousandths of a second, big-endian words; they do not step.
constexpr form::Conv Seconds(double maximum, double minimum = 0.0) {
    return form::Scaled(3, 3, minimum, maximum, 1, false, false);
}
constexpr form::Conv kMinute = Seconds(60.0);

constexpr form::Conv kEnableSel = Sel(kEnable);

// A system's choice of a table entry; a typed number picks the entry.
constexpr form::Conv Choice(const char* list) {
    return form::SelList(list, listcell::Flex0, 0);
}

// clang-format off
constexpr form::Row kRows[] = {
    {"CL_Mdc_System_List_General", kSystem.Byte(0), Choice(kMdcSystemGeneral)},
    {"CL_Mdc_System_List_PttId", kSystem.Byte(1), Choice(kMdcSystemPttId)},
    {"CL_Mdc_System_List_Selcall", kSystem.Byte(2), Choice(kMdcSystemSelcall)},
    {"CL_Mdc_System_List_CallAlert", kSystem.Byte(3), Choice(kMdcSystemCallAlert)},
    {"CL_Mdc_System_List_RadioChk", kSystem.Byte(4), Choice(kMdcSystemRadioCheck)},
    {"CL_Mdc_System_List_Stun", kSystem.Byte(5), Choice(kMdcSystemStun)},
    {"CL_Mdc_System_List_Emg", kSystem.Byte(7), Choice(kMdcSystemEmergency)},
    {"CL_Mdc_System_List_Alias", kSystem.Byte(8), Choice(kMdcSystemAlias)},
    {"CL_Mdc_System_List_Status", kSystem.Byte(9), Choice(kMdcSystemStatus)},
    {"CL_Mdc_System_List_Message", kSystem.Byte(10), Choice(kMdcSystemMessage)},

    {"CL_Mdc_General_Mdc_On", kGeneral.Bit(0, 7), Sel(kOnOff)},
    {"CL_Mdc_General_Mute_MSK", kGeneral.Bit(0, 6), kEnableSel},
    {"CL_Mdc_General_Tones_Req", kGeneral.Bit(0, 5), kEnableSel},
    {"CL_Mdc_General_Mute_Type", kGeneral.Bits(0, 3, 0), Sel(kMdcMuteType)},
    {"CL_Mdc_General_Self_Id", kGeneral.Word(1), form::HexNibbles(4, true)},
    {"CL_Mdc_General_Initial_Tx_Delay", kGeneral.Word(5), Seconds(10.0)},
    {"CL_Mdc_General_Tx_Sync_Retry", kGeneral.Byte(7), form::Int16(0, 255)},
    {"CL_Mdc_General_Rx_Sync_Threshold", kGeneral.Byte(8), form::Int16(29, 40)},
    {"CL_Mdc_General_Menu_Timeout", kGeneral.Word(9), Seconds(30.0, 1.0)},
    {"CL_Mdc_General_10key_Timeout", kGeneral.Word(11), Seconds(10.0, 0.5)},
    {"CL_Mdc_General_DOS_Time", kGeneral.Word(13), Seconds(4.5)},
    {"CL_Mdc_General_Coast_Time", kGeneral.Word(15), Seconds(0.5)},
    {"CL_Mdc_General_Auto_Reset", kGeneral.Word(17), kMinute},
    {"CL_Mdc_General_Log_Enabled", kGeneral.Bit(19, 7), kEnableSel},
    {"CL_Mdc_General_Log_Action_Type", kGeneral.Bits(19, 3, 0), Sel(kMdcLogAction)},

    {"CL_Mdc_PttId_Tx", kPttId.Bit(0, 7), kEnableSel},
    {"CL_Mdc_PttId_Rx", kPttId.Bit(0, 6), kEnableSel},
    {"CL_Mdc_PttId_Pttid_Dwn", kPttId.Bit(0, 5), kEnableSel},
    {"CL_Mdc_PttId_Pttid_Up", kPttId.Bit(0, 4), kEnableSel},
    {"CL_Mdc_PttId_Rt_Beep", kPttId.Bit(0, 3), kEnableSel},
    {"CL_Mdc_PttId_Cu_Beep", kPttId.Bit(0, 2), kEnableSel},
    {"CL_Mdc_PttId_Pre_Time", kPttId.Word(2), kMinute},
    {"CL_Mdc_PttId_Post_Time", kPttId.Word(4), kMinute},

    {"CL_Mdc_Emg_Rx", kEmergency.Bit(0, 7), kEnableSel},
    {"CL_Mdc_Emg_Tx", kEmergency.Bit(0, 6), kEnableSel},
    {"CL_Mdc_Emg_No_Disp", kEmergency.Bit(0, 5), kEnableSel},
    {"CL_Mdc_Emg_No_Polite", kEmergency.Bits(1, 7, 4), form::ByteInt(0, 15)},
    {"CL_Mdc_Emg_No_Impolite", kEmergency.Bits(1, 3, 0), form::ByteInt(0, 15)},
    {"CL_Mdc_Emg_Ignore_Other", kEmergency.Bit(2, 7), kEnableSel},
    {"CL_Mdc_Emg_Rx_Log", kEmergency.Bit(2, 6), kEnableSel},
    {"CL_Mdc_Emg_Rx_Send_Ack", kEmergency.Bit(2, 4), kEnableSel},
    {"CL_Mdc_Emg_Ack_Delay", kEmergency.Word(4), kMinute},
    {"CL_Mdc_Emg_Disp_Time", kEmergency.Word(6), kMinute},
    {"CL_Mdc_Emg_Free_Wait", kEmergency.Word(8), kMinute},
    {"CL_Mdc_Emg_Ack_Wait", kEmergency.Word(10), kMinute},
    {"CL_Mdc_Emg_Cycle_Delay", kEmergency.Word(12), kMinute},
    {"CL_Mdc_Emg_Open_Mic_Duration", kEmergency.Byte(14), form::ByteInt(0, 140)},
    {"CL_Mdc_Emg_No_Cycles", kEmergency.Byte(15), form::ByteInt(0, 250)},

    {"CL_Mdc_SelCall_Rx", kSelCall.Bit(0, 7), kEnableSel},
    {"CL_Mdc_SelCall_Tx", kSelCall.Bit(0, 6), kEnableSel},
    {"CL_Mdc_SelCall_Show_Icon", kSelCall.Bit(0, 4), kEnableSel},
    {"CL_Mdc_SelCall_BeepType", kSelCall.Bits(0, 3, 0), Sel(kMdcBeepType)},
    {"CL_Mdc_SelCall_Rx_Log", kSelCall.Bit(1, 7), kEnableSel},
    {"CL_Mdc_SelCall_RT_Beep", kSelCall.Bit(1, 6), kEnableSel},
    {"CL_Mdc_SelCall_Disp_Time", kSelCall.Word(2), kMinute},

    {"CL_Mdc_CallAlert_Rx", kCallAlert.Bit(0, 7), kEnableSel},
    {"CL_Mdc_CallAlert_Tx", kCallAlert.Bit(0, 6), kEnableSel},
    {"CL_Mdc_CallAlert_Rx_Log", kCallAlert.Bit(0, 4), kEnableSel},
    {"CL_Mdc_CallAlert_Beep_Type", kCallAlert.Bits(0, 3, 0), Sel(kMdcBeepType)},
    {"CL_Mdc_CallAlert_Show_Icon", kCallAlert.Bit(1, 7), kEnableSel},
    {"CL_Mdc_CallAlert_Request_Ack", kCallAlert.Bit(1, 6), kEnableSel},
    {"CL_Mdc_CallAlert_Beep_Length", kCallAlert.Bits(1, 3, 0), Sel(kMdcBeepRepeat)},
    {"CL_Mdc_CallAlert_Num_Retry", kCallAlert.Word(2), form::Int16(1, 250)},
    {"CL_Mdc_CallAlert_Ack_Wait", kCallAlert.Word(4), kMinute},
    {"CL_Mdc_CallAlert_Ack_Delay", kCallAlert.Word(6), kMinute},
    {"CL_Mdc_CallAlert_Display_Time", kCallAlert.Word(8), kMinute},

    {"CL_Mdc_RadioChk_Rx", kRadioCheck.Bit(0, 7), kEnableSel},
    {"CL_Mdc_RadioChk_Tx", kRadioCheck.Bit(0, 6), kEnableSel},
    {"CL_Mdc_RadioChk_Num_Retry", kRadioCheck.Bits(0, 3, 0), form::ByteInt(1, 15)},
    {"CL_Mdc_RadioChk_Ack_Delay", kRadioCheck.Word(2), kMinute},
    {"CL_Mdc_RadioChk_Ack_Wait", kRadioCheck.Word(4), kMinute},
    {"CL_Mdc_RadioChk_Disp_Time", kRadioCheck.Word(6), kMinute},

    {"CL_Mdc_Stun_Rx", kStun.Bit(0, 7), kEnableSel},
    {"CL_Mdc_Stun_Tx", kStun.Bit(0, 6), kEnableSel},
    {"CL_Mdc_Stun_No_Retry", kStun.Bits(0, 3, 0), form::ByteInt(1, 15)},
    {"CL_Mdc_Stun_Ack_Wait", kStun.Word(2), kMinute},
    {"CL_Mdc_Stun_Disp_Time", kStun.Word(4), kMinute},
    {"CL_Mdc_Stun_Ack_Delay", kStun.Word(6), kMinute},

    {"CL_Mdc_Revive_Rx", kRevive.Bit(0, 7), kEnableSel},
    {"CL_Mdc_Revive_Tx", kRevive.Bit(0, 6), kEnableSel},
    {"CL_Mdc_Revive_No_Retry", kRevive.Bits(0, 3, 0), form::ByteInt(1, 15)},
    {"CL_Mdc_Revive_Ack_Delay", kRevive.Word(2), kMinute},
    {"CL_Mdc_Revive_Ack_Wait", kRevive.Word(4), kMinute},
    {"CL_Mdc_Revive_Ack_Disp_Time", kRevive.Word(6), kMinute},

    {"CL_Mdc_Status_Rx", kStatus.Bit(0, 7), kEnableSel},
    {"CL_Mdc_Status_Tx", kStatus.Bit(0, 6), kEnableSel},
    {"CL_Mdc_Status_Tx_Ack", kStatus.Bit(0, 5), kEnableSel},
    {"CL_Mdc_Status_Poll_Tx", kStatus.Bit(0, 4), kEnableSel},
    {"CL_Mdc_Status_Num_Retry", kStatus.Bits(0, 3, 0), form::ByteInt(1, 15)},
    {"CL_Mdc_Status_Ack_Time", kStatus.Word(2), kMinute},
    {"CL_Mdc_Status_Ack_Wait", kStatus.Word(4), kMinute},
    {"CL_Mdc_Status_Disp_Time", kStatus.Word(6), kMinute},

    {"CL_Mdc_Msg_RX", kMessage.Bit(0, 7), kEnableSel},
    {"CL_Mdc_Msg_TX", kMessage.Bit(0, 6), kEnableSel},
    {"CL_Mdc_Msg_No_Retry", kMessage.Bits(0, 3, 0), form::ByteInt(1, 15)},
    {"CL_Mdc_Msg_Ack_Time", kMessage.Word(1), kMinute},
    {"CL_Mdc_Msg_Ack_Wait", kMessage.Word(3), kMinute},
    {"CL_Mdc_Msg_Disp_Time", kMessage.Word(5), kMinute},

    {"CL_Mdc_Status_Text", kStatusTexts.Text(), form::EditText(kTextBytes)},
    {"CL_Mdc_Status_Ack", kStatusTexts.Flag(7), kEnableSel},
    {"CL_Mdc_Status_Strip", kStatusTexts.Flag(6), kEnableSel},
    {"CL_Mdc_Msg_Text", kMessageTexts.Text(), form::EditText(kTextBytes)},
    {"CL_Mdc_Msg_Request_Ack", kMessageTexts.Flag(7), kEnableSel},
    {"CL_Mdc_Msg_Strip_Tones", kMessageTexts.Flag(6), kEnableSel},
    {"CL_Mdc_Msg_Enabled", kMessageTexts.Flag(4), kEnableSel},
};
// clang-format on

// ---- row labels: "Sys 0", "Gen 0"... ----

struct Label {
    const char* name;
    const char* prefix;
};

constexpr Label kLabels[] = {
    {"CL_Mdc_System_List_Text", "Sys "}, {"CL_Mdc_General_Text", "Gen "},   {"CL_Mdc_PttId_Text", "PTT "},
    {"CL_Mdc_SelCall_Text", "SelC "},    {"CL_Mdc_RadioChk_Text", "RdoC "}, {"CL_Mdc_Emg_Text", "Emg "},
    {"CL_Mdc_Stun_Text", "STUN "},
};

// A label holds ten characters whatever the index; what is typed into it is
// not kept.
constexpr size_t kLabelBytes = 11;

void RowLabel(CellFrame& f) {
    const Label* label = form::Index<kLabels>().Find(f);
    if (!label) return;
    std::array<char, kLabelBytes> text{};
    text.fill(' ');
    std::snprintf(text.data(), text.size(), "%s%d", label->prefix, f.index);
    ConvTextCell(f.request, reinterpret_cast<uint8_t*>(text.data()), static_cast<int32_t>(text.size()),
                 f.result);
}

// The number of a status or message slot, counted from 1 in each block.
void SlotNumber(CellFrame& f) {
    if (f.index >= 0 && f.index < kAllSlots) f.Show(std::to_string(f.index % kSlots + 1));
}

// ---- the revive choice ----

constexpr form::Row kReviveChoice = {"CL_Mdc_System_List_Revive", kSystem.Byte(6), Choice(kMdcSystemRevive)};
constexpr form::Field kAliasChoice = kSystem.Byte(8);

// A new revive choice clears the system's alias choice; showing it, or
// choosing the same entry again, leaves the user's alias pick alone.
void ReviveChoice(CellFrame& f) {
    const auto before = form::Get(f.image, kReviveChoice.field, f.index);
    if (form::RunRow(f, kReviveChoice) && before != f.value) form::Set(f.image, kAliasChoice, f.index, 0);
}

// ---- the group ID: three digits under a top nibble of E ----

constexpr form::Row kGroupId = {"CL_Mdc_General_Group_Id", kGeneral.Word(3), form::HexNibbles(3, true)};
constexpr int32_t kGroupIdDigits = 0x0FFF;
constexpr int32_t kGroupIdTop = 0xE000;

void GroupId(CellFrame& f) {
    if (form::RunRow(f, kGroupId))
        form::Set(f.image, kGroupId.field, f.index, (f.value & kGroupIdDigits) | kGroupIdTop);
}

// ---- status numbers: 0 none, else an enable bit and the number less one ----

struct StatusNumber {
    const char* name;
    form::Field enable;
    form::Field number; // four bits
};

constexpr StatusNumber kStatusNumbers[] = {
    {"CL_Mdc_Emg_Status_No", kEmergency.Bit(0, 4), kEmergency.Bits(2, 3, 0)},
    {"CL_Mdc_Status_On_Pwr_Up", kStatus.Bit(1, 7), kStatus.Bits(1, 3, 0)},
};

// The field is written back on every request: a number left behind a clear
// enable bit is zeroed by showing it.
void StatusNumberCell(CellFrame& f) {
    const StatusNumber* s = form::Index<kStatusNumbers>().Find(f);
    if (!s) return;
    const auto enabled = form::Get(f.image, s->enable, f.index);
    const auto number = form::Get(f.image, s->number, f.index);
    if (!enabled || !number) return;
    f.value = *enabled != 0 ? static_cast<int32_t>(*number) + 1 : 0;
    form::RunConv(f, Sel(kMdcStatusNumber), f.value);
    form::Set(f.image, s->enable, f.index, f.value != 0 ? 1 : 0);
    form::Set(f.image, s->number, f.index, f.value != 0 ? f.value - 1 : 0);
}

// ---- a status slot's enable bit ----

constexpr form::Row kStatusEnabled = {"CL_Mdc_Status_Enabled", kStatusTexts.Flag(4), kEnableSel};

// The first status of every system must stay enabled.
void StatusEnabled(CellFrame& f) {
    form::RunRow(f, kStatusEnabled);
    const auto enabled = form::Get(f.image, kStatusEnabled.field, f.index);
    f.SetWarning(enabled && *enabled == 0 && f.index % kSlots == 0);
}

// Any system's first status disabled; PMR-Z radios have no MDC.
void StatusCheck(CellFrame& f) {
    if (f.model.pmrZ) return;
    for (int32_t i = 0; i < kAllSlots && !f.request.markFlags.warning; ++i)
        f.SetWarning(f.engine.QueryMarks(catid::CT_Null, cellid::CL_Mdc_Status_Enabled, i).warning);
}

// ---- external outputs: a mobile's ----

constexpr form::Row kExternalOutputs[] = {
    {"CL_Mdc_CallAlert_EXO_Out", kCallAlert.Bit(1, 4), kEnableSel},
    {"CL_Mdc_SelCall_EXO_Out", kSelCall.Bit(1, 5), kEnableSel},
    {"CL_Mdc_Emg_EXO_Out", kEmergency.Bit(2, 5), kEnableSel},
};

// A handheld has no external output: its cell is disabled and changes nothing.
void ExternalOutput(CellFrame& f) {
    const form::Row* row = form::Index<kExternalOutputs>().Find(f);
    if (!row) return;
    f.SetMenuState(CellFrame::kMenuDisabled, !f.model.mobile);
    if (f.model.mobile) form::RunRow(f, *row);
}

// ---- the aliases (the frame's row of kind 26) and a channel's system ----

struct RecordCell {
    const char* name;
    CellCase run;
};

// clang-format off
constexpr RecordCell kRecordCells[] = {
    {"CL_Mdc_Alias1_Strip", [](CellFrame& f) { form::RunRowField(f, f.row.mdcStrip, kEnableSel); }},
    {"CL_Mdc_Alias1_Beep_Type", [](CellFrame& f) { form::RunRowField(f, f.row.mdcBeepType, Sel(kMdcBeepType)); }},
    {"CL_Mdc_Alias1_ID", [](CellFrame& f) { form::RunRowField(f, f.row.mdcId, form::HexNibbles(4, true)); }},
    {"CL_Mdc_Alias1_Text", [](CellFrame& f) { form::RunRowText(f, f.row.mdcText); }},
    // On the channel sheets: a digital row has no MDC.
    {"CL_Mch_Mdc_System", [](CellFrame& f) {
         form::RunRowField(f, f.row.mdcSystem, Choice(kMchMdcSystem));
         GreyInDigitalModes(f, {1, 2, 3});
     }},
};
// clang-format on

} // namespace

void RegisterMdcCells(CellCaseList& list) {
    form::RegisterRows<kRows>(list);
    form::Index<kLabels>().Register(list, RowLabel);
    list.Add("CL_Mdc_Status_Num", SlotNumber);
    list.Add("CL_Mdc_Msg_Num", SlotNumber);
    list.Add(kReviveChoice.name, ReviveChoice);
    list.Add(kGroupId.name, GroupId);
    form::Index<kStatusNumbers>().Register(list, StatusNumberCell);
    list.Add(kStatusEnabled.name, StatusEnabled);
    list.Add("CL_Check_MDC_Status", StatusCheck);
    form::Index<kExternalOutputs>().Register(list, ExternalOutput);
    for (const RecordCell& c : kRecordCells)
        list.Add(c.name, c.run);
}
