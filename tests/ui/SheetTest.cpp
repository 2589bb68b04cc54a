#include "SheetFixture.h"
#include "cells/CellFrame.h"
#include "foundation/SheetDef.h"
#include "image/RecordLayout.h"
#include "image/RowEdit.h"
#include "tests/cells/CellTestSupport.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/cuiMenu.h"

#include <QFontMetrics>
#include <QKeyEvent>

#include <cstring>
#include <fstream>
#include <regex>

namespace uitest {
namespace {

using celltest::FatalText;

class SheetTest : public SheetFixture {};

// --- building

TEST_F(SheetTest, BuildsTheChannelColumns) {
    cuiSheet& s = Open("GI_Sheet_TChan");
    EXPECT_EQ(s.ColCount(), 5);
    EXPECT_EQ(s.RowCount(), 13);
    EXPECT_EQ(Grid().FixedCols(), 1);
    EXPECT_EQ(Grid().FixedRows(), 1);
    EXPECT_EQ(s.FirstSelectableCol(), 1);
    EXPECT_EQ(s.FirstSelectableRow(), 1);
    // The first selectable cell near the top left is current.
    EXPECT_EQ(Current(), std::make_pair(1, 1));
    EXPECT_TRUE(Grid().isEnabled());
    EXPECT_EQ(s.GetTitle(), "Bank channels");
    ASSERT_NE(s.TitlePanel(), nullptr);
    EXPECT_TRUE(s.TitlePanel()->isVisible());
    uitest::SavePicture(host_.grab(), "sheet13-window");
    EXPECT_EQ(s.IsPrintable(), 1);
    // The repeated rows count their index up from the first.
    for (int r = 1; r < 13; ++r) {
        EXPECT_EQ(s.GetCell(1, r).index, r - 1);
        EXPECT_EQ(s.GetCell(1, r).cellId, Id("CL_Mch_FreqR"));
    }
    // Rows of a line style take part in a line selection; the header row too.
    EXPECT_EQ(s.GetCellId(2, 5).flags & clsSheetCellId::kMayJoin, clsSheetCellId::kMayJoin);
}

TEST_F(SheetTest, WideAndHighCellsSizeTheirColumnsAndRows) {
    cuiSheet& s = Open("GI_Sheet_TTall");
    const QFontMetrics fm(s.SheetPanel()->font());
    // 'W' widens to the widest caption line + 8, 'H' heightens to all lines + 2.
    EXPECT_EQ(Grid().ColWidth(0), fm.horizontalAdvance("short") + 8);
    EXPECT_EQ(Grid().ColWidth(1), 1) << "a column no 'W' cell widened keeps the default";
    EXPECT_EQ(Grid().ColWidth(2), fm.horizontalAdvance("wide and tall") + 8);
    EXPECT_EQ(Grid().RowHeight(0), 3 * fm.height() + 2);
    // No selectable cell: the sheet takes no input.
    EXPECT_FALSE(Grid().isEnabled());
}

TEST_F(SheetTest, NoSelectableCellDisablesTheGrid) {
    Open("GI_Sheet_TNoSel");
    EXPECT_FALSE(Grid().isEnabled());
}

TEST_F(SheetTest, NoCellLineIsFatal) {
    EXPECT_EQ(FatalText([this] { Open("GI_Sheet_TIllegal"); }), "Illegal Cell assign");
}

TEST_F(SheetTest, StyleNoPrintAndNoTitle) {
    cuiSheet& s = Open("GI_Sheet_TBanks");
    EXPECT_EQ(s.IsPrintable(), 0);
    EXPECT_EQ(s.GetTitle(), "");
    EXPECT_EQ(s.TitlePanel(), nullptr);
    EXPECT_EQ(s.MultiSelectMode(), 0);
}

TEST_F(SheetTest, RememberedPositionOutsideTheGridIsDropped) {
    initialCell_ = Id("CL_Mch_FreqT");
    initialIndex_ = 4;
    Open("GI_Sheet_TChan", [](cuiSheet& s) { s.SetPosition(3, 40, 1, 30); });
    EXPECT_EQ(Current(), std::make_pair(2, 5)) << "the initial cell serves instead";

    Open("GI_Sheet_TChan", [](cuiSheet& s) { s.SetPosition(4, 7, 1, 1); });
    EXPECT_EQ(Current(), std::make_pair(4, 7));
}

TEST_F(SheetTest, CellOutsideTheGridIsFatal) {
    cuiSheet& s = Open("GI_Sheet_TGaps");
    EXPECT_EQ(FatalText([&] { s.GetCellId(3, 0); }), "Illegal Cell selection");
    EXPECT_EQ(FatalText([&] { s.GetCellId(0, 4); }), "Illegal Cell selection");
    EXPECT_EQ(FatalText([&] { s.GetCellId(-1, 0); }), "Illegal Cell selection");
    EXPECT_EQ(FatalText([&] { s.GetCellId(0, -1); }), "Illegal Cell selection");
}

// Every list the program ships for its pop-up lists builds as a sheet.
TEST_F(SheetTest, EveryShippedSelectionListBuilds) {
    std::ifstream overlay(TOLVANE_BIN_DIR "/QT4410R.OVL");
    const std::regex key("^#(GI_Sheet_Sel_.*)_Cells\\r?$");
    std::vector<std::string> names;
    for (std::string line; std::getline(overlay, line);) {
        std::smatch m;
        if (std::regex_match(line, m, key)) names.push_back(m[1]);
    }
    ASSERT_GT(names.size(), 100u);
    for (const std::string& name : names) {
        sheet_ =
            std::make_unique<cuiSheet>(CloningCellEngine(), &host_, nullptr, 0, 0, *gGTex, name, &images_);
        sheet_->SetListMode(true);
        sheet_->Build();
        EXPECT_GT(sheet_->ColCount(), 0) << name;
        EXPECT_GT(sheet_->RowCount(), 0) << name;
        sheet_.reset();
    }
}

// --- editing over the real cells

TEST_F(SheetTest, TypedFrequencyIsStoredAsItsBytes) {
    Open("GI_Sheet_TChan");
    ASSERT_EQ(Current(), std::make_pair(1, 1));
    Key('1');
    ASSERT_TRUE(Sheet().EditorVisible());
    QTest::keyClicks(Sheet().Editor(), "46.52");
    QTest::keyClick(Sheet().Editor(), Qt::Key_Return);
    EXPECT_FALSE(Sheet().EditorVisible());
    // 146.520 MHz in hertz, big-endian, at the start of row 0's record.
    const cmcEeprom& image = Doc().WorkingImage();
    const int32_t at = layout::kChannelS;
    EXPECT_EQ(image.GetByte(at), 0x08);
    EXPECT_EQ(image.GetByte(at + 1), 0xBB);
    EXPECT_EQ(image.GetByte(at + 2), 0xB7);
    EXPECT_EQ(image.GetByte(at + 3), 0xC0);
    EXPECT_EQ(Current(), std::make_pair(1, 1));
}

TEST_F(SheetTest, EscapeLeavesTheImageAsItWas) {
    Open("GI_Sheet_TChan");
    const cmcEeprom before = Doc().WorkingImage();
    Key('1');
    ASSERT_TRUE(Sheet().EditorVisible());
    QTest::keyClicks(Sheet().Editor(), "46.52");
    QTest::keyClick(Sheet().Editor(), Qt::Key_Escape);
    EXPECT_FALSE(Sheet().EditorVisible());
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(before));
    EXPECT_TRUE(Grid().hasFocus());
}

TEST_F(SheetTest, UpAndDownCommitAndMove) {
    Open("GI_Sheet_TChan");
    Key(Qt::Key_Down);
    ASSERT_EQ(Current(), std::make_pair(1, 2));
    Key('1');
    QTest::keyClicks(Sheet().Editor(), "47");
    QTest::keyClick(Sheet().Editor(), Qt::Key_Down);
    EXPECT_EQ(Current(), std::make_pair(1, 3));
    datCh ch(&Doc().WorkingImage());
    ch.Load(ModelClassOf(gEnviron->ModelType), 1);
    EXPECT_EQ(ch.rxFreq, 147000000);

    Key('1');
    QTest::keyClicks(Sheet().Editor(), "48");
    QTest::keyClick(Sheet().Editor(), Qt::Key_Up);
    EXPECT_EQ(Current(), std::make_pair(1, 2));
    ch.Load(ModelClassOf(gEnviron->ModelType), 2);
    EXPECT_EQ(ch.rxFreq, 148000000);
}

TEST_F(SheetTest, SpaceStepsAListCell) {
    Open("GI_Sheet_TChan");
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    ASSERT_EQ(Current(), std::make_pair(3, 1));
    const int32_t at = layout::kChannelS + 12;
    const uint8_t before = Doc().WorkingImage().GetByte(at);
    Key(' ');
    EXPECT_EQ(Doc().WorkingImage().GetByte(at), before ^ 0x40);
    EXPECT_FALSE(Sheet().EditorVisible());
}

TEST_F(SheetTest, EndEditingCommitsAnOpenEditorWithinTheSend) {
    Open("GI_Sheet_TChan");
    Key('1');
    QTest::keyClicks(Sheet().Editor(), "46.52");
    gEvMan->Send(evEndEditing);
    EXPECT_FALSE(Sheet().EditorVisible());
    datCh ch(&Doc().WorkingImage());
    ch.Load(ModelClassOf(gEnviron->ModelType), 0);
    EXPECT_EQ(ch.rxFreq, 146520000);
}

} // namespace
} // namespace uitest

