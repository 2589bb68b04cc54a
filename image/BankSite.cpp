#include "image/BankSite.h"

#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/CurrentImage.h"
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

// The count table at the address (big-endian counts, width bytes each) as
// bytes, checked once for its first n units: every record of a bank or site
// asks for its place in it, a row insertion hundreds of times. A table the
// image does not hold ends the program as any read there does.
const uint8_t* CountTable(const cmcEeprom& image, int32_t table, int32_t width, int32_t n) {
    (void)image.GetByte(table);
    (void)image.GetByte(table + n * width - 1);
    return image.Data() + table;
}

int32_t CountAt(const uint8_t* p, int32_t width) {
    return width == 2 ? (p[0] << 8 | p[1]) : p[0];
}

// The counts of units 0..n-1 summed, stopping at the last unit, and clamped to
// the rows of the table.
int32_t FirstRow(const cmcEeprom& image, int32_t table, int32_t width, int32_t n, int32_t units,
                 int32_t rows) {
    n = std::min(n, units);
    if (n <= 0) return 0;
    const uint8_t* p = CountTable(image, table, width, n);
    int32_t sum = 0;
    for (int32_t k = 0; k < n; ++k, p += width)
        sum += CountAt(p, width);
    return std::min(sum, rows);
}

} // namespace

bool IsValidBank(int32_t n) {
    return n >= 0 && n < layout::kBanks;
}

int32_t GetBankChannelCount(int32_t n) {
    return GetBankChannelCountIn(CurrentImage(), n);
}

int32_t GetBankChannelCountIn(const cmcEeprom& image, int32_t n) {
    return IsValidBank(n) ? image.GetWord(layout::kBankCounts + 2 * n) : 0;
}

int32_t SetBankChannelCount(int32_t n, int32_t value) {
    return SetBankChannelCount(CurrentImage(), n, value);
}

int32_t SetBankChannelCount(cmcEeprom& image, int32_t n, int32_t value) {
    if (IsValidBank(n)) image.SetWord(layout::kBankCounts + 2 * n, static_cast<uint16_t>(value));
    return GetBankChannelCountIn(image, n);
}

int32_t GetBankFirstChannel(int32_t n) {
    return GetBankFirstChannel(CurrentImage(), n);
}

int32_t GetBankFirstChannel(const cmcEeprom& image, int32_t n) {
    return FirstRow(image, layout::kBankCounts, 2, n, layout::kBanks, layout::kChannelRows);
}

int32_t GetBankLastChannel(int32_t n) {
    return GetBankLastChannel(CurrentImage(), n);
}

int32_t GetBankLastChannel(const cmcEeprom& image, int32_t n) {
    return std::max(GetBankFirstChannel(image, n + 1) - 1, 0);
}

int32_t GetTotalBankChannels() {
    return GetTotalBankChannels(CurrentImage());
}

int32_t GetTotalBankChannels(const cmcEeprom& image) {
    return GetBankFirstChannel(image, layout::kBanks);
}

int32_t BankOfChannelNumber(int32_t c) {
    return BankOfChannelNumber(CurrentImage(), c);
}

int32_t BankOfChannelNumber(const cmcEeprom& image, int32_t c) {
    if (c <= 0) return 0;
    const int32_t bank = BankHoldingRow(image, c - 1);
    return bank < layout::kBanks ? bank : 0;
}

int32_t BankHoldingRow(const cmcEeprom& image, int32_t n) {
    if (n < 0) return layout::kBanks;
    const uint8_t* p = CountTable(image, layout::kBankCounts, 2, layout::kBanks);
    int32_t rows = 0;
    for (int32_t k = 0; k < layout::kBanks; ++k, p += 2) {
        rows += CountAt(p, 2);
        if (n < rows) return k;
    }
    return layout::kBanks;
}

bool IsSmarTrunkBank(int32_t n) {
    return IsSmarTrunkBank(CurrentImage(), n);
}

bool IsSmarTrunkBank(const cmcEeprom& image, int32_t n) {
    return IsValidBank(n) && GetBitmapBit(image, layout::kSmarTrunkBitmap, n);
}

bool SetSmarTrunkBank(int32_t n, int32_t on) {
    return SetSmarTrunkBank(CurrentImage(), n, on);
}

bool SetSmarTrunkBank(cmcEeprom& image, int32_t n, int32_t on) {
    if (IsValidBank(n)) SetBitmapBit(image, layout::kSmarTrunkBitmap, n, on != 0);
    return IsSmarTrunkBank(image, n);
}

bool IsBankFlagB(int32_t n) {
    return IsBankFlagB(CurrentImage(), n);
}

bool IsBankFlagB(const cmcEeprom& image, int32_t n) {
    return IsValidBank(n) && GetBitmapBit(image, layout::kLtrBankBitmap, n);
}

bool SetBankFlagB(int32_t n, int32_t on) {
    return SetBankFlagB(CurrentImage(), n, on);
}

bool SetBankFlagB(cmcEeprom& image, int32_t n, int32_t on) {
    if (IsValidBank(n)) SetBitmapBit(image, layout::kLtrBankBitmap, n, on != 0);
    return IsBankFlagB(image, n);
}

bool IsValidSite(int32_t n) {
    return n >= 0 && n < layout::kSites;
}

int32_t GetSiteChannelCount(int32_t n) {
    return GetSiteChannelCountIn(CurrentImage(), n);
}

int32_t GetSiteChannelCountIn(const cmcEeprom& image, int32_t n) {
    return IsValidSite(n) ? image.GetByte(layout::kSiteCounts + n) : 0;
}

int32_t GetSiteChannelCountAt(int32_t n, int32_t) {
    return GetSiteChannelCount(n);
}

int32_t SetSiteChannelCount(int32_t n, int32_t value) {
    return SetSiteChannelCount(CurrentImage(), n, value);
}

int32_t SetSiteChannelCount(cmcEeprom& image, int32_t n, int32_t value) {
    if (IsValidSite(n)) image.SetByte(layout::kSiteCounts + n, static_cast<uint8_t>(value));
    return GetSiteChannelCountIn(image, n);
}

int32_t GetSiteFirstChannel(int32_t n) {
    return GetSiteFirstChannel(CurrentImage(), n);
}

int32_t GetSiteFirstChannel(const cmcEeprom& image, int32_t n) {
    return FirstRow(image, layout::kSiteCounts, 1, n, layout::kSites, layout::kPoolRows);
}

int32_t GetSiteLastChannel(int32_t n) {
    return GetSiteLastChannel(CurrentImage(), n);
}

int32_t GetSiteLastChannel(const cmcEeprom& image, int32_t n) {
    return std::max(GetSiteFirstChannel(image, n + 1) - 1, 0);
}

int32_t GetTotalSiteChannels() {
    return GetTotalSiteChannels(CurrentImage());
}

int32_t GetTotalSiteChannels(const cmcEeprom& image) {
    return GetSiteFirstChannel(image, layout::kSites);
}

int32_t SiteOfPoolEntry(int32_t i) {
    return SiteOfPoolEntry(CurrentImage(), i);
}

int32_t SiteOfPoolEntry(const cmcEeprom& image, int32_t i) {
    int32_t total = 0;
    for (int32_t k = 0; k < layout::kSites; ++k) {
        total += GetSiteChannelCountIn(image, k);
        if (total > i) return k;
    }
    return 0;
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
