#include "cells/ListConv.h"
#include "CellTestSupport.h"
#include "ConvFixture.h"
#include "cells/ConvKeys.h"
#include "cells/LayoutCache.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "foundation/cmcEvMan.h"
#include "tests/support/ManualScheduler.h"
#include "tests/support/RecordingPopupOpener.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using convtest::PickedItem;
using convtest::Request;
using namespace convtest::grid;

namespace {

// Lists as the overlay lays them out, items in columns.
const std::vector<std::string> kLists = {
    "#L_Cells",
    "{(%Flex0[0])}Off|{(%Flex0[3])}Three|",
    "{(%Flex0[1])}One|{(%Flex1[7])}Other|",
    "{(%Flex0[2])}Two|",
    "#M_Cells",
    "{(%FlexMark[4])}Marked|",
    "#One_Cells",
    "{(%Flex0[5])}Only|",
    "#N_Cells",
    "{(%Flex0[0])}Off|{(%Flex0[1])}10|{(%Flex0[2]:12.5)}12.5 s|{(%Flex0[3])}15|",
    "#Names_Cells",
    "{(%Flex0[0])}Off|{(%Flex0[1])}Two|{(%Flex0[2])}Three|{(%Flex0[3])}Twenty|",
    "#A_Cells",
    "{(%Flex0[0])}Off|{(%Flex0[99])}Auto|",
    "{(%Flex0[1])}Code|",
    "#B_Cells",
    "{(%Flex1[1])}1|{(%Flex1[2])}2|{(%Flex1[3])}3|",
    "{(%Flex1[4])}4|{(%Flex1[32])}32|",
    "#GI_Sheet_Sel_UserSetEnable_Cells",
    "{(%Flex0[0])}Disable|",
    "{(%Flex0[1])}Enable|",
    "#End_Of_Ovl",
};

} // namespace

class ListConvTest : public ::testing::Test {
protected:
    celltest::ScopedOverlay overlay{kLists};
    cmcFCache cache;
    ScopedLayoutCache useCache{&cache};
    RecordingPopupOpener popups;
    ScopedPopupOpener usePopups{&popups};
    PickedItem picked;

    // The request of a list item picked in the pop-up.
    Request Pick(int32_t listCell, int32_t value) { return picked.Pick(listCell, value, &overlay.Table()); }
    Request Key(int32_t key) { return Request::Key(key, &overlay.Table()); }
    Request Commit(const std::string& text) { return Request::Commit(text, &overlay.Table()); }
};

TEST_F(ListConvTest, ShowsTheItemTextOfTheValue) {
    for (auto [value, text] : {std::pair{0, "Off"}, {1, "One"}, {3, "Three"}, {9, "error"}}) {
        Request q = Key(0);
        int32_t v = value;
        EXPECT_EQ(ConvSelCell(q.r, "L", v, q.out), 0);
        EXPECT_EQ(q.r.displayText, text);
        EXPECT_EQ(q.r.selLength, int32_t(std::string(text).size()));
        EXPECT_EQ(q.out, 0);
    }
}

TEST_F(ListConvTest, SpaceAndBackspaceStepInScreenOrderAndWrap) {
    struct Case {
        const char* list;
        int32_t key, start, value, changed;
    } cases[] = {
        {"L", kSpace, 0, 1, 1},   {"L", kSpace, 2, 3, 1}, {"L", kSpace, 3, 0, 1}, {"L", kBack, 0, 3, 1},
        {"L", kBack, 1, 0, 1},    {"L", kSpace, 9, 0, 1}, // not in the list: the first item
        {"One", kSpace, 5, 5, 0},                         // one item keeps its value
    };
    for (const Case& c : cases) {
        Request q = Key(c.key);
        int32_t v = c.start;
        EXPECT_EQ(ConvSelCell(q.r, c.list, v, q.out), c.changed) << c.start;
        EXPECT_EQ(v, c.value) << c.start;
        EXPECT_EQ(q.out, 0);
    }
    Request noGrid = Request::NoGrid(kSpace, &overlay.Table());
    int32_t v = 0;
    EXPECT_EQ(ConvSelCell(noGrid.r, "L", v, noGrid.out), 0);
    EXPECT_EQ(v, 0);
}

