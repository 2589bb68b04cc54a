#pragma once
#include <cstdint>
#include <span>
#include <vector>

// An inclusive range of image addresses.
struct AddressRange {
    int32_t first;
    int32_t last;
};

// The pair that ends a range list wherever it stands.
inline constexpr AddressRange kRangeListEnd{1, 0};

// Address ranges that a clone data file or a clone job covers. The list ends at
// its last element or at the first pair whose last address is below its first,
// or that names an address outside the image, whichever comes first; pairs
// after that are never looked at.
using RangeList = std::vector<AddressRange>;

// The leading pairs of the list that are in use for an image of imageSize bytes.
inline std::span<const AddressRange> RangesInUse(const RangeList& list, int32_t imageSize) {
    size_t n = 0;
    for (const AddressRange& r : list) {
        if (r.last < r.first || r.first < 0 || r.last >= imageSize) break;
        ++n;
    }
    return std::span<const AddressRange>(list.data(), n);
}
