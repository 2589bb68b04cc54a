#include "adjust/AdjustImagePasses.h"

#include "adjust/AdjustLayout.h"
#include "adjust/AdjustRecords.h"
#include "foundation/ModelClass.h"
#include "image/BankSite.h"
#include "image/ImageUnpacking.h"
#include "image/ModelPasses.h"
#include "image/PartitionTable.h"
#include "image/RecordLayout.h"
#include "image/cmcEeprom.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace adj {

namespace {

constexpr int kLmr = 1;

// The calibration block as the radio sent it, before unpacking overwrites
// the partition-table copy: the radio copy then holds what the radio holds.
void CopyRadioBlock(cmcEeprom& image, cmcEeprom* radioCopy, bool whole) {
    if (!radioCopy || !radioCopy->IsValidRange(kRadioBlock, kRadioBlockBytes)) return;
    if (!LoadPtbl(image)) return;
    const uint8_t* e = FindPtblEntry(image.Data() + layout::kPtblCopy, PtblEntryCount(image), 6);
    if (!e) return;
    const PtblEntry entry = ReadPtblEntry(e);
    const int64_t from = DynamicOffset(image, entry.address);
    const int32_t length = whole ? kRadioBlockBytes : std::min<int32_t>(entry.recordSize, kRadioBlockBytes);
    if (InDynamicArea(from, length)) radioCopy->Write(kRadioBlock, image.Data() + from, length);
}

// The two-tone codes; code 0 is the group call and has no tones to decode.
constexpr int32_t kTwoToneCodes = 11;

int32_t Limit(double factor, int32_t tone) {
    const double v = std::trunc(factor * tone + 0.5);
    return static_cast<int32_t>(std::clamp(v, 0.0, 65535.0));
}

// The radio's start-up selections: its first channel, and each bank's.
// They lie in the calibration block.
constexpr int32_t kSelections = kRadioBlock + 16, kSelectionBytes = 10;
constexpr int32_t kFirstChannel = kRadioBlock + 18, kFirstChannelOptions = kRadioBlock + 24;
constexpr int32_t kBankFirstChannels = layout::Table(62).offset; // 128 words
using layout::kBanks, layout::kChannelRows;
static_assert(kSelections + kSelectionBytes <= kRadioBlock + kRadioBlockBytes);
static_assert(layout::Table(62).records == kBanks && layout::Table(62).recordSize == 2);

// The start-up channel among rows first..end-1: the first channel in use
// whose receive word's top bit is clear, else the first in use; -1 for none.
int32_t StartChannel(cmcEeprom& image, int modelClass, int32_t first, int32_t end) {
    datCh ch(&image);
    int32_t inUse = -1;
    for (int32_t n = first; n < end; ++n) {
        if (!ch.Load(modelClass, n).InUse()) continue;
        if (!(ch.flagC & 1)) return n;
        if (inUse < 0) inUse = n;
    }
    return inUse;
}

// The first row of a kind that the test picks; -1 for none.
template <typename Test> int32_t FirstRow(cmcEeprom& image, int32_t kind, int32_t rows, Test test) {
    datCh row(&image);
    for (int32_t n = 0; n < rows; ++n)
        if (test(row.Load(kind, n))) return n;
    return -1;
}

void Selections(cmcEeprom& image, const cmcEeprom& reference, int modelClass) {
    constexpr int32_t kFirstScanList = kRadioBlock + 21, kFirstDigitMemory = kRadioBlock + 22;
    image.Write(kSelections, reference.Data() + kSelections, kSelectionBytes);
    const int32_t first = StartChannel(image, modelClass, 0, kChannelRows);
    if (first >= 0) image.SetWord(kFirstChannel, static_cast<uint16_t>(first));
    const int32_t scanList = FirstRow(image, 10, 17, [](const datCh& r) { return (r.flagD & 0x0F) != 0; });
    if (scanList >= 0) image.SetByte(kFirstScanList, static_cast<uint8_t>(scanList));
    const int32_t memory = FirstRow(image, 9, 8, [](const datCh& r) { return HasText(r.text24); });
    if (memory >= 0) image.SetByte(kFirstDigitMemory, static_cast<uint8_t>(memory));
    const int32_t bank = BankOfChannel(image, image.GetWord(kFirstChannel));
    if (bank > 15 && bank < kBanks)
        image.SetByte(kFirstChannelOptions,
                      static_cast<uint8_t>((image.GetByte(kFirstChannelOptions) & 0xF0) | 1));
    for (int32_t b = 0; b < kBanks; ++b) {
        const int32_t from = GetBankFirstChannel(image, b);
        const int32_t end = std::min(from + GetBankChannelCount(image, b), kChannelRows);
        const int32_t start = StartChannel(image, modelClass, from, end);
        image.SetWord(kBankFirstChannels + 2 * b, static_cast<uint16_t>(start >= 0 ? start - from : 0));
    }
}

// Every channel's records become the reference's, with the fields of a
// channel in use encoded over them again.
void Channels(cmcEeprom& image, const cmcEeprom& reference, int modelClass) {
    constexpr int32_t kE = layout::kChannelS, kG = layout::kChannelX;
    constexpr int32_t kOptionByte = layout::Table(8).offset + 51;
    image.SetByte(kOptionByte, static_cast<uint8_t>((image.GetByte(kOptionByte) & ~0x10) |
                                                    (reference.GetByte(kOptionByte) & 0x10)));
    datCh ch(&image);
    for (int32_t n = 0; n < kChannelRows; ++n) {
        ch.Load(modelClass, n);
        image.Write(kE + 30 * n, reference.Data() + kE + 30 * n, 30);
        image.Write(kG + 22 * n, reference.Data() + kG + 22 * n, 22);
        if (ch.InUse())
            ch.Store(modelClass, n);
        else
            ch.Load(modelClass, n);
        NormalizeChannelBits(image, reference, n, modelClass, ch.v7 != 0, false, false);
    }
}

// Row n of a kind decoded from the image, laid over the reference's bytes of
// the given places and stored again: every bit the record does not own takes
// the reference's value.
struct Place {
    int32_t at;
    int32_t length;
};
void Rebase(cmcEeprom& image, const cmcEeprom& reference, int32_t kind, int32_t n,
            std::initializer_list<Place> places) {
    datCh row(&image);
    row.Load(kind, n);
    for (const Place& p : places)
        image.Write(p.at, reference.Data() + p.at, p.length);
    row.Store(kind, n);
}

void FromReference(cmcEeprom& image, const cmcEeprom& reference, int32_t at, uint8_t mask) {
    image.SetByte(at, static_cast<uint8_t>((image.GetByte(at) & ~mask) | (reference.GetByte(at) & mask)));
}

constexpr int kPmr = 4, kPmrZ = 5;

void SignallingRecords(cmcEeprom& image, const cmcEeprom& reference, int modelClass) {
    constexpr int32_t kTonePairs = layout::kTonePair, kScanLists = layout::kScanListRec;
    constexpr int32_t kDigitMemories = layout::kDigitMemory, kCodes = layout::kFiveToneRx;
    constexpr int32_t kTxEntries = layout::kFiveToneTx, kTxCodes = layout::kFiveToneTxCode;
    const bool pmr = modelClass == kPmr || modelClass == kPmrZ;
    for (int32_t n = 0; n < 40; ++n)
        Rebase(image, reference, 11, n, {{kTonePairs + 4 * n, 4}});
    for (int32_t n = 0; n < 17; ++n)
        Rebase(image, reference, 10, n, {{kScanLists + 34 * n + 24, 2}});
    for (int32_t n = 0; n < 8; ++n)
        Rebase(image, reference, 9, n, {{kDigitMemories + 37 * n, 37}});
    for (int32_t n = 0; n < 11; ++n) {
        const int32_t at = kCodes + 34 * n;
        Rebase(image, reference, pmr ? 12 : 15, n, {{at, 34}});
        FromReference(image, reference, at + 30, 0x08);
        if (!pmr) {
            FromReference(image, reference, at + 28, 0xFF);
            FromReference(image, reference, at + 30, 0xC0);
            FromReference(image, reference, at + 31, 0x40);
            FromReference(image, reference, at + 32, 0x80);
        }
    }
    if (pmr) {
        for (int32_t n = 0; n < 32; ++n)
            Rebase(image, reference, 13, n, {{kTxEntries + 14 * n, 14}});
        image.Write(kTxCodes, reference.Data() + kTxCodes, 4 * 32);
    } else {
        for (int32_t n = 0; n < 32; ++n)
            FromReference(image, reference, kTxEntries + 14 * n + 13, 0x10);
    }
    if (modelClass != kPmrZ) return;
    for (int32_t n = 0; n < 8; ++n) {
        const int32_t at = layout::kMskIdGroup + 26 + 32 * n;
        FromReference(image, reference, at, 0xFF);
        FromReference(image, reference, at + 1, 0xFF);
        FromReference(image, reference, at + 2, 0xF8);
        FromReference(image, reference, at + 3, 0xF8);
        FromReference(image, reference, at + 4, 0x80);
    }
    for (int32_t n = 0; n < 32; ++n)
        FromReference(image, reference, layout::kMskCallList + 14 * n + 13, 0xC0);
    for (int32_t n = 0; n < 24; ++n)
        FromReference(image, reference, layout::kMskStatusV + 16 * n + 12, 0x40);
}

} // namespace

