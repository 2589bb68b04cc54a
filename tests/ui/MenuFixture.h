#pragma once
#include "cells/CellEngine.h"
#include "cells/WindowCommands.h"
#include "cells/indActiveCell.h"
#include "foundation/cmcGTex.h"
#include "tests/app/DocumentFixture.h"
#include "ui/AppIcons.h"
#include "ui/cuiMenu.h"

#include <QApplication>
#include <QMainWindow>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

namespace uitest {

// The main window as far as the menu cells ask for it: the main menu's
// sub-item counts and bus name, the tool-bar switch, and a record of the
// commands that reach it.
class MenuWindow : public WindowCommands {
public:
    void CloseSheetCmd() override { calls.push_back("CloseSheetCmd"); }
    void OpenSheet(const std::string& definition) override { calls.push_back("OpenSheet " + definition); }
    bool IsOpenSheetPrintable() const override { return printable; }
    void OpenRepeaterSettings(const cmcCellCapsule&) override {}
    void Print(int32_t allSheets) override { calls.push_back("Print " + std::to_string(allSheets)); }
    void ScheduleWarningCheck() override {}
    void SelectComPort() override {}
    void ToggleToolBar() override {
        calls.push_back("ToggleToolBar");
        gEnviron->ToolbarVisible = gEnviron->ToolbarVisible ? 0 : 1;
    }
    int32_t MainMenuSubItemCount(int32_t commandId) const override {
        return menu ? menu->SubItemCount(commandId) : -1;
    }
    intptr_t MainMenuContext() const override { return cuiMenu::BusId(menu); }
    void CloseMainForm() override {
        calls.push_back("CloseMainForm");
        if (onClose) onClose();
    }

    cuiMenu* menu = nullptr;
    bool printable = true;
    std::function<void()> onClose;
    std::vector<std::string> calls;
};

// The fixture lists of menus and tool bars (tests/data/menus), over the
// shipped overlay's cells and the stored model's start-up data, with a form
// to show them in.
class MenuFixture : public apptest::DocumentFixture {
protected:
    MenuFixture() {
        StartWithData();
        texts_.SetFile(TOLVANE_SOURCE_DIR "/tests/data/menus/menus.ovl");
        form_.resize(480, 320);
    }

    const CellEngine& Engine() { return InstalledCellEngine(); }
    static int32_t Id(const char* name) { return indActiveCell::CellIndex(name); }

    void Show() {
        form_.show();
        QApplication::setActiveWindow(&form_);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
    }

    // Posted events reach their listeners on the bus's next tick.
    void Dispatch() { scheduler_.Advance(50); }

    MenuWindow window_;
    ScopedWindowCommands useWindow_{&window_};
    cmcGTex texts_;
    ImageList images_ = MakeToolBarImageList();
    QMainWindow form_;
};

} // namespace uitest
