#include "CellTestSupport.h"
#include "ConvFixture.h"
#include "cells/CodeConv.h"
#include "cells/ConvKeys.h"
#include "cells/LayoutCache.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "tests/support/RecordingPopupOpener.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using convtest::PickedItem;
using convtest::ProgramState;
using convtest::Request;
using namespace convtest::grid;

namespace {

constexpr int32_t kOptionByte = 93826;

const std::vector<std::string> kKeyLists = {
    "#GI_Sheet_Sel_Keys_Conv_Lmr_Cells",
    "{(%Flex0[32])}Null|{(%Flex0[48])}Power|{(%Flex0[54])}Talk Around|{(%Flex0[65])}CH Up|",
    "#GI_Sheet_Sel_Keys_Conv_ZuroPmr_Mob_Cells",
    "{(%Flex0[32])}Null|{(%Flex0[50])}Volume|",
    "#GI_Sheet_Sel_Dials_Conv_Cells",
    "{(%Flex0[32])}Null|{(%Flex0[86])}Volume|",
    "#GI_Sheet_Sel_Dials_Conv_ZuroPmr_Cells",
    "{(%Flex0[32])}Null|{(%Flex0[71])}Group|",
    "#GI_Sheet_Sel_KDisp_KeyOpt_HL_Cells",
    "{(%FlexKeyOpt[0])}Low|",
    "{(%FlexKeyOpt[1])}High|",
    "#GI_Sheet_Sel_RxC_AbcSel_Cells",
    "{(%Flex0[0])}Off|",
    "{(%Flex0[1])}Code|",
    "#GI_Sheet_Sel_RxC_AbcCode_Cells",
    "{(%Flex1[1])}1|{(%Flex1[2])}2|{(%Flex1[32])}32|",
    "#End_Of_Ovl",
};

} // namespace

class KeyConvTest : public ::testing::Test {
protected:
    celltest::ScopedOverlay overlay{kKeyLists};
    cmcFCache cache;
    ScopedLayoutCache useCache{&cache};
    RecordingPopupOpener popups;
    ScopedPopupOpener usePopups{&popups};
    PickedItem picked;

    // The request of a list item picked in the pop-up.
    Request Pick(int32_t listCell, int32_t value) { return picked.Pick(listCell, value, &overlay.Table()); }
    Request Key(int32_t key) { return Request::Key(key, &overlay.Table()); }
};

TEST(KeyOption, IdsAndTheirHighLowBits) {
    const std::pair<char, int32_t> ids[] = {{'0', 11}, {'3', 11}, {'1', 12}, {'4', 12}, {'2', 13},
                                            {'5', 13}, {'6', 21}, {'9', 21}, {'7', 22}, {':', 22},
                                            {'8', 23}, {';', 23}, {'A', 0},  {' ', 0},  {'<', 0}};
    for (auto [key, id] : ids)
        EXPECT_EQ(KeyOptionId(key), id) << key;

    cmcEeprom image;
    image.SetSize(layout::kImageSize);
    image.SetByte(kOptionByte, 0x01);
    SetKeyOptionHL(image, 12, 1);
    EXPECT_EQ(image.GetByte(kOptionByte), 0x41);
    EXPECT_EQ(GetKeyOptionHL(image, 12), 1);
    EXPECT_EQ(GetKeyOptionHL(image, 11), 0);
    SetKeyOptionHL(image, 13, 1);
    SetKeyOptionHL(image, 12, 0);
    EXPECT_EQ(image.GetByte(kOptionByte), 0x81);
    SetKeyOptionHL(image, 21, 1); // no option bit
    EXPECT_EQ(image.GetByte(kOptionByte), 0x81);
    EXPECT_EQ(GetKeyOptionHL(image, 21), 0);
}

TEST_F(KeyConvTest, KeysShowTheirFunctionAndOption) {
    ProgramState state(0);
    state.image.SetByte(kOptionByte, 0x20); // id 11 high
    struct Case {
        uint8_t key;
        const char* shown;
    } cases[] = {{'0', "Power /H"}, {'6', "Talk Around /L"}, {'A', "CH Up"}, {'Q', "error"}};
    for (const Case& c : cases) {
        uint8_t key = c.key;
        int32_t flags = 0;
        Request q = Key(0);
        EXPECT_EQ(ConvModelKeysCell(q.r, state.image, key, flags, q.out), 0);
        EXPECT_EQ(q.r.displayText, c.shown);
    }
}

TEST_F(KeyConvTest, PickingAFunctionWithAnOptionAsksForHighOrLow) {
    ProgramState state(0);
    uint8_t key = 'A';
    int32_t flags = 0;
    Request q = Pick(listcell::Flex0, '0');
    EXPECT_EQ(ConvModelKeysCell(q.r, state.image, key, flags, q.out), 1);
    EXPECT_EQ(key, '0');
    EXPECT_EQ(q.out, kPopup);
    ASSERT_EQ(popups.Log().size(), 1u);
    const auto& o = popups.Log()[0];
    EXPECT_EQ(o.key, "GI_Sheet_Sel_KDisp_KeyOpt_HL");
    EXPECT_EQ(o.listCellId, listcell::FlexKeyOpt);
    EXPECT_EQ(o.currentValue, 0);
    EXPECT_EQ(o.request.mode, cmcCellCapsule::kModeFormat);
    EXPECT_EQ(o.request.linkedRequest, nullptr);
    EXPECT_EQ(flags, 0);

    Request high = Pick(listcell::FlexKeyOpt, 1);
    EXPECT_EQ(ConvModelKeysCell(high.r, state.image, key, flags, high.out), 1);
    EXPECT_EQ(state.image.GetByte(kOptionByte), 0x20);
    EXPECT_EQ(flags, 0x20);
    EXPECT_EQ(high.r.displayText, "Power /H");

    popups.ClearLog();
    Request plain = Pick(listcell::Flex0, 'A');
    EXPECT_EQ(ConvModelKeysCell(plain.r, state.image, key, flags, plain.out), 1);
    EXPECT_EQ(key, 'A');
    EXPECT_EQ(plain.out, 0);
    EXPECT_TRUE(popups.Log().empty());
}

