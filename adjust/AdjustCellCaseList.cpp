#include "adjust/AdjustCells.h"
#include "adjust/AdjustChannelFields.h"
#include "adjust/AdjustVocabulary.h"
#include "cells/CellVocabulary.h"
#include "cells/cloning/ChannelCells.h"

#include <optional>
#include <string_view>

namespace adj {
namespace {

// Every file of the adjustment program's own cases.
constexpr void (*kRegistrars[])(CellCaseList&) = {
    RegisterAdjustItemCells,
    RegisterAdjustMonitorCells,
    RegisterAdjustInfoCells,
    RegisterAdjustChannelCells,
    RegisterAdjustSettingsCells,
    // The cells on the frame's own row record.
    RegisterAdjustRecordCells,
    // The bank, repeater-entry and row pop-up cells.
    RegisterAdjustBankCells,
    RegisterAdjustRowCells,
};

// The cloning program's files of cases that find their rows by cell name:
// their cases serve any program that has the cells.
constexpr void (*kSharedRegistrars[])(CellCaseList&) = {
    RegisterSettingsCells,
    RegisterMskCells,
    RegisterKeyDisplayCells,
    RegisterDigitalCells,
    RegisterMakerCells,
    RegisterToneSequenceCells,
    RegisterDtmfToneCells,
    RegisterScanCells,
    // The channel columns reach the row through its record's channel fields.
    RegisterChannelCells,
};

// A channel column whose field this program's record has no place for stays without a case.
bool RecordKeeps(const CellCaseList::Entry& e) {
    const std::optional<ChField> field = ChannelColumnField(e.first);
    return !field || AdjustChannelFields::Keeps(*field);
}

// A run of ids is shared only when this program holds the same cells in the
// same order: its case may tell them apart by their distance from the first.
bool SameRun(const CellVocabulary& ours, const CellCaseList::Entry& e) {
    const CellVocabulary& theirs = CloningCellVocabulary();
    const std::optional<int32_t> first = ours.FindCell(e.first);
    const std::optional<int32_t> last = ours.FindCell(e.last);
    const std::optional<int32_t> theirFirst = theirs.FindCell(e.first);
    const std::optional<int32_t> theirLast = theirs.FindCell(e.last);
    if (!first || !last || !theirFirst || !theirLast || *last - *first != *theirLast - *theirFirst)
        return false;
    for (int32_t k = 0; k <= *last - *first; ++k)
        if (ours.CellName(*first + k) != theirs.CellName(*theirFirst + k)) return false;
    return true;
}

// Cases of the cloning program's other files that tell their cells apart by
// name, for the cells both programs have.
constexpr std::string_view kNamedShared[] = {
    "CL_Menu_Port_Com",       "CL_Menu_Port_Usb",   "CL_Menu_Port_SpeedHigh",
    "CL_Bank_UsedTotal",      "CL_Bank_UsedLeft",   "CL_Bank_UsedQty",
    "CL_Bank_SmarTrunk",      "CL_Misc_ChNo_0Base", "CL_Misc_ChNo_1Base",
    "CL_Help_About",          "CL_Menu_File_New",   "CL_Menu_File_Print_Current",
    "CL_Menu_File_Print_All", "CL_Menu_File_Exit",  "CL_Menu_Clone_Read",
    "CL_Menu_Clone_Write",    "CL_Menu_Clone_Info", "CL_Model_Lmr",
    "CL_Model_LmrLtr",        "CL_Model_LmrP25",    "CL_Model_Pmr",
    "CL_Model_ZuroPmr",       "CL_Model_Lmr_Mob",   "CL_Model_LmrLtr_Mob",
    "CL_Model_LmrP25_Mob",    "CL_Model_Pmr_Mob",   "CL_Model_ZuroPmr_Mob",
    "CL_Help_Contents",       "CallSheet",          "CL_Mch_SmarTrunk",
    "CL_Misc_QuarterPillar",
};

// The items of the pop-up lists, and the radio's information the cloning
// program shows the same way.
constexpr std::string_view kNamedSharedListsAndInformation[] = {
    "Flex0",
    "Flex1",
    "FlexDtcs",
    "FlexKeyOpt",
    "CL_CloneInfo_Model",
    "CL_CloneInfo_Comment1",
    "CL_CloneInfo_Comment2",
    "CL_CloneInfo_OverVolt",
    "CL_CloneInfo_CheckSum",
};

// The bank count and mode, and the tree's checks, which find the cells they
// probe by name.
constexpr std::string_view kNamedSharedBankAndChecks[] = {
    "CL_Mch_Bank",          "CL_Bank_SelBankFree",     "CL_Check_Mch",        "CL_Check_User_Tone_Encode",
    "CL_Check_Msk_IdRange", "CL_Check_Msk_OwnIdGroup", "CL_Check_Msk_Config", "CL_Check_Dig_Nacch",
};

CellCaseList BuildList() {
    CellCaseList list;
    for (auto registrar : kRegistrars)
        registrar(list);
    CellCaseList shared;
    for (auto registrar : kSharedRegistrars)
        registrar(shared);
    const CellVocabulary& ours = AdjustCellVocabulary();
    // A cell this program reads its own way keeps its own case.
    auto own = [&](const CellCaseList::Entry& e) {
        for (const CellCaseList::Entry& o : list.Entries())
            if (o.first == e.first || o.first == e.last) return true;
        return false;
    };
    for (const CellCaseList::Entry& e : shared.Entries())
        if (SameRun(ours, e) && !own(e) && RecordKeeps(e)) list.Add(e.first, e.last, e.fn);
    return list;
}

} // namespace

const CellCaseList& AdjustCellCases() {
    static const CellCaseList list = BuildList();
    return list;
}

void FillAdjustCellTable(CellCaseTable& table) {
    table.Take(AdjustCellCases());
    table.Take(CloningCellCases(), kNamedShared);
    table.Take(CloningCellCases(), kNamedSharedBankAndChecks);
    table.Take(CloningCellCases(), kNamedSharedListsAndInformation);
}

} // namespace adj
