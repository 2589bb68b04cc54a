// The repeater-site window over the main form, opened from bank 2's home
// repeater cell on an LTR image with entries in sites 1 and 2: its site,
// the question before edits are dropped, what OK, Cancel, event 21 and Load
// do, and its placement on a second opening.
#include "cells/CellEngine.h"
#include "cells/cmcCellObj.h"
#include "image/CurrentImage.h"
#include "tests/ui/RepeaterFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/TForm1.h"
#include "ui/cuiGrid.h"
#include "ui/iuiRptSetWin.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <memory>
#include <string>

namespace {

constexpr int32_t kSite = 2;

class RepeaterWindowTest : public uitest::RepeaterFixture {
protected:
    RepeaterWindowTest() {
        form_ = std::make_unique<TForm1>(StartLtr());
        form_->show();
        FillSites();
        SetBankFlagB(Doc().WorkingImage(), kSite, 1);
        Doc().ClearModified();
    }
    ~RepeaterWindowTest() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        form_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Enter on bank 2's home repeater cell.
    iuiRptSetWin* Open() {
        cmcCellObj cell;
        cell.category = InstalledCellEngine().Vocabulary().CategoryIndex("CT_BankOp");
        cell.cellId = InstalledCellEngine().Vocabulary().CellIndex("CL_Mch_Rpt");
        cell.index = kSite;
        InstalledCellEngine().ExecuteCell(&cell, cmcCellCapsule::kKeyEnter);
        iuiRptSetWin* win = Window().RepeaterWindow();
        if (win) QApplication::processEvents();
        return win;
    }
    // Runs the deferred deletion of a closed window; true when it is gone.
    bool Gone() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return Window().RepeaterWindow() == nullptr;
    }
    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    int Column(iuiSh_Mch& sheet, const char* cellName) {
        const int32_t id = InstalledCellEngine().Vocabulary().CellIndex(cellName);
        for (int c = 0; c < sheet.ColCount(); ++c)
            if (sheet.GetCell(c, 1).cellId == id) return c;
        return -1;
    }
    void TypeInto(iuiSh_Mch& sheet, int col, int row, const char* first, const char* rest) {
        sheet.SetCurrentCell(col, row);
        QTest::keyClicks(sheet.Grid(), first);
        ASSERT_TRUE(sheet.EditorVisible());
        QTest::keyClicks(sheet.Editor(), rest);
        QTest::keyClick(sheet.Editor(), Qt::Key_Return);
    }
    // A typed frequency on entry 0, an entry typed into the empty row and
    // entry 1 deleted.
    void Edit(iuiSh_Mch& sheet) {
        const int rx = Column(sheet, "CL_Rpt_FreqR");
        ASSERT_GE(rx, 0);
        TypeInto(sheet, rx, 1, "4", "51.5");
        TypeInto(sheet, rx, 3, "4", "52.5");
        ASSERT_EQ(GetSiteChannelCount(CurrentImage(), kSite), 3);
        sheet.SetCurrentCell(rx, 2);
        QApplication::processEvents();
        QAction* remove = nullptr;
        for (QAction* a : sheet.PopupMenu()->actions())
            if (a->text() == "Delete") remove = a;
        ASSERT_NE(remove, nullptr);
        boxes_.Expect(GetMultiLineText(*gGTex, "GI_AppMess_Conv_Delete"), plat::IDOK);
        remove->trigger();
        QApplication::processEvents();
        ASSERT_EQ(GetSiteChannelCount(CurrentImage(), kSite), 2);
    }
    std::string Question() { return GetMultiLineText(*gGTex, "GI_Mess_Confirm_Repeater"); }

    std::unique_ptr<TForm1> form_;
};

