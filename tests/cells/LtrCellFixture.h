#pragma once
// The cell harness on a model's start-up data (reference and working image,
// packed), and what the LTR cell tests look at after a call: text, grey,
// marks, alignment, jump.
#include "CellHarness.h"
#include "image/BankSite.h"
#include "image/ImagePacking.h"
#include "image/datCh.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ltrtest {

constexpr int32_t kCatMch = 2;
constexpr int32_t kCatMchCheck = 3;
constexpr int32_t kCatBankOp = 13;
constexpr int32_t kCatRpt = 26;
constexpr int32_t kCatLtrOp = 27;
constexpr int32_t kFlex0 = 1;
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
    bool error = false;
    uint8_t alignH = 0;
    int32_t jumpCell = 0; // 0: no jump asked for
};

class LtrCellFixture {
public:
    explicit LtrCellFixture(int32_t model) : h_(model), model_(model) {
        h_.LoadStartupData(model);
        EXPECT_EQ(Static2DynamicInit(Image()), 0);
        Events();
    }

    cmcEeprom& Image() { return h_.Image(); }
    int32_t ChannelKind() const { return model_ % 5 + 1; }
    plat::ScriptedMessageBox& Boxes() { return h_.boxes; }
    RecordingPopupOpener& Popups() { return h_.popups; }

    // The bank and the site the open sheet shows; -1: none.
    void OpenBank(int32_t bank) { h_.OpenBank(bank); }
    void OpenSite(int32_t site) { h_.OpenSite(site); }

    Outcome Display(CellAddress at) { return Look(h_.Display(at)); }
    Outcome Key(CellAddress at, int32_t key) { return Look(h_.Key(at, key)); }
    Outcome Commit(CellAddress at, const std::string& text) { return Look(h_.Commit(at, text)); }
    // The choice of value from the cell's pop-up list (list cell Flex0).
    Outcome Pick(CellAddress at, int32_t value) { return Look(h_.Pick(at, kFlex0, value)); }

    // The events since the last call, once the bus has run.
    std::vector<Heard> Events() {
        std::vector<Heard> heard;
        for (const cmcEvent& ev : h_.Events())
            heard.push_back({ev.type, ev.p1, ev.p2});
        return heard;
    }
    bool HeardSheetChanged() {
        for (const Heard& e : Events())
            if (e.type == evRedrawSheet && e.p1 == 0 && e.p2 == 0) return true;
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
        e.Load(kindRepeaterPool, n);
        return e;
    }
    // Gives bank `bank` count programmed rows whose group receive and
    // transmit ids are 1, 2, ...; the bank is an LTR bank.
    void MakeLtrBank(int32_t bank, int32_t count) {
        SetBankChannelCount(Image(), bank, count);
        SetBankFlagB(Image(), bank, 1);
        const int32_t first = GetBankFirstChannel(Image(), bank);
        for (int32_t i = 0; i < count; ++i) {
            datCh ch = Channel(first + i);
            ch.rxFreq = ch.txFreq = 450000000 + 12500 * i;
            ch.grpRxId = ch.grpTxId = static_cast<uint8_t>(i + 1);
            ch.Store(ChannelKind(), first + i);
        }
        ASSERT_EQ(Static2DynamicInit(Image()), 0);
    }
    // Gives site `site` count unmarked entries at 460 MHz + 25 kHz steps,
    // transmitting 5 MHz higher.
    void MakeSite(int32_t site, int32_t count) {
        SetSiteChannelCount(Image(), site, count);
        const int32_t first = GetSiteFirstChannel(Image(), site);
        for (int32_t i = 0; i < count; ++i) {
            datCh e = Entry(first + i);
            e.poolRxFreq = 460000000 + 25000 * i;
            e.poolTxFreq = e.poolRxFreq + 5000000;
            e.siteMark = false;
            e.Store(kindRepeaterPool, first + i);
        }
        ASSERT_EQ(Static2DynamicInit(Image()), 0);
    }

private:
    Outcome Look(const celltest::Outcome& o) {
        Outcome out;
        out.result = o.result;
        out.flags = o.flags;
        out.text = o.text;
        out.grey = h_.canvas->fontColor == kGrey;
        out.error = o.request.markFlags.error;
        out.alignH = o.cell.layout & cmcCellObj::kAlignHMask;
        out.jumpCell = o.request.jumpRequest ? o.request.jumpCell : 0;
        return out;
    }

    celltest::CellHarness h_;
    int32_t model_;
};

} // namespace ltrtest
