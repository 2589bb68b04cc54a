// Time from process start to the main window shown: the cloning program's
// start-up (globals, overlay, start-up data, main form) beside a minimal Qt
// Widgets program that shows an empty QMainWindow, measured in one run.
// Every iteration starts a fresh process: this program again, in a child mode
// that writes one byte to its stdout once its window has been shown and the
// event loop runs, then quits.
//
// A third measure places the goal: a plain Qt program with the same window
// parts and no program behind them (a menu bar of seven menus with seven
// items each, a tool bar of 14 buttons, a tree of 178 nodes with the 128
// banks collapsed, an empty panel beside it, a status bar): what Qt itself
// takes to show such a window, the font configuration and all.
#include "platform/QtServices.h"
#include "ui/ProgramRun.h"
#include "ui/TForm1.h"
#include "ui/cuiMain.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr char kChildProgram[] = "--child-program";
constexpr char kChildMinimal[] = "--child-minimal";
constexpr char kChildPlainParts[] = "--child-plain-parts";

std::string gSelf;

// Tells the parent that the window is up, once the event loop has run.
void SignalShownAndQuit(QApplication& app) {
    QTimer::singleShot(0, &app, [&app] {
        [[maybe_unused]] ssize_t n = ::write(1, "s", 1);
        app.quit();
    });
}

int RunProgramChild(int argc, char** argv) {
    QApplication app(argc, argv);
    plat::QtServices services;
    const ProgramMakers makers = CloningProgramMakers();
    ProgramGlobals globals(CloningProfile(), makers.document);
    const std::unique_ptr<cuiMain> window = makers.window(globals.Doc());
    TForm1 form(*window);
    form.show();
    SignalShownAndQuit(app);
    return QApplication::exec();
}

QIcon PlainIcon(QColor colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// The same window parts as the program's main window, filled by Qt alone.
int RunPlainPartsChild(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(800, 600);
    const char* menus[] = {"&File", "&Edit", "&View", "&Port", "&Clone", "&Model", "&Help"};
    for (const char* title : menus) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        for (int i = 0; i < 7; ++i)
            menu->addAction(QStringLiteral("Item %1 of %2").arg(i).arg(QString::fromLatin1(title)),
                            QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_A + i)));
    }
    QToolBar* tools = window.addToolBar(QStringLiteral("Tools"));
    for (int i = 0; i < 14; ++i)
        tools->addAction(PlainIcon(QColor::fromHsv(i * 30, 200, 200)), QString::number(i));
    auto* splitter = new QSplitter(&window);
    auto* tree = new QTreeWidget(splitter);
    tree->setHeaderHidden(true);
    const QIcon nodeIcon = PlainIcon(Qt::darkBlue);
    QTreeWidgetItem* banks = nullptr;
    for (int i = 0; i < 50; ++i) {
        auto* node = new QTreeWidgetItem(tree, {QStringLiteral("Settings sheet %1").arg(i)});
        node->setIcon(0, nodeIcon);
        if (i == 1) banks = node;
    }
    for (int i = 0; i < 128; ++i)
        new QTreeWidgetItem(banks, {QStringLiteral("%1: BANK %1").arg(i + 1)});
    new QFrame(splitter);
    window.setCentralWidget(splitter);
    window.statusBar()->addWidget(new QLabel(QStringLiteral("Ready")), 1);
    window.show();
    SignalShownAndQuit(app);
    return QApplication::exec();
}

int RunMinimalChild(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    SignalShownAndQuit(app);
    return QApplication::exec();
}

// Seconds from spawning the child in the given mode to its byte.
double TimeToShown(const char* mode) {
    int fds[2];
    if (::pipe(fds) != 0) std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string self = gSelf;
    std::string arg = mode;
    char* argv[] = {self.data(), arg.data(), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (posix_spawn(&pid, self.c_str(), &actions, nullptr, argv, environ) != 0) std::abort();
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    char byte = 0;
    const ssize_t got = ::read(fds[0], &byte, 1);
    const auto shown = std::chrono::steady_clock::now();
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (got != 1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) std::abort();
    return std::chrono::duration<double>(shown - start).count();
}

void BM_CloningProgramToMainWindow(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(TimeToShown(kChildProgram));
}
BENCHMARK(BM_CloningProgramToMainWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_PlainQtWindowSameParts(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(TimeToShown(kChildPlainParts));
}
BENCHMARK(BM_PlainQtWindowSameParts)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_MinimalQtMainWindow(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(TimeToShown(kChildMinimal));
}
BENCHMARK(BM_MinimalQtMainWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], kChildProgram) == 0) return RunProgramChild(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], kChildPlainParts) == 0) return RunPlainPartsChild(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], kChildMinimal) == 0) return RunMinimalChild(argc, argv);

    gSelf = std::filesystem::canonical("/proc/self/exe").string();
    // The children keep their settings and lock file out of the user's own.
    char dir[] = "/tmp/tolvane-startup-XXXXXX";
    if (!::mkdtemp(dir)) return 1;
    ::setenv("XDG_CONFIG_HOME", dir, 1);
    ::setenv("XDG_RUNTIME_DIR", dir, 1);
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(dir);
    return 0;
}
