#include "image/ModelPasses.h"

#include "foundation/ByteUtil.h"
#include "foundation/ModelClass.h"
#include "foundation/TextUtil.h"
#include "image/BankSite.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/ImageUnpacking.h"
#include "image/PartitionTable.h"
#include "image/RecordLayout.h"
#include "image/cmcEeprom.h"
#include "image/datCh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

constexpr uint16_t kImageCode = 0x4405;
constexpr uint16_t kModelCode = 0x4410;
constexpr uint16_t kSubCode = 0;
constexpr uint16_t kSubCodeAlt = 256;
constexpr int32_t kHdrVersion = 2;
constexpr int32_t kHdrWriteFlag = 264;
constexpr int32_t kHdrSignatureEnd = 504; // the signature ends the packed data, found from 274 and 276

constexpr int32_t kFormFactorByte = 12;
constexpr uint8_t kHandheldBit = 0x20;

constexpr int kLmr = 1, kLtr = 2, kP25 = 3, kPmr = 4, kPmrZ = 5;

// Bits of the model-class string at 94210, in the order they are tested, and the class each one gives.
constexpr std::array<ClassBit, 4> kClassBits = {{{2, 4}, {7, 1}, {1, 3}, {3, 2}}};

bool IsLmrFamily(int cls) {
    return cls == kLmr || cls == kLtr || cls == kP25;
}

int ValidModelIndex(int index) {
    return index >= 0 && index <= 9 ? index : 0;
}

// The normalisation's state: the image, its reference and the model it is normalised for.
class Normalizer {
public:
    Normalizer(cmcEeprom& image, const cmcEeprom& reference, int modelIndex, int mode,
               const ImagePacking& pack, const NormalizeOptions* options)
        : img_(image), ref_(reference), p_(image.Data()), r_(reference.Data()),
          cls_(ModelClassOf(modelIndex)), handheld_(modelIndex <= 4), mode_(mode), pack_(pack),
          options_(options) {}

    void Run() {
        if (mode_ == 0) {
            if (options_)
                options_->unpack(img_, ref_, cls_, mode_);
            else
                UnpackImage(img_, cls_, pack_);
        }
        Header();
        if (options_) {
            options_->selections(img_, ref_, cls_, mode_);
        } else {
            Table6();
            Table62();
        }
        OptionBytes();
        KeyFlags();
        TextFlags();
        DialBytes();
        ClampBankCounts(img_);
        ClampSiteCounts(img_);
        CleanComment(layout::kComment1);
        CleanComment(layout::kComment2);
        if (options_) {
            options_->records(img_, ref_, cls_, mode_);
        } else {
            SignallingRecords();
            Channels();
            if (cls_ == kPmrZ) PmrZRecords();
        }
        SortIndexes();
        if (!options_ && mode_ == 1 && IsLmrFamily(cls_)) TwoToneWindows();
        // Cleared before packing, so that the radio part written or saved never carries it.
        p_[layout::kNewerDataByte] = 0;
        FromRef(layout::kNewerDataByte + 1);
        // A pack that does not fit leaves the image for the writer's own pack to refuse.
        if (mode_ == 1) (void)pack_(img_);
    }

private:
    void FromRef(int32_t at, uint8_t mask = 0xFF) {
        p_[at] = static_cast<uint8_t>((p_[at] & ~mask) | (r_[at] & mask));
    }
    void CopyRef(int32_t at, int32_t length) { std::memcpy(p_ + at, r_ + at, static_cast<size_t>(length)); }
    void SetBit(int32_t at, uint8_t mask, bool on) {
        p_[at] = static_cast<uint8_t>(on ? p_[at] | mask : p_[at] & ~mask);
    }

    void Header() {
        CopyRef(0, 4);
        CopyRef(8, 3);
        CopyRef(layout::kHdrSignature, 12);
        SetBit(kFormFactorByte, kHandheldBit, handheld_);
    }

