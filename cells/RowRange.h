#pragma once
#include <cstdint>

class cmcEeprom;

// The rows of one bank (channel rows) or one repeater site (pool entries):
// its number, first and last row, and its row count. All zeros for a bank or
// site that does not exist, and when no open sheet names one.
struct RowRange {
    int32_t number = 0;
    int32_t first = 0;
    int32_t last = 0;
    int32_t count = 0;

    bool operator==(const RowRange&) const = default;
};

// The channel count of a bank as the image stores it; 0 for an invalid bank.
int32_t ReadBankChannelCount(const cmcEeprom& image, int32_t bank);

// Channels are spread over banks once the second bank holds any.
int32_t GetBankFree(const cmcEeprom& image);
// The bank mode follows from the bank counts alone, so there is nothing to store.
bool SetBankFree(cmcEeprom& image, int32_t value, int32_t modelFlag);

// Over the current image.
RowRange GetBankRange(int32_t bank);
RowRange GetSiteRange(int32_t site);
// The bank or site of the open sheet, asked over the event bus.
RowRange GetCurrentBankRange();
RowRange GetCurrentSiteRange();
