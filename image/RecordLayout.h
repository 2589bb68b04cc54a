#pragma once
#include "image/ImageLayout.h"

#include <cstdint>

// Places inside the static tables that the bank, site and row records read and
// write, beside the tables' own places in ImageLayout.h.
namespace layout {

// Channel rows: S (30 bytes), X (22 bytes) and the LTR group bytes G (6 bytes) of a channel.
constexpr int32_t kChannelS = Table(2).offset;
constexpr int32_t kChannelX = Table(3).offset;
constexpr int32_t kChannelG = Table(45).offset;
constexpr int32_t kScanMembership = Table(15).offset; // 17 bitmaps of 64 bytes, one bit per channel
constexpr int kScanLists = 17;

// Channel numbers of the three reference channels and the switch of the third.
constexpr int32_t kRefAChannel = Table(7).offset;
constexpr int32_t kRefBChannel = Table(7).offset + 2;
constexpr int32_t kRefCChannel = 93812;
constexpr int32_t kRefCFlags = 93822; // bit 0x20 set: reference C in use

// Bank bitmaps, most significant bit first.
constexpr int32_t kSmarTrunkBitmap = 93796;
constexpr int32_t kLtrBankBitmap = 94188;
constexpr int32_t kBankBitmapBytes = 16;

// Group records (one per bank and site) and the repeater pool.
constexpr int32_t kGroupRecords = Table(42).offset;
constexpr int32_t kGroupRecordSize = Table(42).recordSize;
constexpr int32_t kPool = Table(43).offset;
constexpr int32_t kPoolEntrySize = Table(43).recordSize;

constexpr int32_t kFiveToneGlobal = 93817;   // shared by the five-tone receive and transmit entries
constexpr int32_t kToneMemorySelect = 93902; // bitmap, one bit per tone pair
constexpr int32_t kNacSelect = 93907;        // bitmap, one bit per NAC channel

static_assert(kRefCChannel >= Table(8).offset && kRefCFlags < Table(8).End());
static_assert(kSmarTrunkBitmap >= Table(8).offset && kSmarTrunkBitmap + kBankBitmapBytes <= kBankCounts);
static_assert(kLtrBankBitmap == kBankCounts + 2 * kBanks &&
              kLtrBankBitmap + kBankBitmapBytes <= Table(8).End());
static_assert(kSiteCounts == Table(40).offset && Table(40).Bytes() == kSites);
static_assert(Table(42).records == kBanks && Table(43).records == kPoolRows);
static_assert(Table(2).records == kChannelRows && Table(45).records == kChannelRows);
static_assert(Table(15).recordSize * 8 == kChannelRows && Table(15).records == kScanLists);

} // namespace layout
