// The 512-row channel sheet with all its columns on the grid: building it
// from its definition, its first paint and paging through it ten rows at a
// time, beside a QTableView
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
#include "ui/cuiGrid.h"
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

constexpr int32_t kModel = 2; // P25 handheld: the most columns of a conventional bank
constexpr int kPage = 10;
const char kSheet[] = "GI_Sheet_BenchChannels";
const char kShipped[] = "GI_Sheet_Mch_LmrP25";
// The shipped sheet's heading and caption rows.
constexpr int kHeaderRows = 2;

// The lines of a key of the shipped overlay, up to the next key.
std::string ShippedLines(const std::string& key) {
    const std::string overlay = bench::ShippedOverlay();
    const size_t at = overlay.find("#" + key + "\n");
    if (at == std::string::npos) plat::Fatal("No " + key + " in the overlay.");
    const size_t from = overlay.find('\n', at) + 1;
    return overlay.substr(from, overlay.find("\n#", from) + 1 - from);
}

// The shipped P25 channel sheet with all its columns, over 512 rows: its
// style, base cell and cell lines, the channel loop counted.
std::string Definition() {
    std::string cells = ShippedLines(std::string(kShipped) + "_Cells");
    const std::string loop = ":(LoopFrom)";
    cells.replace(cells.find(loop), loop.size(), ":(LoopFrom 512)");
    const std::string name = kSheet;
    return "#" + name + "_Style\n" + ShippedLines(std::string(kShipped) + "_Style") + "#" + name +
           "_BasicCell\n" + ShippedLines(std::string(kShipped) + "_BasicCell") + "#" + name + "_Cells\n" +
           cells;
}

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
        std::ofstream(path, std::ios::binary) << bench::OverlayWith(Definition());
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

// The column widths and the channel rows' height of the sheet, which the
// table view takes so that both show the same cells at once.
struct SheetShape {
    std::vector<int> widths;
    int rowHeight = 0;
};
SheetShape gShape;

// The texts the sheet shows, taken from the sheet's own cells once.
std::vector<std::vector<QString>> SheetTexts() {
    auto host = Host();
    auto sheet = BuildSheet(host.get());
    for (int c = 1; c < sheet->ColCount(); ++c)
        gShape.widths.push_back(sheet->Grid()->ColWidth(c));
    gShape.rowHeight = sheet->Grid()->RowHeight(kHeaderRows);
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

// The captions (the last header row) head the table's columns.
std::unique_ptr<QStandardItemModel> TableModel(const std::vector<std::vector<QString>>& texts) {
    const size_t first = kHeaderRows;
    auto model = std::make_unique<QStandardItemModel>(static_cast<int>(texts.size() - first),
                                                      static_cast<int>(texts[0].size()) - 1);
    for (size_t c = 1; c < texts[first - 1].size(); ++c)
        model->setHorizontalHeaderItem(static_cast<int>(c) - 1, new QStandardItem(texts[first - 1][c]));
    for (size_t r = first; r < texts.size(); ++r) {
        const int row = static_cast<int>(r - first);
        model->setVerticalHeaderItem(row, new QStandardItem(texts[r][0]));
        for (size_t c = 1; c < texts[r].size(); ++c)
            model->setItem(row, static_cast<int>(c) - 1, new QStandardItem(texts[r][c]));
    }
    return model;
}

std::unique_ptr<QTableView> Table(QWidget* host, QStandardItemModel* model) {
    auto view = std::make_unique<QTableView>(host);
    view->setModel(model);
    view->verticalHeader()->setDefaultSectionSize(gShape.rowHeight);
    for (size_t c = 0; c < gShape.widths.size(); ++c)
        view->setColumnWidth(static_cast<int>(c), gShape.widths[c]);
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
            sheet->MoveCurrent(1, kHeaderRows);
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
