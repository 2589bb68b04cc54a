#pragma once
#include "cells/AppManager.h"
#include "clone/CloneCommands.h"
#include "clone/indCloneMan.h"
#include "foundation/cmcTick.h"
#include "platform/Fatal.h"

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

class cmcIcfFile;
class cmcTask;
struct cmcEvent;

// The pictures that cell definitions and tree nodes name by index.
using ImageList = QList<QIcon>;

// The main-window manager: the memory images of the running program, the
// clone manager with the clone commands, the main window's parts, the file
// being edited with its modified state, and the periodic task. A base class:
// the program's application manager derives from it and replaces the virtual
// operations that differ by program.
//
// Everything but CreateWindow works without a window, so the file commands
// and checks can be driven on their own.
class cuiMain : public AppManager {
public:
    // The image size of the program's memory map; a smaller capacity cannot hold it.
    static constexpr int32_t kImageMap = 148298;
    static constexpr int kWarningDelayMs = 250;
    static constexpr int kTaskIntervalMs = 50;
    static constexpr int kSplitterMinSize = 8;

    // Binds the text tables to the overlays "<directory><name>.OVL" and
    // "<directory><name>H.OVL", and makes this the program's application manager.
    cuiMain(const std::string& programName, int32_t capacity,
            const std::string& programDirectory = plat::ProgramDirectory());
    ~cuiMain() override;
    cuiMain(const cuiMain&) = delete;
    cuiMain& operator=(const cuiMain&) = delete;

    // Virtual operations, in the framework's order.
    virtual void InitModelInfo();
    // Builds the window in the main form (menu, tool bar, tree panel, splitter,
    // sheet panel, status bar), loads the start-up data and shows the form.
    virtual void CreateWindow(QMainWindow* form, const ImageList* treeImages, const ImageList* toolBarImages);
    virtual void BuildTree();
    int CheckImage(const cmcEeprom& image, bool strict) override;
    virtual bool IsLockedOutNewerData(const cmcEeprom& image);
    virtual void AfterLoad(cmcEeprom& image);
    // Mode 0 after loading, 1 before writing.
    virtual void NormalizeImage(cmcEeprom& image, int mode);
    // Either count may be absent.
    virtual void CheckWarnings(int* errors, int* warnings);
    // Reads the model's start-up data file into the reference image; a file
    // that cannot be used ends the program.
    virtual void LoadInitialFile(int32_t modelIndex);
    bool CheckModel(int32_t code1, int32_t code2, int& result) override;
    RangeList CloneAreas(int32_t areaType) override;

    // The start-up data of the stored model becomes the reference image and,
    // packed, the working image; the data is then unmodified and untitled.
    void LoadStartupData();

    // File commands and state.
    int ConfirmSave(bool another) override;
    void EndEdit() override;
    void SetModified() override;
    bool UpdateModified() override;
    void ClearModified();
    bool IsModified() const { return modified_; }
    void SetFileName(const std::string& path) override;
    bool IsUntitled() const override { return fileName_.empty(); }
    std::string GetFileName() const override;
    void ScheduleWarningCheck() override;
    int NewFile() override;
    int OpenDialog() override;
    int OpenFile(const std::string& path) override;
    int SaveFile(const std::string& path) override;
    int SaveAsDialog() override;
    const std::string& LastDirectory() const { return lastDirectory_; }

    // Sheets and printing are not part of the window yet: these are the
    // places where they join it.
    void Print(int32_t allSheets) override;
    void CloseSheet() override;
    void CloseSheetCmd() override;
    void OpenSheet(const std::string& definition) override;
    bool IsOpenSheetPrintable() const override { return false; }
    void OpenRepeaterSettings(const cmcCellCapsule& request) override;

    // The clone commands; each ends silently while a clone job runs.
    void CloneRead() override;
    void CloneWrite() override;
    void ReadCloneInfo() override;
    // The COM port dialog over the main form.
    void SelectComPort() override;
    // The maker caution: 1 (OK) lets maker mode in, and a clone write go on in maker mode.
    int ConfirmMakerCaution();
    // What the radio told in its last information reply, as the information
    // cells put it.
    void OpenCloneInformation();
    indCloneMan& CloneManager() { return *cloneMan_; }

    void ToggleToolBar() override;
    // The main menu is built from "GI_Menu_Main" once the menu cells join the
    // window; until then it has no items.
    int32_t MainMenuSubItemCount(int32_t commandId) const override;
    intptr_t MainMenuContext() const override;
    void CloseMainForm() override;
    // "<file name> - <program title>", the file name "Untitled" while there is none.
    void UpdateTitle();

    // The main form's events.
    void OnFormShown();
    // The close query: false keeps the form open.
    bool CloseQuery();
    void OnFormClosed();

    const std::string& ProgramName() const { return programName_; }
    const cmcEeprom& Snapshot() const { return snapshot_; }
    bool IsApplicationInactive() const { return inactive_; }
    QMainWindow* Form() const { return form_; }
    QToolBar* ToolBar() const { return toolBar_; }
    QStatusBar* StatusBar() const { return statusBar_; }
    QFrame* TreePanel() const { return treePanel_; }
    QFrame* SheetPanel() const { return sheetPanel_; }
    const std::string& StatusMessage() const { return messageText_; }

protected:
    // Binds a file handler to the image for a load with the program's tests:
    // format number below 2 and CheckModel on the header.
    void SetUpLoad(cmcIcfFile& file, cmcEeprom& image);
    // The working image becomes the reference image with its dynamic area
    // packed again, as saved.
    void ResetWorkingImage();
    // Replaces the clone commands by the application manager's own kind.
    template <class Commands> void UseCloneCommands() {
        cloneCommands_.reset(); // takes its checks out of the clone manager
        cloneCommands_ = std::make_unique<Commands>(*cloneHost_, *cloneMan_);
    }
    // Inserts a status panel just before the last one.
    void InsertStatusPanel(QLabel* panel);
    std::string AppTitle() const;

    int32_t capacity_;
    std::string programName_;
    std::string programDirectory_;
    int32_t memoryEnd_ = 0;

    QPointer<QMainWindow> form_;
    const ImageList* treeImages_ = nullptr;
    const ImageList* toolBarImages_ = nullptr;
    QPointer<QFrame> treePanel_;
    QPointer<QFrame> sheetPanel_;
    QPointer<QSplitter> splitter_;
    QPointer<QToolBar> toolBar_;
    QPointer<QStatusBar> statusBar_;
    QPointer<QLabel> messagePanel_;
    int statusPanels_ = 0;
    uint32_t messageTextColor_ = 0x80000008;
    uint32_t messageBackColor_ = 0x8000000F;
    std::string messageText_;

    std::string lastDirectory_;
    std::string fileName_;
    bool modified_ = false;
    std::optional<cmcTick> warningDelay_;
    cmcEeprom snapshot_;
    cmcTask* task_ = nullptr;
    bool inactive_ = false;

    // The commands run their jobs on the manager and reach the window
    // through the host: the manager outlives both.
    std::unique_ptr<indCloneMan> cloneMan_;
    std::unique_ptr<CloneHost> cloneHost_;
    std::unique_ptr<CloneCommands> cloneCommands_;

private:
    static void OnEventThunk(void* user, const cmcEvent& ev);
    static void OnTaskThunk(void* user, cmcTask* task);
    void OnEvent(const cmcEvent& ev);
    void OnTick();
    void InitDirectory();
    void SetStatusMessage(uint32_t textColor, uint32_t backColor, const std::string& text);
    void RememberDirectory(const std::string& path);
    std::string SaveComment() const;

    AppManager* previousManager_;
};
