#pragma once
#include "image/ImageDocument.h"
#include "image/RangeList.h"
#include "image/cmcEeprom.h"

#include <cstddef>
#include <cstdint>
#include <string>

class cmcCellCapsule;

// What the cells and the row edits need of the application manager: the
// program's document. The document (app/) implements it; tests install a
// recording double. What they ask of the window goes through WindowCommands.
class AppManager : public virtual ImageDocument {
public:
    // The reference image (the current model's start-up data, expanded: the
    // template for empty records and the source of normalisation) and the
    // working image as last loaded or saved.
    virtual cmcEeprom& ReferenceImage() = 0;
    virtual cmcEeprom& SavedImage() = 0;
    // The copy of the working image that the debug comparison and the dump
    // window measure changes against.
    virtual const cmcEeprom& Snapshot() const = 0;

    // Only this sets maker mode, after the user confirmed the caution.
    virtual void EnterMakerMode() = 0;

    // Makes a model index 0..9 the current model; with ask, after the user's
    // OK, and the working image becomes the new model's empty data.
    virtual void ChangeModel(int32_t modelIndex, bool ask) = 0;

    // The header test of a clone data file and the model test of the clone
    // commands; on refusal stores 3 (code1 differs) or 4 (code2 differs).
    virtual bool CheckModel(int32_t code1, int32_t code2, int& result) = 0;

    // Sets the modified flag when the working image differs from the saved
    // copy, and returns the flag.
    virtual bool UpdateModified() = 0;
    virtual bool IsUntitled() const = 0;
    // The current file path, or the untitled name in the last directory.
    virtual std::string GetFileName() const = 0;

    // File commands: 0 success, 1 failure or cancelled; every failure has
    // been reported to the user already.
    virtual int NewFile() = 0;
    virtual int OpenDialog() = 0;
    virtual int OpenFile(const std::string& path) = 0;
    virtual int SaveFile(const std::string& path) = 0;
    virtual int SaveAsDialog() = 0;

    // Clone commands.
    virtual void CloneRead() = 0;
    virtual void CloneWrite() = 0;
    virtual void ReadCloneInfo() = 0;

    // The help context number of a cell, 0 when it has none.
    virtual int32_t GetCellHelpContext(const cmcCellCapsule& request) = 0;
};

// The program's application manager; the document sets it while it lives,
// tests set their double.
extern AppManager* gAppManager;

// Packs an image in plain mode the way the running program does, through its
// application manager.
int PackImage(cmcEeprom& image);

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
