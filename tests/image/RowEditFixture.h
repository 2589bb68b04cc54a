#pragma once
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/ImageUnpacking.h"
#include "image/RecordLayout.h"
#include "image/RowEdit.h"
#include "image/cmcEeprom.h"
#include "image/cmcIcfFile.h"
#include "image/datCh.h"
#include "tests/image/ScopedModel.h"
#include "tests/image/StartupData.h"
#include "tests/support/ManualScheduler.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace rowtest {

// One event as a listener heard it.
struct Heard {
    int32_t type;
    intptr_t p1, p2;
    std::string text;
    bool operator==(const Heard&) const = default;
    friend void PrintTo(const Heard& h, std::ostream* os) {
        *os << "{" << h.type << ", " << h.p1 << ", " << h.p2 << ", \"" << h.text << "\"}";
    }
};

// Whatever a channel number names: the row's receive frequency (-1 outside
// the table), and the mode that says whether the number is in use.
struct Named {
    int32_t number;
    int32_t freq;
    int32_t mode;
    bool operator==(const Named&) const = default;
};

// The model's start-up data as the program keeps it: the expanded reference
// image and a working image made from it, with eight channels in banks 0..3
// (3, 2, 1 and 2 rows), reference channels A, B and C on rows 1, 4 and 6,
// every scan list naming channels, bank 1 a SmarTrunk bank, and five pool
// entries in sites 0 and 1 (2 and 3 entries). A stand-in for the main window
// carries out events 26 to 29 with HandleRowEvent, answers the site query
// and notes every event it hears.
class RowEditFixture : public ::testing::Test {
protected:
    // The LMR handheld unless told.
    explicit RowEditFixture(int32_t modelIndex = 0) : kModel(modelIndex), kKind(ModelClassOf(modelIndex)) {
        sched.Install();
        bus = std::make_unique<cmcEvMan>();
        oldBus = gEvMan;
        gEvMan = bus.get();
        texts.SetFile(std::string(TOLVANE_BIN_DIR) + "/QT4410R.OVL");
        oldTexts = gGTex;
        gGTex = &texts;
        bus->AddListener(&OnEvent, this);

        LoadStartup(reference);
        Dynamic2Static(reference);
        image = reference;
        SetCurrentImage(&image);

        const int32_t counts[] = {3, 2, 1, 2};
        for (int32_t b = 0; b < 4; ++b)
            SetBankChannelCount(image, b, counts[b]);
        datCh ch(&image);
        for (int32_t row = 0; row < 8; ++row) {
            ch.Load(kKind, row);
            ch.rxFreq = Freq(row);
            ch.txFreq = Freq(row);
            ch.Store(kKind, row);
        }
        image.SetWord(layout::kRefAChannel, 1);
        image.SetWord(layout::kRefBChannel, 4);
        image.SetWord(layout::kRefCChannel, 6);
        image.SetByte(layout::kRefCFlags, image.GetByte(layout::kRefCFlags) | 0x20);
        datCh list(&image);
        for (int32_t k = 0; k < layout::kScanLists; ++k) {
            list.Load(8, k);
            list.txCh = k % 8;
            list.prio1Ch = (k + 3) % 8;
            list.prio2Ch = (k + 5) % 8;
            list.txChMode = list.prio1Mode = list.prio2Mode = 5;
            list.slTxBit = true;
            list.Store(8, k);
        }
        SetSmarTrunkBank(image, 1, 1);

        SetSiteChannelCount(image, 0, 2);
        SetSiteChannelCount(image, 1, 3);
        datCh entry(&image);
        for (int32_t row = 0; row < 5; ++row) {
            entry.Load(kindRepeaterPool, row);
            entry.poolRxFreq = Freq(100 + row);
            entry.siteMark = false;
            entry.Store(kindRepeaterPool, row);
        }
        EXPECT_EQ(Static2DynamicInit(image), 0);
        heard.clear();
    }

