#pragma once
#include <cstdint>
#include <string>

class cmcCellCapsule;

// What the cells ask of the main window: printing, the sheets, the windows
// and dialogs a command opens, the tool bar, the main menu, the form itself
// and the delayed warning check. The main window installs itself while it
// lives; with none installed the requests do nothing and the answers are
// those of a window with no sheet and no menu.
class WindowCommands {
public:
    virtual ~WindowCommands() = default;

    // 0 the open sheet, 1 all sheets.
    virtual void Print(int32_t allSheets) = 0;
    // True when a sheet is open and it may be printed.
    virtual bool IsOpenSheetPrintable() const = 0;
    virtual void OpenSheet(const std::string& definition) = 0;
    // Closes the open sheet, which the window opens again with the new view settings.
    virtual void CloseSheetCmd() = 0;
    // The repeater-site window for the site of the asking cell.
    virtual void OpenRepeaterSettings(const cmcCellCapsule& request) = 0;
    virtual void SelectComPort() = 0;
    virtual void ToggleToolBar() = 0;
    // Runs the warning check 250 ms after the last call.
    virtual void ScheduleWarningCheck() = 0;

    // The main menu: the number of sub-items of the item whose cell has the
    // command id (-1 when the menu has no such item), and the value that the
    // menu-building events carry to name the main menu (their first value).
    virtual int32_t MainMenuSubItemCount(int32_t commandId) const = 0;
    virtual intptr_t MainMenuContext() const = 0;
    // Closes the main form, which ends the program.
    virtual void CloseMainForm() = 0;
};

// The installed window, or the one that does nothing.
WindowCommands& InstalledWindow();
void SetWindowCommands(WindowCommands* window);

// Installs a window for the lifetime of a scope.
class ScopedWindowCommands {
public:
    explicit ScopedWindowCommands(WindowCommands* window) : old_(&InstalledWindow()) {
        SetWindowCommands(window);
    }
    ~ScopedWindowCommands() { SetWindowCommands(old_); }
    ScopedWindowCommands(const ScopedWindowCommands&) = delete;
    ScopedWindowCommands& operator=(const ScopedWindowCommands&) = delete;

private:
    WindowCommands* old_;
};
