// The cells of MSK signalling (CL_Msk_*): the address plan, whose group
// addresses start at G (datZuroAdr), the ID groups, the call list, the status
// and short transmit messages, the timing values and the configuration.
// Fixed fields are rows of the table form; the ID groups (record kind 16), the
// call list (17), the status messages (18) and the short texts (19) are
// fields of the frame's row record; the address plan, the address marks and
// the status messages' last row are small functions.
#include "cells/CellCanvas.h"
#include "cells/CellCases.h"
#include "cells/CellFields.h"
#include "cells/CellFrame.h"
#include "cells/ConvSupport.h"
#include "cells/FieldForm.h"
#include "cells/cloning/SignallingLists.h"
#include "image/datCh.h"
#include "image/datZuroAdr.h"

namespace {

using namespace siglist;
using form::Bit;
using form::Bits;
using form::Byte;
using form::Rebuild;
using form::Sel;

// Every MSK address is four decimal digits, 0..4095.
constexpr int32_t kAddressDigits = 4;
constexpr form::Conv kAddress = form::Number(kAddressDigits, 0, datZuroAdr::kMaxAddress, true);

// Timing values in hundredths of a second, in a byte.
constexpr form::Conv Hundredths(double minimum) {
    return form::Scaled(2, 2, minimum, 2.55, 1, true, false);
}
constexpr form::Conv kSeconds = form::Scaled(0, 3, 0.0, 60.0, 1, true, false);

// The timing values sit on sheets of records too and write the record back.
constexpr bool kStoresRecord = true;

// The configuration's switch bytes.
constexpr int32_t kEncoder = 99739;
constexpr int32_t kSend = 99740;
constexpr int32_t kDisplay = 99741;

// clang-format off
constexpr form::Row kRows[] = {
    {"CL_Msk_AdrRange_Common", form::Word(99258), kAddress},
    {"CL_Msk_AdrRange_CountryCode", Byte(99262), Sel(kMskCountryCode)},

    {"CL_Msk_TimingErr_NA", Byte(99712), form::Int16(1, 8)},
    {"CL_Msk_TimingErr_NM", Byte(99713), form::Int16(1, 8)},
    {"CL_Msk_TimingErr_NR", Byte(99714), form::Int16(1, 8)},
    {"CL_Msk_TimingErr_TAC", Byte(99716), Hundredths(0.01), {}, Rebuild::Never, kStoresRecord},
    {"CL_Msk_TimingErr_BusyCheck", Byte(99722), form::ByteInt(0, 255)},
    {"CL_Msk_TimingErr_LetAck", Byte(99720), Hundredths(0.0), {}, Rebuild::Never, kStoresRecord},
    {"CL_Msk_TimingErr_LetCall", Byte(99721), Hundredths(0.0), {}, Rebuild::Never, kStoresRecord},

    {"CL_Msk_Cfg_Enc_PttCall", Bit(kEncoder, 7), Sel(kEnable3)},
    {"CL_Msk_Cfg_Enc_PreEmphasis", Bit(kEncoder, 6), Sel(kMskPreEmphasis)},
    {"CL_Msk_Cfg_Enc_SyncvWord", form::Word(99732), form::HexNibbles(4, true)},
    {"CL_Msk_Cfg_Enc_PttSideTone", Bit(kEncoder, 2), Sel(kMskPttSideTone)},
    {"CL_Msk_Cfg_Dec_BeepRepeatTimer", Byte(99735), kSeconds},
    {"CL_Msk_Cfg_Dec_MuteMskTone", Bit(kEncoder, 5), Sel(kOnOff)},
    {"CL_Msk_Cfg_Dec_ANI_Disp", Bits(kDisplay, 5, 4), Sel(kMskAniDisplay)},
    {"CL_Msk_Cfg_Dec_ANI_Disp_Timer", Byte(99734), form::ByteRange(10, 0)},
    {"CL_Msk_Cfg_Status_Send_PrioA", Bit(93824, 6), Sel(kEnable3)},
    {"CL_Msk_Cfg_Status_Send_On", Bit(kSend, 1), Sel(kEnable3)},
    {"CL_Msk_Cfg_Status_Send_Off", Bit(kSend, 0), Sel(kEnable3)},
    {"CL_Msk_Cfg_Gps_Send_Base", Bit(kSend, 6), Sel(kEnable3)},
    {"CL_Msk_Cfg_Gps_Auto", Bit(kEncoder, 4), Sel(kEnable3)},
    {"CL_Msk_Cfg_Gps_TimeMarker", Byte(99737), form::Time(0, 3570, 30)},
    {"CL_Msk_Cfg_Gps_IntervalTimer", Byte(99738), form::Time(30, 3570, 30)},
    {"CL_Msk_Cfg_Gps_Send_Logoff", Bit(kSend, 4), Sel(kEnable3)},
    {"CL_Msk_Cfg_Gps_Send_Status", Bit(kSend, 3), Sel(kEnable3)},
    {"CL_Msk_Cfg_Gps_Send_Sdm", Bit(kSend, 5), Sel(kEnable3)},
    {"CL_Msk_Cfg_Gps_Send_Emer", Bit(kSend, 7), Sel(kEnable3)},
    {"CL_Msk_Cfg_Gps_Send_ManDown", Bit(kSend, 2), Sel(kEnable3)},
    {"CL_Msk_Cfg_Gps_Sentence", Bits(kEncoder, 1, 0), Sel(kMskGpsSentence)},
    {"CL_Msk_Cfg_Etc_PttEnableAtConnect", Bit(kDisplay, 7), Sel(kEnable3)},
};
// clang-format on

// ---- the address plan: individual addresses 0..G-1, group addresses G..4095 ----

constexpr const char* kNoEdit = "%04d (No Edit)";

// Row 0 the first individual address, row 1 the last; without group
// addresses starting above 0 there are none.
void IndividualRange(CellFrame& f) {
    const int32_t g = f.zuroAdr.groupAddressStart;
    if (g == 0) {
        f.Show("----");
    } else if (f.index == 0) {
        f.Show(conv::Format(kNoEdit, 0));
    } else if (f.index == 1) {
        f.Show(conv::Format(kNoEdit, g - 1));
    } else {
        f.Show("error");
    }
}

// Row 0 edits G, which every address mark and the individual range follow at
// once; row 1 shows the last group address.
void GroupRange(CellFrame& f) {
    if (f.index == 1) {
        f.Show(conv::Format(kNoEdit, datZuroAdr::kMaxAddress));
        return;
    }
    if (f.index != 0) return;
    f.value = f.zuroAdr.groupAddressStart;
    if (form::RunConv(f, kAddress, f.value)) {
        f.zuroAdr.groupAddressStart = f.value;
        f.zuroAdr.Store();
        f.resultFlags |= CellFrame::kFlagRebuildAll;
    }
}

// ---- the address marks: what the image holds once the request is done ----

bool InLimit(const CellFrame& f, int limit, int32_t address) {
    const datZuroAdr::Limit& l = f.zuroAdr.limits[static_cast<size_t>(limit)];
    return address >= l.minimum && address <= l.maximum;
}

// The killer address and the fixed base IDs must be individual addresses.
constexpr form::Row kIndividualRows[] = {
    {"CL_Msk_AdrRange_Killer", form::Word(99260), kAddress},
    {"CL_Msk_Cfg_Status_FixBaseId", form::Word(99728), kAddress},
    {"CL_Msk_Cfg_Gps_FixBaseId", form::Word(99730), kAddress},
};

void IndividualAddress(CellFrame& f) {
    const form::Row* row = form::Index<kIndividualRows>().Find(f);
    if (!row) return;
    form::RunRow(f, *row);
    f.SetError(!InLimit(f, datZuroAdr::kKiller, f.value));
}

// ID group 0 is the radio's own individual address, groups 1..7 are group addresses.
void IdGroupAddress(CellFrame& f) {
    f.request.hint = 1;
    form::RunRowField(f, f.row.idGroupAdr, kAddress);
    const int32_t group = f.index;
    if (f.rowLoaded && group >= 0 && group <= datCh::FieldMax(kindMskIdGroup))
        f.SetError(!InLimit(f, datZuroAdr::kIdGroup + group, f.row.idGroupAdr));
}

// The address's four digits are decimal nibbles; any other nibble reads as
// 65535, which the mark shows.
void CallListAddress(CellFrame& f) {
    f.LoadRow(kindMskCallList, f.index);
    f.request.hint = 1;
    form::RunRowField(f, f.row.callListAdr, kAddress);
    f.SetError(f.row.callListAdr < 0 || f.row.callListAdr > datZuroAdr::kMaxAddress);
}

void CallListText(CellFrame& f) {
    f.LoadRow(kindMskCallList, f.index);
    form::RunRowText(f, f.row.name);
}

// ---- the status messages ----

// The tables hold a 24th status (row 23) that the user's rows never reach:
// its receive side shows what the radio holds and takes no input.
constexpr int32_t kFixedStatus = 23;
constexpr ColorValue kFixedInk = 0x008080;

struct StatusField {
    const char* name;
    CellCase run;
    bool fixedOnLastRow; // read-only on row 23
};

// clang-format off
constexpr StatusField kStatusFields[] = {
    {"CL_Msk_Msg_Status_Beep", [](CellFrame& f) { form::RunRowField(f, f.row.msgBeep, Sel(kRxCBeep)); }, true},
    {"CL_Msk_Msg_Status_Horn", [](CellFrame& f) { form::RunRowField(f, f.row.msgHorn, Sel(kOnOff2)); }, true},
    {"CL_Msk_Msg_Status_Auto", [](CellFrame& f) { form::RunRowField(f, f.row.msgAuto, Sel(kOnOff2)); }, true},
    {"CL_Msk_Msg_Status_SFunc", [](CellFrame& f) { form::RunRowField(f, f.row.msgSFunc, Sel(kOnOff2)); }, false},
    {"CL_Msk_Msg_Status_Rriority",
     [](CellFrame& f) { form::RunRowField(f, f.row.msgPriority, Sel(kMskStatusPriority)); }, false},
    {"CL_Msk_Msg_Status_Selection",
     [](CellFrame& f) { form::RunRowField(f, f.row.msgSelection, Sel(kOnOff2)); }, false},
    {"CL_Msk_Msg_Status_Text_Rx", [](CellFrame& f) { form::RunRowText(f, f.row.name); }, true},
    {"CL_Msk_Msg_Status_Text_Tx", [](CellFrame& f) { form::RunRowText(f, f.row.name2); }, false},
};
// clang-format on

void StatusMessage(CellFrame& f) {
    const StatusField* s = form::Index<kStatusFields>().Find(f);
    if (!s) return;
    f.LoadTableRow(kindMskStatus, f.index);
    const bool fixed = s->fixedOnLastRow && f.index == kFixedStatus;
    if (fixed) {
        f.request.key = 0;
        f.request.mode = cmcCellCapsule::kModeFormat;
    }
    s->run(f);
    if (fixed && f.request.canvas) f.request.canvas->SetFontColor(kFixedInk);
}

// ---- the other fields of the ID groups, the call list and the short texts ----

struct RecordCell {
    const char* name;
    CellCase run;
};

// clang-format off
constexpr RecordCell kRecordCells[] = {
    {"CL_Msk_IdGroup_Text", [](CellFrame& f) { form::RunRowText(f, f.row.name); }},
    {"CL_Msk_IdGroup_Alert", [](CellFrame& f) { form::RunRowField(f, f.row.idGroupAlert, Sel(kRxCBeep)); }},
    {"CL_Msk_IdGroup_Bell", [](CellFrame& f) { form::RunRowField(f, f.row.idGroupBell, Sel(kMskIdGroupBell)); }},
    {"CL_Msk_IdGroup_SFunc", [](CellFrame& f) { form::RunRowField(f, f.row.idGroupSFunc, Sel(kOnOff2)); }},
    {"CL_Msk_CallList_Digit",
     [](CellFrame& f) { form::RunRowField(f, f.row.callListDigit, form::DigitSet(1, 4, 0)); }},
    {"CL_Msk_CallList_Update", [](CellFrame& f) { form::RunRowField(f, f.row.callListUpdate, Sel(kEnable2)); }},
    {"CL_Msk_CallList_Sel", [](CellFrame& f) { form::RunRowField(f, f.row.callListSel, Sel(kEnable2)); }},
    {"CL_Msk_Msg_ShortTxtTxMsg_1", [](CellFrame& f) { form::RunRowText(f, f.row.name); }},
    {"CL_Msk_Msg_ShortTxtTxMsg_Sel", [](CellFrame& f) { form::RunRowField(f, f.row.msgSelection, Sel(kOnOff2)); }},
};
// clang-format on

} // namespace

void RegisterMskCells(CellCaseList& list) {
    form::RegisterRows<kRows>(list);
    list.Add("CL_Msk_AdrRange_Individual", IndividualRange);
    list.Add("CL_Msk_AdrRange_Group", GroupRange);
    form::Index<kIndividualRows>().Register(list, IndividualAddress);
    list.Add("CL_Msk_IdGroup_Adr", IdGroupAddress);
    list.Add("CL_Msk_CallList_Adr", CallListAddress);
    list.Add("CL_Msk_CallList_Text", CallListText);
    form::Index<kStatusFields>().Register(list, StatusMessage);
    for (const RecordCell& c : kRecordCells)
        list.Add(c.name, c.run);
}
