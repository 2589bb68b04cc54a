// The per-cell function of a cell engine: the frame that every case shares,
// the rules that run before any case, and the dispatch.
#include "cells/CellEngine.h"

#include "cells/AppManager.h"
#include "cells/CellCanvas.h"
#include "cells/CellCases.h"
#include "cells/CellFrame.h"
#include "cells/ChannelFields.h"
#include "cells/ConvSupport.h"
#include "cells/EditCommand.h"
#include "cells/WindowCommands.h"
#include "cells/cloning/CommandCells.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/ImagePacking.h"
#include "image/cmcEeprom.h"
#include "image/datCh.h"
#include "platform/Fatal.h"
#include "platform/HelpViewer.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int32_t kNone = CellFrameNumbers::kNone;

// Record kinds.

bool Is(int32_t number, int32_t value) {
    return number != kNone && number == value;
}

bool IsBasicColumn(const CellFrameNumbers& n, int32_t id) {
    const std::vector<int32_t>& basic = n.firstColumn.basic;
    return std::find(basic.begin(), basic.end(), id) != basic.end();
}

bool IsGroupColumn(const CellFrameNumbers& n, int32_t id) {
    return n.firstColumn.groupFirst != kNone && id >= n.firstColumn.groupFirst &&
           id <= n.firstColumn.groupLast;
}

RowCommand RowCommandOf(FrameCommand command) {
    switch (command) {
    case FrameCommand::Copy:
        return RowCommand::Copy;
    case FrameCommand::Paste:
        return RowCommand::Paste;
    case FrameCommand::CarryUp:
        return RowCommand::MoveUp;
    case FrameCommand::CarryDown:
        return RowCommand::MoveDown;
    case FrameCommand::Clear:
        return RowCommand::Clear;
    case FrameCommand::Delete:
        return RowCommand::Delete;
    case FrameCommand::Insert:
        return RowCommand::Insert;
    default:
        return RowCommand::None;
    }
}

// The frame's own row rule: rows the kind's table holds are decoded from the
// working image; any other row is a cleared record without an image, so that
// nothing a case does to it reaches the image.
bool KindHasRows(int32_t kind) {
    return kind >= 1 && kind < datCh::kKinds && kind != kindTwoToneCommon;
}

bool RowInTable(int32_t kind, int32_t n) {
    return KindHasRows(kind) && n >= 0 && n <= datCh::FieldMax(kind);
}

void Prepare(CellFrame& f) {
    cmcCellCapsule& r = f.request;
    f.recordKind = f.engine.Vocabulary().CategoryInfo(f.cell.category);
    f.unitIdMax = f.engine.UnitIdMax();
    f.category = f.cell.category;
    f.cellId = f.cell.cellId;
    f.index = f.cell.index;
    f.model.lmr = IsModelLmr();
    f.model.pmr = IsModelPmr();
    f.model.pmrZ = IsModelPmrZ();
    f.model.p25 = IsModelP25();
    f.model.mobile = IsModelMobile();
    f.model.ltr = IsModelLtr();
    f.model.notPmrZ = IsModelNotPmrZ();
    f.bankFree = GetBankFree(f.image);
    f.bank = r.bank;

    f.bankRange = GetCurrentBankRange();
    f.siteRange = GetCurrentSiteRange();
    f.newRow = f.index > f.bankRange.last || f.bankRange.count == 0;

    r.displayText.clear();
    r.markFlags.warning = false;
    r.markFlags.error = false;

    if (f.recordKind != 0) f.LoadRequestRow(f.recordKind, f.index);

    r.jumpCategory = f.category;
    r.jumpCell = f.cellId;
    r.jumpIndex = f.index;

    if (r.key == cmcCellCapsule::kKeyMouseChoice) r.key = cmcCellCapsule::kKeyEnter;
    f.command = f.engine.CommandOf(r.command);
}

void SwapBanks(CellFrame& f, cmcCellCapsule& r, int32_t modelClass, int32_t bank, int32_t step) {
    SwapBankRows(r, f.image, modelClass, GetTotalBankChannels(f.image), bank, step);
    SwapSiteRows(r, f.image, kindRepeaterPool, GetTotalSiteChannels(f.image), bank, step);
}

