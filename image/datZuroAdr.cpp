#include "image/datZuroAdr.h"

#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"

namespace {

// The first word of the block with ID 26.
constexpr int32_t kGroupAddressStart = layout::Table(26).offset;
static_assert(kGroupAddressStart == 99256);

bool Holds(const cmcEeprom* image) {
    return image && image->IsValidRange(kGroupAddressStart, 2);
}

} // namespace

datZuroAdr::datZuroAdr(cmcEeprom* image) : image(image) {
    Load();
}

void datZuroAdr::Load() {
    if (Holds(image)) groupAddressStart = image->GetWord(kGroupAddressStart);
    DeriveLimits();
}

void datZuroAdr::Store() {
    if (Holds(image)) image->SetWord(kGroupAddressStart, static_cast<uint16_t>(groupAddressStart));
    DeriveLimits();
}

void datZuroAdr::DeriveLimits() {
    const int32_t a = groupAddressStart;
    auto set = [this](int first, int last, int32_t minimum, int32_t maximum) {
        for (int i = first; i <= last; ++i) {
            limits[i].minimum = minimum;
            limits[i].maximum = maximum;
        }
    };
    set(0, 0, 0, 0);
    set(1, 1, 0, kMaxAddress);
    set(2, 2, a, kMaxAddress);
    set(3, 3, kMaxAddress, kMaxAddress);
    set(4, 4, 0, kMaxAddress);
    set(5, 6, 0, a - 1);
    set(7, 13, a, kMaxAddress);
    set(14, kLimits - 1, 0, kMaxAddress);
}
