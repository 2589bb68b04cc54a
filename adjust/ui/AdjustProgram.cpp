#include "adjust/ui/AdjustProgram.h"

#include "adjust/AdjustDocument.h"
#include "adjust/AdjustProfile.h"
#include "adjust/AdjustVocabulary.h"
#include "adjust/ui/AdjustMain.h"
#include "cells/CellEngine.h"

namespace adj {

ProgramMakers AdjustProgramMakers() {
    return {MakeAdjustDocument, [](Document& document) -> std::unique_ptr<cuiMain> {
                return std::make_unique<indMain>(document);
            }};
}

int RunAdjustProgram(int argc, char** argv) {
    ScopedCellEngine engine(AdjustCellEngine());
    return RunProgram(AdjustProfile(), AdjustProgramMakers(), argc, argv);
}

} // namespace adj
