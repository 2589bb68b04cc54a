#include "ui/TForm1.h"

#include "app/Document.h"
#include "cells/cmcCellObj.h"
#include "foundation/FontDesc.h"
#include "foundation/Globals.h"
#include "foundation/Placement.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "platform/QtText.h"
#include "platform/Screen.h"
#include "ui/AppIcons.h"
#include "ui/QtConvert.h"

#include <QCloseEvent>
#include <QShowEvent>

TForm1::TForm1(cuiMain& manager, QWidget* parent) : QMainWindow(parent), manager_(manager) {
    setWindowTitle(plat::ToQString(gGTex->GetText(manager_.Doc().Profile().titleKey)));

    cmcCellObj cell;
    cell.Parse(gGTex->GetText("GI_Form_Main_BasicCell"), nullptr, nullptr);
    if (cell.font) {
        FontDesc font;
        CopyFont(&font, cell.font.get());
        setFont(ToQFont(font, QMainWindow::font()));
        QPalette p = palette();
        p.setColor(QPalette::WindowText, ToQColor(font.color, p));
        setPalette(p);
    }

    plat::Rect bounds{gEnviron->WindowLeft, gEnviron->WindowTop, gEnviron->WindowWidth,
                      gEnviron->WindowHeight};
    KeepFormReachable(bounds, plat::Screen().WorkArea(), kWorkAreaMargin);
    setGeometry(bounds.left, bounds.top, bounds.width, bounds.height);

    treeImages_ = MakeTreeImageList();
    toolBarImages_ = MakeToolBarImageList();
    setMinimumSize(kMinWidth, kMinHeight);

    manager_.CreateWindow(this, &treeImages_, &toolBarImages_);
}

TForm1::~TForm1() {
    if (manager_.Form() == this) manager_.OnFormClosed();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) manager_.OnFormShown();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!manager_.CloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    manager_.OnFormClosed();
}
