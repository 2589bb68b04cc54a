#pragma once
#include "foundation/ModelClass.h"

#include <cstdint>
#include <string>

class cmcCellCapsule;
class cmcEeprom;

// The adjustment values' own formats: stepped integers (the adjustment items,
// stepped by the arrow keys at the ends of the sheet's row), the level bar
// beside an item, and a byte shown as a three-decimal number. Each follows
// the cell engine's request protocol (cells/NumberConv.h); they return 1 when
// the value changed, and the stepped ones 2 for Enter on an item whose Enter
// starts an action.
namespace adj {

// The sheet's codes for the arrow keys, sent when its cursor cannot move further.
constexpr int32_t kKeyLeft = 0x2500;
constexpr int32_t kKeyRight = 0x2700;

// Enter mode 0: Enter opens the editor on the value; 1: Enter answers 2.
// A committed text is put on the nearest multiple of the step and into
// minimum..maximum; the arrows step by the step, cut to a multiple of it and
// stay inside minimum..maximum. fixedText, when given, is shown in place of
// the value; extraClamp corrects a value found outside the range (a change).
int ConvIntStepCell(cmcCellCapsule& request, int32_t enterMode, int32_t& value, int32_t minimum,
                    int32_t maximum, int32_t offset, int32_t step, const char* fixedText, bool extraClamp,
                    int32_t& out);

// An adjustment item: steps of 5 while Shift is held (the keyboard's state,
// plat::KeyState), else 1; typed values, arrows and Enter alike.
int ConvAdjustCell(cmcCellCapsule& request, int32_t enterMode, int32_t& value, int32_t minimum,
                   int32_t maximum, int32_t& out);

// "[", one '#' for every twentieth of minimum..maximum the value reaches,
// '-' for the rest, "]".
void FormatLevelBar(cmcCellCapsule& request, int32_t value, int32_t minimum, int32_t maximum);

// A byte shown in thousandths as "%3d.%03d", 256 steps spanning 0 to 2.8;
// typed values are held to 0.010..2.789, Space and Backspace step by 0.011
// and wrap round. The byte goes back through value in every case.
int ConvScaledByteCell(cmcCellCapsule& request, int32_t& value, int32_t& out);

class datCh;

// The cell engine's converters on the adjustment program's channel record.

// A five-tone code of the row record: the receive code (selector 1, '+'
// digits allowed) or the transmit code (selector 0); '*' and 'G' stand for
// the record's wildcard digit.
int ConvToneCodeCell(cmcCellCapsule& request, datCh& record, int32_t digitCount, int32_t selector,
                     int32_t& out);

// The receive (rx) or transmit frequency of a channel row. A channel not in
// use shows blank; its first receive frequency becomes its transmit one too.
int ConvFrequencyCell(cmcCellCapsule& request, datCh& record, bool rx, int32_t& out);

// Numbered flags first..last: digit keys toggle their number, '0' number 10
// and 'Z' number 11 (shown as "0" and "Z"); keys count outside a grid too.
int ConvFlagDigitsCell(cmcCellCapsule& request, int32_t& flags, int32_t first, int32_t last,
                       int32_t editorMode, const std::string& editorDefinition, int32_t& out);

// A channel's marks through the pop-up menu: items 1..5 (A, B, E on, E off,
// the bank's flag).
int ConvMarkFlagsCell(cmcCellCapsule& request, const std::string& menuName, uint8_t& marks, int32_t& out);

// Channels in use among rows first..last of the image, decoded with the
// current model class; -1 for a range not inside 0..511 or running backwards.
int32_t CountProgrammedChannelRange(cmcEeprom& image, int32_t first, int32_t last);

// The model class 1..5 of a model kind 0..9.
inline int ModelClassOfKind(int32_t kind) {
    return ModelClassOf(kind);
}

} // namespace adj
