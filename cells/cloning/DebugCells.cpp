// The memory-image dump: a row's address and its sixteen bytes, each marked
// while it differs from the debug snapshot.
#include "cells/AppManager.h"
#include "cells/CellCases.h"
#include "cells/CellFrame.h"
#include "cells/CellVocabulary.h"
#include "cells/ConvSupport.h"
#include "image/cmcEeprom.h"
#include "platform/Fatal.h"

#include <cstdint>

namespace {

constexpr int32_t kBytesPerRow = 16;

// Both cases show and never take input: the dump is for looking at.

void DumpAddress(CellFrame& f) {
    f.Show(conv::Format("%05X", static_cast<unsigned>(f.index) * kBytesPerRow));
}

void DumpByte(CellFrame& f) {
    // The byte's place in the row from the engine's own ids, so a program
    // whose vocabulary numbers the dump cells differently shows them alike.
    const int32_t column = f.cellId - f.engine.Vocabulary().CellIndex("CL_EeDebugWin_0");
    const int64_t address = int64_t{f.index} * kBytesPerRow + column;
    if (f.index < 0 || address >= f.image.GetSize()) {
        f.Show("");
        return;
    }
    const int32_t a = static_cast<int32_t>(address);
    const uint8_t value = f.image.GetByte(a);
    f.Show(conv::Format("%02X", value));
    if (!gAppManager) plat::Fatal("No application manager.");
    const cmcEeprom& snapshot = gAppManager->Snapshot();
    // A byte the snapshot does not hold has changed as much as one that differs.
    f.SetWarning(!snapshot.IsValidAddress(a) || snapshot.GetByte(a) != value);
}

} // namespace

void RegisterDebugCells(CellCaseList& list) {
    list.Add("CL_EeDebugWin_Adr", DumpAddress);
    list.Add("CL_EeDebugWin_0", "CL_EeDebugWin_F", DumpByte);
}
