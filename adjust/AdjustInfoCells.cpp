// The adjustment program's own reading of the radio's information block, and
// its edit menu's cells.
#include "adjust/AdjustCells.h"
#include "cells/AppManager.h"
#include "cells/CellFrame.h"
#include "cells/ConvSupport.h"
#include "cells/WindowCommands.h"
#include "cells/cloning/CommandCells.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"

#include <string>

namespace adj {
namespace {

constexpr int32_t kSerialOffset = 37;

void InfoSerial(CellFrame& f) {
    if (!gAppManager) return;
    f.Show(FormatShortSerialNumber(gAppManager->InfoBlock().data()).value_or(" "));
}

constexpr int32_t kRevisionByte = 34;
constexpr int32_t kOptionBytes = 49;
constexpr int32_t kDigitalRevision = 76;
constexpr int32_t kDigitalSum = 82;

void InfoRevision(CellFrame& f) {
    if (!gAppManager) return;
    const uint8_t revision = gAppManager->InfoBlock()[kRevisionByte];
    f.Show(conv::Format("%d.%d", revision >> 4, revision & 0x0F));
}

// The option units the radio reports, one a line, and its digital unit with
// that unit's revision and check sum.
std::string OptionUnits(const uint8_t* info) {
    cmcGTex* texts = gGTex;
    if (!texts) return {};
    const uint8_t o0 = info[kOptionBytes], o1 = info[kOptionBytes + 1], o2 = info[kOptionBytes + 2];
    std::string out;
    auto unit = [&](const char* key) {
        out += texts->GetText(key);
        out += "\n";
    };
    const char* const* key = kOptionUnitKeys;
    if (o1 & 0x20) unit(o1 & 0x10 ? key[0] : key[1]);
    if ((o0 & 0x07) == 0x02 && (o1 & 0x03) == 1) unit(key[2]);
    if (o1 & 0x04) unit(key[3]);
    if ((o0 & 0x07) == 0x01) unit(key[4]);
    if (o1 & 0x08) unit(key[5]);
    if (o2 & 0x40) unit(key[6]);
    const int digital = o2 >> 4 & 3;
    if (!(o2 & 1) && (digital == 1 || digital == 2)) {
        out += texts->GetTextLine(key[7], digital);
        if (info[kDigitalRevision] != 0) {
            out += conv::Format("(Rev:%1c.%1c)", info[kDigitalRevision], info[kDigitalRevision + 1]);
            out += conv::Format("  Sum:$%04X", InfoHexAt(info, kDigitalSum, 4).value_or(0));
        }
        out += "\n";
    }
    return out;
}

void InfoOption(CellFrame& f) {
    if (gAppManager) f.Show(OptionUnits(gAppManager->InfoBlock().data()));
}

// The edit menu's command is its top cell's id in this program.
int32_t EditMenuCommand(const CellFrame& f) {
    return f.engine.Vocabulary().CellIndex("CL_Menu_Edit_Top");
}

// Opening the edit menu fills it with the "no item" entry whenever the menu
// is there; the menu itself drops the entry once rows give it commands.
void EditMenuTop(CellFrame& f) {
    if (!f.IsEnter() || !gAppManager || !gEvMan) return;
    const int32_t command = EditMenuCommand(f);
    if (InstalledWindow().MainMenuSubItemCount(command) < 0) return;
    gEvMan->PostText(evBuildMenuItems, InstalledWindow().MainMenuContext(), command, "GI_PMenu_NoItem");
}

// The "no item" entry is never chosen; it shows only while it is the edit
// menu's one entry.
void NoItemState(CellFrame& f) {
    f.SetMenuState(CellFrame::kMenuDisabled, true);
    const bool alone = InstalledWindow().MainMenuSubItemCount(EditMenuCommand(f)) == 1;
    f.SetMenuState(CellFrame::kMenuHidden, !alone);
}

} // namespace

std::optional<std::string> FormatShortSerialNumber(const uint8_t* info) {
    // All twelve must be digits, though the last four are not shown.
    if (!InfoHexAt(info, kSerialOffset, 12)) return std::nullopt;
    const uint32_t head = *InfoHexAt(info, kSerialOffset, 2);
    const uint32_t number = *InfoHexAt(info, kSerialOffset + 2, 6);
    return conv::Format("%02u%05lu", head, static_cast<unsigned long>(number));
}

void RegisterAdjustInfoCells(CellCaseList& list) {
    list.Add("CL_CloneInfo_Esn", InfoSerial);
    list.Add("CL_CloneInfo_Revision", InfoRevision);
    list.Add("CL_CloneInfo_Option", InfoOption);
    list.Add("CL_Menu_Edit_Top", EditMenuTop);
    list.Add("CL_PMenu_NoItem", NoItemState);
}

} // namespace adj
