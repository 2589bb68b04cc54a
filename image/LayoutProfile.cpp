#include "image/LayoutProfile.h"

#include "image/datCh.h"
#include "platform/Fatal.h"

#include <algorithm>
#include <string>

namespace layout {

namespace {

void PutWord(uint8_t* p, int32_t v) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}

// The cloning program's radio finds the MDC status, message and alias blocks
// through addresses kept in other tables, which are packed after these blocks.
void FillCloningDerivedFields(uint8_t* image, uint16_t id, int32_t at) {
    if (id == 60 || id == 61) {
        const StaticTable& block = Table(id);
        const StaticTable& index = Table(id == 60 ? 56 : 57);
        const int32_t field = id == 60 ? kStatusAddressField : kMessageAddressField;
        for (int32_t k = 0; k < block.records; ++k)
            PutWord(image + index.Record(k) + field, at + block.recordSize * k);
    } else if (id == 59) {
        const StaticTable& alias = Table(59);
        const StaticTable& where = Table(58);
        for (int32_t k = 0; k < where.records; ++k) {
            uint8_t* r = image + where.Record(k);
            PutWord(r, at);
            PutWord(r + 2, at + alias.recordSize * (alias.records - 1));
            PutWord(r + 4, alias.records);
        }
        for (int32_t k = 0; k < alias.records; ++k) {
            uint8_t* r = image + alias.Record(k);
            const bool text =
                std::any_of(r, r + kAliasTextLength, [](uint8_t c) { return c != 0x00 && c != 0x20; });
            if (text)
                r[kAliasTextFlagByte] |= kAliasTextFlag;
            else
                r[kAliasTextFlagByte] &= static_cast<uint8_t>(~kAliasTextFlag);
        }
    }
}

int32_t CloningLastUsedInBank(cmcEeprom& image, int32_t bank) {
    return LastUsedInBank(image, bank);
}

} // namespace

LayoutProfile::LayoutProfile(std::span<const StaticTable> tables, std::span<const Bank127Block> bank127,
                             Rules rules)
    : tables_(tables), bank127_(bank127), rules_(rules) {
    for (const StaticTable& t : tables_)
        if (t.packOrder != 0) sequence_.push_back(&t);
    std::stable_sort(sequence_.begin(), sequence_.end(),
                     [](const StaticTable* a, const StaticTable* b) { return a->packOrder < b->packOrder; });
    // Every packing position names exactly one block, and the bank-127 blocks
    // carry the channel tables' records: a layout that breaks this would pack
    // a radio image the radio cannot read.
    const int positions = static_cast<int>(sequence_.size() + bank127_.size());
    for (int order = 1; order <= positions; ++order) {
        int found = 0;
        for (const StaticTable* t : sequence_)
            found += t->packOrder == order;
        for (const Bank127Block& b : bank127_)
            found += b.packOrder == order;
        if (found != 1) plat::Fatal("Packing position " + std::to_string(order) + " is not named once.");
    }
    if (bank127_.empty()) plat::Fatal("A layout needs the bank-127 blocks.");
    for (const Bank127Block& b : bank127_)
        if (!Find(b.table) || Find(b.id)) plat::Fatal("A bank-127 block must carry a channel table.");
    if (!rules_.lastUsedInBank) plat::Fatal("A layout needs its channel record.");
}

const StaticTable* LayoutProfile::Find(uint16_t id) const {
    for (const StaticTable& t : tables_)
        if (t.id == id) return &t;
    return nullptr;
}

const StaticTable& LayoutProfile::Get(uint16_t id) const {
    const StaticTable* t = Find(id);
    if (!t) plat::Fatal("No static table for partition ID " + std::to_string(id) + ".");
    return *t;
}

bool LayoutProfile::Fits(int64_t address, int64_t length) const {
    const int64_t end = address + length;
    return rules_.fit == FitRule::UpToAreaEnd ? end <= kDynamicEnd : end < kDynamicEnd;
}

const LayoutProfile& CloningLayout() {
    static const LayoutProfile profile(kStaticTables, kBank127Blocks,
                                       {.fit = FitRule::ShortOfAreaEnd,
                                        .widen = WidenRule::ChannelCapacity,
                                        .fillDerived = FillCloningDerivedFields,
                                        .lastUsedInBank = CloningLastUsedInBank});
    return profile;
}

} // namespace layout
