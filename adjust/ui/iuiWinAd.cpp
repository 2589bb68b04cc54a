#include "adjust/ui/iuiWinAd.h"

#include "adjust/AdjustManager.h"
#include "cells/WindowCommands.h"
#include "foundation/Globals.h"
#include "foundation/Placement.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "platform/QtText.h"
#include "platform/Screen.h"
#include "ui/FormPlacement.h"
#include "ui/cuiGrid.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace adj {

// The top-level form: its close box and Esc both end in the window's Close,
// Esc through the close button, so both are inert while a transfer runs.
class iuiWinAd::Window : public QDialog {
public:
    Window(std::function<void()> closed, std::function<void()> escape)
        : QDialog(nullptr,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
          closed_(std::move(closed)), escape_(std::move(escape)) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        event->accept();
        closed_();
    }
    void reject() override { escape_(); }

private:
    std::function<void()> closed_;
    std::function<void()> escape_;
};

iuiWinAd::iuiWinAd(const CellEngine& engine, QWidget* parent, const std::string& caption, cmcGTex& texts,
                   const std::string& name, const cuiSheet::ImageList* images, PositionLookup lookup)
    : engine_(engine), parent_(parent), name_(name), texts_(texts), images_(images),
      lookup_(std::move(lookup)) {
    // A window of its own, not the main form's child: a child would be
    // disabled with the main form during every transfer, the A/D reads too.
    form_ = new Window([this] { Close(); }, [this] { OnCloseButton(); });
    form_->setWindowTitle(plat::ToQString(caption));
    form_->setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(form_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    QFrame* inner = nullptr;
    client_ = MakeBevelledPanel(form_, inner);
    auto* innerLayout = new QVBoxLayout(inner);
    innerLayout->setContentsMargins(0, 0, 0, 0);
    sheetHost_ = new QWidget(inner);
    innerLayout->addWidget(sheetHost_);
    layout->addWidget(client_, 1);

    buttons_ = new QWidget(form_);
    auto* row = new QHBoxLayout(buttons_);
    row->setContentsMargins(kGap, kGap, kGap, kGap);
    row->setSpacing(kGap);
    update_ = new QPushButton(plat::ToQString(texts.GetTextLine(kUpdateKey, 0)), buttons_);
    close_ = new QPushButton(plat::ToQString(texts.GetTextLine(kCloseKey, 0)), buttons_);
    for (QPushButton* b : {update_.data(), close_.data()}) {
        b->setFixedSize(kButtonWidth, kButtonHeight);
        b->setAutoDefault(false);
    }
    row->addStretch(1);
    row->addWidget(update_);
    row->addWidget(close_);
    buttons_->setFixedHeight(2 * kGap + kButtonHeight);
    layout->addWidget(buttons_);
    QWidget::setTabOrder(update_, close_);
    connect(update_, &QPushButton::clicked, this, [this] { OnUpdate(); });
    connect(close_, &QPushButton::clicked, this, [this] { OnCloseButton(); });

    CreateSheet();
    const bool placed = RestorePlacement() == 0;
    sheet_->Build();
    SavePlacement(1);
    // The minimum first: a default placement centres the size the form ends with.
    KeepMinimumSize();
    if (!placed) PlaceByDefault();

    plat::Rect place = RectOf(form_->geometry());
    ClampToWorkArea(place);
    if (!placed && parent_) {
        const plat::Rect work = plat::Screen().WorkArea();
        const plat::Rect above = RectOf(parent_->geometry());
        if (above.Bottom() > place.top && above.top - work.top >= place.height) {
            place.top = above.top - place.height;
            ClampToWorkArea(place);
        }
    }
    if (!form_->isMaximized()) form_->setGeometry(place.left, place.top, place.width, place.height);

    form_->show();
    // Over the main form without sharing its enabled state.
    if (parent_ && parent_->window()->windowHandle() && form_->windowHandle())
        form_->windowHandle()->setTransientParent(parent_->window()->windowHandle());
    if (gEnviron) gEnviron->AdWindowFlag = 1;
    if (gAdjustManager) gAdjustManager->ReadAdValues();
    if (gEvMan) gEvMan->AddListener(&iuiWinAd::OnEventThunk, this);
    // A main form that goes without a word on the bus takes the window too.
    if (parent_) connect(parent_, &QObject::destroyed, this, [this] { Close(); });
}

iuiWinAd::~iuiWinAd() {
    sheet_.reset();
    if (gEvMan) {
        gEvMan->Send(evObjectDestroyed, 0, reinterpret_cast<intptr_t>(form_.data()));
        gEvMan->RemoveListener(&iuiWinAd::OnEventThunk, this);
    }
    delete form_.data();
    if (gEvMan) gEvMan->Send(evRedrawSheet);
    InstalledWindow().ScheduleWarningCheck();
    // Close dropped the flag already; a window opened since then holds it now.
    if (gEnviron && !closed_) gEnviron->AdWindowFlag = 0;
    if (gEvMan) gEvMan->Send(evRefreshMenusAndToolBar);
}

void iuiWinAd::CreateSheet() {
    sheet_ = std::make_unique<iuiSheet>(engine_, sheetHost_, nullptr, 1, 0, texts_, name_, images_);
}

void iuiWinAd::PlaceByDefault() {
    cuiGrid* grid = sheet_->Grid();
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The sheet's full width: every column beside the vertical scroll bar.
    // The form is not laid out before it shows, so its frames and margins
    // come from its layout's minimum with the grid held at that width.
    int columns = 0;
    for (int col = 0; col < grid->ColCount(); ++col)
        columns += grid->ColWidth(col);
    grid->setMinimumWidth(columns + 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width());
    const int width = std::max(form_->minimumSizeHint().width(), form_->minimumWidth());
    grid->setMinimumWidth(0);
    const int clientHeight = plat::Screen().PrimaryScreen().height / 2;
    plat::Rect place{0, 0, width, clientHeight + buttons_->height()};
    if (parent_) CenterOnForm(place, RectOf(parent_->geometry()));
    form_->setGeometry(place.left, place.top, place.width, place.height);
}

void iuiWinAd::KeepMinimumSize() {
    // Four buttons with their gaps, less one pixel; eight button rows high.
    form_->setMinimumSize(4 * (close_->width() + kGap) + 3 * kGap - 1, 8 * buttons_->height());
}

int32_t iuiWinAd::RestorePlacement() {
    const indEditFormPos* at = gEnviron ? gEnviron->FindEditFormPos(name_) : nullptr;
    if (!at) return 1;
    form_->setGeometry(at->Left, at->Top, at->Width, at->Height);
    // A window restored minimised could not be found again: it opens normal.
    if (at->WindowState == 2) form_->setWindowState(Qt::WindowMaximized);
    sheet_->SetPosition(at->Col, at->Row, at->LeftCol, at->TopRow);
    return 0;
}

void iuiWinAd::SavePlacement(int32_t openMark) {
    if (form_) StoreFormPlacement(name_, *form_, sheet_ ? sheet_->Grid() : nullptr, openMark);
}

void iuiWinAd::Close() {
    if (closed_) return;
    closed_ = true;
    SavePlacement(0);
    // The flag the menus check goes with the open mark, not a turn later
    // with the object: a redraw or font change before then finds it closed.
    if (gEnviron) gEnviron->AdWindowFlag = 0;
    if (form_) form_->hide();
    deleteLater();
    if (gEvMan) gEvMan->Send(evRefreshMenusAndToolBar);
}

bool iuiWinAd::MainFormEnabled() const {
    return !parent_ || parent_->window()->isEnabled();
}

void iuiWinAd::OnUpdate() {
    if (MainFormEnabled() && gAdjustManager) gAdjustManager->ReadAdValues();
}

void iuiWinAd::OnCloseButton() {
    if (MainFormEnabled()) Close();
}

void iuiWinAd::RedrawValues() {
    // The cells paint themselves from the readings the manager holds.
    if (sheet_ && !closed_) sheet_->RedrawCells();
}

void iuiWinAd::RebuildSheet() {
    if (!sheet_ || closed_ || !sheet_->Grid() || !sheet_->Grid()->isVisible()) return;
    sheet_.reset();
    CreateSheet();
    if (lookup_)
        if (const std::optional<SheetPosition> at = lookup_(name_))
            sheet_->SetPosition((*at)[0], (*at)[1], (*at)[2], (*at)[3]);
    sheet_->Build();
    SavePlacement(1);
}

void iuiWinAd::OnEventThunk(void* user, const cmcEvent& ev) {
    static_cast<iuiWinAd*>(user)->OnBusEvent(ev);
}

void iuiWinAd::OnBusEvent(const cmcEvent& ev) {
    switch (ev.type) {
    case evObjectDestroyed:
        if (parent_ && ev.p2 == reinterpret_cast<intptr_t>(parent_.data())) Close();
        break;
    case evAdListDone:
        RedrawValues();
        break;
    case evCloseNamedWindow:
        if (ev.Text() == name_ && !ev.data.empty()) Close();
        break;
    case evAdFontChanged:
        RebuildSheet();
        break;
    default:
        break;
    }
}

iuiWinAd* ToggleAdWindow(const CellEngine& engine, QWidget* mainForm, const std::string& caption,
                         cmcGTex& texts, const cuiSheet::ImageList* images, iuiWinAd::PositionLookup lookup) {
    const indEditFormPos* at = gEnviron ? gEnviron->FindEditFormPos(iuiWinAd::kName) : nullptr;
    if (at && at->Flag != 0) {
        if (gEvMan) gEvMan->SendText(evCloseNamedWindow, 0, 0, iuiWinAd::kName);
        return nullptr;
    }
    return new iuiWinAd(engine, mainForm, caption, texts, iuiWinAd::kName, images, std::move(lookup));
}

} // namespace adj
