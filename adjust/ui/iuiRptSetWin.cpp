#include "adjust/ui/iuiRptSetWin.h"

#include "adjust/ui/iuiSh_Mch.h"

namespace adj {

namespace {

::iuiRptSetWin::Variant AdjustVariant() {
    ::iuiRptSetWin::Variant v;
    v.fileButtons = false;
    v.makeSheet = [](const CellEngine& engine, QWidget* parent, const cmcCellCapsule& opening, cmcGTex& texts,
                     const std::string& name,
                     const cuiSheet::ImageList* images) -> std::unique_ptr<::iuiSh_Mch> {
        return std::make_unique<adj::iuiSh_Mch>(engine, parent, &opening, 0, 0, texts, name, images);
    };
    v.redrawEvent = evBankNodeTextFromImage;
    v.asksBeforeRestoring = false;
    return v;
}

} // namespace

iuiRptSetWin::iuiRptSetWin(const CellEngine& engine, QWidget* owner, const std::string& caption,
                           cmcGTex& texts, const std::string& name, const cuiSheet::ImageList* images,
                           const cmcCellCapsule& opening)
    : ::iuiRptSetWin(engine, owner, caption, texts, name, images, opening, {}, AdjustVariant()) {}

} // namespace adj
