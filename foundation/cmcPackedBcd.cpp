#include "foundation/cmcPackedBcd.h"

#include "foundation/ByteUtil.h"

#include <algorithm>

void cmcPackedBcd::StoreNibbles(std::span<uint8_t> field) const {
    int64_t fits = std::min<int64_t>(Size(), int64_t(field.size()) * 2);
    for (int32_t i = 0; i < fits; ++i)
        SetNibble(field.data(), i, *At(i));
}
