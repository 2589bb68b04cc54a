#include "image/BankSite.h"

#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/RecordLayout.h"
#include "image/cmcEeprom.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

bool GetBitmapBit(const cmcEeprom& image, int32_t bitmap, int32_t n) {
    return (image.GetByte(bitmap + n / 8) >> (7 - n % 8)) & 1;
}

void SetBitmapBit(cmcEeprom& image, int32_t bitmap, int32_t n, bool on) {
    const int32_t at = bitmap + n / 8;
    const uint8_t mask = static_cast<uint8_t>(0x80 >> (n % 8));
    const uint8_t byte = image.GetByte(at);
    image.SetByte(at, on ? byte | mask : byte & ~mask);
}

// A table of rows shared out among units in order, each unit holding as many
// rows as its count in the image says: the channel rows among the banks, the
// pool rows among the sites.
struct CountedPartition {
    int32_t counts;     // where the counts lie
    int32_t countBytes; // 2: big-endian words, 1: bytes
    int32_t units;
    int32_t rows;

    bool IsValid(int32_t n) const { return n >= 0 && n < units; }
    int32_t Count(const cmcEeprom& image, int32_t n) const {
        if (!IsValid(n)) return 0;
        return countBytes == 2 ? image.GetWord(counts + 2 * n) : image.GetByte(counts + n);
    }
    // Stores the low bits the count takes for a valid unit; the count read back.
    int32_t SetCount(cmcEeprom& image, int32_t n, int32_t value) const {
        if (IsValid(n)) {
            if (countBytes == 2)
                image.SetWord(counts + 2 * n, static_cast<uint16_t>(value));
            else
                image.SetByte(counts + n, static_cast<uint8_t>(value));
        }
        return Count(image, n);
    }
    // The count table as bytes, checked once for its first n units: every
    // record of a bank or site asks for its place in it, a row insertion
    // hundreds of times. A table the image does not hold ends the program as
    // any read there does.
    const uint8_t* Table(const cmcEeprom& image, int32_t n) const {
        (void)image.GetByte(counts);
        (void)image.GetByte(counts + n * countBytes - 1);
        return image.Data() + counts;
    }
    int32_t CountAt(const uint8_t* p) const { return countBytes == 2 ? (p[0] << 8 | p[1]) : p[0]; }
    // Counts summed over units 0..n-1 (stopping at the last unit), clamped to the rows of the table.
    int32_t First(const cmcEeprom& image, int32_t n) const {
        n = std::min(n, units);
        if (n <= 0) return 0;
        const uint8_t* p = Table(image, n);
        int32_t sum = 0;
        for (int32_t k = 0; k < n; ++k, p += countBytes)
            sum += CountAt(p);
        return std::min(sum, rows);
    }
    int32_t Last(const cmcEeprom& image, int32_t n) const { return std::max(First(image, n + 1) - 1, 0); }
    int32_t Total(const cmcEeprom& image) const { return First(image, units); }
    // The unit whose rows reach past the 0-based row; `units` when none does.
    int32_t Holding(const cmcEeprom& image, int64_t row) const {
        if (row < 0) return units;
        const uint8_t* p = Table(image, units);
        int64_t total = 0;
        for (int32_t k = 0; k < units; ++k, p += countBytes) {
            total += CountAt(p);
            if (row < total) return k;
        }
        return units;
    }
    // The same, 0 when no unit holds the row.
    int32_t UnitOfRow(const cmcEeprom& image, int64_t row) const {
        const int32_t unit = Holding(image, row);
        return unit < units ? unit : 0;
    }
};

constexpr CountedPartition kBankRows{layout::kBankCounts, 2, layout::kBanks, layout::kChannelRows};
constexpr CountedPartition kSiteRows{layout::kSiteCounts, 1, layout::kSites, layout::kPoolRows};

} // namespace

bool IsValidBank(int32_t n) {
    return kBankRows.IsValid(n);
}

int32_t GetBankChannelCount(const cmcEeprom& image, int32_t n) {
    return kBankRows.Count(image, n);
}

