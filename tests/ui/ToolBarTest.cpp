#include "cells/cmcCellObj.h"
#include "tests/ui/MenuFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/cuiToolBar.h"

#include <QImage>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

#include <string>
#include <vector>

namespace {

class ToolBarTest : public uitest::MenuFixture {
protected:
    // The fixture bar on the form, built, laid out and refreshed.
    cuiToolBar& Bar(const char* key = "Fx_ToolBar_Main", cmcGTex* texts = nullptr) {
        bar_ = std::make_unique<cuiToolBar>(Engine(), &form_, texts ? *texts : texts_, key, &images_);
        bar_->Build();
        Show();
        bar_->Bar()->setGeometry(0, 0, form_.width(), bar_->Bar()->heightForWidth(form_.width()));
        gEvMan->Send(evUpdateToolBar);
        return *bar_;
    }

    std::unique_ptr<cuiToolBar> bar_;
};

// One word per button in the order of the list: its hint, or the gap's
// width; what is shown of its state.
std::string Dump(const cuiToolBar& bar) {
    std::string out;
    for (QToolButton* button : bar.Buttons()) {
        if (!cuiToolBar::CellOf(button)) {
            out += "gap" + std::to_string(button->width());
        } else {
            out += button->toolTip().toStdString();
            if (button->isCheckable()) out += button->isChecked() ? "[down]" : "[up]";
            if (!button->isEnabled()) out += "(grey)";
        }
        out += "|";
    }
    return out;
}

TEST_F(ToolBarTest, ButtonsAndGapsInTheListsOrderWithTheirCellsState) {
    gEnviron->ToolbarVisible = 1;
    gEnviron->ModelType = 3;
    window_.printable = false;
    cuiToolBar& bar = Bar();
    EXPECT_EQ(Dump(bar), "Print(grey)|gap8|Tool bar[down]|Model 3[down]|gap1|Exit|");
    const std::vector<QToolButton*> buttons = bar.Buttons();
    EXPECT_EQ(buttons[0]->icon().cacheKey(), images_[2].cacheKey());
    EXPECT_EQ(buttons[5]->icon().cacheKey(), images_[9].cacheKey());

    // The state changes only when the bus asks for a refresh.
    gEnviron->ToolbarVisible = 0;
    gEnviron->ModelType = 8;
    window_.printable = true;
    EXPECT_EQ(Dump(bar), "Print(grey)|gap8|Tool bar[down]|Model 3[down]|gap1|Exit|");
    gEvMan->Send(evUpdateToolBar);
    EXPECT_EQ(Dump(bar), "Print|gap8|Tool bar|Model 3|gap1|Exit|");
}

TEST_F(ToolBarTest, AGapIsEightPixelsAndTheRowEndsAfterTheSlash) {
    cuiToolBar& bar = Bar();
    const std::vector<QToolButton*> b = bar.Buttons();
    ASSERT_EQ(b.size(), 6u);
    EXPECT_EQ(b[1]->geometry().left(), b[0]->geometry().right() + 1);
    EXPECT_EQ(b[2]->geometry().left(), b[0]->geometry().right() + 1 + 8);
    EXPECT_EQ(b[3]->geometry().top(), b[0]->geometry().top()) << "one row up to the slash";
    EXPECT_EQ(b[5]->geometry().left(), b[0]->geometry().left()) << "the next row starts at the indent";
    EXPECT_GT(b[5]->geometry().top(), b[0]->geometry().top());
    EXPECT_EQ(b[0]->geometry().left(), 4);
    // A bar wide enough for all does not join the rows again.
    bar.Bar()->setGeometry(0, 0, 2000, bar.Bar()->heightForWidth(2000));
    EXPECT_GT(b[5]->geometry().top(), b[0]->geometry().top());
}

TEST_F(ToolBarTest, WithoutASlashTheBarWrapsWhereTheButtonsNoLongerFit) {
    const char* const lines[] = {"#Fx_BasicCell",
                                 "{}",
                                 "#Fx_Body",
                                 "A{(%CL_Menu_File_Exit)(ImageIndex=0)}",
                                 "B{(%CL_Menu_File_Exit)(ImageIndex=1)}",
                                 "-",
                                 "C{(%CL_Menu_File_Exit)(ImageIndex=2)}",
                                 "#End_Of_Ovl",
                                 nullptr};
    cmcGTex texts;
    texts.SetLines(lines);
    cuiToolBar& bar = Bar("Fx", &texts);
    const std::vector<QToolButton*> b = bar.Buttons();
    ASSERT_EQ(b.size(), 4u);
    EXPECT_EQ(b[3]->geometry().top(), b[0]->geometry().top());
    // Room for A, B and the gap inside the right margin of 2, not for C.
    const int narrow = b[2]->geometry().right() + 1 + 2;
    bar.Bar()->setGeometry(0, 0, narrow, bar.Bar()->heightForWidth(narrow));
    EXPECT_EQ(b[2]->geometry().top(), b[0]->geometry().top());
    EXPECT_GT(b[3]->geometry().top(), b[0]->geometry().top()) << "C no longer fits";
    EXPECT_EQ(b[3]->geometry().left(), 4);
    EXPECT_GT(bar.Bar()->heightForWidth(narrow), bar.Bar()->heightForWidth(2000));
}

TEST_F(ToolBarTest, AClickRunsTheButtonsCell) {
    gEnviron->ToolbarVisible = 1;
    cuiToolBar& bar = Bar();
    Show();
    const std::vector<QToolButton*> b = bar.Buttons();
    QTest::mouseClick(b[2], Qt::LeftButton);
    QTest::mouseClick(b[5], Qt::LeftButton);
    QTest::mouseClick(b[1], Qt::LeftButton);
    EXPECT_EQ(window_.calls, (std::vector<std::string>{"ToggleToolBar", "CloseMainForm"}));
    EXPECT_EQ(gEnviron->ToolbarVisible, 0);
    gEvMan->Send(evUpdateToolBar);
    EXPECT_FALSE(b[2]->isCheckable()) << "a normal button once the cell is off";
}

TEST_F(ToolBarTest, AGivenClickHandlerGetsTheButtonsCell) {
    cuiToolBar& bar = Bar();
    std::vector<int32_t> clicked;
    bar.Build([&clicked](cmcCellObj& cell) { clicked.push_back(cell.cellId); });
    bar.Bar()->setGeometry(0, 0, form_.width(), bar.Bar()->heightForWidth(form_.width()));
    Show();
    ASSERT_EQ(bar.Buttons().size(), 6u) << "a second build replaces the buttons";
    QTest::mouseClick(bar.Buttons()[3], Qt::LeftButton);
    EXPECT_EQ(clicked, std::vector<int32_t>{Id("CL_Model_Pmr")});
    EXPECT_TRUE(window_.calls.empty());
    gEvMan->Send(evUpdateToolBar);
}

TEST_F(ToolBarTest, LooksLikeAToolBar) {
    gEnviron->ToolbarVisible = 1;
    gEnviron->ModelType = 3;
    cuiToolBar& bar = Bar();
    bar.Bar()->resize(bar.Bar()->sizeHint());
    const QPixmap shot = bar.Bar()->grab();
    ASSERT_FALSE(shot.isNull());
    ASSERT_TRUE(uitest::SavePicture(shot, "menu13-toolbar"));
    // The bar draws its top edge only: a line above the background, which
    // shows beside the second row's one button.
    const QImage image = shot.toImage();
    const int x = image.width() - 2;
    EXPECT_NE(image.pixel(x, 0), image.pixel(x, image.height() - 3));
    EXPECT_EQ(image.pixel(x, image.height() - 1), image.pixel(x, image.height() - 3)) << "no bottom edge";
    // Four times as large, to look at the pressed buttons and the gaps.
    ASSERT_TRUE(uitest::SavePicture(shot.scaled(shot.size() * 4), "menu13-toolbar-x4"));
}

} // namespace
