#pragma once
#include "app/DocumentWindow.h"
#include "cells/LayoutCache.h"
#include "cells/WindowCommands.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcFCache.h"
#include "foundation/ColorName.h"
#include "foundation/cmcTick.h"
#include "image/datClipCh.h"
#include "ui/SheetPrintJob.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CloneProgressView;
class Segchar;
class CellEngine;
class cuiMenu;
class cuiSheet;
class cuiToolBar;
class iuiTree;
class ProgramPopupOpener;
class cuiInformation;
class iuiRptSetWin;
class Document;
class cmcTask;
struct cmcEvent;

// The pictures that cell definitions and tree nodes name by index.
using ImageList = QList<QIcon>;

// The main-window manager: the main window's parts (menu bar, tool bar, tree
// panel, splitter, sheet panel, status bar), its title, the periodic task
// and the windows the commands open, over the program's document, which it
// shows and which reaches it through DocumentWindow; the cells reach it
// through WindowCommands. A base class: each program's window derives from it
// for what it draws differently.
class cuiMain : public DocumentWindow, public WindowCommands {
public:
    static constexpr int kWarningDelayMs = 250;
    static constexpr int kTaskIntervalMs = 50;
    static constexpr int kSplitterMinSize = 8;
    // The repeater-site window's sheet and the key of its placement.
    static constexpr char kRepeaterSheet[] = "GI_Sheet_RptSetWin";

    // Becomes the document's window and the cells' while it lives.
    explicit cuiMain(Document& document);
    ~cuiMain() override;
    cuiMain(const cuiMain&) = delete;
    cuiMain& operator=(const cuiMain&) = delete;

    Document& Doc() const { return document_; }

    // Builds the window in the main form (menu, tool bar, tree panel, splitter,
    // sheet panel, status bar), loads the start-up data and shows the form.
    virtual void CreateWindow(QMainWindow* form, const ImageList* treeImages, const ImageList* toolBarImages);
    // The program's arguments, the program path first.
    void SetCommandLine(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }

    // What the document asks of the window.
    // "<file name> - <program title>", the file name "Untitled" while there is none.
    void UpdateTitle() override;
    void CloseSheet() override;
    void BuildTree() override;
    void MarkWarnings(int* errors, int* warnings) override;
    // What the radio told in its last information reply: the information
    // window with the information cells, over the main form.
    void OpenCloneInformation() override;
    // White on dark red, just before the last panel.
    void ShowMakerPanel(const std::string& text) override;
    void ShowBusy(bool busy) override;

    // What the cells ask of the window.
    void Print(int32_t allSheets) override;
    bool IsOpenSheetPrintable() const override;
    void OpenSheet(const std::string& definition) override;
    void CloseSheetCmd() override;
    // The repeater-site window for the site of the asking cell, over the main form.
    void OpenRepeaterSettings(const cmcCellCapsule& request) override;
    // The repeater-site window's Load and Save for its site: 1 (nothing
    // done) unless the program has repeater files.
    virtual int ImportRepeaterDialog(int32_t site);
    virtual int ExportRepeaterDialog(int32_t site);
    // The COM port dialog over the main form.
    void SelectComPort() override;
    void ToggleToolBar() override;
    void ScheduleWarningCheck() override;
    // Answered from the main menu's cells, not from the menu bar.
    int32_t MainMenuSubItemCount(int32_t commandId) const override;
    intptr_t MainMenuContext() const override;
    void CloseMainForm() override;

    // The main form's events.
    void OnFormShown();

    // The sheet a definition names, built in parent: the bank, common and
    // channel-list kinds by type and parameters, else a plain sheet.
    virtual std::unique_ptr<cuiSheet> CreateSheet(QWidget* parent, const std::string& definition);
    // The main menu over its root and the tree in its panel, of the program's own classes.
    virtual std::unique_ptr<cuiMenu> CreateMenu(const CellEngine& engine, QWidget* root,
                                                const std::string& key);
    virtual std::unique_ptr<iuiTree> CreateTree(QWidget* parent, const std::string& key);
    struct SheetPosition {
        std::string name;
        std::string definition;
        int32_t col = 0;
        int32_t row = 0;
        int32_t leftCol = 0;
        int32_t topRow = 0;
    };
    // The position last left in a sheet of that name.
    std::optional<SheetPosition> FindSheetPosition(const std::string& name) const;
    // Evaluates the selected node's cell, which opens its sheet, unless that
    // sheet is already open.
    void OnTreeChange();
    // Deletes every node whose cell carries flag kind (0..7).
    virtual void RemoveTreeNodes(int kind);
    cuiSheet* Sheet() const { return sheet_.get(); }
    iuiTree* Tree() const { return tree_.get(); }
    // The close query: false keeps the form open.
    bool CloseQuery();
    void OnFormClosed();

