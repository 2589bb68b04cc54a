#pragma once
// Set-up that the benches share: the program's globals without a window over
// a model's start-up data, and the cloning program's whole globals in a
// program folder of their own. A header, not a bench: every .cpp here is one.
#include "app/Document.h"
#include "app/ProgramGlobals.h"
#include "cells/LayoutCache.h"
#include "cells/cmcFCache.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"
#include "image/cmcIcfFile.h"
#include "image/datCh.h"
#include "platform/Fatal.h"
#include "platform/Screen.h"
#include "platform/SettingsStore.h"
#include "tests/image/StartupData.h"
#include "tests/support/ManualScheduler.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include <unistd.h>

namespace bench {

inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline std::string ShippedOverlay() {
    return ReadAll(plat::ProgramDirectory() + "QT4410R.OVL");
}

// The shipped overlay with more sheet texts joined before its end mark.
inline std::string OverlayWith(const std::string& extra) {
    std::string overlay = ShippedOverlay();
    overlay.erase(overlay.rfind("#End_Of_Ovl"));
    return overlay + extra + "#End_Of_Ovl\n";
}

// A model's start-up data as the program reads it, the radio's part only.
inline void LoadStartupData(cmcEeprom& image, cmcGTex& texts, int32_t model) {
    const std::string path = plat::ProgramDirectory() + texts.GetTextLine("GI_App_InitialFile", model);
    if (testimage::LoadCloneFile(path, image) != cmcIcfFile::kOk) plat::Fatal("No start-up data: " + path);
}

// All 512 channel rows in bank 0 (and none in the other banks), with
// frequencies, tones, names, power and bandwidth varying.
inline void ProgramBankZero(cmcEeprom& image, int32_t kind) {
    for (int32_t bank = 1; bank < 128; ++bank)
        SetBankChannelCount(image, bank, 0);
    SetBankChannelCount(image, 0, layout::kChannelRows);
    for (int32_t n = 0; n < layout::kChannelRows; ++n) {
        datCh record(&image);
        record.Load(kind, n);
        record.rxFreq = 136000000 + 12500 * n;
        record.txFreq = n % 3 == 0 ? record.rxFreq + 600000 : record.rxFreq;
        record.rxTone = n % 4 == 2 ? datTone{} : datTone{true, n % 4 == 1, n % 8 == 1, 12, 23};
        record.txTone = n % 2 == 0 ? record.rxTone : datTone{true, false, false, 20, 0};
        record.name = {'C', 'H', static_cast<uint8_t>('0' + n % 10)};
        record.chX0Low2 = static_cast<uint8_t>(n % 4);
        record.chBitS12b6 = n % 5 == 0;
        record.Store(kind, n);
    }
}

// What the cells need of the program, without document or window: settings
// with the model, the text table over an overlay file, the layout cache,
// virtual timers and the bus, and a working image holding the model's
// start-up data with bank 0 full. Bank 0 and site 0 are open.
class CellGlobals {
public:
    CellGlobals(const std::string& overlayPath, int32_t model) : kind_(ModelClassOf(model)) {
        env_.ModelType = model;
        env_.FontSizePercentage = 100;
        gEnviron = &env_;
        texts_.SetFile(overlayPath);
        gGTex = &texts_;
        SetLayoutCache(&cache_);
        sched_.Install();
        bus_ = std::make_unique<cmcEvMan>();
        gEvMan = bus_.get();
        bus_->AddListener(&CellGlobals::AnswerBankAndSite, nullptr);
        LoadStartupData(image_, texts_, model);
        SetCurrentImage(&image_);
        ProgramBankZero(image_, kind_);
    }
    ~CellGlobals() {
        bus_->RemoveListener(&CellGlobals::AnswerBankAndSite, nullptr);
        gEvMan = nullptr;
        bus_.reset();
        SetCurrentImage(nullptr);
        SetLayoutCache(nullptr);
        gGTex = nullptr;
        gEnviron = nullptr;
    }
    CellGlobals(const CellGlobals&) = delete;
    CellGlobals& operator=(const CellGlobals&) = delete;

    cmcEeprom& Image() { return image_; }
    // The record kind of the model's channel rows.
    int32_t Kind() const { return kind_; }
    // Lets the bus dispatch what was posted and drop the listeners that went,
    // as its timer does in the program.
    void Tick() { sched_.Advance(10); }

private:
    static void AnswerBankAndSite(void*, const cmcEvent& ev) {
        if (ev.type == evQueryBank || ev.type == evQuerySite) gEvMan->Answer(0, 0);
    }

    int32_t kind_;
    plat::MemorySettingsStore store_;
    indEnviron env_{"Tolvane Bench Mutex", "Software\\Morv\\TolvaneBench", store_};
    cmcGTex texts_;
    cmcFCache cache_;
    plat::ManualScheduler sched_;
    std::unique_ptr<cmcEvMan> bus_;
    cmcEeprom image_;
};

// The cloning program's globals as its start-up makes them, over a program
// folder in the temp dir holding the shipped start-up data and the overlay
// given; settings and lock file there too, timers virtual, the desktop fixed.
class ProgramFolder {
public:
    ProgramFolder(const std::string& name, const std::string& overlay) {
        const std::filesystem::path bin = plat::ProgramDirectory();
        dir_ = std::filesystem::temp_directory_path() / (name + "_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_ / "program");
        for (const auto& entry : std::filesystem::directory_iterator(bin))
            if (entry.path().extension() == ".icf" || entry.path().filename() == "QT4410RH.OVL")
                std::filesystem::create_symlink(entry.path(), dir_ / "program" / entry.path().filename());
        std::ofstream(dir_ / "program" / "QT4410R.OVL", std::ios::binary) << overlay;
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
        scheduler_.Install();
        plat::SetScreen(&screen_);
        globals_ = std::make_unique<ProgramGlobals>(CloningProfile(), CloningDocumentFactory(),
                                                    (dir_ / "program").string() + "/");
    }
    ~ProgramFolder() {
        globals_.reset();
        plat::SetScreen(nullptr);
        std::filesystem::remove_all(dir_);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    Document& Doc() { return globals_->Doc(); }
    plat::ManualScheduler& Scheduler() { return scheduler_; }
    // One tick of the timers, as the running program has every 10 ms.
    void Tick() { scheduler_.Advance(10); }

private:
    std::filesystem::path dir_;
    plat::ManualScheduler scheduler_;
    plat::FixedScreen screen_{{0, 0, 1280, 1024}, {0, 0, 1280, 984}};
    std::unique_ptr<ProgramGlobals> globals_;
};

} // namespace bench
