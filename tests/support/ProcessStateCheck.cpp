#include "tests/support/ProcessStateCheck.h"

#include "platform/CodePage.h"
#include "platform/Fatal.h"
#include "platform/FileDialog.h"
#include "platform/FileSystem.h"
#include "platform/HelpViewer.h"
#include "platform/KeyState.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "platform/Timer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <system_error>
#include <vector>

extern char** environ;

namespace testsupport {
namespace {

// One process-wide service pointer: how to read it and how to put it back.
struct ServiceSlot {
    const char* what;
    std::function<const void*()> get;
    std::function<void(const void*)> set;
};

template <typename T> ServiceSlot Slot(const char* what, T& (*get)(), void (*set)(T*)) {
    return {what, [get] { return static_cast<const void*>(&get()); },
            [set](const void* p) { set(const_cast<T*>(static_cast<const T*>(p))); }};
}

const std::vector<ServiceSlot>& Services() {
    static const std::vector<ServiceSlot> slots = {
        Slot("the message box service", &plat::MessageBoxes, &plat::SetMessageBoxes),
        Slot("the file dialog service", &plat::FileDialogs, &plat::SetFileDialogs),
        Slot("the help viewer", &plat::Help, &plat::SetHelpViewer),
        Slot("the clipboard", &plat::SystemClipboard, &plat::SetClipboard),
        Slot("the screen service", &plat::Screen, &plat::SetScreen),
        Slot("the clock", &plat::SystemClock, &plat::SetClock),
        Slot("the timer service", &plat::Timers, &plat::SetTimers),
        Slot("the code page", &plat::CurrentCodePage, &plat::SetCodePage),
        Slot("the file system", &plat::Files, &plat::SetFileSystem),
        Slot("the keyboard state", &plat::KeyState, &plat::SetKeyState),
    };
    return slots;
}

plat::FatalHandler CurrentFatalHandler() {
    const plat::FatalHandler handler = plat::SetFatalHandler(nullptr);
    plat::SetFatalHandler(handler);
    return handler;
}

std::map<std::string, std::string> Environment() {
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const size_t eq = entry.find('=');
        vars[entry.substr(0, eq)] = eq == std::string::npos ? std::string() : entry.substr(eq + 1);
    }
    return vars;
}

struct ProcessState {
    std::vector<const void*> services;
    plat::FatalHandler fatal = nullptr;
    std::map<std::string, std::string> environment;
    std::filesystem::path directory;

    static ProcessState Now() {
        ProcessState s;
        for (const ServiceSlot& slot : Services())
            s.services.push_back(slot.get());
        s.fatal = CurrentFatalHandler();
        s.environment = Environment();
        std::error_code ec;
        s.directory = std::filesystem::current_path(ec);
        return s;
    }

    void Restore() const {
        for (size_t i = 0; i < services.size(); ++i)
            Services()[i].set(services[i]);
        plat::SetFatalHandler(fatal);
        for (const auto& [name, value] : Environment())
            if (!environment.count(name)) unsetenv(name.c_str());
        for (const auto& [name, value] : environment)
            setenv(name.c_str(), value.c_str(), 1);
        std::error_code ec;
        std::filesystem::current_path(directory, ec);
    }
};

class ProcessStateCheck : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override { before_ = ProcessState::Now(); }

    void OnTestEnd(const ::testing::TestInfo&) override {
        const ProcessState after = ProcessState::Now();
        for (size_t i = 0; i < after.services.size(); ++i)
            if (after.services[i] != before_.services[i])
                ADD_FAILURE() << "The test left " << Services()[i].what << " replaced.";
        if (after.fatal != before_.fatal) ADD_FAILURE() << "The test left the fatal handler replaced.";
        for (const auto& [name, value] : after.environment) {
            const auto was = before_.environment.find(name);
            if (was == before_.environment.end())
                ADD_FAILURE() << "The test left the environment variable " << name << " set.";
            else if (was->second != value)
                ADD_FAILURE() << "The test left the environment variable " << name << " changed.";
        }
        for (const auto& [name, value] : before_.environment)
            if (!after.environment.count(name))
                ADD_FAILURE() << "The test left the environment variable " << name << " unset.";
        if (after.directory != before_.directory)
            ADD_FAILURE() << "The test left the working directory at " << after.directory;
        before_.Restore();
    }

private:
    ProcessState before_;
};

} // namespace

void InstallProcessStateCheck() {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ProcessStateCheck);
}

} // namespace testsupport
