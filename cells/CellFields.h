#pragma once
#include "cells/CellFrame.h"

#include <cstdint>

class cmcEeprom;

// Reading and writing the settings that cells show straight from the image.
// Conventions of the image: multi-byte values are big-endian; bits of a byte
// are numbered 7 (most significant) to 0; a bitmap or a bit string counts its
// bits from the most significant bit of its first byte (bit n is bit
// 7 - n % 8 of byte n / 8). Every write keeps the bits it does not name.
// Addresses are checked by the image (an address outside it is fatal).
namespace field {

// Bits lowBit..lowBit + width - 1 of the byte (bit 0 the least significant),
// as a number; width 1..8.
uint32_t GetBits(const cmcEeprom& image, int32_t address, int32_t lowBit, int32_t width);
void SetBits(cmcEeprom& image, int32_t address, int32_t lowBit, int32_t width, uint32_t value);

// The bits of the byte under the mask, shifted down to bit 0.
uint32_t GetMasked(const cmcEeprom& image, int32_t address, uint8_t mask);
void SetMasked(cmcEeprom& image, int32_t address, uint8_t mask, uint32_t value);

bool GetFlag(const cmcEeprom& image, int32_t address, int32_t bit);
void SetFlag(cmcEeprom& image, int32_t address, int32_t bit, bool on);

// Big-endian words.
uint16_t GetWord(const cmcEeprom& image, int32_t address);
void SetWord(cmcEeprom& image, int32_t address, uint16_t value);
uint32_t GetLong(const cmcEeprom& image, int32_t address);
void SetLong(cmcEeprom& image, int32_t address, uint32_t value);

// Bit n of the bitmap that starts at the address.
bool GetMapBit(const cmcEeprom& image, int32_t address, int32_t n);
void SetMapBit(cmcEeprom& image, int32_t address, int32_t n, bool on);

// A field of width bits (1..32) that starts firstBit bits into the bit string
// at the address and may run over byte boundaries, as a number whose most
// significant bit is the field's first bit.
uint32_t GetBitsMsb(const cmcEeprom& image, int32_t address, int32_t firstBit, int32_t width);
void SetBitsMsb(cmcEeprom& image, int32_t address, int32_t firstBit, int32_t width, uint32_t value);

// A cell that is nothing but one image field through one converter is a row
// of the table form (FieldForm.h) rather than a case of its own.
//
// The common shape of a case over an image field: the field's value goes into
// frame.value, conv(frame.value, frame.result) runs the converter, and a change
// is written back. conv returns the converter's answer (1 changed). Returns it.
template <class Conv>
int BitsCell(CellFrame& f, int32_t address, int32_t lowBit, int32_t width, Conv&& conv) {
    f.value = static_cast<int32_t>(GetBits(f.image, address, lowBit, width));
    const int changed = conv(f.value, f.result);
    if (changed) SetBits(f.image, address, lowBit, width, static_cast<uint32_t>(f.value));
    return changed;
}
template <class Conv> int ByteCell(CellFrame& f, int32_t address, Conv&& conv) {
    return BitsCell(f, address, 0, 8, conv);
}
template <class Conv> int WordCell(CellFrame& f, int32_t address, Conv&& conv) {
    f.value = GetWord(f.image, address);
    const int changed = conv(f.value, f.result);
    if (changed) SetWord(f.image, address, static_cast<uint16_t>(f.value));
    return changed;
}
template <class Conv> int MapBitCell(CellFrame& f, int32_t address, int32_t n, Conv&& conv) {
    f.value = GetMapBit(f.image, address, n) ? 1 : 0;
    const int changed = conv(f.value, f.result);
    if (changed) SetMapBit(f.image, address, n, f.value != 0);
    return changed;
}

// A number or flag of the frame's row record: its value goes into
// frame.value, conv(frame.value, frame.result) runs the converter, and a
// change is written into the field and the row stored and reloaded.
template <class Field, class Conv> int RowCell(CellFrame& f, Field& rowField, Conv&& conv) {
    f.value = static_cast<int32_t>(rowField);
    const int changed = conv(f.value, f.result);
    if (changed) {
        rowField = static_cast<Field>(f.value);
        f.StoreRow();
    }
    return changed;
}

} // namespace field
