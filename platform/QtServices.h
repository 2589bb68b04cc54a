#pragma once
#include "platform/FileDialog.h"
#include "platform/HelpViewer.h"
#include "platform/KeyState.h"
#include "platform/MessageBox.h"
#include "platform/QtPrinter.h"
#include "platform/Screen.h"
#include "platform/Timer.h"

namespace plat {

// The services as the programs have them, on Qt Widgets. Create after the QApplication.
class QtMessageBoxService : public MessageBoxService {
public:
    int Show(const std::string& text, const std::string& caption, unsigned flags) override;
};

// QFileDialog on the application's active window; the Windows filter is
// turned into Qt's name filters.
class QtFileDialogService : public FileDialogService {
public:
    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
    std::string DocumentsFolder() override;
};

class QtTimerService : public TimerService {
public:
    std::unique_ptr<Timer> CreateTimer(std::function<void()> onTimeout) override;
};

class QtScreenService : public ScreenService {
public:
    Rect WorkArea() override;
    Rect PrimaryScreen() override;
};

// Help files open in the desktop's viewer for their type; a topic's pop-up
// and the finder both show the file, which has no pop-ups of its own here.
class QtHelpViewer : public HelpViewer {
public:
    void SetHelpFile(const std::string& path) override { path_ = path; }
    void ShowContextPopup(int32_t context) override;
    void ShowFinder() override;

private:
    std::string path_;
};

// Shift as the window system reported it with the last key or mouse event,
// which is the state of the key or click being handled.
class QtKeyState : public KeyStateService {
public:
    bool ShiftDown() override;
};

class QtClipboard : public Clipboard {
public:
    void SetText(const std::string& text) override;
};

// Shows the text in an error box captioned with the program's file name, then ends the process.
void QtFatalHandler(const std::string& text);

// Installs all of the above as the process's services.
class QtServices {
public:
    QtServices();
    ~QtServices();

private:
    QtMessageBoxService boxes_;
    QtFileDialogService dialogs_;
    QtTimerService timers_;
    QtScreenService screen_;
    QtHelpViewer help_;
    QtClipboard clipboard_;
    QtPrinterService printer_;
    QtKeyState keys_;
    KeyStateService* keysBefore_;
};

} // namespace plat
