// The settings sheets of the main tree over the shipped overlay and every
// model's start-up data: which sheets each model's tree offers, and that each
// one opens from its node with every cell known, clean and readable.
#include "cells/CellEngine.h"
#include "cells/cmcCellObj.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "tests/support/BankFill.h"
#include "tests/support/RecordingPopupOpener.h"
#include "tests/ui/AppFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/ProgramPopupOpener.h"
#include "ui/SheetDefinition.h"
#include "ui/TForm1.h"
#include "ui/cuiFlector.h"
#include "ui/cuiGrid.h"
#include "ui/cuiSheet.h"
#include "ui/cuiToolBar.h"
#include "ui/iuiRptSetWin.h"
#include "ui/iuiSh_ChBank.h"
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

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
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
            if (shots)
                uitest::SavePicture(form_->grab(),
                                    QString("settings-%1-%2").arg(model).arg(QString::fromStdString(name)));
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

namespace {

// The banks the walk opens: a conventional, a SmarTrunk and (on LTR models)
// an LTR bank holding channels, an empty bank and the last one. The other
// bank nodes open the same sheet for another bank.
constexpr int32_t kWalkBanks[] = {0, 1, 2, 3, 127};

// Banks of every kind holding channels, so every channel column shows a value.
void FillBanksOfEveryKind(cmcEeprom& image, int32_t model) {
    const bool ltr = ModelClassOf(model) == 2;
    SetSmarTrunkBank(image, 1, 1);
    SetBankFlagB(image, 2, ltr ? 1 : 0);
    for (int32_t bank = 0; bank < 128; ++bank)
        testsupport::FillBank(image, bank, bank == 0 ? 3 : bank == 1 || bank == 2 ? 2 : bank == 127 ? 1 : 0);
}

// What the user reaches of a tree: each node's sheet with every cell shown,
// Enter on each kind of selectable cell, and every list that opens, shown.
struct Walk {
    std::vector<std::string> faults;
    std::set<int32_t> cellsShown;
    std::set<std::string> listsShown;
};

// Shows every cell of the sheet; notes a placeholder as a fault.
void ShowCells(const std::string& name, cuiSheet& sheet, Walk& walk,
               const std::function<int32_t(cmcCellCapsule&)>& evaluate) {
    for (int r = 0; r < sheet.RowCount(); ++r)
        for (int c = 0; c < sheet.ColCount(); ++c) {
            cmcCellObj& cell = sheet.GetCell(c, r);
            if (CloningCellEngine().Cases().IsEmptyId(cell.cellId)) continue;
            cmcCellCapsule request;
            sheet.PrepareRequest(c, r, request);
            evaluate(request);
            walk.cellsShown.insert(cell.cellId);
            if (request.displayText == "error")
                walk.faults.push_back(name + " " + CloningCellEngine().Vocabulary().CellName(cell.cellId) +
                                      " error");
            if (request.displayText.find("*Yet*") != std::string::npos)
                walk.faults.push_back(name + " " + CloningCellEngine().Vocabulary().CellName(cell.cellId) +
                                      " placeholder");
        }
}

// On every model, in and out of maker mode, over banks of every kind: every
// node opens its sheet, every cell on it shows a value (no placeholder), and
// every list a cell opens on Enter opens and shows its items. A fatal error
// anywhere ends the test.
TEST_F(SettingsSheetsTest, EveryNodeOpensWithEveryCellAndEveryListShown) {
    for (int32_t model = 0; model < kModels; ++model)
        for (bool maker : {false, true}) {
            SCOPED_TRACE(std::to_string(model) + (maker ? " maker" : ""));
            indMain& app = Open(model, maker);
            FillBanksOfEveryKind(Doc().WorkingImage(), model);
            gEvMan->Send(evDataReloaded);
            Settle();
            iuiTree& tree = *app.Tree();
            std::vector<QTreeWidgetItem*> nodes;
            for (QTreeWidgetItemIterator it(tree.View()); *it; ++it) {
                const SheetDefinition link = SheetDefinition::Split(cuiTree::LinkOf(*it));
                // Branch nodes name no kind of sheet and open none.
                if (link.type.empty()) continue;
                if (link.type == "St_ChBank" &&
                    std::ranges::find(kWalkBanks, std::atoi(link.params.substr(5).c_str())) ==
                        std::end(kWalkBanks))
                    continue;
                nodes.push_back(*it);
            }
            ASSERT_GT(nodes.size(), 20u);
            Walk walk;
            for (QTreeWidgetItem* node : nodes) {
                tree.View()->setCurrentItem(node);
                Settle();
                cuiSheet* sheet = app.Sheet();
                ASSERT_NE(sheet, nullptr) << cuiTree::LinkOf(node);
                const std::string name = cuiTree::LinkOf(node);
                ShowCells(name, *sheet, walk,
                          [](cmcCellCapsule& r) { return CloningCellEngine().Execute(r, 0); });
                // Enter on the first cell of each kind that holds a value
                // (never the empty row of a bank, where Enter adds a channel).
                RecordingPopupOpener asked;
                {
                    ScopedPopupOpener scope(&asked);
                    std::set<int32_t> entered;
                    for (int r = 0; r < sheet->RowCount(); ++r)
                        for (int c = 0; c < sheet->ColCount(); ++c) {
                            cmcCellObj& cell = sheet->GetCell(c, r);
                            if (!(cell.flags & cmcCellObj::kFlagS) || !entered.insert(cell.cellId).second)
                                continue;
                            if (auto* bank = dynamic_cast<iuiSh_ChBank*>(sheet);
                                bank && cell.index >= GetBankFirstChannel(CurrentImage(), bank->Bank()) +
                                                          bank->ChannelCount())
                                continue;
                            cmcCellCapsule request;
                            sheet->PrepareRequest(c, r, request);
                            request.key = cmcCellCapsule::kKeyEnter;
                            CloningCellEngine().Execute(request, 1);
                        }
                }
                if (iuiRptSetWin* window = app.RepeaterWindow()) window->Form()->close();
                ProgramPopupOpener lists;
                for (const RecordingPopupOpener::Opened& o : asked.Log()) {
                    if (o.kind != RecordingPopupOpener::Kind::List || !walk.listsShown.insert(o.key).second)
                        continue;
                    lists.OpenList(o.request, o.listCellId, o.currentValue, o.texts, o.key);
                    cuiFlector* list = lists.LastOpened();
                    ASSERT_NE(list, nullptr) << o.key;
                    int items = 0;
                    cuiSheet& listSheet = *list->Sheet();
                    for (int r = 0; r < listSheet.RowCount(); ++r)
                        for (int c = 0; c < listSheet.ColCount(); ++c)
                            items += listSheet.GetCell(c, r).cellId == o.listCellId;
                    if (items == 0) walk.faults.push_back(name + " " + o.key + ": no item");
                    ShowCells(o.key, listSheet, walk,
                              [](cmcCellCapsule& r) { return CloningCellEngine().Execute(r, 0); });
                    list->Form()->close();
                    Settle();
                }
            }
            std::string all;
            for (const std::string& f : walk.faults)
                all += f + "\n";
            EXPECT_TRUE(walk.faults.empty()) << all;
            EXPECT_FALSE(walk.listsShown.empty());
            Close();
        }
}

} // namespace

