#pragma once
// The A/D monitor as the adjustment program opens it: over a plain main
// form, with the program's cell engine and its shipped overlay, the real
// adjustment link as the manager the cells ask for their readings, against
// the radio simulator on a pseudo-terminal, on a fixed desktop.
#include "adjust/AdjustVocabulary.h"
#include "adjust/ui/iuiWinAd.h"
#include "cells/CellEngine.h"
#include "image/CurrentImage.h"
#include "platform/Screen.h"
#include "tests/adjust/AdjustLinkFixture.h"
#include "ui/cuiGrid.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <map>
#include <string>
#include <utility>

namespace adjtest {

class AdWindowFixture : public AdjustLinkFixture {
protected:
    AdWindowFixture() {
        plat::SetScreen(&screen);
        SetCurrentImage(&workspace.work);
        mainForm.setGeometry(340, 600, 600, 300);
        mainForm.show();
    }
    ~AdWindowFixture() override {
        if (window) window->Close();
        Settle();
        plat::SetScreen(nullptr);
        SetCurrentImage(nullptr);
    }

    // What the manager does on a request for the monitor; the window, or
    // null when the request closed it.
    adj::iuiWinAd* Toggle() {
        adj::iuiWinAd* opened = adj::ToggleAdWindow(adj::AdjustCellEngine(), &mainForm,
                                                    texts.GetTextLine("GI_Sys_AppTitle_ADJ", 0), texts);
        // The link tells the window of a finished list while the flag is up.
        workspace.adWindowOpen = gEnviron->AdWindowFlag != 0;
        if (opened) window = opened;
        Settle();
        return opened;
    }

    // Lets closed windows go.
    static void Settle() {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The text every cell of the window's sheet shows, drawn as the user sees it.
    std::map<std::pair<int, int>, std::string> Shown() {
        std::map<std::pair<int, int>, std::string> texts;
        adj::iuiSheet& sheet = *window->Sheet();
        sheet.SetOwnerCallback([&](cmcCellCapsule& request, int32_t) {
            const int32_t r = adj::AdjustCellEngine().Execute(request, 1);
            for (int row = 0; row < sheet.RowCount(); ++row)
                for (int col = 0; col < sheet.ColCount(); ++col)
                    if (&sheet.GetCell(col, row) == request.cell) texts[{col, row}] = request.displayText;
            return r;
        });
        window->Form()->grab();
        sheet.SetOwnerCallback(
            [](cmcCellCapsule& request, int32_t) { return adj::AdjustCellEngine().Execute(request, 1); });
        return texts;
    }

    const indEditFormPos* Entry() const { return gEnviron->FindEditFormPos(adj::iuiWinAd::kName); }

    ScopedCellEngine engine{adj::AdjustCellEngine()};
    adj::ScopedAdjustManager useMan{&automation};
    plat::FixedScreen screen{{0, 0, 1280, 1024}, {0, 0, 1280, 984}};
    QWidget mainForm;
    QPointer<adj::iuiWinAd> window;
};

} // namespace adjtest
