#pragma once
#include <cstdint>
#include <optional>
#include <string>

// Texts of the radio's information block (127 bytes) that more than one
// place shows.

// The serial number (12 hexadecimal characters at offset 37) as the
// information sheet shows it; none when a character is no hexadecimal digit.
std::optional<std::string> FormatSerialNumber(const uint8_t* info);
