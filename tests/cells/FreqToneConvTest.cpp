#include "cells/FreqToneConv.h"
#include "CellTestSupport.h"
#include "ConvFixture.h"
#include "cells/ConvKeys.h"
#include "cells/LayoutCache.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "image/datCh.h"
#include "tests/support/RecordingPopupOpener.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using convtest::PickedItem;
using convtest::ProgramState;
using convtest::Request;
using namespace convtest::grid;

namespace {
constexpr uint8_t kRight = 2;
constexpr uint8_t kCentre = 1;
} // namespace

TEST(RoundUpToChannelStep, TheTypedDigitsFixTheWindow) {
    struct Case {
        int32_t frequency;
        bool wide;
        int32_t result;
    } cases[] = {
        {146520000, false, 146520000}, {146521300, false, -1},
        {146518750, false, 146518750}, {146523000, false, -1},
        {146512500, true, 146512500},  {146512500, false, 146512500},
        {146500000, false, 146500000}, {146506000, false, 146506250},
        {146506000, true, 146506250},  {0, false, 0},
        {799999999, false, -1},        {800000000, false, 800000000},
        {146510000, true, 146510000},  {146511000, true, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundUpToChannelStep(c.frequency, c.wide), c.result)
            << c.frequency << (c.wide ? " wide" : "");
}

class FrequencyCellTest : public ::testing::Test {
protected:
    ProgramState state{0};
    cmcCellObj cell;

    datCh Channel(int32_t rx, int32_t tx) {
        datCh record(&state.image);
        record.Load(1, 7);
        record.rxFreq = rx;
        record.txFreq = tx;
        record.StoreAndReload();
        return record;
    }
    Request With(Request q) {
        q.r.cell = &cell;
        return q;
    }
};

TEST_F(FrequencyCellTest, CommitsTypedFrequenciesOnTheRaster) {
    struct Case {
        const char* text;
        bool receive;
        int32_t rx, tx, changed;
    } cases[] = {
        {"146.52", true, 146520000, 146520000, 1},   // the transmit frequency was equal and follows
        {"146.5213", true, 145000000, 145000000, 0}, // no raster frequency in its window
        {"1000", true, 799999950, 799999950, 1},
        {"abc", true, 145000000, 145000000, 0},
        {"0", true, 145000000, 145000000, 0},
        {"147", false, 145000000, 147000000, 1},
        {" 146.520 MHz", true, 146520000, 146520000, 1}, // only digits and the point count
        {"146,52", true, 799999950, 799999950, 1},       // 14652 MHz, then the limit
    };
    for (const Case& c : cases) {
        datCh record = Channel(145000000, 145000000);
        Request q = With(Request::Commit(c.text));
        EXPECT_EQ(ConvChannelFreqCell(q.r, record, c.receive, q.out), c.changed) << c.text;
        EXPECT_EQ(record.rxFreq, c.rx) << c.text;
        EXPECT_EQ(record.txFreq, c.tx) << c.text;
    }
}

TEST_F(FrequencyCellTest, ADifferentTransmitFrequencyStays) {
    datCh record = Channel(145000000, 145600000);
    Request q = With(Request::Commit("146.52"));
    EXPECT_EQ(ConvChannelFreqCell(q.r, record, true, q.out), 1);
    EXPECT_EQ(record.txFreq, 145600000);
    EXPECT_EQ(q.r.displayText, "146.520000");
}

TEST_F(FrequencyCellTest, ANewChannelTakesItsTransmitFrequencyFromTheReceiveFrequency) {
    struct Case {
        const char* text;
        int32_t offset, tx;
    } cases[] = {
        {"146.52", 0, 146520000},
        {"146.52", 600000, 147120000},
        {"470", 5000000, 473000000}, // a further 2 MHz down from 470 MHz on
        {"799.99", 5000000, 799999950},
    };
    for (const Case& c : cases) {
        datCh record = Channel(0, 0);
        ASSERT_FALSE(record.programmed);
        Request q = With(Request::Commit(c.text));
        EXPECT_EQ(ConvFrequencyCell(q.r, record, true, c.offset, q.out), 1);
        EXPECT_EQ(record.txFreq, c.tx) << c.text;
        EXPECT_TRUE(record.programmed);
        record.StoreAndReload();
        EXPECT_EQ(record.txFreq, c.tx) << c.text;
    }
}

TEST_F(FrequencyCellTest, ShowsMegahertzRightAlignedAndTheSameTransmitFrequencyAsAnArrow) {
    struct Case {
        int32_t rx, tx;
        bool receive;
        const char* shown;
        uint8_t alignment;
    } cases[] = {
        {146520000, 147000000, true, "146.520000", kRight},
        {146520000, 147000000, false, "147.000000", kRight},
        {146520000, 146520000, false, "<-", kCentre},
        {0, 147000000, true, "", kRight},
        {0, 147000000, false, "", kRight},
        {50, 0, true, "0.000050", kRight},
    };
    for (const Case& c : cases) {
        datCh record = Channel(c.rx, c.tx);
        Request q = With(Request::Key());
        EXPECT_EQ(ConvChannelFreqCell(q.r, record, c.receive, q.out), 0);
        EXPECT_EQ(q.r.displayText, c.shown);
        EXPECT_EQ(cell.layout & 3, c.alignment) << c.shown;
    }
}

TEST_F(FrequencyCellTest, KeysThatOpenTheEditor) {
    struct Case {
        int32_t rx, key;
        bool receive;
        const char* text;
        int32_t selStart, selLength;
    } cases[] = {
        {146520000, '.', true, "146.520000", 4, 6},
        {146520000, '.', false, "147.000000", 4, 6},
        {146520000, '=', false, "146.520000", 0, 10},
        {146520000, '5', true, "5", 1, 0},
        {146520000, kEnter, true, "146.520000", 0, 10},
        {146520000, kSpace, false, "147.000000", 0, 10},
        {146520000, kBack, true, "146.520000", 0, 10},
        {0, kEnter, true, "", 0, 0},
        {0, kEnter, false, "", 0, 0},
    };
    for (const Case& c : cases) {
        datCh record = Channel(c.rx, 147000000);
        Request q = With(Request::Key(c.key));
        ConvChannelFreqCell(q.r, record, c.receive, q.out);
        EXPECT_EQ(q.out, kEditor) << c.key;
        EXPECT_EQ(q.r.displayText, c.text) << c.key;
        EXPECT_EQ(q.r.selStart, c.selStart) << c.key;
        EXPECT_EQ(q.r.selLength, c.selLength) << c.key;
    }
    datCh record = Channel(146520000, 147000000);
    Request equals = With(Request::Key('='));
    ConvChannelFreqCell(equals.r, record, true, equals.out);
    EXPECT_EQ(equals.out, 0);
}

TEST_F(FrequencyCellTest, TheStoredChannelHoldsTheFrequencies) {
    datCh record = Channel(0, 0);
    Request q = With(Request::Commit("146.52"));
    ConvChannelFreqCell(q.r, record, true, q.out);
    record.StoreAndReload();
    const int32_t s = 65408 + 30 * 7;
    const uint8_t bytes[4] = {0x08, 0xBB, 0xB7, 0xC0}; // 146520000, big-endian
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(state.image.GetByte(s + i), bytes[i]);
        EXPECT_EQ(state.image.GetByte(s + 4 + i), bytes[i]);
    }
    EXPECT_EQ(record.rxFreq, 146520000);
    EXPECT_EQ(record.txFreq, 146520000);
}

