// The settings sheets of the main tree over the shipped overlay and every
// model's start-up data: which sheets each model's tree offers, and that each
// one opens from its node with every cell known, clean and readable.
#include "cells/CellEngine.h"
#include "cells/cmcCellObj.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcGTex.h"
#include "tests/ui/AppFixture.h"
#include "ui/SheetDefinition.h"
#include "ui/TForm1.h"
#include "ui/cuiGrid.h"
#include "ui/cuiSheet.h"
#include "ui/cuiToolBar.h"
#include "ui/iuiTree.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using uitest::AppFixture;

constexpr int kModels = 10;

class SettingsSheetsTest : public AppFixture {
protected:
    // The main window on the model, maker mode on when asked.
    indMain& Open(int32_t model, bool maker) {
        indMain& app = Start();
        gEnviron->ModelType = model;
        form_ = std::make_unique<TForm1>(app);
        if (maker) {
            boxes_.Expect(Text("GI_Mess_Maker_Caution"), plat::IDOK);
            Doc().EnterMakerMode();
        }
        Settle();
        return app;
    }
    void Close() {
        form_.reset();
        Stop();
    }
    void Settle() {
        scheduler_.Advance(500);
        // Turns of an event loop, as the program's own: the sheet the node
        // replaced goes with the first,
        // the layout closes over its panels on the next.
        for (int i = 0; i < 2; ++i) {
            QEventLoop turn;
            QTimer::singleShot(0, &turn, &QEventLoop::quit);
            turn.exec();
        }
    }
    // The nodes that open a common sheet, in tree order.
    static std::vector<QTreeWidgetItem*> SheetNodes(iuiTree& tree) {
        std::vector<QTreeWidgetItem*> out;
        for (QTreeWidgetItemIterator it(tree.View()); *it; ++it)
            if (SheetDefinition::Split(cuiTree::LinkOf(*it)).type == "St_Common") out.push_back(*it);
        return out;
    }
    // The captions under the top node, the branches the user sees.
    static std::string Branches(iuiTree& tree) {
        std::string out;
        QTreeWidgetItem* top = tree.Node(0);
        for (int i = 0; i < top->childCount(); ++i)
            out += (i ? ", " : "") + top->child(i)->text(0).toStdString();
        return out;
    }
    static std::string Where(const std::string& sheet, const cmcCellObj& cell) {
        return sheet + " " + CloningCellEngine().Vocabulary().CellName(cell.cellId) + "[" +
               std::to_string(cell.index) + "]";
    }

    // Texts and digit codes the user types, and the user characters he draws:
    // empty until made. Any other value shows something, so an empty one is a
    // value its list lacks, or a setting the model has not.
    static bool FreeText(const cmcCellObj& cell) {
        const std::string name = CloningCellEngine().Vocabulary().CellName(cell.cellId);
        for (const char* part : {"Text", "Name", "Comment", "TxMsg", "CEdit"})
            if (name.find(part) != std::string::npos) return true;
        return name.ends_with("_Code");
    }

    std::unique_ptr<TForm1> form_;
};

