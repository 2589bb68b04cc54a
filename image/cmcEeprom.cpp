#include "image/cmcEeprom.h"

#include "platform/Fatal.h"

#include <cstring>

cmcEeprom::~cmcEeprom() {
    delete[] data;
}

void cmcEeprom::BadAddress(const char* text) {
    plat::Fatal(text);
}

void cmcEeprom::SetSize(int32_t n) {
    if (n != size) {
        delete[] data;
        data = nullptr;
        size = 0;
        if (n > 0) {
            data = new uint8_t[static_cast<size_t>(n)];
            size = n;
        }
    }
    if (n > 0) std::memset(data, 0, static_cast<size_t>(size));
}

void cmcEeprom::Fill(uint8_t value) {
    if (data) std::memset(data, value, static_cast<size_t>(size));
}

bool cmcEeprom::IsValidRange(int32_t address, int32_t length) const {
    // Compared as differences so that address + length cannot overflow.
    return address >= 0 && address < size && length > 0 && length <= size - address;
}

void cmcEeprom::Write(int32_t address, const uint8_t* source, int32_t length) {
    if (IsValidRange(address, length)) std::memmove(data + address, source, static_cast<size_t>(length));
}

void cmcEeprom::Read(int32_t address, uint8_t* destination, int32_t length) const {
    if (IsValidRange(address, length)) std::memmove(destination, data + address, static_cast<size_t>(length));
}

void cmcEeprom::Assign(const cmcEeprom& other) {
    if (&other == this) return;
    SetSize(other.size);
    if (other.size > 0) std::memcpy(data, other.data, static_cast<size_t>(other.size));
}

bool cmcEeprom::IsEqual(const cmcEeprom& other) const {
    if (size != other.size) return false;
    return size == 0 || std::memcmp(data, other.data, static_cast<size_t>(size)) == 0;
}
