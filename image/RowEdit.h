#pragma once
#include <cstdint>

class cmcEeprom;
class datCh;
struct cmcEvent;

// Removing, inserting, moving and clearing rows of the row tables (channels,
// kinds 1..5, 512 rows; the repeater pool, kind 24, 2560 rows) so that the
// rest of the image stays consistent: later rows move one place, every
// scan-list channel number that the move touches is corrected, reference
// channels A, B and C follow their channel, and the bank bits stay with the
// position. The emptied row is rewritten from the reference image.
//
// A count beyond the kind's table is taken as the table, and a row outside
// 0..count-1 changes nothing, so nothing is read or written outside a table.

// Bits the row operations OR into the caller's change word.
constexpr int32_t kChangeRowRewritten = 0x08;
constexpr int32_t kChangeRowsShifted = 0x20;

// Set while the delete command sends its channel delete events: the sheets
// neither extend nor keep a range selection meanwhile.
extern bool rowDeleteInProgress;

class ScopedRowDelete {
public:
    ScopedRowDelete() { rowDeleteInProgress = true; }
    ~ScopedRowDelete() { rowDeleteInProgress = false; }
    ScopedRowDelete(const ScopedRowDelete&) = delete;
    ScopedRowDelete& operator=(const ScopedRowDelete&) = delete;
};

// site1 is the site number plus one whose marked entry may move, or 0.
void ImageRemoveRow(cmcEeprom& image, cmcEeprom& reference, int32_t count, int32_t kind, int32_t row,
                    int32_t& change);
void ImageRemoveRowEx(cmcEeprom& image, cmcEeprom& reference, int32_t count, int32_t kind, int32_t row,
                      int32_t site1, int32_t& change);
void ImageInsertRow(cmcEeprom& image, cmcEeprom& reference, int32_t count, int32_t kind, int32_t row,
                    int32_t& change);
void ImageInsertRowEx(cmcEeprom& image, cmcEeprom& reference, int32_t count, int32_t kind, int32_t row,
                      int32_t site1, int32_t& change);

// Rewrites one row from another image; the row keeps its reference flags.
void CopyChannelKeepFlags(cmcEeprom& image, cmcEeprom& source, int32_t kind, int32_t row, int32_t& change);

// The channel numbers of the 17 scan lists (transmit, priority 1 and 2
// channels) after a channel row was removed from or inserted at `row` of a
// table of `count` rows, or after rows first..last moved by step (+1 / -1).
// A number that names the removed row becomes 0 and its mode stops naming a
// channel. Numbers outside the table name no row and are left alone.
void FixScanRefsAfterRemove(cmcEeprom& image, int32_t row, int32_t count);
void FixScanRefsAfterInsert(cmcEeprom& image, int32_t row, int32_t count);
void FixScanRefsAfterMove(cmcEeprom& image, int32_t first, int32_t last, int32_t step);

// Moves rows first..last by step (+1 down, -1 up) within lowest..highest,
// exchanging them with the row they move onto; the moved rows carry their
// references along. False (nothing moved) when the block does not lie inside
// lowest..highest or is already at its edge.
bool MoveRowBlock(cmcEeprom& image, int32_t kind, int32_t first, int32_t last, int32_t step, int32_t lowest,
                  int32_t highest);

// Rows first..last become their reference-image rows, keeping their
// reference flags; each row is then posted as changed (event 16).
void ClearRows(cmcEeprom& image, cmcEeprom& reference, int32_t kind, int32_t first, int32_t last);

// True when no row first..last of the record's kind and image is programmed;
// rows outside the kind's table do not count.
bool RowsEmpty(const datCh& record, int32_t first, int32_t last);

// The main window's reactions to the row events: 26 inserts an empty channel
// row at p2 for bank p1 (kind: the model class 1..5), 27 removes channel row
// p2 of bank p1, 28 and 29 do the same for pool entry p2 of site p1; the
// bank's or site's count follows, and the sheets hear 33 (row added) and 31,
// or 34 (last row gone), 31 and 18 (p2), before this returns. An event that
// does not fit the image (bank or site unknown, row outside it, table full,
// count at its limit) changes nothing. Returns the change word (0: nothing
// done, also for any other event).
int32_t HandleRowEvent(const cmcEvent& ev, cmcEeprom& image, cmcEeprom& reference, int modelClass);

// One row table as the row events find it: its rows, its units (banks or
// sites) with their counts and first rows, and the program's primitives that
// open or close a row in it (as ImageInsertRowEx and ImageRemoveRowEx:
// count, kind, row, and site1 for a site's table, else 0).
struct RowEventTable {
    using Move = void (*)(cmcEeprom& image, cmcEeprom& reference, int32_t count, int32_t kind, int32_t row,
                          int32_t site1, int32_t& change);
    int32_t rows;
    int32_t units;
    int32_t maxCount; // what a unit's count may reach
    int32_t (*countOf)(const cmcEeprom&, int32_t);
    int32_t (*setCount)(cmcEeprom&, int32_t, int32_t);
    int32_t (*firstOf)(const cmcEeprom&, int32_t);
    int32_t (*total)(const cmcEeprom&);
    Move insert;
    Move remove;
};

// The row events on a program's own tables: 26 and 27 on the channel table
// with channelKind (none below 0), 28 and 29 on the pool table with poolKind;
// otherwise as HandleRowEvent.
int32_t HandleRowEventOn(const cmcEvent& ev, cmcEeprom& image, cmcEeprom& reference,
                         const RowEventTable& channels, int32_t channelKind, const RowEventTable& pool,
                         int32_t poolKind);
