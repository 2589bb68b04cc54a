#include "cells/WindowCommands.h"

namespace {

class NoWindow : public WindowCommands {
public:
    void Print(int32_t) override {}
    bool IsOpenSheetPrintable() const override { return false; }
    void OpenSheet(const std::string&) override {}
    void CloseSheetCmd() override {}
    void OpenRepeaterSettings(const cmcCellCapsule&) override {}
    void SelectComPort() override {}
    void ToggleToolBar() override {}
    void ScheduleWarningCheck() override {}
    int32_t MainMenuSubItemCount(int32_t) const override { return -1; }
    intptr_t MainMenuContext() const override { return 0; }
    void CloseMainForm() override {}
};

NoWindow gNone;
WindowCommands* gWindow = &gNone;

} // namespace

WindowCommands& InstalledWindow() {
    return *gWindow;
}

void SetWindowCommands(WindowCommands* window) {
    gWindow = window ? window : &gNone;
}
