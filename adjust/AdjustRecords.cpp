#include "adjust/AdjustRecords.h"

#include "foundation/ModelClass.h"
#include "image/BankSite.h"
#include "image/ImageLayout.h"
#include "image/PartitionTable.h"
#include "image/cmcEeprom.h"
#include "image/datCh.h"

#include <algorithm>

namespace adj {

namespace {

struct Limit {
    int32_t min, max, flags;
};

// Rows of each kind and whether they may be inserted, deleted and cleared
// (bit 0). Every channel kind spans the 512 rows; from kind 8 on each kind
// has the bounds of its own table; the repeater entries of a site are never
// cleared, inserted or deleted row by row.
constexpr Limit kLimits[datCh::kKinds] = {
    {0, 0, 0},  {0, 511, 3}, {0, 511, 3}, {0, 511, 3}, {0, 511, 3}, {0, 511, 3}, {0, 0, 0},
    {0, 0, 0},  {0, 15, 3},  {0, 7, 2},   {0, 16, 2},  {0, 39, 2},  {1, 8, 2},   {0, 31, 2},
    {0, 14, 0}, {1, 10, 2},  {0, 9, 2},   {0, 0, 0},   {0, 7, 2},   {0, 31, 2},  {0, 22, 2},
    {0, 7, 2},  {0, 99, 2},  {0, 249, 2}, {0, 39, 2},  {0, 19, 2},  {0, 0, 0},
};

bool InTable(int32_t kind) {
    return kind >= 0 && kind < datCh::kKinds;
}

// The kinds whose rows GetMin and GetMax bound by the table.
bool Bounded(int32_t kind) {
    return InTable(kind) && kind != 6 && kind != 7 && kind != 17 && kind != 26;
}

constexpr int32_t kChannelE = 65408;    // 30 bytes a channel
constexpr int32_t kChannelG = 82512;    // 22 option bytes a channel
constexpr int32_t kDisplay = 133966;    // 6 bytes a channel, 3 of them the channel's
constexpr int32_t kScanBitmaps = 80784; // 17 bitmaps of 64 bytes
constexpr int32_t kScanLists = 17;
constexpr int32_t kMarkA = 80768, kMarkB = 80770, kMarkE = 93812;
constexpr int32_t kMarkSwitch = 93822; // bit 5 set: mark E in use
constexpr int32_t kBankFlags = 93796;  // one bit per bank, MSB first
constexpr int32_t kChannelRows = 512;

constexpr uint32_t kTop = 0x80000000u;
constexpr uint8_t kScramble2 = 2;

bool IsShortForm(int32_t kind) {
    return kind >= 1 && kind <= 3;
}

template <size_t N> bool HasText(const std::array<uint8_t, N>& text) {
    return std::any_of(text.begin(), text.end(), [](uint8_t c) { return c != ' '; });
}

} // namespace

void datCh::Clear() {
    cmcEeprom* const keep = image;
    *this = datCh();
    image = keep;
}

int32_t datCh::FieldMin(int32_t k) {
    return InTable(k) ? kLimits[k].min : 0;
}
int32_t datCh::FieldMax(int32_t k) {
    return InTable(k) ? kLimits[k].max : 0;
}
int32_t datCh::FieldFlag(int32_t k) {
    return InTable(k) ? kLimits[k].flags & 1 : 0;
}
int32_t datCh::GetMin(int32_t k) {
    return Bounded(k) ? kLimits[k].min : 0;
}
int32_t datCh::GetMax(int32_t k) {
    return Bounded(k) ? kLimits[k].max : 100000000;
}

bool datCh::CanAccess(int32_t k, int32_t n) const {
    if (!image || !IsWorkingLayout(*image)) return false;
    return k >= 1 && k <= 5 && n >= 0 && n < kChannelRows;
}

datCh& datCh::Load(int32_t k, int32_t n) {
    Clear();
    kind = k;
    row = n;
    if (!CanAccess(k, n)) return *this;
    RecordCodec c(*image, false);
    TransferChannel(c, k, n);
    flagA = rxFreq != 0 ? 1 : 0;
    const cmcEeprom& img = *image;
    if (img.GetWord(kMarkA) == n) marks |= 0x01;
    if (img.GetWord(kMarkB) == n) marks |= 0x02;
    if ((img.GetByte(kMarkSwitch) & 0x20) == 0) marks |= 0x08;
    if (img.GetWord(kMarkE) == n && !(marks & 0x08)) marks |= 0x04;
    const int32_t bank = BankOfChannel(*image, n);
    if (bank < layout::kBanks && GetBitMsb(img.Data() + kBankFlags, layout::kBanks / 8, bank)) marks |= 0x10;
    return *this;
}

void datCh::Store(int32_t k, int32_t n) {
    if (k == 0) k = kind;
    row = n;
    if (!CanAccess(k, n)) return;
    StoreMarks(n);
    if (!InUse()) rxFreq = txFreq = 0;
    rxFreq = std::min(rxFreq, kMaxFreq);
    txFreq = std::min(txFreq, kMaxFreq);
    RecordCodec c(*image, true);
    TransferChannel(c, k, n);
}

void datCh::StoreMarks(int32_t n) {
    cmcEeprom& img = *image;
    if (marks & 0x01) img.SetWord(kMarkA, static_cast<uint16_t>(n));
    if (marks & 0x02) img.SetWord(kMarkB, static_cast<uint16_t>(n));
    if (marks & 0x04) img.SetWord(kMarkE, static_cast<uint16_t>(n));
    const uint8_t sw = img.GetByte(kMarkSwitch);
    img.SetByte(kMarkSwitch, static_cast<uint8_t>(marks & 0x08 ? sw & ~0x20 : sw | 0x20));
    const int32_t bank = BankOfChannel(img, n);
    if (bank < layout::kBanks) {
        RecordCodec c(img, true);
        bool flagged = (marks & 0x10) != 0;
        c.BitmapBit(flagged, kBankFlags, bank);
    }
}

void datCh::TransferChannel(RecordCodec& c, int32_t k, int32_t n) {
    c.At(kChannelE + 30 * n, 30);
    for (int32_t i = 0; i < 2; ++i) {
        uint32_t& freq = i == 0 ? rxFreq : txFreq;
        int32_t raw = static_cast<int32_t>(((flagC >> i) & 1 ? kTop : 0) | freq);
        c.Dword(raw, 4 * i);
        if (!c.store) {
            freq = static_cast<uint32_t>(raw) & ~kTop;
            flagC = static_cast<uint8_t>(flagC | (static_cast<uint32_t>(raw) >> 31) << i);
        }
    }
    c.Tone(tone1, 8);
    c.Tone(tone2, 10);
    c.Piece(optionP, 0, 12, 6, 1);
    c.Piece(optionQ, 3, 12, 0, 2);
    c.StoreOnly(HasText(name), 12, 5);
    c.Bytes(name, 14);
    c.Word(v8, 26);
    c.Word(v9, 28);

    c.At(kChannelG + 22 * n, 22);
    c.Piece(optionP, 1, 3, 4, 1);
    c.Piece(optionP, 2, 3, 0, 1);
    c.Piece(optionP, 3, 0, 7, 1);
    c.Piece(optionP, 4, 0, 4, 1);
    c.Piece(optionP, 5, 0, 0, 2);
    c.Piece(optionP, 7, 0, 2, 1);
    c.Piece(optionP, 8, 0, 3, 1);
    c.Piece(optionP, 9, 17, 0, 3);
    c.Flag(optionR, 1, 1);
    c.Piece(optionW, 0, 2, 1, 1);
    if (!IsShortForm(k)) c.Piece(optionW, 1, 2, 0, 1);
    c.Piece(optionW, 2, 1, 4, 4);
    c.Piece(optionW, 6, 0, 6, 1);
    c.Piece(optionW, 7, 1, 3, 1);
    c.Piece(optionW, 8, 2, 4, 4);
    c.Piece(optionW, 12, 2, 3, 1);
    c.Piece(optionW, 13, 2, 2, 1);
    c.Piece(optionW, 14, 1, 0, 1);
    c.Piece(optionW, 15, 3, 5, 2);
    c.Piece(optionW, 17, 18, 6, 2);
    // Scramble type 2 counts V1 from 1; a V1 of 0 there still stores 0.
    const bool scramble2 = (optionW >> 17 & 3) == kScramble2;
    int32_t b5 = c.store ? std::max(v1 - (scramble2 ? 1 : 0), 0) : 0;
    c.Bits(b5, 5, 0, 8);
    if (!c.store) v1 = b5 + (scramble2 ? 1 : 0);
    if (IsShortForm(k)) {
        if (!c.store) {
            v4 = 1;
            flagsF = 0x02;
        }
        c.Bits(v6, 8, 0, 7);
        c.Piece(v7, 2, 10, 0, 8);
        c.Piece(v7, 0, 11, 6, 2);
    } else {
        c.Bits(v2, 6, 0, 4);
        c.Bits(v3, 7, 0, 7);
        c.Bits(v4, 8, 0, 7);
        c.Bits(v5, 9, 0, 7);
        c.Piece(flagsF, 0, 7, 7, 1);
        c.Piece(flagsF, 1, 8, 7, 1);
        c.Piece(flagsF, 2, 9, 7, 1);
        c.Piece(flagsF, 3, 6, 6, 2);
        c.Bits(v7, 10, 0, 8);
    }
    // Bits 0..2 of option Q belong to the long form of P25 radios.
    if (!c.store || k == 5) {
        c.Piece(optionQ, 0, 3, 3, 1);
        c.Piece(optionQ, 1, 3, 1, 2);
    }
    c.Piece(optionQ, 5, 17, 4, 2);
    c.Piece(optionQ, 7, 17, 7, 1);
    c.Flag(optionS, 17, 3);
    c.Dword(v10, 12);
    c.Bits(v11, 16, 0, 8);

    for (int32_t list = 0; list < kScanLists; ++list) {
        bool member = (groupBits >> (16 - list)) & 1;
        c.BitmapBit(member, kScanBitmaps + 64 * list, n);
        if (!c.store && member) groupBits |= 1u << (16 - list);
    }
    c.At(kDisplay + 6 * n, 3);
    c.Whole(display[0], 1);
    c.Whole(display[1], 0);
    c.Whole(display[2], 2);
}

int32_t BankOfChannel(cmcEeprom& image, int32_t n) {
    return ::datCh(&image).BankOfChannel(n);
}

int32_t CountBankUsedChannels(cmcEeprom& image, int32_t bank) {
    const int32_t first = GetBankFirstChannel(image, bank);
    const int32_t end = std::min(first + GetBankChannelCountIn(image, bank), kChannelRows);
    datCh ch(&image);
    int32_t used = 0;
    for (int32_t n = first; n < end; ++n)
        used += ch.Load(GetModelClass(), n).InUse();
    return used;
}

int32_t LastUsedChannelInBank(cmcEeprom& image, int32_t bank) {
    const int32_t first = GetBankFirstChannel(image, bank);
    const int32_t end = std::min(first + GetBankChannelCountIn(image, bank), kChannelRows);
    datCh ch(&image);
    for (int32_t n = end - 1; n >= first; --n)
        if (ch.Load(GetModelClass(), n).InUse()) return n - first + 1;
    return 0;
}

} // namespace adj