namespace {
const std::vector<std::string> kToneLists = {
    "#GI_Sheet_Sel_Mch_CTone_Cells",
    "{(%Flex0[0])}67.0|{(%Flex0[2])}71.9|{(%Flex0[52])}Off|",
    "{(%Flex0[1])}69.3|{(%Flex0[3])}74.4|{(%FlexDtcs[53])}DTCS|",
    "#GI_AppItem_Ctcss",
    "67.0, 69.3,71.9",
    "74.4",
    "#End_Of_Ovl",
};
} // namespace

class ToneCellTest : public ::testing::Test {
protected:
    ProgramState state{0};
    celltest::ScopedOverlay overlay{kToneLists};
    cmcFCache cache;
    ScopedLayoutCache useCache{&cache};
    RecordingPopupOpener popups;
    ScopedPopupOpener usePopups{&popups};
    cmcCellObj cell;
    PickedItem picked;

    static datTone Ctcss(int16_t n) { return datTone{true, false, false, n, 0}; }
    static datTone Dtcs(int16_t code, bool inverted) { return datTone{true, true, inverted, 0, code}; }
    static datTone Off() { return datTone{}; }

    datCh Channel(datTone rx, datTone tx) {
        datCh record(&state.image);
        record.Load(1, 3);
        record.rxFreq = 146520000;
        record.rxTone = rx;
        record.txTone = tx;
        return record;
    }
    Request With(Request q) {
        q.r.cell = &cell;
        q.r.texts = &overlay.Table();
        return q;
    }
    Request Pick(int32_t listCell, int32_t value) { return With(picked.Pick(listCell, value)); }
};