// Banks moved up or down with their channels and repeater entries, the
// selection (or the bank alone) as one block.
void MoveBanks(CellFrame& f) {
    cmcCellCapsule& r = f.request;
    const int32_t step = f.command == FrameCommand::CarryDown ? 1 : -1;
    int32_t first = r.rangeFirst;
    int32_t last = r.rangeLast;
    if (first == last) first = last = f.index;
    if (first > last) std::swap(first, last);
    if (!IsValidBank(first) || !IsValidBank(last)) return;

    const cmcCellCapsule saved = r;
    r.rangeSelected = true;
    const int32_t modelClass = GetModelClass();
    if (step < 0 && first > 0) {
        for (int32_t b = first; b <= last; ++b)
            SwapBanks(f, r, modelClass, b, -1);
    } else if (step > 0 && last < 127) {
        for (int32_t b = last; b >= first; --b)
            SwapBanks(f, r, modelClass, b, 1);
    }
    r = saved;

    if (gEvMan) {
        gEvMan->Post(evRebuildTree);
        if (step < 0 && first > 0) --first;
        if (step > 0 && last < 127) ++last;
        for (int32_t b = first; b <= last; ++b)
            gEvMan->Post(evBankNodeTextFromImage, 0, b);
    }
    f.resultFlags |= CellFrame::kFlagRebuildAll;
}

// The row edit commands, kept inside the rows the sheet shows: a bank's
// channels, a site's repeater entries, or the kind's table. A row just after
// a bank or site (the sheet's new row) takes an insert only.
void RowEdit(CellFrame& f) {
    cmcCellCapsule& r = f.request;
    const CellFrameNumbers::Categories& cat = f.engine.Numbers().categories;
    const RowCommand command = RowCommandOf(f.command);
    int32_t first = 0;
    int32_t last = -1;
    int32_t bankOrSite = f.bankRange.number;
    bool openEnded = false;
    if (Is(cat.channel, f.category) || Is(cat.channelCheck, f.category)) {
        first = f.bankRange.first;
        last = f.bankRange.first + f.bankRange.count - 1;
        openEnded = true;
    } else if (Is(cat.repeater, f.category)) {
        first = f.siteRange.first;
        last = f.siteRange.first + f.siteRange.count - 1;
        bankOrSite = f.siteRange.number;
        openEnded = true;
    } else {
        const int32_t kind = f.engine.Numbers().RowRecordKind(f.recordKind);
        first = datCh::FieldMin(kind);
        last = datCh::FieldMax(kind);
    }
    if (Is(cat.bankOp, f.category) && (command == RowCommand::MoveUp || command == RowCommand::MoveDown))
        MoveBanks(f);

    f.handled = true;
    const int32_t reach = command == RowCommand::Insert && openEnded ? last + 1 : last;
    if (f.recordKind == 0 || !f.rowLoaded || f.index < first || f.index > reach) return;
    if (r.rangeSelected) {
        r.rangeFirst = std::max(r.rangeFirst, first);
        r.rangeLast = std::min(r.rangeLast, reach);
        if (r.rangeFirst > r.rangeLast) r.rangeSelected = false;
    }
    EditCommand(command, r, f.row, first, last, bankOrSite);
    PackImage(f.image);
}

// The serial number goes to the clipboard as the information sheet shows it.
void CopySerialNumber(CellFrame& f) {
    if (!gAppManager) return;
    if (std::optional<std::string> text = f.engine.Numbers().serialNumber(gAppManager->InfoBlock().data()))
        plat::SystemClipboard().SetText(*text);
}

void ContextHelp(CellFrame& f) {
    ShowProgramHelp(f.request, gAppManager ? gAppManager->GetCellHelpContext(f.request) : 0);
    f.handled = true;
}

void Commands(CellFrame& f) {
    cmcCellCapsule& r = f.request;
    switch (f.command) {
    case FrameCommand::Copy:
    case FrameCommand::Paste:
    case FrameCommand::CarryUp:
    case FrameCommand::CarryDown:
    case FrameCommand::Clear:
    case FrameCommand::Delete:
    case FrameCommand::Insert:
        RowEdit(f);
        break;
    case FrameCommand::Help:
        ContextHelp(f);
        break;
    case FrameCommand::WinCopy:
        if (Is(f.engine.Numbers().serialNumberCell, f.cellId)) CopySerialNumber(f);
        break;
    case FrameCommand::Run:
        r.key = cmcCellCapsule::kKeyEnter;
        r.command = 0;
        f.command = FrameCommand::None;
        break;
    case FrameCommand::None:
    case FrameCommand::Other:
        break;
    }
}

