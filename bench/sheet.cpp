// A 512-row channel sheet on the grid: building it from its definition, its
// first paint and paging through it ten rows at a time, beside a QTableView
// over a QStandardItemModel with the same cells and texts, the texts computed
// beforehand. Goal: first paint and paging at most 2x the table view, in one
// run (the sheet asks the per-cell function for every cell it paints; the
// table view only draws strings).
#include "cells/CellEngine.h"
#include "cells/LayoutCache.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcFCache.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/ModelPasses.h"
#include "image/RangeList.h"
#include "image/cmcEeprom.h"
#include "image/cmcIcfFile.h"
#include "image/datCh.h"
#include "platform/Fatal.h"
#include "platform/ManualScheduler.h"
#include "platform/QtText.h"
#include "platform/SettingsStore.h"
#include "ui/cuiSheet.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int32_t kModel = 0; // LMR handheld
constexpr int32_t kKind = 1;  // the LMR class's channel rows
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

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The program's globals over the model's start-up data with all 512 rows of
// bank 0 programmed, the shipped overlay with the bench sheet joined to it,
// and an open sheet that shows bank 0.
class Program {
public:
    Program() {
        std::string overlay = ReadAll(plat::ProgramDirectory() + "QT4410R.OVL");
        overlay.erase(overlay.rfind("#End_Of_Ovl"));
        overlay += kDefinition;
        overlay += "#End_Of_Ovl\n";
        char dir[] = "/tmp/bench_sheet_XXXXXX";
        if (!mkdtemp(dir)) plat::Fatal("No temp dir.");
        overlayPath_ = std::string(dir) + "/QT4410R.OVL";
        std::ofstream(overlayPath_, std::ios::binary) << overlay;
        dir_ = dir;

        env_.ModelType = kModel;
        env_.FontSizePercentage = 100;
        gEnviron = &env_;
        texts_.SetFile(overlayPath_);
        gGTex = &texts_;
        SetLayoutCache(&cache_);
        sched_.Install();
        bus_ = std::make_unique<cmcEvMan>();
        gEvMan = bus_.get();
        bus_->AddListener(&Program::OpenSheet, nullptr);
        LoadStartupData();
        SetCurrentImage(&image_);
        SetBankChannelCount(image_, 0, layout::kChannelRows);
        for (int32_t n = 0; n < layout::kChannelRows; ++n) {
            datCh record(&image_);
            record.Load(kKind, n);
            record.rxFreq = 136000000 + 12500 * n;
            record.txFreq = n % 3 == 0 ? record.rxFreq + 600000 : record.rxFreq;
            record.name = {'C', 'H', static_cast<uint8_t>('0' + n % 10)};
            record.Store(kKind, n);
        }
    }
    ~Program() {
        bus_->RemoveListener(&Program::OpenSheet, nullptr);
        gEvMan = nullptr;
        bus_.reset();
        SetCurrentImage(nullptr);
        SetLayoutCache(nullptr);
        gGTex = nullptr;
        gEnviron = nullptr;
        std::remove(overlayPath_.c_str());
        std::remove(dir_.c_str());
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Lets the bus dispatch what was posted and drop the listeners that went,
    // as its timer does in the program.
    void Tick() { sched_.Advance(10); }

private:
    static void OpenSheet(void*, const cmcEvent& ev) {
        if (ev.type == evQueryBank || ev.type == evQuerySite) gEvMan->Answer(0, 0);
    }

    void LoadStartupData() {
        static const RangeList wholeRadio{{0, 0xFF7F}, kRangeListEnd};
        image_.SetSize(layout::kImageSize);
        cmcIcfFile file;
        file.SetImage(&image_);
        file.SetOnMapRev([](int32_t rev) { return rev < 2; });
        file.SetOnHeader([](int32_t code1, int32_t code2, int& result) {
            return CheckModelCodes(static_cast<uint16_t>(code1), static_cast<uint16_t>(code2), result);
        });
        const std::string path = plat::ProgramDirectory() + texts_.GetTextLine("GI_App_InitialFile", kModel);
        if (file.Load(path, &wholeRadio) != cmcIcfFile::kOk) plat::Fatal("No start-up data: " + path);
    }

    std::string dir_;
    std::string overlayPath_;
    plat::MemorySettingsStore store_;
    indEnviron env_{"Tolvane Bench Mutex", "Software\\Morv\\TolvaneBench", store_};
    cmcGTex texts_;
    cmcFCache cache_;
    plat::ManualScheduler sched_;
    std::unique_ptr<cmcEvMan> bus_;
    cmcEeprom image_;
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Program program;
    gProgram = &program;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
