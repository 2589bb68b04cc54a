#pragma once
#include "image/ImagePacking.h"

#include <cstdint>

class cmcEeprom;
namespace layout {
class LayoutProfile;
}

// Unpacking: the blocks of a working-layout image's dynamic area (found
// through its partition table) are copied into their static tables. Bytes no
// block supplies keep their contents. Only bytes inside the dynamic area are
// ever taken: a block or record that a file or a radio places elsewhere is
// skipped, whatever its entry says. An image of another size than the
// working layout is left alone.

// Every block into its table, then bank 127's channels (blocks 4 and 5) behind
// the channels of banks 0..126, after which the image is packed again with
// the caller's packing. The model class tells programmed channels.
void UnpackImage(cmcEeprom& image, int modelClass, const ImagePacking& repack);
// The same in a program's own layout; the layout's channel record tells
// programmed channels.
void UnpackImage(cmcEeprom& image, const ImagePacking& repack, const layout::LayoutProfile& layout);

// The reference expansion of a model's start-up data: tables that hold one
// template record in the file get it in every record.
void Dynamic2Static(cmcEeprom& image);
void Dynamic2Static(cmcEeprom& image, const layout::LayoutProfile& layout);

// Banks (sites) at which the running total of the counts passes the channel
// table (the repeater pool) get count 0, and so does every later one.
void ClampBankCounts(cmcEeprom& image);
void ClampSiteCounts(cmcEeprom& image);
