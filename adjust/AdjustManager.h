#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class cmcEeprom;

namespace adj {

// Which multi-step procedure of the application manager runs (AdjustPhase).
enum class AdjustPhaseCode : uint8_t {
    None = 0,
    SignalCapture = 1,
    // 2..13: a level procedure.
    FirstLevel = 2,
    LastLevel = 13,
    CloneReadForEntry = 14,
    EntryPending = 15,
};

// The application manager's adjustment state that the cells read and set,
// with the values it starts with.
struct AdjustState {
    uint8_t AdjustPhase = 0;
    int32_t LastLinkSpeed = -1; // the speed the switch script was last built for; -1 none
    std::array<uint8_t, 6> WorkBytes{1, 1, 1, 1, 1, 1}; // the first: the selected test channel, 1..40
    uint8_t RadioChannel = 1;                           // the test channel the radio was last told
    uint8_t RssiLevel = 1;                              // the signal-strength level, 1..14
    uint8_t RadioRssiLevel = 1;                         // the level the radio was last told
    int32_t CommandResult = 0;                          // cleared before each command or list
    uint8_t LevelStep = 0;                              // sub-step of the running level procedure
    int32_t ValueCounter = 257;                         // the swept value
    int32_t PreviousValue = 257;                        // the value before the sweep
    uint8_t PeakSearch = 7;                             // 7: no peak search runs
    uint8_t WorkByte = 0;
    std::array<uint8_t, 3> TargetNotReached{}; // of the AUTO04, AUTO05 and AUTO06 searches
    uint8_t TargetSearch = 4;                  // 4: no target search runs
    // A transfer failed: drawing an item sends nothing until the user's next
    // key, value or command on one, so a silent radio costs one box, not one
    // per redraw.
    bool RedrawSendsHeld = false;
};

// The automatic procedures a cell starts.
enum class Sweep : uint8_t {
    BpfAll,
    BpfT1,
    BpfT2,
    BpfT3,
    BpfT4,
    Auto02,
    Auto03,
    Auto04,
    Auto05,
    Auto06,
    Auto10,
    Auto11,
    Auto12,
    Auto13,
    Auto14,
    Auto15,
    Auto16,
    Auto17,
    Auto18,
    ModMC,
    ModML,
    ModMH,
    Level,
    ChannelScan,
    Auto19,
    Auto20,
};

// What the adjustment program's cells need of the manager's adjustment
// operations: the radio copy, the adjustment state, sending an item or a
// list of them to the radio, starting the automatic procedures, whether the
// link is free, and the A/D readings. The adjustment link implements it; the
// cells reach it through gAdjustManager.
class AdjustManager {
public:
    virtual ~AdjustManager() = default;

    // What the radio is known to hold.
    virtual cmcEeprom& RadioCopy() = 0;
    virtual AdjustState& State() = 0;

    // Sends adjustment item `item` with its value from the working image;
    // 0 when the command went out, else the link's refusal.
    virtual int32_t SendAdjustCommand(int32_t item) = 0;
    // Sends a command list (the A/D reads, the level steps...).
    virtual int32_t SendCommandList(int32_t list) = 0;
    virtual void StartSweep(Sweep sweep, int32_t item) = 0;

    // An adjustment item waits for its reply; the clone driver is at work.
    virtual bool IsItemPending() const = 0;
    virtual bool IsDriverBusy() const = 0;
    // Asks the radio for its A/D readings.
    virtual void ReadAdValues() = 0;

    // Sends command code with value. Without readBack, target (when given)
    // records the value as sent: a radio-copy byte once the radio has it, any
    // other byte at once; with readBack it takes the radio's answer. Nothing
    // goes out while the link is busy.
    virtual void SendCode(int32_t code, int32_t value, uint8_t* target, bool readBack) = 0;
    // The level the user edits for the level procedure of AdjustPhase phase
    // (2..13); a spare byte for any other phase.
    virtual uint8_t& EditedLevel(int32_t phase) = 0;
    // A/D reading n, in the monitor's row order: battery, noise, SD, LVIN,
    // temperature, TXDET, VOXT, FRQC, T1, T2, DEV, DTCS, SQL; 0 outside 0..12.
    virtual uint8_t AdReading(int32_t n) const = 0;
};

extern AdjustManager* gAdjustManager;

// Installs a manager for a scope, putting the previous one back.
class ScopedAdjustManager {
public:
    explicit ScopedAdjustManager(AdjustManager* manager) : old_(gAdjustManager) { gAdjustManager = manager; }
    ~ScopedAdjustManager() { gAdjustManager = old_; }
    ScopedAdjustManager(const ScopedAdjustManager&) = delete;
    ScopedAdjustManager& operator=(const ScopedAdjustManager&) = delete;

private:
    AdjustManager* old_;
};

} // namespace adj
