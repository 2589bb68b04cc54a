#include "adjust/RecordingAdjustManager.h"

#include "image/ImageLayout.h"

namespace adj {

RecordingAdjustManager::RecordingAdjustManager() {
    radioCopy_.SetSize(layout::kImageSize);
}

int32_t RecordingAdjustManager::SendAdjustCommand(int32_t item) {
    calls.push_back({"SendAdjustCommand", item, 0});
    return sendAnswer;
}

int32_t RecordingAdjustManager::SendCommandList(int32_t list) {
    calls.push_back({"SendCommandList", list, 0});
    return sendAnswer;
}

void RecordingAdjustManager::StartSweep(Sweep sweep, int32_t item) {
    calls.push_back({"StartSweep", static_cast<int32_t>(sweep), item});
}

void RecordingAdjustManager::ReadAdValues() {
    calls.push_back({"ReadAdValues", 0, 0});
}

} // namespace adj
