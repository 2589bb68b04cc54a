#include "foundation/ByteUtil.h"

int GetNibble(const uint8_t* bytes, int32_t i) {
    uint8_t byte = bytes[i / 2];
    return (i % 2 == 0) ? byte >> 4 : byte & 0x0F;
}

void SetNibble(uint8_t* bytes, int32_t i, int value) {
    uint8_t& byte = bytes[i / 2];
    uint8_t nibble = uint8_t(value & 0x0F);
    byte = (i % 2 == 0) ? uint8_t((byte & 0x0F) | (nibble << 4)) : uint8_t((byte & 0xF0) | nibble);
}

int GetBitMsb(const uint8_t* bytes, int32_t length, int32_t n) {
    if (n < 0 || n / 8 >= length) return 0;
    return (bytes[n / 8] >> (7 - n % 8)) & 1;
}
