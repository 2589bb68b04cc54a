#pragma once
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace recordtest {

// Image places of a channel row's records, as the memory image holds them.
constexpr int32_t S(int32_t n, int32_t i) {
    return 65408 + 30 * n + i;
}
constexpr int32_t X(int32_t n, int32_t i) {
    return 82512 + 22 * n + i;
}
constexpr int32_t G(int32_t n, int32_t i) {
    return 133966 + 6 * n + i;
}

// Changed bits per image offset.
using BitMap = std::map<int32_t, uint8_t>;

inline BitMap Diff(const cmcEeprom& before, const cmcEeprom& after) {
    BitMap changed;
    for (int32_t i = 0; i < before.GetSize(); ++i)
        if (uint8_t x = before.Data()[i] ^ after.Data()[i]) changed[i] = x;
    return changed;
}

// A full image of random bytes, so that every bit a record keeps is really
// tested, with tidy counts: bank b holds channel rows 4b..4b+3 and site s pool
// entries 20s..20s+19.
class RecordTest : public ::testing::Test {
protected:
    RecordTest() {
        image.SetSize(layout::kImageSize);
        std::mt19937 rng(20260601);
        for (int32_t i = 0; i < image.GetSize(); ++i)
            image.Data()[i] = static_cast<uint8_t>(rng());
        for (int32_t b = 0; b < layout::kBanks; ++b)
            SetBankChannelCount(image, b, 4);
        for (int32_t s = 0; s < layout::kSites; ++s)
            SetSiteChannelCount(image, s, 20);
        SetCurrentImage(&image);
    }
    ~RecordTest() override { SetCurrentImage(nullptr); }

    cmcEeprom image;
};

} // namespace recordtest
