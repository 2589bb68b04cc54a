#pragma once
#include "image/ImagePacking.h"

#include <cstdint>

class cmcEeprom;

// The adjustment program's passes between its radio's dynamic area and its
// static tables (AdjustLayout.h), the tolerance limits a clone write sends,
// and the free-space test of its channel rows.
namespace adj {

// 0 when every block was packed, 1 when the area overflowed (the blocks from
// the first that did not fit on are left out: such an image is never saved
// or sent). Mode 0 (kPackPlain) after loading and on a model change, mode 1
// (kPackCloneWrite) on the copy a clone write sends, which may widen bank 127.
int Static2Dynamic(cmcEeprom& image, int mode);
int Static2DynamicInit(cmcEeprom& image);
// The plain packing, for the passes that pack again.
ImagePacking Packing();

// Clamped unpacking of an image just loaded or read: every block present is
// copied into its table, held to the table's record size and count, only
// from inside the dynamic area; then bank 127's channels behind the others,
// and the static tables packed again. The radio's calibration block (ID 6)
// also goes into the radio copy when one is given.
void UnpackDynamicArea(cmcEeprom& image, cmcEeprom* radioCopy = nullptr);

// Full unpacking (a model's start-up data): tables that the data holds as
// one template record get it in every record.
void Dynamic2Static(cmcEeprom& image, cmcEeprom* radioCopy = nullptr);

// Rebuilds what the image derives from its own channels and from the
// reference (the model's start-up data): the header, the start-up channel of
// the radio and of each bank, option, key, text and dial bytes, the counts,
// the comments, the channel records over the reference's, the ID indexes.
// Mode 0 after loading (the image is unpacked first, the calibration block
// also into the radio copy), mode 1 before saving or writing (packed last).
void NormalizeImage(cmcEeprom& image, const cmcEeprom& reference, int modelIndex, int mode,
                    cmcEeprom* radioCopy = nullptr);

// Whether n more rows of the cell category fit the dynamic area, by what
// packing spends on them behind the used data (header word 274): a channel
// of banks 0..126 costs its 30- and 22-byte records and 6 display bytes, one
// of bank 127 (x = 127) only the two records. Every other category fits.
constexpr int kChannelCategory = 2;
constexpr int32_t kBank127 = 127;
int FitsDynamicArea(const cmcEeprom& image, int category, int32_t n, int32_t x);

// The decode windows of the two-tone codes for an LMR radio: each code's
// two tones v get the limits v -/+ 3 per cent (data version 0x10 and
// older) or 2 per cent (newer), rounded, kept within 16 bits. Other model
// classes keep their windows.
void SetToleranceLimits(cmcEeprom& image, uint8_t dataVersion, int modelClass);

} // namespace adj
