// The scan lists (CL_ScanList_*), fields of the scan-list record whose
// meaning depends on the list's scan mode, and the common scan and voting
// settings (CL_ScanComm_*), fixed fields of the image given as rows of the
// table form.
#include "cells/CellCases.h"
#include "cells/CellFields.h"
#include "cells/CellFrame.h"
#include "cells/FieldForm.h"
#include "cells/ListConv.h"
#include "cells/NumberConv.h"
#include "cells/RecordForm.h"
#include "cells/TextConv.h"
#include "cells/cloning/ToneScanMakerLists.h"

#include <cstdint>

namespace {

using namespace tsmlist;
using form::Bit;
using form::Byte;
using form::ByteRange;
using form::Piece;
using form::Sel;
using recform::Field;
using recform::Only;
using recform::Whole;

constexpr recform::Kinds kScan{recform::kScanList};

// The five-bit scan mode: the four-bit mode and the flag above it.
constexpr int32_t kModeBits = 4;
int32_t ScanMode(const datCh& r) {
    return (r.slBit5 ? 1 << kModeBits : 0) | r.scanMode;
}

bool PriorityScan(const CellFrame& f) {
    return ScanMode(f.row) == kScanModePriority;
}
// A list that scans, and not as a slave: it has a channel to transmit on.
bool Transmits(const CellFrame& f) {
    const int32_t mode = ScanMode(f.row);
    return mode != 0 && mode != kScanModeSlave;
}
bool TalksBack(const CellFrame& f) {
    return f.row.txChMode != 0 && Transmits(f);
}
bool Scans(const CellFrame& f) {
    return ScanMode(f.row) != 0;
}

// A value made of a record field (its low bits) and a flag above it.
template <class Low> int FlagAbove(CellFrame& f, Low& low, int32_t lowBits, bool& high, const char* list) {
    f.value = static_cast<int32_t>(low) | (high ? 1 << lowBits : 0);
    if (!ConvSelCell(f.request, list, f.value, f.result)) return 0;
    low = static_cast<Low>(f.value & ((1 << lowBits) - 1));
    high = (f.value >> lowBits & 1) != 0;
    return 1;
}

int ModeCell(CellFrame& f) {
    return FlagAbove(f, f.row.scanMode, kModeBits, f.row.slBit5, kScanMode);
}
int CancelCell(CellFrame& f) {
    return FlagAbove(f, f.row.cancelMode, kModeBits, f.row.cancelBit, kScanCancel);
}
int DisplayTextCell(CellFrame& f) {
    return FlagAbove(f, f.row.dispTextLo, 1, f.row.dispTextHi, kScanListText);
}

// The choice of a channel: its mode, and with the mode that names a channel
// the channel picked through the bank and channel pop-ups.
int Channel(CellFrame& f, uint8_t& mode, int32_t which) {
    f.value = mode;
    if (!ConvScanChannelCell(f.request, f.row, f.value, which, f.result)) return 0;
    mode = static_cast<uint8_t>(f.value);
    return 1;
}
int FirstPriority(CellFrame& f) {
    return Channel(f, f.row.prio1Mode, 0);
}
int SecondPriority(CellFrame& f) {
    return Channel(f, f.row.prio2Mode, 1);
}
int TransmitChannel(CellFrame& f) {
    return Channel(f, f.row.txChMode, 2);
}

// clang-format off
constexpr recform::Row kListRows[] = {
    Whole("CL_ScanList_ScanMode", kScan, ModeCell),
    Only(Whole("CL_ScanList_Prio1_CH", kScan, FirstPriority), PriorityScan),
    Only(Whole("CL_ScanList_Prio2_CH", kScan, SecondPriority), PriorityScan),
    Only(Whole("CL_ScanList_TX_CH", kScan, TransmitChannel), Transmits),
    Only(Field("CL_ScanList_TalkBack", kScan, &datCh::slBitA, Sel(kOnOff)), TalksBack),
    Only(Field("CL_ScanList_TX_Action", kScan, &datCh::slBitB, Sel(kScanTxAction)), Transmits),
    Only(Whole("CL_ScanList_Cancel_CH", kScan, CancelCell), Transmits),
    Field("CL_ScanList_Text", kScan, &datCh::text24, form::EditText(24)),
    Only(Whole("CL_ScanList_DispText", kScan, DisplayTextCell), Scans),
    Field("CL_ScanList_PwrSave", kScan, &datCh::powerSave, Sel(kOnOff2)),
};

// The vote levels are signed dBm.
constexpr form::Conv kVoteLevel = form::Int16Signed(-120, -80);

constexpr form::Row kCommonRows[] = {
    {"CL_ScanComm_StopTimer", Byte(93841), ByteRange(10, 0)},
    {"CL_ScanComm_StopTimerB", Byte(93895), ByteRange(10, 0)},
    {"CL_ScanComm_ResumeTimer", Byte(93842), ByteRange(10, 0)},
    {"CL_ScanComm_TalkBackTimer", Byte(93896), ByteRange(10, 0)},
    {"CL_ScanComm_ScanTimer_Fast", Byte(93828), ByteRange(1000, 0)},
    {"CL_ScanComm_ScanTimer_Slow", Byte(93829), ByteRange(100, 0)},
    {"CL_ScanComm_VoteTimer_LeadIn", Byte(94204), ByteRange(100, 0)},
    {"CL_ScanComm_VoteTimer_Dwell", Byte(94205), ByteRange(1000, 0)},
    {"CL_ScanComm_VoteLevel_Fast", form::SignedByte(94207), kVoteLevel},
    {"CL_ScanComm_VoteLevel_L2", form::SignedByte(94208), kVoteLevel},
    {"CL_ScanComm_VoteLevel_L0", form::SignedByte(94209), kVoteLevel},
    {"CL_ScanComm_PwrOnScan", form::Split(Piece{1, 93823, 7}, Piece{0, 93918, 5}), Sel(kPowerOnScan)},
    {"CL_ScanComm_AutoChCall_PmrOnly", Bit(93822, 1), Sel(kOnOff)},
    {"CL_ScanComm_BacklitatStopScan", Bit(93900, 4), Sel(kOnOff)},
    {"CL_ScanComm_VoteCheckCONT", Bit(93912, 6), Sel(kOnOff)},
    {"CL_ScanComm_VoteOnFast", Bit(93912, 5), Sel(kOnOff)},
    {"CL_ScanComm_NuisanceDelete", Bit(93821, 3), Sel(kOnOff)},
    {"CL_ScanComm_ModeSlaveScan", Bit(93822, 6), Sel(kOnOff)},
    {"CL_ScanComm_MonitorKeyAction", Bit(93918, 7), Sel(kMonitorKey)},
    {"CL_ScanComm_TalkBackTimerBeep", Bit(93918, 6), Sel(kOnOff)},
};
// clang-format on

// The signal-strength timer is shown and typed as ten times its byte, in steps of ten.
constexpr int32_t kVoteRssiTimer = 94206;
constexpr int32_t kRssiStep = 10;

void VoteRssiTimer(CellFrame& f) {
    field::ByteCell(f, kVoteRssiTimer, [&](int32_t& v, int32_t& out) {
        int32_t shown = v * kRssiStep;
        if (!ConvIntCell(f.request, shown, 0, 255 * kRssiStep, 0, kRssiStep, nullptr, true, false, out))
            return 0;
        v = shown / kRssiStep;
        return 1;
    });
}

} // namespace

void RegisterScanCells(CellCaseList& list) {
    form::RegisterRows<kListRows>(list);
    form::RegisterRows<kCommonRows>(list);
    list.Add("CL_ScanComm_VoteTimer_Rssi", VoteRssiTimer);
}