    // The radio's start-up selections: the first channel, scan list and digit memory in use.
    void Table6() {
        constexpr int32_t kFirstChannel = 82242, kFirstScanList = 82245, kFirstDigitMemory = 82246;
        constexpr int32_t kOptions1 = 82248, kOptions2 = 82249;
        FromRef(82240);
        CopyRef(kFirstChannel, 2);
        int32_t firstInUse = -1, firstPlain = -1;
        datCh ch(&img_);
        for (int32_t n = 0; n < layout::kChannelRows && firstPlain < 0; ++n) {
            ch.Load(cls_, n);
            if (!ch.inUseForBank) continue;
            if (firstInUse < 0) firstInUse = n;
            if (!ch.rxFreqTopBit) firstPlain = n;
        }
        const int32_t first = firstPlain >= 0 ? firstPlain : firstInUse;
        if (first >= 0) img_.SetWord(kFirstChannel, static_cast<uint16_t>(first));
        FromRef(82244);
        FromRef(82247);
        const layout::StaticTable& scanLists = layout::Table(16);
        for (int32_t j = 0; j < scanLists.records; ++j)
            if (p_[scanLists.Record(j) + 24] & 0x1F) {
                p_[kFirstScanList] = static_cast<uint8_t>(j);
                break;
            }
        const layout::StaticTable& digitMemories = layout::Table(17);
        for (int32_t k = 0; k < digitMemories.records; ++k)
            if (p_[digitMemories.Record(k) + 36] != 0) {
                p_[kFirstDigitMemory] = static_cast<uint8_t>(k);
                break;
            }
        FromRef(kOptions1, 0xEF);
        FromRef(kOptions2, 0xF7);
        const int32_t bank = ch.BankOfChannel(img_.GetWord(kFirstChannel));
        if (bank > 15 && bank < layout::kBanks)
            p_[kOptions1] = static_cast<uint8_t>((p_[kOptions1] & 0xF0) | 1);
    }

    // Per bank the position of its start-up channel, the same rule as the first channel of
    // table 6; channels out of use are tidied, and LTR banks keep their home repeater in step.
    void Table62() {
        const layout::StaticTable& t = layout::Table(62);
        std::memset(p_ + t.offset, 0, static_cast<size_t>(t.Bytes()));
        datCh ch(&img_);
        for (int32_t b = 0; b < layout::kBanks; ++b) {
            const int32_t first = GetBankFirstChannel(img_, b);
            const int32_t end = std::min(first + GetBankChannelCount(img_, b), layout::kChannelRows);
            const bool ltr = IsBankFlagB(img_, b);
            int32_t firstInUse = -1, home = -1, plain = -1;
            for (int32_t row = first; row < end; ++row) {
                ch.Load(cls_, row);
                if (!ch.inUseForBank) {
                    if (ch.ltrBank)
                        ch.rxFreq = 0;
                    else
                        ch.grpRxId = 0;
                    ch.StoreSelf();
                    continue;
                }
                if (firstInUse < 0) firstInUse = row;
                if (home < 0 && ch.grpByte2 != 0) home = row;
                if (plain < 0 && !ch.rxFreqTopBit) plain = row;
                if (ltr && mode_ == 1) {
                    TakeHomeRepeater(ch, b);
                    ch.StoreSelf();
                }
            }
            // In an LTR bank a channel without a home repeater gives way to the next one.
            if (!ltr || home < 0) home = firstInUse;
            const int32_t chosen = plain >= 0 ? plain : home;
            if (chosen >= 0) img_.SetWord(t.Record(b), static_cast<uint16_t>(chosen - first));
            if (ltr && mode_ == 0 && home >= 0) GiveHomeRepeater(ch.Load(cls_, home), b);
        }
    }

    // The pool entry of the bank's site that a home-repeater position names; -1 when the
    // position is 0 or lies outside the site's own entries.
    int32_t HomePoolEntry(int32_t site, int32_t position) const {
        if (position < 1 || position > GetSiteChannelCount(img_, site)) return -1;
        const int32_t entry = GetSiteFirstChannel(img_, site) + position - 1;
        return entry < layout::kPoolRows ? entry : -1;
    }

    static constexpr int32_t kPoolFlags = 8;
    static constexpr uint8_t kPoolNar = 0x20;
    static constexpr int kPoolRfPoShift = 3;
    static constexpr int32_t kGroupAreaByte = 0, kGroupHomeByte = 7;
    static constexpr uint8_t kGroupAreaBit = 0x80;

    uint8_t* Group(int32_t bank) { return p_ + layout::kGroupRecords + layout::kGroupRecordSize * bank; }
    uint8_t* Pool(int32_t entry) { return p_ + layout::kPool + layout::kPoolEntrySize * entry; }

