#pragma once
#include "cells/CellVocabulary.h"

#include <cstdint>
#include <string>

class cmcCellCapsule;
class cmcCellObj;

// The cell evaluator. It holds no data of its own; the name lookups are
// answered from the current cell vocabulary.
class indActiveCell {
public:
    static int32_t CategoryIndex(const std::string& name) {
        return CurrentCellVocabulary().CategoryIndex(name);
    }
    static int32_t CellIndex(const std::string& name) { return CurrentCellVocabulary().CellIndex(name); }
    static std::string CellName(int32_t id) { return CurrentCellVocabulary().CellName(id); }
    static int32_t CategoryInfo(int32_t category) { return CurrentCellVocabulary().CategoryInfo(category); }

    // Shows, edits or runs the request's cell on the working image (the
    // current image): the frame (CellFrame.h) is prepared, the cell id's case
    // runs (CellCases.h), and with notify the request's notify closure is
    // called with the result flags. Returns the converter's result code
    // (0 nothing more, 1 a pop-up was opened, 2 open the in-place editor).
    //
    // A jump (jumpRequest) never names the evaluated cell itself. The host that
    // replays jumpKey must still end the replay when it cannot make the named
    // cell current (no selectable cell of that address in the sheet):
    // replaying on the cell that asked would ask again for ever.
    static int32_t Execute(cmcCellCapsule& request, int32_t notify);

    // Runs the cell with a key in a fresh request, without notification; 0
    // for no cell. Menus and commands press cells with it.
    static int32_t ExecuteCell(cmcCellObj* cell, int32_t key);

    // The warning and the error mark of cell (category, cellId, index), as
    // Execute leaves them with the request's bank set to the bank that holds
    // channel number index + 1.
    struct Marks {
        bool warning = false;
        bool error = false;
    };
    static Marks QueryMarks(int32_t category, int32_t cellId, int32_t index);
    static bool HasWarnE(int32_t category, int32_t cellId, int32_t index) {
        return QueryMarks(category, cellId, index).error;
    }
    static bool HasWarnW(int32_t category, int32_t cellId, int32_t index) {
        return QueryMarks(category, cellId, index).warning;
    }
};