TEST_F(ToneCellTest, ShowsTheToneNameOffOrTheDtcsCode) {
    struct Case {
        datTone tone;
        const char* shown;
    } cases[] = {{Ctcss(1), "69.3"}, {Off(), "Off"}, {Dtcs(19, false), "023N"}, {Dtcs(492, true), "754i"}};
    for (const Case& c : cases) {
        datCh record = Channel(c.tone, Off());
        Request q = With(Request::Key());
        EXPECT_EQ(ConvCtcssDtcsCell(q.r, record, true, q.out), 0);
        EXPECT_EQ(q.r.displayText, c.shown);
        EXPECT_EQ(cell.layout & 3, kRight);
    }
}

TEST_F(ToneCellTest, TypedDtcsCodesAndToneNames) {
    struct Case {
        const char* text;
        datTone tone;
        int32_t changed;
    } cases[] = {
        {"023n", Dtcs(19, false), 1},
        {" 754I ", Dtcs(492, true), 1},
        {"023", Dtcs(19, false), 1},
        {"0238", Ctcss(3), 0}, // four digits are no DTCS code and name no tone
        {"089", Ctcss(3), 0},  // not octal
        {"69", Ctcss(1), 1},
        {"7", Ctcss(3), 0}, // two tones begin with 7: one character is not enough
        {"71", Ctcss(2), 1},
        {"6", Ctcss(3), 0},
    };
    for (const Case& c : cases) {
        datCh record = Channel(Ctcss(3), Off());
        Request q = With(Request::Commit(c.text));
        EXPECT_EQ(ConvCtcssDtcsCell(q.r, record, true, q.out), c.changed) << c.text;
        EXPECT_EQ(record.rxTone, c.tone) << c.text;
    }
}

TEST_F(ToneCellTest, SpaceInvertsADtcsCodeAndStepsACtcssTone) {
    datCh dtcs = Channel(Dtcs(19, false), Off());
    Request q = With(Request::Key(kSpace));
    EXPECT_EQ(ConvCtcssDtcsCell(q.r, dtcs, true, q.out), 1);
    EXPECT_EQ(dtcs.rxTone, Dtcs(19, true));
    EXPECT_EQ(q.r.displayText, "023i");
    Request b = With(Request::Key(kBack));
    EXPECT_EQ(ConvCtcssDtcsCell(b.r, dtcs, true, b.out), 1);
    EXPECT_EQ(dtcs.rxTone, Dtcs(19, false));

    // Screen order 0, 1, 2, 3, 52: the DTCS item is not a tone of the list.
    struct Case {
        datTone start;
        int32_t key;
        datTone tone;
    } cases[] = {{Ctcss(1), kSpace, Ctcss(2)},
                 {Ctcss(3), kSpace, Off()},
                 {Off(), kSpace, Ctcss(0)},
                 {Ctcss(0), kBack, Off()}};
    for (const Case& c : cases) {
        datCh record = Channel(c.start, Off());
        Request s = With(Request::Key(c.key));
        EXPECT_EQ(ConvCtcssDtcsCell(s.r, record, true, s.out), 1);
        EXPECT_EQ(record.rxTone, c.tone);
    }
}

