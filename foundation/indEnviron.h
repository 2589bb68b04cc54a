#pragma once
#include "foundation/cmcRecent.h"
#include "platform/InstanceLock.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>

namespace plat {
class SettingsStore;
}

// Where a pop-up edit form was last placed. Only the bounds and the window
// state are kept across runs; the grid positions and the flag belong to the
// form for the current run.
struct indEditFormPos {
    std::string Name;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Col = -1;
    int32_t Row = -1;
    int32_t LeftCol = -1;
    int32_t TopRow = -1;
    int32_t WindowState = 0; // 0 normal, 1 minimised, 2 maximised
    int32_t Flag = 0;
};

// The program's persistent settings and its single-instance guard. Only the
// first instance reads the settings at start and writes them back when the
// object goes, which is last of all the globals; another instance, or one
// whose lock could not be taken at all, touches neither.
class indEnviron {
public:
    static constexpr int32_t ValidMarker = 753951;
    static constexpr int RecentMax = 10;

    // Settings kept in an INI file: settingsFile below the user's
    // configuration folder, or when none is given the file that stands for
    // the registry path.
    // comSpeedHighDefault is what a first start (or settings not ours) gets
    // for the fast link: the programs differ there.
    indEnviron(const std::string& mutexName, const std::string& registryPath,
               const std::string& settingsFile = {}, int32_t comSpeedHighDefault = 1);
    // Settings kept in a store the caller owns and keeps alive past this object.
    indEnviron(const std::string& mutexName, const std::string& registryPath, plat::SettingsStore& store,
               int32_t comSpeedHighDefault = 1);
    ~indEnviron();
    indEnviron(const indEnviron&) = delete;
    indEnviron& operator=(const indEnviron&) = delete;

    bool IsFirstInstance() const { return firstInstance_; }
    // The lock file could not be used: not another instance, but an error the
    // program reports before it ends.
    bool LockFailed() const { return lock_.GetState() == plat::InstanceLock::State::Failed; }
    const std::string& LockError() const { return lock_.Error(); }

    // The stored placement of the named form, loaded on first use; null when
    // there is none.
    indEditFormPos* FindEditFormPos(const std::string& name);
    indEditFormPos* FindOrLoadEditFormPos(const std::string& name) { return FindEditFormPos(name); }
    indEditFormPos& SetEditFormPos(const std::string& name, int32_t left, int32_t top, int32_t width,
                                   int32_t height, int32_t col, int32_t row, int32_t leftCol, int32_t topRow,
                                   int32_t windowState, int32_t flag);

    cmcRecent Recent{RecentMax};
    int32_t Marker = 0;
    int32_t FontSizePercentage = 0;
    int32_t ToolbarVisible = 0;
    int32_t ComPort = 0;
    int32_t ComSpeedHigh = 0;
    std::string CurrentDirectory;
    int32_t WindowLeft = 0;
    int32_t WindowTop = 0;
    int32_t WindowWidth = 0;
    int32_t WindowHeight = 0;
    int32_t SplitterV = 0;
    int32_t ModelType = 0;
    // Set while a window that runs beside the main one has been asked for and
    // not yet closed; never stored.
    int32_t AdWindowFlag = 0;

    const std::string& MutexName() const { return mutexName_; }
    const std::string& RegistryPath() const { return registryPath_; }

private:
    void Start();
    bool Read();
    void SetDefaults();
    void Write();

    std::string mutexName_;
    std::string registryPath_;
    int32_t comSpeedHighDefault_;
    plat::InstanceLock lock_;
    std::unique_ptr<plat::SettingsStore> ownStore_;
    plat::SettingsStore* store_ = nullptr;
    bool firstInstance_ = false;
    std::list<indEditFormPos> editForms_; // most recently stored first
};
