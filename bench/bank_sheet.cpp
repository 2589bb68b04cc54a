// Opening a bank sheet of 512 channels (parameters, building with the row
// stock and the hidden columns, first paint) beside a plain sheet of the
// same cell lines whose loop is counted to the same rows. Goal: the kind
// adds at most 20% to the plain sheet, in one run.
#include "app/Document.h"
#include "app/ProgramGlobals.h"
#include "cells/CellEngine.h"
#include "cells/LayoutCache.h"
#include "cells/cmcFCache.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/BankSite.h"
#include "image/ImageLayout.h"
#include "image/datCh.h"
#include "platform/Fatal.h"
#include "platform/ManualScheduler.h"
#include "platform/Screen.h"
#include "ui/cuiSheet.h"
#include "ui/iuiSh_ChBank.h"

#include <QApplication>
#include <QImage>
#include <QLayout>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

constexpr int32_t kModel = 0; // LMR handheld
const char kBankSheet[] = "GI_Sheet_Mch_Lmr";
const char kPlainSheet[] = "GI_Sheet_BenchPlain";

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The shipped bank sheet again under another name, its channel loop counted
// to the 512 channels and the empty row.
std::string PlainCopy(const std::string& overlay) {
    const std::string from = std::string("#") + kBankSheet + "_Style\n";
    const size_t start = overlay.find(from);
    const size_t end = overlay.find("\n#", overlay.find(std::string("#") + kBankSheet + "_Cells\n") + 1);
    if (start == std::string::npos || end == std::string::npos) plat::Fatal("No bank sheet to copy.");
    std::string copy = overlay.substr(start, end + 1 - start);
    for (size_t at; (at = copy.find(kBankSheet)) != std::string::npos;)
        copy.replace(at, std::string(kBankSheet).size(), kPlainSheet);
    const std::string loop = ":(LoopFrom)";
    copy.replace(copy.find(loop), loop.size(),
                 ":(LoopFrom " + std::to_string(layout::kChannelRows + 1) + ")");
    return copy;
}

// The cloning program's globals over a program folder holding the shipped
// start-up data and overlay (with the plain sheet joined to it), the
// model's data loaded and bank 0 holding all 512 channels.
class Program {
public:
    Program() {
        const std::filesystem::path bin = plat::ProgramDirectory();
        dir_ = std::filesystem::temp_directory_path() / ("bench_bank_sheet_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_ / "program");
        for (const auto& entry : std::filesystem::directory_iterator(bin))
            if (entry.path().extension() == ".icf" || entry.path().filename() == "QT4410RH.OVL")
                std::filesystem::create_symlink(entry.path(), dir_ / "program" / entry.path().filename());
        std::string overlay = ReadAll(bin / "QT4410R.OVL");
        overlay.erase(overlay.rfind("#End_Of_Ovl"));
        overlay += PlainCopy(overlay) + "#End_Of_Ovl\n";
        std::ofstream(dir_ / "program" / "QT4410R.OVL", std::ios::binary) << overlay;
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);

        scheduler_.Install();
        plat::SetScreen(&screen_);
        globals_ = std::make_unique<ProgramGlobals>(CloningProfile(), CloningDocumentFactory(),
                                                    (dir_ / "program").string() + "/");
        gEnviron->ModelType = kModel;
        gEnviron->FontSizePercentage = 100;
        globals_->Doc().LoadStartupData();
        SetLayoutCache(&lists_);
        cmcEeprom& image = globals_->Doc().WorkingImage();
        for (int32_t bank = 0; bank < 128; ++bank)
            SetBankChannelCount(image, bank, 0);
        SetBankChannelCount(image, 0, layout::kChannelRows);
        const int kind = ModelClassOf(kModel);
        for (int32_t n = 0; n < layout::kChannelRows; ++n) {
            datCh record(&image);
            record.Load(kind, n);
            record.rxFreq = 136000000 + 12500 * n;
            record.txFreq = record.rxFreq;
            record.Store(kind, n);
        }
    }
    ~Program() {
        SetLayoutCache(nullptr);
        globals_.reset();
        plat::SetScreen(nullptr);
        std::filesystem::remove_all(dir_);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // One tick of the timers, as the running program has every 10 ms: the
    // bus delivers what was posted and lets go of the listeners gone.
    void Tick() { scheduler_.Advance(10); }

private:
    std::filesystem::path dir_;
    plat::ManualScheduler scheduler_;
    plat::FixedScreen screen_{{0, 0, 1280, 1024}, {0, 0, 1280, 984}};
    std::unique_ptr<ProgramGlobals> globals_;
    cmcFCache lists_;
};

// The host as the main window's sheet panel is, shown; made in main, after
// the application.
QWidget* gHost = nullptr;
Program* gProgram = nullptr;

QWidget& Host() {
    return *gHost;
}

template <class Sheet> void Open(benchmark::State& state, const char* name, const std::string& params) {
    QWidget& host = Host();
    QImage image(host.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        auto sheet = std::make_unique<Sheet>(CloningCellEngine(), &host, nullptr, 0, 0, *gGTex, name);
        sheet->SetParams(params);
        sheet->Build();
        host.layout()->activate();
        sheet->Grid()->viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
        state.PauseTiming();
        if (sheet->RowCount() != layout::kChannelRows + 2) state.SkipWithError("not the bank's rows");
        sheet.reset();
        QApplication::processEvents();
        gProgram->Tick();
        state.ResumeTiming();
    }
}

// The plain sheet's cells are told of bank 0 as the bank sheet tells its
// own, so that both show the same channels.
void AnswerBankZero(void*, const cmcEvent& ev) {
    if (ev.type == evQueryBank && ev.mode == evModeSentWithAnswer) gEvMan->Answer(0, 0);
}

void BM_PlainSheetOpen(benchmark::State& state) {
    gEvMan->AddListener(&AnswerBankZero, nullptr);
    Open<cuiSheet>(state, kPlainSheet, "");
    gEvMan->RemoveListener(&AnswerBankZero, nullptr);
}
BENCHMARK(BM_PlainSheetOpen)->Unit(benchmark::kMillisecond);

void BM_BankSheetOpen(benchmark::State& state) {
    Open<iuiSh_ChBank>(state, kBankSheet, "Bank 0");
}
BENCHMARK(BM_BankSheetOpen)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Program program;
    QWidget host;
    host.resize(1000, 600);
    host.show();
    QApplication::processEvents();
    gHost = &host;
    gProgram = &program;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
