#include "image/ImagePacking.h"

#include "foundation/ModelClass.h"
#include "image/BankSite.h"
#include "image/DynamicCapacity.h"
#include "image/ImageLayout.h"
#include "image/LayoutProfile.h"
#include "image/PartitionTable.h"
#include "image/cmcEeprom.h"
#include "platform/Fatal.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

using layout::StaticTable;

constexpr int32_t kBase = layout::kDynamicStart;
constexpr int kLtr = 2, kP25 = 3, kPmrZ = 5;
constexpr uint8_t kWidenBank127 = 0x40;
constexpr int32_t kSignatureLength = sizeof layout::kMakerSignature - 1; // no terminator in the image

uint16_t Word(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

void PutWord(uint8_t* p, int32_t v) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}

bool PackedFor(layout::PackWhen when, int modelClass) {
    switch (when) {
    case layout::PackWhen::Always:
        return true;
    case layout::PackWhen::Never:
        return false;
    case layout::PackWhen::LtrOnly:
        return modelClass == kLtr;
    case layout::PackWhen::P25Only:
        return modelClass == kP25;
    case layout::PackWhen::NotPmrZ:
        return modelClass != kPmrZ;
    }
    return false;
}

// The counts packing goes by, as the accessors give them: never more rows
// than the tables hold, so that no count makes packing read past a table.
struct Counts {
    int32_t total = 0;    // channels of all banks
    int32_t bank127 = 0;  // channels of bank 127
    int32_t below127 = 0; // channels of banks 0..126
    int32_t pool = 0;     // used repeater-pool entries
};

Counts CountsOf(const cmcEeprom& image) {
    Counts c;
    c.total = GetTotalBankChannels(image);
    c.bank127 = std::min(GetBankChannelCount(image, layout::kBanks - 1), c.total);
    c.below127 = c.total - c.bank127;
    c.pool = GetTotalSiteChannels(image);
    return c;
}

class Packer {
public:
    Packer(cmcEeprom& image, int mode, int modelClass, const layout::LayoutProfile& layout)
        : eeprom_(image), image_(image.Data()), mode_(mode), class_(modelClass), layout_(layout),
          counts_(CountsOf(image)) {}

    int Run() {
        std::memset(image_ + layout::kDynamicStart, 0, layout::kDynamicEnd - layout::kDynamicStart);
        PutWord(image_ + layout::kHdrBase, kBase);
        for (const StaticTable* t : layout_.PackSequence()) {
            if (t->packOrder == layout_.BlockAfterBank127()) {
                PackBank127();
                if (overflow_) break;
                PutWord(image_ + layout::kHdrBlock3Address, Address());
            }
            if (!PackedFor(t->when, class_)) continue;
            if (!Append(t->id, *t, 0, CountOf(*t))) break;
        }
        if (overflow_) return 1;

        uint8_t* table = image_ + layout::kPtblCopy;
        CheckPtblDuplicates(table, k_);
        const int32_t length = layout::kPtblEntrySize * k_;
        if (!Fits(length)) return 1;
        WritePtblEntry(image_ + layout::kHdrOwnEntry,
                       {layout::kPtblId, static_cast<uint16_t>(layout::kPtblEntrySize),
                        static_cast<uint16_t>(k_), static_cast<uint16_t>(Address())});
        std::memcpy(image_ + layout::kDynamicStart + e_, table, static_cast<size_t>(length));
        e_ += length;

        if (!Fits(kSignatureLength)) return 1;
        std::memcpy(image_ + layout::kDynamicStart + e_, layout::kMakerSignature, kSignatureLength);
        e_ += kSignatureLength;
        PutWord(image_ + layout::kHdrEndAddress, Address());
        return 0;
    }

private:
    int32_t Address() const { return kBase + e_; }
    bool Fits(int64_t length) const { return layout_.Fits(Address(), length); }

    int32_t CountOf(const StaticTable& t) const {
        switch (t.count) {
        case layout::PackCount::Whole:
            return t.records;
        case layout::PackCount::ChannelsBelowBank127:
            return counts_.below127;
        case layout::PackCount::UsedPool:
            return std::min(counts_.pool, t.records);
        case layout::PackCount::AllChannels:
            return std::min(counts_.total, t.records);
        }
        return 0;
    }

    // What packing spends behind the bank-127 blocks: the blocks after them,
    // the partition table with every entry, the signature.
    int64_t BytesBehindBank127() const {
        int64_t bytes = kSignatureLength;
        int32_t entries = k_ + static_cast<int32_t>(layout_.Bank127Blocks().size());
        for (const StaticTable* t : layout_.PackSequence()) {
            if (t->packOrder < layout_.BlockAfterBank127() || !PackedFor(t->when, class_)) continue;
            bytes += int64_t{t->recordSize} * CountOf(*t);
            ++entries;
        }
        return bytes + int64_t{layout::kPtblEntrySize} * entries;
    }

