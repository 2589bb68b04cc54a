#pragma once
#include <cstdint>

class cmcEeprom;
struct cmcEvent;

namespace adj {

// This program's row primitives over its own records: rows shift as whole
// records, the mark that stays with a position (bit 4 of the mark byte) stays
// where it was, and the scan and priority references are left alone. The
// emptied row is the reference image's record of that row, with the row's
// own marks. site1 is accepted for the table interface and not used.
void CopyChannelKeepFlags(cmcEeprom& image, cmcEeprom& source, int32_t kind, int32_t row, int32_t& change);
void ImageRemoveRow(cmcEeprom& image, cmcEeprom& reference, int32_t count, int32_t kind, int32_t row,
                    int32_t site1, int32_t& change);
void ImageInsertRow(cmcEeprom& image, cmcEeprom& reference, int32_t count, int32_t kind, int32_t row,
                    int32_t site1, int32_t& change);

// The main window's row events on this program's tables: 26 and 27 on the
// 512 channel rows of the current model's kind (p1 the bank), 28 and 29 on
// the 20 repeater entries of kind 25 (p1 the site, p2 the entry); the bank's
// or site's count follows and the sheets hear of it as in the cloning program.
int32_t HandleRowEvent(const cmcEvent& ev, cmcEeprom& image, cmcEeprom& reference, int modelClass);

} // namespace adj
