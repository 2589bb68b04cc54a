#pragma once
#include "cells/CellEngine.h"
#include "cells/RowRange.h"
#include "cells/cmcCellCapsule.h"
#include "foundation/ColorName.h"
#include "image/datCh.h"
#include "image/datZuroAdr.h"

#include <cstdint>
#include <memory>
#include <string>

class cmcCellObj;
class cmcEeprom;

// What the per-cell function has worked out about a request before it runs
// the cell's case: the engine it runs in, the cell's address, the decoded row
// it belongs to, the model, the open bank and site, and the values the case
// hands back. One frame lives for one call of CellEngine::Execute; a case only
// reads and changes the frame it is given, so the function can be entered
// again from within a case (boxes, dialogs, event sends).
//
// How a data case is shaped:
//   1. take the field's value (from `row` or from the image, see CellFields.h)
//      into `value` (or a local of the converter's type);
//   2. run its converter with `request`, the value and `result` as the
//      converter's result code;
//   3. when the converter answers 1 (changed), write the value back keeping
//      every other bit, and for a row field call StoreRow(); add result flags
//      where the case says so;
//   4. in any mode, grey the cell (Grey), set its alignment or its marks.
// A command case acts only when IsEnter() holds, and refreshes its menu state
// (SetMenuState) in every mode.
struct CellFrame {
    // Result flags handed to the host's change notification.
    static constexpr int32_t kFlagRepaint = 1;     // every call starts with it
    static constexpr int32_t kFlagRowCounts = 4;   // rows were added or removed
    static constexpr int32_t kFlagRecord = 8;      // the cell belongs to a row record (set by the frame)
    static constexpr int32_t kFlagRebuildAll = 32; // every view must be rebuilt

    // Menu state bits of the cell object's flags2 byte.
    static constexpr uint8_t kMenuChecked = 4;
    static constexpr uint8_t kMenuHidden = 8;
    static constexpr uint8_t kMenuDisabled = 16;
    static constexpr uint8_t kMenuCaptionChanged = 32;

    static constexpr ColorValue kGrey = 0xC0C0C0;

    struct ModelFlags {
        bool lmr = false;
        bool pmr = false;
        bool pmrZ = false;
        bool p25 = false;
        bool mobile = false;
        bool ltr = false;
        bool notPmrZ = false;
    };

    CellFrame(const CellEngine& engine, cmcCellCapsule& request, cmcEeprom& image);
    // In the installed engine.
    CellFrame(cmcCellCapsule& request, cmcEeprom& image);
    CellFrame(const CellFrame&) = delete;
    CellFrame& operator=(const CellFrame&) = delete;

    // The program's engine: cases that evaluate other cells do it through it.
    const CellEngine& engine;
    cmcCellCapsule& request;
    // The cell being evaluated (never null inside a case).
    cmcCellObj& cell;
    // The working image.
    cmcEeprom& image;

    int32_t category = 0;
    int32_t cellId = 0;
    // What the request's command code means in the engine's numbers.
    FrameCommand command = FrameCommand::None;
    // The record or item index; for pop-up menu cells the index of the row the
    // menu was opened on.
    int32_t index = 0;
    // The kind of row record the category works on (0 none); for pop-up menu
    // cells the kind of the row the menu was opened on.
    int32_t recordKind = 0;

    // The row (recordKind, index), decoded when the index lies within the
    // kind's rows (rowLoaded). Any other row is a cleared record bound to no
    // image: whatever a case does to it is never stored.
    datCh row;
    bool rowLoaded = false;
    // The request's row in the program's own record, when the engine has one
    // (CellFrameNumbers::programRow): loaded with the request's row, for the
    // frame's rules and the program's cases; null otherwise.
    std::unique_ptr<ProgramRow> programRow;
    bool programRowLoaded = false;
    // The digital address record over the working image.
    datZuroAdr zuroAdr;

    int32_t unitIdMax = 0;
    ModelFlags model;
    int32_t bankFree = 0;
    // The request's context bank (the warning queries set it).
    int32_t bank = 0;
    // The bank and the repeater site of the open sheet.
    RowRange bankRange;
    RowRange siteRange;
    // The index lies after the last row of the open bank (of the open site for
    // repeater entries), or the bank holds no row.
    bool newRow = false;
    // PMR-Z rows (record kind 5) only; false for all others.
    bool sigOn = false;
    bool sigOff = false;
    bool noRepeater = false;

    // A work value for converters that take an int.
    int32_t value = 0;
    // The converter's result code; Execute returns it.
    int32_t result = 0;
    int32_t resultFlags = kFlagRepaint;
    // Set before the dispatch: no case runs.
    bool handled = false;

    // Enter, a mouse choice, or the run command.
    bool IsEnter() const { return request.key == cmcCellCapsule::kKeyEnter; }
    int32_t Key() const { return request.key; }
    // A key, a value or a command: anything but a drawing request.
    bool IsUserInput() const { return request.key != 0 || request.mode != 0 || request.command != 0; }
    int32_t Mode() const { return request.mode; }

    // (Re)loads the row record for another kind or index, with the same rule
    // as the frame's own load.
    void LoadRow(int32_t kind, int32_t n);
    // The frame's own load of the request's row: the row record and the
    // program's own record, both for the same kind and row.
    void LoadRequestRow(int32_t kind, int32_t n);
    // As LoadRow, for any row the kind's tables hold (datCh::TableMax), also
    // one beyond the rows of the frame's own load and of the row commands.
    void LoadTableRow(int32_t kind, int32_t n);
    // Writes a changed row back and reads it again; nothing for a row outside
    // its kind's rows.
    void StoreRow();

    void Show(std::string text) { request.displayText = std::move(text); }
    // Paints the cell's text grey when it is being painted; the value stays.
    void Grey();
    void SetWarning(bool on = true) { request.markFlags.warning = request.markFlags.warning || on; }
    void SetError(bool on = true) { request.markFlags.error = request.markFlags.error || on; }
    // Sets or clears menu state bits of the cell object.
    void SetMenuState(uint8_t bits, bool on);
    bool MenuState(uint8_t bits) const;

    // Input on the empty row below the open bank's last channel (with pool,
    // the open site's last repeater entry) first makes that row part of the
    // bank or site. True when the key starts an input and the row was added
    // and loaded; otherwise nothing changed (a refusal has shown its box).
    bool AddRowForInput(bool pool);
    // A channel cell's input on the bank's empty row: that row is added first
    // and the bank counts redrawn. False when the row is not the bank's (not an
    // input key, or refused): the cell then shows nothing and takes no value,
    // for the row is the next bank's first channel.
    bool ChannelRowTakesInput();

    // Asks the host to make another cell of the same category and index
    // current and to replay the key there. A target equal to the evaluated
    // cell is never asked for (the host would replay the key on the same
    // cell for ever).
    void JumpTo(int32_t targetCell);

private:
    void Load(int32_t kind, int32_t n, bool inTable);
    void LoadProgramRow(int32_t kind, int32_t n);
    void SetSignalling(bool on, bool noRepeaterBit);
};