TEST_F(ToneCellTest, PicksFromTheToneList) {
    datCh record = Channel(Dtcs(19, true), Off());
    Request q = Pick(listcell::Flex0, 2);
    EXPECT_EQ(ConvCtcssDtcsCell(q.r, record, true, q.out), 1);
    EXPECT_EQ(record.rxTone, Ctcss(2));
    EXPECT_EQ(q.r.displayText, "71.9");

    Request off = Pick(listcell::Flex0, 52);
    EXPECT_EQ(ConvCtcssDtcsCell(off.r, record, true, off.out), 1);
    EXPECT_EQ(record.rxTone, Off());
    EXPECT_EQ(off.r.displayText, "Off");
}

TEST_F(ToneCellTest, TheDtcsItemHandsTheCodeToTheEditor) {
    datCh record = Channel(Dtcs(19, false), Off());
    std::string handed;
    Request q = Pick(listcell::FlexDtcs, 53);
    q.r.reeditClosure = [&](cmcCellCapsule& r, int32_t) {
        handed = r.displayText + "/" + std::to_string(r.selLength);
    };
    EXPECT_EQ(ConvCtcssDtcsCell(q.r, record, true, q.out), 0);
    EXPECT_EQ(handed, "023N/4");
    EXPECT_EQ(record.rxTone, Dtcs(19, false));

    Request noEditor = Pick(listcell::FlexDtcs, 53);
    EXPECT_EQ(ConvCtcssDtcsCell(noEditor.r, record, true, noEditor.out), 0);
    EXPECT_EQ(noEditor.out, 0);
}

TEST_F(ToneCellTest, TheTransmitToneFollowsAnEqualReceiveToneAndShowsAsAnArrow) {
    datCh record = Channel(Ctcss(1), Ctcss(1));
    Request t = With(Request::Key());
    ConvCtcssDtcsCell(t.r, record, false, t.out);
    EXPECT_EQ(t.r.displayText, "<-");
    EXPECT_EQ(cell.layout & 3, kCentre);

    Request q = With(Request::Commit("74"));
    EXPECT_EQ(ConvCtcssDtcsCell(q.r, record, true, q.out), 1);
    EXPECT_EQ(record.rxTone, Ctcss(3));
    EXPECT_EQ(record.txTone, Ctcss(3));

    datCh apart = Channel(Ctcss(1), Ctcss(2));
    Request a = With(Request::Commit("74"));
    ConvCtcssDtcsCell(a.r, apart, true, a.out);
    EXPECT_EQ(apart.txTone, Ctcss(2));

    datCh off = Channel(Off(), Off());
    Request o = With(Request::Key());
    ConvCtcssDtcsCell(o.r, off, false, o.out);
    EXPECT_EQ(o.r.displayText, "Off");
}

TEST_F(ToneCellTest, APrintableKeyOpensTheEditorAndEnterTheList) {
    datCh record = Channel(Ctcss(1), Off());
    Request q = With(Request::Key('7'));
    EXPECT_EQ(ConvCtcssDtcsCell(q.r, record, true, q.out), 0);
    EXPECT_EQ(q.out, kEditor);
    EXPECT_EQ(q.r.displayText, "7");

    Request e = With(Request::Key(kEnter));
    ConvCtcssDtcsCell(e.r, record, true, e.out);
    EXPECT_EQ(e.out, cmcCellCapsule::kResultPopupOpened);
    ASSERT_EQ(popups.Log().size(), 1u);
    EXPECT_EQ(popups.Log()[0].key, "GI_Sheet_Sel_Mch_CTone");
    EXPECT_EQ(popups.Log()[0].currentValue, 1);
}

TEST_F(ToneCellTest, MatchListPrefixCountsItemsOverTheLines) {
    Request q = With(Request::Key());
    int32_t first = 0;
    EXPECT_EQ(MatchListPrefix(q.r, "GI_AppItem_Ctcss", "7", first), 2);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(MatchListPrefix(q.r, "GI_AppItem_Ctcss", " 69.3 ", first), 1);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(MatchListPrefix(q.r, "GI_AppItem_Ctcss", "8", first), 0);
    EXPECT_EQ(first, -1);
}