void NormalizeImage(cmcEeprom& image, const cmcEeprom& reference, int modelIndex, int mode,
                    cmcEeprom* radioCopy) {
    NormalizeOptions options;
    options.unpack = [radioCopy](cmcEeprom& img, const cmcEeprom&, int, int) {
        UnpackDynamicArea(img, radioCopy);
    };
    options.selections = [](cmcEeprom& img, const cmcEeprom& ref, int modelClass, int) {
        Selections(img, ref, modelClass);
    };
    options.records = [](cmcEeprom& img, const cmcEeprom& ref, int modelClass, int) {
        SignallingRecords(img, ref, modelClass);
        Channels(img, ref, modelClass);
    };
    options.keepKeyFunctionBits = true;
    ::NormalizeImage(image, reference, modelIndex, mode, Packing(), options);
}

int Static2Dynamic(cmcEeprom& image, int mode) {
    return ::Static2Dynamic(image, mode, GetModelClass(), AdjustLayout());
}

int Static2DynamicInit(cmcEeprom& image) {
    return adj::Static2Dynamic(image, kPackPlain);
}

ImagePacking Packing() {
    return [](cmcEeprom& image) { return adj::Static2DynamicInit(image); };
}

void UnpackDynamicArea(cmcEeprom& image, cmcEeprom* radioCopy) {
    if (!IsWorkingLayout(image)) return;
    CopyRadioBlock(image, radioCopy, false);
    UnpackImage(image, Packing(), AdjustLayout());
}