TEST_F(RepeaterWindowTest, OpensOnTheSiteOfTheAskingCellOverADisabledOwner) {
    iuiRptSetWin* win = Open();
    ASSERT_NE(win, nullptr);
    EXPECT_EQ(win->Site(), kSite);
    EXPECT_NE(win->Sheet()->Caption().find("Site:  3"), std::string::npos) << win->Sheet()->Caption();
    EXPECT_EQ(win->Sheet()->ChannelCount(), 2);
    EXPECT_EQ(win->Form()->windowTitle().toStdString(), AppTitle());
    EXPECT_FALSE(form_->isEnabled());
    EXPECT_EQ(win->LoadButton()->text().toStdString(), gGTex->GetTextLine("GI_AppInd_Button_LoadSave", 0));
    EXPECT_EQ(win->AreaLabel()->text().toStdString(), gGTex->GetTextLine("GI_AreaSetBit_Bar", 0));
    EXPECT_EQ(GetCurrentSite(), kSite) << "the window's sheet answers for its site";
    uitest::SavePicture(win->Form()->grab(), "repeater_window");
}

TEST_F(RepeaterWindowTest, CancelAfterEditsAsksAndOkPutsTheImageBackByteForByte) {
    const cmcEeprom opened = Doc().WorkingImage();
    iuiRptSetWin* win = Open();
    ASSERT_NE(win, nullptr);
    Edit(*win->Sheet());
    ASSERT_FALSE(Doc().WorkingImage().IsEqual(opened));
    boxes_.Expect(Question(), plat::IDOK);
    Click(win->CancelButton());
    EXPECT_TRUE(Gone());
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(opened));
    EXPECT_TRUE(form_->isEnabled());
}

TEST_F(RepeaterWindowTest, CancelInTheQuestionKeepsTheWindowAndTheEdits) {
    iuiRptSetWin* win = Open();
    ASSERT_NE(win, nullptr);
    Edit(*win->Sheet());
    const cmcEeprom edited = Doc().WorkingImage();
    boxes_.Expect(Question(), plat::IDCANCEL);
    Click(win->CancelButton());
    EXPECT_FALSE(Gone());
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(edited));
    // The close box asks the same.
    boxes_.Expect(Question(), plat::IDCANCEL);
    win->Form()->close();
    EXPECT_FALSE(Gone());
    EXPECT_TRUE(win->Form()->isVisible());
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(edited));
}

TEST_F(RepeaterWindowTest, OkAfterEditsAndEvent21CloseWithoutAQuestionAndKeepThem) {
    for (bool byEvent : {false, true}) {
        SCOPED_TRACE(byEvent ? "event 21" : "OK");
        iuiRptSetWin* win = Open();
        ASSERT_NE(win, nullptr);
        Edit(*win->Sheet());
        const cmcEeprom edited = Doc().WorkingImage();
        if (byEvent)
            gEvMan->Send(evEndEditing);
        else
            Click(win->OkButton());
        EXPECT_TRUE(Gone());
        EXPECT_TRUE(Doc().WorkingImage().IsEqual(edited));
        EXPECT_TRUE(form_->isEnabled());
    }
}

// The site name is the window's too: a name changed alone is a change to
// take back, letter for letter.
TEST_F(RepeaterWindowTest, ANameChangedAloneAsksAndOkPutsItBack) {
    const cmcEeprom opened = Doc().WorkingImage();
    iuiRptSetWin* win = Open();
    ASSERT_NE(win, nullptr);
    const int32_t name = layout::Table(13).offset + layout::Table(13).recordSize * kSite;
    Doc().WorkingImage().SetByte(name, static_cast<uint8_t>(opened.GetByte(name) ^ 0x41));
    boxes_.Expect(Question(), plat::IDOK);
    Click(win->CancelButton());
    EXPECT_TRUE(Gone());
    EXPECT_EQ(boxes_.Log().size(), 1u);
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(opened));
}

TEST_F(RepeaterWindowTest, CancelWithoutEditsClosesSilently) {
    iuiRptSetWin* win = Open();
    ASSERT_NE(win, nullptr);
    Click(win->CancelButton());
    EXPECT_TRUE(Gone());
    EXPECT_TRUE(boxes_.Log().empty());
}

