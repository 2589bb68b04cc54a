#pragma once
#include "adjust/AdjustManager.h"
#include "image/cmcEeprom.h"

#include <array>
#include <string>
#include <vector>

namespace adj {

// Test double for the adjustment side of the manager: every operation is
// recorded as one call and answers with what the test put into the answer
// fields. Its radio copy is a working-layout image; a send that the answer
// lets go out brings the item's radio-copy byte level with the working image,
// as a radio that took the value would.
class RecordingAdjustManager : public AdjustManager {
public:
    struct Call {
        std::string name;
        int32_t value = 0;
        int32_t value2 = 0;
        bool operator==(const Call&) const = default;
    };

    RecordingAdjustManager();

    cmcEeprom& RadioCopy() override { return radioCopy_; }
    AdjustState& State() override { return state_; }
    int32_t SendAdjustCommand(int32_t item) override;
    int32_t SendCommandList(int32_t list) override;
    void StartSweep(Sweep sweep, int32_t item) override;
    bool IsItemPending() const override { return itemPending; }
    bool IsDriverBusy() const override { return driverBusy; }
    void ReadAdValues() override;
    // Recorded as ("SendCode", code, value). With sendAnswer 0 the radio
    // answers at once: a target takes the value, or readAnswer when read back.
    void SendCode(int32_t code, int32_t value, uint8_t* target, bool readBack) override;
    uint8_t& EditedLevel(int32_t phase) override;
    uint8_t AdReading(int32_t n) const override { return n >= 0 && n < 13 ? adReadings[n] : 0; }

    std::vector<Call> calls;
    int32_t sendAnswer = 0;
    bool itemPending = false;
    bool driverBusy = false;
    uint8_t readAnswer = 0;
    // The image the items' values are taken from; none: they are recorded as 0.
    const cmcEeprom* workingImage = nullptr;
    std::array<uint8_t, 12> editedLevels{};
    std::array<uint8_t, 13> adReadings{};

private:
    cmcEeprom radioCopy_;
    AdjustState state_;
};

} // namespace adj
