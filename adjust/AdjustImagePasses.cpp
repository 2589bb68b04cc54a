#include "adjust/AdjustImagePasses.h"

#include "adjust/AdjustLayout.h"
#include "foundation/ModelClass.h"
#include "image/ImageUnpacking.h"
#include "image/PartitionTable.h"
#include "image/cmcEeprom.h"

#include <algorithm>
#include <cmath>

namespace adj {

namespace {

constexpr int kLmr = 1;

// The calibration block as the radio sent it, before unpacking overwrites
// the partition-table copy: the radio copy then holds what the radio holds.
void CopyRadioBlock(cmcEeprom& image, cmcEeprom* radioCopy, bool whole) {
    if (!radioCopy || !radioCopy->IsValidRange(kRadioBlock, kRadioBlockBytes)) return;
    if (!LoadPtbl(image)) return;
    const uint8_t* e = FindPtblEntry(image.Data() + layout::kPtblCopy, PtblEntryCount(image), 6);
    if (!e) return;
    const PtblEntry entry = ReadPtblEntry(e);
    const int64_t from = DynamicOffset(image, entry.address);
    const int32_t length = whole ? kRadioBlockBytes : std::min<int32_t>(entry.recordSize, kRadioBlockBytes);
    if (InDynamicArea(from, length)) radioCopy->Write(kRadioBlock, image.Data() + from, length);
}

// The two-tone codes' tone words (two per code) and decode windows (lower
// and upper limit of each tone); code 0 is the group call and has neither.
constexpr int32_t kTwoToneFreq = 81868;
constexpr int32_t kTwoToneWindow = 95406;
constexpr int32_t kTwoToneCodes = 11;

int32_t Limit(double factor, int32_t tone) {
    const double v = std::trunc(factor * tone + 0.5);
    return static_cast<int32_t>(std::clamp(v, 0.0, 65535.0));
}

} // namespace

int Static2Dynamic(cmcEeprom& image, int mode) {
    return ::Static2Dynamic(image, mode, GetModelClass(), AdjustLayout());
}

int Static2DynamicInit(cmcEeprom& image) {
    return adj::Static2Dynamic(image, kPackPlain);
}

ImagePacking Packing() {
    return [](cmcEeprom& image) { return adj::Static2DynamicInit(image); };
}

void UnpackDynamicArea(cmcEeprom& image, cmcEeprom* radioCopy) {
    if (!IsWorkingLayout(image)) return;
    CopyRadioBlock(image, radioCopy, false);
    UnpackImage(image, Packing(), AdjustLayout());
}

void Dynamic2Static(cmcEeprom& image, cmcEeprom* radioCopy) {
    if (!IsWorkingLayout(image)) return;
    CopyRadioBlock(image, radioCopy, true);
    ::Dynamic2Static(image, AdjustLayout());
}

int FitsDynamicArea(const cmcEeprom& image, int category, int32_t n, int32_t x) {
    if (category != kChannelCategory) return 1;
    const int64_t room = int64_t{layout::kDynamicEnd} - image.GetWord(layout::kHdrEndAddress);
    const int64_t perChannel = x == kBank127 ? 30 + 22 : 30 + 22 + 6;
    return perChannel * n <= room ? 1 : 0;
}

void SetToleranceLimits(cmcEeprom& image, uint8_t dataVersion, int modelClass) {
    if (modelClass != kLmr || !IsWorkingLayout(image)) return;
    const double t = dataVersion <= 0x10 ? 0.03 : 0.02;
    for (int32_t n = 1; n < kTwoToneCodes; ++n) {
        for (int32_t k = 0; k < 2; ++k) {
            const int32_t tone = image.GetWord(kTwoToneFreq + 4 * n + 2 * k);
            const int32_t window = kTwoToneWindow + 8 * n + 4 * k;
            image.SetWord(window, static_cast<uint16_t>(Limit(1 - t, tone)));
            image.SetWord(window + 2, static_cast<uint16_t>(Limit(1 + t, tone)));
        }
    }
}

} // namespace adj
