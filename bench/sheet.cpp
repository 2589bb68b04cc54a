// A 512-row channel sheet on the grid: building it from its definition, its
// first paint and paging through it ten rows at a time, beside a QTableView
// over a QStandardItemModel with the same cells and texts, the texts computed
// beforehand. Goal: first paint and paging at most 2x the table view, in one
// run (the sheet asks the per-cell function for every cell it paints; the
// table view only draws strings).
#include "BenchPrograms.h"
#include "QtBench.h"
#include "cells/CellEngine.h"
#include "cells/cmcCellCapsule.h"
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "platform/Fatal.h"
#include "platform/QtText.h"
#include "ui/cuiSheet.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kModel = 0; // LMR handheld
constexpr int kPage = 10;
const char kSheet[] = "GI_Sheet_BenchChannels";

// The sheet: a header line and 512 channel rows of five columns.
const char kDefinition[] = "#GI_Sheet_BenchChannels_Style\n"
                           "(FixedCols=1)(FixedRows=1)(MultiSelect=Line)\n"
                           "#GI_Sheet_BenchChannels_BasicCell\n"
                           "{W<-(Color=clWindow)}\n"
                           "#GI_Sheet_BenchChannels_Cells\n"
                           "{^}CH|{^}Receive|{^}Transmit|{^}Width|{^}Name|\n"
                           ":(LoopFrom 512)\n"
                           "{>(%CT_Mch.CL_Mch_No[@ch0])}000-000|{S(%CT_Mch.CL_Mch_FreqR[@ch0])}0000.000000|"
                           "{S(%CT_Mch.CL_Mch_FreqT[@ch0])}0000.000000|{S(%CT_Mch.CL_Mch_Nar[@ch0])}Narrow|"
                           "{S(%CT_Mch.CL_Mch_Text[@ch0])}WWWWWWWWWW|\n"
                           ":(LoopTo)\n";

