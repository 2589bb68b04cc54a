#pragma once
#include "foundation/cmcBuff.h"

#include <cstdint>
#include <span>

// A list of digit values (one per byte, 0..15) gathered before they are packed
// two to a byte into an image field. Emptied with SetSize(0), grown with Add.
class cmcPackedBcd : public cmcBuff {
public:
    // Writes entry i as nibble i of the field (even i the high nibble); the
    // other nibble of each byte is kept. Entries past the field's end are dropped.
    void StoreNibbles(std::span<uint8_t> field) const;
};
