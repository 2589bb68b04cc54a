#include "cells/TextConv.h"
#include "CellTestSupport.h"
#include "ConvFixture.h"
#include "cells/ConvKeys.h"
#include "cells/LayoutCache.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "image/BankSite.h"
#include "image/datCh.h"
#include "tests/support/RecordingPopupOpener.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

using convtest::PickedItem;
using convtest::ProgramState;
using convtest::Request;
using namespace convtest::grid;

TEST(ConvTextCell, StoresTheTypedTextBlankPadded) {
    std::array<uint8_t, 12> field;
    field.fill('#');
    Request q = Request::Commit("ABC");
    EXPECT_EQ(ConvTextCell(q.r, field.data(), 12, q.out), 1);
    EXPECT_EQ(std::string(field.begin(), field.end()), "ABC         ");
    EXPECT_EQ(q.r.displayText, "ABC");
    EXPECT_EQ(q.r.selLength, 3);

    Request cut = Request::Commit("ABCDEFGHIJKLMN\x01");
    ConvTextCell(cut.r, field.data(), 12, cut.out);
    EXPECT_EQ(std::string(field.begin(), field.end()), "ABCDEFGHIJKL");
}

TEST(ConvTextCell, BytesWithoutPrintableFormShowAsBlanksAndAreRewritten) {
    std::array<uint8_t, 6> field{0x00, 'A', 0x07, 'B', 0xC8, 0x00};
    Request q = Request::Key();
    EXPECT_EQ(ConvTextCell(q.r, field.data(), 6, q.out), 0);
    EXPECT_EQ(q.r.displayText, " A B");
    EXPECT_EQ(std::string(field.begin(), field.end()), " A B  ");
}

TEST(ConvTextCell, KeysThatOpenTheEditor) {
    struct Case {
        int32_t key, out;
        const char* text;
    } cases[] = {{kSpace, kEditor, "NAME"}, {kBack, kEditor, "NAME"}, {kEnter, kEditor, "NAME"},
                 {'x', kEditor, "x"},       {'~', kEditor, "~"},      {27, 0, "NAME"}};
    for (const Case& c : cases) {
        std::array<uint8_t, 8> field;
        std::memcpy(field.data(), "NAME    ", 8);
        Request q = Request::Key(c.key);
        ConvTextCell(q.r, field.data(), 8, q.out);
        EXPECT_EQ(q.out, c.out) << c.key;
        EXPECT_EQ(q.r.displayText, c.text) << c.key;
    }
}

TEST(FormatBankLabel, NumberColonAndTheNameWithUnprintableBytesAsStars) {
    ProgramState state;
    const int32_t names = 95542;
    std::memcpy(state.image.Data() + names, "LOCAL       ", 12);
    std::memcpy(state.image.Data() + names + 12,
                "A\x07"
                "B\0CDEFGHIJK",
                12);
    std::memcpy(state.image.Data() + names + 12 * 127, "LAST BANK123", 12);
    EXPECT_EQ(FormatBankLabel(state.image, 0), "1: LOCAL       ");
    EXPECT_EQ(FormatBankLabel(state.image, 1), "2: A*B");
    EXPECT_EQ(FormatBankLabel(state.image, 127), "128: LAST BANK123");
}

TEST(CountProgrammedInRange, CountsProgrammedChannelsOfTheCurrentModelClass) {
    ProgramState state(0);
    for (int32_t n : {3, 7, 511}) {
        datCh record(&state.image);
        record.Load(1, n);
        record.rxFreq = 146520000;
        record.Store(1, n);
    }
    EXPECT_EQ(CountProgrammedInRange(state.image, 0, 511), 3);
    EXPECT_EQ(CountProgrammedInRange(state.image, 4, 6), 0);
    EXPECT_EQ(CountProgrammedInRange(state.image, 7, 7), 1);
    EXPECT_EQ(CountProgrammedChannels(), 3);
    for (auto [first, last] : {std::pair{10, 5}, {-1, 5}, {0, 512}, {512, 512}})
        EXPECT_EQ(CountProgrammedInRange(state.image, first, last), -1) << first << ".." << last;
    EXPECT_EQ(GetBankUsedQty(3), -1);
}

