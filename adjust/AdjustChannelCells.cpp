// The channel-row cells on the option word of this program's channel record:
// each offers a run of its bits through a list, writes the pick back into the
// same bits keeping the others, and stores the record.
#include "adjust/AdjustCells.h"
#include "adjust/AdjustFrameRow.h"
#include "adjust/AdjustRecords.h"
#include "cells/CellFrame.h"
#include "cells/ListConv.h"
#include "cells/NumberConv.h"
#include "cells/cloning/ChannelCells.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/ModelClass.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace adj {
namespace {

constexpr int32_t kRebuildAll = CellFrame::kFlagRebuildAll;
constexpr int kLmrClass = 1;

constexpr int32_t kScrambleTypeFirst = 17;
constexpr uint32_t kScrambleFixed = 1;
constexpr uint32_t kScrambleRolling = 2;

using Mark = SignallingMark;

struct OptionCell {
    const char* name;
    int32_t first; // lowest bit of the run
    int32_t width;
    const char* list;
    const char* otherList; // for models of another class than the LMR class; none: the same
    bool rebuild;          // a change redraws the sheet
    Mark mark;
};

constexpr OptionCell kOptionCells[] = {
    {"CL_Mch_AutoReset", 0, 2, "GI_Sheet_Sel_Mch_AutoReset_Lmr", "GI_Sheet_Sel_Mch_AutoReset_Pmr", false,
     Mark::None},
    {"CL_Mch_Log", 2, 4, "GI_Sheet_Sel_Mch_Log_Lmr", "GI_Sheet_Sel_Mch_Log_Pmr", false, Mark::None},
    {"CL_Mch_Log_Pmr", 2, 4, "GI_Sheet_Sel_Mch_Log_Lmr", "GI_Sheet_Sel_Mch_Log_Pmr", false, Mark::None},
    {"CL_Mch_Moni", 6, 4, "GI_Sheet_Sel_Mch_Moni", nullptr, true, Mark::WarnUnless6Or7},
    {"CL_Mch_Sel", 10, 2, "GI_Sheet_Sel_Mch_Sel", nullptr, true, Mark::ErrorUnless1},
    {"CL_Mch_Call", 12, 1, "GI_Sheet_Sel_Mch_Call", nullptr, true, Mark::ErrorUnless0},
    {"CL_Mch_PTT", 13, 1, "GI_Sheet_Sel_Mch_Ptt", nullptr, true, Mark::ErrorUnless0},
    {"CL_Mch_CH_Mute", 14, 1, "GI_Sheet_Sel_Mch_ChMute", nullptr, true, Mark::WarnIf0},
    {"CL_Mch_Scrm_On", 15, 2, "GI_Sheet_Sel_Mch_ScramOn", nullptr, false, Mark::None},
    {"CL_Mch_Scrm_Type", 17, 2, "GI_Sheet_Sel_Mch_ScramType", nullptr, false, Mark::None},
};

const OptionCell* Find(const CellFrame& f) {
    const std::string name = f.engine.Vocabulary().CellName(f.cellId);
    for (const OptionCell& c : kOptionCells)
        if (name == c.name) return &c;
    return nullptr;
}

void OptionWordCell(CellFrame& f) {
    const OptionCell* c = Find(f);
    datCh* record = FrameRecord(f);
    if (!c || !record) return;
    const uint32_t mask = ((1u << c->width) - 1u) << c->first;
    int32_t value = static_cast<int32_t>((record->optionW & mask) >> c->first);
    const char* list = c->otherList && GetModelClass() != kLmrClass ? c->otherList : c->list;
    // A marked cell's list carries the mark with each item, under its own item cell.
    const int changed = c->mark == Mark::None ? ConvSelCell(f.request, list, value, f.result)
                                              : ConvSelCell4(f.request, list, value, f.result);
    if (changed == 1) {
        record->optionW = (record->optionW & ~mask) | ((static_cast<uint32_t>(value) << c->first) & mask);
        StoreFrameRecord(f);
        if (c->rebuild) f.resultFlags |= kRebuildAll;
    }
    ApplySignallingMark(f, c->mark, value);
}

// An item of a marked cell's list: its caption, marked as the cell would be
// with the item's value (the item's index).
void MarkedListItem(CellFrame& f) {
    f.Show(f.cell.GetCaption());
    const cmcCellCapsule* opener = f.request.linkedRequest;
    if (!opener || !opener->cell) return;
    const std::string name = f.engine.Vocabulary().CellName(opener->cell->cellId);
    for (const OptionCell& c : kOptionCells)
        if (name == c.name) ApplySignallingMark(f, c.mark, f.index);
}

// The scramble code: none for the fixed scrambler, 1..16 for the rolling
// one, 1..255 for the others; a stored code above the bound shows as the bound.
void ScrambleCode(CellFrame& f) {
    datCh* record = FrameRecord(f);
    if (!record) return;
    const uint32_t type = record->optionW >> kScrambleTypeFirst & 3u;
    if (type == kScrambleFixed) {
        f.Show("----");
        return;
    }
    const int32_t maximum = type == kScrambleRolling ? 16 : 255;
    int32_t value = std::min(record->v1, maximum);
    if (ConvIntCell(f.request, value, 1, maximum, 0, 1, nullptr, true, false, f.result) == 1) {
        record->v1 = value;
        StoreFrameRecord(f);
    }
}

} // namespace

std::vector<std::string> OptionWordListKeys() {
    std::vector<std::string> keys;
    for (const OptionCell& c : kOptionCells) {
        keys.emplace_back(c.list);
        if (c.otherList) keys.emplace_back(c.otherList);
    }
    return keys;
}

void RegisterAdjustChannelCells(CellCaseList& list) {
    for (const OptionCell& c : kOptionCells)
        list.Add(c.name, OptionWordCell);
    list.Add("CL_Mch_Scrm_Code", ScrambleCode);
    list.Add("FlexMark", MarkedListItem);
}

} // namespace adj
