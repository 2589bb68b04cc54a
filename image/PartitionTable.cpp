#include "image/PartitionTable.h"

#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"

#include <algorithm>
#include <cstring>

namespace {

uint16_t Word(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

void PutWord(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}

} // namespace

PtblEntry ReadPtblEntry(const uint8_t* entry) {
    return {Word(entry), Word(entry + 2), Word(entry + 4), Word(entry + 6)};
}

void WritePtblEntry(uint8_t* entry, const PtblEntry& e) {
    PutWord(entry, e.id);
    PutWord(entry + 2, e.recordSize);
    PutWord(entry + 4, e.count);
    PutWord(entry + 6, e.address);
}

int64_t DynamicOffset(const cmcEeprom& image, int64_t address) {
    return address - image.GetWord(layout::kHdrBase) + layout::kDynamicStart;
}

bool InDynamicArea(int64_t offset, int64_t length) {
    return offset >= layout::kDynamicStart && length >= 0 && offset + length <= layout::kDynamicEnd;
}

bool IsWorkingLayout(const cmcEeprom& image) {
    return image.GetSize() == layout::kImageSize;
}

int32_t PtblEntryCount(const cmcEeprom& image) {
    return std::min<int32_t>(image.GetWord(layout::kHdrOwnEntry + 4), layout::kPtblMaxEntries);
}

int LoadPtbl(cmcEeprom& eeprom) {
    if (!IsWorkingLayout(eeprom)) return 0;
    uint8_t* image = eeprom.Data();
    const uint8_t* own = image + layout::kHdrOwnEntry;
    if (own[0] != 0 || own[1] != layout::kPtblId) return 0;
    const PtblEntry self = ReadPtblEntry(own);
    const int32_t size = std::min<int32_t>(self.recordSize, layout::kPtblEntrySize);
    const int32_t count = std::min<int32_t>(self.count, layout::kPtblMaxEntries);
    const int64_t source = DynamicOffset(eeprom, self.address);
    for (int32_t i = 0; i < count; ++i) {
        uint8_t* entry = image + layout::kPtblCopy + layout::kPtblEntrySize * i;
        // Whatever the radio's entry does not supply reads as empty, so that
        // no entry of an earlier image can be found in this one.
        std::memset(entry, 0, layout::kPtblEntrySize);
        const int64_t at = source + int64_t{self.recordSize} * i;
        if (InDynamicArea(at, size)) std::memcpy(entry, image + at, static_cast<size_t>(size));
    }
    return 1;
}

const uint8_t* FindPtblEntry(const uint8_t* table, int32_t count, uint16_t id) {
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* entry = table + layout::kPtblEntrySize * i;
        if (Word(entry) == id) return entry;
    }
    return nullptr;
}
