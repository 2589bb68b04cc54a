#include "adjust/AdjustCells.h"
#include "adjust/AdjustVocabulary.h"
#include "cells/CellVocabulary.h"

#include <optional>

namespace adj {
namespace {

// Every file of the adjustment program's own cases.
constexpr void (*kRegistrars[])(CellCaseList&) = {RegisterAdjustItemCells, RegisterAdjustMonitorCells};

// The cloning program's files of cases that find their rows by cell name:
// their cases serve any program that has the cells.
constexpr void (*kSharedRegistrars[])(CellCaseList&) = {
    RegisterSettingsCells, RegisterMskCells,          RegisterKeyDisplayCells, RegisterDigitalCells,
    RegisterMakerCells,    RegisterToneSequenceCells, RegisterDtmfToneCells,   RegisterScanCells,
};

// A run of ids is shared only when this program holds the same cells in the
// same order: its case may tell them apart by their distance from the first.
bool SameRun(const CellVocabulary& ours, const CellCaseList::Entry& e) {
    const CellVocabulary& theirs = CloningCellVocabulary();
    const std::optional<int32_t> first = ours.FindCell(e.first);
    const std::optional<int32_t> last = ours.FindCell(e.last);
    const std::optional<int32_t> theirFirst = theirs.FindCell(e.first);
    const std::optional<int32_t> theirLast = theirs.FindCell(e.last);
    if (!first || !last || !theirFirst || !theirLast || *last - *first != *theirLast - *theirFirst)
        return false;
    for (int32_t k = 0; k <= *last - *first; ++k)
        if (ours.CellName(*first + k) != theirs.CellName(*theirFirst + k)) return false;
    return true;
}

CellCaseList BuildList() {
    CellCaseList list;
    for (auto registrar : kRegistrars)
        registrar(list);
    CellCaseList shared;
    for (auto registrar : kSharedRegistrars)
        registrar(shared);
    const CellVocabulary& ours = AdjustCellVocabulary();
    for (const CellCaseList::Entry& e : shared.Entries())
        if (SameRun(ours, e)) list.Add(e.first, e.last, e.fn);
    return list;
}

} // namespace

const CellCaseList& AdjustCellCases() {
    static const CellCaseList list = BuildList();
    return list;
}

} // namespace adj
