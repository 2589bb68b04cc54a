#include "adjust/AdjustLayout.h"

#include "adjust/AdjustRecords.h"

#include <array>

namespace adj {

namespace {

using layout::StaticTable;
using P = layout::PackWhen;
using U = layout::UnpackKind;
using E = layout::ExpandKind;
using C = layout::PackCount;

// In image order. The channel tables (2, 3) and the display bytes (45) go
// for the channels of banks 0..126, bank 127's riding in blocks 4 and 5.
constexpr std::array<StaticTable, 41> kTables = {{
    {2, 65408, 30, 512, 1, P::Always, U::Records, E::FirstIntoAll, 0, C::ChannelsBelowBank127},
    {7, 80768, 16, 1, 2, P::Always, U::Block, E::Block, 0},
    {15, 80784, 64, 17, 3, P::Always, U::Records, E::Block, 0},
    {18, 81872, 4, 32, 5, P::Always, U::Records, E::Records, 32},
    {27, 82000, 4, 32, 6, P::Always, U::Records, E::FirstIntoAll, 0},
    {32, 82128, 12, 8, 7, P::Always, U::Records, E::FirstIntoAll, 0},
    {6, kRadioBlock, kRadioBlockBytes, 1, 4, P::Always, U::Block, E::Block, 0},
    {3, 82512, 22, 512, 10, P::Always, U::Records, E::FirstIntoAll, 0, C::ChannelsBelowBank127},
    {8, 93776, 438, 1, 11, P::Always, U::Block, E::Block, 0},
    {9, 94214, 32, 1, 28, P::Always, U::Block, E::Block, 0},
    {10, 94246, 24, 16, 12, P::Always, U::Records, E::FirstIntoAll, 0},
    {11, 94630, 49, 16, 13, P::Always, U::Records, E::FirstIntoAll, 0},
    {12, 95414, 128, 1, 29, P::Always, U::Block, E::Block, 0},
    {13, 95542, 12, 128, 30, P::Always, U::Records, E::Records, 128},
    {14, 97078, 4, 40, 14, P::Always, U::Records, E::FirstIntoAll, 0},
    {16, 97238, 34, 17, 15, P::Always, U::Records, E::Block, 0},
    {17, 97816, 37, 8, 31, P::Always, U::Records, E::Records, 8},
    {19, 98112, 14, 32, 32, P::Always, U::Records, E::Records, 32},
    {20, 98560, 34, 11, 33, P::Always, U::Records, E::Records, 11},
    {21, 98934, 8, 1, 34, P::Always, U::Block, E::Block, 0},
    {22, 98942, 24, 2, 35, P::Always, U::Records, E::Records, 2},
    {23, 98990, 10, 1, 0, P::Never, U::Never, E::Block, 0},
    {29, 99000, 32, 8, 19, P::Always, U::Records, E::Block, 0},
    {26, 99256, 8, 1, 18, P::Always, U::Block, E::Block, 0},
    {28, 99264, 14, 32, 36, P::Always, U::Records, E::FirstIntoAll, 0},
    {25, 99712, 16, 1, 17, P::Always, U::Block, E::Block, 0},
    {24, 99728, 16, 1, 16, P::Always, U::Block, E::Block, 0},
    {30, 99744, 16, 24, 20, P::Always, U::Records, E::Block, 0},
    {31, 100128, 16, 24, 21, P::Always, U::Records, E::Block, 0},
    {33, 100512, 2, 8, 37, P::Always, U::Records, E::FirstIntoAll, 0},
    {34, 100528, 16, 100, 22, P::Always, U::Records, E::FirstIntoAll, 0},
    {35, 102128, 14, 250, 23, P::Always, U::Records, E::FirstIntoAll, 0},
    {37, 105628, 48, 1, 24, P::Always, U::Block, E::Block, 0},
    {38, 105676, 100, 1, 25, P::Always, U::Block, E::Block, 0},
    {36, 105776, 4, 40, 27, P::Always, U::Records, E::FirstIntoAll, 0},
    {39, 105936, 250, 1, 26, P::Always, U::Block, E::Block, 0},
    {40, 107210, 128, 1, 38, P::Always, U::Block, E::Block, 0},
    {41, 107338, 4, 1, 39, P::Always, U::Block, E::Block, 0},
    {42, 107342, 8, 128, 40, P::Always, U::Records, E::FirstIntoAll, 0},
    {43, 108366, 10, 2560, 41, P::Always, U::Records, E::FirstIntoAll, 0, C::UsedPool},
    {45, 133966, 6, 512, 42, P::Always, U::Records, E::FirstIntoAll, 0, C::ChannelsBelowBank127},
}};

constexpr std::array<layout::Bank127Block, 2> kBank127 = {{{4, 2, 8}, {5, 3, 9}}};

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
