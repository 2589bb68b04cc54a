// The list pop-ups as the cells open them from a sheet, with real keys and
// clicks: where they open, how big they are, what a pick stores and what
// closes them without one.
#include "cells/TextConv.h"
#include "image/RecordLayout.h"
#include "platform/Fatal.h"
#include "tests/ui/KindsFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/PlaceAtCell.h"
#include "ui/ProgramPopupOpener.h"
#include "ui/cuiFlector.h"
#include "ui/indFlector.h"
#include "ui/iuiSh_ChBank.h"
#include "ui/iuiSh_Mch.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

using uitest::KindsFixture;

// Pure placement: below the cell, above it, or in the corner beside it.
TEST(PlaceBesideCellTest, BelowAboveOrBesideTheCell) {
    const plat::Rect work{0, 0, 1000, 800};
    const struct {
        const char* what;
        plat::Rect cell;
        int w, h;
        PopupPlace place;
    } cases[] = {
        {"below, indented", {100, 200, 80, 20}, 150, 300, {108, 220, false}},
        {"right-aligned at the right edge", {900, 200, 80, 20}, 150, 300, {850, 220, false}},
        {"above when no room below", {100, 700, 80, 20}, 150, 300, {108, 400, false}},
        {"at the bottom when no room above either", {100, 300, 80, 20}, 150, 600, {108, 200, true}},
        {"and left of the cell in the corner", {900, 300, 80, 20}, 150, 600, {750, 200, true}},
        {"right-aligned when the left has no room", {100, 300, 80, 20}, 950, 600, {50, 200, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PopupPlace p = PlaceBesideCell(c.cell, c.w, c.h, work);
        EXPECT_EQ(p.left, c.place.left);
        EXPECT_EQ(p.top, c.place.top);
        EXPECT_EQ(p.overlaps, c.place.overlaps);
    }
}

class PopupListTest : public KindsFixture {
protected:
    PopupListTest() {
        LoadModel(0);
        FillBank(0, 3);
    }
    ~PopupListTest() override { Settle(); }

    // The bank sheet with its cursor on the width of channel row 1 (grid row 3,
    // below the group headings and the captions).
    iuiSh_ChBank& OpenOnWidth() {
        iuiSh_ChBank& sheet = Open<iuiSh_ChBank>("GI_Sheet_Mch_Lmr", "Bank 0");
        widthCol_ = ColumnOf(sheet, kRow, "CL_Mch_Nar");
        while (Current().first < widthCol_)
            Key(Qt::Key_Right);
        Key(Qt::Key_Down);
        EXPECT_EQ(Current(), std::make_pair(widthCol_, kRow));
        return sheet;
    }
    // Lets released pop-ups go.
    static void Settle() {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    cuiFlector* Popup() { return popups_.LastOpened(); }
    cuiSheet& PopupSheet() { return *Popup()->Sheet(); }
    // The cell the pop-up's cursor is on.
    const cmcCellObj& PopupCurrent() {
        return PopupSheet().GetCell(PopupSheet().Grid()->Col(), PopupSheet().Grid()->Row());
    }
    void PopupKey(int key) { QTest::keyClick(PopupSheet().Grid(), Qt::Key(key)); }
    // Moves the pop-up's cursor down to the item of that index and picks it.
    void Pick(int32_t index) {
        for (int i = 0; i < 200 && PopupCurrent().index != index; ++i)
            PopupKey(Qt::Key_Down);
        ASSERT_EQ(PopupCurrent().index, index);
        PopupKey(Qt::Key_Return);
    }
    // The cell's rectangle on the screen.
    QRect CellOnScreen(int col, int row) {
        const QRect r = sheet_->Grid()->CellRect(col, row);
        return QRect(sheet_->Grid()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }

    static constexpr int kRow = 3;
    ProgramPopupOpener popups_;
    int widthCol_ = -1;
};

// Enter opens the list 8 pixels in from the cell, just below it, with the
// current value current; Down and Enter store the next value's bit and
// close the list.
TEST_F(PopupListTest, EnterOpensTheListBesideTheCellAndAPickStoresIt) {
    OpenOnWidth();
    const cmcEeprom before = Doc().WorkingImage();
    Key(Qt::Key_Return);
    ASSERT_NE(Popup(), nullptr);
    QWidget& form = *Popup()->Form();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    const QRect cell = CellOnScreen(widthCol_, kRow);
    EXPECT_EQ(form.pos(), QPoint(cell.left() + 8, cell.bottom() + 1));
    EXPECT_EQ(PopupCurrent().cellId, Id("Flex0"));
    EXPECT_EQ(PopupCurrent().index, 0) << "the channel is wide";
    EXPECT_TRUE(PopupSheet().IsListMode());
    // The list over the sheet, as the screen shows them.
    QImage screen = host_.grab().toImage();
    QPainter(&screen).drawPixmap(form.pos() - host_.mapToGlobal(QPoint(0, 0)), form.grab());
    uitest::SavePicture(screen, "kinds14-popup");

    PopupKey(Qt::Key_Down);
    PopupKey(Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    Settle();
    EXPECT_EQ(Popup(), nullptr) << "released";

    // The record's narrow flag, and nothing else, changed.
    cmcEeprom expected = before;
    datCh ch(&expected);
    ch.Load(1, 1);
    ch.chBitS12b6 = !ch.chBitS12b6;
    ch.Store(1, 1);
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(expected));
    EXPECT_NE(Doc().WorkingImage().GetByte(layout::kChannelS + 30 + 12),
              before.GetByte(layout::kChannelS + 30 + 12));
}

TEST_F(PopupListTest, EscOrAClickElsewhereChangeNothing) {
    OpenOnWidth();
    const cmcEeprom before = Doc().WorkingImage();
    Key(Qt::Key_Return);
    ASSERT_NE(Popup(), nullptr);
    PopupKey(Qt::Key_Down);
    PopupKey(Qt::Key_Escape);
    Settle();
    EXPECT_EQ(Popup(), nullptr);
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(before));

    Key(Qt::Key_Return);
    ASSERT_NE(Popup(), nullptr);
    PopupKey(Qt::Key_Down);
    QTest::mouseClick(sheet_->Grid()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    Settle();
    EXPECT_EQ(Popup(), nullptr);
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(before));
}

// With no room below the cell the list opens above it; with no room above
// either, at the bottom of the work area, left of the cell.
TEST_F(PopupListTest, AtTheBottomOfTheWorkAreaItOpensAboveTheCell) {
    host_.move(300, 400);
    OpenOnWidth();
    const QRect cell = CellOnScreen(widthCol_, kRow);
    screen_.work_ = {0, 0, 1280, cell.bottom() + 5};
    Key(Qt::Key_Return);
    ASSERT_NE(Popup(), nullptr);
    QWidget& form = *Popup()->Form();
    EXPECT_EQ(form.geometry().bottom(), cell.top() - 1);
    EXPECT_EQ(form.x(), cell.left() + 8);
    PopupKey(Qt::Key_Escape);
    Settle();

    // The cell in the bottom-right corner of a work area no higher than the list.
    const int h = cell.bottom() + 3 - cell.top() + 1;
    screen_.work_ = {0, cell.top() - 2, cell.left() + 20, 0};
    Key(Qt::Key_Return);
    ASSERT_NE(Popup(), nullptr);
    QWidget& corner = *Popup()->Form();
    screen_.work_.height = corner.height() + 4;
    PopupKey(Qt::Key_Escape);
    Settle();
    (void)h;
    Key(Qt::Key_Return);
    ASSERT_NE(Popup(), nullptr);
    QWidget& placed = *Popup()->Form();
    EXPECT_EQ(placed.geometry().bottom() + 1, screen_.work_.Bottom()) << "at the bottom of the work area";
    EXPECT_EQ(placed.geometry().right() + 1, cell.left()) << "left of the cell";
}

// A list taller than the work area: both scroll bars, and exactly the work
// area's height.
TEST_F(PopupListTest, AListTallerThanTheWorkAreaScrolls) {
    OpenOnWidth();
    screen_.work_ = {0, 0, 1280, 30};
    Key(Qt::Key_Return);
    ASSERT_NE(Popup(), nullptr);
    EXPECT_EQ(Popup()->Form()->height(), 30);
    EXPECT_EQ(PopupSheet().Grid()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(PopupSheet().Grid()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(PopupListTest, EndOfEditingAndTheEndOfItsGridCloseIt) {
    OpenOnWidth();
    Key(Qt::Key_Return);
    ASSERT_NE(Popup(), nullptr);
    // Another grid's end is no business of this list.
    gEvMan->Send(evObjectDestroyed, 0, reinterpret_cast<intptr_t>(&host_));
    EXPECT_FALSE(Popup()->Released());
    gEvMan->Send(evObjectDestroyed, 0, reinterpret_cast<intptr_t>(sheet_->Grid()));
    EXPECT_TRUE(Popup()->Released());
    Settle();
    EXPECT_EQ(Popup(), nullptr);

    Key(Qt::Key_Return);
    ASSERT_NE(Popup(), nullptr);
    gEvMan->Send(evEndEditing);
    Settle();
    EXPECT_EQ(Popup(), nullptr);

    // The sheet going takes its list with it.
    Key(Qt::Key_Return);
    ASSERT_NE(Popup(), nullptr);
    sheet_.reset();
    Settle();
    EXPECT_EQ(Popup(), nullptr);
}

// The scan list's priority channel through its three lists: the choice
// "channel", the bank, then the bank's channels in an indFlector, whose pick
// comes back as the row in the bank.
TEST_F(PopupListTest, AChannelListPickIsTheRowInTheBank) {
    cmcEeprom& image = Doc().WorkingImage();
    FillBank(1, 4);
    constexpr int32_t kList1 = 97238 + 34;
    image.SetByte(kList1 + 24, 0x02); // priority scan
    Open<cuiSheet>("GI_Sheet_TScan", "");
    Key(Qt::Key_Return);
    ASSERT_NE(Popup(), nullptr);
    Pick(5); // a channel of a bank
    Settle();
    ASSERT_NE(Popup(), nullptr) << "the bank list";
    EXPECT_EQ(PopupCurrent().cellId, Id("FlexZoneSel"));
    Pick(1);
    Settle();
    ASSERT_NE(Popup(), nullptr) << "the bank's channels";
    auto* channels = dynamic_cast<indFlector*>(Popup());
    ASSERT_NE(channels, nullptr);
    iuiSh_Mch& list = *channels->ChannelSheet();
    EXPECT_EQ(list.Kind(), 'C');
    EXPECT_EQ(list.RowCount(), 1 + 4);
    uitest::SavePicture(channels->Form()->grab(), "kinds14-channels");
    Pick(2);
    Settle();
    EXPECT_EQ(Popup(), nullptr);
    EXPECT_EQ(ScanSelectionBank(), 1);
    EXPECT_EQ(image.GetWord(kList1 + 30), GetBankFirstChannel(image, 1) + 2) << "the first priority channel";
}

// The editors have their host now: each opening shows a window of its own,
// and closing it answers nothing.
TEST_F(PopupListTest, TheEditorsOpenThroughTheProgramsHost) {
    cmcCellCapsule request;
    const std::vector<std::function<void()>> opens = {
        [&] { Popups().OpenBitsEditor(request, gGTex, 0, 0, 3, 0, 1, ""); },
        [&] { Popups().OpenTextEditor(request, gGTex, "AB", true, 8); },
        [&] { Popups().OpenCharEditor(request, 14, 5, 7, std::vector<uint8_t>(35)); },
    };
    auto shown = [] {
        std::set<QWidget*> windows;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) windows.insert(w);
        return windows;
    };
    for (size_t i = 0; i < opens.size(); ++i) {
        SCOPED_TRACE(i);
        const std::set<QWidget*> before = shown();
        opens[i]();
        Settle();
        std::vector<QWidget*> added;
        for (QWidget* w : shown())
            if (!before.count(w)) added.push_back(w);
        ASSERT_EQ(added.size(), 1u);
        added[0]->close();
        Settle();
        EXPECT_EQ(shown(), before);
    }
    EXPECT_EQ(&Popups(), &popups_);
}

} // namespace
