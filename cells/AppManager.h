#pragma once
#include "image/RangeList.h"
#include "image/cmcEeprom.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class cmcCellCapsule;

// What the cells, the clone commands and the row edits need of the
// application manager, which lives in the window layer (indMain on cuiMain).
// The images and the radio's answers are plain fields here, so that every
// implementation, the test double included, holds them the same way; the
// operations are the manager's commands and checks.
class AppManager {
public:
    static constexpr int32_t kInfoBlockSize = 127;

    virtual ~AppManager() = default;

    // The working image (what the user edits), the reference image (the
    // current model's start-up data, expanded: the template for empty
    // records and the source of normalisation) and the working image as last
    // loaded or saved.
    cmcEeprom& WorkingImage() { return working_; }
    cmcEeprom& ReferenceImage() { return reference_; }
    cmcEeprom& SavedImage() { return saved_; }
    const cmcEeprom& WorkingImage() const { return working_; }
    const cmcEeprom& ReferenceImage() const { return reference_; }
    const cmcEeprom& SavedImage() const { return saved_; }

    // The program's model words: the word the radio must report and the
    // first header word of a clone data file, and the second word.
    uint16_t ModelCode() const { return modelCode_; }
    uint16_t SubCode() const { return subCode_; }

    // The radio's answer to the last information request: its identity
    // (information word 1 high and low, word 2 high and low) and the
    // information block (byte 0 the payload length, byte 35 the revision,
    // bytes 37 on the serial number, bytes 56..59 the clone-area end as
    // four hexadecimal characters). The clone commands fill them.
    std::array<uint8_t, 4>& RadioIdentity() { return radioIdentity_; }
    std::array<uint8_t, kInfoBlockSize>& InfoBlock() { return infoBlock_; }
    const std::array<uint8_t, 4>& RadioIdentity() const { return radioIdentity_; }
    const std::array<uint8_t, kInfoBlockSize>& InfoBlock() const { return infoBlock_; }

    // Maker mode widens the cloned area and lets the maker cells act. Only
    // EnterMakerMode sets it (after the user confirmed the caution), and it
    // stays on for the run.
    bool IsMakerMode() const { return makerMode_; }
    virtual void EnterMakerMode() = 0;

    // Makes a model index 0..9 the current model; with ask, after the user's
    // OK, and the working image becomes the new model's empty data.
    virtual void ChangeModel(int32_t modelIndex, bool ask) = 0;

    // Image and file checks. CheckImage: 0 acceptable, 1 not (strict before a
    // clone write). CheckModel: the header test of a clone data file and the
    // model test of the clone commands; on refusal stores 3 (code1 differs)
    // or 4 (code2 differs). CloneAreas: the ranges of an area type (0 user
    // clone write, 1 maker write and read, 2 file save, 3 file open and
    // start-up data, 5 repeater file), ended by {1, 0}.
    virtual int CheckImage(const cmcEeprom& image, bool strict) = 0;
    virtual bool CheckModel(int32_t code1, int32_t code2, int& result) = 0;
    virtual RangeList CloneAreas(int32_t areaType) = 0;

    // The question before unsaved data is dropped: 6 Yes, 7 No, 2 Cancel.
    // With another set, the question of saving under another name.
    virtual int ConfirmSave(bool another) = 0;
    // Ends any cell editing; every file, print and clone command does it first.
    virtual void EndEdit() = 0;
    virtual void SetModified() = 0;
    // Sets the modified flag when the working image differs from the saved
    // copy, and returns the flag.
    virtual bool UpdateModified() = 0;
    // Stores the file path (empty: untitled) and updates the title.
    virtual void SetFileName(const std::string& path) = 0;
    virtual bool IsUntitled() const = 0;
    // The current file path, or the untitled name in the last directory.
    virtual std::string GetFileName() const = 0;
    // Runs the warning check 250 ms after the last call.
    virtual void ScheduleWarningCheck() = 0;

    // File commands: 0 success, 1 failure or cancelled; every failure has
    // been reported to the user already.
    virtual int NewFile() = 0;
    virtual int OpenDialog() = 0;
    virtual int OpenFile(const std::string& path) = 0;
    virtual int SaveFile(const std::string& path) = 0;
    virtual int SaveAsDialog() = 0;
    // 0 the open sheet, 1 all sheets.
    virtual void Print(int32_t allSheets) = 0;

    // Sheets and view.
    virtual void CloseSheet() = 0;
    virtual void CloseSheetCmd() = 0;
    virtual void OpenSheet(const std::string& definition) = 0;
    // True when a sheet is open and it may be printed.
    virtual bool IsOpenSheetPrintable() const = 0;
    virtual void ToggleToolBar() = 0;
    virtual void OpenRepeaterSettings(const cmcCellCapsule& request) = 0;

    // Clone commands.
    virtual void CloneRead() = 0;
    virtual void CloneWrite() = 0;
    virtual void ReadCloneInfo() = 0;
    virtual void SelectComPort() = 0;

    // The help context number of a cell, 0 when it has none.
    virtual int32_t GetCellHelpContext(const cmcCellCapsule& request) = 0;

    // The main menu: the number of sub-items of the item whose cell has the
    // command id (-1 when the menu has no such item), and the value that the
    // menu-building events carry to name the main menu (their first value).
    virtual int32_t MainMenuSubItemCount(int32_t commandId) const = 0;
    virtual intptr_t MainMenuContext() const = 0;
    // Closes the main form, which ends the program.
    virtual void CloseMainForm() = 0;

protected:
    cmcEeprom working_;
    cmcEeprom reference_;
    cmcEeprom saved_;
    uint16_t modelCode_ = 0;
    uint16_t subCode_ = 0;
    std::array<uint8_t, 4> radioIdentity_{};
    std::array<uint8_t, kInfoBlockSize> infoBlock_{};
    bool makerMode_ = false;
};

// The program's application manager; the manager sets it while it lives,
// tests set their double.
extern AppManager* gAppManager;

// Installs an application manager for the lifetime of a scope.
class ScopedAppManager {
public:
    explicit ScopedAppManager(AppManager* manager) : old_(gAppManager) { gAppManager = manager; }
    ~ScopedAppManager() { gAppManager = old_; }
    ScopedAppManager(const ScopedAppManager&) = delete;
    ScopedAppManager& operator=(const ScopedAppManager&) = delete;

private:
    AppManager* old_;
};
