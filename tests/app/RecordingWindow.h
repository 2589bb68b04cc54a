#pragma once
#include "app/DocumentWindow.h"
#include "cells/WindowCommands.h"

#include <cstdint>
#include <string>
#include <vector>

namespace apptest {

// What the document and the cells ask of a window, as the window heard it.
class RecordingWindow : public DocumentWindow, public WindowCommands {
public:
    void UpdateTitle() override { calls.push_back("UpdateTitle"); }
    void CloseSheet() override { calls.push_back("CloseSheet"); }
    void CloseSheetCmd() override { calls.push_back("CloseSheetCmd"); }
    void OpenSheet(const std::string& definition) override { calls.push_back("OpenSheet " + definition); }
    bool IsOpenSheetPrintable() const override { return true; }
    void OpenRepeaterSettings(const cmcCellCapsule&) override { calls.push_back("OpenRepeaterSettings"); }
    void BuildTree() override { calls.push_back("BuildTree"); }
    void Print(int32_t allSheets) override { calls.push_back("Print " + std::to_string(allSheets)); }
    void MarkWarnings(int* errors, int* warnings) override {
        calls.push_back("MarkWarnings");
        if (errors) *errors = 2;
        if (warnings) *warnings = 3;
    }
    void ScheduleWarningCheck() override { calls.push_back("ScheduleWarningCheck"); }
    void OpenCloneInformation() override { calls.push_back("OpenCloneInformation"); }
    void SelectComPort() override { calls.push_back("SelectComPort"); }
    void ShowMakerPanel(const std::string& text) override { calls.push_back("ShowMakerPanel " + text); }
    void ShowBusy(bool busy) override { calls.push_back(busy ? "Busy" : "NotBusy"); }
    void ToggleToolBar() override { calls.push_back("ToggleToolBar"); }
    int32_t MainMenuSubItemCount(int32_t commandId) const override { return commandId + 1; }
    intptr_t MainMenuContext() const override { return 0x4D4D; }
    void CloseMainForm() override { calls.push_back("CloseMainForm"); }

    std::vector<std::string> calls;
};

} // namespace apptest
