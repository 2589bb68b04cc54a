#pragma once
#include <optional>
#include <string>

inline constexpr int kComPortMin = 1;
inline constexpr int kComPortMax = 256;

// The COM port number typed into the COM port dialog: the text without its
// leading and trailing blanks, all decimal digits, from 1 to 256. None for
// anything else (the dialog then says so and keeps the old setting).
std::optional<int> ParseComPort(std::string text);