namespace uitest {
namespace {

class SheetMoveTest : public SheetFixture {};

TEST_F(SheetMoveTest, PageKeysMoveTenRowsAndHomeEndNothing) {
    Open("GI_Sheet_TChan");
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Current(), std::make_pair(1, 11));
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Current(), std::make_pair(1, 12)) << "as far as there are rows";
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Current(), std::make_pair(1, 2));
    Key(Qt::Key_Right);
    Key(Qt::Key_Home);
    EXPECT_EQ(Current(), std::make_pair(2, 2));
    Key(Qt::Key_End);
    EXPECT_EQ(Current(), std::make_pair(2, 2));
    // Ctrl with Up or Down belongs to the menus' short-cuts.
    Key(Qt::Key_Down, Qt::ControlModifier);
    Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Current(), std::make_pair(2, 2));
}

TEST_F(SheetMoveTest, LeftAtTheLeftEdgeGoesToTheCell) {
    Open("GI_Sheet_TChan", [this](cuiSheet& s) { RecordOwner(s); });
    recorder_.onEdit = [](cmcCellCapsule&) { return 0; };
    Key(Qt::Key_Right);
    EXPECT_EQ(Current(), std::make_pair(2, 1));
    EXPECT_TRUE(recorder_.edits.empty()) << "a move is no edit";
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(Current(), std::make_pair(1, 1));
    ASSERT_EQ(recorder_.edits.size(), 1u);
    EXPECT_EQ(recorder_.edits[0].request.key, 9472);
    EXPECT_EQ(std::make_pair(recorder_.edits[0].col, recorder_.edits[0].row), std::make_pair(1, 1));

    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    ASSERT_EQ(recorder_.edits.size(), 2u);
    EXPECT_EQ(recorder_.edits[1].request.key, 9984);
    Key(Qt::Key_F5);
    ASSERT_EQ(recorder_.edits.size(), 3u);
    EXPECT_EQ(recorder_.edits[2].request.key, 0x74 * 256);
}

