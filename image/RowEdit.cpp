#include "image/RowEdit.h"

#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"
#include "image/ImageLayout.h"
#include "image/RecordLayout.h"
#include "image/datCh.h"
#include "image/datClipCh.h"

#include <algorithm>

bool rowDeleteInProgress = false;

namespace {

// A scan-list mode of this value uses the channel its number names.
constexpr uint8_t kModeNamedChannel = 5;

// Rows of the kind's table; 0 for a kind without one.
int32_t TableRows(int32_t kind) {
    if (kind < 1 || kind >= datCh::kKinds || kind == kindTwoToneCommon) return 0;
    return datCh::FieldMax(kind) + 1;
}

// Runs fn on each of the three channel numbers of every scan list and stores the lists back.
template <typename Fn> void ForEachScanRef(cmcEeprom& image, Fn fn) {
    datCh list(&image);
    for (int32_t k = 0; k < layout::kScanLists; ++k) {
        list.Load(kindScanList, k);
        fn(list, list.txCh);
        fn(list, list.prio1Ch);
        fn(list, list.prio2Ch);
        list.Store(kindScanList, k);
    }
}

void TakeBankBits(datCh& record, const datCh& position) {
    record.smarTrunkBank = position.smarTrunkBank;
    record.ltrBank = position.ltrBank;
}

// A moved pool entry keeps its site's mark only inside the site being edited.
void KeepSiteMarkIn(datCh& record, const cmcEeprom& image, int32_t site1, int32_t row) {
    if (site1 != 0 && record.siteMark && site1 != SiteOfPoolEntry(image, row) + 1) record.siteMark = false;
}

// Row `from`'s record goes to row `to`, whose bank bits stay. Its site mark
// survives when siteRow lies in the site being edited.
void MoveRecord(cmcEeprom& image, int32_t kind, int32_t from, int32_t to, int32_t site1, int32_t siteRow) {
    datCh position(&image);
    position.Load(kind, to);
    datCh moved(&image);
    moved.Load(kind, from);
    TakeBankBits(moved, position);
    KeepSiteMarkIn(moved, image, site1, siteRow);
    moved.Store(kind, to);
}

void SendEvent(int32_t type, intptr_t p2 = 0) {
    if (gEvMan) gEvMan->Send(type, 0, p2);
}

} // namespace

void FixScanRefsAfterRemove(cmcEeprom& image, int32_t row, int32_t count) {
    ForEachScanRef(image, [&](datCh& list, int32_t& ch) {
        if (ch == row) {
            ch = 0;
            if (&ch == &list.txCh && list.txChMode == kModeNamedChannel) list.txChMode = 0;
            if (&ch == &list.prio1Ch && list.prio1Mode == kModeNamedChannel) list.prio1Mode = 1;
            if (&ch == &list.prio2Ch && list.prio2Mode == kModeNamedChannel) {
                list.prio2Mode = 0;
                list.slTxBit = false;
            }
        } else if (ch > row && ch < count) {
            --ch;
        }
    });
}

void FixScanRefsAfterInsert(cmcEeprom& image, int32_t row, int32_t count) {
    // The table's last row falls off its end; a number naming it has nowhere to go.
    ForEachScanRef(image, [&](datCh&, int32_t& ch) {
        if (ch >= row && ch < count - 1) ++ch;
    });
}

void FixScanRefsAfterMove(cmcEeprom& image, int32_t first, int32_t last, int32_t step) {
    const int32_t length = last - first + 1;
    ForEachScanRef(image, [&](datCh&, int32_t& ch) {
        if (ch >= first && ch <= last) {
            ch += step;
        } else if (step > 0 && ch == last + 1) {
            ch -= length;
        } else if (step < 0 && ch == first - 1) {
            ch += length;
        }
    });
}