// Each model class sees the branches of its radios' settings; the maker's
// sheet only in maker mode.
TEST_F(SettingsSheetsTest, TheTreeOffersEachModelTheSheetsOfItsRadios) {
    const struct {
        int32_t model;
        bool maker;
        const char* branches;
    } cases[] = {
        {0, false, "Channel memory, Bank overview, Settings, Signalling, MDC"},
        {1, false, "Channel memory (LTR banks), Bank overview, LTR, Settings, Signalling, MDC"},
        {2, false, "Channel memory, Bank overview, Settings, Signalling, MDC, Digital system"},
        {3, false, "Channel memory, Bank overview, Settings, Signalling, MDC"},
        {4, false, "Channel memory, Bank overview, Settings, Signalling, MSK"},
        {5, true, "Channel memory, Bank overview, Settings, Signalling, MDC, Maker settings"},
        {6, true,
         "Channel memory (LTR banks), Bank overview, LTR, Settings, Signalling, MDC, Maker settings"},
        {7, false, "Channel memory, Bank overview, Settings, Signalling, MDC, Digital system"},
        {8, false, "Channel memory, Bank overview, Settings, Signalling, MDC"},
        {9, true, "Channel memory, Bank overview, Settings, Signalling, MSK, Maker settings"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        indMain& app = Open(c.model, c.maker);
        EXPECT_EQ(Branches(*app.Tree()), c.branches);
        Close();
    }
}

// Every sheet a node links exists, every sheet of the settings file has a
// node, and each of its cells names a cell the engine has a case for: a missing key or name would end the
// program, a missing case shows a placeholder instead of the setting.
TEST_F(SettingsSheetsTest, EverySheetOfTheTreeNamesCellsTheEngineHas) {
    // Between them the P25, PMR-Z and LTR models in maker mode show every branch.
    std::set<std::string> names;
    for (int32_t model : {2, 4, 6}) {
        indMain& app = Open(model, true);
        for (QTreeWidgetItem* node : SheetNodes(*app.Tree()))
            names.insert(SheetDefinition::Split(cuiTree::LinkOf(node)).name);
        Close();
    }
    // Each sheet of the settings files (the program's own and the ones both
    // programs show) has its node, and the nodes open no other common sheet.
    std::set<std::string> inFile;
    for (const char* path : {TOLVANE_SOURCE_DIR "/data/overlay/QT4410R/410_settings_sheets.ovl",
                             TOLVANE_SOURCE_DIR "/data/overlay/shared/415_settings_sheets.ovl"}) {
        std::ifstream file(path);
        for (std::string line; std::getline(file, line);)
            if (line.starts_with('#') && line.ends_with("_Style"))
                inFile.insert(line.substr(1, line.size() - 7));
    }
    EXPECT_FALSE(inFile.empty());
    EXPECT_EQ(names, inFile);
    Open(6, false);
    const CellEngine& engine = CloningCellEngine();
    std::vector<std::string> unknown;
    for (const std::string& name : names) {
        ASSERT_TRUE(gGTex->TryGetTextLine(name + "_Style", 0).has_value()) << name;
        ASSERT_TRUE(gGTex->TryGetTextLine(name + "_BasicCell", 0).has_value()) << name;
        int cells = 0;
        std::array<int32_t, cmcCellObj::kChParams> ch{};
        for (int n = 0;; ++n) {
            const std::optional<std::string> line = gGTex->TryGetTextLine(name + "_Cells", n);
            if (!line || line->starts_with('#')) break;
            if (line->starts_with(':')) continue;
            for (std::string rest = *line; !rest.empty();) {
                cmcCellObj cell;
                rest = cell.Parse(rest, ch.data(), nullptr);
                if (engine.Cases().IsEmptyId(cell.cellId)) continue;
                ++cells;
                if (!engine.Cases().Has(cell.cellId)) unknown.push_back(Where(name, cell));
            }
        }
        EXPECT_GT(cells, 0) << name;
    }
    EXPECT_EQ(unknown, std::vector<std::string>{});
    Close();
}

// Choosing each node opens its sheet after the change delay; on every model
// each cell that shows a value (row labels too) shows something, no error
// mark and no placeholder, and fits its column.
TEST_F(SettingsSheetsTest, EachNodeOpensItsSheetWithEveryValueShownInFull) {
    const char* shots = std::getenv("TOLVANE_SHEET_SHOTS");
    for (int32_t model = 0; model < kModels; ++model) {
        SCOPED_TRACE(model);
        indMain& app = Open(model, true);
        iuiTree& tree = *app.Tree();
        std::vector<std::string> faults;
        for (QTreeWidgetItem* node : SheetNodes(tree)) {
            const std::string link = cuiTree::LinkOf(node);
            tree.View()->setCurrentItem(node);
            Settle();
            cuiSheet* sheet = app.Sheet();
            ASSERT_NE(sheet, nullptr) << link;
            ASSERT_EQ(sheet->GetDefinition(), link);
            const std::string name = SheetDefinition::Split(link).name;
            EXPECT_TRUE(sheet->Grid()->isEnabled()) << name << ": a sheet without a selectable cell";
            // The title reads light on its dark bar.
            const QLabel* title = sheet->TitlePanel() ? sheet->TitlePanel()->findChild<QLabel*>() : nullptr;
            ASSERT_NE(title, nullptr) << name;
            EXPECT_GT(title->palette().color(QPalette::WindowText).lightness(),
                      title->palette().color(QPalette::Window).lightness() + 100)
                << name;
            const QFontMetrics metrics(sheet->SheetPanel()->font());
            for (int r = 0; r < sheet->RowCount(); ++r)
                for (int c = 0; c < sheet->ColCount(); ++c) {
                    cmcCellObj& cell = sheet->GetCell(c, r);
                    if (CloningCellEngine().Cases().IsEmptyId(cell.cellId)) continue;
                    cmcCellCapsule request;
                    sheet->PrepareRequest(c, r, request);
                    CloningCellEngine().Execute(request, 0);
                    const std::string& text = request.displayText;
                    if (text.find("*Yet*") != std::string::npos)
                        faults.push_back(Where(name, cell) + " placeholder");
                    if (text.empty() && !FreeText(cell))
                        faults.push_back(Where(name, cell) + " shows nothing");
                    if (request.markFlags.error) faults.push_back(Where(name, cell) + " error: " + text);
                    if (metrics.horizontalAdvance(QString::fromStdString(text)) + 4 >
                        sheet->Grid()->ColWidth(c))
                        faults.push_back(Where(name, cell) + " cut off: " + text);
                }
            if (shots) {
                QDir().mkpath(shots);
                form_->grab().save(
                    QString("%1/%2-%3.png").arg(shots).arg(model).arg(QString::fromStdString(name)));
            }
        }
        std::string all;
        for (const std::string& f : faults)
            all += f + "\n";
        EXPECT_TRUE(faults.empty()) << all;
        Close();
    }
}

// On every model nothing the user can pick is blank: the tree's nodes, the
// tool bar's buttons (their tips) and the items of each sheet pop-up menu,
// with their sub-menus, as the grid shows them over the cell.
TEST_F(SettingsSheetsTest, NoNodeButtonOrPopUpItemIsWithoutACaption) {
    std::set<std::string> menusSeen;
    for (int32_t model = 0; model < kModels; ++model) {
        SCOPED_TRACE(model);
        indMain& app = Open(model, true);
        form_->show();
        form_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
        std::vector<std::string> faults;
        iuiTree& tree = *app.Tree();
        std::vector<QTreeWidgetItem*> sheets = SheetNodes(tree);
        for (QTreeWidgetItemIterator it(tree.View()); *it; ++it)
            if ((*it)->text(0).trimmed().isEmpty()) faults.push_back("node " + cuiTree::LinkOf(*it));
        if (QTreeWidgetItem* memory = tree.FindNode("GI_Sheet_Memory_CH_Top"); memory && memory->childCount())
            sheets.push_back(memory->child(0));
        for (const QToolButton* button : app.MainToolBar()->Buttons())
            if (cuiToolBar::CellOf(button) && button->toolTip().isEmpty() && button->text().isEmpty())
                faults.push_back("a tool button");

        std::function<void(const std::string&, const QMenu&)> walk = [&](const std::string& where,
                                                                         const QMenu& menu) {
            for (const QAction* a : menu.actions()) {
                if (!a->isSeparator() && a->text().isEmpty()) faults.push_back(where + ": an item");
                if (a->menu()) walk(where, *a->menu());
            }
        };
        for (QTreeWidgetItem* node : sheets) {
            tree.View()->setCurrentItem(node);
            Settle();
            cuiSheet* sheet = app.Sheet();
            ASSERT_NE(sheet, nullptr) << cuiTree::LinkOf(node);
            sheet->Grid()->setFocus();
            for (int r = 0; r < sheet->RowCount(); ++r)
                for (int c = 0; c < sheet->ColCount(); ++c) {
                    const std::string* menu = sheet->GetCell(c, r).GetPopupMenu();
                    if (!menu || !(sheet->GetCell(c, r).flags & cmcCellObj::kFlagS) ||
                        !menusSeen.insert(*menu).second)
                        continue;
                    sheet->SetCurrentCell(c, r);
                    QApplication::processEvents();
                    ASSERT_NE(sheet->PopupMenu(), nullptr);
                    EXPECT_FALSE(sheet->PopupMenu()->actions().isEmpty()) << *menu;
                    walk(*menu, *sheet->PopupMenu());
                }
        }
        std::string all;
        for (const std::string& f : faults)
            all += f + "\n";
        EXPECT_TRUE(faults.empty()) << all;
        Close();
    }
    EXPECT_FALSE(menusSeen.empty());
}

} // namespace

