#pragma once
#include "image/ImageLayout.h"

#include <cstdint>
#include <span>
#include <vector>

class cmcEeprom;

namespace layout {

// Where a block may end in the dynamic area: short of its last byte
// (0xFF7E at most), or right up to it.
enum class FitRule : uint8_t { ShortOfAreaEnd, UpToAreaEnd };

// How a clone write widens bank 127 when the image asks for it (0x40 of the
// bank flags): by the channel capacity the header words last gave, or by
// what the whole area still takes after everything packed behind blocks 4
// and 5, never below the bank's own channels.
enum class WidenRule : uint8_t { ChannelCapacity, WholeArea };

// One program's layout of the static tables and how its radio's dynamic area
// is packed from them: the tables in image order, the bank-127 blocks, the
// packing order, the fit and widening rules, and the fields packing fills in
// for the radio. Packing, unpacking, the reference expansion and the start-up
// data generator all go by it.
class LayoutProfile {
public:
    struct Rules {
        FitRule fit = FitRule::ShortOfAreaEnd;
        WidenRule widen = WidenRule::ChannelCapacity;
        // Fills in what the radio finds through other tables when block `id`
        // is placed at radio address `address`; none for a layout without such fields.
        void (*fillDerived)(uint8_t* image, uint16_t id, int32_t address) = nullptr;
        // The 1-based position of the last channel in use in the bank, by the
        // program's own channel record.
        int32_t (*lastUsedInBank)(cmcEeprom& image, int32_t bank) = nullptr;
    };

    // The tables are not copied and must outlive the profile.
    LayoutProfile(std::span<const StaticTable> tables, std::span<const Bank127Block> bank127, Rules rules);
    LayoutProfile(const LayoutProfile&) = delete;
    LayoutProfile& operator=(const LayoutProfile&) = delete;

    std::span<const StaticTable> Tables() const { return tables_; }
    std::span<const Bank127Block> Bank127Blocks() const { return bank127_; }
    // The tables ever packed, in packing order.
    const std::vector<const StaticTable*>& PackSequence() const { return sequence_; }
    // The packing position right after the bank-127 blocks.
    int BlockAfterBank127() const { return bank127_.back().packOrder + 1; }
    const Rules& GetRules() const { return rules_; }

    // The table of a partition ID; null when the layout has none. Get: the
    // table of an ID the layout must have (fatal otherwise).
    const StaticTable* Find(uint16_t id) const;
    const StaticTable& Get(uint16_t id) const;

    // Whether `length` more bytes fit behind radio address `address`.
    bool Fits(int64_t address, int64_t length) const;

private:
    std::span<const StaticTable> tables_;
    std::span<const Bank127Block> bank127_;
    Rules rules_;
    std::vector<const StaticTable*> sequence_;
};

// The cloning program's layout (the tables of ImageLayout.h).
const LayoutProfile& CloningLayout();

} // namespace layout