void CopyChannelKeepFlags(cmcEeprom& image, cmcEeprom& source, int32_t kind, int32_t row, int32_t& change) {
    datCh own(&image);
    own.Load(kind, row);
    datCh from(&source);
    from.Load(kind, row);
    from.isRefA = own.isRefA;
    from.isRefB = own.isRefB;
    from.isRefC = own.isRefC;
    from.refCOff = own.refCOff;
    from.smarTrunkBank = own.smarTrunkBank;
    from.ltrBank = own.ltrBank;
    from.siteMark = own.siteMark;
    from.siteMarkClear = own.siteMarkClear;
    from.SetImage(&image);
    from.Store(kind, row);
    change |= kChangeRowRewritten;
}

void ImageRemoveRow(cmcEeprom& image, cmcEeprom& reference, int32_t count, int32_t kind, int32_t row,
                    int32_t& change) {
    ImageRemoveRowEx(image, reference, count, kind, row, 0, change);
}

void ImageRemoveRowEx(cmcEeprom& image, cmcEeprom& reference, int32_t count, int32_t kind, int32_t row,
                      int32_t site1, int32_t& change) {
    count = std::min(count, TableRows(kind));
    if (row < 0 || row >= count) return;
    if (IsChannelKind(kind)) FixScanRefsAfterRemove(image, row, count);
    for (int32_t r = row; r <= count - 2; ++r)
        MoveRecord(image, kind, r + 1, r, site1, r);
    CopyChannelKeepFlags(image, reference, kind, count - 1, change);
    change |= kChangeRowsShifted;
}

void ImageInsertRow(cmcEeprom& image, cmcEeprom& reference, int32_t count, int32_t kind, int32_t row,
                    int32_t& change) {
    ImageInsertRowEx(image, reference, count, kind, row, 0, change);
}

void ImageInsertRowEx(cmcEeprom& image, cmcEeprom& reference, int32_t count, int32_t kind, int32_t row,
                      int32_t site1, int32_t& change) {
    count = std::min(count, TableRows(kind));
    if (row < 0 || row >= count) return;
    if (IsChannelKind(kind)) FixScanRefsAfterInsert(image, row, count);
    for (int32_t a = count - 1; a >= row + 1; --a)
        MoveRecord(image, kind, a - 1, a, site1, a - 1);
    CopyChannelKeepFlags(image, reference, kind, row, change);
    change |= kChangeRowsShifted;
}

bool MoveRowBlock(cmcEeprom& image, int32_t kind, int32_t first, int32_t last, int32_t step, int32_t lowest,
                  int32_t highest) {
    lowest = std::max(lowest, 0);
    highest = std::min(highest, TableRows(kind) - 1);
    if (step != 1 && step != -1) return false;
    if (first > last || first < lowest || last > highest) return false;
    if (step > 0 ? last >= highest : first <= lowest) return false;
    if (IsChannelKind(kind)) FixScanRefsAfterMove(image, first, last, step);
    const int32_t length = last - first + 1;
    datClipCh displaced;
    datClipCh block;
    displaced.Copy(image, kind, step > 0 ? last + 1 : first - 1, 1);
    block.Copy(image, kind, first, length);
    block.Paste(image, kind, first + step, length);
    displaced.Paste(image, kind, step > 0 ? first : last, 1);
    return true;
}

void ClearRows(cmcEeprom& image, cmcEeprom& reference, int32_t kind, int32_t first, int32_t last) {
    first = std::max(first, 0);
    last = std::min(last, TableRows(kind) - 1);
    if (first > last) return;
    datClipCh empty;
    empty.Copy(reference, kind, first, last - first + 1);
    empty.PasteKeepingAttributes(image, kind, first, last - first + 1);
    if (!gEvMan) return;
    for (int32_t r = first; r <= last; ++r)
        gEvMan->Post(evRedrawRow, 0, r);
}

bool RowsEmpty(const datCh& record, int32_t first, int32_t last) {
    if (!record.image) return true;
    datCh row(record.image);
    for (int32_t n = std::max(first, 0); n <= std::min(last, TableRows(record.kind) - 1); ++n)
        if (row.Load(record.kind, n).programmed) return false;
    return true;
}