TEST_F(SheetMoveTest, DownWithoutASelectableCellBelowTakesTheNearest) {
    Open("GI_Sheet_TGaps");
    ASSERT_EQ(Current(), std::make_pair(0, 0));
    Key(Qt::Key_Down);
    EXPECT_EQ(Current(), std::make_pair(0, 3)) << "straight down over the gaps";
    Key(Qt::Key_Up);
    Key(Qt::Key_Right);
    ASSERT_EQ(Current(), std::make_pair(1, 0));
    Key(Qt::Key_Down);
    EXPECT_EQ(Current(), std::make_pair(2, 2)) << "the nearest column of the next row that has one";
}

TEST_F(SheetMoveTest, ShiftDownMarksLinesAndCopySendsTheRange) {
    Open("GI_Sheet_TChan", [this](cuiSheet& s) { RecordOwner(s); });
    recorder_.onEdit = [](cmcCellCapsule&) { return 0; };
    Key(Qt::Key_Right);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Current(), std::make_pair(2, 3));
    EXPECT_TRUE(Sheet().RangeShown());
    for (int r = 0; r < Sheet().RowCount(); ++r)
        for (int c = 1; c < Sheet().ColCount(); ++c)
            EXPECT_EQ(Sheet().IsCellMarked(c, r), r >= 1 && r <= 3) << c << "," << r;
    EXPECT_FALSE(Sheet().IsCellMarked(0, 2)) << "fixed columns take no row mark";

    QAction* copy = nullptr;
    for (QAction* a : Sheet().PopupMenu()->actions())
        if (a->text() == "Copy") copy = a;
    ASSERT_NE(copy, nullptr);
    copy->trigger();
    ASSERT_EQ(recorder_.edits.size(), 1u);
    const cmcCellCapsule& r = recorder_.edits[0].request;
    EXPECT_EQ(r.command, 88);
    EXPECT_EQ(r.key, 0);
    EXPECT_TRUE(r.rangeSelected);
    EXPECT_EQ(r.rangeFirst, 0);
    EXPECT_EQ(r.rangeLast, 2);

    // The items' short-cuts act on the grid while the menu is closed.
    Key(Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(recorder_.edits.size(), 2u);
    EXPECT_EQ(recorder_.edits[1].request.command, 88);

    // A plain move ends the range.
    Key(Qt::Key_Down);
    EXPECT_FALSE(Sheet().RangeShown());
    EXPECT_FALSE(Sheet().IsCellMarked(2, 2));
}

TEST_F(SheetMoveTest, ReplayPacesAndEnds) {
    Open("GI_Sheet_TChan", [this](cuiSheet& s) { RecordOwner(s); });
    int asks = 7;
    recorder_.onEdit = [&asks](cmcCellCapsule& r) {
        if (asks-- > 0) r.jumpKey = 'x';
        return 0;
    };
    Key('5');
    ASSERT_EQ(recorder_.edits.size(), 8u);
    EXPECT_EQ(recorder_.edits[0].request.key, '5');
    for (size_t i = 1; i < recorder_.edits.size(); ++i)
        EXPECT_EQ(recorder_.edits[i].request.key, 'x');
    // 30, 24, 18, 12, 6, then no pause at all.
    EXPECT_EQ(sleeps_.pauses, (std::vector<int>{30, 24, 18, 12, 6}));
}

TEST_F(SheetMoveTest, ReplayGoesToTheCellAskedFor) {
    Open("GI_Sheet_TChan", [this](cuiSheet& s) { RecordOwner(s); });
    const int32_t freqT = Id("CL_Mch_FreqT");
    recorder_.onEdit = [freqT](cmcCellCapsule& r) {
        if (r.cell->cellId == freqT) return 0;
        r.jumpRequest = 1;
        r.jumpCategory = r.cell->category;
        r.jumpCell = freqT;
        r.jumpIndex = 4;
        r.jumpKey = r.key;
        return 0;
    };
    Key('7');
    ASSERT_EQ(recorder_.edits.size(), 2u);
    EXPECT_EQ(std::make_pair(recorder_.edits[1].col, recorder_.edits[1].row), std::make_pair(2, 5));
    EXPECT_EQ(recorder_.edits[1].request.key, '7');
    EXPECT_EQ(Current(), std::make_pair(2, 5));
}

// A cell that names a place the sheet has no selectable cell for would be
// asked again for ever: the replay ends there.
TEST_F(SheetMoveTest, ReplayEndsWhenTheCellAskedForIsNotThere) {
    Open("GI_Sheet_TChan", [this](cuiSheet& s) { RecordOwner(s); });
    recorder_.onEdit = [](cmcCellCapsule& r) {
        r.jumpRequest = 1;
        r.jumpCategory = r.cell->category;
        r.jumpCell = r.cell->cellId;
        r.jumpIndex = 40;
        r.jumpKey = r.key;
        return 0;
    };
    Key('7');
    EXPECT_EQ(recorder_.edits.size(), 1u);
    EXPECT_EQ(Current(), std::make_pair(1, 1));
}

TEST_F(SheetMoveTest, MouseOutsideTheCellsDoesNothing) {
    Open("GI_Sheet_TChan", [this](cuiSheet& s) { RecordOwner(s); });
    recorder_.onEdit = [](cmcCellCapsule&) { return 0; };
    const QRect last = Grid().CellRect(4, 12);
    const QPoint outside(last.right() + 20, last.bottom() + 20);
    ASSERT_LT(outside.x(), Grid().viewport()->width());
    ASSERT_LT(outside.y(), Grid().viewport()->height());
    QTest::mouseDClick(Grid().viewport(), Qt::LeftButton, {}, outside);
    QTest::mouseClick(Grid().viewport(), Qt::RightButton, {}, outside);
    QTest::mouseMove(Grid().viewport(), outside);
    EXPECT_TRUE(recorder_.edits.empty());
    EXPECT_FALSE(Sheet().PopupMenu()->isVisible());
    EXPECT_EQ(Current(), std::make_pair(1, 1));
}