int32_t SetBankChannelCount(cmcEeprom& image, int32_t n, int32_t value) {
    return kBankRows.SetCount(image, n, value);
}

int32_t GetBankFirstChannel(const cmcEeprom& image, int32_t n) {
    return kBankRows.First(image, n);
}

int32_t GetBankLastChannel(const cmcEeprom& image, int32_t n) {
    return kBankRows.Last(image, n);
}

int32_t GetTotalBankChannels(const cmcEeprom& image) {
    return kBankRows.Total(image);
}

int32_t BankOfChannelNumber(const cmcEeprom& image, int32_t c) {
    return kBankRows.UnitOfRow(image, static_cast<int64_t>(c) - 1);
}

int32_t BankHoldingRow(const cmcEeprom& image, int32_t n) {
    return kBankRows.Holding(image, n);
}

bool IsSmarTrunkBank(const cmcEeprom& image, int32_t n) {
    return IsValidBank(n) && GetBitmapBit(image, layout::kSmarTrunkBitmap, n);
}

bool SetSmarTrunkBank(cmcEeprom& image, int32_t n, int32_t on) {
    if (IsValidBank(n)) SetBitmapBit(image, layout::kSmarTrunkBitmap, n, on != 0);
    return IsSmarTrunkBank(image, n);
}

bool IsBankFlagB(const cmcEeprom& image, int32_t n) {
    return IsValidBank(n) && GetBitmapBit(image, layout::kLtrBankBitmap, n);
}

bool SetBankFlagB(cmcEeprom& image, int32_t n, int32_t on) {
    if (IsValidBank(n)) SetBitmapBit(image, layout::kLtrBankBitmap, n, on != 0);
    return IsBankFlagB(image, n);
}

bool IsValidSite(int32_t n) {
    return kSiteRows.IsValid(n);
}

int32_t GetSiteChannelCount(const cmcEeprom& image, int32_t n) {
    return kSiteRows.Count(image, n);
}

int32_t GetSiteChannelCountAt(const cmcEeprom& image, int32_t n, int32_t) {
    return GetSiteChannelCount(image, n);
}

int32_t SetSiteChannelCount(cmcEeprom& image, int32_t n, int32_t value) {
    return kSiteRows.SetCount(image, n, value);
}

int32_t GetSiteFirstChannel(const cmcEeprom& image, int32_t n) {
    return kSiteRows.First(image, n);
}

int32_t GetSiteLastChannel(const cmcEeprom& image, int32_t n) {
    return kSiteRows.Last(image, n);
}

int32_t GetTotalSiteChannels(const cmcEeprom& image) {
    return kSiteRows.Total(image);
}

int32_t SiteOfPoolEntry(const cmcEeprom& image, int32_t i) {
    return kSiteRows.UnitOfRow(image, i);
}

int32_t GetCurrentSite() {
    if (!gEvMan) return 0;
    const std::vector<cmcEvAns> answers = gEvMan->SendWithAnswer(evQuerySite);
    return answers.empty() ? 0 : static_cast<int32_t>(answers.front().p1);
}

int32_t BcdToInt(const uint8_t* bytes) {
    int32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = (i % 2 == 0) ? bytes[i / 2] >> 4 : bytes[i / 2] & 0x0F;
        if (digit > 9) return 65535;
        value = value * 10 + digit;
    }
    return value;
}

void IntToBcd(int32_t value, uint8_t* bytes, int32_t length) {
    if (length <= 0) return;
    std::fill(bytes, bytes + length, uint8_t{0xFF});
    // The magnitude, so that a negative value still gives digits (and INT32_MIN does not overflow).
    int64_t rest = std::llabs(static_cast<int64_t>(value)) % 10000;
    uint8_t packed[2];
    packed[1] = static_cast<uint8_t>((rest / 10 % 10) << 4 | rest % 10);
    rest /= 100;
    packed[0] = static_cast<uint8_t>((rest / 10 % 10) << 4 | rest % 10);
    std::copy(packed, packed + std::min<int32_t>(length, 2), bytes);
}