namespace {

// The lines of each key of the program's overlay fragments.
std::map<std::string, std::vector<std::string>> OverlayKeys() {
    std::map<std::string, std::vector<std::string>> keys;
    for (const char* dir :
         {TOLVANE_SOURCE_DIR "/data/overlay/QT4410R", TOLVANE_SOURCE_DIR "/data/overlay/shared"})
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            std::ifstream file(entry.path());
            std::vector<std::string>* lines = nullptr;
            for (std::string line; std::getline(file, line);)
                if (line.starts_with('#'))
                    lines = &keys[line.substr(1)];
                else if (lines)
                    lines->push_back(line);
        }
    return keys;
}

// The cell ids of the definitions in a sheet's cell lines or a list's body
// lines (a menu or tree line's indent and '+' first).
void AddCells(const std::vector<std::string>& lines, bool body, std::set<int32_t>& ids) {
    std::array<int32_t, cmcCellObj::kChParams> ch{};
    for (std::string line : lines) {
        if (line.starts_with(':')) continue;
        if (body) line = line.substr(std::min(line.find('+') + 1, line.size()));
        for (std::string rest = line; !rest.empty();) {
            cmcCellObj cell;
            rest = cell.Parse(rest, ch.data(), nullptr);
            ids.insert(cell.cellId);
        }
    }
}