TEST_F(SheetMoveTest, RightClickAndTheMenuKeyOpenThePopupMenu) {
    Open("GI_Sheet_TChan");
    QTest::mouseClick(Grid().viewport(), Qt::RightButton, {}, Centre(3, 4));
    EXPECT_EQ(Current(), std::make_pair(3, 4));
    EXPECT_TRUE(Sheet().PopupMenu()->isVisible());
    Sheet().PopupMenu()->hide();

    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), QPoint(), Qt::NoModifier);
    QApplication::sendEvent(&Grid(), &key);
    EXPECT_TRUE(Sheet().PopupMenu()->isVisible());
    const QRect cell = Grid().CellRect(3, 4);
    EXPECT_EQ(Sheet().PopupMenu()->pos(), Grid().viewport()->mapToGlobal(cell.bottomLeft()));
    Sheet().PopupMenu()->hide();
}

TEST_F(SheetMoveTest, DoubleClickOnTheCurrentCellSendsAMouseChoice) {
    Open("GI_Sheet_TChan", [this](cuiSheet& s) { RecordOwner(s); });
    recorder_.onEdit = [](cmcCellCapsule&) { return 0; };
    // The first click of a double click makes the cell current.
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Centre(2, 3));
    QTest::mouseDClick(Grid().viewport(), Qt::LeftButton, {}, Centre(2, 3));
    EXPECT_EQ(Current(), std::make_pair(2, 3));
    ASSERT_EQ(recorder_.edits.size(), 1u);
    EXPECT_EQ(recorder_.edits[0].request.key, 256);
}

// --- list mode

class SheetListTest : public SheetFixture {
protected:
    SheetListTest() {
        opener_.category = 0;
        opener_.cellId = Id("CL_Mch_Nar");
        opening_ = std::make_unique<cmcCellCapsule>();
        opening_->cell = &opener_;
    }
    cuiSheet& OpenList() {
        cuiSheet& s = Open("GI_Sheet_Sel_Comm_Wide", [this](cuiSheet& sheet) {
            sheet.SetListMode(true);
            RecordOwner(sheet);
        });
        recorder_.onEdit = [this](cmcCellCapsule& r) {
            picks_.push_back({r.mode, r.cell, r.linkedRequest ? r.linkedRequest->cell : nullptr,
                              r.linkedRequest ? r.linkedRequest->key : -1});
            return 0;
        };
        return s;
    }
    struct Pick {
        int32_t mode;
        const cmcCellObj* cell;
        const cmcCellObj* picked;
        int32_t pickedKey;
    };
    void ExpectOnePick(const char* how) {
        ASSERT_EQ(picks_.size(), 1u) << how;
        EXPECT_EQ(picks_[0].mode, cmcCellCapsule::kModePick) << how;
        EXPECT_EQ(picks_[0].cell, &opener_) << how;
        EXPECT_EQ(picks_[0].picked, &Sheet().GetCell(Grid().Col(), Grid().Row())) << how;
        EXPECT_EQ(picks_[0].pickedKey, 0) << how;
        EXPECT_FALSE(host_.isVisible()) << how;
    }
    cmcCellObj opener_;
    std::vector<Pick> picks_;
};

TEST_F(SheetListTest, EnterPicks) {
    OpenList();
    Key(Qt::Key_Down);
    EXPECT_EQ(Current(), std::make_pair(0, 1));
    Key(' ');
    EXPECT_TRUE(picks_.empty()) << "other keys do nothing in a list";
    Key(Qt::Key_Return);
    ExpectOnePick("Enter");
}

TEST_F(SheetListTest, LeftReleasePicks) {
    OpenList();
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Centre(0, 1));
    ExpectOnePick("left release");
    EXPECT_EQ(Current(), std::make_pair(0, 1));
}

TEST_F(SheetListTest, DoubleClickPicks) {
    OpenList();
    QMouseEvent dbl(QEvent::MouseButtonDblClick, Centre(0, 0), Grid().viewport()->mapToGlobal(Centre(0, 0)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Grid().viewport(), &dbl);
    ExpectOnePick("double click");
}

TEST_F(SheetListTest, HoverSelects) {
    OpenList();
    QTest::mouseMove(Grid().viewport(), Centre(0, 0));
    QTest::mouseMove(Grid().viewport(), Centre(0, 1));
    EXPECT_EQ(Current(), std::make_pair(0, 1));
    EXPECT_TRUE(picks_.empty());
}

TEST_F(SheetListTest, MovesWrapAroundInAList) {
    OpenList();
    Key(Qt::Key_Up);
    EXPECT_EQ(Current(), std::make_pair(0, 1));
    Key(Qt::Key_Down);
    EXPECT_EQ(Current(), std::make_pair(0, 0));
    // Page keys run to the end and stop there.
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Current(), std::make_pair(0, 1));
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Current(), std::make_pair(0, 1));
}

} // namespace
} // namespace uitest

