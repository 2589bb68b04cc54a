#include "ui/cuiEeDebugWin.h"

#include "cells/AppManager.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "platform/QtText.h"
#include "platform/Screen.h"
#include "ui/CenterOverForm.h"
#include "ui/cuiGrid.h"

#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>

namespace {

constexpr int kPanelBorder = 8;
constexpr int kBevel = 2;
constexpr int kButtonMargin = 5;

} // namespace

cuiEeDebugWin::cuiEeDebugWin(const CellEngine& engine, QWidget* owner, const std::string& caption,
                             cmcGTex& texts, const std::string& sheetName, const cuiSheet::ImageList* images)
    : owner_(owner) {
    gEvMan->AddListener(&cuiEeDebugWin::OnEventThunk, this);

    form_ = new QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    form_->setAttribute(Qt::WA_DeleteOnClose);
    form_->setWindowTitle(plat::ToQString(caption));
    // The window owns this object, so whatever ends the window ends the dump too.
    setParent(form_);
    auto* layout = new QVBoxLayout(form_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    panel_ = new QFrame(form_);
    panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel_->setLineWidth(kBevel);
    layout->addWidget(panel_);
    sheet_ = std::make_unique<cuiSheet>(engine, panel_, nullptr, 0, 0, texts, sheetName, images);
    sheet_->Build();
    panel_->layout()->setContentsMargins(kPanelBorder, kPanelBorder, kPanelBorder, kPanelBorder);

    // Three buttons of one size at the bottom right, none of them the default.
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(kButtonMargin, kButtonMargin, kButtonMargin, kButtonMargin);
    buttons->setSpacing(kButtonMargin);
    buttons->addStretch();
    redraw_ = new QPushButton(plat::ToQString(texts.GetTextLine("GI_EeDebugWin_Buttons", 1)), form_);
    setComp_ = new QPushButton(plat::ToQString(texts.GetTextLine("GI_EeDebugWin_Buttons", 0)), form_);
    close_ = new QPushButton(plat::ToQString(texts.GetTextLine("GI_AppInd_Button_OkCancel", 0)), form_);
    int buttonWidth = 0;
    for (QPushButton* b : {redraw_.data(), setComp_.data(), close_.data()})
        buttonWidth = std::max(buttonWidth, b->sizeHint().width());
    for (QPushButton* b : {redraw_.data(), setComp_.data(), close_.data()}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setFixedWidth(buttonWidth);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    // The close button is the cancel button: Esc ends the window as a click does.
    connect(close_, &QPushButton::clicked, form_, &QDialog::reject);
    connect(setComp_, &QPushButton::clicked, this, [] {
        gEvMan->Send(evTakeImageSnapshot);
        gEvMan->Post(evRedrawImageDebug);
    });
    connect(redraw_, &QPushButton::clicked, this, [] { gEvMan->Send(evDataReloaded); });

    // The panel takes the sheet's whole width and, up to half the screen,
    // its height; a taller dump scrolls.
    const int halfScreen = plat::Screen().PrimaryScreen().height / 2;
    cuiGrid* grid = sheet_->Grid();
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    form_->show();
    layout->activate();
    const bool scrolls = sheet_->GetFullHeight() > halfScreen;
    grid->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    layout->activate();
    panel_->setFixedHeight(std::min(sheet_->GetFullHeight(), halfScreen));
    layout->activate();
    panel_->setFixedWidth(sheet_->GetFullWidth());
    form_->adjustSize();
    CenterOverForm(*form_, owner_);
}

cuiEeDebugWin::~cuiEeDebugWin() {
    if (gEvMan) gEvMan->RemoveListener(&cuiEeDebugWin::OnEventThunk, this);
    sheet_.reset();
}

void cuiEeDebugWin::Redraw() {
    if (sheet_) sheet_->RedrawCells();
}

void cuiEeDebugWin::SelectAddress(intptr_t address) {
    if (!sheet_ || !gAppManager) return;
    if (address < 0 || address >= gAppManager->WorkingImage().GetSize()) return;
    const int32_t a = static_cast<int32_t>(address);
    const int32_t col = (a % kBytesPerRow) * 2 + kLeadingCols;
    const int32_t row = a / kBytesPerRow + kLeadingRows;
    if (col >= sheet_->ColCount() || row >= sheet_->RowCount()) return;
    sheet_->SetCurrentCell(col, row);
}

void cuiEeDebugWin::OnEventThunk(void* user, const cmcEvent& ev) {
    static_cast<cuiEeDebugWin*>(user)->OnEvent(ev);
}

void cuiEeDebugWin::OnEvent(const cmcEvent& ev) {
    if (ev.type == evRedrawImageDebug)
        Redraw();
    else if (ev.type == evSelectImageAddress)
        SelectAddress(ev.p2);
}
