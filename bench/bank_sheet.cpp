// Opening a bank sheet of 512 channels (parameters, building with the row
// stock and the hidden columns, first paint) beside a plain sheet of the
// same cell lines whose loop is counted to the same rows. Goal: the kind
// adds at most 20% to the plain sheet, in one run.
#include "BenchPrograms.h"
#include "QtBench.h"
#include "app/Document.h"
#include "cells/CellEngine.h"
#include "cells/LayoutCache.h"
#include "cells/cmcFCache.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/ImageLayout.h"
#include "platform/Fatal.h"
#include "ui/cuiSheet.h"
#include "ui/iuiSh_ChBank.h"

#include <QApplication>
#include <QImage>
#include <QLayout>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int32_t kModel = 0; // LMR handheld
const char kBankSheet[] = "GI_Sheet_Mch_Lmr";
const char kPlainSheet[] = "GI_Sheet_BenchPlain";

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
class Program : public bench::ProgramFolder {
public:
    Program() : ProgramFolder("bench_bank_sheet", bench::OverlayWith(PlainCopy(bench::ShippedOverlay()))) {
        gEnviron->ModelType = kModel;
        gEnviron->FontSizePercentage = 100;
        Doc().LoadStartupData();
        SetLayoutCache(&lists_);
        bench::ProgramBankZero(Doc().WorkingImage(), ModelClassOf(kModel));
        host_.resize(1000, 600);
        host_.show();
        QApplication::processEvents();
    }
    ~Program() { SetLayoutCache(nullptr); }

    // The host as the main window's sheet panel is, shown.
    QWidget& Host() { return host_; }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

private:
    cmcFCache lists_;
    QWidget host_;
};

Program* gProgram = nullptr;

QWidget& Host() {
    return gProgram->Host();
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
    return bench::RunWithProgram(argc, argv, gProgram);
}