// Every cell the engine has a case for is on a sheet the tree opens for
// some model (maker mode on), on a pop-up list or sheet, a menu, the tool
// bar or the tree; the few that are not are listed with the reason.
TEST_F(SettingsSheetsTest, EveryCellWithACaseIsOnASheetAUserReaches) {
    const std::map<std::string, const char*> elsewhere = {
        {"Flex2", "a list item kind no shipped list uses"},
        {"FlexZoneSelNum", "a list item kind no shipped list uses"},
        {"CL_CloneInfo_Dummy", "shows nothing"},
        {"CL_Bank_SmarTrunk", "a fixed text; the bank overview's SmarTrunk column shows each bank's flag"},
        {"CL_Bank_UsedQty", "a fixed -1; the bank overview's Programmed column counts each bank"},
        {"CL_Bank_UsedTotal", "the bank overview's All row shows the same count"},
        {"CL_KDisp_PwrSW_HH", "the second entry of the power switch, which the keys sheet shows"},
        {"CL_SetM_Backlight_HH", "the second entry of the backlight, which the set mode sheet shows"},
        {"CL_Comm_Tot_Dtmf_ID_Out", "the same bit as the time-out ID out the general sheet shows"},
        {"CL_Dtmf_CodeID", "a second view of the DTMF code the DTMF sheet shows"},
        {"CL_Dtmf_CodeEmer", "a second view of the DTMF code the DTMF sheet shows"},
        {"CL_5TRx_ExoTimer", "the same byte as the two-tone external output timer"},
        {"CL_5TRx_BeepRepeatTimer", "the same byte as the two-tone beep repeat timer"},
        {"CL_5TRx_AutoTxTimer", "the same byte as the two-tone auto TX timer"},
    };
    // The warning check asks these for the tree's marks; the memory-image
    // dump window, which no menu opens, shows its own cells.
    const auto byName = [](const std::string& name) {
        return name.starts_with("CL_Check_") || name.starts_with("CL_EeDebugWin_");
    };
    const std::map<std::string, std::vector<std::string>> keys = OverlayKeys();
    std::set<std::string> sheets;
    for (int32_t model = 0; model < kModels; ++model) {
        indMain& app = Open(model, true);
        for (QTreeWidgetItemIterator it(app.Tree()->View()); *it; ++it)
            sheets.insert(SheetDefinition::Split(cuiTree::LinkOf(*it)).name);
        Close();
    }
    Open(0, false);
    std::set<int32_t> reached;
    for (const auto& [key, lines] : keys) {
        const bool treeSheet = key.ends_with("_Cells") && sheets.contains(key.substr(0, key.size() - 6));
        // Pop-up lists and the sheets of the windows and editors.
        const bool popup = (key.ends_with("_Cells") &&
                            (key.starts_with("GI_Sheet_Sel_") || key.starts_with("GI_Sheet_RptSetWin") ||
                             key.starts_with("GI_Sheet_CloneInfo")));
        const bool list =
            key.ends_with("_Body") && (key.starts_with("GI_Menu_") || key.starts_with("GI_PMenu_") ||
                                       key.starts_with("GI_ToolBar_") || key.starts_with("GI_Tree_"));
        if (treeSheet || popup) AddCells(lines, false, reached);
        // A cell model is a cell's attributes, which the editors' cells take.
        if (key.starts_with("CellModel_"))
            for (const std::string& line : lines)
                AddCells({"{" + line + "}|"}, false, reached);
        if (list) AddCells(lines, !key.starts_with("GI_ToolBar_"), reached);
    }
    const CellEngine& engine = CloningCellEngine();
    std::vector<std::string> missing;
    for (int32_t id = 0; id < engine.Cases().Size(); ++id) {
        if (!engine.Cases().Has(id) || engine.Cases().IsEmptyId(id) || reached.contains(id)) continue;
        const std::string name = engine.Vocabulary().CellName(id);
        if (!elsewhere.contains(name) && !byName(name)) missing.push_back(name);
    }
    std::string all;
    for (const std::string& m : missing)
        all += m + "\n";
    EXPECT_TRUE(missing.empty()) << missing.size() << " cells on no sheet:\n" << all;
    // The exceptions are cells that have a case and are on no sheet.
    for (const auto& [name, why] : elsewhere) {
        const std::optional<int32_t> id = engine.Vocabulary().FindCell(name);
        ASSERT_TRUE(id.has_value()) << name;
        EXPECT_TRUE(engine.Cases().Has(*id)) << name << ": " << why;
        EXPECT_FALSE(reached.contains(*id)) << name << " is on a sheet now";
    }
    Close();
}

} // namespace
