#pragma once
#include <cstdint>
#include <string>

class cmcCellCapsule;

// Converters of settings that take one of the named values of a list: the
// list "<key>_Cells" of the text overlay holds one item cell per value (the
// list cell id as its cell, the value as its index, the text as its argument
// or caption). The cell shows the value's item text, space and backspace step
// through the items in screen order, Enter opens the list beside the cell
// (out = 1), and the item picked there comes back as a pick (mode 2). They
// follow the request protocol of the cell engine (see NumberConv.h).

// A pick of another list cell id is not for this cell: it returns 0 at once.
int ConvListCell(cmcCellCapsule& request, const std::string& listKey, int32_t listCell, int32_t& value,
                 int32_t& out);
// As ConvListCell, except that a pick of another list is treated as no pick.
int ConvListCellFrom(cmcCellCapsule& request, const std::string& listKey, int32_t listCell, int32_t& value,
                     int32_t& out);
int ConvSelCell(cmcCellCapsule& request, const std::string& listKey, int32_t& value, int32_t& out);
int ConvSelCell4(cmcCellCapsule& request, const std::string& listKey, int32_t& value, int32_t& out);
// On a byte, which is written only on a change.
int ConvSelByteCell(cmcCellCapsule& request, const std::string& listKey, uint8_t& value, int32_t& out);
int ConvSelPtrCell(cmcCellCapsule& request, const std::string& listKey, int32_t& value, int32_t& out);

// A list whose value can also be typed. matchMode 1: the first item whose text
// begins with the typed text; 0: the item whose number lies nearest to the
// typed one ("of..." reads as 0); 2: as 1 for two characters or more, else
// nothing, and the nearest number when no item begins with the text.
int ConvSelListCell(cmcCellCapsule& request, const std::string& listKey, int32_t listCell, int32_t& value,
                    int32_t matchMode, int32_t& out);

// A first list of a few items, one of which stands for a number chosen from a
// second list; the numbers span the first list's number item to the second
// list's highest item. With offAllowed a typed "off" or 0 stores 0.
int ConvTwoLevelListCell(cmcCellCapsule& request, const std::string& firstKey, const std::string& secondKey,
                         int32_t firstCell, int32_t secondCell, int32_t& value, bool offAllowed,
                         int32_t& out);
int ConvSelPairCell(cmcCellCapsule& request, const std::string& firstKey, const std::string& secondKey,
                    int32_t& value, int32_t& out);

// A flag byte edited through a list: items 1 and 2 set bits 0 and 1, items 3
// and 4 choose between bits 2 and 3, items 5 and 6 toggle bits 4 and 5; a
// program whose list is shorter gives its last item (items above it change
// nothing). A change posts events 35 and 31.
int ConvAttributeCell(cmcCellCapsule& request, const std::string& listKey, uint8_t& flags, int32_t& out,
                      int32_t lastItem = 6);

// Bit `bit` of a bit string (counted from the most significant bit of its first
// byte) through the user set-mode enable list; a bit beyond length bytes
// leaves the cell untouched.
int ConvUserSetEnableCell(cmcCellCapsule& request, uint8_t* bytes, int32_t length, int32_t bit, int32_t& out);

// The item numbers of a list that bound a two-level list: the first item of
// the list cell on the last line that has one, and the highest item; -1 when
// the list has no such item.
int32_t ListFirstItem(const std::string& listKey, int32_t listCell);
int32_t ListLastItem(const std::string& listKey, int32_t listCell);
