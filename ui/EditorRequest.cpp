#include "ui/EditorRequest.h"

#include "cells/CellEngine.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "ui/PlaceAtCell.h"
#include "ui/cuiGrid.h"
#include "ui/cuiSheet.h"

#include <QEvent>
#include <QFrame>
#include <QLayout>
#include <QScrollBar>
#include <QWidget>

EditorRequest::EditorRequest(const CellEngine& engine, const cmcCellCapsule& opening)
    : engine_(engine), request_(std::make_unique<cmcCellCapsule>(opening)) {
    request_->canvas = nullptr;
    request_->cellRect = nullptr;
    grid_ = request_->grid;
    if (request_->owner) images_ = request_->owner->Images();
}

EditorRequest::~EditorRequest() = default;

QWidget* EditorRequest::OwnerWidget() const {
    return grid_.data();
}

void EditorRequest::Answer(const std::string& editText) {
    cmcCellObj pickCell;
    pickCell.cellId = engine_.Vocabulary().CellIndex("Flex0");
    cmcCellCapsule pick;
    pick.cell = &pickCell;
    pick.texts = request_->texts;
    request_->linkedRequest = &pick;
    request_->mode = cmcCellCapsule::kModePick;
    request_->key = 0;
    request_->editText = editText;
    engine_.Execute(*request_, 1);
    request_->linkedRequest = nullptr;
}

QSize FullSheetPanelSize(const cuiSheet& sheet, bool verticalBar) {
    const cuiGrid& grid = *sheet.Grid();
    int w = 0;
    for (int c = 0; c < sheet.ColCount(); ++c)
        w += grid.ColWidth(c);
    int h = 0;
    for (int r = 0; r < sheet.RowCount(); ++r)
        h += grid.RowHeight(r);
    const QFrame& panel = *sheet.SheetPanel();
    const QMargins m = panel.layout() ? panel.layout()->contentsMargins() : QMargins();
    const int chromeW = 2 * panel.frameWidth() + m.left() + m.right() + 2 * grid.frameWidth();
    const int chromeH = 2 * panel.frameWidth() + m.top() + m.bottom() + 2 * grid.frameWidth();
    const int bar = verticalBar ? grid.verticalScrollBar()->sizeHint().width() : 0;
    return QSize(w + chromeW + bar, h + chromeH);
}

EditorEnd EndingEvent(int32_t type, intptr_t p2, const cuiGrid* ownerGrid) {
    if (type == evObjectDestroyed && p2 == reinterpret_cast<intptr_t>(ownerGrid)) return EditorEnd::Cancel;
    if (type == evEndEditing) return EditorEnd::Deactivate;
    return EditorEnd::None;
}

PopupEditor::PopupEditor(const CellEngine& engine, const cmcCellCapsule& request)
    : request_(engine, request) {
    form_ = new QWidget(request_.OwnerWidget(), Qt::Tool | Qt::FramelessWindowHint);
    form_->installEventFilter(this);
    QObject::connect(form_, &QObject::destroyed, this, [this] {
        form_ = nullptr;
        delete this;
    });
}

PopupEditor::~PopupEditor() {
    StopListening();
    if (form_) {
        form_->removeEventFilter(this);
        QObject::disconnect(form_, nullptr, this, nullptr);
        delete form_.data();
    }
}

void PopupEditor::Show(const cmcCellCapsule& opening, QWidget* focus) {
    form_->adjustSize();
    PlaceAtCell(opening, *form_);
    if (gEvMan && !listening_) {
        gEvMan->AddListener(&PopupEditor::OnEvent, this);
        listening_ = true;
    }
    form_->show();
    form_->activateWindow();
    if (focus) focus->setFocus();
}

void PopupEditor::StopListening() {
    if (gEvMan && listening_) gEvMan->RemoveListener(&PopupEditor::OnEvent, this);
    listening_ = false;
}

void PopupEditor::Commit() {
    if (committed_ || cancelled_) return;
    committed_ = true;
    Store();
    Release();
}

void PopupEditor::Cancel() {
    cancelled_ = true;
    Release();
}

void PopupEditor::Deactivated() {
    if (!cancelled_) Commit();
    Release();
}

void PopupEditor::Release() {
    if (form_) form_->deleteLater();
}

void PopupEditor::OnEvent(void* user, const cmcEvent& ev) {
    auto* self = static_cast<PopupEditor*>(user);
    switch (EndingEvent(ev.type, ev.p2, self->request_.OwnerGrid())) {
    case EditorEnd::Cancel:
        self->Cancel();
        break;
    case EditorEnd::Deactivate:
        self->Deactivated();
        break;
    case EditorEnd::None:
        break;
    }
}

bool PopupEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_ && event->type() == QEvent::WindowDeactivate) Deactivated();
    // Closed by the window system: nothing is answered.
    if (watched == form_ && event->type() == QEvent::Close) Cancel();
    return QObject::eventFilter(watched, event);
}