    void GiveHomeRepeater(const datCh& ch, int32_t bank) {
        uint8_t* g = Group(bank);
        g[kGroupHomeByte] = ch.grpByte2;
        g[kGroupAreaByte] =
            static_cast<uint8_t>((g[kGroupAreaByte] & ~kGroupAreaBit) | (ch.chBitX0b7 ? kGroupAreaBit : 0));
        const int32_t entry = HomePoolEntry(bank, ch.grpByte2);
        if (entry < 0) return;
        uint8_t& flags = Pool(entry)[kPoolFlags];
        flags = static_cast<uint8_t>((flags & ~kPoolNar & ~(3 << kPoolRfPoShift)) |
                                     (ch.chBitS12b6 ? kPoolNar : 0) | (ch.chX0Low2 & 3) << kPoolRfPoShift);
    }

    void TakeHomeRepeater(datCh& ch, int32_t bank) {
        const uint8_t* g = Group(bank);
        ch.grpByte2 = g[kGroupHomeByte];
        ch.chBitX0b7 = (g[kGroupAreaByte] & kGroupAreaBit) != 0;
        const int32_t entry = HomePoolEntry(bank, ch.grpByte2);
        if (entry < 0) return;
        const uint8_t flags = Pool(entry)[kPoolFlags];
        ch.chBitS12b6 = (flags & kPoolNar) != 0;
        ch.chX0Low2 = static_cast<uint8_t>(flags >> kPoolRfPoShift & 3);
    }

    void OptionBytes() {
        FromRef(93782, 0x04);
        FromRef(93821, 0x20);
        if (cls_ != kPmrZ) FromRef(93820, 0x3F);
        if (!handheld_) CopyRef(93892, 3);
        CopyRef(layout::kClassBits, 2);
        if (IsLmrFamily(cls_)) {
            FromRef(93821, 0x03);
            FromRef(93822, 0x02);
            FromRef(93823, 0x40);
            FromRef(93825, 0x80);
            FromRef(93836);
        }
        FromRef(93822, 0x04);
        FromRef(93823, 0x01);
    }

    // Flags the radio reads to know which functions the programmable keys call.
    void KeyFlags() {
        constexpr int32_t kKeys = 93860, kKeyCount = 16, kKeyFunctions = 93826;
        auto any = [&](std::initializer_list<uint8_t> codes) {
            for (int32_t i = 0; i < kKeyCount; ++i)
                if (std::find(codes.begin(), codes.end(), p_[kKeys + i]) != codes.end()) return true;
            return false;
        };
        SetBit(93822, 0x01, any({32}));
        uint8_t& f = p_[kKeyFunctions];
        // Some programs leave a function bit set that no key calls any more.
        const bool keep = options_ && options_->keepKeyFunctionBits;
        auto mark = [&](uint8_t mask, bool called) {
            if (called || !keep) SetBit(kKeyFunctions, mask, called);
        };
        mark(0x02, any({48, 51}));
        mark(0x04, any({49, 52}));
        mark(0x08, any({50, 53}));
        if (!(f & 0x02)) f &= static_cast<uint8_t>(~0x20);
        if (!(f & 0x04)) f &= static_cast<uint8_t>(~0x40);
        if (!(f & 0x08)) f &= static_cast<uint8_t>(~0x80);
    }

    bool AllBlank(int32_t at, int32_t length) const {
        return std::all_of(p_ + at, p_ + at + length, [](uint8_t c) { return c == ' '; });
    }

    void TextFlags() {
        if (cls_ != kPmrZ) FromRef(93824, 0xC0);
        const layout::StaticTable& texts = layout::Table(22);
        SetBit(93824, 0x20, !AllBlank(texts.Record(0), texts.recordSize));
        SetBit(layout::kBankFlags, 0x20, !AllBlank(texts.Record(1), texts.recordSize));
        if (cls_ == kPmr || cls_ == kPmrZ) FromRef(93840);
        if (cls_ == kLmr || cls_ == kLtr) FromRef(93854);
    }

    // The counter-clockwise turn of the dial follows the clockwise one, for both key sets.
    void DialBytes() {
        auto follow = [](uint8_t v) -> uint8_t {
            switch (v) {
            case 1:
            case 30:
            case 64:
            case 72:
                return static_cast<uint8_t>(v + 1);
            default:
                return 0;
            }
        };
        p_[93871] = follow(p_[93870]);
        p_[93887] = follow(p_[93886]);
    }

