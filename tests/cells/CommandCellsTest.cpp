// Pop-up list labels, menu commands, model choice, help, sheet links, checks,
// the radio's information sheet and the row pop-up menu.
#include "cells/cloning/CommandCells.h"
#include "CellHarness.h"
#include "cells/CellFrame.h"
#include "image/BankSite.h"
#include "image/datCh.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using celltest::CellHarness;
using celltest::Outcome;

// The text argument of the last call of that name.
std::string LastText(const CellHarness& h, const std::string& name) {
    for (auto it = h.app.calls.rbegin(); it != h.app.calls.rend(); ++it)
        if (it->name == name) return it->text;
    return "(no call)";
}

TEST(CommandCellsTest, TheShippedOverlayHoldsEveryKeyTheCellsRead) {
    CellHarness h;
    for (const CommandCellKey& k : kCommandCellKeys) {
        for (int32_t n = 0; n < k.lines; ++n) {
            const std::optional<std::string> line = gGTex->TryGetTextLine(k.key, n);
            ASSERT_TRUE(line.has_value()) << k.key << " " << n;
            EXPECT_FALSE(line->empty() || line->starts_with('#')) << k.key << " " << n;
        }
    }
    EXPECT_GT(std::strtol(gGTex->GetTextLine("GI_AppUnitIdMax", 0).c_str(), nullptr, 10), 0);
}

TEST(CommandCellsTest, ListLabels) {
    CellHarness h;
    cmcCellObj cell;
    cell.category = 0;
    cell.index = 4;
    cell.SetCaption("Item");
    for (int32_t id : {1, 2, 3, 4, 5, 6, 8, 10}) {
        cell.cellId = id;
        EXPECT_EQ(h.RunCell(cell, [](cmcCellCapsule&) {}).text, "Item") << id;
    }
    EXPECT_EQ(h.Display({0, 9, 4}).text, "  5");
    EXPECT_EQ(h.Display({0, 11, 127}).text, "128");
    EXPECT_EQ(h.Display({0, 7, 0}).text, "7 *Yet*");
}

// The choices that a PMR-Z signalling column marks, in its pop-up list.
TEST(CommandCellsTest, FlexMarkMarksTheChoicesOfASignallingRow) {
    struct Case {
        int32_t model;
        bool signalling;
        int32_t parent;
        int32_t choice;
        bool warning, error;
    } cases[] = {
        {4, true, 156, 0, true, false},   {4, true, 156, 6, false, false}, {4, true, 156, 7, false, false},
        {4, true, 157, 0, false, true},   {4, true, 157, 1, false, false}, {4, true, 158, 1, false, true},
        {4, true, 159, 0, false, false},  {4, true, 160, 0, true, false},  {4, true, 160, 1, false, false},
        {4, false, 157, 0, false, false}, // signalling off
        {3, true, 157, 0, false, false},  // not PMR-Z
        {4, true, 178, 0, true, false},   // the monitor column of the other channel sheet
        {4, true, 179, 0, false, true},   {4, true, 130, 0, false, false}, // no marks for other columns
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.parent << " choice " << c.choice);
        CellHarness h(c.model);
        datCh rec(&h.Image());
        rec.Load(5, 7);
        rec.chX3b3 = c.signalling;
        rec.Store(5, 7);
        cmcCellObj parent;
        parent.category = 2;
        parent.cellId = c.parent;
        parent.index = 7;
        cmcCellCapsule opener;
        opener.cell = &parent;
        const Outcome out = h.Run({0, 4, c.choice}, [&](cmcCellCapsule& r) { r.linkedRequest = &opener; });
        EXPECT_EQ(out.request.markFlags.warning, c.warning);
        EXPECT_EQ(out.request.markFlags.error, c.error);
    }
}

