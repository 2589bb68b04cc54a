#include "adjust/AdjustRowEvents.h"

#include "adjust/AdjustRecords.h"
#include "image/BankSite.h"
#include "image/ImageLayout.h"
#include "image/RowEdit.h"

namespace adj {

namespace {

constexpr int32_t kSiteEntries = 20;
constexpr uint8_t kPositionMark = 0x10;

void MoveRecord(cmcEeprom& image, int32_t kind, int32_t from, int32_t to) {
    datCh at(&image);
    at.Load(kind, to);
    const uint8_t kept = at.marks & kPositionMark;
    datCh moved(&image);
    moved.Load(kind, from);
    moved.marks = static_cast<uint8_t>((moved.marks & ~kPositionMark) | kept);
    moved.Store(kind, to);
}

// A site's entries are a table of their own, counted from 0.
int32_t FirstOfSite(const cmcEeprom&, int32_t) {
    return 0;
}
int32_t NoTotal(const cmcEeprom&) {
    return 0;
}

} // namespace

void CopyChannelKeepFlags(cmcEeprom& image, cmcEeprom& source, int32_t kind, int32_t row, int32_t& change) {
    datCh own(&image);
    own.Load(kind, row);
    datCh from(&source);
    from.Load(kind, row);
    from.marks = own.marks;
    from.image = &image;
    from.Store(kind, row);
    change |= kChangeRowRewritten;
}

void ImageRemoveRow(cmcEeprom& image, cmcEeprom& reference, int32_t count, int32_t kind, int32_t row, int32_t,
                    int32_t& change) {
    if (row < 0 || row >= count) return;
    for (int32_t r = row; r <= count - 2; ++r)
        MoveRecord(image, kind, r + 1, r);
    adj::CopyChannelKeepFlags(image, reference, kind, count - 1, change);
    change |= kChangeRowsShifted;
}

void ImageInsertRow(cmcEeprom& image, cmcEeprom& reference, int32_t count, int32_t kind, int32_t row, int32_t,
                    int32_t& change) {
    if (row < 0 || row >= count) return;
    for (int32_t r = count - 1; r >= row + 1; --r)
        MoveRecord(image, kind, r - 1, r);
    adj::CopyChannelKeepFlags(image, reference, kind, row, change);
    change |= kChangeRowsShifted;
}

int32_t HandleRowEvent(const cmcEvent& ev, cmcEeprom& image, cmcEeprom& reference, int modelClass) {
    static const RowEventTable channels{layout::kChannelRows, layout::kBanks,      0xFFFF,
                                        GetBankChannelCount,  SetBankChannelCount, GetBankFirstChannel,
                                        GetTotalBankChannels, ImageInsertRow,      ImageRemoveRow};
    static const RowEventTable pool{kSiteEntries,        layout::kSites, kSiteEntries, GetSiteChannelCount,
                                    SetSiteChannelCount, FirstOfSite,    NoTotal,      ImageInsertRow,
                                    ImageRemoveRow};
    return HandleRowEventOn(ev, image, reference, channels, modelClass, pool, kindRepeaterPool);
}

} // namespace adj
