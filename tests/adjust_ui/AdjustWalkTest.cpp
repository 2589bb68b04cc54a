// The adjustment program walked as its user walks it, for every model: every
// node of its tree opened, every cell of every sheet shown, Enter on each
// kind of selectable cell and every pop-up list that opens read item by
// item, and the radio information and A/D sheets shown. No text may be a
// cell without its case ("*Yet*"), no step may reach the fatal handler.
#include "adjust/AdjustVocabulary.h"
#include "adjust/ui/AdjustMain.h"
#include "adjust/ui/iuiWinAd.h"
#include "cells/CellEngine.h"
#include "cells/PopupOpener.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "platform/Fatal.h"
#include "tests/adjust/AdjustDocumentFixture.h"
#include "ui/ProgramPopupOpener.h"
#include "ui/TForm1.h"
#include "ui/cuiFlector.h"
#include "ui/cuiGrid.h"
#include "ui/cuiInformation.h"
#include "ui/cuiSheet.h"
#include "ui/iuiRptSetWin.h"
#include "ui/iuiTree.h"

#include <QApplication>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <functional>
#include <initializer_list>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Lists open as the program opens them; the editors that are windows of
// their own are only noted, so that the walk goes on without them.
class WalkingOpener : public PopupOpener {
public:
    explicit WalkingOpener(ProgramPopupOpener& program) : program_(program) {}

    void OpenList(const cmcCellCapsule& request, int32_t listCellId, int32_t currentValue, cmcGTex* texts,
                  const std::string& listKey) override {
        program_.OpenList(request, listCellId, currentValue, texts, listKey);
        opened = listKey;
    }
    void OpenChannelList(const cmcCellCapsule& request, int32_t listCellId, cmcGTex* texts,
                         const std::string& listKey, const std::string& text) override {
        program_.OpenChannelList(request, listCellId, texts, listKey, text);
        opened = listKey;
    }
    void OpenBitsEditor(const cmcCellCapsule&, cmcGTex*, int32_t, int32_t, int32_t, int32_t, int32_t,
                        const std::string&) override {}
    void OpenTextEditor(const cmcCellCapsule&, cmcGTex*, const std::string&, bool, int32_t) override {}
    void OpenCharEditor(const cmcCellCapsule&, int32_t, int32_t, int32_t,
                        const std::vector<uint8_t>&) override {}

    cuiFlector* List() const { return program_.LastOpened(); }
    std::string opened;

private:
    ProgramPopupOpener& program_;
};

