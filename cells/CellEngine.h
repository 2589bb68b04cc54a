#pragma once
#include "cells/CellCases.h"
#include "cells/CellVocabulary.h"
#include "cells/ProgramRow.h"
#include "cells/cloning/CommandCells.h"
#include "image/DynamicCapacity.h"
#include "image/RowEdit.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class cmcCellCapsule;
class cmcCellObj;
class cmcGTex;

// What the frame of the per-cell function does by itself, in one program's
// own numbers. kNone: the program has no such thing, and the rule that would
// use it is skipped.
struct CellFrameNumbers {
    static constexpr int32_t kNone = -1;

    // The request's command codes, by what the frame makes of them.
    struct CommandCodes {
        int32_t run = kNone; // as if Enter were pressed
        // The row commands.
        int32_t copy = kNone;
        int32_t paste = kNone;
        int32_t carryUp = kNone;
        int32_t carryDown = kNone;
        int32_t clear = kNone;
        int32_t deleteRows = kNone;
        int32_t insertRows = kNone;
        int32_t help = kNone;    // context help
        int32_t winCopy = kNone; // copy to the clipboard
    };

    // The categories the frame treats itself.
    struct Categories {
        int32_t popupMenu = kNone;    // items act on the row the menu was opened on
        int32_t channel = kNone;      // the first-column rule; row commands keep to the open bank
        int32_t channelCheck = kNone; // row commands keep to the open bank
        int32_t bankOp = kNone;       // carrying rows up and down moves whole banks
        int32_t repeater = kNone;     // the repeater-entry rule; row commands keep to the open site
    };

    // The record kind whose rows the delete and insert commands take as a
    // site's repeater-pool entries; kNone: they delete and insert channel
    // rows only.
    int32_t poolRowKind = kNone;

    // How many strips of dots the program draws and edits a mobile model's
    // glyph with; the glyph bytes hold up to six.
    int32_t mobileGlyphStrips = 5;

    // Input on a channel row starts in its first column: the receive
    // frequency, or in an LTR bank the group receive id. The basic columns
    // are the ones an LTR bank does not use, the group columns (groupFirst
    // to groupLast, groupFirst being the group receive id) the ones only an
    // LTR bank uses. Without group columns there are no LTR banks to the rule.
    struct FirstColumnCells {
        int32_t attributes = kNone;
        int32_t rxFreq = kNone;
        std::vector<int32_t> basic;
        int32_t groupFirst = kNone;
        int32_t groupLast = kNone;
    };

    // An empty or new repeater entry takes input in its frequency, text and
    // area columns only; the attribute column's case still runs.
    struct RepeaterEntryCells {
        int32_t rxFreq = kNone;
        int32_t text = kNone;
        int32_t areaBit = kNone;
        int32_t attributes = kNone;
    };

    CommandCodes commands;
    // Besides id 0 and the vocabulary's "no cell" id (its NoCell()), which
    // always are: the ids that show nothing.
    std::vector<CellIdRange> emptyIds;
    Categories categories;
    FirstColumnCells firstColumn;
    RepeaterEntryCells repeaterEntry;
    // The one cell the copy-to-clipboard command copies from: the radio's serial number.
    int32_t serialNumberCell = kNone;
    // The serial number of the radio's information block as the program
    // shows and copies it; none when the block holds none.
    std::optional<std::string> (*serialNumber)(const uint8_t* info) = FormatSerialNumber;
    // Whether more rows fit the radio's dynamic area, by what the program's packing spends.
    FitsTest fitsDynamicArea = static_cast<FitsTest>(FitsDynamicArea);
    // The program's own row record, when its row tables are not datCh's;
    // null: datCh alone.
    ProgramRowMaker programRow = nullptr;
    // Where the program numbers its record kinds apart from datCh: the datCh
    // kind of each of its kinds (by the program's kind; 0 none), so that the
    // cases shared by name read the rows of the same tables. Empty: the same.
    std::vector<int32_t> rowRecordKinds;
    int32_t RowRecordKind(int32_t kind) const {
        if (rowRecordKinds.empty() || kind < 0 || kind >= static_cast<int32_t>(rowRecordKinds.size()))
            return kind;
        return rowRecordKinds[static_cast<size_t>(kind)];
    }
    // Carries out the row events (26 to 29) that the insert and delete
    // commands send, on the working image with the reference image as the
    // template of a new row; null: the program's tables take no row events.
    int32_t (*rowEvents)(const cmcEvent& ev, cmcEeprom& image, cmcEeprom& reference,
                         int modelClass) = HandleRowEvent;
};