    ~RowEditFixture() override {
        SetCurrentImage(nullptr);
        gGTex = oldTexts;
        gEvMan = oldBus;
        bus.reset();
        sched.Advance(1);
    }

    static int32_t Freq(int32_t row) { return 150000000 + 12500 * row; }

    int32_t RxFreq(int32_t row) {
        datCh ch(&image);
        return ch.Load(kKind, row).rxFreq;
    }
    int32_t PoolFreq(int32_t row) {
        datCh ch(&image);
        return ch.Load(kindRepeaterPool, row).poolRxFreq;
    }
    std::vector<int32_t> Channels(int32_t first, int32_t last) {
        std::vector<int32_t> f;
        for (int32_t r = first; r <= last; ++r)
            f.push_back(RxFreq(r));
        return f;
    }

    // Every channel number of the image: reference channels A, B, C, then
    // the transmit, priority 1 and priority 2 channels of each scan list.
    std::vector<Named> References() {
        std::vector<Named> refs;
        auto add = [&](int32_t number, int32_t mode) {
            refs.push_back({number, number < layout::kChannelRows ? RxFreq(number) : -1, mode});
        };
        add(image.GetWord(layout::kRefAChannel), 5);
        add(image.GetWord(layout::kRefBChannel), 5);
        add(image.GetWord(layout::kRefCChannel), 5);
        datCh list(&image);
        for (int32_t k = 0; k < layout::kScanLists; ++k) {
            list.Load(8, k);
            add(list.txCh, list.txChMode);
            add(list.prio1Ch, list.prio1Mode);
            add(list.prio2Ch, list.prio2Mode);
        }
        return refs;
    }

    // Each reference names the channel it named before. A scan-list entry
    // that named a removed channel names none; what becomes of a reference
    // channel that is removed is the remover's business.
    void ExpectReferencesFollow(const std::vector<Named>& before, const std::vector<int32_t>& removed = {}) {
        const std::vector<Named> after = References();
        ASSERT_EQ(after.size(), before.size());
        for (size_t i = 0; i < before.size(); ++i) {
            SCOPED_TRACE(i);
            if (std::find(removed.begin(), removed.end(), before[i].freq) == removed.end()) {
                EXPECT_EQ(after[i].freq, before[i].freq) << "number " << after[i].number;
            } else if (i >= 3) {
                EXPECT_EQ(after[i].number, 0);
                EXPECT_NE(after[i].mode, 5);
            }
        }
    }

    std::vector<Heard> Take() { return std::exchange(heard, {}); }

    static void OnEvent(void* user, const cmcEvent& ev) {
        auto* self = static_cast<RowEditFixture*>(user);
        if (ev.type == evQuerySite) {
            if (self->openSite >= 0) self->bus->Answer(self->openSite, 0);
            return;
        }
        self->heard.push_back({ev.type, ev.p1, ev.p2, ev.Text()});
        if (ev.type == evRemoveChannelRow && rowDeleteInProgress) ++self->deletesWhileFlagged;
        self->change |= HandleRowEvent(ev, self->image, self->reference, GetModelClass());
    }

    void LoadStartup(cmcEeprom& into) {
        const std::string path = testimage::StartupFilePath(texts, kModel);
        ASSERT_EQ(testimage::LoadCloneFile(path, into), cmcIcfFile::kOk) << path;
    }

    const int32_t kModel;
    const int32_t kKind; // the model's channel rows
    plat::ManualScheduler sched;
    std::unique_ptr<cmcEvMan> bus;
    cmcEvMan* oldBus = nullptr;
    cmcGTex texts;
    cmcGTex* oldTexts = nullptr;
    testimage::ScopedModel model{kModel};
    plat::ScriptedMessageBox boxes;
    plat::ScopedMessageBoxes useBoxes{&boxes};
    cmcEeprom reference;
    cmcEeprom image;
    std::vector<Heard> heard;
    int32_t change = 0;
    int32_t deletesWhileFlagged = 0;
    // The site the open repeater sheet shows; -1: none open.
    int32_t openSite = -1;
};

} // namespace rowtest
