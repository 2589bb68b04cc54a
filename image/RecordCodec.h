#pragma once
#include "image/cmcEeprom.h"
#include "platform/Fatal.h"

#include <algorithm>
#include <array>
#include <cstdint>

// A tone squelch setting: a CTCSS tone (index into the tone table) or a DTCS code.
struct datTone {
    bool on = false;
    bool dcs = false;
    bool dcsInverted = false;
    int16_t ctcss = 0;
    int16_t dcsCode = 0; // 9 bits

    bool operator==(const datTone&) const = default;
};

// A text counts as present when it holds anything but blanks.
template <size_t N> bool HasText(const std::array<uint8_t, N>& text) {
    return std::any_of(text.begin(), text.end(), [](uint8_t c) { return c != ' '; });
}

// Doubles of a record go back as integers, truncated and kept inside what
// the image word or byte can hold (a NaN as 0).
inline int32_t TruncateInto(double value, int32_t max) {
    if (!(value > 0)) return 0;
    if (value >= max) return max;
    return static_cast<int32_t>(value);
}

// Moves fields between the record and one image record at a time, in the
// direction of the operation, so that every field's place is written once.
class RecordCodec {
public:
    RecordCodec(cmcEeprom& image, bool store) : store(store), image_(image) {}

    const bool store;

    // Selects the record of length bytes at an image offset.
    void At(int32_t offset, int32_t length) {
        if (!image_.IsValidRange(offset, length)) plat::Fatal("Out of EEPROM image address (datCh).");
        p_ = image_.Data() + offset;
        n_ = length;
    }

    uint8_t& Byte(int32_t i) {
        if (i < 0 || i >= n_) plat::Fatal("Out of EEPROM image address (datCh).");
        return p_[i];
    }

    // Field bits fieldLo.. (width of them) are record byte i's bits lo..; every
    // other bit of the byte, and of the field, stays.
    template <typename T> void Piece(T& field, int fieldLo, int32_t i, int lo, int width) {
        const uint32_t mask = (1u << width) - 1;
        uint8_t& b = Byte(i);
        const uint32_t value = static_cast<uint32_t>(field);
        if (store) {
            b = static_cast<uint8_t>((b & ~(mask << lo)) | ((value >> fieldLo) & mask) << lo);
        } else {
            field = static_cast<T>((value & ~(mask << fieldLo)) | ((b >> lo) & mask) << fieldLo);
        }
    }
    template <typename T> void Bits(T& field, int32_t i, int lo, int width) { Piece(field, 0, i, lo, width); }
    void Flag(bool& field, int32_t i, int bit) { Piece(field, 0, i, bit, 1); }
    // A flag that is set while its bit is clear.
    void FlagClear(bool& field, int32_t i, int bit) {
        bool bitSet = !field;
        Flag(bitSet, i, bit);
        field = !bitSet;
    }
    template <typename T> void Whole(T& field, int32_t i) { Piece(field, 0, i, 0, 8); }
    void Word(int32_t& field, int32_t i) {
        if (store) {
            Byte(i) = static_cast<uint8_t>(field >> 8);
            Byte(i + 1) = static_cast<uint8_t>(field);
        } else {
            field = Byte(i) << 8 | Byte(i + 1);
        }
    }
    void Dword(int32_t& field, int32_t i) {
        uint32_t v = static_cast<uint32_t>(field);
        if (store) {
            for (int k = 0; k < 4; ++k)
                Byte(i + k) = static_cast<uint8_t>(v >> (24 - 8 * k));
        } else {
            v = 0;
            for (int k = 0; k < 4; ++k)
                v = v << 8 | Byte(i + k);
            field = static_cast<int32_t>(v);
        }
    }
    template <size_t N> void Bytes(std::array<uint8_t, N>& field, int32_t i) {
        for (size_t k = 0; k < N; ++k)
            Whole(field[k], i + static_cast<int32_t>(k));
    }
    // One digit per nibble, the high nibble first.
    template <size_t N> void Nibbles(std::array<uint8_t, N>& field, int32_t i) {
        for (size_t k = 0; k < N; ++k)
            Bits(field[k], i + static_cast<int32_t>(k / 2), k % 2 ? 0 : 4, 4);
    }
    // Two bytes; bits 1..4 of the first are not the tone's. A CTCSS tone clears
    // the bits that only a DTCS code uses.
    void Tone(datTone& tone, int32_t i) {
        bool off = !tone.on;
        Flag(off, i, 7);
        tone.on = !off;
        Flag(tone.dcs, i, 6);
        if (tone.dcs) {
            Flag(tone.dcsInverted, i, 5);
            Piece(tone.dcsCode, 8, i, 0, 1);
            Piece(tone.dcsCode, 0, i + 1, 0, 8);
        } else {
            if (store) Byte(i) &= static_cast<uint8_t>(~0x21);
            Whole(tone.ctcss, i + 1);
        }
    }
    // Bit n of a bitmap, most significant bit first.
    void BitmapBit(bool& field, int32_t bitmap, int32_t n) {
        At(bitmap + n / 8, 1);
        Flag(field, 0, 7 - n % 8);
    }
    // A bit that Store derives and Load does not read (the text presence bits).
    void StoreOnly(bool value, int32_t i, int bit) {
        if (store) Flag(value, i, bit);
    }

private:
    cmcEeprom& image_;
    uint8_t* p_ = nullptr;
    int32_t n_ = 0;
};
