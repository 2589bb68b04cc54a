#pragma once
#include <cstdint>
#include <functional>

class cmcEeprom;
namespace layout {
class LayoutProfile;
}

// Packing: the static tables of a working-layout image become the radio's dynamic area, with a fresh
// partition table, the maker signature and the header fields that locate them. The same tables and counts
// always give the same bytes 0..0xFF7F.

constexpr int kPackPlain = 0;
constexpr int kPackCloneWrite = 1;

// 0 when everything fitted; 1 when a block did not, the area then holding the
// blocks before it. Whoever stores or sends the image must then refuse: the
// partition table and signature of such an image are not its own. The model
// class is the current model's unless given (1 LMR, 2 LTR, 3 P25, 4 PMR, 5 PMR-Z).
// An image of another size than the working layout is not packed (1).
int Static2Dynamic(cmcEeprom& image, int mode);
int Static2Dynamic(cmcEeprom& image, int mode, int modelClass);
// The same in another program's layout.
int Static2Dynamic(cmcEeprom& image, int mode, int modelClass, const layout::LayoutProfile& layout);
int Static2DynamicInit(cmcEeprom& image);
int Static2DynamicInit(cmcEeprom& image, int modelClass);

// A program's plain packing of an image (0 when everything fitted). The
// passes that end by packing again (unpacking, normalisation before a write)
// take it from their caller: the layout is the program's, not this layer's.
using ImagePacking = std::function<int(cmcEeprom& image)>;
// The plain packing of this layer's layout for a model class.
ImagePacking PackingFor(int modelClass);

// Ends the program when two of the first `count` entries share an ID.
void CheckPtblDuplicates(const uint8_t* table, int32_t count);
