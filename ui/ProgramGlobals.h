#pragma once
#include <memory>
#include <string>

class indEnviron;
class cmcGTex;
class cmcHelpGTex;
class cmcEvMan;
class indMain;

// The cloning program's five process-wide objects: the settings (with the
// single-instance guard), the text table, the help text table, the event bus
// and the application manager, built in that order and destroyed in the
// reverse order, so that the settings are written back last. They need the
// platform services (timers, screen) installed before.
class ProgramGlobals {
public:
    static constexpr char kMutexName[] = "Morv Tolvane APP Exclusive Mutex";
    static constexpr char kRegistryPath[] = "Software\\Morv\\Tolvane";

    explicit ProgramGlobals(const std::string& programDirectory);
    ProgramGlobals();
    ~ProgramGlobals();
    ProgramGlobals(const ProgramGlobals&) = delete;
    ProgramGlobals& operator=(const ProgramGlobals&) = delete;

    indEnviron& Environ() { return *environ_; }
    indMain& Main() { return *main_; }

private:
    std::unique_ptr<indEnviron> environ_;
    std::unique_ptr<cmcGTex> texts_;
    std::unique_ptr<cmcHelpGTex> helpTexts_;
    std::unique_ptr<cmcEvMan> evMan_;
    std::unique_ptr<indMain> main_;
};

// The program's entry once the application object and the platform services
// exist: the globals, the single-instance test, the main form and the message
// loop. Returns the process's exit code.
int RunCloningProgram(int argc, char** argv);
