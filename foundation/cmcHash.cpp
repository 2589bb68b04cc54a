#include "foundation/cmcHash.h"

uint32_t HashBucket(std::string_view key, uint32_t bucketCount) {
    const uint32_t half = bucketCount / 2;
    uint32_t h = 0;
    uint32_t m = half;
    for (size_t i = 0; i < key.size(); ++i) {
        // Bytes count signed, so 0x80..0xFF pull the sum down.
        h = 2 * h + m + uint32_t(int32_t(int8_t(key[i])));
        uint8_t next = i + 1 < key.size() ? uint8_t(key[i + 1]) : 0;
        if (next & 1) {
            m >>= 1;
            if (m == 0) m = half;
        }
    }
    return h % bucketCount;
}
