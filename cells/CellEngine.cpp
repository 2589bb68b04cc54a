#include "cells/CellEngine.h"

#include "cells/CellIds.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/datCh.h"

#include <cstdlib>
#include <utility>

namespace {

CellFrameNumbers CloningFrameNumbers() {
    CellFrameNumbers n;
    // The codes are the ids of the row pop-up menu's items.
    n.commands = {
        .run = cellid::CL_PMenu_Edit,
        .copy = cellid::CL_PMenu_Copy,
        .paste = cellid::CL_PMenu_Paste,
        .carryUp = cellid::CL_PMenu_CarryUp,
        .carryDown = cellid::CL_PMenu_CarryDown,
        .clear = cellid::CL_PMenu_Clear,
        .deleteRows = cellid::CL_PMenu_Delete,
        .insertRows = cellid::CL_PMenu_Insert,
        .help = cellid::CL_PMenu_Help,
        .winCopy = cellid::CL_PMenu_WinCopy,
    };
    // Aliases 2 to 5 of the MDC alias list have no setting of their own.
    n.emptyIds = {{cellid::CL_Mdc_Alias2_Strip, cellid::CL_Mdc_Alias5_Text}};
    n.categories = {
        .popupMenu = catid::CT_PopupMenu,
        .channel = catid::CT_Mch,
        .channelCheck = catid::CT_Mch_Check,
        .bankOp = catid::CT_BankOp,
        .repeater = catid::CT_Rpt,
    };
    n.firstColumn = {
        .attributes = cellid::CL_Mch_Atr,
        .rxFreq = cellid::CL_Mch_FreqR,
        .basic = {cellid::CL_Mch_FreqR, cellid::CL_Mch_FreqT, cellid::CL_Mch_TxInh, cellid::CL_Mch_Nar,
                  cellid::CL_Mch_CTone_R, cellid::CL_Mch_CTone_T, cellid::CL_Mch_Lockout},
        .groupFirst = cellid::CL_Grp_RxId,
        .groupLast = cellid::CL_Grp_BlockIdEnd,
    };
    n.repeaterEntry = {
        .rxFreq = cellid::CL_Rpt_FreqR,
        .text = cellid::CL_Rpt_Text,
        .areaBit = cellid::CL_Rpt_AreaBit,
        .attributes = cellid::CL_Rpt_Atr,
    };
    n.serialNumberCell = cellid::CL_CloneInfo_Esn;
    n.poolRowKind = kindRepeaterPool;
    return n;
}

CellEngine* gInstalled = nullptr;

} // namespace

CellEngine::CellEngine(const CellVocabulary& vocabulary, CellFrameNumbers numbers,
                       std::function<void(CellCaseTable&)> fillCases)
    : vocabulary_(vocabulary), numbers_(std::move(numbers)), fillCases_(std::move(fillCases)) {}

const CellCaseTable& CellEngine::Cases() const {
    if (!cases_) {
        // Filled aside, so that a fatal clash leaves no half table behind.
        CellCaseTable table(vocabulary_, numbers_.emptyIds);
        if (fillCases_) fillCases_(table);
        cases_.emplace(std::move(table));
    }
    return *cases_;
}

CellCaseTable& CellEngine::Cases() {
    return const_cast<CellCaseTable&>(std::as_const(*this).Cases());
}

FrameCommand CellEngine::CommandOf(int32_t code) const {
    if (code == 0) return FrameCommand::None;
    const CellFrameNumbers::CommandCodes& c = numbers_.commands;
    const std::pair<int32_t, FrameCommand> codes[] = {
        {c.run, FrameCommand::Run},
        {c.copy, FrameCommand::Copy},
        {c.paste, FrameCommand::Paste},
        {c.carryUp, FrameCommand::CarryUp},
        {c.carryDown, FrameCommand::CarryDown},
        {c.clear, FrameCommand::Clear},
        {c.deleteRows, FrameCommand::Delete},
        {c.insertRows, FrameCommand::Insert},
        {c.help, FrameCommand::Help},
        {c.winCopy, FrameCommand::WinCopy},
    };
    for (const auto& [number, command] : codes)
        if (number != CellFrameNumbers::kNone && number == code) return command;
    return FrameCommand::Other;
}

int32_t CellEngine::UnitIdMax() const {
    if (!gGTex) return 0;
    // An unbound table is not kept: its lookup is the fatal error it always was.
    if (gGTex != overlay_.table || gGTex->Binding() != overlay_.binding || overlay_.binding == 0) {
        overlay_.unitIdMax =
            static_cast<int32_t>(std::strtol(gGTex->GetTextLine("GI_AppUnitIdMax", 0).c_str(), nullptr, 10));
        overlay_.table = gGTex;
        overlay_.binding = gGTex->Binding();
    }
    return overlay_.unitIdMax;
}

int32_t CellEngine::ExecuteCell(cmcCellObj* cell, int32_t key) const {
    if (!cell) return 0;
    cmcCellCapsule request;
    request.cell = cell;
    request.key = key;
    return Execute(request, 0);
}

CellEngine::Marks CellEngine::QueryMarks(int32_t category, int32_t cellId, int32_t index) const {
    cmcCellObj cell;
    cell.category = category;
    cell.cellId = cellId;
    cell.index = index;
    cmcCellCapsule request;
    request.cell = &cell;
    request.bank = BankOfChannelNumber(CurrentImage(), index + 1);
    Execute(request, 0);
    return Marks{request.markFlags.warning, request.markFlags.error};
}

CellEngine& CloningCellEngine() {
    static CellEngine engine(CloningCellVocabulary(), CloningFrameNumbers(),
                             [](CellCaseTable& table) { table.Take(CloningCellCases()); });
    return engine;
}

CellEngine& InstalledCellEngine() {
    return gInstalled ? *gInstalled : CloningCellEngine();
}

const CellVocabulary& CurrentCellVocabulary() {
    return InstalledCellEngine().Vocabulary();
}

ScopedCellEngine::ScopedCellEngine(CellEngine& engine) : old_(gInstalled) {
    gInstalled = &engine;
}

ScopedCellEngine::~ScopedCellEngine() {
    gInstalled = old_;
}

ScopedCellCase::ScopedCellCase(int32_t id, CellCase standIn)
    : table_(InstalledCellEngine().Cases()), id_(id), old_(table_.Find(id)) {
    if (id_ >= 0 && id_ < table_.Size()) table_.cases_[static_cast<size_t>(id_)] = standIn;
}

ScopedCellCase::ScopedCellCase(const std::string& name, CellCase standIn)
    : ScopedCellCase(InstalledCellEngine().Vocabulary().CellIndex(name), standIn) {}

ScopedCellCase::~ScopedCellCase() {
    if (id_ >= 0 && id_ < table_.Size()) table_.cases_[static_cast<size_t>(id_)] = old_;
}
