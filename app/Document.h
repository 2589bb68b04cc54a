#pragma once
#include "cells/AppManager.h"
#include "clone/CloneCommands.h"
#include "clone/CloneHost.h"
#include "clone/indCloneMan.h"
#include "foundation/ProgramProfile.h"
#include "image/ImagePacking.h"
#include "image/cmcEeprom.h"
#include "platform/Fatal.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class DocumentWindow;
class cmcIcfFile;
struct cmcEvent;

// The program's document: the working image the user edits, the current
// model's reference image, the copy as last saved and the debug snapshot;
// the file name, the last directory and the modified state; the model words
// and the model; what the radio last told; maker mode; the file commands and
// the question before unsaved data is dropped; the clone commands; and the
// one packing entry, which a program with another layout replaces. It is the
// cells' application manager and the clone commands' host at once.
//
// A base class: each program derives its own document with its answers for
// the model information, the image passes, the model change and maker mode.
// What it needs of the main window goes through DocumentWindow; without a
// window those requests do nothing, so the file commands run on their own.
// The cells' requests to the window do not pass through it.
class Document : public AppManager, public CloneHost {
public:
    // The image size of the programs' memory map.
    static constexpr int32_t kImageMap = 148298;
    static constexpr int32_t kModels = 10;

    // Binds the text tables to the profile's overlays in the program's
    // directory, and makes this the program's application manager.
    Document(const ProgramProfile& profile, int32_t capacity,
             const std::string& programDirectory = plat::ProgramDirectory());
    ~Document() override;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const ProgramProfile& Profile() const { return profile_; }
    int32_t Capacity() const { return capacity_; }

    // The main window, or none.
    void SetWindow(DocumentWindow* window) { window_ = window; }
    DocumentWindow* Window() const { return window_; }

    // --- what the cells and the clone commands both ask
    cmcEeprom& WorkingImage() override { return working_; }
    uint16_t ModelCode() const override { return modelCode_; }
    uint16_t SubCode() const override { return subCode_; }
    bool IsMakerMode() const override { return makerMode_; }
    CloneInfoBlock& InfoBlock() override { return infoBlock_; }
    RadioIdentity& Identity() override { return identity_; }
    // The packing entry: this base packs in the layout of image/.
    int Static2Dynamic(cmcEeprom& image, int mode) override;
    // The reference expansion of a model's start-up data, in the layout of image/.
    virtual void Dynamic2Static(cmcEeprom& image);
    int CheckImage(const cmcEeprom& image, bool strict) override;
    RangeList CloneAreas(int32_t areaType) override;
    int ConfirmSave(bool another) override;
    void EndEdit() override;
    void SetModified() override;
    void SetFileName(const std::string& path) override;
    void CloseSheet() override;

    // --- the cells' view
    cmcEeprom& ReferenceImage() override { return reference_; }
    cmcEeprom& SavedImage() override { return saved_; }
    bool CheckModel(int32_t code1, int32_t code2, int& result) override;
    bool UpdateModified() override;
    bool IsUntitled() const override { return fileName_.empty(); }
    std::string GetFileName() const override;
    int NewFile() override;
    // Renames every bank's tree node after the bank's name in the working image.
    void PostBankCaptions();
    int OpenDialog() override;
    int OpenFile(const std::string& path) override;
    int SaveFile(const std::string& path) override;
    int SaveAsDialog() override;
    // Each clone command ends silently while a clone job runs.
    void CloneRead() override;
    void CloneWrite() override;
    void ReadCloneInfo() override;

    // --- the clone commands' view
    void AfterLoad(cmcEeprom& image) override;
    void NormalizeImage(cmcEeprom& image, int mode) override;
    bool IsLockedOutNewerData(const cmcEeprom& image) override;
    // Channels 0..511 of the working image.
    int ProgrammedChannelCount() override;
    // The errors the warning check finds; warnings alone do not stop a write.
    int DataWarningCount() override;
    void OpenCloneInformation() override;
    void SendDataReloaded() override;

    // --- the document's own
    virtual void InitModelInfo();
    // The warning check (either count may be absent); the window marks the tree.
    virtual void CheckWarnings(int* errors, int* warnings);
    // Reads the model's start-up data file into the reference image; a file
    // that cannot be used ends the program.
    virtual void LoadInitialFile(int32_t modelIndex);
    // The start-up data of the stored model becomes the reference image and,
    // packed, the working image; the data is then unmodified and untitled.
    virtual void LoadStartupData();
    void ClearModified();
    bool IsModified() const { return modified_; }
    const std::string& LastDirectory() const { return lastDirectory_; }
    // The folder of path becomes the last directory for this run only; the
    // settings keep the one of the last data file.
    void UseFolderOf(const std::string& path);
    // The name part of a path.
    static std::string NamePart(const std::string& path);
    // "Untitled" in the last directory: the name of data that has no file yet.
    std::string UntitledPath() const;
    const cmcEeprom& Snapshot() const override { return snapshot_; }
    // The working image becomes the snapshot (event 8).
    void TakeSnapshot() { snapshot_ = working_; }
    // One line "%04X : %02X -> %02X" (address, snapshot byte, working byte)
    // for each byte that differs, or "Not match size !" when the sizes
    // differ; then the working image becomes the snapshot.
    std::vector<std::string> CompareWithSnapshot();
    int32_t MemoryEnd() const { return memoryEnd_; }
    indCloneMan& CloneManager() { return *cloneMan_; }
    // The caption of the document's message boxes.
    std::string AppTitle() const;

protected:
    // The passes that pack again pack the way this document does.
    ImagePacking Packing();
    // Binds a file handler to the image for a load with the program's tests:
    // the profile's map revisions and CheckModel on the header.
    void SetUpLoad(cmcIcfFile& file, cmcEeprom& image);
    // The working image becomes the reference image with its dynamic area
    // packed again, as saved.
    void ResetWorkingImage();
    // The model index the document starts with or changes to when the given
    // one names no model.
    int32_t ValidModel(int32_t modelIndex) const;
    // Replaces the clone commands by the program's own kind.
    template <class Commands> void UseCloneCommands() {
        cloneCommands_.reset(); // takes its checks out of the clone manager
        cloneCommands_ = std::make_unique<Commands>(*this, *cloneMan_);
    }
    // Replaces the clone manager by the program's own kind, with commands of their kind on it.
    template <class Manager, class Commands> void UseCloneManager() {
        cloneCommands_.reset();
        cloneMan_ = std::make_unique<Manager>();
        cloneCommands_ = std::make_unique<Commands>(*this, *cloneMan_);
    }

    const ProgramProfile& profile_;
    int32_t capacity_;
    std::string programDirectory_;
    DocumentWindow* window_ = nullptr;

    cmcEeprom working_;
    cmcEeprom reference_;
    cmcEeprom saved_;
    cmcEeprom snapshot_;
    uint16_t modelCode_ = 0;
    uint16_t subCode_ = 0;
    int32_t memoryEnd_ = 0;
    CloneInfoBlock infoBlock_{};
    RadioIdentity identity_{};
    bool makerMode_ = false;

    std::string lastDirectory_;
    std::string fileName_;
    bool modified_ = false;

    // The commands run their jobs on the manager: the manager outlives them.
    std::unique_ptr<indCloneMan> cloneMan_;
    std::unique_ptr<CloneCommands> cloneCommands_;

private:
    static void OnEventThunk(void* user, const cmcEvent& ev);
    void OnEvent(const cmcEvent& ev);
    void InitDirectory();
    void RememberDirectory(const std::string& path);
    std::string SaveComment() const;

    AppManager* previousManager_;
};
