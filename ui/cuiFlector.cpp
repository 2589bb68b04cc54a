#include "ui/cuiFlector.h"

#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "platform/Screen.h"
#include "ui/PlaceAtCell.h"
#include "ui/cuiGrid.h"
#include "ui/cuiSheet.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QWidget>

#include <algorithm>

const cuiSheet::ImageList* cuiFlector::MarksOf(const cmcCellCapsule& request) {
    return request.owner ? request.owner->Images() : nullptr;
}

cuiFlector::cuiFlector(const CellEngine& engine, const cmcCellCapsule& request, int32_t initialCellId,
                       int32_t initialIndex, cmcGTex& texts, const std::string& name)
    : cuiFlector(request, name, [&](QWidget* form) {
          return std::make_unique<cuiSheet>(engine, form, &request, initialCellId, initialIndex, texts, name,
                                            MarksOf(request));
      }) {}

cuiFlector::cuiFlector(const cmcCellCapsule& request, const std::string& name, const SheetMaker& make)
    : ownerGrid_(request.grid), name_(name) {
    Open(request, make);
}

cuiFlector::~cuiFlector() {
    released_ = true;
    qApp->removeEventFilter(this);
    if (gEvMan) gEvMan->RemoveListener(&cuiFlector::OnEventThunk, this);
    // The sheet goes while its widgets are still there.
    sheet_.reset();
    delete form_.data();
}

void cuiFlector::Open(const cmcCellCapsule& request, const SheetMaker& make) {
    // A frameless window of its own, above the others. It is no child of
    // the grid, so that the grid's end reaches it through the bus and the
    // sheet goes before its widgets; and no platform pop-up, which would
    // take a list opened from its pick down with it.
    form_ = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    form_->installEventFilter(this);
    connect(form_, &QObject::destroyed, this, [this] { Release(); });
    if (ownerGrid_) connect(ownerGrid_, &QObject::destroyed, this, [this] { Release(); });

    sheet_ = make(form_);
    sheet_->SetListMode(true);
    sheet_->Build();
    // The form sees every key first.
    sheet_->Grid()->installEventFilter(this);

    // The list may be smaller than the grid and its frames would like.
    form_->layout()->setSizeConstraint(QLayout::SetNoConstraint);
    sheet_->Grid()->setMinimumSize(1, 1);
    form_->show();
    FitToWorkArea();
    sheet_->ScrollHome();
    PlaceAtCell(request, *form_);
    form_->activateWindow();
    sheet_->Grid()->setFocus();

    if (gEvMan) gEvMan->AddListener(&cuiFlector::OnEventThunk, this);
    // A press anywhere else is a click elsewhere, whatever the platform
    // makes of a pop-up window.
    qApp->installEventFilter(this);
}

void cuiFlector::FitToWorkArea() {
    cuiGrid* grid = sheet_->Grid();
    const plat::Rect work = plat::Screen().WorkArea();
    auto measure = [&](Qt::ScrollBarPolicy bars) {
        grid->setHorizontalScrollBarPolicy(bars);
        grid->setVerticalScrollBarPolicy(bars);
        form_->layout()->activate();
        return QSize(sheet_->GetFullWidth(), sheet_->GetFullHeight());
    };
    QSize full = measure(Qt::ScrollBarAlwaysOff);
    if (full.width() > work.width || full.height() > work.height) {
        full = measure(Qt::ScrollBarAlwaysOn);
        full = QSize(std::min(full.width(), work.width), std::min(full.height(), work.height));
    }
    form_->resize(full);
    form_->layout()->activate();
}

void cuiFlector::Release() {
    if (released_) return;
    released_ = true;
    if (form_) form_->hide();
    // Not now: a pick releases the pop-up from inside its own sheet.
    deleteLater();
}

bool cuiFlector::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && form_ && widget->window() != form_) Release();
        return QObject::eventFilter(watched, event);
    }
    if (watched == form_ && event->type() == QEvent::WindowActivate) {
        activated_ = true;
    } else if (watched == form_ && event->type() == QEvent::WindowDeactivate && activated_) {
        // The user went to another window.
        Release();
    } else if (event->type() == QEvent::Hide && watched == form_) {
        Release();
    } else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Release();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void cuiFlector::OnEventThunk(void* user, const cmcEvent& ev) {
    static_cast<cuiFlector*>(user)->OnEvent(ev);
}

void cuiFlector::OnEvent(const cmcEvent& ev) {
    const bool gridGone =
        ev.type == evObjectDestroyed && ownerGrid_ && ev.p2 == reinterpret_cast<intptr_t>(ownerGrid_.data());
    if (gridGone || ev.type == evEndEditing) Release();
}
