#include "adjust/AdjustRecords.h"

#include "adjust/AdjustVocabulary.h"
#include "foundation/ByteUtil.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"

#include "foundation/ModelClass.h"
#include "image/BankSite.h"
#include "image/ImageLayout.h"
#include "image/PartitionTable.h"
#include "image/RecordLayout.h"
#include "image/cmcEeprom.h"
#include "image/datCh.h"

#include <algorithm>

namespace adj {

namespace {

// Rows of each kind and whether they may be inserted, deleted and cleared
// (bit 0). Every channel kind spans the 512 rows; from kind 8 on each kind
// has the bounds of its own table; the repeater entries of a site are never
// cleared, inserted or deleted row by row.
constexpr RowLimit kLimits[datCh::kKinds] = {
    {0, 0, 0},  {0, 511, 3}, {0, 511, 3}, {0, 511, 3}, {0, 511, 3}, {0, 511, 3}, {0, 0, 0},
    {0, 0, 0},  {0, 15, 3},  {0, 7, 2},   {0, 16, 2},  {0, 39, 2},  {1, 8, 2},   {0, 31, 2},
    {0, 14, 0}, {1, 10, 2},  {0, 9, 2},   {0, 0, 0},   {0, 7, 2},   {0, 31, 2},  {0, 22, 2},
    {0, 7, 2},  {0, 99, 2},  {0, 249, 2}, {0, 39, 2},  {0, 19, 2},  {0, 0, 0},
};

// The channel rows and the other row tables, as the cloning program's records have them.
using layout::kBankName, layout::kChannelG, layout::kChannelRows, layout::kChannelS, layout::kChannelX,
    layout::kDigitalGrpId;
using layout::kDigitalIndId, layout::kDigitMemory, layout::kFiveToneGlobal, layout::kFiveToneRx;
using layout::kFiveToneTx, layout::kFiveToneTxCode, layout::kGroupRecords, layout::kMskCallAddress;
using layout::kMskCallList, layout::kMskIdGroup, layout::kMskShortText, layout::kMskShortTextSel;
using layout::kMskStatusV, layout::kMskStatusW, layout::kNacChannel, layout::kNacSelect, layout::kPool;
using layout::kRefAChannel, layout::kRefBChannel, layout::kRefCChannel, layout::kRefCFlags;
using layout::kScanListRec, layout::kScanLists, layout::kScanMembership, layout::kSmarTrunkBitmap;
using layout::kTextBody, layout::kTextHead, layout::kToneMemorySelect, layout::kTonePair,
    layout::kTwoToneFreq;
using layout::kTwoToneName, layout::kTwoTonePeriod, layout::kTwoToneWindow, layout::kUserToneDecode;
using layout::kUserToneEncode;

constexpr uint32_t kTop = 0x80000000u;
constexpr uint8_t kScramble2 = 2;

bool IsShortForm(int32_t kind) {
    return kind >= 1 && kind <= 3;
}

} // namespace

std::span<const RowLimit> datCh::Limits() {
    return kLimits;
}

// The kinds whose rows GetMin and GetMax bound by the table.
bool datCh::Bounded(int32_t kind) {
    return InTable(kind) && kind != 6 && kind != 7 && kind != kindBank && kind != 26;
}

// The rows each kind's tables hold; 0 for kinds without rows.
int32_t TableRows(int32_t kind) {
    static constexpr int32_t kRows[datCh::kKinds] = {0, 512, 512, 512, 512, 512, 0,  0,    16,
                                                     8, 17,  40,  11,  32,  15,  11, 0,    128,
                                                     8, 32,  24,  8,   100, 250, 40, 2560, 0};
    return datCh::InTable(kind) ? kRows[kind] : 0;
}

bool datCh::CanAccess(int32_t k, int32_t n) const {
    if (!image || !IsWorkingLayout(*image)) return false;
    if (k == 25) return n >= 0 && PoolRow(n) < TableRows(25);
    return n >= 0 && n < TableRows(k);
}

int32_t datCh::PoolRow(int32_t n) const {
    const int32_t site = GetCurrentSiteRange(*image).site;
    return GetSiteFirstChannel(*image, site) + n;
}

datCh& datCh::Load(int32_t k, int32_t n) {
    Clear();
    kind = k;
    row = n;
    if (!CanAccess(k, n)) return *this;
    RecordCodec c(*image, false);
    if (k > 5) {
        Transfer(c, k, n);
        return *this;
    }
    TransferChannel(c, k, n);
    flagA = rxFreq != 0 ? 1 : 0;
    const cmcEeprom& img = *image;
    if (img.GetWord(kRefAChannel) == n) marks |= 0x01;
    if (img.GetWord(kRefBChannel) == n) marks |= 0x02;
    if ((img.GetByte(kRefCFlags) & 0x20) == 0) marks |= 0x08;
    if (img.GetWord(kRefCChannel) == n && !(marks & 0x08)) marks |= 0x04;
    const int32_t bank = BankOfChannel(*image, n);
    if (bank < layout::kBanks && GetBitMsb(img.Data() + kSmarTrunkBitmap, layout::kBanks / 8, bank))
        marks |= 0x10;
    return *this;
}

void datCh::Store(int32_t k, int32_t n) {
    if (k == 0) k = kind;
    row = n;
    if (!CanAccess(k, n)) return;
    if (k > 5) {
        RecordCodec c(*image, true);
        Transfer(c, k, n);
        return;
    }
    StoreMarks(n);
    if (!InUse()) rxFreq = txFreq = 0;
    rxFreq = std::min(rxFreq, kMaxFreq);
    txFreq = std::min(txFreq, kMaxFreq);
    RecordCodec c(*image, true);
    TransferChannel(c, k, n);
}

void datCh::StoreMarks(int32_t n) {
    cmcEeprom& img = *image;
    if (marks & 0x01) img.SetWord(kRefAChannel, static_cast<uint16_t>(n));
    if (marks & 0x02) img.SetWord(kRefBChannel, static_cast<uint16_t>(n));
    if (marks & 0x04) img.SetWord(kRefCChannel, static_cast<uint16_t>(n));
    const uint8_t sw = img.GetByte(kRefCFlags);
    img.SetByte(kRefCFlags, static_cast<uint8_t>(marks & 0x08 ? sw & ~0x20 : sw | 0x20));
    const int32_t bank = BankOfChannel(img, n);
    if (bank < layout::kBanks) {
        RecordCodec c(img, true);
        bool flagged = (marks & 0x10) != 0;
        c.BitmapBit(flagged, kSmarTrunkBitmap, bank);
    }
}

void datCh::TransferChannel(RecordCodec& c, int32_t k, int32_t n) {
    c.At(kChannelS + 30 * n, 30);
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

    c.At(kChannelX + 22 * n, 22);
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
        c.BitmapBit(member, kScanMembership + 64 * list, n);
        if (!c.store && member) groupBits |= 1u << (16 - list);
    }
    c.At(kChannelG + 6 * n, 3); // 3 of the 6 display bytes are the channel's
    c.Whole(display[0], 1);
    c.Whole(display[1], 0);
    c.Whole(display[2], 2);
}