    void CleanComment(int32_t at) {
        constexpr int32_t kCommentLength = 16;
        for (int32_t i = 0; i < kCommentLength; ++i)
            if (!IsPrintable(p_[at + i])) p_[at + i] = ' ';
    }

    // Loads a row, lays the reference's bytes under it and stores it again, so that the
    // fields the kind encodes keep the image's values and every other bit is the reference's.
    // A row the kind does not decode would come back as the reference's whole: it is left alone.
    template <typename... Ranges> bool Rebase(datCh& ch, int32_t kind, int32_t n, Ranges... ranges) {
        if (n > datCh::FieldMax(kind)) return false;
        ch.Load(kind, n);
        (CopyRef(ranges.first, ranges.second), ...);
        ch.Store(kind, n);
        return true;
    }
    using Span = std::pair<int32_t, int32_t>;

    void SignallingRecords() {
        datCh ch(&img_);
        const layout::StaticTable& tonePairs = layout::Table(14);
        for (int32_t n = 0; n < tonePairs.records; ++n)
            Rebase(ch, 9, n, Span{tonePairs.Record(n), tonePairs.recordSize});
        const layout::StaticTable& scanLists = layout::Table(16);
        for (int32_t n = 0; n < scanLists.records; ++n)
            Rebase(ch, 8, n, Span{scanLists.Record(n) + 24, 10});
        const layout::StaticTable& digitMemories = layout::Table(17);
        for (int32_t n = 0; n < digitMemories.records; ++n)
            Rebase(ch, 7, n, Span{digitMemories.Record(n), digitMemories.recordSize});
        const layout::StaticTable& dtmfRx = layout::Table(46);
        for (int32_t n = 0; n < dtmfRx.records; ++n)
            Rebase(ch, 25, n, Span{dtmfRx.Record(n), dtmfRx.recordSize});

        const layout::StaticTable& codes = layout::Table(20);
        const int32_t codeKind = IsLmrFamily(cls_) ? 13 : 10;
        for (int32_t n = 0; n < codes.records; ++n) {
            const int32_t at = codes.Record(n);
            Rebase(ch, codeKind, n, Span{at, codes.recordSize});
            FromRef(at + 30, 0x08);
            if (IsLmrFamily(cls_)) {
                FromRef(at + 28);
                FromRef(at + 30, 0xC0);
                FromRef(at + 31, 0x40);
                FromRef(at + 32, 0x80);
            }
        }

        const layout::StaticTable& txCodes = layout::Table(18);
        const layout::StaticTable& txEntries = layout::Table(19);
        for (int32_t n = 0; n < txEntries.records; ++n) {
            if (cls_ == kPmr || cls_ == kPmrZ)
                Rebase(ch, 11, n, Span{txCodes.Record(n), txCodes.recordSize},
                       Span{txEntries.Record(n), txEntries.recordSize});
            else
                FromRef(txEntries.Record(n) + 13, 0x10);
        }
    }

    void Channels() {
        datCh ch(&img_);
        for (int32_t n = 0; n < layout::kChannelRows; ++n) {
            const int32_t s = layout::kChannelS + 30 * n;
            const int32_t x = layout::kChannelX + 22 * n;
            ch.Load(cls_, n);
            CopyRef(s, 30);
            CopyRef(x, 22);
            // An unprogrammed channel becomes the reference's records, and what follows is
            // worked out from them rather than from what was thrown away.
            if (ch.programmed)
                ch.StoreSelf();
            else
                ch.Reload();
            const bool f = ch.ltrBank && ch.dtmfDec ? ch.rxCNoDtmf != 0 : ch.rxCNo != 0;
            NormalizeChannelBits(img_, ref_, n, cls_, f, ch.ltrBank, true);
        }
    }

    void PmrZRecords() {
        const layout::StaticTable& idGroups = layout::Table(29);
        for (int32_t n = 0; n < idGroups.records; ++n) {
            const int32_t at = idGroups.Record(n);
            FromRef(at + 26);
            FromRef(at + 27);
            FromRef(at + 28, 0xF8);
            FromRef(at + 29, 0xF8);
            FromRef(at + 30, 0x80);
        }
        const layout::StaticTable& callList = layout::Table(28);
        for (int32_t n = 0; n < callList.records; ++n)
            FromRef(callList.Record(n) + 13, 0xC0);
        const layout::StaticTable& status = layout::Table(31);
        for (int32_t n = 0; n < status.records; ++n)
            FromRef(status.Record(n) + 12, 0x40);
    }

