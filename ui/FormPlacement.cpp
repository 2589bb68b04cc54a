#include "ui/FormPlacement.h"

#include "foundation/Globals.h"
#include "foundation/indEnviron.h"
#include "ui/cuiGrid.h"

#include <QFrame>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr int kPanelBorder = 8;
constexpr int kBevel = 2;

} // namespace

int32_t WindowStateOf(const QWidget& form) {
    if (form.isMaximized()) return 2;
    if (form.isMinimized()) return 1;
    return 0;
}

plat::Rect RectOf(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

void StoreFormPlacement(const std::string& name, const QWidget& form, const cuiGrid* grid, int32_t flag) {
    if (!gEnviron) return;
    const QRect normal = form.isMaximized() || form.isMinimized() ? form.normalGeometry() : form.geometry();
    gEnviron->SetEditFormPos(name, normal.x(), normal.y(), normal.width(), normal.height(),
                             grid ? grid->Col() : -1, grid ? grid->Row() : -1, grid ? grid->LeftCol() : -1,
                             grid ? grid->TopRow() : -1, WindowStateOf(form), flag);
}

QFrame* MakeBevelledPanel(QWidget* parent, QFrame*& inner) {
    auto* outer = new QFrame(parent);
    outer->setFrameStyle(QFrame::Panel | QFrame::Raised);
    outer->setLineWidth(kBevel);
    auto* outerLayout = new QVBoxLayout(outer);
    outerLayout->setContentsMargins(kPanelBorder, kPanelBorder, kPanelBorder, kPanelBorder);
    outerLayout->setSpacing(0);
    inner = new QFrame(outer);
    inner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    inner->setLineWidth(kBevel);
    outerLayout->addWidget(inner);
    return outer;
}
