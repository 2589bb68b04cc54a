// The adjustment items: each is a byte of the working image that the radio
// takes at once, shown as a value cell, a level bar and, for the items an
// automatic procedure can find, a sweep cell. A value differing from the
// radio copy is sent by any request of its cell, a redraw too: a send the
// busy link refused goes out with the next redraw, and after a balance edit
// the three other balance items follow as their cells are drawn. After a
// failed transfer drawing sends nothing until the user acts on an item again.
#include "adjust/AdjustCells.h"
#include "adjust/AdjustConv.h"
#include "adjust/AdjustManager.h"
#include "adjust/TestChannel.h"
#include "cells/CellFrame.h"
#include "cells/ConvSupport.h"
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "image/RecordLayout.h"
#include "image/cmcEeprom.h"

#include <string>
#include <string_view>

namespace adj {
namespace {

constexpr int32_t kByteMax = 255;
constexpr int32_t kImageChanged = CellFrame::kFlagRebuildAll;

// The four balance bytes one balance edit sets together.
constexpr int32_t kBalanceBytes[] = {102, 109, 116, 123};

// The test channel records and their power records (channel n from 1).
constexpr int32_t kChannelRecords = TestChannel::kBase - TestChannel::kRecordSize;
constexpr int32_t kPowerRecordSize = 22;
constexpr int32_t kPowerRecords = layout::kChannelX - kPowerRecordSize;
static_assert(layout::Table(3).recordSize == kPowerRecordSize);
constexpr int32_t kChannelTypeByte = 12;
constexpr uint8_t kNarrowBit = 0x40;

// The capture's readings and its commands.
constexpr int32_t kCaptureFirst = 166;
constexpr int32_t kCaptureSecond = 165;
constexpr int32_t kCodeRead = 3;
constexpr int32_t kReadSignal = 2;
constexpr int32_t kCodeFirstReference = 22;
constexpr int32_t kCodeSecondReference = 21;
constexpr int32_t kCodeChannel = 0;
constexpr int32_t kCodeRssiLevel = 32;
constexpr int32_t kRssiMin = 1;
constexpr int32_t kRssiMax = 14;

enum Sub : uint8_t {
    kSubIdle = 0,
    kSubFirstLive,
    kSubFirstSend,
    kSubSecondLive,
    kSubSecondSend,
    kSubAccepted
};

std::string_view NameOf(const CellFrame& f) {
    static thread_local std::string name;
    name = f.engine.Vocabulary().CellName(f.cellId);
    return name;
}

std::string Text(const char* key) {
    return gGTex ? gGTex->GetText(key) : std::string();
}

uint8_t ImageByte(const CellFrame& f, int32_t address) {
    return f.image.GetByte(address);
}

// Whether this request may talk to the radio: the user's own key, value or
// command on an item always may, and lifts the hold a failed transfer put on
// drawing; a drawing request may while no failure holds it.
bool MaySend(const CellFrame& f, AdjustManager& m) {
    AdjustState& s = m.State();
    if (f.IsUserInput()) s.RedrawSendsHeld = false;
    return !s.RedrawSendsHeld;
}

// Sends the item while the radio does not hold its value yet.
void SendIfChanged(const CellFrame& f, AdjustManager& m, int32_t byte) {
    if (ImageByte(f, byte) != m.RadioCopy().GetByte(byte) && MaySend(f, m)) m.SendAdjustCommand(byte);
}

// --- Manual items

struct ManualItem {
    const char* value;
    const char* bar;
    int32_t byte;
    bool balance; // one of the four balance items, stored together
};

constexpr ManualItem kManualItems[] = {
    {"CL_Adjust_Ref", "CL_Adjust_Ref_Bar", 169, false},
    {"CL_Adjust_High", "CL_Adjust_High_Bar", 164, false},
    {"CL_Adjust_Mid", "CL_Adjust_Mid_Bar", 163, false},
    {"CL_Adjust_Low", "CL_Adjust_Low_Bar", 162, false},
    {"CL_Adjust_BALW", "CL_Adjust_BALW_Bar", 102, true},
    {"CL_Adjust_BALM", "CL_Adjust_BALM_Bar", 116, true},
    {"CL_Adjust_BALN", "CL_Adjust_BALN_Bar", 109, true},
    {"CL_Adjust_BALD", "CL_Adjust_BALD_Bar", 123, true},
    {"CL_Adjust_ModW", "CL_Adjust_ModW_Bar", 101, false},
    {"CL_Adjust_ModM", "CL_Adjust_ModM_Bar", 115, false},
    {"CL_Adjust_ModN", "CL_Adjust_ModN_Bar", 108, false},
    {"CL_Adjust_BalanceW", "CL_Adjust_BalanceW_Bar", 122, false},
    {"CL_Adjust_BalanceN", "CL_Adjust_BalanceN_Bar", 83, false},
    {"CL_Adjust_Noise", "CL_Adjust_Noise_Bar", 193, false},
    {"CL_Adjust_Vox", "CL_Adjust_Vox_Bar", 175, false},
};

// --- Automatic items: Enter starts their procedure.

enum class SweepText : uint8_t { Start, ErrorMark };

struct AutoItem {
    const char* value;
    const char* bar;
    const char* sweepCell;
    int32_t byte;
    Sweep sweep;
    int32_t errorMark; // index of its sweep-error mark, -1 none
};

constexpr AutoItem kAutoItems[] = {
    {"CL_Adjust_BpfT1", "CL_Adjust_BpfT1_Bar", "CL_Adjust_BpfT1_Sweep", 84, Sweep::BpfT1, -1},
    {"CL_Adjust_BpfT2", "CL_Adjust_BpfT2_Bar", "CL_Adjust_BpfT2_Sweep", 85, Sweep::BpfT2, -1},
    {"CL_Adjust_BpfT3", "CL_Adjust_BpfT3_Bar", "CL_Adjust_BpfT3_Sweep", 88, Sweep::BpfT3, -1},
    {"CL_Adjust_BpfT4", "CL_Adjust_BpfT4_Bar", "CL_Adjust_BpfT4_Sweep", 90, Sweep::BpfT4, -1},
    {"CL_Adjust_AUTO02", "CL_Adjust_AUTO02_Bar", "CL_Adjust_AUTO02_Sweep", 89, Sweep::Auto02, -1},
    {"CL_Adjust_AUTO03", "CL_Adjust_AUTO03_Bar", "CL_Adjust_AUTO03_Sweep", 91, Sweep::Auto03, -1},
    {"CL_Adjust_AUTO04", "CL_Adjust_AUTO04_Bar", "CL_Adjust_AUTO04_Sweep", 97, Sweep::Auto04, 0},
    {"CL_Adjust_AUTO05", "CL_Adjust_AUTO05_Bar", "CL_Adjust_AUTO05_Sweep", 186, Sweep::Auto05, 1},
    {"CL_Adjust_AUTO06", "CL_Adjust_AUTO06_Bar", "CL_Adjust_AUTO06_Sweep", 98, Sweep::Auto06, 2},
};

// The readings the target searches aim at; shown as volts, never sent.
struct Target {
    const char* value;
    const char* bar;
    int32_t byte;
};

constexpr Target kTargets[] = {
    {"CL_Adjust_AUTO07", "CL_Adjust_AUTO07_Bar", 170},
    {"CL_Adjust_AUTO08", "CL_Adjust_AUTO08_Bar", 187},
    {"CL_Adjust_AUTO09", "CL_Adjust_AUTO09_Bar", 171},
};

// Procedures over several items, started from a cell that holds no value.
struct SweepCommand {
    const char* value;
    const char* sweepCell;
    Sweep sweep;
};

constexpr SweepCommand kSweepCommands[] = {
    {"CL_Adjust_BpfAll", "CL_Adjust_BpfAll_Sweep", Sweep::BpfAll},
    {"CL_Adjust_AUTO19", "CL_Adjust_AUTO19_Sweep", Sweep::Auto19},
    {"CL_Adjust_AUTO20", "CL_Adjust_AUTO20_Sweep", Sweep::Auto20},
};

// The level procedures, each known by its AdjustPhase.
struct LevelItem {
    const char* value;
    const char* bar;
    uint8_t phase;
    int32_t barByte; // the byte the procedure drives
    Sweep sweep;
};

constexpr LevelItem kLevelItems[] = {
    {"CL_Adjust_AUTO10", "CL_Adjust_AUTO10_Bar", 2, 108, Sweep::Auto10},
    {"CL_Adjust_AUTO11", "CL_Adjust_AUTO11_Bar", 4, 108, Sweep::Auto11},
    {"CL_Adjust_AUTO12", "CL_Adjust_AUTO12_Bar", 3, 108, Sweep::Auto12},
    {"CL_Adjust_AUTO13", "CL_Adjust_AUTO13_Bar", 8, 101, Sweep::Auto13},
    {"CL_Adjust_AUTO14", "CL_Adjust_AUTO14_Bar", 10, 101, Sweep::Auto14},
    {"CL_Adjust_AUTO15", "CL_Adjust_AUTO15_Bar", 9, 101, Sweep::Auto15},
    {"CL_Adjust_AUTO16", "CL_Adjust_AUTO16_Bar", 11, 122, Sweep::Auto16},
    {"CL_Adjust_AUTO17", "CL_Adjust_AUTO17_Bar", 13, 122, Sweep::Auto17},
    {"CL_Adjust_AUTO18", "CL_Adjust_AUTO18_Bar", 12, 122, Sweep::Auto18},
    {"CL_Adjust_MOD_M_C", "CL_Adjust_MOD_M_C_Bar", 5, 115, Sweep::ModMC},
    {"CL_Adjust_MOD_M_L", "CL_Adjust_MOD_M_L_Bar", 7, 115, Sweep::ModML},
    {"CL_Adjust_MOD_M_H", "CL_Adjust_MOD_M_H_Bar", 6, 115, Sweep::ModMH},
};

template <class Row, size_t N>
const Row* Find(const Row (&rows)[N], std::string_view name, const char* Row::*field) {
    for (const Row& row : rows)
        if (name == row.*field) return &row;
    return nullptr;
}

// The item byte through the adjustment converter: its answer (1 changed, 2
// Enter with enterMode 1) and the value.
int EditByte(CellFrame& f, int32_t byte, int32_t enterMode, int32_t& value) {
    value = ImageByte(f, byte);
    return ConvAdjustCell(f.request, enterMode, value, 0, kByteMax, f.result);
}

void ManualValue(CellFrame& f) {
    const ManualItem* item = Find(kManualItems, NameOf(f), &ManualItem::value);
    if (!item || !gAdjustManager) return;
    int32_t value = 0;
    if (EditByte(f, item->byte, 0, value) == 1 && value != ImageByte(f, item->byte)) {
        if (item->balance)
            for (int32_t b : kBalanceBytes)
                f.image.SetByte(b, static_cast<uint8_t>(value));
        else
            f.image.SetByte(item->byte, static_cast<uint8_t>(value));
        f.resultFlags |= kImageChanged;
    }
    SendIfChanged(f, *gAdjustManager, item->byte);
}

void AutoValue(CellFrame& f) {
    const AutoItem* item = Find(kAutoItems, NameOf(f), &AutoItem::value);
    if (!item || !gAdjustManager) return;
    int32_t value = 0;
    const int answer = EditByte(f, item->byte, 1, value);
    if (answer == 1) {
        f.image.SetByte(item->byte, static_cast<uint8_t>(value));
        f.resultFlags |= kImageChanged;
    } else if (answer == 2) {
        gAdjustManager->StartSweep(item->sweep, item->byte);
    }
    SendIfChanged(f, *gAdjustManager, item->byte);
}

void AutoSweepText(CellFrame& f) {
    const AutoItem* item = Find(kAutoItems, NameOf(f), &AutoItem::sweepCell);
    if (!item) return;
    const bool failed = item->errorMark >= 0 && gAdjustManager &&
                        gAdjustManager->State().TargetNotReached[static_cast<size_t>(item->errorMark)] != 0;
    f.Show(Text(failed ? kSweepErrorKey : kSweepStartKey));
}

void ByteBar(CellFrame& f) {
    const std::string_view name = NameOf(f);
    int32_t byte = -1;
    if (const ManualItem* m = Find(kManualItems, name, &ManualItem::bar)) byte = m->byte;
    if (const AutoItem* a = Find(kAutoItems, name, &AutoItem::bar)) byte = a->byte;
    if (byte >= 0) FormatLevelBar(f.request, ImageByte(f, byte), 0, kByteMax);
}

void TargetValue(CellFrame& f) {
    const Target* target = Find(kTargets, NameOf(f), &Target::value);
    if (!target) return;
    int32_t value = 0;
    if (EditByte(f, target->byte, 1, value) != 1) return;
    f.image.SetByte(target->byte, static_cast<uint8_t>(value));
    f.resultFlags |= kImageChanged;
}

void TargetBar(CellFrame& f) {
    const Target* target = Find(kTargets, NameOf(f), &Target::bar);
    if (!target) return;
    // Integer volts and hundredths of 0..5 V, truncated.
    const int32_t b = ImageByte(f, target->byte);
    f.Show(conv::Format("%d.%02dV", b * 5 / kByteMax, (b * 500 / kByteMax) % 100));
}

void SweepCommandValue(CellFrame& f) {
    const SweepCommand* command = Find(kSweepCommands, NameOf(f), &SweepCommand::value);
    if (!command || !gAdjustManager || !f.IsEnter()) return;
    gAdjustManager->StartSweep(command->sweep, 0);
    f.resultFlags |= kImageChanged;
}

void SweepCommandText(CellFrame& f) {
    f.Show(Text(kSweepStartKey));
}

void LevelValue(CellFrame& f) {
    const LevelItem* item = Find(kLevelItems, NameOf(f), &LevelItem::value);
    if (!item || !gAdjustManager) return;
    AdjustState& s = gAdjustManager->State();
    uint8_t& edited = gAdjustManager->EditedLevel(item->phase);
    int32_t value = edited;
    const int answer = ConvAdjustCell(f.request, 1, value, 0, kByteMax, f.result);
    const bool running = s.AdjustPhase == item->phase;
    // The user may only set the level the procedure waits on.
    if (answer == 1 && running && s.LevelStep == kSubSecondSend) edited = static_cast<uint8_t>(value);
    if (answer != 2) return;
    if (s.AdjustPhase == 0 && s.LevelStep == kSubIdle) {
        // The procedure marks itself running once its first command is out: a
        // start the busy link refused leaves the phase free for the next one.
        gAdjustManager->StartSweep(item->sweep, item->barByte);
    } else if (running && s.LevelStep == kSubSecondSend) {
        s.LevelStep = kSubAccepted;
    }
}

void LevelBar(CellFrame& f) {
    const LevelItem* item = Find(kLevelItems, NameOf(f), &LevelItem::bar);
    if (!item || !gAdjustManager) return;
    if (gAdjustManager->State().AdjustPhase == item->phase)
        FormatLevelBar(f.request, ImageByte(f, item->barByte), 0, kByteMax);
    else
        f.Show(Text(kCatchStartKey));
}

// --- The two-step signal-strength capture

constexpr uint8_t kPhaseCapture = static_cast<uint8_t>(AdjustPhaseCode::SignalCapture);

void CaptureValue(CellFrame& f) {
    if (!gAdjustManager) return;
    AdjustManager& m = *gAdjustManager;
    AdjustState& s = m.State();
    const uint8_t first = ImageByte(f, kCaptureFirst);
    const uint8_t second = ImageByte(f, kCaptureSecond);
    int32_t value = first;
    if (ConvAdjustCell(f.request, 1, value, 0, kByteMax, f.result) == 2) {
        if (s.AdjustPhase == 0 && s.LevelStep == kSubIdle) {
            s.AdjustPhase = kPhaseCapture;
            s.LevelStep = kSubFirstLive;
        } else if (s.AdjustPhase == kPhaseCapture && s.LevelStep == kSubFirstLive) {
            s.LevelStep = kSubFirstSend;
        } else if (s.AdjustPhase == kPhaseCapture && s.LevelStep == kSubSecondLive) {
            s.LevelStep = kSubSecondSend;
        }
    }
    if (s.AdjustPhase != kPhaseCapture || !MaySend(f, m)) return;
    // The live readings repeat with every redraw while the user watches them.
    uint8_t* image = f.image.Data();
    const bool linkFree = !m.IsItemPending() && !m.IsDriverBusy();
    switch (s.LevelStep) {
    case kSubFirstLive:
        m.SendCode(kCodeRead, kReadSignal, &image[kCaptureFirst], true);
        break;
    case kSubFirstSend:
        if (!linkFree) break;
        m.SendCode(kCodeFirstReference, first, &image[kCaptureFirst], false);
        s.LevelStep = kSubSecondLive;
        break;
    case kSubSecondLive:
        m.SendCode(kCodeRead, kReadSignal, &image[kCaptureSecond], true);
        break;
    case kSubSecondSend:
        if (!linkFree) break;
        m.SendCode(kCodeSecondReference, second, &image[kCaptureSecond], false);
        s.LevelStep = kSubIdle;
        s.AdjustPhase = 0;
        f.resultFlags |= kImageChanged;
        break;
    default:
        break;
    }
}

void CaptureBar(CellFrame& f) {
    if (!gAdjustManager) return;
    const AdjustState& s = gAdjustManager->State();
    if (s.AdjustPhase != kPhaseCapture)
        f.Show(Text(kCatchStartKey));
    else if (s.LevelStep == kSubFirstLive)
        f.Show("RSSI S3 Level");
    else if (s.LevelStep == kSubSecondLive)
        f.Show("RSSI S1 Level");
}

void RssiLevel(CellFrame& f) {
    if (!gAdjustManager) return;
    AdjustState& s = gAdjustManager->State();
    int32_t value = s.RssiLevel;
    if (ConvAdjustCell(f.request, 0, value, kRssiMin, kRssiMax, f.result) == 1 && value != s.RssiLevel) {
        s.RssiLevel = static_cast<uint8_t>(value);
        f.resultFlags |= kImageChanged;
    }
    if (s.RssiLevel != s.RadioRssiLevel && MaySend(f, *gAdjustManager))
        gAdjustManager->SendCode(kCodeRssiLevel, s.RssiLevel, &s.RadioRssiLevel, false);
}

// --- The test channel

int32_t ChannelRecord(int32_t channel) {
    return kChannelRecords + TestChannel::kRecordSize * channel;
}

bool Programmed(const cmcEeprom& image, int32_t channel) {
    return !ReadTestChannel(image, channel).empty;
}

// The next programmed channel from candidate on in direction step, wrapping
// round the 40; current when no other is programmed.
int32_t NextProgrammed(const cmcEeprom& image, int32_t current, int32_t candidate, int32_t step) {
    auto wrap = [](int32_t c) { return c > TestChannel::kCount ? 1 : c < 1 ? TestChannel::kCount : c; };
    for (int32_t c = wrap(candidate); c != current; c = wrap(c + step))
        if (Programmed(image, c)) return c;
    return current;
}

void ChannelNumber(CellFrame& f) {
    if (!gAdjustManager) return;
    AdjustState& s = gAdjustManager->State();
    uint8_t& selected = s.WorkBytes[0];
    // One beyond each end, so that stepping past either wraps.
    int32_t value = selected;
    ConvAdjustCell(f.request, 0, value, 0, TestChannel::kCount + 1, f.result);
    if (value != selected) {
        const int32_t next = NextProgrammed(f.image, selected, value, selected < value ? 1 : -1);
        if (next != selected) {
            selected = static_cast<uint8_t>(next);
            f.resultFlags |= kImageChanged;
        }
        // The converter showed the stepped number; show the one chosen.
        f.Show(conv::Format("%d", selected));
    }
    if (selected != s.RadioChannel && MaySend(f, *gAdjustManager))
        gAdjustManager->SendCode(kCodeChannel, selected, &s.RadioChannel, false);
}

uint8_t SelectedRecordByte(const CellFrame& f, int32_t offset) {
    const int32_t channel = gAdjustManager ? gAdjustManager->State().WorkBytes[0] : 1;
    return f.image.GetByte(ChannelRecord(channel) + offset);
}

void ChannelType(CellFrame& f) {
    static constexpr const char* kTypes[] = {"Analog", "Mixed(Analog)", "Mixed(Digital)", "Digital"};
    f.Show(conv::Format("CH Type=%s", kTypes[SelectedRecordByte(f, kChannelTypeByte) & 3]));
}

uint32_t Frequency(const CellFrame& f, int32_t offset) {
    uint32_t hz = 0;
    for (int32_t i = 0; i < 4; ++i)
        hz = hz << 8 | SelectedRecordByte(f, offset + i);
    return hz & 0x7FFFFFFFu;
}

void ChannelFrequencies(CellFrame& f) {
    // Megahertz with five decimals, cut to 10 Hz.
    const uint32_t rx = Frequency(f, 0);
    const uint32_t tx = Frequency(f, 4);
    f.Show(conv::Format("RX=%u.%05u, TX=%u.%05u", rx / 1000000, rx % 1000000 / 10, tx / 1000000,
                        tx % 1000000 / 10));
}

void ChannelPower(CellFrame& f) {
    const int32_t channel = gAdjustManager ? gAdjustManager->State().WorkBytes[0] : 1;
    const uint8_t power = f.image.GetByte(kPowerRecords + kPowerRecordSize * channel);
    const char* level = !(power & 1) ? "Low2" : (power & 2) ? "High" : "Low1";
    const bool narrow = SelectedRecordByte(f, kChannelTypeByte) & kNarrowBit;
    f.Show(conv::Format("RF Power=%s, Mode=%s", level, narrow ? "Narrow" : "Wide"));
}

} // namespace

void RegisterAdjustItemCells(CellCaseList& list) {
    for (const ManualItem& item : kManualItems) {
        list.Add(item.value, ManualValue);
        list.Add(item.bar, ByteBar);
    }
    for (const AutoItem& item : kAutoItems) {
        list.Add(item.value, AutoValue);
        list.Add(item.bar, ByteBar);
        list.Add(item.sweepCell, AutoSweepText);
    }
    for (const Target& target : kTargets) {
        list.Add(target.value, TargetValue);
        list.Add(target.bar, TargetBar);
    }
    for (const SweepCommand& command : kSweepCommands) {
        list.Add(command.value, SweepCommandValue);
        list.Add(command.sweepCell, SweepCommandText);
    }
    for (const LevelItem& item : kLevelItems) {
        list.Add(item.value, LevelValue);
        list.Add(item.bar, LevelBar);
    }
    list.Add("CL_Adjust_AUTO01", CaptureValue);
    list.Add("CL_Adjust_AUTO01_Bar", CaptureBar);
    list.Add("CL_Adjust_Rssi", RssiLevel);
    list.Add("CL_Adjust_ChNo", ChannelNumber);
    list.Add("CL_Adjust_ChGrp", ChannelType);
    list.Add("CL_Adjust_ChNoFreq", ChannelFrequencies);
    list.Add("CL_Adjust_RfPow", ChannelPower);
}

} // namespace adj
