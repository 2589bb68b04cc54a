#include "app/CloningDocument.h"

#include "app/DocumentWindow.h"
#include "cells/CellEngine.h"
#include "cells/CellVocabulary.h"
#include "cells/CodeConv.h"
#include "cells/ConvKeys.h"
#include "cells/LayoutCache.h"
#include "cells/cloning/SettingsLists.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/cmcHelpGTex.h"
#include "foundation/indEnviron.h"
#include "image/ImageUnpacking.h"
#include "image/ModelPasses.h"
#include "platform/MessageBox.h"

#include <cstdlib>
#include <optional>

CloningDocument::CloningDocument(const ProgramProfile& profile, const std::string& programDirectory)
    : Document(profile, kImageMap, programDirectory) {
    InitModelInfo();
    // The write refuses empty or faulty data and asks before it sends a packed copy.
    UseCloneCommands<AppCloneCommands>();
}

CloningDocument::~CloningDocument() = default;

void CloningDocument::InitModelInfo() {
    Document::InitModelInfo();
    memoryEnd_ = kMemoryEnd;
    modelCode_ = kModelCode;
    subCode_ = 0;
}

bool CloningDocument::IsLockedOutNewerData(const cmcEeprom& image) {
    return ::IsLockedOutNewerData(image, gGTex->GetText("GI_Sys_LockoutNewerData"), Packing());
}

void CloningDocument::AfterLoad(cmcEeprom& image) {
    AfterLoadImage(
        image, reference_, [this](int modelIndex) { ChangeModel(modelIndex, false); }, Packing());
}

void CloningDocument::NormalizeImage(cmcEeprom& image, int mode) {
    ::NormalizeImage(image, reference_, gEnviron->ModelType, mode, Packing());
}

void CloningDocument::CheckWarnings(int* errors, int* warnings) {
    Document::CheckWarnings(errors, warnings);
    gEvMan->Post(evRebuildTree);
    gEvMan->Post(evRefreshCaption);
}

bool CloningDocument::CheckModel(int32_t code1, int32_t code2, int& result) {
    // The header holds four hexadecimal digits per word; anything wider is no code of ours.
    if (code1 < 0 || code1 > 0xFFFF) return result = 3, false;
    if (code2 < 0 || code2 > 0xFFFF) return result = 4, false;
    return CheckModelCodes(static_cast<uint16_t>(code1), static_cast<uint16_t>(code2), result);
}

RangeList CloningDocument::CloneAreas(int32_t areaType) {
    return CloneAreasFor(areaType);
}

void CloningDocument::ChangeModel(int32_t modelIndex, bool ask) {
    // Only the ten models exist; an index from anywhere else changes nothing.
    if (modelIndex < 0 || modelIndex >= kModels) return;
    if (modelIndex == gEnviron->ModelType) return;
    if (ask && plat::ShowMessageBox(GetMultiLineText(*gGTex, "GI_AppMess_ChangeModel"), AppTitle(),
                                    plat::MB_OKCANCEL | plat::MB_ICONWARNING) != plat::IDOK)
        return;
    gEnviron->ModelType = modelIndex;
    LoadInitialFile(modelIndex);
    Dynamic2Static(reference_);
    if (ask) {
        ResetWorkingImage();
        SetFileName(std::string());
    }
    if (window_) window_->BuildTree();
}

int CloningDocument::ConfirmMakerCaution() {
    return plat::ShowMessageBox(GetMultiLineText(*gGTex, "GI_Mess_Maker_Caution"), AppTitle(),
                                plat::MB_OKCANCEL | plat::MB_ICONWARNING);
}

void CloningDocument::EnterMakerMode() {
    if (makerMode_ || ConfirmMakerCaution() != plat::IDOK) return;
    makerMode_ = true;
    if (window_) window_->BuildTree();
    makerStatusText_ = gGTex->GetText("GI_StatusPanel_Maker");
    if (window_) window_->ShowMakerPanel(makerStatusText_);
}

namespace {

// Field 1 of the table's lines whose field 0 is the text (tab-separated): the
// first match with first, else the last one, a match with an empty field 1
// ending the scan. The table ends at a line that is exactly "#" or at the end
// of the help texts, whichever comes first.
std::string LookUpHelpTable(const std::string& key, const std::string& text, bool first) {
    std::string found;
    for (int n = 0;; ++n) {
        const std::optional<std::string> line = gHelpGTex->TryGetText(key, n);
        if (!line || line->starts_with('#')) break;
        const size_t tab = line->find('\t');
        if (tab == std::string::npos || line->compare(0, tab, text) != 0) continue;
        const size_t end = line->find('\t', tab + 1);
        found = line->substr(tab + 1, end == std::string::npos ? std::string::npos : end - tab - 1);
        if (first || found.empty()) break;
    }
    return found;
}

} // namespace

