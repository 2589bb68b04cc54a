#pragma once
// Runs the LTR cells through indActiveCell::Execute as the program does: a
// model's start-up data as reference and working image (owned by a recording
// application manager), the shipped overlay as the text table, a layout
// cache, and an event bus on virtual time with a stand-in for the main window
// that answers the open bank and site and carries out the row events 26 to 29
// with HandleRowEvent. A message box the test did not script fails the call.
#include "ConvFixture.h"
#include "cells/EditCommand.h"
#include "cells/LayoutCache.h"
#include "cells/PopupOpener.h"
#include "cells/RecordingAppManager.h"
#include "cells/RecordingPopupOpener.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "cells/indActiveCell.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/ImageUnpacking.h"
#include "image/RangeList.h"
#include "image/RowEdit.h"
#include "image/cmcIcfFile.h"
#include "image/datCh.h"
#include "platform/ManualScheduler.h"
#include "platform/ScriptedMessageBox.h"
#include "tests/image/ScopedModel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ltrtest {

constexpr int32_t kCatMch = 2;
constexpr int32_t kCatBankOp = 13;
constexpr int32_t kCatRpt = 26;
constexpr int32_t kCatLtrOp = 27;
constexpr int32_t kKindBank = 15;
constexpr int32_t kKindPool = 24;
constexpr ColorValue kInk = 0x123456;
constexpr ColorValue kGrey = 0xC0C0C0;

struct Heard {
    int32_t type;
    intptr_t p1, p2;
    bool operator==(const Heard&) const = default;
};

// What one call left behind.
struct Outcome {
    int32_t result = 0;
    int32_t flags = -1; // of the notification; -1 when it was not called
    std::string text;
    bool grey = false;
    bool warning = false;
    bool error = false;
    uint8_t alignH = 0;
    int32_t jumpCell = 0; // 0: no jump asked for
};

class LtrCellFixture {
public:
    explicit LtrCellFixture(int32_t model) : model_(model) {
        sched_.Install();
        bus_ = std::make_unique<cmcEvMan>();
        oldBus_ = gEvMan;
        gEvMan = bus_.get();
        texts_.SetFile(TOLVANE_BIN_DIR "/QT4410R.OVL");
        oldTexts_ = gGTex;
        gGTex = &texts_;
        oldApp_ = gAppManager;
        gAppManager = &app;
        bus_->AddListener(&OnEvent, this);

        LoadStartup(app.ReferenceImage());
        Dynamic2Static(app.ReferenceImage());
        app.WorkingImage() = app.ReferenceImage();
        SetCurrentImage(&app.WorkingImage());
        SetReferenceImage(&app.ReferenceImage());
        EXPECT_EQ(Static2DynamicInit(Image()), 0);
        Events();
    }
    ~LtrCellFixture() {
        bus_->RemoveListener(&OnEvent, this);
        SetCurrentImage(nullptr);
        SetReferenceImage(nullptr);
        gAppManager = oldApp_;
        gGTex = oldTexts_;
        gEvMan = oldBus_;
        bus_.reset();
        sched_.Advance(1);
    }
    LtrCellFixture(const LtrCellFixture&) = delete;
    LtrCellFixture& operator=(const LtrCellFixture&) = delete;

    cmcEeprom& Image() { return app.WorkingImage(); }
    int32_t ChannelKind() const { return model_ % 5 + 1; }

    // The bank and the site the open sheet shows; -1: none.
    void OpenBank(int32_t bank) { bank_ = bank; }
    void OpenSite(int32_t site) { site_ = site; }

    Outcome Display(CellAddress at) { return Run(at, [](cmcCellCapsule&) {}); }
    Outcome Key(CellAddress at, int32_t key) {
        return Run(at, [&](cmcCellCapsule& r) { r.key = key; });
    }
    Outcome Commit(CellAddress at, const std::string& text) {
        return Run(at, [&](cmcCellCapsule& r) {
            r.mode = cmcCellCapsule::kModeCommit;
            r.editText = text;
        });
    }
    // The choice of value from the pop-up list of list cell listCell (Flex0 = 1).
    Outcome Pick(CellAddress at, int32_t value, int32_t listCell = 1) {
        cmcCellObj item;
        item.cellId = listCell;
        item.index = value;
        cmcCellCapsule itemRequest;
        itemRequest.cell = &item;
        return Run(at, [&](cmcCellCapsule& r) {
            r.mode = cmcCellCapsule::kModePick;
            r.linkedRequest = &itemRequest;
        });
    }

