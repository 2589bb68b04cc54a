#include "adjust/AdjustCloneCommands.h"

#include "adjust/AdjustAutomation.h"
#include "adjust/AdjustDocument.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcGTex.h"
#include "image/cmcEeprom.h"
#include "platform/MessageBox.h"

#include <algorithm>

namespace adj {

namespace {

constexpr uint8_t kPhaseNone = 0;

} // namespace

AdjustCloneCommands::AdjustCloneCommands(AdjustDocument& document, ::indCloneMan& manager)
    : AppCloneCommands(document, manager), doc_(document) {}

// Without a main form in the session a read only loads.
void AdjustCloneCommands::OnReadStarted() {
    if (doc_.MainFormJoined()) doc_.Automation().State().AdjustPhase = AdjustAutomation::kPhaseEntryRead;
}

void AdjustCloneCommands::OnReadFailed() {
    AdjustState& state = doc_.Automation().State();
    if (doc_.MainFormJoined() && state.AdjustPhase == AdjustAutomation::kPhaseEntryRead)
        state.AdjustPhase = kPhaseNone;
}

void AdjustCloneCommands::OnReadTaken(const cmcEeprom& read) {
    cmcEeprom& radio = doc_.RadioCopy();
    radio.Write(0, read.Data(), std::min(radio.GetSize(), read.GetSize()));
}

void AdjustCloneCommands::OnReadLoaded() {
    AdjustAutomation& a = doc_.Automation();
    // Only the read the entry started goes on into adjustment: a phase changed meanwhile keeps its own way.
    if (doc_.MainFormJoined() && a.State().AdjustPhase == AdjustAutomation::kPhaseEntryRead)
        a.EnterAdjustment();
}

bool AdjustCloneCommands::AcceptsWriteRadio() {
    const bool handheldModel = IsModelHandheld();
    const bool handheldRadio = (host_.InfoBlock()[kInfoHead] & kHandheldHead) != 0;
    if (handheldModel == handheldRadio) return true;
    plat::ShowMessageBox(GetMultiLineText(*gGTex, "GI_Mess_CloneErr5317_Head"), AppTitle(),
                         plat::MB_OK | plat::MB_ICONERROR);
    return false;
}

} // namespace adj