TEST(ConfirmOkCancel, ShowsTheKeysLinesInAWarningBox) {
    celltest::ScopedOverlay overlay(
        {"#GI_Sys_AppTitle", "QT4410R", "#GI_Mess_Sure", "Line one", "Line two", "#End_Of_Ovl"});
    plat::ScriptedMessageBox boxes;
    plat::ScopedMessageBoxes use(&boxes);
    boxes.Expect("Line one\nLine two", plat::IDCANCEL).Expect("", plat::IDOK);
    EXPECT_EQ(ConfirmOkCancel("GI_Mess_Sure"), plat::IDCANCEL);
    EXPECT_EQ(ConfirmOkCancel("GI_Mess_Sure"), plat::IDOK);
    ASSERT_EQ(boxes.Log().size(), 2u);
    EXPECT_EQ(boxes.Log()[0].text, "Line one\nLine two");
    EXPECT_EQ(boxes.Log()[0].caption, "QT4410R");
    EXPECT_EQ(boxes.Log()[0].flags, unsigned(plat::MB_OKCANCEL | plat::MB_ICONWARNING));
}

TEST(ByteHelpers, BlankTestCopyAndMasks) {
    EXPECT_TRUE(IsAllBlank(reinterpret_cast<const uint8_t*>("   x"), 3));
    EXPECT_FALSE(IsAllBlank(reinterpret_cast<const uint8_t*>("   x"), 4));
    EXPECT_TRUE(IsAllBlank(nullptr, 0));

    uint8_t bytes[6] = {'A', 0x01, 0x7F, 'b', 0xFF, 'z'};
    uint8_t copy[6] = {};
    CopyBytes(copy, bytes, 5);
    EXPECT_EQ(std::memcmp(copy, bytes, 5), 0);
    EXPECT_EQ(copy[5], 0);
    MaskNonPrintableStar(bytes, 5);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes)), "A**b*");
    uint8_t blanks[4] = {0x00, 'Q', 0x90, '~'};
    MaskNonPrintableBlank(blanks, 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(blanks), 4), " Q ~");
}

namespace {
const std::vector<std::string> kScanLists = {
    "#GI_AddCH",
    "ch",
    "#GI_Sheet_Sel_ScanPrio1CH_Cells",
    "{(%Flex0[0])}Off|",
    "{(%Flex0[1])}Current|",
    "{(%Flex0[5])}Select|",
    "#GI_Sheet_Sel_ScanPrio2CH_Cells",
    "{(%Flex0[0])}Off|",
    "{(%Flex0[5])}Select|",
    "#GI_Sheet_Sel_ScanTXCH_Cells",
    "{(%Flex0[0])}Current|",
    "{(%Flex0[5])}Select|",
    "#GI_Sheet_Sel_ScanZoneSel_Cells",
    "{(%FlexZoneSel[0])}1|{(%FlexZoneSel[1])}2|{(%FlexZoneSel[2])}3|",
    "#End_Of_Ovl",
};
} // namespace

class ScanChannelTest : public ::testing::Test {
protected:
    ScanChannelTest() {
        SetBankChannelCount(state.image, 0, 10);
        SetBankChannelCount(state.image, 1, 0);
        SetBankChannelCount(state.image, 2, 5);
        record.Load(8, 2);
        SetScanSelectionBank(0);
    }

    ProgramState state{0};
    celltest::ScopedOverlay overlay{kScanLists};
    cmcFCache cache;
    ScopedLayoutCache useCache{&cache};
    RecordingPopupOpener popups;
    ScopedPopupOpener usePopups{&popups};
    datCh record{&state.image};
    PickedItem picked;

    // The request of a list item picked in the pop-up.
    Request Pick(int32_t listCell, int32_t value) { return picked.Pick(listCell, value, &overlay.Table()); }
};

