#pragma once
#include "image/datCh.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class cmcEeprom;

// A run of rows of one record kind, copied out of an image so that they can
// be written back elsewhere. The copy and paste commands share one clipboard
// (a datClipCh); moving, clearing and swapping rows use short-lived ones. This
// base writes the rows back exactly as they were copied.
class cmcClipCh {
public:
    cmcClipCh() { cmcClipCh::Clear(); }
    virtual ~cmcClipCh() = default;
    cmcClipCh(const cmcClipCh&) = delete;
    cmcClipCh& operator=(const cmcClipCh&) = delete;

    // Empty: no rows, kind 0.
    virtual void Clear();
    // Holds rows first..first+n-1 of the kind. Rows outside the kind's table
    // are left out, so a negative count or a run past the table's end holds
    // fewer rows (possibly none, which still pastes as the kind).
    virtual void Copy(cmcEeprom& image, int32_t kind, int32_t first, int32_t n);
    virtual void LoadOne(cmcEeprom& image, int32_t kind, int32_t row, datCh& record);
    // True when the clipboard holds rows of this kind (none are of kind 0).
    virtual bool CanPaste(int32_t kind) const;
    // Writes the first min(n, count) rows at rows first.. of the image; nothing
    // when the rows are of another kind.
    virtual void Paste(cmcEeprom& image, int32_t kind, int32_t first, int32_t n);
    virtual void StoreOne(cmcEeprom& image, int32_t kind, int32_t row, datCh& record);

    int32_t Kind() const { return kind; }
    int32_t FirstRow() const { return firstRow; }
    int32_t Count() const { return count; }
    const datCh& Record(int32_t i) const { return records.at(static_cast<size_t>(i)); }

protected:
    std::vector<datCh> records;
    int32_t kind = 0;
    int32_t firstRow = 0;
    int32_t count = 0;
};
