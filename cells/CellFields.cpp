#include "cells/CellFields.h"

#include "image/cmcEeprom.h"

namespace field {
namespace {

uint8_t MaskOf(int32_t lowBit, int32_t width) {
    return static_cast<uint8_t>(((1u << width) - 1u) << lowBit);
}

int32_t Shift(uint8_t mask) {
    int32_t shift = 0;
    while (mask != 0 && (mask & 1u) == 0) {
        mask = static_cast<uint8_t>(mask >> 1);
        ++shift;
    }
    return shift;
}

} // namespace

uint32_t GetMasked(const cmcEeprom& image, int32_t address, uint8_t mask) {
    return (image.GetByte(address) & mask) >> Shift(mask);
}

void SetMasked(cmcEeprom& image, int32_t address, uint8_t mask, uint32_t value) {
    const uint8_t old = image.GetByte(address);
    const uint8_t bits = static_cast<uint8_t>((value << Shift(mask)) & mask);
    image.SetByte(address, static_cast<uint8_t>((old & ~mask) | bits));
}

uint32_t GetBits(const cmcEeprom& image, int32_t address, int32_t lowBit, int32_t width) {
    return GetMasked(image, address, MaskOf(lowBit, width));
}

void SetBits(cmcEeprom& image, int32_t address, int32_t lowBit, int32_t width, uint32_t value) {
    SetMasked(image, address, MaskOf(lowBit, width), value);
}

bool GetFlag(const cmcEeprom& image, int32_t address, int32_t bit) {
    return GetBits(image, address, bit, 1) != 0;
}

void SetFlag(cmcEeprom& image, int32_t address, int32_t bit, bool on) {
    SetBits(image, address, bit, 1, on ? 1u : 0u);
}

uint16_t GetWord(const cmcEeprom& image, int32_t address) {
    return image.GetWord(address);
}

void SetWord(cmcEeprom& image, int32_t address, uint16_t value) {
    image.SetWord(address, value);
}

uint32_t GetLong(const cmcEeprom& image, int32_t address) {
    return static_cast<uint32_t>(image.GetWord(address)) << 16 | image.GetWord(address + 2);
}

void SetLong(cmcEeprom& image, int32_t address, uint32_t value) {
    image.SetWord(address, static_cast<uint16_t>(value >> 16));
    image.SetWord(address + 2, static_cast<uint16_t>(value));
}

bool GetMapBit(const cmcEeprom& image, int32_t address, int32_t n) {
    return GetFlag(image, address + n / 8, 7 - n % 8);
}

void SetMapBit(cmcEeprom& image, int32_t address, int32_t n, bool on) {
    SetFlag(image, address + n / 8, 7 - n % 8, on);
}

uint32_t GetBitsMsb(const cmcEeprom& image, int32_t address, int32_t firstBit, int32_t width) {
    uint32_t value = 0;
    for (int32_t i = 0; i < width; ++i)
        value = value << 1 | (GetMapBit(image, address, firstBit + i) ? 1u : 0u);
    return value;
}

void SetBitsMsb(cmcEeprom& image, int32_t address, int32_t firstBit, int32_t width, uint32_t value) {
    for (int32_t i = 0; i < width; ++i)
        SetMapBit(image, address, firstBit + i, (value >> (width - 1 - i) & 1u) != 0);
}

} // namespace field
