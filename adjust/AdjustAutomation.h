#pragma once
#include "adjust/AdjustLinkHost.h"
#include "adjust/AdjustManager.h"
#include "adjust/AdjustWorkspace.h"
#include "adjust/imcCloneDrv.h"
#include "clone/dst_CDrv_Result.h"
#include "image/RangeList.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace adj {

// The adjustment program's talk with a radio on the bench, as operations of
// its application manager: adjustment commands and command lists with their
// completions, the A/D read, the entry into adjustment use after a read, and
// the automatic procedures (peak sweeps, target searches, level slopes, the
// test-channel scan), each a state machine that takes one step per pass of
// the event handler while the link is free.
//
// One procedure runs at a time. A step whose command the link refused keeps
// its state and tries again at the next pass; a transfer that fails ends the
// running procedure and puts back the image bytes it had changed.
class AdjustAutomation : public AdjustManager, public AdjustLinkHost {
public:
    static constexpr int kPeakIdle = 7;
    static constexpr int kSearchIdle = 4;
    static constexpr uint8_t kPhaseEntryRead = 14;
    static constexpr uint8_t kPhaseEntry = 15;
    static constexpr int kAdReadings = 13;
    // The status line at the end of the band-pass pass "all", which leaves filters 3 and 4 alone.
    static constexpr const char* kBpfAllDoneKey = "GI_AppInd_Sweep_BpfAll_Done";

    explicit AdjustAutomation(AdjustWorkspace& workspace);
    ~AdjustAutomation() override;
    AdjustAutomation(const AdjustAutomation&) = delete;
    AdjustAutomation& operator=(const AdjustAutomation&) = delete;

    // --- Commands and lists
    // Sends one item. Without readBack, target (when given) takes the value: a
    // byte of the working image at once, a byte of the radio copy once the radio
    // has it. With readBack, target takes the radio's answer. Nothing happens
    // while the link is busy or the main form is disabled.
    void SendAdjustCommand(int code, int value, uint8_t* target, bool readBack);
    static void OnAdjustCommandDone(void* user, dst_CDrv_Result* result);
    static void OnAdjustListDone(void* user, dst_CDrv_Result* result);
    // Four values from value (step 2 when coarse), each followed by a read of
    // the band-pass detector into readings[k]. False while the link is busy.
    bool SendSweepList(int code, int value, uint8_t* readings, bool coarse);
    bool SendSelectedSweepList(int item, int value, uint8_t* readings, bool coarse);
    // Sets the item through code 64/65; the radio copy takes the value once sent.
    bool SendBpfT3Value(int value) { return SendItemValue(0, value); }
    bool SendBpfT4Value(int value) { return SendItemValue(1, value); }
    bool SendAuto02Value(int value) { return SendItemValue(2, value); }
    bool SendAuto03Value(int value) { return SendItemValue(3, value); }
    bool SendAuto05Value(int value) { return SendItemValue(4, value); }
    // The A/D monitor's 13 selectors into its 13 readings; false while the link is busy.
    bool SendAdReadList();
    bool IsItemPending() const override;
    bool IsDriverBusy() const override;
    // The image area the clone read, write and information query transfer.
    RangeList GetCloneArea(int kind) const;

    // --- The event handler's first part and the entry into adjustment use
    // Every procedure's step once, in the fixed order, unless an item is pending or the link is busy.
    void StepPass();
    // After a good read that entered adjustment: forget the link speed and the
    // search marks, and put the radio into adjustment use.
    void EnterAdjustment();

    // --- Peak sweeps and target searches
    void StartSweepBpfAll();
    void StartSweepBpfT1() { StartPeak(0, false); }
    void StartSweepBpfT2() { StartPeak(1, false); }
    void StartSweepAuto19();
    void StartSweepBpfT3() { StartPeak(2, false); }
    void StartSweepBpfT4() { StartPeak(3, false); }
    void StartSweepAuto20();
    void StartSweepAuto02() { StartPeak(4, false); }
    void StartSweepAuto03() { StartPeak(5, false); }
    void StartSweepAuto04() { StartSearch(0); }
    void StartSweepAuto05() { StartSearch(1); }
    void StartSweepAuto06() { StartSearch(2); }
    bool StepSweepBpfT1() { return StepPeak(0); }
    bool StepSweepBpfT2() { return StepPeak(1); }
    bool StepSweepBpfT3() { return StepPeak(2); }
    bool StepSweepBpfT4() { return StepPeak(3); }
    bool StepSweepAuto02() { return StepPeak(4); }
    bool StepSweepAuto03() { return StepPeak(5); }
    bool StepSweepAuto04() { return StepSearch(0); }
    bool StepSweepAuto05() { return StepSearch(1); }
    bool StepSweepAuto06() { return StepSearch(2); }