TEST_F(ListConvTest, EnterOpensTheListBesideTheCell) {
    Request q = Key(kEnter);
    int32_t v = 2;
    EXPECT_EQ(ConvSelCell4(q.r, "M", v, q.out), 0);
    EXPECT_EQ(q.out, kPopup);
    ASSERT_EQ(popups.Log().size(), 1u);
    const auto& o = popups.Log()[0];
    EXPECT_EQ(o.kind, RecordingPopupOpener::Kind::List);
    EXPECT_EQ(o.listCellId, listcell::FlexMark);
    EXPECT_EQ(o.currentValue, 2);
    EXPECT_EQ(o.key, "M");
    EXPECT_EQ(o.texts, &overlay.Table());
}

TEST_F(ListConvTest, APickOfTheListStoresItsValueAndAPickOfAnotherListIsNotForTheCell) {
    Request q = Pick(listcell::Flex0, 2);
    int32_t v = 0;
    EXPECT_EQ(ConvSelCell(q.r, "L", v, q.out), 1);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(q.r.displayText, "Two");

    Request other = Pick(listcell::Flex1, 7);
    other.r.displayText = "untouched";
    EXPECT_EQ(ConvSelCell(other.r, "L", v, other.out), 0);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(other.r.displayText, "untouched");

    // The pointer form treats it as no pick: the cell is shown and its keys act.
    Request ptr = Pick(listcell::Flex1, 7);
    ptr.r.key = kSpace;
    EXPECT_EQ(ConvSelPtrCell(ptr.r, "L", v, ptr.out), 1);
    EXPECT_EQ(v, 3);
    EXPECT_EQ(ptr.r.displayText, "Three");
}

TEST_F(ListConvTest, TheByteFormIsWrittenOnlyOnAChange) {
    uint8_t byte = 1;
    Request q = Key(0);
    EXPECT_EQ(ConvSelByteCell(q.r, "L", byte, q.out), 0);
    EXPECT_EQ(q.r.displayText, "One");
    Request s = Key(kSpace);
    EXPECT_EQ(ConvSelByteCell(s.r, "L", byte, s.out), 1);
    EXPECT_EQ(byte, 2);
}

TEST_F(ListConvTest, TypedListsMatchNumbersOrTextPrefixes) {
    struct Case {
        const char* list;
        int32_t matchMode;
        const char* text;
        int32_t value, changed;
    } cases[] = {
        {"N", 0, "12.4", 2, 1},  {"N", 0, "of", 0, 1},     {"N", 0, " 14 ", 3, 1},    {"N", 0, "ox", 7, 0},
        {"N", 0, "99", 3, 1},    {"Names", 1, "tw", 1, 1}, {"Names", 1, "twe", 3, 1}, {"Names", 1, "x", 7, 0},
        {"Names", 2, "t", 7, 0}, {"Names", 2, "th", 2, 1}, {"N", 2, "13", 2, 1}, // no prefix: nearest number
        {"N", 2, "12", 2, 1},                                                    // "12.5 s" begins with 12
    };
    for (const Case& c : cases) {
        Request q = Commit(c.text);
        int32_t v = 7;
        EXPECT_EQ(ConvSelListCell(q.r, c.list, listcell::Flex0, v, c.matchMode, q.out), c.changed) << c.text;
        EXPECT_EQ(v, c.value) << c.list << " " << c.matchMode << " " << c.text;
    }
}

