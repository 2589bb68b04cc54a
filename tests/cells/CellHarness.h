#pragma once
// Runs any cell through indActiveCell::Execute as the program would: the
// current model's settings, a full working image owned by a recording
// application manager, the shipped overlay as the text table, an event bus on
// virtual time with an open sheet that answers the bank and site questions,
// and doubles for message boxes, pop-ups, help and clipboard. A box that the
// test did not script fails the test.
//
//     celltest::CellHarness h(4);             // a PMR model
//     h.OpenBank(0);
//     SetBankChannelCount(CurrentImage(), 0, 3);
//     auto out = h.Key({2, 128, 1}, '5');   // a digit on the transmit frequency
//     EXPECT_EQ(out.request.jumpCell, 127);
#include "ConvFixture.h"
#include "cells/CellCases.h"
#include "cells/LayoutCache.h"
#include "cells/PopupOpener.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "cells/indActiveCell.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/ImageUnpacking.h"
#include "image/RowEdit.h"
#include "image/datClipCh.h"
#include "platform/HelpViewer.h"
#include "tests/image/StartupData.h"
#include "tests/support/ManualScheduler.h"
#include "tests/support/RecordingAppManager.h"
#include "tests/support/RecordingPopupOpener.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace celltest {

// Help requests as the viewer saw them, each with the help file set at the time.
class RecordingHelp : public plat::HelpViewer {
public:
    struct Shown {
        std::string file;
        int32_t context; // -1: the finder
    };
    void SetHelpFile(const std::string& path) override { file = path; }
    void ShowContextPopup(int32_t context) override { shown.push_back({file, context}); }
    void ShowFinder() override { shown.push_back({file, -1}); }
    // Every help file is there unless a test says otherwise.
    bool HasFile(const std::string& path) const override { return path != missing; }
    std::string missing;

    std::string file;
    std::vector<Shown> shown;
};

