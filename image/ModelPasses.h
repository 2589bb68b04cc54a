#pragma once
#include "image/ImagePacking.h"
#include "image/RangeList.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

class cmcEeprom;

// The passes the application manager runs on an image that has just been
// loaded or read, or that is about to be written: the header check, the model
// check of a file or radio, the clone areas, the model detection, the
// newer-data lockout and the normalisation against the model's reference
// image. None of them reports an error or ends the program on what an image
// holds.

// 0 when acceptable, 1 otherwise; never reads outside the image (an offset taken from the image that
// points outside it makes the image unacceptable, it never ends the program).
int CheckImageHeader(const cmcEeprom& image, bool strict);

// true when code1/code2 are acceptable for this program (code1 == 0x4410, code2 == 0 or 256); otherwise sets
// result 3 or 4.
bool CheckModelCodes(uint16_t code1, uint16_t code2, int& result);

// One range and the terminator, as the clone areas of a type: type 0 the area above the header, types 1..3
// (and any unknown type) the whole radio, type 5 the information part.
RangeList CloneAreasFor(int areaType);

// Model index 0..9 from byte 12 bit 0x20 and the class bits at 94210 (does not unpack).
int DetectModelIndex(const cmcEeprom& image);
// The same with a program's own order of the class bits: the first bit set
// (bit 0 the most significant of byte 94210) gives its handheld model index,
// none set gives LMR.
struct ClassBit {
    int32_t bit;
    int modelIndex;
};
int DetectModelIndex(const cmcEeprom& image, std::span<const ClassBit> order);

// Lockout test on a copy unpacked with the caller's packing (never touches `image`); lockoutText = line 0 of
// "GI_Sys_LockoutNewerData".
bool IsLockedOutNewerData(const cmcEeprom& image, const std::string& lockoutText, const ImagePacking& pack);

// The normalisation; reference = the model's reference image (initial file expanded); modelIndex 0..9 gives
// class and form factor (an index outside 0..9 counts as 0). Mode 0 after loading (the image is unpacked
// first), 1 before writing (the image is packed last). Both pack with the caller's packing.
void NormalizeImage(cmcEeprom& image, const cmcEeprom& reference, int modelIndex, int mode,
                    const ImagePacking& pack);

// The steps a program with its own records takes in the normalisation in
// place of this layer's: unpacking (mode 0, first of all), the start-up
// selections (after the header) and the records re-encoded over the
// reference (after the comments). Each is given the image, the reference,
// the model class and the mode. The common steps stay: header, option, key,
// text and dial bytes, counts, comments, index sorts, the newer-data byte,
// packing in mode 1.
struct NormalizeOptions {
    using Step = std::function<void(cmcEeprom& image, const cmcEeprom& reference, int modelClass, int mode)>;
    Step unpack;
    Step selections;
    Step records;
    // A key-function bit stays set when no key calls the function any more.
    bool keepKeyFunctionBits = false;
};
void NormalizeImage(cmcEeprom& image, const cmcEeprom& reference, int modelIndex, int mode,
                    const ImagePacking& pack, const NormalizeOptions& options);

// The bits of channel n's records that follow the reference and the model
// class once its fields are re-encoded: decodeField says whether the channel
// decodes a code (which sets three option bits), ltrBank whether its bank is
// an LTR bank; clearPmrZByte4 clears option byte 4 of a PMR-Z channel.
void NormalizeChannelBits(cmcEeprom& image, const cmcEeprom& reference, int32_t n, int modelClass,
                          bool decodeField, bool ltrBank, bool clearPmrZByte4);

// What the document does with an image it has just accepted: unpack it, detect its model, change to that
// model (changeModel, which must leave `reference` as that model's reference image) and normalise in
// mode 0, packing with the caller's packing. Returns the detected model index.
int AfterLoadImage(cmcEeprom& image, const cmcEeprom& reference, const std::function<void(int)>& changeModel,
                   const ImagePacking& pack);
