#include "cells/EditCommand.h"

#include "cells/AppManager.h"
#include "cells/CellEngine.h"
#include "cells/TextConv.h"
#include "cells/cmcCellCapsule.h"
#include "foundation/ColorName.h"
#include "foundation/Globals.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/DynamicCapacity.h"
#include "image/ImagePacking.h"
#include "image/RecordLayout.h"
#include "image/RowEdit.h"
#include "image/cmcEeprom.h"
#include "image/datCh.h"
#include "image/datClipCh.h"
#include "platform/Fatal.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <string>

namespace {

constexpr int32_t kMaxSiteEntries = 20;

// Whether the program deletes and inserts rows of this kind as pool entries.
bool IsPoolKind(int32_t kind) {
    const int32_t pool = InstalledCellEngine().Numbers().poolRowKind;
    return pool != CellFrameNumbers::kNone && kind == pool;
}

cmcGTex& Texts() {
    if (!gGTex) plat::Fatal("No text table for the message.");
    return *gGTex;
}

void Status(const char* key, bool post) {
    if (!gEvMan) return;
    const std::string text = Texts().GetText(key);
    if (post) {
        gEvMan->PostText(evStatusText, clWindowText, clBtnFace, text);
    } else {
        gEvMan->SendText(evStatusText, clWindowText, clBtnFace, text);
    }
}

void ErrorBox(const char* key) {
    plat::ShowMessageBox(GetMultiLineText(Texts(), key), BoxCaption(Texts()),
                         plat::MB_OK | plat::MB_ICONERROR);
}

void Post(int32_t type, intptr_t p2 = 0) {
    if (gEvMan) gEvMan->Post(type, 0, p2);
}

struct Rows {
    int32_t first;
    int32_t last;
    bool Empty() const { return first > last; }
    int32_t Count() const { return last - first + 1; }
};

// The selected rows, or the current row alone.
Rows Selection(const cmcCellCapsule& request, const datCh& record) {
    if (!request.rangeSelected) return {record.index, record.index};
    return {std::min(request.rangeFirst, request.rangeLast), std::max(request.rangeFirst, request.rangeLast)};
}

Rows Within(Rows rows, int32_t first, int32_t last) {
    return {std::max(rows.first, first), std::min(rows.last, last)};
}

void CopyRows(cmcCellCapsule& request, datCh& record, int32_t firstRow, int32_t lastRow) {
    if (record.index < firstRow || record.index > lastRow) return;
    const Rows rows = Within(Selection(request, record), firstRow, lastRow);
    ProgramClipboard().Copy(*record.image, record.kind, rows.first, rows.Count());
    request.rangeRequest = true;
    request.rangeFirst = rows.first;
    request.rangeLast = rows.last;
    Status("GI_AppMess_S_Copy", false);
}

void PasteRows(cmcCellCapsule& request, datCh& record, int32_t firstRow, int32_t lastRow) {
    const int32_t at = record.index;
    datClipCh& clip = ProgramClipboard();
    if (at < firstRow || at > lastRow || !clip.CanPaste(record.kind)) return;
    const int32_t n = std::min(lastRow - at + 1, clip.Count());
    if (!RowsEmpty(record, at, at + n - 1) && ConfirmOkCancel("GI_AppMess_Conv_Overwrite") != plat::IDOK)
        return;
    clip.PasteKeepingAttributes(*record.image, record.kind, at, n);
    if (n == 1) {
        Post(evRedrawRow, at);
    } else {
        Post(evRedrawSheet);
    }
    record.Reload();
    request.rangeRequest = true;
    request.rangeFirst = at;
    request.rangeLast = at + n - 1;
    Status("GI_AppMess_S_Paste", false);
}

// Moves the block and answers with the block's new place.
bool MoveRows(cmcCellCapsule& request, cmcEeprom& image, int32_t kind, Rows block, int32_t step,
              int32_t lowest, int32_t highest) {
    if (!MoveRowBlock(image, kind, block.first, block.last, step, lowest, highest)) return false;
    request.rangeRequest = true;
    request.rangeFirst = block.first + step;
    request.rangeLast = block.last + step;
    request.jumpRequest = 1;
    request.jumpIndex = step > 0 ? block.last + step : block.first + step;
    return true;
}

void ClearSelectedRows(cmcCellCapsule& request, datCh& record, int32_t firstRow, int32_t lastRow) {
    if (!datCh::FieldFlag(record.kind)) return;
    const Rows rows = Within(Selection(request, record), firstRow, lastRow);
    if (rows.Empty()) return;
    if (ConfirmOkCancel("GI_AppMess_Conv_Clear") != plat::IDOK) return;
    if (!gAppManager) plat::Fatal("No application manager.");
    ClearRows(*record.image, gAppManager->ReferenceImage(), record.kind, rows.first, rows.last);
    Status("GI_AppMess_S_Clear", false);
}

// Removes exactly the selected rows of the sheet's bank or site: the rows go
// one by one, each time the first of them, so the current row plays no part.
void DeleteRows(cmcCellCapsule& request, datCh& record, int32_t firstRow, int32_t lastRow, int32_t unit) {
    const bool pool = IsPoolKind(record.kind);
    if (!IsChannelKind(record.kind) && !pool) return;
    const Rows rows = Within(Selection(request, record), firstRow, lastRow);
    if (rows.Empty()) return;
    if (!RowsEmpty(record, rows.first, rows.last) && ConfirmOkCancel("GI_AppMess_Conv_Delete") != plat::IDOK)
        return;
    datCh row(record.image);
    if (pool) {
        for (int32_t n = rows.first; n <= rows.last; ++n) {
            if (!row.Load(record.kind, n).siteMark) continue;
            row.siteMarkClear = true;
            row.Store(record.kind, n);
        }
        for (int32_t n = rows.first; n <= rows.last; ++n)
            if (gEvMan) gEvMan->Send(evRemovePoolRow, unit, rows.first);
    } else {
        bool holdsRefAOrB = false;
        int32_t refC = -1;
        for (int32_t n = rows.first; n <= rows.last; ++n) {
            row.Load(record.kind, n);
            holdsRefAOrB = holdsRefAOrB || row.isRefA || row.isRefB;
            if (row.isRefC) refC = n;
        }
        if (holdsRefAOrB) {
            ErrorBox("GI_AppMess_ChErr_DelPrio");
        } else {
            if (refC >= 0) {
                row.Load(record.kind, refC);
                row.refCOff = true;
                row.Store(record.kind, refC);
            }
            ScopedRowDelete deleting;
            for (int32_t n = rows.first; n <= rows.last; ++n)
                if (gEvMan) gEvMan->Send(evRemoveChannelRow, unit, rows.first);
        }
    }
    request.rangeRequest = false;
    request.jumpRequest = 1;
    request.jumpIndex = rows.first;
    Post(evRedrawSheet);
    Status("GI_AppMess_S_Delete", true);
}

// Whether one more row fits the bank or site: in its table, in the site's
// limit and in the radio's dynamic area.
bool RoomForOneMore(const cmcEeprom& image, bool pool, int32_t unit) {
    const FitsTest fits = InstalledCellEngine().Numbers().fitsDynamicArea;
    if (pool) {
        return GetTotalSiteChannels(image) < layout::kPoolRows &&
               GetSiteChannelCount(image, unit) < kMaxSiteEntries && fits(image, kCategoryRepeater, 1, unit);
    }
    return GetTotalBankChannels(image) < layout::kChannelRows && fits(image, kCategoryChannel, 1, unit);
}

int32_t UnitCount(const cmcEeprom& image, bool pool, int32_t unit) {
    return pool ? GetSiteChannelCount(image, unit) : GetBankChannelCount(image, unit);
}

// Inserts as many empty rows as are selected, before the first selected row.
void InsertRows(cmcCellCapsule& request, datCh& record, int32_t unit) {
    const bool pool = IsPoolKind(record.kind);
    if (!IsChannelKind(record.kind) && !pool) return;
    const Rows rows = Selection(request, record);
    const int32_t at = rows.first;
    const int32_t n = std::min(rows.Count(), pool ? layout::kPoolRows : layout::kChannelRows);
    for (int32_t i = 0; i < n; ++i)
        if (!InsertRowWithRoom(*record.image, pool, unit, at)) break;
    request.rangeRequest = true;
    request.rangeFirst = rows.first;
    request.rangeLast = rows.last;
    Status("GI_AppMess_S_Insert", false);
}

} // namespace