TEST(CommandCellsTest, MenuCommandsActOnEnterOnly) {
    struct Case {
        int32_t id;
        const char* call;
        int32_t value;
        std::string text;
    } cases[] = {
        {12, "NewFile", 0, ""},       {13, "OpenDialog", 0, ""},    {15, "SaveAsDialog", 0, ""},
        {16, "Print", 0, ""},         {17, "Print", 1, ""},         {19, "CloseMainForm", 0, ""},
        {22, "ToggleToolBar", 0, ""}, {24, "SelectComPort", 0, ""}, {26, "CloneRead", 0, ""},
        {27, "CloneWrite", 0, ""},    {28, "ReadCloneInfo", 0, ""}, {31, "ChangeModel", 2, ""},
        {38, "ChangeModel", 9, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        CellHarness h;
        h.Display({0, c.id, 0});
        h.Key({0, c.id, 0}, 'x', false);
        EXPECT_EQ(h.app.Count(c.call), 0);
        h.Key({0, c.id, 0}, 13, false);
        ASSERT_EQ(h.app.Count(c.call), 1);
        for (const auto& call : h.app.calls) {
            if (call.name == c.call) {
                EXPECT_EQ(call.value, c.value);
            }
        }
    }
}

TEST(CommandCellsTest, SaveAsksForANameOnlyWhenUntitled) {
    CellHarness h;
    h.Key({0, 14, 0}, 13, false);
    EXPECT_EQ(h.app.Count("SaveAsDialog"), 1);
    h.app.fileName = "/data/radio.icf";
    h.Key({0, 14, 0}, 13, false);
    EXPECT_EQ(h.app.Count("SaveAsDialog"), 1);
    ASSERT_EQ(h.app.Count("SaveFile"), 1);
    EXPECT_EQ(LastText(h, "SaveFile"), "/data/radio.icf");
}

TEST(CommandCellsTest, MenuStates) {
    CellHarness h;
    indEnviron& env = h.Env();
    env.FontSizePercentage = 120;
    env.ToolbarVisible = 1;
    env.ComPort = 3;
    env.ComSpeedHigh = 1;
    env.ModelType = 7;
    h.app.sheetPrintable = false;
    struct Case {
        CellAddress at;
        bool checked, disabled;
    } cases[] = {
        {{0, 21, 120}, true, false}, {{0, 21, 100}, false, false}, {{0, 22, 0}, true, false},
        {{0, 23, 3}, true, false},   {{0, 23, 4}, false, false},   {{0, 24, 0}, false, false},
        {{0, 25, 1}, true, false},   {{0, 25, 0}, false, false},   {{0, 36, 0}, true, false},
        {{0, 35, 0}, false, false},  {{0, 16, 0}, false, true},    {{0, 17, 0}, false, false},
    };
    for (const Case& c : cases) {
        const Outcome out = h.Display(c.at);
        EXPECT_EQ(out.Checked(), c.checked) << c.at.cellId << "[" << c.at.index << "]";
        EXPECT_EQ(out.Disabled(), c.disabled) << c.at.cellId;
    }
    h.app.sheetPrintable = true;
    EXPECT_FALSE(h.Display({0, 16, 0}).Disabled());
}

TEST(CommandCellsTest, ChoosingASettingStoresItAndChecksTheItem) {
    CellHarness h;
    indEnviron& env = h.Env();
    EXPECT_TRUE(h.Key({0, 21, 80}, 13, false).Checked());
    EXPECT_EQ(env.FontSizePercentage, 80);
    EXPECT_EQ(h.app.Count("CloseSheetCmd"), 1);

    h.Events();
    EXPECT_TRUE(h.Key({0, 23, 2}, 13, false).Checked());
    EXPECT_EQ(env.ComPort, 2);
    const std::vector<cmcEvent> events = h.Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, evRefreshMenusAndToolBar);
    EXPECT_EQ(events[0].mode, evModeSent);

    EXPECT_TRUE(h.Key({0, 25, 1}, 13, false).Checked());
    EXPECT_EQ(env.ComSpeedHigh, 1);

    // The port dialog of the double changes nothing: the USB item follows the port number.
    env.ComPort = 5;
    EXPECT_TRUE(h.Key({0, 24, 0}, 13, false).Checked());
    env.ComPort = 4;
    EXPECT_FALSE(h.Key({0, 24, 0}, 13, false).Checked());
}