    bool IsApplicationInactive() const { return inactive_; }
    QMainWindow* Form() const { return form_; }
    QToolBar* ToolBar() const { return toolBar_; }
    cuiMenu* MainMenu() const { return menu_.get(); }
    cuiToolBar* MainToolBar() const { return tools_.get(); }
    QStatusBar* StatusBar() const { return statusBar_; }
    QFrame* TreePanel() const { return treePanel_; }
    QFrame* SheetPanel() const { return sheetPanel_; }
    // The information window while it is open.
    cuiInformation* Information() const;
    // The repeater-site window while it is open.
    iuiRptSetWin* RepeaterWindow() const;
    QWidget* AboutBox() const { return about_; }

    // The print job the Print cells start, stepped a node a tick.
    const SheetPrintJob& PrintJob() const { return printJob_; }
    const std::string& StatusMessage() const { return messageText_; }

protected:
    // Inserts a status panel just before the last one.
    void InsertStatusPanel(QLabel* panel);

    Document& document_;
    std::vector<std::string> arguments_;

    // What the cells find installed while this window lives: the layouts of
    // the lists, the display's glyph segments and the channel clipboard.
    cmcFCache layouts_;
    ScopedLayoutCache useLayouts_{&layouts_};
    std::unique_ptr<Segchar> segments_;
    datClipCh clipboard_;

    std::unique_ptr<cuiMenu> menu_;
    std::unique_ptr<cuiToolBar> tools_;
    std::unique_ptr<iuiTree> tree_;
    std::unique_ptr<cuiSheet> sheet_;
    // Newest first, one entry a sheet name.
    std::vector<SheetPosition> history_;
    bool focusGrid_ = false;
    bool inTick_ = false;
    bool reopen_ = true;

    QPointer<QMainWindow> form_;
    const ImageList* treeImages_ = nullptr;
    const ImageList* toolBarImages_ = nullptr;
    QPointer<QFrame> treePanel_;
    QPointer<QFrame> sheetPanel_;
    QPointer<QSplitter> splitter_;
    QPointer<QToolBar> toolBar_;
    QPointer<QStatusBar> statusBar_;
    QPointer<QLabel> messagePanel_;
    QPointer<QLabel> makerPanel_;
    int statusPanels_ = 0;
    uint32_t messageTextColor_ = clWindowText;
    uint32_t messageBackColor_ = clBtnFace;
    std::string messageText_;

    std::optional<cmcTick> warningDelay_;
    cmcTask* task_ = nullptr;
    bool inactive_ = false;
    CloneProgressView* progress_ = nullptr;
    // The lists the cells open beside their cells, while this window lives.
    std::unique_ptr<ProgramPopupOpener> popups_;
    QPointer<QObject> information_;
    QPointer<QObject> repeaterWindow_;
    QPointer<QWidget> about_;
    // The memo of the debug comparison while it is shown.
    QPointer<QWidget> debugMemo_;

    // Fed by the tree and this window's sheet factory.
    SheetPrintJob printJob_;

private:
    static void OnEventThunk(void* user, const cmcEvent& ev);
    static void OnTaskThunk(void* user, cmcTask* task);
    void OnEvent(const cmcEvent& ev);
    void OnTick();
    // A sheet leaves the screen at once but is deleted only once the input it
    // may be handling has returned.
    void Retire(std::unique_ptr<cuiSheet> sheet);
    void ShowAbout();
    void ShowDebugComparison();
    void SetStatusMessage(uint32_t textColor, uint32_t backColor, const std::string& text);
};