TEST_F(ScanChannelTest, AChannelIsChosenThroughTheModeTheBankAndTheChannelPopUps) {
    int32_t mode = 0;
    Request pickMode = Pick(listcell::Flex0, 5);
    EXPECT_EQ(ConvScanChannelCell(pickMode.r, record, mode, 0, pickMode.out), 1);
    EXPECT_EQ(mode, 5);
    EXPECT_EQ(pickMode.out, kPopup);
    ASSERT_EQ(popups.Log().size(), 1u);
    EXPECT_EQ(popups.Log()[0].kind, RecordingPopupOpener::Kind::List);
    EXPECT_EQ(popups.Log()[0].key, "GI_Sheet_Sel_ScanZoneSel");
    EXPECT_EQ(popups.Log()[0].listCellId, listcell::FlexZoneSel);

    Request pickBank = Pick(listcell::FlexZoneSel, 2);
    EXPECT_EQ(ConvScanChannelCell(pickBank.r, record, mode, 0, pickBank.out), 0);
    EXPECT_EQ(pickBank.out, kPopup);
    EXPECT_EQ(ScanSelectionBank(), 2);
    ASSERT_EQ(popups.Log().size(), 2u);
    EXPECT_EQ(popups.Log()[1].kind, RecordingPopupOpener::Kind::ChannelList);
    EXPECT_EQ(popups.Log()[1].key, "GI_Sheet_Sel_ScanCHSel");
    EXPECT_EQ(popups.Log()[1].listCellId, listcell::FlexCHSel);
    EXPECT_EQ(popups.Log()[1].text, "C");

    Request pickChannel = Pick(listcell::FlexCHSel, 3);
    EXPECT_EQ(ConvScanChannelCell(pickChannel.r, record, mode, 0, pickChannel.out), 1);
    EXPECT_EQ(record.prio1Ch, 13);
    EXPECT_EQ(pickChannel.r.displayText, "3-4ch");
    record.StoreAndReload();
    EXPECT_EQ(record.prio1Ch, 13);
}

TEST_F(ScanChannelTest, AnEmptyBankOpensTheBankListAgain) {
    int32_t mode = 5;
    Request q = Pick(listcell::FlexZoneSel, 1);
    ConvScanChannelCell(q.r, record, mode, 2, q.out);
    EXPECT_EQ(q.out, kPopup);
    ASSERT_EQ(popups.Log().size(), 1u);
    EXPECT_EQ(popups.Log()[0].kind, RecordingPopupOpener::Kind::List);
    EXPECT_EQ(popups.Log()[0].key, "GI_Sheet_Sel_ScanZoneSel");
}

TEST_F(ScanChannelTest, EachSelectorHasItsModeListAndItsChannel) {
    struct Case {
        int32_t which;
        int32_t datCh::*channel;
        const char* text0;
    } cases[] = {{0, &datCh::prio1Ch, "Off"}, {1, &datCh::prio2Ch, "Off"}, {2, &datCh::txCh, "Current"}};
    for (const Case& c : cases) {
        record.*c.channel = 4;
        int32_t mode = 5;
        Request shown = Request::Key(0, &overlay.Table());
        EXPECT_EQ(ConvScanChannelCell(shown.r, record, mode, c.which, shown.out), 0);
        EXPECT_EQ(shown.r.displayText, "1-5ch");
        mode = 0;
        Request off = Request::Key(0, &overlay.Table());
        ConvScanChannelCell(off.r, record, mode, c.which, off.out);
        EXPECT_EQ(off.r.displayText, c.text0);
        SetScanSelectionBank(2);
        Request pick = Pick(listcell::FlexCHSel, 0);
        ConvScanChannelCell(pick.r, record, mode, c.which, pick.out);
        EXPECT_EQ(record.*c.channel, 10);
    }
}

TEST_F(ScanChannelTest, SecondPriorityIsSwitchedByItsMode) {
    int32_t mode = 0;
    Request on = Pick(listcell::Flex0, 5);
    ConvScanChannelCell(on.r, record, mode, 1, on.out);
    EXPECT_TRUE(record.slBitB);
    Request off = Request::Key(kSpace, &overlay.Table());
    EXPECT_EQ(ConvScanChannelCell(off.r, record, mode, 1, off.out), 1);
    EXPECT_EQ(mode, 0);
    EXPECT_FALSE(record.slBitB);
    // The first priority channel leaves the flag alone.
    record.slBitB = true;
    Request first = Pick(listcell::Flex0, 0);
    ConvScanChannelCell(first.r, record, mode, 0, first.out);
    EXPECT_TRUE(record.slBitB);
}

TEST_F(ScanChannelTest, SpaceStepsTheModeListAndEnterOpensIt) {
    int32_t mode = 0;
    Request q = Request::Key(kSpace, &overlay.Table());
    EXPECT_EQ(ConvScanChannelCell(q.r, record, mode, 0, q.out), 1);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(q.r.displayText, "Current");
    Request e = Request::Key(kEnter, &overlay.Table());
    ConvScanChannelCell(e.r, record, mode, 0, e.out);
    EXPECT_EQ(e.out, kPopup);
    ASSERT_EQ(popups.Log().size(), 1u);
    EXPECT_EQ(popups.Log()[0].key, "GI_Sheet_Sel_ScanPrio1CH");
}