// The cell globals over the shipped overlay with the bench sheet joined to
// it, in a temp file.
class Program {
public:
    Program() : overlayPath_(WriteOverlay()), globals_(overlayPath_, kModel) {}
    ~Program() { std::filesystem::remove_all(std::filesystem::path(overlayPath_).parent_path()); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    void Tick() { globals_.Tick(); }

private:
    static std::string WriteOverlay() {
        char dir[] = "/tmp/bench_sheet_XXXXXX";
        if (!mkdtemp(dir)) plat::Fatal("No temp dir.");
        const std::string path = std::string(dir) + "/QT4410R.OVL";
        std::ofstream(path, std::ios::binary) << bench::OverlayWith(kDefinition);
        return path;
    }

    std::string overlayPath_;
    bench::CellGlobals globals_;
};

Program* gProgram = nullptr;

// A shown window of the size a sheet panel has in the main window.
std::unique_ptr<QWidget> Host() {
    auto host = std::make_unique<QWidget>();
    host->resize(800, 600);
    host->show();
    QApplication::processEvents();
    return host;
}

std::unique_ptr<cuiSheet> BuildSheet(QWidget* host) {
    auto sheet = std::make_unique<cuiSheet>(CloningCellEngine(), host, nullptr, 0, 0, *gGTex, kSheet);
    sheet->Build();
    return sheet;
}

// Paints the whole client area of the view into an image.
void Paint(QWidget* viewport, QImage& image) {
    viewport->render(&image);
    benchmark::DoNotOptimize(image.constBits());
}

// The texts the sheet shows, taken from the sheet's own cells once.
std::vector<std::vector<QString>> SheetTexts() {
    auto host = Host();
    auto sheet = BuildSheet(host.get());
    std::vector<std::vector<QString>> texts(static_cast<size_t>(sheet->RowCount()));
    for (int r = 0; r < sheet->RowCount(); ++r)
        for (int c = 0; c < sheet->ColCount(); ++c) {
            cmcCellObj& cell = sheet->GetCell(c, r);
            std::string text = cell.GetCaption();
            if (cell.cellId != CloningCellEngine().Vocabulary().NoCell()) {
                cmcCellCapsule request;
                request.cell = &cell;
                CloningCellEngine().Execute(request, 0);
                text = request.displayText;
            }
            texts[static_cast<size_t>(r)].push_back(plat::ToQString(text));
        }
    return texts;
}

std::unique_ptr<QStandardItemModel> TableModel(const std::vector<std::vector<QString>>& texts) {
    auto model = std::make_unique<QStandardItemModel>(static_cast<int>(texts.size()) - 1,
                                                      static_cast<int>(texts[0].size()) - 1);
    for (size_t c = 1; c < texts[0].size(); ++c)
        model->setHorizontalHeaderItem(static_cast<int>(c) - 1, new QStandardItem(texts[0][c]));
    for (size_t r = 1; r < texts.size(); ++r) {
        model->setVerticalHeaderItem(static_cast<int>(r) - 1, new QStandardItem(texts[r][0]));
        for (size_t c = 1; c < texts[r].size(); ++c)
            model->setItem(static_cast<int>(r) - 1, static_cast<int>(c) - 1, new QStandardItem(texts[r][c]));
    }
    return model;
}

std::unique_ptr<QTableView> Table(QWidget* host, QStandardItemModel* model) {
    auto view = std::make_unique<QTableView>(host);
    view->setModel(model);
    view->resize(host->size());
    view->show();
    return view;
}

const std::vector<std::vector<QString>>& Texts() {
    static const std::vector<std::vector<QString>> texts = SheetTexts();
    return texts;
}

void BM_SheetBuild(benchmark::State& state) {
    auto host = Host();
    for (auto _ : state) {
        auto sheet = BuildSheet(host.get());
        benchmark::DoNotOptimize(sheet.get());
        sheet.reset();
        gProgram->Tick();
    }
}
BENCHMARK(BM_SheetBuild)->Unit(benchmark::kMillisecond);

// Baseline: a model and view over the same texts.
void BM_TableBuild(benchmark::State& state) {
    auto host = Host();
    const auto& texts = Texts();
    for (auto _ : state) {
        auto model = TableModel(texts);
        auto view = Table(host.get(), model.get());
        benchmark::DoNotOptimize(view.get());
    }
}
BENCHMARK(BM_TableBuild)->Unit(benchmark::kMillisecond);

void BM_SheetFirstPaint(benchmark::State& state) {
    auto host = Host();
    QImage image(host->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        state.PauseTiming();
        auto sheet = BuildSheet(host.get());
        QApplication::processEvents();
        state.ResumeTiming();
        Paint(sheet->Grid()->viewport(), image);
        state.PauseTiming();
        sheet.reset();
        gProgram->Tick();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SheetFirstPaint)->Unit(benchmark::kMicrosecond);

void BM_TableFirstPaint(benchmark::State& state) {
    auto host = Host();
    const auto& texts = Texts();
    QImage image(host->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        state.PauseTiming();
        auto model = TableModel(texts);
        auto view = Table(host.get(), model.get());
        QApplication::processEvents();
        state.ResumeTiming();
        Paint(view->viewport(), image);
        state.PauseTiming();
        view.reset();
        model.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TableFirstPaint)->Unit(benchmark::kMicrosecond);

// A page down (back to the top at the end) and the paint that follows.
void BM_SheetPaging(benchmark::State& state) {
    auto host = Host();
    auto sheet = BuildSheet(host.get());
    QApplication::processEvents();
    QImage image(host->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        if (sheet->CurrentRow() >= sheet->RowCount() - 1) {
            sheet->ScrollHome();
            sheet->MoveCurrent(1, 1);
        }
        sheet->MoveBy(0, kPage);
        Paint(sheet->Grid()->viewport(), image);
        gProgram->Tick();
    }
}
BENCHMARK(BM_SheetPaging)->Unit(benchmark::kMicrosecond);

void BM_TablePaging(benchmark::State& state) {
    auto host = Host();
    auto model = TableModel(Texts());
    auto view = Table(host.get(), model.get());
    QApplication::processEvents();
    QImage image(host->size(), QImage::Format_ARGB32_Premultiplied);
    int row = 0;
    for (auto _ : state) {
        row = row + kPage < model->rowCount() ? row + kPage : 0;
        view->setCurrentIndex(model->index(row, 0));
        Paint(view->viewport(), image);
    }
}
BENCHMARK(BM_TablePaging)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithProgram(argc, argv, gProgram);
}
