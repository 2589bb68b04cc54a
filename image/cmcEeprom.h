#pragma once
#include "foundation/ByteUtil.h" // GetBitMsb, the bit numbering of the image

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// One memory image: the radio's memory as cloned (bytes 0..0xFF7F) followed by
// the program's own static tables. Values in it are big-endian; bit strings
// count from the most significant bit of their first byte. Copies are deep;
// a moved-from image is empty.
class cmcEeprom {
public:
    cmcEeprom() = default;
    cmcEeprom(const cmcEeprom&) = default;
    cmcEeprom& operator=(const cmcEeprom&) = default;
    cmcEeprom(cmcEeprom&& other) noexcept : data_(std::exchange(other.data_, {})) {}
    cmcEeprom& operator=(cmcEeprom&& other) noexcept {
        data_ = std::exchange(other.data_, {});
        return *this;
    }

    // Resizes (n <= 0: empty) and clears every byte, also when the size stays.
    void SetSize(int32_t n);
    int32_t GetSize() const { return static_cast<int32_t>(data_.size()); }
    bool IsValidAddress(int32_t address) const { return address >= 0 && address < GetSize(); }
    void Fill(uint8_t value);

    uint8_t GetByte(int32_t address) const {
        if (!IsValidAddress(address)) BadAddress("Out of EEPROM image address (GetByte).");
        return data_[static_cast<size_t>(address)];
    }
    void SetByte(int32_t address, uint8_t value) {
        if (!IsValidAddress(address)) BadAddress("Out of EEPROM image address (SetByte).");
        data_[static_cast<size_t>(address)] = value;
    }

    // Copies a range whole or not at all: a range not inside the image is ignored.
    void Write(int32_t address, const uint8_t* source, int32_t length);
    void Read(int32_t address, uint8_t* destination, int32_t length) const;
    // True when [address, address + length) lies inside the image, computed without overflow.
    bool IsValidRange(int32_t address, int32_t length) const;

    void Assign(const cmcEeprom& other);
    bool IsEqual(const cmcEeprom& other) const { return data_ == other.data_; }
    bool IsDifferent(const cmcEeprom& other) const { return !IsEqual(other); }

    // Null while the image is empty.
    uint8_t* Data() { return data_.data(); }
    const uint8_t* Data() const { return data_.data(); }

    // Big-endian words at an image offset, bounds-checked like GetByte.
    uint16_t GetWord(int32_t address) const {
        return static_cast<uint16_t>(GetByte(address) << 8 | GetByte(address + 1));
    }
    void SetWord(int32_t address, uint16_t value) {
        SetByte(address, static_cast<uint8_t>(value >> 8));
        SetByte(address + 1, static_cast<uint8_t>(value));
    }

private:
    [[noreturn]] static void BadAddress(const char* text);

    std::vector<uint8_t> data_;
};