// Pop-up menu items act on the row the menu was opened on.
void PopupMenuRow(CellFrame& f) {
    const cmcCellCapsule* opener = f.request.linkedRequest;
    if (!Is(f.engine.Numbers().categories.popupMenu, f.category) || !opener || !opener->cell) return;
    f.recordKind = f.engine.Vocabulary().CategoryInfo(opener->cell->category);
    f.index = opener->cell->index;
    f.LoadRequestRow(f.recordKind, f.index);
    f.newRow = f.index > f.bankRange.last || f.bankRange.count == 0;
}

// Input on a channel row starts in its first column: the receive frequency in
// an ordinary bank, the group receive id in an LTR bank.
void FirstColumnRule(CellFrame& f) {
    const CellFrameNumbers& n = f.engine.Numbers();
    const CellFrameNumbers::FirstColumnCells& c = n.firstColumn;
    if (!Is(n.categories.channel, f.category) || f.handled || f.request.key > 127) return;
    const bool ltrBank = c.groupFirst != kNone && IsBankFlagB(f.image, f.bankRange.number);
    const bool basic = IsBasicColumn(n, f.cellId);
    const bool group = IsGroupColumn(n, f.cellId);
    if (f.request.canvas && (ltrBank ? basic : group)) f.Grey();

    // A program with its own row record has no LTR group rows.
    const bool noRx = f.programRow ? !f.programRow->InUse() : f.row.rxFreq == 0;
    const bool noGroup = f.programRow || f.row.grpRxId == 0;
    const bool empty = f.newRow || (noRx && noGroup);
    if (empty) f.request.displayText.clear();

    // A column is basic or group, never both, so the two column rules cannot clash.
    const int32_t keyCell = ltrBank ? c.groupFirst : c.rxFreq;
    int32_t target = kNone;
    if (empty) {
        if (!(Is(c.attributes, f.cellId) && !f.newRow)) target = keyCell;
    } else if (basic && noRx) {
        target = c.rxFreq;
    } else if (group && noGroup) {
        target = c.groupFirst;
    }
    if (target != kNone && target != f.cellId) {
        f.JumpTo(target);
        f.handled = true;
    }
}

// An empty or new repeater entry takes input only in its frequency, text and
// area columns; the others send it to the frequency.
void RepeaterEntryRule(CellFrame& f) {
    const CellFrameNumbers& n = f.engine.Numbers();
    const CellFrameNumbers::RepeaterEntryCells& c = n.repeaterEntry;
    if (!Is(n.categories.repeater, f.category) || f.handled || c.rxFreq == kNone) return;
    f.newRow = f.index > f.siteRange.last || f.siteRange.count == 0;
    const bool entryColumn = f.cellId == c.rxFreq || Is(c.text, f.cellId) || Is(c.areaBit, f.cellId);
    const bool noEntry = f.programRow ? !f.programRow->InUse() : f.row.poolRxFreq == 0;
    if (noEntry && f.request.key <= 127) {
        f.request.displayText.clear();
        if (!entryColumn) {
            f.JumpTo(c.rxFreq);
            if (!Is(c.attributes, f.cellId)) f.handled = true;
        }
    }
    if (!f.handled && f.newRow) {
        f.request.displayText.clear();
        if (!entryColumn) {
            if (f.request.key <= 127) f.JumpTo(c.rxFreq);
            f.handled = true;
        }
    }
}

void Dispatch(CellFrame& f) {
    const int32_t selector = f.handled ? 0 : f.cellId;
    const CellCaseTable& cases = f.engine.Cases();
    if (cases.IsEmptyId(selector)) return;
    if (CellCaseTable::Case fn = cases.Find(selector)) {
        fn(f);
        return;
    }
    f.Show(conv::Format("%d *Yet*", selector));
}

void Finish(CellFrame& f, int32_t notify) {
    cmcCellCapsule& r = f.request;
    if (f.recordKind != 0) f.resultFlags |= CellFrame::kFlagRecord;
    if (notify && r.notifyClosure) r.notifyClosure(r, f.resultFlags);
    if (f.IsUserInput() && gAppManager) {
        InstalledWindow().ScheduleWarningCheck();
        gAppManager->UpdateModified();
    }
}

} // namespace

