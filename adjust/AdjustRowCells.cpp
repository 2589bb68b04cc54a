// The enabled state of the row pop-up menu's items in this program's sheets:
// the commands themselves are the frame's (the items' ids are its command
// codes); here each item only learns whether the row it was opened on takes it.
#include "adjust/AdjustCells.h"
#include "adjust/AdjustRecords.h"
#include "adjust/AdjustVocabulary.h"
#include "cells/CellFrame.h"
#include "image/datClipCh.h"

#include <string>

namespace adj {
namespace {

enum class Item : uint8_t { Copy, Paste, CarryUp, CarryDown, Clear, Delete };

struct ItemCell {
    const char* name;
    Item item;
};

constexpr ItemCell kItems[] = {
    {"CL_PMenu_Copy", Item::Copy},       {"CL_PMenu_Paste", Item::Paste},
    {"CL_PMenu_CarryUp", Item::CarryUp}, {"CL_PMenu_CarryDown", Item::CarryDown},
    {"CL_PMenu_Clear", Item::Clear},     {"CL_PMenu_Delete", Item::Delete},
};

// Rows of a kind that take no row command: the row after the last of a bank
// (the channel kinds but LTR's) or of a site, or one fixed row.
enum class Closed : uint8_t { BeyondBank, BeyondSite, Row0, Row23 };

struct KindRule {
    int32_t kind;
    Closed closed;
    bool wholeRowItemsOnly; // only copy, clear and delete are refused there
};

constexpr KindRule kKindRules[] = {
    {1, Closed::BeyondBank, false},        {3, Closed::BeyondBank, false},
    {4, Closed::BeyondBank, false},        {5, Closed::BeyondBank, false},
    {6, Closed::BeyondBank, false},        {7, Closed::BeyondBank, false},
    {kindFiveToneRx, Closed::Row0, false}, {kindTwoTone, Closed::Row0, false},
    {kindMskStatus, Closed::Row23, true},  {kindRepeaterPool, Closed::BeyondSite, false},
};

bool IsWholeRowItem(Item item) {
    return item == Item::Copy || item == Item::Clear || item == Item::Delete;
}

bool BeyondSite(const CellFrame& f) {
    return f.index >= GetCurrentSiteRange(f.image).count;
}

bool RowClosed(const CellFrame& f, Item item) {
    for (const KindRule& rule : kKindRules) {
        if (rule.kind != f.recordKind || (rule.wholeRowItemsOnly && !IsWholeRowItem(item))) continue;
        switch (rule.closed) {
        case Closed::BeyondBank:
            return f.newRow;
        case Closed::BeyondSite:
            return BeyondSite(f);
        case Closed::Row0:
            return f.index == 0;
        case Closed::Row23:
            return f.index == 23;
        }
    }
    return false;
}

// The rows a move keeps to: the open bank's channels, or the kind's table.
struct Limits {
    int32_t lowest;
    int32_t highest;
};

Limits MoveLimits(const CellFrame& f) {
    if (IsChannelKind(f.recordKind)) return {f.bankRange.first, f.bankRange.last};
    if (f.recordKind == kindRepeaterPool) return {0, GetCurrentSiteRange(f.image).count - 1};
    return {datCh::FieldMin(f.recordKind), datCh::FieldMax(f.recordKind)};
}

bool CannotMove(const CellFrame& f, Item item) {
    const Limits l = MoveLimits(f);
    if (f.index < l.lowest || f.index > l.highest) return true;
    return item == Item::CarryUp ? f.index == l.lowest : f.index == l.highest;
}

void PopupItemState(CellFrame& f) {
    const std::string name = f.engine.Vocabulary().CellName(f.cellId);
    for (const ItemCell& c : kItems) {
        if (name != c.name) continue;
        bool off = RowClosed(f, c.item);
        if (c.item == Item::Paste) off = off || !ProgramClipboard().CanPaste(f.recordKind);
        if (c.item == Item::CarryUp || c.item == Item::CarryDown) off = off || CannotMove(f, c.item);
        if (off) f.SetMenuState(CellFrame::kMenuDisabled, true);
        return;
    }
}

} // namespace

void RegisterAdjustRowCells(CellCaseList& list) {
    for (const ItemCell& c : kItems)
        list.Add(c.name, PopupItemState);
}

} // namespace adj