class AdjustWalkTest : public adjtest::AdjustDocumentFixture {
protected:
    void Settle() {
        scheduler_.Advance(100);
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static bool Selectable(const cmcCellObj& cell) { return (cell.flags & cmcCellObj::kFlagS) != 0; }

    // What a cell shows, drawn as the sheet draws it.
    static std::string Shown(cuiSheet& sheet, int32_t col, int32_t row) {
        cmcCellCapsule request;
        sheet.PrepareRequest(col, row, request);
        adj::AdjustCellEngine().Execute(request, 0);
        return request.displayText;
    }

    // Every cell of the sheet that shows no case of its own, by place and name.
    void ExpectNoYet(cuiSheet& sheet, const std::string& where) {
        const CellVocabulary& v = adj::AdjustCellEngine().Vocabulary();
        for (int32_t r = 0; r < sheet.RowCount(); ++r)
            for (int32_t c = 0; c < sheet.ColCount(); ++c) {
                const std::string text = Shown(sheet, c, r);
                ++cellsShown_;
                if (text.find("*Yet*") != std::string::npos)
                    ADD_FAILURE() << where << " " << c << "," << r << " "
                                  << v.CellName(sheet.GetCell(c, r).cellId) << ": " << text;
            }
    }

    // Enter on the first cell of each cell name the sheet lets the user stand
    // on; a list that opens is read item by item and closed again.
    void EnterOnEachKind(adj::indMain& window, cuiSheet& sheet, WalkingOpener& opener) {
        const CellVocabulary& v = adj::AdjustCellEngine().Vocabulary();
        const int32_t adjust = v.CategoryIndex("CT_ADJ");
        ProgramFirstRow(sheet);
        std::set<int32_t> tried;
        for (int32_t r = 0; r < sheet.RowCount(); ++r)
            for (int32_t c = 0; c < sheet.ColCount(); ++c) {
                const cmcCellObj& cell = sheet.GetCell(c, r);
                // The adjustment items talk to the radio and open no list.
                if (!Selectable(cell) || cell.category == adjust || !tried.insert(cell.cellId).second)
                    continue;
                opener.opened.clear();
                sheet.SetCurrentCell(c, r);
                QTest::keyClick(sheet.Grid(), Qt::Key_Return);
                if (sheet.EditorVisible()) QTest::keyClick(sheet.Editor(), Qt::Key_Escape);
                if (iuiRptSetWin* site = window.RepeaterWindow()) site->Form()->close();
                if (!opener.opened.empty()) ReadList(opener, sheet.Name() + " " + v.CellName(cell.cellId));
                Settle();
            }
    }

    // A channel sheet's rows not in use send every key to the frequency:
    // the first row gets one, typed as the user types it.
    void ProgramFirstRow(cuiSheet& sheet) {
        const int32_t freq = adj::AdjustCellVocabulary().CellIndex("CL_Mch_FreqR");
        if (sheet.FirstSelectableRow() >= sheet.RowCount()) return;
        for (int32_t c = 0; c < sheet.ColCount(); ++c) {
            if (sheet.GetCell(c, sheet.FirstSelectableRow()).cellId != freq) continue;
            sheet.SetCurrentCell(c, sheet.FirstSelectableRow());
            QTest::keyClick(sheet.Grid(), Qt::Key_1);
            ASSERT_TRUE(sheet.EditorVisible());
            QTest::keyClicks(sheet.Editor(), "46.52");
            QTest::keyClick(sheet.Editor(), Qt::Key_Return);
            Settle();
            EXPECT_EQ(Shown(sheet, c, sheet.FirstSelectableRow()), "146.520000");
            return;
        }
    }

    void ReadList(WalkingOpener& opener, const std::string& from) {
        cuiFlector* list = opener.List();
        ASSERT_NE(list, nullptr) << from << " " << opener.opened;
        cuiSheet& items = *list->Sheet();
        ExpectNoYet(items, from + " list " + opener.opened);
        std::string first;
        int shown = 0;
        for (int32_t r = 0; r < items.RowCount(); ++r)
            for (int32_t c = 0; c < items.ColCount(); ++c)
                if (Selectable(items.GetCell(c, r))) {
                    const std::string text = Shown(items, c, r);
                    EXPECT_FALSE(text.empty())
                        << from << " list " << opener.opened << " item " << c << "," << r;
                    if (first.empty()) first = text;
                    ++shown;
                }
        EXPECT_GT(shown, 0) << from << " list " << opener.opened;
        if (lists_.emplace(opener.opened, first + " (" + std::to_string(shown) + " items)").second)
            std::cout << "  list " << opener.opened << " from " << from << ": " << lists_[opener.opened]
                      << "\n";
        QTest::keyClick(items.Grid(), Qt::Key_Escape);
        Settle();
        EXPECT_EQ(opener.List(), nullptr) << "Esc closes " << opener.opened;
    }

    // The program's window for each of the models, shown and active, as its start-up shows it.
    void ForEachModel(std::initializer_list<int32_t> models,
                      const std::function<void(adj::indMain&, TForm1&)>& walk) {
        for (int32_t model : models) {
            SCOPED_TRACE("model " + std::to_string(model));
            gEnviron->ModelType = model;
            adj::indMain window(Doc());
            TForm1 form(window);
            form.resize(1000, 700);
            form.show();
            QApplication::setActiveWindow(&form);
            Settle();
            walk(window, form);
            form.close();
        }
    }

    ScopedCellEngine engine_{adj::AdjustCellEngine()};
    std::map<std::string, std::string> lists_;
    long cellsShown_ = 0;
};

TEST_F(AdjustWalkTest, EveryNodeCellAndListOfEveryModelShowsItsText) {
    StartAdjust();
    // Maker mode too, so that the sheets it alone shows are walked as well.
    boxes_.Expect(Text("GI_Mess_Maker_Caution"), plat::IDOK);
    Doc().EnterMakerMode();
    ForEachModel({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, [&](adj::indMain& window, TForm1& form) {
        auto* program = dynamic_cast<ProgramPopupOpener*>(&Popups());
        ASSERT_NE(program, nullptr);
        WalkingOpener opener(*program);
        ScopedPopupOpener walking(&opener);

        std::set<std::string> opened;
        for (QTreeWidgetItemIterator it(window.Tree()->View()); *it; ++it) {
            // Every bank opens the same sheet: the first and the last stand for them.
            const int32_t bank = iuiTree::BankOfNode(*it);
            if (bank > 0 && bank < 127) continue;
            try {
                window.Tree()->View()->setCurrentItem(*it);
                window.OnTreeChange();
                Settle();
                cuiSheet* sheet = window.Sheet();
                if (!sheet || !opened.insert(sheet->GetDefinition()).second) continue;
                sheet->Grid()->setFocus();
                ExpectNoYet(*sheet, sheet->GetDefinition());
                EnterOnEachKind(window, *sheet, opener);
            } catch (const plat::FatalError& e) {
                ADD_FAILURE() << (*it)->text(0).toStdString() << ": " << e.what();
            }
        }
        EXPECT_GT(opened.size(), 20u);

        // The radio's information, before any radio has answered, and the A/D readings.
        try {
            window.OpenCloneInformation();
            cuiInformation* info = window.Information();
            ASSERT_NE(info, nullptr);
            ExpectNoYet(*info->Sheet(), "information");
            info->Form()->reject();
            Settle();
            cuiSheet ad(adj::AdjustCellEngine(), form.centralWidget(), nullptr, 0, 0, *gGTex,
                        adj::iuiWinAd::kName);
            ad.Build();
            ExpectNoYet(ad, "A/D monitor");
        } catch (const plat::FatalError& e) {
            ADD_FAILURE() << e.what();
        }
    });
    // The lists of the key, on/off, channel switch, tone and bit-field cells among them.
    for (const char* list : {"GI_Sheet_Sel_Misc_OnOff", "GI_Sheet_Sel_Mch_Moni", "GI_Sheet_Sel_Mch_Sel",
                             "GI_Sheet_Sel_Mch_Call", "GI_Sheet_Sel_Mch_Ptt", "GI_Sheet_Sel_Mch_ChMute"})
        EXPECT_TRUE(lists_.contains(list)) << list;
    std::cout << "  " << lists_.size() << " lists, " << cellsShown_ << " cells shown\n";
}

// A click on any cell a user can stand on makes it current, and a click on a
// cell that belongs to the selectable cell on its left (a row's level bar or
// its "Press Enter to start") makes that cell current; on every sheet of the
// tree, for a model whose channel sheet lays columns out 0 wide and for one
// whose does not.
TEST_F(AdjustWalkTest, AClickOnACellMakesItOrTheCellItBelongsToCurrent) {
    StartAdjust();
    ForEachModel({0, 2, 4}, [&](adj::indMain& window, TForm1&) {
        std::set<std::string> opened;
        int hidden = 0, clicked = 0;
        for (QTreeWidgetItemIterator it(window.Tree()->View()); *it; ++it) {
            if (iuiTree::BankOfNode(*it) > 0) continue;
            window.Tree()->View()->setCurrentItem(*it);
            window.OnTreeChange();
            Settle();
            cuiSheet* sheet = window.Sheet();
            if (!sheet || !opened.insert(sheet->GetDefinition()).second) continue;
            cuiGrid& grid = *sheet->Grid();
            const int32_t lastRow = std::min(sheet->RowCount(), sheet->FirstSelectableRow() + 3);
            for (int32_t r = sheet->FirstSelectableRow(); r < lastRow; ++r)
                for (int32_t c = grid.FixedCols(); c < sheet->ColCount(); ++c) {
                    if (grid.ColWidth(c) == 0) {
                        ++hidden;
                        EXPECT_FALSE(Selectable(sheet->GetCell(c, r)))
                            << sheet->Name() << " " << c << "," << r;
                        continue;
                    }
                    int32_t owner = c;
                    while (owner >= 0 && !Selectable(sheet->GetCell(owner, r)) &&
                           (sheet->GetCell(owner, r).flags & cmcCellObj::kFlagT))
                        --owner;
                    if (owner < 0 || !Selectable(sheet->GetCell(owner, r))) continue;
                    // Brought wholly into view first, as a user scrolls to it.
                    if (!grid.viewport()->rect().contains(grid.CellRect(c, r))) {
                        grid.SetLeftCol(c);
                        grid.SetTopRow(r);
                    }
                    const QRect cell = grid.CellRect(c, r);
                    ASSERT_FALSE(cell.isEmpty()) << sheet->Name() << " " << c << "," << r;
                    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
                    ++clicked;
                    EXPECT_EQ(std::make_pair(grid.Col(), grid.Row()), std::make_pair(owner, r))
                        << sheet->Name() << " " << c << "," << r << " "
                        << adj::AdjustCellEngine().Vocabulary().CellName(sheet->GetCell(c, r).cellId);
                }
        }
        EXPECT_GT(clicked, 100);
        std::cout << "  " << clicked << " cells clicked, " << hidden << " in columns laid out 0 wide\n";
    });
}

// A pick in a list, made with the keys, is what the cell shows afterwards and
// lands in the image: the channel switches with their marks, a key function,
// a set-mode switch and a scan list's mode.
TEST_F(AdjustWalkTest, APickMadeWithTheKeysIsStored) {
    struct Case {
        const char* sheet;
        const char* cell;
    };
    const Case cases[] = {
        {"[St_ChBank]GI_Sheet_Mch,Bank 0", "CL_Mch_Moni"},
        {"[St_ChBank]GI_Sheet_Mch,Bank 0", "CL_Mch_CH_Mute"},
        {"[St_Common]GI_Sheet_Adj_Set_Keys", "CL_KDisp_Key_Conv_P0"},
        {"[St_Common]GI_Sheet_Adj_Set_SetMode", "CL_SetM_BeepOn"},
        {"[St_Common]GI_Sheet_Adj_Set_ScanLists", "CL_ScanList_ScanMode"},
    };
    StartAdjust();
    ForEachModel({0}, [&](adj::indMain& window, TForm1&) {
        auto* program = dynamic_cast<ProgramPopupOpener*>(&Popups());
        ASSERT_NE(program, nullptr);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.cell);
            window.OpenSheet(c.sheet);
            Settle();
            cuiSheet& sheet = *window.Sheet();
            sheet.Grid()->setFocus();
            ProgramFirstRow(sheet);
            const int32_t id = adj::AdjustCellVocabulary().CellIndex(c.cell);
            int32_t col = -1, row = -1;
            for (int32_t r = sheet.RowCount() - 1; r >= 0; --r)
                for (int32_t k = 0; k < sheet.ColCount(); ++k)
                    if (sheet.GetCell(k, r).cellId == id) std::tie(col, row) = std::pair{k, r};
            ASSERT_GE(col, 0);
            sheet.SetCurrentCell(col, row);
            const std::string before = Shown(sheet, col, row);
            const cmcEeprom image = Doc().WorkingImage();
            QTest::keyClick(sheet.Grid(), Qt::Key_Return);
            cuiFlector* list = program->LastOpened();
            ASSERT_NE(list, nullptr);
            cuiSheet& items = *list->Sheet();
            // Down to the next item that shows another text, then Enter.
            std::string picked;
            for (int step = 0; step < 8 && (picked.empty() || picked == before); ++step) {
                QTest::keyClick(items.Grid(), Qt::Key_Down);
                picked = Shown(items, items.Grid()->Col(), items.Grid()->Row());
            }
            ASSERT_NE(picked, before);
            QTest::keyClick(items.Grid(), Qt::Key_Return);
            Settle();
            // A key function shows its option after it.
            EXPECT_EQ(Shown(sheet, col, row).substr(0, picked.size()), picked);
            EXPECT_FALSE(Doc().WorkingImage().IsEqual(image)) << "the pick is in the image";
        }
    });
}

} // namespace
