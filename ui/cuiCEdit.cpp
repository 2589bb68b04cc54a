#include "ui/cuiCEdit.h"

#include "cells/CellEngine.h"
#include "cells/RadioFont.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/CurrentImage.h"
#include "platform/MessageBox.h"
#include "platform/QtText.h"
#include "ui/PlaceAtCell.h"
#include "ui/cuiGrid.h"
#include "ui/cuiToolBar.h"

#include <QButtonGroup>
#include <QDialog>
#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <string>

namespace {

constexpr int kBorder = 5;
constexpr int kButtonGap = 4;
constexpr int kMargin = 2;
constexpr int kPreviewDot = 4;
constexpr QRgb kOffOutside = 0x808080;
constexpr QRgb kOffInside = 0xFFFFFF;

// Division rounding toward minus infinity, so that a position left of or
// above the first dot never lands on it.
int32_t FloorDiv(int32_t a, int32_t b) {
    const int32_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

cuiCEdit::cuiCEdit(const CellEngine& engine, const cmcCellCapsule& request, int32_t dotSize, int32_t width,
                   int32_t height, const std::vector<uint8_t>& dots, const QList<QIcon>* toolImages)
    : request_(engine, request), dotSize_(dotSize), width_(std::max(width, 1)), height_(std::max(height, 1)) {
    current_ = dots;
    current_.resize(static_cast<size_t>(width_ * height_), 0);
    for (uint8_t& d : current_)
        d = d ? 1 : 0;
    base_ = current_;
    overlay_.assign(current_.size(), 0);
    largeGlyphs_ = IsLargeGlyphs(CurrentImage());

    cmcGTex& texts = request_.Request().texts ? *request_.Request().texts : *gGTex;
    // A window of its own: the main window it disables must not take it along.
    auto* dialog = new QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    form_ = dialog;
    form_->setAttribute(Qt::WA_DeleteOnClose);
    form_->setWindowTitle(plat::ToQString(texts.GetTextLine("GI_AppInd_CharacterEditorCaption", 0)));
    auto* formLayout = new QHBoxLayout(form_);
    formLayout->setContentsMargins(0, 0, 0, 0);
    formLayout->setSpacing(0);

    gridPanel_ = new QWidget(form_);
    auto* gridLayout = new QVBoxLayout(gridPanel_);
    gridLayout->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    grid_ = new QWidget(gridPanel_);
    const QRect last = GetDotRect(width_ - 1, height_ - 1);
    grid_->setFixedSize(last.left() + last.width() + 4, last.top() + last.height() + 4);
    grid_->installEventFilter(this);
    grid_->setMouseTracking(false);
    gridLayout->addWidget(grid_);
    gridLayout->addStretch(1);
    formLayout->addWidget(gridPanel_);

    auto* right = new QWidget(form_);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    rightLayout->setSpacing(kButtonGap);
    toolBar_ = std::make_unique<cuiToolBar>(request_.Engine(), right, texts, "GI_ToolBar_CEdit", toolImages);
    toolBar_->Build([this](cmcCellObj& cell) { ToolClick(cell.imageIndex); });
    toolGroup_ = new QButtonGroup(right);
    toolGroup_->setExclusive(true);
    for (QToolButton* button : toolBar_->Buttons()) {
        if (!cuiToolBar::CellOf(button)) continue;
        toolGroup_->addButton(button);
    }
    QObject::connect(toolGroup_, &QButtonGroup::buttonClicked, this,
                     [this](QAbstractButton* button) { pressed_ = button; });
    ShowTool();
    rightLayout->addWidget(toolBar_->Bar());
    preview_ = new QWidget(right);
    preview_->installEventFilter(this);
    preview_->setMinimumSize(kPreviewDot * width_ + 4, kPreviewDot * height_ + 4);
    rightLayout->addWidget(preview_, 1);
    ok_ = new QPushButton(plat::ToQString(texts.GetTextLine("GI_AppInd_Button_OkCancel", 0)), right);
    cancel_ = new QPushButton(plat::ToQString(texts.GetTextLine("GI_AppInd_Button_OkCancel", 1)), right);
    ok_->setDefault(true);
    ok_->setFixedWidth(kButtonWidth);
    cancel_->setFixedWidth(kButtonWidth);
    rightLayout->addWidget(ok_);
    rightLayout->addWidget(cancel_);
    right->setFixedWidth(kButtonWidth + 2 * kBorder);
    // The tool bar wraps to the panel's width, which the dialog's layout does
    // not ask it about: the panel keeps room for all its rows.
    right->setMinimumHeight(rightLayout->totalHeightForWidth(kButtonWidth + 2 * kBorder));
    formLayout->addWidget(right);

    QObject::connect(ok_, &QPushButton::clicked, this, [this] { Commit(); });
    QObject::connect(cancel_, &QPushButton::clicked, this, [this] { Close(); });
    QObject::connect(dialog, &QDialog::rejected, this, [this] { Close(); });
    QObject::connect(form_, &QObject::destroyed, this, [this] {
        form_ = nullptr;
        delete this;
    });

    form_->adjustSize();
    PlaceAtCell(request, *form_);
    if (QWidget* owner = request_.OwnerWidget()) mainWindow_ = owner->window();
    if (mainWindow_) {
        mainWindow_->setEnabled(false);
        // Kept above the window it holds, as a dialog owned by it would be.
        form_->winId();
        if (form_->windowHandle() && mainWindow_->windowHandle())
            form_->windowHandle()->setTransientParent(mainWindow_->windowHandle());
    }
    if (gEvMan) gEvMan->AddListener(&cuiCEdit::OnEvent, this);
    form_->show();
    form_->activateWindow();
}

cuiCEdit::~cuiCEdit() {
    if (gEvMan) gEvMan->RemoveListener(&cuiCEdit::OnEvent, this);
    toolBar_.reset();
    if (form_) {
        QObject::disconnect(form_, nullptr, this, nullptr);
        form_->removeEventFilter(this);
        delete form_.data();
    }
    if (mainWindow_) {
        mainWindow_->setEnabled(true);
        mainWindow_->activateWindow();
        mainWindow_->setFocus();
    }
}

QRect cuiCEdit::GetDotRect(int32_t x, int32_t y) const {
    const int32_t left = kMargin + x * (dotSize_ + 1);
    const int32_t top = kMargin + y * (dotSize_ + 1);
    return QRect(left, top, dotSize_, dotSize_);
}

QRect cuiCEdit::GetPreviewDotRect(int32_t x, int32_t y) const {
    const int32_t w = preview_ ? preview_->width() : 0;
    const int32_t h = preview_ ? preview_->height() : 0;
    const int32_t left = (w - kPreviewDot * width_) / 2 + kPreviewDot * x;
    const int32_t top = (h - kPreviewDot * height_) / 2 + kPreviewDot * y;
    return QRect(left, top, kPreviewDot, kPreviewDot);
}

cuiCEdit::Hit cuiCEdit::HitTest(int32_t px, int32_t py) const {
    Hit hit{FloorDiv(px - kMargin, dotSize_ + 1), FloorDiv(py - kMargin, dotSize_ + 1), false};
    hit.outside = hit.column < 0 || hit.column >= width_ || hit.row < 0 || hit.row >= height_;
    return hit;
}

bool cuiCEdit::IsUsable(int32_t x, int32_t y) const {
    const bool handheld = width_ > 5;
    if (handheld) {
        if (x >= width_ - 1) return false;
        return !largeGlyphs_ || (y >= 1 && y < height_ - 1);
    }
    return largeGlyphs_ ? y >= 1 : (y >= 2 && y < height_ - 3);
}

bool cuiCEdit::Dot(int32_t x, int32_t y) const {
    return x >= 0 && x < width_ && y >= 0 && y < height_ && current_[At(x, y)] != 0;
}

void cuiCEdit::Redraw(bool force) {
    bool changed = force;
    for (size_t i = 0; i < current_.size(); ++i) {
        uint8_t v = 0;
        switch (mode_) {
        case kErase:
            v = base_[i] && !overlay_[i];
            break;
        case kMove:
            v = overlay_[i];
            break;
        default:
            v = base_[i] || overlay_[i];
            break;
        }
        if (v != current_[i]) {
            current_[i] = v;
            changed = true;
        }
    }
    if (!changed) return;
    if (grid_) grid_->update();
    if (preview_) preview_->update();
}

void cuiCEdit::BeginStroke() {
    Redraw(false);
    base_ = current_;
    std::fill(overlay_.begin(), overlay_.end(), 0);
}

void cuiCEdit::UpdateButtonBits(Qt::MouseButtons buttons) {
    leftDraw_ = leftDraw_ && (buttons & Qt::LeftButton);
    rightErase_ = rightErase_ && (buttons & Qt::RightButton);
}

void cuiCEdit::MouseDown(const QMouseEvent& event) {
    leftDraw_ = rightErase_ = false;
    const QPoint p = event.position().toPoint();
    const Hit hit = HitTest(p.x(), p.y());
    if (hit.outside) return;
    leftDraw_ = event.button() == Qt::LeftButton;
    rightErase_ = event.button() == Qt::RightButton;
    if (leftDraw_ || rightErase_) {
        BeginStroke();
        anchorColumn_ = hit.column;
        anchorRow_ = hit.row;
    }
    MouseMove(event.buttons(), p.x(), p.y());
}

void cuiCEdit::MouseMove(Qt::MouseButtons buttons, int32_t px, int32_t py) {
    UpdateButtonBits(buttons);
    if (!leftDraw_ && !rightErase_) return;
    Hit hit = HitTest(px, py);
    std::fill(overlay_.begin(), overlay_.end(), 0);
    switch (tool_) {
    case kPen:
        mode_ = kDraw;
        if (!hit.outside) base_[At(hit.column, hit.row)] = leftDraw_ ? 1 : 0;
        break;
    case kRectangle: {
        mode_ = leftDraw_ ? kDraw : kErase;
        const int32_t c = std::clamp(hit.column, 0, width_ - 1);
        const int32_t r = std::clamp(hit.row, 0, height_ - 1);
        for (int32_t y = std::min(r, anchorRow_); y <= std::max(r, anchorRow_); ++y)
            for (int32_t x = std::min(c, anchorColumn_); x <= std::max(c, anchorColumn_); ++x)
                overlay_[At(x, y)] = 1;
        break;
    }
    case kShift: {
        mode_ = kMove;
        const int32_t c = hit.column % width_;
        const int32_t r = hit.row % height_;
        for (int32_t y = 0; y < height_; ++y)
            for (int32_t x = 0; x < width_; ++x)
                overlay_[At(x, y)] = base_[At((width_ + anchorColumn_ + x - c) % width_,
                                              (height_ + anchorRow_ + y - r) % height_)];
        break;
    }
    default:
        break;
    }
    Redraw(false);
}

void cuiCEdit::MouseUp(Qt::MouseButtons buttons) {
    UpdateButtonBits(buttons);
    BeginStroke();
    mode_ = kDraw;
}

void cuiCEdit::ToolClick(int32_t imageIndex) {
    switch (imageIndex) {
    case kImagePen:
        tool_ = kPen;
        break;
    case kImageRectangle:
        tool_ = kRectangle;
        break;
    case kImageShift:
        tool_ = kShift;
        break;
    case kImageClear: {
        cmcGTex& texts = request_.Request().texts ? *request_.Request().texts : *gGTex;
        const int answer = plat::ShowMessageBox(GetMultiLineText(texts, "GI_AppMess_Confirm_CEdit_Clear"),
                                                texts.GetTextLine(RunningProfile().titleKey, 0),
                                                plat::MB_ICONWARNING | plat::MB_OKCANCEL);
        if (answer == plat::IDOK) {
            std::fill(base_.begin(), base_.end(), 0);
            Redraw(false);
        }
        break;
    }
    default:
        break;
    }
}

// The tool bar's own refresh knows nothing of the tools: the pressed button
// is kept here.
void cuiCEdit::ShowTool() {
    if (!toolBar_) return;
    for (QToolButton* button : toolBar_->Buttons()) {
        if (!cuiToolBar::CellOf(button)) continue;
        button->setCheckable(true);
        if (!pressed_) pressed_ = button;
    }
    if (pressed_) pressed_->setChecked(true);
}

void cuiCEdit::Commit() {
    BeginStroke();
    std::string answer;
    answer.reserve(current_.size());
    for (uint8_t d : current_)
        answer += d ? '1' : '0';
    request_.Answer(answer);
    Close();
}

void cuiCEdit::Close() {
    if (form_) form_->deleteLater();
}

void cuiCEdit::OnEvent(void* user, const cmcEvent& ev) {
    auto* self = static_cast<cuiCEdit*>(user);
    if (EndingEvent(ev.type, ev.p2, self->request_.OwnerGrid()) == EditorEnd::Cancel) self->Close();
    if (ev.type == evUpdateToolBar) self->ShowTool();
}

void cuiCEdit::PaintGrid() {
    QPainter painter(grid_);
    painter.fillRect(grid_->rect(), grid_->palette().window());
    const QRect last = GetDotRect(width_ - 1, height_ - 1);
    painter.setPen(Qt::black);
    // Through the pixel just past the last dot's right and bottom edges.
    painter.drawRect(QRect(QPoint(0, 0), QPoint(last.right() + 2, last.bottom() + 2)));
    for (int32_t y = 0; y < height_; ++y)
        for (int32_t x = 0; x < width_; ++x) {
            const QRect r = GetDotRect(x, y);
            const QColor colour = Dot(x, y)        ? QColor(Qt::black)
                                  : IsUsable(x, y) ? QColor(kOffInside)
                                                   : QColor(kOffOutside);
            painter.fillRect(r, colour);
        }
}

void cuiCEdit::PaintPreview() {
    QPainter painter(preview_);
    painter.fillRect(preview_->rect(), Qt::white);
    const QRect first = GetPreviewDotRect(0, 0);
    const QRect last = GetPreviewDotRect(width_ - 1, height_ - 1);
    painter.setPen(Qt::black);
    painter.drawRect(
        QRect(QPoint(first.left() - 2, first.top() - 2), QPoint(last.right() + 2, last.bottom() + 2)));
    for (int32_t y = 0; y < height_; ++y)
        for (int32_t x = 0; x < width_; ++x) {
            const QRect r = GetPreviewDotRect(x, y);
            painter.fillRect(r, Dot(x, y) ? Qt::black : Qt::white);
        }
}

bool cuiCEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_) {
        switch (event->type()) {
        case QEvent::Paint:
            PaintGrid();
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            MouseDown(*static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove: {
            const auto* e = static_cast<QMouseEvent*>(event);
            const QPoint p = e->position().toPoint();
            MouseMove(e->buttons(), p.x(), p.y());
            return true;
        }
        case QEvent::MouseButtonRelease:
            MouseUp(static_cast<QMouseEvent*>(event)->buttons());
            return true;
        default:
            break;
        }
    } else if (watched == preview_ && event->type() == QEvent::Paint) {
        PaintPreview();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