TEST(CommandCellsTest, RecentFiles) {
    CellHarness h;
    indEnviron& env = h.Env();
    env.CurrentDirectory = "/data";
    env.Recent.Add("/data/a.icf");
    env.Recent.Add("/other/b.icf");
    const Outcome first = h.Display({0, 18, 0});
    EXPECT_EQ(first.text, "&1 a.icf");
    EXPECT_EQ(first.cell.GetCaption(), "&1 a.icf");
    EXPECT_TRUE(first.cell.flags2 & CellFrame::kMenuCaptionChanged);
    EXPECT_FALSE(first.Disabled());
    EXPECT_EQ(h.Display({0, 18, 1}).text, "&2 /other/b.icf");
    const Outcome third = h.Display({0, 18, 2});
    EXPECT_TRUE(third.Disabled());
    EXPECT_TRUE(third.Hidden());
    EXPECT_EQ(third.text, "");

    h.Key({0, 18, 0}, 13, false);
    ASSERT_EQ(h.app.Count("OpenFile"), 1);
    EXPECT_EQ(LastText(h, "OpenFile"), "/data/a.icf");
    h.Key({0, 18, 2}, 13, false);
    EXPECT_EQ(h.app.Count("OpenFile"), 1);

    env.Recent.Clear();
    const Outcome empty = h.Display({0, 18, 0});
    EXPECT_TRUE(empty.Disabled());
    EXPECT_FALSE(empty.Hidden());
}

TEST(CommandCellsTest, AnEmptyEditMenuGetsItsNoItemEntry) {
    for (int32_t items : {-1, 0, 1, 2}) {
        CellHarness h;
        h.app.editMenuSubItems = items;
        h.Key({0, 20, 0}, 13, false);
        const std::vector<cmcEvent> events = h.Events();
        ASSERT_EQ(events.size(), items == 0 ? 1u : 0u) << items;
        if (items == 0) {
            EXPECT_EQ(events[0].type, evBuildMenuItems);
            EXPECT_EQ(events[0].p1, h.app.mainMenuContext);
            EXPECT_EQ(events[0].p2, 20);
            EXPECT_EQ(events[0].Text(), "GI_PMenu_NoItem");
        }
        const Outcome noItem = h.Display({1, 86, 0});
        EXPECT_TRUE(noItem.Disabled());
        EXPECT_EQ(noItem.Hidden(), items != 1) << items;
    }
}

TEST(CommandCellsTest, HelpAndSheets) {
    CellHarness h;
    h.Events();
    h.Key({0, 39, 0}, 13, false);
    const std::vector<cmcEvent> events = h.Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, evShowAbout);

    h.Display({0, 40, 0});
    EXPECT_TRUE(h.help.shown.empty());
    h.Key({0, 40, 0}, 13, false);
    ASSERT_EQ(h.help.shown.size(), 1u);
    EXPECT_EQ(h.help.shown[0].file, plat::ProgramDirectory() + "QT4410R.html");
    EXPECT_EQ(h.help.shown[0].context, -1);
    EXPECT_EQ(h.help.file, "");

    h.Run(
        {0, 46, 0}, [](cmcCellCapsule& r) { r.key = 13; }, "GI_Sheet_Info");
    h.Key({0, 46, 0}, 13, false);
    ASSERT_EQ(h.app.Count("OpenSheet"), 1);
    EXPECT_EQ(LastText(h, "OpenSheet"), "GI_Sheet_Info");
}