namespace uitest {
namespace {

class SheetDrawTestBase : public SheetFixture {
protected:
    using Cells = std::set<std::pair<int, int>>;
    // Every cell of the columns in the rows, both ranges inclusive.
    static Cells Block(int c0, int c1, int r0, int r1) {
        Cells out;
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                out.insert({c, r});
        return out;
    }
    // The colour of a pixel of the shot at a point of the grid's client area.
    QColor At(const QImage& shot, QPoint p) {
        return QColor(shot.pixel(Grid().viewport()->mapTo(Sheet().SheetPanel(), p)));
    }
    QColor Palette(QPalette::ColorRole role) { return Grid().palette().color(role); }
};

class SheetDrawTest : public SheetDrawTestBase {};

struct RedrawCase {
    int event;
    const char* value; // a cell name, or a number
    bool isCellName;
    int c0, c1, r0, r1; // the cells redrawn; c0 -1 for none
};

const RedrawCase kRedrawCases[] = {
    {13, "0", false, 0, 4, 1, 12},           {14, "2", false, 0, 4, 1, 12}, // the channel category
    {14, "6", false, -1, 0, 0, 0}, // a category no cell of the sheet has
    {15, "CL_Mch_FreqT", true, 2, 2, 1, 12}, {16, "3", false, 0, 4, 4, 4},  {17, "2", false, 0, 4, 1, 3},
    {18, "10", false, 0, 4, 11, 12},
};

TEST_F(SheetDrawTest, RedrawEventsRedrawTheirCells) {
    Open("GI_Sheet_TChan", [this](cuiSheet& s) { RecordOwner(s); });
    for (const RedrawCase& c : kRedrawCases) {
        Settle();
        const int value = c.isCellName ? Id(c.value) : std::stoi(c.value);
        gEvMan->Send(c.event, 0, value);
        QApplication::processEvents();
        const Cells expected = c.c0 < 0 ? Cells{} : Block(c.c0, c.c1, c.r0, c.r1);
        EXPECT_EQ(recorder_.draws, expected) << "event " << c.event << " " << c.value;
    }
}

TEST_F(SheetDrawTest, CurrentCellHighlightWithAndWithoutFocus) {
    Open("GI_Sheet_TChan");
    Key(Qt::Key_Down);
    const QRect cell = Grid().CellRect(1, 2);
    const QPoint corner = cell.topLeft() + QPoint(1, 1);
    const QImage focused = Shot("focused");
    EXPECT_EQ(At(focused, corner), Palette(QPalette::Highlight));
    EXPECT_EQ(At(focused, Grid().CellRect(1, 3).topLeft() + QPoint(1, 1)), Palette(QPalette::Base));

    Grid().clearFocus();
    QApplication::processEvents();
    const QImage unfocused = Shot("unfocused");
    EXPECT_EQ(At(unfocused, corner), Palette(QPalette::Button));
}

TEST_F(SheetDrawTest, LineSelectionIsHighlighted) {
    Open("GI_Sheet_TChan");
    Key(Qt::Key_Down, Qt::ShiftModifier);
    const QImage shot = Shot("lines");
    for (int c = 1; c < 5; ++c) {
        EXPECT_EQ(At(shot, Grid().CellRect(c, 1).topLeft() + QPoint(1, 1)), Palette(QPalette::Highlight))
            << c;
        EXPECT_EQ(At(shot, Grid().CellRect(c, 2).topLeft() + QPoint(1, 1)), Palette(QPalette::Highlight))
            << c;
        EXPECT_EQ(At(shot, Grid().CellRect(c, 3).topLeft() + QPoint(1, 1)), Palette(QPalette::Base)) << c;
    }
}

TEST_F(SheetDrawTest, BottomRule) {
    Open("GI_Sheet_TChan");
    const QImage shot = Shot("rule");
    // Grey under window-coloured cells, white under others; none without 'B'.
    const QRect name = Grid().CellRect(4, 5);
    EXPECT_EQ(At(shot, QPoint(name.left() + 2, name.bottom())), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(At(shot, QPoint(name.left() + 2, name.bottom() - 1)), Palette(QPalette::Base));
    const QRect header = Grid().CellRect(2, 0);
    EXPECT_EQ(At(shot, QPoint(header.left() + 2, header.bottom())), QColor(Qt::white));
    const QRect freq = Grid().CellRect(2, 5);
    EXPECT_EQ(At(shot, QPoint(freq.left() + 2, freq.bottom())), Palette(QPalette::Base));
}

TEST_F(SheetDrawTest, WarningAndErrorMarks) {
    Open("GI_Sheet_TChan", [this](cuiSheet& s) { RecordOwner(s); });
    const int32_t freqT = Id("CL_Mch_FreqT");
    recorder_.onDraw = [freqT](cmcCellCapsule& r) {
        if (r.cell->cellId != freqT) return;
        if (r.cell->index == 3) {
            r.markFlags.warning = true;
            r.markPosition = 1;
        }
        if (r.cell->index == 4) {
            r.markFlags.error = true;
            r.markPosition = 2;
        }
    };
    gEvMan->Send(evRedrawSheet);
    const QImage shot = Shot("marks");
    constexpr int e = 16;
    const QImage warning = images_[10].pixmap(e, e).toImage();
    const QImage error = images_[11].pixmap(e, e).toImage();
    // At the left edge, and at the right edge.
    const QRect w = Grid().CellRect(2, 4);
    const QRect x = Grid().CellRect(2, 5);
    const QPoint wAt(w.left() + e / 8, w.bottom() + 1 - e - 1);
    const QPoint xAt(w.left() + w.width() - e - 1, x.bottom() + 1 - e - 1);
    int same = 0, total = 0;
    for (int dy = 0; dy < e; ++dy)
        for (int dx = 0; dx < e; ++dx) {
            if (qAlpha(warning.pixel(dx, dy)) == 255) {
                ++total;
                same += At(shot, wAt + QPoint(dx, dy)) == QColor(warning.pixel(dx, dy));
            }
            if (qAlpha(error.pixel(dx, dy)) == 255) {
                ++total;
                same += At(shot, xAt + QPoint(dx, dy)) == QColor(error.pixel(dx, dy));
            }
        }
    ASSERT_GT(total, 20);
    EXPECT_EQ(same, total);
    // A cell without a mark shows none.
    EXPECT_EQ(At(shot, QPoint(w.left() + e / 2, Grid().CellRect(2, 6).bottom() - e / 2)),
              Palette(QPalette::Base));
}

} // namespace
} // namespace uitest

namespace uitest {
namespace {

class SheetBusTest : public SheetFixture {
protected:
    void Listen() { gEvMan->AddListener(&SheetBusTest::Record, this); }
    ~SheetBusTest() override {
        if (gEvMan) gEvMan->RemoveListener(&SheetBusTest::Record, this);
    }
    static void Record(void* user, const cmcEvent& ev) {
        auto* self = static_cast<SheetBusTest*>(user);
        if (ev.type == evQueryBank) return;
        self->seen_.push_back({ev.type, ev.p1, ev.p2, ev.Text(), ev.data});
    }
    struct Seen {
        int32_t type;
        intptr_t p1, p2;
        std::string text;
        std::vector<uint8_t> data;
    };
    std::vector<Seen> Of(int32_t type) const {
        std::vector<Seen> out;
        for (const Seen& s : seen_)
            if (s.type == type) out.push_back(s);
        return out;
    }
    std::vector<Seen> seen_;
};

TEST_F(SheetBusTest, FocusBuildsAndDropsTheCellsPopupMenu) {
    Listen();
    cuiSheet& s = Open("GI_Sheet_TChan");
    ASSERT_NE(s.PopupMenuItems(), nullptr);
    EXPECT_EQ(s.PopupMenu()->actions().size(), 2);
    const std::vector<Seen> built = Of(evBuildMenuItems);
    ASSERT_FALSE(built.empty());
    EXPECT_EQ(built.back().p1, cuiMenu::BusId(s.PopupMenuItems()));
    EXPECT_EQ(built.back().p2, 20);
    EXPECT_EQ(built.back().text, "GI_PMenu_TChan");
    EXPECT_FALSE(Of(evUpdateMenus).empty());

    // The menu's own items ask which cell they act on; the sheet answers.
    Key(Qt::Key_Down);
    const std::vector<cmcEvAns> answers =
        gEvMan->SendWithAnswer(evQueryCurrentCell, cuiMenu::BusId(s.PopupMenu()));
    cmcCellObj current;
    ASSERT_TRUE(cuiMenu::CellFromAnswers(answers, current));
    EXPECT_EQ(current.cellId, Id("CL_Mch_FreqR"));
    EXPECT_EQ(current.index, 1);
    EXPECT_TRUE(gEvMan->SendWithAnswer(evQueryCurrentCell, 12345).empty()) << "another menu's question";

    seen_.clear();
    Grid().clearFocus();
    EXPECT_EQ(s.PopupMenuItems(), nullptr);
    ASSERT_EQ(Of(evClearMenuItems).size(), 1u);
    EXPECT_EQ(Of(evClearMenuItems)[0].p2, 20);
    EXPECT_EQ(Of(evUpdateMenus).size(), 1u);
}

TEST_F(SheetBusTest, ANewCurrentCellIsPosted) {
    Open("GI_Sheet_TChan");
    scheduler_.Advance(20);
    Listen();
    Key(Qt::Key_Right);
    scheduler_.Advance(20);
    const std::vector<Seen> moved = Of(evCellSelected);
    ASSERT_EQ(moved.size(), 1u);
    ASSERT_EQ(moved[0].data.size(), 12u);
    int32_t address[3];
    std::memcpy(address, moved[0].data.data(), sizeof address);
    EXPECT_EQ(address[0], Sheet().GetCell(2, 1).category);
    EXPECT_EQ(address[1], Id("CL_Mch_FreqT"));
    EXPECT_EQ(address[2], 0);
    EXPECT_FALSE(Of(evStatusText).empty()) << "a selection clears the status message";
}

TEST_F(SheetBusTest, ACommittedFrequencyRedrawsItsRow) {
    Open("GI_Sheet_TChan", [this](cuiSheet& s) { RecordOwner(s); });
    Settle();
    Key('1');
    QTest::keyClicks(Sheet().Editor(), "46.52");
    QTest::keyClick(Sheet().Editor(), Qt::Key_Return);
    QApplication::processEvents();
    // The cell and the rest of its record's row: the transmit frequency follows.
    for (int c = 0; c < 5; ++c)
        EXPECT_TRUE(recorder_.draws.count({c, 1})) << c;
    EXPECT_FALSE(recorder_.draws.count({1, 2}));
}

TEST_F(SheetBusTest, TheEditorTakesAtMost1024Characters) {
    Open("GI_Sheet_TChan");
    Key('1');
    ASSERT_TRUE(Sheet().EditorVisible());
    Sheet().Editor()->insert(QString(2000, 'B'));
    EXPECT_EQ(Sheet().Editor()->text().size(), 1024);
    QTest::keyClick(Sheet().Editor(), Qt::Key_Escape);
}

} // namespace
} // namespace uitest

namespace uitest {
namespace {

class SheetInputTest : public SheetFixture {};

TEST_F(SheetInputTest, RepeatedLinesAreParsedAgain) {
    cuiSheet& s = Open("GI_Sheet_TLoop");
    ASSERT_EQ(s.RowCount(), 7);
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(s.GetCell(0, r).cellId, Id(r % 2 == 0 ? "CL_Mch_FreqR" : "CL_Mch_FreqT")) << r;
        EXPECT_EQ(s.GetCell(0, r).index, 0) << "a line between repeats is no copy: " << r;
    }
    // The repeats are made after the whole directive line, SelectOFF included.
    for (int r = 0; r < 7; ++r)
        EXPECT_EQ(s.GetCellId(0, r).flags & clsSheetCellId::kMayJoin, r < 2 ? clsSheetCellId::kMayJoin : 0)
            << r;
    EXPECT_EQ(s.MultiSelectMode(), 1);
}

TEST_F(SheetInputTest, TypedCharactersReachTheCellsAsTheirBytes) {
    Open("GI_Sheet_TChan", [this](cuiSheet& s) { RecordOwner(s); });
    recorder_.onEdit = [](cmcCellCapsule&) { return 0; };
    auto type = [this](const QString& text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(&Grid(), &press);
    };
    type(QString::fromUtf8("\xc3\xa9"));     // e acute, byte 0xE9
    type(QString::fromUtf8("\xe2\x82\xac")); // the euro sign has no byte
    QTest::keyClick(&Grid(), Qt::Key_Backspace);
    ASSERT_EQ(recorder_.edits.size(), 2u);
    EXPECT_EQ(recorder_.edits[0].request.key, 0xE9);
    EXPECT_EQ(recorder_.edits[1].request.key, 8);
}

TEST_F(SheetInputTest, AnOpenPopupMenuIsNoFocusLoss) {
    cuiSheet& s = Open("GI_Sheet_TChan");
    QTest::mouseClick(Grid().viewport(), Qt::RightButton, {}, Centre(2, 2));
    ASSERT_TRUE(s.PopupMenu()->isVisible());
    QApplication::processEvents();
    EXPECT_NE(s.PopupMenuItems(), nullptr) << "the menu's items stay while it is open";
    s.PopupMenu()->hide();
}

} // namespace
} // namespace uitest