namespace {

// The unit (bank or site) and the row of an event, when they name one.
bool UnitAndRow(const cmcEvent& ev, int32_t units, int32_t rows, int32_t& unit, int32_t& row) {
    if (ev.p1 < 0 || ev.p1 >= units || ev.p2 < 0 || ev.p2 >= rows) return false;
    unit = static_cast<int32_t>(ev.p1);
    row = static_cast<int32_t>(ev.p2);
    return true;
}

const RowEventTable kChannels{layout::kChannelRows, layout::kBanks,      0xFFFF,
                              GetBankChannelCount,  SetBankChannelCount, GetBankFirstChannel,
                              GetTotalBankChannels, ImageInsertRowEx,    ImageRemoveRowEx};
const RowEventTable kPool{layout::kPoolRows,    layout::kSites,      0xFF,
                          GetSiteChannelCount,  SetSiteChannelCount, GetSiteFirstChannel,
                          GetTotalSiteChannels, ImageInsertRowEx,    ImageRemoveRowEx};

int32_t InsertRow(const cmcEvent& ev, const RowEventTable& t, cmcEeprom& image, cmcEeprom& reference,
                  int32_t kind, bool pool) {
    int32_t unit = 0, row = 0;
    if (!UnitAndRow(ev, t.units, t.rows, unit, row)) return 0;
    const int32_t count = t.countOf(image, unit);
    const int32_t first = t.firstOf(image, unit);
    // The new row must land inside the unit (or right after its last row), and
    // the table must have a free row at its end that the shift can take.
    if (t.total(image) >= t.rows || count >= t.maxCount || row < first || row > first + count) return 0;
    int32_t change = 0;
    t.insert(image, reference, t.rows, kind, row, pool ? unit + 1 : 0, change);
    t.setCount(image, unit, count + 1);
    SendEvent(evAddRow);
    SendEvent(evRefreshCaption);
    return change;
}

int32_t RemoveRow(const cmcEvent& ev, const RowEventTable& t, cmcEeprom& image, cmcEeprom& reference,
                  int32_t kind, bool pool) {
    int32_t unit = 0, row = 0;
    if (!UnitAndRow(ev, t.units, t.rows, unit, row)) return 0;
    const int32_t count = t.countOf(image, unit);
    const int32_t first = t.firstOf(image, unit);
    if (count <= 0 || row < first || row >= std::min(first + count, t.rows)) return 0;
    int32_t change = 0;
    t.remove(image, reference, t.rows, kind, row, pool ? unit + 1 : 0, change);
    t.setCount(image, unit, count - 1);
    SendEvent(evRemoveLastRow);
    SendEvent(evRefreshCaption);
    SendEvent(evRowDeleted, row);
    return change;
}

} // namespace

int32_t HandleRowEventOn(const cmcEvent& ev, cmcEeprom& image, cmcEeprom& reference,
                         const RowEventTable& channels, int32_t channelKind, const RowEventTable& pool,
                         int32_t poolKind) {
    switch (ev.type) {
    case evInsertChannelRow:
        return channelKind >= 0 ? InsertRow(ev, channels, image, reference, channelKind, false) : 0;
    case evRemoveChannelRow:
        return channelKind >= 0 ? RemoveRow(ev, channels, image, reference, channelKind, false) : 0;
    case evInsertPoolRow:
        return InsertRow(ev, pool, image, reference, poolKind, true);
    case evRemovePoolRow:
        return RemoveRow(ev, pool, image, reference, poolKind, true);
    default:
        return 0;
    }
}

int32_t HandleRowEvent(const cmcEvent& ev, cmcEeprom& image, cmcEeprom& reference, int modelClass) {
    return HandleRowEventOn(ev, image, reference, kChannels, IsChannelKind(modelClass) ? modelClass : -1,
                            kPool, kindRepeaterPool);
}
