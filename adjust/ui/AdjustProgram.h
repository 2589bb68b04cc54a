#pragma once
#include "ui/ProgramRun.h"

namespace adj {

// The adjustment program's document and window.
ProgramMakers AdjustProgramMakers();

// The adjustment program's entry once the application object and the
// platform services exist: its cell engine installed for the run, then the
// common start-up with its profile.
int RunAdjustProgram(int argc, char** argv);

} // namespace adj
