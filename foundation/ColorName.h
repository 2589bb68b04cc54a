#pragma once
#include <cstdint>
#include <optional>
#include <string>

// Colours are the GUI library's values: 0x00BBGGRR, or a system colour with
// the high bit set and its index in the low byte.
using ColorValue = uint32_t;

// The colour of a name such as "clRed" (exact and case-sensitive); none for
// a name not in the table.
std::optional<ColorValue> ColorFromName(const std::string& name);