    // How many channel records a clone write with the widen flag sends as
    // blocks 4 and 5.
    int32_t WidenedCount() const {
        const int32_t most = layout::kChannelRows - counts_.below127;
        if (layout_.GetRules().widen == layout::WidenRule::WholeArea) {
            // As many as leave room for everything behind them, never fewer
            // than the bank's own: those overflow as they would unwidened.
            const int64_t room = layout::kDynamicEnd - Address() - BytesBehindBank127();
            const int64_t fit = room < 0 ? 0 : room / layout::kBank127BytesPerChannel;
            return static_cast<int32_t>(std::max<int64_t>(counts_.bank127, std::min<int64_t>(most, fit)));
        }
        const int32_t u =
            MaxFittingCount(eeprom_, kCategoryChannel, layout::kChannelRows - counts_.total, kBank127Mode);
        int32_t v = std::max(0, std::min(most, u));
        while (!Fits(int64_t{layout::kBank127BytesPerChannel} * v))
            --v;
        return v;
    }

    // Bank 127's channels go as blocks 4 and 5; a clone write with the widen
    // flag sends more channel records behind banks 0..126.
    void PackBank127() {
        const bool widen = (image_[layout::kBankFlags] & kWidenBank127) != 0;
        if (counts_.bank127 == 0 && !widen) return;
        const int32_t v = mode_ == kPackCloneWrite && widen ? WidenedCount() : counts_.bank127;
        if (!Fits(int64_t{layout::kBank127BytesPerChannel} * v)) {
            overflow_ = true;
            return;
        }
        for (const layout::Bank127Block& b : layout_.Bank127Blocks())
            if (!Append(b.id, layout_.Get(b.table), counts_.below127, v)) return;
    }

    // Appends `count` records of table t from record `first` as block `id`.
    bool Append(uint16_t id, const StaticTable& t, int32_t first, int32_t count) {
        const int32_t length = t.recordSize * count;
        if (!Fits(length)) {
            overflow_ = true;
            return false;
        }
        if (layout_.GetRules().fillDerived) layout_.GetRules().fillDerived(image_, id, Address());
        WritePtblEntry(image_ + layout::kPtblCopy + layout::kPtblEntrySize * k_,
                       {id, static_cast<uint16_t>(t.recordSize), static_cast<uint16_t>(count),
                        static_cast<uint16_t>(Address())});
        if (length > 0)
            std::memcpy(image_ + layout::kDynamicStart + e_, image_ + t.Record(first),
                        static_cast<size_t>(length));
        e_ += length;
        ++k_;
        return true;
    }

    cmcEeprom& eeprom_;
    uint8_t* image_;
    int mode_;
    int class_;
    const layout::LayoutProfile& layout_;
    Counts counts_;
    int32_t e_ = 0; // bytes used from the start of the dynamic area
    int32_t k_ = 0; // entries written
    bool overflow_ = false;
};

} // namespace

void CheckPtblDuplicates(const uint8_t* table, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const uint16_t id = Word(table + layout::kPtblEntrySize * i);
        for (int32_t j = i + 1; j < count; ++j) {
            if (Word(table + layout::kPtblEntrySize * j) != id) continue;
            char text[128];
            std::snprintf(
                text, sizeof text,
                "### BoobyTrap ###\nError Detect in Static2Dynaimc Sequence.\n\nDuplicate PTBL-ID : '%d'",
                static_cast<int>(id));
            plat::Fatal(text);
        }
    }
}

int Static2Dynamic(cmcEeprom& image, int mode, int modelClass, const layout::LayoutProfile& layout) {
    if (!IsWorkingLayout(image)) return 1;
    return Packer(image, mode, modelClass, layout).Run();
}

int Static2Dynamic(cmcEeprom& image, int mode, int modelClass) {
    return Static2Dynamic(image, mode, modelClass, layout::CloningLayout());
}

int Static2Dynamic(cmcEeprom& image, int mode) {
    return Static2Dynamic(image, mode, GetModelClass());
}

int Static2DynamicInit(cmcEeprom& image, int modelClass) {
    return Static2Dynamic(image, kPackPlain, modelClass);
}

int Static2DynamicInit(cmcEeprom& image) {
    return Static2Dynamic(image, kPackPlain);
}

ImagePacking PackingFor(int modelClass) {
    return [modelClass](cmcEeprom& image) { return Static2DynamicInit(image, modelClass); };
}
