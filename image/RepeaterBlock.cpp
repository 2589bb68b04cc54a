#include "image/RepeaterBlock.h"

#include "image/BankSite.h"
#include "image/RecordLayout.h"
#include "image/cmcEeprom.h"
#include "image/datCh.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t kAreaByte = 0;     // of the group record: bit 7 the area bit
constexpr int32_t kHomeByte = 7;     // of the group record: the home repeater
constexpr int32_t kRecordFlags = 8;  // of a pool record
constexpr int32_t kEntryFlags = 8;   // of a block entry
constexpr int32_t kEntryOptions = 9; // of a block entry
constexpr uint8_t kBit7 = 0x80;

int32_t GroupByte(int32_t site, int32_t i) {
    return layout::kGroupRecords + layout::kGroupRecordSize * site + i;
}

int32_t PoolRecord(int32_t row) {
    return layout::kPool + layout::kPoolEntrySize * row;
}

bool Bit(uint8_t byte, int bit) {
    return (byte >> bit) & 1;
}

// The power code keeps the record's two power bits apart so that the
// reading side gets the level back as (code - 1) & 3.
uint8_t EntryFlags(uint8_t record) {
    const bool b3 = Bit(record, 3);
    const bool b4 = Bit(record, 4);
    return static_cast<uint8_t>((b4 != b3) << 4 | (b4 && !b3) << 3 | Bit(record, 5) << 2 |
                                Bit(record, 6) << 1 | Bit(record, 7));
}

int32_t BigEndian(const uint8_t* bytes) {
    uint32_t value = 0;
    for (int k = 0; k < 4; ++k)
        value = value << 8 | bytes[k];
    return static_cast<int32_t>(value);
}

// The counts as stored, not clamped: what the pool must hold.
int32_t StoredPoolRows(const cmcEeprom& image) {
    int32_t rows = 0;
    for (int32_t k = 0; k < layout::kSites; ++k)
        rows += GetSiteChannelCount(image, k);
    return rows;
}

void CopyReferenceRows(cmcEeprom& image, const cmcEeprom& reference, int32_t first, int32_t count) {
    if (count > 0)
        std::memcpy(image.Data() + PoolRecord(first), reference.Data() + PoolRecord(first),
                    static_cast<size_t>(count) * layout::kPoolEntrySize);
}

void MoveRows(cmcEeprom& image, int32_t from, int32_t to, int32_t count) {
    if (count > 0)
        std::memmove(image.Data() + PoolRecord(to), image.Data() + PoolRecord(from),
                     static_cast<size_t>(count) * layout::kPoolEntrySize);
}

void DecodeEntry(cmcEeprom& image, const uint8_t* entry, int32_t row) {
    datCh record(&image);
    record.Load(kindRepeaterPool, row);
    // The home repeater is the group record's, already set from the block:
    // the record must not write it anew for whichever site the open sheet shows.
    record.siteMark = false;
    record.siteMarkClear = false;
    record.poolRxFreq = BigEndian(entry);
    record.poolTxFreq = BigEndian(entry + 4);
    const uint8_t flags = entry[kEntryFlags];
    record.poolRfPo = static_cast<uint8_t>(((flags >> 3) - 1) & 3);
    record.poolNar = Bit(flags, 2);
    record.poolTxDat = Bit(flags, 1);
    record.poolRxDat = Bit(flags, 0);
    record.poolPhone = !Bit(entry[kEntryOptions], 0);
    record.Store(kindRepeaterPool, row);
}

} // namespace

RepeaterBlock BuildRepeaterBlock(const cmcEeprom& image, int32_t site) {
    RepeaterBlock block{};
    if (!IsValidSite(site)) return block;
    const int32_t count = GetSiteChannelCount(image, site);
    const int32_t first = GetSiteFirstChannel(image, site);
    block[rptblock::kAreaBit] = (image.GetByte(GroupByte(site, kAreaByte)) & kBit7) ? 1 : 0;
    block[rptblock::kHomeRepeater] = image.GetByte(GroupByte(site, kHomeByte));
    block[rptblock::kKindByte] = kindRepeaterPool;
    block[rptblock::kSite] = static_cast<uint8_t>(site);
    block[rptblock::kCount] = static_cast<uint8_t>(count);
    const int32_t entries = std::min({count, rptblock::kMaxEntries, layout::kPoolRows - first});
    for (int32_t i = 0; i < entries; ++i) {
        const uint8_t* record = image.Data() + PoolRecord(first + i);
        if (BigEndian(record) == 0) continue;
        uint8_t* entry = block.data() + rptblock::kFirstEntry + rptblock::kEntrySize * i;
        std::memcpy(entry, record, 8);
        entry[kEntryFlags] = EntryFlags(record[kRecordFlags]);
        entry[kEntryOptions] = Bit(record[kRecordFlags], 0) ? 0 : 1;
    }
    return block;
}

RepeaterImport ImportRepeaterBlock(cmcEeprom& image, const cmcEeprom& reference, const RepeaterBlock& block,
                                   int32_t site) {
    if (!IsValidSite(site)) return RepeaterImport::kBadSite;
    const int32_t count = block[rptblock::kCount];
    if (count > rptblock::kMaxEntries) return RepeaterImport::kTooManyEntries;
    const int32_t old = GetSiteChannelCount(image, site);
    const int32_t used = StoredPoolRows(image);
    if (used - old + count > layout::kPoolRows) return RepeaterImport::kPoolFull;

    const uint8_t area = image.GetByte(GroupByte(site, kAreaByte));
    image.SetByte(GroupByte(site, kAreaByte),
                  static_cast<uint8_t>(block[rptblock::kAreaBit] ? area | kBit7 : area & ~kBit7));
    image.SetByte(GroupByte(site, kHomeByte), block[rptblock::kHomeRepeater]);

    // The site's rows end at first + old; whatever follows moves with the count.
    const int32_t first = GetSiteFirstChannel(image, site);
    const int32_t after = std::max(std::min(used, layout::kPoolRows) - (first + old), 0);
    if (count < old) {
        MoveRows(image, first + old, first + count, after);
        const int32_t end = first + count + after;
        CopyReferenceRows(image, reference, end, std::min(old - count, layout::kPoolRows - end));
    } else if (count > old) {
        MoveRows(image, first + old, first + count, after);
    }
    SetSiteChannelCount(image, site, count);

    for (int32_t i = 0; i < count; ++i) {
        const int32_t row = first + i;
        CopyReferenceRows(image, reference, row, 1);
        const uint8_t* entry = block.data() + rptblock::kFirstEntry + rptblock::kEntrySize * i;
        if (BigEndian(entry) != 0) DecodeEntry(image, entry, row);
    }
    return RepeaterImport::kDone;
}