bool InsertRowWithRoom(cmcEeprom& image, bool pool, int32_t unit, int32_t row) {
    if (!RoomForOneMore(image, pool, unit)) {
        ErrorBox("GI_AppMess_ChErr_Overflow");
        return false;
    }
    const int32_t before = UnitCount(image, pool, unit);
    if (gEvMan) gEvMan->Send(pool ? evInsertPoolRow : evInsertChannelRow, unit, row);
    // Nobody took the row (no main window, or a row outside the bank or site).
    if (UnitCount(image, pool, unit) != before + 1) return false;
    if (PackImage(image) != 0) {
        // The capacity test was too kind: take the row out again rather than
        // keep an image whose dynamic area does not hold its tables.
        gEvMan->Send(pool ? evRemovePoolRow : evRemoveChannelRow, unit, row);
        PackImage(image);
        ErrorBox("GI_AppMess_ChErr_Overflow");
        return false;
    }
    return true;
}

datCh& EditCommand(RowCommand command, cmcCellCapsule& request, datCh& record, int32_t firstRow,
                   int32_t lastRow, int32_t bankOrSite) {
    if (!record.image) return record;
    switch (command) {
    case RowCommand::Copy:
        CopyRows(request, record, firstRow, lastRow);
        break;
    case RowCommand::Paste:
        PasteRows(request, record, firstRow, lastRow);
        break;
    case RowCommand::MoveUp:
    case RowCommand::MoveDown:
        MoveRows(request, *record.image, record.kind, Selection(request, record),
                 command == RowCommand::MoveDown ? 1 : -1, firstRow, lastRow);
        break;
    case RowCommand::Clear:
        ClearSelectedRows(request, record, firstRow, lastRow);
        break;
    case RowCommand::Delete:
        DeleteRows(request, record, firstRow, lastRow, bankOrSite);
        break;
    case RowCommand::Insert:
        InsertRows(request, record, bankOrSite);
        break;
    case RowCommand::None:
        break;
    }
    return record.Reload();
}

