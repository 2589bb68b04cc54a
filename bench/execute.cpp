// Showing a channel sheet through the per-cell function: every channel column
// of all 512 rows of a model's start-up data with programmed channels, as a
// sheet paints them, beside the same texts from the converters alone. The
// frame's share is the ratio of the two per cell (goal: at most 3).
#include "BenchPrograms.h"
#include "cells/CellEngine.h"
#include "cells/CellIds.h"
#include "cells/CodeConv.h"
#include "cells/ConvKeys.h"
#include "cells/ConvSupport.h"
#include "cells/FreqToneConv.h"
#include "cells/ListConv.h"
#include "cells/NumberConv.h"
#include "cells/TextCell.h"
#include "cells/cloning/ChannelCells.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "image/ImageLayout.h"
#include "image/RecordLayout.h"
#include "image/cmcEeprom.h"
#include "image/datCh.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kModel = 0; // LMR handheld

// The program's globals over the shipped overlay and the model's start-up
// data, with all 512 channel rows programmed in bank 0 and an open sheet
// that shows bank 0.
class ChannelSheet : public bench::CellGlobals {
public:
    ChannelSheet() : CellGlobals(plat::ProgramDirectory() + "QT4410R.OVL", kModel) {}
};

// ---- the same texts from the converters alone ----

struct ConvCall {
    cmcCellCapsule& request;
    datCh& row;
    int32_t index;
    int32_t value = 0;
    int32_t out = 0;
};

template <auto M> int32_t Get(const datCh& r) {
    return static_cast<int32_t>(r.*M);
}

enum class Kind : uint8_t { Sel, Sel4, SelList, Pair, DigitSet, Hex, Int16, ScanListSwitch, Own };

// The converter of a column and its parameters, as the column's case calls it
// for an LMR model: a, b and c as ChannelCells' table has them (SelList: the
// list cell; ScanListSwitch: the dashes shown while the scan lists are off).
struct Column {
    int32_t id;
    Kind kind;
    int32_t (*get)(const datCh&) = nullptr;
    const char* list = nullptr;
    int32_t a = 0;
    int32_t b = 0;
    int32_t c = 0;
    void (*own)(ConvCall&) = nullptr;
};

constexpr const char* kOnOff2 = "GI_Sheet_Sel_Misc_OnOff2";
constexpr const char* kAbcCode = "GI_Sheet_Sel_RxC_AbcCode";

void RowNumber(ConvCall& c) {
    c.request.displayText = conv::Format("%d-%3d", 1, c.index + 1);
}
void Attributes(ConvCall& c) {
    const datCh& r = c.row;
    uint8_t flags = static_cast<uint8_t>(r.isRefA | r.isRefB << 1 | r.isRefC << 2 | r.refCOff << 3 |
                                         r.smarTrunkBank << 4 | r.ltrBank << 5);
    ConvAttributeCell(c.request, chlist::kAtr, flags, c.out);
}
void ReceiveFrequency(ConvCall& c) {
    ConvChannelFreqCell(c.request, c.row, true, c.out);
}
void TransmitFrequency(ConvCall& c) {
    ConvChannelFreqCell(c.request, c.row, false, c.out);
}
void ReceiveTone(ConvCall& c) {
    ConvCtcssDtcsCell(c.request, c.row, true, c.out);
}
void TransmitTone(ConvCall& c) {
    ConvCtcssDtcsCell(c.request, c.row, false, c.out);
}
void Name(ConvCall& c) {
    EditTextCell(c.request, c.row.name.data(), static_cast<int32_t>(c.row.name.size()), false, c.out);
}
void ScrambleType(ConvCall& c) {
    c.value = c.row.chX18Top2;
    ConvSelCell(c.request, chlist::kScramType, c.value, c.out);
}
void ScrambleCode(ConvCall& c) {
    const int32_t type = c.row.chX18Top2;
    if (type == 1) {
        c.request.displayText = "----";
        return;
    }
    const int32_t code = c.row.scrambleCode;
    uint16_t shown = static_cast<uint16_t>(type == 2 ? std::min(code, 15) + 1 : std::min(code, 255));
    ConvIntCell16(c.request, shown, 1, type == 2 ? 16 : 255, c.out);
}
void ReceiveNac(ConvCall& c) {
    c.value = c.row.rxNac;
    ConvHexValueCell(c.request, c.value, 0, 63, 2, c.out);
}
void TransmitNac(ConvCall& c) {
    c.value = c.row.txNac;
    ConvHexValueCell(c.request, c.value, 0, 63, 2, c.out);
    if (c.row.txNac == c.row.rxNac) c.request.displayText = "<-";
}