    // The radio looks IDs up through these indexes; equal keys keep their order.
    template <typename Key>
    void SortIndex(const layout::StaticTable& index, const layout::StaticTable& keys, Key key) {
        std::vector<uint8_t> order(static_cast<size_t>(keys.records));
        std::iota(order.begin(), order.end(), uint8_t{0});
        std::stable_sort(order.begin(), order.end(),
                         [&](uint8_t a, uint8_t b) { return key(keys.Record(a)) < key(keys.Record(b)); });
        std::memcpy(p_ + index.offset, order.data(), order.size());
    }

    void SortIndexes() {
        static_assert(layout::Table(38).Bytes() == layout::Table(34).records);
        static_assert(layout::Table(39).Bytes() == layout::Table(35).records);
        SortIndex(layout::Table(38), layout::Table(34), [&](int32_t at) {
            return uint32_t{p_[at]} << 24 | uint32_t{p_[at + 1]} << 16 | uint32_t{p_[at + 2]} << 8 |
                   p_[at + 3];
        });
        SortIndex(layout::Table(39), layout::Table(35), [&](int32_t at) { return img_.GetWord(at); });
    }

    // Decode windows of 2 % either side of each transmit tone, held inside their 16-bit words.
    void TwoToneWindows() {
        auto window = [](double f, double factor) {
            return static_cast<int32_t>(std::clamp(std::trunc(f * factor + 0.5), 0.0, 65535.0));
        };
        datCh ch(&img_);
        for (int32_t n = 0; n < layout::Table(20).records; ++n) {
            ch.Load(kindTwoTone, n);
            ch.ttRx1A = window(ch.ttTx1Freq, 0.98);
            ch.ttRx1B = window(ch.ttTx1Freq, 1.02);
            ch.ttRx2A = window(ch.ttTx2Freq, 0.98);
            ch.ttRx2B = window(ch.ttTx2Freq, 1.02);
            ch.StoreSelf();
        }
    }

    cmcEeprom& img_;
    const cmcEeprom& ref_;
    uint8_t* p_;
    const uint8_t* r_;
    const int cls_;
    const bool handheld_;
    const int mode_;
    const ImagePacking& pack_;
    const NormalizeOptions* options_;
};

} // namespace

void NormalizeChannelBits(cmcEeprom& image, const cmcEeprom& reference, int32_t n, int modelClass,
                          bool decodeField, bool ltrBank, bool clearPmrZByte4) {
    uint8_t* p = image.Data();
    const uint8_t* r = reference.Data();
    auto fromRef = [&](int32_t at, uint8_t mask) {
        p[at] = static_cast<uint8_t>((p[at] & ~mask) | (r[at] & mask));
    };
    auto setBit = [&](int32_t at, uint8_t mask, bool on) {
        p[at] = static_cast<uint8_t>(on ? p[at] | mask : p[at] & ~mask);
    };
    const int32_t s = layout::kChannelS + 30 * n;
    const int32_t x = layout::kChannelX + 22 * n;
    fromRef(s + 12, 0x80);
    if (IsLmrFamily(modelClass)) {
        fromRef(x + 0, 0x40);
        fromRef(x + 1, 0x08);
        fromRef(x + 2, 0xF1);
        fromRef(x + 6, 0xCF);
        fromRef(x + 7, 0xFF);
        fromRef(x + 9, 0xFF);
        setBit(x + 1, 0x01, decodeField);
        setBit(x + 2, 0x08, decodeField);
        setBit(x + 2, 0x04, decodeField);
        if (ltrBank) {
            fromRef(x + 1, 0x04);
            setBit(x + 2, 0x40, true);
        }
    }
    if (modelClass != kPmrZ) {
        setBit(x + 3, 0x08, false);
    } else {
        if (p[x + 3] & 0x08) {
            setBit(x + 10, 0x80, true);
            fromRef(x + 9, 0xFF);
            fromRef(x + 6, 0xC0);
        } else {
            setBit(x + 3, 0x04, false);
        }
        if (clearPmrZByte4) p[x + 4] = 0;
    }
    // The scramble code's byte: type 1 has the single code 1, type 2 the
    // codes 1..16 held as 0..15.
    switch (p[x + 18] >> 6) {
    case 1:
        p[x + 5] = 1;
        break;
    case 2:
        p[x + 5] = std::min<uint8_t>(p[x + 5], 15);
        break;
    default:
        break;
    }
}

