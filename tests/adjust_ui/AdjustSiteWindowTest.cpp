// The adjustment program's repeater-site sheet and window over its shipped
// overlay: a site's rows from the site's own table, the cursor after a row
// is deleted, and a window with OK and Cancel only whose Cancel puts the
// image back byte for byte.
#include "adjust/AdjustClipboard.h"
#include "adjust/AdjustVocabulary.h"
#include "adjust/ui/iuiRptSetWin.h"
#include "adjust/ui/iuiSh_Mch.h"
#include "cells/CellEngine.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "tests/adjust/AdjustDocumentFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/AppIcons.h"
#include "ui/cuiGrid.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <string>

namespace {

constexpr int32_t kSiteCounts = 107210;

class AdjustSiteWindowTest : public adjtest::AdjustDocumentFixture {
protected:
    AdjustSiteWindowTest() {
        StartAdjust();
        // Site 0 holds two entries and site 1 three: site 1 still starts at row 0.
        Doc().WorkingImage().SetByte(kSiteCounts + 0, 2);
        Doc().WorkingImage().SetByte(kSiteCounts + 1, 3);
        cell_.index = 1;
        opening_.cell = &cell_;
        SetProgramClipboard(&clip_);
    }
    ~AdjustSiteWindowTest() override { SetProgramClipboard(nullptr); }
    void Settle() {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ScopedCellEngine engine_{adj::AdjustCellEngine()};
    // What the main window gives the row commands of the site's pop-up menu.
    adj::datClipCh clip_;
    cmcCellObj cell_;
    cmcCellCapsule opening_;
    ImageList images_ = MakeTreeImageList();
};

TEST_F(AdjustSiteWindowTest, ASitesSheetStartsAtRowZeroAndKeepsTheCursorWhenOneRowGoes) {
    QWidget host;
    host.resize(900, 400);
    adj::iuiSh_Mch sheet(adj::AdjustCellEngine(), &host, &opening_, 0, 0, *gGTex, "GI_Sheet_RptSetWin",
                         &images_);
    sheet.SetParams("R 9");
    sheet.Build();
    host.show();
    EXPECT_EQ(sheet.FirstPoolIndex(), 0);
    EXPECT_EQ(sheet.ChannelCount(), 3);
    const int32_t first = sheet.FirstLoopRow();
    ASSERT_GE(first, 0);
    EXPECT_EQ(sheet.RowCount(), first + 3 + 1) << "the site's entries and the row for a new one";
    EXPECT_EQ(sheet.GetCell(1, first).index, 0);
    EXPECT_EQ(sheet.GetCell(1, first + 2).index, 2);
    EXPECT_EQ(sheet.Caption(), " Repeater site (Site:  2)");

    // The caption is set once: event 31 leaves it.
    gEvMan->Send(evRefreshCaption);
    EXPECT_EQ(sheet.Caption(), " Repeater site (Site:  2)");

    sheet.Grid()->setFocus();
    sheet.SetCurrentCell(1, first + 2);
    Doc().WorkingImage().SetByte(kSiteCounts + 1, 2);
    gEvMan->Send(evRemoveLastRow, 1, first + 2);
    EXPECT_EQ(sheet.RowCount(), first + 2 + 1);
    EXPECT_EQ(sheet.CurrentRow(), first + 2) << "one row gone: the cursor stays on its cell";
    EXPECT_EQ(sheet.CurrentCol(), 1);
}

TEST_F(AdjustSiteWindowTest, TheWindowHasOkAndCancelAndCancelPutsTheImageBack) {
    QMainWindow owner;
    owner.resize(900, 600);
    owner.show();
    const cmcEeprom before = Doc().WorkingImage();

    auto* window = new adj::iuiRptSetWin(adj::AdjustCellEngine(), &owner, "QT4411R", *gGTex,
                                         "GI_Sheet_RptSetWin", &images_, opening_);
    Settle();
    EXPECT_EQ(window->LoadButton(), nullptr);
    EXPECT_EQ(window->SaveButton(), nullptr);
    ASSERT_NE(window->OkButton(), nullptr);
    ASSERT_NE(window->CancelButton(), nullptr);
    EXPECT_EQ(window->Sheet()->Caption(), " Repeater site (Site:  2)");
    EXPECT_FALSE(owner.isEnabled());
    uitest::SavePicture(window->Form()->grab(), "adj24ovl_site_window");

    // An edit in the window, then Cancel: no question, and every byte as it was.
    Doc().WorkingImage().SetByte(kSiteCounts + 1, 4);
    Doc().WorkingImage().SetByte(65000, Doc().WorkingImage().GetByte(65000) ^ 0xFF);
    QTest::mouseClick(window->CancelButton(), Qt::LeftButton);
    Settle();
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(before));
    EXPECT_TRUE(owner.isEnabled());

    // OK keeps what was edited.
    window = new adj::iuiRptSetWin(adj::AdjustCellEngine(), &owner, "QT4411R", *gGTex, "GI_Sheet_RptSetWin",
                                   &images_, opening_);
    Settle();
    Doc().WorkingImage().SetByte(kSiteCounts + 1, 4);
    QTest::mouseClick(window->OkButton(), Qt::LeftButton);
    Settle();
    EXPECT_EQ(Doc().WorkingImage().GetByte(kSiteCounts + 1), 4);
}

} // namespace
