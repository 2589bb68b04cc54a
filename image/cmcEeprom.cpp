#include "image/cmcEeprom.h"

#include "platform/Fatal.h"

#include <algorithm>
#include <cstring>

void cmcEeprom::BadAddress(const char* text) {
    plat::Fatal(text);
}

void cmcEeprom::SetSize(int32_t n) {
    if (n > 0)
        data_.assign(static_cast<size_t>(n), uint8_t{0});
    else
        std::vector<uint8_t>().swap(data_); // gives the bytes back, as an empty image holds none
}

void cmcEeprom::Fill(uint8_t value) {
    std::fill(data_.begin(), data_.end(), value);
}

bool cmcEeprom::IsValidRange(int32_t address, int32_t length) const {
    // Compared as differences so that address + length cannot overflow.
    return address >= 0 && address < GetSize() && length > 0 && length <= GetSize() - address;
}

void cmcEeprom::Write(int32_t address, const uint8_t* source, int32_t length) {
    if (IsValidRange(address, length))
        std::memmove(data_.data() + address, source, static_cast<size_t>(length));
}

void cmcEeprom::Read(int32_t address, uint8_t* destination, int32_t length) const {
    if (IsValidRange(address, length))
        std::memmove(destination, data_.data() + address, static_cast<size_t>(length));
}

void cmcEeprom::Assign(const cmcEeprom& other) {
    if (&other != this) data_ = other.data_;
}
