#pragma once
#include <cstdint>

class cmcEeprom;

// The radio's partition table: one 10-byte entry per block of the dynamic
// area, big-endian, found through its own entry in the header. The image
// passes work on the full working layout (layout::kImageSize bytes).

struct PtblEntry {
    uint16_t id = 0;
    uint16_t recordSize = 0;
    uint16_t count = 0;
    uint16_t address = 0; // radio address of the block's first byte
};

// Entry bytes 0..7; bytes 8..9 are spare and never written.
PtblEntry ReadPtblEntry(const uint8_t* entry);
void WritePtblEntry(uint8_t* entry, const PtblEntry& e);

// Copies the radio's table into the working copy. Returns 1 when the header
// holds the table's own entry (ID 1), 0 otherwise, changing nothing then.
int LoadPtbl(cmcEeprom& image);

// The first of `count` entries whose ID is `id`; null when there is none.
const uint8_t* FindPtblEntry(const uint8_t* table, int32_t count, uint16_t id);

// The number of entries the header's own entry gives, at most 65.
int32_t PtblEntryCount(const cmcEeprom& image);

// Image offset of a radio address, by the base in the header. 64-bit, so
// that offsets derived from hostile addresses and counts cannot wrap.
int64_t DynamicOffset(const cmcEeprom& image, int64_t address);

// True when [offset, offset + length) lies inside the dynamic area: only
// there may the passes take bytes from what a file or a radio supplied.
bool InDynamicArea(int64_t offset, int64_t length);

// True for an image of the working layout's size.
bool IsWorkingLayout(const cmcEeprom& image);
