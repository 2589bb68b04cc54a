#pragma once
#include <array>
#include <cstdint>

class cmcCellCapsule;
class cmcEeprom;
class datCh;

// The row commands of the channel and repeater sheets. The frame of the
// per-cell function gets them from the request's command code through its
// program's numbers (CellEngine.h).
enum class RowCommand : uint8_t { None, Copy, Paste, MoveUp, MoveDown, Clear, Delete, Insert };

// Runs the row command on the rows of the record's kind and image, then
// reloads the record and returns it. The record's index is the current row;
// the request's selection (`rangeSelected`, `rangeFirst`..`rangeLast`) or else
// the current row are the rows it works on.
// firstRow..lastRow are the rows the sheet shows (a bank's channels, a site's
// pool entries), which copy, paste, move, clear and delete keep to;
// bankOrSite is the bank (channel rows) or the site (pool entries) they belong
// to. Answers go back through `rangeRequest`, `rangeFirst`, `rangeLast`,
// `jumpRequest` and `jumpIndex`; the status line hears of it through event 4.
// Copy and paste use the program's clipboard (ProgramClipboard), clear the
// application manager's reference image; insert and delete are carried out
// by whoever handles events 26 to 29 (HandleRowEvent in the main window).
datCh& EditCommand(RowCommand command, cmcCellCapsule& request, datCh& record, int32_t firstRow,
                   int32_t lastRow, int32_t bankOrSite);

// Inserts one empty row at `row` of bank (site, with pool) `unit` through the
// main window's row event (26, or 28 for pool entries) and repacks the image,
// when the bank's or site's table, the site's 20 entries and the radio's
// dynamic area have room for it. When they have not, or the repacked image
// would not fit after all, the overflow box is shown and nothing stays
// inserted. False when no row was inserted (also when nobody took the event).
bool InsertRowWithRoom(cmcEeprom& image, bool pool, int32_t unit, int32_t row);

// Exchanges the rows of bank (site) n with those of bank (site) n + step
// (step +1 or -1) together with their counts; the moved rows carry their
// references along, and a site keeps its marked-entry position. Rows may
// move within 0..lastRow.
void SwapBankRows(cmcCellCapsule& request, cmcEeprom& image, int32_t kind, int32_t lastRow, int32_t bank,
                  int32_t step);
void SwapSiteRows(cmcCellCapsule& request, cmcEeprom& image, int32_t kind, int32_t lastRow, int32_t site,
                  int32_t step);

// Every overlay key the row commands read.
// (The boxes' caption is the program profile's.)
constexpr std::array<const char*, 10> kRowEditKeys = {
    "GI_AppMess_S_Copy",         "GI_AppMess_S_Paste",     "GI_AppMess_S_Clear",
    "GI_AppMess_S_Delete",       "GI_AppMess_S_Insert",    "GI_AppMess_Conv_Overwrite",
    "GI_AppMess_Conv_Clear",     "GI_AppMess_Conv_Delete", "GI_AppMess_ChErr_DelPrio",
    "GI_AppMess_ChErr_Overflow",
};
