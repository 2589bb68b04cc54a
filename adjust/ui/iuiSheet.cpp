#include "adjust/ui/iuiSheet.h"

namespace adj {

iuiSheet::iuiSheet(const CellEngine& engine, QWidget* parent, const cmcCellCapsule* opening,
                   int32_t initialCellId, int32_t initialIndex, cmcGTex& texts, const std::string& name,
                   const ImageList* images)
    : cuiSheet(engine, parent, opening, initialCellId, initialIndex, texts, name, images) {}

iuiSheet::~iuiSheet() = default;

void iuiSheet::Layout(const std::string& cellsKey) {
    cuiSheet::Layout(cellsKey);
    UnselectHiddenColumns();
}

} // namespace adj