// clang-format off
const Column kColumns[] = {
    {cellid::CL_Mch_No, Kind::Own, nullptr, nullptr, 0, 0, 0, RowNumber},
    {cellid::CL_Mch_Atr, Kind::Own, nullptr, nullptr, 0, 0, 0, Attributes},
    {cellid::CL_Mch_Inh, Kind::Sel, Get<&datCh::rxFreqTopBit>, chlist::kChInh},
    {cellid::CL_Mch_FreqR, Kind::Own, nullptr, nullptr, 0, 0, 0, ReceiveFrequency},
    {cellid::CL_Mch_FreqT, Kind::Own, nullptr, nullptr, 0, 0, 0, TransmitFrequency},
    {cellid::CL_Mch_TxInh, Kind::Sel, Get<&datCh::txFreqTopBit>, chlist::kTxInh},
    {cellid::CL_Mch_Nar, Kind::Sel, Get<&datCh::chBitS12b6>, chlist::kNar},
    {cellid::CL_Mch_CTone_R, Kind::Own, nullptr, nullptr, 0, 0, 0, ReceiveTone},
    {cellid::CL_Mch_CTone_T, Kind::Own, nullptr, nullptr, 0, 0, 0, TransmitTone},
    {cellid::CL_Mch_Text, Kind::Own, nullptr, nullptr, 0, 0, 0, Name},
    {cellid::CL_Mch_Compander, Kind::Sel, Get<&datCh::chBitX3b4>, kOnOff2},
    {cellid::CL_Mch_PwrSave, Kind::Sel, Get<&datCh::chBitX0b7>, kOnOff2},
    {cellid::CL_Mch_Tot, Kind::Sel, Get<&datCh::chBitX0b4>, kOnOff2},
    {cellid::CL_Mch_RfPo, Kind::Sel, Get<&datCh::chX0Low2>, chlist::kRfPwr},
    {cellid::CL_Mch_Lockout, Kind::Sel, Get<&datCh::chCombo5>, chlist::kLockoutLmr},
    {cellid::CL_Mch_Scan, Kind::DigitSet, Get<&datCh::scanMember>, nullptr, 1, 17, 3},
    {cellid::CL_Mch_AutoChScan, Kind::Sel, Get<&datCh::chBitX3b0>, kOnOff2},
    {cellid::CL_Mch_AutoReset, Kind::Sel, Get<&datCh::chX2Low>, chlist::kAutoResetLmr},
    {cellid::CL_Mch_2Tone, Kind::SelList, Get<&datCh::twoTone>, chlist::kTwoTone, listcell::Flex0},
    {cellid::CL_Mch_Log, Kind::Sel, Get<&datCh::chX1High>, chlist::kLogLmr},
    {cellid::CL_Mch_Scan_Inc, Kind::Sel, Get<&datCh::chX1b1>, chlist::kScanInc},
    {cellid::CL_Mch_Scan_List, Kind::ScanListSwitch, Get<&datCh::scanList>, chlist::kScanList, 4},
    {cellid::CL_Mch_Scan_ListSel, Kind::ScanListSwitch, Get<&datCh::chX0b5>, chlist::kScanListSel, 3},
    {cellid::CL_Mch_Scrm_On, Kind::Sel, Get<&datCh::scrambleMode>, chlist::kScramOn},
    {cellid::CL_Mch_Scrm_Type, Kind::Own, nullptr, nullptr, 0, 0, 0, ScrambleType},
    {cellid::CL_Mch_Scrm_Code, Kind::Own, nullptr, nullptr, 0, 0, 0, ScrambleCode},
    {cellid::CL_Mch_Sql_Tight, Kind::Sel, Get<&datCh::sqlTight>, kOnOff2},
    {cellid::CL_Mch_RxCNo2, Kind::DigitSet, Get<&datCh::rxCNo>, nullptr, 1, 10, 2},
    {cellid::CL_Mch_Nar_Pmr, Kind::Sel, Get<&datCh::chBitS12b6>, chlist::kNar},
    {cellid::CL_Mch_Lockout_Pmr, Kind::Sel, Get<&datCh::chCombo5>, chlist::kLockoutLmr},
    {cellid::CL_Mch_AutoReset_Pmr, Kind::Sel, Get<&datCh::chX2Low>, chlist::kAutoResetLmr},
    {cellid::CL_Mch_Log_Pmr, Kind::Sel, Get<&datCh::chX1High>, chlist::kLogLmr},
    {cellid::CL_Mch_Moni, Kind::Sel4, Get<&datCh::chCombo4>, chlist::kMoni},
    {cellid::CL_Mch_Sel, Kind::Sel4, Get<&datCh::chX2Top2>, chlist::kSel},
    {cellid::CL_Mch_Call, Kind::Sel4, Get<&datCh::chX2b3>, chlist::kCall},
    {cellid::CL_Mch_PTT, Kind::Sel4, Get<&datCh::chX2b2>, chlist::kPtt},
    {cellid::CL_Mch_CH_Mute, Kind::Sel4, Get<&datCh::chX1b0>, chlist::kChMute},
    {cellid::CL_Mch_Form, Kind::Sel, Get<&datCh::formZuro>, chlist::kForm},
    {cellid::CL_Mch_Rpt_C, Kind::SelList, Get<&datCh::rptC>, kAbcCode, listcell::Flex1},
    {cellid::CL_Mch_Rpt_L, Kind::Sel, Get<&datCh::rptL>, chlist::kLTone},
    {cellid::CL_Mch_Stn_C, Kind::SelList, Get<&datCh::stnC>, kAbcCode, listcell::Flex1},
    {cellid::CL_Mch_Stn_L, Kind::Sel, Get<&datCh::stnL>, chlist::kLTone},
    {cellid::CL_Mch_Id_C, Kind::SelList, Get<&datCh::idC>, kAbcCode, listcell::Flex1},
    {cellid::CL_Mch_Id_L, Kind::Sel, Get<&datCh::idL>, chlist::kLTone},
    {cellid::CL_Mch_Pos, Kind::Sel, Get<&datCh::pos>, chlist::kPos},
    {cellid::CL_Mch_RxCNo, Kind::DigitSet, Get<&datCh::rxCNo>, nullptr, 1, 8, 0},
    {cellid::CL_Mch_RxCNoDtmf, Kind::SelList, Get<&datCh::rxCNoDtmf>, chlist::kDtmfDec, listcell::Flex0},
    {cellid::CL_Mch_DtmfDec, Kind::Sel, Get<&datCh::dtmfDec>, chlist::kChMuteLtr},
    {cellid::CL_Mch_AutoReset_Zuro, Kind::Sel, Get<&datCh::chX2Low>, chlist::kAutoResetLmr},
    {cellid::CL_Mch_Log_Zuro, Kind::Sel, Get<&datCh::chX1High>, chlist::kLogLmr},
    {cellid::CL_Mch_TxInh_Zuro, Kind::Sel, Get<&datCh::txFreqTopBit>, chlist::kTxInh},
    {cellid::CL_Mch_Tot_Zuro, Kind::Sel, Get<&datCh::chBitX0b4>, kOnOff2},
    {cellid::CL_Mch_PwrSave_Zuro, Kind::Sel, Get<&datCh::chBitX0b7>, kOnOff2},
    {cellid::CL_Mch_Scan_Zuro, Kind::DigitSet, Get<&datCh::scanMember>, nullptr, 1, 17, 3},
    {cellid::CL_Mch_Moni_Zuro, Kind::Sel4, Get<&datCh::chCombo4>, chlist::kMoni},
    {cellid::CL_Mch_Sel_Zuro, Kind::Sel4, Get<&datCh::chX2Top2>, chlist::kSel},
    {cellid::CL_Mch_Call_Zuro, Kind::Sel4, Get<&datCh::chX2b3>, chlist::kCall},
    {cellid::CL_Mch_PTT_Zuro, Kind::Sel4, Get<&datCh::chX2b2>, chlist::kPtt},
    {cellid::CL_Mch_Form_Zuro, Kind::Sel, Get<&datCh::formZuro>, chlist::kForm},
    {cellid::CL_Mch_Rpt_C_Zuro, Kind::SelList, Get<&datCh::rptC>, kAbcCode, listcell::Flex1},
    {cellid::CL_Mch_Rpt_L_Zuro, Kind::Sel, Get<&datCh::rptL>, chlist::kLTone},
    {cellid::CL_Mch_Msk_Sig, Kind::Sel, Get<&datCh::chX3b3>, chlist::kMskSignal},
    {cellid::CL_Mch_Msk_SendStatus, Kind::Sel4, Get<&datCh::chX3b1>, chlist::kSendStatus},
    {cellid::CL_Mch_Msk_Rpt, Kind::Pair,
     [](const datCh& r) { return r.chX3b2 ? chlist::kMskNoRepeater : r.rptC; }},
    {cellid::CL_Mch_Msk_Stn, Kind::SelList, Get<&datCh::stnC>, chlist::kMskId, listcell::Flex0},
    {cellid::CL_Mch_Msk_RxCNo, Kind::DigitSet, [](const datCh& r) { return (r.rxCNo & 0x7F) * 2; }, nullptr,
     1, 7, 0},
    {cellid::CL_Mch_RxCNo2_Ltr, Kind::DigitSet, Get<&datCh::rxCNo>, nullptr, 1, 10, 2},
    {cellid::CL_Mch_Lockout_Dig, Kind::Sel, Get<&datCh::chCombo5>, chlist::kLockoutLmr},
    {cellid::CL_Mch_Dig_Sig, Kind::Sel, Get<&datCh::chS12Low2>, chlist::kDigSignal},
    {cellid::CL_Mch_RxNac, Kind::Own, nullptr, nullptr, 0, 0, 0, ReceiveNac},
    {cellid::CL_Mch_TxNac, Kind::Own, nullptr, nullptr, 0, 0, 0, TransmitNac},
    {cellid::CL_Mch_Unit_Hex, Kind::Hex, Get<&datCh::unitId>, nullptr, 0, 0xFFFF, 4},
    {cellid::CL_Mch_Unit_Dec, Kind::Int16, Get<&datCh::unitId>, nullptr, 0, -1},
    {cellid::CL_Mch_TG_List, Kind::SelList, Get<&datCh::tgList>, chlist::kTgList, listcell::Flex0},
    {cellid::CL_Mch_Fast_Mute, Kind::Sel, Get<&datCh::chX17b7>, kOnOff2},
    {cellid::CL_Mch_SQL_Type, Kind::Sel, Get<&datCh::chX17b45>, chlist::kSqlType},
};
// clang-format on

