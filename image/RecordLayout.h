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

// The row tables of the records, and the places of the tables that share a row with them.
constexpr int32_t kTextHead = Table(10).offset, kTextBody = Table(11).offset;
constexpr int32_t kDigitMemory = Table(17).offset;
constexpr int32_t kScanListRec = Table(16).offset;
constexpr int32_t kTonePair = Table(14).offset;
constexpr int32_t kFiveToneRx = Table(20).offset; // shared with the two-tone codes
constexpr int32_t kFiveToneTxCode = Table(18).offset;
constexpr int32_t kFiveToneTx = Table(19).offset;
constexpr int32_t kUserToneEncode = Table(12).offset, kUserToneDecode = Table(12).offset + 30;
constexpr int32_t kTwoToneWindow = Table(11).End() - 8, kTwoToneFreq = Table(15).End() - 4;
constexpr int32_t kTwoTonePeriod = Table(12).offset + 98, kTwoToneName = Table(17).End() - 14;
constexpr int32_t kBankName = Table(13).offset;
constexpr int32_t kMskIdGroup = Table(29).offset;
constexpr int32_t kMskCallAddress = Table(27).offset, kMskCallList = Table(28).offset;
constexpr int32_t kMskStatusV = Table(31).offset, kMskStatusW = Table(30).offset;
constexpr int32_t kMskShortText = Table(32).offset, kMskShortTextSel = Table(33).offset;
constexpr int32_t kDigitalIndId = Table(34).offset, kDigitalGrpId = Table(35).offset;
constexpr int32_t kNacChannel = Table(36).offset;
constexpr int32_t kDigitalStatusV = Table(64).offset, kDigitalStatusW = Table(63).offset;
constexpr int32_t kDtmfRx = Table(46).offset;
constexpr int32_t kMdcAlias = Table(59).offset;

static_assert(kRefCChannel >= Table(8).offset && kRefCFlags < Table(8).End());
static_assert(kSmarTrunkBitmap >= Table(8).offset && kSmarTrunkBitmap + kBankBitmapBytes <= kBankCounts);
static_assert(kLtrBankBitmap == kBankCounts + 2 * kBanks &&
              kLtrBankBitmap + kBankBitmapBytes <= Table(8).End());
static_assert(kSiteCounts == Table(40).offset && Table(40).Bytes() == kSites);
static_assert(Table(42).records == kBanks && Table(43).records == kPoolRows);
static_assert(Table(2).records == kChannelRows && Table(45).records == kChannelRows);
static_assert(Table(15).recordSize * 8 == kChannelRows && Table(15).records == kScanLists);

} // namespace layout
