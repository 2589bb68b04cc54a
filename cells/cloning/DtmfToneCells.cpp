// The DTMF memories and decode codes (CL_Dtmf_*), the CTCSS/DTCS tone memories
// (CL_CTone_*) and the user tones (CL_UTone_*): fields of their row records,
// the DTMF timers as rows of the table form, and the user tones' timing bytes;
// and the user characters' glyph cell (CL_CEdit).
#include "cells/CellCases.h"
#include "cells/CellFrame.h"
#include "cells/CodeConv.h"
#include "cells/FieldForm.h"
#include "cells/FreqToneConv.h"
#include "cells/RecordForm.h"
#include "cells/TextCell.h"
#include "cells/cloning/DecodeCells.h"
#include "cells/cloning/ToneScanMakerLists.h"

#include <string>

namespace {

using namespace tsmlist;
using form::Byte;
using form::ByteRange;
using recform::Field;
using recform::Whole;

constexpr int32_t kMaxDtmfDigits = 24;

// ---- DTMF memories ----

// The memories' own labels: the radio dials memory 0 itself, and on the
// trunked and conventional land-mobile models sends 6 and 7 on an emergency
// and to log in.
void DtmfMemoryLabel(CellFrame& f) {
    std::string label = std::to_string(f.index + 1);
    if (f.model.lmr || f.model.p25 || f.model.ltr) {
        if (f.index == 6) label = "Emergency";
        if (f.index == 7) label = "Log/ID";
    }
    if (f.index == 0) label = "Autodial";
    f.Show(label);
}

// Memories and decode codes keep their digits alike.
int DtmfCode(CellFrame& f) {
    return ConvDtmfCodeCell(f.request, f.row.digits, f.row.digitCount, kMaxDtmfDigits, f.result);
}

constexpr recform::Kinds kMemory{recform::kDtmf, recform::kDtmfRx};
constexpr recform::Kinds kDecodeCode{recform::kDtmfRx, recform::kDtmf};

// clang-format off
constexpr recform::Row kDtmfRows[] = {
    Whole("CL_Dtmf_Code", kMemory, DtmfCode),
    Whole("CL_Dtmf_CodeID", kMemory, DtmfCode),
    Whole("CL_Dtmf_CodeEmer", kMemory, DtmfCode),
    Field("CL_Dtmf_Text", kMemory, &datCh::text24, form::EditText(24)),
    Whole("CL_Dtmf_Decode_Code", kDecodeCode, DtmfCode),
    Field("CL_Dtmf_Decode_Text", kDecodeCode, &datCh::text24, form::EditText(24)),
};

constexpr form::Row kTimerRows[] = {
    {"CL_Dtmf_PttDelayTimer", Byte(93915), ByteRange(100, 0)},
    {"CL_Dtmf_DtmfTimer", Byte(93837), ByteRange(100, 0)},
    {"CL_Dtmf_FirstTimer", Byte(93838), ByteRange(100, 0)},
    {"CL_Dtmf_MarkTimer", Byte(93839), ByteRange(100, 0)},
    {"CL_Dtmf_NotoneTimer", Byte(93916), ByteRange(100, 0)},
    {"CL_Dtmf_ANI_Disp_Timer", Byte(93919), ByteRange(10, 0)},
};
// clang-format on

// ---- tone memories ----

int ReceiveTone(CellFrame& f) {
    return ConvCtcssDtcsCell(f.request, f.row, true, f.result);
}

int TransmitTone(CellFrame& f) {
    return ConvCtcssDtcsCell(f.request, f.row, false, f.result);
}

constexpr recform::Kinds kTonePair{recform::kTonePair};

constexpr recform::Row kToneRows[] = {
    Whole("CL_CTone_RX", kTonePair, ReceiveTone),
    Whole("CL_CTone_TX", kTonePair, TransmitTone),
    Field("CL_CTone_Sel", kTonePair, &datCh::cToneSel, form::Sel(kOnOff2Inv)),
};

// ---- user tones ----

constexpr recform::Kinds kUserTone{recform::kUserTone};

// Tenths of a hertz.
constexpr form::Conv kToneFrequency = form::Scaled(1, 1, 400.0, 3000.0, 1, true, false);
// A user tone's decoder takes its tone within 3 %, inside the tones a user tone can have.
constexpr int32_t kUserToneSpread = 3;
constexpr int32_t kLowestTone = 4000;
constexpr int32_t kHighestTone = 30000;

// A new tone moves its decoder's window with it.
int Encode(CellFrame& f) {
    datCh& r = f.row;
    f.value = r.uToneEncode;
    if (!form::RunConv(f, kToneFrequency, f.value)) return 0;
    const decode::Window window = decode::WindowAround(f.value, kUserToneSpread, kLowestTone, kHighestTone);
    r.uToneEncode = f.value;
    r.uToneDecLow = window.low;
    r.uToneDecHigh = window.high;
    f.resultFlags |= CellFrame::kFlagRecord;
    return 1;
}

constexpr recform::Row kEncodeRows[] = {Whole("CL_UTone_Encode", kUserTone, Encode)};

constexpr recform::Row kWindowRows[] = {
    Field("CL_UTone_Dec_Low", kUserTone, &datCh::uToneDecLow, kToneFrequency),
    Field("CL_UTone_Dec_High", kUserTone, &datCh::uToneDecHigh, kToneFrequency),
};

// A window typed upside down is kept, and both its ends are marked.
void WindowEnd(CellFrame& f) {
    const recform::Row* row = form::Index<kWindowRows>().Find(f);
    if (!row) return;
    recform::RunRow(f, *row);
    if (f.rowLoaded) f.SetWarning(f.row.uToneDecHigh < f.row.uToneDecLow);
}

// The timing bytes of tones 0..14 lie in tables of their own, tone 15's
// apart from them.
constexpr int32_t kTimedTones = 16;
constexpr int32_t kLastTone = kTimedTones - 1;

struct Timing {
    const char* name;
    int32_t first;    // tone n's byte is first + n
    int32_t lastByte; // the last tone's byte; -1: it has none
    form::Conv conv;
};

// clang-format off
constexpr Timing kTimings[] = {
    {"CL_UTone_TonePeriod", 95504, 95531, form::Scaled(3, 3, 0.0, 0.255, 1, true, false)},
    // Tone 0's no-tone timer is the two-tone decoder's.
    {"CL_UTone_NotoneTimer", 95513, 95532, form::Scaled(2, 3, 0.02, 0.3, 2, true, false)},
    {"CL_UTone_Length", 95522, -1, form::Scaled(2, 3, 0.01, 2.55, 1, true, false)},
};
// clang-format on

void TimingCell(CellFrame& f) {
    const Timing* t = form::Index<kTimings>().Find(f);
    if (!t) return;
    if (f.index < 0 || f.index > kLastTone) {
        f.Show(std::string());
        return;
    }
    if (f.index == kLastTone && t->lastByte < 0) {
        recform::Dash(f);
        return;
    }
    const int32_t address = f.index == kLastTone ? t->lastByte : t->first + f.index;
    form::RunRow(f, form::Row{t->name, Byte(address), t->conv});
}

// ---- user characters ----

// The user character of the cell's index, drawn and edited as a whole glyph.
void UserCharacter(CellFrame& f) {
    UserCharCell(f.request, f.result);
}

} // namespace

void RegisterDtmfToneCells(CellCaseList& list) {
    list.Add("CL_Dtmf_ChNo", DtmfMemoryLabel);
    form::RegisterRows<kDtmfRows>(list);
    form::RegisterRows<decode::kDtmfRows>(list);
    form::RegisterRows<kTimerRows>(list);
    form::RegisterRows<kToneRows>(list);
    form::RegisterRows<kEncodeRows>(list);
    form::Index<kWindowRows>().Register(list, WindowEnd);
    form::Index<kTimings>().Register(list, TimingCell);
    list.Add("CL_CEdit", UserCharacter);
}