TEST_F(ListConvTest, TypedListsOpenTheEditorOnTheKeysOfTheirMatchMode) {
    struct Case {
        int32_t matchMode, key, out;
        const char* text;
    } cases[] = {
        {0, '5', kEditor, "5"}, {0, 'o', kEditor, "o"}, {0, 'x', 0, "10"},         {1, 'x', kEditor, "x"},
        {2, '#', kEditor, "#"}, {1, kSpace, 0, "12.5"}, {1, kEnter, kPopup, "10"},
    };
    for (const Case& c : cases) {
        Request q = Key(c.key);
        int32_t v = 1;
        ConvSelListCell(q.r, "N", listcell::Flex0, v, c.matchMode, q.out);
        EXPECT_EQ(q.out, c.out) << c.key;
        EXPECT_EQ(q.r.displayText, c.text) << c.key;
    }
}

TEST_F(ListConvTest, TwoLevelListsBoundTheirNumbersByBothLists) {
    EXPECT_EQ(ListFirstItem("A", listcell::Flex0), 1);
    EXPECT_EQ(ListLastItem("B", listcell::Flex1), 32);
    EXPECT_EQ(ListFirstItem("B", listcell::Flex1), 4);
    EXPECT_EQ(ListLastItem("L", listcell::FlexDtcs), -1);
}

TEST_F(ListConvTest, TwoLevelListsShowNumbersAndTakeTypedNumbersAndOff) {
    struct Case {
        const char* text;
        bool offAllowed;
        int32_t value, changed;
        const char* shown;
    } cases[] = {
        {"off", true, 0, 1, "Off"}, {"40", true, 32, 1, "32"}, {"0", true, 0, 1, "Off"},
        {"0", false, 1, 1, "1"},    {"17", true, 17, 1, "17"}, {"abc", true, 5, 0, "5"},
    };
    for (const Case& c : cases) {
        Request q = Commit(c.text);
        int32_t v = 5;
        EXPECT_EQ(
            ConvTwoLevelListCell(q.r, "A", "B", listcell::Flex0, listcell::Flex1, v, c.offAllowed, q.out),
            c.changed)
            << c.text;
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(q.r.displayText, c.shown) << c.text;
    }
}

TEST_F(ListConvTest, TwoLevelListsTakePicksFromEitherList) {
    Request number = Pick(listcell::Flex0, 1);
    int32_t v = 17;
    EXPECT_EQ(ConvSelPairCell(number.r, "A", "B", v, number.out), 0);
    EXPECT_EQ(number.out, kPopup);
    ASSERT_EQ(popups.Log().size(), 1u);
    EXPECT_EQ(popups.Log()[0].key, "B");
    EXPECT_EQ(popups.Log()[0].listCellId, listcell::Flex1);
    EXPECT_EQ(popups.Log()[0].currentValue, 17);
    EXPECT_EQ(v, 17);

    Request word = Pick(listcell::Flex0, 99);
    EXPECT_EQ(ConvSelPairCell(word.r, "A", "B", v, word.out), 1);
    EXPECT_EQ(v, 99);
    EXPECT_EQ(word.r.displayText, "Auto");

    Request second = Pick(listcell::Flex1, 4);
    EXPECT_EQ(ConvSelPairCell(second.r, "A", "B", v, second.out), 1);
    EXPECT_EQ(v, 4);
    EXPECT_EQ(second.r.displayText, "4");
}

TEST_F(ListConvTest, TwoLevelListsStepPastTheNumberItem) {
    struct Case {
        int32_t key, start, value;
    } cases[] = {{kSpace, 0, 99}, {kSpace, 17, 99}, {kBack, 99, 0}, {kSpace, 99, 0}};
    for (const Case& c : cases) {
        Request q = Key(c.key);
        int32_t v = c.start;
        ConvSelPairCell(q.r, "A", "B", v, q.out);
        EXPECT_EQ(v, c.value) << c.start;
    }
    Request typed = Key('4');
    int32_t v = 0;
    ConvSelPairCell(typed.r, "A", "B", v, typed.out);
    EXPECT_EQ(typed.out, kEditor);
    EXPECT_EQ(typed.r.displayText, "4");
}

