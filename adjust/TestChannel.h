#pragma once
#include "image/RecordLayout.h"

#include <cstdint>

class cmcEeprom;

namespace adj {

// The radio's test channels 1-40: the first 30-byte channel records, their first
// four bytes the frequency in hertz, big-endian. The top bit of those bytes
// is a flag of the record, no part of the frequency.
struct TestChannel {
    static constexpr int32_t kBase = layout::kChannelS;
    static constexpr int kRecordSize = 30;
    static constexpr int kCount = 40;
    static_assert(layout::Table(2).recordSize == kRecordSize);

    bool empty = true;      // all four frequency bytes 0
    uint32_t frequency = 0; // in units of 100 kHz, as the slope procedures take it
};

TestChannel ReadTestChannel(const cmcEeprom& image, int channel);

} // namespace adj