class RecordingClipboard : public plat::Clipboard {
public:
    void SetText(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

// What one call left behind.
struct Outcome {
    int32_t result = 0;
    // The flags the notification was called with; -1 when it was not called.
    int32_t flags = -1;
    std::string text;
    // The request after the call (its cell pointer names the harness's last cell).
    cmcCellCapsule request;
    // The cell after the call: menu state, caption.
    cmcCellObj cell;

    bool Checked() const { return cell.flags2 & 4; }
    bool Hidden() const { return cell.flags2 & 8; }
    bool Disabled() const { return cell.flags2 & 16; }
};

class CellHarness {
public:
    // overlay: the shipped overlay file the cells read, the cloning program's unless given.
    explicit CellHarness(int32_t model = 0, const char* overlay = TOLVANE_BIN_DIR "/QT4410R.OVL")
        : state_(model) {
        overlay_.SetFile(overlay);
        oldTexts_ = gGTex;
        gGTex = &overlay_;
        sched_.Install();
        bus_ = std::make_unique<cmcEvMan>();
        gEvMan = bus_.get();
        gEvMan->AddListener(&CellHarness::OnEvent, this);
        app.WorkingImage().SetSize(layout::kImageSize);
        app.ReferenceImage().SetSize(layout::kImageSize);
        SetCurrentImage(&app.WorkingImage());
        SetProgramClipboard(&clip);
        oldApp_ = gAppManager;
        gAppManager = &app;
        plat::SetMessageBoxes(&boxes);
        plat::SetHelpViewer(&help);
        plat::SetClipboard(&clipboard);
    }
    ~CellHarness() {
        plat::SetClipboard(nullptr);
        plat::SetHelpViewer(nullptr);
        plat::SetMessageBoxes(nullptr);
        gAppManager = oldApp_;
        SetProgramClipboard(nullptr);
        SetCurrentImage(nullptr);
        gEvMan->RemoveListener(&CellHarness::OnEvent, this);
        gEvMan = nullptr;
        bus_.reset();
        sched_.Advance(1);
        gGTex = oldTexts_;
    }
    CellHarness(const CellHarness&) = delete;
    CellHarness& operator=(const CellHarness&) = delete;

    cmcEeprom& Image() { return app.WorkingImage(); }

    // The model's start-up data as the program takes it on: loaded into the
    // reference image, its tables expanded, and copied into the working image.
    void LoadStartupData(int32_t model) {
        cmcEeprom& reference = app.ReferenceImage();
        EXPECT_EQ(testimage::LoadCloneFile(testimage::StartupFilePath(overlay_, model), reference),
                  cmcIcfFile::kOk);
        Dynamic2Static(reference);
        Image() = reference;
    }
    indEnviron& Env() { return state_.Env(); }

    // The bank and the site that the open sheet shows; -1: no sheet answers.
    void OpenBank(int32_t bank) { bank_ = bank; }
    void OpenSite(int32_t site) { site_ = site; }

    // Formats the cell for a grid.
    Outcome Display(CellAddress at) {
        return Run(at, [](cmcCellCapsule&) {});
    }
    // A key on the cell; inGrid false stands for menus, tool bar and tree.
    Outcome Key(CellAddress at, int32_t key, bool inGrid = true) {
        return Run(at, [&](cmcCellCapsule& r) {
            r.key = key;
            if (!inGrid) {
                r.grid = r.editGrid = nullptr;
                r.canvas = nullptr;
            }
        });
    }
    // Space steps up, backspace down, where the cell steps.
    Outcome Step(CellAddress at, bool up) { return Key(at, up ? 32 : 8); }
    Outcome Commit(CellAddress at, const std::string& text) {
        return Run(at, [&](cmcCellCapsule& r) {
            r.mode = cmcCellCapsule::kModeCommit;
            r.editText = text;
        });
    }
    // The choice of item value from a pop-up list of list cell listCell.
    Outcome Pick(CellAddress at, int32_t listCell, int32_t value) {
        cmcCellObj item;
        item.category = 0;
        item.cellId = listCell;
        item.index = value;
        cmcCellCapsule itemRequest;
        itemRequest.cell = &item;
        return Run(at, [&](cmcCellCapsule& r) {
            r.mode = cmcCellCapsule::kModePick;
            r.linkedRequest = &itemRequest;
        });
    }
    Outcome Command(CellAddress at, int32_t command) {
        return Run(at, [&](cmcCellCapsule& r) { r.command = command; });
    }

    // Any request: fill adjusts a request that is set up for a grid, with
    // the cell at the address and notification on.
    template <class Fill> Outcome Run(CellAddress at, Fill&& fill, const std::string& argument = {}) {
        cell_ = cmcCellObj();
        cell_.category = at.category;
        cell_.cellId = at.cellId;
        cell_.index = at.index;
        if (!argument.empty()) cell_.argument = argument;
        return RunCell(cell_, fill);
    }
    template <class Fill> Outcome RunCell(cmcCellObj& cell, Fill&& fill) {
        Outcome out;
        cmcCellCapsule r;
        r.cell = &cell;
        r.grid = r.editGrid = convtest::FakeGrid();
        canvas->fontColor = kInk;
        r.canvas = canvas.get();
        r.notifyClosure = [&out](cmcCellCapsule&, int32_t flags) { out.flags = flags; };
        fill(r);
        out.result = indActiveCell::Execute(r, 1);
        out.text = r.displayText;
        out.request = r;
        // Nothing the request pointed at during the call outlives it.
        out.request.linkedRequest = nullptr;
        out.request.notifyClosure = nullptr;
        out.cell = cell;
        return out;
    }

    // The events posted or sent since the last call, after the bus has run.
    std::vector<cmcEvent> Events() {
        sched_.Advance(20);
        std::vector<cmcEvent> events;
        events.swap(events_);
        return events;
    }

    // The colour of a cell's text before a call; grey after it when the cell greys.
    static constexpr ColorValue kInk = 0x123456;

    RecordingAppManager app;
    ScopedWindowCommands useWindow{&app};
    plat::ScriptedMessageBox boxes;
    RecordingPopupOpener popups;
    ScopedPopupOpener usePopups{&popups};
    RecordingHelp help;
    RecordingClipboard clipboard;
    datClipCh clip;
    // The main window's layout cache, from which the list cells read their lists.
    cmcFCache lists;
    ScopedLayoutCache useLists{&lists};
    // Set for the calls in a grid: greying shows in its font colour.
    std::unique_ptr<convtest::RecordingCanvas> canvas = std::make_unique<convtest::RecordingCanvas>();

private:
    static void OnEvent(void* user, const cmcEvent& ev) {
        auto* self = static_cast<CellHarness*>(user);
        // The main window carries out the row insertions and removals.
        HandleRowEvent(ev, self->app.WorkingImage(), self->app.ReferenceImage(), GetModelClass());
        if (ev.mode == evModeSentWithAnswer) {
            const int32_t answer = ev.type == evQueryBank   ? self->bank_
                                   : ev.type == evQuerySite ? self->site_
                                                            : -1;
            if (answer >= 0) gEvMan->Answer(answer, 0);
            return;
        }
        self->events_.push_back(ev);
    }

    convtest::ProgramState state_;
    cmcGTex overlay_;
    cmcGTex* oldTexts_ = nullptr;
    plat::ManualScheduler sched_;
    std::unique_ptr<cmcEvMan> bus_;
    AppManager* oldApp_ = nullptr;
    int32_t bank_ = -1;
    int32_t site_ = -1;
    cmcCellObj cell_;
    std::vector<cmcEvent> events_;
};

} // namespace celltest
