#pragma once
#include <cstdint>

// Nibble strings pack two digits to a byte, nibble 0 being the high nibble of byte 0.
int GetNibble(const uint8_t* bytes, int32_t i);
// Sets nibble i to the low four bits of value; the other nibble of the byte is kept.
void SetNibble(uint8_t* bytes, int32_t i, int value);

// Bit n of a byte string numbered from the most significant bit of the first
// byte (bit 0 is mask 0x80 of byte 0); 0 for a bit beyond the length.
int GetBitMsb(const uint8_t* bytes, int32_t length, int32_t n);
