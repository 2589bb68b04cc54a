#include "adjust/AdjustLayout.h"

#include "adjust/AdjustRecords.h"
#include "image/ImageLayout.h"

#include <array>

namespace adj {

namespace {

using layout::StaticTable;

// The cloning program's tables that this program's radios do not carry.
constexpr uint16_t kDropped[] = {46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64};

constexpr bool Kept(uint16_t id) {
    for (const uint16_t d : kDropped)
        if (d == id) return false;
    return true;
}

// The cloning program's packing position with the positions of the dropped
// tables closed up: the same blocks go in the same order.
constexpr int KeptOrder(int order) {
    if (order == 0) return 0;
    int closed = 0;
    for (const StaticTable& t : layout::kStaticTables)
        if (t.packOrder != 0 && t.packOrder < order && !Kept(t.id)) ++closed;
    return order - closed;
}

constexpr size_t CountKept() {
    size_t n = 0;
    for (const StaticTable& t : layout::kStaticTables)
        n += Kept(t.id);
    return n;
}

// In image order, the cloning program's rows with this program's packing:
// every table packed for every model, the bank names expanded record by
// record, and the display bytes (45), like the channel tables (2, 3), going
// for the channels of banks 0..126, bank 127's riding in blocks 4 and 5.
constexpr std::array<StaticTable, CountKept()> MakeTables() {
    std::array<StaticTable, CountKept()> tables{};
    size_t n = 0;
    for (StaticTable t : layout::kStaticTables) {
        if (!Kept(t.id)) continue;
        t.packOrder = KeptOrder(t.packOrder);
        if (t.packOrder != 0) t.when = layout::PackWhen::Always;
        if (t.id == 13) {
            t.expand = layout::ExpandKind::Records;
            t.expandMax = t.records;
        }
        if (t.id == 45) t.count = layout::PackCount::ChannelsBelowBank127;
        tables[n++] = t;
    }
    return tables;
}
constexpr auto kTables = MakeTables();

constexpr std::array<layout::Bank127Block, 2> MakeBank127() {
    std::array<layout::Bank127Block, 2> blocks = layout::kBank127Blocks;
    for (layout::Bank127Block& b : blocks)
        b.packOrder = KeptOrder(b.packOrder);
    return blocks;
}
constexpr auto kBank127 = MakeBank127();

constexpr bool InImageOrder() {
    for (size_t i = 1; i < kTables.size(); ++i)
        if (kTables[i].offset < kTables[i - 1].End()) return false;
    return kTables.front().offset == layout::kStaticStart && kTables.back().End() <= layout::kPtblCopy;
}
static_assert(InImageOrder(), "the tables must not overlap and must lie between the radio part and the PTBL");

} // namespace

const layout::LayoutProfile& AdjustLayout() {
    static const layout::LayoutProfile profile(kTables, kBank127,
                                               {.fit = layout::FitRule::UpToAreaEnd,
                                                .widen = layout::WidenRule::WholeArea,
                                                .fillDerived = nullptr,
                                                .lastUsedInBank = LastUsedChannelInBank});
    return profile;
}

} // namespace adj