namespace {

// The lines a model has not are filtered out of the shared sheets: the PMR
// scan option on the other classes, the MDC external outputs on handhelds.
TEST_F(SettingsSheetsTest, LinesOfOtherModelsAreLeftOut) {
    const auto has = [](cuiSheet& sheet, const char* cellName) {
        const int32_t id = CloningCellEngine().Vocabulary().CellIndex(cellName);
        for (int r = 0; r < sheet.RowCount(); ++r)
            for (int c = 0; c < sheet.ColCount(); ++c)
                if (sheet.GetCell(c, r).cellId == id) return true;
        return false;
    };
    const struct {
        int32_t model;
        bool pmrScan;
        bool exo;
    } cases[] = {
        {0, false, false}, {1, false, false}, {2, false, false}, {3, true, false},
        {5, false, true},  {6, false, true},  {7, false, true},  {8, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        indMain& app = Open(c.model, false);
        app.OpenSheet("[St_Common]GI_Sheet_Set_ScanCommon");
        ASSERT_NE(app.Sheet(), nullptr);
        EXPECT_EQ(has(*app.Sheet(), "CL_ScanComm_AutoChCall_PmrOnly"), c.pmrScan);
        EXPECT_TRUE(has(*app.Sheet(), "CL_ScanComm_StopTimer"));
        for (const char* sheet :
             {"GI_Sheet_Set_MdcSelCall", "GI_Sheet_Set_MdcEmergency", "GI_Sheet_Set_MdcCallAlert"}) {
            app.OpenSheet(std::string("[St_Common]") + sheet);
            ASSERT_NE(app.Sheet(), nullptr);
            bool exo = false;
            for (const char* cell :
                 {"CL_Mdc_SelCall_EXO_Out", "CL_Mdc_Emg_EXO_Out", "CL_Mdc_CallAlert_EXO_Out"})
                exo = exo || has(*app.Sheet(), cell);
            EXPECT_EQ(exo, c.exo) << sheet;
            EXPECT_EQ(app.Sheet()->RowCount(), 6) << sheet << ": the header and five entries";
        }
        Close();
    }
}

} // namespace

namespace {

// A user character is drawn in its editor: Enter on its cell opens it.
TEST_F(SettingsSheetsTest, EnterOnAUserCharacterOpensItsEditor) {
    indMain& app = Open(5, false);
    form_->show();
    app.OpenSheet("[St_Common]GI_Sheet_Set_UserChar");
    Settle();
    ASSERT_NE(app.Sheet(), nullptr);
    app.Sheet()->Grid()->setFocus();
    QTest::keyClick(app.Sheet()->Grid(), Qt::Key_Return);
    Settle();
    QDialog* editor = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) editor = d;
    ASSERT_NE(editor, nullptr);
    editor->reject();
    Settle();
    Close();
}

} // namespace
