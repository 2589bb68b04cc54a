#pragma once
#include <cstdint>
#include <optional>
#include <string>

// Colours are the GUI library's values: 0x00BBGGRR, or a system colour with
// the high bit set and its index in the low byte.
using ColorValue = uint32_t;

// The system colours, which follow the desktop's scheme.
inline constexpr ColorValue clBackground = 0x80000001;
inline constexpr ColorValue clActiveCaption = 0x80000002;
inline constexpr ColorValue clInactiveCaption = 0x80000003;
inline constexpr ColorValue clMenu = 0x80000004;
inline constexpr ColorValue clWindow = 0x80000005;
inline constexpr ColorValue clWindowFrame = 0x80000006;
inline constexpr ColorValue clMenuText = 0x80000007;
inline constexpr ColorValue clWindowText = 0x80000008;
inline constexpr ColorValue clCaptionText = 0x80000009;
inline constexpr ColorValue clActiveBorder = 0x8000000A;
inline constexpr ColorValue clInactiveBorder = 0x8000000B;
inline constexpr ColorValue clAppWorkSpace = 0x8000000C;
inline constexpr ColorValue clHighlight = 0x8000000D;
inline constexpr ColorValue clHighlightText = 0x8000000E;
inline constexpr ColorValue clBtnFace = 0x8000000F;
inline constexpr ColorValue clBtnShadow = 0x80000010;
inline constexpr ColorValue clGrayText = 0x80000011;
inline constexpr ColorValue clBtnText = 0x80000012;
inline constexpr ColorValue clInactiveCaptionText = 0x80000013;
inline constexpr ColorValue clBtnHighlight = 0x80000014;

// The colour of a name such as "clRed" (exact and case-sensitive); none for
// a name not in the table.
std::optional<ColorValue> ColorFromName(const std::string& name);