CellFrame::CellFrame(const CellEngine& engine, cmcCellCapsule& request, cmcEeprom& image)
    : engine(engine), request(request), cell(*request.cell), image(image), row(&image), zuroAdr(&image) {
    if (engine.Numbers().programRow) programRow = engine.Numbers().programRow();
}

CellFrame::CellFrame(cmcCellCapsule& request, cmcEeprom& image)
    : CellFrame(InstalledCellEngine(), request, image) {}

void CellFrame::LoadRow(int32_t kind, int32_t n) {
    Load(kind, n, RowInTable(kind, n));
}

void CellFrame::LoadRequestRow(int32_t kind, int32_t n) {
    LoadRow(engine.Numbers().RowRecordKind(kind), n);
    if (programRow) LoadProgramRow(kind, n);
}

void CellFrame::LoadProgramRow(int32_t kind, int32_t n) {
    programRowLoaded = programRow->Load(image, kind, n);
    // The PMR-Z signalling switches are the program record's own.
    ChannelRowFields* fields = programRowLoaded ? programRow->ChannelFields() : nullptr;
    if (fields && kind == kindChannelPmrZ)
        SetSignalling(fields->Get(ChField::MskSignal) != 0, fields->Get(ChField::NoRepeater) != 0);
    else
        sigOn = sigOff = noRepeater = false;
}

void CellFrame::SetSignalling(bool on, bool noRepeaterBit) {
    sigOn = on;
    sigOff = !on;
    noRepeater = noRepeaterBit && (model.pmr || model.pmrZ);
}

void CellFrame::LoadTableRow(int32_t kind, int32_t n) {
    Load(kind, n, KindHasRows(kind) && n >= 0 && n <= datCh::TableMax(kind));
}

void CellFrame::Load(int32_t kind, int32_t n, bool inTable) {
    rowLoaded = inTable;
    row.SetImage(rowLoaded ? &image : nullptr);
    row.Load(kind, n);
    sigOn = sigOff = noRepeater = false;
    if (rowLoaded && kind == kindChannelPmrZ) SetSignalling(row.chX3b3, row.chX3b2);
}

void CellFrame::StoreRow() {
    if (rowLoaded) row.StoreAndReload();
}

void CellFrame::Grey() {
    if (request.canvas) request.canvas->SetFontColor(kGrey);
}

void CellFrame::SetMenuState(uint8_t bits, bool on) {
    if (on)
        cell.flags2 = static_cast<uint8_t>(cell.flags2 | bits);
    else
        cell.flags2 = static_cast<uint8_t>(cell.flags2 & ~bits);
}

bool CellFrame::MenuState(uint8_t bits) const {
    return (cell.flags2 & bits) == bits;
}

bool CellFrame::AddRowForInput(bool pool) {
    const int32_t key = request.key;
    const bool input = key == conv::kKeySpace || key == conv::kKeyBackspace || key == '.' ||
                       conv::IsDigitKey(key) || key == cmcCellCapsule::kKeyEnter;
    if (!input) return false;
    if (!InsertRowWithRoom(image, pool, pool ? siteRange.number : bankRange.number, index)) return false;
    LoadRow(pool ? kindRepeaterPool : engine.Numbers().RowRecordKind(recordKind), index);
    // The program's own record numbers its kinds itself: the row's own kind.
    if (programRow) LoadProgramRow(recordKind, index);
    newRow = false;
    return true;
}

bool CellFrame::ChannelRowTakesInput() {
    if (!newRow) return true;
    if (!AddRowForInput(false)) {
        Show(std::string());
        return false;
    }
    resultFlags |= kFlagRowCounts;
    return true;
}

void CellFrame::JumpTo(int32_t targetCell) {
    if (targetCell == cellId) return;
    request.jumpRequest = 1;
    request.jumpCell = targetCell;
    request.jumpKey = request.key;
}

int32_t CellEngine::Execute(cmcCellCapsule& request, int32_t notify) const {
    request.displayText.clear();
    if (!request.cell) return 0;
    CellFrame f(*this, request, CurrentImage());
    Prepare(f);
    Commands(f);
    PopupMenuRow(f);
    FirstColumnRule(f);
    RepeaterEntryRule(f);
    Dispatch(f);
    Finish(f, notify);
    return f.result;
}
