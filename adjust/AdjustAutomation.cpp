#include "adjust/AdjustAutomation.h"

#include "adjust/TestChannel.h"
#include "adjust/indCloneMan.h"
#include "foundation/ColorName.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/cmcEeprom.h"

#include <algorithm>
#include <cstdlib>

namespace adj {

namespace {

constexpr int kSelect = 64; // selects the item the next code 65 sets
constexpr int kSetSelected = 65;
constexpr int kRead = 3; // reads the A/D channel its value names
constexpr int kChannel = 0;
constexpr int kEnterAdjust = 2;
// The A/D channels the procedures read: the band-pass detector and the searched level.
const uint8_t kDetector = 2;
constexpr int kSearchSelector = 3;
constexpr int32_t kReferenceFrequency = 176; // 16-bit, big-endian
// The status bar's colours: window text on the button face.

// The six swept items, by peak state.
struct Peak {
    int code;     // direct code, or the item code 64 selects
    int32_t byte; // its image byte
    bool selected;
    int sender; // item value sender of the result (selected items)
};
constexpr Peak kPeaks[6] = {
    {19, 84, false, -1}, {20, 85, false, -1}, {88, 88, true, 0},
    {90, 90, true, 1},   {89, 89, true, 2},   {91, 91, true, 3},
};
// The items the item value senders set, in sender order.
constexpr int kSenderItems[5] = {88, 90, 89, 91, 186};

struct SearchItem {
    int code; // the value's code (65 after selecting the item)
    int32_t byte;
    int32_t target;
    bool selects;
};
constexpr SearchItem kSearches[3] = {
    {6, 97, 170, false}, {kSetSelected, 186, 187, true}, {7, 98, 171, false}};
constexpr int kSearchItem = 186; // what AUTO05 selects

// The items the cells send by their own code, by image byte.
struct ItemCode {
    int32_t byte;
    int code;
};
constexpr ItemCode kItemCodes[] = {{169, 5},  {164, 9},  {163, 10}, {162, 11}, {102, 16},
                                   {116, 18}, {109, 17}, {123, 27}, {101, 12}, {115, 14},
                                   {108, 13}, {122, 26}, {83, 15},  {193, 8},  {175, 33},
                                   {84, 19},  {85, 20},  {97, 6},   {98, 7}};

struct Level {
    int code;
    int32_t byte;
    int lowSlopeItem;
    int highSlopeItem;
    uint8_t phase[3]; // centre, low, high
};
constexpr Level kLevels[4] = {
    {13, 108, 180, 181, {2, 4, 3}},
    {14, 115, 182, 183, {5, 7, 6}},
    {12, 101, 178, 179, {8, 10, 9}},
    {26, 122, 184, 185, {11, 13, 12}},
};

int32_t Slope(int levelDifference, int32_t frequencyDifference) {
    if (frequencyDifference <= 0) return 0;
    return std::clamp(levelDifference * 256 / frequencyDifference, -128, 127);
}

} // namespace

AdjustAutomation::AdjustAutomation(AdjustWorkspace& workspace) : ws_(workspace) {
    ws_.CloneMan().SetHost(this);
}

AdjustAutomation::~AdjustAutomation() {
    ws_.CloneMan().SetHost(nullptr);
}

// ---------------------------------------------------------------- commands

bool AdjustAutomation::IsItemPending() const {
    return ws_.CloneMan().IsPending();
}

bool AdjustAutomation::IsDriverBusy() const {
    return ws_.CloneMan().IsBusy();
}

cmcEeprom& AdjustAutomation::RadioCopy() {
    return ws_.RadioCopy();
}

int32_t AdjustAutomation::SendAdjustCommand(int32_t item) {
    for (int sender = 0; sender < 5; ++sender)
        if (kSenderItems[sender] == item) return SendCommandList(item);
    for (const ItemCode& c : kItemCodes) {
        if (c.byte != item) continue;
        return Send(c.code, ws_.WorkingImage().GetByte(item), nullptr, Store{-1, item, nullptr}) ? 0 : 1;
    }
    return 1;
}

int32_t AdjustAutomation::SendCommandList(int32_t list) {
    for (int sender = 0; sender < 5; ++sender)
        if (kSenderItems[sender] == list)
            return SendItemValue(sender, ws_.WorkingImage().GetByte(list)) ? 0 : 1;
    return 1;
}

void AdjustAutomation::StartSweep(Sweep sweep, int32_t) {
    using Start = void (AdjustAutomation::*)();
    static constexpr Start kStarts[] = {
        &AdjustAutomation::StartSweepBpfAll, &AdjustAutomation::StartSweepBpfT1,
        &AdjustAutomation::StartSweepBpfT2,  &AdjustAutomation::StartSweepBpfT3,
        &AdjustAutomation::StartSweepBpfT4,  &AdjustAutomation::StartSweepAuto02,
        &AdjustAutomation::StartSweepAuto03, &AdjustAutomation::StartSweepAuto04,
        &AdjustAutomation::StartSweepAuto05, &AdjustAutomation::StartSweepAuto06,
        &AdjustAutomation::StartSweepAuto10, &AdjustAutomation::StartSweepAuto11,
        &AdjustAutomation::StartSweepAuto12, &AdjustAutomation::StartSweepAuto13,
        &AdjustAutomation::StartSweepAuto14, &AdjustAutomation::StartSweepAuto15,
        &AdjustAutomation::StartSweepAuto16, &AdjustAutomation::StartSweepAuto17,
        &AdjustAutomation::StartSweepAuto18, &AdjustAutomation::StartSweepModMC,
        &AdjustAutomation::StartSweepModML,  &AdjustAutomation::StartSweepModMH};
    const auto index = static_cast<size_t>(sweep);
    if (index < std::size(kStarts))
        (this->*kStarts[index])();
    else if (sweep == Sweep::ChannelScan)
        EnterAdjustment();
    else if (sweep == Sweep::Auto19)
        StartSweepAuto19();
    else if (sweep == Sweep::Auto20)
        StartSweepAuto20();
}

uint8_t& AdjustAutomation::EditedLevel(int32_t phase) {
    for (int group = 0; group < 4; ++group) {
        LevelGroup& g = levels[group];
        if (LevelPhase(group, kCentre) == phase) return g.editedCentre;
        if (LevelPhase(group, kLow) == phase) return g.editedLow;
        if (LevelPhase(group, kHigh) == phase) return g.editedHigh;
    }
    static uint8_t spare = 0;
    return spare;
}

void AdjustAutomation::SendAdjustCommand(int code, int value, uint8_t* target, bool readBack) {
    if (readBack) {
        Send(code, value, target, {});
        return;
    }
    Store store;
    cmcEeprom& radio = ws_.RadioCopy();
    if (target && target >= radio.Data() && target < radio.Data() + radio.GetSize())
        store.radio = static_cast<int32_t>(target - radio.Data());
    else
        store.other = target;
    Send(code, value, nullptr, store);
}

bool AdjustAutomation::Send(int code, int value, uint8_t* readBack, Store store) {
    indCloneMan& man = ws_.CloneMan();
    if (man.IsBusy() || !ws_.MainFormEnabled()) return false;
    man.SetModel(ws_.ModelWord(), 0);
    man.SetSingle(code, value, readBack);
    if (!man.StartWriteSingle(&AdjustAutomation::OnAdjustCommandDone, this)) return false;
    Keep(store, value);
    return true;
}

bool AdjustAutomation::SendList(const ItemEntry* list, Store store, int value) {
    indCloneMan& man = ws_.CloneMan();
    if (man.IsBusy()) return false;
    man.SetModel(ws_.ModelWord(), 0);
    man.SetItemTable(list);
    if (!man.StartWriteList(&AdjustAutomation::OnAdjustListDone, this)) return false;
    Keep(store, value);
    return true;
}

void AdjustAutomation::Keep(Store store, int value) {
    const auto v = static_cast<uint8_t>(value);
    if (store.image >= 0) SetImage(store.image, v);
    if (store.radio >= 0) {
        // The radio copy holds what the radio is known to hold: it follows once the transfer ends well.
        radioStores_.emplace_back(store.radio, v);
        if (Running()) sentItems_.push_back(store.radio);
    }
    if (store.other) *store.other = v;
}

bool AdjustAutomation::SendSweepList(int code, int value, uint8_t* readings, bool coarse) {
    const int step = coarse ? 2 : 1;
    for (int k = 0; k < 4; ++k) {
        listValues_[k] = static_cast<uint8_t>(value + k * step);
        list_[2 * k] = {code, &listValues_[k], nullptr};
        list_[2 * k + 1] = {kRead, &kDetector, &readings[k]};
    }
    list_[8] = ItemEntry{};
    return SendList(list_);
}

bool AdjustAutomation::SendSelectedSweepList(int item, int value, uint8_t* readings, bool coarse) {
    const int step = coarse ? 2 : 1;
    selected_ = static_cast<uint8_t>(item);
    for (int k = 0; k < 4; ++k) {
        listValues_[k] = static_cast<uint8_t>(value + k * step);
        list_[3 * k] = {kSelect, &selected_, nullptr};
        list_[3 * k + 1] = {kSetSelected, &listValues_[k], nullptr};
        list_[3 * k + 2] = {kRead, &kDetector, &readings[k]};
    }
    list_[12] = ItemEntry{};
    return SendList(list_);
}

bool AdjustAutomation::SendItemValue(int sender, int value) {
    uint8_t* bytes = itemValues_[sender];
    bytes[0] = static_cast<uint8_t>(kSenderItems[sender]);
    bytes[1] = static_cast<uint8_t>(value);
    const ItemEntry list[] = {{kSelect, &bytes[0], nullptr}, {kSetSelected, &bytes[1], nullptr}, ItemEntry{}};
    return SendList(list, Store{-1, kSenderItems[sender], nullptr}, value);
}

bool AdjustAutomation::SendAdReadList() {
    ItemEntry list[kAdReadings + 1];
    const uint8_t* selectors[kAdReadings] = {
        &adSelectors_[0],   &adSelectors_[1],    &adSelectors_[2],   &adSelectors_[3],   &adSelectorRow_[0],
        &adSelectorRow_[1], &adSelectorRow_[2],  &adSelectorRow_[3], &adSelectorRow_[7], &adSelectorRow_[8],
        &adSelectorRow_[9], &adSelectorRow_[10], &adSelectorRow_[11]};
    for (int i = 0; i < kAdReadings; ++i)
        list[i] = {kRead, selectors[i], &adReadings_[i]};
    list[kAdReadings] = ItemEntry{};
    return SendList(list);
}

RangeList AdjustAutomation::GetCloneArea(int kind) const {
    return {{kind == 0 ? 256 : 0, cmcCloneDrv::kRadioLast}, kRangeListEnd};
}

void AdjustAutomation::OnAdjustCommandDone(void* user, dst_CDrv_Result* result) {
    auto* self = static_cast<AdjustAutomation*>(user);
    self->OnDone(*result);
    if (gEvMan) gEvMan->Send(evRedrawSheet);
}

void AdjustAutomation::OnAdjustListDone(void* user, dst_CDrv_Result* result) {
    auto* self = static_cast<AdjustAutomation*>(user);
    self->OnDone(*result);
    if (!gEvMan) return;
    if (self->ws_.AdWindowOpen()) gEvMan->Send(evAdListDone);
    gEvMan->Send(evRedrawSheet);
}

void AdjustAutomation::OnDone(const dst_CDrv_Result& result) {
    const std::vector<std::pair<int32_t, uint8_t>> stores = std::move(radioStores_);
    radioStores_.clear();
    if (result.result == kCloneOk) {
        for (const auto& [address, value] : stores)
            ws_.RadioCopy().SetByte(address, value);
    } else {
        state_.RedrawSendsHeld = true;
        if (Running()) AbortProcedure();
    }
}

// ---------------------------------------------------------------- procedures

bool AdjustAutomation::Running() const {
    return state_.AdjustPhase != 0 || state_.PeakSearch != kPeakIdle || state_.TargetSearch != kSearchIdle;
}

bool AdjustAutomation::CanStart() const {
    AdjustWorkspace& ws = ws_;
    return !Running() && !ws.CloneMan().IsBusy() && !ws.CloneMan().IsPending() && ws.MainFormEnabled();
}

void AdjustAutomation::BeginProcedure() {
    journal_.clear();
    sentItems_.clear();
    listOut_ = -1;
}

void AdjustAutomation::Journal(int32_t address) {
    for (const auto& [a, v] : journal_)
        if (a == address) return;
    journal_.emplace_back(address, ws_.WorkingImage().GetByte(address));
}

void AdjustAutomation::SetImage(int32_t address, int value) {
    Journal(address);
    ws_.WorkingImage().SetByte(address, static_cast<uint8_t>(value));
}

uint8_t AdjustAutomation::ImageByte(int32_t address) {
    return ws_.WorkingImage().GetByte(address);
}

void AdjustAutomation::AbortProcedure() {
    cmcEeprom& image = ws_.WorkingImage();
    for (const auto& [a, v] : journal_)
        image.SetByte(a, v);
    // What the radio holds of these items is unknown now: the copy differs from
    // the image, so the user's next change of them is sent.
    for (const auto& [a, v] : journal_)
        ws_.RadioCopy().SetByte(a, static_cast<uint8_t>(~v));
    for (int32_t a : sentItems_)
        ws_.RadioCopy().SetByte(a, static_cast<uint8_t>(~image.GetByte(a)));
    journal_.clear();
    sentItems_.clear();
    listOut_ = -1;
    state_.PeakSearch = kPeakIdle;
    state_.TargetSearch = kSearchIdle;
    chained = 0;
    state_.PreviousValue = 257;
    state_.AdjustPhase = 0;
    state_.LevelStep = 0;
}

void AdjustAutomation::StepPass() {
    if (IsItemPending() || IsDriverBusy()) return;
    StepChannelScan();
    StepSweepBpfT2();
    StepSweepBpfT1();
    StepSweepBpfT4();
    StepSweepBpfT3();
    StepSweepAuto03();
    StepSweepAuto02();
    StepSweepAuto04();
    StepSweepAuto05();
    StepSweepAuto06();
    for (int group = 0; group < 4; ++group)
        for (int kind : {kCentre, kLow, kHigh})
            StepLevel(group, kind);
}

void AdjustAutomation::EnterAdjustment() {
    BeginProcedure();
    state_.TargetNotReached = {};
    state_.LastLinkSpeed = -1;
    state_.AdjustPhase = kPhaseEntry;
    if (!Send(kEnterAdjust, 1, nullptr, {})) state_.AdjustPhase = 0;
}

// ---------------------------------------------------------------- peak sweeps

void AdjustAutomation::StartPeak(int state, bool chain) {
    if (!CanStart()) return;
    BeginProcedure();
    const Peak& p = kPeaks[state];
    // A chain selects its second item first, for the preset of its first step.
    const int select = chain ? kPeaks[state + 1].code : p.code;
    const bool sent = p.selected ? Send(kSelect, select, nullptr, {}) : Send(p.code, 0, nullptr, {p.byte});
    if (!sent) return;
    state_.ValueCounter = 0;
    ranges[state] = {};
    state_.PeakSearch = static_cast<uint8_t>(state);
    if (chain) chained = 1;
    toggle = 1;
}

void AdjustAutomation::StartSweepBpfAll() {
    if (!CanStart()) return;
    BeginProcedure();
    // The second filter stands in the middle while the first is swept.
    if (!Send(kPeaks[1].code, 64, nullptr, {kPeaks[1].byte})) return;
    state_.ValueCounter = 0;
    ranges[0] = ranges[1] = {};
    state_.PeakSearch = 0;
    chained = 1;
    toggle = 1;
}

void AdjustAutomation::StartSweepAuto19() {
    StartPeak(2, true);
    if (state_.PeakSearch == 2) {
        state_.PreviousValue = 64;
        ranges[3] = {};
    }
}

void AdjustAutomation::StartSweepAuto20() {
    StartPeak(4, true);
    if (state_.PeakSearch == 4) {
        state_.PreviousValue = 64;
        ranges[5] = {};
    }
}

void AdjustAutomation::JudgeList() {
    BestRange& r = ranges[state_.PeakSearch];
    for (int k = 0; k < 4; ++k) {
        const auto value = static_cast<uint8_t>(listOut_ + k * listStep_);
        const uint8_t reading = replies[k];
        if (reading == r.best) {
            r.high = value;
        } else if (reading > r.best) {
            r.low = r.high = value;
            r.best = reading;
        }
    }
    listOut_ = -1;
}

bool AdjustAutomation::StepPeak(int state) {
    if (state_.PeakSearch != state) return false;
    const Peak& p = kPeaks[state];
    if (chained && p.selected && state % 2 == 0 && state_.ValueCounter == 0 && state_.PreviousValue == 64) {
        // The chain's second item, selected by the start, goes to the middle first.
        if (!Send(kSetSelected, 64, nullptr, {kPeaks[state + 1].byte})) return false;
        state_.PreviousValue = 257;
        return false;
    }
    // The readings of the list that has just completed, each for the value it was taken at.
    if (listOut_ >= 0) JudgeList();
    if (state_.ValueCounter < 256) {
        const bool coarse = chained != 0;
        const bool sent = p.selected ? SendSelectedSweepList(p.code, state_.ValueCounter, replies, coarse)
                                     : SendSweepList(p.code, state_.ValueCounter, replies, coarse);
        if (!sent) return false;
        SetImage(p.byte, state_.ValueCounter & 0xFF);
        listOut_ = state_.ValueCounter;
        listStep_ = coarse ? 2 : 1;
        state_.ValueCounter += 4 * listStep_;
        return false;
    }
    return FinishPeak(state);
}

bool AdjustAutomation::FinishPeak(int state) {
    const Peak& p = kPeaks[state];
    const BestRange& r = ranges[state];
    const int value = (r.low + r.high) >> 1;
    if (p.selected) {
        if (!SendItemValue(p.sender, value)) return false;
        SetImage(p.byte, value);
    } else if (!Send(p.code, value, nullptr, {p.byte})) {
        return false;
    }
    if (chained && state % 2 == 0) {
        state_.ValueCounter = 0;
        state_.PeakSearch = static_cast<uint8_t>(state + 1);
        return false;
    }
    // The band-pass pass "all" tunes filters 1 and 2: the user learns that
    // filters 3 and 4 were left as they were.
    if (state == 1 && chained && gEvMan && gGTex)
        gEvMan->PostText(evStatusText, clWindowText, clBtnFace, gGTex->GetText(kBpfAllDoneKey));
    chained = 0;
    state_.PeakSearch = kPeakIdle;
    return true;
}

// ---------------------------------------------------------------- target searches

void AdjustAutomation::StartSearch(int search) {
    if (!CanStart()) return;
    BeginProcedure();
    const SearchItem& s = kSearches[search];
    const uint8_t saved = ImageByte(s.byte);
    const bool sent =
        s.selects ? Send(kSelect, kSearchItem, nullptr, {}) : Send(s.code, 0, nullptr, {s.byte});
    if (!sent) return;
    Search& x = searches[search];
    state_.TargetNotReached[search] = 0;
    x.lower = 0;
    x.upper = 255;
    x.min = x.max = 0;
    x.saved = saved;
    state_.ValueCounter = 0;
    // The first probe sets value 0 itself, whatever an earlier search left here.
    state_.PreviousValue = 257;
    state_.TargetSearch = static_cast<uint8_t>(search);
    toggle = 1;
}

bool AdjustAutomation::StepSearch(int search) {
    if (state_.TargetSearch != search) return false;
    if (toggle == 1) return SearchSend(search);
    if (kSearches[search].selects) {
        // The read moved the radio off the item: select it again before the next probe.
        if (!Send(kSelect, kSearchItem, nullptr, {})) return false;
        SearchEvaluate(search);
        toggle = 1;
        return false;
    }
    SearchEvaluate(search);
    toggle = 1;
    // Nothing was sent, so no completion would bring the next probe: send it now.
    return SearchSend(search);
}

bool AdjustAutomation::SearchSend(int search) {
    const SearchItem& s = kSearches[search];
    const Search& x = searches[search];
    const int value = state_.ValueCounter & 0xFF;
    if (std::abs(x.upper - x.lower) <= 1) {
        if (!Send(s.code, value, nullptr, {s.byte, s.byte})) return false;
        toggle = 0;
        state_.TargetSearch = kSearchIdle;
        return true;
    }
    if (state_.ValueCounter == state_.PreviousValue) {
        if (!Send(kRead, kSearchSelector, &replies[0], {})) return false;
        toggle = 0;
        return false;
    }
    if (!Send(s.code, value, nullptr, {s.byte, s.selects ? s.byte : -1})) return false;
    state_.PreviousValue = state_.ValueCounter;
    return false;
}

void AdjustAutomation::SearchEvaluate(int search) {
    Search& x = searches[search];
    const uint8_t r = replies[0];
    const uint8_t target = ImageByte(kSearches[search].target);
    if (state_.ValueCounter == 0) {
        x.min = r;
        state_.ValueCounter = 255;
    } else if (state_.ValueCounter == 255) {
        if (r < x.min) {
            // The reading falls as the value rises.
            x.max = x.min;
            x.min = r;
            x.upper = 0;
            x.lower = 255;
        } else {
            x.max = r;
            x.lower = 0;
            x.upper = 255;
        }
        if (x.max < target || x.min >= target) {
            state_.ValueCounter = x.saved;
            x.upper = x.lower = 0;
            state_.TargetNotReached[search] = 1;
        } else {
            state_.ValueCounter = 127;
        }
    } else if (r == target) {
        x.upper = x.lower = state_.ValueCounter;
    } else if (r > target) {
        x.upper = state_.ValueCounter;
        state_.ValueCounter = (state_.ValueCounter + x.lower) >> 1;
    } else {
        x.lower = state_.ValueCounter;
        state_.ValueCounter = (state_.ValueCounter + x.upper + 1) >> 1;
    }
}

// ---------------------------------------------------------------- level procedures

uint8_t AdjustAutomation::LevelPhase(int group, int kind) {
    return kLevels[group].phase[kind];
}

int32_t AdjustAutomation::SelectedFrequency() {
    return static_cast<int32_t>(ReadTestChannel(ws_.WorkingImage(), state_.WorkBytes[0]).frequency);
}

void AdjustAutomation::StartLevel(int group, int kind) {
    const uint8_t phase = LevelPhase(group, kind);
    // A cell may have marked its procedure already; any other procedure bars the start.
    const bool free = state_.AdjustPhase == 0 || (state_.AdjustPhase == phase && state_.LevelStep == 0);
    if (!free || state_.PeakSearch != kPeakIdle || state_.TargetSearch != kSearchIdle || IsDriverBusy() ||
        IsItemPending() || !ws_.MainFormEnabled())
        return;
    BeginProcedure();
    const Level& l = kLevels[group];
    LevelGroup& g = levels[group];
    const uint8_t level = ImageByte(l.byte);
    const int32_t frequency = SelectedFrequency();
    if (kind == kCentre) {
        if (!Send(kSelect, l.lowSlopeItem, nullptr, {})) return;
        g.editedCentre = level;
        g.centreFrequency = frequency;
        state_.LevelStep = 1;
    } else {
        if (!Send(l.code, level, nullptr, {l.byte})) return;
        if (kind == kLow) {
            g.editedLow = g.lowLevel = level;
            g.lowFrequency = frequency;
            g.referenceFrequency = ws_.WorkingImage().GetWord(kReferenceFrequency);
        } else {
            g.editedHigh = g.highLevel = level;
            g.highFrequency = frequency;
        }
        state_.LevelStep = 4;
    }
    state_.AdjustPhase = phase;
}

bool AdjustAutomation::StepLevel(int group, int kind) {
    if (state_.AdjustPhase == 0 || state_.AdjustPhase != LevelPhase(group, kind)) return false;
    const Level& l = kLevels[group];
    LevelGroup& g = levels[group];
    uint8_t& level = kind == kCentre ? g.centreLevel : kind == kLow ? g.lowLevel : g.highLevel;
    const uint8_t edited = kind == kCentre ? g.editedCentre : kind == kLow ? g.editedLow : g.editedHigh;
    const int slopeItem = kind == kHigh ? l.highSlopeItem : l.lowSlopeItem;
    switch (state_.LevelStep) {
    case 1:
    case 3:
        if (kind != kCentre || !Send(kSetSelected, 0, nullptr, {})) return false;
        ++state_.LevelStep;
        return false;
    case 2:
        if (kind != kCentre || !Send(kSelect, l.highSlopeItem, nullptr, {})) return false;
        state_.LevelStep = 3;
        return false;
    case 4:
        // Live: the level the user edits goes out once per change.
        if (edited != level && Send(l.code, edited, nullptr, {l.byte})) level = edited;
        return false;
    case 5:
        if (!Send(l.code, level, nullptr, {l.byte})) return false;
        if (kind == kCentre) {
            state_.LevelStep = 0;
            state_.AdjustPhase = 0;
            return true;
        }
        state_.LevelStep = 6;
        return false;
    case 6: {
        int32_t& slope = kind == kLow ? g.lowSlope : g.highSlope;
        slope = kind == kLow ? Slope(g.centreLevel - g.lowLevel, g.centreFrequency - g.lowFrequency)
                             : Slope(g.highLevel - g.centreLevel, g.highFrequency - g.centreFrequency);
        if (kind == kLow) {
            const int64_t product = static_cast<int64_t>(g.referenceFrequency - g.centreFrequency) * slope;
            g.extrapolated = static_cast<uint8_t>(g.centreLevel + ((product >> 8) & 0xFF));
        }
        if (!Send(kSelect, slopeItem, nullptr, {})) return false;
        state_.LevelStep = 7;
        return false;
    }
    case 7: {
        const int32_t slope = kind == kLow ? g.lowSlope : g.highSlope;
        if (!Send(kSetSelected, slope & 0xFF, nullptr, {slopeItem})) return false;
        state_.LevelStep = 8;
        return false;
    }
    case 8:
        if (!Send(l.code, g.centreLevel, nullptr, {l.byte})) return false;
        state_.LevelStep = 0;
        state_.AdjustPhase = 0;
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- channel scan

void AdjustAutomation::StepChannelScan() {
    if (state_.AdjustPhase != kPhaseEntry) return;
    int channel = 1;
    while (channel <= TestChannel::kCount && ReadTestChannel(ws_.WorkingImage(), channel).empty)
        ++channel;
    state_.WorkBytes[0] = static_cast<uint8_t>(channel > TestChannel::kCount ? 1 : channel);
    if (!IsDriverBusy()) {
        const ItemEntry list[] = {{kChannel, &state_.WorkBytes[0], nullptr}, ItemEntry{}};
        SendList(list);
    }
    state_.AdjustPhase = 0;
}

} // namespace adj