void Convert(const Column& col, ConvCall& c, int32_t unitIdMax, bool scanListSwitch) {
    if (col.kind == Kind::Own) return col.own(c);
    c.value = col.get(c.row);
    switch (col.kind) {
    case Kind::Sel:
        ConvSelCell(c.request, col.list, c.value, c.out);
        break;
    case Kind::Sel4:
        ConvSelCell4(c.request, col.list, c.value, c.out);
        break;
    case Kind::SelList:
        ConvSelListCell(c.request, col.list, col.a, c.value, 0, c.out);
        break;
    case Kind::Pair:
        ConvSelPairCell(c.request, chlist::kMskRptFirst, chlist::kMskRptSecond, c.value, c.out);
        break;
    case Kind::DigitSet:
        ConvDigitSetCell(c.request, c.value, col.a, col.b, col.c, std::string(), c.out);
        break;
    case Kind::Hex:
        ConvHexValueCell(c.request, c.value, col.a, col.b, col.c, c.out);
        break;
    case Kind::Int16: {
        uint16_t word = static_cast<uint16_t>(c.value);
        ConvIntCell16(c.request, word, col.a, col.b < 0 ? unitIdMax : col.b, c.out);
        break;
    }
    case Kind::ScanListSwitch:
        if (scanListSwitch)
            ConvSelCell(c.request, col.list, c.value, c.out);
        else
            c.request.displayText = std::string(static_cast<size_t>(col.a), '-');
        break;
    case Kind::Own:
        break;
    }
}