    template <class Fill> Outcome Run(CellAddress at, Fill&& fill) {
        cmcCellObj cell;
        cell.category = at.category;
        cell.cellId = at.cellId;
        cell.index = at.index;
        convtest::RecordingCanvas canvas;
        canvas.fontColor = kInk;
        Outcome out;
        cmcCellCapsule r;
        r.cell = &cell;
        r.grid = r.editGrid = convtest::FakeGrid();
        r.canvas = &canvas;
        r.notifyClosure = [&out](cmcCellCapsule&, int32_t flags) { out.flags = flags; };
        fill(r);
        out.result = indActiveCell::Execute(r, 1);
        out.text = r.displayText;
        out.grey = canvas.fontColor == kGrey;
        out.warning = r.markFlags.warning;
        out.error = r.markFlags.error;
        out.alignH = cell.layout & cmcCellObj::kAlignHMask;
        out.jumpCell = r.jumpRequest ? r.jumpCell : 0;
        return out;
    }

    // The events posted or sent since the last call, once the bus has run.
    std::vector<Heard> Events() {
        sched_.Advance(20);
        return std::exchange(heard_, {});
    }
    bool Heard13() {
        for (const Heard& h : Events())
            if (h.type == evRedrawSheet) return true;
        return false;
    }

    // Channel row n of the current model's kind, and pool entry n.
    datCh Channel(int32_t n) {
        datCh ch(&Image());
        ch.Load(ChannelKind(), n);
        return ch;
    }
    datCh Entry(int32_t n) {
        datCh e(&Image());
        e.Load(kKindPool, n);
        return e;
    }
    // Fills bank `bank` (the banks before it empty) with count rows whose
    // group receive ids are 1, 2, ... and whose frequencies are set.
    void MakeLtrBank(int32_t bank, int32_t count, bool ltr = true) {
        SetBankChannelCount(Image(), bank, count);
        SetBankFlagB(Image(), bank, ltr);
        const int32_t first = GetBankFirstChannel(Image(), bank);
        for (int32_t i = 0; i < count; ++i) {
            datCh ch = Channel(first + i);
            ch.rxFreq = ch.txFreq = 450000000 + 12500 * i;
            ch.grpRxId = ch.grpTxId = static_cast<uint8_t>(i + 1);
            ch.Store(ChannelKind(), first + i);
        }
        ASSERT_EQ(Static2DynamicInit(Image()), 0);
    }
    // Gives site `site` count entries at 460 MHz + 25 kHz steps, unmarked.
    void MakeSite(int32_t site, int32_t count) {
        SetSiteChannelCount(Image(), site, count);
        const int32_t first = GetSiteFirstChannel(Image(), site);
        for (int32_t i = 0; i < count; ++i) {
            datCh e = Entry(first + i);
            e.poolRxFreq = 460000000 + 25000 * i;
            e.poolTxFreq = e.poolRxFreq + 5000000;
            e.siteMark = false;
            e.Store(kKindPool, first + i);
        }
        ASSERT_EQ(Static2DynamicInit(Image()), 0);
    }

    RecordingAppManager app;
    plat::ScriptedMessageBox boxes;
    RecordingPopupOpener popups;

private:
    static void OnEvent(void* user, const cmcEvent& ev) {
        auto* self = static_cast<LtrCellFixture*>(user);
        if (ev.mode == evModeSentWithAnswer) {
            const int32_t answer = ev.type == evQueryBank ? self->bank_ : ev.type == evQuerySite ? self->site_ : -1;
            if (answer >= 0) gEvMan->Answer(answer, 0);
            return;
        }
        self->heard_.push_back({ev.type, ev.p1, ev.p2});
        HandleRowEvent(ev, self->app.WorkingImage(), self->app.ReferenceImage(), GetModelClass());
    }

    void LoadStartup(cmcEeprom& into) {
        const std::string path = std::string(TOLVANE_BIN_DIR) + "/" + texts_.GetTextLine("GI_App_InitialFile", model_);
        into.SetSize(layout::kImageSize);
        cmcIcfFile file;
        file.SetImage(&into);
        file.SetOnMapRev([](int32_t rev) { return rev < 2; });
        file.SetOnHeader([](int32_t, int32_t, int&) { return true; });
        const RangeList whole{{0, 0xFF7F}, kRangeListEnd};
        ASSERT_EQ(file.Load(path, &whole), cmcIcfFile::kOk) << path;
    }

    int32_t model_;
    testimage::ScopedModel scopedModel_{model_};
    plat::ManualScheduler sched_;
    std::unique_ptr<cmcEvMan> bus_;
    cmcEvMan* oldBus_ = nullptr;
    cmcGTex texts_;
    cmcGTex* oldTexts_ = nullptr;
    AppManager* oldApp_ = nullptr;
    cmcFCache cache_;
    ScopedLayoutCache useCache_{&cache_};
    plat::ScopedMessageBoxes useBoxes_{&boxes};
    ScopedPopupOpener usePopups_{&popups};
    int32_t bank_ = -1;
    int32_t site_ = -1;
    std::vector<Heard> heard_;
};

} // namespace ltrtest
