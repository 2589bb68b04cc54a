#pragma once
// The adjustment program's globals and its application manager as its
// start-up builds them: its profile, document and cell engine, over its
// shipped overlay (with a fixture text read before it) and start-up data, with
// settings, lock file and boxes as the cloning program's fixtures have them.
#include "adjust/AdjustDocument.h"
#include "adjust/AdjustProfile.h"
#include "adjust/AdjustVocabulary.h"
#include "adjust/ui/AdjustMain.h"
#include "cells/CellEngine.h"
#include "foundation/Globals.h"
#include "foundation/indEnviron.h"
#include "tests/app/DocumentFixture.h"
#include "tools/radiosim/RadioSim.h"
#include "tools/radiosim/StartupMemory.h"

#include <filesystem>
#include <memory>
#include <string>

namespace adjwintest {

class AdjustMainFixture : public apptest::DocumentFixture {
protected:
    ~AdjustMainFixture() override { window_.reset(); }

    // The globals and the window over a program directory whose overlay
    // reads text before the shipped one; nothing loaded, no form yet.
    adj::indMain& StartAdjust(const std::string& overlayFirst = {}) {
        const std::string program = dir_.File("adjust/");
        std::filesystem::create_directories(program);
        for (const auto& entry : std::filesystem::directory_iterator(TOLVANE_BIN_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("QT4411R_") && name.ends_with(".icf"))
                std::filesystem::create_symlink(entry.path(), program + name);
        }
        const std::string shipped = testsupport::TempDir::ReadFile(TOLVANE_BIN_DIR "/QT4411R.OVL");
        testsupport::TempDir::WriteFile(program + "QT4411R.OVL", overlayFirst + shipped);
        globals_ = std::make_unique<ProgramGlobals>(adj::AdjustProfile(), adj::MakeAdjustDocument, program);
        window_ = std::make_unique<adj::indMain>(globals_->Doc());
        return *window_;
    }
    indEnviron& Environ() { return globals_->Environ(); }
    adj::AdjustDocument& AdjustDoc() { return static_cast<adj::AdjustDocument&>(globals_->Doc()); }
    // The program's end: the window goes, then the globals (the settings last).
    void Stop() {
        window_.reset();
        globals_.reset();
        std::filesystem::remove_all(dir_.File("adjust"));
    }

    // The simulator as a radio holding the model's start-up data, as the
    // program's clone read and information query expect it.
    static void HoldStartupData(radiosim::RadioSim& sim, int32_t model) {
        const radiosim::StartupMemory radio = radiosim::BuildStartupMemory(model);
        sim.Memory() = radio.bytes;
        sim.SetCloneEnd(radio.cloneEnd);
        sim.SetInfoModel(model);
    }
    // The simulator linked as the program's COM5 in the temp dir (the
    // fixture's TOLVANE_COM_DIR); the link's settle waits step it.
    void LinkRadio(radiosim::RadioSim& sim) {
        ASSERT_TRUE(sim.Open());
        ASSERT_FALSE(sim.LinkAs(dir_.Path(), 5).empty());
        gEnviron->ComPort = 5;
        Doc().CloneManager().Driver().SetSettleWait([&sim](int) { sim.Pump(); });
    }

    ScopedCellEngine engine_{adj::AdjustCellEngine()};
    std::unique_ptr<adj::indMain> window_;
};

} // namespace adjwintest