void Dynamic2Static(cmcEeprom& image, cmcEeprom* radioCopy) {
    if (!IsWorkingLayout(image)) return;
    CopyRadioBlock(image, radioCopy, true);
    ::Dynamic2Static(image, AdjustLayout());
}

int FitsDynamicArea(const cmcEeprom& image, int category, int32_t n, int32_t x) {
    if (category != kChannelCategory) return 1;
    const int64_t room = int64_t{layout::kDynamicEnd} - image.GetWord(layout::kHdrEndAddress);
    const int64_t perChannel = x == kBank127 ? 30 + 22 : 30 + 22 + 6;
    return perChannel * n <= room ? 1 : 0;
}

void SetToleranceLimits(cmcEeprom& image, uint8_t dataVersion, int modelClass) {
    if (modelClass != kLmr || !IsWorkingLayout(image)) return;
    const double t = dataVersion <= 0x10 ? 0.03 : 0.02;
    datCh code(&image);
    for (int32_t n = 1; n < kTwoToneCodes; ++n) {
        code.Load(kindTwoTone, n);
        for (int32_t k = 0; k < 2; ++k) {
            const int32_t tone = static_cast<int32_t>(code.doubles[static_cast<size_t>(k)]);
            code.limits[static_cast<size_t>(2 * k)] = Limit(1 - t, tone);
            code.limits[static_cast<size_t>(2 * k + 1)] = Limit(1 + t, tone);
        }
        code.Store(kindTwoTone, n);
    }
}

} // namespace adj