namespace uitest {
namespace {

class SheetSpanTest : public SheetDrawTestBase {};

TEST_F(SheetSpanTest, TailCellsFollowTheirSelectableCell) {
    Open("GI_Sheet_TSpan", [this](cuiSheet& s) { RecordOwner(s); });
    recorder_.onEdit = [](cmcCellCapsule&) { return 0; };
    ASSERT_EQ(Current(), std::make_pair(0, 0));
    const QImage shot = Shot("span");
    EXPECT_EQ(At(shot, Grid().CellRect(1, 0).topLeft() + QPoint(1, 1)), Palette(QPalette::Highlight))
        << "the tail of the current cell";
    EXPECT_EQ(At(shot, Grid().CellRect(1, 1).topLeft() + QPoint(1, 1)), Palette(QPalette::Base));

    // A double click on the tail is one on its selectable cell.
    QTest::mouseDClick(Grid().viewport(), Qt::LeftButton, {}, Centre(1, 0));
    ASSERT_EQ(recorder_.edits.size(), 1u);
    EXPECT_EQ(std::make_pair(recorder_.edits[0].col, recorder_.edits[0].row), std::make_pair(0, 0));
    EXPECT_EQ(recorder_.edits[0].request.key, 256);

    // A right click on the tail of another row selects that row's cell.
    QTest::mouseClick(Grid().viewport(), Qt::RightButton, {}, Centre(1, 1));
    EXPECT_EQ(Current(), std::make_pair(0, 1));
    Sheet().PopupMenu()->hide();
}

TEST_F(SheetSpanTest, ContinuationCellsShowTheTextOnTheirLeft) {
    Open("GI_Sheet_TSpan");
    const QImage shot = Shot("span-continued");
    // The long caption runs on into the '+' cell of its row; the short one does not.
    auto inked = [&](int col, int row) {
        const QRect r = Grid().CellRect(col, row);
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += At(shot, QPoint(x, y)) != Palette(QPalette::Base);
        return n;
    };
    EXPECT_GT(inked(3, 0), 0);
    EXPECT_EQ(inked(3, 1), 0);
}

class SheetRangeTest : public SheetFixture {};

TEST_F(SheetRangeTest, ARangeTheCellAnswersIsSelected) {
    Open("GI_Sheet_TChan", [this](cuiSheet& s) { RecordOwner(s); });
    recorder_.onEdit = [](cmcCellCapsule& r) {
        r.rangeRequest = true;
        r.rangeFirst = 1;
        r.rangeLast = 3;
        return 0;
    };
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    ASSERT_EQ(Current(), std::make_pair(2, 2));
    Key(Qt::Key_F2);
    EXPECT_TRUE(Sheet().RangeShown());
    for (int r = 1; r < Sheet().RowCount(); ++r) {
        const bool in = r >= 2 && r <= 4;
        EXPECT_EQ(static_cast<bool>(Sheet().GetCellId(2, r).flags & clsSheetCellId::kSelected), in) << r;
        for (int c = 1; c < Sheet().ColCount(); ++c)
            EXPECT_EQ(Sheet().IsCellMarked(c, r), in) << c << "," << r;
    }
    // The far end of the range is the anchor: extending goes on from there.
    Key(Qt::Key_Down, Qt::ShiftModifier);
    for (int r = 1; r < Sheet().RowCount(); ++r)
        EXPECT_EQ(Sheet().IsCellMarked(2, r), r >= 3 && r <= 4) << r;
}

TEST_F(SheetRangeTest, NoRangeWhileRowsAreDeleted) {
    Open("GI_Sheet_TChan");
    {
        ScopedRowDelete deleting;
        Key(Qt::Key_Down, Qt::ShiftModifier);
    }
    EXPECT_FALSE(Sheet().RangeShown());
    EXPECT_FALSE(Sheet().IsCellMarked(1, 1));
}

void RecordGone(void* user, const cmcEvent& ev) {
    if (ev.type == evObjectDestroyed) static_cast<std::vector<intptr_t>*>(user)->push_back(ev.p2);
}

TEST_F(SheetRangeTest, TheSheetTellsItsGridIsGone) {
    Open("GI_Sheet_TChan");
    std::vector<intptr_t> gone;
    gEvMan->AddListener(&RecordGone, &gone);
    const auto grid = reinterpret_cast<intptr_t>(&Grid());
    sheet_.reset();
    gEvMan->RemoveListener(&RecordGone, &gone);
    EXPECT_EQ(gone, std::vector<intptr_t>{grid});
}

} // namespace
} // namespace uitest

