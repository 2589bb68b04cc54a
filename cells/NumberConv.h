#pragma once
#include <cstdint>
#include <string>
#include <string_view>

class cmcCellCapsule;

// Converters between numeric settings and their cell texts: counts, levels,
// identifiers, fixed-point values, ranges with an "off" value, timers. Each
// follows the request protocol of the cell engine: mode 1 commits the typed
// text, any mode then shows the value (whole text selected), and with an edit
// grid space and backspace step the value while the keys the family accepts
// ask for the in-place editor (out = 2). They return 1 when the value changed.

// Removes every character that is neither a decimal digit nor one of extra.
void StripNonDigits(std::string& text, std::string_view extra);
std::string StripNonDigitsText(std::string text, std::string_view extra);

// The digits, '.' and '-' of the text, cut to 9 characters, read as a decimal
// number and rounded half away from zero; 0 when nothing reads as a number.
int32_t TextToRoundedInt(const std::string& text);

// Whether the text holds a decimal digit.
bool HasDigit(const std::string& text);

// v on the nearest multiple of step, halves away from zero.
int64_t NearestMultiple(int64_t v, int64_t step);

// Puts value into lo..hi; 1 when it had to move it.
int ClampToRange(int32_t lo, int32_t hi, int32_t& value);

// The general integer cell. A typed text without a digit changes nothing; a
// step other than 1 puts a typed value on the nearest multiple of the step.
// With clamp an out-of-range value is corrected (a change); with saturate
// stepping stops at the limits instead of wrapping round. fixedText, when
// given, is shown in place of the number.
int ConvIntCell(cmcCellCapsule& request, int32_t& value, int32_t minimum, int32_t maximum, int32_t offset,
                int32_t step, const char* fixedText, bool clamp, bool saturate, int32_t& out);
// ConvIntCell on a byte or a 16-bit word, which is written only on a change.
int ConvByteCell(cmcCellCapsule& request, uint8_t& value, int32_t minimum, int32_t maximum, int32_t& out);
int ConvIntCell16(cmcCellCapsule& request, uint16_t& value, int32_t minimum, int32_t maximum, int32_t& out);
int ConvIntCell16Signed(cmcCellCapsule& request, int16_t& value, int32_t minimum, int32_t maximum,
                        int32_t& out);

// A number shown with at least width digits (zero-padded unless noPad). A
// typed number outside minimum..maximum is refused.
int ConvNumberCell(cmcCellCapsule& request, int32_t& value, int32_t width, int32_t minimum, int32_t maximum,
                   bool noPad, int32_t& out);

// A number shown as digits upper-case hexadecimal digits; a typed text that is
// not all hexadecimal digits is refused.
int ConvHexValueCell(cmcCellCapsule& request, int32_t& value, int32_t minimum, int32_t maximum,
                     int32_t digits, int32_t& out);

// A value held in units of 10^-scaleDigits and shown with shownDigits
// decimals; minimum and maximum are in whole units. With spaceSteps, space and
// backspace step by step units; trimZeros drops up to that many trailing
// zeros of the decimals; blankOnEdit opens the editor empty on Enter.
int ConvFixedCell(cmcCellCapsule& request, int32_t& value, int32_t scaleDigits, int32_t shownDigits,
                  double minimum, double maximum, int32_t step, bool spaceSteps, int32_t trimZeros,
                  bool blankOnEdit, int32_t& out);
int ConvScaledCell(cmcCellCapsule& request, int32_t& value, int32_t scaleDigits, int32_t shownDigits,
                   double minimum, double maximum, int32_t step, bool spaceSteps, bool blankOnEdit,
                   int32_t& out);

// A value in units of 1/unitsPerWhole shown with three decimals; with offMode
// 1 the value 0 shows the timer-off text, and a typed "off" stores 0.
int ConvRangeCell(cmcCellCapsule& request, int32_t& value, int32_t unitsPerWhole, int32_t minimum,
                  int32_t maximum, int32_t offMode, int32_t trimZeros, int32_t& out);
int ConvByteRangeCell(cmcCellCapsule& request, uint8_t& value, int32_t unitsPerWhole, int32_t offMode,
                      int32_t& out);

// A timer counted in steps of stepSeconds, shown and typed as "m:ss".
int ConvTimeCell(cmcCellCapsule& request, int32_t& value, int32_t minimumSeconds, int32_t maximumSeconds,
                 int32_t stepSeconds, int32_t& out);
