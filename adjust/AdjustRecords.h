#pragma once
#include "image/RecordCodec.h"
#include "image/RowRecord.h"
#include "image/datCh.h"

#include <array>
#include <cstdint>

class cmcEeprom;

namespace adj {

// This program's row tables by the kind a cell category names. Its channel
// kinds are the cloning program's (kindChannelLmr to kindChannelPmrZ); the
// others are numbered apart from it.
enum datChKind : int32_t {
    kindUserChar = 8,
    kindDigitMemory = 9,
    kindScanList = 10,
    kindTonePair = 11,
    kindFiveToneRx = 12,
    kindFiveToneTx = 13,
    kindUserTone = 14,
    kindTwoTone = 15,
    kindTwoToneCommon = 16,
    kindBank = 17,
    kindMskIdGroup = 18,
    kindMskCallList = 19,
    kindMskStatus = 20,
    kindMskShortText = 21,
    kindDigitalIndividual = 22,
    kindDigitalGroup = 23,
    kindNac = 24,
    kindRepeaterPool = 25,
};

// One row of the adjustment program's row tables, decoded: a channel (kinds
// 1..5 by model class, kind 2 in the same short form as kinds 1 and 3), a
// user character (8), a digit memory (9), a scan list (10), a tone pair
// (11), a five-tone receive (12) or transmit (13) code, a user tone (14), a
// two-tone code (15), a bank name (17), an MSK ID group (18), call-list
// entry (19), status message (20) or short text (21), a digital individual
// (22) or group ID (23), a NAC channel (24), a repeater entry of the current
// site (25). Every row a kind's tables hold is reached. Load
// decodes row n of a kind, Store encodes the fields back into exactly the
// bits Load took them from, and besides:
//  - a channel not in use (flag byte A bit 0 clear) stores 0 for both
//    frequencies; both are held to 0..kMaxFreq when stored;
//  - the name's not-blank bit (E12.5) follows the name;
//  - the marks go back first: A, B and E write the row's number where they
//    are kept (a clear mark leaves the number alone), bit 3 sets or clears
//    the E switch, bit 4 the bank's flag;
//  - V1 under scramble type 2 was read one up and goes back one down, never
//    below 0;
//  - texts set their not-blank bits; a two-tone code above row 0 writes its
//    row into its name entry, and its answer flag as 255 or 0 when it changed;
//  - a call-list number of 65535 goes back as no digits.
// A row outside the tables, a kind without rows or an unbound record decodes
// nothing and is not written.
class datCh : public RowRecord<datCh> {
public:
    using Text12 = std::array<uint8_t, 12>;
    using Text24 = std::array<uint8_t, 24>;

    static constexpr int32_t kKinds = 27;
    static constexpr uint32_t kMaxFreq = 799999950;

    datCh() = default;
    explicit datCh(cmcEeprom* image) : image(image) {}

    // Clear() zeroes every field but the image; flag byte A keeps bit 0.
    datCh& Load(int32_t kind, int32_t n);
    // Kind 0: the record's own kind.
    void Store(int32_t kind, int32_t n);

    // The kind table (RowRecord's FieldMin, FieldMax, FieldFlag, GetMin and
    // GetMax answer from it); the kinds without a table of their own are not bounded.
    static std::span<const RowLimit> Limits();
    static bool Bounded(int32_t kind);

    bool InUse() const { return (flagA & 1) != 0; }
    bool operator==(const datCh&) const = default;

    int32_t kind = 0;
    int32_t row = 0;
    cmcEeprom* image = nullptr;

    uint8_t flagA = 1;
    // Bit 0 "A", bit 1 "B", bit 2 "E" (while bit 3 is clear), bit 3 the E
    // switch off, bit 4 the bank's flag.
    uint8_t marks = 0;
    uint8_t flagC = 0; // bit 0, bit 1: the top bits of the RX and TX words
    uint32_t rxFreq = 0;
    uint32_t txFreq = 0;
    datTone tone1;
    datTone tone2;
    std::array<uint8_t, 3> display{};
    Text12 name{};
    uint32_t optionP = 0;   // 12 bits
    uint32_t groupBits = 0; // 17 bits, scan list k at bit 16 - k
    bool optionR = false;
    uint32_t optionW = 0; // 19 bits
    int32_t v1 = 0;
    int32_t v2 = 0;
    int32_t v3 = 0;
    int32_t v4 = 0;
    int32_t v5 = 0;
    uint8_t flagsF = 0; // 5 bits
    int32_t v6 = 0;
    int32_t v7 = 0;
    uint8_t optionQ = 0;
    bool optionS = false;
    int32_t v8 = 0;
    int32_t v9 = 0;
    int32_t v10 = 0;
    int32_t v11 = 0;

    // The other kinds.
    Text24 text24{};
    Text12 name2{};
    std::array<uint8_t, 48> block48{};
    std::array<uint8_t, 12> digits{}; // 24 digits, two to a byte, the first high
    std::array<uint8_t, 4> code{};    // packed code digits, 0xF no digit
    uint8_t codeMarks = 0;            // digit i marked '+' at bit 0x80 >> i
    int32_t wildcard = 0;             // the digit value shown as '*'
    uint8_t flagD = 0;
    uint8_t flagE = 0;
    uint8_t byteValue = 0;
    uint32_t bits = 0; // single option bits, first named lowest
    std::array<int32_t, 4> values{};
    std::array<double, 4> doubles{}; // the two tones and their periods of a two-tone code
    std::array<int32_t, 4> limits{}; // its decode windows: lower and upper limit of each tone
    uint32_t word1 = 0;
    uint32_t word2 = 0;

    // Whether the record's image holds row n of kind k (Load decodes it).
    bool CanAccess(int32_t k, int32_t n) const;

private:
    void TransferChannel(RecordCodec& c, int32_t k, int32_t n);
    void Transfer(RecordCodec& c, int32_t k, int32_t n);
    void TransferTwoTone(RecordCodec& c, int32_t n);
    int32_t PoolRow(int32_t n) const;
    void LoadWildcard(RecordCodec& c);
    void StoreMarks(int32_t n);
};

// The entry count of a repeater site. With queryFirst the open repeater-site
// sheet is asked for its first entry first (event 30), so that it settles
// its rows before they are counted; its answer itself is not needed.
int32_t GetSiteChannelCountAt(const cmcEeprom& image, int32_t site, bool queryFirst);

// The bank 0..127 whose rows hold channel row n; 128 when none.
int32_t BankOfChannel(cmcEeprom& image, int32_t n);

// Channels in use of a bank (rows decoded with the current model class as
// kind), and the 1-based position of its last one (0 none).
int32_t CountBankUsedChannels(cmcEeprom& image, int32_t bank);
int32_t LastUsedChannelInBank(cmcEeprom& image, int32_t bank);

} // namespace adj