namespace uitest {
namespace {

class SheetZoomTest : public SheetDrawTestBase {};

TEST_F(SheetZoomTest, TheFontSizeSettingScalesTheSheet) {
    const int32_t base = Open("GI_Sheet_TChan").BaseCell().font->height;
    const int rowHeight = Grid().RowHeight(1);
    sheet_.reset();
    gEnviron->FontSizePercentage = 300;
    cuiSheet& s = Open("GI_Sheet_TChan");
    EXPECT_EQ(s.BaseCell().font->height, 3 * base);
    EXPECT_GT(Grid().RowHeight(1), 2 * rowHeight);
    Shot("zoom");
}

} // namespace
} // namespace uitest

namespace uitest {
namespace {

class SheetLifetimeTest : public SheetFixture {};

// A command the cell runs may close the sheet that sent it.
TEST_F(SheetLifetimeTest, AnOwnerMayCloseTheSheet) {
    Open("GI_Sheet_TChan", [this](cuiSheet& s) { RecordOwner(s); });
    recorder_.onEdit = [this](cmcCellCapsule& r) {
        r.jumpKey = 'x';
        sheet_.reset();
        return 0;
    };
    cuiSheet* sheet = sheet_.get();
    sheet->SendEdit(1, 1, '5', 0);
    EXPECT_EQ(sheet_, nullptr);
    EXPECT_EQ(recorder_.edits.size(), 1u);
    EXPECT_TRUE(sleeps_.pauses.empty());
}

TEST_F(SheetLifetimeTest, AListWithoutOpenerOnlyCloses) {
    Open("GI_Sheet_Sel_Comm_Wide", [this](cuiSheet& s) {
        s.SetListMode(true);
        RecordOwner(s);
    });
    Key(Qt::Key_Return);
    EXPECT_TRUE(recorder_.edits.empty());
    EXPECT_FALSE(host_.isVisible());
}

} // namespace
} // namespace uitest

