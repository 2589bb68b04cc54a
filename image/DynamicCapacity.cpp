#include "image/DynamicCapacity.h"

#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"

#include <algorithm>

namespace {

constexpr int64_t kLastAddress = layout::kDynamicEnd - 1;

int64_t FreeAfter(const cmcEeprom& image, int32_t field) {
    return kLastAddress - image.GetWord(field);
}

// Channels cost their 30-byte record before block 3 and their 22-byte record
// (and, for LTR, 6 group bytes) after it; bank 127's cost all of it before.
constexpr int64_t kChannelBytes = 58;
constexpr int64_t kChannelBytesBeforeBlock3 = 30;
constexpr int64_t kRepeaterBytes = 10;

} // namespace

int FitsDynamicArea(const cmcEeprom& image, int category, int32_t n, int32_t mode) {
    const int64_t free1 = FreeAfter(image, layout::kHdrBlock3Address);
    const int64_t free2 = FreeAfter(image, layout::kHdrEndAddress);
    const int64_t count = n;
    if (category == kCategoryChannel) {
        int64_t cost, extra;
        if (mode == kBank127Mode) {
            cost = kChannelBytes * count;
            extra = 0;
        } else {
            cost = kChannelBytesBeforeBlock3 * count;
            extra = (kChannelBytes - kChannelBytesBeforeBlock3) * count;
        }
        return cost < free1 && free2 - cost >= 0 && free2 - cost >= extra ? 1 : 0;
    }
    if (category == kCategoryRepeater) return free1 > 0 && free2 >= kRepeaterBytes * count ? 1 : 0;
    return free2 >= 0 ? 1 : 0;
}

int32_t MaxFittingCount(const cmcEeprom& image, int category, int32_t n, int32_t mode, FitsTest fits) {
    if (!fits) fits = static_cast<FitsTest>(FitsDynamicArea);
    // No count above what the whole area could take fits, so a huge n need
    // not be tried down one by one.
    int32_t start = n;
    if (category == kCategoryChannel || category == kCategoryRepeater)
        start = static_cast<int32_t>(std::min<int64_t>(n, kLastAddress / kRepeaterBytes + 1));
    for (int32_t c = start; c >= 0; --c)
        if (fits(image, category, c, mode)) return c;
    return -1;
}

int FitsDynamicArea(int category, int32_t n, int32_t mode) {
    return FitsDynamicArea(CurrentImage(), category, n, mode);
}

int32_t MaxFittingCount(int category, int32_t n, int32_t mode) {
    return MaxFittingCount(CurrentImage(), category, n, mode);
}
