#pragma once
#include <cstdint>

class cmcEeprom;

// Typing into the empty row just below a bank's last channel (or a site's
// last repeater entry) first makes that row part of the bank or site: one
// more row must fit the table (512 channels; 2560 repeater entries, 20 to a
// site) and the radio's dynamic area, judged as channels or as repeater
// entries whatever the asking cell's category is. The row is inserted by
// whoever carries out events 26 and 28 (the main window), and the dynamic
// area is rebuilt at once so that the next test sees the new size.
//
// Returns true when the row was inserted. When it does not fit, the overflow
// box is shown and nothing changes; when nobody carried the event out,
// nothing changes either. A dynamic area that turns out not to hold the
// grown tables takes the row out again and shows the overflow box.
enum class InsertTable { Channels, Pool };
bool InsertRowForInput(cmcEeprom& image, InsertTable table, int32_t unit, int32_t row);