namespace uitest {
namespace {

class SheetMouseRangeTest : public SheetFixture {};

TEST_F(SheetMouseRangeTest, ShiftClickAndDragExtendTheLines) {
    Open("GI_Sheet_TChan");
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Centre(2, 2));
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, Qt::ShiftModifier, Centre(3, 4));
    EXPECT_EQ(Current(), std::make_pair(3, 4));
    for (int r = 1; r < Sheet().RowCount(); ++r)
        EXPECT_EQ(Sheet().IsCellMarked(1, r), r >= 2 && r <= 4) << r;

    // A plain click starts afresh; dragging with the button held extends.
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Centre(1, 6));
    EXPECT_FALSE(Sheet().RangeShown());
    QTest::mousePress(Grid().viewport(), Qt::LeftButton, {}, Centre(1, 6));
    QTest::mouseMove(Grid().viewport(), Centre(1, 8));
    QTest::mouseRelease(Grid().viewport(), Qt::LeftButton, {}, Centre(1, 8));
    EXPECT_EQ(Current(), std::make_pair(1, 8));
    for (int r = 1; r < Sheet().RowCount(); ++r)
        EXPECT_EQ(Sheet().IsCellMarked(4, r), r >= 6 && r <= 8) << r;
}

TEST_F(SheetMouseRangeTest, HoldingTheButtonPastTheEdgeMovesOnInTime) {
    Open("GI_Sheet_TChan");
    QTest::mousePress(Grid().viewport(), Qt::LeftButton, {}, Centre(2, 2));
    const QRect last = Grid().CellRect(2, 12);
    QTest::mouseMove(Grid().viewport(), QPoint(last.center().x(), last.bottom() + 30));
    EXPECT_EQ(Current(), std::make_pair(2, 2));
    scheduler_.Advance(cuiGrid::kTimedScrollMs);
    EXPECT_EQ(Current(), std::make_pair(2, 3));
    scheduler_.Advance(cuiGrid::kTimedScrollMs);
    EXPECT_EQ(Current(), std::make_pair(2, 4));
    QTest::mouseRelease(Grid().viewport(), Qt::LeftButton, {}, QPoint(last.center().x(), last.bottom() + 30));
    scheduler_.Advance(cuiGrid::kTimedScrollMs);
    EXPECT_EQ(Current(), std::make_pair(2, 4)) << "released: no more moves";
    for (int r = 1; r < Sheet().RowCount(); ++r)
        EXPECT_EQ(Sheet().IsCellMarked(1, r), r >= 2 && r <= 4) << r;
}

TEST_F(SheetMouseRangeTest, ARowThatMayNotJoinEndsTheRange) {
    Open("GI_Sheet_TLoop");
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Current(), std::make_pair(0, 1));
    EXPECT_TRUE(Sheet().RangeShown());
    EXPECT_TRUE(Sheet().IsCellMarked(0, 0));
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Current(), std::make_pair(0, 2));
    EXPECT_FALSE(Sheet().RangeShown()) << "row 2 may not join a range";
    EXPECT_FALSE(Sheet().IsCellMarked(0, 0));
    EXPECT_FALSE(Sheet().IsCellMarked(0, 1));
}

} // namespace
} // namespace uitest

namespace uitest {
namespace {

class SheetBankTest : public SheetFixture {};

TEST_F(SheetBankTest, TheBankOverviewFollowsTheImage) {
    Open("GI_Sheet_TBanks", [this](cuiSheet& s) { RecordOwner(s); });
    QApplication::processEvents();
    EXPECT_EQ(recorder_.texts[std::make_pair(1, 1)], "3");
    EXPECT_EQ(recorder_.texts[std::make_pair(1, 2)], "0");
    // Row 2 of bank 0 holds nothing any more.
    datCh ch(&Doc().WorkingImage());
    const int32_t kind = ModelClassOf(gEnviron->ModelType);
    ch.Load(kind, 2);
    ch.rxFreq = ch.txFreq = 0;
    ch.Store(kind, 2);
    gEvMan->Send(evRedrawSheet);
    QApplication::processEvents();
    EXPECT_EQ(recorder_.texts[std::make_pair(1, 1)], "2");
    Shot("banks");
}

} // namespace
} // namespace uitest