// Stand-ins for the cells the checks ask: each marks one index.
void WarnAt5(CellFrame& f) {
    f.SetWarning(f.index == 5);
}
void ErrorAt5(CellFrame& f) {
    f.SetError(f.index == 5);
}
void ErrorAt7(CellFrame& f) {
    f.SetError(f.index == 7);
}

TEST(CommandCellsTest, ChecksOrTheMarksOfTheCellsTheyAsk) {
    ScopedCellCase moni(156, WarnAt5), sel(157, ErrorAt7), nac(195, ErrorAt5), tone(657, WarnAt5);
    ScopedCellCase idRange(205, ErrorAt5), idGroup(206, ErrorAt7), fixStatus(263, ErrorAt5),
        fixGps(270, ErrorAt5);
    ScopedCellCase nacCh(325, ErrorAt7), rpt(106, ErrorAt7);
    struct Case {
        int32_t model;
        int32_t id;
        int32_t bank;
        bool warning, error;
    } cases[] = {
        {4, 47, 1, true, true},   // bank 1 holds rows 3..7
        {4, 47, 0, false, false}, // bank 0 holds rows 0..2
        {2, 47, 1, false, true},  // P25: the transmit NAC at row 5
        {0, 47, 1, false, false}, // LMR checks nothing
        {0, 50, 0, true, false},  // user tones, whatever the model
        {4, 51, 0, false, false}, // the killer address is index 0 only
        {4, 52, 0, false, true},  // ID group 7
        {4, 53, 0, false, false}, // 263 and 270 at index 0
        {3, 52, 0, false, false}, // PMR-Z only
        {2, 54, 0, false, true},  // NAC channel 7
        {1, 55, 0, false, true},  // LTR bank 7
        {0, 55, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << c.model << " cell " << c.id);
        CellHarness h(c.model);
        SetBankChannelCount(h.Image(), 0, 3);
        SetBankChannelCount(h.Image(), 1, 5);
        const Outcome out = h.Run({0, c.id, 0}, [&](cmcCellCapsule& r) { r.bank = c.bank; });
        EXPECT_EQ(out.request.markFlags.warning, c.warning);
        EXPECT_EQ(out.request.markFlags.error, c.error);
    }
}

// ---- the radio's information block ----

class InfoTest : public ::testing::Test {
protected:
    void Put(int32_t offset, const char* text) { std::memcpy(Info() + offset, text, std::strlen(text)); }
    uint8_t* Info() { return h.app.InfoBlock().data(); }
    std::string Show(int32_t id) { return h.Display({0, id, 0}).text; }
    CellHarness h;
};

TEST_F(InfoTest, ModelLineFollowsTheClassBits) {
    struct Case {
        uint8_t bits125, bits126, flags51;
        const char* text;
    } cases[] = {
        {0x00, 0x00, 0x04, "LMR handheld\nHandheld type\nWithout ten-key pad"},
        {0x11, 0x00, 0x0C, "LMR/P25 handheld\nHandheld type\nWith ten-key pad"}, // P25 and LTR bits: P25
        {0x01, 0x00, 0x00, "LMR/LTR mobile\nMobile type\nWithout ten-key pad"},
        {0x60, 0x00, 0x04, "Zuro PMR handheld\nHandheld type\nWithout ten-key pad"},
        {0x40, 0x00, 0x00, "PMR mobile\nMobile type\nWithout ten-key pad"},
        {0x00, 0xFF, 0x04, "LMR handheld\nHandheld type\nWithout ten-key pad"}, // only byte 125 counts
    };
    for (const Case& c : cases) {
        Info()[125] = c.bits125;
        Info()[126] = c.bits126;
        Info()[51] = c.flags51;
        EXPECT_EQ(Show(56), c.text);
    }
}

