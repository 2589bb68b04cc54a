#include "image/cmcClipCh.h"

#include <algorithm>

void cmcClipCh::Clear() {
    records.clear();
    kind = 0;
    firstRow = 0;
    count = 0;
}

void cmcClipCh::Copy(cmcEeprom& image, int32_t k, int32_t first, int32_t n) {
    Clear();
    // Only rows of the kind's table are taken: a record loaded from outside it
    // would be an empty row that a paste writes over real data.
    const int32_t rows = std::max(0, datCh::FieldMax(k) + 1 - std::max(first, 0));
    kind = k;
    firstRow = first;
    count = first < 0 ? 0 : std::clamp(n, 0, rows);
    records.resize(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        LoadOne(image, k, first + i, records[static_cast<size_t>(i)]);
}

void cmcClipCh::LoadOne(cmcEeprom& image, int32_t k, int32_t row, datCh& record) {
    record.SetImage(&image);
    record.Load(k, row);
}

bool cmcClipCh::CanPaste(int32_t k) const {
    return kind != 0 && kind == k;
}

void cmcClipCh::Paste(cmcEeprom& image, int32_t k, int32_t first, int32_t n) {
    if (!CanPaste(k)) return;
    for (int32_t i = 0; i < count && i < n; ++i)
        StoreOne(image, k, first + i, records[static_cast<size_t>(i)]);
}

void cmcClipCh::StoreOne(cmcEeprom& image, int32_t k, int32_t row, datCh& record) {
    record.SetImage(&image);
    record.Store(k, row);
}
