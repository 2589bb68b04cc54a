#pragma once
#include <cstdint>
#include <string>

class cmcCellCapsule;
class cmcEeprom;
class datCh;

// Fixed-length texts, the choice of a scan list's channels through bank and
// channel pop-ups, bank labels, the count of programmed channels, and the
// small byte and message helpers that the cells and the image passes share.

// A blank-padded text field of length bytes; only the characters 32..126 are
// kept (others become blanks, also when the cell is only shown).
int ConvTextCell(cmcCellCapsule& request, uint8_t* bytes, int32_t length, int32_t& out);

// A scan list's priority channel 1 (which 0), priority channel 2 (1) or
// transmit channel (2). value is the choice mode; the mode that names a
// channel leads through the bank list and a channel sheet of that bank, and
// the channel chosen there is stored in the scan-list record.
int ConvScanChannelCell(cmcCellCapsule& request, datCh& record, int32_t& value, int32_t which, int32_t& out);
// The bank whose channels the channel sheet of a scan-list choice lists.
int32_t ScanSelectionBank();
void SetScanSelectionBank(int32_t bank);

// "<bank + 1>: " and the bank's 12-byte name, ended at its first 0 byte, every
// byte outside 32..126 shown as '*'.
std::string FormatBankLabel(const cmcEeprom& image, int32_t bank);

// Programmed channels (as the current model class decodes them) among rows
// first..last, or all 512 rows of the current image; -1 for a range that is
// not within 0..511 or runs backwards.
int32_t CountProgrammedChannels();
int32_t CountProgrammedInRange(cmcEeprom& image, int32_t first, int32_t last);
// The value of the bank's used-quantity cell, which has none.
int32_t GetBankUsedQty(int32_t bank);

// A warning box with OK and Cancel showing the lines of the text key;
// returns the answer (1 OK, 2 Cancel).
int ConfirmOkCancel(const std::string& key);

bool IsAllBlank(const uint8_t* text, int32_t n);
void CopyBytes(uint8_t* destination, const uint8_t* source, int32_t n);
// Replaces each of the n bytes outside 32..126 by '*' and ends them with a 0
// byte at bytes[n] (the buffer holds n + 1 bytes).
void MaskNonPrintableStar(uint8_t* bytes, int32_t n);
// Replaces each of the n bytes outside 32..126 by a blank.
void MaskNonPrintableBlank(uint8_t* bytes, int32_t n);
