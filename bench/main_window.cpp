// The main window at work, each beside a baseline measured in the same run:
//  - a click on a bank's tree node to its painted sheet of 512 channels,
//    beside building and painting the same sheet directly (goal: the window
//    adds at most 25%);
//  - the delayed warning check on a PMR-Z image whose channel area is full,
//    beside one display pass of the same check cells through Execute (goal:
//    at most 1.5x);
//  - one Down-arrow step in that sheet with the menus refreshing on event 9,
//    beside a QTableView's cursor step (goal: at most 3x).
#include "BenchPrograms.h"
#include "QtBench.h"
#include "cells/CellEngine.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "ui/TForm1.h"
#include "ui/cuiGrid.h"
#include "ui/cuiSheet.h"
#include "ui/indMain.h"
#include "ui/iuiTree.h"

#include <QApplication>
#include <QImage>
#include <QLayout>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int32_t kPmrZ = 4; // PMR-Z handheld
constexpr int kBanks = 128;

// The cloning program's main window, shown, over a PMR-Z image whose bank 0
// holds all 512 channels.
class Program : public bench::ProgramFolder {
public:
    Program() : ProgramFolder("bench_main_window", bench::ShippedOverlay()) {
        gEnviron->ModelType = kPmrZ;
        gEnviron->FontSizePercentage = 100;
        window_ = std::make_unique<indMain>(Doc());
        form_ = std::make_unique<TForm1>(*window_);
        form_->show();
        bench::ProgramBankZero(Doc().WorkingImage(), ModelClassOf(kPmrZ));
        gEvMan->Send(evRebuildTree);
        Settle();
    }
    ~Program() {
        form_.reset();
        window_.reset();
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    indMain& Window() { return *window_; }

    // Lets the timers run for that long and the window catch up.
    void Run(int ms) {
        Scheduler().Advance(ms);
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void Settle() { Run(300); }

    // The click on a tree node as the user makes it, and the change delay.
    void Click(int bank) {
        QTreeWidget* view = window_->Tree()->View();
        QTreeWidgetItem* node = window_->Tree()->FindNode("GI_Sheet_Memory_CH_Top")->child(bank);
        view->scrollToItem(node);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(node).center());
        // The change delay, and the tick of the window's task after it.
        Run(std::atoi(gGTex->GetTextLine("GI_Sys_TreeChangeDelay", 0).c_str()) + cuiMain::kTaskIntervalMs);
    }

private:
    std::unique_ptr<indMain> window_;
    std::unique_ptr<TForm1> form_;
};

Program* gProgram = nullptr;

void Paint(QWidget* viewport, QImage& image) {
    viewport->render(&image);
    benchmark::DoNotOptimize(image.constBits());
}

QImage ImageOf(const QWidget* widget) {
    return QImage(widget->size(), QImage::Format_ARGB32_Premultiplied);
}

void BM_TreeClickToPaintedSheet(benchmark::State& state) {
    Program& p = *gProgram;
    QImage image = ImageOf(p.Window().SheetPanel());
    for (auto _ : state) {
        state.PauseTiming();
        p.Click(1);
        // A node's cell runs as input, which puts the warning check 250 ms
        // off: the checks the clicks cause run outside the timed part, as
        // they run after the sheet is on screen for the user.
        p.Run(cuiMain::kWarningDelayMs + cuiMain::kTaskIntervalMs);
        state.ResumeTiming();
        p.Click(0);
        cuiSheet* sheet = p.Window().Sheet();
        if (!sheet) {
            state.SkipWithError("no sheet opened");
            break;
        }
        Paint(sheet->Grid()->viewport(), image);
    }
}
BENCHMARK(BM_TreeClickToPaintedSheet)->Unit(benchmark::kMillisecond);

// Baseline: the sheet bank 0's node opens, built from its definition in a
// panel of the same size and painted.
void BM_SheetBuiltDirectly(benchmark::State& state) {
    Program& p = *gProgram;
    p.Click(0);
    const std::string definition = p.Window().Sheet()->GetDefinition();
    QWidget host;
    host.resize(p.Window().SheetPanel()->size());
    host.show();
    QApplication::processEvents();
    QImage image = ImageOf(&host);
    for (auto _ : state) {
        auto sheet = p.Window().CreateSheet(&host, definition);
        sheet->Build();
        host.layout()->activate();
        QApplication::processEvents();
        Paint(sheet->Grid()->viewport(), image);
        state.PauseTiming();
        sheet.reset();
        p.Run(10);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SheetBuiltDirectly)->Unit(benchmark::kMillisecond);

void BM_DelayedWarningCheck(benchmark::State& state) {
    Program& p = *gProgram;
    for (auto _ : state) {
        p.Window().ScheduleWarningCheck();
        p.Run(cuiMain::kWarningDelayMs + cuiMain::kTaskIntervalMs);
    }
}
BENCHMARK(BM_DelayedWarningCheck)->Unit(benchmark::kMillisecond);

// Baseline: the cells the check evaluates (its list's checks and one channel
// check for each bank), shown once each through Execute.
void BM_CheckCellsDisplayed(benchmark::State& state) {
    std::vector<cmcCellObj> cells;
    std::vector<int32_t> banks;
    for (int line = 0;; ++line) {
        const std::optional<std::string> text = gGTex->TryGetTextLine("GI_WarningCheckList", line);
        if (!text || text->starts_with('#')) break;
        cells.emplace_back().Parse(*text, nullptr, nullptr);
        banks.push_back(0);
    }
    for (int32_t bank = 0; bank < kBanks; ++bank) {
        cells.emplace_back().Parse("{(%CL_Check_Mch:[St_ChBank]GI_Sheet_Mch_" + ModelKeySuffix() + ",Bank " +
                                       std::to_string(bank) + ")}",
                                   nullptr, nullptr);
        banks.push_back(bank);
    }
    const CellEngine& engine = InstalledCellEngine();
    for (auto _ : state) {
        for (size_t i = 0; i < cells.size(); ++i) {
            cmcCellCapsule request;
            request.cell = &cells[i];
            request.texts = gGTex;
            request.bank = banks[i];
            engine.Execute(request, 0);
            benchmark::DoNotOptimize(request.markFlags);
        }
    }
}
BENCHMARK(BM_CheckCellsDisplayed)->Unit(benchmark::kMillisecond);

// One step down the bank's channels (back to the top at the end), the menus
// refreshing on the events the step sends, and the paint.
void BM_SheetDownStep(benchmark::State& state) {
    Program& p = *gProgram;
    p.Click(0);
    cuiSheet* sheet = p.Window().Sheet();
    cuiGrid* grid = sheet->Grid();
    grid->setFocus();
    sheet->MoveCurrent(sheet->FirstSelectableCol(), sheet->FirstSelectableRow());
    p.Run(10);
    for (auto _ : state) {
        if (sheet->CurrentRow() >= sheet->RowCount() - 1) {
            state.PauseTiming();
            sheet->ScrollHome();
            sheet->MoveCurrent(sheet->FirstSelectableCol(), sheet->FirstSelectableRow());
            p.Run(10);
            state.ResumeTiming();
        }
        QTest::keyClick(grid, Qt::Key_Down);
        p.Run(10);
    }
}
BENCHMARK(BM_SheetDownStep)->Unit(benchmark::kMicrosecond);

// Baseline: a table view of as many rows and columns, its cursor one row down.
void BM_TableViewDownStep(benchmark::State& state) {
    Program& p = *gProgram;
    p.Click(0);
    const cuiSheet& sheet = *p.Window().Sheet();
    QStandardItemModel model(sheet.RowCount(), sheet.ColCount());
    for (int r = 0; r < model.rowCount(); ++r)
        for (int c = 0; c < model.columnCount(); ++c)
            model.setItem(r, c, new QStandardItem(QStringLiteral("136.012500")));
    QTableView view;
    view.setModel(&model);
    view.resize(p.Window().SheetPanel()->size());
    view.show();
    view.setFocus();
    view.setCurrentIndex(model.index(0, 1));
    QApplication::processEvents();
    for (auto _ : state) {
        if (view.currentIndex().row() >= model.rowCount() - 1) {
            state.PauseTiming();
            view.setCurrentIndex(model.index(0, 1));
            QApplication::processEvents();
            state.ResumeTiming();
        }
        QTest::keyClick(&view, Qt::Key_Down);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_TableViewDownStep)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithProgram(argc, argv, gProgram);
}
