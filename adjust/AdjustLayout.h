#pragma once
#include "image/LayoutProfile.h"

#include <cstdint>

class cmcEeprom;

namespace adj {

// The adjustment program's layout: the static tables at the same image
// offsets as the cloning program's, fewer of them, every one packed for every
// model, in its own order, a block allowed to end right at the end of the
// dynamic area, and bank 127 widened by what the whole area takes.
const layout::LayoutProfile& AdjustLayout();

// Where the radio's calibration block (partition ID 6) lies in every image.
constexpr int32_t kRadioBlock = layout::Table(6).offset;
constexpr int32_t kRadioBlockBytes = layout::Table(6).Bytes();

} // namespace adj
