#pragma once
#include "adjust/AdjustManager.h"
#include "image/cmcEeprom.h"

#include <string>
#include <vector>

namespace adj {

// Test double for the adjustment side of the manager: every operation is
// recorded as one call, changes nothing else and answers with what the test
// put into the answer fields. Its radio copy is a working-layout image.
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

    std::vector<Call> calls;
    int32_t sendAnswer = 0;
    bool itemPending = false;
    bool driverBusy = false;

private:
    cmcEeprom radioCopy_;
    AdjustState state_;
};

} // namespace adj