TEST_F(InfoTest, RevisionCommentsAndOverVoltage) {
    Info()[34] = 0x1A;
    EXPECT_EQ(Show(57), "1.10");
    Put(2, "Fleet 7\x01       X");
    Put(18, "second comment  ");
    EXPECT_EQ(Show(59), "Fleet 7        X");
    EXPECT_EQ(Show(60), "second comment");
    // A comment takes no input: the block stays as the radio sent it.
    const Outcome typed = h.Key({0, 59, 0}, 'A');
    EXPECT_EQ(typed.result, 0);
    h.Commit({0, 59, 0}, "changed");
    EXPECT_EQ(Info()[2], 'F');
    EXPECT_EQ(Show(63), "");
    Info()[53] = 32;
    EXPECT_EQ(Show(63), "Over-voltage was detected.");
    EXPECT_EQ(Show(68), "");
}

TEST_F(InfoTest, SerialNumberAndChecksumNeedHexDigits) {
    Put(37, "0A1B0C00FFFF");
    Put(60, "12aF");
    EXPECT_EQ(Show(64), "25871265535");
    EXPECT_EQ(Show(65), "$12AF");
    Put(37, "0A1B0C00FFFG");
    Put(60, "12 F");
    EXPECT_EQ(Show(64), " ");
    EXPECT_EQ(Show(65), " ");
}

TEST_F(InfoTest, TheSerialNumberIsCopiedAsItIsShown) {
    Put(37, "0A1B0C00FFFF");
    h.Command({0, 64, 0}, CloningCellEngine().Numbers().commands.winCopy);
    EXPECT_EQ(h.clipboard.texts, std::vector<std::string>{"25871265535"});
    // The copy command leaves the cell shown.
    EXPECT_EQ(h.Command({0, 64, 0}, CloningCellEngine().Numbers().commands.winCopy).text, "25871265535");
    h.Command({0, 65, 0}, CloningCellEngine().Numbers().commands.winCopy);
    Put(37, "not a number");
    h.Command({0, 64, 0}, CloningCellEngine().Numbers().commands.winCopy);
    EXPECT_EQ(h.clipboard.texts.size(), 2u);
}

TEST_F(InfoTest, OptionList) {
    struct Case {
        uint8_t flags50, flags51, rev76;
        const char* sum82;
        const char* text;
    } cases[] = {
        {0x00, 0x00, 0, "0000", ""},
        {0x2C, 0x40, 0, "0000", "Option unit Kx24\nOption unit Kx22\nOption unit Kx28\nOption unit Kx21\n"},
        {0x30, 0x10, '2', "0A1f", "Option unit Kx25\nDigital unit type 1(Rev:2.3:$0A1F)\n"},
        {0x00, 0x20, 0, "0A1F", "Digital unit type 2\n"},
        {0x00, 0x30, '2', "0A1F", ""}, // unit kind 3: none
        {0x00, 0x11, '2', "0A1F", ""}, // no digital unit listed
        {0x00, 0x10, '2', "0A?F", "Digital unit type 1(Rev:2.3)\n"},
    };
    for (const Case& c : cases) {
        Info()[50] = c.flags50;
        Info()[51] = c.flags51;
        Info()[76] = c.rev76;
        Info()[77] = '3';
        Put(82, c.sum82);
        EXPECT_EQ(Show(62), c.text);
    }
}

// ---- the row pop-up menu ----

// Bank 0 holds rows 0..2 and bank 1 rows 3..4; site 0 holds entries 0..1.
class RowMenuTest : public ::testing::Test {
protected:
    RowMenuTest() {
        SetBankChannelCount(h.Image(), 0, 3);
        SetBankChannelCount(h.Image(), 1, 2);
        SetSiteChannelCount(h.Image(), 0, 2);
        h.OpenBank(0);
        h.OpenSite(0);
    }
    bool Disabled(int32_t item, int32_t category, int32_t index) {
        cmcCellObj row;
        row.category = category;
        row.cellId = 127;
        row.index = index;
        cmcCellCapsule opener;
        opener.cell = &row;
        return h.Run({1, item, 0}, [&](cmcCellCapsule& r) { r.linkedRequest = &opener; }).Disabled();
    }
    CellHarness h{1};
};