namespace {

struct UnitCounts {
    int32_t (*get)(const cmcEeprom&, int32_t);
    int32_t (*set)(cmcEeprom&, int32_t, int32_t);
    int32_t (*first)(const cmcEeprom&, int32_t);
    int32_t units;
};

void SwapUnitRows(cmcCellCapsule& request, cmcEeprom& image, int32_t kind, int32_t lastRow, int32_t n,
                  int32_t step, const UnitCounts& u) {
    const int32_t other = n + step;
    if ((step != 1 && step != -1) || n < 0 || n >= u.units || other < 0 || other >= u.units) return;
    const int32_t count = u.get(image, n);
    const int32_t otherCount = u.get(image, other);
    Rows block{u.first(image, n), u.first(image, n) + count - 1};
    u.set(image, n, otherCount);
    u.set(image, other, count);
    if (block.Empty()) return;
    for (int32_t i = 0; i < otherCount; ++i) {
        request.rangeFirst = block.first;
        request.rangeLast = block.last;
        if (!MoveRows(request, image, kind, block, step, 0, lastRow)) break;
        block = {block.first + step, block.last + step};
    }
}

} // namespace

void SwapBankRows(cmcCellCapsule& request, cmcEeprom& image, int32_t kind, int32_t lastRow, int32_t bank,
                  int32_t step) {
    SwapUnitRows(request, image, kind, lastRow, bank, step,
                 {GetBankChannelCount, SetBankChannelCount, GetBankFirstChannel, layout::kBanks});
}

void SwapSiteRows(cmcCellCapsule& request, cmcEeprom& image, int32_t kind, int32_t lastRow, int32_t site,
                  int32_t step) {
    // The marked entry's position belongs to the site record, which stays where it is.
    const auto markAt = [](int32_t s) { return layout::kGroupRecords + layout::kGroupRecordSize * s + 7; };
    const bool valid = IsValidSite(site) && IsValidSite(site + step);
    const uint8_t markN = valid ? image.GetByte(markAt(site)) : 0;
    const uint8_t markOther = valid ? image.GetByte(markAt(site + step)) : 0;
    SwapUnitRows(request, image, kind, lastRow, site, step,
                 {GetSiteChannelCount, SetSiteChannelCount, GetSiteFirstChannel, layout::kSites});
    if (!valid) return;
    image.SetByte(markAt(site), markN);
    image.SetByte(markAt(site + step), markOther);
}