void datCh::Transfer(RecordCodec& c, int32_t k, int32_t n) {
    switch (k) {
    case kindUserChar:
        c.At(kTextHead + 24 * n, 24);
        c.Bytes(text24, 0);
        c.At(kTextBody + 49 * n, 49);
        c.Bytes(block48, 0);
        c.Whole(byteValue, 48);
        break;
    case kindDigitMemory:
        c.At(kDigitMemory + 37 * n, 37);
        c.Bytes(text24, 0);
        c.Bytes(digits, 24);
        c.Whole(byteValue, 36);
        break;
    case kindScanList:
        c.At(kScanListRec + 34 * n, 34);
        c.Bytes(text24, 0);
        c.Bits(flagD, 24, 0, 4);
        c.Piece(flagD, 5, 24, 5, 3);
        c.Piece(flagE, 0, 25, 7, 1);
        c.Piece(flagE, 1, 25, 6, 1);
        c.Piece(flagE, 2, 24, 4, 1);
        break;
    case kindTonePair: {
        c.At(kTonePair + 4 * n, 4);
        c.Tone(tone1, 0);
        c.Tone(tone2, 2);
        bool selected = flagD & 0x02;
        c.BitmapBit(selected, kToneMemorySelect, n);
        if (!c.store && selected) flagD |= 0x02;
        break;
    }
    case kindFiveToneRx:
        c.At(kFiveToneRx + 34 * n, 34);
        c.Bytes(code, 0);
        c.Bytes(text24, 4);
        c.Whole(codeMarks, 28);
        c.Whole(byteValue, 29);
        c.Piece(bits, 0, 31, 6, 1);
        c.Piece(bits, 1, 32, 7, 1);
        c.Piece(bits, 2, 31, 7, 1);
        c.Piece(bits, 3, 31, 5, 1);
        c.Piece(bits, 4, 30, 3, 1);
        c.Bits(values[0], 31, 0, 2);
        c.Bits(values[1], 30, 6, 2);
        c.Bits(values[2], 31, 3, 2);
        c.Bits(values[3], 30, 4, 2);
        c.Piece(bits, 5, 30, 0, 3);
        c.StoreOnly(HasText(text24), 31, 2);
        LoadWildcard(c);
        break;
    case kindFiveToneTx:
        c.At(kFiveToneTxCode + 4 * n, 4);
        c.Bytes(code, 0);
        c.At(kFiveToneTx + 14 * n, 14);
        c.Bytes(name, 0);
        c.Piece(codeMarks, 1, 12, 1, 7);
        c.Piece(bits, 0, 12, 0, 1);
        c.Piece(bits, 1, 13, 7, 1);
        c.Piece(bits, 2, 13, 6, 1);
        {
            bool off = !(bits & 0x08);
            c.Flag(off, 13, 4);
            if (!c.store && !off) bits |= 0x08;
        }
        c.StoreOnly(HasText(name), 13, 5);
        LoadWildcard(c);
        break;
    case kindUserTone:
        c.At(kUserToneEncode + 2 * n, 2);
        c.Word(values[0], 0);
        c.At(kUserToneDecode + 4 * n, 4);
        c.Word(values[1], 0);
        c.Word(values[2], 2);
        break;
    case kindTwoTone:
        TransferTwoTone(c, n);
        break;
    case kindBank: {
        c.At(kBankName + 12 * n, 12);
        c.Bytes(name, 0);
        bool flagged = flagE & 0x08;
        c.At(kGroupRecords + 8 * n, 1);
        c.Flag(flagged, 0, 7);
        if (!c.store && flagged) flagE |= 0x08;
        break;
    }
    case kindMskIdGroup:
        c.At(kMskIdGroup + 32 * n, 32);
        c.Word(values[0], 0);
        c.Bytes(name, 2);
        c.Bits(values[1], 28, 0, 3);
        c.Bits(values[2], 29, 0, 2);
        c.Piece(bits, 0, 28, 3, 1);
        break;
    case kindMskCallList:
        c.At(kMskCallAddress + 4 * n, 4);
        if (c.store) {
            uint8_t bcd[2] = {0xFF, 0xFF};
            if (values[0] != 0xFFFF) IntToBcd(values[0], bcd, 2);
            c.Byte(0) = bcd[0];
            c.Byte(1) = bcd[1];
        } else {
            const uint8_t bcd[2] = {c.Byte(0), c.Byte(1)};
            const bool digits = GetNibble(bcd, 0) <= 9 && GetNibble(bcd, 1) <= 9 && GetNibble(bcd, 2) <= 9 &&
                                GetNibble(bcd, 3) <= 9;
            values[0] = digits ? BcdToInt(bcd) : 0xFFFF;
        }
        c.At(kMskCallList + 14 * n, 14);
        c.Bytes(name, 0);
        c.Piece(codeMarks, 1, 12, 1, 7);
        c.Piece(bits, 0, 12, 0, 1);
        {
            bool off = !(bits & 0x02);
            c.Flag(off, 13, 4);
            if (!c.store && !off) bits |= 0x02;
        }
        break;
    case kindMskStatus:
        c.At(kMskStatusV + 16 * n, 16);
        c.Bytes(name, 0);
        c.Bits(values[0], 12, 0, 4);
        c.Piece(bits, 0, 12, 7, 1);
        c.Piece(bits, 1, 12, 6, 1);
        c.At(kMskStatusW + 16 * n, 16);
        c.Bytes(name2, 0);
        c.Piece(bits, 2, 12, 0, 2);
        break;
    case kindMskShortText: {
        c.At(kMskShortText + 12 * n, 12);
        c.Bytes(name, 0);
        c.At(kMskShortTextSel + 2 * n, 1);
        c.Piece(bits, 0, 0, 1, 1);
        break;
    }
    case kindDigitalIndividual:
        c.At(kDigitalIndId + 16 * n, 16);
        c.Dword(values[0], 0);
        c.Bytes(name, 4);
        break;
    case kindDigitalGroup:
        c.At(kDigitalGrpId + 14 * n, 14);
        c.Word(values[0], 0);
        c.Bytes(name, 2);
        break;
    case kindNac: {
        c.At(kNacChannel + 4 * n, 4);
        c.Word(values[0], 0);
        c.Word(values[1], 2);
        bool selected = flagD & 0x01;
        c.BitmapBit(selected, kNacSelect, n);
        if (!c.store && selected) flagD |= 0x01;
        break;
    }
    case kindRepeaterPool: {
        const int32_t site = GetCurrentSiteRange(*image).site;
        c.At(kPool + 10 * PoolRow(n), 10);
        for (int32_t i = 0; i < 2; ++i) {
            uint32_t& freq = i == 0 ? word1 : word2;
            int32_t raw = static_cast<int32_t>(std::min(freq, kMaxFreq));
            c.Dword(raw, 4 * i);
            if (!c.store) freq = std::min(static_cast<uint32_t>(raw), kMaxFreq);
        }
        flagA = word1 != 0 ? 1 : 0;
        c.Piece(flagE, 0, 8, 7, 1);
        c.Piece(flagE, 1, 8, 6, 1);
        c.Piece(flagE, 2, 8, 0, 1);
        c.At(kGroupRecords + 8 * site, 1);
        c.Piece(flagE, 3, 0, 7, 1);
        break;
    }
    default:
        break;
    }
}

