#pragma once
#include "cells/AppManager.h"
#include "cells/WindowCommands.h"

#include <cstdint>
#include <string>
#include <vector>

// Test double for the application manager and the window the cells ask:
// installed as both, every command is recorded as one call (its name and
// arguments), changes nothing else, and answers with the values the test put
// into the public answer fields. The images and the
// radio's answers are the double's own; a test sizes and fills them as it
// needs. Its packing is the real one of the cloning program's layout, so
// that the cells pack what the program would.
class RecordingAppManager : public AppManager, public WindowCommands {
public:
    struct Call {
        std::string name;
        int32_t value = 0;  // the integer argument, where there is one
        int32_t value2 = 0; // a second integer or flag argument
        std::string text;   // the path or definition argument
        const cmcCellCapsule* request = nullptr;

        bool operator==(const Call&) const = default;
    };

    RecordingAppManager();

    cmcEeprom& WorkingImage() override { return working_; }
    cmcEeprom& ReferenceImage() override { return reference_; }
    cmcEeprom& SavedImage() override { return saved_; }
    const cmcEeprom& Snapshot() const override { return snapshot_; }
    // The working image becomes the snapshot, as the program's event 8 does.
    void TakeSnapshot() { snapshot_ = working_; }
    uint16_t ModelCode() const override { return modelCode_; }
    uint16_t SubCode() const override { return subCode_; }
    bool IsMakerMode() const override { return makerMode_; }
    CloneInfoBlock& InfoBlock() override { return infoBlock_; }
    RadioIdentity& Identity() override { return identity_; }
    int Static2Dynamic(cmcEeprom& image, int mode) override;

    void EnterMakerMode() override;
    void ChangeModel(int32_t modelIndex, bool ask) override;
    int CheckImage(const cmcEeprom& image, bool strict) override;
    bool CheckModel(int32_t code1, int32_t code2, int& result) override;
    RangeList CloneAreas(int32_t areaType) override;
    int ConfirmSave(bool another) override;
    void EndEdit() override;
    void SetModified() override;
    bool UpdateModified() override;
    void SetFileName(const std::string& path) override;
    bool IsUntitled() const override;
    std::string GetFileName() const override;
    void ScheduleWarningCheck() override;
    int NewFile() override;
    int OpenDialog() override;
    int OpenFile(const std::string& path) override;
    int SaveFile(const std::string& path) override;
    int SaveAsDialog() override;
    void Print(int32_t allSheets) override;
    void CloseSheet() override;
    void CloseSheetCmd() override;
    void OpenSheet(const std::string& definition) override;
    bool IsOpenSheetPrintable() const override;
    void ToggleToolBar() override;
    void OpenRepeaterSettings(const cmcCellCapsule& request) override;
    void CloneRead() override;
    void CloneWrite() override;
    void ReadCloneInfo() override;
    void SelectComPort() override;
    int32_t GetCellHelpContext(const cmcCellCapsule& request) override;
    int32_t MainMenuSubItemCount(int32_t commandId) const override;
    intptr_t MainMenuContext() const override { return mainMenuContext; }
    void CloseMainForm() override;

    // The names of the calls so far, in order.
    std::vector<std::string> Names() const;
    // How many calls of that name were made.
    int Count(const std::string& name) const;

    void SetMakerMode(bool on) { makerMode_ = on; }
    void SetModelWords(uint16_t code, uint16_t sub) {
        modelCode_ = code;
        subCode_ = sub;
    }

    std::vector<Call> calls;

    // Answers.
    int checkImageAnswer = 0;
    bool checkModelAnswer = true;
    int checkModelResult = 0; // stored into result when checkModelAnswer is false
    RangeList cloneAreasAnswer{{0, 0xFF7F}, kRangeListEnd};
    int confirmSaveAnswer = 6;
    bool modified = false; // what UpdateModified returns; SetModified sets it
    std::string fileName;  // empty: untitled
    std::string untitledName = "Untitled";
    int commandAnswer = 0; // NewFile, OpenDialog, OpenFile, SaveFile, SaveAsDialog
    bool sheetPrintable = false;
    int32_t helpContextAnswer = 0;
    int32_t editMenuSubItems = -1; // sub-items of the edit menu (-1: no such item)
    int32_t editMenuCommand = 20;  // the edit menu item's command id
    intptr_t mainMenuContext = 0x4D4D;

private:
    cmcEeprom working_;
    cmcEeprom reference_;
    cmcEeprom saved_;
    cmcEeprom snapshot_;
    uint16_t modelCode_ = 0x4410;
    uint16_t subCode_ = 0;
    bool makerMode_ = false;
    CloneInfoBlock infoBlock_{};
    RadioIdentity identity_{};

    void Record(const std::string& name, int32_t value = 0, int32_t value2 = 0, const std::string& text = {},
                const cmcCellCapsule* request = nullptr);
};