// What the frame makes of a request's command code.
enum class FrameCommand : uint8_t {
    None,
    Run,
    Copy,
    Paste,
    CarryUp,
    CarryDown,
    Clear,
    Delete,
    Insert,
    Help,
    WinCopy,
    Other, // handed to the case unchanged
};

// One program's per-cell function: its vocabulary, its case table and the
// numbers its frame works with. Every cell of the program is shown, edited
// and run through Execute. The sheets, menus, tree and pop-ups take the engine
// they work for by reference; indActiveCell's statics answer from the
// installed one.
class CellEngine {
public:
    // fillCases fills the program's table at its first use (a clash there is
    // fatal then). The vocabulary must outlive the engine.
    CellEngine(const CellVocabulary& vocabulary, CellFrameNumbers numbers,
               std::function<void(CellCaseTable&)> fillCases);
    CellEngine(const CellEngine&) = delete;
    CellEngine& operator=(const CellEngine&) = delete;

    const CellVocabulary& Vocabulary() const { return vocabulary_; }
    const CellFrameNumbers& Numbers() const { return numbers_; }
    // The case table, filled at the first call.
    const CellCaseTable& Cases() const;
    CellCaseTable& Cases();

    FrameCommand CommandOf(int32_t code) const;

    // Shows, edits or runs the request's cell on the working image (the
    // current image): the frame (CellFrame.h) is prepared, the cell id's case
    // runs, and with notify the request's notify closure is called with the
    // result flags. Returns the converter's result code (0 nothing more, 1 a
    // pop-up was opened, 2 open the in-place editor).
    //
    // A jump (jumpRequest) never names the evaluated cell itself. The host that
    // replays jumpKey must still end the replay when it cannot make the named
    // cell current (no selectable cell of that address in the sheet):
    // replaying on the cell that asked would ask again for ever.
    int32_t Execute(cmcCellCapsule& request, int32_t notify) const;

    // Runs the cell with a key in a fresh request, without notification; 0
    // for no cell. Menus and commands press cells with it.
    int32_t ExecuteCell(cmcCellObj* cell, int32_t key) const;

    // The warning and the error mark of cell (category, cellId, index), as
    // Execute leaves them with the request's bank set to the bank that holds
    // channel number index + 1.
    struct Marks {
        bool warning = false;
        bool error = false;
    };
    Marks QueryMarks(int32_t category, int32_t cellId, int32_t index) const;

    // The overlay's unit-id maximum ("GI_AppUnitIdMax"), read once for each
    // binding of the program's text table rather than on every call.
    int32_t UnitIdMax() const;

private:
    const CellVocabulary& vocabulary_;
    CellFrameNumbers numbers_;
    std::function<void(CellCaseTable&)> fillCases_;
    mutable std::optional<CellCaseTable> cases_;

    struct OverlayValues {
        const cmcGTex* table = nullptr;
        uint64_t binding = 0;
        int32_t unitIdMax = 0;
    };
    mutable OverlayValues overlay_;
};

// The cloning program's engine.
CellEngine& CloningCellEngine();

// The engine that indActiveCell's statics and the cell definitions answer
// from: the cloning program's unless a program or a test installs another.
CellEngine& InstalledCellEngine();

// Installs an engine for its lifetime (programs for their run, tests for a
// case), then puts the one before back.
class ScopedCellEngine {
public:
    explicit ScopedCellEngine(CellEngine& engine);
    ~ScopedCellEngine();
    ScopedCellEngine(const ScopedCellEngine&) = delete;
    ScopedCellEngine& operator=(const ScopedCellEngine&) = delete;

private:
    CellEngine* old_;
};
