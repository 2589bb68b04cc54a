// The common sheet's line filters and the channel-pool sheet: a repeater
// site's entries and the channels of a chosen bank.
#include "cells/RowRange.h"
#include "cells/TextConv.h"
#include "image/CurrentImage.h"
#include "tests/ui/KindsFixture.h"
#include "ui/iuiSh_Common.h"
#include "ui/iuiSh_Mch.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using uitest::KindsFixture;

class CommonSheetTest : public KindsFixture {
protected:
    // The captions of column 0, one per row, joined by blanks.
    static std::string Lines(cuiSheet& sheet) {
        std::string out;
        for (int r = 0; r < sheet.RowCount(); ++r)
            out += (r ? " " : "") + sheet.GetCell(0, r).GetCaption();
        return out;
    }
};

// Every filter of the fixture sheet keeps one line; "Only_Pmr" without a
// count and the plain sheet's directives keep theirs.
TEST_F(CommonSheetTest, FiltersKeepTheLinesOfTheModel) {
    const struct {
        int32_t model;
        bool sacc;
        const char* lines;
    } cases[] = {
        {0, false, "always Lmr MDC notZURO Handy Analog bare end"},
        {1, false, "always Lmr MDC notZURO Handy Analog Ltr bare end"},
        {2, false, "always Lmr MDC notZURO Handy P25 bare end"},
        {3, false, "always Pmr MDC notZURO Handy Analog bare end"},
        {4, false, "always Pmr ZURO Handy Analog bare end"},
        {5, false, "always Lmr MDC notZURO Mob Analog bare end"},
        {6, true, "always Lmr MDC notZURO Mob Analog Ltr SACC bare end"},
        {7, false, "always Lmr MDC notZURO Mob P25 bare end"},
        {8, true, "always Pmr MDC notZURO Mob Analog SACC bare end"},
        {9, false, "always Pmr ZURO Mob Analog bare end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        LoadModel(c.model);
        cmcEeprom& image = Doc().WorkingImage();
        image.SetByte(11, static_cast<uint8_t>((image.GetByte(11) & ~8) | (c.sacc ? 8 : 0)));
        cuiSheet& sheet = Open<iuiSh_Common>("GI_Sheet_TCommon", "");
        EXPECT_EQ(Lines(sheet), c.lines);
        sheet_.reset();
    }
}

class SiteSheetTest : public KindsFixture {
protected:
    SiteSheetTest() {
        LoadModel(1);
        cmcEeprom& image = Doc().WorkingImage();
        for (int32_t site = 0; site < 128; ++site)
            SetSiteChannelCount(image, site, 0);
        SetSiteChannelCount(image, 0, 2);
        SetSiteChannelCount(image, 1, 3);
        SetSiteChannelCount(image, 2, 5);
    }
    // The repeater sheet of the site that the opening cell's index names.
    iuiSh_Mch& OpenSite(int32_t site) {
        openingCell_.index = site;
        cmcCellCapsule opening;
        opening.cell = &openingCell_;
        return Show(std::make_unique<iuiSh_Mch>(CloningCellEngine(), &host_, &opening, 0, 0, *gGTex,
                                                "GI_Sheet_RptSetWin", &images_),
                    "R 9");
    }
    std::vector<int32_t> RowIndexes(cuiSheet& sheet) {
        std::vector<int32_t> out;
        for (int r = 0; r < sheet.RowCount(); ++r)
            out.push_back(sheet.GetCell(0, r).cellId == Id("CL_Rpt_No") ? sheet.GetCell(0, r).index : -1);
        return out;
    }
    cmcCellObj openingCell_;
};

TEST_F(SiteSheetTest, ShowsTheSitesEntriesAndAnswersForIt) {
    iuiSh_Mch& sheet = OpenSite(2);
    EXPECT_EQ(sheet.Kind(), 'R');
    EXPECT_EQ(RowIndexes(sheet), (std::vector<int32_t>{-1, 5, 6, 7, 8, 9, 10})) << "no printed-only line";
    EXPECT_EQ(GetCurrentSiteRange(), (RowRange{2, 5, 9, 5})) << "the sheet answers 32";
    const std::vector<cmcEvAns> bank = gEvMan->SendWithAnswer(evQueryBank);
    ASSERT_FALSE(bank.empty());
    EXPECT_EQ(bank.front().p1, 0);
    EXPECT_EQ(bank.front().p2, 5) << "and 30 with the site's first entry";
    EXPECT_EQ(sheet.IsPrintable(), 1) << "a site with entries prints: the walk over the sites prints it";
    EXPECT_EQ(sheet.GetTitle(), "") << "outside the printed walk over the sites";

    gEvMan->Send(evRefreshCaption);
    const std::string caption = sheet.Caption();
    std::ostringstream expected;
    expected << " " << *sheet.Style().title << " - Site:  3  (Left CH - ";
    EXPECT_EQ(caption.substr(0, expected.str().size()), expected.str()) << caption;
}

// Three entries go while the cursor is on the last one: it moves up only as
// far as it must, and stays inside the grid below the header.
TEST_F(SiteSheetTest, RemovingRowsKeepsTheCursorOnARemainingRow) {
    const struct {
        int fromRow, removed, expectedRow;
    } cases[] = {{5, 3, 3}, {2, 3, 2}, {1, 1, 1}, {4, 1, 3}, {5, 5, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fromRow << " " << c.removed);
        SetSiteChannelCount(Doc().WorkingImage(), 2, 5);
        iuiSh_Mch& sheet = OpenSite(2);
        const int col = Current().first;
        for (int i = 1; i < c.fromRow; ++i)
            Key(Qt::Key_Down);
        ASSERT_EQ(Current(), std::make_pair(col, c.fromRow));
        SetSiteChannelCount(Doc().WorkingImage(), 2, 5 - c.removed);
        gEvMan->Send(evRemoveLastRow, c.removed);
        EXPECT_EQ(sheet.RowCount(), 1 + (5 - c.removed) + 1);
        EXPECT_EQ(Current(), std::make_pair(col, c.expectedRow));
        sheet_.reset();
    }
}

TEST_F(SiteSheetTest, AnEntryInsertedThroughTheDocumentAddsARow) {
    iuiSh_Mch& sheet = OpenSite(1);
    ASSERT_EQ(sheet.RowCount(), 5);
    gEvMan->Send(evInsertPoolRow, 1, GetSiteFirstChannel(CurrentImage(), 1));
    EXPECT_EQ(GetSiteChannelCount(CurrentImage(), 1), 4);
    EXPECT_EQ(sheet.RowCount(), 6);
    EXPECT_EQ(RowIndexes(sheet).back(), 2 + 4);
    // Another site's entry leaves it alone.
    gEvMan->Send(evInsertPoolRow, 2, GetSiteFirstChannel(CurrentImage(), 2));
    EXPECT_EQ(sheet.RowCount(), 6);
}

TEST_F(SiteSheetTest, AChannelListOfAnEmptyBankHasNoChannelRow) {
    cmcEeprom& image = Doc().WorkingImage();
    SetBankChannelCount(image, 4, 0);
    SetBankChannelCount(image, 5, 3);
    SetScanSelectionBank(4);
    iuiSh_Mch& empty = Open<iuiSh_Mch>("GI_Sheet_Sel_ScanCHSel", "C");
    EXPECT_EQ(empty.RowCount(), 1);
    for (int c = 0; c < empty.ColCount(); ++c)
        EXPECT_NE(empty.GetCell(c, 0).cellId, Id("FlexCHSel"));
    EXPECT_FALSE(empty.Grid()->isEnabled());
    sheet_.reset();

    SetScanSelectionBank(5);
    iuiSh_Mch& three = Open<iuiSh_Mch>("GI_Sheet_Sel_ScanCHSel", "C");
    ASSERT_EQ(three.RowCount(), 4);
    for (int r = 1; r < 4; ++r) {
        EXPECT_EQ(three.GetCell(1, r).cellId, Id("FlexCHSel"));
        EXPECT_EQ(three.GetCell(1, r).index, r - 1) << "the row in the bank";
    }
}

} // namespace
