#pragma once
#include <cstdint>
#include <string>

class cmcCellCapsule;

// What the document needs of the main window: its title, its sheets and
// tree, printing, the warning marks, the windows a command opens, its tool
// bar and menus, and the form itself. The main window implements it; a
// document without a window does without all of it.
class DocumentWindow {
public:
    virtual ~DocumentWindow() = default;

    // The file name or the modified state changed.
    virtual void UpdateTitle() = 0;

    virtual void CloseSheet() = 0;
    virtual void CloseSheetCmd() = 0;
    virtual void OpenSheet(const std::string& definition) = 0;
    virtual bool IsOpenSheetPrintable() const = 0;
    virtual void OpenRepeaterSettings(const cmcCellCapsule& request) = 0;
    // The tree of sheets is built again (after a model change or in maker mode).
    virtual void BuildTree() = 0;
    // 0 the open sheet, 1 all sheets.
    virtual void Print(int32_t allSheets) = 0;

    // The warning check over the tree: marks the nodes and counts errors and
    // warnings (either output may be absent).
    virtual void MarkWarnings(int* errors, int* warnings) = 0;
    // Runs the warning check 250 ms after the last call.
    virtual void ScheduleWarningCheck() = 0;

    // What the radio told in its last information reply.
    virtual void OpenCloneInformation() = 0;
    virtual void SelectComPort() = 0;
    // The panel that tells maker mode, with its text.
    virtual void ShowMakerPanel(const std::string& text) = 0;
    // The hourglass while a file is read or written: each true is ended by its own false.
    virtual void ShowBusy(bool busy) = 0;

    virtual void ToggleToolBar() = 0;
    virtual int32_t MainMenuSubItemCount(int32_t commandId) const = 0;
    virtual intptr_t MainMenuContext() const = 0;
    virtual void CloseMainForm() = 0;
};
