// Parsing cell definitions as a sheet does: 10,000 of them with a parent,
// channel parameters, references, options, a model and captions with escapes.
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

namespace {

constexpr int kDefinitions = 10000;

const char* const kOverlay[] = {
    "#CellModel_Sel",
    "S^(Color=clYellow)",
    "#End_Of_Ovl",
    nullptr,
};

// The kinds of cell a channel sheet row is made of, in turn.
std::string Definition(int i) {
    switch (i % 5) {
    case 0:
        return "{(@ch0++)(%CT_Mch.CL_Mch_No[@ch0])>S}\\(@ch0+1)";
    case 1:
        return "{(%CL_Mch_FreqR[@ch0])($Sel)(Font=,,clRed)}Receive\\nfrequency";
    case 2:
        return "{(%CT_BankOp.CL_Mch_Text[" + std::to_string(i) + "]:GI_Sheet_Sel.Text)!S(Flag2=1)}Name";
    case 3:
        return "{(%CL_Mch_CTone_R[@ch0])(PopupMenu=GI_PopupMenu_Mch)(ImageIndex=4)W}CTCSS\\_RX";
    default:
        return "{<_(Color=clSilver)}\\(@ch0)";
    }
}

class Fixture {
public:
    Fixture() {
        table_.SetLines(kOverlay);
        gGTex = &table_;
        for (int i = 0; i < kDefinitions; ++i)
            definitions_.push_back(Definition(i));
        for (const std::string& d : definitions_)
            line_ += d + "|";
    }
    ~Fixture() { gGTex = nullptr; }

    std::vector<std::string> definitions_;
    std::string line_;
    cmcGTex table_;
};

void BM_ParseDefinitions(benchmark::State& state) {
    Fixture f;
    cmcCellObj basic;
    basic.Parse("{<-(Color=clWindow)}", nullptr, nullptr);
    for (auto _ : state) {
        std::array<int32_t, cmcCellObj::kChParams> ch{};
        for (const std::string& d : f.definitions_) {
            cmcCellObj cell;
            benchmark::DoNotOptimize(cell.Parse(d, ch.data(), &basic));
        }
    }
    state.SetItemsProcessed(state.iterations() * kDefinitions);
}
BENCHMARK(BM_ParseDefinitions)->Unit(benchmark::kMillisecond);

// The same definitions as one text, taken cell after cell off its front.
void BM_ParseOneLongText(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        std::array<int32_t, cmcCellObj::kChParams> ch{};
        std::string rest = f.line_;
        cmcCellObj cell;
        while (!rest.empty())
            rest = cell.Parse(rest, ch.data(), nullptr);
        benchmark::DoNotOptimize(cell.cellId);
    }
    state.SetItemsProcessed(state.iterations() * kDefinitions);
}
BENCHMARK(BM_ParseOneLongText)->Unit(benchmark::kMillisecond);

} // namespace