namespace {
struct EventLog {
    std::vector<int32_t> types;
    static void Hear(void* user, const cmcEvent& ev) {
        static_cast<EventLog*>(user)->types.push_back(ev.type);
    }
};
} // namespace

TEST_F(ListConvTest, AttributePicksSetTheirMarksAndAnnounceTheChange) {
    plat::ManualScheduler sched;
    sched.Install();
    auto bus = std::make_unique<cmcEvMan>();
    gEvMan = bus.get();
    EventLog log;
    bus->AddListener(&EventLog::Hear, &log);

    struct Case {
        int32_t item;
        uint8_t start, flags;
        int32_t changed;
        const char* shown;
    } cases[] = {
        {1, 0x00, 0x01, 1, "A"}, {2, 0x01, 0x03, 1, "AB"}, {3, 0x08, 0x04, 1, "E"}, {4, 0x04, 0x08, 1, ""},
        {5, 0x10, 0x00, 1, ""},  {6, 0x00, 0x20, 1, ""},   {1, 0x01, 0x01, 0, "A"}, {7, 0x00, 0x00, 0, ""},
    };
    for (const Case& c : cases) {
        log.types.clear();
        Request q = Pick(listcell::Flex0, c.item);
        uint8_t flags = c.start;
        EXPECT_EQ(ConvAttributeCell(q.r, "GI_Sheet_Sel_Mch_Atr", flags, q.out), c.changed) << c.item;
        EXPECT_EQ(flags, c.flags) << c.item;
        EXPECT_EQ(q.r.displayText, c.shown) << c.item;
        sched.Advance(10);
        EXPECT_EQ(log.types, c.changed ? (std::vector<int32_t>{35, 31}) : std::vector<int32_t>{}) << c.item;
    }
    gEvMan = nullptr;
    bus.reset();
    sched.Advance(1);
}

TEST_F(ListConvTest, AttributeCellsOpenTheirList) {
    Request q = Key(kEnter);
    uint8_t flags = 0x05;
    ConvAttributeCell(q.r, "GI_Sheet_Sel_Mch_Atr", flags, q.out);
    EXPECT_EQ(q.out, kPopup);
    ASSERT_EQ(popups.Log().size(), 1u);
    EXPECT_EQ(popups.Log()[0].key, "GI_Sheet_Sel_Mch_Atr");
    EXPECT_EQ(popups.Log()[0].listCellId, listcell::Flex0);
    EXPECT_EQ(q.r.displayText, "AE");
}

TEST_F(ListConvTest, UserSetEnableCellsEditOneBitCountedFromTheTop) {
    uint8_t bits[2] = {0x00, 0x80};
    Request shown = Key(0);
    EXPECT_EQ(ConvUserSetEnableCell(shown.r, bits, 2, 8, shown.out), 0);
    EXPECT_EQ(shown.r.displayText, "Enable");

    Request on = Key(kSpace);
    EXPECT_EQ(ConvUserSetEnableCell(on.r, bits, 2, 1, on.out), 1);
    EXPECT_EQ(bits[0], 0x40);
    Request off = Pick(listcell::Flex0, 0);
    EXPECT_EQ(ConvUserSetEnableCell(off.r, bits, 2, 8, off.out), 1);
    EXPECT_EQ(bits[1], 0x00);

    Request beyond = Key(kSpace);
    beyond.r.displayText = "untouched";
    EXPECT_EQ(ConvUserSetEnableCell(beyond.r, bits, 2, 16, beyond.out), 0);
    EXPECT_EQ(beyond.r.displayText, "untouched");
    EXPECT_EQ(bits[0], 0x40);
    EXPECT_EQ(bits[1], 0x00);
}

TEST_F(ListConvTest, WithoutALayoutCacheAListIsFatal) {
    ScopedLayoutCache none(nullptr);
    Request q = Key(0);
    int32_t v = 0;
    EXPECT_NE(celltest::FatalText([&] { ConvSelCell(q.r, "L", v, q.out); }).find("layout cache"),
              std::string::npos);
}
