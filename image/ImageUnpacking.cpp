#include "image/ImageUnpacking.h"

#include "image/BankSite.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/LayoutProfile.h"
#include "image/PartitionTable.h"
#include "image/cmcEeprom.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using layout::StaticTable;

constexpr uint16_t kBankCountsTable = 8;
constexpr uint16_t kSiteCountsTable = 40;

// The copy of one record or block, only when its source lies in the dynamic area.
void CopyFromArea(uint8_t* image, int32_t to, int64_t from, int32_t length) {
    if (length > 0 && InDynamicArea(from, length))
        std::memcpy(image + to, image + from, static_cast<size_t>(length));
}

// Counts are clamped the moment they come in, so that no later pass walks
// past the channel table or the pool on a file's or a radio's word.
void AfterTable(cmcEeprom& image, uint16_t id) {
    if (id == kBankCountsTable) ClampBankCounts(image);
    if (id == kSiteCountsTable) ClampSiteCounts(image);
}

struct Located {
    PtblEntry entry;
    int64_t source = 0;
};

bool Locate(const cmcEeprom& image, int32_t n, uint16_t id, Located& out) {
    const uint8_t* e = FindPtblEntry(image.Data() + layout::kPtblCopy, n, id);
    if (!e) return false;
    out.entry = ReadPtblEntry(e);
    out.source = DynamicOffset(image, out.entry.address);
    return true;
}

// Walking the counts in order, the unit at which the running total passes
// `rows` and every later one get count 0.
template <typename Get, typename Set> void ClampCounts(int32_t units, int32_t rows, Get get, Set set) {
    int32_t sum = 0;
    for (int32_t k = 0; k < units; ++k) {
        sum += get(k);
        if (sum > rows) set(k, 0);
    }
}

// Bank 127's channels (blocks 4 and 5) go behind those of banks 0..126 in
// tables 2 and 3; each block is read by its own record size and count. The
// bank keeps at least its count, and grows to its last programmed channel.
// Then the radio part is packed again in the program's own layout.
void MergeBank127(cmcEeprom& image, int32_t n, const ImagePacking& repack,
                  const layout::LayoutProfile& layout) {
    const auto blocks = layout.Bank127Blocks();
    Located channels, extras, bank127[2];
    if (blocks.size() != std::size(bank127)) return;
    if (!Locate(image, n, 2, channels) || !Locate(image, n, 3, extras)) return;
    for (size_t k = 0; k < blocks.size(); ++k)
        if (!Locate(image, n, blocks[k].id, bank127[k])) return;
    const int32_t start = std::min<int32_t>(channels.entry.count, layout::kChannelRows);
    for (size_t k = 0; k < blocks.size(); ++k) {
        const Located& b = bank127[k];
        const StaticTable& t = layout.Get(blocks[k].table);
        const int32_t size = std::min<int32_t>(b.entry.recordSize, t.recordSize);
        for (int32_t i = 0; i < b.entry.count && start + i < t.records; ++i)
            CopyFromArea(image.Data(), t.Record(start + i), b.source + int64_t{b.entry.recordSize} * i, size);
    }
    const int32_t bank = layout::kBanks - 1;
    const int32_t kept = GetBankChannelCount(image, bank);
    SetBankChannelCount(image, bank, bank127[0].entry.count);
    const int32_t last = layout.GetRules().lastUsedInBank(image, bank);
    SetBankChannelCount(image, bank, std::max(last, kept));
    ClampBankCounts(image);
    // When the program's own layout does not fit the area, the radio's stays:
    // a half-packed area under the radio's partition table would unpack
    // into garbage the next time.
    std::vector<uint8_t> radio(image.Data(), image.Data() + layout::kDynamicEnd);
    if (repack(image) != 0) image.Write(0, radio.data(), layout::kDynamicEnd);
}

} // namespace

void ClampBankCounts(cmcEeprom& image) {
    ClampCounts(
        layout::kBanks, layout::kChannelRows, [&](int32_t b) { return GetBankChannelCount(image, b); },
        [&](int32_t b, int32_t v) { SetBankChannelCount(image, b, v); });
}

void ClampSiteCounts(cmcEeprom& image) {
    ClampCounts(
        layout::kSites, layout::kPoolRows, [&](int32_t s) { return GetSiteChannelCount(image, s); },
        [&](int32_t s, int32_t v) { SetSiteChannelCount(image, s, v); });
}

void UnpackImage(cmcEeprom& image, int modelClass, const ImagePacking& repack) {
    UnpackImage(image, repack, layout::CloningLayout());
}

void UnpackImage(cmcEeprom& image, const ImagePacking& repack, const layout::LayoutProfile& layout) {
    if (!LoadPtbl(image)) return;
    uint8_t* bytes = image.Data();
    const int32_t n = PtblEntryCount(image);
    for (const StaticTable& t : layout.Tables()) {
        Located b;
        if (t.unpack == layout::UnpackKind::Never || !Locate(image, n, t.id, b)) continue;
        if (t.unpack == layout::UnpackKind::Block) {
            CopyFromArea(bytes, t.offset, b.source, std::min<int32_t>(b.entry.recordSize, t.Bytes()));
        } else {
            const int32_t count = std::min<int32_t>(b.entry.count, t.records);
            const int32_t size = std::min<int32_t>(b.entry.recordSize, t.recordSize);
            for (int32_t i = 0; i < count; ++i)
                CopyFromArea(bytes, t.Record(i), b.source + int64_t{b.entry.recordSize} * i, size);
        }
        AfterTable(image, t.id);
    }
    MergeBank127(image, n, repack, layout);
}

void Dynamic2Static(cmcEeprom& image) {
    Dynamic2Static(image, layout::CloningLayout());
}

void Dynamic2Static(cmcEeprom& image, const layout::LayoutProfile& layout) {
    if (!LoadPtbl(image)) return;
    uint8_t* bytes = image.Data();
    const int32_t n = PtblEntryCount(image);
    for (const StaticTable& t : layout.Tables()) {
        Located b;
        if (!Locate(image, n, t.id, b)) continue;
        switch (t.expand) {
        case layout::ExpandKind::Block:
            CopyFromArea(bytes, t.offset, b.source, t.Bytes());
            break;
        case layout::ExpandKind::FirstIntoAll:
            for (int32_t i = 0; i < t.records; ++i)
                CopyFromArea(bytes, t.Record(i), b.source, t.recordSize);
            break;
        case layout::ExpandKind::Records: {
            const int32_t count = std::min<int32_t>(b.entry.count, t.expandMax);
            for (int32_t i = 0; i < count; ++i)
                CopyFromArea(bytes, t.Record(i), b.source + int64_t{b.entry.recordSize} * i, t.recordSize);
            break;
        }
        }
        AfterTable(image, t.id);
    }
}
