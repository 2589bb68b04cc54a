#include "ui/ProgramRun.h"

#include "foundation/indEnviron.h"
#include "platform/Fatal.h"
#include "platform/MessageBox.h"
#include "ui/TForm1.h"
#include "ui/indMain.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <exception>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>

ProgramMakers CloningProgramMakers() {
    return {CloningDocumentFactory(), [](Document& document) -> std::unique_ptr<cuiMain> {
                return std::make_unique<indMain>(document);
            }};
}

namespace {

// The session ends a program with SIGTERM, Ctrl+C in the terminal that
// started it sends SIGINT, and closing that terminal SIGHUP: each closes it
// as if the user had closed its window, so that unsaved data is offered for
// saving and the settings are written back. The signals are caught from the
// start; one that comes before the window exists closes it as soon as the
// message loop runs.
constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};
int gTermPipe[2] = {-1, -1};

void OnTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(gTermPipe[1], &byte, 1);
}

class TerminationPipe {
public:
    TerminationPipe() {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gTermPipe) != 0) return;
        struct sigaction action {};
        action.sa_handler = OnTerminate;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (size_t i = 0; i < std::size(kEndSignals); ++i) {
            sigaction(kEndSignals[i], nullptr, &old_[i]);
            // Started with nohup, or in the background of a script: what its
            // starter chose to ignore stays ignored.
            if (kEndSignals[i] != SIGTERM && old_[i].sa_handler == SIG_IGN) continue;
            sigaction(kEndSignals[i], &action, nullptr);
        }
        open_ = true;
    }
    ~TerminationPipe() {
        if (!open_) return;
        for (size_t i = 0; i < std::size(kEndSignals); ++i)
            sigaction(kEndSignals[i], &old_[i], nullptr);
        notifier_.reset();
        ::close(gTermPipe[0]);
        ::close(gTermPipe[1]);
        gTermPipe[0] = gTermPipe[1] = -1;
    }
    TerminationPipe(const TerminationPipe&) = delete;
    TerminationPipe& operator=(const TerminationPipe&) = delete;

    void CloseOnTerminate(QWidget& form) {
        if (!open_) return;
        notifier_ = std::make_unique<QSocketNotifier>(gTermPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, &form, [&form] {
            char byte;
            [[maybe_unused]] ssize_t n = ::read(gTermPipe[0], &byte, 1);
            form.close();
        });
    }

private:
    bool open_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction old_[std::size(kEndSignals)]{};
};

} // namespace

int RunMessageLoop(const std::function<void()>& loop) {
    try {
        loop();
    } catch (const std::exception& e) {
        plat::ShowMessageBox(e.what(), plat::ProgramFileName(), plat::MB_OK | plat::MB_ICONERROR);
        return 1;
    }
    return 0;
}

int RunProgram(const ProgramProfile& profile, const ProgramMakers& makers, int argc, char** argv) {
    TerminationPipe termination;
    ProgramGlobals globals(profile, makers.document);
    // A lock file we cannot use is not a second instance: say why and fail,
    // so that a start from a script or a desktop launcher shows it.
    if (globals.Environ().LockFailed()) {
        std::fprintf(stderr, "%s: %s\n", plat::ProgramFileName().c_str(),
                     globals.Environ().LockError().c_str());
        return 1;
    }
    // Another instance runs: end at once, without a word and without a window.
    if (!globals.Environ().IsFirstInstance()) return 0;

    const std::unique_ptr<cuiMain> window = makers.window(globals.Doc());
    window->SetCommandLine(std::vector<std::string>(argv, argv + argc));
    return RunMessageLoop([&] {
        TForm1 form(*window);
        termination.CloseOnTerminate(form);
        QApplication::exec();
    });
}