    // --- Level procedures (group 0..3, kind centre, low, high) and the channel scan
    enum LevelKind : int { kCentre = 0, kLow = 1, kHigh = 2 };
    void StartSweepAuto10() { StartLevel(0, kCentre); }
    void StartSweepAuto11() { StartLevel(0, kLow); }
    void StartSweepAuto12() { StartLevel(0, kHigh); }
    void StartSweepModMC() { StartLevel(1, kCentre); }
    void StartSweepModML() { StartLevel(1, kLow); }
    void StartSweepModMH() { StartLevel(1, kHigh); }
    void StartSweepAuto13() { StartLevel(2, kCentre); }
    void StartSweepAuto14() { StartLevel(2, kLow); }
    void StartSweepAuto15() { StartLevel(2, kHigh); }
    void StartSweepAuto16() { StartLevel(3, kCentre); }
    void StartSweepAuto17() { StartLevel(3, kLow); }
    void StartSweepAuto18() { StartLevel(3, kHigh); }
    bool StepSweepAuto10() { return StepLevel(0, kCentre); }
    bool StepSweepAuto11() { return StepLevel(0, kLow); }
    bool StepSweepAuto12() { return StepLevel(0, kHigh); }
    bool StepSweepModMC() { return StepLevel(1, kCentre); }
    bool StepSweepModML() { return StepLevel(1, kLow); }
    bool StepSweepModMH() { return StepLevel(1, kHigh); }
    bool StepSweepAuto13() { return StepLevel(2, kCentre); }
    bool StepSweepAuto14() { return StepLevel(2, kLow); }
    bool StepSweepAuto15() { return StepLevel(2, kHigh); }
    bool StepSweepAuto16() { return StepLevel(3, kCentre); }
    bool StepSweepAuto17() { return StepLevel(3, kLow); }
    bool StepSweepAuto18() { return StepLevel(3, kHigh); }
    void StepChannelScan();
    // The AdjustPhase value of a level procedure.
    static uint8_t LevelPhase(int group, int kind);

    // --- AdjustManager: what the cells call
    cmcEeprom& RadioCopy() override;
    AdjustState& State() override { return state_; }
    const AdjustState& State() const { return state_; }
    // The item named by its image byte, with the value the working image holds.
    int32_t SendAdjustCommand(int32_t item) override;
    // The item value list of a list item (88, 89, 90, 91, 186), by its image byte.
    int32_t SendCommandList(int32_t list) override;
    void StartSweep(Sweep sweep, int32_t item) override;
    void ReadAdValues() override { SendAdReadList(); }
    void SendCode(int32_t code, int32_t value, uint8_t* target, bool readBack) override {
        SendAdjustCommand(code, value, target, readBack);
    }
    uint8_t& EditedLevel(int32_t phase) override;
    uint8_t AdReading(int32_t n) const override { return n >= 0 && n < kAdReadings ? adReadings_[n] : 0; }

    // --- AdjustLinkHost
    int32_t& LastLinkSpeed() override { return state_.LastLinkSpeed; }
    bool PeakSweepRunning() const override { return state_.PeakSearch != kPeakIdle; }
    bool EnteringAdjustment() const override { return state_.AdjustPhase == kPhaseEntry; }

    // --- Fields the procedures keep besides State()
    struct BestRange {
        uint8_t low = 0;
        uint8_t high = 0;
        uint8_t best = 0;
    };
    BestRange ranges[6]; // items 19, 20, 88, 90, 89, 91
    uint8_t chained = 0;
    uint8_t replies[4] = {};
    uint8_t toggle = 0;
    struct Search {
        int32_t upper = 0;
        int32_t lower = 0;
        uint8_t min = 0;
        uint8_t max = 0;
        uint8_t saved = 0;
    };
    Search searches[3]; // AUTO04, AUTO05, AUTO06

    struct LevelGroup {
        uint8_t centreLevel = 0, lowLevel = 0, highLevel = 0, extrapolated = 0;
        uint8_t editedCentre = 0, editedLow = 0, editedHigh = 0;
        int32_t centreFrequency = 0, lowFrequency = 0, highFrequency = 0, referenceFrequency = 0;
        int32_t lowSlope = 0, highSlope = 0;
    };
    LevelGroup levels[4];

private:
    // Where a sent value lands: a working-image byte at once (-1 none), a
    // radio-copy byte once the transfer ended well (-1 none), or any other byte at once.
    struct Store {
        int32_t image = -1;
        int32_t radio = -1;
        uint8_t* other = nullptr;
    };
    bool Send(int code, int value, uint8_t* readBack, Store store);
    bool SendList(const ItemEntry* list) { return SendList(list, Store(), 0); }
    bool SendList(const ItemEntry* list, Store store, int value);
    bool SendItemValue(int sender, int value);
    void Keep(Store store, int value);
    void OnDone(const dst_CDrv_Result& result);

    // Procedures
    bool Running() const;
    bool CanStart() const;
    void BeginProcedure();
    void AbortProcedure();
    void Journal(int32_t address);
    void SetImage(int32_t address, int value);
    uint8_t ImageByte(int32_t address);
    void StartPeak(int state, bool chain);
    bool StepPeak(int state);
    void JudgeList();
    bool FinishPeak(int state);
    void StartSearch(int search);
    bool StepSearch(int search);
    bool SearchSend(int search);
    void SearchEvaluate(int search);
    void StartLevel(int group, int kind);
    bool StepLevel(int group, int kind);
    bool SendLevel(int group, uint8_t& level, uint8_t edited);
    int32_t SelectedFrequency();

    AdjustWorkspace& ws_;
    AdjustState state_;
    uint8_t listValues_[12] = {};
    uint8_t listCodes_[4] = {};
    uint8_t itemValues_[5][2] = {};
    ItemEntry list_[50];
    int32_t listOut_ = -1; // first value of the sweep list whose readings are still to judge
    int32_t listStep_ = 1;
    uint8_t selected_ = 0;                                 // the selected-item code of a sweep list
    std::vector<std::pair<int32_t, uint8_t>> radioStores_; // radio-copy bytes the transfer sets on success
    std::vector<std::pair<int32_t, uint8_t>> journal_;     // working-image bytes at the procedure's start
    std::vector<int32_t> sentItems_;                       // items the procedure sent to the radio
    uint8_t adSelectors_[4] = {1, 2, 3, 4};
    uint8_t adSelectorRow_[15] = {32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46};
    uint8_t adReadings_[kAdReadings] = {};
};

} // namespace adj