TEST_F(KeyConvTest, AHighLowPickForAFunctionWithoutAnOptionBitChangesNothing) {
    ProgramState state(0);
    uint8_t key = '6';
    int32_t flags = 0;
    Request q = Pick(listcell::FlexKeyOpt, 1);
    EXPECT_EQ(ConvModelKeysCell(q.r, state.image, key, flags, q.out), 0);
    EXPECT_EQ(state.image.GetByte(kOptionByte), 0);
    EXPECT_EQ(flags, 0);
    EXPECT_EQ(q.r.displayText, "Talk Around /L");
}

TEST_F(KeyConvTest, TheListFollowsTheModel) {
    struct Case {
        int32_t model;
        bool dial;
        uint8_t key;
        const char* shown;
    } cases[] = {{9, false, '2', "Volume /L"}, {0, true, 'V', "Volume"}, {4, true, 'G', "Group"},
                 {9, true, 'G', "Group"},      {5, true, 'V', "Volume"}, {12, false, 'A', "CH Up"}};
    for (const Case& c : cases) {
        ProgramState state(c.model);
        uint8_t key = c.key;
        int32_t flags = 0;
        Request q = Key(0);
        if (c.dial)
            ConvDialsCell(q.r, state.image, key, flags, q.out);
        else
            ConvModelKeysCell(q.r, state.image, key, flags, q.out);
        EXPECT_EQ(q.r.displayText, c.shown) << c.model;
    }
}

TEST_F(KeyConvTest, SpaceStepsTheAssignmentAndEnterOpensIt) {
    ProgramState state(0);
    uint8_t key = 32;
    int32_t flags = 0;
    Request q = Key(kSpace);
    EXPECT_EQ(ConvModelKeysCell(q.r, state.image, key, flags, q.out), 1);
    EXPECT_EQ(key, '0');
    EXPECT_EQ(q.r.displayText, "Power /L");
    Request e = Key(kEnter);
    ConvModelKeysCell(e.r, state.image, key, flags, e.out);
    EXPECT_EQ(e.out, kPopup);
    ASSERT_EQ(popups.Log().size(), 1u);
    EXPECT_EQ(popups.Log()[0].key, "GI_Sheet_Sel_Keys_Conv_Lmr");
}

TEST_F(KeyConvTest, AbcCodesAreTypedOrPickedThroughTwoLists) {
    struct Case {
        const char* text;
        int32_t value;
        const char* shown;
    } cases[] = {{"off", 0, "Off"}, {"17", 17, "17"}, {"99", 32, "32"}, {"Of 5", 5, "5"}, {"xyz", 9, "9"}};
    for (const Case& c : cases) {
        int32_t value = 9;
        Request q = Request::Commit(c.text, &overlay.Table());
        EXPECT_EQ(ConvRxAbcCodeCell(q.r, value, q.out), 1) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(q.r.displayText, c.shown) << c.text;
    }

    int32_t value = 5;
    Request code = Pick(listcell::Flex0, 1);
    EXPECT_EQ(ConvRxAbcCodeCell(code.r, value, code.out), 0);
    EXPECT_EQ(code.out, kPopup);
    ASSERT_EQ(popups.Log().size(), 1u);
    EXPECT_EQ(popups.Log()[0].key, "GI_Sheet_Sel_RxC_AbcCode");
    EXPECT_EQ(popups.Log()[0].listCellId, listcell::Flex1);
    EXPECT_EQ(popups.Log()[0].currentValue, 5);

    Request off = Pick(listcell::Flex0, 0);
    EXPECT_EQ(ConvRxAbcCodeCell(off.r, value, off.out), 1);
    EXPECT_EQ(value, 0);
    Request number = Pick(listcell::Flex1, 32);
    EXPECT_EQ(ConvRxAbcCodeCell(number.r, value, number.out), 1);
    EXPECT_EQ(value, 32);
    EXPECT_EQ(number.r.displayText, "32");
}

TEST_F(KeyConvTest, AbcCodeKeys) {
    // Stepping never stops on the code item: from off it goes round to off.
    for (int32_t key : {kSpace, kBack}) {
        int32_t value = 0;
        Request q = Key(key);
        EXPECT_EQ(ConvRxAbcCodeCell(q.r, value, q.out), 0);
        EXPECT_EQ(value, 0);
    }
    int32_t value = 12;
    Request step = Key(kSpace);
    EXPECT_EQ(ConvRxAbcCodeCell(step.r, value, step.out), 1);
    EXPECT_EQ(value, 0);
    for (int32_t key : {int32_t('7'), int32_t('.'), int32_t('o')}) {
        Request q = Key(key);
        ConvRxAbcCodeCell(q.r, value, q.out);
        EXPECT_EQ(q.out, kEditor);
        EXPECT_EQ(q.r.displayText, std::string(1, char(key)));
    }
    value = 12;
    Request enter = Key(kEnter);
    ConvRxAbcCodeCell(enter.r, value, enter.out);
    EXPECT_EQ(enter.out, kPopup);
    ASSERT_EQ(popups.Log().size(), 1u);
    EXPECT_EQ(popups.Log()[0].key, "GI_Sheet_Sel_RxC_AbcSel");
    EXPECT_EQ(popups.Log()[0].currentValue, 1);
    EXPECT_EQ(enter.r.displayText, "12");
}
