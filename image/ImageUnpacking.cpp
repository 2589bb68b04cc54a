#include "image/ImageUnpacking.h"

#include "foundation/ModelClass.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/PartitionTable.h"

#include <algorithm>
#include <cstring>

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
void AfterTable(uint8_t* image, uint16_t id) {
    if (id == kBankCountsTable) ClampBankCounts(image);
    if (id == kSiteCountsTable) ClampSiteCounts(image);
}

struct Located {
    PtblEntry entry;
    int64_t source = 0;
};

bool Locate(const uint8_t* image, int32_t n, uint16_t id, Located& out) {
    const uint8_t* e = FindPtblEntry(image + layout::kPtblCopy, n, id);
    if (!e) return false;
    out.entry = ReadPtblEntry(e);
    out.source = DynamicOffset(image, out.entry.address);
    return true;
}

} // namespace

void ClampBankCounts(uint8_t* image) {
    int32_t sum = 0;
    bool over = false;
    for (int b = 0; b < layout::kBanks; ++b) {
        uint8_t* p = image + layout::kBankCounts + 2 * b;
        sum += p[0] << 8 | p[1];
        if (over || sum > layout::kChannelRows) {
            over = true;
            p[0] = p[1] = 0;
        }
    }
}

void ClampSiteCounts(uint8_t* image) {
    int32_t sum = 0;
    bool over = false;
    for (int s = 0; s < layout::kSites; ++s) {
        uint8_t* p = image + layout::kSiteCounts + s;
        sum += *p;
        if (over || sum > layout::kPoolRows) {
            over = true;
            *p = 0;
        }
    }
}

void UnpackImage(uint8_t* image) {
    UnpackImage(image, GetModelClass());
}

void UnpackImage(uint8_t* image, int modelClass) {
    if (!LoadPtbl(image)) return;
    const int32_t n = PtblEntryCount(image);
    for (const StaticTable& t : layout::kStaticTables) {
        Located b;
        if (t.unpack == layout::UnpackKind::Never || !Locate(image, n, t.id, b)) continue;
        if (t.unpack == layout::UnpackKind::Block) {
            CopyFromArea(image, t.offset, b.source, std::min<int32_t>(b.entry.recordSize, t.Bytes()));
        } else {
            const int32_t count = std::min<int32_t>(b.entry.count, t.records);
            const int32_t size = std::min<int32_t>(b.entry.recordSize, t.recordSize);
            for (int32_t i = 0; i < count; ++i)
                CopyFromArea(image, t.Record(i), b.source + int64_t{b.entry.recordSize} * i, size);
        }
        AfterTable(image, t.id);
    }
    (void)modelClass;
}

void Dynamic2Static(uint8_t* image) {
    if (!LoadPtbl(image)) return;
    const int32_t n = PtblEntryCount(image);
    for (const StaticTable& t : layout::kStaticTables) {
        Located b;
        if (!Locate(image, n, t.id, b)) continue;
        switch (t.expand) {
        case layout::ExpandKind::Block:
            CopyFromArea(image, t.offset, b.source, t.Bytes());
            break;
        case layout::ExpandKind::FirstIntoAll:
            for (int32_t i = 0; i < t.records; ++i)
                CopyFromArea(image, t.Record(i), b.source, t.recordSize);
            break;
        case layout::ExpandKind::Records: {
            const int32_t count = std::min<int32_t>(b.entry.count, t.expandMax);
            for (int32_t i = 0; i < count; ++i)
                CopyFromArea(image, t.Record(i), b.source + int64_t{b.entry.recordSize} * i, t.recordSize);
            break;
        }
        }
        AfterTable(image, t.id);
    }
}