// One pass over the sheet: every row's columns through Execute, or through
// their converters over the row decoded once (as a sheet's row would be).
class Passes {
public:
    Passes() {
        const CellCaseTable& cases = CloningCellEngine().Cases();
        for (const Column& c : kColumns)
            if (cases.Has(c.id)) columns_.push_back(&c);
        for (int32_t id = cellid::CL_Mch_No; id <= cellid::CL_Mch_SQL_Type; ++id)
            if (cases.Has(id) && !Covered(id)) missing_ += std::to_string(id) + " ";
        scanListSwitch_ = (sheet_.Image().GetByte(layout::kRefCFlags) & 0x40) != 0;
        unitIdMax_ = CloningCellEngine().UnitIdMax();
    }

    // Empty when both passes show the same texts for every cell; else what differs.
    std::string Differences() {
        if (!missing_.empty()) return "columns without their converters here: " + missing_;
        std::vector<std::string> executed, converted;
        ExecutePass([&](const std::string& text) { executed.push_back(text); });
        ConvertPass([&](const std::string& text) { converted.push_back(text); });
        for (size_t i = 0; i < executed.size(); ++i) {
            if (executed[i] == converted[i]) continue;
            const Column& c = *columns_[i % columns_.size()];
            return "cell " + std::to_string(c.id) + " row " + std::to_string(i / columns_.size()) + ": \"" +
                   executed[i] + "\" from Execute, \"" + converted[i] + "\" from the converter";
        }
        return std::string();
    }

