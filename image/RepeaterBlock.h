#pragma once
#include <array>
#include <cstdint>

class cmcEeprom;

// One repeater site as the repeater data file carries it: a block of 214
// bytes that stands at image address 0 in the file.
//
//   0       the site's area bit (bit 7 of its group record's byte 0), 0 or 1
//   1       the site's home repeater (byte 7 of its group record), 0 for none
//   2       24, the pool's record kind
//   3       the site
//   4       the site's entry count
//   5..13   0
//   14..213 twenty entries of 10 bytes: the pool record's frequencies as
//           they stand, then its flags in the file's own order (byte 8:
//           power code in bits 3-4, narrow, transmit data, receive data in
//           bits 2, 1, 0; byte 9: bit 0 set when the phone flag is clear)
namespace rptblock {

constexpr int32_t kSize = 214;
constexpr int32_t kMaxEntries = 20;
constexpr int32_t kEntrySize = 10;
constexpr int32_t kFirstEntry = 14;
constexpr int32_t kAreaBit = 0;
constexpr int32_t kHomeRepeater = 1;
constexpr int32_t kKindByte = 2;
constexpr int32_t kSite = 3;
constexpr int32_t kCount = 4;

} // namespace rptblock

using RepeaterBlock = std::array<uint8_t, rptblock::kSize>;

// The block of a site 0..127 of the image; an entry past the site's count,
// past the pool or without a receive frequency stays zero.
RepeaterBlock BuildRepeaterBlock(const cmcEeprom& image, int32_t site);

enum class RepeaterImport {
    kDone,
    kBadSite,        // no site 0..127
    kTooManyEntries, // the block's count is above 20
    kPoolFull,       // the other sites leave the pool too few rows
};

// Makes the block site `site` of the image: its area bit, home repeater and
// count; the pool rows after the site move up or down as the count falls or
// rises, rows freed at the pool's end and the site's rows become the
// reference image's rows, and each entry with a receive frequency is decoded
// into its row. Nothing else of the image changes; the dynamic area is the
// caller's to pack again. On a refusal the image is left as it was.
RepeaterImport ImportRepeaterBlock(cmcEeprom& image, const cmcEeprom& reference, const RepeaterBlock& block,
                                   int32_t site);
