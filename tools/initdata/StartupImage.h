#pragma once
#include <cstdint>

class cmcEeprom;
namespace layout {
class LayoutProfile;
}

// The start-up data of one model (index 0..9): an empty radio of that model
// as a working-layout image. Its dynamic area holds one block for every
// static table: whole tables where the reference expansion takes them whole
// or record by record, and one template record where it copies the first
// record into all. The static tables hold what the blocks hold. Without a
// layout, in the cloning program's.
void BuildStartupImage(cmcEeprom& image, int32_t modelIndex);
void BuildStartupImage(cmcEeprom& image, int32_t modelIndex, const layout::LayoutProfile& tables);