TEST_F(RepeaterWindowTest, LoadImportsIntoTheWindowsSiteAndTheWindowStaysOpen) {
    // A file of site 1's three entries with the area bit set.
    RepeaterBlock block = BuildRepeaterBlock(Doc().WorkingImage(), 1);
    block[0] = 1;
    const std::string path = dir_.File("docs/three.rpt");
    WriteBlock(path, block);
    const cmcEeprom opened = Doc().WorkingImage();
    iuiRptSetWin* win = Open();
    ASSERT_NE(win, nullptr);
    dialogs_.Expect(plat::ScriptedFileDialog::Kind::Open, path);
    Click(win->LoadButton());
    ASSERT_FALSE(Gone()) << "the dialog's end of editing does not close the window";
    EXPECT_EQ(GetSiteChannelCount(Doc().WorkingImage(), kSite), 3);
    EXPECT_EQ(GetSiteChannelCount(Doc().WorkingImage(), 0), 0);
    EXPECT_EQ(GetSiteChannelCount(Doc().WorkingImage(), 1), 3);
    EXPECT_EQ(win->Sheet()->ChannelCount(), 3);
    EXPECT_EQ(win->Sheet()->RowCount(), 1 + 3 + 1);
    EXPECT_EQ(win->AreaLabel()->text().toStdString(), gGTex->GetTextLine("GI_AreaSetBit_Bar", 1));
    const int32_t group0 = layout::kGroupRecords;
    EXPECT_EQ(Doc().WorkingImage().GetByte(group0), opened.GetByte(group0)) << "site 0 untouched";

    // The Load alone counts as a change to take back.
    boxes_.Expect(Question(), plat::IDOK);
    Click(win->CancelButton());
    EXPECT_TRUE(Gone());
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(opened));
}

TEST_F(RepeaterWindowTest, SaveCommitsTheOpenEditAndWritesTheWindowsSite) {
    iuiRptSetWin* win = Open();
    ASSERT_NE(win, nullptr);
    iuiSh_Mch& sheet = *win->Sheet();
    sheet.SetCurrentCell(Column(sheet, "CL_Rpt_FreqR"), 1);
    QTest::keyClicks(sheet.Grid(), "4");
    ASSERT_TRUE(sheet.EditorVisible());
    QTest::keyClicks(sheet.Editor(), "61.25");
    const std::string path = dir_.File("docs/saved.rpt");
    dialogs_.Expect(plat::ScriptedFileDialog::Kind::Save, path);
    // Pressed without taking the focus from the editor, as a shortcut would.
    win->SaveButton()->click();
    ASSERT_FALSE(Gone());
    const RepeaterBlock block = ReadBlock(path);
    EXPECT_EQ(block[3], kSite);
    EXPECT_EQ(block[4], 2);
    const uint32_t rx = uint32_t(block[14]) << 24 | block[15] << 16 | block[16] << 8 | block[17];
    EXPECT_EQ(rx, 461250000u) << "the edit went into the image before the file was written";
    boxes_.Expect(Question(), plat::IDOK);
    Click(win->CancelButton());
    EXPECT_TRUE(Gone());
}

TEST_F(RepeaterWindowTest, ASecondOpeningRestoresSizeAndPositionAndStaysMaximised) {
    iuiRptSetWin* win = Open();
    ASSERT_NE(win, nullptr);
    win->Form()->setGeometry(120, 90, 700, 420);
    Click(win->OkButton());
    ASSERT_TRUE(Gone());

    win = Open();
    ASSERT_NE(win, nullptr);
    EXPECT_EQ(win->Form()->geometry(), QRect(120, 90, 700, 420));
    win->Form()->showMaximized();
    Click(win->OkButton());
    ASSERT_TRUE(Gone());
    const indEditFormPos* stored = gEnviron->FindEditFormPos("GI_Sheet_RptSetWin");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(QRect(stored->Left, stored->Top, stored->Width, stored->Height), QRect(120, 90, 700, 420))
        << "its normal bounds kept";
    EXPECT_EQ(stored->WindowState, 2);

    win = Open();
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(win->Form()->isMaximized());
    Click(win->OkButton());
    ASSERT_TRUE(Gone());
}

} // namespace