namespace {

// The cells that assign a function to a key or to the dial: their help is the
// help of the function assigned, named by the text the cell shows for it.
enum class KeyList { ModelKeys, Dials, SmarTrunkKeys, SmarTrunkDials };
struct KeyAssignment {
    const char* cell;
    int32_t address;
    KeyList list;
};
constexpr KeyAssignment kKeyAssignments[] = {
    {"CL_KDisp_Key_Conv_RightUp", 93860, KeyList::ModelKeys},
    {"CL_KDisp_Key_Conv_RightDn", 93861, KeyList::ModelKeys},
    {"CL_KDisp_Key_Conv_DialCw", 93870, KeyList::Dials},
    {"CL_KDisp_Key_Conv_DialCcw", 93871, KeyList::Dials},
    {"CL_KDisp_Key_Conv_P0", 93862, KeyList::ModelKeys},
    {"CL_KDisp_Key_Conv_P1", 93863, KeyList::ModelKeys},
    {"CL_KDisp_Key_Conv_P2", 93864, KeyList::ModelKeys},
    {"CL_KDisp_Key_Conv_P3", 93865, KeyList::ModelKeys},
    {"CL_KDisp_Key_Conv_P4", 93866, KeyList::ModelKeys},
    {"CL_KDisp_Key_Conv_Opf0", 93867, KeyList::ModelKeys},
    {"CL_KDisp_Key_Conv_Opf1", 93868, KeyList::ModelKeys},
    {"CL_KDisp_Key_Conv_Opf2", 93869, KeyList::ModelKeys},
    {"CL_KDisp_Key_SmTr_RightUp", 93876, KeyList::SmarTrunkKeys},
    {"CL_KDisp_Key_SmTr_RightDn", 93877, KeyList::SmarTrunkKeys},
    {"CL_KDisp_Key_SmTr_DialCw", 93886, KeyList::SmarTrunkDials},
    {"CL_KDisp_Key_SmTr_DialCcw", 93887, KeyList::SmarTrunkDials},
    {"CL_KDisp_Key_SmTr_P0", 93878, KeyList::SmarTrunkKeys},
    {"CL_KDisp_Key_SmTr_P1", 93879, KeyList::SmarTrunkKeys},
    {"CL_KDisp_Key_SmTr_P2", 93880, KeyList::SmarTrunkKeys},
    {"CL_KDisp_Key_SmTr_P3", 93881, KeyList::SmarTrunkKeys},
    {"CL_KDisp_Key_SmTr_P4", 93882, KeyList::SmarTrunkKeys},
    {"CL_KDisp_Key_SmTr_Opf0", 93883, KeyList::SmarTrunkKeys},
    {"CL_KDisp_Key_SmTr_Opf1", 93884, KeyList::SmarTrunkKeys},
    {"CL_KDisp_Key_SmTr_Opf2", 93885, KeyList::SmarTrunkKeys},
};

std::string KeyListKey(KeyList list) {
    switch (list) {
    case KeyList::ModelKeys:
        return ModelKeysListKey();
    case KeyList::Dials:
        return DialsListKey();
    case KeyList::SmarTrunkKeys:
        return setlist::kKeySmTr;
    case KeyList::SmarTrunkDials:
        return setlist::kDialSmTr;
    }
    return {};
}

} // namespace

int32_t CloningDocument::GetCellHelpContext(const cmcCellCapsule& request) {
    if (!gHelpGTex || !request.cell) return 0;
    const std::string name = InstalledCellEngine().Vocabulary().CellName(request.cell->cellId);
    std::string text = name;
    const char* table = "GI_AppItem_Topic_ID";
    for (const KeyAssignment& key : kKeyAssignments) {
        if (name != key.cell) continue;
        text = LayoutCache().Text(KeyListKey(key.list), listcell::Flex0, WorkingImage().GetByte(key.address));
        table = "GI_AppItem_Key_Assign_Topic_ID";
    }
    const std::string topic = LookUpHelpTable(table, text, true);
    if (topic.empty()) return 0;
    return std::atoi(LookUpHelpTable("GI_AppItem_Context_ID", topic, false).c_str());
}