int CheckImageHeader(const cmcEeprom& image, bool strict) {
    if (!image.IsValidRange(0, kHdrWriteFlag + 1)) return 1;
    const uint8_t* p = image.Data();
    if (image.GetWord(0) != kImageCode || p[kHdrVersion] != 1 || p[kHdrWriteFlag] >= 2) return 1;
    if (!strict) return 0;
    if (!image.IsValidRange(0, layout::kHdrBase + 2)) return 1;
    const int32_t signatureBytes = sizeof layout::kMakerSignature - 1;
    if (std::memcmp(p + layout::kHdrSignature, layout::kMakerSignature, signatureBytes) != 0) return 1;
    if (image.GetWord(layout::kHdrModelCode) != kModelCode) return 1;
    const int32_t end =
        int32_t{image.GetWord(layout::kHdrEndAddress)} - image.GetWord(layout::kHdrBase) + kHdrSignatureEnd;
    if (!image.IsValidRange(end, signatureBytes)) return 1;
    return std::memcmp(p + end, layout::kMakerSignature, signatureBytes) == 0 ? 0 : 1;
}

bool CheckModelCodes(uint16_t code1, uint16_t code2, int& result) {
    constexpr int kModelDiffers = 3, kSubCodeDiffers = 4;
    if (code1 != kModelCode) {
        result = kModelDiffers;
        return false;
    }
    if (code2 != kSubCode && code2 != kSubCodeAlt) {
        result = kSubCodeDiffers;
        return false;
    }
    return true;
}

RangeList CloneAreasFor(int areaType) {
    constexpr int32_t kRadioEnd = layout::kDynamicEnd - 1;
    switch (areaType) {
    case 0:
        return {{0x100, kRadioEnd}, kRangeListEnd};
    case 5:
        return {{0, 0xD6}, kRangeListEnd};
    default:
        return {{0, kRadioEnd}, kRangeListEnd};
    }
}

int DetectModelIndex(const cmcEeprom& image) {
    return DetectModelIndex(image, kClassBits);
}

int DetectModelIndex(const cmcEeprom& image, std::span<const ClassBit> order) {
    uint8_t bits[2] = {0, 0};
    image.Read(layout::kClassBits, bits, 2);
    int index = 0;
    for (const ClassBit& c : order)
        if (GetBitMsb(bits, 2, c.bit)) {
            index = c.modelIndex;
            break;
        }
    const bool handheld =
        image.IsValidAddress(kFormFactorByte) && (image.GetByte(kFormFactorByte) & kHandheldBit);
    return handheld ? index : index + 5;
}

bool IsLockedOutNewerData(const cmcEeprom& image, const std::string& lockoutText, const ImagePacking& pack) {
    if (ParseLeadingDecimal(lockoutText) == 0) return false;
    if (!image.IsValidAddress(layout::kNewerDataByte)) return false;
    cmcEeprom scratch(image);
    UnpackImage(scratch, GetModelClass(), pack);
    return scratch.GetByte(layout::kNewerDataByte) != 0;
}

void NormalizeImage(cmcEeprom& image, const cmcEeprom& reference, int modelIndex, int mode,
                    const ImagePacking& pack) {
    if (!IsWorkingLayout(image) || !IsWorkingLayout(reference)) return;
    Normalizer(image, reference, ValidModelIndex(modelIndex), mode, pack, nullptr).Run();
}

void NormalizeImage(cmcEeprom& image, const cmcEeprom& reference, int modelIndex, int mode,
                    const ImagePacking& pack, const NormalizeOptions& options) {
    if (!IsWorkingLayout(image) || !IsWorkingLayout(reference)) return;
    Normalizer(image, reference, ValidModelIndex(modelIndex), mode, pack, &options).Run();
}

int AfterLoadImage(cmcEeprom& image, const cmcEeprom& reference, const std::function<void(int)>& changeModel,
                   const ImagePacking& pack) {
    UnpackImage(image, GetModelClass(), pack);
    const int index = DetectModelIndex(image);
    if (changeModel) changeModel(index);
    NormalizeImage(image, reference, index, 0, pack);
    return index;
}