TEST_F(RowMenuTest, ItemsAreDisabledWhereTheirCommandCannotAct) {
    struct Case {
        int32_t item, category, index;
        bool disabled;
    } cases[] = {
        {88, 2, 2, false},  {88, 2, 3, true}, // the bank's last row, its new row
        {92, 2, 0, false},  {93, 2, 5, true},    {88, 26, 1, false}, {93, 26, 2, true},
        {88, 10, 0, true},  {92, 6, 0, false},   {88, 8, 0, true},   {88, 8, 1, false},
        {88, 17, 23, true}, {88, 17, 22, false}, // MSK status messages
        {90, 2, 0, true},   {90, 2, 1, false},   {90, 2, 3, true},   {91, 2, 2, true},
        {91, 2, 1, false},  {90, 26, 0, true},   {91, 26, 1, true},  {91, 26, 0, false},
        {90, 7, 0, true},   {90, 7, 39, false},  {91, 7, 39, true},  {91, 10, 0, true},
        {90, 13, 0, true},  {90, 13, 1, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Disabled(c.item, c.category, c.index), c.disabled)
            << c.item << " on " << c.category << "[" << c.index << "]";
}

TEST_F(RowMenuTest, PasteNeedsRowsOfTheSameKind) {
    EXPECT_TRUE(Disabled(89, 2, 0));
    h.clip.Copy(h.Image(), 2, 0, 1);
    EXPECT_FALSE(Disabled(89, 2, 0));
    EXPECT_TRUE(Disabled(89, 2, 3));
    EXPECT_TRUE(Disabled(89, 26, 0));
}

// ---- row edits stay inside the open bank ----

TEST(RowEditFrameTest, RowEditsNeverReachPastTheOpenBank) {
    CellHarness h;
    SetBankChannelCount(h.Image(), 1, 3);
    SetBankChannelCount(h.Image(), 2, 2);
    for (int32_t row = 0; row < 5; ++row) {
        datCh rec(&h.Image());
        rec.Load(1, row);
        rec.rxFreq = 150000000 + row;
        rec.Store(1, row);
    }
    const auto counts = [&] {
        return std::vector<int32_t>{GetBankChannelCount(h.Image(), 0), GetBankChannelCount(h.Image(), 1),
                                    GetBankChannelCount(h.Image(), 2)};
    };
    // Bank 0 is empty: its only row is the new row, whose index is bank 1's first.
    h.OpenBank(0);
    for (int32_t command : {88, 89, 90, 91, 92, 93}) {
        const Outcome out = h.Command({2, 127, 0}, command);
        EXPECT_EQ(out.request.rangeRequest, false) << command;
    }
    EXPECT_EQ(counts(), (std::vector<int32_t>{0, 3, 2}));
    EXPECT_EQ(h.clip.Count(), 0);

    // A selection running past the bank is cut to it.
    h.OpenBank(1);
    h.boxes.Expect("", plat::IDOK);
    h.Run({2, 127, 1}, [](cmcCellCapsule& r) {
        r.command = 93;
        r.rangeSelected = true;
        r.rangeFirst = 1;
        r.rangeLast = 4;
    });
    EXPECT_TRUE(h.boxes.Done());
    EXPECT_EQ(counts(), (std::vector<int32_t>{0, 1, 2}));
    datCh rec(&h.Image());
    EXPECT_EQ(rec.Load(1, 1).rxFreq, 150000003);

    // The new row of a bank takes an insert.
    h.Command({2, 127, 1}, 94);
    EXPECT_EQ(counts(), (std::vector<int32_t>{0, 2, 2}));
    EXPECT_EQ(rec.Load(1, 3).rxFreq, 150000004);
}

} // namespace