    template <class Sink> int64_t ExecutePass(Sink&& sink) {
        int64_t cells = 0;
        for (int32_t n = 0; n < layout::kChannelRows; ++n) {
            for (const Column* c : columns_) {
                cell_.category = catid::CT_Mch;
                cell_.cellId = c->id;
                cell_.index = n;
                request_.Clear();
                request_.cell = &cell_;
                CloningCellEngine().Execute(request_, 0);
                sink(request_.displayText);
                ++cells;
            }
        }
        return cells;
    }

    template <class Sink> int64_t ConvertPass(Sink&& sink) {
        int64_t cells = 0;
        for (int32_t n = 0; n < layout::kChannelRows; ++n) {
            datCh row(&sheet_.Image());
            row.Load(sheet_.Kind(), n);
            for (const Column* c : columns_) {
                request_.Clear();
                request_.cell = &cell_;
                ConvCall call{request_, row, n};
                Convert(*c, call, unitIdMax_, scanListSwitch_);
                sink(request_.displayText);
                ++cells;
            }
        }
        return cells;
    }

private:
    static bool Covered(int32_t id) {
        for (const Column& c : kColumns)
            if (c.id == id) return true;
        return false;
    }

    ChannelSheet sheet_;
    std::vector<const Column*> columns_;
    std::string missing_;
    bool scanListSwitch_ = false;
    int32_t unitIdMax_ = 0;
    cmcCellObj cell_;
    cmcCellCapsule request_;
};

void Keep(const std::string& text) {
    benchmark::DoNotOptimize(text.data());
}

void BM_ExecuteChannelSheet(benchmark::State& state) {
    Passes passes;
    if (std::string d = passes.Differences(); !d.empty()) return state.SkipWithError(d.c_str());
    int64_t cells = 0;
    for (auto _ : state)
        cells += passes.ExecutePass(Keep);
    state.SetItemsProcessed(cells);
}
BENCHMARK(BM_ExecuteChannelSheet)->Unit(benchmark::kMillisecond);

void BM_ConvertChannelSheet(benchmark::State& state) {
    Passes passes;
    if (std::string d = passes.Differences(); !d.empty()) return state.SkipWithError(d.c_str());
    int64_t cells = 0;
    for (auto _ : state)
        cells += passes.ConvertPass(Keep);
    state.SetItemsProcessed(cells);
}
BENCHMARK(BM_ConvertChannelSheet)->Unit(benchmark::kMillisecond);

// Both passes in turn in every iteration; "ratio" is Execute's time per cell
// over the converters' (goal: at most 3).
void BM_ExecuteOverConverters(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    Passes passes;
    if (std::string d = passes.Differences(); !d.empty()) return state.SkipWithError(d.c_str());
    Clock::duration executing{}, converting{};
    int64_t cells = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        cells += passes.ExecutePass(Keep);
        const Clock::time_point middle = Clock::now();
        passes.ConvertPass(Keep);
        executing += middle - start;
        converting += Clock::now() - middle;
    }
    const double perCell = 1e9 / static_cast<double>(std::max<int64_t>(cells, 1));
    state.counters["execute_ns"] = std::chrono::duration<double>(executing).count() * perCell;
    state.counters["convert_ns"] = std::chrono::duration<double>(converting).count() * perCell;
    state.counters["ratio"] = std::chrono::duration<double>(executing).count() /
                              std::max(std::chrono::duration<double>(converting).count(), 1e-12);
}
BENCHMARK(BM_ExecuteOverConverters)->Unit(benchmark::kMillisecond);

} // namespace
