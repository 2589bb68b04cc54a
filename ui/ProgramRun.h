#pragma once
#include "app/ProgramGlobals.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class cuiMain;

// How a program makes its main window over its document.
using WindowFactory = std::function<std::unique_ptr<cuiMain>(Document& document)>;

// What a program gives the common start-up: how its document and its window are made.
struct ProgramMakers {
    DocumentFactory document;
    WindowFactory window;
};

// The cloning program's document and window.
ProgramMakers CloningProgramMakers();

// The program's entry once the application object and the platform services
// exist: the globals of the profile's program, the single-instance test, the
// main form and the message loop. Returns the process's exit code.
int RunProgram(const ProgramProfile& profile, const ProgramMakers& makers, int argc, char** argv);

// Runs the message loop. An exception that escapes it is shown in a box
// captioned with the program's file name and fails the run: 1, else 0.
int RunMessageLoop(const std::function<void()>& loop);
