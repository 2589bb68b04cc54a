#include "tests/support/RecordingAdjustManager.h"

#include "image/ImageLayout.h"

namespace adj {

RecordingAdjustManager::RecordingAdjustManager() {
    radioCopy_.SetSize(layout::kImageSize);
}

namespace {

// The item's value in the working image; the radio copy takes it when the send went out.
int32_t Sent(const cmcEeprom* working, cmcEeprom& radio, int32_t item, int32_t answer) {
    if (!working || !working->IsValidAddress(item)) return 0;
    const uint8_t value = working->GetByte(item);
    if (answer == 0 && radio.IsValidAddress(item)) radio.SetByte(item, value);
    return value;
}

} // namespace

int32_t RecordingAdjustManager::SendAdjustCommand(int32_t item) {
    calls.push_back({"SendAdjustCommand", item, Sent(workingImage, radioCopy_, item, sendAnswer)});
    return sendAnswer;
}

int32_t RecordingAdjustManager::SendCommandList(int32_t list) {
    calls.push_back({"SendCommandList", list, Sent(workingImage, radioCopy_, list, sendAnswer)});
    return sendAnswer;
}

void RecordingAdjustManager::SendCode(int32_t code, int32_t value, uint8_t* target, bool readBack) {
    calls.push_back({"SendCode", code, value});
    if (sendAnswer != 0 || !target) return;
    *target = readBack ? readAnswer : static_cast<uint8_t>(value);
}

uint8_t& RecordingAdjustManager::EditedLevel(int32_t phase) {
    static uint8_t spare = 0;
    return phase >= 2 && phase <= 13 ? editedLevels[static_cast<size_t>(phase - 2)] : spare;
}

void RecordingAdjustManager::StartSweep(Sweep sweep, int32_t item) {
    calls.push_back({"StartSweep", static_cast<int32_t>(sweep), item});
}

void RecordingAdjustManager::ReadAdValues() {
    calls.push_back({"ReadAdValues", 0, 0});
}

} // namespace adj
