#include "adjust/TestChannel.h"

#include "image/cmcEeprom.h"

namespace adj {

TestChannel ReadTestChannel(const cmcEeprom& image, int channel) {
    const int32_t at = TestChannel::kBase + TestChannel::kRecordSize * (channel - 1);
    uint32_t raw = 0;
    for (int i = 0; i < 4; ++i)
        raw = raw << 8 | image.GetByte(at + i);
    TestChannel c;
    c.empty = raw == 0;
    c.frequency = (raw & 0x7FFFFFFFu) / 100000u;
    return c;
}

} // namespace adj
