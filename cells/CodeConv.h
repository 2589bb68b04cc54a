#pragma once
#include <cstdint>
#include <span>
#include <string>

class cmcCellCapsule;
class cmcEeprom;
class datCh;

// Converters of signalling codes and keys: DTMF digit strings, 5-tone codes,
// hexadecimal identifiers, single digits, sets of digits held as bits, the
// programmable-key assignments with their high/low option and the receive ABC
// code. They follow the request protocol of the cell engine (see NumberConv.h).

// A DTMF digit string, one digit 0..15 per element ('*' is 14, '#' 15), and
// its length; at most maxDigits digits (and no more than the field holds).
int ConvDtmfCodeCell(cmcCellCapsule& request, std::span<uint8_t> digits, uint8_t& count, int32_t maxDigits,
                     int32_t& out);

// A 5-tone code: four code bytes of nibbles, a nibble 15 ending the code, and
// a mark byte whose bit 0x80 >> i makes digit i a '+' (null: no '+' digits).
// groupDigit is the digit that '*' and 'G' stand for. The code never grows
// past its four bytes.
int ConvToneCode(cmcCellCapsule& request, std::span<uint8_t, 4> code, uint8_t* mark, int32_t groupDigit,
                 int32_t maxDigits, int32_t& out);

// The code of a row record: a receive code (kind 10: codeHead with the marks
// in codeByte28) or a transmit code (kind 11: txCode, no marks); the record's
// globalByte is the group digit.
int ConvToneCodeCell(cmcCellCapsule& request, datCh& record, int32_t maxDigits, bool isReceive, int32_t& out);

// A value shown as exactly digits hexadecimal digits (letters typed only with allowLetters).
int ConvHexNibblesCell(cmcCellCapsule& request, int32_t& value, int32_t digits, bool allowLetters,
                       int32_t& out);
// A string of length hexadecimal digits, one per element.
int ConvHexStringCell(cmcCellCapsule& request, std::span<int32_t> digits, int32_t length, bool allowLetters,
                      int32_t& out);
// One digit 0..14, or 0..15 with allowF.
int ConvSingleDigitCell(cmcCellCapsule& request, int32_t& value, bool allowF, int32_t& out);

// A set of the digits first..last, each a bit of value: the first digit in
// the most significant bit used (bit 7 of a byte for at most 8 digits, else
// bit last - first). Digit keys toggle their digit, space sets or clears all,
// backspace inverts, Enter opens the bit-field editor (dialogKey its sheet,
// empty for the editor's own). Style 3 names digits 10 and up by letters.
// Outside style 3, 'Z' stands for digit 17 and shows only as its letter name
// there; a program may put it elsewhere and always show it.
struct DigitSetZ {
    int32_t digit = 17;
    bool alwaysShown = false;
    // The keys count also when the request comes from no grid.
    bool keysWithoutGrid = false;
};
int ConvDigitSetCell(cmcCellCapsule& request, int32_t& value, int32_t first, int32_t last, int32_t style,
                     const std::string& dialogKey, int32_t& out, const DigitSetZ& z = {});

// Programmable keys: the key byte holds the character code of the key's
// function. Functions '0'..'5' have option ids 11..13, whose high/low option
// is a bit of image byte 93826; '6'..';' have ids 21..23, which have no option
// bit and show as low.
int32_t KeyOptionId(int32_t key);
int32_t GetKeyOptionHL(const cmcEeprom& image, int32_t id);
void SetKeyOptionHL(cmcEeprom& image, int32_t id, int32_t high);

// A key assignment through the assignment list listKey; a function with an
// option asks for high or low at once, and a chosen option raises flag 0x20
// of changeFlags. The function's text ends in " /H" or " /L".
int ConvKeyOptionCell(cmcCellCapsule& request, cmcEeprom& image, uint8_t& key, int32_t& changeFlags,
                      const std::string& listKey, int32_t& out);
// The lists the dial and the keys take their functions from for the current model.
std::string DialsListKey();
std::string ModelKeysListKey();
// ConvKeyOptionCell with the current model's list: of the dial, or of the keys.
int ConvDialsCell(cmcCellCapsule& request, cmcEeprom& image, uint8_t& key, int32_t& changeFlags,
                  int32_t& out);
int ConvModelKeysCell(cmcCellCapsule& request, cmcEeprom& image, uint8_t& key, int32_t& changeFlags,
                      int32_t& out);

// The receive ABC code: 0 off, 1..32 a code, chosen from a list whose item 1
// stands for a code picked from a second list, or typed.
int ConvRxAbcCodeCell(cmcCellCapsule& request, int32_t& value, int32_t& out);

// Bit 23 - n of a 3-byte field, counted from the most significant bit of its
// first byte; 0 beyond length.
int GetBitReversed24(const uint8_t* bytes, int32_t length, int32_t n);
