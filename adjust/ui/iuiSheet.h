#pragma once
#include "ui/cuiSheet.h"

#include <cstdint>
#include <string>

namespace adj {

// The adjustment program's sheet: the cloning program's sheet whose layout
// also takes the selectable flag from every cell of a column laid out 0
// wide, so the cursor never lands where nothing shows.
class iuiSheet : public cuiSheet {
public:
    iuiSheet(const CellEngine& engine, QWidget* parent, const cmcCellCapsule* opening, int32_t initialCellId,
             int32_t initialIndex, cmcGTex& texts, const std::string& name,
             const ImageList* images = nullptr);
    ~iuiSheet() override;

    void Layout(const std::string& cellsKey) override;
};

} // namespace adj
