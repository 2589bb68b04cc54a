// One serial port, one program: the cloning and the adjustment program's
// clone reads, each through its own document in a process of its own,
// against one simulated radio on a pseudo-terminal.
#include "clone/PosixSerialPort.h"
#include "tests/adjust/AdjustDocumentFixture.h"
#include "tests/support/ProgramProcess.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using testsupport::TempDir;

enum class Program { Cloning, Adjusting };

// A program's clone read as its start-up and its Read command run it, with
// the program's time passing as the simulator's does. What came of it goes to
// a report: the boxes shown, the program's time until the job had ended, and
// whether the read image is the radio's start-up data byte for byte.
class ProgramRead : public adjtest::AdjustDocumentFixture {
public:
    void TestBody() override {}

    // `go` is called when the program is up, before the read starts.
    void Run(Program program, const std::string& reportPath, const std::function<void()>& go) {
        boxes_.Expect("", plat::IDOK);
        std::ofstream report(reportPath);
        try {
            Document& doc =
                program == Program::Cloning ? static_cast<Document&>(StartWithData()) : StartAdjust();
            if (program == Program::Adjusting) doc.LoadStartupData();
            gEnviron->ComPort = 5;
            go();
            doc.CloneRead();
            int ms = 0;
            for (; ms < 60000 && doc.CloneManager().IsBusy(); ms += 10) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                scheduler_.Advance(10);
            }
            report << "busy " << doc.CloneManager().IsBusy() << "\nms " << ms << "\n";
            if (program == Program::Cloning)
                report << "identical "
                       << doc.ReferenceImage().IsEqual(StartupImage(gEnviron->ModelType, true)) << "\n";
        } catch (const std::exception& e) {
            report << "failed " << e.what() << "\n";
        }
        for (const plat::ScriptedMessageBox::Shown& box : boxes_.Log())
            report << "box " << box.caption << "|" << box.text << "\f";
    }
};

class PortLockTest : public ::testing::Test {
protected:
    ~PortLockTest() override {
        // A program still running when a check failed does not outlive the test.
        for (pid_t child : children_) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        if (sim_ > 0) {
            kill(sim_, SIGTERM);
            waitpid(sim_, nullptr, 0);
        }
    }

    void SetUp() override {
        // The simulator as the README starts it.
        const std::string log = dir_.File("radiosim.log");
        sim_ = testsupport::SpawnCommand(
            {TOLVANE_BIN_DIR "/radiosim", "--dir", ComDir(), "--port", "5", "--no-pace"}, log);
        ASSERT_GT(sim_, 0);
        ASSERT_TRUE(testsupport::WaitForOutput(sim_, log, "COM link: "))
            << "the simulator did not come up: " << SimulatorLog();
    }

    std::string ComDir() const { return dir_.File("com"); }
    std::string Device() const { return ComDir() + "/COM5"; }
    std::string SimulatorLog() const { return TempDir::ReadFile(dir_.File("radiosim.log")); }
    // The frames of one kind (any kind: empty) that programs sent, as the simulator logged them.
    int FramesToRadio(const std::string& what) const {
        std::istringstream in(SimulatorLog());
        int n = 0;
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::string way, baud, kind;
            words >> way >> baud >> kind;
            n += way == ">radio" && (what.empty() || kind == what) ? 1 : 0;
        }
        return n;
    }

    // The program's read in a process of its own; its report is ReportOf(name).
    // With a pipe, the read waits until a byte comes through it.
    pid_t StartRead(Program program, const std::string& name, int go = -1) {
        const std::string report = dir_.File(name + ".report");
        std::fflush(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            {
                testsupport::ScopedEnv com("TOLVANE_COM_DIR", ComDir());
                ProgramRead read;
                read.Run(program, report, [go] {
                    char byte;
                    if (go >= 0 && ::read(go, &byte, 1) != 1) _exit(3);
                });
            }
            _exit(0);
        }
        EXPECT_GT(pid, 0);
        children_.push_back(pid);
        return pid;
    }
    int Wait(pid_t pid) {
        std::erase(children_, pid);
        return testsupport::WaitForExit(pid);
    }
    std::string ReportOf(const std::string& name) const {
        return TempDir::ReadFile(dir_.File(name + ".report"));
    }

    TempDir dir_;
    pid_t sim_ = -1;
    std::vector<pid_t> children_;
};

TEST_F(PortLockTest, TheSecondProgramIsToldAtOnceThatThePortIsInUseAndTheFirstReadCompletes) {
    // As root, the exclusive terminal mode keeps nobody out: the lock alone does.
    RecordProperty("root", geteuid() == 0 ? "yes" : "no");
    // The adjustment program up and waiting, so that it tries the port the moment the first has it.
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    const pid_t adjusting = StartRead(Program::Adjusting, "adjusting", go[0]);
    const pid_t cloning = StartRead(Program::Cloning, "cloning");
    ASSERT_TRUE(testsupport::WaitForLock(cloning, Device())) << ReportOf("cloning");
    ASSERT_EQ(write(go[1], "g", 1), 1);
    EXPECT_EQ(Wait(adjusting), 0);
    EXPECT_TRUE(testsupport::HoldsLock(cloning, Device()))
        << "the first read had ended before the second tried";
    ::close(go[0]);
    ::close(go[1]);
    const std::string second = ReportOf("adjusting");
    EXPECT_NE(second.find("busy 0\n"), std::string::npos) << second;
    // At once: no time-out of the link ran out first.
    const size_t at = second.find("ms ");
    ASSERT_NE(at, std::string::npos) << second;
    EXPECT_LT(std::stoi(second.substr(at + 3)), 1000) << second;
    ASSERT_NE(second.find("box "), std::string::npos) << second;
    const std::string box = second.substr(second.find("box "));
    EXPECT_NE(box.find("COM5"), std::string::npos) << box;
    EXPECT_NE(box.find("Another program is using the device " + Device() + "."), std::string::npos) << box;
    EXPECT_EQ(box.find("\fbox "), std::string::npos) << "one box: " << box;

    EXPECT_EQ(Wait(cloning), 0);
    const std::string first = ReportOf("cloning");
    EXPECT_NE(first.find("busy 0\nms "), std::string::npos) << first;
    EXPECT_NE(first.find("identical 1\n"), std::string::npos) << first;
    EXPECT_EQ(first.find("box "), std::string::npos) << first;
    // The simulator heard one program: an information job and a read, each of them three frames of its
    // speed script and its command.
    EXPECT_EQ(FramesToRadio(""), 2 * 4) << SimulatorLog();
    EXPECT_EQ(FramesToRadio("E0"), 1) << SimulatorLog();
    EXPECT_EQ(FramesToRadio("E2"), 1) << SimulatorLog();
}

TEST_F(PortLockTest, APortWhoseHolderWasKilledOpensAgainAtOnce) {
    const pid_t holder = StartRead(Program::Cloning, "killed");
    ASSERT_TRUE(testsupport::WaitForLock(holder, Device()));
    ASSERT_EQ(kill(holder, SIGKILL), 0);
    EXPECT_EQ(Wait(holder), -1);

    {
        plat::PosixSerialPort port;
        EXPECT_EQ(port.Open(Device()), 0);
    }
    const pid_t next = StartRead(Program::Cloning, "next");
    EXPECT_EQ(Wait(next), 0);
    const std::string report = ReportOf("next");
    EXPECT_NE(report.find("identical 1\n"), std::string::npos) << report;
    EXPECT_EQ(report.find("box "), std::string::npos) << report;
}

} // namespace