void datCh::LoadWildcard(RecordCodec& c) {
    if (c.store) return;
    c.At(kFiveToneGlobal, 1);
    c.Whole(wildcard, 0);
}

// A two-tone code: its decode options in the five-tone receive table's
// entry; above row 0 its decode windows, tones and periods and its name
// entry, which also carries the row for the radio.
void datCh::TransferTwoTone(RecordCodec& c, int32_t n) {
    c.At(kFiveToneRx + 34 * n, 34);
    c.Whole(byteValue, 0);
    c.Bits(values[0], 31, 0, 2);
    if (c.store) {
        if ((c.Byte(29) != 0) != ((bits & 0x01) != 0)) c.Byte(29) = bits & 0x01 ? 255 : 0;
    } else if (c.Byte(29) != 0) {
        bits |= 0x01;
    }
    c.Piece(bits, 1, 31, 7, 1);
    c.Piece(bits, 2, 30, 0, 3);
    c.Piece(bits, 5, 31, 5, 1);
    c.Bits(values[1], 31, 3, 2);
    c.Bits(values[2], 30, 4, 2);
    c.Piece(bits, 6, 30, 3, 1);
    c.Bytes(text24, 4);
    c.StoreOnly(HasText(text24), 31, 2);
    if (n == 0) return;

    c.At(kTwoToneWindow + 8 * n, 8);
    c.Word(limits[0], 0);
    c.Word(limits[1], 2);
    c.Word(limits[2], 4);
    c.Word(limits[3], 6);
    int32_t tone1Word = TruncateInto(doubles[0], 65535), tone2Word = TruncateInto(doubles[1], 65535);
    int32_t period1 = TruncateInto(doubles[2], 255), period2 = TruncateInto(doubles[3], 255);
    c.At(kTwoToneFreq + 4 * n, 4);
    c.Word(tone1Word, 0);
    c.Word(tone2Word, 2);
    c.At(kTwoTonePeriod + 2 * n, 2);
    c.Whole(period1, 0);
    c.Whole(period2, 1);
    if (!c.store) doubles = {double(tone1Word), double(tone2Word), double(period1), double(period2)};

    c.At(kTwoToneName + 14 * n, 14);
    c.Bytes(name, 0);
    if (c.store) {
        const uint8_t row = static_cast<uint8_t>(n - 1);
        c.Byte(12) = static_cast<uint8_t>(row << 4 | (bits & 0x80 ? row : 0x0F));
    } else if ((c.Byte(12) & 0x0F) != 0x0F) {
        bits |= 0x80;
    }
    c.StoreOnly(HasText(name), 13, 5);
}

int32_t GetSiteChannelCountAt(const cmcEeprom& image, int32_t site, bool queryFirst) {
    if (queryFirst && gEvMan) gEvMan->SendWithAnswer(evQueryBank);
    return GetSiteChannelCount(image, site);
}

int32_t BankOfChannel(cmcEeprom& image, int32_t n) {
    return ::datCh(&image).BankOfChannel(n);
}

int32_t CountBankUsedChannels(cmcEeprom& image, int32_t bank) {
    const int32_t first = GetBankFirstChannel(image, bank);
    const int32_t end = std::min(first + GetBankChannelCount(image, bank), kChannelRows);
    datCh ch(&image);
    int32_t used = 0;
    for (int32_t n = first; n < end; ++n)
        used += ch.Load(GetModelClass(), n).InUse();
    return used;
}

int32_t LastUsedChannelInBank(cmcEeprom& image, int32_t bank) {
    const int32_t first = GetBankFirstChannel(image, bank);
    const int32_t end = std::min(first + GetBankChannelCount(image, bank), kChannelRows);
    datCh ch(&image);
    for (int32_t n = end - 1; n >= first; --n)
        if (ch.Load(GetModelClass(), n).InUse()) return n - first + 1;
    return 0;
}

} // namespace adj
